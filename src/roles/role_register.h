#pragma once
// The register of roles on the data folder: listing, the next role number, the duplicate
// look-ups of the form, and adding, editing and deleting a role. Each change is one
// transaction over every table it touches: all of them change, or none.

#include "books/roles.h"

#include "db/dbf_format.h"
#include "db/query.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace vartesa {

class CountersFile;
class Progress;
namespace db {
class Database;
}

/// What the blank building page of a new role starts with (the zone and rank the
/// administrator set as defaults, and the revaluation date: 1 January of the working year).
struct BlankPageDefaults {
    QString zone = QStringLiteral("A");
    QString rank = QStringLiteral("IV");
    QDate revaluationDate;
};

/// The declaration page tables, one row per role each (there is no Pag3.dbf).
const QStringList& PageTables();
/// The tables a role's deletion empties of its rows, in the order it deletes them.
/// Vehicle details (AutoDet.dbf) and the year debits (Debit.dbf) keep theirs.
const QStringList& RoleDeletionTables();

/// The blank-page defaults of a new role of `village`: the zone and rank DefZone.dbf gives
/// that village, else those of `defaults` (the administrator's default zone and rank).
BlankPageDefaults VillageBlankPageDefaults(db::Database& db, const QString& dataFolder, const QString& village,
                                           BlankPageDefaults defaults);

/// The value a field of a page table takes in the blank row below.
QVariant BlankPageValue(const db::Field& field, const BlankPageDefaults& defaults);

/// Inserts the blank row of role `id` into one page table (`file` as in PageTables()):
/// numbers 0; on the building page houses of material "3,4 SAU 5", house k of order k,
/// the default zone and rank, "NU" for depreciated and the default revaluation date.
void InsertBlankPage(db::Database& db, const QString& dataFolder, const QString& file, qint64 id,
                     const BlankPageDefaults& defaults);

class RoleRegister {
public:
    RoleRegister(db::Database& db, const QString& dataFolder);

    db::Database& database() { return db_; }
    const QString& dataFolder() const { return folder_; }
    /// Start-up may choose another data folder (a network one) after the screens exist.
    void setDataFolder(const QString& folder) { folder_ = folder; }
    /// Full path of a table of the data folder.
    QString table(const QString& file) const { return folder_ + '/' + file; }

    /// Every role with the upper-case name NUMEM the search uses, ordered by village,
    /// name and number: the list of the register screen.
    db::Query listRoles();
    /// The stored role; nothing when there is no such IDGOS.
    std::optional<Role> role(qint64 id);

    /// The number proposed for a new role: the greatest numeric ROL plus 1 ("1" when no
    /// number is numeric).
    QString ProposeRoleNumber();
    /// Roles with this ROL in any village, leaving out role `except` (0: none left out).
    int countWithNumber(const QString& number, qint64 except = 0);
    /// Another role with this CNP, leaving out role `except`.
    std::optional<Role> roleWithCode(const QString& code, qint64 except = 0);
    /// The distinct addresses already typed, ascending.
    QStringList addresses();

    /// Stores a new role with its blank declaration pages, whose buildings take the zone and
    /// rank of the role's village (VillageBlankPageDefaults); draws IDGOS from the counters
    /// file. Returns the new IDGOS.
    qint64 addRole(Role role, CountersFile& counters, const BlankPageDefaults& defaults);
    /// Rewrites every field of the role (by IDGOS) and carries its village and number into
    /// its debt lines and balances. Receipts keep what they were issued with.
    void editRole(const Role& role);
    /// Deletes the role from GOSPODAR.dbf, its pages, debt lines, balances, receipts of all
    /// years and undo copies. `progress` advances after each table. Returns the rows deleted
    /// from each table, in the order of RoleDeletionTables().
    std::vector<std::pair<QString, int>> deleteRole(qint64 id, Progress& progress);

private:
    db::Database& db_;
    QString folder_; // data folder
};

} // namespace vartesa
