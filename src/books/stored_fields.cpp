#include "books/stored_fields.h"

#include "db/dbf_format.h"
#include "db/query.h"

#include <cmath>

namespace vartesa {

StoredFields::StoredFields(const db::Query& query, int row) : query_(&query), row_(row) {}

StoredFields::StoredFields(const QStringList& columns, const std::vector<QVariant>& values)
    : columns_(&columns), values_(&values) {}

QVariant StoredFields::value(const QString& column) const {
    if (query_) {
        const int at = query_->columnIndex(column);
        return at < 0 ? QVariant() : query_->cell(row_, at);
    }
    for (qsizetype at = 0; at < columns_->size() && size_t(at) < values_->size(); ++at)
        if (columns_->at(at).compare(column, Qt::CaseInsensitive) == 0) return (*values_)[size_t(at)];
    return {};
}

QString StoredFields::text(const QString& column) const {
    const QVariant v = value(column);
    if (v.metaType().id() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    return v.toString();
}

qint64 StoredFields::whole(const QString& column) const {
    const QVariant v = value(column);
    switch (v.metaType().id()) {
    case QMetaType::LongLong: return v.toLongLong();
    case QMetaType::QString: return qint64(std::llround(v.toString().trimmed().toDouble()));
    default: return qint64(std::llround(v.toDouble()));
    }
}

Currency StoredFields::amount(const QString& column) const {
    const QVariant v = value(column);
    switch (v.metaType().id()) {
    case QMetaType::LongLong: return Currency::lei(v.toLongLong());
    case QMetaType::Double: return Currency::fromDouble(v.toDouble());
    case QMetaType::QString: return Currency::parse(v.toString()).value_or(Currency());
    default: return Currency();
    }
}

QDate StoredFields::date(const QString& column) const {
    return db::dateFromValue(value(column));
}

} // namespace vartesa
