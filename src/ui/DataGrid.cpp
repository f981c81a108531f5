#include "DataGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace ui {

namespace {

bool isNumeric(const db::Field *f)
{
    return f && (f->type() == db::FieldType::Decimal || f->type() == db::FieldType::Integer ||
                 f->type() == db::FieldType::Float);
}

// The number editor: digits, a sign, thousands points and one decimal comma. The decimal key of
// the numeric keypad types the comma, as on an Italian keyboard.
class NumberEdit : public QLineEdit {
public:
    NumberEdit(bool integer, QWidget *parent) : QLineEdit(parent), integer_(integer)
    {
        const QString pattern = integer ? QStringLiteral("[-+]?[0-9]*") : QStringLiteral("[-+]?[0-9.]*,?[0-9]*");
        setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setFrame(false);
    }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (!integer_ && e->key() == Qt::Key_Period && (e->modifiers() & Qt::KeypadModifier)) {
            insert(QStringLiteral(","));
            return;
        }
        QLineEdit::keyPressEvent(e);
    }

private:
    bool integer_;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// The table: Enter and Tab move from cell to cell.

class DataGridView : public DBGrid {
public:
    DataGridView(DataGrid *grid, db::DataSet *ds) : DBGrid(ds, grid), grid_(grid) {}
    void relayout()
    {
        updateGeometries();
        viewport()->update();
    }
    // Closes an open editor without writing what it holds.
    void dropEditor()
    {
        if (state() == EditingState)
            if (QWidget *editor = indexWidget(currentIndex()))
                DBGrid::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        if (action == MoveNext || action == MovePrevious)
            return grid_->nextCell(currentIndex(), action == MoveNext);
        return DBGrid::moveCursor(action, modifiers);
    }

    void keyPressEvent(QKeyEvent *e) override
    {
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (enter && state() != EditingState) {
            const QModelIndex next = grid_->nextCell(currentIndex(), !(e->modifiers() & Qt::ShiftModifier));
            if (next.isValid() && next != currentIndex())
                setCurrentIndex(next);
            e->accept();
            return;
        }
        DBGrid::keyPressEvent(e);
    }

    // Enter in an editor (which asks to submit) moves on like Tab; the next cell's editor opens only
    // when the grid really got there (the dataset may refuse to leave a record it cannot post).
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        if (hint != QAbstractItemDelegate::SubmitModelCache && hint != QAbstractItemDelegate::EditNextItem &&
            hint != QAbstractItemDelegate::EditPreviousItem) {
            DBGrid::closeEditor(editor, hint);
            return;
        }
        DBGrid::closeEditor(editor, QAbstractItemDelegate::NoHint);
        const QModelIndex next = grid_->nextCell(currentIndex(), hint != QAbstractItemDelegate::EditPreviousItem);
        if (!next.isValid() || next == currentIndex())
            return;
        setCurrentIndex(next);
        if (currentIndex() == next && (model()->flags(next) & Qt::ItemIsEditable) && !grid_->isReadOnly())
            edit(next);
    }

private:
    DataGrid *grid_;
};

// ---------------------------------------------------------------------------------------------
// The header: the band captions above the column captions.

class DataGridHeader : public QHeaderView {
public:
    DataGridHeader(DataGrid *grid, QWidget *parent) : QHeaderView(Qt::Horizontal, parent), grid_(grid)
    {
        setSectionsClickable(true);
        setHighlightSections(false);
        setDefaultAlignment(Qt::AlignCenter);
    }

    int bandHeight() const { return grid_->setup_.bands.isEmpty() ? 0 : QHeaderView::sizeHint().height(); }

    QSize sizeHint() const override
    {
        QSize s = QHeaderView::sizeHint();
        s.rheight() += bandHeight();
        return s;
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        const int bh = bandHeight();
        const QRect r = bh > 0 && grid_->setup_.bandOf(logicalIndex) >= 0 ? rect.adjusted(0, bh, 0, 0) : rect;
        if (grid_->setup_.isBoldHeader(logicalIndex)) {
            QFont f = painter->font();
            f.setBold(true);
            painter->setFont(f);
        }
        QHeaderView::paintSection(painter, r, logicalIndex);
    }

