// The ledger book: a line written is read back whole, from the file, by each reader; the
// readers keep to their filters; the writers touch only the line they name.

#include "books_test_util.h"

#include "books/ledger.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::BooksFolder;

namespace {

// A line with every field set: the widest quantity CANT holds, a name in double quotes and
// letters the Windows-1250 file must carry.
LedgerLine fullLine(qint64 id, qint64 role) {
    LedgerLine l;
    l.id = id;
    l.roleId = role;
    l.from = QDate(2015, 3, 17);
    l.village = QStringLiteral("ŞIEU-MĂGHERUŞ");
    l.number = QStringLiteral("12A");
    l.group = QStringLiteral("Taxă pentru câini");
    l.name = QStringLiteral("SC \"ALFA\" SRL");
    l.explanation = QStringLiteral("Proces verbal nr. 7/2015");
    l.docNumber = 4711;
    l.current = 1250;
    l.arrears = -40;
    l.reduction = 125;
    l.unit = QStringLiteral("buc");
    l.quantity = Currency::fromRaw(12345678901234); // 1234567890.1234
    l.reductionPercent = 10;
    l.exempt = 3;
    l.type = kManualLine;
    l.established = 1300;
    l.arrearsEstablished = 60;
    return l;
}

TEST(LedgerBook, ALineWrittenIsReadBackWholeFromTheFile) {
    BooksFolder f;
    const LedgerLine line = fullLine(21, 5);
    InsertLedgerLine(f.db(), f.folder(), line);

    db::Database fresh(f.folder()); // reads the file, not the copy that wrote it
    const std::vector<LedgerLine> byRole = ReadLedgerLines(fresh, f.folder(), 5);
    ASSERT_EQ(byRole.size(), 1u);
    EXPECT_EQ(LedgerLineValues(byRole[0]), LedgerLineValues(line));
    EXPECT_EQ(byRole[0].record, 1);
    const std::vector<LedgerLine> byId = ReadLedgerLinesWithId(fresh, f.folder(), 21);
    ASSERT_EQ(byId.size(), 1u);
    EXPECT_EQ(LedgerLineValues(byId[0]), LedgerLineValues(line));
    std::vector<QVariantList> scanned;
    ScanLedger(fresh, f.folder(), [&](const LedgerLine& l) { scanned.push_back(LedgerLineValues(l)); });
    EXPECT_EQ(scanned, std::vector<QVariantList>{LedgerLineValues(line)});
}

TEST(LedgerBook, ReadersKeepToTheirRoleAndOrder) {
    BooksFolder f;
    // id, role, group, day of March: stored in this order.
    const struct {
        qint64 id, role;
        const char* group;
        int day;
    } stored[] = {{30, 1, "Salubritate", 2}, {31, 2, "Amenzi", 1}, {32, 1, "Amenzi", 9},
                  {33, 1, "Amenzi", 4},      {29, 1, "Amenzi", 4}};
    for (const auto& s : stored) {
        LedgerLine l = fullLine(s.id, s.role);
        l.group = QString::fromLatin1(s.group);
        l.from = QDate(2015, 3, s.day);
        InsertLedgerLine(f.db(), f.folder(), l);
    }
    const auto ids = [](const std::vector<LedgerLine>& lines) {
        std::vector<qint64> out;
        for (const LedgerLine& l : lines) out.push_back(l.id);
        return out;
    };
    EXPECT_EQ(ids(ReadLedgerLines(f.db(), f.folder(), 1)), (std::vector<qint64>{30, 32, 33, 29}));
    EXPECT_EQ(ids(ReadLedgerLines(f.db(), f.folder(), 1, LedgerOrder::ByClaim)), (std::vector<qint64>{29, 33, 32, 30}));
    EXPECT_EQ(ids(ReadLedgerLinesWithId(f.db(), f.folder(), 31)), std::vector<qint64>{31});
    EXPECT_TRUE(ReadLedgerLines(f.db(), f.folder(), 3).empty());
}

// A damaged table may hold one IDDAT in two roles: what one role's payment or cancellation
// writes must not reach the other's line.
TEST(LedgerBook, RemaindersAndDeletionReachOnlyTheNamedRolesLine) {
    BooksFolder f;
    InsertLedgerLine(f.db(), f.folder(), fullLine(40, 1));
    InsertLedgerLine(f.db(), f.folder(), fullLine(40, 2));
    SetLedgerRemainders(f.db(), f.folder(), 1, 40, 7, 8);
    const LedgerLine other = ReadLedgerLines(f.db(), f.folder(), 2).at(0);
    EXPECT_EQ(LedgerLineValues(other), LedgerLineValues(fullLine(40, 2)));
    const LedgerLine paid = ReadLedgerLines(f.db(), f.folder(), 1).at(0);
    EXPECT_EQ(QString("%1/%2/%3/%4").arg(paid.current).arg(paid.arrears).arg(paid.established).arg(paid.arrearsEstablished),
              "7/8/1300/60")
        << "only what is left to pay moves";
    DeleteLedgerLine(f.db(), f.folder(), 1, 40);
    EXPECT_TRUE(ReadLedgerLines(f.db(), f.folder(), 1).empty());
    EXPECT_EQ(ReadLedgerLines(f.db(), f.folder(), 2).size(), 1u);
}

} // namespace
