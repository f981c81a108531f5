// The data grid on a real database: moving with Enter and Tab, the editors (numbers with the
// decimal comma, drop-downs of codes, check boxes), read-only and hidden columns, bands, merged
// cells, footer sums, sorting and the new record's first cell.
#include "ScriptedPrompter.h"
#include "ui/DataGrid.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace db;

namespace {
Decimal dec(const char *text) { return *Decimal::parse(QString::fromLatin1(text)); }
} // namespace

class TstDataGrid : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Attachment> att;
    std::unique_ptr<Transaction> trn;
    std::unique_ptr<DataSet> art, cats, reg;

    // Articles: a read-only key, a name, a coded category, a price, a preferred flag and hidden notes,
    // under two bands.
    void setUpArticles(ui::DataGrid &grid)
    {
        grid.setColumns({{"ID", "Id", 40, true},
                         {"NOME", "Nome", 120},
                         {"CATEGORIA", "Categoria", 100},
                         {"PREZZO", "Prezzo", 80},
                         {"PREFERITO", "P.", 30, false, true},
                         {"NOTE", "Note", 100, false, false, false}});
        grid.setBands({{"Articolo", 3}, {"Dati", 3}});
        grid.setLookup("CATEGORIA", cats.get(), "CODICE", "DESCRIZIONE");
    }
    // The register: a document's date and number merged over its rows, the quantities summed.
    void setUpRegister(ui::DataGrid &grid)
    {
        grid.setColumns({{"DATA", "Data doc.", 80}, {"NUMERO", "Nr. doc", 60}, {"NOME", "Ingrediente", 140},
                         {"QUANTITA", "Q.tà", 80}});
        grid.setBands({{"Documento", 2}, {"Righe", 2}});
        grid.setMergedColumns({"DATA", "NUMERO"});
        grid.setFooterSums({"QUANTITA"});
    }
    static void show(ui::DataGrid &grid)
    {
        grid.resize(640, 260);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
    // Opens the editor of a cell and returns it.
    template <class T> static T *openEditor(ui::DataGrid &grid, int record, const QString &field)
    {
        grid.setCurrentCell(record, field);
        grid.view()->edit(grid.indexOf(record, field));
        return qobject_cast<T *>(grid.view()->indexWidget(grid.indexOf(record, field)));
    }
    static QString outputPath(const QString &name)
    {
        const QString folder = qEnvironmentVariable("BRIVOLA_TEST_OUTPUT", QDir::tempPath());
        return QDir(folder).filePath(name);
    }

private slots:
    void init()
    {
        static int n = 0;
        att = std::make_unique<Attachment>();
        att->create(dir.filePath(QString("g%1.fdb").arg(++n)), {"sysdba", "x", "UTF8"});
        trn = std::make_unique<Transaction>(*att);
        att->executeImmediate(*trn, "CREATE TABLE art (id INTEGER NOT NULL PRIMARY KEY, nome VARCHAR(40), "
                                    "categoria VARCHAR(3), prezzo NUMERIC(9,2), preferito SMALLINT, note VARCHAR(40))");
        att->executeImmediate(*trn, "CREATE TABLE cat (codice VARCHAR(3), descrizione VARCHAR(20))");
        att->executeImmediate(*trn, "CREATE TABLE reg (id INTEGER NOT NULL PRIMARY KEY, data DATE, numero VARCHAR(10), "
                                    "nome VARCHAR(40), quantita NUMERIC(9,2))");
        trn->commitRetaining();
        exec(*trn, "INSERT INTO art VALUES (1, 'Crema', '01', 10.5, 1, NULL)");
        exec(*trn, "INSERT INTO art VALUES (2, 'Fragola', '02', 3.2, 0, NULL)");
        exec(*trn, "INSERT INTO art VALUES (3, 'Cacao', '03', 7, 1, NULL)");
        exec(*trn, "INSERT INTO art VALUES (4, 'Limone', '02', 2.5, 0, NULL)");
        exec(*trn, "INSERT INTO cat VALUES ('01', 'Creme')");
        exec(*trn, "INSERT INTO cat VALUES ('02', 'Frutta')");
        exec(*trn, "INSERT INTO cat VALUES ('03', 'Cioccolato')");
        exec(*trn, "INSERT INTO reg VALUES (1, '2024-03-01', 'A1', 'Latte', 10)");
        exec(*trn, "INSERT INTO reg VALUES (2, '2024-03-01', 'A1', 'Panna', 5)");
        exec(*trn, "INSERT INTO reg VALUES (3, '2024-03-01', 'A2', 'Zucchero', 2)");
        exec(*trn, "INSERT INTO reg VALUES (4, '2024-03-02', 'A2', 'Latte', 4)");
        exec(*trn, "INSERT INTO reg VALUES (5, '2024-03-02', 'A3', 'Uova', 1.5)");

        art = std::make_unique<DataSet>(*trn, "tabArt");
        art->SelectSQL = {"SELECT id, nome, categoria, prezzo, preferito, note FROM art ORDER BY id"};
        art->setTable("art", {"ID"});
        art->declareField("PREZZO", FieldType::Decimal).displayFormat = "#,##0.00";
        cats = std::make_unique<DataSet>(*trn, "qCat");
        cats->SelectSQL = {"SELECT codice, descrizione FROM cat ORDER BY codice"};
        cats->open();
        art->open();
        reg = std::make_unique<DataSet>(*trn, "tabReg");
        reg->SelectSQL = {"SELECT id, data, numero, nome, quantita FROM reg ORDER BY data, numero, id"};
        reg->setTable("reg", {"ID"});
        reg->declareField("QUANTITA", FieldType::Decimal).displayFormat = "#,##0.00";
        reg->open();
    }
    void cleanup()
    {
        reg.reset();
        art.reset();
        cats.reset();
        trn.reset();
        att.reset();
    }
    void cleanupTestCase() { engine::shutdown(); }

    void enterAndTabMoveFromCellToCell()
    {
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        show(grid);
        QTableView *v = grid.view();
        grid.setCurrentCell(0, "NOME");
        QTest::keyClick(v, Qt::Key_Tab);
        QCOMPARE(grid.currentField(), QString("CATEGORIA"));
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(grid.currentField(), QString("PREZZO"));
        QTest::keyClick(v, Qt::Key_Enter);
        QCOMPARE(grid.currentField(), QString("PREFERITO"));
        // the last cell of a row: the first editable cell of the next row (not the read-only key,
        // not the hidden notes), and the dataset follows
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(v->currentIndex().row(), 1);
        QCOMPARE(grid.currentField(), QString("NOME"));
        QCOMPARE(art->recNo(), 1);
        QTest::keyClick(v, Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(v->currentIndex().row(), 0);
        QCOMPARE(grid.currentField(), QString("PREFERITO"));
        // the last cell of the last row stays where it is
        grid.setCurrentCell(3, "PREFERITO");
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(v->currentIndex().row(), 3);
        QCOMPARE(grid.currentField(), QString("PREFERITO"));
        // columns moved by the user: the displayed order counts
        v->horizontalHeader()->moveSection(2, 1); // Categoria before Nome
        grid.setCurrentCell(0, "CATEGORIA");
        QTest::keyClick(v, Qt::Key_Tab);
        QCOMPARE(grid.currentField(), QString("NOME"));
        // a grid with nothing to edit moves over every shown column
        grid.setReadOnly(true);
        grid.setCurrentCell(0, "PREFERITO");
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(v->currentIndex().row(), 1);
        QCOMPARE(grid.currentField(), QString("ID"));
    }

    void editorsCommitAndMoveOn()
    {
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        show(grid);
        QTableView *v = grid.view();
        // Enter in an editor writes the value and moves to the next cell
        auto *price = openEditor<QLineEdit>(grid, 1, "PREZZO");
        QVERIFY(price);
        price->selectAll();
        QTest::keyClicks(price, "12,5");
        QTest::keyClick(price, Qt::Key_Return);
        QTRY_COMPARE(grid.currentField(), QString("PREFERITO"));
        QCOMPARE(art->state(), DataSetState::Edit);
        QCOMPARE(art->fieldByName("PREZZO").asDecimal(), dec("12.5"));
        QCOMPARE(grid.cellText(1, "PREZZO"), QString("12,50"));
        // Tab writes, moves and opens the next cell's editor (a drop-down for the category)
        auto *name = openEditor<QLineEdit>(grid, 1, "NOME");
        QVERIFY(name);
        name->selectAll();
        QTest::keyClicks(name, "Fragola di bosco");
        QTest::keyClick(name, Qt::Key_Tab);
        QCOMPARE(grid.currentField(), QString("CATEGORIA"));
        QCOMPARE(art->fieldByName("NOME").asString(), QString("Fragola di bosco"));
        QVERIFY(qobject_cast<QComboBox *>(v->indexWidget(v->currentIndex())));
        QTest::keyClick(v->indexWidget(v->currentIndex()), Qt::Key_Escape);
        // leaving the row posts it
        grid.setCurrentCell(2, "NOME");
        QCOMPARE(art->state(), DataSetState::Browse);
        QCOMPARE(selectValue(*trn, "SELECT prezzo FROM art WHERE id = 2").value<Decimal>(), dec("12.5"));
    }

    void aRecordThatCannotBePostedKeepsTheGridOnIt()
    {
        ScriptedPrompter p;
        reg->BeforePost = [](DataSet &) { throw Abort(); };
        ui::DataGrid grid(reg.get());
        setUpRegister(grid);
        show(grid);
        auto *quantity = openEditor<QLineEdit>(grid, 0, "QUANTITA");
        QVERIFY(quantity);
        quantity->selectAll();
        QTest::keyClicks(quantity, "3");
        QTest::keyClick(quantity, Qt::Key_Return); // the last cell: on to the next row, refused
        QTRY_VERIFY(!grid.view()->indexWidget(grid.indexOf(0, "QUANTITA")));
        QCOMPARE(reg->recNo(), 0);
        QCOMPARE(reg->state(), DataSetState::Edit);
        QCOMPARE(reg->fieldByName("QUANTITA").asDecimal(), Decimal(3));
        QCOMPARE(grid.view()->currentIndex().row(), 0);
        QVERIFY2(!grid.view()->indexWidget(grid.indexOf(1, "DATA")), "no editor on a row the dataset did not reach");
        QTest::keyClick(grid.view(), Qt::Key_Return);
        QCOMPARE(grid.view()->currentIndex().row(), 0);
        p.verifyDone();
    }

    void numberEditorTakesTheComma_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("decimal comma") << "12,5" << "12.5";
        QTest::newRow("thousands and comma") << "1.234,56" << "1234.56";
        QTest::newRow("point as the only mark") << "7.5" << "7.5";
        QTest::newRow("negative") << "-3,25" << "-3.25";
        QTest::newRow("letters refused") << "3a,2x" << "3.2";
        QTest::newRow("second comma refused") << "4,5,6" << "4.56";
    }
    void numberEditorTakesTheComma()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        show(grid);
        auto *editor = openEditor<QLineEdit>(grid, 0, "PREZZO");
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!grid.view()->indexWidget(grid.indexOf(0, "PREZZO")));
        QCOMPARE(art->fieldByName("PREZZO").asDecimal(), *Decimal::parse(expected));
    }

    void keypadDecimalKeyTypesTheComma()
    {
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        show(grid);
        auto *editor = openEditor<QLineEdit>(grid, 0, "PREZZO");
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, "4");
        QTest::keyClick(editor, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyClicks(editor, "25");
        QCOMPARE(editor->text(), QString("4,25"));
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(art->fieldByName("PREZZO").asDecimal(), dec("4.25"));
    }

    void dropDownShowsDescriptionsAndWritesTheCode()
    {
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        show(grid);
        QCOMPARE(grid.cellText(0, "CATEGORIA"), QString("Creme"));
        QCOMPARE(grid.view()->model()->data(grid.indexOf(0, "CATEGORIA")).toString(), QString("01"));
        auto *combo = openEditor<QComboBox>(grid, 1, "CATEGORIA");
        QVERIFY(combo);
        QCOMPARE(combo->currentText(), QString("Frutta"));
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        QCOMPARE(items, QStringList({"", "Creme", "Frutta", "Cioccolato"})); // the empty entry clears
        const int choice = combo->findText("Cioccolato");
        combo->setCurrentIndex(choice);
        emit combo->activated(choice);
        QCOMPARE(art->fieldByName("CATEGORIA").asString(), QString("03"));
        QCOMPARE(grid.cellText(1, "CATEGORIA"), QString("Cioccolato"));
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        QVERIFY(art->fieldByName("CATEGORIA").isNull());
        QTest::keyClick(combo, Qt::Key_Escape);
        // a code missing from the list shows as it is; the list re-read brings its description
        art->fieldByName("CATEGORIA").setValue("09");
        QCOMPARE(grid.cellText(1, "CATEGORIA"), QString("09"));
        exec(*trn, "INSERT INTO cat VALUES ('09', 'Variegati')");
        cats->refresh();
        QCOMPARE(grid.cellText(1, "CATEGORIA"), QString("Variegati"));
    }

    void checkBoxToggles()
    {
        ScriptedPrompter p;
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        show(grid);
        QTableView *v = grid.view();
        const QModelIndex cell = grid.indexOf(2, "PREFERITO");
        const QRect r = v->visualRect(cell);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(art->recNo(), 2);
        QCOMPARE(art->fieldByName("PREFERITO").asInteger(), 0);
        QCOMPARE(cell.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        // beside the box: no change
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 1, r.center().y()));
        QCOMPARE(art->fieldByName("PREFERITO").asInteger(), 0);
        grid.setCurrentCell(2, "PREFERITO");
        QTest::keyClick(v, Qt::Key_Space);
        QCOMPARE(art->fieldByName("PREFERITO").asInteger(), 1);
        // a read-only grid does not toggle
        art->post();
        grid.setReadOnly(true);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
        QTest::keyClick(v, Qt::Key_Space);
        QCOMPARE(art->fieldByName("PREFERITO").asInteger(), 1);
        QCOMPARE(art->state(), DataSetState::Browse);
        p.verifyDone();
    }

    void readOnlyColumnsAndGridsRefuseEditing()
    {
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        show(grid);
        QTableView *v = grid.view();
        grid.setCurrentCell(0, "ID");
        v->edit(grid.indexOf(0, "ID"));
        QTest::keyClick(v, Qt::Key_7);
        QVERIFY(!v->indexWidget(grid.indexOf(0, "ID")));
        QCOMPARE(art->state(), DataSetState::Browse);
        // typing on an editable cell opens its editor ...
        grid.setCurrentCell(0, "NOME");
        QTest::keyClick(v, Qt::Key_X);
        QVERIFY(v->indexWidget(grid.indexOf(0, "NOME")));
        // ... which a read-only grid closes without writing, and opens no more
        grid.setReadOnly(true);
        QVERIFY(!v->indexWidget(grid.indexOf(0, "NOME")));
        QCOMPARE(art->fieldByName("NOME").asString(), QString("Crema"));
        v->edit(grid.indexOf(1, "PREZZO"));
        QVERIFY(!v->indexWidget(grid.indexOf(1, "PREZZO")));
        QCOMPARE(art->state(), DataSetState::Browse);
    }

    void hiddenColumnsAndBands()
    {
        ui::DataGrid grid(art.get());
        show(grid);
        const int plain = grid.view()->horizontalHeader()->height();
        setUpArticles(grid);
        QHeaderView *hh = grid.view()->horizontalHeader();
        QVERIFY2(hh->height() > plain * 3 / 2, "the band row adds a row to the header");
        QVERIFY(!grid.isColumnVisible("NOTE"));
        grid.setColumnVisible("NOTE", true);
        QVERIFY(grid.isColumnVisible("NOTE"));
        grid.setBandVisible(1, false);
        for (const char *f : {"PREZZO", "PREFERITO", "NOTE"})
            QVERIFY2(!grid.isColumnVisible(f), f);
        QVERIFY(grid.isColumnVisible("NOME"));
        ui::GridSetup s = grid.setup();
        QCOMPARE(s.columns.size(), 6);
        QVERIFY(!s.isShown(s.columnOf("PREZZO")));
        QVERIFY(s.isShown(s.columnOf("NOME")));
        grid.setBandVisible(1, true);
        QVERIFY(grid.isColumnVisible("NOTE"));

        // columns move within their band, never out of it
        hh->moveSection(1, 0); // Nome before Id
        QCOMPARE(hh->visualIndex(1), 0);
        hh->moveSection(hh->visualIndex(3), 0); // Prezzo into the first band: undone
        QCOMPARE(hh->visualIndex(3), 3);
        hh->moveSection(hh->visualIndex(5), hh->visualIndex(3)); // Note first in its own band
        QCOMPARE(hh->visualIndex(5), 3);
        s = grid.setup();
        QStringList order;
        for (const ui::GridColumn &c : s.columns)
            order << c.field;
        QCOMPARE(order, QStringList({"NOME", "ID", "CATEGORIA", "NOTE", "PREZZO", "PREFERITO"}));
        QCOMPARE(s.bands.size(), 2);
        QCOMPARE(s.bands[0].caption, QString("Articolo"));
        QCOMPARE(s.bands[0].columnCount, 3);
        QCOMPARE(s.bands[1].columnCount, 3);
        QCOMPARE(s.columns[0].width, hh->sectionSize(1)); // widths as displayed
    }

    void mergedCellsShowOncePerGroup()
    {
        ui::DataGrid grid(reg.get());
        setUpRegister(grid);
        // record: date merged, number merged (a new date starts a new number group)
        const QList<std::tuple<int, bool, bool>> expected = {
            {0, false, false}, {1, true, true}, {2, true, false}, {3, false, false}, {4, true, false}};
        for (const auto &[record, date, number] : expected) {
            QCOMPARE(grid.isMergedWithAbove(record, "DATA"), date);
            QCOMPARE(grid.isMergedWithAbove(record, "NUMERO"), number);
            QVERIFY(!grid.isMergedWithAbove(record, "NOME"));
        }
        QCOMPARE(grid.cellText(0, "DATA"), QString("01/03/2024"));
        QCOMPARE(grid.cellText(1, "DATA"), QString());
        QCOMPARE(grid.cellText(3, "NUMERO"), QString("A2"));
        // merging follows the displayed order
        grid.sortBy("DATA", Qt::DescendingOrder);
        QCOMPARE(grid.displayedRecords(), QList<int>({3, 4, 0, 1, 2}));
        QVERIFY(!grid.isMergedWithAbove(3, "DATA"));
        QVERIFY(grid.isMergedWithAbove(4, "DATA"));
        QVERIFY(!grid.isMergedWithAbove(0, "DATA"));
        grid.clearSort();
        grid.setMerging(false);
        QVERIFY(!grid.isMergedWithAbove(1, "DATA"));
        QCOMPARE(grid.cellText(1, "DATA"), QString("01/03/2024"));
        QVERIFY(grid.setup().mergedFields.isEmpty());
    }

    void footerSumsFollowTheData()
    {
        ui::DataGrid grid(reg.get());
        setUpRegister(grid);
        QSignalSpy changed(&grid, &ui::DataGrid::footerChanged);
        QCOMPARE(grid.footerText("QUANTITA"), QString("22,50"));
        QVERIFY(grid.footerText("NOME").isEmpty());
        // an edit, before it is posted
        QVERIFY(grid.model()->setData(grid.indexOf(0, "QUANTITA"), "1000", Qt::EditRole));
        QCOMPARE(grid.footerSum("QUANTITA"), dec("1012.5"));
        QCOMPARE(grid.footerText("QUANTITA"), QString("1.012,50"));
        QVERIFY(!changed.isEmpty());
        reg->cancel();
        QCOMPARE(grid.footerText("QUANTITA"), QString("22,50"));
        // rows added elsewhere, then a refresh
        exec(*trn, "INSERT INTO reg VALUES (6, '2024-03-03', 'A4', 'Sale', 0.25)");
        reg->refresh();
        QCOMPARE(grid.footerText("QUANTITA"), QString("22,75"));
        // a new record and a deletion
        reg->append();
        reg->fieldByName("ID").setValue(7);
        reg->fieldByName("QUANTITA").setValue("2,25");
        QCOMPARE(grid.footerText("QUANTITA"), QString("25,00"));
        reg->post();
        reg->first();
        reg->remove();
        QCOMPARE(grid.footerText("QUANTITA"), QString("15,00"));
        grid.setFooterFormat("QUANTITA", "#,##0.0");
        QCOMPARE(grid.footerText("QUANTITA"), QString("15,0"));
        reg->close();
        QCOMPARE(grid.footerText("QUANTITA"), QString("0,0"));
    }

    void newRecordStartsOnItsFirstEditableCell()
    {
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        show(grid);
        QTableView *v = grid.view();
        grid.setCurrentCell(1, "PREZZO");
        art->append();
        QCOMPARE(v->currentIndex().row(), 4);
        QCOMPARE(grid.currentField(), QString("NOME")); // the key before it is read-only
        art->cancel();
        QCOMPARE(art->recordCount(), 4); // the grid moving off the cancelled row cancels nothing more
        QCOMPARE(grid.model()->rowCount(), 4);
        v->horizontalHeader()->moveSection(2, 0); // Categoria shown first
        art->insert();
        QCOMPARE(v->currentIndex().row(), art->recNo());
        QCOMPARE(grid.currentField(), QString("CATEGORIA"));
        art->cancel();
        QCOMPARE(art->recordCount(), 4);
        // moving onto an existing record keeps the column
        grid.setCurrentCell(0, "PREZZO");
        art->next();
        QCOMPARE(grid.currentField(), QString("PREZZO"));
    }

    void sortingByTheUser()
    {
        ui::DataGrid grid(art.get());
        setUpArticles(grid);
        show(grid);
        QTableView *v = grid.view();
        QHeaderView *hh = v->horizontalHeader();
        grid.sortBy("PREZZO", Qt::DescendingOrder);
        QCOMPARE(grid.displayedRecords(), QList<int>({0, 2, 1, 3}));
        // the grid and the dataset still follow each other by record
        art->setRecNo(3);
        QCOMPARE(v->currentIndex().row(), 3);
        QCOMPARE(v->verticalHeader()->visualIndex(3), 3);
        v->setCurrentIndex(grid.indexOf(1, "NOME"));
        QCOMPARE(art->recNo(), 1);
        art->refresh();
        QCOMPARE(grid.displayedRecords(), QList<int>({0, 2, 1, 3}));

        const auto clickCaption = [&](const QString &field, int y) {
            const int c = grid.columnOf(field);
            QTest::mouseClick(hh->viewport(), Qt::LeftButton, {},
                              QPoint(hh->sectionViewportPosition(c) + hh->sectionSize(c) / 2, y));
        };
        // a click on a caption sorts by its description, not by the code; a second click reverses
        clickCaption("CATEGORIA", hh->height() - 4);
        QCOMPARE(grid.displayedRecords(), QList<int>({2, 0, 1, 3}));
        clickCaption("CATEGORIA", hh->height() - 4);
        QCOMPARE(grid.displayedRecords(), QList<int>({1, 3, 0, 2}));
        // the band row does not sort
        clickCaption("NOME", 3);
        QCOMPARE(grid.displayedRecords(), QList<int>({1, 3, 0, 2}));
        // Enter follows the displayed rows
        grid.setCurrentCell(1, "PREFERITO");
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(v->currentIndex().row(), 3);
        // forbidden: the dataset's order comes back and clicks do nothing
        grid.setSortingAllowed(false);
        QCOMPARE(grid.displayedRecords(), QList<int>({0, 1, 2, 3}));
        clickCaption("NOME", hh->height() - 4);
        QCOMPARE(grid.displayedRecords(), QList<int>({0, 1, 2, 3}));
        grid.setColumnMovingAllowed(false);
        QVERIFY(!hh->sectionsMovable());
        grid.setColumnResizingAllowed(false);
        QCOMPARE(hh->sectionResizeMode(0), QHeaderView::Fixed);
    }

    // A banded register with merged cells, coloured cells and its footer, grabbed to a picture.
    void grabsABandedGridWithItsFooter()
    {
        ui::DataGrid grid(reg.get());
        setUpRegister(grid);
        grid.setHeaderBold({"QUANTITA"});
        grid.setCellStyle([this](int record, const QString &field) {
            ui::DataSetModel::CellStyle s;
            if (field == "QUANTITA" && gridValue(record, "QUANTITA") > dec("4"))
                s.background = QColor(255, 64, 64);
            return s;
        });
        grid.setCellBold([this](int record, const QString &field) {
            return field == "NOME" && reg->valueAt(record, reg->fieldByName("NOME").index()).toString() == "Latte";
        });
        show(grid);
        const QImage image = grid.grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(outputPath("brivola_datagrid.png")));
        // the footer lies under the table, its sum under its column
        const QWidget *footer = nullptr;
        for (QWidget *w : grid.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w != grid.view() && w->isVisible() && w->geometry().top() >= grid.view()->geometry().bottom())
                footer = w;
        QVERIFY(footer);
        QCOMPARE(grid.model()->data(grid.indexOf(0, "QUANTITA"), Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(255, 64, 64));

        // check boxes and descriptions of codes, under their bands
        ui::DataGrid articles(art.get());
        setUpArticles(articles);
        show(articles);
        QVERIFY(articles.grab().save(outputPath("brivola_datagrid_articoli.png")));
    }

private:
    Decimal gridValue(int record, const QString &field) const
    {
        return ui::gridDecimal(reg->valueAt(record, reg->fieldByName(field).index()));
    }
};

QTEST_MAIN(TstDataGrid)
#include "tst_datagrid.moc"
