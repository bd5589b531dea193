// The balances, debits and roles books: records read back whole from the file, the writers
// that change only what their operation owns, and the column lists the file writers follow.

#include "books_test_util.h"

#include "books/balances.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "books/roles.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::BooksFolder;

namespace {

BalanceRow fullBalance(qint64 id, qint64 role) {
    BalanceRow b;
    b.id = id;
    b.roleId = role;
    b.village = QStringLiteral("ŞIEU-MĂGHERUŞ");
    b.number = QStringLiteral("7");
    b.group = QStringLiteral("Impozit pe clădiri");
    b.amount = 900;
    b.rest = 450;
    b.reduction = 90;
    b.exempted = 1;
    b.arrears = 120;
    b.credit = -5;
    b.penalties = 33;
    b.arrearsStart = 150;
    b.creditStart = 10;
    b.penaltiesStart = 40;
    b.type = QStringLiteral("A");
    return b;
}

// Every field, in the order of BalanceColumnNames().
QVariantList values(const BalanceRow& b) {
    return {b.id,      b.roleId,   b.village,   b.number,    b.group,        b.amount,      b.rest,           b.reduction,
            b.exempted, b.arrears, b.credit,    b.penalties, b.arrearsStart, b.creditStart, b.penaltiesStart, b.type};
}

TEST(BalancesBook, ARowWrittenIsReadBackWholeFromTheFile) {
    BooksFolder f;
    InsertBalanceRow(f.db(), f.folder(), fullBalance(3, 8));
    db::Database fresh(f.folder());
    const std::vector<BalanceRow> rows = ReadBalanceRows(fresh, f.folder(), 8);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(values(rows[0]), values(fullBalance(3, 8)));
}

// A payment and its cancellation own the remainders only; the amounts as established are the
// assessment's, and a row of another role with the same IDRES (a damaged table) is not theirs.
TEST(BalancesBook, RemaindersLeaveTheEstablishedAmountsAndOtherRolesAlone) {
    BooksFolder f;
    InsertBalanceRow(f.db(), f.folder(), fullBalance(3, 8));
    InsertBalanceRow(f.db(), f.folder(), fullBalance(3, 9));
    BalanceRow paid = fullBalance(3, 8);
    paid.amount = paid.exempted = paid.arrearsStart = paid.creditStart = paid.penaltiesStart = 0;
    paid.rest = 1;
    paid.reduction = 2;
    paid.arrears = 3;
    paid.credit = 4;
    paid.penalties = 5;
    SetBalanceRemainders(f.db(), f.folder(), paid);
    BalanceRow expected = fullBalance(3, 8);
    expected.rest = 1;
    expected.reduction = 2;
    expected.arrears = 3;
    expected.credit = 4;
    expected.penalties = 5;
    EXPECT_EQ(values(ReadBalanceRows(f.db(), f.folder(), 8).at(0)), values(expected));
    EXPECT_EQ(values(ReadBalanceRows(f.db(), f.folder(), 9).at(0)), values(fullBalance(3, 9)));
}

// A row the old program wrote may leave CAMP1 empty and still hold VAL1: the pairs keep their
// positions, so VAL1 stays VAL1.
TEST(DebitsBook, ADebitIsReadBackWholeWithItsPairsInPlace) {
    BooksFolder f;
    YearDebit d;
    d.id = 12;
    d.roleId = 4;
    d.tax = QStringLiteral("Impozit pe clădiri");
    d.explanation = QStringLiteral("Contract \"vânzare\"");
    d.docNumber = 33;
    d.kind = QStringLiteral("Cumparare");
    d.object = {QStringLiteral("Cladiri"), QStringLiteral("PAG2"), {{QString(), QStringLiteral("120.5")},
                                                                    {QStringLiteral("C1S"), QStringLiteral("80")}}};
    d.from = QDate(2015, 5, 12);
    d.monthStart = QDate(2015, 5, 1);
    d.amount = -300;
    d.toCollect = -120;
    InsertYearDebit(f.db(), f.folder(), d);
    db::Database fresh(f.folder());
    const std::vector<YearDebit> read = ReadYearDebits(fresh, f.folder(), 4);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(YearDebitValues(read[0]), YearDebitValues(d));
    SetDebitRemainder(f.db(), f.folder(), 5, 12, 0);
    EXPECT_EQ(ReadYearDebitsWithId(f.db(), f.folder(), 12).at(0).toCollect, -120) << "debit 12 is not role 5's";
}

TEST(RolesBook, ARoleWrittenIsReadBackWholeAndFoundByItsCode) {
    BooksFolder f;
    Role r;
    r.id = 6;
    r.village = QStringLiteral("ŞIEU-MĂGHERUŞ");
    r.number = QStringLiteral("15");
    r.name = QStringLiteral("SC \"ALFA\" SRL");
    r.code = QStringLiteral("18598");
    r.address = QStringLiteral("Str. Mare, 1");
    r.personType = kPersonLegal;
    r.exemptYards = true;
    r.exemptVehicles = true;
    r.extravilanExemption = 25;
    r.notes = QStringLiteral("fără acte");
    r.noPenalties = true;
    InsertRole(f.db(), f.folder(), r);
    db::Database fresh(f.folder());
    const std::optional<Role> read = ReadRole(fresh, f.folder(), 6);
    ASSERT_TRUE(read);
    EXPECT_EQ(RoleValues(*read), RoleValues(r));
    EXPECT_TRUE(ReadRoleWithCode(fresh, f.folder(), QStringLiteral("18598"), 0));
    EXPECT_FALSE(ReadRoleWithCode(fresh, f.folder(), QStringLiteral("18598"), 6)) << "the role itself is left out";
}

// The demonstration and the benchmarks write whole files from these lists: a list out of step
// with the program's layout would put values under the wrong field.
TEST(Books, ColumnListsFollowTheProgramsLayouts) {
    const std::pair<QString, const QStringList*> books[] = {{tables::Roles, &RoleColumnNames()},
                                                            {tables::Ledger, &LedgerColumnNames()},
                                                            {tables::Balances, &BalanceColumnNames()},
                                                            {tables::Debits, &DebitColumnNames()}};
    for (const auto& [file, columns] : books) {
        QStringList layout;
        for (const db::Field& field : CatalogTable(file).fields) layout << field.name;
        EXPECT_EQ(*columns, layout) << file.toStdString();
    }
}

} // namespace
