#pragma once
// The balances of one role's four main taxes (SoldCalc.dbf) while it is being assessed:
// seeded from the arrears page (step 8.2), then refreshed from the ledger and the receipts
// (step 9), then written back where they changed.

#include "books/balances.h"
#include "books/roles.h"
#include "roles/assessment_ledger.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vartesa {

class PageRow;
namespace db {
class Database;
}

/// The arrears brought over for one tax: arrears, penalties and credit, whole lei.
struct BalanceSeed {
    qint64 arrears = 0;
    qint64 penalties = 0;
    qint64 credit = 0;
};

/// Step 8.2 on a stored row of the role that no assessment row ("A") of its tax stands
/// beside: the new opening amounts, keeping what was already paid, used or settled.
/// `noPenalties` waives the penalties (FARAMAJORARI on and the role marked NOTAX).
void ReseedBalance(BalanceRow& row, const BalanceSeed& seed, bool noPenalties);

/// Sums of the role's receipt lines of one tax (Chitante.dbf).
struct ReceiptTotals {
    qint64 arrears = 0;          // RESTANTA
    qint64 arrearsPenalties = 0; // MAJOREST
    qint64 credit = 0;           // DEPOZIT
    qint64 current = 0;          // CURENT
    qint64 penalties = 0;        // MAJOR
};
/// The role's receipt totals by tax group.
QHash<QString, ReceiptTotals> ReadReceiptTotals(db::Database& db, const QString& table,
                                                qint64 roleId);

class RoleBalances {
public:
    explicit RoleBalances(const Role& role) : role_(role) {}

    /// Reads the role's rows of the balances of `dataFolder`.
    void load(db::Database& db, const QString& dataFolder);
    /// Step 8.2: the opening balances of the four taxes from the arrears page (LIN1..LIN4,
    /// PEN1..PEN4, SOLD1..SOLD4 in the order extravilan, buildings, intravilan, vehicles).
    void seed(const PageRow& arrearsPage, bool noPenalties);
    /// Step 9: amounts of the year from the ledger, what was paid from the receipts.
    void refresh(const RoleLedger& ledger, const QHash<QString, ReceiptTotals>& receipts);
    /// Writes changed rows and the new ones (identifiers from `ids`).
    void store(db::Database& db, const QString& dataFolder, IdSource& ids);

    /// The rows of one group as they stand.
    std::vector<const BalanceRow*> rows(const QString& group) const;

private:
    struct Slot {
        std::optional<BalanceRow> stored; // as read; empty for a row started in this run
        BalanceRow row;                   // as it will be written
    };
    const Role& role_;
    std::vector<Slot> slots_;
};

/// The four main taxes in the order of the arrears page's LIN1..LIN4.
const QStringList& BalanceGroupsInSeedOrder();

} // namespace vartesa
