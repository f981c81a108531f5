// Schema check and upgrade at start: synthetic upgrade scripts in a temporary program folder,
// run against a real database set back to an older version.
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "app/AppConfig.h"
#include "data/dmGenerale.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

void writeFile(const QString &name, const QStringList &lines)
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(lines.join('\n').toUtf8());
}

QString versionOf(const QString &file)
{
    db::Attachment att;
    att.open(file, TdmGenerale::connectParams());
    db::Transaction tr(att);
    return db::selectValue(tr, "SELECT version FROM dummy").toString();
}

void setVersion(const QString &file, const QString &sql)
{
    db::Attachment att;
    att.open(file, TdmGenerale::connectParams());
    db::Transaction tr(att);
    att.executeImmediate(tr, sql);
    tr.commit();
}

const QString Upgrade112Ok = "Aggiornamento del database alla versione 1.12 riuscito!";
const QString Upgrade113Ok = "Aggiornamento del database alla versione 1.13 riuscito!";

} // namespace

class TstUpgrade : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<TdmGenerale> dm;

    QString sqlFolder() const { return database->folder() + "Sql/"; }

private slots:
    void init()
    {
        database = std::make_unique<TestDatabase>();
        AppConfig().ProgramFolder = database->folder();
        AppConfig().DBPath = database->folder();
        QDir().mkpath(sqlFolder());
        dm = std::make_unique<TdmGenerale>();
    }
    void cleanup()
    {
        dm.reset();
        database.reset();
    }
    void cleanupTestCase() { db::engine::shutdown(); }

    void versionNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::newRow("1.13") << "1.13" << 1 << 13;
        QTest::newRow("1.5") << "1.5" << 1 << 5;
        QTest::newRow("0") << "0" << 0 << 0;
        QTest::newRow("0.99") << "0.99" << 0 << 99;
        QTest::newRow("1.05") << "1.05" << 1 << 5;
        QTest::newRow("1.145 reads two digits") << "1.145" << 1 << 14;
        QTest::newRow("no point, two first characters") << "12" << 12 << 12;
    }
    void versionNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, major);
        QFETCH(int, minor);
        const auto n = TdmGenerale::ParseVersion(text);
        QCOMPARE(n.major, major);
        QCOMPARE(n.minor, minor);
    }
    void versionNumbersThatAreNotNumbers()
    {
        for (const char *bad : {"x.1", "1.x", "", "1."})
            QVERIFY_THROWS_EXCEPTION(db::DbError, TdmGenerale::ParseVersion(QString::fromLatin1(bad)));
    }

    void currentVersionOpensWithoutMessages()
    {
        ScriptedPrompter p;
        dm->OpenDB0();
        QCOMPARE(dm->codici().identificativo, QString());
        dm->CloseDB0();
        p.verifyDone();
    }

    void twoScriptsRunInOrder()
    {
        setVersion(database->file(), "UPDATE dummy SET version = '1.11'");
        writeFile(sqlFolder() + "DB_v_1.12.sql", {"CREATE TABLE prova (a INTEGER);", "COMMIT;",
                                                  "INSERT INTO prova VALUES (12);",
                                                  "UPDATE dummy SET version = '1.12';"});
        writeFile(sqlFolder() + "DB_v_1.13.sql", {"SET TERM ^ ;", "EXECUTE BLOCK AS", "DECLARE VARIABLE n INTEGER;",
                                                  "BEGIN", "  SELECT a FROM prova INTO :n;",
                                                  "  INSERT INTO prova VALUES (:n + 1);", "END^", "SET TERM ; ^",
                                                  "UPDATE dummy SET version = '1.13';"});
        ScriptedPrompter p;
        p.expectInfo(Upgrade112Ok);
        p.expectInfo(Upgrade113Ok);
        dm->OpenDB0();
        dm->CloseDB0();
        p.verifyDone();
        QCOMPARE(versionOf(database->file()), QString("1.13"));
        db::Attachment att;
        att.open(database->file(), TdmGenerale::connectParams());
        db::Transaction tr(att);
        QCOMPARE(db::selectValue(tr, "SELECT SUM(a) FROM prova").toInt(), 25);
    }

    void missingScriptStopsTheStart()
    {
        setVersion(database->file(), "UPDATE dummy SET version = '1.11'");
        writeFile(sqlFolder() + "DB_v_1.13.sql", {"UPDATE dummy SET version = '1.13';"});
        ScriptedPrompter p;
        p.expectInfo("Non trovo il file " + sqlFolder() + "DB_v_1.12.sql, aggiornare il database GENERALE alla "
                     "versione 1.12 manualmente prima di continuare!");
        QVERIFY_THROWS_EXCEPTION(db::Abort, dm->OpenDB0());
        dm->CloseDB0();
        p.verifyDone();
        QCOMPARE(versionOf(database->file()), QString("1.11"));
    }

    void failingStatementLeavesNothingOfItsScript()
    {
        setVersion(database->file(), "UPDATE dummy SET version = '1.11'");
        writeFile(sqlFolder() + "DB_v_1.12.sql",
                  {"UPDATE codici SET identificativo = 'mezzo aggiornamento';", "UPDATE dummy SET version = '1.12';",
                   "INSERT INTO tabella_che_non_esiste VALUES (1);"});
        ScriptedPrompter p;
        p.expectInfo("Errore nell'aggiornamento del database GENERALE alla versione 1.12! Aggiornare manualmente "
                     "prima di continuare!");
        QVERIFY_THROWS_EXCEPTION(db::Abort, dm->OpenDB0());
        dm->CloseDB0();
        p.verifyDone();
        QCOMPARE(versionOf(database->file()), QString("1.11"));
        db::Attachment att;
        att.open(database->file(), TdmGenerale::connectParams());
        db::Transaction tr(att);
        QVERIFY(db::selectValue(tr, "SELECT identificativo FROM codici").toString() != "mezzo aggiornamento");
    }

    void scriptThatDoesNotSetItsVersionFails()
    {
        setVersion(database->file(), "UPDATE dummy SET version = '1.12'");
        // the version is set by a last statement without terminator, which never runs
        writeFile(sqlFolder() + "DB_v_1.13.sql", {"CREATE TABLE prova (a INTEGER);", "UPDATE dummy SET version = '1.13'"});
        ScriptedPrompter p;
        p.expectInfo("Errore nell'aggiornamento del database GENERALE alla versione 1.13! Aggiornare manualmente "
                     "prima di continuare!");
        QVERIFY_THROWS_EXCEPTION(db::Abort, dm->OpenDB0());
        dm->CloseDB0();
        p.verifyDone();
        QCOMPARE(versionOf(database->file()), QString("1.12"));
    }

    void versionsThatNeedNoScript_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("message");
        QTest::newRow("1.14 passes") << "UPDATE dummy SET version = '1.14'" << QString();
        QTest::newRow("0.99 needs major version")
            << "UPDATE dummy SET version = '0.99'" << "Aggiornare il database alla versione 1.00 prima di continuare!";
        QTest::newRow("no dummy row reads as 0")
            << "DELETE FROM dummy" << "Aggiornare il database alla versione 1.00 prima di continuare!";
        QTest::newRow("no dummy table reads as 0")
            << "DROP TABLE dummy" << "Aggiornare il database alla versione 1.00 prima di continuare!";
    }
    void versionsThatNeedNoScript()
    {
        QFETCH(QString, statement);
        QFETCH(QString, message);
        setVersion(database->file(), statement);
        ScriptedPrompter p;
        if (message.isEmpty()) {
            dm->OpenDB0();
        } else {
            p.expectInfo(message);
            QVERIFY_THROWS_EXCEPTION(db::Abort, dm->OpenDB0());
        }
        dm->CloseDB0();
        p.verifyDone();
    }

    void unreadableVersionNumberStopsWithItsError()
    {
        setVersion(database->file(), "UPDATE dummy SET version = 'x.1'");
        ScriptedPrompter p;
        try {
            dm->OpenDB0();
            QFAIL("opened");
        } catch (const db::DbError &e) {
            QVERIFY(e.text().contains("'x'"));
        }
        dm->CloseDB0();
        p.verifyDone();
    }

    void version15StartsFromTheNextScript()
    {
        setVersion(database->file(), "UPDATE dummy SET version = '1.5'");
        ScriptedPrompter p;
        p.expectInfo("Non trovo il file " + sqlFolder() + "DB_v_1.06.sql, aggiornare il database GENERALE alla "
                     "versione 1.06 manualmente prima di continuare!");
        QVERIFY_THROWS_EXCEPTION(db::Abort, dm->OpenDB0());
        dm->CloseDB0();
        p.verifyDone();
    }

    void workingConnectionReopens()
    {
        ScriptedPrompter p;
        dm->OpenDatabase();
        QVERIFY(dm->isDatabaseOpen());
        dm->PendingChanges = true;
        dm->OpenDatabase();
        QVERIFY(!dm->PendingChanges);
        dm->CloseDatabase();
        QVERIFY(!dm->isDatabaseOpen());
        p.verifyDone();
    }
};

QTEST_MAIN(TstUpgrade)
#include "tst_upgrade.moc"
