#pragma once
// The rule of the split editor "Detalii / Modificari": the cashier may move money between
// the six parts of one payment line, but the line keeps its total and every part must fit
// the receipt's amount fields.

#include "cash/payment.h"

#include <QString>

#include <cstdint>

namespace vartesa {

/// The receipt's amount fields are DECIMAL(6,0): six characters, the minus sign included.
inline constexpr std::int64_t kLargestStoredAmount = 999999;
inline constexpr std::int64_t kSmallestStoredAmount = -99999;

/// Whether `amount` can be written into an amount field of Chitante.dbf without being cut.
bool FitsStoredAmount(std::int64_t amount);

/// The refusal of "&Memoreaza" when the parts of `line` (less the reduction) do not sum to
/// `total`: "Suma totala incasata trebuie sa fie <total>!" and "Acum aveti suma <sum>. Mai
/// studiati problema..." on two lines. Empty when they do.
QString SplitSumRefusal(const PaymentLine& line, std::int64_t total);

} // namespace vartesa
