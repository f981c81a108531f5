// The data module's shared rules on a real database: keys from the counters (also with a second
// desktop holding the counter row), pending changes, assign-only-when-different, the shared lists
// and the domain datasets.
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "app/AppConfig.h"
#include "data/KeyGenerator.h"
#include "data/dmGenerale.h"

#include <QSet>
#include <QTest>
#include <thread>

namespace {
qint64 counter(db::Transaction &tr, const QString &name)
{
    return db::selectValue(tr, QString("SELECT %1 FROM keygen").arg(name)).toLongLong();
}
} // namespace

class TstDmGenerale : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<TdmGenerale> dm;
    std::unique_ptr<db::DataSet> docs;

private slots:
    void init()
    {
        database = std::make_unique<TestDatabase>();
        AppConfig().ProgramFolder = database->folder();
        AppConfig().DBPath = database->folder();
        dm = std::make_unique<TdmGenerale>();
        dm->OpenDatabase();
        docs = std::make_unique<db::DataSet>(dm->ta1, "tabDocProva");
        docs->SelectSQL = {"SELECT id, genere, data FROM documenti ORDER BY id"};
        docs->setTable("documenti", {"ID"});
        docs->OnNewRecord = [this](db::DataSet &ds) {
            dm->GetNewKey(ds, "ID", "DOCUMENTI");
            ds.fieldByName("GENERE").setValue("C");
        };
        docs->open();
    }
    void cleanup()
    {
        docs.reset();
        dm.reset();
        database.reset();
    }
    void cleanupTestCase() { db::engine::shutdown(); }

    void keysAreConsecutiveAndOnlyTheirCounterMoves()
    {
        db::Attachment other;
        other.open(database->file(), TdmGenerale::connectParams());
        db::Transaction otr(other);
        const qint64 art = counter(otr, "ARTICOLI"), righe = counter(otr, "RIGHE"), anag = counter(otr, "ANAGRAFICA");
        const qint64 before = counter(otr, "DOCUMENTI");
        docs->append();
        const qint64 first = docs->fieldByName("ID").asInteger();
        QCOMPARE(first, before + 1);
        docs->cancel(); // the key is gone for good: a gap
        docs->append();
        QCOMPARE(docs->fieldByName("ID").asInteger(), before + 2);
        docs->post();
        // committed at once, visible to another desktop before any Save
        QCOMPARE(counter(otr, "DOCUMENTI"), before + 2);
        QCOMPARE(counter(otr, "ARTICOLI"), art);
        QCOMPARE(counter(otr, "RIGHE"), righe);
        QCOMPARE(counter(otr, "ANAGRAFICA"), anag);
        QCOMPARE(db::selectValue(otr, "SELECT COUNT(*) FROM documenti").toInt(), 0); // the record itself is not saved
    }

    void heldCounterAsksAndNoAbandonsTheInsertion()
    {
        db::Attachment other;
        other.open(database->file(), TdmGenerale::connectParams());
        db::Transaction hold(other);
        db::exec(hold, "UPDATE keygen SET documenti = documenti"); // another desktop holds the row
        ScriptedPrompter p;
        p.expectAsk("Impossibile creare nuovo record! Premere si per riprovare, no per annullare!", false);
        QVERIFY_THROWS_EXCEPTION(db::Abort, docs->append());
        p.verifyDone();
        QCOMPARE(docs->state(), db::DataSetState::Browse);
        QCOMPARE(docs->recordCount(), 0);
        hold.rollback();
    }

    void yesTriesThreeMoreTimes()
    {
        db::Attachment other;
        other.open(database->file(), TdmGenerale::connectParams());
        db::Transaction hold(other);
        db::exec(hold, "UPDATE keygen SET documenti = documenti");
        int asked = 0;
        dm->AskKeyRetry = [&] {
            if (++asked == 2)
                hold.rollback(); // the other desktop lets go during the second round
            return true;
        };
        docs->append();
        QCOMPARE(asked, 2);
        QCOMPARE(docs->state(), db::DataSetState::Insert);
        QVERIFY(docs->fieldByName("ID").asInteger() > 0);
        docs->cancel();
    }

    void twoDesktopsNeverGetTheSameKey()
    {
        db::Attachment a, b;
        a.open(database->file(), TdmGenerale::connectParams());
        b.open(database->file(), TdmGenerale::connectParams());
        db::Transaction ta(a), tb(b);
        QSet<qint64> seen;
        auto always = [] { return true; };
        for (int i = 0; i < 1000; ++i) { // in turns
            const qint64 ka = takeNewKey(ta, "RIGHE", always);
            QVERIFY(!seen.contains(ka));
            seen << ka;
            const qint64 kb = takeNewKey(tb, "RIGHE", always);
            QVERIFY(!seen.contains(kb));
            seen << kb;
        }
        seen.clear();
        // at the same time, from two threads with their own connections
        std::vector<qint64> ka, kb;
        std::thread t1([&] {
            for (int i = 0; i < 1000; ++i)
                ka.push_back(takeNewKey(ta, "RIGHE", always));
        });
        std::thread t2([&] {
            for (int i = 0; i < 1000; ++i)
                kb.push_back(takeNewKey(tb, "RIGHE", always));
        });
        t1.join();
        t2.join();
        for (qint64 k : ka)
            seen << k;
        for (qint64 k : kb)
            seen << k;
        QCOMPARE(seen.size(), 2000);
    }

    void assigningTheSameValueStartsNoEdit()
    {
        dm->tabCalorie->first();
        db::Field &grassi = dm->tabCalorie->fieldByName("GRASSI");
        TdmGenerale::AssignDecimal(grassi, grassi.asDecimal());
        QCOMPARE(dm->tabCalorie->state(), db::DataSetState::Browse);
        QVERIFY(!dm->PendingChanges);
        TdmGenerale::AssignDecimal(grassi, db::Decimal(8));
        QCOMPARE(dm->tabCalorie->state(), db::DataSetState::Edit);
        QVERIFY(dm->PendingChanges); // the edit itself reports the change
        dm->tabCalorie->post();
        QCOMPARE(db::selectValue(dm->ta1, "SELECT grassi FROM calorie").value<db::Decimal>(), db::Decimal(8));
    }

    void sharedListsOfferAllOnceAndFirst()
    {
        QVERIFY(dm->qCatIngrF->active());
        dm->qCatIngrF->first();
        QCOMPARE(dm->qCatIngrF->fieldByName("DESCRIZIONE").asString(), QString("<Tutti>"));
        QCOMPARE(dm->qCatIngrF->fieldByName("CATEGORIA").asString(), QString());
        QCOMPARE(dm->qCatIngrF->recordCount(), dm->qCatIngr->recordCount() + 1);
        QCOMPARE(dm->qCatRicF->recordCount(), dm->qCatRic->recordCount() + 1);
        QVERIFY(dm->qUnitaMis->locate("VALORE", "KG"));
        QCOMPARE(dm->DaiPreferiti(), QString("0 su 0"));
        db::exec(dm->ta1, "INSERT INTO categorie (categoria, descrizione, tipo) VALUES ('Z9', 'Nuova', 'I')");
        QVERIFY(!dm->qCatIngr->locate("CATEGORIA", "Z9"));
        dm->AggiornaCategorie();
        QVERIFY(dm->qCatIngr->locate("CATEGORIA", "Z9"));
    }

    void domainValuesFollowTheirDomain()
    {
        QVERIFY(dm->tabTDominio->locate("DOMINIO", "UNITA_MIS"));
        const int units = dm->tabDomini->recordCount();
        QVERIFY(units > 0);
        dm->tabDomini->append();
        QCOMPARE(dm->tabDomini->fieldByName("DOMINIO").asString(), QString("UNITA_MIS"));
        QVERIFY(dm->PendingChanges);
        dm->tabDomini->fieldByName("VALORE").setValue("QL");
        dm->tabDomini->fieldByName("DESC_IT").setValue("Quintali d'uva");
        dm->tabDomini->post();
        QVERIFY(dm->tabTDominio->locate("DOMINIO", "TIPI_DOC"));
        QVERIFY(!dm->tabDomini->locate("VALORE", "QL"));
        QVERIFY(dm->tabTDominio->locate("DOMINIO", "UNITA_MIS"));
        QCOMPARE(dm->tabDomini->recordCount(), units + 1);
        QVERIFY(dm->tabDomini->locate("DESC_IT", "quintali d'uva", true));
        // the same value again in the same domain is refused by the database
        dm->tabDomini->append();
        dm->tabDomini->fieldByName("VALORE").setValue("QL");
        QVERIFY_THROWS_EXCEPTION(db::DbError, dm->tabDomini->post());
        dm->tabDomini->cancel();
    }
};

QTEST_MAIN(TstDmGenerale)
#include "tst_dmgenerale.moc"
