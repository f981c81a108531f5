#include "DBControls.h"

#include "Prompter.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace ui {

bool userAction(const std::function<void()> &f)
{
    try {
        f();
        return true;
    } catch (const db::Abort &) {
    } catch (const db::DbError &e) {
        prompter().error(e.text());
    } catch (const std::exception &e) {
        prompter().error(QString::fromUtf8(e.what()));
    }
    return false;
}

// ---------------------------------------------------------------------------------------------

DBEdit::DBEdit(db::DataSet *ds, const QString &field, QWidget *parent) : QLineEdit(parent), ds_(ds), field_(field)
{
    setObjectName(QStringLiteral("edit") + field.toUpper());
    connect(ds, &db::DataSet::currentChanged, this, [this] { showValue(); });
    connect(ds, &db::DataSet::contentReset, this, [this] { showValue(); });
    connect(ds, &db::DataSet::recordChanged, this, [this](int i) {
        if (ds_ && i == ds_->recNo() && !dirty_)
            showValue();
    });
    connect(ds, &db::DataSet::stateChanged, this, [this] {
        if (ds_ && !ds_->isEditing())
            dirty_ = false, showValue();
    });
    connect(ds, &db::DataSet::updateRecord, this, [this] { commit(); });
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!ds_ || !this->field())
            return;
        if (!ds_->isEditing() && !userAction([this] { ds_->edit(); })) {
            showValue();
            return;
        }
        dirty_ = true;
    });
    showValue();
}

db::Field *DBEdit::field() const { return ds_ && ds_->active() ? ds_->findField(field_) : nullptr; }

void DBEdit::showValue()
{
    db::Field *f = field();
    if (!f || ds_->isEmpty()) {
        setText(QString());
        return;
    }
    if (f->size > 0)
        setMaxLength(f->size);
    setReadOnly(f->readOnly || f->calculated);
    setText(hasFocus() ? f->editText() : f->displayText());
}

bool DBEdit::commit()
{
    if (!dirty_)
        return true;
    db::Field *f = field();
    dirty_ = false;
    if (!f || !ds_->isEditing())
        return false;
    const QString t = text();
    const bool ok = t == f->editText() || userAction([&] { f->setAsString(t); });
    showValue();
    return ok;
}

void DBEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (!dirty_)
        showValue();
}

void DBEdit::focusOutEvent(QFocusEvent *e)
{
    commit();
    QLineEdit::focusOutEvent(e);
    if (!dirty_)
        showValue();
}

void DBEdit::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape && dirty_) {
        dirty_ = false;
        showValue();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        commit();
    QLineEdit::keyPressEvent(e);
}

// ---------------------------------------------------------------------------------------------

DBCheckBox::DBCheckBox(db::DataSet *ds, const QString &field, const QString &text, QWidget *parent)
    : QCheckBox(text, parent), ds_(ds), field_(field)
{
    setObjectName(QStringLiteral("cb") + field.toUpper());
    connect(ds, &db::DataSet::currentChanged, this, [this] { showValue(); });
    connect(ds, &db::DataSet::contentReset, this, [this] { showValue(); });
    connect(ds, &db::DataSet::recordChanged, this, [this] { showValue(); });
    connect(this, &QCheckBox::toggled, this, [this](bool on) {
        if (updating_ || !ds_ || !ds_->active())
            return;
        db::Field *f = ds_->findField(field_);
        const bool ok = f && userAction([&] {
            if (!ds_->isEditing())
                ds_->edit();
            f->setValue(on ? 1 : 0);
        });
        if (!ok)
            showValue();
    });
    showValue();
}

void DBCheckBox::showValue()
{
    updating_ = true;
    db::Field *f = ds_ && ds_->active() ? ds_->findField(field_) : nullptr;
    setChecked(f && !ds_->isEmpty() && f->asInteger() != 0);
    updating_ = false;
}

// ---------------------------------------------------------------------------------------------

DBLookupCombo::DBLookupCombo(db::DataSet *ds, const QString &field, db::DataSet *list, const QString &codeField,
                             const QString &descField, QWidget *parent)
    : QComboBox(parent), ds_(ds), list_(list), field_(field), codeField_(codeField), descField_(descField)
{
    setObjectName(QStringLiteral("cmb") + field.toUpper());
    connect(ds, &db::DataSet::currentChanged, this, [this] { showValue(); });
    connect(ds, &db::DataSet::contentReset, this, [this] { showValue(); });
    connect(ds, &db::DataSet::recordChanged, this, [this] { showValue(); });
    connect(list, &db::DataSet::contentReset, this, [this] { reload(); });
    connect(this, &QComboBox::activated, this, [this](int i) {
        if (updating_ || !ds_ || !ds_->active())
            return;
        db::Field *f = ds_->findField(field_);
        const QVariant code = itemData(i);
        const bool ok = f && userAction([&] {
            if (f->asString() == code.toString() && !f->isNull())
                return;
            if (!ds_->isEditing())
                ds_->edit();
            f->setValue(code);
        });
        if (!ok)
            showValue();
    });
    reload();
}

void DBLookupCombo::reload()
{
    updating_ = true;
    clear();
    if (list_ && list_->active()) {
        const db::Field *code = list_->findField(codeField_);
        const db::Field *desc = list_->findField(descField_);
        for (int i = 0; code && desc && i < list_->recordCount(); ++i)
            addItem(list_->valueAt(i, desc->index()).toString(), list_->valueAt(i, code->index()));
    }
    updating_ = false;
    showValue();
}

void DBLookupCombo::showValue()
{
    updating_ = true;
    db::Field *f = ds_ && ds_->active() ? ds_->findField(field_) : nullptr;
    setCurrentIndex(f && !ds_->isEmpty() ? findData(f->value().toString()) : -1);
    updating_ = false;
}

// ---------------------------------------------------------------------------------------------

DBGrid::DBGrid(db::DataSet *ds, QWidget *parent) : QTableView(parent), ds_(ds), model_(new DataSetModel(ds, this))
{
    // While a record is removed (a cancelled insert, a delete) the selection leaves its row by
    // itself: that is not the user moving, and must not move (post or cancel) the dataset. These
    // come before setModel so that they run before the selection model's own handlers.
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { syncing_ = true; });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { syncing_ = false; });
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(ds, &db::DataSet::currentChanged, this, [this] { followDataSet(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { followDataSet(); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &cur, const QModelIndex &prev) {
                if (syncing_ || !ds_ || !cur.isValid() || cur.row() == ds_->recNo())
                    return;
                // The dataset may refuse to move (a record it cannot post): the grid goes back.
                if (!userAction([&] { ds_->setRecNo(cur.row()); }) || ds_->recNo() != cur.row()) {
                    Q_UNUSED(prev);
                    followDataSet();
                }
            });
    followDataSet();
}

void DBGrid::setColumns(const QList<GridColumn> &columns)
{
    model_->setColumns(columns);
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].width > 0)
            setColumnWidth(i, columns[i].width);
        setColumnHidden(i, !columns[i].visible);
    }
    followDataSet();
}

void DBGrid::followDataSet()
{
    if (!ds_ || syncing_)
        return;
    syncing_ = true;
    const int row = ds_->recNo();
    if (row >= 0 && row < model_->rowCount()) {
        const int col = currentIndex().isValid() ? currentIndex().column() : 0;
        selectionModel()->setCurrentIndex(model_->index(row, col),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    syncing_ = false;
}

} // namespace ui
