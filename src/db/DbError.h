#pragma once
#include <QList>
#include <QString>
#include <exception>

namespace db {

// A database error: every gds code of the server's status vector and the server's own text.
class DbError : public std::exception {
public:
    DbError(QList<qint64> codes, QString text);
    explicit DbError(QString text) : DbError({}, std::move(text)) {}

    const QList<qint64> &codes() const { return codes_; }
    const QString &text() const { return text_; }
    bool hasCode(qint64 code) const { return codes_.contains(code); }
    // A concurrent update on a nowait transaction: lock conflict, or deadlock / update conflict,
    // which is how Firebird 3 reports it.
    bool isLockConflict() const;
    const char *what() const noexcept override { return utf8_.constData(); }

    static constexpr qint64 LockConflict = 335544345;
    static constexpr qint64 Deadlock = 335544336;
    static constexpr qint64 UpdateConflict = 335544451;

private:
    QList<qint64> codes_;
    QString text_;
    QByteArray utf8_;
};

// The silent abort: caught by every event dispatch and user-interface entry point without a message.
class Abort : public std::exception {
public:
    const char *what() const noexcept override { return "Abort"; }
};

[[noreturn]] inline void abort() { throw Abort(); }

} // namespace db
