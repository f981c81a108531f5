// The child window base on a real database: its look and place, the binding to the toolbar while it
// is active and its release when it goes, the keyboard map, the insert-from-list start and the
// required edit boxes.
#include "ProgramContext.h"
#include "app/InsertDaLista.h"
#include "ui/DBNavigator.h"

#include <QAction>
#include <QApplication>
#include <QToolButton>

namespace {
const QString Pending = QStringLiteral("Modifiche in sospeso! Salvare o annullare prima di contiunuare.");

} // namespace

class TestMDIChild : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { db::engine::shutdown(); }

    void looksLikeAPageOfTheMainWindow();
    void bindingFollowsTheActiveWindow();
    void activationFocusesAControl();
    void closingTheLastWindowUnbinds();
    void keysReachTheMapBeforeTheControls();
    void pageKeysMoveAndGoOn();
    void pageUpAfterAnEditIsRefused();
    void saveCancelRefreshKeys();
    void ctrlKeysOnReadOnlyDataSet();
    void ctrlKeysOnWritableDataSet();
    void insertFromListStartsOnce();
    void requiredBoxKeepsTheFocus();
};

// The window is opened by "&Carico magazzino" with a factory giving the window wanted.
static TestChild *openAs(ProgramContext &ctx, const QString &name, bool signalChanges = true)
{
    auto made = std::make_shared<TestChild *>(nullptr);
    ctx.frm->registerChildWindow(QStringLiteral("frmCarico"), [made, name, signalChanges] {
        *made = new TestChild(name, signalChanges);
        return *made;
    });
    ctx.frm->Caricomagazzino1->trigger();
    return *made;
}

void TestMDIChild::looksLikeAPageOfTheMainWindow()
{
    ProgramContext ctx;
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"));
    QVERIFY(child);
    QMdiSubWindow *sub = child->subWindow();
    QVERIFY(sub);
    QVERIFY(sub->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(sub->geometry(), QRect(0, 0, 1004, 613));
    QCOMPARE(child->size(), QSize(1004, 613));
    QVERIFY(child->isVisible());
    QCOMPARE(child->palette().color(QPalette::Window), QColor(237, 241, 251));
    QVERIFY(child->font().bold());
    QCOMPARE(child->font().pixelSize(), 15);
    QCOMPARE(ctx.frm->GetMDIForm(QStringLiteral("FRMCARICO")), child);
    ctx.prompter.verifyDone();
}

void TestMDIChild::bindingFollowsTheActiveWindow()
{
    ProgramContext ctx;
    ctx.frm->registerChildWindow(QStringLiteral("frmDoc"), [] {
        auto *child = new TestChild(QStringLiteral("frmDoc"));
        child->PrintProc = [] {};
        child->GridProc = [] {};
        return child;
    });
    ctx.frm->registerChildWindow(QStringLiteral("frmArtico"), [] { return new TestChild(QStringLiteral("frmArtico")); });

    ctx.frm->Riepiloghi1->trigger();
    auto *doc = static_cast<TestChild *>(ctx.frm->GetMDIForm(QStringLiteral("frmDoc")));
    QCOMPARE(ctx.frm->dsCorrente(), doc->data);
    QVERIFY(ctx.frm->sbPrint->isEnabled() && ctx.frm->sbGrid->isEnabled() && ctx.frm->sbExport->isEnabled());
    QVERIFY(ctx.frm->DBNavigator1->button(ui::DBNavigator::Next)->isEnabled());

    // A window without procedures after one with them.
    ctx.frm->Titolazioneingrediente1->trigger();
    auto *artico = static_cast<TestChild *>(ctx.frm->GetMDIForm(QStringLiteral("frmArtico")));
    QCOMPARE(ctx.frm->dsCorrente(), artico->data);
    QVERIFY(!ctx.frm->sbPrint->isEnabled());
    QVERIFY(!ctx.frm->sbGrid->isEnabled());
    QVERIFY(ctx.frm->sbExport->isEnabled());

    // The user switching windows binds too.
    ctx.frm->MDIArea->setActiveSubWindow(doc->subWindow());
    QCOMPARE(ctx.frm->dsCorrente(), doc->data);
    QVERIFY(ctx.frm->sbPrint->isEnabled());

    // A window without a main dataset: nothing to navigate or export.
    artico->MainDataSet = nullptr;
    ctx.frm->Titolazioneingrediente1->trigger();
    QCOMPARE(ctx.frm->dsCorrente(), nullptr);
    QVERIFY(!ctx.frm->sbExport->isEnabled());
    QVERIFY(!ctx.frm->DBNavigator1->button(ui::DBNavigator::Next)->isEnabled());
    ctx.prompter.verifyDone();
}

void TestMDIChild::activationFocusesAControl()
{
    ProgramContext ctx;
    TestChild *carico = openAs(ctx, QStringLiteral("frmCarico"));
    // A new window: its first control.
    QTRY_COMPARE(QApplication::focusWidget(), carico->spy);
    // Tab goes from control to control, not to the page.
    QTest::keyClick(carico->spy, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), carico->editDesc);
    QTest::keyClick(carico->editDesc, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), carico->spy);
    QTest::keyClick(carico->spy, Qt::Key_Tab);

    // Brought forward again: the control it had.
    ctx.frm->registerChildWindow(QStringLiteral("frmArtico"), [] { return new TestChild(QStringLiteral("frmArtico")); });
    ctx.frm->Titolazioneingrediente1->trigger();
    QVERIFY(!carico->isAncestorOf(QApplication::focusWidget()));
    ctx.frm->Caricomagazzino1->trigger();
    QCOMPARE(QApplication::focusWidget(), carico->editDesc);
    ctx.prompter.verifyDone();
}

