#include "roles/ledger.h"

#include "books/stored_fields.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/table_helpers.h"
#include "shell/text_helpers.h"
#include "shell/table_files.h"

namespace vartesa {

QString ClaimLockedText() {
    return QStringLiteral("Aveti taiata chitanta pe aceasta taxa/amenda!\rNu puteti sa-i modificati Grupa!");
}

QString LineHasReceiptText() {
    return QStringLiteral("Aveti taiata chitanta pe aceasta taxa/amenda!\rNu puteti s-o stergeti!");
}

ManualClaimProblem CheckManualClaim(ManualClaim& c, const QStringList& claims) {
    using At = ManualClaimProblem::At;
    if (CheckClaimAmounts(c.amounts) == ClaimAmountsCheck::CurrentWithArrears)
        return {At::Amounts, QStringLiteral("Nu puteti adauga si Curent si Restanta simultan!"), {}};
    c.explanation = CollapseSpaces(c.explanation);
    if (CheckClaimAmounts(c.amounts) == ClaimAmountsCheck::NoAmount)
        return {At::Window, QStringLiteral("Nu ati trecut nici o suma!"), QStringLiteral("Adaugare creanta")};
    // A line without a claim name could never be booked to an account.
    for (const QString& name : claims)
        if (!c.claim.trimmed().isEmpty() && name.compare(c.claim.trimmed(), Qt::CaseInsensitive) == 0) {
            c.claim = name;
            return {};
        }
    return {At::Claim, QStringLiteral("Alegeti denumirea creantei!"), {}};
}

QStringList ManualClaimNames(db::Database& db, const QString& dataFolder) {
    const QString codes = dataFolder + '/' + tables::BudgetCodes;
    if (!db.tableExists(codes)) return {};
    return DistinctValues(db, codes, QStringLiteral("GRUPA"), QStringLiteral("TIP <> 'I'"));
}

LedgerLine ManualLine(const Role& role, const ManualClaim& c) {
    LedgerLine l;
    l.roleId = role.id;
    l.from = c.from;
    l.village = role.village;
    l.number = role.number;
    l.group = c.claim;
    l.name = c.claim;
    l.explanation = c.explanation;
    l.docNumber = c.docNumber;
    l.current = c.amounts.current;
    l.arrears = c.amounts.arrears;
    l.reduction = c.amounts.reduction;
    l.unit = QStringLiteral("buc");
    l.quantity = Currency::lei(1);
    l.type = kManualLine;
    l.established = c.amounts.current;
    l.arrearsEstablished = c.amounts.arrears;
    return l;
}

DebtsLedger::DebtsLedger(db::Database& db, const QString& dataFolder) : db_(db), folder_(dataFolder) {}

std::vector<LedgerLine> DebtsLedger::manualLines(qint64 roleId) {
    std::vector<LedgerLine> lines = ReadLedgerLines(db_, folder_, roleId, LedgerOrder::ByClaim);
    std::erase_if(lines, [](const LedgerLine& l) { return l.type != kManualLine; });
    return lines;
}

std::vector<LedgerLine> DebtsLedger::lines(qint64 roleId) {
    return ReadLedgerLines(db_, folder_, roleId, LedgerOrder::ByClaim);
}

LedgerLine DebtsLedger::line(qint64 id) {
    const std::vector<LedgerLine> found = ReadLedgerLinesWithId(db_, folder_, id);
    return found.empty() ? LedgerLine{} : found.front();
}

qint64 DebtsLedger::addManualLine(const Role& role, const ManualClaim& c, CountersFile& counters) {
    LedgerLine l = ManualLine(role, c);
    l.id = counters.NextId(QStringLiteral("SERVER"), QStringLiteral("IDDAT")).toLongLong();
    InsertLedgerLine(db_, folder_, l);
    return l.id;
}

LedgerChange DebtsLedger::changeManualLine(qint64 id, const ManualClaim& c) {
    const LedgerLine old = line(id);
    if (old.id == 0 || old.type != kManualLine) return LedgerChange::Missing;
    const QString claim = c.claim.isEmpty() ? old.group : c.claim;
    if (old.hasReceipt() && claim != old.group) return LedgerChange::ClaimLocked;
    const qint64 currentShift = c.amounts.current - old.current;
    const qint64 arrearsShift = c.amounts.arrears - old.arrears;
    LedgerLine changed = old;
    changed.from = c.from;
    changed.group = changed.name = claim;
    changed.explanation = c.explanation;
    changed.docNumber = c.docNumber;
    changed.current = c.amounts.current;
    changed.arrears = c.amounts.arrears;
    changed.reduction = c.amounts.reduction;
    db::Transaction tx(db_);
    RewriteManualLine(db_, folder_, changed, currentShift, arrearsShift);
    // Cancelling a receipt puts back the values it replaced; shifted alike, they keep this change.
    if (const QString undo = table(tables::LedgerUndo); db_.tableExists(undo))
        db_.exec(QStringLiteral("UPDATE \"%1\" SET SUMA = SUMA + ?, SUMA2 = SUMA2 + ?, REST = REST + ?, "
                                "RESTINI = RESTINI + ? WHERE IDDAT = ?")
                     .arg(undo),
                 {currentShift, currentShift, arrearsShift, arrearsShift, id});
    tx.commit();
    return LedgerChange::Done;
}

LedgerChange DebtsLedger::deleteManualLine(qint64 roleId, qint64 id) {
    const LedgerLine old = line(id);
    if (old.id == 0 || old.roleId != roleId || old.type != kManualLine) return LedgerChange::Missing;
    if (old.hasReceipt()) return LedgerChange::HasReceipt;
    DeleteLedgerLine(db_, folder_, roleId, id);
    return LedgerChange::Done;
}

int DebtsLedger::chargeVillage(const QString& village, const QString& tax, qint64 value, bool onlyWithHouses,
                               int year, CountersFile& counters, Progress& progress) {
    using R = RoleColumns;
    const db::Query roles = db_.query(
        QStringLiteral("SELECT G.%1, G.%2 FROM \"%3\" G JOIN \"%4\" P ON P.IDGOS = G.%1 WHERE G.%5 = ?%6 "
                       "ORDER BY G.%1")
            .arg(R::id, R::number, table(tables::Roles), table(tables::Buildings), R::village,
                 onlyWithHouses ? QStringLiteral(" AND (P.C1S > 0 OR P.VA1 > 0)") : QString()),
        {village});
    ProgressShown shown(progress, QStringLiteral("Adaug taxa..."));
    progress.SetMaximum(roles.count());
    if (roles.isEmpty()) return 0;
    // One draw for the whole village: the identifiers stay unique even if another
    // workstation draws meanwhile, and a failed run only leaves a gap in them.
    const qint64 first = counters.NextIds(QStringLiteral("SERVER"), QStringLiteral("IDDAT"), roles.count());
    ManualClaim claim;
    claim.from = QDate(year, 1, 1);
    claim.claim = tax;
    claim.amounts = {value, 0, 0};
    db::Transaction tx(db_);
    for (int row = 0; row < roles.count(); ++row) {
        const StoredFields r(roles, row);
        Role role;
        role.id = r.whole(R::id);
        role.village = village;
        role.number = r.text(R::number);
        LedgerLine line = ManualLine(role, claim);
        line.id = first + row;
        InsertLedgerLine(db_, folder_, line);
        progress.Step();
    }
    tx.commit();
    return roles.count();
}

int DebtsLedger::setVillageQuantity(const QString& village, int position, qint64 quantity) {
    if (position < 1 || position > int(PageSevenTaxes().size()))
        throw Error(QStringLiteral("Taxa aleasa nu se afla pe pagina Alte taxe"), table(tables::OtherTaxes));
    db::Transaction tx(db_);
    const int changed = db_.exec(QStringLiteral("UPDATE \"%1\" SET LIN%2 = ? WHERE IDGOS IN "
                                                "(SELECT %3 FROM \"%4\" WHERE %5 = ?)")
                                     .arg(table(tables::OtherTaxes), QString::number(position), RoleColumns::id,
                                          table(tables::Roles), RoleColumns::village),
                                 {quantity, village});
    tx.commit();
    return changed;
}

} // namespace vartesa
