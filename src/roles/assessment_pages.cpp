#include "roles/assessment_pages.h"

#include "db/database.h"

namespace vartesa {

QVariant PageRow::cell(const QString& field) const {
    if (!rows_ || row_ < 0) return {};
    const int column = rows_->columnIndex(field);
    return column < 0 ? QVariant() : rows_->cell(row_, column);
}

Currency PageRow::number(const QString& field) const {
    const QVariant v = cell(field);
    switch (v.metaType().id()) {
    case QMetaType::LongLong:
        return Currency::lei(v.toLongLong());
    case QMetaType::Int:
        return Currency::lei(v.toInt());
    case QMetaType::Double:
        return Currency::fromDouble(v.toDouble());
    case QMetaType::QString:
        return Currency::parse(v.toString()).value_or(Currency());
    default:
        return Currency();
    }
}

std::int64_t PageRow::whole(const QString& field) const {
    return number(field).raw() / Currency::kScale; // towards zero
}

QString PageRow::text(const QString& field) const {
    return cell(field).toString().trimmed();
}

QDate PageRow::date(const QString& field) const {
    const QVariant v = cell(field);
    return v.metaType().id() == QMetaType::QDate ? v.toDate() : QDate();
}

PageRow RolePages::read(db::Database& db, const QString& dataFolder, const QString& file,
                        qint64 roleId, const BlankPageDefaults& defaults) {
    const QString sql =
        QStringLiteral("SELECT * FROM \"%1/%2\" WHERE IDGOS = ? LIMIT 1").arg(dataFolder, file);
    auto q = std::make_shared<db::Query>(db.query(sql, {roleId}));
    if (q->isEmpty()) {
        InsertBlankPage(db, dataFolder, file, roleId, defaults);
        *q = db.query(sql, {roleId});
    }
    return PageRow(std::move(q), 0);
}

PageCache LoadPageCache(db::Database& db, const QString& dataFolder) {
    PageCache cache;
    for (size_t i = 0; i < cache.tables.size(); ++i) {
        auto q = std::make_shared<db::Query>(
            db.query(QStringLiteral("SELECT * FROM \"%1/%2\" ORDER BY rowid")
                         .arg(dataFolder, PageTables()[qsizetype(i)])));
        const int id = q->columnIndex(QStringLiteral("IDGOS"));
        for (int r = q->count() - 1; r >= 0; --r)
            cache.rowOf[i].insert(q->cell(r, id).toLongLong(), r); // first row wins
        cache.tables[i] = std::move(q);
    }
    return cache;
}

RolePages::RolePages(db::Database& db, const QString& dataFolder, qint64 roleId,
                     const BlankPageDefaults& defaults, const PageCache* cache) {
    for (size_t i = 0; i < rows_.size(); ++i) {
        const auto found =
            cache ? cache->rowOf[i].constFind(roleId) : QHash<qint64, int>::const_iterator();
        if (cache && found != cache->rowOf[i].constEnd())
            rows_[i] = PageRow(cache->tables[i], *found);
        else
            rows_[i] = read(db, dataFolder, PageTables()[qsizetype(i)], roleId, defaults);
    }
}

} // namespace vartesa
