#include "claim_rules.h"

namespace vartesa {

ClaimAmountsCheck CheckClaimAmounts(const ClaimAmounts& a) {
    if (a.current > 0 && a.arrears > 0) return ClaimAmountsCheck::CurrentWithArrears;
    if (a.current == 0 && a.arrears == 0 && a.reduction == 0) return ClaimAmountsCheck::NoAmount;
    return ClaimAmountsCheck::Accepted;
}

const QStringList& PageSevenTaxes() {
    static const QStringList taxes = {"Concesionari", "Iluminat", "Salubritate", "PSI", "Paza", "Vehicule lente"};
    return taxes;
}

} // namespace vartesa
