// The main window's commands on a real database: one window per class brought forward by its
// command, the navigator's rules, Save, Cancel and Refresh over every dataset of the working
// connection, the insert-from-list branches of Save and Cancel, Exit, F10 and the print menus.
#include "ProgramContext.h"
#include "app/InsertDaLista.h"
#include "data/frmListaDlg.h"
#include "ui/DBNavigator.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>

namespace {
const QString Pending = QStringLiteral("Modifiche in sospeso! Salvare o annullare prima di contiunuare.");
const QString ConfirmDelete = QStringLiteral("Confermi la cancellazione?");

int countUnits(const ProgramContext &ctx)
{
    return ctx.otherSees(QStringLiteral("SELECT COUNT(*) FROM domini WHERE dominio = 'UNITA_MIS'")).toInt();
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { db::engine::shutdown(); }

    void windowCommandActivatesTheOpenWindow();
    void newPressedTwiceAddsOneRecord_data();
    void newPressedTwiceAddsOneRecord();
    void navigatorRefusesToMoveWithPendingChanges();
    void deleteAsksAndSavesAtOnce_data();
    void deleteAsksAndSavesAtOnce();
    void saveCommitsEveryEditedDataSet();
    void saveStopsAtARefusedPost();
    void cancelRollsBackAndReloads();
    void refreshKeepsPositionAndLeavesBrokenDataSetsClosed();
    void insertFromListSaveAndCancel_data();
    void insertFromListSaveAndCancel();
    void newRecordFromALookupComesBackIntoIt();
    void exitClosesOnlyTheActiveWindow();
    void f10ReleasedOnTheMainWindowSaves();
    void printAndGridRunTheChildsProcedures();
    void printMenuOfTheActiveChild_data();
    void printMenuOfTheActiveChild();
};

void TestCommands::windowCommandActivatesTheOpenWindow()
{
    ProgramContext ctx;
    QList<TestChild *> created;
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [&created] {
        created << new TestChild(QStringLiteral("frmCarico"));
        return created.last();
    });
    ctx.frm->registerChildWindow(QStringLiteral("frmArtico"), [] { return new TestChild(QStringLiteral("frmArtico")); });

    ctx.frm->Caricomagazzino1->trigger();
    QCOMPARE(created.size(), 1);
    QCOMPARE(ctx.frm->MovementKind, QStringLiteral("C"));
    QCOMPARE(created[0]->activations, 1);
    QCOMPARE(ctx.frm->dsCorrente(), created[0]->data);

    ctx.frm->Titolazioneingrediente1->trigger();
    QCOMPARE(ctx.childCount(), 2);
    QVERIFY(ctx.frm->dsCorrente() != created[0]->data);

    // "&Produzione" with the movement window open: the same window comes forward in the new mode and
    // its activation runs once.
    ctx.frm->Produzione1->trigger();
    QCOMPARE(created.size(), 1);
    QCOMPARE(ctx.childCount(), 2);
    QCOMPARE(ctx.frm->MovementKind, QStringLiteral("P"));
    QCOMPARE(created[0]->activations, 2);
    QCOMPARE(ctx.frm->ActiveChild(), created[0]);
    QCOMPARE(ctx.frm->dsCorrente(), created[0]->data);

    // Also when it is the active window already.
    ctx.frm->Altriusi1->trigger();
    QCOMPARE(created[0]->activations, 3);
    QCOMPARE(ctx.frm->MovementKind, QStringLiteral("S"));

    // The lot tracing windows open by the same pattern.
    ctx.frm->registerChildWindow(QStringLiteral("frmRintraccia"), [] { return new TestChild(QStringLiteral("frmRintraccia")); });
    ctx.frm->RintracciaCarico();
    ctx.frm->RintracciaCarico();
    QCOMPARE(ctx.childCount(), 3);
    QCOMPARE(ctx.frm->ActiveChild()->objectName(), QStringLiteral("frmRintraccia"));
    ctx.prompter.verifyDone();
}

