#pragma once
// "Adauga o taxa/amenda" of the account screen: one manual line of a tax or fine added to
// the role's debts ledger (Datorii.dbf), as the cashier typed it in the "Taxe / Amenzi"
// dialog.

#include "books/roles.h"
#include "roles/claim_rules.h"
#include "roles/ledger.h"

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

/// The percentage behind a reduction: its whole part of current plus arrears; 0 when both
/// are 0 (there is nothing to take a percentage of).
qint64 ReductionPercent(const ClaimAmounts& amounts);

/// Inserts the line (TIP "M", unit "buc", quantity 1, SUMA2 and RESTINI as established) with
/// a new IDDAT drawn from the counters; returns that IDDAT. Unlike a line added on the role
/// register's page, it keeps the percentage of its reduction (REDUCP). Throws vartesa::Error,
/// leaving the ledger as it was.
qint64 AddAccountClaim(db::Database& db, const QString& dataFolder, CountersFile& counters, const Role& role,
                       const ManualClaim& claim);

} // namespace vartesa
