// The other lists of the documents menu built from a small data folder: the rows each keeps and
// the amounts it computes, and the role register's choice of roles and its sheets.

#include "other_lists_util.h"

#include "db/query.h"
#include "documents/other_lists.h"
#include "documents/role_register.h"
#include "roles/assessment_pages.h"
#include "roles/assessment_rates.h"
#include "roles/assessment_steps.h"
#include "shell/startup.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QString kInside = "Impozit pe teren intravilan", kOutside = "Impozit pe teren extravilan",
              kBuildings = "Impozit pe cladiri";

int year() { return WorkingYear().toInt(); }

RoleSelection range(qint64 from, qint64 to) {
    RoleSelection s;
    s.fromRole = from;
    s.toRole = to;
    return s;
}

TEST(RoleRegister, ARangeFrom5To20KeepsTheNumbersBetweenThem) {
    OtherListsFolder f;
    for (const char* n : {"3", "5", "9", "10", "20", "21"}) f.role("ALUNI", n, "POP");
    QStringList numbers;
    for (const RolePageRole& r : RoleRegisterRoles(f.env.services(), range(5, 20))) numbers << r.number;
    EXPECT_EQ(numbers, QStringList({"5", "9", "10", "20"}));
}

TEST(RoleRegister, NoRoleWritesNothing) {
    OtherListsFolder f;
    f.role("ALUNI", "3", "POP");
    EXPECT_EQ(ProduceRoleRegisterExport(f.env.services(), range(5, 20)), QString());
    EXPECT_EQ(f.env.messages().titles(), QStringList{"Selectare ROL-uri"});
    EXPECT_TRUE(QDir(f.env.folders().program).entryList({"ROL*"}).isEmpty());
}

TEST(RoleRegister, APageThatDoesNotFitGoesOnTheNextSheetWhole) {
    OtherListsFolder f;
    const qint64 a = f.role("ALUNI", "1", "POP ANA");
    f.dated(a, kBuildings, QDate(year(), 1, 1), 50, 0, 50);
    f.role("ALUNI", "2", "ION");
    f.role("BRAZI", "1", "DAN");
    const std::vector<RolePage> pages = *RoleRegisterPages(f.env.services(), {}, QDate(year(), 5, 1));
    // A sheet of 14 rows holds the first page and not the next; the two shorter ones share one.
    const RoleRegisterBook built = WriteRoleRegister(pages, 20);
    ASSERT_EQ(built.sheets, 2);
    EXPECT_EQ(built.book.sheet(1).name(), "Foaie2");
    for (int i = 0; i < built.sheets; ++i)
        EXPECT_TRUE(built.book.sheet(i).text(0, 0).startsWith("Localitatea")) << i;
}

TEST(FireGuardList, CountsTheFeeOfNewYearAndEachRoleOfOneNumberKeepsItsOwn) {
    OtherListsFolder f;
    const qint64 a = f.role("ALUNI", "7", "POP ANA");
    const qint64 b = f.role("ALUNI", "7", "ION VASILE");
    f.dated(a, "PSI", QDate(year(), 1, 1), 10, 5);
    f.dated(a, "PSI", QDate(year(), 3, 15), 99, 0); // after 1 January: not counted
    f.dated(a, "Paza", QDate(year() - 1, 6, 1), 3, 4);
    f.dated(b, "PSI", QDate(year(), 1, 1), 20, 0);
    const ListRows rows = FireGuardRows(f.env.services(), {});
    ASSERT_EQ(rows.rows.size(), 2u);
    // SATUL, ROL, PSICURENT, PSIREST, PAZACURENT, PAZAREST
    std::vector<std::vector<qint64>> fees;
    for (const auto& r : rows.rows) fees.push_back({r[2].toLongLong(), r[3].toLongLong(), r[4].toLongLong(), r[5].toLongLong()});
    std::sort(fees.begin(), fees.end());
    EXPECT_EQ(fees, (std::vector<std::vector<qint64>>{{10, 5, 0, 7}, {20, 0, 0, 0}}));
}

TEST(FinesList, MarksTheFinesPaidWithin48HoursInAnyCase) {
    const std::pair<const char*, bool> cases[] = {{"PV 12 achitat in 48 h", true}, {"pv 12/48H", true},
                                                  {"PV 12 48 H", true},            {"PV 48", false},
                                                  {"PV 4 8h", false}};
    for (const auto& [text, marked] : cases) EXPECT_EQ(PaidWithin48Hours(text), marked) << text;
}

TEST(FinesList, RefusesAClaimThatIsNoFineOrTax) {
    OtherListsFolder f;
    f.claim(kBuildings, "I");
    f.claim("Amenzi", "T");
    OtherListOptions o;
    o.claim = kBuildings;
    EXPECT_FALSE(BuildOtherList(f.env.services(), OtherList::Fines, o));
    EXPECT_EQ(f.env.messages().titles(), QStringList{"Lista Amenzi / Taxe"});
}

