#include "db/Firebird.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace db;

namespace {
ConnectParams params() { return ConnectParams{QStringLiteral("sysdba"), QStringLiteral("x"), QStringLiteral("UTF8")}; }
} // namespace

class TstFirebird : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file;

private slots:
    void initTestCase()
    {
        file = dir.filePath("t.fdb");
        Attachment att;
        att.create(file, params());
        Transaction tr(att);
        att.executeImmediate(tr, "CREATE TABLE t (id INTEGER NOT NULL PRIMARY KEY, s VARCHAR(20), c CHAR(3), "
                                 "n NUMERIC(9,2), q NUMERIC(9,3), d DATE, sm SMALLINT, big BIGINT, f DOUBLE PRECISION)");
        tr.commit();
    }
    void cleanupTestCase() { engine::shutdown(); }

    void valuesRoundTrip()
    {
        Attachment att;
        att.open(file, params());
        Transaction tr(att);
        Statement ins(tr, "INSERT INTO t (id, s, c, n, q, d, sm, big, f) VALUES (:ID, :S, :C, :N, :Q, :D, :SM, :BIG, :F)");
        QCOMPARE(ins.paramCount(), 9);
        ins.setParam("ID", 1);
        ins.setParam("S", QStringLiteral("Caffè d'orzo"));
        ins.setParam("C", "P");
        ins.setParam("N", QVariant::fromValue(*Decimal::parse("1234,565")));
        ins.setParam("Q", "0,001");
        ins.setParam("D", QDate(2026, 12, 11));
        ins.setParam("SM", 1);
        ins.setParam("BIG", qlonglong(1) << 40);
        ins.setParam("F", 0.5);
        ins.execute();
        QCOMPARE(ins.affectedRows(), 1);

        Statement sel(tr, "SELECT s, c, n, q, d, sm, big, f, id FROM t WHERE id = ?");
        sel.setParam(0, 1);
        auto rs = sel.open();
        QVERIFY(rs->next());
        QCOMPARE(rs->value(0).toString(), QStringLiteral("Caffè d'orzo"));
        QCOMPARE(rs->value(1).toString(), QStringLiteral("P")); // CHAR padding removed
        QCOMPARE(rs->value(2).value<Decimal>().toString(2), QStringLiteral("1234.56")); // half to even
        QCOMPARE(rs->value(3).value<Decimal>().toString(3), QStringLiteral("0.001"));
        QCOMPARE(rs->value(4).toDate(), QDate(2026, 12, 11));
        QCOMPARE(rs->value(5).toLongLong(), 1LL);
        QCOMPARE(rs->value(6).toLongLong(), 1LL << 40);
        QCOMPARE(rs->value(7).toDouble(), 0.5);
        QCOMPARE(rs->columns()[2].kind, ColumnKind::Decimal);
        QCOMPARE(rs->columns()[2].scale, 2);
        QCOMPARE(rs->columns()[0].length, 20);
        QCOMPARE(rs->columns()[0].relation, QStringLiteral("T"));
        QVERIFY(!rs->next());
        tr.rollback();
    }

    void nullsAndNamedParameterReuse()
    {
        Attachment att;
        att.open(file, params());
        Transaction tr(att);
        exec(tr, "INSERT INTO t (id) VALUES (2)");
        Statement sel(tr, "SELECT COUNT(*) FROM t WHERE id = :K OR (s IS NULL AND id = :K)");
        QCOMPARE(sel.paramNames(), QStringList({"K", "K"}));
        sel.setParam("k", 2);
        auto rs = sel.open();
        QVERIFY(rs->next());
        QCOMPARE(rs->value(0).toInt(), 1);
        QVERIFY(selectValue(tr, "SELECT s FROM t WHERE id = 2").isNull());
        tr.rollback();
    }

    void parameterParsingLeavesQuotesAndCommentsAlone()
    {
        QStringList names;
        const QString out = parseNamedParams("SELECT ':X' FROM t -- :Y\n WHERE a = :A /* :Z */ AND \"b:c\" = :B_2", &names);
        QCOMPARE(names, QStringList({"A", "B_2"}));
        QCOMPARE(out, QStringLiteral("SELECT ':X' FROM t -- :Y\n WHERE a = ? /* :Z */ AND \"b:c\" = ?"));
        QCOMPARE(quoted("d'orzo"), QStringLiteral("'d''orzo'"));
    }

    void serverErrorsCarryCodesAndText()
    {
        Attachment att;
        att.open(file, params());
        Transaction tr(att);
        exec(tr, "INSERT INTO t (id) VALUES (3)");
        try {
            exec(tr, "INSERT INTO t (id) VALUES (3)");
            QFAIL("duplicate key accepted");
        } catch (const DbError &e) {
            QVERIFY(e.hasCode(335544665)); // unique key violation
            QVERIFY(e.text().contains("PRIMARY", Qt::CaseInsensitive) || e.text().contains("unique", Qt::CaseInsensitive));
            QVERIFY(!e.isLockConflict());
        }
        try {
            exec(tr, "INSERT INTO t (s) VALUES ('x')");
            QFAIL("null key accepted");
        } catch (const DbError &e) {
            QVERIFY(e.hasCode(335544347)); // validation error (NOT NULL)
        }
        // the transaction is still usable after failed statements
        QCOMPARE(selectValue(tr, "SELECT COUNT(*) FROM t WHERE id = 3").toInt(), 1);
        tr.rollback();
    }

    void nowaitUpdateOfAHeldRowIsALockConflict()
    {
        Attachment a, b;
        a.open(file, params());
        b.open(file, params());
        Transaction ta(a), tb(b);
        exec(ta, "INSERT INTO t (id, s) VALUES (10, 'a')");
        ta.commitRetaining();
        exec(ta, "UPDATE t SET s = 'held' WHERE id = 10");
        try {
            exec(tb, "UPDATE t SET s = 'other' WHERE id = 10");
            QFAIL("no conflict");
        } catch (const DbError &e) {
            QVERIFY2(e.isLockConflict(), qPrintable(e.text()));
        }
        // read committed, record version: b sees the last committed value without waiting
        QCOMPARE(selectValue(tb, "SELECT s FROM t WHERE id = 10").toString(), QStringLiteral("a"));
        ta.commitRetaining();
        QCOMPARE(selectValue(tb, "SELECT s FROM t WHERE id = 10").toString(), QStringLiteral("held"));
        exec(ta, "DELETE FROM t WHERE id = 10");
        ta.commit();
    }

    void retainingKeepsTheTransactionOpen()
    {
        Attachment att;
        att.open(file, params());
        Transaction tr(att);
        exec(tr, "INSERT INTO t (id) VALUES (20)");
        tr.rollbackRetaining();
        QVERIFY(tr.isActive());
        QVERIFY(selectValue(tr, "SELECT id FROM t WHERE id = 20").isNull());
        exec(tr, "INSERT INTO t (id) VALUES (21)");
        tr.commitRetaining();
        QVERIFY(tr.isActive());
        // closing the connection with an active transaction is allowed and rolls it back
        exec(tr, "INSERT INTO t (id) VALUES (22)");
        att.close();
        QVERIFY(!tr.isActive());
        att.open(file, params());
        QCOMPARE(selectValue(tr, "SELECT COUNT(*) FROM t WHERE id IN (21, 22)").toInt(), 1);
        exec(tr, "DELETE FROM t WHERE id = 21");
        tr.commit();
    }

    void openingWhatIsNotADatabaseFails()
    {
        Attachment att;
        QVERIFY_THROWS_EXCEPTION(DbError, att.open(dir.filePath("missing.fdb"), params()));
        QVERIFY(!att.isOpen());
        QFile junk(dir.filePath("junk.fdb"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(20000, 'x'));
        junk.close();
        try {
            att.open(junk.fileName(), params());
            QFAIL("junk opened");
        } catch (const DbError &e) {
            QVERIFY(!e.text().isEmpty());
        }
    }

    void stringTooLongIsRefused()
    {
        Attachment att;
        att.open(file, params());
        Transaction tr(att);
        QVERIFY_THROWS_EXCEPTION(DbError, exec(tr, "INSERT INTO t (id, s) VALUES (?, ?)", {30, QString(21, 'x')}));
        tr.rollback();
    }
};

QTEST_GUILESS_MAIN(TstFirebird)
#include "tst_firebird.moc"