    void paintEvent(QPaintEvent *e) override
    {
        QHeaderView::paintEvent(e);
        const int bh = bandHeight();
        if (bh == 0)
            return;
        QPainter p(viewport());
        const GridSetup &s = grid_->setup_;
        int first = 0;
        for (const GridBand &band : s.bands) {
            int left = INT_MAX, right = INT_MIN;
            for (int c = first; c < first + band.columnCount && c < count(); ++c) {
                if (isSectionHidden(c))
                    continue;
                const int x = sectionViewportPosition(c);
                left = std::min(left, x);
                right = std::max(right, x + sectionSize(c));
            }
            first += band.columnCount;
            if (left >= right)
                continue;
            QStyleOptionHeader opt;
            initStyleOption(&opt);
            opt.rect = QRect(left, 0, right - left, bh);
            opt.text = band.caption;
            opt.textAlignment = Qt::AlignCenter;
            opt.position = QStyleOptionHeader::Middle;
            opt.orientation = Qt::Horizontal;
            opt.section = 0;
            opt.state |= QStyle::State_Raised;
            style()->drawControl(QStyle::CE_Header, &opt, &p, this);
        }
    }

    // The band row neither sorts nor drags: presses there are swallowed with their release.
    void mousePressEvent(QMouseEvent *e) override
    {
        swallowed_ = inBands(e);
        if (!swallowed_)
            QHeaderView::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (!swallowed_)
            QHeaderView::mouseReleaseEvent(e);
        swallowed_ = false;
    }
    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        if (!inBands(e))
            QHeaderView::mouseDoubleClickEvent(e);
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (swallowed_ || (e->buttons() == Qt::NoButton && inBands(e))) {
            unsetCursor();
            return;
        }
        QHeaderView::mouseMoveEvent(e);
    }

private:
    bool inBands(const QMouseEvent *e) const { return e->position().y() < bandHeight(); }
    DataGrid *grid_;
    bool swallowed_ = false;
};

// ---------------------------------------------------------------------------------------------
// The footer: the sums below their columns.

class DataGridFooter : public QWidget {
public:
    explicit DataGridFooter(DataGrid *grid) : QWidget(grid), grid_(grid)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return {100, fontMetrics().height() + 10}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        const QTableView *v = grid_->view();
        const int x0 = v->frameWidth() + (v->verticalHeader()->isVisible() ? v->verticalHeader()->width() : 0);
        p.setClipRect(QRect(x0, 0, v->viewport()->width(), height()));
        const GridSetup &s = grid_->setup_;
        for (int c = 0; c < s.columns.size(); ++c) {
            if (!s.hasSum(c) || v->isColumnHidden(c))
                continue;
            const QRect cell(x0 + v->columnViewportPosition(c) + 1, 2, v->columnWidth(c) - 2, height() - 5);
            p.setPen(palette().color(QPalette::Mid));
            p.setBrush(palette().base());
            p.drawRect(cell);
            p.setPen(palette().color(QPalette::Text));
            p.drawText(cell.adjusted(3, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
                       grid_->footerText(s.columns[c].field));
        }
    }

private:
    DataGrid *grid_;
};

// ---------------------------------------------------------------------------------------------
// Cells: descriptions of codes, merged cells, check boxes, grid lines and the editors.

