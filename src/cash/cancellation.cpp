#include "cash/cancellation.h"

#include "books/cancellations.h"
#include "books/receipts.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/action_log.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <algorithm>

namespace vartesa {

namespace {

const QString kCancelTitle = QStringLiteral("Anulare");

// A remainder the payment lowered, and the amount as established it is counted from: their
// column in the balance table (the snapshot has the same) and their field in the snapshot.
template <typename Row>
struct Shifted {
    const QString* remainder;
    std::int64_t Row::*remainderWas;
    const QString* established;
    std::int64_t Row::*establishedWas;
};

// A field restored as it was, or whose change means the row was re-established.
template <typename Row>
struct Kept {
    const QString* column;
    std::int64_t Row::*was;
};

// How one balance table comes back from its snapshots.
template <typename Row>
struct RestoreRule {
    const QString* table;                 // the balance table
    const QString* key;                   // the row identifier both share
    std::vector<Shifted<Row>> shifted;    // remainders moved by the change of their established amount
    std::vector<Kept<Row>> plain;         // restored as they were, unless the row was re-established
    std::vector<Kept<Row>> established;   // fields whose change means the row was re-established
};

using U = UndoColumns;

// The reduction a payment writes is the one it granted; after a new assessment the
// reduction it set stands.
const RestoreRule<BalanceUndoRow>& balanceRule() {
    using R = BalanceUndoRow;
    static const RestoreRule<R> rule{&tables::Balances,
                                     &U::balanceId,
                                     {{&U::rest, &R::rest, &U::amount, &R::amount},
                                      {&U::arrears, &R::arrears, &U::arrearsInitial, &R::arrearsInitial},
                                      {&U::credit, &R::credit, &U::creditInitial, &R::creditInitial},
                                      {&U::carried, &R::carried, &U::carriedInitial, &R::carriedInitial}},
                                     {{&U::reduction, &R::reduction}},
                                     {{&U::amount, &R::amount}, {&U::exemption, &R::exemption}}};
    return rule;
}

const RestoreRule<LedgerUndoRow>& ledgerRule() {
    using R = LedgerUndoRow;
    static const RestoreRule<R> rule{&tables::Ledger,
                                     &U::ledgerId,
                                     {{&U::amount, &R::amount, &U::established, &R::established},
                                      {&U::rest, &R::rest, &U::restInitial, &R::restInitial}},
                                     {},
                                     {}};
    return rule;
}

const RestoreRule<DebitUndoRow>& debitRule() {
    using R = DebitUndoRow;
    static const RestoreRule<R> rule{&tables::Debits, &U::debitId, {{&U::open, &R::open, &U::initial, &R::initial}}, {}, {}};
    return rule;
}

QString path(const QString& folder, const QString& file) { return folder + '/' + file; }

bool isCancelled(const std::vector<ReceiptLine>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const ReceiptLine& l) { return l.payer == kCancelledPayer; });
}

std::optional<HistoryRefusal> stateRefusal(const std::vector<ReceiptLine>& lines) {
    if (lines.empty()) return HistoryRefusal{kCancelTitle, QStringLiteral("Chitanta nu exista!")};
    if (isCancelled(lines)) return HistoryRefusal{kCancelTitle, QStringLiteral("Chitanta este deja anulata!")};
    return std::nullopt;
}

// The restored values of one row: the remainders of the snapshot, moved by what changed in
// the established amounts since.
template <typename Row>
std::vector<RestoredValue> restoredValues(const RestoreRule<Row>& rule, const Row& snapshot, const db::Query& now) {
    std::vector<RestoredValue> values;
    for (const Shifted<Row>& s : rule.shifted) {
        const qint64 change = now.integer(*s.established) - snapshot.*s.establishedWas;
        values.push_back({*s.remainder, now.integer(*s.remainder), snapshot.*s.remainderWas + change});
    }
    const bool reestablished = std::any_of(rule.established.begin(), rule.established.end(), [&](const Kept<Row>& k) {
        return now.integer(*k.column) != snapshot.*k.was;
    });
    for (const Kept<Row>& p : rule.plain)
        values.push_back({*p.column, now.integer(*p.column), reestablished ? now.integer(*p.column) : snapshot.*p.was});
    return values;
}

template <typename Row>
void writeRow(db::Database& db, const QString& table, const RestoreRule<Row>& rule, qint64 id, qint64 role,
              const std::vector<RestoredValue>& values) {
    QStringList sets;
    QVariantList params;
    for (const RestoredValue& v : values) {
        sets << v.field + QStringLiteral(" = ?");
        params << v.after;
    }
    params << id << role;
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE %3 = ? AND %4 = ?")
                .arg(table, sets.join(QStringLiteral(", ")), *rule.key, U::role),
            params);
}

