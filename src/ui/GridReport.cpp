#include "GridReport.h"

#include "DataGrid.h"
#include "Prompter.h"
#include "db/Format.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <numeric>

namespace ui {

namespace {

const QColor HeaderColour(166, 202, 240); // sky blue
const QColor OddRowColour(240, 240, 240); // the desktop's face grey
const QColor LineColour(96, 96, 96);

// A printed column: its place in the setup and on the page.
struct PrintColumn {
    int index = 0;
    double x = 0, w = 0;
    Qt::Alignment align;
    bool checkBox = false;
    bool merged = false;
    int field = -1; // index of the dataset field, -1 when the dataset has none
};

// A page: rows [first, end) of the print order, and whether the footer sums end it.
struct Page {
    int first = 0, end = 0;
    bool sums = false;
};

QFont reportFont(double points, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace

GridReport::GridReport(const db::DataSet &ds, GridSetup setup) : ds_(&ds), setup_(std::move(setup)) {}

GridReport::GridReport(const DataGrid &grid) : ds_(grid.dataSet()), setup_(grid.setup())
{
    records = grid.displayedRecords();
}

void GridReport::setUpPrinter(QPrinter &printer) const
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Millimeter));
    // Everything is placed from the edges of the paper: the page header and footer lie inside the
    // margins, at their own distances from the edges.
    printer.setFullPage(true);
    if (!jobName.isEmpty())
        printer.setDocName(jobName);
}

bool GridReport::printToPdf(const QString &fileName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    setUpPrinter(printer);
    return render(printer) > 0;
}

bool GridReport::preview()
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    QPrintPreviewDialog dialog(&printer);
    dialog.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    dialog.resize(1000, 680);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this](QPrinter *p) { render(*p); });
    prompter().exec(&dialog);
    return true;
}

bool GridReport::print(bool withDialog)
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    if (withDialog) {
        QPrintDialog dialog(&printer);
        dialog.setWindowTitle(QStringLiteral("Stampa"));
        if (prompter().exec(&dialog) != QDialog::Accepted)
            return false;
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        prompter().error(QStringLiteral("Nessuna stampante disponibile."));
        return false;
    }
    if (render(printer) > 0)
        return true;
    prompter().error(QStringLiteral("Impossibile avviare la stampa."));
    return false;
}

