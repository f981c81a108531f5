#pragma once
// Printing a grid: the records of a DataSet laid out as a grid shows them (GridSetup), on A4
// pages with a page header (lines at the left, centre and right), an optional report title, the
// header row repeated on every page, odd rows shaded, and the page footer "Stampato il" with the
// date of printing at the left and "Pag. n/m" at the right. Only shown columns are printed, their
// widths scaled to fill the width between the margins.
//
//     ui::GridReport report(*grid);                        // the grid as displayed
//     report.orientation = QPageLayout::Landscape;
//     report.headerLeft = {company + " - P.IVA " + vatNumber};
//     report.headerCentre = {"Lista degli ingredienti"};
//     report.jobName = "Lista degli ingredienti";
//     report.preview();                                    // or print(true), printToPdf(file)
#include "GridSetup.h"

#include <QDate>
#include <QMarginsF>
#include <QPageLayout>

class QPrinter;

namespace ui {

class DataGrid;

class GridReport {
public:
    // How the cells of a merged column print.
    enum class MergedCells {
        Span,     // one cell over the rows of its group, its text centred in it (repeated on a new page)
        FirstRow, // the text on the group's first row (and again at the top of a new page)
        EveryRow  // every row prints its own text, as if nothing were merged
    };

    GridReport(const db::DataSet &ds, GridSetup setup);
    // The grid as displayed: its columns in their order and widths, its hidden columns left out,
    // its records in their displayed order.
    explicit GridReport(const DataGrid &grid);

    // --- page ---------------------------------------------------------------------------------
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{12.5, 15, 12.5, 15}; // millimetres: left, top, right, bottom
    double headerDistance = 8;             // millimetres from the top edge to the page header
    double footerDistance = 7;             // millimetres from the bottom edge to the page footer
    QStringList headerLeft, headerCentre, headerRight; // page header lines
    QString title;                         // above the table on the first page; none when empty
    QString jobName;                       // the print job's name
    QDate printDate;                       // "Stampato il"; today when not set

    // --- content ------------------------------------------------------------------------------
    bool printBands = false;  // the band captions above the header row
    bool printFooter = false; // the footer sums after the last row
    MergedCells mergedCells = MergedCells::Span;
    QList<int> records;       // the records in print order; empty: all, in the dataset's order

    // Shows the print preview (from which the user may print). False when it could not be shown.
    bool preview();
    // Prints on the default printer, or on the one chosen in the print dialog when withDialog.
    // False when cancelled or when there is no printer (with a message).
    bool print(bool withDialog);
    // Writes the report to a PDF file; false when the file cannot be written.
    bool printToPdf(const QString &fileName);

    // Sets the printer's page (A4, orientation, margins) and job name.
    void setUpPrinter(QPrinter &printer) const;
    // Lays the report out on the printer's page and paints every page; returns the number of pages
    // (0 when the printer could not start).
    int render(QPrinter &printer) const;

private:
    const db::DataSet *ds_;
    GridSetup setup_;
};

} // namespace ui
