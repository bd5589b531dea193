// Whole roles assessed and compared line by line with amounts worked out by hand; the
// balance seed's branches; one role's assessment as one transaction.

#include "assessment_test_util.h"

#include "db/error.h"
#include "roles/assessment_balances.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::AssessmentFolder;
using vartesa::test::StoredLine;

namespace {

struct Expected {
    QString group;
    const char* name;
    qint64 amount;    // SUMA = SUMA2 (nothing collected)
    qint64 reduction; // REDUC
    qint64 percent;   // REDUCP
    const char* unit;
    double quantity;
};

void expectLines(AssessmentFolder& f, qint64 id, const std::vector<Expected>& expected) {
    const auto lines = f.lines(id);
    EXPECT_EQ(lines.size(), expected.size());
    for (const Expected& e : expected) {
        const auto it = lines.find(e.group + '|' + e.name);
        ASSERT_NE(it, lines.end()) << e.name;
        const StoredLine& l = it->second;
        EXPECT_EQ(l.established, e.amount) << e.name;
        EXPECT_EQ(l.amount, e.amount) << e.name;
        EXPECT_EQ(l.reduction, e.reduction) << e.name;
        EXPECT_EQ(l.percent, e.percent) << e.name;
        EXPECT_EQ(l.unit, e.unit) << e.name;
        EXPECT_DOUBLE_EQ(l.quantity, e.quantity) << e.name;
    }
}

TEST(AssessmentWholeRole, NaturalPerson) {
    AssessmentFolder f;
    const std::pair<const char*, const char*> rates[] = {
        {"ERED", "10"},      {"EC1ZB", "40"},        {"EC3ZA", "44.5"}, {"ICZBR3", "500"},
        {"IC2ZBR3", "300"},  {"CotaMajC", "0.1"},    {"ICRED", "10"},   {"IA1ZBR3", "100"},
        {"CotaMajA", "0.5"}, {"IARED", "10"},        {"ICCA", "0.25"},  {"IA21", "20"},
        {"IIRED", "10"},     {"NumericEdit3", "10"}, {"AUTO3", "72.5"}, {"AUTO15", "33.33"},
        {"AUTO13", "1.5"},   {"G1B", "500"},         {"VN1", "3"},      {"VN3", "80"},
        {"Alte2", "12.5"}};
    for (const auto& [key, value] : rates)
        f.constants.setText(key, value);
    const qint64 id = f.role("12");
    f.page("Pag1.dbf", id, "L1B = 1.25, L3A = 0.5", {});
    f.page("Pag2.dbf", id,
           "C1S = 160, C1C = 0, C1Z = 'B', C1R = 'III', C1A = 1990, NR1 = 1, "
           "C2S = 60, C2C = 1, C2Z = 'B', C2R = 'III', C2A = 1970, NR2 = 2, "
           "CAS = 30, CAC = 0, CAZ = 'B', CAR = 'III', CAA = 1960",
           {});
    f.page("Pag4.dbf", id, "CCA = 400, AL2A = 0.75", {});
    f.page("Pag5.dbf", id, "AUTO3 = 2, REM2 = 1, TRAC1 = 1001, TBUC1 = 2, G1B = 1", {});
    f.page("Pag6.dbf", id, "VN1 = 1000, VN2 = 250, VN11 = 1", {});
    f.page("Pag7.dbf", id, "LIN2 = 3", {});
    f.page("Pag8.dbf", id, "LIN7 = 25, LIN1 = 100, PEN1 = 12, SOLD3 = 40", {});
    // A receipt already taken on the extravilan land: 30 of the year, 20 of the arrears, 2 of
    // penalties.
    f.db().exec(
        QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, GRUPA, CURENT, RESTANTA, MAJOREST) "
                       "VALUES (1, ?, ?, 30, 20, 2)")
            .arg(f.path("Chitante.dbf")),
        {id, kGroupOutside});
    ASSERT_TRUE(f.assess(id));

    expectLines(
        f, id,
        {
            {kGroupOutside, "Teren arabil", 50, 5, 10, "ha", 1.25}, // 1.25 ha x 40
            {kGroupOutside, "Vie pe rod", 22, 2, 10, "ha", 0.5},    // 0.5 x 44.5 = 22.25
            // 160 m2 x 500 x 1.05 = 84000; 60 m2 x 300 x 0.9 (45 years) x 1.65 (second house) =
            // 26730; 110730 x 0.1 % = 110.73
            {kGroupBuildings, "Cladiri", 111, 11, 10, "mp", 220},
            {kGroupBuildings, "Cladiri-Anexe", 12, 1, 10, "mp",
             30}, // 30 x 100 x 0.5 % x 0.8 (55 years)
            {kGroupInside, "Curti-constructii", 100, 10, 10, "mp", 400}, // 400 x 0.25
            {kGroupInside, "Pasune", 15, 2, 10, "ha", 0.75}, // reduction 1.5 away from zero
            {kGroupVehicles, "Autoturisme cap.cil. 1601 - 1800 cmc", 145, 15, 10, "buc",
             2},                                                              // 14.5 -> 15
            {kGroupVehicles, "Remorci, rulote >1..3 t", 33, 3, 10, "buc", 1}, // 33.33
            {kGroupVehicles, "Tractoare inmatriculate 1", 18, 2, 10, "cmc",
             2002}, // 2 x 1.5 x 6 units
            {kGroupVehicles, "Vehicule 2 axe,12-13t,fara susp.pneum.", 500, 50, 10, "buc", 1},
            {kGroupVehicles, "Auto neinmatriculate pana la 4800 cmc", 21, 2, 10, "buc",
             2}, // (5 + 2) x 3
            {kGroupVehicles, "Auto neinmat. cu cap.cil.neevidentiabila", 80, 8, 10, "buc", 1},
            {"Iluminat", "Iluminat", 38, 0, 0, "buc", 3}, // 3 x 12.5 = 37.5
            {"Concesionari", "Concesionari", 0, 0, 0, " -", 1},
        });
    const StoredLine arrears = f.line(id, "Concesionari", "Concesionari");
    EXPECT_EQ(arrears.arrears, 25);
    EXPECT_EQ(arrears.arrearsEstablished, 25);

    const struct {
        QString group;
        qint64 suma, rest, reduc, dator, depoz, major, datori, depozi, majori;
    } balances[] = {
        {kGroupOutside, 72, 42, 7, 80, 0, 10, 100, 0, 12},
        {kGroupBuildings, 123, 123, 12, 0, 0, 0, 0, 0, 0},
        {kGroupInside, 115, 115, 12, 0, 40, 0, 0, 40, 0},
        {kGroupVehicles, 797, 797, 80, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& b : balances) {
        const qint64 got[] = {f.balance(id, b.group, "SUMA"),   f.balance(id, b.group, "REST"),
                              f.balance(id, b.group, "REDUC"),  f.balance(id, b.group, "DATOR"),
                              f.balance(id, b.group, "DEPOZ"),  f.balance(id, b.group, "MAJOR"),
                              f.balance(id, b.group, "DATORI"), f.balance(id, b.group, "DEPOZI"),
                              f.balance(id, b.group, "MAJORI")};
        const qint64 want[] = {b.suma,  b.rest,   b.reduc,  b.dator, b.depoz,
                               b.major, b.datori, b.depozi, b.majori};
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(got[i], want[i]) << qPrintable(b.group) << " column " << i;
    }
}

