// The configuration files as the main window reads them at start, and the update-check switch
// that writes Brivola.ini back.
#include "AppFixture.h"
#include "support/ScriptedPrompter.h"
#include "app/AppConfig.h"
#include "app/frmMain.h"

#include <QAction>
#include <QTest>

class TestAppConfig : public QObject {
    Q_OBJECT
private slots:
    void startupReadsConfiguration_data();
    void startupReadsConfiguration();
    void toggleRewritesControlloAgg_data();
    void toggleRewritesControlloAgg();
    void toggleWithoutBrivolaIniCreatesNoFile();
    void toggleReportsUnreadableBrivolaIni();
};

namespace {
// Markers of the table: the file is absent, or a folder stands where the file should be.
const QByteArray Missing;
const QByteArray Folder = "<folder>";

void place(const TempProgramFolder &folder, const QString &name, const QByteArray &content)
{
    if (content.isNull())
        return;
    if (content == Folder)
        QDir().mkpath(folder.file(name));
    else
        folder.write(name, content);
}
} // namespace

void TestAppConfig::startupReadsConfiguration_data()
{
    QTest::addColumn<QByteArray>("brivolaIni");
    QTest::addColumn<QByteArray>("firebirdIni");
    QTest::addColumn<QString>("assistTel");   // "<default>": the built-in number
    QTest::addColumn<bool>("controlloAgg");
    QTest::addColumn<bool>("autoBackup");
    QTest::addColumn<QString>("dbPath");      // "<program>": the program folder

    const QString def = QStringLiteral("<default>");
    const QString prog = QStringLiteral("<program>");
    QTest::newRow("no configuration files") << Missing << Missing << def << true << true << prog;
    QTest::newRow("only ControlloAgg=0") << QByteArray("ControlloAgg=0\n") << Missing << QString("") << false << true
                                         << prog;
    QTest::newRow("a blank before 0 counts as on")
        << QByteArray("ControlloAgg= 0\nAutoBackup=0 \n") << Missing << QString("") << true << true << prog;
    QTest::newRow("keys in any case") << QByteArray("controlloagg=0\nAUTOBACKUP=0\nassisttel=051 22\n") << Missing
                                      << QString("051 22") << false << false << prog;
    QTest::newRow("first line with the key wins")
        << QByteArray("AssistTel=111\nControlloAgg=1\nAssistTel=222\nControlloAgg=0\n") << Missing << QString("111")
        << true << true << prog;
    QTest::newRow("value untrimmed") << QByteArray("AssistTel= 0521 99 \n") << Missing << QString(" 0521 99 ") << true
                                     << true << prog;
    QTest::newRow("value keeps later equals signs")
        << QByteArray("AssistTel=tel=0521\n") << Missing << QString("tel=0521") << true << true << prog;
    QTest::newRow("a blank before the key is another key")
        << QByteArray(" ControlloAgg=0\n") << Missing << QString("") << true << true << prog;
    QTest::newRow("lines without an equals sign ignored")
        << QByteArray("[Main]\nControlloAgg\nAutoBackup 0\nAssistTel=345\n") << Missing << QString("345") << true
        << true << prog;
    QTest::newRow("CR LF line breaks") << QByteArray("AssistTel=0521 1\r\nAutoBackup=0\r\n") << Missing
                                       << QString("0521 1") << true << false << prog;
    QTest::newRow("last line without a line break")
        << QByteArray("ControlloAgg=1\nAutoBackup=0") << Missing << QString("") << true << false << prog;
    QTest::newRow("empty Brivola.ini") << QByteArray("") << Missing << QString("") << true << true << prog;
    QTest::newRow("unreadable Brivola.ini") << Folder << Missing << def << true << true << prog;
    QTest::newRow("DBPath from firebird.ini")
        << Missing << QByteArray("DBPath=server:/dati/brivola/\n") << def << true << true
        << QString("server:/dati/brivola/");
    QTest::newRow("DBPath empty") << Missing << QByteArray("DBPath=\n") << def << true << true << prog;
    QTest::newRow("DBPath missing") << Missing << QByteArray("AssistTel=1\n") << def << true << true << prog;
    QTest::newRow("unreadable firebird.ini") << Missing << Folder << def << true << true << prog;
}

