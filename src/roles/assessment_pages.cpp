#include "roles/assessment_pages.h"

#include "db/database.h"

namespace vartesa {

Currency PageRow::number(const QString& field) const {
    return row_.isEmpty() || !row_.hasField(field) ? Currency() : row_.currency(field);
}

std::int64_t PageRow::whole(const QString& field) const {
    return number(field).raw() / Currency::kScale; // towards zero
}

QString PageRow::text(const QString& field) const {
    return row_.isEmpty() || !row_.hasField(field) ? QString() : row_.text(field).trimmed();
}

QDate PageRow::date(const QString& field) const {
    return row_.isEmpty() || !row_.hasField(field) ? QDate() : row_.date(field);
}

PageRow RolePages::read(db::Database& db, const QString& dataFolder, const QString& file,
                        qint64 roleId, const BlankPageDefaults& defaults) {
    const QString sql =
        QStringLiteral("SELECT * FROM \"%1/%2\" WHERE IDGOS = ? LIMIT 1").arg(dataFolder, file);
    db::Query q = db.query(sql, {roleId});
    if (q.isEmpty()) {
        InsertBlankPage(db, dataFolder, file, roleId, defaults);
        q = db.query(sql, {roleId});
    }
    q.first();
    return PageRow(std::move(q));
}

RolePages::RolePages(db::Database& db, const QString& dataFolder, qint64 roleId,
                     const BlankPageDefaults& defaults) {
    for (size_t i = 0; i < rows_.size(); ++i)
        rows_[i] = read(db, dataFolder, PageTables()[qsizetype(i)], roleId, defaults);
}

} // namespace vartesa
