// The lists of arrears and overpayments built from a small data folder: where each opening
// amount lands, which roles are listed, the claims added as columns and the totals per address.

#include "registers_test_util.h"

#include "db/error.h"
#include "documents/arrears_lists.h"
#include "shell/startup.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QString kInside = "Impozit pe teren intravilan", kBuildings = "Impozit pe cladiri";
// Columns from 0: the building tax's pair, the intravilan land's pair, the first added claim.
constexpr int kBuildingsSold = 9, kBuildingsMajor = 10, kInsideSold = 7, kAdded = 13;

struct Folder : RoleListFolder {
    qint64 role(const QString& village, const QString& number, const QString& name, const QString& address = {}) {
        const qint64 id = RoleListFolder::role(village, number, name);
        db().exec(QStringLiteral("UPDATE \"%1\" SET ADRESA = ? WHERE IDGOS = ?").arg(path(tables::Roles)), {address, id});
        return id;
    }
    // A tax balance as the year was opened.
    void opening(qint64 role, const QString& group, qint64 arrears, qint64 credit, qint64 increments) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDRES, IDGOS, GRUPA, DATORI, DEPOZI, MAJORI, DATOR, DEPOZ) "
                                 "VALUES (?, ?, ?, ?, ?, ?, 0, 0)").arg(path(tables::Balances)),
                  {++ids, role, group, arrears, credit, increments});
    }
    // A debt line of another claim, due from `from`, with `rest` still due when the year opened.
    void claim(qint64 role, const QString& group, qint64 rest, QDate from = {}) {
        if (!from.isValid()) from = QDate(WorkingYear().toInt() - 1, 6, 1);
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, GRUPA, DENUM, DINDATA, RESTINI, REST, SUMA) "
                                 "VALUES (?, ?, ?, ?, ?, ?, 0, 0)").arg(path(tables::Ledger)),
                  {++ids, role, group, group, from, rest});
    }
    BuiltArrearsList build(ArrearsListOptions options, RoleSelection selection = {}) {
        std::optional<BuiltArrearsList> built = BuildArrearsList(env.services(), selection, options);
        if (!built) throw Error("nothing built", "test");
        return std::move(*built);
    }
    qint64 ids = 100000;
};

constexpr int kFirstRow = 8;
ArrearsListOptions arrears(bool exclude = false) { return {ArrearsKind::Arrears, exclude, false}; }

TEST(ArrearsLists, ArrearsAndIncrementsGoToTheirTaxAndAnAdvanceToTheOverpayments) {
    Folder f;
    const qint64 a = f.role("ALUNI", "1", "POP ANA");
    f.opening(a, kBuildings, 100, 0, 20);
    f.opening(a, kInside, 0, 30, 0);
    const BuiltArrearsList owed = f.build(arrears());
    const workbook::Sheet& s = owed.book.sheet(0);
    EXPECT_EQ(s.number(kFirstRow, kBuildingsSold), 100);
    EXPECT_EQ(s.number(kFirstRow, kBuildingsMajor), 20);
    EXPECT_EQ(s.cellType(kFirstRow, kInsideSold), workbook::CellType::Blank);
    const BuiltArrearsList plus = f.build({ArrearsKind::Overpayments, false, false});
    const workbook::Sheet& p = plus.book.sheet(0);
    EXPECT_EQ(p.number(kFirstRow, kInsideSold), 30);
    EXPECT_EQ(p.text(kFirstRow - 1, kInsideSold), "Plus");
    EXPECT_EQ(p.cellType(kFirstRow, kBuildingsSold), workbook::CellType::Blank);
}

TEST(ArrearsLists, AnotherClaimGetsAColumnAtFourteen) {
    Folder f;
    f.claim(f.role("ALUNI", "1", "POP ANA"), "Amenzi", 75);
    const workbook::Sheet& s = f.build(arrears()).book.sheet(0);
    EXPECT_EQ(s.text(6, kAdded), "Amenzi");
    EXPECT_EQ(s.number(kFirstRow, kAdded), 75);
}

TEST(ArrearsLists, ALineDueAfterTheFirstOfJanuaryIsNotCarried) {
    Folder f;
    f.claim(f.role("ALUNI", "1", "POP ANA"), "Amenzi", 75, QDate(WorkingYear().toInt(), 3, 1));
    EXPECT_EQ(f.build(arrears()).rows, 0);
}

