// The supplier card and the supplier table on a real demo database: both on the shared supplier
// dataset, ordered by name, switching at the current supplier; new suppliers and the supplier
// rules reached from the card's boxes; the loads of the current supplier; the mail and web buttons;
// the printed list; the card opened to add a supplier for a lookup list.
#include "ProgramContext.h"
#include "app/InsertDaLista.h"
#include "data/Fiscale.h"
#include "data/frmListaDlg.h"
#include "suppliers/Shell.h"
#include "suppliers/frmAnagraf.h"
#include "suppliers/frmFornitori.h"
#include "ui/DBNavigator.h"
#include "ui/DataGrid.h"
#include "ui/GridReport.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

const QString First = QStringLiteral("Agrumi Trinacria s.r.l.");
const QString Baraldi = QStringLiteral("Caseificio Fratelli Baraldi s.r.l.");   // ID 2

// The shell of the tests: records the addresses and answers with ok.
class FakeShell : public suppliers::Shell {
public:
    FakeShell() { suppliers::Shell::install(this); }
    ~FakeShell() override { suppliers::Shell::install(nullptr); }
    bool open(const QString &address) override
    {
        opened << address;
        return ok;
    }
    QStringList opened;
    bool ok = true;
};

// The program on the demo database, with the two windows reached through its commands.
struct Context : ProgramContext {
    Context() : ProgramContext(true) {}
    TfrmFornitori *card()
    {
        frm->Anagrafica1->trigger();
        return qobject_cast<TfrmFornitori *>(frm->GetMDIForm(QStringLiteral("frmFornitori")));
    }
    TfrmAnagraf *table()
    {
        frm->TabellaFornitori1->trigger();
        return qobject_cast<TfrmAnagraf *>(frm->GetMDIForm(QStringLiteral("frmAnagraf")));
    }
    void click(ui::DBNavigator::Button b) { frm->DBNavigator1->button(b)->click(); }
    db::DataSet *anag() const { return dmGenerale->tabAnag; }
    QString name() const { return anag()->fieldByName(QStringLiteral("RAGIONE")).asString(); }
};

// Types text into a box as the user does and leaves it.
void typeInto(ui::DBEdit *box, const QString &text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClicks(box, text);
    box->commit();
}

QStringList shownCaptions(ui::DataGrid *grid)
{
    QStringList out;
    for (const ui::GridColumn &c : grid->columns())
        if (grid->isColumnVisible(c.field))
            out << c.caption;
    return out;
}

// A load of supplier on date with one row per ingredient (articles of the demo).
void addLoad(int id, int supplier, const QString &date, const QString &number, const QList<int> &articles)
{
    db::exec(dmGenerale->ta1,
             QStringLiteral("INSERT INTO documenti (id, genere, data, anno, numero, tipo, anagr_id) "
                            "VALUES (?, 'C', ?, 2024, ?, 'DDT', ?)"),
             {id, QDate::fromString(date, Qt::ISODate), number, supplier});
    int row = id * 100;
    for (int art : articles)
        db::exec(dmGenerale->ta1,
                 QStringLiteral("INSERT INTO righe (id, doc_id, art_id, quantita) VALUES (?, ?, ?, 10)"),
                 {row++, id, art});
}

} // namespace

class TestFornitori : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { db::engine::shutdown(); }

    void bothWindowsListByNameAndSwitchAtTheCurrentSupplier();
    void newSupplierThroughTheNavigator();
    void f3OnTheTableSearchesByName();
    void validationQuestionsFromTheBoxes_data();
    void validationQuestionsFromTheBoxes();
    void supplierWithLoadsIsNotDeleted();
    void loadsFollowTheCurrentSupplier();
    void mailAndWebButtons_data();
    void mailAndWebButtons();
    void printedListCarriesTheEmailColumn();
    void cardAddsASupplierForALookupList();
    void screenshots();
};

