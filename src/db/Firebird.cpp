#include "Firebird.h"

#include <firebird/Interface.h>

#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <cstring>

using namespace Firebird;

namespace db {

// ---------------------------------------------------------------------------------------------
// Process-wide engine objects and status handling

namespace {

IMaster *master()
{
    static IMaster *m = fb_get_master_interface();
    return m;
}

IUtil *util() { return master()->getUtilInterface(); }

IProvider *provider()
{
    static IProvider *p = master()->getDispatcher();
    return p;
}

// A status wrapper that lives for one call and is disposed with it.
class Status {
public:
    Status() : raw_(master()->getStatus()), wrapper_(raw_) {}
    ~Status() { raw_->dispose(); }
    ThrowStatusWrapper *operator&() { return &wrapper_; }

private:
    IStatus *raw_;
    ThrowStatusWrapper wrapper_;
};

DbError toDbError(const FbException &e)
{
    IStatus *st = e.getStatus();
    QList<qint64> codes;
    const intptr_t *v = st->getErrors();
    while (v && *v != isc_arg_end) {
        const intptr_t arg = *v++;
        switch (arg) {
        case isc_arg_gds:
            codes << qint64(*v++);
            break;
        case isc_arg_cstring:
            v += 2;
            break;
        default:
            ++v;
            break;
        }
    }
    char buf[4096];
    util()->formatStatus(buf, sizeof buf, st);
    return DbError(codes, QString::fromUtf8(buf).trimmed());
}

// Runs f, turning a Firebird exception into a DbError.
template <class F> auto guarded(F &&f) -> decltype(f())
{
    try {
        return f();
    } catch (const FbException &e) {
        throw toDbError(e);
    }
}

void releaseQuietly(IReferenceCounted *p)
{
    if (p)
        p->release();
}

} // namespace

namespace engine {
void shutdown()
{
    try {
        Status st;
        provider()->shutdown(&st, 0, fb_shutrsn_app_stopped);
    } catch (...) {
    }
}
} // namespace engine

// ---------------------------------------------------------------------------------------------
// DbError

DbError::DbError(QList<qint64> codes, QString text)
    : codes_(std::move(codes)), text_(std::move(text)), utf8_(text_.toUtf8())
{
}

bool DbError::isLockConflict() const
{
    return hasCode(LockConflict) || hasCode(Deadlock) || hasCode(UpdateConflict);
}

// ---------------------------------------------------------------------------------------------
// Attachment

struct Attachment::Impl {
    IAttachment *att = nullptr;
    std::vector<Transaction *> transactions;
};

struct Transaction::Impl {
    ITransaction *tr = nullptr;
};

Attachment::Attachment() : impl_(std::make_unique<Impl>()) {}

Attachment::~Attachment()
{
    try {
        close();
    } catch (...) {
    }
}

namespace {
std::string dbName(const QString &database) { return database.toUtf8().toStdString(); }
} // namespace

// Opens or creates: the same connection parameters, plus the new database's settings on create.
void Attachment::connect(const QString &database, const ConnectParams &params, bool createFile)
{
    close();
    guarded([&] {
        Status st;
        IXpbBuilder *dpb = util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
        try {
            dpb->insertString(&st, isc_dpb_user_name, params.user.toUtf8().constData());
            if (!params.password.isEmpty())
                dpb->insertString(&st, isc_dpb_password, params.password.toUtf8().constData());
            if (!params.charset.isEmpty())
                dpb->insertString(&st, isc_dpb_lc_ctype, params.charset.toUtf8().constData());
            if (createFile) {
                dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
                dpb->insertString(&st, isc_dpb_set_db_charset, "WIN1252");
                dpb->insertInt(&st, isc_dpb_page_size, 16384);
            }
            const std::string name = dbName(database);
            impl_->att = createFile
                             ? provider()->createDatabase(&st, name.c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st))
                             : provider()->attachDatabase(&st, name.c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
        } catch (...) {
            dpb->dispose();
            throw;
        }
        dpb->dispose();
    });
    database_ = database;
    ++generation_;
}

void Attachment::open(const QString &database, const ConnectParams &params) { connect(database, params, false); }

void Attachment::create(const QString &database, const ConnectParams &params) { connect(database, params, true); }

void Attachment::close()
{
    if (!impl_->att)
        return;
    // A connection with active transactions cannot be detached: they end with it, rolled back.
    for (Transaction *t : impl_->transactions) {
        if (t->isActive()) {
            try {
                t->rollback();
            } catch (const DbError &) {
                t->detachHandle();
            }
        }
    }
    IAttachment *att = impl_->att;
    impl_->att = nullptr;
    try {
        Status st;
        att->detach(&st);
    } catch (const FbException &) {
        // The connection is gone (server down, file removed): drop our reference only.
        releaseQuietly(att);
    }
}

bool Attachment::isOpen() const { return impl_->att != nullptr; }

void Attachment::executeImmediate(Transaction &tr, const QString &sql)
{
    if (!impl_->att)
        throw DbError(QStringLiteral("Database non connesso"));
    tr.ensureStarted();
    const QByteArray text = sql.toUtf8();
    guarded([&] {
        Status st;
        impl_->att->execute(&st, tr.impl()->tr, text.size(), text.constData(), 3, nullptr, nullptr, nullptr,
                            nullptr);
    });
}

// ---------------------------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Attachment &att) : att_(att), impl_(std::make_unique<Impl>())
{
    att_.impl()->transactions.push_back(this);
}

Transaction::~Transaction()
{
    if (impl_->tr) {
        try {
            rollback();
        } catch (...) {
            detachHandle();
        }
    }
    auto &v = att_.impl()->transactions;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void Transaction::start()
{
    if (impl_->tr)
        return;
    if (!att_.isOpen())
        throw DbError(QStringLiteral("Database non connesso"));
    guarded([&] {
        Status st;
        IXpbBuilder *tpb = util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        tpb->insertTag(&st, isc_tpb_write);
        tpb->insertTag(&st, isc_tpb_read_committed);
        tpb->insertTag(&st, isc_tpb_rec_version);
        tpb->insertTag(&st, isc_tpb_nowait);
        try {
            impl_->tr = att_.impl()->att->startTransaction(&st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
        } catch (...) {
            tpb->dispose();
            throw;
        }
        tpb->dispose();
    });
}

bool Transaction::isActive() const { return impl_->tr != nullptr; }

void Transaction::commit()
{
    if (!impl_->tr)
        return;
    guarded([&] {
        Status st;
        impl_->tr->commit(&st);
    });
    impl_->tr = nullptr; // a successful commit ends the interface
}

void Transaction::commitRetaining()
{
    if (!impl_->tr)
        return;
    guarded([&] {
        Status st;
        impl_->tr->commitRetaining(&st);
    });
}

void Transaction::rollback()
{
    if (!impl_->tr)
        return;
    guarded([&] {
        Status st;
        impl_->tr->rollback(&st);
    });
    impl_->tr = nullptr;
}

void Transaction::rollbackRetaining()
{
    if (!impl_->tr)
        return;
    guarded([&] {
        Status st;
        impl_->tr->rollbackRetaining(&st);
    });
}

void Transaction::detachHandle()
{
    releaseQuietly(impl_->tr);
    impl_->tr = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Message buffers: reading and writing values of the described types

namespace {

struct Message {
    IMessageMetadata *meta = nullptr;
    std::vector<unsigned char> buffer;
    std::vector<ColumnInfo> columns;
    struct Slot {
        unsigned type, offset, nullOffset, length;
        int scale;
        unsigned charset;
    };
    std::vector<Slot> vars;

    ~Message() { releaseQuietly(meta); }

    void describe(IMessageMetadata *m, bool withNames)
    {
        meta = m;
        Status st;
        const unsigned n = meta->getCount(&st);
        buffer.assign(meta->getMessageLength(&st), 0);
        vars.resize(n);
        if (withNames)
            columns.resize(n);
        for (unsigned i = 0; i < n; ++i) {
            Slot &s = vars[i];
            s.type = meta->getType(&st, i) & ~1u;
            s.offset = meta->getOffset(&st, i);
            s.nullOffset = meta->getNullOffset(&st, i);
            s.length = meta->getLength(&st, i);
            s.scale = meta->getScale(&st, i);
            s.charset = meta->getCharSet(&st, i);
            if (!withNames)
                continue;
            ColumnInfo &c = columns[i];
            c.name = QString::fromUtf8(meta->getField(&st, i));
            c.alias = QString::fromUtf8(meta->getAlias(&st, i));
            c.relation = QString::fromUtf8(meta->getRelation(&st, i));
            c.nullable = meta->isNullable(&st, i);
            c.sqlType = s.type;
            c.scale = -s.scale;
            switch (s.type) {
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64:
                c.kind = s.scale < 0 ? ColumnKind::Decimal : ColumnKind::Integer;
                c.length = s.length;
                break;
            case SQL_FLOAT:
            case SQL_DOUBLE:
            case SQL_D_FLOAT:
                c.kind = ColumnKind::Float;
                break;
            case SQL_TEXT:
            case SQL_VARYING: {
                c.kind = ColumnKind::Text;
                // lengths are in bytes; UTF8 takes up to 4 bytes per character
                const unsigned bpc = (s.charset & 0xFF) == 4 ? 4 : 1;
                c.length = int(s.length / bpc);
                break;
            }
            case SQL_TYPE_DATE: c.kind = ColumnKind::Date; break;
            case SQL_TYPE_TIME: c.kind = ColumnKind::Time; break;
            case SQL_TIMESTAMP: c.kind = ColumnKind::Timestamp; break;
            case SQL_BLOB: c.kind = ColumnKind::Blob; break;
            case SQL_BOOLEAN: c.kind = ColumnKind::Boolean; break;
            default: c.kind = ColumnKind::Other; break;
            }
        }
    }

    bool isNull(unsigned i) const { return *reinterpret_cast<const short *>(&buffer[vars[i].nullOffset]) != 0; }
    void setNull(unsigned i, bool null) { *reinterpret_cast<short *>(&buffer[vars[i].nullOffset]) = null ? -1 : 0; }
    unsigned char *data(unsigned i) { return &buffer[vars[i].offset]; }
    const unsigned char *data(unsigned i) const { return &buffer[vars[i].offset]; }
};

QString readBlob(IAttachment *att, ITransaction *tr, ISC_QUAD id)
{
    Status st;
    IBlob *blob = att->openBlob(&st, tr, &id, 0, nullptr);
    QByteArray bytes;
    char chunk[16384];
    for (;;) {
        unsigned got = 0;
        const int rc = blob->getSegment(&st, sizeof chunk, chunk, &got);
        if (rc == IStatus::RESULT_OK || rc == IStatus::RESULT_SEGMENT) {
            bytes.append(chunk, int(got));
            continue;
        }
        break;
    }
    blob->close(&st);
    return QString::fromUtf8(bytes);
}

QVariant readValue(const Message &m, unsigned i, IAttachment *att, ITransaction *tr)
{
    if (m.isNull(i))
        return QVariant();
    const auto &s = m.vars[i];
    const unsigned char *p = m.data(i);
    auto integer = [&](int64_t v) -> QVariant {
        if (s.scale < 0)
            return QVariant::fromValue(Decimal::fromScaled(v, s.scale));
        return QVariant::fromValue(qlonglong(v));
    };
    switch (s.type) {
    case SQL_SHORT: return integer(*reinterpret_cast<const int16_t *>(p));
    case SQL_LONG: return integer(*reinterpret_cast<const int32_t *>(p));
    case SQL_INT64: return integer(*reinterpret_cast<const int64_t *>(p));
    case SQL_FLOAT: return double(*reinterpret_cast<const float *>(p));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return *reinterpret_cast<const double *>(p);
    case SQL_VARYING: {
        const uint16_t len = *reinterpret_cast<const uint16_t *>(p);
        return QString::fromUtf8(reinterpret_cast<const char *>(p + 2), len);
    }
    case SQL_TEXT: {
        // Fixed-width text comes padded with blanks (to the byte width of the column).
        int len = int(s.length);
        while (len > 0 && p[len - 1] == ' ')
            --len;
        return QString::fromUtf8(reinterpret_cast<const char *>(p), len);
    }
    case SQL_TYPE_DATE: {
        unsigned y, mo, d;
        util()->decodeDate(*reinterpret_cast<const ISC_DATE *>(p), &y, &mo, &d);
        return QDate(int(y), int(mo), int(d));
    }
    case SQL_TYPE_TIME: {
        unsigned h, mi, sec, frac;
        util()->decodeTime(*reinterpret_cast<const ISC_TIME *>(p), &h, &mi, &sec, &frac);
        return QTime(int(h), int(mi), int(sec), int(frac / 10));
    }
    case SQL_TIMESTAMP: {
        const auto *ts = reinterpret_cast<const ISC_TIMESTAMP *>(p);
        unsigned y, mo, d, h, mi, sec, frac;
        util()->decodeDate(ts->timestamp_date, &y, &mo, &d);
        util()->decodeTime(ts->timestamp_time, &h, &mi, &sec, &frac);
        return QDateTime(QDate(int(y), int(mo), int(d)), QTime(int(h), int(mi), int(sec), int(frac / 10)));
    }
    case SQL_BOOLEAN: return bool(*p);
    case SQL_BLOB: return readBlob(att, tr, *reinterpret_cast<const ISC_QUAD *>(p));
    default: return QVariant();
    }
}

Decimal toDecimal(const QVariant &v)
{
    if (v.canConvert<Decimal>() && v.userType() == qMetaTypeId<Decimal>())
        return v.value<Decimal>();
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Bool: return Decimal::fromRaw(v.toLongLong() * Decimal::Scale);
    case QMetaType::Double:
    case QMetaType::Float: return Decimal::fromDouble(v.toDouble());
    default: {
        auto d = Decimal::parse(v.toString());
        if (!d)
            throw DbError(QStringLiteral("Valore numerico non valido: %1").arg(v.toString()));
        return *d;
    }
    }
}

QDate toDate(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    const QString t = v.toString().trimmed();
    for (const char *fmt : {"yyyy-MM-dd", "dd.MM.yyyy", "dd/MM/yyyy"}) {
        const QDate d = QDate::fromString(t, QLatin1String(fmt));
        if (d.isValid())
            return d;
    }
    throw DbError(QStringLiteral("Data non valida: %1").arg(t));
}

void writeValue(Message &m, unsigned i, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        m.setNull(i, true);
        return;
    }
    m.setNull(i, false);
    const auto &s = m.vars[i];
    unsigned char *p = m.data(i);
    auto scaled = [&]() -> int64_t {
        if (s.scale == 0 && v.userType() != qMetaTypeId<Decimal>() && v.typeId() != QMetaType::Double &&
            v.typeId() != QMetaType::QString)
            return v.toLongLong();
        return toDecimal(v).toScaled(s.scale);
    };
    switch (s.type) {
    case SQL_SHORT: {
        const int64_t x = scaled();
        if (x < INT16_MIN || x > INT16_MAX)
            throw DbError(QStringLiteral("Valore fuori intervallo: %1").arg(v.toString()));
        *reinterpret_cast<int16_t *>(p) = int16_t(x);
        break;
    }
    case SQL_LONG: {
        const int64_t x = scaled();
        if (x < INT32_MIN || x > INT32_MAX)
            throw DbError(QStringLiteral("Valore fuori intervallo: %1").arg(v.toString()));
        *reinterpret_cast<int32_t *>(p) = int32_t(x);
        break;
    }
    case SQL_INT64: *reinterpret_cast<int64_t *>(p) = scaled(); break;
    case SQL_FLOAT: *reinterpret_cast<float *>(p) = float(toDecimal(v).toDouble()); break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        *reinterpret_cast<double *>(p) =
            v.typeId() == QMetaType::Double ? v.toDouble() : toDecimal(v).toDouble();
        break;
    case SQL_VARYING:
    case SQL_TEXT: {
        QString text;
        if (v.userType() == qMetaTypeId<Decimal>())
            text = v.value<Decimal>().toString();
        else if (v.typeId() == QMetaType::QDate)
            text = v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        else
            text = v.toString();
        QByteArray bytes = text.toUtf8();
        if (unsigned(bytes.size()) > s.length)
            throw DbError({335544321}, QStringLiteral("arithmetic exception, numeric overflow, or string truncation\n"
                                                      "-string right truncation"));
        if (s.type == SQL_VARYING) {
            *reinterpret_cast<uint16_t *>(p) = uint16_t(bytes.size());
            std::memcpy(p + 2, bytes.constData(), size_t(bytes.size()));
        } else {
            std::memset(p, ' ', s.length);
            std::memcpy(p, bytes.constData(), size_t(bytes.size()));
        }
        break;
    }
    case SQL_TYPE_DATE: {
        const QDate d = toDate(v);
        *reinterpret_cast<ISC_DATE *>(p) = util()->encodeDate(unsigned(d.year()), unsigned(d.month()), unsigned(d.day()));
        break;
    }
    case SQL_TIMESTAMP: {
        const QDateTime dt = v.typeId() == QMetaType::QDateTime ? v.toDateTime() : QDateTime(toDate(v), QTime(0, 0));
        auto *ts = reinterpret_cast<ISC_TIMESTAMP *>(p);
        ts->timestamp_date = util()->encodeDate(unsigned(dt.date().year()), unsigned(dt.date().month()),
                                                unsigned(dt.date().day()));
        const QTime t = dt.time();
        ts->timestamp_time = util()->encodeTime(unsigned(t.hour()), unsigned(t.minute()), unsigned(t.second()),
                                                unsigned(t.msec() * 10));
        break;
    }
    case SQL_TYPE_TIME: {
        const QTime t = v.toTime();
        *reinterpret_cast<ISC_TIME *>(p) =
            util()->encodeTime(unsigned(t.hour()), unsigned(t.minute()), unsigned(t.second()), unsigned(t.msec() * 10));
        break;
    }
    case SQL_BOOLEAN: *p = v.toBool() ? 1 : 0; break;
    default: throw DbError(QStringLiteral("Tipo di parametro non gestito"));
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Statement and result set

struct Statement::Impl {
    Transaction &tr;
    IStatement *stmt = nullptr;
    Message in, out;
    unsigned type = 0;
    int affected = 0;
    bool executedWithOutput = false;
    explicit Impl(Transaction &t) : tr(t) {}
    ~Impl()
    {
        if (stmt) {
            try {
                Status st;
                stmt->free(&st);
            } catch (const FbException &) {
                stmt->release();
            }
        }
    }
};

struct ResultSet::Impl {
    IResultSet *rs = nullptr;
    Message *out = nullptr; // owned by the statement
    IAttachment *att = nullptr;
    ITransaction *tr = nullptr;
    bool fetched = false;
    ~Impl()
    {
        if (rs) {
            try {
                Status st;
                rs->close(&st);
            } catch (const FbException &) {
                rs->release();
            }
        }
    }
};

Statement::Statement(Transaction &tr, const QString &sql, bool parseParams)
    : impl_(std::make_unique<Impl>(tr)), sql_(sql)
{
    const QString text = parseParams ? parseNamedParams(sql, &paramNames_) : sql;
    if (!tr.attachment().isOpen())
        throw DbError(QStringLiteral("Database non connesso"));
    tr.ensureStarted();
    const QByteArray utf8 = text.toUtf8();
    guarded([&] {
        Status st;
        impl_->stmt = tr.attachment().impl()->att->prepare(&st, tr.impl()->tr, utf8.size(), utf8.constData(), 3,
                                                          IStatement::PREPARE_PREFETCH_METADATA);
        impl_->type = impl_->stmt->getType(&st);
        impl_->in.describe(impl_->stmt->getInputMetadata(&st), false);
        impl_->out.describe(impl_->stmt->getOutputMetadata(&st), true);
    });
    for (unsigned i = 0; i < impl_->in.vars.size(); ++i)
        impl_->in.setNull(i, true);
    while (paramNames_.size() < int(impl_->in.vars.size()))
        paramNames_ << QString();
}

Statement::~Statement() = default;

int Statement::paramCount() const { return int(impl_->in.vars.size()); }

void Statement::setParam(int index, const QVariant &value)
{
    if (index < 0 || index >= paramCount())
        throw DbError(QStringLiteral("Parametro %1 inesistente").arg(index));
    writeValue(impl_->in, unsigned(index), value);
}

bool Statement::setParam(const QString &name, const QVariant &value)
{
    bool found = false;
    for (int i = 0; i < paramNames_.size(); ++i) {
        if (paramNames_[i].compare(name, Qt::CaseInsensitive) == 0) {
            setParam(i, value);
            found = true;
        }
    }
    return found;
}

void Statement::clearParams()
{
    for (unsigned i = 0; i < impl_->in.vars.size(); ++i)
        impl_->in.setNull(i, true);
}

const std::vector<ColumnInfo> &Statement::columns() const { return impl_->out.columns; }

void Statement::execute()
{
    Transaction &tr = impl_->tr;
    tr.ensureStarted();
    guarded([&] {
        Status st;
        const bool hasOut = !impl_->out.vars.empty();
        if (impl_->type == isc_info_sql_stmt_select && hasOut) {
            // A select run without a cursor: fetch the first row only.
            IResultSet *rs = impl_->stmt->openCursor(&st, tr.impl()->tr, impl_->in.meta, impl_->in.buffer.data(),
                                                     impl_->out.meta, 0);
            const int rc = rs->fetchNext(&st, impl_->out.buffer.data());
            rs->close(&st);
            impl_->executedWithOutput = rc == IStatus::RESULT_OK;
            impl_->affected = 0;
            return;
        }
        impl_->stmt->execute(&st, tr.impl()->tr, impl_->in.meta, impl_->in.buffer.data(),
                             hasOut ? impl_->out.meta : nullptr, hasOut ? impl_->out.buffer.data() : nullptr);
        impl_->executedWithOutput = hasOut;
        impl_->affected = int(impl_->stmt->getAffectedRecords(&st));
    });
}

QVariant Statement::value(int i) const
{
    if (!impl_->executedWithOutput || i < 0 || i >= int(impl_->out.vars.size()))
        return QVariant();
    return guarded(
        [&] { return readValue(impl_->out, unsigned(i), impl_->tr.attachment().impl()->att, impl_->tr.impl()->tr); });
}

int Statement::affectedRows() const { return impl_->affected; }

std::unique_ptr<ResultSet> Statement::open()
{
    Transaction &tr = impl_->tr;
    tr.ensureStarted();
    auto rsImpl = std::make_unique<ResultSet::Impl>();
    guarded([&] {
        Status st;
        rsImpl->rs = impl_->stmt->openCursor(&st, tr.impl()->tr, impl_->in.meta, impl_->in.buffer.data(),
                                             impl_->out.meta, 0);
    });
    rsImpl->out = &impl_->out;
    rsImpl->att = tr.attachment().impl()->att;
    rsImpl->tr = tr.impl()->tr;
    return std::make_unique<ResultSet>(std::move(rsImpl));
}

ResultSet::ResultSet(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ResultSet::~ResultSet() = default;

bool ResultSet::next()
{
    if (!impl_->rs)
        return false;
    return guarded([&] {
        Status st;
        const int rc = impl_->rs->fetchNext(&st, impl_->out->buffer.data());
        impl_->fetched = rc == IStatus::RESULT_OK;
        return impl_->fetched;
    });
}

QVariant ResultSet::value(int i) const
{
    if (!impl_->fetched || i < 0 || i >= int(impl_->out->vars.size()))
        return QVariant();
    return guarded([&] { return readValue(*impl_->out, unsigned(i), impl_->att, impl_->tr); });
}

int ResultSet::columnCount() const { return int(impl_->out->vars.size()); }
const std::vector<ColumnInfo> &ResultSet::columns() const { return impl_->out->columns; }

void ResultSet::close()
{
    if (!impl_->rs)
        return;
    IResultSet *rs = impl_->rs;
    impl_->rs = nullptr;
    impl_->fetched = false;
    guarded([&] {
        Status st;
        rs->close(&st);
    });
}

// ---------------------------------------------------------------------------------------------
// Helpers

QVariant selectValue(Transaction &tr, const QString &sql, const QVariantList &params)
{
    Statement s(tr, sql, false);
    for (int i = 0; i < params.size(); ++i)
        s.setParam(i, params[i]);
    auto rs = s.open();
    return rs->next() ? rs->value(0) : QVariant();
}

int exec(Transaction &tr, const QString &sql, const QVariantList &params)
{
    Statement s(tr, sql, false);
    for (int i = 0; i < params.size(); ++i)
        s.setParam(i, params[i]);
    s.execute();
    return s.affectedRows();
}

QString parseNamedParams(const QString &sql, QStringList *names)
{
    QString out;
    out.reserve(sql.size());
    names->clear();
    const int n = sql.size();
    for (int i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) { // quoted text or identifier
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            int j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            int j = sql.indexOf(QStringLiteral("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_'))) {
            int j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_') || sql[j] == QLatin1Char('$')))
                ++j;
            names->append(sql.mid(i + 1, j - i - 1));
            out += QLatin1Char('?');
            i = j;
        } else if (c == QLatin1Char('?')) {
            names->append(QString());
            out += c;
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString quoted(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

} // namespace db
