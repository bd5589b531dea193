// The lists to collect and the collection rate on a small data folder: which roles and
// amounts the detailed list shows, its columns, its totals against the account, the summary
// at today and the collection rate, each read back from its file.

#include "notices_test_util.h"

#include "documents/collection_lists.h"
#include "workbook/biff2_reader.h"

#include <QFile>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QString kBuildings = "Impozit pe cladiri", kInside = "Impozit pe teren intravilan";
const QDate kNewYear(2015, 1, 1), kAutumn(2015, 10, 10);

struct Folder : NoticeFolder {
    CollectionChoice choice(const QDate& date = kNewYear, bool credits = false, bool zero = false) {
        return {QStringLiteral(" * indiferent *"), date, credits, zero, PersonChoice::Any};
    }
    DetailedList detailed(const CollectionChoice& c) {
        std::optional<DetailedList> list = WriteDetailedCollectionList(env.services(), c, env.folders().program + "/d.xls");
        EXPECT_TRUE(list.has_value());
        return list.value_or(DetailedList{});
    }
    // The cells of the detailed list as the command line reads them back.
    workbook::Biff2Cells cells() {
        QFile f(env.folders().program + "/d.xls");
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return workbook::ReadBiff2(f.readAll()).value_or(workbook::Biff2Cells{});
    }
    void fine(qint64 role, qint64 amount, qint64 rest, qint64 reduction) { ledgerLine(role, "Amenzi", amount, rest, reduction); }
};

// 0-based columns of the detailed list: the building tax's arrears and current amount.
constexpr int kArrears = 3, kCurrent = 4, kFirstRow = 8;

TEST(DetailedCollectionList, ACreditIsListedOnlyWithTheCredits) {
    Folder f;
    f.balance(f.addRole("PLUS"), {kBuildings, 0, 0, 0, 0, 0, 40, 0});
    EXPECT_TRUE(f.detailed(f.choice()).rowTotals.empty());
    EXPECT_EQ(f.detailed(f.choice(kNewYear, true)).rowTotals, std::vector<std::int64_t>{-40});
}

