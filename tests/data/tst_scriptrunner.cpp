// The script runner's line rules, checked on the statements it makes and on a real database.
#include "data/ScriptRunner.h"
#include "db/Firebird.h"

#include <QTemporaryDir>
#include <QTest>

class TstScriptRunner : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { db::engine::shutdown(); }

    void statementsFromLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("trimmed and joined")
            << QStringList{"  SELECT 1  ", "\tFROM rdb$database;  ", "", "UPDATE x SET a = 1;"}
            << QStringList{"SELECT 1\nFROM rdb$database", "UPDATE x SET a = 1"};
        QTest::newRow("caret and back")
            << QStringList{"SET TERM ^ ;", "CREATE PROCEDURE p AS", "BEGIN", "  x = 1;", "END^", "SET TERM ; ^",
                           "SELECT 2 FROM rdb$database;"}
            << QStringList{"CREATE PROCEDURE p AS\nBEGIN\n  x = 1;\nEND", "SELECT 2 FROM rdb$database"};
        QTest::newRow("under the caret a trailing blank keeps the statement open")
            << QStringList{"SET TERM ^ ;", "SELECT 1 FROM rdb$database^ ", "^", "SET TERM ; ^"}
            << QStringList{"SELECT 1 FROM rdb$database^ \n"};
        QTest::newRow("terminator from the ninth character")
            << QStringList{"SET TERM!", "A!", "set term;!", "B;"} << QStringList{"A", "B"};
        QTest::newRow("both blanks keep the terminator")
            << QStringList{"SET TERM  ", "A;"} << QStringList{"A"};
        QTest::newRow("last statement without terminator is dropped")
            << QStringList{"A;", "UPDATE dummy SET version = '1.12'"} << QStringList{"A"};
    }
    void statementsFromLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, statements);
        QCOMPARE(scriptStatements(lines), statements);
    }

    void runsOnTheServerWithColonsAndCommit()
    {
        QTemporaryDir dir;
        db::Attachment att;
        att.create(dir.filePath("s.fdb"), {QStringLiteral("sysdba"), QStringLiteral("x"), QStringLiteral("UTF8")});
        db::Transaction tr(att);
        const QStringList script{
            "CREATE TABLE t (a INTEGER);",
            "COMMIT;",
            "SET TERM ^ ;",
            "CREATE PROCEDURE twice (x INTEGER) RETURNS (y INTEGER) AS",
            "DECLARE VARIABLE z INTEGER;",
            "BEGIN",
            "  z = :x * 2;",
            "  y = :z;",
            "  SUSPEND;",
            "END^",
            "SET TERM ; ^",
            "INSERT INTO t (a) VALUES (7);",
            "INSERT INTO t (a) VALUES (8)",
        };
        runScriptLines(tr, script);
        QCOMPARE(db::selectValue(tr, "SELECT y FROM twice(21)").toInt(), 42);
        QCOMPARE(db::selectValue(tr, "SELECT COUNT(*) FROM t").toInt(), 1); // the unterminated insert never ran

        try {
            runScriptLines(tr, {"INSERT INTO t (a) VALUES (9);", "INSERT INTO nowhere VALUES (1);", "INSERT INTO t VALUES (10);"});
            QFAIL("a failing statement did not stop the script");
        } catch (const ScriptFailure &f) {
            QCOMPARE(f.statement, QStringLiteral("INSERT INTO nowhere VALUES (1)"));
            QVERIFY(f.error.text().contains("NOWHERE", Qt::CaseInsensitive));
        }
        QCOMPARE(db::selectValue(tr, "SELECT COUNT(*) FROM t WHERE a = 10").toInt(), 0);
        tr.commit();
    }
};

QTEST_GUILESS_MAIN(TstScriptRunner)
#include "tst_scriptrunner.moc"
