// The matriculation registers built from a small data folder: the columns each fills, the roles
// each keeps, the refusals and the empty cumulated register.

#include "registers_test_util.h"

#include "db/error.h"
#include "db/query.h"
#include "documents/matriculation_registers.h"
#include "fillers/xls_model_export.h"
#include "shell/file_helpers.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QString kInside = "Impozit pe teren intravilan", kOutside = "Impozit pe teren extravilan",
              kBuildings = "Impozit pe cladiri", kVehicles = "Impozit pe mijloace de transport";

RoleSelection choice(const QString& village = {}, PersonChoice person = PersonChoice::Any, bool siZero = false) {
    RoleSelection s;
    s.village = village;
    s.person = person;
    s.siZero = siZero;
    return s;
}

// The role numbers of the data rows, from `first` down to the totals row.
QStringList numbers(const workbook::Sheet& sheet, int first, int column) {
    QStringList found;
    for (int row = first; sheet.text(row, 0) != "TOTAL" && row <= sheet.lastRow(); ++row) found << sheet.text(row, column);
    return found;
}

BuiltRegister build(RoleListFolder& f, RegisterKind kind, const RoleSelection& s) {
    std::optional<BuiltRegister> built = BuildMatriculationRegister(f.env.services(), kind, s);
    if (!built) throw Error("nothing built", "test");
    return std::move(*built);
}

TEST(MatriculationRegisters, LandShowsItsCategoriesAndTheTaxesOfTheBalances) {
    RoleListFolder f;
    const qint64 a = f.role("ALUNI", "1", "POP ANA");
    for (const auto& [name, ha] : {std::pair{"Pasune", 0.30}, {"Faneata", 0.20}, {"Neproductiv", 0.40},
                                   {"Teren cu ape", 0.10}, {"Curti-constructii", 500.0}})
        f.line(a, kInside, name, ha, 10);
    f.balance(a, kInside, 50);
    const qint64 odd = f.role("ALUNI", "12A", "ROL CU LITERA");
    f.line(odd, kOutside, "Vie pe rod", 0.25, 3);
    const qint64 b = f.role("ALUNI", "2", "ONLY OUTSIDE");
    f.line(b, kOutside, "Teren arabil", 1.5, 30);
    f.balance(b, kInside, 7);
    f.balance(b, kOutside, 30);

    const BuiltRegister land = build(f, RegisterKind::Land, choice("ALUNI"));
    const workbook::Sheet& sheet = land.book.sheet(0);
    EXPECT_EQ(sheet.text(0, 2), "ALUNI") << "#LOC is the village chosen";
    EXPECT_EQ(numbers(sheet, 7, 0), QStringList({"1", "2", "12A"})) << "a number that is no number comes as typed, last";
    const struct {
        int row, column; // C<n> is column 2 + n
        double value;
    } cells[] = {
        {7, 2 + 6, 0.5},    // pasture and hayfield summed
        {7, 2 + 1, 500},    // yards
        {7, 2 + 7, 50},     // the intravilan tax of the balances
        {8, 2 + 7, 7},      // only land outside: both taxes
        {8, 2 + 13, 30},
        {8, 2 + 8, 1.5},
        {9, 2 + 9, 0.25},
    };
    for (const auto& c : cells) EXPECT_DOUBLE_EQ(sheet.number(c.row, c.column), c.value) << c.row << "," << c.column;
    double others = 0; // "Neproductiv" and "Teren cu ape" have no column
    for (int n : {2, 3, 4, 5, 8, 9, 10, 11, 12}) others += sheet.number(7, 2 + n);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(land.rows, 3);
}

TEST(MatriculationRegisters, BuildingsShowDwellingsAndTheFirstAnnexOfNaturalPersons) {
    RoleListFolder f;
    const qint64 d = f.role("ALUNI", "1", "CU CASA");
    f.buildings(d, {{"C1S", 80}, {"C1A", 1970}, {"C2S", 40}, {"C2A", 1990}, {"C2C", 1}, {"C3S", 10}, {"C3A", 1960},
                    {"CAS", 20}, {"CAA", 1980}, {"CAC", 1}});
    f.balance(d, kBuildings, 55);
    f.buildings(f.role("ALUNI", "2", "DOAR ANEXA"), {{"CAS", 15}, {"CAA", 1975}});
    const qint64 legal = f.role("ALUNI", "3", "SC FIRMA SRL", "JURIDICA");
    f.buildings(legal, {{"C1S", 300}, {"C1A", 2000}});
    f.balance(legal, kBuildings, 900);

    const BuiltRegister without = build(f, RegisterKind::Buildings, choice());
    EXPECT_EQ(numbers(without.book.sheet(0), 7, 0), QStringList({"1", "3"})) << "an annex-only role needs the check box";
    const BuiltRegister with = build(f, RegisterKind::Buildings, choice({}, PersonChoice::Any, true));
    const workbook::Sheet& sheet = with.book.sheet(0);
    EXPECT_EQ(numbers(sheet, 7, 0), QStringList({"1", "2", "3"}));
    const double expected[3][9] = {{90, 1970, 40, 1990, 0, 0, 20, 1980, 55},
                                   {0, 0, 0, 0, 15, 1975, 0, 0, 0},
                                   {0, 0, 0, 0, 0, 0, 0, 0, 900}}; // a legal person: its tax only
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 9; ++c) EXPECT_DOUBLE_EQ(sheet.number(7 + r, 3 + c), expected[r][c]) << r << ", C" << c + 1;
}