TEST(AssessmentWholeRole, LegalPerson) {
    AssessmentFolder f;
    const std::pair<const char*, const char*> rates[] = {
        {"CotaPJC1", "1"}, {"CotaPJC2", "10"},    {"CotaPJC3", "30"}, {"CotaPJCA1", "1"},
        {"ICRED", "10"},   {"IARED", "10"},       {"ERED", "10"},     {"EC1ZA", "40"},
        {"AUTO1", "100"},  {"NumericEdit3", "10"}};
    for (const auto& [key, value] : rates)
        f.constants.setText(key, value);
    const qint64 id = f.role("40", "SC \"ALFA\" SRL", true);
    f.page("Pag1.dbf", id, "L1A = 1", {});
    f.page("Pag2.dbf", id,
           "V1 = 200000, DINV1 = ?, V2 = 50000, DINV2 = ?, V3 = 10000, DINV3 = ?, V4 = 40000, AM4 "
           "= 'DA', "
           "DINV4 = ?, V5 = 1000, DINV5 = ?, VA1 = 20000, DINVA1 = ?",
           {QDate(2013, 6, 30), QDate(2010, 1, 1), QDate(2009, 1, 1), QDate(2000, 1, 1),
            QDate(2016, 1, 1), QDate(2015, 1, 1)});
    f.page("Pag5.dbf", id, "AUTO1 = 1", {});
    ASSERT_TRUE(f.assess(id));
    expectLines(
        f, id,
        {
            {kGroupOutside, "Teren arabil", 40, 4, 10, "ha",
             1}, // no extravilan exemption: reduction kept
            // 2 years: 1 % of 200000; 5 years: 10 % of 50000; 6 years: 30 % of 10000;
            // depreciated: 40000 x 0.85 x 1 %; revalued after the working year: 30 % of 1000
            {kGroupBuildings, "Cladiri", 2000 + 5000 + 3000 + 340 + 300, 0, 0, "Lei-Val.", 301000},
            {kGroupBuildings, "Cladiri-Anexe", 200, 0, 0, "Lei-Val.", 20000},
            {kGroupVehicles, "Autoturisme cap.cil. 1201 - 1400 cmc", 100, 0, 0, "buc", 1},
        });
    EXPECT_EQ(f.balance(id, kGroupBuildings, "SUMA"), 10840);
}

