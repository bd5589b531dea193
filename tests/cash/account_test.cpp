// The account of a role: instalments, reduction and penalties of the local taxes, the
// debits of the year and the other claims, the total due and the typing rules.

#include "cash_test_util.h"

#include "cash/account_entry.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::Balance;
using vartesa::test::CashFolder;

namespace {

const QString kBuildings = QStringLiteral("Impozit pe cladiri");
const QString kVehicles = QStringLiteral("Impozit pe mijloace de transport");
const QString kIntravilan = QStringLiteral("Impozit pe teren intravilan");
const QString kExtravilan = QStringLiteral("Impozit pe teren extravilan");

AccountRole roleOf(const QString& type, AccountRules rules = {false, true, true, {}}) {
    AccountRole r;
    r.found = true;
    r.role.personType = type;
    r.rules = rules;
    r.year = 2015;
    return r;
}

TaxRow taxRow(std::int64_t amount, std::int64_t rest, std::int64_t reduction, std::int64_t arrears = 0,
              std::int64_t credit = 0) {
    TaxRow t;
    t.group = kBuildings;
    t.amount = amount;
    t.rest = rest;
    t.reduction = reduction;
    t.arrears = arrears;
    t.credit = credit;
    return t;
}

struct TaxCase {
    const char* what;
    TaxRow row;
    AccountRole role;
    QDate date;
    std::int64_t granted, penalties, due;
};

TEST(AccountTaxRow, ReductionAndInstalmentPenaltiesByDateAndRole) {
    AccountRole reducedBefore = roleOf("FIZICA");
    reducedBefore.reduced.insert(kBuildings.toUpper());
    const TaxCase cases[] = {
        {"31 March: reduction offered, no penalty", taxRow(200, 200, 20), roleOf("FIZICA"), {2015, 3, 31}, 20, 0, 180},
        {"1 April: reduction gone, first instalment late", taxRow(200, 200, 20), roleOf("FIZICA"), {2015, 4, 1}, 0, 2, 202},
        {"1 October: both instalments late", taxRow(200, 200, 0), roleOf("FIZICA"), {2015, 10, 1}, 0, 16, 216},
        {"legal person, BonifPJ off", taxRow(200, 200, 20), roleOf("JURIDICA", {false, true, false, {}}), {2015, 2, 1}, 0, 0, 200},
        {"legal person, BonifPJ on", taxRow(200, 200, 20), roleOf("JURIDICA", {false, true, true, {}}), {2015, 2, 1}, 20, 0, 180},
        {"under 50 lei, Bonificatie50 off", taxRow(40, 40, 4), roleOf("FIZICA", {false, false, true, {}}), {2015, 2, 1}, 0, 0, 40},
        {"a reduced receipt this year already", taxRow(200, 100, 20), reducedBefore, {2015, 2, 1}, 0, 0, 100},
        {"arrears: penalty from 1 January", taxRow(0, 0, 0, 100), roleOf("FIZICA"), {2015, 3, 5}, 0, 4, 104},
        // credit 80 over arrears 50: net -30 lowers the total and the first instalment (100 -> 70)
        {"credit larger than arrears", taxRow(200, 200, 0, 50, 80), roleOf("FIZICA"), {2015, 10, 15}, 0, 12, 182},
    };
    for (const TaxCase& c : cases) {
        TaxRow row = c.row;
        ComputeTaxRow(row, c.role, c.date);
        EXPECT_EQ(row.granted, c.granted) << c.what;
        EXPECT_EQ(row.penalties, c.penalties) << c.what;
        EXPECT_EQ(row.due, c.due) << c.what;
    }
}

TEST(AccountTaxRow, NoPenaltyHidesCarriedAndNewPenalties) {
    TaxRow row = taxRow(200, 200, 0, 100);
    row.carried = 15;
    AccountRole spared = roleOf("FIZICA");
    spared.noPenalty = true;
    ComputeTaxRow(row, spared, {2015, 10, 15});
    EXPECT_EQ(row.penalties, 0);
    EXPECT_EQ(row.due, 300);
}

struct DebitCase {
    const char* what;
    const char* kind;
    QDate from;
    std::int64_t open, penalty;
};

TEST(AccountDebitRow, PenaltiesOnlyOnIncreasesAlreadyDue) {
    const DebitCase cases[] = {
        {"purchase from May, five months", "Cumparare", {2015, 5, 1}, 100, 10},
        {"sale never carries penalties", "Vanzare", {2015, 5, 1}, 100, 0},
        {"reduction never carries penalties", "Reducere", {2015, 5, 1}, 100, 0},
        {"due after the calculation date", "Taxa", {2015, 11, 1}, 100, 0},
        {"negative remainder", "Majorare", {2015, 5, 1}, -40, 0},
    };
    for (const DebitCase& c : cases) {
        DebitRow row;
        row.kind = c.kind;
        row.penaltyFrom = c.from;
        row.open = c.open;
        ComputeDebitRow(row, {2015, 10, 15}, false);
        EXPECT_EQ(row.penalty, c.penalty) << c.what;
        EXPECT_EQ(row.due, c.open + c.penalty) << c.what;
    }
}

// Every grid of one role, computed by hand for 15 October 2015.
TEST(AccountGridsTest, WholeRoleAsComputedByHand) {
    CashFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {kBuildings, 200, 200, 20, 0, 100, 0, 15});
    f.balance(role, {kVehicles, 120, 120, 0, 0, 0, 150, 0});
    f.balance(role, {kIntravilan, 40, 40, 0, 0, 0, 0, 0});
    f.balance(role, {kExtravilan, 30, 30, 0, 30, 10, 0, 2});
    f.debit(role, "Cumparare", {2015, 5, 12}, 100);
    f.debit(role, "Vanzare", {2015, 6, 3}, -50);
    f.debit(role, "Majorare", {2015, 6, 3}, 0);
    f.debit(role, "Taxa", {2015, 11, 2}, 30);
    f.ledgerLine(role, "Salubritate", 60, 20, 5);
    f.ledgerLine(role, kBuildings, 200, 0); // a local tax: its own grid
    f.ledgerLine(role, "Amenda", 0, 0);     // nothing left to pay
    const qint64 other = f.addRole("ALTUL");
    f.balance(other, {kBuildings, 500, 500, 0, 0, 0, 0, 0});