TEST(MatriculationRegisters, CumulatedGivesOneRowPerRoleWithEveryKind) {
    RoleListFolder f;
    const qint64 g = f.role("ALUNI", "7", "POP ION");
    f.buildings(g, {{"CAS", 10}, {"CAA", 1980}, {"CAS2", 12}, {"CAA2", 1995}});
    f.line(g, kInside, "Teren cu ape", 0.2, 5);
    f.line(g, kVehicles, "Autoturisme", 1, 70);
    const qint64 h = f.role("CORBU", "7", "POP ION"); // same number and name, another village
    f.line(h, kBuildings, kBuildings, 0, 30);
    const qint64 j = f.role("ALUNI", "8", "SC FIRMA SRL", "JURIDICA");
    f.buildings(j, {{"C1S", 100}, {"C1A", 2001}});
    f.line(j, kBuildings, kBuildings, 0, 200);
    f.line(j, kOutside, "Teren arabil", 2, 40);

    const BuiltRegister all = build(f, RegisterKind::Cumulated, choice());
    const workbook::Sheet& sheet = all.book.sheet(0);
    EXPECT_EQ(numbers(sheet, 7, 1), QStringList({"7", "7", "8"})) << "two taxpayers of one number and name: two rows";
    const struct {
        int row, a; // A<n> is column 2 + n
        double value;
    } cells[] = {{7, 5, 22}, {7, 6, 1995}, {7, 16, 0.2}, {7, 17, 5}, {7, 27, 70}, {8, 9, 30},
                 {9, 1, 0},  {9, 9, 200},  {9, 18, 2},   {9, 26, 40}};
    for (const auto& c : cells) EXPECT_DOUBLE_EQ(sheet.number(c.row, 2 + c.a), c.value) << c.row << ", A" << c.a;

    const BuiltRegister legal = build(f, RegisterKind::Cumulated, choice({}, PersonChoice::Legal));
    EXPECT_EQ(numbers(legal.book.sheet(0), 7, 1), QStringList({"8"}));
    EXPECT_EQ(legal.book.sheet(0).number(7, 2 + 1), 0) << "no building areas for a legal person";
}

TEST(MatriculationRegisters, NothingSelectedIsRefusedExceptByTheCumulatedRegister) {
    RoleListFolder f;
    f.line(f.role("ALUNI", "1", "POP ANA"), kInside, "Vie", 1, 5);
    const std::pair<RegisterKind, const char*> refusing[] = {{RegisterKind::Land, "Listare Matricola"},
                                                             {RegisterKind::Buildings, "Listare Matricole"},
                                                             {RegisterKind::Vehicles, "Matricola Auto"}};
    for (const auto& [kind, title] : refusing) {
        f.env.messages().clearShown();
        EXPECT_FALSE(BuildMatriculationRegister(f.env.services(), kind, choice("CORBU")));
        ASSERT_EQ(f.env.messages().shown().size(), 1u);
        EXPECT_EQ(f.env.messages().shown()[0].title, title);
        EXPECT_EQ(f.env.messages().shown()[0].text, "Nu exista nici un ROL in intervalul specificat!");
    }
    const BuiltRegister empty = build(f, RegisterKind::Cumulated, choice("CORBU"));
    EXPECT_EQ(empty.rows, 0);
    EXPECT_EQ(empty.book.sheet(0).text(2, 2), "REGISTRUL MATRICOL");
    EXPECT_EQ(empty.book.sheet(0).text(7, 0), "TOTAL") << "no data row and no template row";
    EXPECT_EQ(QDir(f.env.folders().program).entryList(QDir::Files), QStringList()) << "no file left behind";
}

TEST(MatriculationRegisters, AListLongerThanASheetAsksForAVillageOrARange) {
    test::TestServices env;
    const QString copy = env.folders().program + "/RMAuto.xls";
    WriteResourceToFile("RMAUTO", "MODEL", copy);
    TExportXLSModel list(env.services());
    ASSERT_TRUE(list.OpenTemplate(copy));
    db::Query rows = db::Query::fromRows({"ROL"}, std::vector<std::vector<QVariant>>(workbook::MaxRows, {QVariant("1")}));
    rows.first();
    RoleSelection s = choice("ALUNI");
    try {
        list.FillRows(rows, SelectionNarrowing(s));
        FAIL() << "a list longer than a sheet was filled";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains("intervalul de ROL din ALUNI")) << e.text().toStdString();
    }
}

} // namespace
