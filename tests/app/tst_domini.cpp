// The domain window on a real database: opened by the administrator's "&Parametri", its two grids,
// the navigator following the focused grid, new values of the selected domain, the server's refusal
// of a duplicate value, and the movement from cell to cell.
#include "ProgramContext.h"
#include "app/frmDomini.h"
#include "ui/DBNavigator.h"
#include "ui/DataGrid.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QToolButton>

namespace {

TfrmDomini *openDomini(ProgramContext &ctx)
{
    ctx.frm->Parametri1->trigger();
    return qobject_cast<TfrmDomini *>(ctx.frm->GetMDIForm(QStringLiteral("frmDomini")));
}

QStringList captionsAndWidths(ui::DataGrid *grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << QStringLiteral("%1 %2 %3")
                   .arg(grid->model()->columns()[c].field,
                        grid->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString())
                   .arg(grid->view()->columnWidth(c));
    return out;
}

void focus(QWidget *w)
{
    w->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(w->hasFocus());
}

} // namespace

class TestDomini : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { db::engine::shutdown(); }

    void parametriOpensTheTwoGrids();
    void navigatorFollowsTheFocusedGrid();
    void valuesFollowTheSelectedDomain();
    void newValueTakesTheSelectedDomain();
    void duplicateValueIsRefusedByTheServer();
    void tabAndEnterMoveFromCellToCell();
    void screenshot();
};

void TestDomini::parametriOpensTheTwoGrids()
{
    ProgramContext ctx;
    TfrmDomini *frm = openDomini(ctx);
    QVERIFY(frm);
    QCOMPARE(ctx.frm->ActiveChild(), frm);
    QCOMPARE(frm->MainDataSet, dmGenerale->tabTDominio);
    QCOMPARE(ctx.frm->dsCorrente(), dmGenerale->tabTDominio);
    QCOMPARE(captionsAndWidths(frm->grdTDominio),
             (QStringList{QStringLiteral("DOMINIO Dominio 120"), QStringLiteral("DESCRIZIONE Descrizione 648")}));
    QCOMPARE(captionsAndWidths(frm->grdDomini),
             (QStringList{QStringLiteral("VALORE Valore 120"), QStringLiteral("DESC_IT Descrizione italiana 324"),
                          QStringLiteral("DESC_TE Descrizione tedesca 324")}));
    // The user cannot sort, resize or move the columns.
    for (ui::DataGrid *grid : {frm->grdTDominio, frm->grdDomini}) {
        QHeaderView *header = grid->view()->horizontalHeader();
        QVERIFY(!header->sectionsMovable());
        QVERIFY(!header->sectionsClickable());
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            QCOMPARE(header->sectionResizeMode(c), QHeaderView::Fixed);
    }
    // A second "&Parametri" brings the same window forward.
    ctx.frm->Parametri1->trigger();
    QCOMPARE(ctx.childCount(), 1);
    ctx.prompter.verifyDone();
}

void TestDomini::navigatorFollowsTheFocusedGrid()
{
    ProgramContext ctx;
    TfrmDomini *frm = openDomini(ctx);
    focus(frm->grdDomini->view());
    QCOMPARE(frm->MainDataSet, dmGenerale->tabDomini);
    QCOMPARE(ctx.frm->dsCorrente(), dmGenerale->tabDomini);

    // The navigator now moves among the values.
    const int domain = dmGenerale->tabTDominio->recNo();
    ctx.frm->DBNavigator1->button(ui::DBNavigator::Next)->click();
    QCOMPARE(dmGenerale->tabDomini->recNo(), 1);
    QCOMPARE(dmGenerale->tabTDominio->recNo(), domain);

    // An editor open in the values grid keeps them bound.
    frm->grdDomini->view()->edit(frm->grdDomini->view()->currentIndex());
    QTRY_VERIFY(frm->grdDomini->view()->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(ctx.frm->dsCorrente(), dmGenerale->tabDomini);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

    focus(frm->grdTDominio->view());
    QCOMPARE(frm->MainDataSet, dmGenerale->tabTDominio);
    QCOMPARE(ctx.frm->dsCorrente(), dmGenerale->tabTDominio);
    ctx.frm->DBNavigator1->button(ui::DBNavigator::Next)->click();
    QCOMPARE(dmGenerale->tabTDominio->recNo(), domain + 1);
    ctx.prompter.verifyDone();
}

void TestDomini::valuesFollowTheSelectedDomain()
{
    ProgramContext ctx;
    TfrmDomini *frm = openDomini(ctx);
    db::DataSet *domains = dmGenerale->tabTDominio;
    db::DataSet *values = dmGenerale->tabDomini;
    const QMap<QString, QString> firstValue{{QStringLiteral("ALTRI_USI"), QStringLiteral("DEG")},
                                            {QStringLiteral("TIPI_DOC"), QStringLiteral("DDT")},
                                            {QStringLiteral("UNITA_MIS"), QStringLiteral("CF")}};
    for (auto it = firstValue.cbegin(); it != firstValue.cend(); ++it) {
        QVERIFY(domains->locate(QStringLiteral("DOMINIO"), it.key()));
        // The upper grid shows the domain, the lower one only its values.
        QCOMPARE(frm->grdTDominio->view()->currentIndex().row(), domains->recNo());
        QVERIFY(values->recordCount() > 0);
        QCOMPARE(frm->grdDomini->model()->rowCount(), values->recordCount());
        for (int r = 0; r < values->recordCount(); ++r)
            QCOMPARE(values->valueAt(r, values->fieldByName(QStringLiteral("DOMINIO")).index()).toString(), it.key());
        QCOMPARE(frm->grdDomini->model()->index(0, 0).data().toString(), it.value());
    }
    ctx.prompter.verifyDone();
}

void TestDomini::newValueTakesTheSelectedDomain()
{
    ProgramContext ctx;
    TfrmDomini *frm = openDomini(ctx);
    QVERIFY(dmGenerale->tabTDominio->locate(QStringLiteral("DOMINIO"), QStringLiteral("TIPI_DOC")));
    focus(frm->grdDomini->view());
    frm->grdDomini->view()->setCurrentIndex(frm->grdDomini->model()->index(1, 2));

    ctx.frm->DBNavigator1->button(ui::DBNavigator::Insert)->click();
    db::DataSet *values = dmGenerale->tabDomini;
    QCOMPARE(values->state(), db::DataSetState::Insert);
    QCOMPARE(values->fieldByName(QStringLiteral("DOMINIO")).asString(), QStringLiteral("TIPI_DOC"));
    // The new record's first cell has the focus.
    QCOMPARE(frm->grdDomini->view()->currentIndex().row(), values->recNo());
    QCOMPARE(frm->grdDomini->view()->currentIndex().column(), 0);
    QVERIFY(ctx.frm->sbCommit->isEnabled());

    // Typed into the grid and saved: another desktop sees it under the domain.
    QVERIFY(frm->grdDomini->model()->setData(frm->grdDomini->model()->index(values->recNo(), 0), QStringLiteral("NC"), Qt::EditRole));
    QVERIFY(frm->grdDomini->model()->setData(frm->grdDomini->model()->index(values->recNo(), 1),
                                              QStringLiteral("Nota di credito"), Qt::EditRole));
    ctx.frm->sbCommit->click();
    ctx.prompter.verifyDone();
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT dominio FROM domini WHERE valore = 'NC'")).toString(),
             QStringLiteral("TIPI_DOC"));
}

