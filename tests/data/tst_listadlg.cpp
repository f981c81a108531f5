// The lookup list on the demonstration database: a document's supplier name and a row's ingredient
// name resolved while typed, the dialog's search controls, the record search of a code field, the
// new-record command with the code written back at the archive window's Save, and the article
// lists of the ingredient and recipe windows.
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "app/AppConfig.h"
#include "app/InsertDaLista.h"
#include "app/frmMain.h"
#include "data/dmGenerale.h"
#include "data/frmListaDlg.h"
#include "ui/DBControls.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString NotDefined = QStringLiteral("La lista valori non è stata definita correttamente in fase di programmazione!");
const QString InvalidSearch = QStringLiteral("I valori immessi come ricerca non sono validi e non sono considerati!");
const QString NoNewRecord = QStringLiteral("Inserimento di un nuovo record non previsto!");
const QString Required = QStringLiteral("Attenzione! Questo campo è obbligatorio!");
const QString Ingredients = QStringLiteral("categoria IN (SELECT c.categoria FROM categorie c WHERE c.tipo = 'I')");

TfrmListaDlg *listaDlg(QDialog *d) { return qobject_cast<TfrmListaDlg *>(d); }

// The codes the open list shows, in its order.
QStringList listedCodes(TfrmListaDlg *dlg)
{
    QStringList codes;
    db::DataSet *q = dlg->qLista();
    if (!q || !q->active())
        return codes;
    const int code = q->fieldByName("CODICE").index();
    for (int i = 0; i < q->recordCount(); ++i)
        codes << q->valueAt(i, code).toString();
    return codes;
}

// Chooses the row of code with "OK", or presses "Annulla" when code is empty.
int chooseOrCancel(TfrmListaDlg *dlg, const QString &code)
{
    if (code.isEmpty()) {
        dlg->btnAnnulla->click();
    } else {
        if (!dlg->qLista()->locate("CODICE", code))
            qWarning("code %s not listed", qPrintable(code));
        dlg->btnOK->click();
    }
    return dlg->result();
}

// Assigns a typed text as the edit box would; false when the field's rules refused it.
bool type(db::Field &f, const QString &text)
{
    return ui::userAction([&] {
        if (!f.dataSet().isEditing())
            f.dataSet().edit();
        f.setAsString(text);
    });
}

} // namespace

class TstListaDlg : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<TfrmMain> frm;
    std::unique_ptr<db::DataSet> tabDoc, tabRighe, tabAnag, tabArticoli;

    db::Field &supplierName() const { return tabDoc->fieldByName("ANAGR_ID_DESC"); }
    db::Field &articleName() const { return tabRighe->fieldByName("ART_ID_DESC"); }

