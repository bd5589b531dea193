#pragma once
// What the cashier may type in the "ACHITA" column of the account grids. A positive amount
// is money paid on the line; a negative one takes money away from it (to move it to another
// line or to refund it), never more than the line's credit.

#include "cash/account.h"

#include <cstdint>
#include <optional>

namespace vartesa {

/// The amount a row keeps after the cashier typed `typed` on it, or nothing when the edit
/// is refused and the row keeps its old amount (a debit row without a tax, which the grid
/// never holds).
/// - local taxes and debits: a negative amount below "Total de plata" becomes that total;
/// - taxes and fines: an amount larger than the total, either way, becomes the total.
std::optional<std::int64_t> CappedEntry(AccountGrid grid, const AccountRow& row, std::int64_t typed);

/// Posts `typed` on the row under the rule above; returns the amount the row now holds.
std::int64_t EnterAmount(AccountGrid grid, AccountRow& row, std::int64_t typed);

/// A double click: the row takes its whole "Total de plata", or 0 when it holds it already.
std::int64_t ToggleAmount(AccountGrid grid, AccountRow& row);

/// "Valoare chitanta": the sum of the amounts entered over the three grids.
std::int64_t SumEnteredAmounts(const AccountGrids& grids);

} // namespace vartesa
