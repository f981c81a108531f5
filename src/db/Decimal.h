#pragma once
// Fixed-point decimal: a signed 64-bit count of ten-thousandths. Products and quotients are exact
// before they are rounded half to even to 4 places. Used for every quantity, price and percentage.
#include <QMetaType>
#include <QString>
#include <cstdint>
#include <optional>

namespace db {

class Decimal {
public:
    static constexpr int Places = 4;
    static constexpr int64_t Scale = 10000;

    constexpr Decimal() = default;
    constexpr Decimal(int v) : raw_(int64_t(v) * Scale) {}
    static constexpr Decimal fromRaw(int64_t raw)
    {
        Decimal d;
        d.raw_ = raw;
        return d;
    }
    // A scaled integer as read from a NUMERIC column (value = unscaled * 10^scale, scale <= 0),
    // rounded half to even when it has more than 4 places.
    static Decimal fromScaled(int64_t unscaled, int scale);
    // Text with a point or a comma as decimal separator; thousands points are accepted when a
    // comma is present ("1.234,56"). nullopt when the text is not a number.
    static std::optional<Decimal> parse(const QString &text);
    static Decimal fromDouble(double v);

    constexpr int64_t raw() const { return raw_; }
    // The unscaled integer for a NUMERIC column of the given scale (scale <= 0), half to even.
    int64_t toScaled(int scale) const;
    double toDouble() const { return double(raw_) / Scale; }
    // Plain text with a point and the given number of places ("12.50"), half to even.
    QString toString(int places = Places) const;

    // Rounded to the given number of places: half to even, or half away from zero.
    Decimal round(int places) const;
    Decimal roundHalfUp(int places) const;
    bool isZero() const { return raw_ == 0; }

    Decimal operator-() const { return fromRaw(-raw_); }
    Decimal operator+(Decimal o) const { return fromRaw(raw_ + o.raw_); }
    Decimal operator-(Decimal o) const { return fromRaw(raw_ - o.raw_); }
    Decimal operator*(Decimal o) const;
    Decimal operator/(Decimal o) const; // throws DbError-free std::domain_error on division by zero
    Decimal &operator+=(Decimal o) { raw_ += o.raw_; return *this; }
    Decimal &operator-=(Decimal o) { raw_ -= o.raw_; return *this; }
    Decimal &operator*=(Decimal o) { return *this = *this * o; }
    Decimal &operator/=(Decimal o) { return *this = *this / o; }
    auto operator<=>(const Decimal &) const = default;

private:
    int64_t raw_ = 0;
};

} // namespace db

Q_DECLARE_METATYPE(db::Decimal)