class DataGridDelegate : public QStyledItemDelegate {
public:
    DataGridDelegate(DataGrid *grid, QObject *parent) : QStyledItemDelegate(parent), grid_(grid) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (grid_->isReadOnly())
            return nullptr;
        const GridColumn *col = column(index);
        db::Field *f = col ? grid_->dataSet()->findField(col->field) : nullptr;
        if (!f)
            return nullptr;
        if (const GridLookup *lookup = grid_->setup_.lookupOf(col->field)) {
            auto *combo = new QComboBox(parent);
            if (!f->required)
                combo->addItem(QString(), QString());
            if (lookup->list && lookup->list->active()) {
                const db::Field *code = lookup->list->findField(lookup->codeField);
                const db::Field *desc = lookup->list->findField(lookup->descField);
                for (int r = 0; code && desc && r < lookup->list->recordCount(); ++r)
                    combo->addItem(lookup->list->valueAt(r, desc->index()).toString(),
                                   lookup->list->valueAt(r, code->index()).toString());
            }
            // A choice is written at once; the drop-down stays open for Enter or Tab.
            QObject::connect(combo, &QComboBox::activated, this, [this, combo] {
                emit const_cast<DataGridDelegate *>(this)->commitData(combo);
            });
            return combo;
        }
        if (isNumeric(f))
            return new NumberEdit(f->type() == db::FieldType::Integer, parent);
        QWidget *w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(w); edit && f->size > 0)
            edit->setMaxLength(f->size);
        return w;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            combo->setCurrentIndex(combo->findData(index.data(Qt::EditRole).toString()));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            if (combo->currentIndex() >= 0 && combo->currentData().toString() != index.data(Qt::EditRole).toString())
                model->setData(index, combo->currentData().toString(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QWidget *w = option.widget;
        QStyle *st = w ? w->style() : QApplication::style();
        const GridColumn *col = column(index);
        const int record = index.row();
        const int c = index.column();

        const bool merged = grid_->merging_ && grid_->setup_.isMerged(c);
        const bool joinsAbove = merged && grid_->repeats(grid_->recordAbove(record), record, c);
        const bool joinsBelow = merged && grid_->repeats(record, grid_->recordBelow(record), c);

        if (col && col->checkBox) {
            const Qt::CheckState state = Qt::CheckState(index.data(Qt::CheckStateRole).toInt());
            opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
            opt.text.clear();
            st->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
            QStyleOptionViewItem box(opt);
            box.rect = checkRect(option);
            box.state &= ~(QStyle::State_On | QStyle::State_Off);
            box.state |= state == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
            st->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, w);
        } else if (joinsAbove || joinsBelow) {
            // A merged group reads as one cell: no selection, its text centred across the group's
            // rows (each row paints its own slice of it).
            opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
            const QString text = opt.text;
            opt.text.clear();
            // the view has already painted the selected row's band under the cell: cover it
            painter->fillRect(option.rect, opt.palette.brush(QPalette::Base));
            st->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
            const QTableView *view = grid_->view();
            int top = option.rect.top(), bottom = option.rect.bottom() + 1;
            for (int r = record, above = grid_->recordAbove(r); above >= 0 && grid_->repeats(above, r, c);
                 r = above, above = grid_->recordAbove(r))
                top -= view->rowHeight(above);
            for (int r = record, below = grid_->recordBelow(r); below >= 0 && grid_->repeats(r, below, c);
                 r = below, below = grid_->recordBelow(r))
                bottom += view->rowHeight(below);
            const QRect group(option.rect.left() + 3, top, option.rect.width() - 6, bottom - top);
            painter->save();
            painter->setClipRect(option.rect, Qt::IntersectClip);
            painter->setFont(opt.font);
            painter->setPen(opt.palette.color(QPalette::Text));
            const Qt::Alignment h = opt.displayAlignment & Qt::AlignHorizontal_Mask;
            painter->drawText(group, int(h | Qt::AlignVCenter),
                              opt.fontMetrics.elidedText(text, Qt::ElideRight, group.width()));
            painter->restore();
        } else {
            st->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        }

        // Grid lines, drawn here so that a merged group has none inside it.
        painter->save();
        const int gridHint = st->styleHint(QStyle::SH_Table_GridLineColor, &option, w);
        painter->setPen(QColor::fromRgba(uint(gridHint)));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        if (!joinsBelow)
            painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override
    {
        const GridColumn *col = column(index);
        if (!col || !col->checkBox)
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        if (grid_->isReadOnly() || !(index.flags() & Qt::ItemIsUserCheckable))
            return false;
        bool toggle = false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return checkRect(option).contains(static_cast<QMouseEvent *>(event)->position().toPoint());
        case QEvent::MouseButtonRelease:
            toggle = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
                     checkRect(option).contains(static_cast<QMouseEvent *>(event)->position().toPoint());
            break;
        case QEvent::KeyPress:
            toggle = static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space ||
                     static_cast<QKeyEvent *>(event)->key() == Qt::Key_Select;
            break;
        default:
            break;
        }
        if (!toggle)
            return false;
        const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        return true;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *opt, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(opt, index);
        const GridColumn *col = column(index);
        if (!col)
            return;
        if (grid_->lookupTexts_.has(col->field))
            opt->text = gridCellText(*grid_->dataSet(), *col, index.row(), grid_->lookupTexts_);
        if (grid_->setup_.cellBold && grid_->setup_.cellBold(index.row(), col->field)) {
            opt->font.setBold(true);
            opt->fontMetrics = QFontMetrics(opt->font);
        }
    }