TEST(TaxableBuildings, AHouseOf260SquareMetresIsWorth299TimesItsRate) {
    AssessmentRates rates;
    rates.year = 2015;
    rates.house[1][rates.zoneIndex("B")][rates.rankIndex("IV")] = Currency::lei(10);
    auto rows = std::make_shared<db::Query>(db::Query::fromRows(
        {"C1S", "C1C", "C1Z", "C1R", "C1A", "NR1"}, {{260.0, 1, QString("B"), QString("IV"), 2010, 1}}));
    EXPECT_EQ(HouseValue(rates, PageRow(rows, 0), 1), Currency::lei(2990));
}

TEST(TaxableBuildings, TheTaxIsTheAssessmentsAndAnExemptedHouseIsCountedWithNone) {
    OtherListsFolder f;
    const qint64 a = f.role("ALUNI", "1", "POP ANA");
    const qint64 b = f.role("ALUNI", "2", "ION");
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET SCCLAD = 'DA' WHERE IDGOS = ?").arg(f.path(tables::Roles)), {b});
    for (qint64 r : {a, b}) f.buildings(r, {{"C1S", 260}, {"C1C", 1}, {"C1A", 2010}, {"NR1", 1}});
    AssessmentRates rates;
    rates.year = year();
    for (auto& material : rates.house)
        for (auto& zone : material)
            for (Currency& level : zone) level = Currency::lei(10);
    rates.houseQuota = Currency::lei(10);
    std::map<QString, qint64> taxes;
    for (const TaxableBuilding& t : TaxableBuildings(f.env.services(), rates)) taxes[t.role] = t.tax;
    ASSERT_EQ(taxes.size(), 2u);
    EXPECT_EQ(taxes["1"], 299); // 260 m2 at 10 lei, +15 % over 150 m2, 10 %
    EXPECT_EQ(taxes["2"], 0);
}

TEST(Over12tList, CountsEachRoleApartEvenWithTheNumberNameAndTypeOfAnother) {
    OtherListsFolder f;
    for (const char* village : {"ALUNI", "BRAZI"}) {
        const qint64 r = f.role(village, "4", "SC ALFA SRL", "JURIDICA");
        f.line(r, "Impozit pe mijloace de transport", "Vehicule cu doua axe", 1, 500);
    }
    EXPECT_EQ(Over12tRows(f.env.services()).rows.size(), 2u);
}

TEST(LandMovements, ASaleInsideIsNegativeInHectaresAndYardsAreSkipped) {
    OtherListsFolder f;
    const qint64 a = f.role("ALUNI", "1", "POP ANA");
    const QDate day(year(), 4, 2);
    f.landDebit(a, kInside, "Teren arabil", "Vanzare", day, "0.25");
    f.landDebit(a, kInside, "Curti-constructii", "Cumparare", day, "300");
    f.landDebit(a, kOutside, "Pasuni - fanete", "Cumparare", day, "1.5");
    f.landDebit(a, kOutside, "Teren arabil", "Cumparare", QDate(year(), 9, 1), "2"); // after the period
    const ListRows rows = LandMovementRows(f.env.services(), QDate(year(), 1, 1), QDate(year(), 6, 30));
    std::map<QString, double> found;
    for (const auto& r : rows.rows)
        for (int c = 5; c < rows.columns.size(); ++c)
            if (r[size_t(c)].toDouble() != 0) found[rows.columns[c]] += r[size_t(c)].toDouble();
    EXPECT_EQ(found, (std::map<QString, double>{{"I1", -0.25}, {"E3", 1.5}}));
}

TEST(AnalyticSituation, AddsTheBalancesLinesAndReceiptsOfEachAccount) {
    OtherListsFolder f;
    const qint64 a = f.role("ALUNI", "1", "POP ANA");
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDRES, IDGOS, GRUPA, DATORI, DEPOZI, MAJORI, DATOR, DEPOZ, MAJOR, "
                               "REST) VALUES (1, ?, ?, 100, 10, 5, 50, 0, 3, 40)")
                    .arg(f.path(tables::Balances)),
                {a, kBuildings});
    f.dated(a, kBuildings, QDate(year(), 1, 1), 200, 0, 40, 0);
    f.dated(a, "Taxa salubrizare", QDate(year(), 1, 1), 60, 30, 20, 10);
    f.receipt(a, kBuildings, 160);
    f.receipt(a, "Taxa salubrizare", 50);
    const ListRows rows = AnalyticRows(f.env.services());
    // RESTS, RESTPENS, CURENTS, INCASS, SOLDS per account
    std::map<QString, std::vector<qint64>> found;
    for (const auto& r : rows.rows)
        for (int c = 6; c < 11; ++c) found[r[5].toString()].push_back(r[size_t(c)].toLongLong());
    EXPECT_EQ(found, (std::map<QString, std::vector<qint64>>{{kBuildings, {100 - 10, 5, 200, 160, 50 - 0 + 3 + 40}},
                                                             {"Taxa salubrizare", {30, 0, 60, 50, 10 + 20}}}));
}

} // namespace