void TestCommands::newPressedTwiceAddsOneRecord_data()
{
    QTest::addColumn<bool>("signalChanges");
    QTest::addColumn<bool>("pendingMessage");
    // A dataset whose insert enables Save: the second New waits for Save or Cancel.
    QTest::newRow("pending changes") << true << true;
    // A dataset that reports nothing: the second New is dropped silently.
    QTest::newRow("empty new record") << false << false;
}

void TestCommands::newPressedTwiceAddsOneRecord()
{
    QFETCH(bool, signalChanges);
    QFETCH(bool, pendingMessage);
    ProgramContext ctx;
    auto *child = new TestChild(QStringLiteral("frmTest"), signalChanges);
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [child] { return child; });
    ctx.frm->Caricomagazzino1->trigger();
    const int before = child->data->recordCount();

    ctx.frm->DBNavigator1->button(ui::DBNavigator::Insert)->click();
    QCOMPARE(child->data->state(), db::DataSetState::Insert);
    if (pendingMessage)
        ctx.prompter.expectInfo(Pending);
    ctx.frm->DBNavigator1->button(ui::DBNavigator::Insert)->click();
    ctx.prompter.verifyDone();
    QCOMPARE(child->data->recordCount(), before + 1);

    // Once the record has a value, New posts it and starts another (when nothing is pending).
    if (!pendingMessage) {
        child->data->fieldByName(QStringLiteral("VALORE")).setValue(QStringLiteral("XX"));
        QVERIFY(ctx.frm->NavigatorAction(ui::DBNavigator::Insert));
        QCOMPARE(child->data->recordCount(), before + 2);
    }
}

void TestCommands::navigatorRefusesToMoveWithPendingChanges()
{
    ProgramContext ctx;
    auto *child = new TestChild(QStringLiteral("frmCarico"));
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [child] { return child; });
    ctx.frm->Caricomagazzino1->trigger();
    db::DataSet *ds = child->data;
    ds->setRecNo(2);
    ds->edit();
    ds->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Changed"));
    QVERIFY(ctx.frm->sbCommit->isEnabled());

    for (auto b : {ui::DBNavigator::First, ui::DBNavigator::Prior, ui::DBNavigator::Next, ui::DBNavigator::Last,
                   ui::DBNavigator::Insert, ui::DBNavigator::Delete}) {
        ctx.prompter.expectInfo(Pending);
        QVERIFY(!ctx.frm->NavigatorAction(b));
        ctx.prompter.verifyDone();
        QCOMPARE(ds->recNo(), 2);
        QCOMPARE(ds->state(), db::DataSetState::Edit);
    }
    // The commands that open, close or refresh windows wait too.
    for (QAction *a : {ctx.frm->Produzione1, ctx.frm->Parametri1}) {
        ctx.prompter.expectInfo(Pending);
        a->trigger();
        ctx.prompter.verifyDone();
    }
    ctx.prompter.expectInfo(Pending);
    ctx.frm->sbRefresh->click();
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.childCount(), 1);
    QCOMPARE(ds->fieldByName(QStringLiteral("DESC_IT")).asString(), QStringLiteral("Changed"));
}

void TestCommands::deleteAsksAndSavesAtOnce_data()
{
    QTest::addColumn<bool>("ownHandler");
    QTest::addColumn<bool>("answer");
    QTest::newRow("confirmed") << false << true;
    QTest::newRow("declined") << false << false;
    QTest::newRow("own handler, confirmed") << true << true;
    QTest::newRow("own handler, declined") << true << false;
}

