#pragma once
// A table model over a DataSet: one row per record, one column per chosen field. Editing a cell
// moves the dataset to that record, puts it in edit and assigns the field through its rules; a
// rule's refusal (db::Abort) is silent, a database error goes to the standard error box.
#include "db/DataSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <optional>

namespace ui {

struct GridColumn {
    QString field;
    QString caption;
    int width = 0;
    bool readOnly = false;
    bool checkBox = false;  // a 0/1 field shown as a check box
    bool visible = true;
    Qt::Alignment alignment = {};
};

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(db::DataSet *ds, QObject *parent = nullptr);

    db::DataSet *dataSet() const { return ds_; }
    // Without columns, every visible field of the dataset is a column.
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return columns_; }
    int columnOf(const QString &field) const;
    db::Field *fieldAt(int column) const;

    // Colours of a cell: background and text, by record and field; empty for the default.
    struct CellStyle {
        std::optional<QColor> background, foreground;
    };
    std::function<CellStyle(int record, const QString &field)> cellStyle;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<GridColumn> effectiveColumns() const;
    void rebuildColumns();

    db::DataSet *ds_;
    QList<GridColumn> columns_;
    bool explicitColumns_ = false;
    int rows_ = 0;
};

} // namespace ui
