#include "cash/account_claim.h"

#include "books/ledger.h"
#include "db/database.h"
#include "shell/counters.h"

namespace vartesa {

namespace {

// numerator / denominator in ten-thousandths, to nearest with ties to even: how ratios are
// held. The denominator is positive.
qint64 ratioTenThousandths(qint64 numerator, qint64 denominator) {
    const qint64 scaled = numerator * 10000;
    qint64 q = scaled / denominator, r = scaled % denominator;
    if (r < 0) {
        r += denominator;
        --q;
    }
    if (2 * r > denominator || (2 * r == denominator && q % 2 != 0)) ++q;
    return q;
}

} // namespace

qint64 ReductionPercent(const ClaimAmounts& a) {
    const qint64 base = a.current + a.arrears;
    if (base <= 0) return 0;
    const qint64 percent = ratioTenThousandths(a.reduction, base) * 100; // in ten-thousandths
    return percent / 10000; // its integer part
}

qint64 AddAccountClaim(db::Database& db, const QString& dataFolder, CountersFile& counters, const Role& role,
                       const ManualClaim& claim) {
    LedgerLine line = ManualLine(role, claim);
    line.id = counters.NextId(QStringLiteral("SERVER"), QStringLiteral("IDDAT")).toLongLong();
    line.reductionPercent = ReductionPercent(claim.amounts);
    InsertLedgerLine(db, dataFolder, line);
    return line.id;
}

} // namespace vartesa