void TestCommands::deleteAsksAndSavesAtOnce()
{
    QFETCH(bool, ownHandler);
    QFETCH(bool, answer);
    ProgramContext ctx;
    auto *child = new TestChild(QStringLiteral("frmCarico"));
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [child] { return child; });
    ctx.frm->Caricomagazzino1->trigger();
    db::DataSet *ds = child->data;
    const QString ownQuestion = QStringLiteral("Eliminare l'unità di misura?");
    if (ownHandler) {
        ds->BeforeDelete = [ownQuestion](db::DataSet &) {
            if (!ui::prompter().ask(ownQuestion, QStringLiteral("Conferma"), ui::Icon::Question, false))
                db::abort();
        };
    }
    ds->locate(QStringLiteral("VALORE"), QStringLiteral("PZ"));
    const int before = countUnits(ctx);

    // Only one question: the dataset's own, or the navigator's.
    ctx.prompter.expectAsk(ownHandler ? ownQuestion : ConfirmDelete, answer);
    ctx.frm->DBNavigator1->button(ui::DBNavigator::Delete)->click();
    ctx.prompter.verifyDone();
    if (!ownHandler) {
        const ScriptedPrompter::Message &m = ctx.prompter.messages().last();
        QCOMPARE(m.title, QStringLiteral("Conferma cancellazione"));
    }

    QCOMPARE(ds->locate(QStringLiteral("VALORE"), QStringLiteral("PZ")), !answer);
    // A deletion is committed at once: another desktop sees it, nothing is left pending.
    QCOMPARE(countUnits(ctx), answer ? before - 1 : before);
    QVERIFY(!ctx.frm->sbCommit->isEnabled());
    QVERIFY(!ctx.frm->sbRollback->isEnabled());
    QVERIFY(!dmGenerale->PendingChanges);
}

void TestCommands::saveCommitsEveryEditedDataSet()
{
    ProgramContext ctx;
    auto *child = new TestChild(QStringLiteral("frmCarico"));
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [child] { return child; });
    ctx.frm->Caricomagazzino1->trigger();

    // Two datasets left in edit and insert: Save posts both, in order, and commits.
    dmGenerale->tabTDominio->locate(QStringLiteral("DOMINIO"), QStringLiteral("TIPI_DOC"));
    dmGenerale->tabTDominio->edit();
    dmGenerale->tabTDominio->fieldByName(QStringLiteral("DESCRIZIONE")).setValue(QStringLiteral("Documenti"));
    child->data->append();
    child->data->fieldByName(QStringLiteral("VALORE")).setValue(QStringLiteral("HG"));
    child->data->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Ettogrammi"));
    const int recNo = dmGenerale->tabTDominio->recNo();
    QVERIFY(ctx.frm->sbCommit->isEnabled() && ctx.frm->sbRollback->isEnabled());
    QCOMPARE(countUnits(ctx), 6);

    ctx.frm->sbCommit->click();
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT descrizione FROM tipi_dominio WHERE dominio = 'TIPI_DOC'")).toString(),
             QStringLiteral("Documenti"));
    QCOMPARE(countUnits(ctx), 7);
    QCOMPARE(dmGenerale->tabTDominio->state(), db::DataSetState::Browse);
    QCOMPARE(child->data->state(), db::DataSetState::Browse);
    QCOMPARE(dmGenerale->tabTDominio->recNo(), recNo);   // the transaction is retained: no re-read
    QVERIFY(!ctx.frm->sbCommit->isEnabled() && !ctx.frm->sbRollback->isEnabled());
    QVERIFY(!dmGenerale->PendingChanges);

    // The transaction goes on: the next change is saved the same way.
    child->data->edit();
    child->data->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Etti"));
    ctx.frm->sbCommitClick();
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT desc_it FROM domini WHERE valore = 'HG'")).toString(),
             QStringLiteral("Etti"));
}

void TestCommands::saveStopsAtARefusedPost()
{
    ProgramContext ctx;
    auto *child = new TestChild(QStringLiteral("frmCarico"));
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [child] { return child; });
    ctx.frm->Caricomagazzino1->trigger();
    // First in the connection's order: a good edit of a domain; then a value the key refuses.
    dmGenerale->tabTDominio->edit();
    dmGenerale->tabTDominio->fieldByName(QStringLiteral("DESCRIZIONE")).setValue(QStringLiteral("Changed"));
    child->data->append();
    child->data->fieldByName(QStringLiteral("VALORE")).setValue(QStringLiteral("KG"));

    // The server's text, once; nothing committed; everything still pending.
    ctx.prompter.expectError(QStringLiteral("PRIMARY or UNIQUE KEY"));
    ctx.frm->sbCommit->click();
    ctx.prompter.verifyDone();
    QCOMPARE(child->data->state(), db::DataSetState::Insert);
    QVERIFY(ctx.frm->sbCommit->isEnabled() && ctx.frm->sbRollback->isEnabled());
    QVERIFY(dmGenerale->PendingChanges);
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT COUNT(*) FROM tipi_dominio WHERE descrizione = 'Changed'")).toInt(), 0);

    // Corrected, it saves.
    child->data->fieldByName(QStringLiteral("VALORE")).setValue(QStringLiteral("HG"));
    ctx.frm->sbCommit->click();
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT COUNT(*) FROM tipi_dominio WHERE descrizione = 'Changed'")).toInt(), 1);
    QVERIFY(!ctx.frm->sbCommit->isEnabled());
}

