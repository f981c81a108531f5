// The stock objects of the database on small, hand-made histories: the movement key, the running
// balance, the totals, the average waste and the allocation of consumption to loads, including
// after documents and rows change, inside an unsaved transaction and with two desktops at once.
#include "StockFixture.h"

#include <QTest>

namespace {
QDate day(int d) { return QDate(2024, 3, d); }
QString iso(int d) { return day(d).toString(Qt::ISODate); }
} // namespace

class TstStockObjects : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { db::engine::shutdown(); }

    void everyArticleHasExactlyOneStockRow()
    {
        StockDb s;
        s.article(1);
        s.article(2);
        s.article(3);
        s.document(1, "C", day(1));
        s.row(1, 1, 1, "5");
        s.document(2, "P", day(2));
        s.row(2, 2, 1, "2");
        QCOMPARE(s.caricoScarico(1), QStringLiteral("5.00 2.00 3.00"));
        QCOMPARE(s.dispo(1), QStringLiteral("3.00"));
        for (int art : {2, 3}) {
            QCOMPARE(s.caricoScarico(art), QStringLiteral("0.00 0.00 0.00"));
            QCOMPARE(s.dispo(art), QStringLiteral("0.00"));
            QCOMPARE(s.scarto(art), QStringLiteral("none"));
        }
        QCOMPARE(db::selectValue(s.tr, "SELECT COUNT(*) FROM carico_scarico").toInt(), 3);
        QCOMPARE(db::selectValue(s.tr, "SELECT COUNT(*) FROM disponibilita").toInt(), 3);

        // A row of an article that never moved, read back the way the document window reads its rows.
        s.row(3, 1, 2, "4");
        const QString rows = QStringLiteral("SELECT r.id, d.qta_dispo FROM righe r, articoli a, disponibilita d"
                                            " WHERE r.doc_id = 01 AND a.id = r.art_id AND d.art_id = r.art_id ORDER BY r.id");
        db::Statement st(s.tr, rows);
        auto rs = st.open();
        QStringList got;
        while (rs->next())
            got << QStringLiteral("%1:%2").arg(rs->value(0).toInt()).arg(StockDb::num(rs->value(1)));
        QCOMPARE(got, QStringList({"1:3.00", "3:4.00"}));
    }

    void movementKeyOrdersLoadsFirstThenEntry()
    {
        StockDb s;
        s.article(1);
        s.document(1, "P", day(5));
        s.row(7, 1, 1, "1");
        s.row(3, 1, 1, "1");
        s.document(2, "C", day(5)); // entered after the run, same day
        s.row(9, 2, 1, "4");
        s.document(3, "S", day(4));
        s.row(12, 3, 1, "1");
        s.document(4, "C", QDate()); // no date yet
        s.row(1, 4, 1, "1");

        QCOMPARE(s.key(9), iso(5) + QStringLiteral("0") + QStringLiteral("9").rightJustified(20, QLatin1Char('0')));
        QCOMPARE(s.key(7), iso(5) + QStringLiteral("1") + QStringLiteral("7").rightJustified(20, QLatin1Char('0')));
        QCOMPARE(s.key(7).size(), 31);
        QCOMPARE(s.key(1).left(10), QStringLiteral("9999-12-31"));
        // The first ten characters are what the server makes of the document date as text.
        QCOMPARE(db::selectValue(s.tr, "SELECT COUNT(*) FROM righe r JOIN documenti d ON d.id = r.doc_id "
                                       "WHERE SUBSTRING (r.saldo_id FROM 1 FOR 10) = CAST (d.data AS VARCHAR(10))").toInt(), 4);

        db::Statement st(s.tr, "SELECT id FROM righe WHERE art_id = 1 ORDER BY saldo_id");
        auto rs = st.open();
        QList<int> order;
        while (rs->next())
            order << rs->value(0).toInt();
        QCOMPARE(order, QList<int>({12, 9, 3, 7, 1}));

        // A date alone sorts before every movement of that date.
        QCOMPARE(db::selectValue(s.tr, "SELECT COUNT(*) FROM righe WHERE saldo_id <= ?", {iso(5)}).toInt(), 1);
    }

    void runningBalance()
    {
        StockDb s;
        s.article(1);
        s.article(2);
        s.document(1, "C", day(1));
        s.row(1, 1, 1, "10");
        s.row(2, 1, 2, "7");
        s.document(2, "P", day(1));
        s.row(3, 2, 1, "4", "0.50");
        s.row(4, 2, 2, "1");
        s.document(3, "S", day(2));
        s.row(5, 3, 1, "1");
        s.document(4, "C", day(3));
        s.row(6, 4, 1, "5");
        s.document(5, "P", day(3));
        s.row(7, 5, 1, "20");

        const struct {
            const char *name;
            QString key;
            const char *expected;
        } cases[] = {
            {"after the first load", s.key(1), "10.00"},
            {"after the run, waste included", s.key(3), "5.50"},
            {"after the other use", s.key(5), "4.50"},
            {"after the second load", s.key(6), "9.50"},
            {"after the last run", s.key(7), "-10.50"},
            {"date alone: nothing of that date", iso(3), "4.50"},
            {"date alone of the first day", iso(1), "0.00"},
            {"before every movement", QStringLiteral("2000-01-01"), "0.00"},
            {"after every movement", QStringLiteral("9999"), "-10.50"},
            {"key of the other article's row", s.key(4), "5.50"},
        };
        for (const auto &c : cases)
            QVERIFY2(s.saldo(1, c.key) == QLatin1String(c.expected),
                     qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.name), s.saldo(1, c.key))));
        QCOMPARE(s.saldo(2, s.key(4)), QStringLiteral("6.00"));
        QCOMPARE(s.saldoAfter(7), s.dispo(1));
        QCOMPARE(s.caricoScarico(1), QStringLiteral("15.00 25.50 -10.50"));

        // A movement after months and a new year without any: the balance carries across them.
        s.document(6, "C", QDate(2025, 3, 10));
        s.row(8, 6, 1, "20");
        QCOMPARE(s.saldoAfter(8), QStringLiteral("9.50"));
        QCOMPARE(s.saldo(1, QStringLiteral("2025-02-01")), QStringLiteral("-10.50"));
        s.document(7, "P", QDate(2025, 3, 11));
        s.row(9, 7, 1, "4");
        QCOMPARE(s.forniture(9), QStringLiteral("8:4.00"));
        QCOMPARE(s.utilizzo(8), QStringLiteral("2025-03-11 NULL"));
    }

    void documentMovedEarlierOrChangingKind()
    {
        StockDb s;
        s.article(1);
        s.document(1, "P", day(3));
        s.row(1, 1, 1, "4");
        s.document(2, "C", day(5));
        s.row(2, 2, 1, "10");
        QCOMPARE(s.saldoAfter(1), QStringLiteral("-4.00"));
        QCOMPARE(s.forniture(1), QString()); // the load came later: the run drew on no lot

        db::exec(s.tr, "UPDATE documenti SET data = ? WHERE id = 2", {day(1)});
        QCOMPARE(s.key(2).left(10), iso(1));
        QCOMPARE(s.saldoAfter(2), QStringLiteral("10.00"));
        QCOMPARE(s.saldoAfter(1), QStringLiteral("6.00"));
        QCOMPARE(s.forniture(1), QStringLiteral("2:4.00"));
        QCOMPARE(s.produzioni(2), QStringLiteral("1:4.00"));
        QCOMPARE(s.utilizzo(2), iso(3) + QStringLiteral(" NULL"));

        // The run becomes a load: its row now adds, and sorts among the loads of its day.
        db::exec(s.tr, "UPDATE documenti SET genere = 'C' WHERE id = 1");
        QCOMPARE(s.key(1).mid(10, 1), QStringLiteral("0"));
        QCOMPARE(s.caricoScarico(1), QStringLiteral("14.00 0.00 14.00"));
        QCOMPARE(s.produzioni(2), QString());
    }

    void documentDeletedWithItsRows()
    {
        StockDb s;
        s.article(1);
        s.article(2);
        s.document(1, "C", day(1));
        s.row(1, 1, 1, "5");
        s.row(2, 1, 2, "3");
        s.document(2, "C", day(2));
        s.row(3, 2, 1, "10");
        s.document(3, "P", day(3));
        s.row(4, 3, 1, "8");
        s.row(5, 3, 2, "1");
        QCOMPARE(s.forniture(4), QStringLiteral("1:5.00 3:3.00"));

        db::exec(s.tr, "DELETE FROM documenti WHERE id = 1");
        QCOMPARE(db::selectValue(s.tr, "SELECT COUNT(*) FROM righe WHERE doc_id = 1").toInt(), 0);
        QCOMPARE(s.caricoScarico(1), QStringLiteral("10.00 8.00 2.00"));
        QCOMPARE(s.caricoScarico(2), QStringLiteral("0.00 1.00 -1.00"));
        QCOMPARE(s.saldoAfter(4), QStringLiteral("2.00"));
        QCOMPARE(s.forniture(4), QStringLiteral("3:8.00"));
        QCOMPARE(s.forniture(5), QString());

        // The movement purge: every document of a period at once.
        db::exec(s.tr, "DELETE FROM documenti WHERE data >= '02.03.2024' AND data <= '03.03.2024'");
        QCOMPARE(s.caricoScarico(1), QStringLiteral("0.00 0.00 0.00"));
        QCOMPARE(s.saldo(1, QStringLiteral("9999")), QStringLiteral("0.00"));
    }

    void rowChangedOrDeleted()
    {
        StockDb s;
        s.article(1);
        s.article(2);
        s.document(1, "C", day(1));
        s.row(1, 1, 1, "6");
        s.document(2, "C", day(2));
        s.row(2, 2, 1, "6");
        s.document(3, "P", day(3));
        s.row(3, 3, 1, "8");
        s.document(4, "S", day(4));
        s.row(4, 4, 1, "2");
        QCOMPARE(s.forniture(3), QStringLiteral("1:6.00 2:2.00"));
        QCOMPARE(s.forniture(4), QStringLiteral("2:2.00"));

        // The first load now names another article.
        db::exec(s.tr, "UPDATE righe SET art_id = 2 WHERE id = 1");
        QCOMPARE(s.caricoScarico(1), QStringLiteral("6.00 10.00 -4.00"));
        QCOMPARE(s.caricoScarico(2), QStringLiteral("6.00 0.00 6.00"));
        QCOMPARE(s.saldoAfter(1), QStringLiteral("6.00"));
        QCOMPARE(s.saldoAfter(3), QStringLiteral("-2.00"));
        QCOMPARE(s.forniture(3), QStringLiteral("2:6.00"));
        QCOMPARE(s.forniture(4), QString());
        QCOMPARE(s.produzioni(1), QString());

        // A smaller run leaves room for the other use; then the run goes.
        db::exec(s.tr, "UPDATE righe SET quantita = 5, qta_uso = 5 WHERE id = 3");
        QCOMPARE(s.forniture(4), QStringLiteral("2:1.00"));
        QCOMPARE(s.utilizzo(2), iso(3) + QLatin1Char(' ') + iso(4));
        db::exec(s.tr, "DELETE FROM righe WHERE id = 3");
        QCOMPARE(s.saldoAfter(4), QStringLiteral("4.00"));
        QCOMPARE(s.produzioni(2), QStringLiteral("4:2.00"));
        QCOMPARE(s.utilizzo(2), iso(4) + QStringLiteral(" NULL"));
    }

    void shortfallIsChargedToNoLoad()
    {
        StockDb s;
        s.article(1);
        s.document(1, "P", day(1)); // before any load
        s.row(1, 1, 1, "4");
        s.document(2, "C", day(2));
        s.row(2, 2, 1, "5");
        s.document(3, "P", day(3)); // more than what is left
        s.row(3, 3, 1, "8");
        s.document(4, "C", day(4));
        s.row(4, 4, 1, "10");
        s.document(5, "P", day(5));
        s.row(5, 5, 1, "3");

        QCOMPARE(s.saldoAfter(1), QStringLiteral("-4.00"));
        QCOMPARE(s.saldoAfter(3), QStringLiteral("-7.00"));
        QCOMPARE(s.saldoAfter(5), QStringLiteral("0.00"));
        QCOMPARE(s.forniture(1), QString());
        QCOMPARE(s.forniture(3), QStringLiteral("2:5.00"));
        QCOMPARE(s.produzioni(2), QStringLiteral("3:5.00"));
        QCOMPARE(s.utilizzo(2), iso(3) + QLatin1Char(' ') + iso(3));
        // The later load is charged only with what was used after it arrived.
        QCOMPARE(s.produzioni(4), QStringLiteral("5:3.00"));
        QCOMPARE(s.utilizzo(4), iso(5) + QStringLiteral(" NULL"));

        // Rows without a positive quantity move the balance but take no part in the allocation.
        s.document(6, "S", day(6));
        s.row(6, 6, 1, "-2");
        s.row(7, 6, 1, "0");
        QCOMPARE(s.saldoAfter(6), QStringLiteral("2.00"));
        QCOMPARE(s.forniture(6), QString());
        QCOMPARE(s.produzioni(4), QStringLiteral("5:3.00"));
    }

    void twoLoadsConsumedByThreeInterleavedRuns()
    {
        StockDb s;
        s.article(1);
        // Entered out of order; the dates decide.
        s.document(5, "P", day(5));
        s.row(50, 5, 1, "5");
        s.document(1, "C", day(1));
        s.row(10, 1, 1, "10");
        s.document(4, "P", day(4));
        s.row(40, 4, 1, "7");
        s.document(3, "C", day(3));
        s.row(30, 3, 1, "10");
        s.document(2, "P", day(2));
        s.row(20, 2, 1, "6");

        QCOMPARE(s.produzioni(10), QStringLiteral("20:6.00 40:4.00"));
        QCOMPARE(s.produzioni(30), QStringLiteral("40:3.00 50:5.00"));
        QCOMPARE(s.forniture(20), QStringLiteral("10:6.00"));
        QCOMPARE(s.forniture(40), QStringLiteral("10:4.00 30:3.00"));
        QCOMPARE(s.forniture(50), QStringLiteral("30:5.00"));
        QCOMPARE(s.utilizzo(10), iso(2) + QLatin1Char(' ') + iso(4));
        QCOMPARE(s.utilizzo(30), iso(4) + QStringLiteral(" NULL"));
        QCOMPARE(s.saldoAfter(50), QStringLiteral("2.00"));
    }

    void lotTracingCases()
    {
        StockDb s;
        for (int a = 1; a <= 4; ++a)
            s.article(a);
        // 1: a load never used.
        s.document(1, "C", day(1));
        s.row(1, 1, 1, "10");
        // 2: a load used up exactly by one run.
        s.row(2, 1, 2, "12.50");
        s.document(2, "P", day(3));
        s.row(3, 2, 2, "12", "0.50");
        // 3: ten used six by one run and four by a later one.
        s.row(4, 1, 3, "10");
        s.row(5, 2, 3, "6");
        s.document(3, "S", day(6));
        s.row(6, 3, 3, "4");
        // 4: a run of eight drawn three from the older load and five from the newer.
        s.row(7, 1, 4, "3");
        s.document(4, "C", day(2));
        s.row(8, 4, 4, "9");
        s.row(9, 2, 4, "8");

        QCOMPARE(s.produzioni(1), QString());
        QCOMPARE(s.utilizzo(1), QStringLiteral("NULL NULL"));
        QCOMPARE(s.produzioni(2), QStringLiteral("3:12.50"));
        QCOMPARE(s.utilizzo(2), iso(3) + QLatin1Char(' ') + iso(3));
        QCOMPARE(s.produzioni(4), QStringLiteral("5:6.00 6:4.00"));
        QCOMPARE(s.utilizzo(4), iso(3) + QLatin1Char(' ') + iso(6));
        QCOMPARE(s.forniture(9), QStringLiteral("7:3.00 8:5.00"));
        QCOMPARE(s.utilizzo(8), iso(3) + QStringLiteral(" NULL"));
        // A load row asked for its runs from the other side, and a run asked for its runs: nothing.
        QCOMPARE(s.forniture(8), QString());
        QCOMPARE(s.produzioni(9), QString());
    }

    void averageWaste()
    {
        StockDb s;
        for (int a = 1; a <= 5; ++a)
            s.article(a);
        s.document(1, "P", day(1));
        s.document(2, "P", day(2));
        s.document(3, "S", day(2));
        s.document(4, "C", day(1));
        s.row(1, 1, 1, "100", "25");   // 20 %
        s.row(2, 1, 2, "100", "25");
        s.row(3, 2, 2, "50", "0");     // 25 of 175
        s.row(4, 1, 3, "70", "10");    // 12.5 %, as an explosion with 12.5 % writes it
        s.row(5, 3, 3, "10", "90");    // other uses do not count
        s.row(6, 4, 3, "10", "90");    // nor do loads
        s.row(7, 1, 4, "0.01", "1000"); // nearly all waste: still below 100
        s.row(8, 1, 5, "0", "0");
        QCOMPARE(s.scarto(1), QStringLiteral("20.00"));
        QCOMPARE(s.scarto(2), QStringLiteral("14.29"));
        QCOMPARE(s.scarto(3), QStringLiteral("12.50"));
        QCOMPARE(s.scarto(4), QStringLiteral("99.99"));
        QCOMPARE(s.scarto(5), QStringLiteral("none"));

        // The waste follows the rows: a run that becomes an other use stops counting.
        db::exec(s.tr, "UPDATE documenti SET genere = 'S' WHERE id = 2");
        QCOMPARE(s.scarto(2), QStringLiteral("20.00"));
        db::exec(s.tr, "UPDATE righe SET qta_scarto = 0, quantita = 70 WHERE id = 4");
        QCOMPARE(s.scarto(3), QStringLiteral("0.00"));
    }

    void ownTransactionSeesUnsavedRowsOtherDesktopsDoNot()
    {
        StockDb s;
        s.article(1);
        s.document(1, "C", day(1));
        s.row(1, 1, 1, "10");
        s.tr.commitRetaining();

        auto other = s.openOther();
        db::Transaction otr(*other);
        auto otherFigures = [&] {
            return QStringList{
                StockDb::num(db::selectValue(otr, "SELECT saldo FROM carico_scarico WHERE art_id = 1")),
                StockDb::num(db::selectValue(otr, "SELECT saldo FROM \"GetSaldo\"(1, '9999')")),
                StockDb::num(db::selectValue(otr, "SELECT SUM (qta_o) FROM \"DaiProduzioni\"(1)"))};
        };
        QCOMPARE(otherFigures(), QStringList({"10.00", "10.00", "NULL"}));

        // Posted, not saved: the own transaction sees it all, the other desktop nothing.
        s.document(2, "P", day(2));
        s.row(2, 2, 1, "4");
        s.document(3, "C", day(1));
        s.row(3, 3, 1, "1");
        QCOMPARE(s.saldoAfter(2), QStringLiteral("7.00"));
        QCOMPARE(s.dispo(1), QStringLiteral("7.00"));
        QCOMPARE(s.produzioni(1), QStringLiteral("2:4.00"));
        QCOMPARE(otherFigures(), QStringList({"10.00", "10.00", "NULL"}));

        // Cancel: back to the saved state.
        s.tr.rollbackRetaining();
        QCOMPARE(s.dispo(1), QStringLiteral("10.00"));
        QCOMPARE(s.produzioni(1), QString());
        QCOMPARE(s.saldo(1, QStringLiteral("9999")), QStringLiteral("10.00"));

        // Posted again and saved: now the other desktop reads the same figures.
        s.document(2, "P", day(2));
        s.row(2, 2, 1, "4");
        s.document(4, "C", day(1));
        s.row(4, 4, 1, "3");
        db::exec(s.tr, "UPDATE documenti SET data = ? WHERE id = 1", {day(3)});
        s.tr.commitRetaining();
        QCOMPARE(otherFigures(), QStringList({"9.00", "9.00", "NULL"}));
        QCOMPARE(StockDb::num(db::selectValue(otr, "SELECT SUM (qta_o) FROM \"DaiProduzioni\"(4)")), QStringLiteral("3.00"));
        QCOMPARE(StockDb::num(db::selectValue(otr, "SELECT saldo FROM \"GetSaldo\"(1, ?)", {s.key(2)})), QStringLiteral("-1.00"));
        otr.commit();
    }

    void twoDesktopsPostingTheSameArticle()
    {
        StockDb s;
        s.article(1);
        s.article(2);
        s.article(3);
        s.document(1, "C", day(1));
        s.row(1, 1, 1, "10");
        s.document(2, "P", day(2));
        s.document(3, "P", day(3));
        s.tr.commitRetaining();

        auto other = s.openOther();
        db::Transaction otr(*other);
        otr.start();

        // Desktop A posts a run of article 1 dated after B's; B posts one dated before it.
        s.row(2, 3, 1, "4");
        bool conflict = false;
        try {
            db::exec(otr, "INSERT INTO righe (id, doc_id, art_id, quantita, qta_uso, qta_scarto) VALUES (3, 2, 1, 3, 3, 0)");
        } catch (const db::DbError &e) {
            conflict = e.isLockConflict();
        }
        QVERIFY(conflict);
        // Another article is free, and a change of a row of article 1 is refused as well.
        db::exec(otr, "INSERT INTO righe (id, doc_id, art_id, quantita, qta_uso, qta_scarto) VALUES (4, 2, 2, 1, 1, 0)");
        conflict = false;
        try {
            db::exec(otr, "UPDATE righe SET quantita = 9, qta_uso = 9 WHERE id = 1");
        } catch (const db::DbError &e) {
            conflict = e.isLockConflict();
        }
        QVERIFY(conflict);
        // The same for the very first rows of an article that never moved.
        s.row(5, 3, 3, "1");
        conflict = false;
        try {
            db::exec(otr, "INSERT INTO righe (id, doc_id, art_id, quantita, qta_uso, qta_scarto) VALUES (6, 2, 3, 1, 1, 0)");
        } catch (const db::DbError &e) {
            conflict = e.isLockConflict();
        }
        QVERIFY(conflict);

        // Once A has saved, B posts and saves: both rows are counted, in date order.
        s.tr.commitRetaining();
        db::exec(otr, "INSERT INTO righe (id, doc_id, art_id, quantita, qta_uso, qta_scarto) VALUES (3, 2, 1, 3, 3, 0)");
        otr.commitRetaining();
        QCOMPARE(s.saldoAfter(3), QStringLiteral("7.00"));
        QCOMPARE(s.saldoAfter(2), QStringLiteral("3.00"));
        QCOMPARE(s.forniture(2), QStringLiteral("1:4.00"));
        QCOMPARE(s.produzioni(1), QStringLiteral("3:3.00 2:4.00"));
        QCOMPARE(StockDb::num(db::selectValue(otr, "SELECT saldo FROM \"GetSaldo\"(1, '9999')")), QStringLiteral("3.00"));
        otr.commit();
    }
};

QTEST_GUILESS_MAIN(TstStockObjects)
#include "tst_stockobjects.moc"
