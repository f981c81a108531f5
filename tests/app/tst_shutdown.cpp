// The shutdown: pending changes, closing of the child windows one by one, the automatic backup of
// the database files to the disk named BRIVOLA, and the termination that follows whatever happened.
#include "AppFixture.h"
#include "support/ScriptedPrompter.h"
#include "app/AppConfig.h"
#include "app/frmMain.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QToolButton>

namespace {

// A child window whose close query says no.
class RefusingChild : public QWidget {
public:
    bool refuse = true;

protected:
    void closeEvent(QCloseEvent *event) override { event->setAccepted(!refuse); }
};

const QString PendingChanges = QStringLiteral("Modifiche in sospeso! Salvare o annullare prima di contiunuare.");

} // namespace

class TestShutdown : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void backupCopiesEveryDatabaseFileOfTheProgramFolder();
    void noBackupDiskMeansNoBackupAndNoMessage();
    void autoBackupOffCopiesNothing();
    void brivolaFolderCannotBeCreated();
    void autobackupFolderCannotBeCreated();
    void oneFileThatCannotBeCopiedDoesNotStopTheOthers();
    void pendingChangesStopEverything();
    void childWindowsCloseOneByOne();
    void refusingChildStopsTheShutdown();
    void closeBoxRunsTheShutdown();
    void exitButtonClosesOnlyTheActiveChild();

private:
    // Builds the main window over the program folder; call after writing its files.
    void start();
    QPointer<QWidget> addChild(const QString &name, QWidget *child = nullptr);
    QString autobackup() const { return drive_->path() + QStringLiteral("Brivola/autobackup/"); }

    std::unique_ptr<TempProgramFolder> program_;
    std::unique_ptr<TempProgramFolder> drive_;   // a folder standing for the removable disk
    std::unique_ptr<FakeVolumes> volumes_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<TfrmMain> frm_;
    int terminated_ = 0;
};

void TestShutdown::init()
{
    program_ = std::make_unique<TempProgramFolder>();
    drive_ = std::make_unique<TempProgramFolder>();
    program_->write(QStringLiteral("db.fdb"), "database one");
    program_->write(QStringLiteral("ARCHIVIO.FDB"), "database two");
    program_->write(QStringLiteral("Brivola.ini"), "AssistTel=1\n");
    program_->write(QStringLiteral("note.txt"), "not a database");
    program_->write(QStringLiteral("Sql/vecchio.fdb"), "in a subfolder");
    volumes_ = std::make_unique<FakeVolumes>(
        QList<Volume>{{QStringLiteral("/"), QStringLiteral("sistema")}, {drive_->path(), QStringLiteral("BACKUP_BRIVOLA")}});
    prompter_ = std::make_unique<ScriptedPrompter>();
    terminated_ = 0;
}

void TestShutdown::cleanup()
{
    frm_.reset();
    prompter_.reset();
    volumes_.reset();
    drive_.reset();
    program_.reset();
}

void TestShutdown::start()
{
    frm_ = std::make_unique<TfrmMain>(program_->path());
    frm_->OnTerminate = [this] { ++terminated_; };
    frm_->AbilitaMenu();
    frm_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm_.get()));
}

QPointer<QWidget> TestShutdown::addChild(const QString &name, QWidget *child)
{
    if (!child)
        child = new QWidget;
    child->setObjectName(name);
    QMdiSubWindow *sub = frm_->MDIArea->addSubWindow(child);
    sub->show();
    frm_->MDIArea->setActiveSubWindow(sub);
    return child;
}

void TestShutdown::backupCopiesEveryDatabaseFileOfTheProgramFolder()
{
    // An older copy is replaced; a file that is no longer in the program folder stays.
    drive_->write(QStringLiteral("Brivola/autobackup/db.fdb"), "old copy");
    drive_->write(QStringLiteral("Brivola/autobackup/tolto.fdb"), "removed since");
    start();

    frm_->Termina1->trigger();

    prompter_->verifyDone();
    QCOMPARE(terminated_, 1);
    QCOMPARE(QDir(autobackup()).entryList(QDir::Files, QDir::Name),
             QStringList({"ARCHIVIO.FDB", "db.fdb", "tolto.fdb"}));
    QCOMPARE(drive_->read(QStringLiteral("Brivola/autobackup/db.fdb")), QByteArray("database one"));
    QCOMPARE(drive_->read(QStringLiteral("Brivola/autobackup/ARCHIVIO.FDB")), QByteArray("database two"));
    QCOMPARE(AppConfig().BackupDrive + QLatin1Char('/'), drive_->path());
}

void TestShutdown::noBackupDiskMeansNoBackupAndNoMessage()
{
    volumes_->set({{QStringLiteral("/"), QStringLiteral("sistema")}, {drive_->path(), QStringLiteral("DATI")}});
    start();

    frm_->TerminaExecute();

    prompter_->verifyDone();
    QCOMPARE(terminated_, 1);
    QVERIFY(!QFileInfo::exists(drive_->file(QStringLiteral("Brivola"))));
}

void TestShutdown::autoBackupOffCopiesNothing()
{
    program_->write(QStringLiteral("Brivola.ini"), "AutoBackup=0\n");
    start();

    frm_->TerminaExecute();

    prompter_->verifyDone();
    QCOMPARE(terminated_, 1);
    QVERIFY(!QFileInfo::exists(drive_->file(QStringLiteral("Brivola"))));
}