void TestCommands::cancelRollsBackAndReloads()
{
    ProgramContext ctx;
    auto *child = new TestChild(QStringLiteral("frmCarico"));
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [child] { return child; });
    ctx.frm->Caricomagazzino1->trigger();
    db::DataSet *ds = child->data;
    const int rows = ds->recordCount();

    // A deleted row (already in the database's open transaction), an edit and an edit left open.
    ds->locate(QStringLiteral("VALORE"), QStringLiteral("GR"));
    ds->remove();
    ds->locate(QStringLiteral("VALORE"), QStringLiteral("LT"));
    ds->edit();
    ds->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Liters"));
    ds->post();
    dmGenerale->tabTDominio->edit();
    dmGenerale->tabTDominio->fieldByName(QStringLiteral("DESCRIZIONE")).setValue(QStringLiteral("Changed"));
    QCOMPARE(ds->recordCount(), rows - 1);

    QTest::keyClick(child->spy, Qt::Key_F8);
    ctx.prompter.verifyDone();
    QCOMPARE(ds->recordCount(), rows);
    QVERIFY(ds->locate(QStringLiteral("VALORE"), QStringLiteral("GR")));
    QVERIFY(ds->locate(QStringLiteral("VALORE"), QStringLiteral("LT")));
    QCOMPARE(ds->fieldByName(QStringLiteral("DESC_IT")).asString(), QStringLiteral("Litri"));
    QCOMPARE(dmGenerale->tabTDominio->state(), db::DataSetState::Browse);
    QVERIFY(dmGenerale->tabTDominio->fieldByName(QStringLiteral("DESCRIZIONE")).asString() != QStringLiteral("Changed"));
    QVERIFY(!ctx.frm->sbCommit->isEnabled() && !ctx.frm->sbRollback->isEnabled());
    QVERIFY(!dmGenerale->PendingChanges);
    // Nothing reached the database; the transaction goes on.
    QCOMPARE(countUnits(ctx), rows);
    ds->edit();
    ds->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Pezzi singoli"));
    ctx.frm->sbCommitClick();
    QCOMPARE(countUnits(ctx), rows);
}

void TestCommands::refreshKeepsPositionAndLeavesBrokenDataSetsClosed()
{
    ProgramContext ctx;
    auto *child = new TestChild(QStringLiteral("frmCarico"));
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [child] { return child; });
    ctx.frm->Caricomagazzino1->trigger();
    db::DataSet *ds = child->data;
    ds->setRecNo(3);
    const QString current = ds->fieldByName(QStringLiteral("VALORE")).asString();

    // Another desktop adds a unit after the current one.
    {
        db::Attachment att;
        att.open(ctx.database.file(), TdmGenerale::connectParams());
        db::Transaction tr(att);
        tr.start();
        db::exec(tr, QStringLiteral("INSERT INTO domini (dominio, valore, desc_it) VALUES ('UNITA_MIS', 'ZZ', 'Zeta')"));
        tr.commit();
    }
    // A dataset whose statement no longer opens, and a closed one.
    db::DataSet *broken = dmGenerale->CreateDataSet(QStringLiteral("qBroken"), child);
    broken->SelectSQL = {QStringLiteral("SELECT valore FROM domini")};
    broken->open();
    broken->SelectSQL = {QStringLiteral("SELECT valore FROM no_such_table")};
    db::DataSet *closed = dmGenerale->CreateDataSet(QStringLiteral("qClosed"), child);
    closed->SelectSQL = {QStringLiteral("SELECT valore FROM domini")};
    const int opens = dmGenerale->qGenerica->openCount();

    QTest::keyClick(child->spy, Qt::Key_F5);
    ctx.prompter.verifyDone();   // no message for the broken one
    QCOMPARE(ds->recNo(), 3);
    QCOMPARE(ds->fieldByName(QStringLiteral("VALORE")).asString(), current);
    QVERIFY(ds->locate(QStringLiteral("VALORE"), QStringLiteral("ZZ")));
    QVERIFY(!broken->active());
    QVERIFY(!closed->active());
    QCOMPARE(dmGenerale->qGenerica->openCount(), opens);
    QVERIFY(dmGenerale->tabTDominio->active() && dmGenerale->tabDomini->active());
}

