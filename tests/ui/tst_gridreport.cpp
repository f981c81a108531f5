// The grid report printed to PDF and read back with pdftotext: page header lines, title, column
// captions, every row over two pages with the header row repeated, the page footer, the sums,
// merged cells, landscape pages, the colours of the header row and of odd rows, the print dialog
// and the preview.
#include "ScriptedPrompter.h"
#include "ui/DataGrid.h"
#include "db/Format.h"
#include "ui/GridReport.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace db;

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of a PDF (one page, or all when page is 0), laid out as printed.
QString pdfText(const QString &file, int page = 0)
{
    QStringList args{"-layout"};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return run("pdftotext", args << file << "-");
}

QString ingredient(int i) { return QString("Ingrediente %1").arg(i, 3, 10, QLatin1Char('0')); }

} // namespace

class TstGridReport : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Attachment> att;
    std::unique_ptr<Transaction> trn;
    std::unique_ptr<DataSet> reg, units;

    // 81 load rows: 27 documents of three rows each, a day apart from 1 January 2024.
    static constexpr int Rows = 81;

    ui::GridSetup registerSetup() const
    {
        ui::GridSetup s;
        s.columns = {{"DATA", "Data doc.", 70}, {"NUMERO", "Nr. doc", 50}, {"NOME", "Ingrediente", 150},
                     {"UM", "U.m.", 70},       {"QUANTITA", "Q.tà", 70},   {"CONTROLLATO", "Contr.", 40, false, true},
                     {"NOTE", "Note nascoste", 80, false, false, false}};
        s.bands = {{"Documento", 2}, {"Righe", 5}};
        s.mergedFields = {"DATA", "NUMERO"};
        s.sumFields = {"QUANTITA"};
        s.lookups.insert("UM", {units.get(), "VALORE", "DESCRIZIONE"});
        return s;
    }
    ui::GridReport registerReport() const
    {
        ui::GridReport r(*reg, registerSetup());
        r.headerLeft = {"Gelateria Rossi - P.IVA 01234567890"};
        r.headerRight = {"Registro di carico dal 01/01/2024 al 31/12/2024"};
        r.title = "Registro delle prove";
        r.jobName = "Registro di carico";
        r.printDate = QDate(2024, 5, 6);
        r.printBands = true;
        r.printFooter = true;
        return r;
    }
    QString pdfPath(const QString &name) const { return dir.filePath(name); }
    static void keep(const QString &file)
    {
        const QString folder = qEnvironmentVariable("BRIVOLA_TEST_OUTPUT");
        if (!folder.isEmpty()) {
            QFile::remove(QDir(folder).filePath(QFileInfo(file).fileName()));
            QFile::copy(file, QDir(folder).filePath(QFileInfo(file).fileName()));
        }
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        att = std::make_unique<Attachment>();
        att->create(dir.filePath("report.fdb"), {"sysdba", "x", "UTF8"});
        trn = std::make_unique<Transaction>(*att);
        att->executeImmediate(*trn, "CREATE TABLE reg (id INTEGER NOT NULL PRIMARY KEY, data DATE, numero VARCHAR(10), "
                                    "nome VARCHAR(40), um VARCHAR(3), quantita NUMERIC(9,2), controllato SMALLINT, "
                                    "note VARCHAR(20))");
        att->executeImmediate(*trn, "CREATE TABLE um (valore VARCHAR(3), descrizione VARCHAR(20))");
        trn->commitRetaining();
        exec(*trn, "INSERT INTO um VALUES ('KG', 'Chilogrammi')");
        exec(*trn, "INSERT INTO um VALUES ('LT', 'Litri')");
        for (int i = 1; i <= Rows; ++i) {
            const int doc = (i - 1) / 3;
            exec(*trn, "INSERT INTO reg VALUES (?, ?, ?, ?, ?, ?, ?, 'segreta')",
                 {i, QDate(2024, 1, 1).addDays(doc), QString("D%1").arg(doc + 1), ingredient(i), i % 2 ? "KG" : "LT",
                  i + 0.5, i % 3 == 0 ? 1 : 0});
        }
        units = std::make_unique<DataSet>(*trn, "qUnitaMis");
        units->SelectSQL = {"SELECT valore, descrizione FROM um"};
        units->open();
        reg = std::make_unique<DataSet>(*trn, "qCarico");
        reg->SelectSQL = {"SELECT * FROM reg ORDER BY id"};
        reg->declareField("QUANTITA", FieldType::Decimal).displayFormat = "#,##0.00";
        reg->open();
    }
    void cleanupTestCase()
    {
        reg.reset();
        units.reset();
        trn.reset();
        att.reset();
        engine::shutdown();
    }

    void printsEveryRowOverPagesWithHeadersAndFooters()
    {
        ui::GridReport report = registerReport();
        const QString file = pdfPath("registro.pdf");
        QVERIFY(report.printToPdf(file));
        keep(file);
        const QString all = pdfText(file);
        for (const char *text : {"Gelateria Rossi - P.IVA 01234567890", "Registro di carico dal 01/01/2024 al 31/12/2024",
                                 "Registro delle prove", "Documento", "Righe", "Data doc.", "Nr. doc", "Ingrediente",
                                 "U.m.", "Q.tà", "Contr.", "Chilogrammi", "Litri"})
            QVERIFY2(all.contains(QString::fromUtf8(text)), text);
        QVERIFY(!all.contains("Note nascoste"));
        QVERIFY(!all.contains("segreta"));
        QVERIFY2(!all.contains(" KG "), "units print their description");
        for (int i = 1; i <= Rows; ++i)
            QVERIFY2(all.contains(ingredient(i)), qPrintable(ingredient(i)));
        QVERIFY(all.indexOf(ingredient(1)) < all.indexOf(ingredient(2)));
        // sum of i + 0,5 for i = 1..81
        QVERIFY2(all.contains("3.361,50"), "the footer sum");

        const QString page1 = pdfText(file, 1), page2 = pdfText(file, 2);
        QVERIFY(page1.contains("Pag. 1/2"));
        QVERIFY(page2.contains("Pag. 2/2"));
        QVERIFY(page1.contains("Registro delle prove"));
        QVERIFY2(!page2.contains("Registro delle prove"), "the title is on the first page only");
        for (const QString &page : {page1, page2}) {
            QVERIFY(page.contains("Stampato il 06/05/2024"));
            QVERIFY(page.contains("Gelateria Rossi - P.IVA 01234567890"));
            QVERIFY(page.contains("Data doc."));
            QVERIFY(page.contains("Nr. doc"));
        }
        QVERIFY(page2.contains(ingredient(Rows)));
        QVERIFY(!page1.contains(ingredient(Rows)));
        QVERIFY(!page1.contains("3.361,50"));
        QVERIFY(run("pdfinfo", {file}).contains(QRegularExpression("Title:\\s+Registro di carico")));
        // without bands and sums, as the program's lists print
        ui::GridReport plain = registerReport();
        plain.printBands = plain.printFooter = false;
        QVERIFY(plain.printToPdf(pdfPath("semplice.pdf")));
        const QString text = pdfText(pdfPath("semplice.pdf"));
        QVERIFY(!text.contains("Documento"));
        QVERIFY(!text.contains("3.361,50"));
        QVERIFY(text.contains(ingredient(Rows)));
    }

    void mergedCells_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("dates");   // times the second document's date is printed
        QTest::newRow("span") << int(ui::GridReport::MergedCells::Span) << 1;
        QTest::newRow("first row") << int(ui::GridReport::MergedCells::FirstRow) << 1;
        QTest::newRow("every row") << int(ui::GridReport::MergedCells::EveryRow) << 3;
    }
    void mergedCells()
    {
        QFETCH(int, mode);
        QFETCH(int, dates);
        ui::GridReport report = registerReport();
        report.mergedCells = ui::GridReport::MergedCells(mode);
        const QString file = pdfPath(QString("merged%1.pdf").arg(mode));
        QVERIFY(report.printToPdf(file));
        const QString page1 = pdfText(file, 1);
        QCOMPARE(int(page1.count("02/01/2024")), dates);
        QCOMPARE(int(page1.count(QRegularExpression("\\bD2\\b"))), dates);
        // a document is not split by a page break: the second page starts with a document
        const QString page2 = pdfText(file, 2);
        const int first = page2.mid(page2.indexOf("Ingrediente 0") + 12, 3).toInt();
        QVERIFY(first > 1);
        if (mode != int(ui::GridReport::MergedCells::EveryRow))
            QCOMPARE((first - 1) % 3, 0);

        // a group longer than a page goes on with its text on the next page
        ui::GridSetup setup = registerSetup();
        setup.columns[setup.columnOf("NOTE")].visible = true;
        setup.mergedFields = {"NOTE"};
        ui::GridReport longGroup(*reg, setup);
        longGroup.mergedCells = report.mergedCells;
        const QString longFile = pdfPath(QString("lungo%1.pdf").arg(mode));
        QVERIFY(longGroup.printToPdf(longFile));
        const int onPage1 = int(pdfText(longFile, 1).count("segreta"));
        const int onPage2 = int(pdfText(longFile, 2).count("segreta"));
        if (mode == int(ui::GridReport::MergedCells::EveryRow)) {
            QCOMPARE(onPage1 + onPage2, Rows);
        } else {
            QCOMPARE(onPage1, 1);
            QCOMPARE(onPage2, 1);
        }
    }

    void landscapeFitsTheColumnsAndShadesRows()
    {
        ui::GridSetup setup = registerSetup();
        setup.columns[2].width = 400; // wider than the page with the others: all scaled down
        setup.cellStyle = [this](int record, const QString &field) {
            ui::DataSetModel::CellStyle s;
            if (field == "QUANTITA" && reg->valueAt(record, reg->fieldByName("ID").index()).toInt() == 2)
                s.background = QColor(255, 0, 0);
            return s;
        };
        ui::GridReport report(*reg, setup);
        report.orientation = QPageLayout::Landscape;
        report.headerCentre = {"Situazione magazzino al 31/12/2024"};
        const QString file = pdfPath("orizzontale.pdf");
        QVERIFY(report.printToPdf(file));
        keep(file);
        QVERIFY(run("pdfinfo", {file}).contains(QRegularExpression("Page size:\\s+84\\d(\\.\\d+)? x 595(\\.\\d+)? pts")));
        const QString page1 = pdfText(file, 1);
        QVERIFY(page1.contains("Situazione magazzino al 31/12/2024"));
        QVERIFY2(page1.contains("Contr."), "the last column fits on the page");
        QVERIFY(page1.contains(QRegularExpression("Pag\\. 1/[23]\\b")));

        // the header row sky blue, odd rows grey, the coloured cell red
        const QString png = pdfPath("orizzontale");
        run("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", file, png});
        const QImage image(png + ".png");
        QVERIFY(!image.isNull());
        QCOMPARE(image.width() > image.height(), true);
        QHash<QRgb, int> count;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ++count[image.pixel(x, y) & 0xFFFFFF];
        QVERIFY2(count.value(0xA6CAF0) > 200, "sky-blue header row");
        QVERIFY2(count.value(0xF0F0F0) > 2000, "grey odd rows");
        QVERIFY2(count.value(0xFF0000) > 20, "the cell coloured by the callback");
    }

    void emptyListPrintsItsHeader()
    {
        DataSet empty(*trn, "qVuoto");
        empty.SelectSQL = {"SELECT * FROM reg WHERE id < 0"};
        empty.declareField("QUANTITA", FieldType::Decimal).displayFormat = "#,##0.00";
        empty.open();
        ui::GridReport report(empty, registerSetup());
        report.printFooter = true;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath("vuoto.pdf"));
        report.setUpPrinter(printer);
        QCOMPARE(report.render(printer), 1);
        const QString text = pdfText(pdfPath("vuoto.pdf"));
        QVERIFY(text.contains("Ingrediente"));
        QVERIFY(text.contains("Pag. 1/1"));
        QVERIFY(text.contains("Stampato il " + db::formatDate(QDate::currentDate())));
        QVERIFY(text.contains("0,00"));
    }

    void printsTheGridAsDisplayed()
    {
        ui::DataGrid grid(reg.get());
        const ui::GridSetup s = registerSetup();
        grid.setColumns(s.columns);
        grid.setLookup("UM", units.get(), "VALORE", "DESCRIZIONE");
        grid.setMergedColumns(s.mergedFields);
        grid.sortBy("NOME", Qt::DescendingOrder);
        grid.setColumnVisible("NUMERO", false);
        grid.view()->horizontalHeader()->moveSection(4, 0); // Q.tà first
        ui::GridReport report(grid);
        QVERIFY(report.printToPdf(pdfPath("griglia.pdf")));
        const QString text = pdfText(pdfPath("griglia.pdf"), 1);
        QVERIFY(text.indexOf(ingredient(Rows)) < text.indexOf(ingredient(Rows - 1)));
        QVERIFY(!text.contains(ingredient(1)));
        QVERIFY(!text.contains("Nr. doc"));
        QVERIFY(text.indexOf("Q.tà") < text.indexOf("Data doc."));
        QVERIFY(text.contains("Chilogrammi"));
    }

    void printGoesThroughTheDialog()
    {
        ScriptedPrompter p;
        const QString file = pdfPath("dialogo.pdf");
        p.expectDialog("Stampa", [&](QDialog *d) {
            auto *dialog = qobject_cast<QPrintDialog *>(d);
            if (!dialog)
                return int(QDialog::Rejected);
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(file);
            return int(QDialog::Accepted);
        });
        ui::GridReport report = registerReport();
        QVERIFY(report.print(true));
        QVERIFY(pdfText(file).contains("Pag. 2/2"));
        // cancelled: nothing printed
        p.expectDialog("Stampa", ScriptedPrompter::rejectDialog);
        QVERIFY(!report.print(true));
        // straight to the default printer: a message when there is none
        if (QPrinterInfo::defaultPrinter().isNull()) {
            p.expectError("Nessuna stampante disponibile.");
            QVERIFY(!report.print(false));
        }
        p.verifyDone();
    }

    void previewShowsThePages()
    {
        ScriptedPrompter p;
        int pages = 0;
        p.expectDialog("Anteprima di stampa", [&](QDialog *d) {
            auto *preview = d->findChild<QPrintPreviewWidget *>();
            if (preview) {
                preview->updatePreview();
                pages = preview->pageCount();
            }
            return int(QDialog::Rejected);
        });
        ui::GridReport report = registerReport();
        QVERIFY(report.preview());
        QCOMPARE(pages, 2);
        p.verifyDone();
    }
};

QTEST_MAIN(TstGridReport)
#include "tst_gridreport.moc"
