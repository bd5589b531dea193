// Year debits: the object descriptions, the checks, the signs and the collected part, and
// the vehicle details' capacity rule.

#include "role_test_util.h"

#include "roles/vehicle_details.h"
#include "roles/year_debit.h"

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

QString pairsText(const DebitObject& o) {
    QStringList out{o.name, o.file};
    for (const auto& [field, value] : o.pairs) out << field + '=' + value;
    return out.join('|');
}

DebitDetails vehicle(const QString& text, qint64 capacity, qint64 count) {
    DebitDetails d;
    d.vehicle = text;
    d.capacity = capacity;
    d.count = count;
    return d;
}

TEST(DebitObjects, DescriptionsAsThePagesHoldThem) {
    DebitDetails house;
    house.area = 85.125;
    house.year = 1980;
    house.material = 0;
    house.zone = "B";
    house.rank = "IV";
    DebitDetails annex = house;
    annex.annex = true;
    DebitDetails company;
    company.annex = true;
    company.value = 120000;
    company.depreciated = true;
    company.revaluation = QDate(2014, 4, 1);
    DebitDetails yard;
    yard.category = 0;
    yard.zone = "E";
    yard.area = 350;
    DebitDetails vineyard = yard;
    vineyard.category = 4;
    vineyard.area = 0.25;
    DebitDetails fishPond;
    fishPond.category = 10;
    fishPond.zone = "D";
    fishPond.area = 1.5;
    const struct {
        DebitForm form;
        DebitDetails details;
        const char* expected;
    } cases[] = {
        {DebitForm::PersonBuilding, house, "Cladiri|PAG2|C1S=85.125|C1A=1980|C1C=0|C1Z=B|C1R=IV"},
        {DebitForm::PersonBuilding, annex, "Cladiri-Anexe|PAG2|CAS=85.125|CAA=1980|CAC=0|CAZ=B|CAR=IV"},
        {DebitForm::CompanyBuilding, company, "Cladiri-Anexe|PAG2|VA1=120000|AMA1=DA|DINVA1=01.04.2014"},
        {DebitForm::InsideLand, yard, "Curti-constructii|PAG4|CCE=350"},
        {DebitForm::InsideLand, vineyard, "Vie|PAG4|AL4E=0.25"},
        {DebitForm::OutsideLand, fishPond, "Teren cu amenajari piscicole|PAG1|L11D=1.5"},
        {DebitForm::Vehicle, vehicle("Autobuze,autocare,microbuze (2)", 2400, 3),
         "Autobuze,autocare,microbuze (2)|PAG5|ATB2=2400|ATBNR2=3"},
        {DebitForm::Vehicle, vehicle("Autoturisme cap.cil.   201 -   400 cmc", 0, 2),
         "Autoturisme cap.cil.   201 -   400 cmc|PAG5|AUTO15=2"},
        {DebitForm::Vehicle, vehicle("Alte autovehicule cu masa peste 12 t (3)\t", 7000, 0),
         "Alte autovehicule cu masa peste 12 t (3)\t|PAG5|ALTE3=7000"},
        {DebitForm::Vehicle, vehicle("Vapoare", 1200, 0), "Vapoare|PAG5|APA10=1200"},
        {DebitForm::Vehicle, vehicle("Vehicule 3 axe,peste 25t,fara susp.pneum.", 0, 1),
         "Vehicule 3 axe,peste 25t,fara susp.pneum.|PAG5|G10B=1"},
        {DebitForm::Vehicle, vehicle("Vehicule 2+2 axe,26-28t,susp.pneum.", 0, 2),
         "Vehicule 2+2 axe,26-28t,susp.pneum.|PAG5|GC11A=2"},
        {DebitForm::Vehicle, vehicle("Vehicule neinmatriculate cu cap.neevidentiata", 0, 4),
         "Vehicule neinmatriculate cu cap.neevidentiata|PAG6|VN11=4"},
    };
    for (const auto& c : cases) {
        const DebitObject o = DescribeDebitObject(c.form, c.details);
        EXPECT_EQ(pairsText(o), QString::fromLatin1(c.expected));
        EXPECT_EQ(pairsText(DescribeDebitObject(c.form, DecodeDebitObject(c.form, o))), pairsText(o))
            << "read back for changing: " << c.expected;
    }
}

TEST(DebitObjects, VehicleListAsOffered) {
    const std::vector<VehicleCategory>& list = VehicleCategories();
    ASSERT_EQ(list.size(), 4u + 4 + 5 + 9 + 1 + 4 + 13 + 4 + 4 + 30 + 48 + 3);
    EXPECT_EQ(list[13].text, "Autoturisme cap.cil. 1201 - 1400 cmc");
    EXPECT_EQ(list[13].countField, "AUTO1");
    const auto combination = std::find_if(list.begin(), list.end(), [](const VehicleCategory& c) { return c.countField == "GC1B"; });
    ASSERT_NE(combination, list.end());
    EXPECT_EQ(combination->text, "Vehicule 2+1 axe,12-14t,fara susp.pneum.  ");
    EXPECT_EQ(FindVehicleCategory("Vehicule 2+1 axe,12-14t,fara susp.pneum."), &*combination) << "as the table gives it back";
    const auto firstGoods = std::find_if(list.begin(), list.end(), [](const VehicleCategory& c) { return c.countField.startsWith("G"); });
    EXPECT_EQ(firstGoods->text, "Vehicule 2 axe,12-13t,fara susp.pneum.");
}

