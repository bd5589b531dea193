#pragma once
// The two computations every collection screen shares: late-payment penalties and the two
// yearly instalments of a local tax.

#include "db/currency.h"

#include <QDate>

#include <cstdint>

namespace vartesa {

/// The day the penalty rule changed: before it each month boundary cost 2 % and each day
/// 0.1 % more; from it on only the month boundaries count.
inline const QDate kPenaltySwitchDate{2010, 7, 1};

/// Month boundaries crossed from `from` to `to`, whatever the days: 31 March to 1 April is 1,
/// 1 January to 31 January is 0. Negative when `to` lies in an earlier month.
int MonthBoundaries(const QDate& from, const QDate& to);

/// Late-payment penalty on `amount` lei owed since `from` and paid on `to`, in whole lei
/// (half away from zero): 2 % for each month boundary crossed; for the time before 1 July
/// 2010 also 0.1 % a day. Nothing when `noPenalty` is set, `to` is not after `from`, or the
/// amount is not positive.
std::int64_t ComputePenalty(bool noPenalty, const QDate& from, const QDate& to, Currency amount);

/// What is still due of each instalment.
struct Installments {
    std::int64_t first = 0;  // due 31 March
    std::int64_t second = 0; // due 30 September
    bool operator==(const Installments&) const = default;
};

/// Splits the still unpaid `rest` of a tax assessed at `amount` lei into the two instalments.
/// A tax of 50 lei or more falls due half (rounded down) on 31 March and the rest on 30
/// September; what was paid comes off the first instalment, so the remainder is charged to
/// the later one first. A smaller tax falls due whole on 31 March.
Installments SplitInstallments(std::int64_t amount, std::int64_t rest);

} // namespace vartesa