void TestCommands::insertFromListSaveAndCancel_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("save") << true;
    QTest::newRow("cancel") << false;
}

void TestCommands::insertFromListSaveAndCancel()
{
    QFETCH(bool, save);
    ProgramContext ctx;
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [] { return new TestChild(QStringLiteral("frmCarico")); });
    ctx.frm->registerChildWindow(QStringLiteral("frmFornitori"),
                                 [] { return new TestChild(QStringLiteral("frmFornitori")); });
    ctx.frm->Caricomagazzino1->trigger();
    // The window that asked has a change pending.
    auto *asking = static_cast<TestChild *>(ctx.frm->ActiveChild());
    asking->data->edit();
    asking->data->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Asked"));

    // A lookup list asks for a new record: the archive window opens on it, though changes are pending.
    TInsertDaListParams &insert = InsertParams();
    insert = TInsertDaListParams();
    insert.Field = QStringLiteral("VALORE");
    QStringList handedBack;
    insert.OnSaved = [&handedBack](const QString &code) { handedBack << code; };
    ctx.frm->InsertDaLista = true;
    ctx.frm->Anagrafica1->trigger();
    ctx.prompter.verifyDone();
    auto *archive = static_cast<TestChild *>(ctx.frm->ActiveChild());
    QCOMPARE(archive->objectName(), QStringLiteral("frmFornitori"));
    QCOMPARE(archive->data->state(), db::DataSetState::Insert);
    QCOMPARE(insert.DataSet, archive->data);
    archive->data->fieldByName(QStringLiteral("VALORE")).setValue(QStringLiteral("HG"));

    if (save)
        ctx.frm->sbCommit->click();
    else
        ctx.frm->sbRollback->click();
    ctx.prompter.verifyDone();

    // The archive window is gone, the mode is over, the window that asked keeps its pending edit.
    QCOMPARE(ctx.childCount(), 1);
    QVERIFY(!ctx.frm->InsertDaLista);
    QCOMPARE(insert.Value, save ? QStringLiteral("HG") : QString());
    QCOMPARE(handedBack, save ? QStringList{QStringLiteral("HG")} : QStringList());
    QVERIFY(!insert.OnSaved && !insert.TargetField);
    QCOMPARE(asking->data->state(), db::DataSetState::Edit);
    QVERIFY(ctx.frm->sbCommit->isEnabled() && ctx.frm->sbRollback->isEnabled());
    // Nothing committed: the new record waits for the real Save (or goes with Cancel).
    QCOMPARE(countUnits(ctx), 6);
    ctx.frm->sbCommitClick();
    QCOMPARE(countUnits(ctx), save ? 7 : 6);
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT COUNT(*) FROM domini WHERE desc_it = 'Asked'")).toInt(), 1);
}

