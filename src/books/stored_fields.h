#pragma once
// The fields of one stored row by column name, whether the row came from a query or from a
// scan of the file: every record of the books is built through this, so a screen that reads
// one role and a list that walks the whole table see the same values. A column the row lacks
// (an older layout) reads as empty, 0 or an invalid date.

#include "db/currency.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace vartesa {

namespace db {
class Query;
}

class StoredFields {
public:
    /// Row `row` of a query's result.
    StoredFields(const db::Query& query, int row);
    /// One record as Database::scan hands it over, its values in the order of `columns`.
    StoredFields(const QStringList& columns, const std::vector<QVariant>& values);

    /// The text as the engine gives it: trailing blanks dropped, leading ones kept.
    QString text(const QString& column) const;
    /// The nearest whole number (half away from zero); an empty field reads 0.
    qint64 whole(const QString& column) const;
    /// The number with four decimals; an empty field reads 0.
    Currency amount(const QString& column) const;
    QDate date(const QString& column) const;

private:
    QVariant value(const QString& column) const;

    const db::Query* query_ = nullptr;             // the query read from, or null
    int row_ = 0;                                  // its row
    const QStringList* columns_ = nullptr;         // the scanned columns, or null
    const std::vector<QVariant>* values_ = nullptr; // and their values
};

} // namespace vartesa
