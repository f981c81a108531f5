// The supplier record rules of the data module: key, tax-identifier questions, company name,
// deletion refused while loads name the supplier.
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "app/AppConfig.h"
#include "data/dmGenerale.h"

#include <QTest>

namespace {
const QString VatQuestion = "ATTENZIONE! Partita IVA errata, vuoi inserirla lo stesso?";
const QString CfQuestion = "ATTENZIONE! Codice fiscale errato, vuoi inserirlo lo stesso?";
} // namespace

class TstAnagrafica : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<TdmGenerale> dm;
    db::DataSet *anag = nullptr;

private slots:
    void init()
    {
        database = std::make_unique<TestDatabase>();
        AppConfig().ProgramFolder = database->folder();
        AppConfig().DBPath = database->folder();
        dm = std::make_unique<TdmGenerale>();
        dm->OpenDatabase();
        anag = dm->tabAnag;
    }
    void cleanup()
    {
        dm.reset();
        database.reset();
    }
    void cleanupTestCase() { db::engine::shutdown(); }

    void newSupplierGetsItsKeyAndNeedsAName()
    {
        ScriptedPrompter p;
        anag->append();
        QVERIFY(anag->fieldByName("ID").asInteger() > 0);
        QVERIFY(dm->PendingChanges);
        p.expectInfo("Inserire la ragione sociale prima di continuare!");
        QVERIFY_THROWS_EXCEPTION(db::Abort, anag->post());
        QCOMPARE(anag->state(), db::DataSetState::Insert);
        anag->fieldByName("RAGIONE").setValue("Latteria dell'Appennino");
        anag->post();
        anag->refresh();
        QVERIFY(anag->locate("RAGIONE", "latteria dell'appennino", true));
        p.verifyDone();
    }

    void taxIdentifierQuestions_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("question"); // empty: accepted without a question
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("valid vat") << "PART_IVA" << "12345670017" << "" << false << "12345670017";
        QTest::newRow("wrong vat, keep it") << "PART_IVA" << "12345670018" << VatQuestion << true << "12345670018";
        QTest::newRow("wrong vat, refuse") << "PART_IVA" << "12345670018" << VatQuestion << false << "03764180364";
        QTest::newRow("empty vat") << "PART_IVA" << "" << "" << false << "";
        QTest::newRow("valid personal code") << "COD_FISC" << "RSSMRA85T10A562S" << "" << false << "RSSMRA85T10A562S";
        QTest::newRow("wrong personal code, refuse") << "COD_FISC" << "RSSMRA85T10A562T" << CfQuestion << false << "03764180364";
        QTest::newRow("fourteen characters are a personal code") << "COD_FISC" << "RSSMRA85T10A56" << CfQuestion << true << "RSSMRA85T10A56";
        QTest::newRow("eleven digits in the tax code are a vat number") << "COD_FISC" << "12345670018" << VatQuestion << false << "03764180364";
        QTest::newRow("valid vat in the tax code") << "COD_FISC" << "12345670017" << "" << false << "12345670017";
    }
    void taxIdentifierQuestions()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, question);
        QFETCH(bool, answer);
        QFETCH(QString, stored);
        ScriptedPrompter p;
        anag->append();
        anag->fieldByName("RAGIONE").setValue("Prova");
        anag->fieldByName(field).setValue("03764180364"); // the value before the typing
        if (!question.isEmpty())
            p.expectAsk(question, answer);
        try {
            anag->fieldByName(field).setAsString(value);
        } catch (const db::Abort &) {
        }
        QCOMPARE(anag->fieldByName(field).asString(), stored);
        p.verifyDone();
        anag->cancel();
    }

    void supplierWithLoadsCannotBeDeleted()
    {
        ScriptedPrompter p;
        anag->append();
        anag->fieldByName("RAGIONE").setValue("Caseificio \"Il Faggio\"");
        anag->post();
        const qint64 id = anag->fieldByName("ID").asInteger();
        db::exec(dm->ta1, "INSERT INTO documenti (id, genere, data, anagr_id) VALUES (1, 'C', CURRENT_DATE, ?)", {id});
        p.expectInfo("Impossibile cancellare il fornitore \"Caseificio \"Il Faggio\"\", perchè è movimentato in 1 carichi!");
        QVERIFY_THROWS_EXCEPTION(db::Abort, anag->remove());
        QVERIFY(anag->locate("ID", id));
        db::exec(dm->ta1, "DELETE FROM documenti WHERE id = 1");
        p.expectAsk("Vuoi eliminare il fornitore selezionato?", false);
        QVERIFY_THROWS_EXCEPTION(db::Abort, anag->remove());
        QVERIFY(anag->locate("ID", id));
        p.expectAsk("Vuoi eliminare il fornitore selezionato?", true);
        anag->remove();
        QVERIFY(!anag->locate("ID", id));
        QCOMPARE(db::selectValue(dm->ta1, "SELECT COUNT(*) FROM anagrafica WHERE id = ?", {id}).toInt(), 0);
        p.verifyDone();
    }
};

QTEST_MAIN(TstAnagrafica)
#include "tst_anagrafica.moc"
