#include "cash/account_entry.h"

#include "db/cp1250.h"

#include <cstdlib>
#include <set>

namespace vartesa {

std::optional<QString> EntryRefusal(AccountGrid grid, const AccountRow& row, std::int64_t typed) {
    if (typed >= 0) return std::nullopt;
    const QString name = row.group.trimmed();
    if (grid == AccountGrid::Claims) {
        if (row.due > 0 && -typed > row.due)
            return QStringLiteral("Nu puteti scadea %1 lei din %2: totalul de plata este %3 lei!")
                .arg(-typed)
                .arg(name)
                .arg(row.due);
        return std::nullopt;
    }
    if (row.due >= 0)
        return QStringLiteral("Nu puteti scadea %1 lei din %2: linia nu are plus!").arg(-typed).arg(name);
    return std::nullopt;
}

std::optional<std::int64_t> CappedEntry(AccountGrid grid, const AccountRow& row, std::int64_t typed) {
    if (EntryRefusal(grid, row, typed)) return std::nullopt;
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

namespace {

AccountRow* namedRow(AccountGrids& grids, const NamedAmount& a) {
    const auto find = [&](auto& rows) -> AccountRow* {
        for (auto& r : rows) {
            const bool hit = a.grid == AccountGrid::Taxes
                                 ? db::sameLetters(r.group.trimmed(), a.key.trimmed(), Qt::CaseInsensitive)
                                 : QString::number(r.id) == a.key.trimmed();
            if (hit) return &r;
        }
        return nullptr;
    };
    switch (a.grid) {
    case AccountGrid::Taxes: return find(grids.taxes);
    case AccountGrid::Debits: return find(grids.debits);
    case AccountGrid::Claims: break;
    }
    return find(grids.claims);
}

} // namespace

std::optional<QString> EnterNamedAmounts(AccountGrids& grids, const std::vector<NamedAmount>& amounts) {
    std::set<const AccountRow*> named;
    for (const NamedAmount& a : amounts) {
        AccountRow* row = namedRow(grids, a);
        if (!row) {
            const char* what = a.grid == AccountGrid::Taxes ? "impozitul" : a.grid == AccountGrid::Debits ? "debitul" : "taxa";
            return QStringLiteral("Nu exista %1 %2 de plata la acest ROL!").arg(QLatin1String(what), a.key);
        }
        if (!named.insert(row).second)
            return QStringLiteral("%1 este trecut de doua ori in aceeasi plata!").arg(row->group.trimmed());
        if (std::optional<QString> refusal = EntryRefusal(a.grid, *row, a.amount)) return refusal;
        EnterAmount(a.grid, *row, a.amount);
    }
    return std::nullopt;
}

std::int64_t SumEnteredAmounts(const AccountGrids& grids) {
    std::int64_t sum = 0;
    for (const TaxRow& r : grids.taxes) sum += r.entered;
    for (const DebitRow& r : grids.debits) sum += r.entered;
    for (const ClaimRow& r : grids.claims) sum += r.entered;
    return sum;
}

} // namespace vartesa
