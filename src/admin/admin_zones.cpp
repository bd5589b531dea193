#include "admin_zones.h"

#include "db/database.h"
#include "db/query.h"
#include "shell/catalog.h"
#include "shell/text_helpers.h"
#include "shell/table_files.h"

namespace vartesa {

ZoneTable::ZoneTable(db::Database& db, const QString& dataFolder)
    : db_(db), dataFolder_(dataFolder), counters_(dataFolder + QStringLiteral("/Vartesa.set")) {}

QString ZoneTable::path() const { return dataFolder_ + '/' + tables::Zones; }

std::vector<ZoneRow> ZoneTable::all() const {
    std::vector<ZoneRow> rows;
    if (!db_.tableExists(path())) return rows;
    db::Query q = db_.query(QStringLiteral("SELECT ID, LOCALIT, ZONA, RANG FROM \"%1\" ORDER BY LOCALIT").arg(path()));
    for (q.first(); !q.eof(); q.next())
        rows.push_back({q.integer(QStringLiteral("ID")), q.text(QStringLiteral("LOCALIT")).trimmed(),
                        q.text(QStringLiteral("ZONA")).trimmed(), q.text(QStringLiteral("RANG")).trimmed()});
    return rows;
}

QString ZoneTable::cleanLocality(const QString& typed) { return CollapseSpaces(typed).toUpper().left(32).trimmed(); }

std::optional<QString> ZoneTable::check(const QString& locality, qint64 editingId) const {
    if (locality.isEmpty()) return QStringLiteral("Nu ati specificat localitatea!");
    if (!db_.tableExists(path())) return std::nullopt;
    const QVariant count = db_.scalar(
        QStringLiteral("SELECT COUNT(*) AS XX FROM \"%1\" WHERE UPPER(TRIM(LOCALIT)) = UPPER(?) AND ID <> ?").arg(path()),
        {locality, editingId});
    if (count.toLongLong() > 0) return QStringLiteral("Localitatea specificat exista deja!");
    return std::nullopt;
}

qint64 ZoneTable::add(const QString& locality, const QString& zone, const QString& rank) {
    if (!db_.tableExists(path())) CreateTable(db_, path(), CatalogTable(tables::Zones));
    const qint64 id = counters_.NextId(QStringLiteral("SERVER"), QStringLiteral("DEFZONE")).toLongLong();
    db_.exec(QStringLiteral("INSERT INTO \"%1\" (ID, LOCALIT, ZONA, RANG) VALUES (?, ?, ?, ?)").arg(path()),
             {id, locality, zone, rank});
    return id;
}

void ZoneTable::modify(qint64 id, const QString& locality, const QString& zone, const QString& rank) {
    db_.exec(QStringLiteral("UPDATE \"%1\" SET LOCALIT = ?, ZONA = ?, RANG = ? WHERE ID = ?").arg(path()),
             {locality, zone, rank, id});
}

void ZoneTable::remove(qint64 id) { db_.exec(QStringLiteral("DELETE FROM \"%1\" WHERE ID = ?").arg(path()), {id}); }

} // namespace vartesa
