// Spreading the typed amounts over the parts of each line: the kind of document, the
// instalments, penalties and reduction of the local taxes, fees and debits of the year.

#include "cash/payment.h"

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

const QString kBuildings = QStringLiteral("Impozit pe cladiri");
const QString kVehicles = QStringLiteral("Impozit pe mijloace de transport");

// The parts of one line: RESTANTA, MAJOREST, DEPOZIT, CURENT, MAJOR, REDUCERE.
struct Parts {
    std::int64_t arrears = 0, carried = 0, credit = 0, current = 0, penalties = 0, reduction = 0;
    bool operator==(const Parts&) const = default;
};
Parts partsOf(const PaymentLine& l) { return {l.arrears, l.carried, l.credit, l.current, l.penalties, l.reduction}; }
std::ostream& operator<<(std::ostream& os, const Parts& p) {
    return os << '{' << p.arrears << ' ' << p.carried << ' ' << p.credit << ' ' << p.current << ' ' << p.penalties
              << ' ' << p.reduction << '}';
}

AccountRole physicalRole(bool noPenalty = false) {
    AccountRole r;
    r.found = true;
    r.role.personType = QStringLiteral("FIZICA");
    r.rules = {false, true, true, {}};
    r.year = 2015;
    r.noPenalty = noPenalty;
    return r;
}

// One local-tax row as the account screen computes it on `date`, with `paid` typed.
TaxRow tax(const QString& group, std::int64_t amount, std::int64_t rest, std::int64_t reduction,
           std::int64_t arrears, std::int64_t credit, std::int64_t carried, const QDate& date, std::int64_t paid,
           bool noPenalty = false) {
    TaxRow t;
    t.id = 1;
    t.group = group;
    t.amount = amount;
    t.rest = rest;
    t.reduction = reduction;
    t.arrears = arrears;
    t.credit = credit;
    t.carried = carried;
    ComputeTaxRow(t, physicalRole(noPenalty), date);
    t.entered = paid;
    return t;
}

ClaimRow claim(const QString& group, std::int64_t amount, std::int64_t rest, std::int64_t reduction,
               std::int64_t paid) {
    ClaimRow c;
    c.id = 7;
    c.group = group;
    c.document = QStringLiteral("PV 12");
    c.amount = amount;
    c.rest = rest;
    c.reduction = reduction;
    ComputeClaimRow(c);
    c.entered = paid;
    return c;
}

// A purchase debit of `open` lei due from 1 May: 10 % penalty by 15 October.
DebitRow debit(std::int64_t open, std::int64_t paid) {
    DebitRow d;
    d.id = 9;
    d.group = kBuildings;
    d.document = QStringLiteral("Decl. 4");
    d.kind = QStringLiteral("Cumparare");
    d.penaltyFrom = {2015, 5, 1};
    d.open = open;
    ComputeDebitRow(d, {2015, 10, 15}, false);
    d.entered = paid;
    return d;
}

AccountGrids grids(std::vector<TaxRow> taxes, std::vector<ClaimRow> claims = {}, std::vector<DebitRow> debits = {}) {
    AccountGrids g;
    g.taxes = std::move(taxes);
    g.claims = std::move(claims);
    g.debits = std::move(debits);
    g.year = 2015;
    return g;
}

struct AllocationCase {
    const char* what;
    AccountGrids grids;
    QDate date;
    std::vector<Parts> allocation; // the allocation lines, in order
};

