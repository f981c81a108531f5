#include "DataSet.h"

#include "Format.h"

#include <QScopeGuard>

namespace db {

namespace {

FieldType typeOf(const ColumnInfo &c)
{
    switch (c.kind) {
    case ColumnKind::Integer: return FieldType::Integer;
    case ColumnKind::Decimal: return FieldType::Decimal;
    case ColumnKind::Float: return FieldType::Float;
    case ColumnKind::Text: return FieldType::String;
    case ColumnKind::Date: return FieldType::Date;
    case ColumnKind::Time: return FieldType::Time;
    case ColumnKind::Timestamp: return FieldType::DateTime;
    case ColumnKind::Boolean: return FieldType::Boolean;
    default: return FieldType::Blob;
    }
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() != b.isNull())
        return false;
    if (a.isNull())
        return true;
    if (a.userType() == qMetaTypeId<Decimal>() || b.userType() == qMetaTypeId<Decimal>()) {
        auto da = Decimal::parse(a.userType() == qMetaTypeId<Decimal>() ? a.value<Decimal>().toString() : a.toString());
        auto db = Decimal::parse(b.userType() == qMetaTypeId<Decimal>() ? b.value<Decimal>().toString() : b.toString());
        return da && db && *da == *db;
    }
    return a == b;
}

// Normalises a value to the field's type so that records hold one representation per type.
QVariant coerce(const Field &f, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    switch (f.type()) {
    case FieldType::Integer: {
        if (v.userType() == qMetaTypeId<Decimal>())
            return QVariant::fromValue(qlonglong(v.value<Decimal>().round(0).raw() / Decimal::Scale));
        if (v.typeId() == QMetaType::QString) {
            const QString t = v.toString().trimmed();
            if (t.isEmpty())
                return QVariant();
            bool ok = false;
            const qlonglong n = t.toLongLong(&ok);
            if (!ok)
                throw DbError(QStringLiteral("'%1' non è un valore intero valido").arg(t));
            return n;
        }
        return QVariant::fromValue(v.toLongLong());
    }
    case FieldType::Decimal: {
        if (v.userType() == qMetaTypeId<Decimal>())
            return v;
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
            return QVariant::fromValue(Decimal::fromDouble(v.toDouble()));
        if (v.typeId() == QMetaType::QString) {
            const QString t = v.toString().trimmed();
            if (t.isEmpty())
                return QVariant();
            auto d = Decimal::parse(t);
            if (!d)
                throw DbError(QStringLiteral("'%1' non è un valore numerico valido").arg(t));
            return QVariant::fromValue(*d);
        }
        return QVariant::fromValue(Decimal::fromRaw(v.toLongLong() * Decimal::Scale));
    }
    case FieldType::Float:
        if (v.userType() == qMetaTypeId<Decimal>())
            return v.value<Decimal>().toDouble();
        return v.toDouble();
    case FieldType::String: {
        if (v.userType() == qMetaTypeId<Decimal>())
            return v.value<Decimal>().toString();
        return v.toString();
    }
    case FieldType::Date: {
        if (v.typeId() == QMetaType::QDate)
            return v;
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        const QString t = v.toString().trimmed();
        if (t.isEmpty())
            return QVariant();
        const QDate d = parseDate(t);
        if (!d.isValid())
            throw DbError(QStringLiteral("'%1' non è una data valida").arg(t));
        return d;
    }
    case FieldType::Boolean: return v.toBool();
    default: return v;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Field

Field::Field(DataSet *ds, QString name, FieldType type, int index)
    : ds_(ds), name_(std::move(name)), type_(type), index_(index)
{
}

QVariant Field::value() const
{
    if (ds_->current_ < 0 || ds_->records_.empty())
        return QVariant();
    return ds_->currentRecord()[size_t(index_)];
}

QVariant Field::oldValue() const
{
    if (ds_->state_ == DataSetState::Edit)
        return ds_->saved_[size_t(index_)];
    if (ds_->state_ == DataSetState::Insert)
        return QVariant();
    return value();
}

bool Field::isNull() const { return value().isNull(); }

QString Field::asString() const
{
    const QVariant v = value();
    if (v.isNull())
        return QString();
    if (v.userType() == qMetaTypeId<Decimal>())
        return formatPlain(v.value<Decimal>());
    if (v.typeId() == QMetaType::QDate)
        return formatDate(v.toDate());
    return v.toString();
}

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (v.userType() == qMetaTypeId<Decimal>())
        return v.value<Decimal>().round(0).raw() / Decimal::Scale;
    return v.toLongLong();
}

Decimal Field::asDecimal() const
{
    const QVariant v = value();
    if (v.isNull())
        return Decimal();
    if (v.userType() == qMetaTypeId<Decimal>())
        return v.value<Decimal>();
    if (v.typeId() == QMetaType::Double)
        return Decimal::fromDouble(v.toDouble());
    if (v.typeId() == QMetaType::QString)
        return Decimal::parse(v.toString()).value_or(Decimal());
    return Decimal::fromRaw(v.toLongLong() * Decimal::Scale);
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (v.userType() == qMetaTypeId<Decimal>())
        return v.value<Decimal>().toDouble();
    return v.toDouble();
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return v.toDate();
}

bool Field::asBoolean() const { return value().toBool(); }

void Field::setRaw(const QVariant &v)
{
    if (ds_->current_ < 0)
        return;
    ds_->currentRecord()[size_t(index_)] = v;
}

void Field::setValue(const QVariant &input)
{
    if (!(calculated && ds_->inCalc_)) {
        if (!ds_->isEditing())
            throw DbError(QStringLiteral("Il dataset %1 non è in modifica").arg(ds_->name_));
        if (readOnly)
            throw DbError(QStringLiteral("Il campo %1 non può essere modificato").arg(name_));
    }
    QVariant v = coerce(*this, input);
    if (type_ == FieldType::String && size > 0 && v.toString().size() > size)
        v = v.toString().left(size);
    const QVariant old = value();
    setRaw(v);
    if (ds_->inCalc_)
        return;
    if (OnValidate) {
        try {
            OnValidate(*this);
        } catch (...) {
            setRaw(old);
            ds_->emitRecordChanged(ds_->current_);
            throw;
        }
    }
    ds_->modified_ = true;
    if (OnChange)
        OnChange(*this);
    ds_->recalcCurrent();
    ds_->emitRecordChanged(ds_->current_);
}

void Field::setAsString(const QString &text) { setValue(text.isEmpty() ? QVariant() : QVariant(text)); }

namespace {
Decimal decimalOf(const QVariant &v)
{
    if (v.userType() == qMetaTypeId<Decimal>())
        return v.value<Decimal>();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return Decimal::fromDouble(v.toDouble());
    return Decimal::fromRaw(v.toLongLong() * Decimal::Scale);
}
} // namespace

QString Field::displayTextOf(const QVariant &v) const
{
    if (v.isNull())
        return QString();
    switch (type_) {
    case FieldType::Decimal:
    case FieldType::Float:
    case FieldType::Integer:
        if (!displayFormat.isEmpty())
            return formatNumber(decimalOf(v), displayFormat);
        return type_ == FieldType::Integer ? QString::number(v.toLongLong()) : formatPlain(decimalOf(v));
    case FieldType::Date: return formatDate(v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate());
    default: return v.toString();
    }
}

QString Field::editTextOf(const QVariant &v) const
{
    if (v.isNull())
        return QString();
    switch (type_) {
    case FieldType::Decimal:
    case FieldType::Float:
        return editFormat.isEmpty() ? formatPlain(decimalOf(v)) : formatNumber(decimalOf(v), editFormat);
    case FieldType::Integer: return QString::number(v.toLongLong());
    case FieldType::Date: return formatDate(v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate());
    default: return v.toString();
    }
}

// ---------------------------------------------------------------------------------------------
// DataSet: construction, statements, fields

DataSet::DataSet(Transaction &tr, const QString &name, QObject *parent) : QObject(parent), name_(name), tr_(&tr)
{
    setObjectName(name);
}

DataSet::~DataSet()
{
    QObject::disconnect(masterConn_);
    for (Field *f : fieldList_)
        delete f;
    for (Field *f : declared_)
        if (std::find(fieldList_.begin(), fieldList_.end(), f) == fieldList_.end())
            delete f;
}

bool DataSet::setSelectLine(int i, const QString &line)
{
    while (SelectSQL.size() <= i)
        SelectSQL << QString();
    if (SelectSQL[i] == line)
        return false;
    SelectSQL[i] = line;
    if (!active())
        return false;
    close();
    open();
    return true;
}

void DataSet::setTable(const QString &table, const QStringList &keyFields, const QStringList &readOnlyColumns)
{
    tableName_ = table;
    tableKeys_ = keyFields;
    tableReadOnly_ = readOnlyColumns;
    QStringList where, whereNew;
    for (const QString &k : keyFields) {
        where << QStringLiteral("%1 = :OLD_%1").arg(k);
        whereNew << QStringLiteral("%1 = :%1").arg(k);
    }
    DeleteSQL = QStringList{QStringLiteral("DELETE FROM %1").arg(table),
                            QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "))};
    RefreshSQL = QStringList{QStringLiteral("SELECT * FROM %1").arg(table),
                             QStringLiteral(" WHERE ") + whereNew.join(QStringLiteral(" AND "))};
    // The insert and update statements need the columns: they are written at open.
    InsertSQL.clear();
    ModifySQL.clear();
}

void DataSet::buildTableStatements()
{
    if (tableName_.isEmpty() || (!InsertSQL.isEmpty() && !ModifySQL.isEmpty()))
        return;
    QStringList cols;
    for (Field *f : fieldList_) {
        if (f->calculated || tableReadOnly_.contains(f->name(), Qt::CaseInsensitive))
            continue;
        if (!f->origin.isEmpty() && f->origin.section(QLatin1Char('.'), 0, 0).compare(tableName_, Qt::CaseInsensitive) != 0)
            continue;
        cols << f->name();
    }
    QStringList values, sets, where;
    for (const QString &c : cols) {
        values << QLatin1Char(':') + c;
        sets << QStringLiteral("%1 = :%1").arg(c);
    }
    for (const QString &k : tableKeys_)
        where << QStringLiteral("%1 = :OLD_%1").arg(k);
    InsertSQL = QStringList{QStringLiteral("INSERT INTO %1 (%2)").arg(tableName_, cols.join(QStringLiteral(", "))),
                            QStringLiteral(" VALUES (%1)").arg(values.join(QStringLiteral(", ")))};
    ModifySQL = QStringList{QStringLiteral("UPDATE %1 SET %2").arg(tableName_, sets.join(QStringLiteral(", "))),
                            QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "))};
}

Statement &DataSet::prepared(const QString &sql)
{
    if (preparedGeneration_ != tr_->attachment().generation()) {
        prepared_.clear();
        preparedGeneration_ = tr_->attachment().generation();
    }
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        if (prepared_.size() > 16) // a filter typed letter by letter must not pile up statements
            prepared_.clear();
        it = prepared_.emplace(sql, std::make_unique<Statement>(*tr_, sql)).first;
    }
    return *it->second;
}

DataSet::Record &DataSet::currentRecord() { return records_[size_t(current_)]; }
const DataSet::Record &DataSet::currentRecord() const { return records_[size_t(current_)]; }

Field &DataSet::declareField(const QString &name, FieldType type)
{
    for (Field *f : declared_)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return *f;
    auto *f = new Field(this, name.toUpper(), type, -1);
    declared_.push_back(f);
    return *f;
}

Field &DataSet::addCalculatedField(const QString &name, FieldType type, int size)
{
    Field &f = declareField(name, type);
    f.calculated = true;
    f.size = size;
    return f;
}

Field *DataSet::findField(const QString &name) const
{
    for (Field *f : fieldList_)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    for (Field *f : declared_)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0 && f->index_ >= 0)
            return f;
    return nullptr;
}

Field &DataSet::fieldByName(const QString &name) const
{
    Field *f = findField(name);
    if (!f)
        throw DbError(QStringLiteral("%1: campo '%2' non trovato").arg(name_, name));
    return *f;
}

void DataSet::buildFields(const std::vector<ColumnInfo> &cols)
{
    for (Field *f : declared_)
        f->index_ = -1;
    fieldList_.clear();
    for (const ColumnInfo &c : cols) {
        const QString n = (c.alias.isEmpty() ? c.name : c.alias).toUpper();
        bool dup = false;
        for (Field *f : fieldList_)
            dup = dup || f->name() == n;
        if (dup)
            continue;
        Field *f = nullptr;
        for (Field *d : declared_)
            if (d->name() == n && !d->calculated)
                f = d;
        const FieldType t = typeOf(c);
        if (!f) {
            f = new Field(this, n, t, -1);
            declared_.push_back(f);
            f->required = !c.nullable;
        }
        f->type_ = t;
        if (t == FieldType::String)
            f->size = c.length;
        if (t == FieldType::Decimal)
            f->scale = c.scale;
        if (!c.relation.isEmpty() && !c.name.isEmpty())
            f->origin = c.relation.trimmed() + QLatin1Char('.') + c.name.trimmed();
        f->index_ = int(fieldList_.size());
        fieldList_.push_back(f);
    }
    for (Field *d : declared_) {
        if (d->calculated) {
            d->index_ = int(fieldList_.size());
            fieldList_.push_back(d);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Opening and reading

void DataSet::bindParams(Statement &st, const Record &rec, const Record *old) const
{
    const QStringList &names = st.paramNames();
    for (int i = 0; i < names.size(); ++i) {
        const QString n = names[i].toUpper();
        auto fieldValue = [&](const QString &fname, const Record &r, bool &found) -> QVariant {
            for (Field *f : fieldList_) {
                if (f->name() == fname) {
                    found = true;
                    return r[size_t(f->index_)];
                }
            }
            found = false;
            return QVariant();
        };
        bool found = false;
        QVariant v;
        if (n.startsWith(QLatin1String("OLD_")) && old) {
            v = fieldValue(n.mid(4), *old, found);
        }
        if (!found && !rec.empty())
            v = fieldValue(n, rec, found);
        if (!found) {
            if (params_.contains(n)) {
                v = params_.value(n);
            } else if (master_) {
                for (const auto &mp : masterParams_) {
                    if (mp.first.compare(n, Qt::CaseInsensitive) == 0 && master_->active() && !master_->isEmpty())
                        v = master_->fieldByName(mp.second).value();
                }
            }
        }
        st.setParam(i, v);
    }
}

void DataSet::readInto(Record &rec, ResultSet &rs, const std::vector<int> &map)
{
    rec.assign(fieldList_.size(), QVariant());
    for (size_t c = 0; c < map.size(); ++c)
        if (map[c] >= 0)
            rec[size_t(map[c])] = rs.value(int(c));
}

void DataSet::open()
{
    if (active())
        return;
    if (BeforeOpen)
        BeforeOpen(*this);
    Statement &st = prepared(SelectSQL.join(QLatin1Char('\n')));
    bindParams(st, {}, nullptr);
    masterValues_.clear();
    for (const auto &mp : masterParams_) {
        QVariant v;
        if (master_ && master_->active() && !master_->isEmpty())
            if (Field *f = master_->findField(mp.second))
                v = f->value();
        masterValues_[QStringLiteral("\x01") + mp.first.toUpper()] = v;
    }
    auto rs = st.open();
    buildFields(rs->columns());
    buildTableStatements();
    std::vector<int> map;
    for (const ColumnInfo &c : rs->columns()) {
        const QString n = (c.alias.isEmpty() ? c.name : c.alias).toUpper();
        Field *f = nullptr;
        for (Field *x : fieldList_)
            if (x->name() == n && !x->calculated)
                f = x;
        map.push_back(f && int(map.size()) == f->index_ ? f->index_ : -1);
    }
    records_.clear();
    while (rs->next()) {
        records_.emplace_back();
        readInto(records_.back(), *rs, map);
    }
    rs->close();
    ++openCount_;
    openedSql_ = SelectSQL.join(QLatin1Char('\n'));
    state_ = DataSetState::Browse;
    modified_ = false;
    // calculated fields of every record
    if (OnCalcFields) {
        for (size_t i = 0; i < records_.size(); ++i) {
            current_ = int(i);
            recalcCurrent();
        }
    }
    current_ = records_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = records_.empty();
    if (!controlsDisabled()) {
        emit contentReset();
        emit stateChanged(state_);
    }
    if (AfterOpen)
        AfterOpen(*this);
    if (AfterScroll)
        AfterScroll(*this);
    if (!controlsDisabled())
        emit currentChanged(current_);
}

void DataSet::close()
{
    if (!active())
        return;
    if (BeforeClose)
        BeforeClose(*this);
    records_.clear();
    saved_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    modified_ = false;
    state_ = DataSetState::Inactive;
    if (!controlsDisabled()) {
        emit contentReset();
        emit stateChanged(state_);
    }
    if (AfterClose)
        AfterClose(*this);
}

void DataSet::refresh()
{
    if (!active())
        return;
    const int pos = current_;
    // Views and details see one change, at the end, not the intermediate empty and first states.
    disableControls();
    auto resume = qScopeGuard([this] { enableControls(); });
    close();
    open();
    if (!records_.empty() && pos >= 0)
        setRecNo(std::min(pos, int(records_.size()) - 1));
}

void DataSet::enableControls()
{
    if (disabled_ > 0 && --disabled_ == 0) {
        emit contentReset();
        emit stateChanged(state_);
        emit currentChanged(current_);
    }
}

void DataSet::checkActive() const
{
    if (!active())
        throw DbError(QStringLiteral("Operazione non consentita: il dataset %1 è chiuso").arg(name_));
}

void DataSet::checkBrowse()
{
    if (!isEditing())
        return;
    if (modified_)
        post();
    else
        cancel();
}

void DataSet::recalcCurrent()
{
    if (!OnCalcFields || current_ < 0)
        return;
    inCalc_ = true;
    auto guard = qScopeGuard([this] { inCalc_ = false; });
    for (Field *f : fieldList_)
        if (f->calculated)
            currentRecord()[size_t(f->index_)] = QVariant();
    OnCalcFields(*this);
}

void DataSet::emitRecordChanged(int i)
{
    if (!controlsDisabled() && i >= 0)
        emit recordChanged(i);
}

void DataSet::setState(DataSetState s)
{
    if (state_ == s)
        return;
    state_ = s;
    if (!controlsDisabled())
        emit stateChanged(s);
}

// ---------------------------------------------------------------------------------------------
// Navigation

int DataSet::recordCount() const { return int(records_.size()); }

void DataSet::scrollTo(int i, bool force)
{
    checkActive();
    if (records_.empty())
        return;
    i = std::clamp(i, 0, int(records_.size()) - 1);
    if (i == current_ && !force && !isEditing())
        return;
    checkBrowse();
    if (records_.empty())
        return;
    i = std::clamp(i, 0, int(records_.size()) - 1);
    if (BeforeScroll)
        BeforeScroll(*this);
    current_ = i;
    if (!controlsDisabled())
        emit currentChanged(current_);
    if (AfterScroll)
        AfterScroll(*this);
}

void DataSet::setRecNo(int i)
{
    scrollTo(i);
    bof_ = current_ <= 0;
    eof_ = current_ >= int(records_.size()) - 1;
}

void DataSet::first()
{
    scrollTo(0);
    bof_ = true;
    eof_ = records_.empty();
}

void DataSet::last()
{
    scrollTo(int(records_.size()) - 1);
    eof_ = true;
    bof_ = records_.empty();
}

void DataSet::next()
{
    checkActive();
    if (current_ >= int(records_.size()) - 1) {
        checkBrowse();
        eof_ = true;
        return;
    }
    scrollTo(current_ + 1);
    bof_ = false;
    eof_ = false;
}

void DataSet::prior()
{
    checkActive();
    if (current_ <= 0) {
        checkBrowse();
        bof_ = true;
        return;
    }
    scrollTo(current_ - 1);
    bof_ = false;
    eof_ = false;
}

void DataSet::moveBy(int n)
{
    if (n > 0)
        while (n-- > 0 && !eof())
            next();
    else
        while (n++ < 0 && !bof())
            prior();
}

bool DataSet::locate(const QString &fieldName, const QVariant &value, bool caseInsensitive, bool partialKey)
{
    checkActive();
    Field &f = fieldByName(fieldName);
    const size_t idx = size_t(f.index_);
    const QString text = value.toString();
    for (size_t i = 0; i < records_.size(); ++i) {
        const QVariant &v = records_[i][idx];
        bool match;
        if (f.type() == FieldType::String) {
            const QString s = v.toString();
            const auto cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
            match = !v.isNull() && (partialKey ? s.startsWith(text, cs) : s.compare(text, cs) == 0);
        } else {
            QVariant want;
            try {
                want = coerce(f, value);
            } catch (const DbError &) {
                return false;
            }
            match = sameValue(v, want);
        }
        if (match) {
            setRecNo(int(i));
            return true;
        }
    }
    return false;
}

QVariant DataSet::valueAt(int record, int fieldIndex) const
{
    if (record < 0 || record >= int(records_.size()) || fieldIndex < 0 || fieldIndex >= int(fieldList_.size()))
        return QVariant();
    return records_[size_t(record)][size_t(fieldIndex)];
}

// ---------------------------------------------------------------------------------------------
// Editing

void DataSet::doInsert(int at)
{
    checkActive();
    if (BeforeInsert)
        BeforeInsert(*this);
    checkBrowse();
    at = std::clamp(at, 0, int(records_.size()));
    if (!controlsDisabled())
        emit recordAboutToBeInserted(at);
    records_.insert(records_.begin() + at, Record(fieldList_.size()));
    current_ = at;
    insertedAt_ = at;
    saved_.clear();
    state_ = DataSetState::Insert;
    if (!controlsDisabled()) {
        emit recordInserted(at);
        emit stateChanged(state_);
        emit currentChanged(current_);
    }
    try {
        if (OnNewRecord)
            OnNewRecord(*this);
    } catch (...) {
        // A refused new record (no key, for instance) abandons the insertion.
        if (!controlsDisabled())
            emit recordAboutToBeRemoved(at);
        records_.erase(records_.begin() + at);
        current_ = records_.empty() ? -1 : std::min(at, int(records_.size()) - 1);
        state_ = DataSetState::Browse;
        modified_ = false;
        if (!controlsDisabled()) {
            emit recordRemoved(at);
            emit stateChanged(state_);
            emit currentChanged(current_);
        }
        throw;
    }
    modified_ = false;
    recalcCurrent();
    if (AfterInsert)
        AfterInsert(*this);
    if (AfterScroll)
        AfterScroll(*this);
}

void DataSet::append() { doInsert(active() ? int(records_.size()) : 0); }

void DataSet::insert() { doInsert(current_ < 0 ? 0 : current_); }

void DataSet::edit()
{
    checkActive();
    if (isEditing())
        return;
    if (records_.empty()) {
        append();
        return;
    }
    if (BeforeEdit)
        BeforeEdit(*this);
    saved_ = currentRecord();
    modified_ = false;
    setState(DataSetState::Edit);
    if (AfterEdit)
        AfterEdit(*this);
}

void DataSet::post()
{
    checkActive();
    if (!isEditing())
        return;
    emit updateRecord();
    if (!isEditing())
        return;
    if (BeforePost)
        BeforePost(*this);
    const bool inserting = state_ == DataSetState::Insert;
    const QStringList &sql = inserting ? InsertSQL : ModifySQL;
    if (sql.isEmpty())
        throw DbError(QStringLiteral("Il dataset %1 non può essere modificato").arg(name_));
    {
        Statement &st = prepared(sql.join(QLatin1Char('\n')));
        bindParams(st, currentRecord(), inserting ? nullptr : &saved_);
        st.execute();
    }
    if (!RefreshSQL.isEmpty())
        refreshRecord();
    saved_.clear();
    modified_ = false;
    insertedAt_ = -1;
    setState(DataSetState::Browse);
    recalcCurrent();
    emitRecordChanged(current_);
    if (AfterPost)
        AfterPost(*this);
}

void DataSet::refreshRecord()
{
    if (current_ < 0 || RefreshSQL.isEmpty())
        return;
    Statement &st = prepared(RefreshSQL.join(QLatin1Char('\n')));
    bindParams(st, currentRecord(), state_ == DataSetState::Edit ? &saved_ : nullptr);
    auto rs = st.open();
    if (!rs->next())
        return;
    Record &rec = currentRecord();
    const auto &cols = rs->columns();
    for (size_t c = 0; c < cols.size(); ++c) {
        const QString n = (cols[c].alias.isEmpty() ? cols[c].name : cols[c].alias).toUpper();
        for (Field *f : fieldList_)
            if (!f->calculated && f->name() == n)
                rec[size_t(f->index_)] = rs->value(int(c));
    }
    recalcCurrent();
    emitRecordChanged(current_);
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    if (BeforeCancel)
        BeforeCancel(*this);
    if (state_ == DataSetState::Insert) {
        const int at = current_;
        if (!controlsDisabled())
            emit recordAboutToBeRemoved(at);
        records_.erase(records_.begin() + at);
        current_ = records_.empty() ? -1 : std::min(at, int(records_.size()) - 1);
        if (!controlsDisabled())
            emit recordRemoved(at);
    } else {
        currentRecord() = saved_;
        emitRecordChanged(current_);
    }
    saved_.clear();
    modified_ = false;
    insertedAt_ = -1;
    setState(DataSetState::Browse);
    if (!controlsDisabled())
        emit currentChanged(current_);
    if (AfterCancel)
        AfterCancel(*this);
}

void DataSet::remove()
{
    checkActive();
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (records_.empty())
        throw DbError(QStringLiteral("Impossibile eseguire l'operazione su un archivio vuoto"));
    if (BeforeDelete)
        BeforeDelete(*this);
    if (state_ == DataSetState::Edit) {
        currentRecord() = saved_;
        saved_.clear();
        setState(DataSetState::Browse);
    }
    if (DeleteSQL.isEmpty())
        throw DbError(QStringLiteral("Il dataset %1 non può essere modificato").arg(name_));
    {
        Statement &st = prepared(DeleteSQL.join(QLatin1Char('\n')));
        bindParams(st, currentRecord(), &currentRecord());
        st.execute();
    }
    const int at = current_;
    if (!controlsDisabled())
        emit recordAboutToBeRemoved(at);
    records_.erase(records_.begin() + at);
    current_ = records_.empty() ? -1 : std::min(at, int(records_.size()) - 1);
    eof_ = records_.empty();
    if (!controlsDisabled()) {
        emit recordRemoved(at);
        emit currentChanged(current_);
    }
    if (AfterDelete)
        AfterDelete(*this);
    if (AfterScroll)
        AfterScroll(*this);
}

// ---------------------------------------------------------------------------------------------
// Master-detail

void DataSet::setMaster(DataSet *master, const QList<QPair<QString, QString>> &paramToMasterField)
{
    if (master_)
        disconnect(master_, nullptr, this, nullptr);
    master_ = master;
    masterParams_ = paramToMasterField;
    if (master_) {
        masterConn_ = connect(master_, &DataSet::currentChanged, this, [this](int) { masterChanged(); });
        connect(master_, &DataSet::contentReset, this, [this] { masterChanged(); });
        connect(master_, &DataSet::recordChanged, this, [this](int) {
            if (master_ && !master_->isEditing())
                masterChanged();
        });
    }
}

void DataSet::masterChanged()
{
    if (!active() || !master_ || !master_->active())
        return;
    // Re-read only when the master's values for the parameters changed.
    bool changed = false;
    for (const auto &mp : masterParams_) {
        QVariant v;
        if (master_->active() && !master_->isEmpty())
            if (Field *f = master_->findField(mp.second))
                v = f->value();
        const QString key = QStringLiteral("\x01") + mp.first.toUpper();
        if (!sameValue(masterValues_.value(key), v) || !masterValues_.contains(key)) {
            masterValues_[key] = v;
            changed = true;
        }
    }
    if (!changed)
        return;
    if (isEditing())
        checkBrowse();
    close();
    open();
}

} // namespace db
