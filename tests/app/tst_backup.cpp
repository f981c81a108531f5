// The manual backup from "Backup archivi": the program folder copied to <drive>/Brivola with the
// database closed meanwhile, one log line per item, and the messages when something fails.
#include "AppFixture.h"
#include "TestDatabase.h"
#include "app/AppConfig.h"
#include "app/frmBackup.h"
#include "app/frmMain.h"
#include "data/dmGenerale.h"
#include "db/Firebird.h"
#include "support/ScriptedPrompter.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { db::engine::shutdown(); }

    void copiesTheProgramFolderWithTheDatabaseClosed();
    void folderThatCannotBeCreatedCountsItsFiles();
    void backupFolderCannotBeCreated();

private:
    // Runs "Backup archivi" and presses "Backup" in the window; returns the log.
    static QStringList runBackup(TfrmMain &frm, ScriptedPrompter &prompter, const QStringList &messages);
};

QStringList TestBackup::runBackup(TfrmMain &frm, ScriptedPrompter &prompter, const QStringList &messages)
{
    QStringList log;
    prompter.expectDialog(QStringLiteral("Backup"), [&log](QDialog *d) {
        d->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
        log = d->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText().split(QLatin1Char('\n'));
        return int(QDialog::Rejected);
    });
    for (const QString &m : messages)
        prompter.expectInfo(m);
    frm.AbilitaMenu();
    frm.Backuparchivi1->trigger();
    prompter.verifyDone();
    return log;
}

void TestBackup::copiesTheProgramFolderWithTheDatabaseClosed()
{
    TestDatabase database;
    const QString folder = database.folder();
    auto write = [&folder](const QString &name, const QByteArray &content) {
        QDir().mkpath(QFileInfo(folder + name).absolutePath());
        QFile f(folder + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    write(QStringLiteral("Brivola.ini"), "AssistTel=1\n");
    write(QStringLiteral(".nascosto"), "hidden file");
    write(QStringLiteral("Sql/DB_v_1.13.sql"), "script");
    write(QStringLiteral("Sql/vecchi/a.sql"), "old script");
    write(QStringLiteral(".git/config"), "left out");
    TempProgramFolder drive;
    drive.write(QStringLiteral("Brivola/Brivola.ini"), "old copy");
    drive.write(QStringLiteral("Brivola/extra.txt"), "stays");
    FakeVolumes volumes({{drive.path(), QStringLiteral("BRIVOLA")}});

    ScriptedPrompter prompter;
    TfrmMain frm(folder);
    frm.CreateLongLivedWindows();
    QVERIFY(dmGenerale->isDatabaseOpen());

    const QStringList log = runBackup(frm, prompter, {QStringLiteral("Backup effettuato correttamente!")});

    QCOMPARE(log, QStringList({".nascosto => OK", "Brivola.ini => OK", "db.fdb => OK", "Sql => OK",
                               "Sql/DB_v_1.13.sql => OK", "Sql/vecchi => OK", "Sql/vecchi/a.sql => OK"}));
    QCOMPARE(drive.read(QStringLiteral("Brivola/Brivola.ini")), QByteArray("AssistTel=1\n"));
    QCOMPARE(drive.read(QStringLiteral("Brivola/Sql/vecchi/a.sql")), QByteArray("old script"));
    QCOMPARE(drive.read(QStringLiteral("Brivola/extra.txt")), QByteArray("stays"));
    QVERIFY(!QFileInfo::exists(drive.file(QStringLiteral("Brivola/.git"))));
    QVERIFY(dmGenerale->isDatabaseOpen());   // opened again after the copy

    db::Attachment att;
    att.open(drive.file(QStringLiteral("Brivola/db.fdb")), TdmGenerale::connectParams());
    db::Transaction tr(att);
    QCOMPARE(db::selectValue(tr, QStringLiteral("SELECT version FROM dummy")).toString(), TdmGenerale::RequiredVersion);
}

void TestBackup::folderThatCannotBeCreatedCountsItsFiles()
{
    TempProgramFolder program;
    program.write(QStringLiteral("Brivola.ini"), "AssistTel=1\n");
    program.write(QStringLiteral("Sql/a.sql"), "a");
    program.write(QStringLiteral("Sql/b.sql"), "b");
    program.write(QStringLiteral("Zeta/z.txt"), "z");
    TempProgramFolder drive;
    drive.write(QStringLiteral("Brivola/Sql"), "a file where the folder should be");
    FakeVolumes volumes({{drive.path(), QStringLiteral("BRIVOLA")}});
    ScriptedPrompter prompter;
    TfrmMain frm(program.path());

    const QStringList log = runBackup(frm, prompter,
                                      {QStringLiteral("ATTENZIONE! 3 errori di copiatura file!"),
                                       QStringLiteral("Errore nell'esecuzione del backup!")});

    QCOMPARE(log, QStringList({"Brivola.ini => OK", "Sql => ERRORE *************", "Sql/a.sql => ERRORE *************",
                               "Sql/b.sql => ERRORE *************", "Zeta => OK", "Zeta/z.txt => OK"}));
    QCOMPARE(drive.read(QStringLiteral("Brivola/Zeta/z.txt")), QByteArray("z"));
}

void TestBackup::backupFolderCannotBeCreated()
{
    TempProgramFolder program;
    program.write(QStringLiteral("Brivola.ini"), "AssistTel=1\n");
    TempProgramFolder drive;
    drive.write(QStringLiteral("Brivola"), "a file where the folder should be");
    FakeVolumes volumes({{drive.path(), QStringLiteral("BRIVOLA")}});
    ScriptedPrompter prompter;
    TfrmMain frm(program.path());

    const QStringList log = runBackup(frm, prompter,
                                      {QStringLiteral("ATTENZIONE! Errore nel creare la directory di backup!"),
                                       QStringLiteral("Errore nell'esecuzione del backup!")});
    QCOMPARE(log, QStringList({QString()}));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
