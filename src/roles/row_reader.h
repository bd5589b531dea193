#pragma once
// Reading one row of a query result by field name, for the record types of this folder.
// A field the query lacks reads as empty, 0 or an invalid date.

#include "db/query.h"

#include <QDate>
#include <QString>

#include <cmath>

namespace vartesa {

class RowReader {
public:
    RowReader(const db::Query& query, int row) : q_(query), row_(row) {}

    /// The stored text as the engine gives it (trailing blanks dropped, a trailing tab kept).
    QString text(const char* field) const {
        const QVariant v = cell(field);
        if (v.metaType().id() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
        return v.toString();
    }
    qint64 integer(const char* field) const { return qint64(std::llround(real(field))); }
    double real(const char* field) const {
        const QVariant v = cell(field);
        return v.metaType().id() == QMetaType::QString ? v.toString().trimmed().toDouble() : v.toDouble();
    }
    QDate date(const char* field) const { return cell(field).toDate(); }

private:
    QVariant cell(const char* field) const {
        const int column = q_.columnIndex(QLatin1String(field));
        return column < 0 ? QVariant() : q_.cell(row_, column);
    }
    const db::Query& q_;
    int row_;
};

} // namespace vartesa