void TestFornitori::bothWindowsListByNameAndSwitchAtTheCurrentSupplier()
{
    Context ctx;
    TfrmAnagraf *table = ctx.table();
    QVERIFY(table);
    QCOMPARE(table->windowTitle(), QStringLiteral("Anagrafica clienti"));
    QCOMPARE(ctx.frm->dsCorrente(), ctx.anag());
    QCOMPARE(shownCaptions(table->grdAnag),
             (QStringList{"Ragione sociale", "Indirizzo", "CAP", "Luogo (prov)", "Telefono", "Cell.", "Fax"}));
    for (const char *hidden : {"PART_IVA", "COD_FISC", "EMAIL", "WEB"})
        QVERIFY(!table->grdAnag->isColumnVisible(hidden));
    QVERIFY(table->grdAnag->isReadOnly());
    // Ordered by company name.
    QStringList names;
    for (int r = 0; r < ctx.anag()->recordCount(); ++r)
        names << table->grdAnag->cellText(r, QStringLiteral("RAGIONE"));
    QCOMPARE(names.size(), 12);
    QCOMPARE(names.first(), First);
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(names, sorted);
    QVERIFY(ctx.frm->sbPrint->isEnabled());
    QVERIFY(ctx.frm->sbGrid->isEnabled());

    // Grid: the card on the supplier chosen in the table.
    QVERIFY(ctx.anag()->locate(QStringLiteral("ID"), 2));
    ctx.frm->sbGrid->click();
    auto *card = qobject_cast<TfrmFornitori *>(ctx.frm->ActiveChild());
    QVERIFY(card);
    QCOMPARE(card->windowTitle(), QStringLiteral("Anagrafica fornitori"));
    QCOMPARE(card->edtRagione->text(), Baraldi);
    QCOMPARE(card->edtEmail->text(), QStringLiteral("info@caseificiobaraldi.it"));
    QCOMPARE(card->pnlAnagrafica->title(), QStringLiteral(" Anagrafica fornitori "));
    QCOMPARE(card->pnlCarichi->title(), QStringLiteral(" Carichi relativi a questo fornitore "));
    QCOMPARE(shownCaptions(card->grdCarichi), (QStringList{"Data", "Numero", "Tipo doc.", "Ingrediente", "U.m.", "Q.tà"}));
    QCOMPARE(card->btnCerca->toolTip(), QStringLiteral("Cerca fornitore [F3]"));

    // The card moves, and Grid and Print bring the table forward on the same supplier.
    ctx.click(ui::DBNavigator::Next);
    const QString next = ctx.name();
    QCOMPARE(card->edtRagione->text(), next);
    ctx.frm->sbGrid->click();
    QCOMPARE(ctx.frm->ActiveChild(), table);
    QCOMPARE(table->grdAnag->view()->currentIndex().row(), ctx.anag()->recNo());
    QCOMPARE(ctx.childCount(), 2);
    ctx.frm->sbGrid->click();
    QCOMPARE(ctx.frm->ActiveChild(), card);
    ctx.frm->sbPrint->click();
    QCOMPARE(ctx.frm->ActiveChild(), table);

    // With a change pending the card does not open: the pending-changes message only.
    ctx.anag()->edit();
    ctx.anag()->fieldByName(QStringLiteral("TEL2")).setValue(QStringLiteral("333"));
    ctx.prompter.expectInfo(QStringLiteral("Modifiche in sospeso! Salvare o annullare prima di contiunuare."));
    ctx.frm->sbGrid->click();
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.frm->ActiveChild(), table);
    ctx.frm->sbRollback->click();
    ctx.prompter.verifyDone();
}

