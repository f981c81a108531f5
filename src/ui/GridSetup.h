#pragma once
// How the fields of a DataSet are laid out in a grid: the columns in display order, the bands of
// captions above groups of columns, coded columns shown by a description taken from a list,
// columns whose equal consecutive cells are merged, footer sums and the colours and weight of
// cells. The data grid shows a DataSet this way; the grid report prints it the same way.
#include "DataSetModel.h"
#include "db/DataSet.h"

#include <QHash>
#include <QPointer>
#include <functional>

namespace ui {

// A caption above the next columnCount columns, in the order the columns are given. Columns after
// the last band have none. A hidden band hides its columns.
struct GridBand {
    QString caption;
    int columnCount = 0;
    bool visible = true;
};

// A coded column shown by the description of its code, from the rows of a list dataset.
struct GridLookup {
    QPointer<db::DataSet> list;
    QString codeField;
    QString descField;
};

struct GridSetup {
    QList<GridColumn> columns;
    QList<GridBand> bands;
    QStringList mergedFields;            // equal consecutive cells shown once
    QStringList sumFields;               // columns with a sum in the footer
    QHash<QString, QString> sumFormats;  // field (upper case) -> format of its sum
    QHash<QString, GridLookup> lookups;  // field (upper case) -> its list
    QStringList boldHeaders;             // columns whose caption is bold
    std::function<DataSetModel::CellStyle(int record, const QString &field)> cellStyle;
    std::function<bool(int record, const QString &field)> cellBold;

    int columnOf(const QString &field) const;
    // The band of a column, -1 when it has none.
    int bandOf(int column) const;
    // A column is shown when it is visible and so is its band.
    bool isShown(int column) const;
    bool isMerged(int column) const;
    bool hasSum(int column) const;
    bool isBoldHeader(int column) const;
    const GridLookup *lookupOf(const QString &field) const;

    // The sum of a field over every record, and its text in the sum's format (by default the
    // field's display format).
    db::Decimal sum(const db::DataSet &ds, const QString &field) const;
    QString sumText(const db::DataSet &ds, const QString &field) const;
    QString formatSum(const db::DataSet &ds, const QString &field, db::Decimal total) const;
};

// The descriptions of the coded columns, read from their lists: code (as text) -> description.
class LookupTexts {
public:
    LookupTexts() = default;
    explicit LookupTexts(const GridSetup &setup) { build(setup); }
    void build(const GridSetup &setup);
    void build(const QString &field, const GridLookup &lookup);
    bool has(const QString &field) const { return maps_.contains(field.toUpper()); }
    // The description of code; the code itself when the list does not have it.
    QString text(const QString &field, const QVariant &code) const;

private:
    QHash<QString, QHash<QString, QString>> maps_;
};

// The text of a cell as the grid shows it: the description of a coded value, otherwise the
// field's display text; empty for check boxes.
QString gridCellText(const db::DataSet &ds, const GridColumn &column, int record, const LookupTexts &lookups);

// Whether, in a merged column, record repeats the cell of previous (the record shown above it):
// its text and the texts of every shown merged column to its left are equal. A document's rows
// show its date and number once; a new date always starts a new group in the columns after it.
bool gridCellRepeats(const db::DataSet &ds, const GridSetup &setup, const LookupTexts &lookups, int previous,
                     int record, int column);

// The value of a numeric field's cell as a Decimal (0 when empty).
db::Decimal gridDecimal(const QVariant &v);

} // namespace ui