TEST(ArrearsLists, TheBoxLeavesOutRolesWithoutTheKindsAmount) {
    Folder f;
    f.opening(f.role("ALUNI", "1", "POP ANA"), kBuildings, 0, 40, 0);
    f.opening(f.role("ALUNI", "2", "ION ION"), kBuildings, 10, 0, 0);
    EXPECT_EQ(f.build(arrears(false)).rows, 2);
    EXPECT_EQ(f.build(arrears(true)).rows, 1);
    EXPECT_EQ(f.build({ArrearsKind::Overpayments, true, false}).rows, 1);
}

TEST(ArrearsLists, IncrementsOfAPaidTaxAreNotShown) {
    Folder f;
    f.opening(f.role("ALUNI", "1", "POP ANA"), kBuildings, 0, 0, 15);
    const workbook::Sheet& s = f.build(arrears()).book.sheet(0);
    EXPECT_EQ(s.cellType(kFirstRow, kBuildingsMajor), workbook::CellType::Blank);
}

TEST(ArrearsLists, TwoRolesWithOneNumberAndNameInTwoVillagesAreTwoRows) {
    Folder f;
    f.opening(f.role("ALUNI", "5", "POP ANA"), kBuildings, 10, 0, 0);
    f.opening(f.role("BRAZI", "5", "POP ANA"), kBuildings, 7, 0, 0);
    RoleSelection byVillage;
    byVillage.addressOrder = true;
    const BuiltArrearsList built = f.build(arrears(), byVillage);
    ASSERT_EQ(built.rows, 2);
    EXPECT_EQ(built.book.sheet(0).number(kFirstRow, kBuildingsSold) + built.book.sheet(0).number(kFirstRow + 1, kBuildingsSold), 17);
}

// The address list: per village and address, the address on the first row, the sum on the last.
TEST(ArrearsLists, TheAddressListSumsEachAddressOfAVillage) {
    Folder f;
    for (const auto& [number, amount] : {std::pair{"1", 10}, {"2", 20}, {"3", 30}})
        f.opening(f.role("ALUNI", number, "POP", "Str. Mare 1"), kBuildings, amount, 0, 0);
    f.opening(f.role("BRAZI", "4", "ION", "Str. Mare 1"), kBuildings, 5, 0, 0);
    f.opening(f.role("ALUNI", "9", "FARA RAMASITE", "Str. Mica 2"), kBuildings, 0, 8, 0);
    const BuiltArrearsList built = f.build(AddressListOptions());
    const workbook::Sheet& s = built.book.sheet(0);
    ASSERT_EQ(built.rows, 4) << "a role without arrears is left out";
    const int column = 15; // after "TOTAL"
    EXPECT_EQ(s.text(6, column), "Total pe adresa");
    const QStringList addresses{s.text(8, 3), s.text(9, 3), s.text(10, 3), s.text(11, 3)};
    EXPECT_EQ(addresses, (QStringList{"Str. Mare 1", "", "", "Str. Mare 1"}));
    const std::vector<double> totals{s.number(8, column), s.number(9, column), s.number(10, column), s.number(11, column)};
    EXPECT_EQ(totals, (std::vector<double>{0, 0, 60, 5}));
}

// The saved list read by an outside program: the totals row adds up the rows.
TEST(ArrearsLists, TheSavedTotalsAddUp) {
    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert lipseste";
    Folder f;
    std::int64_t sum = 0;
    for (int i = 1; i <= 6; ++i) {
        const qint64 r = f.role("ALUNI", QString::number(i), "R");
        f.opening(r, kBuildings, 10 * i, 0, i);
        f.claim(r, i % 2 ? "Amenzi" : "Taxa pe pasune", 100 + i);
        sum += 11 * i + 100 + i;
    }
    const QString file = f.env.folders().program + "/ram.xls";
    f.build(arrears()).book.save(file);
    QProcess converter;
    converter.start(QStandardPaths::findExecutable("ssconvert"), {"--recalc", file, file + ".csv"});
    ASSERT_TRUE(converter.waitForFinished(60000));
    QFile csv(file + ".csv");
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    const QStringList total = lines.filter(QRegularExpression("^\"?TOTAL")).value(0).split(',');
    EXPECT_EQ(total.value(16).toLongLong(), sum) << lines.join('\n').toStdString();
}

} // namespace
