#pragma once
// Numbers and dates shown the Italian way: a comma for decimals, a point for thousands, dates as
// DD/MM/YYYY. Number formats are the desktop's picture formats: "0" a digit always shown, "#" a
// digit shown when significant, "," (anywhere before the point) thousands grouping, "." the decimal
// point, anything else literal ("##0.00%" shows 12,50%; the value is not scaled).
#include "Decimal.h"

#include <QDate>
#include <QString>

namespace db {

QString formatNumber(Decimal value, const QString &format);
// Without a format: the plain value with a decimal comma and no grouping ("1234,5").
QString formatPlain(Decimal value);
QString formatDate(const QDate &d);
// DD/MM/YYYY (also D/M/YY, DD.MM.YYYY, YYYY-MM-DD); invalid date when not a date.
QDate parseDate(const QString &text);

} // namespace db
