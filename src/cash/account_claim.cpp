#include "cash/account_claim.h"

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
    const qint64 id = counters.NextId(QStringLiteral("SERVER"), QStringLiteral("IDDAT")).toLongLong();
    db.exec(QStringLiteral("INSERT INTO \"%1/Datorii.dbf\" (IDDAT, DINDATA, SATUL, ROL, IDGOS, GRUPA, DENUM, DOCJUS, NR, "
                           "SUMA, REST, REDUC, UM, CANT, REDUCP, SCUTIT, TIP, SUMA2, RESTINI) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'buc', 1, ?, 0, 'M', ?, ?)")
                .arg(dataFolder),
            {id, claim.from, role.village, role.number, role.id, claim.claim, claim.claim, claim.explanation,
             claim.docNumber, claim.amounts.current, claim.amounts.arrears, claim.amounts.reduction,
             ReductionPercent(claim.amounts), claim.amounts.current, claim.amounts.arrears});
    return id;
}

} // namespace vartesa
