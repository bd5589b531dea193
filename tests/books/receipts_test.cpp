// The receipts book: a line written and read back field for field (from the file, by another
// engine), the readers' filters, the streaming scan's period, and ChitAnul.dbf's layout.

#include "books/receipts.h"
#include "db/database.h"
#include "shell/catalog.h"
#include "shell/table_files.h"
#include "support/shell_test_util.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

// A data folder with empty Chitante.dbf and ChitAnul.dbf.
struct ReceiptsFolder {
    QTemporaryDir dir;
    QString folder = dir.path();
    db::Database db{folder};
    ReceiptsFolder() {
        CreateReceiptsTable(db, ReceiptsTable(folder));
        CreateTable(db, CancelledReceiptsTable(folder), CatalogTable(tables::YearReceipts));
    }
    QString receipts() const { return ReceiptsTable(folder); }
};

// Every field set, each amount different, so a column read into the wrong field shows.
ReceiptLine fullLine() {
    ReceiptLine l;
    l.idchit = 71;
    l.idgos = 12;
    l.idanul = 305;
    l.series = QStringLiteral("VZ");
    l.number = 4411;
    l.date = QDate(2015, 3, 2);
    l.village = QStringLiteral("Vâlcele");
    l.rol = QStringLiteral("12/3");
    l.group = QStringLiteral("Impozit pe clădiri");
    l.name = QStringLiteral("Teren în intravilan");
    l.code = QStringLiteral("07.02.01.01");
    l.taxpayer = QStringLiteral("SC \"ALFA\" SRL");
    l.cnp = QStringLiteral("1234567890123");
    l.address = QStringLiteral("Str. Mare nr. 1");
    l.personType = QStringLiteral("J");
    l.payer = QStringLiteral("Popescu Ion");
    l.cashier = QStringLiteral("CASIER1");
    l.badge = QStringLiteral("L-9");
    l.arrears = 11;
    l.carried = 2;
    l.credit = -3;
    l.current = 104;
    l.penalties = 5;
    l.reduction = 6;
    l.total = 113;
    l.letter = QChar('C');
    return l;
}

std::vector<qint64> idsOf(const std::vector<ReceiptLine>& lines) {
    std::vector<qint64> ids;
    for (const ReceiptLine& l : lines) ids.push_back(l.idchit);
    return ids;
}

QStringList fieldNames(const QString& file) {
    QStringList names;
    for (const db::Field& f : CatalogTable(file).fields) names << f.name;
    return names;
}

TEST(ReceiptsBook, ALineComesBackFromTheFileFieldForField) {
    ReceiptsFolder f;
    ReceiptLine undated = fullLine();
    undated.idchit = 72;
    undated.date = QDate();
    {
        db::Transaction tx(f.db);
        InsertReceiptLine(f.db, f.receipts(), fullLine());
        InsertReceiptLine(f.db, f.receipts(), undated);
        tx.commit();
    }
    db::Database other(f.folder); // reads the file, not this engine's loaded copy
    EXPECT_EQ(ReadDocumentLines(other, f.receipts(), 71), std::vector<ReceiptLine>{fullLine()});
    EXPECT_EQ(ReadDocumentLines(other, f.receipts(), 72), std::vector<ReceiptLine>{undated});
}

TEST(ReceiptsBook, ReadersFilterByRoleDocumentAndDate) {
    ReceiptsFolder f;
    struct Stored {
        qint64 idchit, idgos;
        QDate date;
    } stored[] = {{1, 5, {2015, 1, 1}}, {2, 5, {2014, 12, 31}}, {3, 6, {2015, 6, 1}},
                  {4, kNoDebit, {2015, 2, 1}}, {5, 5, {}}, {1, 5, {2015, 1, 2}}};
    for (const Stored& s : stored) {
        ReceiptLine l = fullLine();
        l.idchit = s.idchit;
        l.idgos = s.idgos;
        l.date = s.date;
        InsertReceiptLine(f.db, f.receipts(), l);
    }
    // A collection without a debit written by an older version, its IDGOS left empty.
    f.db.exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, DATAI) VALUES (7, ?)").arg(f.receipts()), {QDate(2015, 2, 2)});
    struct Case {
        const char* what;
        std::vector<ReceiptLine> lines;
        std::vector<qint64> ids;
    } cases[] = {
        {"role, in stored order", ReadRoleLines(f.db, f.receipts(), 5), {1, 2, 5, 1}},
        {"role from a day, that day included", ReadRoleLines(f.db, f.receipts(), 5, {2015, 1, 1}), {1, 1}},
        {"without a debit: -1 or empty", ReadRoleLines(f.db, f.receipts(), kNoDebit), {4, 7}},
        {"document", ReadDocumentLines(f.db, f.receipts(), 1), {1, 1}},
        {"whole table", ReadAllLines(f.db, f.receipts()), {1, 2, 3, 4, 5, 1, 7}},
    };
    for (const Case& c : cases) EXPECT_EQ(idsOf(c.lines), c.ids) << c.what;
    EXPECT_EQ(ReadRoleLines(f.db, f.receipts(), kNoDebit).back().idgos, kNoDebit) << "an empty IDGOS reads -1";
}