void TestDomini::duplicateValueIsRefusedByTheServer()
{
    ProgramContext ctx;
    TfrmDomini *frm = openDomini(ctx);
    QVERIFY(dmGenerale->tabTDominio->locate(QStringLiteral("DOMINIO"), QStringLiteral("UNITA_MIS")));
    focus(frm->grdDomini->view());
    ctx.frm->DBNavigator1->button(ui::DBNavigator::Insert)->click();
    db::DataSet *values = dmGenerale->tabDomini;
    values->fieldByName(QStringLiteral("VALORE")).setValue(QStringLiteral("KG"));
    values->fieldByName(QStringLiteral("DESC_IT")).setValue(QStringLiteral("Doppione"));

    ctx.prompter.expectError(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint"));
    ctx.frm->sbCommit->click();
    ctx.prompter.verifyDone();
    QCOMPARE(values->state(), db::DataSetState::Insert);
    QCOMPARE(values->fieldByName(QStringLiteral("DESC_IT")).asString(), QStringLiteral("Doppione"));
    QVERIFY(ctx.frm->sbCommit->isEnabled());

    // Cancel drops it.
    ctx.frm->sbRollback->click();
    QCOMPARE(values->state(), db::DataSetState::Browse);
    QCOMPARE(ctx.otherSees(QStringLiteral("SELECT COUNT(*) FROM domini WHERE desc_it = 'Doppione'")).toInt(), 0);
    ctx.prompter.verifyDone();
}

void TestDomini::tabAndEnterMoveFromCellToCell()
{
    ProgramContext ctx;
    TfrmDomini *frm = openDomini(ctx);
    QVERIFY(dmGenerale->tabTDominio->locate(QStringLiteral("DOMINIO"), QStringLiteral("UNITA_MIS")));
    ui::DBGrid *grid = frm->grdDomini->view();
    focus(grid);
    grid->setCurrentIndex(grid->model()->index(0, 0));
    const auto cell = [grid] { return QPoint(grid->currentIndex().row(), grid->currentIndex().column()); };

    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(cell(), QPoint(0, 1));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(cell(), QPoint(0, 2));
    // From the last cell of a record to the first of the next, which becomes current.
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(cell(), QPoint(1, 0));
    QCOMPARE(dmGenerale->tabDomini->recNo(), 1);
    QTest::keyClick(grid, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(cell(), QPoint(0, 2));
    QVERIFY(grid->hasFocus());

    // In an editor, Enter stores the text and moves on.
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && grid->isAncestorOf(editor));
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, QStringLiteral(" (conf.)"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(cell(), QPoint(0, 2));
    QCOMPARE(dmGenerale->tabDomini->fieldByName(QStringLiteral("DESC_IT")).asString(), QStringLiteral("Confezioni (conf.)"));
    ctx.prompter.verifyDone();
}

void TestDomini::screenshot()
{
    ProgramContext ctx(true);
    TfrmDomini *frm = openDomini(ctx);
    QVERIFY(dmGenerale->tabTDominio->locate(QStringLiteral("DOMINIO"), QStringLiteral("UNITA_MIS")));
    focus(frm->grdDomini->view());
    QApplication::processEvents();
    const QImage image = ctx.frm->grab().toImage();
    QVERIFY(!image.isNull());
    // The child area is covered by the window's light blue page.
    const QPoint inside = frm->mapTo(ctx.frm.get(), QPoint(frm->width() - 5, frm->height() - 5));
    QCOMPARE(image.pixelColor(inside * image.devicePixelRatio()), QColor(237, 241, 251));
    const QString dir = qEnvironmentVariable("BRIVOLA_SCREENSHOTS");
    if (!dir.isEmpty())
        QVERIFY(image.save(dir + QStringLiteral("/frmDomini.png")));
    ctx.prompter.verifyDone();
}

QTEST_MAIN(TestDomini)
#include "tst_domini.moc"
