#include "cash/account.h"

#include "books/receipts.h"
#include "cash/penalties.h"
#include "db/database.h"
#include "db/query.h"
#include "roles/role_register.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/settings_table.h"
#include "shell/text_helpers.h"

namespace vartesa {

namespace {

constexpr std::int64_t kReductionThreshold = 50; // lei: smaller taxes need Bonificatie50

// The kinds of debit that raise what the role owes, and so carry late-payment penalties.
bool carriesPenalty(const QString& kind) {
    for (const char* k : {"Cumparare", "Majorare", "Taxa"})
        if (kind.compare(QLatin1String(k), Qt::CaseInsensitive) == 0) return true;
    return false;
}

std::vector<TaxRow> readTaxRows(db::Database& db, const QString& folder, qint64 idgos) {
    std::vector<TaxRow> rows;
    for (const BalanceRow& b : ReadBalanceRows(db, folder, idgos)) rows.push_back(TaxRowOf(b));
    return rows;
}

// Debits with nothing left to collect stay out.
std::vector<DebitRow> readDebitRows(db::Database& db, const QString& folder, qint64 idgos) {
    std::vector<DebitRow> rows;
    for (const YearDebit& d : ReadOpenYearDebits(db, folder, idgos)) rows.push_back(DebitRowOf(d));
    return rows;
}

// Lines with nothing left to pay stay out; an empty amount counts as 0.
std::vector<ClaimRow> readClaimRows(db::Database& db, const QString& folder, qint64 idgos) {
    std::vector<ClaimRow> rows;
    for (const LedgerLine& l : ReadOpenLedgerLines(db, folder, idgos)) {
        if (GroupIndex(l.group.trimmed()) != 5) continue; // the four local taxes have their own grid
        rows.push_back(ClaimRowOf(l));
    }
    return rows;
}

// The reduction a tax row may still get today, before the date is looked at.
std::int64_t offeredReduction(const TaxRow& row, const AccountRole& role) {
    if (row.exemption != 0) return 0;
    if (!role.physicalPerson() && !role.rules.reductionForCompanies) return 0;
    if (row.amount < kReductionThreshold && !role.rules.reductionUnder50) return 0;
    if (role.reduced.contains(row.group.toUpper())) return 0;
    return row.reduction;
}

// Penalties on the instalments past their due dates; the credit left over after the arrears
// (net arrears below 0) comes off the first instalment, then the second.
std::int64_t installmentPenalties(const Installments& split, std::int64_t netArrears, const QDate& date, int year,
                                  bool noPenalty) {
    const QDate firstDue(year, 3, 31), secondDue(year, 9, 30);
    std::int64_t owed = split.first + (netArrears < 0 ? netArrears : 0);
    std::int64_t penalty = 0;
    if (owed > 0) penalty += ComputePenalty(noPenalty, firstDue, date, Currency::lei(owed));
    if (date <= secondDue) return penalty;
    owed = owed >= 0 ? split.second : owed + split.second;
    if (owed > 0) penalty += ComputePenalty(noPenalty, secondDue, date, Currency::lei(owed));
    return penalty;
}

QVariant dateCell(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }
QVariant amountCell(std::int64_t v) { return QVariant(qint64(v)); }

} // namespace

TaxRow TaxRowOf(const BalanceRow& b) {
    TaxRow r;
    r.id = b.id;
    r.group = b.group.trimmed();
    r.amount = b.amount;
    r.rest = b.rest;
    r.reduction = b.reduction;
    r.exemption = b.exempted;
    r.arrears = b.arrears;
    r.credit = b.credit;
    r.carried = b.penalties;
    r.type = b.type.trimmed();
    return r;
}

DebitRow DebitRowOf(const YearDebit& d) {
    DebitRow r;
    r.id = d.id;
    r.group = d.tax.trimmed();
    r.document = d.explanation.trimmed();
    r.number = d.docNumber;
    r.kind = d.kind.trimmed();
    r.name = d.object.name.trimmed();
    r.from = d.from;
    r.penaltyFrom = d.monthStart;
    r.initial = d.amount;
    r.open = d.toCollect;
    return r;
}

ClaimRow ClaimRowOf(const LedgerLine& l) {
    ClaimRow r;
    r.id = l.id;
    r.group = l.group.trimmed();
    r.name = l.name.trimmed();
    r.document = l.explanation.trimmed();
    r.number = l.docNumber;
    r.type = l.type.trimmed();
    r.amount = l.current;
    r.from = l.from;
    r.established = l.established;
    r.arrearsEstablished = l.arrearsEstablished;
    r.rest = l.arrears;
    r.reduction = l.reduction;
    return r;
}

QVariant TaxRow::cell(int column) const {
    switch (column) {
    case 0: return id;
    case 1: return group;
    case 2: return amountCell(amount);
    case 3: return amountCell(rest);
    case 4: return amountCell(reduction);
    case 5: return amountCell(exemption);
    case 6: return amountCell(arrears);
    case 7: return amountCell(credit);
    case 8: return amountCell(carried);
    case 9: return type;
    case 10: return amountCell(current);
    case 11: return amountCell(netArrears);
    case 12: return amountCell(penalties);
    case 13: return amountCell(granted);
    case 14: return amountCell(exempted);
    case 15: return amountCell(due);
    case 16: return amountCell(entered);
    default: return {};
    }
}

QVariant DebitRow::cell(int column) const {
    switch (column) {
    case 0: return id;
    case 1: return group;
    case 2: return document;
    case 3: return number;
    case 4: return kind;
    case 5: return name;
    case 6: return dateCell(from);
    case 7: return dateCell(penaltyFrom);
    case 8: return amountCell(initial);
    case 9: return amountCell(open);
    case 10: return amountCell(penalty);
    case 11: return amountCell(due);
    case 12: return amountCell(entered);
    default: return {};
    }
}

QVariant ClaimRow::cell(int column) const {
    switch (column) {
    case 0: return id;
    case 1: return group;
    case 2: return name;
    case 3: return document;
    case 4: return number;
    case 5: return type;
    case 6: return amountCell(amount);
    case 7: return dateCell(from);
    case 8: return amountCell(established);
    case 9: return amountCell(arrearsEstablished);
    case 10: return amountCell(rest);
    case 11: return amountCell(reduction);
    case 12: return amountCell(current);
    case 13: return amountCell(arrears);
    case 14: return amountCell(due);
    case 15: return amountCell(entered);
    default: return {};
    }
}

const QStringList& AccountColumns(AccountGrid grid) {
    static const QStringList taxes = {"IDRES", "GRUPA", "SUMA", "REST", "REDUC", "SCUTIRE", "DATOR", "DEPOZ", "MAJOR",
                                      "TIP", "CUR1", "RAM1", "MAJOR1", "RED1", "SCUT1", "DEPLATA", "ACHITAT"};
    static const QStringList debits = {"IDDEB", "GRUPA", "DOCJUS", "NR", "CATEG", "DENUM", "DINDATA",
                                       "PENDATA", "SUMAINI", "SUMAC", "MAJOR", "DEPLATA", "ACHITAT"};
    static const QStringList claims = {"IDDAT", "GRUPA", "DENUM", "DOCJUS", "NR", "TIP", "SUMA", "DINDATA",
                                       "SUMA2", "RESTINI", "REST", "REDUC", "CUR1", "REST1", "DEPLATA", "ACHITAT"};
    switch (grid) {
    case AccountGrid::Taxes: return taxes;
    case AccountGrid::Debits: return debits;
    case AccountGrid::Claims: break;
    }
    return claims;
}

std::vector<AccountRow*> AccountGrids::rows(AccountGrid grid) {
    std::vector<AccountRow*> out;
    auto add = [&out](auto& rows) {
        for (auto& r : rows) out.push_back(&r);
    };
    if (grid == AccountGrid::Taxes) add(taxes);
    else if (grid == AccountGrid::Debits) add(debits);
    else add(claims);
    return out;
}

AccountRules AccountRulesFrom(const AdminConstants& constants) {
    AccountRules r;
    r.penaltyOption = constants.noPenalties();
    r.reductionUnder50 = constants.isChecked(QStringLiteral("Bonificatie50"));
    r.reductionForCompanies = constants.isChecked(QStringLiteral("BonifPJ"));
    r.earlyReduction = constants.value(QStringLiteral("ERED"));
    return r;
}

AccountRules ReadAccountRules(const CountersFile& counters, db::Database& db, const QString& dataFolder) {
    const QString server = QStringLiteral("SERVER");
    auto ticked = [&](const QString& key) {
        return counters.ReadCounter(server, key).trimmed().compare(QLatin1String("DA"), Qt::CaseInsensitive) == 0;
    };
    auto control = [&](const char* name) {
        for (const AdminCounterControl& c : AdminCounterControls())
            if (c.control == QLatin1String(name)) return ticked(c.key);
        return false;
    };
    AccountRules r;
    r.penaltyOption = ticked(NoPenaltiesCounterKey());
    r.reductionUnder50 = control("Bonificatie50");
    r.reductionForCompanies = control("BonifPJ");
    r.earlyReduction =
        Currency::parse(SettingsTable(db, dataFolder).load().value(QStringLiteral("ERED"))).value_or(Currency());
    return r;
}

AccountRole OpenAccountRole(db::Database& db, const QString& dataFolder, const AccountRules& rules, qint64 idgos,
                            int year) {
    AccountRole a;
    a.rules = rules;
    a.year = year;
    RoleRegister roles(db, dataFolder);
    if (std::optional<Role> role = roles.role(idgos)) {
        a.role = *role;
        a.found = true;
    }
    // One rule with the payment: the penalties are waived only while the option allows it.
    a.noPenalty = rules.penaltyOption && a.role.noPenalties;
    for (const QString& group : ReducedGroups(db, ReceiptsTable(dataFolder), idgos, QDate(year, 1, 1)))
        a.reduced.insert(group.toUpper());
    return a;
}

void ComputeDebitRow(DebitRow& row, const QDate& date, bool noPenalty) {
    // A debit always has its month start; one written without it counts from DINDATA's month.
    QDate from = row.penaltyFrom;
    if (!from.isValid() && row.from.isValid()) from = QDate(row.from.year(), row.from.month(), 1);
    row.penalty = 0;
    if (from.isValid() && from <= date && row.open >= 0 && carriesPenalty(row.kind) && !noPenalty)
        row.penalty = ComputePenalty(noPenalty, from, date, Currency::lei(row.open));
    row.due = row.open + row.penalty;
    row.entered = 0;
}

void ComputeClaimRow(ClaimRow& row) {
    row.current = row.amount;
    row.arrears = row.rest;
    row.due = row.rest + row.amount - row.reduction;
    row.entered = 0;
}

void ComputeTaxRow(TaxRow& row, const AccountRole& role, const QDate& date) {
    const Installments split = SplitInstallments(row.amount, row.rest);
    std::int64_t reduction = offeredReduction(row, role);
    const std::int64_t net = std::max<std::int64_t>(row.arrears, 0) - std::max<std::int64_t>(row.credit, 0);
    std::int64_t penalty = 0;
    if (row.arrears > 0 && net > 0)
        penalty = ComputePenalty(role.noPenalty, QDate(role.year, 1, 1), date, Currency::lei(net));
    std::int64_t current = 0;
    if (row.exemption == 0) {
        current = row.rest;
        if (date > QDate(role.year, 3, 31)) {
            reduction = 0;
            penalty += installmentPenalties(split, net, date, role.year, role.noPenalty);
        } else if (row.rest > 0) {
            current = row.rest - reduction;
        }
    }
    const std::int64_t carried = role.noPenalty ? 0 : row.carried;
    if (role.noPenalty) penalty = 0;
    row.current = current;
    row.netArrears = net;
    row.granted = reduction;
    row.exempted = row.exemption;
    row.penalties = penalty + carried;
    row.due = net + current + penalty + carried;
    row.entered = 0;
}

AccountGrids BuildAccountGrids(db::Database& db, const QString& dataFolder, const AccountRole& role,
                               const QDate& date) {
    AccountGrids g;
    g.year = role.year;
    g.earlyReduction = role.rules.earlyReduction;
    if (!role.found) return g;
    const qint64 id = role.role.id;
    g.debits = readDebitRows(db, dataFolder, id);
    for (DebitRow& r : g.debits) {
        ComputeDebitRow(r, date, role.noPenalty);
        g.total += r.due;
    }
    g.claims = readClaimRows(db, dataFolder, id);
    for (ClaimRow& r : g.claims) {
        ComputeClaimRow(r);
        g.total += r.due;
    }
    g.taxes = readTaxRows(db, dataFolder, id);
    for (TaxRow& r : g.taxes) {
        ComputeTaxRow(r, role, date);
        g.total += r.due;
    }
    return g;
}

} // namespace vartesa
