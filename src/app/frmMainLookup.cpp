// The main window's lookup helpers: the lookup of a description field while it is typed, the record
// search of a window's code field, and the required-field checks of the edit boxes.
#include "frmMain.h"

#include "data/frmListaDlg.h"
#include "db/DataSet.h"
#include "ui/DBControls.h"
#include "ui/Prompter.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>

bool TfrmMain::CheckLookUpDesc(db::Field &field, const QString &filter, std::function<void()> onNew)
{
    TfrmListaDlg &dlg = ListaDlg();
    if (dlg.LookupRunning)
        return true;   // a write of the running lookup itself
    if (!dlg.ListActive && onNew)
        dlg.ListParams.OnNew = std::move(onNew);
    // The new-record command belongs to this lookup alone, shown or not.
    auto dropOnNew = qScopeGuard([&dlg] {
        if (!dlg.ListActive)
            dlg.ListParams.OnNew = nullptr;
    });
    if (!field.asString().isEmpty()) {
        dlg.LookupRunning = true;
        auto running = qScopeGuard([&dlg] { dlg.LookupRunning = false; });
        return dlg.ListaDB(field, true, filter);
    }
    // Emptied: a required field refuses before anything changes, so that the name and the code of
    // the record still agree; otherwise the code goes too.
    if (IsRequired(field))
        return false;
    const QString &codeName = field.lookup.CodeField;
    if (!codeName.isEmpty() && codeName.compare(field.name(), Qt::CaseInsensitive) != 0) {
        if (db::Field *code = field.dataSet().findField(codeName); code && !code->isNull())
            code->clear();
    }
    return true;
}

bool TfrmMain::ListSearch(db::Field &field)
{
    if (!ListaDlg().ListSearch(field))
        return false;
    // The window's dataset moved: its binding to the main window is renewed.
    if (QMdiSubWindow *sub = MDIArea ? MDIArea->currentSubWindow() : nullptr)
        emit childActivated(sub->widget() ? sub->widget() : sub);
    return true;
}

bool TfrmMain::IsRequired(const db::Field &field)
{
    if (!field.required)
        return false;
    ui::prompter().info(QStringLiteral("Attenzione! Questo campo è obbligatorio!"));
    return true;
}

bool TfrmMain::CheckRequired(ui::DBEdit *editBox)
{
    if (!editBox || !editBox->text().isEmpty())
        return true;
    db::Field *field = editBox->field();
    if (!field || !IsRequired(*field))
        return true;
    // The focus is on its way elsewhere: it comes back once that move is over.
    QPointer<ui::DBEdit> box(editBox);
    QTimer::singleShot(0, editBox, [box] {
        if (box)
            box->setFocus(Qt::OtherFocusReason);
    });
    return false;
}
