#include "Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace suppliers {

namespace {
Shell *installed = nullptr;
}

Shell &Shell::instance()
{
    static DesktopShell desktop;
    return installed ? *installed : desktop;
}

void Shell::install(Shell *s) { installed = s; }

bool DesktopShell::open(const QString &address)
{
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

} // namespace suppliers
