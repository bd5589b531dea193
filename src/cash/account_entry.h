#pragma once
// What the cashier may type in the "ACHITA" column of the account grids. A positive amount
// is money paid on the line; a negative one takes money away from it (to move it to another
// line or to refund it), never more than the line's credit.

#include "cash/account.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vartesa {

/// Why a negative amount typed on a row is refused, or nothing when it may be entered. A
/// line gives away only what it holds: a local tax or a debit only from its credit (a
/// negative "Total de plata"), a tax or fine no more than its total.
std::optional<QString> EntryRefusal(AccountGrid grid, const AccountRow& row, std::int64_t typed);

/// The amount a row keeps after the cashier typed `typed` on it, or nothing when the edit
/// is refused and the row keeps its old amount (EntryRefusal, or a debit row without a tax,
/// which the grid never holds).
/// - local taxes and debits: a negative amount below a negative "Total de plata" (the
///   credit) becomes that total;
/// - taxes and fines: an amount larger than the total becomes the total.
std::optional<std::int64_t> CappedEntry(AccountGrid grid, const AccountRow& row, std::int64_t typed);

/// Posts `typed` on the row under the rule above; returns the amount the row now holds.
std::int64_t EnterAmount(AccountGrid grid, AccountRow& row, std::int64_t typed);

/// A double click: the row takes its whole "Total de plata", or 0 when it holds it already.
std::int64_t ToggleAmount(AccountGrid grid, AccountRow& row);

/// An amount given for one row by name: a local tax by its name (GRUPA), a debit (IDDEB) or
/// a tax or fine (IDDAT) by its identifier.
struct NamedAmount {
    AccountGrid grid;
    QString key;
    std::int64_t amount = 0;
};

/// Enters every amount on the row it names under the rules above. Names match as the engine's
/// UPPER and LIKE compare them (case, the letters with comma or cedilla). The first refusal:
/// a row that is not there, a row named twice, an amount EntryRefusal refuses; the grids are
/// then to be thrown away.
std::optional<QString> EnterNamedAmounts(AccountGrids& grids, const std::vector<NamedAmount>& amounts);

/// "Valoare chitanta": the sum of the amounts entered over the three grids.
std::int64_t SumEnteredAmounts(const AccountGrids& grids);

} // namespace vartesa
