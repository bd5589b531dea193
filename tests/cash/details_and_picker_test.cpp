// Debit details, the tax or fine the cashier adds, and the role picker's filters.

#include "cash_test_util.h"

#include "cash/account_claim.h"
#include "cash/debit_details.h"
#include "cash/role_picker.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::Balance;
using vartesa::test::CashFolder;

namespace {

TEST(DebitDetails, LinesDebitsAndCarriedArrearsWithTheirUnits) {
    CashFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.ledgerLine(role, "Salubritate", 60, 0, 0, 0, "buc");           // quantity 0 shows 1
    f.ledgerLine(role, "Amenda", 0, 0);                             // nothing established: left out
    f.debit(role, "Cumparare", {2015, 5, 12}, 100);                 // buildings: "mp", VAL1 as quantity
    f.balance(role, {"Impozit pe teren extravilan", 0, 0, 0, 0, 50, 80, 0}); // arrears 50, credit 80

    const std::vector<DebitDetail> rows = BuildDebitDetails(f.db(), f.env.folders().data, role, 2015);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].group, "Impozit pe cladiri");
    EXPECT_EQ(rows[0].unit, "mp");
    EXPECT_EQ(rows[0].quantity, Currency::parse("120.5").value());
    EXPECT_EQ(rows[0].current, 100);
    EXPECT_EQ(rows[1].name, kCarriedArrearsName);
    EXPECT_EQ(rows[1].arrears, -30);
    EXPECT_EQ(rows[1].from, QDate(2015, 1, 1));
    EXPECT_EQ(rows[2].group, "Salubritate");
    EXPECT_EQ(rows[2].quantity, Currency::lei(1));
}

TEST(AccountClaimTest, AddsAManualLineWithItsReductionPercent) {
    CashFolder f;
    const qint64 role = f.addRole("POPA ION");
    CountersFile counters = f.counters();
    const std::optional<Role> r = f.roles.role(role);
    const qint64 id = AddAccountClaim(f.db(), f.env.folders().data, counters, *r,
                                      {{2015, 4, 2}, "Salubritate", "Proces verbal", 12, {90, 30, 40}});
    db::Query q = f.db().query(QStringLiteral("SELECT * FROM \"%1\" WHERE IDDAT = ?").arg(f.path("Datorii.dbf")), {id});
    ASSERT_EQ(q.count(), 1);
    EXPECT_EQ(q.integer("REDUCP"), 33); // 40 / 120 = 0.3333
    EXPECT_EQ(q.text("TIP"), "M");
    EXPECT_EQ(q.integer("SUMA2"), 90);
    EXPECT_EQ(q.integer("RESTINI"), 30);
    EXPECT_EQ(ReductionPercent({0, 0, 0}), 0) << "no amount: no percentage";
}

class RolePickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.add("CORBU", "12", "ZAHARIA ION", "1800101");
        f.add("ALUNI", "3", QString::fromUtf8("POPA ŞTEFAN"), "2900202");
        f.add("ALUNI", "9", "BARBU ANA", "1800303");
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET ADRESA = 'STR. MARE 4' WHERE ROL = '9'").arg(f.path("Gospodar.dbf")));
        picker.takeSnapshot(f.env.folders().data);
    }
    QStringList names() const {
        QStringList out;
        for (int r = 0; r < picker.count(); ++r) out << picker.role(r).name;
        return out;
    }

    test::RoleFolder f;
    RolePicker picker{f.db()};
};

TEST_F(RolePickerTest, NameMatchesAnywhereCodeAndAddressOnlyAtTheStart) {
    picker.apply({kAnyVillage, QString::fromUtf8("ștef"), {}, {}, {}, kAnyForm});
    EXPECT_EQ(names(), QStringList{QString::fromUtf8("POPA ŞTEFAN")}) << "inside the name, either form of the letter";
    picker.apply({kAnyVillage, {}, "180", {}, {}, kAnyForm});
    EXPECT_EQ(names(), QStringList({"BARBU ANA", "ZAHARIA ION"}));
    picker.apply({kAnyVillage, {}, "0101", {}, {}, kAnyForm});
    EXPECT_EQ(picker.count(), 0) << "a code matches at its start only";
    picker.apply({kAnyVillage, {}, {}, {}, "mare", kAnyForm});
    EXPECT_EQ(picker.count(), 0) << "an address matches at its start only";
    picker.apply({kAnyVillage, {}, {}, {}, "str. m", kAnyForm});
    EXPECT_EQ(names(), QStringList{"BARBU ANA"});
}

TEST_F(RolePickerTest, OrderedByNameOnTheLastRowAndSortingKeepsTheRole) {
    picker.apply({"ALUNI", {}, {}, {}, {}, kAnyForm});
    EXPECT_EQ(names(), QStringList({"BARBU ANA", QString::fromUtf8("POPA ŞTEFAN")}));
    EXPECT_EQ(picker.current(), 1);
    picker.sortBy(PickerColumn::Number);
    EXPECT_EQ(picker.currentRole()->number, "3");
    picker.apply({kAnyVillage, {}, {}, {}, {}, kAnyForm});
    EXPECT_EQ(picker.role(2).number, "12") << "role numbers in numeric order";
    EXPECT_EQ(picker.villages(), QStringList({"ALUNI", "CORBU"}));
}

TEST_F(RolePickerTest, NamesAndVillagesFollowTheRomanianAlphabet) {
    f.add(QString::fromUtf8("ŢIGĂNEŞTI"), "20", QString::fromUtf8("ŢĂRANU ION"));
    f.add("TOPOLOG", "21", QString::fromUtf8("ŢURCANU ION"));
    f.add("ALUNI", "22", QString::fromUtf8("POPA SORIN"));
    picker.takeSnapshot(f.env.folders().data);
    EXPECT_EQ(names(), QStringList({"BARBU ANA", QString::fromUtf8("POPA SORIN"), QString::fromUtf8("POPA ŞTEFAN"),
                                    QString::fromUtf8("ŢĂRANU ION"), QString::fromUtf8("ŢURCANU ION"), "ZAHARIA ION"}));
    EXPECT_EQ(picker.villages(), QStringList({"ALUNI", "CORBU", "TOPOLOG", QString::fromUtf8("ŢIGĂNEŞTI")}));
}

} // namespace
