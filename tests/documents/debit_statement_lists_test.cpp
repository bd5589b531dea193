// The debit statements from a small data folder: what each cell of the statement list, the
// summary and the cumulated statements holds, and that every total adds up its cells.

#include "statements_test_util.h"

#include "cash/debit_statements.h"

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

// The cells of one row from column 1 to the TOTAL column, as text.
QStringList row(const CellList& list, int r) {
    QStringList cells;
    for (int c = 1; c <= list.totalColumn; ++c) cells << list.value(r, c).toString();
    return cells;
}

TEST(DebitStatementList, AWriteOffShowsEachSourceWithoutItsSign) {
    StatementFolder f;
    const qint64 ion = f.role("POPA ION", "7");
    f.line(ion, kBuildings, kDay, 4, 0, 30);
    f.debit(ion, kFines, kDay, 4, -20);
    const CellList list = f.list(kWriteOffStatement, 4);
    EXPECT_EQ(row(list, 8), QStringList({"7", "POPA ION", "10.03.2015", "20", "30", "50"}));
    EXPECT_EQ(row(list, 9), QStringList({"", "TOTAL", "", "20", "30", "50"}));
}

TEST(DebitStatementList, ARoleKeepsOneRowAndACellSumsItsDays) {
    StatementFolder f;
    const qint64 a = f.role("POPA ION", "7"), b = f.role("POPA ION", "8");
    f.line(a, kBuildings, kDay, 3, 100);
    f.line(b, kBuildings, kDay, 3, 5);
    f.debit(a, kBuildings, kDay.addDays(-9), 3, 40); // the same group on an earlier day adds up
    f.debit(a, kFines, kDay, 3, 15);                 // a second group stays on the role's row
    const CellList list = f.list(kChargeStatement, 3);
    EXPECT_EQ(row(list, 8), QStringList({"7", "POPA ION", "01.03.2015", "15", "140", "155"}));
    EXPECT_EQ(row(list, 9), QStringList({"8", "POPA ION", "10.03.2015", "", "5", "5"})) << "two roles of one name";
    EXPECT_EQ(row(list, 10), QStringList({"", "TOTAL", "", "15", "145", "160"}));
}

TEST(DebitStatementList, WhatCountsInAStatement) {
    StatementFolder f;
    const qint64 ion = f.role("POPA ION", "7");
    f.line(ion, kBuildings, kFrom, 2, 1);               // first day of the period
    f.line(ion, kBuildings, kTo, 2, 2);                 // last day
    f.line(ion, kBuildings, kTo.addDays(1), 2, 4);      // the day after: left out
    f.line(ion, kBuildings, kDay, 2, 0, 0, 8);          // arrears established count too
    f.line(999, kBuildings, kDay, 2, 16);               // a deleted role: left out
    f.line(ion, kFines, kDay, QVariant(), 32);          // statement 0: NR empty ...
    f.debit(ion, kFines, kDay, 0, 64);                  // ... and NR 0
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, GRUPA, DINDATA, NR, TIP, SUMA2) "
                               "VALUES (500, ?, ?, ?, 2, 'M', 128)").arg(f.path(tables::Ledger)),
                {ion, kBuildings, kDay}); // RESTINI left empty: SUMA2 still counts
    EXPECT_EQ(f.list(kChargeStatement, 2).value(8, 4).toLongLong(), 139);
    EXPECT_EQ(f.list(kChargeStatement, 0).value(8, 4).toLongLong(), 96);
    const std::vector<DebitStatement> choices = DebitStatements(f.db(), f.env.folders().data);
    ASSERT_EQ(choices.size(), 2u) << "statement 0 is one choice";
    EXPECT_EQ(choices[0].number, 0);
    EXPECT_EQ(choices[0].amount, 96);
    EXPECT_EQ(choices[1].amount, 1 + 2 + 4 + 8 + 16 + 128) << "the selector counts every line of the statement";
}

TEST(DebitStatementList, AnEmptyStatementHasHeadingsAndTotalsOnly) {
    StatementFolder f;
    const CellList list = f.list(kChargeStatement, 9);
    EXPECT_EQ(list.lastRow, 8);
    EXPECT_EQ(row(list, 7), QStringList({"ROL", "NUMELE SI PRENUMELE", "", ""}));
    EXPECT_EQ(row(list, 8), QStringList({"", "TOTAL", "", "0"}));
}

TEST(DebitStatementList, SumaStandsOverTheMiddleGroupColumn) {
    const std::pair<int, int> cases[] = {{1, 4}, {2, 5}, {5, 6}}; // groups, column of "S U M A"
    for (const auto& [groups, column] : cases) {
        StatementFolder f;
        const qint64 ion = f.role("POPA ION", "7");
        for (int g = 0; g < groups; ++g) f.line(ion, QStringLiteral("Taxa %1").arg(g), kDay, 1, 10);
        EXPECT_EQ(f.list(kChargeStatement, 1).value(6, column).toString(), "S U M A") << groups;
    }
}

TEST(DebitStatementSummary, ChargesAndWriteOffsNetInOneCell) {
    StatementFolder f;
    const qint64 ion = f.role("POPA ION", "7");
    f.line(ion, kBuildings, kDay, 5, 100);
    f.debit(ion, kBuildings, kDay, 5, -40);
    f.line(ion, kFines, kDay, 5, 0, 25); // a reduction nets as a negative debit does
    f.debit(ion, kFines, kDay.addDays(1), 6, 70);
    const CellList list = StatementSummary(f.s(), {kFrom, kTo});
    EXPECT_EQ(row(list, 8), QStringList({"1", "5 / 10.03.2015", "-25", "60", "35"}));
    EXPECT_EQ(row(list, 9), QStringList({"2", "6 / 11.03.2015", "70", "", "70"}));
    EXPECT_EQ(row(list, 10), QStringList({"", "TOTAL", "45", "60", "105"}));
}

TEST(CumulatedDebitStatements, GroupsStandRightToLeftAndTotalIsChargedLessWrittenOff) {
    StatementFolder f;
    const qint64 ion = f.role("POPA ION", "7");
    f.line(ion, "Salubritate", kDay, 1, 100, 30);
    f.debit(ion, "PSI", kDay, 1, 50);
    f.debit(ion, "Iluminat", kDay, 1, -5);
    f.debit(ion, "Paza", kDay, 1, 1);
    CumulatedStatementRows data;
    const workbook::Workbook book = BuildCumulatedStatements(f.s(), {kFrom, kTo}, &data);
    EXPECT_EQ(data.groups, QStringList({"Iluminat", "PSI", "Paza", "Salubritate"}));
    const workbook::Sheet& sheet = book.sheet(0);
    QStringList heading;
    for (int c = 5; c <= 13; c += 2) heading << sheet.text(5, c);
    EXPECT_EQ(heading, QStringList({"Salubritate", "Paza", "PSI", "Iluminat", "TOTAL"}));
    EXPECT_EQ(sheet.number(7, 13), 100 - 30 + 50 - 5 + 1);
}

} // namespace