DebitEntry entry(DebitKind kind, qint64 amount, DebitDetails details = {}) {
    DebitEntry e;
    e.from = QDate(2015, 3, 17);
    e.tax = "Impozit pe cladiri";
    e.kind = kind;
    e.explanation = "  contract   de  vanzare ";
    e.amount = amount;
    e.details = details;
    return e;
}

TEST(DebitChecks, RefusalsInOrderWithTheirMessages) {
    DebitDetails house;
    house.area = 70;
    house.year = 2000;
    DebitDetails noArea = house;
    noArea.area = 0;
    DebitDetails future = house;
    future.year = 2016;
    DebitDetails old = house;
    old.year = 999;
    DebitDetails land;
    DebitDetails bus = vehicle("Autobuze,autocare,microbuze (1)", 2000, 0);
    DebitDetails busNoCapacity = vehicle("Autobuze,autocare,microbuze (1)", 0, 2);
    const struct {
        DebitForm form;
        DebitKind kind;
        DebitDetails details;
        qint64 amount;
        DebitField field;
        const char* hint;
    } cases[] = {
        {DebitForm::PersonBuilding, DebitKind::Purchase, house, 100, DebitField::None, ""},
        {DebitForm::PersonBuilding, DebitKind::Sale, noArea, 100, DebitField::Area, "Lipseste Suprafata construita!"},
        {DebitForm::PersonBuilding, DebitKind::Purchase, future, 100, DebitField::Year, "Anul construirii este incorect!"},
        {DebitForm::PersonBuilding, DebitKind::Purchase, old, 100, DebitField::Year, "Anul construirii este incorect!"},
        {DebitForm::PersonBuilding, DebitKind::Increase, noArea, 100, DebitField::None, ""},
        {DebitForm::CompanyBuilding, DebitKind::Purchase, land, 100, DebitField::Value, "Lipseste Valoarea de inventar!"},
        {DebitForm::InsideLand, DebitKind::Sale, land, 100, DebitField::Area, "Lipseste Suprafata!"},
        {DebitForm::OutsideLand, DebitKind::Purchase, land, 100, DebitField::None, ""},
        {DebitForm::Vehicle, DebitKind::Purchase, busNoCapacity, 100, DebitField::Capacity, "Lipseste Capacitatea!"},
        {DebitForm::Vehicle, DebitKind::Purchase, bus, 100, DebitField::Count, "Lipseste Cantitatea (buc.)!"},
        {DebitForm::Vehicle, DebitKind::Fee, bus, 100, DebitField::None, ""},
        {DebitForm::PersonBuilding, DebitKind::Purchase, house, -5, DebitField::Amount,
         "Valoarea Impozitului (Debitului) nu poate fi negativa!"},
    };
    for (const auto& c : cases) {
        DebitEntry e = entry(c.kind, c.amount, c.details);
        const DebitProblem p = TidyAndCheckDebit(e, c.form, 2015);
        EXPECT_EQ(p.field, c.field) << c.hint;
        EXPECT_EQ(p.hint, QString::fromLatin1(c.hint));
    }
}

TEST(DebitChecks, KindsWithoutARealObjectStoreItsSizeAsZero) {
    DebitDetails land;
    land.category = 1;
    land.zone = "C";
    land.area = 2.5;
    const struct {
        DebitForm form;
        DebitKind kind;
        const char* pair;
    } cases[] = {
        {DebitForm::InsideLand, DebitKind::Increase, "AL1C=0"},
        {DebitForm::InsideLand, DebitKind::Sale, "AL1C=2.5"},
        {DebitForm::OutsideLand, DebitKind::Reduction, "L2C=2.5"}, // the extravilan area stays as typed
    };
    for (const auto& c : cases) {
        DebitEntry e = entry(c.kind, 100, land);
        ASSERT_TRUE(TidyAndCheckDebit(e, c.form, 2015).ok());
        EXPECT_EQ(pairsText(BuildYearDebit(e, c.form).object).section('|', 2), QString::fromLatin1(c.pair));
    }
}

