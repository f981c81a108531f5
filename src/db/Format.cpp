#include "Format.h"

#include <QStringList>

namespace db {

QString formatNumber(Decimal value, const QString &format)
{
    if (format.isEmpty())
        return formatPlain(value);
    // Split the picture into prefix literal, digit picture and suffix literal.
    int start = 0;
    while (start < format.size() && !QStringLiteral("#0,.").contains(format[start]))
        ++start;
    int end = start;
    while (end < format.size() && QStringLiteral("#0,.").contains(format[end]))
        ++end;
    const QString prefix = format.left(start);
    const QString picture = format.mid(start, end - start);
    const QString suffix = format.mid(end);

    const int point = picture.indexOf(QLatin1Char('.'));
    const QString intPic = point < 0 ? picture : picture.left(point);
    const QString fracPic = point < 0 ? QString() : picture.mid(point + 1);
    const bool grouping = intPic.contains(QLatin1Char(','));
    const int minFrac = int(fracPic.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPic.count(QLatin1Char('#')));
    const int minInt = int(intPic.count(QLatin1Char('0')));

    QString plain = value.round(maxFrac).toString(maxFrac); // "-1234.50"
    const bool neg = plain.startsWith(QLatin1Char('-'));
    if (neg)
        plain.remove(0, 1);
    QString ip = plain.section(QLatin1Char('.'), 0, 0);
    QString fp = plain.section(QLatin1Char('.'), 1, 1);
    while (fp.size() > minFrac && fp.endsWith(QLatin1Char('0')))
        fp.chop(1);
    if (ip == QLatin1String("0") && minInt == 0)
        ip.clear();
    while (ip.size() < minInt)
        ip.prepend(QLatin1Char('0'));
    if (grouping) {
        for (int i = ip.size() - 3; i > 0; i -= 3)
            ip.insert(i, QLatin1Char('.'));
    }
    QString out = ip;
    if (!fp.isEmpty())
        out += QLatin1Char(',') + fp;
    if (out.isEmpty())
        out = QStringLiteral("0");
    const bool isZero = fp.count(QLatin1Char('0')) == fp.size() && (ip.isEmpty() || ip.count(QLatin1Char('0')) + ip.count(QLatin1Char('.')) == ip.size());
    return (neg && !isZero ? QStringLiteral("-") : QString()) + prefix + out + suffix;
}

QString formatPlain(Decimal value)
{
    QString s = value.toString();
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString formatDate(const QDate &d) { return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString(); }

QDate parseDate(const QString &text)
{
    const QString t = text.trimmed();
    for (const char *f : {"dd/MM/yyyy", "d/M/yyyy", "dd/MM/yy", "d/M/yy", "dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd"}) {
        QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid()) {
            if (QString::fromLatin1(f).endsWith(QLatin1String("/yy")) && d.year() < 1950)
                d = d.addYears(100);
            return d;
        }
    }
    return QDate();
}

} // namespace db