TEST(DetailedCollectionList, ARoleOwingNothingIsListedOnlyWithTheEmptyRoles) {
    Folder f;
    f.balance(f.addRole("NIMIC"), {kBuildings, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(f.detailed(f.choice()).rowTotals.empty());
    EXPECT_EQ(f.detailed(f.choice(kNewYear, false, true)).rowTotals, std::vector<std::int64_t>{0});
}

TEST(DetailedCollectionList, TheLocalTaxesTakeColumnsFourToFifteenWhateverIsMetFirst) {
    Folder f;
    f.fine(f.addRole("AMENDA"), 50, 0, 0);
    f.detailed(f.choice());
    const workbook::Biff2Cells c = f.cells();
    const QStringList headings{c.text(6, 4), c.text(6, 7), c.text(6, 10), c.text(6, 13), c.text(6, 15)};
    EXPECT_EQ(headings, (QStringList{kBuildings, kInside, "Impozit pe teren extravilan",
                                     "Impozit pe mijloace de transport", "Amenzi"}));
}

TEST(DetailedCollectionList, AWriteOffCancelsTheArrearsFirst) {
    Folder f;
    const qint64 r = f.addRole("SCAZUT");
    f.balance(r, {kBuildings, 0, 0, 0, 0, 100, 0, 0});
    f.debit(r, "SCADERE", kNewYear, -150);
    f.detailed(f.choice(kNewYear, true));
    const workbook::Biff2Cells c = f.cells();
    EXPECT_EQ(c.text(kFirstRow, kArrears) + "|" + c.text(kFirstRow, kCurrent), "|-50");
}

TEST(DetailedCollectionList, ADebitOfATaxTheRoleHasNoRowOfIsNotShown) {
    Folder f;
    f.debit(f.addRole("DEBIT"), "DEBIT", kNewYear, 70);
    EXPECT_TRUE(f.detailed(f.choice()).rowTotals.empty());
}

TEST(DetailedCollectionList, AnExemptedTaxShowsNoCurrentAmount) {
    Folder f;
    f.balance(f.addRole("SCUTIT"), {kBuildings, 200, 200, 0, 200, 10, 0, 0});
    EXPECT_EQ(f.detailed(f.choice()).rowTotals, std::vector<std::int64_t>{10});
}

TEST(DetailedCollectionList, AFinesReductionIsTakenOffOnce) {
    Folder f;
    f.fine(f.addRole("AMENDA"), 100, 0, 30);
    EXPECT_EQ(f.detailed(f.choice()).rowTotals, std::vector<std::int64_t>{70});
}

// The row totals are what the account asks of the same roles on the same day, penalties and
// debits of the year included.
TEST(DetailedCollectionList, RowTotalsAreTheAccountsAmounts) {
    Folder f;
    std::vector<std::int64_t> expected;
    for (int i = 1; i <= 4; ++i) {
        const qint64 r = f.addRole(QString("R%1").arg(i));
        f.balance(r, {kBuildings, 100 * i, 100 * i, 0, 0, 30 * i, 0, 5});
        f.balance(r, {kInside, 40, 20, 0, 0, 0, 0, 0});
        f.debit(r, "DEBIT", QDate(2015, 3, 1), 25 * i);
        f.fine(r, 60, 10 * i, 0);
        expected.push_back(f.account(r, kAutumn, ReadAccountRules(f.env.services().counters(), f.db(),
                                                                  f.env.folders().data)).total);
    }
    const DetailedList list = f.detailed(f.choice(kAutumn));
    EXPECT_EQ(list.rowTotals, expected);
}

// The file read back by another spreadsheet program: the totals row adds up the rows.
TEST(DetailedCollectionList, TheOtherProgramReadsTheTotals) {
    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert lipseste";
    Folder f;
    std::int64_t sum = 0;
    for (int i = 1; i <= 5; ++i) {
        const qint64 r = f.addRole(QString("R%1").arg(i));
        f.balance(r, {kBuildings, 10 * i, 10 * i, 0, 0, 0, 0, 0});
        f.fine(r, 7 * i, 0, 0);
        sum += 17 * i;
    }
    f.detailed(f.choice());
    const QString file = f.env.folders().program + "/d.xls";
    QProcess converter;
    converter.start(QStandardPaths::findExecutable("ssconvert"), {file, file + ".csv"});
    ASSERT_TRUE(converter.waitForFinished(60000));
    QFile csv(file + ".csv");
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(kFirstRow + 5).split(',').last().toLongLong(), sum) << lines.join('\n').toStdString();
    EXPECT_EQ(f.cells().text(kFirstRow + 5, 17).toLongLong(), sum); // xls-cat's reading
}

TEST(DetailedCollectionList, NoRoleWritesNoFile) {
    Folder f;
    CollectionChoice c = f.choice();
    c.village = "NICAIERI";
    EXPECT_FALSE(WriteDetailedCollectionList(f.env.services(), c, f.env.folders().program + "/d.xls"));
    EXPECT_FALSE(QFile::exists(f.env.folders().program + "/d.xls"));
}

// The summary's first row, columns D to G: arrears, current, advance, increments.
QStringList summaryTotals(const BuiltCollectionList& built) {
    const workbook::Sheet& s = built.book.sheet(0);
    return {s.text(6, 3), s.text(6, 4), s.text(6, 5), s.text(6, 6)};
}

TEST(CollectionSummary, IsComputedAtTodayWhateverTheChosenDate) {
    Folder f;
    f.balance(f.addRole("RAMAS"), {kBuildings, 0, 0, 0, 0, 1000, 0, 0});
    const QStringList atNewYear = summaryTotals(BuildCollectionSummary(f.env.services(), f.choice(kAutumn), kNewYear));
    EXPECT_EQ(atNewYear, (QStringList{"1000", "", "", ""}));
}

TEST(CollectionSummary, AnOverpaidFineShowsItsNetAmountAsAdvance) {
    Folder f;
    f.fine(f.addRole("AMENDA"), 50, -100, 10);
    const QStringList totals = summaryTotals(BuildCollectionSummary(f.env.services(), f.choice(), kNewYear));
    EXPECT_EQ(totals.value(2), "-40");
}

TEST(CollectionRate, WriteOffsArePositiveAndOnlyTaxBonusesCount) {
    Folder f;
    const qint64 r = f.addRole("RATA");
    f.balance(r, {kBuildings, 500, 500, 0, 0, 0, 0, 0});
    f.debit(r, "SCADERE", kNewYear, -80);
    f.debit(r, "DEBIT", kNewYear, 30);
    f.reducedReceipt(r, kBuildings, kNewYear);
    f.reducedReceipt(r, "Amenzi", kNewYear);
    f.balance(9999, {kBuildings, 700, 700, 0, 0, 0, 0, 0}); // a role no longer in the register
    std::optional<BuiltCollectionList> built = BuildCollectionRate(f.env.services(), kNewYear);
    ASSERT_TRUE(built);
    const workbook::Sheet& s = built->book.sheet(0);
    EXPECT_EQ((QStringList{s.text(6, 3), s.text(6, 4), s.text(6, 5), s.text(6, 6)}),
              (QStringList{"500", "30", "80", "10"}));
}

} // namespace

namespace {

TEST(CollectionRate, ADatabaseFailureEndsItWithoutAFile) {
    Folder f;
    f.balance(f.addRole("RATA"), {kBuildings, 500, 500, 0, 0, 0, 0, 0});
    ASSERT_TRUE(QFile::remove(f.env.folders().data + "/Debit.dbf"));
    EXPECT_FALSE(BuildCollectionRate(f.env.services(), kNewYear));
    EXPECT_TRUE(QDir(f.env.folders().program).entryList({"*.xls"}).isEmpty());
}

} // namespace
