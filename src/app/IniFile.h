#pragma once
// The program's own "key=value" files (Brivola.ini, firebird.ini): no sections, read whole as a
// list of lines. A key is the text before the first "=" of a line, compared without regard to
// case; the first line with that key wins; its value is everything after the first "=", kept
// exactly as written (no trimming). Lines without "=" are kept but never match a key.
#include <QString>
#include <QStringList>
#include <optional>

class IniFile {
public:
    // Reads the whole file. On failure returns false, leaves the lines empty and sets errorString().
    bool load(const QString &path);
    // Writes every line followed by the file's own line break (the one it was loaded with, "\n" for a
    // new list), in the encoding it was loaded with. On failure returns false and sets errorString().
    bool save(const QString &path);

    // The value of the first line whose key is `key`, or nothing when no line has that key.
    std::optional<QString> value(const QString &key) const;
    // Replaces the first line with that key by key + "=" + value, or appends such a line at the end.
    void setValue(const QString &key, const QString &value);

    const QStringList &lines() const { return lines_; }
    QString errorString() const { return error_; }

private:
    int indexOf(const QString &key) const;

    QStringList lines_;
    QString lineBreak_ = QStringLiteral("\n");
    bool bom_ = false;      // the file began with a byte order mark, kept when saving
    bool latin1_ = false;   // the file was not valid UTF-8: read and written byte for byte
    QString error_;
};