private:
    const GridColumn *column(const QModelIndex &index) const
    {
        const auto &cols = grid_->setup_.columns;
        return index.isValid() && index.column() < cols.size() ? &cols[index.column()] : nullptr;
    }
    static QRect checkRect(const QStyleOptionViewItem &option)
    {
        QStyle *st = option.widget ? option.widget->style() : QApplication::style();
        const QSize size(st->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget),
                         st->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget));
        return QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
    }

    DataGrid *grid_;
};

// ---------------------------------------------------------------------------------------------
// DataGrid

DataGrid::DataGrid(db::DataSet *ds, QWidget *parent) : QWidget(parent), ds_(ds)
{
    view_ = new DataGridView(this, ds);
    header_ = new DataGridHeader(this, view_);
    view_->setHorizontalHeader(header_);
    delegate_ = new DataGridDelegate(this, view_);
    view_->setItemDelegate(delegate_);
    view_->setShowGrid(false);
    view_->verticalHeader()->hide();
    view_->setTabKeyNavigation(true);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusProxy(view_);

    footer_ = new DataGridFooter(this);
    footer_->hide();
    // The horizontal scroll bar lies below the footer, so the sums stay under their columns.
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    hbar_->hide();
    QScrollBar *inner = view_->horizontalScrollBar();
    connect(inner, &QScrollBar::rangeChanged, this, [this, inner](int min, int max) {
        hbar_->setRange(min, max);
        hbar_->setPageStep(inner->pageStep());
        hbar_->setSingleStep(inner->singleStep());
        hbar_->setVisible(max > min);
    });
    connect(inner, &QScrollBar::valueChanged, this, [this](int v) {
        if (hbar_->value() != v)
            hbar_->setValue(v);
        footer_->update();
    });
    connect(hbar_, &QScrollBar::valueChanged, this, [inner](int v) {
        if (inner->value() != v)
            inner->setValue(v);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->addWidget(footer_);
    layout->addWidget(hbar_);

    connect(header_, &QHeaderView::sectionResized, footer_, qOverload<>(&QWidget::update));
    connect(header_, &QHeaderView::sectionMoved, this, &DataGrid::keepBandsTogether);
    connect(header_, &QHeaderView::geometriesChanged, footer_, qOverload<>(&QWidget::update));
    connect(header_, &QHeaderView::sortIndicatorChanged, this, [this](int logical, Qt::SortOrder order) {
        if (!sortingAllowed_)
            return;
        sortColumn_ = logical;
        sortOrder_ = order;
        applySort();
    });

    connect(model(), &QAbstractItemModel::modelReset, this, [this] {
        if (!explicitColumns_)
            setup_.columns = model()->columns();
        applySort();
    });
    connect(ds_, &db::DataSet::contentReset, this, &DataGrid::updateFooter);
    connect(ds_, &db::DataSet::recordChanged, this, &DataGrid::updateFooter);
    connect(ds_, &db::DataSet::recordRemoved, this, &DataGrid::updateFooter);
    connect(ds_, &db::DataSet::recordInserted, this, [this] {
        focusNewRecord_ = true;
        updateFooter();
    });
    // After an insert the first editable cell of the new record is the current one (DBGrid has put
    // the grid on the record by now: its connection came first).
    connect(ds_, &db::DataSet::currentChanged, this, [this](int record) {
        if (!focusNewRecord_)
            return;
        focusNewRecord_ = false;
        if (ds_->state() != db::DataSetState::Insert || record < 0)
            return;
        QModelIndex target;
        for (int v = 0; v < header_->count() && !target.isValid(); ++v) {
            const int c = header_->logicalIndex(v);
            if (!view_->isColumnHidden(c) && isEditableColumn(c))
                target = model()->index(record, c);
        }
        if (target.isValid())
            view_->setCurrentIndex(target);
        if (view_->isVisible())
            view_->setFocus();
    });

    {
        const QSignalBlocker block(header_);
        header_->setSortIndicator(-1, Qt::AscendingOrder); // no arrow until the user sorts
    }
    setSortingAllowed(true);
    setColumnResizingAllowed(true);
    setColumnMovingAllowed(true);
    setup_.columns = model()->columns();
}

DataGrid::~DataGrid() = default;

db::DataSet *DataGrid::dataSet() const { return ds_; }
DBGrid *DataGrid::view() const { return view_; }
DataSetModel *DataGrid::model() const { return view_->dataModel(); }

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    explicitColumns_ = true;
    setup_.columns = columns;
    sortColumn_ = -1;
    view_->setColumns(columns);
    {
        const QSignalBlocker block(header_);
        header_->setSortIndicator(-1, Qt::AscendingOrder);
    }
    applyVisibility();
}

void DataGrid::setBands(const QList<GridBand> &bands)
{
    setup_.bands = bands;
    applyVisibility();
}

void DataGrid::setBandVisible(int band, bool visible)
{
    if (band < 0 || band >= setup_.bands.size())
        return;
    setup_.bands[band].visible = visible;
    applyVisibility();
}

void DataGrid::setColumnVisible(const QString &field, bool visible)
{
    const int c = setup_.columnOf(field);
    if (c < 0)
        return;
    setup_.columns[c].visible = visible;
    applyVisibility();
}

bool DataGrid::isColumnVisible(const QString &field) const
{
    const int c = setup_.columnOf(field);
    return c >= 0 && !view_->isColumnHidden(c);
}

void DataGrid::applyVisibility()
{
    for (int c = 0; c < setup_.columns.size() && c < model()->columnCount(); ++c)
        view_->setColumnHidden(c, !setup_.isShown(c));
    header_->updateGeometry();
    view_->relayout();
    header_->viewport()->update();
    footer_->update();
}

void DataGrid::setLookup(const QString &field, db::DataSet *list, const QString &codeField, const QString &descField)
{
    setup_.lookups.insert(field.toUpper(), GridLookup{list, codeField, descField});
    if (list) {
        connect(list, &db::DataSet::contentReset, this, &DataGrid::rebuildLookups, Qt::UniqueConnection);
        connect(list, &db::DataSet::recordChanged, this, &DataGrid::rebuildLookups, Qt::UniqueConnection);
    }
    rebuildLookups();
}

void DataGrid::rebuildLookups()
{
    lookupTexts_.build(setup_);
    view_->viewport()->update();
}

void DataGrid::setMergedColumns(const QStringList &fields)
{
    setup_.mergedFields = fields;
    view_->viewport()->update();
}

void DataGrid::setMerging(bool on)
{
    merging_ = on;
    view_->viewport()->update();
}

void DataGrid::setFooterSums(const QStringList &fields)
{
    setup_.sumFields = fields;
    footer_->setVisible(!fields.isEmpty());
    updateFooter();
}

void DataGrid::setFooterFormat(const QString &field, const QString &format)
{
    setup_.sumFormats.insert(field.toUpper(), format);
    footer_->update();
}

void DataGrid::setHeaderBold(const QStringList &fields)
{
    setup_.boldHeaders = fields;
    header_->viewport()->update();
}

void DataGrid::setCellStyle(std::function<DataSetModel::CellStyle(int, const QString &)> style)
{
    setup_.cellStyle = style;
    model()->cellStyle = std::move(style);
    view_->viewport()->update();
}

void DataGrid::setCellBold(std::function<bool(int, const QString &)> bold)
{
    setup_.cellBold = std::move(bold);
    view_->viewport()->update();
}

void DataGrid::setReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    // Without edit triggers, typing in a read-only grid searches the rows instead.
    if (readOnly) {
        view_->dropEditor();
        editTriggers_ = view_->editTriggers();
        view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    } else {
        view_->setEditTriggers(editTriggers_);
    }
}