void TestMDIChild::closingTheLastWindowUnbinds()
{
    ProgramContext ctx;
    ctx.frm->registerChildWindow(QStringLiteral("frmDoc"), [] {
        auto *child = new TestChild(QStringLiteral("frmDoc"));
        child->PrintProc = [] {};
        child->GridProc = [] {};
        return child;
    });
    ctx.frm->registerChildWindow(QStringLiteral("frmArtico"), [] { return new TestChild(QStringLiteral("frmArtico")); });
    ctx.frm->Titolazioneingrediente1->trigger();
    ctx.frm->Riepiloghi1->trigger();

    // Closing the active one binds the one left in front.
    QVERIFY(ctx.frm->CloseActiveMDI());
    auto *artico = static_cast<TestChild *>(ctx.frm->GetMDIForm(QStringLiteral("frmArtico")));
    QCOMPARE(ctx.frm->dsCorrente(), artico->data);
    QVERIFY(!ctx.frm->sbPrint->isEnabled());
    QVERIFY(ctx.frm->sbExport->isEnabled());

    QVERIFY(ctx.frm->CloseActiveMDI());
    QCOMPARE(ctx.childCount(), 0);
    QCOMPARE(ctx.frm->dsCorrente(), nullptr);
    QVERIFY(!ctx.frm->sbPrint->isEnabled() && !ctx.frm->sbGrid->isEnabled() && !ctx.frm->sbExport->isEnabled());
    for (int b = 0; b < ui::DBNavigator::ButtonCount; ++b)
        QVERIFY(!ctx.frm->DBNavigator1->button(ui::DBNavigator::Button(b))->isEnabled());
    ctx.prompter.verifyDone();
}

void TestMDIChild::keysReachTheMapBeforeTheControls()
{
    ProgramContext ctx;
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"));
    child->spy->setFocus();
    // Other keys reach the control untouched.
    QTest::keyClicks(child->spy, QStringLiteral("ab"));
    QCOMPARE(child->spy->text(), QStringLiteral("ab"));
    QCOMPARE(child->spy->keys, (QList<int>{Qt::Key_A, Qt::Key_B}));
    // F5 stops at the map.
    QTest::keyClick(child->spy, Qt::Key_F5);
    QCOMPARE(child->spy->keys.size(), 2);
    // "Lista (F3)" hands a release of F3 to the focused control, for its lookup.
    child->spy->released.clear();
    ctx.frm->SpeedButton2->click();
    QCOMPARE(child->spy->released, QList<int>{Qt::Key_F3});
    ctx.prompter.verifyDone();
}