TEST(ReceiptsBook, FindsADocumentBySeriesAndNumber) {
    ReceiptsFolder f;
    InsertReceiptLine(f.db, f.receipts(), fullLine()); // VZ 4411
    EXPECT_EQ(FindNumberedDocument(f.db, f.receipts(), QStringLiteral("VZ"), 4411)->idchit, 71);
    EXPECT_FALSE(FindNumberedDocument(f.db, f.receipts(), QStringLiteral("VY"), 4411));
    EXPECT_FALSE(FindNumberedDocument(f.db, f.receipts(), QStringLiteral("VZ"), 4412));
}

TEST(ReceiptsBook, TheScanTakesThePeriodWithBothEndsAndOnlyTheChosenFields) {
    ReceiptsFolder f;
    const QDate days[] = {{2015, 3, 1}, {2015, 3, 2}, {2015, 3, 5}, {2015, 3, 6}, {}};
    for (int i = 0; i < 5; ++i) {
        ReceiptLine l = fullLine();
        l.idchit = i + 1;
        l.date = days[i];
        InsertReceiptLine(f.db, f.receipts(), l);
    }
    std::vector<ReceiptLine> seen;
    ScanReceiptLines(f.db, f.receipts(), {ReceiptLineColumns::id, ReceiptLineColumns::total}, {2015, 3, 2}, {2015, 3, 5},
                     [&](const ReceiptLine& l) { seen.push_back(l); });
    EXPECT_EQ(idsOf(seen), (std::vector<qint64>{2, 3}));
    ASSERT_FALSE(seen.empty());
    ReceiptLine expected; // the chosen fields and the date; nothing else read
    expected.idchit = 2;
    expected.total = fullLine().total;
    expected.date = days[1];
    EXPECT_EQ(seen.front(), expected);
}

TEST(ReceiptsBook, TheCancelledLinesKeepTheLayoutWithoutTheOperation) {
    EXPECT_EQ(ReceiptColumns(true), fieldNames(tables::Receipts));
    EXPECT_EQ(ReceiptColumns(false), fieldNames(tables::YearReceipts));

    ReceiptsFolder f;
    InsertReceiptLine(f.db, f.receipts(), fullLine());
    CopyDocumentToCancelled(f.db, f.folder, 71);
    ReceiptLine kept = fullLine();
    kept.idanul = 0;   // ChitAnul.dbf has no IDANUL
    kept.name.clear(); // nor keeps DENUM
    EXPECT_EQ(ReadDocumentLines(f.db, CancelledReceiptsTable(f.folder), 71), std::vector<ReceiptLine>{kept});
}

TEST(ReceiptsBook, CancellingMarksTheDocumentAndDeletingTakesOnlyCancelledOnes) {
    ReceiptsFolder f;
    ReceiptLine other = fullLine();
    other.idchit = 80;
    InsertReceiptLine(f.db, f.receipts(), fullLine());
    InsertReceiptLine(f.db, f.receipts(), other);
    EXPECT_EQ(DeleteCancelledLines(f.db, f.receipts(), 71), 0) << "not cancelled yet";
    MarkDocumentCancelled(f.db, f.receipts(), 71);
    ReceiptLine cancelled = fullLine();
    cancelled.payer = kCancelledPayer;
    cancelled.arrears = cancelled.carried = cancelled.credit = cancelled.current = cancelled.penalties =
        cancelled.reduction = cancelled.total = 0;
    EXPECT_EQ(ReadDocumentLines(f.db, f.receipts(), 71), std::vector<ReceiptLine>{cancelled});
    EXPECT_EQ(ReadDocumentLines(f.db, f.receipts(), 80), std::vector<ReceiptLine>{other});
    EXPECT_EQ(DeleteCancelledLines(f.db, f.receipts(), 71), 1);
    EXPECT_EQ(idsOf(ReadAllLines(f.db, f.receipts())), std::vector<qint64>{80});
}

} // namespace
