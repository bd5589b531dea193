#include "roles/assessment_balances.h"

#include "books/receipts.h"
#include "db/database.h"
#include "db/query.h"
#include "roles/assessment_pages.h"
#include "roles/assessment_rates.h"

namespace vartesa {

const QStringList& BalanceGroupsInSeedOrder() {
    static const QStringList groups = {kGroupOutside, kGroupBuildings, kGroupInside,
                                       kGroupVehicles};
    return groups;
}

void ReseedBalance(BalanceRow& row, const BalanceSeed& seed, bool noPenalties) {
    const qint64 penalties = noPenalties ? 0 : seed.penalties;
    const qint64 paidArrears = row.arrearsStart - row.arrears;
    const qint64 usedCredit = row.creditStart - row.credit;
    const qint64 paidPenalties = row.penaltiesStart - row.penalties;
    qint64 r = seed.arrears - paidArrears;
    qint64 d = seed.credit - usedCredit;
    qint64 m = penalties - paidPenalties;
    // Overpaid arrears or penalties become credit; credit used beyond the new credit is owed.
    if (r < 0) {
        d -= r;
        r = 0;
    }
    if (m < 0) {
        d -= m;
        m = 0;
    }
    if (d < 0) {
        r = -d;
        d = 0;
    }
    if (noPenalties) m = 0;
    row.creditStart = seed.credit;
    row.arrearsStart = seed.arrears;
    row.penaltiesStart = penalties;
    row.arrears = r;
    row.penalties = m;
    row.credit = d;
}

QHash<QString, ReceiptTotals> ReadReceiptTotals(db::Database& db, const QString& table,
                                                qint64 roleId) {
    QHash<QString, ReceiptTotals> totals;
    for (const ReceiptLine& l : ReadRoleLines(db, table, roleId)) {
        ReceiptTotals& t = totals[l.group];
        t.arrears += l.arrears;
        t.arrearsPenalties += l.carried;
        t.credit += l.credit;
        t.current += l.current;
        t.penalties += l.penalties;
    }
    return totals;
}

void RoleBalances::load(db::Database& db, const QString& dataFolder) {
    slots_.clear();
    for (BalanceRow b : ReadBalanceRows(db, dataFolder, role_.id)) {
        b.group = b.group.trimmed();
        b.type = b.type.trimmed();
        slots_.push_back({b, b});
    }
}

std::vector<const BalanceRow*> RoleBalances::rows(const QString& group) const {
    std::vector<const BalanceRow*> out;
    for (const Slot& s : slots_)
        if (s.row.group == group) out.push_back(&s.row);
    return out;
}

void RoleBalances::seed(const PageRow& page, bool noPenalties) {
    for (int g = 0; g < 4; ++g) {
        const QString& group = BalanceGroupsInSeedOrder()[g];
        const QString n = QString::number(g + 1);
        BalanceSeed seed;
        seed.arrears = page.number("LIN" + n).roundToInt();
        seed.penalties = noPenalties ? 0 : page.number("PEN" + n).roundToInt();
        seed.credit = page.number("SOLD" + n).roundToInt();
        std::vector<Slot*> mine;
        bool assessedRow = false;
        for (Slot& s : slots_) {
            if (s.row.group != group) continue;
            mine.push_back(&s);
            assessedRow = assessedRow || s.row.type == QLatin1String("A");
        }
        if (mine.empty()) {
            BalanceRow b;
            b.group = group;
            b.type = QStringLiteral("M");
            b.arrears = b.arrearsStart = seed.arrears;
            b.credit = b.creditStart = seed.credit;
            b.penalties = b.penaltiesStart = seed.penalties;
            slots_.push_back({std::nullopt, b});
        } else if (!assessedRow) {
            for (Slot* s : mine)
                ReseedBalance(s->row, seed, noPenalties);
        }
    }
}

void RoleBalances::refresh(const RoleLedger& ledger,
                           const QHash<QString, ReceiptTotals>& receipts) {
    for (const QString& group : BalanceGroupsInSeedOrder()) {
        const LedgerTotals lines = ledger.totals(group);
        const ReceiptTotals paid = receipts.value(group);
        for (Slot& s : slots_) {
            if (s.row.group != group) continue;
            BalanceRow& b = s.row;
            const bool hasLines = lines.lines > 0;
            b.amount = hasLines ? lines.amount : 0;
            b.rest = (hasLines ? lines.amount : 0) - paid.current;
            b.reduction = hasLines ? lines.reduction : 0;
            b.exempted = hasLines ? lines.exempted : 0;
            b.arrears = b.arrearsStart - paid.arrears;
            // Without lines of the year, penalties paid count as credit.
            b.credit = b.creditStart + paid.credit + (hasLines ? 0 : paid.penalties);
            b.penalties = b.penaltiesStart - paid.arrearsPenalties;
        }
    }
}

void RoleBalances::store(db::Database& db, const QString& dataFolder, IdSource& ids) {
    int fresh = 0;
    for (const Slot& s : slots_)
        fresh += s.stored ? 0 : 1;
    ids.reserve(fresh);
    for (Slot& s : slots_) {
        BalanceRow& b = s.row;
        if (s.stored) {
            if (!b.sameAmounts(*s.stored)) UpdateBalanceAmounts(db, dataFolder, b);
        } else {
            b.id = ids.next();
            b.roleId = role_.id;
            b.village = role_.village;
            b.number = role_.number;
            InsertBalanceRow(db, dataFolder, b);
        }
    }
}

} // namespace vartesa
