// The program's window classes by component name: the main window's commands create them from here.
// Each window adds its line.
#include "frmDomini.h"
#include "frmMain.h"
#include "suppliers/frmAnagraf.h"
#include "suppliers/frmFornitori.h"

void TfrmMain::RegisterChildWindows()
{
    registerChildWindow(QStringLiteral("frmDomini"), [] { return new TfrmDomini; });
    registerChildWindow(QStringLiteral("frmFornitori"), [] { return new TfrmFornitori; });
    registerChildWindow(QStringLiteral("frmAnagraf"), [] { return new TfrmAnagraf; });
}
