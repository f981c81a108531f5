// Brivola: the program. It takes no arguments; everything it needs lies in its own folder.
#include "app/frmMain.h"
#include "db/Firebird.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brivola"));
    // The main window refuses to close until its shutdown has run; the shutdown ends the loop.
    QApplication::setQuitOnLastWindowClosed(false);

    auto *mainWindow = new TfrmMain;
    mainWindow->show();
    mainWindow->CreateLongLivedWindows();
    const int rc = app.exec();

    delete mainWindow;   // detaches from the database before the engine stops
    db::engine::shutdown();
    return rc;
}
