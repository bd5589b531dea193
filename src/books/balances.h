#pragma once
// The balances of the four local taxes, SoldCalc.dbf: per role and tax, the year's amount and
// what is left of it, the arrears, credit and penalties carried in (DATORI, DEPOZI, MAJORI as
// established at the start of the year) and what is left of them. The assessment writes the
// amounts, a payment lowers the remainders and a cancellation gives them back.
//
// The writers run one statement each inside the caller's transaction; they throw
// vartesa::Error and a statement that fails changes nothing.

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {

class StoredFields;
namespace db {
class Database;
}

/// The columns of SoldCalc.dbf.
struct BalanceColumns {
    static inline const QString id = QStringLiteral("IDRES");
    static inline const QString role = QStringLiteral("IDGOS");
    static inline const QString village = QStringLiteral("SATUL");
    static inline const QString number = QStringLiteral("ROL");
    static inline const QString group = QStringLiteral("GRUPA");
    static inline const QString amount = QStringLiteral("SUMA");
    static inline const QString rest = QStringLiteral("REST");
    static inline const QString reduction = QStringLiteral("REDUC");
    static inline const QString exempted = QStringLiteral("SCUTIRE");
    static inline const QString arrears = QStringLiteral("DATOR");
    static inline const QString credit = QStringLiteral("DEPOZ");
    static inline const QString penalties = QStringLiteral("MAJOR");
    static inline const QString arrearsStart = QStringLiteral("DATORI");
    static inline const QString creditStart = QStringLiteral("DEPOZI");
    static inline const QString penaltiesStart = QStringLiteral("MAJORI");
    static inline const QString type = QStringLiteral("TIP");
};

/// One row of SoldCalc.dbf. Texts are as stored (trailing blanks dropped).
struct BalanceRow {
    qint64 record = 0;         // record number in the file (not a field); 0 for a row not stored
    qint64 id = 0;             // IDRES
    qint64 roleId = 0;         // IDGOS
    QString village;           // SATUL, copy of the role's
    QString number;            // ROL, copy of the role's
    QString group;             // GRUPA: one of the four local taxes
    qint64 amount = 0;         // SUMA: assessed for the year
    qint64 rest = 0;           // REST: still unpaid of SUMA
    qint64 reduction = 0;      // REDUC: offered for paying the year by 31 March
    qint64 exempted = 0;       // SCUTIRE: non-zero when the year's amount is not due
    qint64 arrears = 0;        // DATOR: arrears still unpaid
    qint64 credit = 0;         // DEPOZ: credit still unused
    qint64 penalties = 0;      // MAJOR: penalties still unpaid
    qint64 arrearsStart = 0;   // DATORI: arrears carried in
    qint64 creditStart = 0;    // DEPOZI: credit carried in
    qint64 penaltiesStart = 0; // MAJORI: penalties carried in
    QString type;              // TIP: "A" assessed, "M" seeded from the arrears page

    /// The ten amounts (SUMA to MAJORI) are those of `other`.
    bool sameAmounts(const BalanceRow& other) const;
};

/// Every column of SoldCalc.dbf, in the order of the file the program creates.
const QStringList& BalanceColumnNames();
/// The row in stored fields (the record number is the caller's).
BalanceRow BalanceRowFrom(const StoredFields& fields);

/// Every row of role `roleId` in record order, with its record number.
std::vector<BalanceRow> ReadBalanceRows(db::Database& db, const QString& dataFolder, qint64 roleId);

/// Every row of the table in record order, with its record number (a run over many roles).
std::vector<BalanceRow> ReadAllBalanceRows(db::Database& db, const QString& dataFolder);

/// The villages the rows name (SATUL), each once, blank ones left out, in ascending order.
QStringList ReadBalanceVillages(db::Database& db, const QString& dataFolder);

/// Adds `row` with every field as given (its IDRES drawn by the caller).
void InsertBalanceRow(db::Database& db, const QString& dataFolder, const BalanceRow& row);
/// Rewrites the ten amounts (SUMA to MAJORI) of the row stored at `row.record`: the assessment.
void UpdateBalanceAmounts(db::Database& db, const QString& dataFolder, const BalanceRow& row);
/// Sets what is left to pay (REST, REDUC, DATOR, DEPOZ, MAJOR) on row `row.id` of role
/// `row.roleId`: a payment lowers them, a cancellation gives them back.
void SetBalanceRemainders(db::Database& db, const QString& dataFolder, const BalanceRow& row);
/// Copies the role's village and number into its rows.
void SetBalanceRoleNames(db::Database& db, const QString& dataFolder, qint64 roleId, const QString& village,
                         const QString& number);
/// Deletes every row of role `roleId`; returns how many there were.
int DeleteBalanceRowsOfRole(db::Database& db, const QString& dataFolder, qint64 roleId);

} // namespace vartesa
