// The start-up on a real database: a failed start leaves the menus off, a good one enables them
// one timer tick later and the window commands work; the shutdown detaches from the database before
// it copies the database file.
#include "AppFixture.h"
#include "TestDatabase.h"
#include "app/AppConfig.h"
#include "app/frmBackup.h"
#include "app/frmMain.h"
#include "app/frmWait.h"
#include "app/frmWorking.h"
#include "data/dmGenerale.h"
#include "db/Firebird.h"
#include "support/ScriptedPrompter.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { db::engine::shutdown(); }

    void missingDatabaseShowsTheErrorAndMenusStayOff();
    void refusedSchemaShowsOnlyItsOwnMessage();
    void openDatabaseEnablesTheMenusAndTheCommands();
    void shutdownDetachesBeforeCopyingTheDatabase();

private:
    static bool anyMenuEnabled(const TfrmMain &frm);
};

bool TestStartup::anyMenuEnabled(const TfrmMain &frm)
{
    for (QAction *a : frm.menuBar()->actions()) {
        if (a->isEnabled())
            return true;
    }
    return frm.Caricomagazzino1->isEnabled() || frm.Termina1->isEnabled();
}

void TestStartup::missingDatabaseShowsTheErrorAndMenusStayOff()
{
    TempProgramFolder folder;   // no db.fdb in it
    ScriptedPrompter prompter;
    TfrmMain frm(folder.path());

    prompter.expectError();
    frm.CreateLongLivedWindows();
    prompter.verifyDone();

    QVERIFY(!frm.Timer1->isActive());
    QTest::qWait(1200);
    QVERIFY(!anyMenuEnabled(frm));
    QVERIFY(frmWait && frmWorking && frmBackup);
    QVERIFY(dmGenerale && !dmGenerale->isDatabaseOpen());

    // The commands that still work stay quiet with the database closed.
    frm.SpeedButton1->click();
    prompter.verifyDone();
}

void TestStartup::refusedSchemaShowsOnlyItsOwnMessage()
{
    TestDatabase database;
    {
        db::Attachment att;
        att.open(database.file(), TdmGenerale::connectParams());
        db::Transaction tr(att);
        tr.start();
        db::exec(tr, QStringLiteral("UPDATE dummy SET version = '0.50'"));
        tr.commit();
    }
    ScriptedPrompter prompter;
    TfrmMain frm(database.folder());

    prompter.expectInfo(QStringLiteral("Aggiornare il database alla versione 1.00 prima di continuare!"));
    frm.CreateLongLivedWindows();
    prompter.verifyDone();
    QVERIFY(!frm.Timer1->isActive());
    QVERIFY(!anyMenuEnabled(frm));
}

void TestStartup::openDatabaseEnablesTheMenusAndTheCommands()
{
    TestDatabase database;
    ScriptedPrompter prompter;
    TfrmMain frm(database.folder());
    frm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frm));

    frm.CreateLongLivedWindows();
    prompter.verifyDone();
    QVERIFY(dmGenerale->isDatabaseOpen());
    QVERIFY(frm.Timer1->isActive());
    QVERIFY(!anyMenuEnabled(frm));   // one timer interval in the data-ready state
    QTRY_VERIFY_WITH_TIMEOUT(frm.Caricomagazzino1->isEnabled(), 3000);
    QVERIFY(!frm.Timer1->isActive());

    // A window not written yet: the feature-in-preparation box, after the mode is set.
    prompter.expectDialog(QStringLiteral("In fase di realizzazione..."));
    frm.Produzione1->trigger();
    prompter.verifyDone();
    QCOMPARE(frm.MovementKind, QStringLiteral("P"));

    // An existing window comes forward instead: no second window, no box.
    auto *carico = new QWidget;
    carico->setObjectName(QStringLiteral("frmCarico"));
    frm.MDIArea->addSubWindow(carico)->show();
    auto *other = new QWidget;
    other->setObjectName(QStringLiteral("frmArtico"));
    frm.MDIArea->addSubWindow(other)->show();
    QSignalSpy activated(&frm, &TfrmMain::childActivated);
    frm.Caricomagazzino1->trigger();
    prompter.verifyDone();
    QCOMPARE(frm.MovementKind, QStringLiteral("C"));
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.first().first().value<QWidget *>(), carico);
    QCOMPARE(frm.MDIArea->currentSubWindow()->widget(), carico);
    QCOMPARE(frm.MDIArea->subWindowList().size(), 2);

    prompter.expectDialog(QStringLiteral("In fase di realizzazione..."));
    frm.Controllaaggiornamentiora1->trigger();
    prompter.verifyDone();
}

void TestStartup::shutdownDetachesBeforeCopyingTheDatabase()
{
    TestDatabase database;
    TempProgramFolder drive;
    FakeVolumes volumes({{drive.path(), QStringLiteral("BRIVOLA")}});
    ScriptedPrompter prompter;
    TfrmMain frm(database.folder());
    int terminated = 0;
    frm.OnTerminate = [&terminated] { ++terminated; };
    frm.CreateLongLivedWindows();
    QVERIFY(dmGenerale->isDatabaseOpen());

    frm.TerminaExecute();

    prompter.verifyDone();
    QCOMPARE(terminated, 1);
    QVERIFY(!dmGenerale->isDatabaseOpen());
    const QString copy = drive.path() + QStringLiteral("Brivola/autobackup/db.fdb");
    QVERIFY(QFileInfo::exists(copy));
    db::Attachment att;
    att.open(copy, TdmGenerale::connectParams());
    db::Transaction tr(att);
    QCOMPARE(db::selectValue(tr, QStringLiteral("SELECT version FROM dummy")).toString(), TdmGenerale::RequiredVersion);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
