#pragma once
// The register of roles, Gospodar.dbf: one row per role (a household or a company), keyed by
// IDGOS. Every table of the books names its role by that IDGOS and copies its village and
// number (SATUL, ROL).

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>
#include <vector>

namespace vartesa {

namespace db {
class Database;
class Query;
}

/// The person types a role may have (TIP).
inline const QString kPersonNatural = QStringLiteral("FIZICA");
inline const QString kPersonLegal = QStringLiteral("JURIDICA");

/// The columns of Gospodar.dbf.
struct RoleColumns {
    static inline const QString id = QStringLiteral("IDGOS");
    static inline const QString village = QStringLiteral("SATUL");
    static inline const QString number = QStringLiteral("ROL");
    static inline const QString name = QStringLiteral("NUMEP");
    static inline const QString code = QStringLiteral("CNP");
    static inline const QString address = QStringLiteral("ADRESA");
    static inline const QString personType = QStringLiteral("TIP");
    static inline const QString exemptBuildings = QStringLiteral("SCCLAD");
    static inline const QString exemptYards = QStringLiteral("SCCC");
    static inline const QString exemptIntravilan = QStringLiteral("SCTI");
    static inline const QString exemptVehicles = QStringLiteral("SCAUTO");
    static inline const QString extravilanExemption = QStringLiteral("SCTE");
    static inline const QString notes = QStringLiteral("OBS");
    static inline const QString noPenalties = QStringLiteral("NOTAX");
};

/// One row of Gospodar.dbf.
struct Role {
    qint64 id = 0;                    // IDGOS; 0 before the role is stored
    QString village;                  // SATUL, upper case, inner spaces collapsed
    QString number;                   // ROL, upper case text ("Nr.ROL unic")
    QString name;                     // NUMEP, head of household or company, upper case
    QString code;                     // CNP (person) or CUI (company); may be empty
    QString address;                  // ADRESA, free text
    QString personType = kPersonNatural; // TIP
    bool exemptBuildings = false;     // SCCLAD: buildings and annex buildings
    bool exemptYards = false;         // SCCC: built-up yards of the intravilan land
    bool exemptIntravilan = false;    // SCTI: other intravilan land
    bool exemptVehicles = false;      // SCAUTO: means of transport
    qint64 extravilanExemption = 0;   // SCTE: lei taken off the extravilan land tax
    QString notes;                    // OBS
    bool noPenalties = false;         // NOTAX: "Fara majorari"
};

/// "DA" or "NU", as the tables keep yes/no.
inline QString YesNo(bool yes) { return yes ? QStringLiteral("DA") : QStringLiteral("NU"); }

/// Every column of Gospodar.dbf, in the order of the file the program creates.
const QStringList& RoleColumnNames();
/// The values of `role` in the order of RoleColumnNames(), yes/no as "DA"/"NU".
QVariantList RoleValues(const Role& role);

/// The role in a row of a query over Gospodar.dbf: texts trimmed, yes/no read without regard
/// to case; columns the query lacks stay default.
Role RoleFromRow(const db::Query& query, int row);

/// The stored role `id` of the data folder; nothing when there is none.
std::optional<Role> ReadRole(db::Database& db, const QString& dataFolder, qint64 id);
/// The role with the smallest IDGOS whose CNP is `code`, leaving out role `except`.
std::optional<Role> ReadRoleWithCode(db::Database& db, const QString& dataFolder, const QString& code, qint64 except);

/// The roles numbered from `from` to `to` (whole parts of the numbers the clerk typed) when
/// their ROL reads as a number; one whose ROL is no number is taken when its text does not sort
/// before `fromText`, the first number as typed.
struct RoleNumberRange {
    qint64 from = 0;
    qint64 to = 0;
    QString fromText;
};
/// The roles of `village` (all of them, or those of `range`), ordered by ROL as text, then as
/// a number: "1", "10", "100", "11", "2".
std::vector<Role> ReadVillageRoles(db::Database& db, const QString& dataFolder, const QString& village,
                                   const std::optional<RoleNumberRange>& range = std::nullopt);

/// Writes a new row for `role` (its id set), every field as given. Runs inside the caller's
/// transaction when there is one; throws vartesa::Error.
void InsertRole(db::Database& db, const QString& dataFolder, const Role& role);
/// Rewrites every field of the stored role `role.id`.
void UpdateRole(db::Database& db, const QString& dataFolder, const Role& role);
/// Deletes role `id` from the register (its rows in the other tables are the caller's);
/// returns the rows deleted (0 when there was no such role).
int DeleteRole(db::Database& db, const QString& dataFolder, qint64 id);

} // namespace vartesa