void TestMDIChild::pageKeysMoveAndGoOn()
{
    ProgramContext ctx;
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"));
    db::DataSet *ds = child->data;
    ds->setRecNo(2);
    QTest::keyClick(child->spy, Qt::Key_PageDown);
    QCOMPARE(ds->recNo(), 3);
    QTest::keyClick(child->spy, Qt::Key_PageUp);
    QTest::keyClick(child->spy, Qt::Key_PageUp);
    QCOMPARE(ds->recNo(), 1);
    // The control receives the keys too, once each.
    QCOMPARE(child->spy->keys, (QList<int>{Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_PageUp}));
    ctx.prompter.verifyDone();
}

void TestMDIChild::pageUpAfterAnEditIsRefused()
{
    ProgramContext ctx;
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"));
    db::DataSet *ds = child->data;
    ds->setRecNo(2);
    child->editDesc->setFocus();
    QTest::keyClicks(child->editDesc, QStringLiteral("x"));
    QCOMPARE(ds->state(), db::DataSetState::Edit);

    ctx.prompter.expectInfo(Pending);
    QTest::keyClick(child->editDesc, Qt::Key_PageUp);
    ctx.prompter.verifyDone();
    QCOMPARE(ds->recNo(), 2);
    QCOMPARE(ds->state(), db::DataSetState::Edit);
}

void TestMDIChild::saveCancelRefreshKeys()
{
    ProgramContext ctx;
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"));
    db::DataSet *ds = child->data;

    // F10 and F8 with nothing pending: nothing happens and the key goes on.
    QTest::keyClick(child->spy, Qt::Key_F10);
    QTest::keyClick(child->spy, Qt::Key_F8);
    QCOMPARE(child->spy->keys, (QList<int>{Qt::Key_F10, Qt::Key_F8}));
    ctx.prompter.verifyDone();

    ds->edit();
    ds->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Saved by F10"));
    QTest::keyClick(child->spy, Qt::Key_F10);
    QVERIFY(!ctx.frm->sbCommit->isEnabled());
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT COUNT(*) FROM domini WHERE desc_it = 'Saved by F10'")).toInt(), 1);

    ds->edit();
    ds->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Cancelled by F8"));
    QTest::keyClick(child->spy, Qt::Key_F8);
    QVERIFY(!ctx.frm->sbRollback->isEnabled());
    QCOMPARE(ds->fieldByName(QStringLiteral("DESC_IT")).asString(), QStringLiteral("Saved by F10"));
    QCOMPARE(child->spy->keys.size(), 2);   // both stopped at the map

    // A refused post: the error once (not again at the release of F10), the record still in edit.
    ds->append();
    ds->fieldByName(QStringLiteral("VALORE")).setValue(QStringLiteral("KG"));
    ctx.prompter.expectError(QStringLiteral("PRIMARY or UNIQUE KEY"));
    QTest::keyClick(child->spy, Qt::Key_F10);
    ctx.prompter.verifyDone();
    QCOMPARE(ds->state(), db::DataSetState::Insert);
    QVERIFY(ctx.frm->sbCommit->isEnabled());
}

