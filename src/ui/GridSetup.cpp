#include "GridSetup.h"

#include "db/Format.h"

namespace ui {

namespace {
bool containsField(const QStringList &list, const QString &field)
{
    return list.contains(field, Qt::CaseInsensitive);
}
} // namespace

int GridSetup::columnOf(const QString &field) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int GridSetup::bandOf(int column) const
{
    int first = 0;
    for (int b = 0; b < bands.size(); ++b) {
        if (column >= first && column < first + bands[b].columnCount)
            return b;
        first += bands[b].columnCount;
    }
    return -1;
}

bool GridSetup::isShown(int column) const
{
    if (column < 0 || column >= columns.size() || !columns[column].visible)
        return false;
    const int b = bandOf(column);
    return b < 0 || bands[b].visible;
}

bool GridSetup::isMerged(int column) const
{
    return column >= 0 && column < columns.size() && containsField(mergedFields, columns[column].field);
}

bool GridSetup::hasSum(int column) const
{
    return column >= 0 && column < columns.size() && containsField(sumFields, columns[column].field);
}

bool GridSetup::isBoldHeader(int column) const
{
    return column >= 0 && column < columns.size() && containsField(boldHeaders, columns[column].field);
}

const GridLookup *GridSetup::lookupOf(const QString &field) const
{
    auto it = lookups.constFind(field.toUpper());
    return it == lookups.constEnd() ? nullptr : &*it;
}

db::Decimal gridDecimal(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return db::Decimal();
    if (v.userType() == qMetaTypeId<db::Decimal>())
        return v.value<db::Decimal>();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return db::Decimal::fromDouble(v.toDouble());
    if (v.typeId() == QMetaType::QString)
        return db::Decimal::parse(v.toString()).value_or(db::Decimal());
    return db::Decimal::fromRaw(v.toLongLong() * db::Decimal::Scale);
}

db::Decimal GridSetup::sum(const db::DataSet &ds, const QString &field) const
{
    db::Decimal total;
    const db::Field *f = ds.findField(field);
    if (!f)
        return total;
    for (int r = 0; r < ds.recordCount(); ++r)
        total += gridDecimal(ds.valueAt(r, f->index()));
    return total;
}

QString GridSetup::sumText(const db::DataSet &ds, const QString &field) const
{
    return formatSum(ds, field, sum(ds, field));
}

QString GridSetup::formatSum(const db::DataSet &ds, const QString &field, db::Decimal total) const
{
    const db::Field *f = ds.findField(field);
    if (!f)
        return QString();
    const QString format = sumFormats.value(field.toUpper(), f->displayFormat);
    if (!format.isEmpty())
        return db::formatNumber(total, format);
    return db::formatPlain(total);
}

// ---------------------------------------------------------------------------------------------

void LookupTexts::build(const GridSetup &setup)
{
    maps_.clear();
    for (auto it = setup.lookups.constBegin(); it != setup.lookups.constEnd(); ++it)
        build(it.key(), it.value());
}

void LookupTexts::build(const QString &field, const GridLookup &lookup)
{
    QHash<QString, QString> &map = maps_[field.toUpper()];
    map.clear();
    if (!lookup.list || !lookup.list->active())
        return;
    const db::Field *code = lookup.list->findField(lookup.codeField);
    const db::Field *desc = lookup.list->findField(lookup.descField);
    if (!code || !desc)
        return;
    for (int r = 0; r < lookup.list->recordCount(); ++r)
        map.insert(lookup.list->valueAt(r, code->index()).toString(), lookup.list->valueAt(r, desc->index()).toString());
}

QString LookupTexts::text(const QString &field, const QVariant &code) const
{
    if (code.isNull())
        return QString();
    auto map = maps_.constFind(field.toUpper());
    const QString key = code.toString();
    if (map == maps_.constEnd())
        return key;
    return map->value(key, key);
}

QString gridCellText(const db::DataSet &ds, const GridColumn &column, int record, const LookupTexts &lookups)
{
    if (column.checkBox)
        return QString();
    const db::Field *f = ds.findField(column.field);
    if (!f)
        return QString();
    const QVariant v = ds.valueAt(record, f->index());
    if (lookups.has(column.field))
        return lookups.text(column.field, v);
    return f->displayTextOf(v);
}

bool gridCellRepeats(const db::DataSet &ds, const GridSetup &setup, const LookupTexts &lookups, int previous,
                     int record, int column)
{
    if (previous < 0 || record < 0 || !setup.isMerged(column))
        return false;
    for (int c = 0; c <= column; ++c) {
        if (!setup.isMerged(c) || (c != column && !setup.isShown(c)))
            continue;
        const GridColumn &col = setup.columns[c];
        if (gridCellText(ds, col, previous, lookups) != gridCellText(ds, col, record, lookups))
            return false;
    }
    return true;
}

} // namespace ui