int GridReport::render(QPrinter &printer) const
{
    QPainter p;
    if (!p.begin(&printer))
        return 0;
    const double dpi = printer.resolution();
    const auto mm = [dpi](double v) { return v * dpi / 25.4; };
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const double pageW = paper.width(), pageH = paper.height();

    const QFont cellFont = reportFont(8), boldFont = reportFont(8, true);
    const QFont pageFont = reportFont(9), titleFont = reportFont(12, true);
    const QFontMetricsF fm(cellFont, &printer), fmBold(boldFont, &printer);
    const QFontMetricsF fmPage(pageFont, &printer), fmTitle(titleFont, &printer);
    const double padX = mm(0.8), padY = mm(0.5);
    const double lineH = fm.height();
    const QPen linePen(LineColour, mm(0.1));

    // --- columns: the shown ones, scaled to the width between the margins ---------------------
    const double left = mm(margins.left()), right = pageW - mm(margins.right());
    QList<PrintColumn> cols;
    double total = 0;
    for (int c = 0; c < setup_.columns.size(); ++c) {
        if (!setup_.isShown(c))
            continue;
        const GridColumn &gc = setup_.columns[c];
        PrintColumn pc;
        pc.index = c;
        pc.w = gc.width > 0 ? gc.width : 80;
        pc.checkBox = gc.checkBox;
        pc.merged = mergedCells != MergedCells::EveryRow && setup_.isMerged(c);
        const db::Field *f = ds_->findField(gc.field);
        pc.field = f ? f->index() : -1;
        const bool numeric = f && (f->type() == db::FieldType::Decimal || f->type() == db::FieldType::Integer ||
                                   f->type() == db::FieldType::Float);
        pc.align = gc.alignment ? gc.alignment & Qt::AlignHorizontal_Mask
                                : (gc.checkBox ? Qt::AlignHCenter : (numeric ? Qt::AlignRight : Qt::AlignLeft));
        total += pc.w;
        cols << pc;
    }
    {
        double acc = 0;
        for (PrintColumn &pc : cols) {
            const double x0 = left + (right - left) * acc / total;
            acc += pc.w;
            pc.x = x0;
            pc.w = left + (right - left) * acc / total - x0;
        }
    }

    // --- rows: texts, merged groups and heights -----------------------------------------------
    QList<int> order = records;
    if (order.isEmpty()) {
        order.resize(ds_->recordCount());
        std::iota(order.begin(), order.end(), 0);
    }
    const LookupTexts lookups(setup_);
    const int nRows = int(order.size());
    const int nCols = int(cols.size());
    QList<QStringList> texts(nRows);
    QList<QList<bool>> repeats(nRows, QList<bool>(nCols, false)); // merged into the row above
    QList<double> heights(nRows, 0);
    const auto isBold = [this](int record, int column) {
        return setup_.cellBold && setup_.cellBold(record, setup_.columns[column].field);
    };
    // Texts wrap at spaces; a word longer than its cell wraps anywhere, so that nothing is cut.
    const auto wrapFlag = [&](const QString &text, double width, bool bold) {
        const double room = std::max(1.0, width - 2 * padX);
        const QRectF r = (bold ? fmBold : fm).boundingRect(QRectF(0, 0, room, 1e9), Qt::TextWordWrap, text);
        return r.width() > room + 0.5 ? Qt::TextWrapAnywhere : Qt::TextWordWrap;
    };
    const auto textHeight = [&](const QString &text, double width, bool bold) {
        if (text.isEmpty())
            return lineH;
        const QRectF r = (bold ? fmBold : fm).boundingRect(QRectF(0, 0, std::max(1.0, width - 2 * padX), 1e9),
                                                           wrapFlag(text, width, bold), text);
        return std::max(lineH, r.height());
    };
    for (int r = 0; r < nRows; ++r) {
        double h = lineH;
        for (int k = 0; k < nCols; ++k) {
            const PrintColumn &pc = cols[k];
            texts[r] << gridCellText(*ds_, setup_.columns[pc.index], order[r], lookups);
            if (pc.merged && r > 0)
                repeats[r][k] = gridCellRepeats(*ds_, setup_, lookups, order[r - 1], order[r], pc.index);
            if (repeats[r][k] || (pc.merged && mergedCells == MergedCells::Span))
                continue; // a spanning cell is measured with its group
            h = std::max(h, textHeight(texts[r][k], pc.w, isBold(order[r], pc.index)));
        }
        heights[r] = h + 2 * padY;
    }
    // A spanning cell needs its text's height over the whole group: the group's last row grows.
    if (mergedCells == MergedCells::Span) {
        for (int k = 0; k < nCols; ++k) {
            if (!cols[k].merged)
                continue;
            for (int s = 0; s < nRows;) {
                int e = s + 1;
                while (e < nRows && repeats[e][k])
                    ++e;
                double have = 0;
                for (int r = s; r < e; ++r)
                    have += heights[r];
                const double need = textHeight(texts[s][k], cols[k].w, isBold(order[s], cols[k].index)) + 2 * padY;
                if (need > have)
                    heights[e - 1] += need - have;
                s = e;
            }
        }
    }
    double headerH = 0;
    for (const PrintColumn &pc : cols)
        headerH = std::max(headerH, textHeight(setup_.columns[pc.index].caption, pc.w, true));
    headerH += 2 * padY;
    const bool bands = printBands && !setup_.bands.isEmpty();
    const double bandH = bands ? lineH + 2 * padY : 0;
    const bool sums = printFooter && !setup_.sumFields.isEmpty();
    const double sumsH = sums ? lineH + 2 * padY : 0;

    // --- the page's parts --------------------------------------------------------------------
    const double headerTop = mm(headerDistance);
    const int headerLines = int(std::max({headerLeft.size(), headerCentre.size(), headerRight.size()}));
    double tableTop = mm(margins.top());
    if (headerLines > 0)
        tableTop = std::max(tableTop, headerTop + headerLines * fmPage.height() + mm(2));
    const double titleH = title.isEmpty() ? 0 : fmTitle.height() + mm(3);
    const double tableBottom = pageH - mm(margins.bottom());
    const double footerBottom = pageH - mm(footerDistance);

    // --- pages ----------------------------------------------------------------------------------
    // A group of merged rows (a document) starts on a new page rather than being split, unless it
    // is longer than a page.
    int outer = -1;
    for (int k = 0; k < nCols && outer < 0; ++k)
        if (cols[k].merged)
            outer = k;
    QList<Page> pages;
    {
        Page page;
        const double fullRoom = tableBottom - tableTop - bandH - headerH;
        double room = fullRoom - titleH;
        double used = 0;
        for (int r = 0; r < nRows; ++r) {
            bool newPage = used + heights[r] > room;
            if (!newPage && outer >= 0 && !repeats[r][outer]) {
                double group = heights[r];
                for (int e = r + 1; e < nRows && repeats[e][outer]; ++e)
                    group += heights[e];
                newPage = used + group > room && group <= fullRoom;
            }
            if (newPage && r > page.first) {
                page.end = r;
                pages << page;
                page = Page{r, r, false};
                room = fullRoom;
                used = 0;
            }
            used += heights[r];
        }
        page.end = nRows;
        if (sums && used + sumsH > room && page.end > page.first) {
            pages << page;
            page = Page{nRows, nRows, false};
        }
        page.sums = sums;
        pages << page;
    }

    const QDate date = printDate.isValid() ? printDate : QDate::currentDate();
    const auto cellRect = [](const PrintColumn &pc, double y, double h) { return QRectF(pc.x, y, pc.w, h); };
    const auto drawCell = [&](const QRectF &rect, const QColor &fill) {
        p.setPen(linePen);
        p.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
        p.drawRect(rect);
    };
    const auto drawText = [&](const QRectF &rect, Qt::Alignment align, const QString &text, const QFont &font,
                              const QColor &colour) {
        p.setFont(font);
        p.setPen(colour);
        const int wrap = wrapFlag(text, rect.width(), font.bold());
        p.drawText(rect.adjusted(padX, padY, -padX, -padY), int(align | Qt::AlignVCenter) | wrap, text);
    };
    const auto styleOf = [this](int record, int column) {
        return setup_.cellStyle ? setup_.cellStyle(record, setup_.columns[column].field) : DataSetModel::CellStyle{};
    };
    const auto background = [&](int row, int column) {
        const DataSetModel::CellStyle s = styleOf(order[row], column);
        if (s.background)
            return *s.background;
        return row % 2 == 0 ? OddRowColour : QColor(Qt::white); // the 1st, 3rd... rows are shaded
    };
    const auto foreground = [&](int row, int column) {
        const DataSetModel::CellStyle s = styleOf(order[row], column);
        return s.foreground ? *s.foreground : QColor(Qt::black);
    };
    const auto drawCheck = [&](const QRectF &rect, bool on) {
        const double side = std::min(mm(2.6), rect.height() - 2 * padY);
        const QRectF box(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
        p.setPen(QPen(Qt::black, mm(0.15)));
        p.setBrush(Qt::white);
        p.drawRect(box);
        if (on) {
            p.setPen(QPen(Qt::black, mm(0.3)));
            p.drawPolyline(QPolygonF({QPointF(box.left() + side * 0.2, box.top() + side * 0.5),
                                      QPointF(box.left() + side * 0.42, box.top() + side * 0.75),
                                      QPointF(box.left() + side * 0.82, box.top() + side * 0.22)}));
        }
    };

    for (int pg = 0; pg < pages.size(); ++pg) {
        if (pg > 0)
            printer.newPage();
        const Page &page = pages[pg];

        // page header
        p.setFont(pageFont);
        p.setPen(Qt::black);
        const auto headerBlock = [&](const QStringList &lines, Qt::Alignment align) {
            for (int i = 0; i < lines.size(); ++i)
                p.drawText(QRectF(left, headerTop + i * fmPage.height(), right - left, fmPage.height()),
                           int(align | Qt::AlignVCenter), lines[i]);
        };
        headerBlock(headerLeft, Qt::AlignLeft);
        headerBlock(headerCentre, Qt::AlignHCenter);
        headerBlock(headerRight, Qt::AlignRight);

        double y = tableTop;
        if (pg == 0 && !title.isEmpty()) {
            p.setFont(titleFont);
            p.drawText(QRectF(left, y, right - left, fmTitle.height()), int(Qt::AlignHCenter | Qt::AlignVCenter), title);
            y += titleH;
        }

        // bands, then the header row
        if (bands) {
            int first = 0;
            for (const GridBand &band : setup_.bands) {
                double x0 = -1, x1 = -1;
                for (const PrintColumn &pc : cols) {
                    if (pc.index < first || pc.index >= first + band.columnCount)
                        continue;
                    if (x0 < 0)
                        x0 = pc.x;
                    x1 = pc.x + pc.w;
                }
                first += band.columnCount;
                if (x0 < 0)
                    continue;
                const QRectF r(x0, y, x1 - x0, bandH);
                drawCell(r, HeaderColour);
                drawText(r, Qt::AlignHCenter, band.caption, boldFont, Qt::black);
            }
            y += bandH;
        }
        for (const PrintColumn &pc : cols) {
            const QRectF r = cellRect(pc, y, headerH);
            drawCell(r, HeaderColour);
            drawText(r, pc.checkBox ? Qt::AlignHCenter : pc.align, setup_.columns[pc.index].caption,
                     setup_.isBoldHeader(pc.index) ? boldFont : cellFont, Qt::black);
        }
        y += headerH;

        // rows
        QList<double> rowTop;
        for (int r = page.first; r < page.end; ++r) {
            rowTop << y;
            for (int k = 0; k < nCols; ++k) {
                const PrintColumn &pc = cols[k];
                if (pc.merged && mergedCells == MergedCells::Span)
                    continue;
                const QRectF rect = cellRect(pc, y, heights[r]);
                drawCell(rect, background(r, pc.index));
                if (pc.checkBox) {
                    const QVariant v = pc.field >= 0 ? ds_->valueAt(order[r], pc.field) : QVariant();
                    drawCheck(rect, !v.isNull() && gridDecimal(v) != db::Decimal());
                } else if (!repeats[r][k] || r == page.first) { // a group goes on with its text
                    drawText(rect, pc.align, texts[r][k], isBold(order[r], pc.index) ? boldFont : cellFont,
                             foreground(r, pc.index));
                }
            }
            y += heights[r];
        }
        rowTop << y;
        // spanning cells: one per group (or part of a group) on this page
        if (mergedCells == MergedCells::Span) {
            for (int k = 0; k < nCols; ++k) {
                const PrintColumn &pc = cols[k];
                if (!pc.merged)
                    continue;
                for (int s = page.first; s < page.end;) {
                    int e = s + 1;
                    while (e < page.end && repeats[e][k])
                        ++e;
                    const QRectF rect(pc.x, rowTop[s - page.first], pc.w, rowTop[e - page.first] - rowTop[s - page.first]);
                    int head = s; // the group's first row, maybe on an earlier page
                    while (head > 0 && repeats[head][k])
                        --head;
                    drawCell(rect, background(head, pc.index));
                    p.save();
                    p.setClipRect(rect); // the part of a group longer than a page
                    drawText(rect, pc.align, texts[head][k], isBold(order[head], pc.index) ? boldFont : cellFont,
                             foreground(head, pc.index));
                    p.restore();
                    s = e;
                }
            }
        }
        // footer sums
        if (page.sums) {
            p.setPen(QPen(Qt::black, mm(0.3)));
            p.drawLine(QPointF(left, y), QPointF(right, y));
            for (const PrintColumn &pc : cols) {
                if (!setup_.hasSum(pc.index))
                    continue;
                const QRectF rect = cellRect(pc, y, sumsH);
                drawCell(rect, QColor());
                drawText(rect, Qt::AlignRight, setup_.sumText(*ds_, setup_.columns[pc.index].field), boldFont, Qt::black);
            }
        }

        // page footer
        p.setFont(pageFont);
        p.setPen(Qt::black);
        const QRectF footer(left, footerBottom - fmPage.height(), right - left, fmPage.height());
        p.drawText(footer, int(Qt::AlignLeft | Qt::AlignVCenter), QStringLiteral("Stampato il ") + db::formatDate(date));
        p.drawText(footer, int(Qt::AlignRight | Qt::AlignVCenter),
                   QStringLiteral("Pag. %1/%2").arg(pg + 1).arg(pages.size()));
    }
    p.end();
    return int(pages.size());
}

} // namespace ui