TEST(PaymentAllocation, PartsOfEachLineAsTheScreenSpreadsThem) {
    const QDate march{2015, 3, 20}, june{2015, 6, 15}, october{2015, 10, 1}, late{2015, 10, 15};
    const AllocationCase cases[] = {
        {"reduction period, paying REST less the reduction", grids({tax(kBuildings, 200, 200, 20, 0, 0, 0, march, 180)}),
         march, {{0, 0, 0, 200, 0, 20}}},
        {"reduction period, 10 lei more go to credit", grids({tax(kBuildings, 200, 200, 20, 0, 0, 0, march, 190)}),
         march, {{0, 0, 10, 200, 0, 20}}},
        {"reduction period, paying less than due", grids({tax(kBuildings, 200, 200, 20, 0, 0, 0, march, 150)}), march,
         {{0, 0, 0, 150, 0, 0}}},
        {"1 October, 50 lei on the late first instalment (k = 0.4386)",
         grids({tax(kBuildings, 200, 200, 0, 0, 0, 0, october, 50)}), october, {{0, 0, 0, 44, 6, 0}}},
        {"1 October, 120 lei: first instalment whole, then 6 lei of the second (k = 6/102)",
         grids({tax(kBuildings, 200, 200, 0, 0, 0, 0, october, 120)}), october,
         {{0, 0, 0, 100, 14, 0}, {0, 0, 0, 6, 0, 0}}},
        {"arrears 100, carried 20, new penalty 10 in June, paying 65 (k = 0.5)",
         grids({tax(kBuildings, 0, 0, 0, 100, 0, 20, june, 65)}), june, {{50, 10, 0, 0, 5, 0}}},
        {"June: arrears whole, then the first instalment with its penalty in proportion",
         grids({tax(kBuildings, 200, 200, 0, 50, 0, 0, june, 100)}), june,
         // 50 arrears + 5 penalty; then 45 of F 100 + M 6 (3 months): k = 0.4245, m = 3
         {{50, 0, 0, 0, 5, 0}, {0, 0, 0, 42, 3, 0}}},
        {"June: the whole year and more, the excess to credit", grids({tax(kBuildings, 200, 200, 0, 0, 0, 0, june, 210)}),
         june, {{0, 0, 4, 200, 6, 0}}},
        {"credit 300 covers REST 100, the 50 paid go to credit",
         grids({tax(kBuildings, 100, 100, 0, 0, 300, 0, june, 50)}), june, {{0, 0, 50, 0, 0, 0}}},
        {"a tax already paid: the amount goes to credit", grids({tax(kBuildings, 100, 0, 0, 0, 0, 0, late, 30)}), late,
         {{0, 0, 30, 0, 0, 0}}},
        {"fee REST 30, SUMA 100, REDUC 50, paying 80", grids({}, {claim("Salubritate", 100, 30, 50, 80)}), late,
         {{30, 0, 0, 50, 0, 0}}},
        {"fee paying part of its arrears", grids({}, {claim("Salubritate", 100, 30, 0, 20)}), late,
         {{20, 0, 0, 0, 0, 0}}},
        {"debit 100 with penalty 10, paying 55", grids({}, {}, {debit(100, 55)}), late, {{0, 0, 0, 50, 5, 0}}},
        {"debit 100 with penalty 10, paying 120", grids({}, {}, {debit(100, 120)}), late, {{0, 0, 0, 110, 10, 0}}},
        {"payment order taking 40 lei of a tax's credit",
         grids({tax(kBuildings, 100, 0, 0, 0, 120, 0, late, -40)}), late, {{0, 0, -40, 0, 0, 0}}},
    };
    for (const AllocationCase& c : cases) {
        const PaymentAllocation a = AllocatePayment(c.grids, c.date, false);
        ASSERT_TRUE(a.refusal.isEmpty()) << c.what;
        std::vector<Parts> got;
        for (const PaymentLine& l : a.allocation) got.push_back(partsOf(l));
        EXPECT_EQ(got, c.allocation) << c.what;
    }
}

TEST(PaymentAllocation, NewBalancesOfTheRows) {
    const QDate late{2015, 10, 15};
    // 120 on a debit of 100 with penalty 10 leaves -10; 80 on the fee leaves SUMA 50 = REDUC.
    const PaymentAllocation a = AllocatePayment(
        grids({tax(kBuildings, 100, 100, 0, 0, 300, 0, {2015, 6, 15}, 50)}, {claim("Salubritate", 100, 30, 50, 80)},
              {debit(100, 120)}),
        late, false);
    ASSERT_EQ(a.taxes.size(), 1u);
    EXPECT_EQ(a.taxes[0], (TaxBalance{1, 100, 0, 0, 0, 250, 0}));
    EXPECT_EQ(a.claims, (std::vector<ClaimBalance>{{7, 50, 0}}));
    EXPECT_EQ(a.debits, (std::vector<DebitBalance>{{9, -10}}));
    EXPECT_EQ(a.total, 250);
}

// Two taxes and a fine paid: one receipt, one line per name, ordered by DENUM then GRUPA.
TEST(PaymentAllocation, OneReceiptLinePerName) {
    const QDate late{2015, 10, 15};
    const PaymentAllocation a =
        AllocatePayment(grids({tax(kBuildings, 100, 100, 0, 0, 0, 0, late, 100), tax(kVehicles, 60, 60, 0, 0, 0, 0, late, 20)},
                              {claim("Amenda", 50, 0, 0, 50)}),
                        late, false);
    EXPECT_EQ(a.kind, DocumentKind::Receipt);
    ASSERT_EQ(a.lines.size(), 3u);
    EXPECT_EQ(a.lines[0].group, kBuildings);
    EXPECT_EQ(a.lines[1].group, kVehicles);
    EXPECT_EQ(a.lines[2].name, "PV 12");
    std::int64_t sum = 0;
    for (const PaymentLine& l : a.lines) {
        EXPECT_EQ(l.letter, 'C');
        EXPECT_EQ(l.document, "CHITANTA");
        sum += l.total();
    }
    EXPECT_EQ(sum, 170);
}