void TestShutdown::brivolaFolderCannotBeCreated()
{
    drive_->write(QStringLiteral("Brivola"), "a file where the folder should be");
    start();

    prompter_->expectInfo(QStringLiteral("ATTENZIONE! Errore nella creazione della cartella di Brivola!"));
    frm_->TerminaExecute();

    prompter_->verifyDone();
    QCOMPARE(terminated_, 1);
}

void TestShutdown::autobackupFolderCannotBeCreated()
{
    drive_->write(QStringLiteral("Brivola/autobackup"), "a file where the folder should be");
    start();

    prompter_->expectInfo(QStringLiteral("ATTENZIONE! Errore nella creazione della cartella di autobackup!"));
    frm_->TerminaExecute();

    prompter_->verifyDone();
    QCOMPARE(terminated_, 1);
}

void TestShutdown::oneFileThatCannotBeCopiedDoesNotStopTheOthers()
{
    // A non-empty folder named like the first file blocks its copy.
    drive_->write(QStringLiteral("Brivola/autobackup/ARCHIVIO.FDB/inside"), "x");
    start();

    prompter_->expectInfo(QStringLiteral("ATTENZIONE! Errore nel backup automatico del file: ARCHIVIO.FDB"));
    frm_->TerminaExecute();

    prompter_->verifyDone();
    QCOMPARE(drive_->read(QStringLiteral("Brivola/autobackup/db.fdb")), QByteArray("database one"));
    QCOMPARE(terminated_, 1);
}

void TestShutdown::pendingChangesStopEverything()
{
    start();
    const QPointer<QWidget> child = addChild(QStringLiteral("frmArtico"));
    frm_->sbCommit->setEnabled(true);

    prompter_->expectInfo(PendingChanges);
    frm_->TerminaExecute();

    prompter_->verifyDone();
    QCOMPARE(terminated_, 0);
    QVERIFY(child);
    QVERIFY(!QFileInfo::exists(drive_->file(QStringLiteral("Brivola"))));
}

void TestShutdown::childWindowsCloseOneByOne()
{
    start();
    const QPointer<QWidget> a = addChild(QStringLiteral("frmArtico"));
    const QPointer<QWidget> b = addChild(QStringLiteral("frmRicette"));
    const QPointer<QWidget> c = addChild(QStringLiteral("frmMagazzino"));
    QCOMPARE(frm_->GetMDIForm(QStringLiteral("FRMRICETTE")), b.data());

    frm_->TerminaExecute();

    prompter_->verifyDone();
    QVERIFY(!a && !b && !c);
    QVERIFY(frm_->MDIArea->subWindowList().isEmpty());
    QCOMPARE(terminated_, 1);
    QVERIFY(QFileInfo::exists(autobackup() + QStringLiteral("db.fdb")));
}

void TestShutdown::refusingChildStopsTheShutdown()
{
    start();
    const QPointer<QWidget> first = addChild(QStringLiteral("frmArtico"));
    auto *refusing = new RefusingChild;
    addChild(QStringLiteral("frmRicette"), refusing);
    const QPointer<QWidget> last = addChild(QStringLiteral("frmMagazzino"));

    frm_->TerminaExecute();

    prompter_->verifyDone();
    QCOMPARE(terminated_, 0);
    QCOMPARE(frm_->GetMDIForm(QStringLiteral("frmRicette")), refusing);
    QVERIFY(!last);   // closed before the refusal, and stays closed
    QVERIFY(!QFileInfo::exists(drive_->file(QStringLiteral("Brivola"))));

    // The program keeps running: once the child agrees, the shutdown completes.
    refusing->refuse = false;
    frm_->TerminaExecute();
    QVERIFY(!first);
    QCOMPARE(terminated_, 1);
}

void TestShutdown::closeBoxRunsTheShutdown()
{
    start();
    auto *refusing = new RefusingChild;
    addChild(QStringLiteral("frmRicette"), refusing);

    QVERIFY(!frm_->close());   // refused: the shutdown ran and stopped at the child
    QVERIFY(frm_->isVisible());
    QCOMPARE(terminated_, 0);

    refusing->refuse = false;
    QVERIFY(!frm_->close());   // the shutdown completes; the termination ends the program
    QCOMPARE(terminated_, 1);
    QVERIFY(frm_->close());    // after termination the window may go
    QCOMPARE(terminated_, 1);
    prompter_->verifyDone();
}

void TestShutdown::exitButtonClosesOnlyTheActiveChild()
{
    start();
    const QPointer<QWidget> a = addChild(QStringLiteral("frmArtico"));
    const QPointer<QWidget> b = addChild(QStringLiteral("frmRicette"));

    frm_->sbExit->click();
    QVERIFY(a);
    QVERIFY(!b);
    QCOMPARE(terminated_, 0);

    frm_->sbCommit->setEnabled(true);
    prompter_->expectInfo(PendingChanges);
    frm_->sbExit->click();
    QVERIFY(a);
    prompter_->verifyDone();
    frm_->sbCommit->setEnabled(false);

    frm_->sbExit->click();
    QVERIFY(!a);
    QCOMPARE(terminated_, 0);
    frm_->sbExit->click();
    QCOMPARE(terminated_, 1);
    prompter_->verifyDone();
}

QTEST_MAIN(TestShutdown)
#include "tst_shutdown.moc"