private slots:
    void init()
    {
        database = std::make_unique<TestDatabase>(true);
        prompter = std::make_unique<ScriptedPrompter>();
        frm = std::make_unique<TfrmMain>(database->folder());
        AppConfig().DBPath = database->folder();
        dmGenerale = new TdmGenerale(frm.get());
        dmGenerale->OpenDatabase();
        db::Transaction &tr = dmGenerale->ta1;
        // A second branch of a supplier, whose name starts with the first one's whole name; a recipe
        // whose name starts like some ingredients; one ingredient that is not a favourite.
        db::exec(tr, "INSERT INTO anagrafica (id, ragione) VALUES (13, 'Caseificio Fratelli Baraldi s.r.l. Deposito')");
        db::exec(tr, "INSERT INTO articoli (id, nome, categoria, preferito) VALUES (100, 'Latte e miele', 'CRE', 1)");
        db::exec(tr, "UPDATE articoli SET preferito = 0 WHERE id = 3");
        db::exec(tr, "INSERT INTO documenti (id, genere, anagr_id) VALUES (1, 'C', 2)");
        db::exec(tr, "INSERT INTO righe (id, doc_id, art_id, quantita) VALUES (1, 1, 2, 10)");

        tabDoc = std::make_unique<db::DataSet>(tr, "tabDoc");
        tabDoc->SelectSQL = {"SELECT d.id, d.genere, d.anagr_id, a.ragione AS anagr_id_desc",
                             "  FROM documenti d LEFT JOIN anagrafica a ON a.id = d.anagr_id", " ORDER BY d.id"};
        tabDoc->setTable("documenti", {"ID"});
        tabDoc->open();
        supplierName().lookup = {"ID", "RAGIONE", "ANAGR_ID", "RAGIONE"};
        supplierName().OnValidate = [](db::Field &f) {
            if (!frmMain->CheckLookUpDesc(f))
                db::abort();
        };

        tabRighe = std::make_unique<db::DataSet>(tr, "tabRighe");
        tabRighe->SelectSQL = {"SELECT r.id, r.doc_id, r.art_id, r.quantita, ar.nome AS art_id_desc",
                               "  FROM righe r JOIN articoli ar ON ar.id = r.art_id", " ORDER BY r.id"};
        tabRighe->setTable("righe", {"ID"});
        tabRighe->open();
        articleName().lookup = {"ID", "NOME", "ART_ID", "NOME"};
        articleName().OnValidate = [](db::Field &f) {
            QString filter = Ingredients;
            if (frmMain->UsaIngredientiPreferiti)
                filter += " AND preferito = 1";
            if (!frmMain->CheckLookUpDesc(f, filter))
                db::abort();
        };

        tabAnag = std::make_unique<db::DataSet>(tr, "tabAnag");
        tabAnag->SelectSQL = {"SELECT * FROM anagrafica ORDER BY id"};
        tabAnag->setTable("anagrafica", {"ID"});
        tabAnag->open();
        tabAnag->fieldByName("ID").lookup = {"ID", "RAGIONE", "ID", "RAGIONE"};

        tabArticoli = std::make_unique<db::DataSet>(tr, "tabArticoli");
        tabArticoli->SelectSQL = {"SELECT * FROM articoli ORDER BY id"};
        tabArticoli->open();
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() == false)
            prompter->verifyDone();
        tabDoc.reset();
        tabRighe.reset();
        tabAnag.reset();
        tabArticoli.reset();
        frm.reset();
        prompter.reset();
        database.reset();
        InsertParams() = TInsertDaListParams();
    }

    void cleanupTestCase() { db::engine::shutdown(); }

    // Typing into a description field: the text resolves to one record without a dialog, or the
    // dialog opens on the matching rows and the user chooses or gives up (the change is abandoned).
    void typedDescription_data()
    {
        QTest::addColumn<bool>("ingredient");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");   // the dialog's rows; none: no dialog
        QTest::addColumn<QString>("choose");       // the row chosen; empty: "Annulla"
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<qint64>("code");
        QTest::addColumn<QString>("name");

        const QString baraldi = "Caseificio Fratelli Baraldi s.r.l.";
        QTest::newRow("one supplier matches the prefix")
            << false << "Avicola" << QStringList() << "" << true << qint64(5) << "Avicola Colli Bolognesi s.r.l.";
        QTest::newRow("the prefix compares in upper case")
            << false << "nocciole l" << QStringList() << "" << true << qint64(7) << "Nocciole Langa Bianca s.r.l.";
        QTest::newRow("the name the document already has")
            << false << baraldi << QStringList() << "" << true << qint64(2) << baraldi;
        QTest::newRow("several suppliers, one chosen")
            << false << "c" << QStringList{"2", "9", "12", "13"} << "9" << true << qint64(9)
            << "Cioccolateria Sabauda Ingrosso s.r.l.";
        QTest::newRow("several suppliers, Annulla keeps the old one")
            << false << "Ca" << QStringList{"2", "12", "13"} << "" << false << qint64(2) << baraldi;
        QTest::newRow("no supplier matches, Annulla")
            << false << "Zeta" << QStringList() << "" << false << qint64(2) << baraldi;
        QTest::newRow("apostrophe in a typed prefix")
            << false << "pistacchi dell'" << QStringList() << "" << true << qint64(8)
            << "Pistacchi dell'Etna di Bruno & Figli s.a.s.";
        QTest::newRow("apostrophe in an ingredient's whole name")
            << true << "Tuorlo d'uovo" << QStringList() << "" << true << qint64(10) << "Tuorlo d'uovo";
        QTest::newRow("another ingredient's whole name")
            << true << "Burro" << QStringList() << "" << true << qint64(6) << "Burro";
        QTest::newRow("a recipe is not an ingredient")
            << true << "Latte e" << QStringList() << "" << false << qint64(2) << "Latte intero fresco";
    }

    void typedDescription()
    {
        QFETCH(bool, ingredient);
        QFETCH(QString, typed);
        QFETCH(QStringList, listed);
        QFETCH(QString, choose);
        QFETCH(bool, accepted);
        QFETCH(qint64, code);
        QFETCH(QString, name);
        db::DataSet &ds = ingredient ? *tabRighe : *tabDoc;
        db::Field &field = ingredient ? articleName() : supplierName();
        db::Field &codeField = ds.fieldByName(ingredient ? "ART_ID" : "ANAGR_ID");

        // One match resolves silently; the text of the record itself needs no list either.
        const bool dialog = !listed.isEmpty() || !accepted;
        if (dialog) {
            prompter->expectDialog("Lista", [&](QDialog *d) {
                TfrmListaDlg *dlg = listaDlg(d);
                [&] {
                    QCOMPARE(dlg->Edit1->text(), typed);
                    QCOMPARE(dlg->btnIndice->text(), QString("Descrizione"));
                    QCOMPARE(listedCodes(dlg), listed);
                    QVERIFY(!dlg->btnNuovo->isEnabled());
                    QVERIFY(dlg->ListActive);
                }();
                return chooseOrCancel(dlg, choose);
            });
        }
        QCOMPARE(type(field, typed), accepted);
        QCOMPARE(codeField.asInteger(), code);
        QCOMPARE(field.asString(), name);
        QVERIFY(ds.isEditing());
        QVERIFY(!ListaDlg().ListActive);
        QVERIFY(!ListaDlg().LookupRunning);
        QVERIFY(!ListaDlg().qLista());
        if (accepted) {
            ds.post();   // the description is not written, the code is
            QCOMPARE(db::selectValue(dmGenerale->ta1, ingredient ? "SELECT art_id FROM righe WHERE id = 1"
                                                                 : "SELECT anagr_id FROM documenti WHERE id = 1")
                         .toLongLong(),
                     code);
        }
    }

    // Emptying the supplier's name empties its code silently, unless the name is required.
    void emptiedDescription_data()
    {
        QTest::addColumn<bool>("required");
        QTest::newRow("optional") << false;
        QTest::newRow("required") << true;
    }

    void emptiedDescription()
    {
        QFETCH(bool, required);
        supplierName().required = required;
        if (required)
            prompter->expectInfo(Required);
        QCOMPARE(type(supplierName(), ""), !required);
        QCOMPARE(tabDoc->fieldByName("ANAGR_ID").isNull(), !required);
        QCOMPARE(supplierName().asString(), required ? QString("Caseificio Fratelli Baraldi s.r.l.") : QString());
    }

    // Only ingredients are listed, and only favourites while the preference is on; there is no new
    // record to ask for; "Annulla" keeps the row's article.
    void ingredientList_data()
    {
        QTest::addColumn<bool>("favourites");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("favourites only") << true << QStringList{"2", "4", "33"};
        QTest::newRow("every ingredient") << false << QStringList{"2", "3", "4", "33"};
    }

    void ingredientList()
    {
        QFETCH(bool, favourites);
        QFETCH(QStringList, listed);
        frm->UsaIngredientiPreferiti = favourites;
        prompter->expectDialog("Lista", [&](QDialog *d) {
            TfrmListaDlg *dlg = listaDlg(d);
            [&] {
                QCOMPARE(listedCodes(dlg), listed);
                QVERIFY(!dlg->btnNuovo->isEnabled());
                prompter->expectInfo(NoNewRecord);
                QTest::keyClick(dlg->DBGrid1, Qt::Key_Insert, Qt::ControlModifier);
                QCOMPARE(dlg->result(), int(TfrmListaDlg::NothingChosen));   // still open
                QCOMPARE(listedCodes(dlg), listed);
            }();
            return chooseOrCancel(dlg, "");
        });
        QVERIFY(!type(articleName(), "la"));
        QCOMPARE(tabRighe->fieldByName("ART_ID").asInteger(), qint64(2));
        QCOMPARE(articleName().asString(), QString("Latte intero fresco"));
    }

    // The dialog's controls on the list of suppliers opened by F3 on the supplier table's code; the
    // first row left is chosen and the supplier table moves to it.
    void searchControls_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("message");

        const QStringList all{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"};
        QTest::newRow("every supplier by code") << QStringList() << "Descrizione" << all << "";
        QTest::newRow("header Descrizione orders by name")
            << QStringList{"click:btnHdrDescrizione"} << "Descrizione"
            << QStringList{"6", "5", "2", "13", "12", "9", "4", "11", "10", "1", "7", "3", "8"} << "";
        QTest::newRow("typing in the list goes to the search box, upper case")
            << QStringList{"keys:cas"} << "Descrizione" << QStringList{"2", "12", "13"} << "";
        QTest::newRow("backspace removes the last character")
            << QStringList{"keys:casx", "backspace", "keys:h"} << "Descrizione" << QStringList{"12"} << "";
        QTest::newRow("% matches inside the name")
            << QStringList{"edit:fratelli", "click:btnPercento"} << "Descrizione" << QStringList{"2", "13"} << "";
        QTest::newRow("% again matches the start only")
            << QStringList{"edit:fratelli", "click:btnPercento", "click:btnPercento"} << "Descrizione" << QStringList()
            << "";
        QTest::newRow("F6 then digits match codes")
            << QStringList{"F6", "keys:1"} << "Codice" << QStringList{"1", "10", "11", "12", "13"} << "";
        QTest::newRow("F6 in the search box")
            << QStringList{"edit:1", "F6:Edit1"} << "Codice" << QStringList{"1", "10", "11", "12", "13"} << "";
        QTest::newRow("search-mode button")
            << QStringList{"edit:2", "click:btnIndice"} << "Codice" << QStringList{"2"} << "";
        QTest::newRow("header Codice orders by code and searches codes")
            << QStringList{"click:btnHdrDescrizione", "keys:1", "click:btnHdrCodice"} << "Codice"
            << QStringList{"1", "10", "11", "12", "13"} << "";
        QTest::newRow("a search text the statement refuses lists everything")
            << QStringList{"F6", "edit:123456789012345"} << "Codice" << all << InvalidSearch;
    }

    void searchControls()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, mode);
        QFETCH(QStringList, listed);
        QFETCH(QString, message);
        tabAnag->first();
        const QString chosen = listed.value(0);
        prompter->expectDialog("Lista", [&](QDialog *d) {
            TfrmListaDlg *dlg = listaDlg(d);
            [&] {
                QCOMPARE(dlg->Edit1->text(), QString());
                if (!message.isEmpty())
                    prompter->expectInfo(message);
                for (const QString &step : steps) {
                    const QString arg = step.section(':', 1);
                    if (step.startsWith("keys:"))
                        QTest::keyClicks(dlg->DBGrid1, arg);
                    else if (step.startsWith("edit:"))
                        dlg->Edit1->setText(arg);
                    else if (step == "backspace")
                        QTest::keyClick(dlg->DBGrid1, Qt::Key_Backspace);
                    else if (step.startsWith("F6"))
                        QTest::keyClick(arg.isEmpty() ? static_cast<QWidget *>(dlg->DBGrid1)
                                                      : dlg->findChild<QWidget *>(arg),
                                        Qt::Key_F6);
                    else if (step.startsWith("click:"))
                        dlg->findChild<QPushButton *>(arg)->click();
                }
                QCOMPARE(dlg->btnIndice->text(), mode);
                QCOMPARE(listedCodes(dlg), listed);
            }();
            return chooseOrCancel(dlg, chosen);
        });
        const bool moved = frm->ListSearch(tabAnag->fieldByName("ID"));
        QCOMPARE(moved, !chosen.isEmpty());
        QCOMPARE(tabAnag->fieldByName("ID").asString(), chosen.isEmpty() ? QString("1") : chosen);
    }

    // "Nuovo" runs the caller's command in the insert-from-list mode; the archive window's Save then
    // hands the new code back into the lookup's code field and the new name into the field. A later
    // lookup offers no "Nuovo".
    void newRecordWrittenBackAtSave()
    {
        bool opened = false;
        const auto openSupplierCard = [&] {
            opened = true;
            QVERIFY(frm->InsertDaLista);
            QVERIFY(!InsertParams().Started);
            QCOMPARE(InsertParams().Field, QString("ID"));
            // What the supplier card's activation does: a new record in its main dataset.
            InsertParams().DataSet = tabAnag.get();
            InsertParams().Started = true;
            tabAnag->append();
            tabAnag->fieldByName("ID").setValue(14);
            tabAnag->fieldByName("RAGIONE").setValue("Gelateria all'Angolo");
        };
        supplierName().OnValidate = [&](db::Field &f) {
            if (!frmMain->CheckLookUpDesc(f, QString(), openSupplierCard))
                db::abort();
        };
        prompter->expectDialog("Lista", [&](QDialog *d) {
            TfrmListaDlg *dlg = listaDlg(d);
            [&] {
                QVERIFY(dlg->btnNuovo->isEnabled());
                QCOMPARE(listedCodes(dlg), QStringList());
            }();
            dlg->btnNuovo->click();
            return dlg->result();
        });
        QVERIFY(type(supplierName(), "Gelateria all'"));
        QVERIFY(opened);
        // The card has not saved yet: the field keeps the text, the code its supplier.
        QCOMPARE(supplierName().asString(), QString("Gelateria all'"));
        QCOMPARE(tabDoc->fieldByName("ANAGR_ID").asInteger(), qint64(2));

        frm->sbCommitClick();
        QVERIFY(!frm->InsertDaLista);
        QCOMPARE(tabDoc->fieldByName("ANAGR_ID").asInteger(), qint64(14));
        QCOMPARE(supplierName().asString(), QString("Gelateria all'Angolo"));
        QVERIFY(tabDoc->isEditing());

        // The command belonged to that lookup alone.
        supplierName().OnValidate = [](db::Field &f) {
            if (!frmMain->CheckLookUpDesc(f))
                db::abort();
        };
        prompter->expectDialog("Lista", [&](QDialog *d) {
            TfrmListaDlg *dlg = listaDlg(d);
            [&] { QVERIFY(!dlg->btnNuovo->isEnabled()); }();
            return chooseOrCancel(dlg, "");
        });
        QVERIFY(!type(supplierName(), "Zeta"));
    }

    // A lookup whose text resolves without a dialog drops its command too.
    void newRecordCommandEndsWithItsLookup()
    {
        bool ran = false;
        supplierName().OnValidate = [&](db::Field &f) {
            if (!frmMain->CheckLookUpDesc(f, QString(), [&] { ran = true; }))
                db::abort();
        };
        QVERIFY(type(supplierName(), "Avicola"));
        QCOMPARE(tabDoc->fieldByName("ANAGR_ID").asInteger(), qint64(5));
        supplierName().OnValidate = [](db::Field &f) {
            if (!frmMain->CheckLookUpDesc(f))
                db::abort();
        };
        prompter->expectDialog("Lista", [&](QDialog *d) {
            TfrmListaDlg *dlg = listaDlg(d);
            [&] {
                QVERIFY(!dlg->btnNuovo->isEnabled());
                prompter->expectInfo(NoNewRecord);
                QTest::keyClick(dlg->DBGrid1, Qt::Key_Insert, Qt::ControlModifier);
            }();
            return chooseOrCancel(dlg, "");
        });
        QVERIFY(!type(supplierName(), "Zeta"));
        QVERIFY(!ran);
        QVERIFY(!frm->InsertDaLista);
    }

    // While a list is open, another lookup does nothing and leaves the open list alone.
    void lookupWhileListOpen()
    {
        prompter->expectDialog("Lista", [&](QDialog *d) {
            TfrmListaDlg *dlg = listaDlg(d);
            [&] {
                const QStringList before = listedCodes(dlg);
                QVERIFY(dlg->ListaDB(articleName(), true, QString()));
                QVERIFY(!dlg->ListSearch(tabAnag->fieldByName("ID")));
                QCOMPARE(listedCodes(dlg), before);
                QCOMPARE(articleName().asString(), QString("Latte intero fresco"));
            }();
            return chooseOrCancel(dlg, "12");
        });
        QVERIFY(type(supplierName(), "c"));
        QCOMPARE(tabDoc->fieldByName("ANAGR_ID").asInteger(), qint64(12));
    }

    // A field without its lookup settings, or without a table, is refused with the message.
    void lookupNotDefined_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::newRow("code column") << "CodeColumn";
        QTest::newRow("description column") << "DescColumn";
        QTest::newRow("origin") << "origin";
    }

    void lookupNotDefined()
    {
        QFETCH(QString, missing);
        db::Field &f = supplierName();
        if (missing == "CodeColumn")
            f.lookup.CodeColumn.clear();
        else if (missing == "DescColumn")
            f.lookup.DescColumn.clear();
        else
            f.origin.clear();
        prompter->expectInfo(NotDefined);
        QVERIFY(!type(f, "Avicola"));
        QCOMPARE(tabDoc->fieldByName("ANAGR_ID").asInteger(), qint64(2));
        prompter->expectInfo(NotDefined);
        tabAnag->fieldByName("ID").lookup.DescColumn.clear();
        QVERIFY(!frm->ListSearch(tabAnag->fieldByName("ID")));
    }

    // The article lists of the ingredient and recipe windows move the window's dataset.
    void articleLists_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("recipes") << "ricette" << QStringList() << QStringList{"100"};
        QTest::newRow("favourite ingredients by name")
            << "preferiti" << QStringList{"keys:la"} << QStringList{"2", "4", "33"};
        QTest::newRow("every ingredient by name")
            << "ingredienti" << QStringList{"keys:la"} << QStringList{"2", "3", "4", "33"};
        QTest::newRow("every article by code")
            << "articoli" << QStringList{"F6", "keys:10"} << QStringList{"10", "100"};
        QTest::newRow("apostrophe in the search") << "articoli" << QStringList{"keys:%d'u"} << QStringList{"10"};
    }

    void articleLists()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, listed);
        prompter->expectDialog("Lista", [&](QDialog *d) {
            TfrmListaDlg *dlg = listaDlg(d);
            [&] {
                QCOMPARE(dlg->btnIndice->text(), QString("Descrizione"));
                QVERIFY(!dlg->btnNuovo->isEnabled());
                for (const QString &step : steps) {
                    if (step == "F6")
                        QTest::keyClick(dlg->DBGrid1, Qt::Key_F6);
                    else
                        QTest::keyClicks(dlg->DBGrid1, step.section(':', 1));
                }
                QCOMPARE(listedCodes(dlg), listed);
            }();
            return chooseOrCancel(dlg, listed.last());
        });
        bool moved = false;
        if (list == "ricette")
            moved = ListaRicette(*tabArticoli);
        else if (list == "preferiti")
            moved = ListaIngredienti(*tabArticoli, true);
        else if (list == "ingredienti")
            moved = ListaIngredienti(*tabArticoli, false);
        else
            moved = ListaArticoli(*tabArticoli, QString());
        QVERIFY(moved);
        QCOMPARE(tabArticoli->fieldByName("ID").asString(), listed.last());
    }

    // The exit check of required edit boxes.
    void requiredEditBox()
    {
        tabDoc->fieldByName("GENERE").required = true;
        ui::DBEdit required(tabDoc.get(), "GENERE");
        ui::DBEdit optional(tabDoc.get(), "ANAGR_ID");
        QVERIFY(frm->CheckRequired(&required));   // not empty
        required.setText(QString());
        optional.setText(QString());
        QVERIFY(frm->CheckRequired(&optional));
        prompter->expectInfo(Required);
        QVERIFY(!frm->CheckRequired(&required));
        QVERIFY(!frm->IsRequired(tabDoc->fieldByName("ANAGR_ID")));
    }
};

QTEST_MAIN(TstListaDlg)
#include "tst_listadlg.moc"
