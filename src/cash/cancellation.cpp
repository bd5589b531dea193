#include "cash/cancellation.h"

#include "books/balances.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/action_log.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <algorithm>
#include <map>
#include <optional>

namespace vartesa {

namespace {

const QString kCancelTitle = QStringLiteral("Anulare");

// A remainder the payment lowered, and the amount as established it is counted from.
struct Shifted {
    QString remainder;
    QString established;
};

// The amounts of one balance row by column name, as a rule reads and restores them.
using Amounts = std::map<QString, qint64>;

// How one balance table comes back from its snapshot table.
struct RestoreRule {
    QString table;                    // the balance table
    const char* snapshots;            // its undo table
    QString key;                      // the row identifier both share
    std::vector<Shifted> shifted;     // remainders moved by the change of their established amount
    std::vector<QString> plain;       // restored as they were, unless the row was re-established
    std::vector<QString> established; // fields whose change means the row was re-established
    // The role's row `id` as it stands, read through its book; nothing when it is gone since.
    std::optional<Amounts> (*read)(db::Database& db, const QString& folder, qint64 role, qint64 id);
    // Writes the restored remainders of the role's row `id` through its book.
    void (*write)(db::Database& db, const QString& folder, qint64 role, qint64 id, const Amounts& after);
};

std::optional<Amounts> balanceNow(db::Database& db, const QString& folder, qint64 role, qint64 id) {
    using B = BalanceColumns;
    for (const BalanceRow& b : ReadBalanceRows(db, folder, role))
        if (b.id == id)
            return Amounts{{B::amount, b.amount},       {B::rest, b.rest},
                           {B::reduction, b.reduction}, {B::exempted, b.exempted},
                           {B::arrears, b.arrears},     {B::credit, b.credit},
                           {B::penalties, b.penalties}, {B::arrearsStart, b.arrearsStart},
                           {B::creditStart, b.creditStart}, {B::penaltiesStart, b.penaltiesStart}};
    return std::nullopt;
}

void writeBalance(db::Database& db, const QString& folder, qint64 role, qint64 id, const Amounts& a) {
    using B = BalanceColumns;
    BalanceRow b;
    b.id = id;
    b.roleId = role;
    b.rest = a.at(B::rest);
    b.reduction = a.at(B::reduction);
    b.arrears = a.at(B::arrears);
    b.credit = a.at(B::credit);
    b.penalties = a.at(B::penalties);
    SetBalanceRemainders(db, folder, b);
}

std::optional<Amounts> ledgerNow(db::Database& db, const QString& folder, qint64 role, qint64 id) {
    using L = LedgerColumns;
    for (const LedgerLine& l : ReadLedgerLinesWithId(db, folder, id))
        if (l.roleId == role)
            return Amounts{{L::current, l.current}, {L::arrears, l.arrears}, {L::established, l.established},
                           {L::arrearsEstablished, l.arrearsEstablished}};
    return std::nullopt;
}

void writeLedger(db::Database& db, const QString& folder, qint64 role, qint64 id, const Amounts& a) {
    SetLedgerRemainders(db, folder, role, id, a.at(LedgerColumns::current), a.at(LedgerColumns::arrears));
}

std::optional<Amounts> debitNow(db::Database& db, const QString& folder, qint64 role, qint64 id) {
    for (const YearDebit& d : ReadYearDebitsWithId(db, folder, id))
        if (d.roleId == role) return Amounts{{DebitColumns::toCollect, d.toCollect}, {DebitColumns::amount, d.amount}};
    return std::nullopt;
}

void writeDebit(db::Database& db, const QString& folder, qint64 role, qint64 id, const Amounts& a) {
    SetDebitRemainder(db, folder, role, id, a.at(DebitColumns::toCollect));
}

const std::vector<RestoreRule>& restoreRules() {
    using B = BalanceColumns;
    using L = LedgerColumns;
    using D = DebitColumns;
    static const std::vector<RestoreRule> rules = {
        // The reduction a payment writes is the one it granted; after a new assessment the
        // reduction it set stands.
        {tables::Balances, "UndelSold.dbf", B::id,
         {{B::rest, B::amount}, {B::arrears, B::arrearsStart}, {B::credit, B::creditStart},
          {B::penalties, B::penaltiesStart}},
         {B::reduction},
         {B::amount, B::exempted},
         balanceNow,
         writeBalance},
        {tables::Ledger, "UndelDat.dbf", L::id, {{L::current, L::established}, {L::arrears, L::arrearsEstablished}},
         {}, {}, ledgerNow, writeLedger},
        {tables::Debits, "UndelDebit.dbf", D::id, {{D::toCollect, D::amount}}, {}, {}, debitNow, writeDebit},
    };
    return rules;
}

// The receipt-line columns ChitAnul.dbf keeps (DENUM stays empty there).
const char* const kCancelledColumns =
    "IDCHIT, IDGOS, SERIA, NR, DATAI, SATUL, ROL, GRUPA, CODCLAS, NUMEP, CNP, ADRESA, TIPF, PLATNUME, INCANUME, "
    "LEGITIMA, RESTANTA, MAJOREST, DEPOZIT, CURENT, MAJOR, REDUCERE, TOTAL, TIP";

QString path(const QString& folder, const char* file) { return folder + '/' + QLatin1String(file); }

std::vector<ReceiptLine> documentLines(db::Database& db, const QString& folder, qint64 idchit) {
    return ReadReceiptLines(db, path(folder, "Chitante.dbf"), QStringLiteral("IDCHIT = ?"), {idchit});
}

bool isCancelled(const std::vector<ReceiptLine>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const ReceiptLine& l) { return l.payer == kCancelledPayer; });
}

