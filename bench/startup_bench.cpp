// Start-up time: from the creation of the main window to "Data ready" (the data module has read
// the settings, opened the working connection with its shared datasets and started the start-up
// timer), on a demo database. Prints the median and the extremes of several runs.
#include "BenchPrompter.h"
#include "app/frmMain.h"
#include "data/CreateDatabase.h"
#include "db/Firebird.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchPrompter prompter;
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    createBrivolaDatabase(folder + "db.fdb", BRIVOLA_SQL_DIR, {true});

    std::vector<double> ms;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer t;
        t.start();
        auto *w = new TfrmMain(folder);
        w->show();
        w->CreateLongLivedWindows();
        const double elapsed = double(t.nsecsElapsed()) / 1e6;
        if (!w->Timer1->isActive()) {
            QTextStream(stderr) << "start-up failed\n";
            return 1;
        }
        ms.push_back(elapsed);
        delete w;
    }
    std::sort(ms.begin(), ms.end());
    QTextStream(stdout) << QString("start-up to Data ready (demo database, %1 runs): median %2 ms, min %3 ms, max %4 ms\n")
                               .arg(ms.size())
                               .arg(ms[ms.size() / 2], 0, 'f', 1)
                               .arg(ms.front(), 0, 'f', 1)
                               .arg(ms.back(), 0, 'f', 1);
    db::engine::shutdown();
    return 0;
}