void TestFornitori::newSupplierThroughTheNavigator()
{
    Context ctx;
    TfrmFornitori *card = ctx.card();
    QVERIFY(card);
    ctx.click(ui::DBNavigator::Insert);
    QCOMPARE(ctx.anag()->state(), db::DataSetState::Insert);
    const qint64 id = ctx.anag()->fieldByName(QStringLiteral("ID")).asInteger();
    QVERIFY(id > 12);
    QVERIFY(card->edtRagione->text().isEmpty());
    QCOMPARE(card->qCarichi->recordCount(), 0);

    ctx.prompter.expectInfo(QStringLiteral("Inserire la ragione sociale prima di continuare!"));
    ctx.frm->sbCommit->click();
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.anag()->state(), db::DataSetState::Insert);

    // A name with an apostrophe is stored as typed and found again by the search.
    const QString name = QStringLiteral("Gelati dell'Orso & C. s.n.c.");
    typeInto(card->edtRagione, name);
    typeInto(card->edtLuogo, QStringLiteral("Carpi (MO)"));
    ctx.frm->sbCommit->click();
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.anag()->state(), db::DataSetState::Browse);
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT ragione FROM anagrafica WHERE id = %1").arg(id)).toString(), name);

    QVERIFY(ctx.anag()->locate(QStringLiteral("ID"), 1));
    ctx.prompter.expectDialog(QStringLiteral("Lista"), [&](QDialog *d) {
        auto *dlg = static_cast<TfrmListaDlg *>(d);
        dlg->Edit1->setText(QStringLiteral("gelati dell'"));
        if (dlg->qLista()->recordCount() != 1)
            qWarning("listed %d", dlg->qLista()->recordCount());
        dlg->btnOK->click();
        return dlg->result();
    });
    card->btnCerca->click();
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.anag()->fieldByName(QStringLiteral("ID")).asInteger(), id);
    QCOMPARE(card->edtRagione->text(), name);
    QVERIFY(card->edtRagione->hasFocus());
}

void TestFornitori::f3OnTheTableSearchesByName()
{
    Context ctx;
    TfrmAnagraf *table = ctx.table();
    table->grdAnag->view()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(table->grdAnag->view()->hasFocus());
    ctx.prompter.expectDialog(QStringLiteral("Lista"), [](QDialog *d) {
        auto *dlg = static_cast<TfrmListaDlg *>(d);
        dlg->Edit1->setText(QStringLiteral("pistacchi dell'"));
        dlg->btnOK->click();
        return dlg->result();
    });
    QTest::keyClick(table->grdAnag->view(), Qt::Key_F3);
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.anag()->fieldByName(QStringLiteral("ID")).asInteger(), qint64(8));
    QCOMPARE(table->grdAnag->view()->currentIndex().row(), ctx.anag()->recNo());
    QCOMPARE(ctx.frm->ActiveChild(), table);
}

void TestFornitori::validationQuestionsFromTheBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("stored");   // empty: the old value stays

    const QString vat = QStringLiteral("ATTENZIONE! Partita IVA errata, vuoi inserirla lo stesso?");
    const QString tax = QStringLiteral("ATTENZIONE! Codice fiscale errato, vuoi inserirlo lo stesso?");
    QTest::newRow("vat refused") << "edtPartIva" << "12345678901" << vat << false << QString();
    QTest::newRow("vat confirmed") << "edtPartIva" << "12345678901" << vat << true << "12345678901";
    QTest::newRow("tax code refused") << "edtCodFisc" << "rssmra80a01h501a" << tax << false << QString();
    QTest::newRow("tax code confirmed, upper case") << "edtCodFisc" << "rssmra80a01h501a" << tax << true
                                                    << "RSSMRA80A01H501A";
    QTest::newRow("short tax code is a vat number") << "edtCodFisc" << "12345678901" << vat << false << QString();
    QTest::newRow("valid tax code, no question") << "edtCodFisc" << "rssmra80a01h501u" << QString() << true
                                                 << "RSSMRA80A01H501U";
}

void TestFornitori::validationQuestionsFromTheBoxes()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, question);
    QFETCH(bool, answer);
    QFETCH(QString, stored);
    QVERIFY(!CheckPartitaIva(QStringLiteral("12345678901")));
    QVERIFY(!CheckCodiceFiscale(QStringLiteral("RSSMRA80A01H501A")));

    Context ctx;
    TfrmFornitori *card = ctx.card();
    QVERIFY(ctx.anag()->locate(QStringLiteral("ID"), 2));
    auto *edit = card->findChild<ui::DBEdit *>(box);
    QVERIFY(edit);
    const QString old = edit->field()->asString();
    if (!question.isEmpty())
        ctx.prompter.expectAsk(question, answer);
    typeInto(edit, typed);
    ctx.prompter.verifyDone();
    const QString expected = stored.isEmpty() ? old : stored;
    QCOMPARE(edit->field()->asString(), expected);
    QCOMPARE(edit->text(), expected);
}