TEST(AssessmentBalanceSeed, EachBranchOfTheSeed) {
    AssessmentFolder f;
    const qint64 fresh = f.role("1");
    const qint64 assessedRow = f.role("2");
    const qint64 reseeded = f.role("3");
    for (qint64 id : {fresh, assessedRow, reseeded})
        f.page("Pag8.dbf", id, "LIN2 = 150, PEN2 = 9, SOLD4 = 30", {});
    const QString sold = f.path("SoldCalc.dbf");
    const QString insert =
        QStringLiteral(
            "INSERT INTO \"%1\" (IDRES, IDGOS, GRUPA, DATORI, DATOR, MAJORI, MAJOR, TIP) "
            "VALUES (?, ?, ?, 500, 500, 7, 7, ?)")
            .arg(sold);
    f.db().exec(insert, {9001, assessedRow, kGroupBuildings, "A"});
    f.db().exec(insert, {9002, reseeded, kGroupBuildings, "M"});
    for (qint64 id : {fresh, assessedRow, reseeded})
        f.assess(id);

    EXPECT_EQ(f.balance(fresh, kGroupBuildings, "DATORI"), 150) << "no row: appended";
    EXPECT_EQ(f.balance(fresh, kGroupBuildings, "MAJORI"), 9);
    EXPECT_EQ(f.balance(fresh, kGroupVehicles, "DEPOZI"), 30);
    EXPECT_EQ(f.rowsOf("SoldCalc.dbf", fresh), 4);
    EXPECT_EQ(f.balance(assessedRow, kGroupBuildings, "DATORI"), 500)
        << "a row of type A is left as it is";
    EXPECT_EQ(f.balance(assessedRow, kGroupBuildings, "MAJORI"), 7);
    EXPECT_EQ(f.balance(reseeded, kGroupBuildings, "DATORI"), 150)
        << "another row takes the new opening amounts";
    EXPECT_EQ(f.balance(reseeded, kGroupBuildings, "MAJORI"), 9);
    EXPECT_EQ(f.balance(reseeded, kGroupBuildings, "DATOR"), 150)
        << "nothing receipted on the arrears";
}

TEST(AssessmentBalanceSeed, PenaltiesWaivedForRolesWithoutPenalties) {
    AssessmentFolder f;
    f.counters().WriteCounter("SERVER", "FARAMAJORARI", "DA");
    f.constants.load(f.env.services());
    const qint64 waived = f.role("1");
    f.change(waived, [](Role& r) { r.noPenalties = true; });
    const qint64 charged = f.role("2");
    for (qint64 id : {waived, charged}) {
        f.page("Pag8.dbf", id, "LIN1 = 100, PEN1 = 12", {});
        f.assess(id);
    }
    EXPECT_EQ(f.balance(waived, kGroupOutside, "MAJORI"), 0);
    EXPECT_EQ(f.balance(waived, kGroupOutside, "DATORI"), 100);
    EXPECT_EQ(f.balance(charged, kGroupOutside, "MAJORI"), 12);
}

// Paid arrears p, used credit u and paid penalties q are kept when the opening amounts change.
TEST(AssessmentBalanceSeed, RecomputeKeepsWhatWasSettled) {
    const struct {
        qint64 datori, dator, depozi, depoz, majori, major; // the row before
        BalanceSeed seed;                                   // arrears, penalties, credit
        qint64 arrears, credit, penalties;                  // DATOR, DEPOZ, MAJOR after
        const char* why;
    } cases[] = {
        {100, 60, 0, 0, 5, 5, {150, 5, 0}, 110, 0, 5, "40 paid stays paid"},
        {100, 0, 0, 0, 0, 0, {70, 0, 0}, 0, 30, 0, "paid beyond the new arrears: credit"},
        {0, 0, 0, 0, 10, 0, {0, 4, 0}, 0, 6, 0, "penalties paid beyond the new ones: credit"},
        {0, 0, 50, 10, 0, 0, {0, 0, 20}, 20, 0, 0, "credit used beyond the new credit: owed"},
    };
    for (const auto& c : cases) {
        BalanceRow row;
        row.arrearsStart = c.datori;
        row.arrears = c.dator;
        row.creditStart = c.depozi;
        row.credit = c.depoz;
        row.penaltiesStart = c.majori;
        row.penalties = c.major;
        ReseedBalance(row, c.seed, false);
        EXPECT_EQ(row.arrears, c.arrears) << c.why;
        EXPECT_EQ(row.credit, c.credit) << c.why;
        EXPECT_EQ(row.penalties, c.penalties) << c.why;
        EXPECT_EQ(row.arrearsStart, c.seed.arrears) << c.why;
    }
}

