#include "currency.h"

#include "error.h"

#include <cmath>

namespace vartesa {
namespace {

// a / b rounded half away from zero; b > 0.
__int128 divRound(__int128 a, __int128 b) {
    const __int128 q = a / b, r = a % b;
    if (2 * (r < 0 ? -r : r) >= b) return a < 0 ? q - 1 : q + 1;
    return q;
}

} // namespace

Currency Currency::fromDouble(double value) {
    // The product is nudged by a few ulps so that 2.675 (stored as 2.67499999...) still
    // rounds the way the clerk reads it.
    const double scaled = value * kScale;
    const double nudged = scaled + std::copysign(std::abs(scaled) * 4e-16, scaled);
    return fromRaw(static_cast<std::int64_t>(std::round(nudged)));
}

std::optional<Currency> Currency::parse(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    int i = 0;
    bool negative = false;
    if (t[0] == '-' || t[0] == '+') {
        negative = t[0] == '-';
        ++i;
    }
    __int128 whole = 0;
    int digits = 0;
    for (; i < t.size() && t[i].isDigit(); ++i, ++digits) {
        whole = whole * 10 + t[i].digitValue();
        if (whole > __int128(INT64_MAX / kScale)) return std::nullopt;
    }
    __int128 frac = 0;
    int fracDigits = 0;
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        for (++i; i < t.size() && t[i].isDigit(); ++i, ++fracDigits) {
            if (fracDigits < 18) frac = frac * 10 + t[i].digitValue();
        }
    }
    if (i != t.size() || digits + fracDigits == 0) return std::nullopt;
    __int128 pow = 1;
    for (int k = 0; k < std::min(fracDigits, 18); ++k) pow *= 10;
    const __int128 raw = whole * kScale + divRound(frac * kScale, pow);
    return fromRaw(static_cast<std::int64_t>(negative ? -raw : raw));
}

std::int64_t Currency::roundToInt() const {
    return static_cast<std::int64_t>(divRound(raw_, kScale));
}

QString Currency::toString(int decimals) const {
    decimals = std::clamp(decimals, 0, 4);
    __int128 unit = 1;
    for (int k = decimals; k < 4; ++k) unit *= 10;
    const __int128 v = divRound(raw_, unit);
    const bool negative = v < 0;
    const std::int64_t a = static_cast<std::int64_t>(negative ? -v : v);
    std::int64_t div = 1;
    for (int k = 0; k < decimals; ++k) div *= 10;
    QString s = QString::number(a / div);
    if (decimals > 0) s += '.' + QString::number(a % div).rightJustified(decimals, '0');
    return negative ? '-' + s : s;
}

Currency Currency::operator*(Currency o) const {
    return fromRaw(static_cast<std::int64_t>(divRound(__int128(raw_) * o.raw_, kScale)));
}

Currency Currency::operator/(Currency o) const {
    if (o.raw_ == 0) throw Error(QStringLiteral("Impartire la zero"));
    __int128 num = __int128(raw_) * kScale, den = o.raw_;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    return fromRaw(static_cast<std::int64_t>(divRound(num, den)));
}

} // namespace vartesa
