#pragma once
// The declaration pages of one role as the assessment reads them: one row of each of
// Pag1, Pag2, Pag4 .. Pag8, straight from the tables. A page row the role lacks is
// repaired with the blank row a new role gets, as opening the page would.

#include "db/currency.h"
#include "db/query.h"
#include "roles/role_register.h"

#include <QDate>
#include <QString>

#include <QHash>

#include <array>
#include <cstdint>
#include <memory>

namespace vartesa {

namespace db {
class Database;
}

/// One page row: its fields by name. Missing fields read as 0 or empty.
class PageRow {
public:
    PageRow() = default;
    /// Row `row` of `rows` (a query over one page table, shared by many roles).
    PageRow(std::shared_ptr<const db::Query> rows, int row) : rows_(std::move(rows)), row_(row) {}

    /// A number as stored (areas keep their decimals).
    Currency number(const QString& field) const;
    /// A count or a capacity: the whole part of the stored number.
    std::int64_t whole(const QString& field) const;
    QString text(const QString& field) const;
    QDate date(const QString& field) const;

private:
    QVariant cell(const QString& field) const; // null when the field or the row is missing

    std::shared_ptr<const db::Query> rows_; // the page table's rows read
    int row_ = -1;                          // the role's row among them
};

/// The pages of the assessment, in the order of PageTables() (there is no Pag3.dbf).
enum class Page { Outside = 0, Buildings, Inside, Vehicles, Unregistered, OtherTaxes, Arrears };

/// Every row of every page table, read once for a run over many roles: seven statements
/// instead of seven per role.
struct PageCache {
    std::array<std::shared_ptr<const db::Query>, 7> tables; // in the order of PageTables()
    std::array<QHash<qint64, int>, 7> rowOf;                // IDGOS -> its first row
};
PageCache LoadPageCache(db::Database& db, const QString& dataFolder);

class RolePages {
public:
    /// Reads the role's row of each page from `dataFolder` (or takes it from `cache`),
    /// inserting the blank row (with `defaults`) where one is missing. Run inside the
    /// role's transaction.
    RolePages(db::Database& db, const QString& dataFolder, qint64 roleId,
              const BlankPageDefaults& defaults, const PageCache* cache = nullptr);

    const PageRow& operator[](Page page) const { return rows_[size_t(page)]; }

    /// Reads the role's row of one page table, repairing it when missing.
    static PageRow read(db::Database& db, const QString& dataFolder, const QString& file,
                        qint64 roleId, const BlankPageDefaults& defaults);

private:
    std::array<PageRow, 7> rows_;
};

} // namespace vartesa