void DataGrid::setSortingAllowed(bool allowed)
{
    sortingAllowed_ = allowed;
    header_->setSectionsClickable(allowed);
    header_->setSortIndicatorShown(allowed);
    if (!allowed)
        clearSort();
}

void DataGrid::setColumnResizingAllowed(bool allowed)
{
    header_->setSectionResizeMode(allowed ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void DataGrid::setColumnMovingAllowed(bool allowed) { header_->setSectionsMovable(allowed); }

void DataGrid::sortBy(const QString &field, Qt::SortOrder order)
{
    const int c = setup_.columnOf(field);
    if (c < 0)
        return;
    sortColumn_ = c;
    sortOrder_ = order;
    {
        const QSignalBlocker block(header_);
        header_->setSortIndicator(c, order);
    }
    applySort();
}

void DataGrid::clearSort()
{
    sortColumn_ = -1;
    {
        const QSignalBlocker block(header_);
        header_->setSortIndicator(-1, Qt::AscendingOrder);
    }
    applySort();
    header_->viewport()->update();
}

int DataGrid::compareRecords(int a, int b, int column) const
{
    const GridColumn &col = setup_.columns[column];
    const db::Field *f = ds_->findField(col.field);
    if (!f)
        return 0;
    const QVariant va = ds_->valueAt(a, f->index()), vb = ds_->valueAt(b, f->index());
    if (va.isNull() || vb.isNull())
        return int(vb.isNull()) - int(va.isNull()) == 0 ? 0 : (va.isNull() ? -1 : 1);
    if (lookupTexts_.has(col.field))
        return QString::localeAwareCompare(lookupTexts_.text(col.field, va).toLower(),
                                           lookupTexts_.text(col.field, vb).toLower());
    if (isNumeric(f) || col.checkBox) {
        const db::Decimal da = gridDecimal(va), dbv = gridDecimal(vb);
        return da < dbv ? -1 : (dbv < da ? 1 : 0);
    }
    if (va.typeId() == QMetaType::QDate || va.typeId() == QMetaType::QDateTime) {
        const QDateTime x = va.toDateTime(), y = vb.toDateTime();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    return QString::localeAwareCompare(va.toString().toLower(), vb.toString().toLower());
}

// Sorting shows the records in another order by moving the rows of the (hidden) vertical header:
// the model's rows stay the dataset's records, so the grid and the dataset keep following each
// other by record number.
void DataGrid::applySort()
{
    QHeaderView *vh = view_->verticalHeader();
    const int n = model()->rowCount();
    if (sortColumn_ >= setup_.columns.size())
        sortColumn_ = -1;
    if (sortColumn_ < 0 && !vh->sectionsMoved())
        return;
    QList<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (sortColumn_ >= 0) {
        std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
            const int cmp = compareRecords(a, b, sortColumn_);
            return sortOrder_ == Qt::AscendingOrder ? cmp < 0 : cmp > 0;
        });
    }
    {
        const QSignalBlocker block(vh);
        for (int v = 0; v < n; ++v) {
            const int at = vh->visualIndex(order[v]);
            if (at != v)
                vh->moveSection(at, v);
        }
    }
    view_->relayout();
    if (view_->currentIndex().isValid())
        view_->scrollTo(view_->currentIndex());
}

void DataGrid::keepBandsTogether(int logical, int oldVisual, int newVisual)
{
    Q_UNUSED(logical);
    footer_->update();
    header_->viewport()->update();
    if (movingBack_ || setup_.bands.isEmpty())
        return;
    int first = 0;
    for (const GridBand &band : setup_.bands) {
        int lo = INT_MAX, hi = INT_MIN;
        for (int c = first; c < first + band.columnCount && c < header_->count(); ++c) {
            lo = std::min(lo, header_->visualIndex(c));
            hi = std::max(hi, header_->visualIndex(c));
        }
        first += band.columnCount;
        if (band.columnCount > 0 && hi - lo + 1 != band.columnCount) {
            movingBack_ = true;
            header_->moveSection(newVisual, oldVisual);
            movingBack_ = false;
            return;
        }
    }
}

void DataGrid::updateFooter()
{
    if (setup_.sumFields.isEmpty())
        return;
    sums_.clear();
    for (const QString &f : setup_.sumFields)
        sums_.insert(f.toUpper(), setup_.sum(*ds_, f));
    footer_->update();
    emit footerChanged();
}

db::Decimal DataGrid::footerSum(const QString &field) const { return sums_.value(field.toUpper()); }

QString DataGrid::footerText(const QString &field) const
{
    if (!setup_.sumFields.contains(field, Qt::CaseInsensitive))
        return QString();
    return setup_.formatSum(*ds_, field, footerSum(field));
}

bool DataGrid::isEditableColumn(int column) const
{
    if (readOnly_ || column < 0 || column >= setup_.columns.size())
        return false;
    const GridColumn &col = setup_.columns[column];
    const db::Field *f = ds_->findField(col.field);
    return f && !col.readOnly && !f->readOnly && !f->calculated;
}

int DataGrid::recordAbove(int record) const
{
    const QHeaderView *vh = view_->verticalHeader();
    const int v = vh->visualIndex(record);
    return v > 0 ? vh->logicalIndex(v - 1) : -1;
}

int DataGrid::recordBelow(int record) const
{
    const QHeaderView *vh = view_->verticalHeader();
    const int v = vh->visualIndex(record);
    return v >= 0 && v + 1 < vh->count() ? vh->logicalIndex(v + 1) : -1;
}

bool DataGrid::repeats(int above, int record, int column) const
{
    return merging_ && above >= 0 && record >= 0 &&
           gridCellRepeats(*ds_, setup_, lookupTexts_, above, record, column);
}

QModelIndex DataGrid::nextCell(const QModelIndex &from, bool forward) const
{
    const int rows = model()->rowCount();
    if (!from.isValid() || rows == 0)
        return from;
    const QHeaderView *hh = header_;
    const QHeaderView *vh = view_->verticalHeader();
    // The cells Enter and Tab stop at: the editable shown columns, or every shown column of a grid
    // that has none, in displayed order.
    QList<int> shown, editable;
    for (int v = 0; v < hh->count(); ++v) {
        const int c = hh->logicalIndex(v);
        if (view_->isColumnHidden(c))
            continue;
        shown << c;
        if (isEditableColumn(c))
            editable << c;
    }
    const QList<int> &stops = editable.isEmpty() ? shown : editable;
    if (stops.isEmpty())
        return from;
    const int vr = vh->visualIndex(from.row());
    const int vc = hh->visualIndex(from.column());
    if (forward) {
        for (int c : stops)
            if (hh->visualIndex(c) > vc)
                return model()->index(from.row(), c);
        if (vr + 1 < rows)
            return model()->index(vh->logicalIndex(vr + 1), stops.first());
    } else {
        for (auto it = stops.crbegin(); it != stops.crend(); ++it)
            if (hh->visualIndex(*it) < vc)
                return model()->index(from.row(), *it);
        if (vr > 0)
            return model()->index(vh->logicalIndex(vr - 1), stops.last());
    }
    return from;
}

GridSetup DataGrid::setup() const
{
    GridSetup s = setup_;
    s.columns.clear();
    s.bands.clear();
    int lastBand = -2;
    for (int v = 0; v < header_->count() && v < setup_.columns.size(); ++v) {
        const int c = header_->logicalIndex(v);
        GridColumn col = setup_.columns[c];
        col.visible = setup_.isShown(c) && !view_->isColumnHidden(c);
        if (col.visible)
            col.width = header_->sectionSize(c);
        s.columns << col;
        if (setup_.bands.isEmpty())
            continue;
        const int b = setup_.bandOf(c);
        if (b != lastBand) {
            GridBand band = b >= 0 ? setup_.bands[b] : GridBand{};
            band.columnCount = 0;
            s.bands << band;
            lastBand = b;
        }
        ++s.bands.last().columnCount;
    }
    if (!merging_)
        s.mergedFields.clear();
    return s;
}

QList<int> DataGrid::displayedRecords() const
{
    QList<int> records;
    const QHeaderView *vh = view_->verticalHeader();
    for (int v = 0; v < model()->rowCount(); ++v)
        records << vh->logicalIndex(v);
    return records;
}

QString DataGrid::cellText(int record, const QString &field) const
{
    const int c = setup_.columnOf(field);
    if (c < 0 || record < 0 || record >= ds_->recordCount() || repeats(recordAbove(record), record, c))
        return QString();
    return gridCellText(*ds_, setup_.columns[c], record, lookupTexts_);
}

bool DataGrid::isMergedWithAbove(int record, const QString &field) const
{
    return repeats(recordAbove(record), record, setup_.columnOf(field));
}

QModelIndex DataGrid::indexOf(int record, const QString &field) const
{
    return model()->index(record, setup_.columnOf(field));
}

QString DataGrid::currentField() const
{
    const QModelIndex i = view_->currentIndex();
    return i.isValid() && i.column() < setup_.columns.size() ? setup_.columns[i.column()].field : QString();
}

void DataGrid::setCurrentCell(int record, const QString &field)
{
    const QModelIndex i = indexOf(record, field);
    if (i.isValid())
        view_->setCurrentIndex(i);
}

} // namespace ui