void TestMDIChild::ctrlKeysOnReadOnlyDataSet()
{
    ProgramContext ctx;
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"));
    // A list without statements that write: the main dataset is read-only.
    child->MainDataSet = dmGenerale->qUnitaMis;
    ctx.frm->Caricomagazzino1->trigger();
    QCOMPARE(ctx.frm->dsCorrente(), dmGenerale->qUnitaMis);
    const int rows = dmGenerale->qUnitaMis->recordCount();

    QTest::keyClick(child->spy, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(child->spy, Qt::Key_Insert, Qt::ControlModifier);
    ctx.prompter.verifyDone();
    QCOMPARE(dmGenerale->qUnitaMis->recordCount(), rows);
    QCOMPARE(dmGenerale->qUnitaMis->state(), db::DataSetState::Browse);
    // Ctrl+Canc never reaches the control; Ctrl+Ins does.
    QCOMPARE(child->spy->keys, QList<int>{Qt::Key_Insert});
}

void TestMDIChild::ctrlKeysOnWritableDataSet()
{
    ProgramContext ctx;
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"), false);
    db::DataSet *ds = child->data;
    const int rows = ds->recordCount();

    QTest::keyClick(child->spy, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(ds->state(), db::DataSetState::Insert);
    // No second empty record; a refused action keeps the key from the control too.
    QTest::keyClick(child->spy, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(ds->recordCount(), rows + 1);
    QCOMPARE(child->spy->keys, QList<int>{Qt::Key_Insert});
    ds->cancel();

    ds->locate(QStringLiteral("VALORE"), QStringLiteral("PZ"));
    ctx.prompter.expectAsk(QStringLiteral("Confermi la cancellazione?"), false);
    QTest::keyClick(child->spy, Qt::Key_Delete, Qt::ControlModifier);
    ctx.prompter.verifyDone();
    QCOMPARE(ds->recordCount(), rows);
    ctx.prompter.expectAsk(QStringLiteral("Confermi la cancellazione?"), true);
    QTest::keyClick(child->spy, Qt::Key_Delete, Qt::ControlModifier);
    ctx.prompter.verifyDone();
    QCOMPARE(ds->recordCount(), rows - 1);
    QCOMPARE(child->spy->keys.size(), 1);
}

void TestMDIChild::insertFromListStartsOnce()
{
    ProgramContext ctx;
    TInsertDaListParams &insert = InsertParams();
    insert = TInsertDaListParams();
    insert.Field = QStringLiteral("VALORE");
    insert.Value = QStringLiteral("left over");
    ctx.frm->InsertDaLista = true;
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"));
    const int rows = child->data->recordCount();
    QCOMPARE(child->data->state(), db::DataSetState::Insert);
    QVERIFY(insert.Started);
    QCOMPARE(insert.DataSet, child->data);
    QCOMPARE(insert.Field, QStringLiteral("VALORE"));
    QVERIFY(insert.Value.isEmpty());

    // Activated again (the command again, another window and back): no second record. While the
    // mode is on, the pending insertion does not stop the commands.
    ctx.frm->Caricomagazzino1->trigger();
    ctx.frm->registerChildWindow(QStringLiteral("frmArtico"), [] { return new TestChild(QStringLiteral("frmArtico")); });
    ctx.frm->Titolazioneingrediente1->trigger();
    auto *other = static_cast<TestChild *>(ctx.frm->GetMDIForm(QStringLiteral("frmArtico")));
    QCOMPARE(other->data->state(), db::DataSetState::Browse);
    ctx.frm->Caricomagazzino1->trigger();
    QCOMPARE(child->activations, 3);
    QCOMPARE(child->data->recordCount(), rows);
    QCOMPARE(child->data->state(), db::DataSetState::Insert);
    ctx.frm->InsertDaLista = false;
    ctx.prompter.verifyDone();
}

void TestMDIChild::requiredBoxKeepsTheFocus()
{
    ProgramContext ctx;
    // Another window open behind: the check runs once, in the window of the box.
    ctx.frm->registerChildWindow(QStringLiteral("frmArtico"), [] { return new TestChild(QStringLiteral("frmArtico")); });
    ctx.frm->Titolazioneingrediente1->trigger();
    TestChild *child = openAs(ctx, QStringLiteral("frmCarico"), false);
    child->data->fieldByName(QStringLiteral("DESC_IT")).required = true;
    child->CheckOnExit(child->editDesc);
    const auto leaveBox = [child] {
        child->spy->setFocus(Qt::TabFocusReason);   // the user tabs on
    };
    child->editDesc->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(child->editDesc->hasFocus());

    // A filled box lets the user go.
    leaveBox();
    QTRY_VERIFY(child->spy->hasFocus());
    ctx.prompter.verifyDone();

    // An emptied one says so and takes the focus back.
    child->editDesc->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(child->editDesc->hasFocus());
    child->editDesc->selectAll();
    QTest::keyClick(child->editDesc, Qt::Key_Backspace);
    QVERIFY(child->editDesc->text().isEmpty());
    ctx.prompter.expectInfo(QStringLiteral("Attenzione! Questo campo è obbligatorio!"));
    leaveBox();
    ctx.prompter.verifyDone();
    QTRY_VERIFY(child->editDesc->hasFocus());
    QVERIFY(child->editDesc->text().isEmpty());

    // A box whose field is not required is left alone.
    child->data->fieldByName(QStringLiteral("DESC_IT")).required = false;
    QVERIFY(child->EditExit(child->editDesc));
    ctx.prompter.verifyDone();
}

QTEST_MAIN(TestMDIChild)
#include "tst_mdichild.moc"