void TestFornitori::supplierWithLoadsIsNotDeleted()
{
    Context ctx;
    addLoad(1, 2, QStringLiteral("2024-03-01"), QStringLiteral("15"), {1});
    TfrmFornitori *card = ctx.card();
    QVERIFY(ctx.anag()->locate(QStringLiteral("ID"), 2));
    ctx.prompter.expectInfo(
        QStringLiteral("Impossibile cancellare il fornitore \"%1\", perchè è movimentato in 1 carichi!").arg(Baraldi));
    ctx.click(ui::DBNavigator::Delete);
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.name(), Baraldi);
    QCOMPARE(ctx.anag()->recordCount(), 12);
    QCOMPARE(card->qCarichi->recordCount(), 1);

    // One without loads goes once the user confirms.
    QVERIFY(ctx.anag()->locate(QStringLiteral("ID"), 12));
    ctx.prompter.expectAsk(QStringLiteral("Vuoi eliminare il fornitore selezionato?"), true);
    ctx.click(ui::DBNavigator::Delete);
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.anag()->recordCount(), 11);
    QVERIFY(!ctx.anag()->locate(QStringLiteral("ID"), 12));
}

void TestFornitori::loadsFollowTheCurrentSupplier()
{
    Context ctx;
    // Entered out of order: listed by date, document and ingredient.
    addLoad(2, 2, QStringLiteral("2024-05-10"), QStringLiteral("B-7"), {3, 1, 2});
    addLoad(1, 2, QStringLiteral("2024-04-02"), QStringLiteral("A-1"), {5});
    TfrmFornitori *card = ctx.card();
    QVERIFY(ctx.anag()->locate(QStringLiteral("ID"), 2));
    db::DataSet *q = card->qCarichi;
    QCOMPARE(q->recordCount(), 4);
    QStringList lines;
    for (int r = 0; r < q->recordCount(); ++r)
        lines << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(card->grdCarichi->cellText(r, "DATA"), card->grdCarichi->cellText(r, "NUMERO"),
                          card->grdCarichi->cellText(r, "TIPO"), q->valueAt(r, q->fieldByName("ART_ID").index()).toString(),
                          card->grdCarichi->cellText(r, "QUANTITA"));
    QCOMPARE(lines, (QStringList{"02/04/2024 A-1 Documento di trasporto 5 10,00",
                                 "10/05/2024 B-7 Documento di trasporto 1 10,00",
                                 "10/05/2024 B-7 Documento di trasporto 2 10,00",
                                 "10/05/2024 B-7 Documento di trasporto 3 10,00"}));
    QVERIFY(!card->grdCarichi->cellText(0, "NOME").isEmpty());
    QVERIFY(!card->grdCarichi->cellText(0, "UM").isEmpty());

    ctx.click(ui::DBNavigator::Next);
    QCOMPARE(q->recordCount(), 0);
    ctx.click(ui::DBNavigator::Prior);
    QCOMPARE(q->recordCount(), 4);

    // Double-click on a load: the movement window's command on its document.
    q->locate(QStringLiteral("ID_RIGA"), 201);
    ctx.prompter.expectDialog(QStringLiteral("In fase di realizzazione..."), ScriptedPrompter::acceptDialog);
    emit card->grdCarichi->view()->doubleClicked(card->grdCarichi->view()->currentIndex());
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.frm->DocDaMostrare, qint64(2));
    QCOMPARE(ctx.frm->MovementKind, QStringLiteral("C"));

    // Not while a change is pending: only the pending-changes message.
    ctx.frm->DocDaMostrare = 0;
    typeInto(card->edtTel2, QStringLiteral("333 1234567"));
    QVERIFY(ctx.frm->sbCommit->isEnabled());
    ctx.prompter.reset();
    emit card->grdCarichi->view()->doubleClicked(card->grdCarichi->view()->currentIndex());
    QCOMPARE(ctx.prompter.messages().size(), 1);
    QCOMPARE(ctx.prompter.messages().first().kind, ScriptedPrompter::Kind::Info);
    QCOMPARE(ctx.frm->DocDaMostrare, qint64(0));
    ctx.prompter.reset();
}

