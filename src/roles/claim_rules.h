#pragma once
// Rules of the manual claims: a tax or fine typed for one role, and a fixed tax for a village.

#include <QString>
#include <QStringList>

namespace vartesa {

/// The amounts of one manual claim line, in whole lei.
struct ClaimAmounts {
    qint64 current = 0;   // "Suma curenta"
    qint64 arrears = 0;   // "Restanta"
    qint64 reduction = 0; // "Reducere"
};

enum class ClaimAmountsCheck {
    Accepted,
    CurrentWithArrears, // a line is either of this year or of earlier years, never both
    NoAmount,           // nothing to book
};

ClaimAmountsCheck CheckClaimAmounts(const ClaimAmounts& amounts);

/// The widest amount the ledger's fields hold: six digits.
constexpr qint64 kMaxLedgerAmount = 999999;

/// The six taxes of page 7 in their fixed order; position k (1 to 6) names field LIN<k>.
const QStringList& PageSevenTaxes();

} // namespace vartesa