void TestCommands::newRecordFromALookupComesBackIntoIt()
{
    ProgramContext ctx;
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [] { return new TestChild(QStringLiteral("frmCarico")); });
    ctx.frm->registerChildWindow(QStringLiteral("frmFornitori"),
                                 [] { return new TestChild(QStringLiteral("frmFornitori")); });
    ctx.frm->Caricomagazzino1->trigger();
    auto *asking = static_cast<TestChild *>(ctx.frm->ActiveChild());
    // A description field looked up in domini: DESC_TE shows the description, DESC_IT holds the code.
    db::Field &desc = asking->data->fieldByName(QStringLiteral("DESC_TE"));
    desc.lookup = {QStringLiteral("VALORE"), QStringLiteral("DESC_IT"), QStringLiteral("DESC_IT"), QStringLiteral("DESC_IT")};
    asking->data->edit();
    desc.setValue(QStringLiteral("Etto"));

    // Nothing matches: the user asks for a new record, which opens the archive window on it.
    TfrmListaDlg &dlg = ListaDlg();
    dlg.ListParams.OnNew = [&ctx] { ctx.frm->Anagrafica1Click(); };
    ctx.prompter.expectDialog(QStringLiteral("Lista"), [](QDialog *) { return int(TfrmListaDlg::NewRecordAsked); });
    QVERIFY(dlg.ListaDB(desc, true, QString()));
    ctx.prompter.verifyDone();
    auto *archive = static_cast<TestChild *>(ctx.frm->ActiveChild());
    QCOMPARE(archive->objectName(), QStringLiteral("frmFornitori"));
    QCOMPARE(archive->data->state(), db::DataSetState::Insert);
    QCOMPARE(InsertParams().Field, QStringLiteral("VALORE"));

    archive->data->fieldByName(QStringLiteral("VALORE")).setValue(QStringLiteral("HG"));
    archive->data->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Ettogrammi"));
    ctx.frm->sbCommitClick();
    ctx.prompter.verifyDone();

    // The archive window is gone; the lookup's record has the new code and its description.
    QCOMPARE(ctx.childCount(), 1);
    QVERIFY(!ctx.frm->InsertDaLista);
    QCOMPARE(asking->data->state(), db::DataSetState::Edit);
    QCOMPARE(asking->data->fieldByName(QStringLiteral("DESC_IT")).asString(), QStringLiteral("HG"));
    QCOMPARE(desc.asString(), QStringLiteral("Ettogrammi"));
}

void TestCommands::exitClosesOnlyTheActiveWindow()
{
    ProgramContext ctx;
    int terminated = 0;
    ctx.frm->OnTerminate = [&terminated] { ++terminated; };
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [] { return new TestChild(QStringLiteral("frmCarico")); });
    ctx.frm->registerChildWindow(QStringLiteral("frmArtico"), [] { return new TestChild(QStringLiteral("frmArtico")); });
    ctx.frm->Caricomagazzino1->trigger();
    ctx.frm->Titolazioneingrediente1->trigger();
    QCOMPARE(ctx.childCount(), 2);

    ctx.frm->sbExit->click();
    QCOMPARE(ctx.childCount(), 1);
    QVERIFY(ctx.frm->GetMDIForm(QStringLiteral("frmCarico")));
    QCOMPARE(terminated, 0);
    // The window left in front is bound.
    QCOMPARE(ctx.frm->dsCorrente(), static_cast<TestChild *>(ctx.frm->GetMDIForm(QStringLiteral("frmCarico")))->data);

    ctx.frm->sbExit->click();
    QCOMPARE(ctx.childCount(), 0);
    QCOMPARE(terminated, 0);
    ctx.frm->sbExit->click();
    QCOMPARE(terminated, 1);
    ctx.prompter.verifyDone();
}

void TestCommands::f10ReleasedOnTheMainWindowSaves()
{
    ProgramContext ctx;
    // Nothing pending: nothing happens.
    QTest::keyClick(ctx.frm.get(), Qt::Key_F10);
    ctx.prompter.verifyDone();

    dmGenerale->tabTDominio->edit();
    dmGenerale->tabTDominio->fieldByName(QStringLiteral("DESCRIZIONE")).setValue(QStringLiteral("Changed"));
    QTest::keyPress(ctx.frm.get(), Qt::Key_F10);
    QVERIFY(ctx.frm->sbCommit->isEnabled());   // on the release, not the press
    QTest::keyRelease(ctx.frm.get(), Qt::Key_F10);
    QVERIFY(!ctx.frm->sbCommit->isEnabled());
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT COUNT(*) FROM tipi_dominio WHERE descrizione = 'Changed'")).toInt(), 1);
    ctx.prompter.verifyDone();
}

