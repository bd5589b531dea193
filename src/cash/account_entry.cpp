#include "cash/account_entry.h"

#include <cstdlib>

namespace vartesa {

std::optional<std::int64_t> CappedEntry(AccountGrid grid, const AccountRow& row, std::int64_t typed) {
    if (grid == AccountGrid::Claims) {
        if (typed != 0 && std::llabs(row.due) < std::llabs(typed)) return row.due;
        return typed;
    }
    if (grid == AccountGrid::Debits && row.group.trimmed().isEmpty()) return std::nullopt;
    if (typed < 0 && typed < row.due) return row.due;
    return typed;
}

std::int64_t EnterAmount(AccountGrid grid, AccountRow& row, std::int64_t typed) {
    if (const std::optional<std::int64_t> kept = CappedEntry(grid, row, typed)) row.entered = *kept;
    return row.entered;
}

std::int64_t ToggleAmount(AccountGrid grid, AccountRow& row) {
    return EnterAmount(grid, row, row.entered != row.due ? row.due : 0);
}

std::int64_t SumEnteredAmounts(const AccountGrids& grids) {
    std::int64_t sum = 0;
    for (const TaxRow& r : grids.taxes) sum += r.entered;
    for (const DebitRow& r : grids.debits) sum += r.entered;
    for (const ClaimRow& r : grids.claims) sum += r.entered;
    return sum;
}

} // namespace vartesa