TEST(PaymentAllocation, KindFromTheSignsOrTheRefusal) {
    const QDate late{2015, 10, 15};
    struct KindCase {
        std::int64_t onTax, onFee;
        QString refusal;
        DocumentKind kind;
    } cases[] = {
        {0, 0, "Nu aveti nimic operat!", DocumentKind::Receipt},
        {100, -100, "", DocumentKind::AccountingNote},
        {100, -90, "Nota contabila nu se inchide cu 0!", DocumentKind::Receipt},
        {0, -20, "", DocumentKind::PaymentOrder},
    };
    for (const KindCase& c : cases) {
        const PaymentAllocation a = AllocatePayment(
            grids({tax(kBuildings, 100, 100, 0, 0, 0, 0, late, c.onTax)}, {claim("Salubritate", 100, 30, 50, c.onFee)}),
            late, false);
        EXPECT_EQ(a.refusal, c.refusal) << c.onTax << ' ' << c.onFee;
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(a.kind, c.kind) << c.onTax << ' ' << c.onFee;
            for (const PaymentLine& l : a.lines) EXPECT_EQ(l.letter, QChar(char(c.kind)));
        }
    }
}

// A role spared penalties pays neither carried penalties nor new ones, and keeps its MAJOR.
TEST(PaymentAllocation, NoPenaltyRoleKeepsCarriedPenalties) {
    const QDate june{2015, 6, 15};
    const PaymentAllocation a = AllocatePayment(grids({tax(kBuildings, 0, 0, 0, 100, 0, 20, june, 130, true)}), june, true);
    ASSERT_EQ(a.allocation.size(), 2u);
    EXPECT_EQ(partsOf(a.allocation[0]), (Parts{100, 0, 0, 0, 0, 0}));
    EXPECT_EQ(partsOf(a.allocation[1]), (Parts{0, 0, 30, 0, 0, 0}));
    EXPECT_EQ(a.taxes[0], (TaxBalance{1, 0, 0, 0, 0, 30, 20}));
}

TEST(PaymentAllocation, SplitEditorKeepsTheLineTotal) {
    const auto split = [](std::int64_t arrears, std::int64_t current, std::int64_t reduction) {
        PaymentLine l;
        l.group = kBuildings;
        l.arrears = arrears;
        l.current = current;
        l.reduction = reduction;
        return l;
    };
    const struct {
        PaymentLine split;
        QString refusal;
    } cases[] = {
        {split(100, 60, 10), ""},
        {split(100, 70, 10), "Suma totala incasata trebuie sa fie 150!\rAcum aveti suma 160. Mai studiati problema..."},
        {split(-20, 170, 0), ""},
        {split(-1000000, 1000150, 0),
         "La Impozit pe cladiri, Ramasita de -1000000 lei nu incape pe chitanta!\r"
         "Sumele au cel mult 6 cifre, intre -99999 si 999999."},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitRefusal(c.split, 150).value_or(""), c.refusal);
}

// An accounting note paying a tax while a debit gives money back grants ERED on the rest.
TEST(PaymentAllocation, AccountingNoteGrantsTheEarlyReduction) {
    const QDate march{2015, 3, 20};
    AccountGrids g = grids({tax(kBuildings, 200, 200, 20, 0, 0, 0, march, 100)}, {}, {debit(100, -100)});
    g.earlyReduction = Currency::lei(10);
    const PaymentAllocation a = AllocatePayment(g, march, false);
    EXPECT_EQ(a.kind, DocumentKind::AccountingNote);
    EXPECT_EQ(a.taxes.at(0).reduction, 10); // 10 % of 200 - 100
    EXPECT_EQ(partsOf(a.allocation.at(0)), (Parts{0, 0, 0, 100, 0, 0}));
}

TEST(PaymentAllocation, OversizedPartIsNamed) {
    PaymentLine l;
    l.group = kBuildings;
    l.current = 999999;
    EXPECT_FALSE(OversizedPart({l}));
    l.current = 1000000;
    EXPECT_EQ(OversizedPart({l}).value_or(""),
              "La Impozit pe cladiri, Curente de 1000000 lei nu incape pe chitanta!\r"
              "Sumele au cel mult 6 cifre, intre -99999 si 999999.");
}

} // namespace