// A role whose building tax does not fit the ledger's 6 digits fails half-way through its
// writes: nothing of it may stay, not even the page row the run repaired.
TEST(AssessmentTransaction, AFailingRoleLeavesNothing) {
    AssessmentFolder f;
    f.constants.setText("CotaPJC3", "30");
    f.constants.setText("EC1ZA", "40");
    const auto failing = [&f](const QString& number) {
        const qint64 id = f.role(number, "SC \"BETA\" SRL", true);
        f.page("Pag1.dbf", id, "L1A = 1", {});
        f.page("Pag2.dbf", id, "V1 = 99999999, DINV1 = ?", {QDate(2000, 1, 1)});
        f.db().exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDGOS = ?").arg(f.path("Pag6.dbf")),
                    {id});
        return id;
    };
    const qint64 id = failing("1");
    EXPECT_THROW(f.assess(id), Error);
    EXPECT_EQ(f.rowsOf("Datorii.dbf", id), 0);
    EXPECT_EQ(f.rowsOf("SoldCalc.dbf", id), 0);
    EXPECT_EQ(f.rowsOf("Pag6.dbf", id), 0);

    // In a run over many roles that role alone is refused, named with its field; the roles
    // before and after it are assessed.
    const qint64 before = f.role("2", "A");
    const qint64 bad = failing("3");
    const qint64 after = f.role("4", "C");
    f.page("Pag1.dbf", before, "L1A = 1", {});
    f.page("Pag1.dbf", after, "L1A = 1", {});
    CountersFile counters = f.counters();
    Assessor assessor(f.db(), f.env.folders().data, counters, f.constants, 10);
    QString why;
    AssessRunHooks hooks;
    hooks.notStorable = [&why](const Role&, const QString& text) { why = text; };
    const AssessRunResult run = AssessRoles(
        assessor, f.db(), {*f.roles.role(before), *f.roles.role(bad), *f.roles.role(after)}, hooks);
    EXPECT_EQ(run.refused, 1);
    EXPECT_TRUE(why.startsWith("Rolul 3 din ") && why.contains("SUMA")) << why.toStdString();
    EXPECT_EQ(f.rowsOf("Datorii.dbf", before), 1);
    EXPECT_EQ(f.rowsOf("Datorii.dbf", bad), 0);
    EXPECT_EQ(f.rowsOf("Datorii.dbf", after), 1);
}

} // namespace

namespace {

// A building page whose tax would not fit the ledger is refused when it is saved, with the
// field named, and nothing of the page is written; a value that fits is saved.
TEST(AssessmentTransaction, APageWhoseTaxCannotBeStoredIsRefused) {
    AssessmentFolder f;
    f.constants.setText("CotaPJC3", "30");
    const qint64 id = f.role("5", "SC GAMA SRL", true);
    const QString folder = f.env.folders().data;
    DeclarationPages pages(f.db(), folder);
    const BlankPageDefaults defaults = StoredPageDefaults(f.db(), folder);
    CountersFile counters = f.counters();
    const auto save = [&](const QString& value) {
        PageValues values = ShownValues(pages.load(id, 2, defaults), defaults);
        values["V1"] = value;
        values["DINV1"] = "01.01.2000";
        pages.save(id, 2, values, defaults, [&] { CheckPageTaxesFit(f.db(), folder, counters, f.constants, id); });
    };
    save("1000");
    try {
        save("99999999");
        ADD_FAILURE() << "refused value saved";
    } catch (const PageRefusal& refusal) {
        EXPECT_TRUE(refusal.text().contains("SUMA") && refusal.title == "Salvare pagina") << refusal.text().toStdString();
    }
    EXPECT_EQ(pages.stored(id, 2).value("V1").toDouble(), 1000.0);
    EXPECT_EQ(f.rowsOf("Datorii.dbf", id), 0);
}

} // namespace