void TestFornitori::mailAndWebButtons_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");   // null: never filled
    QTest::addColumn<QString>("opened");   // empty: nothing opened
    QTest::addColumn<bool>("fails");

    const QString mailFail = QStringLiteral(
        "Non riesco ad aprire il client di posta! Verifica che sia configurato correttamente nel sistema.");
    QTest::newRow("mail") << "EMAIL" << QVariant("ordini@x.it") << "mailto:ordini@x.it" << false;
    QTest::newRow("mail fails") << "EMAIL" << QVariant("ordini@x.it") << "mailto:ordini@x.it" << true;
    QTest::newRow("mail never filled") << "EMAIL" << QVariant() << "mailto:" << false;
    QTest::newRow("mail empty text") << "EMAIL" << QVariant("") << QString() << false;
    QTest::newRow("web without scheme") << "WEB" << QVariant("www.x.it") << "http://www.x.it" << false;
    QTest::newRow("web https any case") << "WEB" << QVariant("HttpS://x.it") << "HttpS://x.it" << false;
    QTest::newRow("web http") << "WEB" << QVariant("http://x.it") << "http://x.it" << false;
    QTest::newRow("web fails") << "WEB" << QVariant("x.it") << "http://x.it" << true;
    QTest::newRow("web never filled") << "WEB" << QVariant() << "http://" << false;
    QTest::newRow("web empty text") << "WEB" << QVariant("") << QString() << false;
}

void TestFornitori::mailAndWebButtons()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, opened);
    QFETCH(bool, fails);

    Context ctx;
    FakeShell shell;
    shell.ok = !fails;
    TfrmFornitori *card = ctx.card();
    ctx.anag()->edit();
    if (value.isNull())
        ctx.anag()->fieldByName(field).clear();
    else
        ctx.anag()->fieldByName(field).setValue(value);
    if (fails)
        ctx.prompter.expectInfo(
            field == "EMAIL"
                ? QStringLiteral("Non riesco ad aprire il client di posta! Verifica che sia configurato correttamente nel sistema.")
                : QStringLiteral("Non riesco ad aprire il browser internet! Verifica che sia configurato correttamente nel sistema."));
    (field == "EMAIL" ? card->btnMail : card->btnWeb)->click();
    ctx.prompter.verifyDone();
    QCOMPARE(shell.opened, opened.isEmpty() ? QStringList() : QStringList{opened});
    QCOMPARE(card->btnMail->toolTip(), QStringLiteral("Clicca il pulsante per inviare una mail"));
    QCOMPARE(card->btnWeb->toolTip(), QStringLiteral("Clicca il pulsante per accedere al sito internet"));
}