void TestCommands::printAndGridRunTheChildsProcedures()
{
    ProgramContext ctx;
    int printed = 0, grids = 0;
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [&] {
        auto *child = new TestChild(QStringLiteral("frmCarico"));
        child->PrintProc = [&printed] { ++printed; };
        child->GridProc = [&grids] { ++grids; };
        return child;
    });
    ctx.frm->Caricomagazzino1->trigger();
    ctx.frm->sbPrint->click();
    ctx.frm->sbGrid->click();
    QCOMPARE(printed, 1);
    QCOMPARE(grids, 1);

    // Grid opens another window: not while changes are pending.
    dmGenerale->tabTDominio->edit();
    dmGenerale->tabTDominio->fieldByName(QStringLiteral("DESCRIZIONE")).setValue(QStringLiteral("Changed"));
    ctx.prompter.expectInfo(Pending);
    ctx.frm->sbGrid->click();
    ctx.prompter.verifyDone();
    QCOMPARE(grids, 1);
}

void TestCommands::printMenuOfTheActiveChild_data()
{
    QTest::addColumn<QString>("child");
    QTest::addColumn<QString>("summaryKind");
    QTest::addColumn<QString>("menu");     // object name of the menu, empty for none
    QTest::addColumn<QStringList>("path"); // the items chosen
    QTest::addColumn<QString>("call");

    QTest::newRow("summary of all kinds, preview")
        << "frmDoc" << "T" << "pmStampa" << QStringList{"&Anteprima"} << "register preview=1 totals=0 ask=1";
    QTest::newRow("summary of loads, printed totals")
        << "frmDoc" << "C" << "pmStampaDoc" << QStringList{"&Stampa", "&Totali"} << "register preview=0 totals=1 ask=1";
    QTest::newRow("summary of production, register preview")
        << "frmDoc" << "P" << "pmStampaDoc" << QStringList{"&Anteprima", "&Registro"}
        << "register preview=1 totals=0 ask=1";
    QTest::newRow("ingredient table, print") << "frmArticoG" << "" << "pmStampa" << QStringList{"&Stampa"}
                                             << "list preview=0 ask=1";
    QTest::newRow("recipe table, preview") << "frmRicetteG" << "" << "pmStampa" << QStringList{"&Anteprima"}
                                           << "list preview=1 ask=1";
    QTest::newRow("warehouse, print") << "frmMagazzino" << "" << "pmStampa" << QStringList{"&Stampa"}
                                      << "list preview=0 ask=1";
    QTest::newRow("recipe card: no menu") << "frmRicette" << "" << "" << QStringList{} << "";
    QTest::newRow("names compare with case") << "frmdoc" << "T" << "" << QStringList{} << "";
}

void TestCommands::printMenuOfTheActiveChild()
{
    QFETCH(QString, child);
    QFETCH(QString, summaryKind);
    QFETCH(QString, menu);
    QFETCH(QStringList, path);
    QFETCH(QString, call);
    ProgramContext ctx;
    auto *window = new TestChild(child);
    window->PrintProc = [] {};
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [window] { return window; });
    ctx.frm->Caricomagazzino1->trigger();
    ctx.frm->SummaryKind = summaryKind;
    QVERIFY(ctx.frm->sbPrint->isEnabled());

    QTest::mouseClick(ctx.frm->sbPrint, Qt::RightButton);
    QMenu *shown = nullptr;
    for (QMenu *m : {ctx.frm->pmStampa, ctx.frm->pmStampaDoc})
        if (m->isVisible())
            shown = m;
    QCOMPARE(shown ? shown->objectName() : QString(), menu);
    if (!shown)
        return;
    QMenu *level = shown;
    QAction *chosen = nullptr;
    for (const QString &item : path) {
        chosen = nullptr;
        for (QAction *a : level->actions())
            if (a->text() == item)
                chosen = a;
        QVERIFY2(chosen, qPrintable(item));
        if (chosen->menu())
            level = chosen->menu();
    }
    chosen->trigger();
    shown->close();
    QCOMPARE(window->printCalls, QStringList{call});
    ctx.prompter.verifyDone();
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
