// The record set on a real database: events and their order, refusals, server errors, refresh,
// filtered statements, master-detail, calculated fields, and the Italian formats.
#include "db/DataSet.h"
#include "db/Format.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace db;

namespace {
ConnectParams params() { return ConnectParams{"sysdba", "x", "UTF8"}; }
} // namespace

class TstDataSet : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString templ;
    std::unique_ptr<Attachment> att;
    std::unique_ptr<Transaction> trn;
    QStringList log;

    std::unique_ptr<DataSet> makeArticoli()
    {
        auto ds = std::make_unique<DataSet>(*trn, "tabArticoli");
        ds->SelectSQL = {"SELECT a.id, a.nome, a.prezzo, a.cat", "  FROM articoli a", " WHERE cat = cat", " ORDER BY a.id"};
        ds->setTable("articoli", {"ID"});
        return ds;
    }
    void logEvents(DataSet &ds)
    {
        auto h = [this](const char *n) { return [this, n](DataSet &) { log << n; }; };
        ds.BeforeInsert = h("BeforeInsert");
        ds.OnNewRecord = h("OnNewRecord");
        ds.AfterInsert = h("AfterInsert");
        ds.BeforeEdit = h("BeforeEdit");
        ds.AfterEdit = h("AfterEdit");
        ds.BeforePost = h("BeforePost");
        ds.AfterPost = h("AfterPost");
        ds.BeforeCancel = h("BeforeCancel");
        ds.AfterCancel = h("AfterCancel");
        ds.BeforeDelete = h("BeforeDelete");
        ds.AfterDelete = h("AfterDelete");
        ds.AfterScroll = h("AfterScroll");
    }