void TestFornitori::printedListCarriesTheEmailColumn()
{
    Context ctx;
    TfrmAnagraf *table = ctx.table();
    QVERIFY(!table->grdAnag->isColumnVisible(QStringLiteral("EMAIL")));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("lista.pdf"));
    QPageLayout layout;
    // The preview is what the user prints from: print it to a file.
    ctx.prompter.expectDialog(QStringLiteral("Anteprima di stampa"), [&](QDialog *d) {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(d);
        if (!preview || !table->grdAnag->isColumnVisible(QStringLiteral("EMAIL")))
            return int(QDialog::Rejected);
        QPrinter *printer = preview->printer();
        layout = printer->pageLayout();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        emit preview->paintRequested(printer);
        return int(QDialog::Accepted);
    });
    ctx.frm->sbPrint->click();
    ctx.prompter.verifyDone();
    QVERIFY(!table->grdAnag->isColumnVisible(QStringLiteral("EMAIL")));
    QCOMPARE(layout.orientation(), QPageLayout::Landscape);
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(layout.margins(QPageLayout::Millimeter), QMarginsF(12.5, 15, 12.5, 15));

    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Lista fornitori")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("E-mail")));
    QVERIFY(text.contains(QStringLiteral("ordini@latteriamontecorone.it")));
    QVERIFY(text.contains(QStringLiteral("Pistacchi dell'Etna")));
    QVERIFY(text.contains(QStringLiteral("Stampato il")));
    QVERIFY(text.contains(QStringLiteral("Pag. 1/1")));
    QVERIFY(!text.contains(QStringLiteral("Sito internet")));

    // A failing preview hides the column as well.
    ctx.prompter.expectDialog(QStringLiteral("Anteprima di stampa"), [](QDialog *) -> int { throw db::Abort(); });
    ctx.frm->sbPrint->click();
    QVERIFY(!table->grdAnag->isColumnVisible(QStringLiteral("EMAIL")));
    ctx.prompter.verifyDone();
}

void TestFornitori::cardAddsASupplierForALookupList()
{
    Context ctx;
    TInsertDaListParams &insert = InsertParams();
    QString handedBack;
    ctx.frm->InsertDaLista = true;
    insert.Started = false;
    insert.Field = QStringLiteral("ID");
    insert.OnSaved = [&](const QString &code) { handedBack = code; };

    TfrmFornitori *card = ctx.card();
    QVERIFY(card);
    QCOMPARE(ctx.anag()->state(), db::DataSetState::Insert);
    const QString id = ctx.anag()->fieldByName(QStringLiteral("ID")).asString();
    QVERIFY(card->edtRagione->text().isEmpty());
    // Activated again: still the one new supplier.
    emit ctx.frm->childActivated(card);
    ctx.frm->Anagrafica1->trigger();
    QCOMPARE(ctx.anag()->state(), db::DataSetState::Insert);
    QCOMPARE(ctx.anag()->fieldByName(QStringLiteral("ID")).asString(), id);
    QCOMPARE(ctx.anag()->recordCount(), 13);

    typeInto(card->edtRagione, QStringLiteral("Latteria Nuova"));
    ctx.frm->sbCommit->click();
    ctx.prompter.verifyDone();
    QCOMPARE(handedBack, id);
    QVERIFY(!ctx.frm->InsertDaLista);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!ctx.frm->GetMDIForm(QStringLiteral("frmFornitori")));
    QVERIFY(ctx.anag()->locate(QStringLiteral("RAGIONE"), QStringLiteral("Latteria Nuova")));
}

void TestFornitori::screenshots()
{
    Context ctx;
    addLoad(1, 8, QStringLiteral("2024-04-02"), QStringLiteral("A-1"), {1, 2, 3});
    TfrmAnagraf *table = ctx.table();
    QVERIFY(ctx.anag()->locate(QStringLiteral("ID"), 8));
    const QString dir = qEnvironmentVariable("BRIVOLA_SCREENSHOTS");
    QApplication::processEvents();
    QImage image = ctx.frm->grab().toImage();
    QVERIFY(!image.isNull());
    if (!dir.isEmpty())
        QVERIFY(image.save(dir + QStringLiteral("/frmAnagraf.png")));
    ctx.frm->sbGrid->click();
    auto *card = qobject_cast<TfrmFornitori *>(ctx.frm->ActiveChild());
    QVERIFY(card);
    QCOMPARE(card->qCarichi->recordCount(), 3);
    QApplication::processEvents();
    image = ctx.frm->grab().toImage();
    if (!dir.isEmpty())
        QVERIFY(image.save(dir + QStringLiteral("/frmFornitori.png")));
    Q_UNUSED(table);
    ctx.prompter.verifyDone();
}

QTEST_MAIN(TestFornitori)
#include "tst_fornitori.moc"
