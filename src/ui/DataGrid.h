#pragma once
// The program's data grid: a DBGrid over a DataSet with a row of band captions above groups of
// columns, coded columns shown by their description and edited with a drop-down, check boxes,
// number editors that take the decimal comma, merged cells, a footer of sums, and Enter and Tab
// moving from cell to cell. The user may sort by a column (click on its caption), resize and move
// columns (within their band); each can be forbidden.
//
//     auto *grid = new ui::DataGrid(tabRighe, this);
//     grid->setColumns({{"DATA", "Data", 80}, {"NUMERO", "Nr. doc", 60}, {"NOME", "Ingrediente", 200},
//                       {"UM", "U.m.", 60}, {"QUANTITA", "Q.tà", 80}});
//     grid->setBands({{"Documento", 2}, {"Righe", 3}});
//     grid->setLookup("UM", qUnitaMis, "VALORE", "DESC_IT");
//     grid->setMergedColumns({"DATA", "NUMERO"});
//     grid->setFooterSums({"QUANTITA"});
#include "DBControls.h"
#include "GridSetup.h"

#include <QWidget>

class QScrollBar;

namespace ui {

class DataGridView;
class DataGridHeader;
class DataGridFooter;
class DataGridDelegate;

class DataGrid : public QWidget {
    Q_OBJECT
public:
    explicit DataGrid(db::DataSet *ds, QWidget *parent = nullptr);
    ~DataGrid() override;

    db::DataSet *dataSet() const;
    // The table itself: focus, edit triggers, its doubleClicked signal.
    DBGrid *view() const;
    DataSetModel *model() const;

    // --- what is shown ------------------------------------------------------------------------
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return setup_.columns; }
    int columnOf(const QString &field) const { return setup_.columnOf(field); }
    void setBands(const QList<GridBand> &bands);
    const QList<GridBand> &bands() const { return setup_.bands; }
    void setBandVisible(int band, bool visible);
    void setColumnVisible(const QString &field, bool visible);
    bool isColumnVisible(const QString &field) const;
    // A coded column: shows the description of its code and is edited with a drop-down of the list.
    void setLookup(const QString &field, db::DataSet *list, const QString &codeField, const QString &descField);
    void setMergedColumns(const QStringList &fields);
    // Suspends (false) or restores the merging of the merged columns.
    void setMerging(bool on);
    bool merging() const { return merging_; }
    void setFooterSums(const QStringList &fields);
    // The format of a sum; by default the display format of the column's field.
    void setFooterFormat(const QString &field, const QString &format);
    void setHeaderBold(const QStringList &fields);
    void setCellStyle(std::function<DataSetModel::CellStyle(int record, const QString &field)> style);
    void setCellBold(std::function<bool(int record, const QString &field)> bold);

    // --- behaviour ----------------------------------------------------------------------------
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    void setSortingAllowed(bool allowed);
    void setColumnResizingAllowed(bool allowed);
    void setColumnMovingAllowed(bool allowed);
    // Shows the records ordered by a column (as the user's click on its caption does); the dataset
    // keeps its own order.
    void sortBy(const QString &field, Qt::SortOrder order = Qt::AscendingOrder);
    void clearSort();

    // --- reading the grid ---------------------------------------------------------------------
    // The layout as displayed: columns in their displayed order with their current widths, hidden
    // columns flagged. What a report of this grid prints.
    GridSetup setup() const;
    // The records in the order they are displayed.
    QList<int> displayedRecords() const;
    // The text shown in a cell (the description of a coded value; empty when merged away).
    QString cellText(int record, const QString &field) const;
    // Whether a merged cell repeats the one shown above it (and so shows nothing).
    bool isMergedWithAbove(int record, const QString &field) const;
    db::Decimal footerSum(const QString &field) const;
    QString footerText(const QString &field) const;
    QModelIndex indexOf(int record, const QString &field) const;
    // The field of the current cell.
    QString currentField() const;
    void setCurrentCell(int record, const QString &field);

signals:
    // The footer's sums were computed again.
    void footerChanged();

private:
    friend class DataGridView;
    friend class DataGridHeader;
    friend class DataGridFooter;
    friend class DataGridDelegate;

    void applyVisibility();
    void applySort();
    void rebuildLookups();
    void updateFooter();
    void keepBandsTogether(int logical, int oldVisual, int newVisual);
    bool isEditableColumn(int column) const;
    // The record shown above / below record, -1 at the ends.
    int recordAbove(int record) const;
    int recordBelow(int record) const;
    bool repeats(int above, int record, int column) const;
    // The next (or previous) cell that Enter and Tab move to; the current one when there is none.
    QModelIndex nextCell(const QModelIndex &from, bool forward) const;
    int compareRecords(int a, int b, int column) const;

    db::DataSet *ds_;
    DataGridView *view_;
    DataGridHeader *header_;
    DataGridFooter *footer_;
    DataGridDelegate *delegate_;
    QScrollBar *hbar_;
    GridSetup setup_;
    LookupTexts lookupTexts_;
    QHash<QString, db::Decimal> sums_;
    bool explicitColumns_ = false;
    bool merging_ = true;
    bool readOnly_ = false;
    QAbstractItemView::EditTriggers editTriggers_;
    bool sortingAllowed_ = true;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool movingBack_ = false;
    bool focusNewRecord_ = false;
};

} // namespace ui
