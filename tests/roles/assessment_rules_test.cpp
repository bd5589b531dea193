// The rules of "Adaugare la plata" at their edges: house area bands, ages and orders, the
// extravilan exemption consumed across categories, started units of capacity and tonnage,
// the reductions of legal persons, and lines that disappear when their tax does.

#include "assessment_test_util.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::AssessmentFolder;

namespace {

const QString kCladiri = QStringLiteral("Cladiri");

// One house per role: area, year, stored order; rate 10 lei/m2 (zone A, rank IV, material
// "1 SAU 2") and a quota of 10 %, so the tax is the area in lei before the factors.
struct HouseCase {
    double area;
    int year;
    int order;
    qint64 tax;
    const char* why;
};

TEST(AssessmentHouses, AreaAgeAndOrderFactors) {
    AssessmentFolder f;
    f.constants.setText("ICZAR4", "10");
    f.constants.setText("CotaMajC", "10");
    const HouseCase cases[] = {
        {40, 2010, 1, 40, "40 m2: no increase"},
        {150, 2010, 1, 150, "150 m2: no increase"},
        {150.01, 2010, 1, 158, "150.01 m2: +5 % (157.51)"},
        {200, 2010, 1, 210, "200 m2: +5 %"},
        {200.01, 2010, 1, 220, "200.01 m2: +10 % (220.01)"},
        {100, 1985, 1, 100, "30 years: factor 1"},
        {100, 1984, 1, 90, "31 years: 0.9"},
        {100, 1965, 1, 90, "50 years: 0.9"},
        {100, 1964, 1, 80, "51 years: 0.8"},
        {100, 0, 1, 80, "no year counts as older than 50"},
        {100, 2010, 0, 100, "inherited house: factor 1"},
        {100, 2010, 2, 165, "second house: 1.65"},
        {100, 2010, 3, 250, "third house: 2.5"},
        {100, 2010, 4, 400, "fourth house: 4"},
        {100, 2010, 8, 400, "order 8 of the blank row counts like 4"},
        {100, 2010, 11, 100, "order 11: factor 1"},
    };
    int n = 0;
    for (const HouseCase& c : cases) {
        const qint64 id = f.role(QString::number(++n));
        f.page("Pag2.dbf", id, "C1S = ?, C1A = ?, C1C = 0, C1Z = 'A', C1R = 'IV', NR1 = ?",
               {c.area, c.year, c.order});
        f.assess(id);
        EXPECT_EQ(f.line(id, kGroupBuildings, kCladiri).established, c.tax) << c.why;
    }
}

TEST(AssessmentHouses, ZoneAndRankOutsideTheListsUseTheDefaults) {
    AssessmentFolder f;
    f.constants.setText("IC2ZCR2", "10"); // material "3,4 SAU 5", zone C, rank II
    f.constants.setText("CotaMajC", "100");
    f.constants.setText("ComboBox2", "C");
    f.constants.setText("ComboBox3", "II");
    const qint64 id = f.role("1");
    f.page("Pag2.dbf", id, "C1S = 10, C1A = 2010, C1C = 1, C1Z = 'E', C1R = 'VI', NR1 = 1", {});
    f.assess(id);
    EXPECT_EQ(f.line(id, kGroupBuildings, kCladiri).established, 100);
}

TEST(AssessmentOutsideLand, ExemptionIsConsumedByTheCategoriesInOrder) {
    AssessmentFolder f;
    f.constants.setText("EC1ZA", "60");
    f.constants.setText("EC2ZA", "70");
    f.constants.setText("ERED", "10");
    const qint64 id = f.role("1");
    f.change(id, [](Role& r) { r.extravilanExemption = 100; });
    f.page("Pag1.dbf", id, "L1A = 1, L2A = 1", {});
    f.assess(id);
    EXPECT_EQ(f.line(id, kGroupOutside, "Teren arabil").id, 0) << "arable 0: no line";
    const auto pasture = f.line(id, kGroupOutside, "Pasuni - fanete");
    EXPECT_EQ(pasture.established, 30);
    EXPECT_EQ(pasture.reduction, 3);
}

TEST(AssessmentVehicles, StartedUnitsOfCapacityAndTonnage) {
    AssessmentFolder f;
    f.constants.setText("AUTO10", "2.5");
    f.constants.setText("APA10", "100");
    const qint64 id = f.role("1");
    f.page("Pag5.dbf", id, "P30001 = 3001, P30002 = 3200, P30003 = 3201", {});
    const qint64 ship = f.role("2");
    f.page("Pag5.dbf", ship, "APA10 = 1000", {});
    const qint64 bigShip = f.role("3");
    f.page("Pag5.dbf", bigShip, "APA10 = 1001", {});
    for (qint64 r : {id, ship, bigShip})
        f.assess(r);

    const struct {
        qint64 role;
        const char* name;
        double units;
        qint64 tax;
    } cases[] = {
        {id, "Autoturisme cap.cil.peste 3000cmc (1)", 16, 40},
        {id, "Autoturisme cap.cil.peste 3000cmc (2)", 16, 40},
        {id, "Autoturisme cap.cil.peste 3000cmc (3)", 17, 43}, // 42.5 made whole away from zero
        {ship, "Vapoare", 1000, 100},
        {bigShip, "Vapoare", 1001, 200},
    };
    for (const auto& c : cases) {
        const auto l = f.line(c.role, kGroupVehicles, c.name);
        EXPECT_EQ(l.quantity, c.units) << c.name;
        EXPECT_EQ(l.established, c.tax) << c.name;
    }
}

// A legal person without "Acorda bonificatie la persoane juridice" gets no reduction,
// except on extravilan land when it has no extravilan exemption.
TEST(AssessmentReductions, LegalPersonsWithoutTheBonusOption) {
    AssessmentFolder f;
    for (const char* key : {"ERED", "ICRED", "IARED", "IIRED", "NumericEdit3"})
        f.constants.setText(key, "10");
    f.constants.setText("EC1ZA", "100");
    f.constants.setText("CotaPJC1", "1");
    f.constants.setText("CotaPJCA1", "1");
    f.constants.setText("ICCA", "1");
    f.constants.setText("AUTO1", "100");
    const auto setUp = [&f](const QString& number, qint64 exemption) {
        const qint64 id = f.role(number, "SC \"ALFA\" SRL", true);
        f.change(id, [exemption](Role& r) { r.extravilanExemption = exemption; });
        f.page("Pag1.dbf", id, "L1A = 2", {});
        f.page("Pag2.dbf", id, "V1 = 10000, DINV1 = ?, VA1 = 10000, DINVA1 = ?",
               {QDate(2015, 1, 1), QDate(2015, 1, 1)});
        f.page("Pag4.dbf", id, "CCA = 100", {});
        f.page("Pag5.dbf", id, "AUTO1 = 1", {});
        return id;
    };
    const qint64 plain = setUp("1", 0);
    const qint64 exempted = setUp("2", 50);
    for (qint64 r : {plain, exempted})
        f.assess(r);

    const struct {
        qint64 role;
        QString group;
        const char* name;
        qint64 reduction;
    } cases[] = {
        {plain, kGroupOutside, "Teren arabil", 20},
        {exempted, kGroupOutside, "Teren arabil", 0},
        {plain, kGroupBuildings, "Cladiri", 0},
        {plain, kGroupBuildings, "Cladiri-Anexe", 0},
        {plain, kGroupInside, "Curti-constructii", 0},
        {plain, kGroupVehicles, "Autoturisme cap.cil. 1201 - 1400 cmc", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(f.line(c.role, c.group, c.name).reduction, c.reduction) << c.name;
    EXPECT_EQ(f.line(exempted, kGroupOutside, "Teren arabil").established, 150);

    f.constants.setText("BonifPJ", "DA");
    f.assess(plain);
    EXPECT_EQ(f.line(plain, kGroupBuildings, "Cladiri").reduction, 10)
        << "with the option: 10 % of 100";
}

TEST(AssessmentRepeat, CollectedAmountsStayCollected) {
    AssessmentFolder f;
    f.constants.setText("ICZAR4", "10");
    f.constants.setText("CotaMajC", "10");
    f.constants.setText("Alte5", "50");
    const qint64 id = f.role("1");
    f.page("Pag2.dbf", id, "C1S = 100, C1A = 2010, C1C = 0, C1Z = 'A', C1R = 'IV', NR1 = 1", {});
    f.page("Pag7.dbf", id, "LIN5 = 2", {});
    f.page("Pag8.dbf", id, "LIN11 = 30", {});
    f.assess(id);
    const auto before = f.lines(id);
    f.assess(id);
    const auto again = f.lines(id);
    ASSERT_EQ(again.size(), before.size());
    for (const auto& [key, l] : before) {
        EXPECT_EQ(again.at(key).amount, l.amount) << qPrintable(key);
        EXPECT_EQ(again.at(key).id, l.id) << qPrintable(key);
    }
    // A payment of 40 on the houses and 10 on the arrears, then the house grows.
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET SUMA = SUMA - 40 WHERE DENUM = 'Cladiri'")
                    .arg(f.path("Datorii.dbf")));
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET REST = REST - 10 WHERE DENUM = 'Paza'")
                    .arg(f.path("Datorii.dbf")));
    f.page("Pag2.dbf", id, "C1S = 150", {});
    f.page("Pag8.dbf", id, "LIN11 = 50", {});
    f.assess(id);
    const auto houses = f.line(id, kGroupBuildings, kCladiri);
    EXPECT_EQ(houses.established, 150);
    EXPECT_EQ(houses.amount, 110) << "new tax less what was collected";
    const auto guard = f.line(id, "Paza", "Paza");
    EXPECT_EQ(guard.arrearsEstablished, 50);
    EXPECT_EQ(guard.arrears, 40);
    EXPECT_EQ(guard.established, 100) << "the year's amount of the same line is kept";
    EXPECT_EQ(guard.unit, "buc") << "the line keeps the unit its tax was computed on";

    // The last house goes: the partly collected line is deleted.
    f.page("Pag2.dbf", id, "C1S = 0", {});
    f.assess(id);
    EXPECT_EQ(f.line(id, kGroupBuildings, kCladiri).id, 0);
}

TEST(AssessmentRefusal, RoleWithoutNumberIsRefusedAndNothingWritten) {
    AssessmentFolder f;
    const qint64 id = f.role("");
    EXPECT_FALSE(AssessRole(f.env.services(), f.constants, *f.roles.role(id)));
    ASSERT_EQ(f.env.messages().shown().size(), 1u);
    EXPECT_EQ(f.env.messages().shown()[0].title, "Adaugare la plata");
    EXPECT_EQ(f.env.messages().shown()[0].text,
              "POPESCU ION nu are trecut ROL-ul si a fost respins.");
    EXPECT_EQ(f.rowsOf("SoldCalc.dbf", id), 0);

    const qint64 other = f.role("7", "IONESCU");
    const AssessRunResult r =
        AssessAllVillages(f.env.services(), f.constants, {QStringLiteral("VÂRTEŞA")});
    EXPECT_EQ(r.assessed, 1);
    EXPECT_EQ(r.refused, 1);
    EXPECT_EQ(f.rowsOf("SoldCalc.dbf", other), 4);
    EXPECT_EQ(AllVillagesReportText(r.assessed, r.refused),
              "Au fost adaugate la plata 1 ROL-uri si respinse 1 ROL-uri.");
}

TEST(AssessmentChecks, AddToPaymentChecksInOrder) {
    Role named;
    named.name = QStringLiteral("POPESCU");
    Role numbered = named;
    numbered.number = QStringLiteral("5");
    EXPECT_EQ(CheckAddToPayment(nullptr, "X").hint, "Nu ati ales nici o persoana!");
    EXPECT_EQ(CheckAddToPayment(&named, "X").hint,
              "POPESCU nu are Numar de ROL! Apasa Modifica si pune-i!");
    EXPECT_EQ(CheckAddToPayment(&numbered, "  ").field, RoleField::Village);
    EXPECT_TRUE(CheckAddToPayment(&numbered, "X").ok());
}

} // namespace