TEST(DebitRecord, SignDateAndTidyExplanation) {
    const struct {
        DebitKind kind;
        qint64 stored;
    } cases[] = {{DebitKind::Purchase, 120}, {DebitKind::Sale, -120}, {DebitKind::Reduction, -120},
                 {DebitKind::Increase, 120}, {DebitKind::Fee, 120}};
    DebitDetails house;
    house.area = 70;
    house.year = 2000;
    for (const auto& c : cases) {
        DebitEntry e = entry(c.kind, 120, house);
        ASSERT_TRUE(TidyAndCheckDebit(e, DebitForm::PersonBuilding, 2015).ok());
        const YearDebit d = BuildYearDebit(e, DebitForm::PersonBuilding);
        EXPECT_EQ(d.amount, c.stored) << d.kind.toStdString();
        EXPECT_EQ(d.toCollect, c.stored);
        EXPECT_EQ(EntryFromYearDebit(d, DebitForm::PersonBuilding).amount, 120) << "reopened without sign";
    }
    DebitEntry e = entry(DebitKind::Sale, 120, house);
    TidyAndCheckDebit(e, DebitForm::PersonBuilding, 2015);
    const YearDebit d = BuildYearDebit(e, DebitForm::PersonBuilding);
    EXPECT_EQ(d.monthStart, QDate(2015, 3, 1));
    EXPECT_EQ(d.explanation, "contract de vanzare");
}

class DebitStore : public ::testing::Test {
protected:
    DebitStore() : debits(f.db(), f.env.folders().data) { role = f.add("ALUNI", "5", "ION"); }
    qint64 add(qint64 amount) {
        DebitDetails house;
        house.area = 70;
        house.year = 2000;
        YearDebit d = BuildYearDebit(entry(DebitKind::Purchase, amount, house), DebitForm::PersonBuilding);
        d.roleId = role;
        CountersFile counters = f.counters();
        return debits.add(d, counters);
    }
    // A payment of `paid` with the undo copy it leaves behind.
    void pay(qint64 id, qint64 paid) {
        const YearDebit d = debits.debit(id);
        f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDANUL, IDGOS, IDDEB, SUMAINI, SUMAC) VALUES (3, ?, ?, ?, ?)")
                        .arg(f.path("UndelDebit.dbf")),
                    {role, id, d.amount, d.toCollect});
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET SUMAC = SUMAC - ? WHERE IDDEB = ?").arg(f.path("Debit.dbf")), {paid, id});
    }
    test::RoleFolder f;
    YearDebits debits;
    qint64 role = 0;
};

TEST_F(DebitStore, StoredWithEveryFieldAndReadBack) {
    const qint64 id = add(120);
    const YearDebit d = debits.debit(id);
    EXPECT_EQ(d.roleId, role);
    EXPECT_EQ(d.kind, "Cumparare");
    EXPECT_EQ(d.from, QDate(2015, 3, 17));
    EXPECT_EQ(d.monthStart, QDate(2015, 3, 1));
    EXPECT_EQ(pairsText(d.object), "Cladiri|PAG2|C1S=70|C1A=2000|C1C=1|C1Z=|C1R=");
    EXPECT_EQ(d.toCollect, 120);
}

TEST_F(DebitStore, ChangingACollectedDebitKeepsTheCollectedPart) {
    const qint64 id = add(100);
    pay(id, 30);
    YearDebit changed = debits.debit(id);
    ASSERT_TRUE(changed.hasOperation());
    changed.amount = 150;
    ASSERT_EQ(debits.change(changed), DebitChange::Done);
    const YearDebit d = debits.debit(id);
    EXPECT_EQ(d.amount, 150);
    EXPECT_EQ(d.toCollect, 120);
    const db::Query undo = f.db().query(QStringLiteral("SELECT SUMAINI, SUMAC FROM \"%1\"").arg(f.path("UndelDebit.dbf")));
    EXPECT_EQ(undo.cell(0, 0).toLongLong(), 150) << "cancelling the receipt restores the changed amount";
    EXPECT_EQ(undo.cell(0, 1).toLongLong(), 150);
}

TEST_F(DebitStore, DeleteRefusedWhileCollected) {
    const qint64 collected = add(100);
    const qint64 open = add(80);
    pay(collected, 30);
    EXPECT_EQ(debits.remove(role, collected), DebitChange::HasOperation);
    EXPECT_EQ(debits.remove(role + 1, open), DebitChange::Missing) << "another role's debit";
    EXPECT_EQ(debits.remove(role, open), DebitChange::Done);
    EXPECT_EQ(debits.debitsOf(role).size(), 1u);
}

TEST(VehicleDetailForm, CapacityFromTenUp) {
    for (const qint64 capacity : {0, 9, 10, 1600}) {
        VehicleDetail d;
        d.capacity = capacity;
        d.fileNumber = " ab  12 ";
        const QString hint = TidyAndCheckVehicleDetail(d);
        EXPECT_EQ(hint, capacity < 10 ? "Capacitate incorecta!" : "") << capacity;
        if (hint.isEmpty()) {
            EXPECT_EQ(d.fileNumber, "AB 12");
        }
    }
}

} // namespace
