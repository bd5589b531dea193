#include "books/summonses.h"

#include "books/stored_fields.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/startup.h"
#include "shell/table_files.h"

namespace vartesa {

namespace {

using S = SummonsColumns;
using L = SummonsLineColumns;

QString summonsPath(const QString& folder) { return folder + '/' + tables::Summonses; }
QString linesPath(const QString& folder) { return folder + '/' + tables::SummonsLines; }

SummonsRecord summonsOf(const StoredFields& f) {
    SummonsRecord s;
    s.id = f.whole(S::id);
    s.roleId = f.whole(S::role);
    s.number = f.whole(S::number);
    s.issued = SummonsDate(f.whole(S::issued));
    s.total = f.whole(S::total);
    s.confirmed = SummonsDate(f.whole(S::confirmed), 1000);
    s.way = f.text(S::way).trimmed();
    s.cancelled = f.text(S::cancelled).trimmed();
    s.reason = f.text(S::reason).trimmed();
    return s;
}

std::optional<SummonsRecord> firstOf(const db::Query& q) {
    if (q.isEmpty()) return std::nullopt;
    return summonsOf(StoredFields(q, 0));
}

} // namespace

qint64 SummonsDay(const QDate& date) { return date.isValid() ? DayNumber(date) : 0; }

QDate SummonsDate(qint64 day, qint64 above) {
    return day > above ? QDate(1899, 12, 30).addDays(day) : QDate();
}

std::optional<SummonsRecord> ReadSummons(db::Database& db, const QString& dataFolder, qint64 id) {
    return firstOf(db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? ORDER BY rowid LIMIT 1")
                                .arg(summonsPath(dataFolder), S::id),
                            {id}));
}

std::optional<SummonsRecord> FindOpenSummons(db::Database& db, const QString& dataFolder, qint64 roleId) {
    return firstOf(db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? AND TRIM(%3) <> ? AND %4 > 1000 "
                                           "ORDER BY %5, rowid LIMIT 1")
                                .arg(summonsPath(dataFolder), S::role, S::cancelled, S::confirmed, S::number),
                            {roleId, kSummonsCancelled}));
}

bool SummonsStored(db::Database& db, const QString& dataFolder, qint64 id) {
    return !db.scalar(QStringLiteral("SELECT 1 FROM \"%1\" WHERE %2 = ? OR %3 = ? LIMIT 1")
                          .arg(summonsPath(dataFolder), S::id, S::number),
                      {id, id})
                .isNull();
}

qint64 HighestSummonsId(db::Database& db, const QString& dataFolder) {
    const QVariant max = db.scalar(QStringLiteral("SELECT MAX(MAX(%2), MAX(%3)) FROM \"%1\"")
                                       .arg(summonsPath(dataFolder), S::id, S::number));
    return max.isNull() ? 0 : max.toLongLong();
}

std::vector<SummonsLine> ReadSummonsLines(db::Database& db, const QString& dataFolder, qint64 id) {
    const db::Query q = db.query(
        QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? ORDER BY rowid").arg(linesPath(dataFolder), L::summons), {id});
    std::vector<SummonsLine> out;
    for (int row = 0; row < q.count(); ++row) {
        const StoredFields f(q, row);
        out.push_back({f.text(L::group).trimmed(), SummonsDate(f.whole(L::due)), f.whole(L::arrears),
                       f.whole(L::current), f.whole(L::increments), f.text(L::document).trimmed()});
    }
    return out;
}

void InsertSummons(db::Database& db, const QString& dataFolder, const SummonsRecord& s) {
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2, %3, %4, %5, %6, %7, %8, %9, %10) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(summonsPath(dataFolder), S::id, S::role, S::number, S::issued, S::total, S::confirmed, S::way,
                     S::cancelled, S::reason),
            {s.id, s.roleId, s.number, SummonsDay(s.issued), qint64(s.total), SummonsDay(s.confirmed), s.way,
             s.cancelled, s.reason});
}

void InsertSummonsLine(db::Database& db, const QString& dataFolder, qint64 id, qint64 roleId, const SummonsLine& l) {
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2, %3, %4, %5, %6, %7, %8, %9) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(linesPath(dataFolder), L::summons, L::role, L::group, L::due, L::arrears, L::current,
                     L::increments, L::document),
            {id, roleId, l.group.left(60), SummonsDay(l.due), qint64(l.arrears), qint64(l.current),
             qint64(l.increments), l.document.left(50)});
}

int SetSummonsDelivery(db::Database& db, const QString& dataFolder, qint64 id, const QDate& day, const QString& way) {
    return db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = ?, %3 = ? WHERE %4 = ?")
                       .arg(summonsPath(dataFolder), S::confirmed, S::way, S::id),
                   {SummonsDay(day), way.left(12), id});
}

int SetSummonsCancelled(db::Database& db, const QString& dataFolder, qint64 id, const QString& reason) {
    return db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = ?, %3 = ? WHERE %4 = ?")
                       .arg(summonsPath(dataFolder), S::cancelled, S::reason, S::id),
                   {kSummonsCancelled, reason.left(32), id});
}

void LockSummonses(db::Database& db, const QString& dataFolder) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = %2 WHERE 0 = 1").arg(summonsPath(dataFolder), S::id));
}

} // namespace vartesa
