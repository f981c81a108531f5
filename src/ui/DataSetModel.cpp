#include "DataSetModel.h"

#include "Prompter.h"

#include <QBrush>

namespace ui {

DataSetModel::DataSetModel(db::DataSet *ds, QObject *parent) : QAbstractTableModel(parent), ds_(ds)
{
    rows_ = ds_->recordCount();
    rebuildColumns();
    connect(ds_, &db::DataSet::contentReset, this, [this] {
        beginResetModel();
        rows_ = ds_->recordCount();
        rebuildColumns();
        endResetModel();
    });
    connect(ds_, &db::DataSet::recordAboutToBeInserted, this, [this](int i) { beginInsertRows({}, i, i); });
    connect(ds_, &db::DataSet::recordInserted, this, [this](int) {
        rows_ = ds_->recordCount();
        endInsertRows();
    });
    connect(ds_, &db::DataSet::recordAboutToBeRemoved, this, [this](int i) { beginRemoveRows({}, i, i); });
    connect(ds_, &db::DataSet::recordRemoved, this, [this](int) {
        rows_ = ds_->recordCount();
        endRemoveRows();
    });
    connect(ds_, &db::DataSet::recordChanged, this, [this](int i) {
        if (i >= 0 && i < rows_ && !columns_.isEmpty())
            emit dataChanged(index(i, 0), index(i, int(columns_.size()) - 1));
    });
}

void DataSetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    explicitColumns_ = true;
    columns_ = columns;
    endResetModel();
}

void DataSetModel::rebuildColumns()
{
    if (explicitColumns_)
        return;
    columns_.clear();
    for (db::Field *f : ds_->fields()) {
        if (!f->visible)
            continue;
        GridColumn c;
        c.field = f->name();
        c.caption = f->displayLabel.isEmpty() ? f->name() : f->displayLabel;
        columns_ << c;
    }
}

int DataSetModel::columnOf(const QString &field) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

db::Field *DataSetModel::fieldAt(int column) const
{
    if (column < 0 || column >= columns_.size())
        return nullptr;
    return ds_->findField(columns_[column].field);
}

int DataSetModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : rows_; }

int DataSetModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant DataSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return QVariant();
    const GridColumn &c = columns_[index.column()];
    db::Field *f = ds_->findField(c.field);
    if (!f)
        return QVariant();
    const QVariant v = ds_->valueAt(index.row(), f->index());
    switch (role) {
    case Qt::DisplayRole:
        return c.checkBox ? QVariant() : QVariant(f->displayTextOf(v));
    case Qt::EditRole:
        return f->editTextOf(v);
    case Qt::CheckStateRole:
        if (!c.checkBox)
            return QVariant();
        return v.toLongLong() != 0 || (v.typeId() == QMetaType::Bool && v.toBool()) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole: {
        if (c.alignment)
            return int(c.alignment);
        const bool numeric = f->type() == db::FieldType::Decimal || f->type() == db::FieldType::Integer ||
                             f->type() == db::FieldType::Float;
        return int((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (!cellStyle)
            return QVariant();
        const CellStyle s = cellStyle(index.row(), c.field);
        const auto &colour = role == Qt::BackgroundRole ? s.background : s.foreground;
        return colour ? QVariant(QBrush(*colour)) : QVariant();
    }
    default:
        return QVariant();
    }
}

bool DataSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= rows_)
        return false;
    const GridColumn &c = columns_[index.column()];
    db::Field *f = ds_->findField(c.field);
    if (!f || (role != Qt::EditRole && role != Qt::CheckStateRole))
        return false;
    try {
        if (ds_->recNo() != index.row())
            ds_->setRecNo(index.row());
        // An editor closed without a change starts no edit, so nothing becomes pending.
        if (role == Qt::CheckStateRole) {
            const bool on = value.toInt() == Qt::Checked;
            if ((f->asInteger() != 0) == on && !f->isNull())
                return true;
            if (!ds_->isEditing())
                ds_->edit();
            f->setValue(on ? 1 : 0);
        } else {
            const QString text = value.toString();
            if (text == f->editText())
                return true;
            if (!ds_->isEditing())
                ds_->edit();
            f->setAsString(text);
        }
        return true;
    } catch (const db::Abort &) {
        return false;
    } catch (const db::DbError &e) {
        prompter().error(e.text());
        return false;
    }
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const GridColumn &c = columns_[index.column()];
    db::Field *f = ds_->findField(c.field);
    const bool editable = f && !c.readOnly && !f->readOnly && !f->calculated;
    if (editable)
        fl |= c.checkBox ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return fl;
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return columns_[section].caption;
    return QVariant();
}

} // namespace ui
