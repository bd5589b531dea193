// Late-payment penalties and the two instalments of a tax.

#include "cash/penalties.h"

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

struct PenaltyCase {
    const char* what;
    QDate from, to;
    qint64 amount;
    std::int64_t expected;
};

TEST(ComputePenalty, MonthBoundariesDaysBeforeTheSwitchAndRounding) {
    const PenaltyCase cases[] = {
        {"31 Mar -> 1 Apr crosses one month", {2015, 3, 31}, {2015, 4, 1}, 100, 2},
        {"within one month costs nothing", {2015, 1, 1}, {2015, 1, 31}, 100, 0},
        {"31 Mar -> 31 Dec, nine months", {2015, 3, 31}, {2015, 12, 31}, 100, 18},
        {"50 lei one month is exactly 1", {2015, 3, 31}, {2015, 4, 30}, 50, 1},
        {"25 lei one month: 0.5 goes up", {2015, 3, 31}, {2015, 4, 30}, 25, 1},
        {"to-date before the from-date", {2015, 5, 1}, {2015, 3, 1}, 100, 0},
        {"nothing owed", {2015, 1, 1}, {2015, 12, 1}, 0, 0},
        {"wholly before 1 July 2010: months and days", {2009, 1, 1}, {2009, 3, 1}, 100, 10},   // 0.04 + 59 x 0.001
        {"ending on the switch day", {2010, 6, 1}, {2010, 7, 1}, 100, 5},                     // 0.02 + 30 x 0.001
        {"across the switch", {2009, 12, 15}, {2010, 8, 15}, 100, 36},                        // 0.14 + 0.198 + 0.02
    };
    for (const PenaltyCase& c : cases)
        EXPECT_EQ(ComputePenalty(false, c.from, c.to, Currency::lei(c.amount)), c.expected) << c.what;
}

TEST(ComputePenalty, WaivedWhenTheRoleIsSpared) {
    EXPECT_EQ(ComputePenalty(true, {2015, 3, 31}, {2015, 12, 31}, Currency::lei(100)), 0);
}

struct SplitCase {
    std::int64_t amount, rest;
    Installments expected;
};

TEST(SplitInstallments, HalvesFromFiftyLeiAndChargesTheLaterInstalmentFirst) {
    const SplitCase cases[] = {
        {49, 49, {49, 0}},   // under 50 lei: all due on 31 March
        {50, 50, {25, 25}},
        {101, 101, {50, 51}}, // the odd leu goes to the second instalment
        {100, 60, {10, 50}},  // 40 paid comes off the first instalment
        {100, 80, {30, 50}},
        {100, 50, {0, 50}},   // first instalment paid in full
        {100, 0, {0, 0}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitInstallments(c.amount, c.rest), c.expected) << c.amount << " / " << c.rest;
}

} // namespace
