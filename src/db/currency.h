#pragma once
// Fixed-point money: four decimals in a 64-bit integer. Stored amounts are whole lei;
// computations keep four decimals and `roundToInt` makes an amount whole.

#include <QMetaType>
#include <QString>

#include <compare>
#include <cstdint>
#include <optional>

namespace vartesa {

class Currency {
public:
    static constexpr std::int64_t kScale = 10000; // units per leu

    constexpr Currency() = default;
    /// A whole number of lei.
    constexpr static Currency lei(std::int64_t whole) { return fromRaw(whole * kScale); }
    /// Ten-thousandths of a leu, as held inside.
    constexpr static Currency fromRaw(std::int64_t raw) {
        Currency c;
        c.raw_ = raw;
        return c;
    }
    /// Nearest four-decimal value; ties go away from zero.
    static Currency fromDouble(double value);
    /// Parses "12", "-3.5", " 7.25 " (a comma is read as the decimal point); nullopt otherwise.
    /// More than four decimals round half away from zero.
    static std::optional<Currency> parse(const QString& text);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return double(raw_) / kScale; }
    /// Whole lei, half away from zero: 2.5 -> 3, -0.5 -> -1.
    std::int64_t roundToInt() const;
    /// Text with the given decimals (rounded half away from zero), "." as separator.
    QString toString(int decimals = 2) const;

    constexpr Currency operator-() const { return fromRaw(-raw_); }
    constexpr Currency operator+(Currency o) const { return fromRaw(raw_ + o.raw_); }
    constexpr Currency operator-(Currency o) const { return fromRaw(raw_ - o.raw_); }
    Currency& operator+=(Currency o) { raw_ += o.raw_; return *this; }
    Currency& operator-=(Currency o) { raw_ -= o.raw_; return *this; }
    /// Products and quotients keep four decimals, rounded half away from zero.
    Currency operator*(Currency o) const;
    Currency operator/(Currency o) const; // throws vartesa::Error on division by zero
    constexpr auto operator<=>(const Currency&) const = default;

private:
    std::int64_t raw_ = 0; // value * kScale
};

} // namespace vartesa

Q_DECLARE_METATYPE(vartesa::Currency)
