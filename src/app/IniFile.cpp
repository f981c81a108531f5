#include "IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

bool IniFile::load(const QString &path)
{
    lines_.clear();
    error_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error_ = file.errorString();
        return false;
    }

    // Files written by older installations are in the Windows code page; anything that is not valid
    // UTF-8 is read byte for byte as Latin-1 and written back the same way, so no byte changes.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    latin1_ = utf8.hasError();
    if (latin1_)
        text = QString::fromLatin1(bytes);
    // The UTF-8 decoder drops a leading byte order mark; remember it so saving keeps it.
    bom_ = !latin1_ && bytes.startsWith("\xEF\xBB\xBF");
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    const qsizetype firstBreak = text.indexOf(QLatin1Char('\n'));
    lineBreak_ = (firstBreak > 0 && text.at(firstBreak - 1) == QLatin1Char('\r')) ? QStringLiteral("\r\n")
                                                                                   : QStringLiteral("\n");

    // Lines end at CR LF, LF or a lone CR; the last line needs no line break.
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            lines_ << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines_ << text.mid(start);
    return true;
}

bool IniFile::save(const QString &path)
{
    error_.clear();
    QString text = bom_ ? QString(QChar(0xFEFF)) : QString();
    for (const QString &line : std::as_const(lines_))
        text += line + lineBreak_;
    const QByteArray bytes = latin1_ ? text.toLatin1() : text.toUtf8();

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error_ = file.errorString();
        return false;
    }
    return true;
}

int IniFile::indexOf(const QString &key) const
{
    for (int i = 0; i < lines_.size(); ++i) {
        const QString &line = lines_.at(i);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString &key) const
{
    const int i = indexOf(key);
    if (i < 0)
        return std::nullopt;
    const QString &line = lines_.at(i);
    return line.mid(line.indexOf(QLatin1Char('=')) + 1);
}

void IniFile::setValue(const QString &key, const QString &value)
{
    const QString line = key + QLatin1Char('=') + value;
    const int i = indexOf(key);
    if (i < 0)
        lines_ << line;
    else
        lines_[i] = line;
}
