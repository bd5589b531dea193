#pragma once
// The budget classification codes of CODCL.dbf: one row per claim ("creanta") with the
// account for physical persons and the one for legal persons. Receipts copy the account of
// their line, so changing an account rewrites the receipt lines of that claim.

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

/// One row of CODCL.dbf.
struct BudgetCode {
    qint64 id = 0;      // IDCOD
    QString group;      // GRUPA, the claim name
    QString personAccount;  // CODCLF
    QString companyAccount; // CODCLJ
    QString kind;       // TIP: "I" for the four local taxes, "T" for every other claim
};

/// The twelve claims of a new database, in their order; the first four are of kind "I".
const QStringList& StartingClaims();

/// A field of the claim dialog that a check found at fault, and the balloon's text.
struct ClaimProblem {
    enum class Field { Name, PersonAccount, CompanyAccount } field;
    QString message;
};

class BudgetCodes {
public:
    BudgetCodes(db::Database& db, const QString& dataFolder, CountersFile& counters);
    QString path() const;

    /// Creates the table with its twelve starting rows (accounts empty) when it is missing.
    void EnsureCodesTable();
    /// All rows ordered by TIP, GRUPA.
    std::vector<BudgetCode> all() const;
    std::optional<BudgetCode> byId(qint64 id) const;

    /// The checks of "Memoreaza", in their order, on texts already passed through
    /// CollapseSpaces: name given, accounts given, an account starting with "RO" a valid
    /// IBAN, no other row (other than `editingId`) with the same name in capitals.
    std::optional<ClaimProblem> check(const QString& name, const QString& personAccount,
                                      const QString& companyAccount, qint64 editingId = 0) const;

    /// Inserts a claim of kind "T" with the next IDCOD; returns that id.
    qint64 add(const QString& name, const QString& personAccount, const QString& companyAccount);
    /// Sets both accounts of a row; the receipt lines of the claim take a changed account
    /// (CODCLF for payers of kind "F", CODCLJ for "J").
    void modify(qint64 id, const QString& personAccount, const QString& companyAccount);
    /// Rows 1 to 12 are the starting claims and stay: false for them.
    static bool canDelete(qint64 id) { return id > 12; }
    void remove(qint64 id);

private:
    db::Database& db_;
    QString dataFolder_;
    CountersFile& counters_;
};

/// The account into which each claim's money is paid: per GRUPA the greatest CODCLF for a
/// physical person (`naturalPerson`), CODCLJ otherwise. No claim without the table.
std::map<QString, QString> GreatestAccounts(db::Database& db, const QString& dataFolder, bool naturalPerson);

} // namespace vartesa