void TestAppConfig::startupReadsConfiguration()
{
    QFETCH(QByteArray, brivolaIni);
    QFETCH(QByteArray, firebirdIni);
    QFETCH(QString, assistTel);
    QFETCH(bool, controlloAgg);
    QFETCH(bool, autoBackup);
    QFETCH(QString, dbPath);

    TempProgramFolder folder;
    place(folder, QStringLiteral("Brivola.ini"), brivolaIni);
    place(folder, QStringLiteral("firebird.ini"), firebirdIni);
    if (assistTel == QLatin1String("<default>"))
        assistTel = DefaultAssistTel;
    if (dbPath == QLatin1String("<program>"))
        dbPath = folder.path();

    ScriptedPrompter prompter;   // nothing may be shown
    TfrmMain frm(folder.path());

    const AppConfigData &config = AppConfig();
    QCOMPARE(config.ProgramFolder, folder.path());
    QCOMPARE(QDir::current(), QDir(folder.path()));
    QCOMPARE(config.AssistTel, assistTel);
    QCOMPARE(config.ControlloAgg, controlloAgg);
    QCOMPARE(frm.ControllaAggAutomat1->isChecked(), controlloAgg);
    QCOMPARE(config.AutoBackup, autoBackup);
    QCOMPARE(config.DBPath, dbPath);
    prompter.verifyDone();
}

void TestAppConfig::toggleRewritesControlloAgg_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("nowOn");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("first line with the key replaced")
        << QByteArray("AssistTel=1\ncontrolloagg=1\nControlloAgg=1\nAutoBackup=0\n") << false
        << QByteArray("AssistTel=1\nControlloAgg=0\nControlloAgg=1\nAutoBackup=0\n");
    QTest::newRow("switched back on") << QByteArray("ControlloAgg=0\n") << true << QByteArray("ControlloAgg=1\n");
    QTest::newRow("appended when missing")
        << QByteArray("AssistTel=1\n") << false << QByteArray("AssistTel=1\nControlloAgg=0\n");
    QTest::newRow("appended after a last line without a line break")
        << QByteArray("AutoBackup=1") << false << QByteArray("AutoBackup=1\nControlloAgg=0\n");
    QTest::newRow("CR LF kept") << QByteArray("AssistTel=1\r\nControlloAgg=1\r\n") << false
                                << QByteArray("AssistTel=1\r\nControlloAgg=0\r\n");
    QTest::newRow("byte order mark kept")
        << QByteArray("\xEF\xBB\xBF" "AssistTel=1\nControlloAgg=1\n") << false
        << QByteArray("\xEF\xBB\xBF" "AssistTel=1\nControlloAgg=0\n");
    QTest::newRow("Windows code page kept")
        << QByteArray("AssistTel=Assistenza Societ\xE0\nControlloAgg=1\n") << false
        << QByteArray("AssistTel=Assistenza Societ\xE0\nControlloAgg=0\n");
    QTest::newRow("other lines kept as they are")
        << QByteArray("; note\n\nAssistTel= 0521 \nControlloAgg=x\n") << false
        << QByteArray("; note\n\nAssistTel= 0521 \nControlloAgg=0\n");
}

void TestAppConfig::toggleRewritesControlloAgg()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, nowOn);
    QFETCH(QByteArray, after);

    TempProgramFolder folder;
    folder.write(QStringLiteral("Brivola.ini"), before);
    ScriptedPrompter prompter;
    TfrmMain frm(folder.path());
    QCOMPARE(AppConfig().ControlloAgg, !nowOn);
    frm.AbilitaMenu();

    frm.ControllaAggAutomat1->trigger();

    QCOMPARE(frm.ControllaAggAutomat1->isChecked(), nowOn);
    QCOMPARE(AppConfig().ControlloAgg, nowOn);
    QCOMPARE(folder.read(QStringLiteral("Brivola.ini")), after);
    prompter.verifyDone();

    // The next start reads the new setting.
    TfrmMain next(folder.path());
    QCOMPARE(AppConfig().ControlloAgg, nowOn);
}

void TestAppConfig::toggleWithoutBrivolaIniCreatesNoFile()
{
    TempProgramFolder folder;
    ScriptedPrompter prompter;
    {
        TfrmMain frm(folder.path());
        frm.AbilitaMenu();
        frm.ControllaAggAutomat1->trigger();
        QVERIFY(!frm.ControllaAggAutomat1->isChecked());
        QVERIFY(!AppConfig().ControlloAgg);
        QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("Brivola.ini"))));
    }
    TfrmMain next(folder.path());
    QVERIFY(AppConfig().ControlloAgg);
    QVERIFY(next.ControllaAggAutomat1->isChecked());
    prompter.verifyDone();
}

void TestAppConfig::toggleReportsUnreadableBrivolaIni()
{
    TempProgramFolder folder;
    QDir().mkpath(folder.file(QStringLiteral("Brivola.ini")));
    ScriptedPrompter prompter;
    TfrmMain frm(folder.path());
    frm.AbilitaMenu();
    QVERIFY(frm.ControllaAggAutomat1->isChecked());

    prompter.expectError(QStringLiteral("Brivola.ini"));
    frm.ControllaAggAutomat1->trigger();

    prompter.verifyDone();
    QVERIFY(!frm.ControllaAggAutomat1->isChecked());
    QVERIFY(!AppConfig().ControlloAgg);
}

QTEST_MAIN(TestAppConfig)
#include "tst_appconfig.moc"