std::optional<HistoryRefusal> stateRefusal(const std::vector<ReceiptLine>& lines) {
    if (lines.empty()) return HistoryRefusal{kCancelTitle, QStringLiteral("Chitanta nu exista!")};
    if (isCancelled(lines)) return HistoryRefusal{kCancelTitle, QStringLiteral("Chitanta este deja anulata!")};
    return std::nullopt;
}

// A later operation of the role still stands: its snapshots were taken after this payment.
bool laterOperationStands(db::Database& db, const QString& folder, const ReceiptLine& line) {
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE IDGOS = ? AND IDANUL > ? AND IDCHIT <> ? "
                                    "AND TRIM(PLATNUME) <> ?")
                         .arg(path(folder, "Chitante.dbf")),
                     {line.idgos, line.idanul, line.idchit, kCancelledPayer})
               .toLongLong() > 0;
}

void copyToCancelled(db::Database& db, const QString& folder, qint64 idchit) {
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%3) SELECT %3 FROM \"%2\" WHERE IDCHIT = ?")
                .arg(path(folder, "ChitAnul.dbf"), path(folder, "Chitante.dbf"), QLatin1String(kCancelledColumns)),
            {idchit});
}

void zeroLines(db::Database& db, const QString& folder, qint64 idchit) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET PLATNUME = ?, RESTANTA = 0, MAJOREST = 0, DEPOZIT = 0, CURENT = 0, "
                           "MAJOR = 0, REDUCERE = 0, TOTAL = 0 WHERE IDCHIT = ?")
                .arg(path(folder, "Chitante.dbf")),
            {kCancelledPayer, idchit});
}

// The restored values of one row: the remainders of the snapshot, moved by what changed in
// the established amounts since.
std::vector<RestoredValue> restoredValues(const RestoreRule& rule, const db::Query& snapshot, const Amounts& now) {
    std::vector<RestoredValue> values;
    for (const Shifted& s : rule.shifted) {
        const qint64 change = now.at(s.established) - snapshot.integer(s.established);
        values.push_back({s.remainder, now.at(s.remainder), snapshot.integer(s.remainder) + change});
    }
    const bool reestablished = std::any_of(rule.established.begin(), rule.established.end(),
                                           [&](const QString& f) { return now.at(f) != snapshot.integer(f); });
    for (const QString& p : rule.plain)
        values.push_back({p, now.at(p), reestablished ? now.at(p) : snapshot.integer(p)});
    return values;
}

// Restores the role's rows of one balance table from the operation's snapshots.
void restoreTable(db::Database& db, const QString& folder, const RestoreRule& rule, qint64 idanul, qint64 role,
                  std::vector<RestoredRow>& out) {
    db::Query snapshots = db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE IDANUL = ? AND IDGOS = ? ORDER BY rowid")
                                       .arg(path(folder, rule.snapshots)),
                                   {idanul, role});
    for (snapshots.first(); !snapshots.eof(); snapshots.next()) {
        const qint64 id = snapshots.integer(rule.key);
        const std::optional<Amounts> now = rule.read(db, folder, role, id);
        if (!now) continue; // the row is gone since: nothing to give back to
        std::vector<RestoredValue> values = restoredValues(rule, snapshots, *now);
        Amounts after = *now;
        for (const RestoredValue& v : values) after[v.field] = v.after;
        rule.write(db, folder, role, id, after);
        std::erase_if(values, [](const RestoredValue& v) { return v.before == v.after; });
        if (!values.empty()) out.push_back({rule.table, id, std::move(values)});
    }
}

void deleteSnapshots(db::Database& db, const QString& folder, qint64 idanul) {
    for (const RestoreRule& rule : restoreRules())
        db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDANUL = ?").arg(path(folder, rule.snapshots)), {idanul});
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

std::optional<HistoryRefusal> CheckCancellation(Services& s, qint64 idchit) {
    const std::vector<ReceiptLine> lines = documentLines(s.database(), s.folders.data, idchit);
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
        const std::vector<ReceiptLine> lines = documentLines(db, folder, idchit);
        if (auto refusal = stateRefusal(lines)) return refused(*refusal);
        document = lines.front();
        const bool payment = document.idanul != kNoDebit;
        if (payment && laterOperationStands(db, folder, document))
            return refused({kCancelTitle, QStringLiteral("Nu puteti anula decat ultima chitanta!")});
        copyToCancelled(db, folder, idchit);
        s.progress().Describe(QStringLiteral("Refac situatia..."));
        zeroLines(db, folder, idchit);
        if (payment) {
            for (const RestoreRule& rule : restoreRules())
                restoreTable(db, folder, rule, document.idanul, document.idgos, result.restored);
            deleteSnapshots(db, folder, document.idanul);
        }
        if (beforeCommit) beforeCommit();
        transaction.commit();
        result.lines = int(lines.size());
    }
    const bool payment = document.idanul != kNoDebit;
    s.actionLog().LogAction(payment ? document.rol : QStringLiteral("FARA"), CancellationLogText(document));
    return result;
}

} // namespace vartesa