    const AccountGrids g = f.account(role, {2015, 10, 15});
    ASSERT_EQ(g.taxes.size(), 4u);
    // Buildings: arrears 100 -> 18 (9 months); instalments 100 + 100 late -> 14 + 2; carried 15.
    EXPECT_EQ(g.taxes[0].penalties, 18 + 14 + 2 + 15);
    EXPECT_EQ(g.taxes[0].due, 100 + 200 + 34 + 15);
    // Vehicles: credit 150 leaves -150 net; it covers the first instalment (60) and the
    // second (60): no penalty; 120 - 150 = -30.
    EXPECT_EQ(g.taxes[1].netArrears, -150);
    EXPECT_EQ(g.taxes[1].due, -30);
    // Intravilan 40 lei, all due 31 March: 40 x 7 x 2 % = 5.6 -> 6.
    EXPECT_EQ(g.taxes[2].due, 46);
    // Extravilan exempt: only the arrears 10, their penalty 1.8 -> 2 and the carried 2.
    EXPECT_EQ(g.taxes[3].current, 0);
    EXPECT_EQ(g.taxes[3].due, 14);

    ASSERT_EQ(g.debits.size(), 3u) << "a debit with nothing left is not listed";
    EXPECT_EQ(g.debits[0].due, 110); // May -> October: 5 x 2 % of 100
    EXPECT_EQ(g.debits[1].due, -50);
    EXPECT_EQ(g.debits[2].due, 30);