private slots:
    void initTestCase()
    {
        templ = dir.filePath("template.fdb");
        Attachment a;
        a.create(templ, params());
        Transaction t(a);
        a.executeImmediate(t, "CREATE TABLE articoli (id INTEGER NOT NULL PRIMARY KEY, nome VARCHAR(40) NOT NULL, "
                              "prezzo NUMERIC(9,2), cat VARCHAR(3))");
        a.executeImmediate(t, "CREATE TABLE righe (id INTEGER NOT NULL PRIMARY KEY, art_id INTEGER, qta NUMERIC(9,2))");
        t.commitRetaining();
        for (int i = 1; i <= 5; ++i)
            exec(t, "INSERT INTO articoli VALUES (?, ?, ?, ?)", {i, QString("Articolo %1").arg(i), i * 1.5, i % 2 ? "A" : "B"});
        exec(t, "INSERT INTO righe VALUES (1, 1, 10)");
        exec(t, "INSERT INTO righe VALUES (2, 1, 20)");
        exec(t, "INSERT INTO righe VALUES (3, 2, 30)");
        t.commit();
    }
    void init()
    {
        static int n = 0;
        const QString f = dir.filePath(QString("t%1.fdb").arg(++n));
        QVERIFY(QFile::copy(templ, f));
        att = std::make_unique<Attachment>();
        att->open(f, params());
        trn = std::make_unique<Transaction>(*att);
        log.clear();
    }
    void cleanup()
    {
        trn.reset();
        att.reset();
    }
    void cleanupTestCase() { engine::shutdown(); }

    void opensWithTypedFields()
    {
        auto ds = makeArticoli();
        ds->open();
        QCOMPARE(ds->recordCount(), 5);
        QCOMPARE(ds->fieldByName("NOME").size, 40);
        QVERIFY(ds->fieldByName("NOME").required);
        QCOMPARE(ds->fieldByName("PREZZO").type(), FieldType::Decimal);
        QCOMPARE(ds->fieldByName("prezzo").asDecimal(), *Decimal::parse("1.5"));
        QCOMPARE(ds->fieldByName("ID").origin, QString("ARTICOLI.ID"));
        ds->last();
        QVERIFY(ds->eof());
        QCOMPARE(ds->fieldByName("ID").asInteger(), 5);
    }

    void eventsFireOnceInOrder()
    {
        auto ds = makeArticoli();
        ds->open();
        logEvents(*ds);
        ds->append();
        ds->fieldByName("ID").setValue(10);
        ds->fieldByName("NOME").setValue("Nuovo");
        ds->post();
        QCOMPARE(log, QStringList({"BeforeInsert", "OnNewRecord", "AfterInsert", "AfterScroll", "BeforePost", "AfterPost"}));
        log.clear();
        ds->edit();
        ds->fieldByName("NOME").setValue("Cambiato");
        ds->cancel();
        QCOMPARE(log, QStringList({"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel"}));
        QCOMPARE(ds->fieldByName("NOME").asString(), QString("Nuovo"));
        log.clear();
        ds->remove();
        QCOMPARE(log, QStringList({"BeforeDelete", "AfterDelete", "AfterScroll"}));
        QCOMPARE(selectValue(*trn, "SELECT COUNT(*) FROM articoli WHERE id = 10").toInt(), 0);
    }

    void fieldValidationAndChange()
    {
        auto ds = makeArticoli();
        ds->open();
        Field &prezzo = ds->fieldByName("PREZZO");
        QStringList seen;
        prezzo.OnValidate = [&](Field &f) {
            seen << "validate " + f.asString();
            if (f.asDecimal() < Decimal(0))
                throw Abort();
        };
        prezzo.OnChange = [&](Field &f) { seen << "change " + f.asString(); };
        ds->edit();
        prezzo.setAsString("2,25");
        QVERIFY_THROWS_EXCEPTION(Abort, prezzo.setAsString("-1"));
        QCOMPARE(prezzo.asString(), QString("2,25")); // the refused value is gone, the last good one stays
        QCOMPARE(seen, QStringList({"validate 2,25", "change 2,25", "validate -1"}));
        QVERIFY_THROWS_EXCEPTION(DbError, prezzo.setAsString("abc"));
        ds->post();
        QCOMPARE(selectValue(*trn, "SELECT prezzo FROM articoli WHERE id = 1").value<Decimal>(), *Decimal::parse("2.25"));
    }

    void abortInABeforeEventLeavesTheStateAlone()
    {
        auto ds = makeArticoli();
        ds->open();
        ds->BeforeInsert = [](DataSet &) { throw Abort(); };
        QVERIFY_THROWS_EXCEPTION(Abort, ds->append());
        QCOMPARE(ds->state(), DataSetState::Browse);
        QCOMPARE(ds->recordCount(), 5);

        ds->BeforePost = [](DataSet &) { throw Abort(); };
        ds->edit();
        ds->fieldByName("NOME").setValue("Mai salvato");
        QVERIFY_THROWS_EXCEPTION(Abort, ds->post());
        QCOMPARE(ds->state(), DataSetState::Edit);
        QCOMPARE(ds->fieldByName("NOME").asString(), QString("Mai salvato"));
        QCOMPARE(selectValue(*trn, "SELECT nome FROM articoli WHERE id = 1").toString(), QString("Articolo 1"));

        // a refused new record (no key) abandons the insertion
        ds->cancel();
        ds->BeforeInsert = nullptr;
        ds->OnNewRecord = [](DataSet &) { throw Abort(); };
        QVERIFY_THROWS_EXCEPTION(Abort, ds->append());
        QCOMPARE(ds->state(), DataSetState::Browse);
        QCOMPARE(ds->recordCount(), 5);
    }

    void serverRefusalKeepsTheRecordInEdit_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<qint64>("code");
        QTest::newRow("duplicate key") << 3 << "Doppio" << qint64(335544665);
        QTest::newRow("not null") << 11 << QString() << qint64(335544347);
    }
    void serverRefusalKeepsTheRecordInEdit()
    {
        QFETCH(int, id);
        QFETCH(QString, nome);
        QFETCH(qint64, code);
        auto ds = makeArticoli();
        ds->open();
        ds->append();
        ds->fieldByName("ID").setValue(id);
        ds->fieldByName("NOME").setAsString(nome);
        try {
            ds->post();
            QFAIL("posted");
        } catch (const DbError &e) {
            QVERIFY2(e.hasCode(code), qPrintable(e.text()));
        }
        QCOMPARE(ds->state(), DataSetState::Insert);
        QCOMPARE(ds->fieldByName("ID").asInteger(), qint64(id));
        ds->cancel();
        QCOMPARE(ds->recordCount(), 5); // cancel of an insert leaves nothing
    }

    void newRecordIsNotModifiedUntilTyped()
    {
        auto ds = makeArticoli();
        ds->open();
        ds->OnNewRecord = [](DataSet &d) { d.fieldByName("ID").setValue(99); };
        ds->append();
        QVERIFY(!ds->modified());
        ds->fieldByName("NOME").setValue("x");
        QVERIFY(ds->modified());
        ds->cancel();
    }

    void movingWhileEditingPostsOrCancels()
    {
        auto ds = makeArticoli();
        ds->open();
        ds->edit();
        ds->fieldByName("NOME").setValue("Spostato");
        ds->next();
        QCOMPARE(ds->state(), DataSetState::Browse);
        QCOMPARE(selectValue(*trn, "SELECT nome FROM articoli WHERE id = 1").toString(), QString("Spostato"));
        ds->append(); // untouched new record: moving away drops it
        ds->first();
        QCOMPARE(ds->recordCount(), 5);
    }

    void refreshKeepsThePositionAndSeesNewData()
    {
        auto ds = makeArticoli();
        ds->open();
        ds->setRecNo(3);
        exec(*trn, "UPDATE articoli SET nome = 'Fuori' WHERE id = 4");
        ds->refresh();
        QCOMPARE(ds->recNo(), 3);
        QCOMPARE(ds->fieldByName("NOME").asString(), QString("Fuori"));
    }

    void changedLineReopensUnchangedDoesNot()
    {
        auto ds = makeArticoli();
        ds->open();
        const int opens = ds->openCount();
        QVERIFY(!ds->setSelectLine(2, " WHERE cat = cat"));
        QCOMPARE(ds->openCount(), opens);
        QVERIFY(ds->setSelectLine(2, " WHERE cat = " + quoted("A")));
        QCOMPARE(ds->openCount(), opens + 1);
        QCOMPARE(ds->recordCount(), 3);
        QVERIFY(!ds->setSelectLine(2, " WHERE cat = " + quoted("A")));
        QCOMPARE(ds->openCount(), opens + 1);
        // an apostrophe in a spliced value cannot change the statement
        QVERIFY(ds->setSelectLine(2, " WHERE cat = " + quoted("A' OR 'x'='x")));
        QCOMPARE(ds->recordCount(), 0);
    }

    void apostropheIsStoredAndFound()
    {
        auto ds = makeArticoli();
        ds->open();
        ds->append();
        ds->fieldByName("ID").setValue(20);
        ds->fieldByName("NOME").setValue("Tuorlo d'uovo");
        ds->fieldByName("CAT").setValue("B");
        ds->post();
        ds->refresh();
        QVERIFY(ds->locate("NOME", "TUORLO D'UOVO", true));
        QCOMPARE(ds->fieldByName("ID").asInteger(), 20);
        QVERIFY(ds->locate("NOME", "tuorlo d", true, true));
        QVERIFY(!ds->locate("NOME", "tuorlo d", false, true));
    }

    void detailFollowsTheMaster()
    {
        auto master = makeArticoli();
        DataSet detail(*trn, "tabRighe");
        detail.SelectSQL = {"SELECT id, art_id, qta FROM righe WHERE art_id = :ART", "ORDER BY id"};
        detail.setMaster(master.get(), {{"ART", "ID"}});
        master->open();
        detail.open();
        QCOMPARE(detail.recordCount(), 2);
        const int opens = detail.openCount();
        master->next();
        QCOMPARE(detail.recordCount(), 1);
        QCOMPARE(detail.fieldByName("QTA").asDecimal(), Decimal(30));
        master->next();
        QCOMPARE(detail.recordCount(), 0);
        QCOMPARE(detail.openCount(), opens + 2);
        master->refresh(); // same master record: the detail re-reads only if the key changed
        QCOMPARE(detail.openCount(), opens + 2);
    }

    void calculatedFields()
    {
        auto ds = makeArticoli();
        ds->addCalculatedField("DOPPIO", FieldType::Decimal);
        ds->OnCalcFields = [](DataSet &d) {
            d.fieldByName("DOPPIO").setValue(QVariant::fromValue(d.fieldByName("PREZZO").asDecimal() * Decimal(2)));
        };
        ds->open();
        ds->setRecNo(1);
        QCOMPARE(ds->fieldByName("DOPPIO").asDecimal(), Decimal(6));
        ds->edit();
        ds->fieldByName("PREZZO").setValue(5);
        QCOMPARE(ds->fieldByName("DOPPIO").asDecimal(), Decimal(10));
        ds->post(); // the calculated column is not written
        QCOMPARE(selectValue(*trn, "SELECT prezzo FROM articoli WHERE id = 2").value<Decimal>(), Decimal(5));
    }

    void suspendedDisplaySendsNothingUntilResumed()
    {
        auto ds = makeArticoli();
        ds->open();
        QSignalSpy moved(ds.get(), &DataSet::currentChanged);
        QSignalSpy reset(ds.get(), &DataSet::contentReset);
        ds->disableControls();
        ds->next();
        ds->next();
        QCOMPARE(moved.count(), 0);
        ds->enableControls();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(moved.count(), 1);
    }

    void italianFormats_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("thousands and two places") << "1234.56" << "#,##0.00" << "1.234,56";
        QTest::newRow("millions") << "1234567.5" << "#,##0.00" << "1.234.567,50";
        QTest::newRow("negative") << "-1234.5" << "#,##0.00" << "-1.234,50";
        QTest::newRow("small") << "0.5" << "#,##0.00" << "0,50";
        QTest::newRow("percent is literal") << "12.5" << "##0.00%" << "12,50%";
        QTest::newRow("optional places") << "1234.5" << "#,##0.###" << "1.234,5";
        QTest::newRow("optional places all") << "1.2345" << "#,##0.###" << "1,234";
        QTest::newRow("integer shown without comma") << "7" << "#,##0.###" << "7";
        QTest::newRow("one place") << "3.25" << "0.0" << "3,2";
        QTest::newRow("one place up") << "3.35" << "0.0" << "3,4";
        QTest::newRow("edit format") << "1234.5" << "0.00" << "1234,50";
        QTest::newRow("rounded to zero is not negative") << "-0.001" << "0.00" << "0,00";
    }
    void italianFormats()
    {
        QFETCH(QString, value);
        QFETCH(QString, format);
        QFETCH(QString, text);
        QCOMPARE(formatNumber(*Decimal::parse(value), format), text);
    }
    void dates()
    {
        QCOMPARE(formatDate(QDate(2026, 3, 5)), QString("05/03/2026"));
        QCOMPARE(parseDate("5/3/2026"), QDate(2026, 3, 5));
        QCOMPARE(parseDate("05/03/26"), QDate(2026, 3, 5));
        QVERIFY(!parseDate("31/02/2026").isValid());
    }
};

QTEST_GUILESS_MAIN(TstDataSet)
#include "tst_dataset.moc"