// Restores the role's rows of one balance table from the operation's snapshots of them.
template <typename Row>
void restoreTable(db::Database& db, const QString& folder, const RestoreRule<Row>& rule,
                  const std::vector<Row>& snapshots, qint64 role, std::vector<RestoredRow>& out) {
    const QString table = path(folder, *rule.table);
    for (const Row& snapshot : snapshots) {
        const db::Query now = db.query(
            QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? AND %3 = ?").arg(table, *rule.key, U::role),
            {snapshot.id, role});
        if (now.isEmpty()) continue; // the row is gone since: nothing to give back to
        std::vector<RestoredValue> values = restoredValues(rule, snapshot, now);
        writeRow(db, table, rule, snapshot.id, role, values);
        std::erase_if(values, [](const RestoredValue& v) { return v.before == v.after; });
        if (!values.empty()) out.push_back({*rule.table, snapshot.id, std::move(values)});
    }
}

CancelResult refused(const HistoryRefusal& refusal) {
    CancelResult r;
    r.refusal = refusal;
    return r;
}

} // namespace

QString CancellationLogText(const ReceiptLine& line) {
    return QStringLiteral("Anulat Chitanta ") + line.series + QStringLiteral(" nr.") + QString::number(line.number) +
           QStringLiteral(" / ") + line.date.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(" - ") +
           line.payer;
}

QString UnloggedCancellationWarning(const QString& why) {
    return QStringLiteral("Chitanta a fost anulata, dar nu s-a putut scrie in jurnal: ") + why;
}

std::optional<HistoryRefusal> CheckCancellation(Services& s, qint64 idchit) {
    const std::vector<ReceiptLine> lines = ReadDocumentLines(s.database(), ReceiptsTable(s.folders.data), idchit);
    if (auto refusal = stateRefusal(lines)) return refusal;
    if (auto refusal = YearLockRefusal(s.counters())) return refusal;
    if (s.IsCashier() && lines.front().cashier.compare(s.user.trimmed(), Qt::CaseInsensitive) != 0)
        return HistoryRefusal{QStringLiteral("Anulare Chitanta"), QStringLiteral("Nu puteti anula chitanta altuia!")};
    return std::nullopt;
}

CancelResult CancelDocument(Services& s, qint64 idchit, const std::function<void()>& beforeCommit) {
    if (auto refusal = CheckCancellation(s, idchit)) return refused(*refusal);
    db::Database& db = s.database();
    const QString& folder = s.folders.data;
    CancelResult result;
    ReceiptLine document;
    {
        const ProgressShown shown(s.progress(), QStringLiteral("Anulez chitanta..."));
        db::Transaction transaction(db);
        // Read again under the transaction: another workstation may have cancelled it meanwhile.
        const std::vector<ReceiptLine> lines = ReadDocumentLines(db, ReceiptsTable(folder), idchit);
        if (auto refusal = stateRefusal(lines)) return refused(*refusal);
        document = lines.front();
        const bool payment = document.idanul != kNoDebit;
        if (payment && LaterOperationStands(db, ReceiptsTable(folder), document.idgos, document.idanul, idchit))
            return refused({kCancelTitle, QStringLiteral("Nu puteti anula decat ultima chitanta!")});
        CopyDocumentToCancelled(db, folder, idchit);
        s.progress().Describe(QStringLiteral("Refac situatia..."));
        MarkDocumentCancelled(db, ReceiptsTable(folder), idchit);
        if (payment) {
            const qint64 operation = document.idanul, role = document.idgos;
            restoreTable(db, folder, balanceRule(), ReadBalanceUndo(db, folder, operation, role), role, result.restored);
            restoreTable(db, folder, ledgerRule(), ReadLedgerUndo(db, folder, operation, role), role, result.restored);
            restoreTable(db, folder, debitRule(), ReadDebitUndo(db, folder, operation, role), role, result.restored);
            DeleteOperationUndo(db, folder, operation);
        }
        if (beforeCommit) beforeCommit();
        transaction.commit();
        result.lines = int(lines.size());
    }
    const bool payment = document.idanul != kNoDebit;
    try {
        s.actionLog().LogAction(payment ? document.rol : QStringLiteral("FARA"), CancellationLogText(document));
    } catch (const Error& e) {
        result.unlogged = e.text();
    }
    return result;
}

} // namespace vartesa
