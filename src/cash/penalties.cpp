#include "cash/penalties.h"

#include <algorithm>

namespace vartesa {

namespace {

constexpr std::int64_t kPerMonth = 200; // 2 %, in ten-thousandths
constexpr std::int64_t kPerDay = 10;    // 0.1 %, in ten-thousandths
constexpr std::int64_t kSplitThreshold = 50; // lei: smaller taxes are not split

// A rate held as the money type does: four decimals.
Currency rate(std::int64_t tenThousandths) { return Currency::fromRaw(tenThousandths); }

} // namespace

int MonthBoundaries(const QDate& from, const QDate& to) {
    return (12 * to.year() + to.month()) - (12 * from.year() + from.month());
}

std::int64_t ComputePenalty(bool noPenalty, const QDate& from, const QDate& to, Currency amount) {
    if (noPenalty || !from.isValid() || !to.isValid() || to <= from || amount <= Currency()) return 0;
    QDate start = from;
    Currency partial;
    if (start < kPenaltySwitchDate) {
        const QDate end = std::min(to, kPenaltySwitchDate);
        partial = amount * rate(MonthBoundaries(start, end) * kPerMonth + start.daysTo(end) * kPerDay);
        start = end;
    }
    if (to == start) return partial.roundToInt();
    return (amount * rate(MonthBoundaries(start, to) * kPerMonth) + partial).roundToInt();
}

Installments SplitInstallments(std::int64_t amount, std::int64_t rest) {
    if (amount < kSplitThreshold) return {rest, 0};
    const std::int64_t first = amount / 2;
    const std::int64_t second = amount - first;
    if (second >= rest) return {0, rest};
    return {std::max<std::int64_t>(rest - second, 0), second};
}

} // namespace vartesa
