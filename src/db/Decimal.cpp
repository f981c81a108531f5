#include "Decimal.h"

#include <stdexcept>

namespace db {

namespace {

using i128 = __int128;

int64_t pow10(int n)
{
    int64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// q = n / d rounded half to even (d > 0).
i128 divHalfEven(i128 n, i128 d)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    i128 q = n / d;
    i128 r = n % d;
    if (r == 0)
        return q;
    i128 twice = (r < 0 ? -r : r) * 2;
    const int sign = n < 0 ? -1 : 1;
    if (twice > d || (twice == d && (q % 2 != 0)))
        q += sign;
    return q;
}

i128 divHalfUp(i128 n, i128 d)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    i128 q = n / d;
    i128 r = n % d;
    if ((r < 0 ? -r : r) * 2 >= d && r != 0)
        q += n < 0 ? -1 : 1;
    return q;
}

int64_t checked(i128 v)
{
    if (v > INT64_MAX || v < INT64_MIN)
        throw std::overflow_error("Decimal overflow");
    return int64_t(v);
}

} // namespace

Decimal Decimal::fromScaled(int64_t unscaled, int scale)
{
    // value = unscaled * 10^scale; raw = value * 10^4
    const int shift = Places + scale;
    if (shift >= 0)
        return fromRaw(checked(i128(unscaled) * pow10(shift)));
    return fromRaw(checked(divHalfEven(unscaled, pow10(-shift))));
}

int64_t Decimal::toScaled(int scale) const
{
    const int shift = -scale - Places; // unscaled = raw * 10^(−scale−4)
    if (shift >= 0)
        return checked(i128(raw_) * pow10(shift));
    return checked(divHalfEven(raw_, pow10(-shift)));
}

std::optional<Decimal> Decimal::parse(const QString &input)
{
    QString t = input.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (t.contains(QLatin1Char(','))) {
        t.remove(QLatin1Char('.'));
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    bool neg = false;
    int i = 0;
    if (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+')) {
        neg = t[0] == QLatin1Char('-');
        i = 1;
    }
    i128 intPart = 0;
    i128 frac = 0;
    int fracDigits = 0;
    bool seenPoint = false, seenDigit = false;
    int extraDigit = -1; // the first digit beyond the 4th place, for rounding
    bool extraNonZero = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('.')) {
            if (seenPoint)
                return std::nullopt;
            seenPoint = true;
            continue;
        }
        if (!c.isDigit())
            return std::nullopt;
        seenDigit = true;
        const int d = c.digitValue();
        if (!seenPoint) {
            intPart = intPart * 10 + d;
            if (intPart > i128(INT64_MAX / Scale))
                return std::nullopt;
        } else if (fracDigits < Places) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else if (extraDigit < 0) {
            extraDigit = d;
        } else if (d != 0) {
            extraNonZero = true;
        }
    }
    if (!seenDigit)
        return std::nullopt;
    while (fracDigits < Places) {
        frac *= 10;
        ++fracDigits;
    }
    i128 raw = intPart * Scale + frac;
    if (extraDigit > 5 || (extraDigit == 5 && (extraNonZero || raw % 2 != 0)))
        raw += 1;
    return fromRaw(checked(neg ? -raw : raw));
}

Decimal Decimal::fromDouble(double v)
{
    return parse(QString::number(v, 'f', 10)).value_or(Decimal());
}

QString Decimal::toString(int places) const
{
    const Decimal r = round(places);
    int64_t v = r.raw_;
    const bool neg = v < 0;
    uint64_t a = neg ? uint64_t(-(v + 1)) + 1 : uint64_t(v);
    QString s = QString::number(a / Scale);
    if (places > 0) {
        QString f = QString::number(a % Scale).rightJustified(Places, QLatin1Char('0'));
        if (places < Places)
            f.truncate(places);
        else
            f += QString(places - Places, QLatin1Char('0'));
        s += QLatin1Char('.') + f;
    }
    return neg && a != 0 ? QLatin1Char('-') + s : s;
}

Decimal Decimal::round(int places) const
{
    if (places >= Places)
        return *this;
    const int64_t unit = pow10(Places - places);
    return fromRaw(checked(divHalfEven(raw_, unit) * unit));
}

Decimal Decimal::roundHalfUp(int places) const
{
    if (places >= Places)
        return *this;
    const int64_t unit = pow10(Places - places);
    return fromRaw(checked(divHalfUp(raw_, unit) * unit));
}

Decimal Decimal::operator*(Decimal o) const { return fromRaw(checked(divHalfEven(i128(raw_) * o.raw_, Scale))); }

Decimal Decimal::operator/(Decimal o) const
{
    if (o.raw_ == 0)
        throw std::domain_error("Division by zero");
    return fromRaw(checked(divHalfEven(i128(raw_) * Scale, o.raw_)));
}

} // namespace db
