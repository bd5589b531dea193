#include "documents/amounts_due.h"

namespace vartesa {

AccountRole AmountsRole(const Role& role, const AccountRules& rules, int year) {
    AccountRole a;
    a.role = role;
    a.found = true;
    a.rules = rules;
    a.year = year;
    a.noPenalty = rules.penaltyOption && role.noPenalties;
    return a;
}

AccountGrids ComputeAmountsDue(db::Database& db, const QString& dataFolder, const AccountRole& role,
                               const QDate& date, bool noIncrements, bool dropReductions) {
    AccountRole r = role;
    r.noPenalty = noIncrements;
    AccountGrids g = BuildAccountGrids(db, dataFolder, r, date);
    if (!dropReductions) return g;
    // A tax row is a function of its stored amounts: without its reduction it is computed
    // again, by the same rule, as if none had been offered.
    for (TaxRow& t : g.taxes) {
        if (t.reduction == 0) continue;
        g.total -= t.due;
        t.reduction = 0;
        ComputeTaxRow(t, r, date);
        g.total += t.due;
    }
    return g;
}

} // namespace vartesa
