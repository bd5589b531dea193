// The cancellation history: each snapshot table's columns as the catalog lays them out, a
// snapshot read back field for field as its source row stood, and the deletion of one
// operation's snapshots only.

#include "books/cancellations.h"
#include "db/database.h"
#include "shell/catalog.h"
#include "shell/table_files.h"
#include "support/shell_test_util.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

// A data folder with the three source tables and their snapshot tables, empty.
struct UndoFolder {
    QTemporaryDir dir;
    QString folder = dir.path();
    db::Database db{folder};
    UndoFolder() {
        for (const QString& file : {tables::Balances, tables::Ledger, tables::Debits, tables::BalancesUndo,
                                    tables::LedgerUndo, tables::DebitsUndo})
            CreateTable(db, path(file), CatalogTable(file));
    }
    QString path(const QString& file) const { return folder + '/' + file; }
    // Inserts one row of `file` with `columns` bound to `values`.
    void insert(const QString& file, const QStringList& columns, const QVariantList& values) {
        db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                    .arg(path(file), columns.join(QStringLiteral(", ")),
                         QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
                values);
    }
    int count(const QString& file) { return db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(path(file))).toInt(); }
};

QStringList fieldNames(const QString& file) {
    QStringList names;
    for (const db::Field& f : CatalogTable(file).fields) names << f.name;
    return names;
}

TEST(CancellationsBook, TheColumnsAreThoseOfTheCatalog) {
    EXPECT_EQ(BalanceUndoColumns(), fieldNames(tables::BalancesUndo));
    EXPECT_EQ(LedgerUndoColumns(), fieldNames(tables::LedgerUndo));
    EXPECT_EQ(DebitUndoColumns(), fieldNames(tables::DebitsUndo));
}

TEST(CancellationsBook, ASnapshotReadsBackAsItsRowStood) {
    UndoFolder f;
    // Each amount different, so a column read into the wrong field shows.
    f.insert(tables::Balances, BalanceUndoColumns().mid(1), {7, 31, 100, 90, 10, 0, 40, 5, 3, 41, 6, 4});
    f.insert(tables::Balances, BalanceUndoColumns().mid(1), {7, 32, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    f.insert(tables::Balances, BalanceUndoColumns().mid(1), {8, 33, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}); // another role
    f.insert(tables::Ledger, LedgerUndoColumns().mid(1), {7, 51, 60, 50, 4, 61, 52});
    f.insert(tables::Debits, DebitUndoColumns().mid(1), {7, 71, 300, 120});
    SnapshotRoleBalances(f.db, f.folder, 900, 7);
    SnapshotLedgerLine(f.db, f.folder, 900, 51);
    SnapshotDebit(f.db, f.folder, 900, 71);

    EXPECT_EQ(ReadBalanceUndo(f.db, f.folder, 900, 7),
              (std::vector<BalanceUndoRow>{{900, 7, 31, 100, 90, 10, 0, 40, 5, 3, 41, 6, 4},
                                           {900, 7, 32, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}));
    EXPECT_EQ(ReadLedgerUndo(f.db, f.folder, 900, 7), (std::vector<LedgerUndoRow>{{900, 7, 51, 60, 50, 4, 61, 52}}));
    EXPECT_EQ(ReadDebitUndo(f.db, f.folder, 900, 7), (std::vector<DebitUndoRow>{{900, 7, 71, 300, 120}}));
    EXPECT_TRUE(ReadBalanceUndo(f.db, f.folder, 900, 8).empty()) << "only the paying role's rows";
}

TEST(CancellationsBook, DeletingAnOperationKeepsTheOthers) {
    UndoFolder f;
    f.insert(tables::Balances, BalanceUndoColumns().mid(1), {7, 31, 100, 90, 10, 0, 40, 5, 3, 41, 6, 4});
    f.insert(tables::Ledger, LedgerUndoColumns().mid(1), {7, 51, 60, 50, 4, 61, 52});
    f.insert(tables::Debits, DebitUndoColumns().mid(1), {7, 71, 300, 120});
    for (qint64 operation : {900, 901}) {
        SnapshotRoleBalances(f.db, f.folder, operation, 7);
        SnapshotLedgerLine(f.db, f.folder, operation, 51);
        SnapshotDebit(f.db, f.folder, operation, 71);
    }
    DeleteOperationUndo(f.db, f.folder, 900);
    for (const QString& file : {tables::BalancesUndo, tables::LedgerUndo, tables::DebitsUndo})
        EXPECT_EQ(f.count(file), 1) << file.toStdString();
    EXPECT_EQ(ReadDebitUndo(f.db, f.folder, 901, 7).size(), 1u);
}

} // namespace
