#pragma once
// The cancellation history: before a payment changes a role's rows it copies them, keyed by
// its operation (IDANUL), into UndelSold.dbf (the balance rows of SoldCalc.dbf), UndelDat.dbf
// (the ledger lines of Datorii.dbf it pays) and UndelDebit.dbf (the debits of Debit.dbf it
// pays). Cancelling the payment reads them back and deletes them.
//
// The one place that knows their column names: their records, the snapshot writers of the
// payment and the readers and eraser of the cancellation, all run inside their transactions.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// The columns of the three snapshot tables; each copies the same column of its source.
struct UndoColumns {
    static inline const QString operation = QStringLiteral("IDANUL"); // all three
    static inline const QString role = QStringLiteral("IDGOS");       // all three
    // UndelSold.dbf, from SoldCalc.dbf
    static inline const QString balanceId = QStringLiteral("IDRES");
    static inline const QString amount = QStringLiteral("SUMA");     // also UndelDat.dbf
    static inline const QString rest = QStringLiteral("REST");       // also UndelDat.dbf
    static inline const QString reduction = QStringLiteral("REDUC"); // also UndelDat.dbf
    static inline const QString exemption = QStringLiteral("SCUTIRE");
    static inline const QString arrears = QStringLiteral("DATOR");
    static inline const QString credit = QStringLiteral("DEPOZ");
    static inline const QString carried = QStringLiteral("MAJOR");
    static inline const QString arrearsInitial = QStringLiteral("DATORI");
    static inline const QString creditInitial = QStringLiteral("DEPOZI");
    static inline const QString carriedInitial = QStringLiteral("MAJORI");
    // UndelDat.dbf, from Datorii.dbf
    static inline const QString ledgerId = QStringLiteral("IDDAT");
    static inline const QString established = QStringLiteral("SUMA2");
    static inline const QString restInitial = QStringLiteral("RESTINI");
    // UndelDebit.dbf, from Debit.dbf
    static inline const QString debitId = QStringLiteral("IDDEB");
    static inline const QString initial = QStringLiteral("SUMAINI");
    static inline const QString open = QStringLiteral("SUMAC");
};

/// Every column of each snapshot table, in layout order.
const QStringList& BalanceUndoColumns(); // UndelSold.dbf
const QStringList& LedgerUndoColumns();  // UndelDat.dbf
const QStringList& DebitUndoColumns();   // UndelDebit.dbf

/// UndelSold.dbf: one balance row of SoldCalc.dbf as it stood before a payment.
struct BalanceUndoRow {
    qint64 operation = 0;            // IDANUL
    qint64 role = 0;                 // IDGOS
    qint64 id = 0;                   // IDRES
    std::int64_t amount = 0;         // SUMA: assessed for the year
    std::int64_t rest = 0;           // REST
    std::int64_t reduction = 0;      // REDUC
    std::int64_t exemption = 0;      // SCUTIRE
    std::int64_t arrears = 0;        // DATOR
    std::int64_t credit = 0;         // DEPOZ
    std::int64_t carried = 0;        // MAJOR
    std::int64_t arrearsInitial = 0; // DATORI
    std::int64_t creditInitial = 0;  // DEPOZI
    std::int64_t carriedInitial = 0; // MAJORI
    bool operator==(const BalanceUndoRow&) const = default;
};

/// UndelDat.dbf: one ledger line of Datorii.dbf as it stood before a payment.
struct LedgerUndoRow {
    qint64 operation = 0;         // IDANUL
    qint64 role = 0;              // IDGOS
    qint64 id = 0;                // IDDAT
    std::int64_t amount = 0;      // SUMA
    std::int64_t rest = 0;        // REST
    std::int64_t reduction = 0;   // REDUC
    std::int64_t established = 0; // SUMA2
    std::int64_t restInitial = 0; // RESTINI
    bool operator==(const LedgerUndoRow&) const = default;
};

/// UndelDebit.dbf: one debit of Debit.dbf as it stood before a payment.
struct DebitUndoRow {
    qint64 operation = 0;     // IDANUL
    qint64 role = 0;          // IDGOS
    qint64 id = 0;            // IDDEB
    std::int64_t initial = 0; // SUMAINI
    std::int64_t open = 0;    // SUMAC
    bool operator==(const DebitUndoRow&) const = default;
};

// --- the payment's snapshot writers: copied in SQL, so empty values stay empty -------------

/// Copies every SoldCalc.dbf row of role `idgos` into UndelSold.dbf under operation `idanul`.
void SnapshotRoleBalances(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 idgos);
/// Copies ledger line `iddat` of Datorii.dbf into UndelDat.dbf under operation `idanul`.
void SnapshotLedgerLine(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 iddat);
/// Copies debit `iddeb` of Debit.dbf into UndelDebit.dbf under operation `idanul`.
void SnapshotDebit(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 iddeb);

// --- the cancellation's readers and eraser ------------------------------------------------

/// The snapshots of operation `idanul` for role `idgos`, in the order they were taken.
std::vector<BalanceUndoRow> ReadBalanceUndo(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 idgos);
std::vector<LedgerUndoRow> ReadLedgerUndo(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 idgos);
std::vector<DebitUndoRow> ReadDebitUndo(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 idgos);
/// Deletes every snapshot of operation `idanul` from the three tables.
void DeleteOperationUndo(db::Database& db, const QString& dataFolder, qint64 idanul);

} // namespace vartesa
