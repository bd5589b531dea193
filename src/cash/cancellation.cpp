#include "cash/cancellation.h"

#include "db/database.h"
#include "db/query.h"
#include "shell/action_log.h"
#include "shell/counters.h"
#include "shell/services.h"

#include <algorithm>

namespace vartesa {

namespace {

const QString kCancelTitle = QStringLiteral("Anulare");

// A remainder the payment lowered, and the amount as established it is counted from.
struct Shifted {
    const char* remainder;
    const char* established;
};

// How one balance table comes back from its snapshot table.
struct RestoreRule {
    const char* table;                   // the balance table
    const char* snapshots;               // its undo table
    const char* key;                     // the row identifier both share
    std::vector<Shifted> shifted;        // remainders moved by the change of their established amount
    std::vector<const char*> plain;      // restored as they were, unless the row was re-established
    std::vector<const char*> established; // fields whose change means the row was re-established
};

const std::vector<RestoreRule>& restoreRules() {
    static const std::vector<RestoreRule> rules = {
        // The reduction a payment writes is the one it granted; after a new assessment the
        // reduction it set stands.
        {"SoldCalc.dbf", "UndelSold.dbf", "IDRES",
         {{"REST", "SUMA"}, {"DATOR", "DATORI"}, {"DEPOZ", "DEPOZI"}, {"MAJOR", "MAJORI"}},
         {"REDUC"},
         {"SUMA", "SCUTIRE"}},
        {"Datorii.dbf", "UndelDat.dbf", "IDDAT", {{"SUMA", "SUMA2"}, {"REST", "RESTINI"}}, {}, {}},
        {"Debit.dbf", "UndelDebit.dbf", "IDDEB", {{"SUMAC", "SUMAINI"}}, {}, {}},
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
std::vector<RestoredValue> restoredValues(const RestoreRule& rule, const db::Query& snapshot, const db::Query& now) {
    std::vector<RestoredValue> values;
    auto field = [](const char* name) { return QLatin1String(name); };
    for (const Shifted& s : rule.shifted) {
        const qint64 change = now.integer(field(s.established)) - snapshot.integer(field(s.established));
        values.push_back({field(s.remainder), now.integer(field(s.remainder)),
                          snapshot.integer(field(s.remainder)) + change});
    }
    const bool reestablished = std::any_of(rule.established.begin(), rule.established.end(), [&](const char* f) {
        return now.integer(field(f)) != snapshot.integer(field(f));
    });
    for (const char* p : rule.plain)
        values.push_back({field(p), now.integer(field(p)),
                          reestablished ? now.integer(field(p)) : snapshot.integer(field(p))});
    return values;
}

void writeRow(db::Database& db, const QString& table, const RestoreRule& rule, qint64 id, qint64 role,
              const std::vector<RestoredValue>& values) {
    QStringList sets;
    QVariantList params;
    for (const RestoredValue& v : values) {
        sets << v.field + QStringLiteral(" = ?");
        params << v.after;
    }
    params << id << role;
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE %3 = ? AND IDGOS = ?")
                .arg(table, sets.join(QStringLiteral(", ")), QLatin1String(rule.key)),
            params);
}

// Restores the role's rows of one balance table from the operation's snapshots.
void restoreTable(db::Database& db, const QString& folder, const RestoreRule& rule, qint64 idanul, qint64 role,
                  std::vector<RestoredRow>& out) {
    const QString table = path(folder, rule.table);
    const QString key = QLatin1String(rule.key);
    db::Query snapshots = db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE IDANUL = ? AND IDGOS = ? ORDER BY rowid")
                                       .arg(path(folder, rule.snapshots)),
                                   {idanul, role});
    for (snapshots.first(); !snapshots.eof(); snapshots.next()) {
        const qint64 id = snapshots.integer(key);
        const db::Query now =
            db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? AND IDGOS = ?").arg(table, key), {id, role});
        if (now.isEmpty()) continue; // the row is gone since: nothing to give back to
        std::vector<RestoredValue> values = restoredValues(rule, snapshots, now);
        writeRow(db, table, rule, id, role, values);
        std::erase_if(values, [](const RestoredValue& v) { return v.before == v.after; });
        if (!values.empty()) out.push_back({QLatin1String(rule.table), id, std::move(values)});
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
