#pragma once
// Thin RAII layer over Firebird's object API. Nothing above this file sees a Firebird interface.
//
//  - Attachment: one connection. A plain path opens the file with the embedded engine inside the
//    process; "host:/path" goes through a Firebird server.
//  - Transaction: read_committed, rec_version, nowait; commit/rollback with and without retaining.
//    A transaction still active when destroyed is rolled back.
//  - Statement: a prepared statement with positional or :NAME parameters, executed directly or
//    through a ResultSet. Values travel as QVariant: null, qlonglong, db::Decimal, double, QString,
//    QDate, QTime, QDateTime.
#include "DbError.h"
#include "Decimal.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace db {

struct ConnectParams {
    QString user = QStringLiteral("sysdba");
    QString password;
    QString charset = QStringLiteral("UTF8");
};

enum class ColumnKind { Integer, Decimal, Float, Text, Date, Time, Timestamp, Blob, Boolean, Other };

struct ColumnInfo {
    QString name;     // the column's own name (empty for an expression)
    QString alias;    // the name the select gives it; what a field is called
    QString relation; // the table it comes from, when it is a column of a table
    ColumnKind kind = ColumnKind::Other;
    int scale = 0;    // decimal places (positive) for Decimal columns
    int length = 0;   // characters for text, bytes otherwise
    bool nullable = true;
    unsigned sqlType = 0;
};

class Attachment;
class Transaction;

// The engine's process-wide state. shutdown() stops the embedded engine cleanly; call it once at exit.
namespace engine {
void shutdown();
}

class Attachment {
public:
    Attachment();
    ~Attachment();
    Attachment(const Attachment &) = delete;
    Attachment &operator=(const Attachment &) = delete;

    void open(const QString &database, const ConnectParams &params);
    // Creates a new database file (dialect 3, default character set WIN1252) and leaves it open.
    void create(const QString &database, const ConnectParams &params);
    void close();
    bool isOpen() const;
    const QString &database() const { return database_; }
    // Grows at every open or create: a statement prepared on an earlier connection is stale.
    quint64 generation() const { return generation_; }

    // Executes one statement text as it is, without parameters (scripts, DDL).
    void executeImmediate(Transaction &tr, const QString &sql);

    struct Impl;
    Impl *impl() const { return impl_.get(); }

private:
    void connect(const QString &database, const ConnectParams &params, bool createFile);
    std::unique_ptr<Impl> impl_;
    QString database_;
    quint64 generation_ = 0;
};

class Transaction {
public:
    explicit Transaction(Attachment &att);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    Attachment &attachment() const { return att_; }
    void start();
    void ensureStarted()
    {
        if (!isActive())
            start();
    }
    bool isActive() const;
    void commit();
    void commitRetaining();
    void rollback();
    void rollbackRetaining();
    // Forgets the handle without ending it: used when the attachment was closed under it.
    void detachHandle();

    struct Impl;
    Impl *impl() const { return impl_.get(); }

private:
    Attachment &att_;
    std::unique_ptr<Impl> impl_;
};

class ResultSet;

class Statement {
public:
    // parseParams: turn ":NAME" outside quotes and comments into positional parameters. Off for
    // script statements, whose procedure bodies hold colons that must reach the server unchanged.
    Statement(Transaction &tr, const QString &sql, bool parseParams = true);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    const QString &sql() const { return sql_; }
    int paramCount() const;
    // Names of the parameters in order (":NAME" parameters; empty names for "?").
    const QStringList &paramNames() const { return paramNames_; }
    void setParam(int index, const QVariant &value);
    // Sets every parameter of that name (case-insensitive); false when there is none.
    bool setParam(const QString &name, const QVariant &value);
    void clearParams();

    const std::vector<ColumnInfo> &columns() const;
    // Runs a statement without a cursor. For EXECUTE PROCEDURE / RETURNING the single output row
    // can then be read with value().
    void execute();
    // Opens a cursor on a select.
    std::unique_ptr<ResultSet> open();
    // After execute(): the output value of column i.
    QVariant value(int i) const;
    // Rows changed by the last execute (insert/update/delete).
    int affectedRows() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
    QString sql_;
    QStringList paramNames_;
};

class ResultSet {
public:
    ~ResultSet();
    bool next();
    QVariant value(int i) const;
    int columnCount() const;
    const std::vector<ColumnInfo> &columns() const;
    void close();

    struct Impl;
    explicit ResultSet(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> impl_;
};

// Convenience: runs a select and returns the first column of the first row (null when no row).
QVariant selectValue(Transaction &tr, const QString &sql, const QVariantList &params = {});
// Convenience: runs a statement with positional parameters; returns the rows affected.
int exec(Transaction &tr, const QString &sql, const QVariantList &params = {});

// Turns ":NAME" parameters into "?" (outside quoted text and comments) and lists the names.
QString parseNamedParams(const QString &sql, QStringList *names);
// A text written into a statement as a quoted literal, quotes doubled.
QString quoted(const QString &text);

} // namespace db
