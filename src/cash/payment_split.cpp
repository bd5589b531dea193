#include "cash/payment_split.h"

namespace vartesa {

bool FitsStoredAmount(std::int64_t amount) {
    return amount >= kSmallestStoredAmount && amount <= kLargestStoredAmount;
}

QString SplitSumRefusal(const PaymentLine& line, std::int64_t total) {
    const std::int64_t sum = line.total();
    if (sum == total) return {};
    return QStringLiteral("Suma totala incasata trebuie sa fie %1!\rAcum aveti suma %2. Mai studiati problema...")
        .arg(total)
        .arg(sum);
}

} // namespace vartesa