    ASSERT_EQ(g.claims.size(), 1u);
    EXPECT_EQ(g.claims[0].due, 60 + 20 - 5);

    EXPECT_EQ(g.total, 349 - 30 + 46 + 14 + 110 - 50 + 30 + 75);
}

TEST(AccountGridsTest, ReducedReceiptOfThisYearOnlyStopsTheReduction) {
    CashFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {kBuildings, 200, 100, 20, 0, 0, 0, 0});
    f.balance(role, {kVehicles, 200, 200, 20, 0, 0, 0, 0});
    f.reducedReceipt(role, kBuildings, {2015, 2, 10});
    f.reducedReceipt(role, kVehicles, {2014, 2, 10});
    const AccountGrids g = f.account(role, {2015, 3, 1});
    EXPECT_EQ(g.taxes[0].granted, 0);
    EXPECT_EQ(g.taxes[1].granted, 20);
}

// Penalties are waived only with the option on and the role marked, as the payment does.
TEST(AccountGridsTest, NoTaxMarkCountsOnlyWithThePenaltyOption) {
    CashFolder f;
    const qint64 role = f.addRole("POPA ION", "FIZICA", true);
    f.balance(role, {kBuildings, 0, 0, 0, 0, 100, 0, 0});
    EXPECT_EQ(f.account(role, {2015, 10, 15}, {false, true, true, {}}).total, 118);
    EXPECT_EQ(f.account(role, {2015, 10, 15}, {true, true, true, {}}).total, 100);
}

TEST(AccountGridsTest, DeletedRoleHasNothing) {
    CashFolder f;
    const AccountGrids g = f.account(999, {2015, 10, 15});
    EXPECT_TRUE(g.taxes.empty() && g.debits.empty() && g.claims.empty());
    EXPECT_EQ(g.total, 0);
}

struct EntryCase {
    const char* what;
    AccountGrid grid;
    std::int64_t due, typed, kept;
};

TEST(AccountEntry, TypedAmountsAreCappedByTheLine) {
    const EntryCase cases[] = {
        {"tax: -500 on a credit of 120", AccountGrid::Taxes, -120, -500, -120},
        // A line without credit gives nothing away: the amount is refused, the row keeps 0.
        {"tax: -50 on 200 owed", AccountGrid::Taxes, 200, -50, 0},
        {"debit: -5 on 100 owed", AccountGrid::Debits, 100, -5, 0},
        {"fine: -500 on 200 owed", AccountGrid::Claims, 200, -500, 0},
        {"tax: overpaying is allowed", AccountGrid::Taxes, 200, 500, 500},
        {"debit: -80 on a credit of 30", AccountGrid::Debits, -30, -80, -30},
        {"fine: 500 on 200 owed", AccountGrid::Claims, 200, 500, 200},
        {"fine: -50 on 200 owed", AccountGrid::Claims, 200, -50, -50},
    };
    for (const EntryCase& c : cases) {
        AccountRow row;
        row.group = kBuildings;
        row.due = c.due;
        EXPECT_EQ(EnterAmount(c.grid, row, c.typed), c.kept) << c.what;
    }
}

TEST(AccountEntry, DoubleClickTogglesAndTheReceiptSums) {
    AccountGrids g;
    g.taxes.push_back(taxRow(200, 200, 0));
    g.taxes[0].due = 200;
    g.claims.push_back({});
    g.claims[0].due = 75;
    EXPECT_EQ(ToggleAmount(AccountGrid::Taxes, g.taxes[0]), 200);
    EXPECT_EQ(ToggleAmount(AccountGrid::Claims, g.claims[0]), 75);
    EXPECT_EQ(SumEnteredAmounts(g), 275);
    EXPECT_EQ(ToggleAmount(AccountGrid::Taxes, g.taxes[0]), 0);
    EXPECT_EQ(SumEnteredAmounts(g), 75);
}

} // namespace
