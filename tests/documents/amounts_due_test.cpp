// The amounts a notice asks: the account's rows on the same day, without the reduction.

#include "cash/cash_test_util.h"

#include "documents/amounts_due.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::Balance;
using vartesa::test::CashFolder;

namespace {

const AccountRules kRules{false, true, true, {}}; // both reductions allowed, penalties for all

AccountGrids amountsDue(CashFolder& f, qint64 role, const QDate& date, bool dropReductions,
                        const AccountRules& rules = kRules) {
    const AccountRole owner = OpenAccountRole(f.db(), f.env.folders().data, rules, role, 2015);
    return ComputeAmountsDue(f.db(), f.env.folders().data, owner, date, owner.noPenalty, dropReductions);
}

TEST(AmountsDue, AreTheAccountsOnEveryDateLessTheReduction) {
    CashFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {"Impozit pe cladiri", 200, 200, 20, 0, 100, 0, 15});
    f.balance(role, {"Impozit pe teren intravilan", 60, 60, 6, 0, 0, 100, 0});
    f.balance(role, {"Impozit pe teren extravilan", 80, 80, 8, 30, 0, 0, 0});
    f.debit(role, "Cumparare", {2015, 2, 12}, 100);
    f.debit(role, "Taxa", {2015, 1, 20}, 40);
    f.ledgerLine(role, "Salubritate", 60, 20, 5);

    const struct {
        QDate date;
        std::int64_t total; // by hand: the reduction of the buildings (20) and intravilan land (6) dropped
    } cases[] = {{{2015, 3, 31}, 200 + 100 + 15 + 4 + (-100 + 60) + 0 + (100 + 2) + (40 + 2) + 75},
                 {{2015, 4, 1}, 200 + 100 + 15 + 6 + 2 + (-100 + 60) + 0 + (100 + 4) + (40 + 2) + 75},
                 {{2015, 10, 10}, 200 + 100 + 15 + 18 + 14 + 2 + (-100 + 60) + 0 + (100 + 16) + (40 + 7) + 75}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date.toString("dd.MM.yyyy").toStdString());
        const AccountGrids account = f.account(role, c.date, kRules);
        const AccountGrids due = amountsDue(f, role, c.date, true);
        EXPECT_EQ(due.total, c.total);
        ASSERT_EQ(due.taxes.size(), 3u);
        std::int64_t granted = 0;
        for (size_t i = 0; i < due.taxes.size(); ++i) {
            const TaxRow &a = account.taxes[i], &d = due.taxes[i];
            EXPECT_EQ(d.group, a.group);
            EXPECT_EQ(d.netArrears, a.netArrears) << i;
            EXPECT_EQ(d.penalties, a.penalties) << i;
            EXPECT_EQ(d.current, d.exemption != 0 ? 0 : d.rest) << "the current amount is REST, row " << i;
            EXPECT_EQ(d.granted, 0) << i;
            granted += a.granted;
        }
        ASSERT_EQ(due.claims.size(), account.claims.size());
        EXPECT_EQ(due.claims[0].due, account.claims[0].due);
        ASSERT_EQ(due.debits.size(), 2u);
        for (size_t i = 0; i < due.debits.size(); ++i) EXPECT_EQ(due.debits[i].due, account.debits[i].due) << i;
        EXPECT_EQ(due.total, account.total + granted) << "only the reduction differs";
        EXPECT_EQ(amountsDue(f, role, c.date, false).total, account.total) << "with the reduction: the account's total";
    }
}

TEST(AmountsDue, FollowTheInstalmentsCreditAndPenaltyRules) {
    const struct {
        const char* name;
        Balance row;
        QDate date;
        bool noTax; // the role is marked NOTAX "DA"
        bool option; // FARAMAJORARI allows the mark
        std::int64_t arrears, current, penalties, due;
    } cases[] = {
        {"49 lei unpaid on 15 April: 2% of 49", {"Impozit pe cladiri", 49, 49}, {2015, 4, 15}, false, false, 0, 49, 1, 50},
        {"51 lei, 30 unpaid: 4 overdue since March, 26 since September",
         {"Impozit pe cladiri", 51, 30}, {2015, 12, 31}, false, false, 0, 30, 1 + 2, 33},
        {"31 March is on time and the reduction is dropped",
         {"Impozit pe cladiri", 200, 200, 20}, {2015, 3, 31}, false, false, 0, 200, 0, 200},
        {"a credit of 100 covers both instalments of 60",
         {"Impozit pe teren intravilan", 60, 60, 0, 0, 0, 100}, {2015, 10, 10}, false, false, -100, 60, 0, -40},
        {"an exempted tax has no current amount",
         {"Impozit pe teren extravilan", 80, 80, 8, 30}, {2015, 10, 10}, false, false, 0, 0, 0, 0},
        {"NOTAX with the option on: no penalties, none carried",
         {"Impozit pe cladiri", 0, 0, 0, 0, 100, 0, 15}, {2015, 10, 10}, true, true, 100, 0, 0, 100},
        {"NOTAX with the option off: penalties charged",
         {"Impozit pe cladiri", 0, 0, 0, 0, 100, 0, 15}, {2015, 10, 10}, true, false, 100, 0, 18 + 15, 133},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CashFolder f;
        const qint64 role = f.addRole("POPA ION", "FIZICA", c.noTax);
        f.balance(role, c.row);
        const AccountRules rules{c.option, true, true, {}};
        const AccountGrids due = amountsDue(f, role, c.date, true, rules);
        ASSERT_EQ(due.taxes.size(), 1u);
        const TaxRow& t = due.taxes[0];
        EXPECT_EQ((std::vector<std::int64_t>{t.netArrears, t.current, t.penalties, t.due, due.total}),
                  (std::vector<std::int64_t>{c.arrears, c.current, c.penalties, c.due, c.due}));
    }
}

TEST(AmountsDue, DebitsCarryPenaltiesByTheirKindUnlessTheRoleIsSpared) {
    const struct {
        const char* kind;
        bool spared; // NOTAX "DA" with FARAMAJORARI on
        std::int64_t penalty;
    } cases[] = {{"Cumparare", false, 10}, {"Majorare", false, 10}, {"Taxa", false, 10},
                 {"Vanzare", false, 0},    {"Taxa", true, 0},       {"Cumparare", true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + (c.spared ? " spared" : ""));
        CashFolder f;
        const qint64 role = f.addRole("POPA ION", "FIZICA", c.spared);
        f.debit(role, c.kind, {2015, 5, 12}, 100); // from 1 May: five month boundaries to 10 October
        const AccountGrids due = amountsDue(f, role, {2015, 10, 10}, true, {c.spared, true, true, {}});
        ASSERT_EQ(due.debits.size(), 1u);
        EXPECT_EQ(due.debits[0].penalty, c.penalty);
        EXPECT_EQ(due.total, 100 + c.penalty);
    }
}

} // namespace
