#include "roles/ledger.h"

#include "db/database.h"
#include "db/error.h"
#include "roles/row_reader.h"
#include "shell/counters.h"
#include "shell/services.h"

namespace vartesa {

namespace {

const QString kRolesTable = QStringLiteral("Gospodar.dbf");
const QString kBuildingsTable = QStringLiteral("Pag2.dbf");
const QString kOtherTaxesTable = QStringLiteral("Pag7.dbf");

const char* const kInsertLine =
    "INSERT INTO \"%1\" (IDDAT, IDGOS, DINDATA, SATUL, ROL, GRUPA, DENUM, DOCJUS, NR, SUMA, REST, REDUC, UM, "
    "CANT, REDUCP, SCUTIT, TIP, SUMA2, RESTINI) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'buc', 1, 0, 0, 'M', ?, ?)";

std::vector<LedgerLine> linesOf(const db::Query& q) {
    std::vector<LedgerLine> out;
    out.reserve(size_t(q.count()));
    for (int row = 0; row < q.count(); ++row) out.push_back(LedgerLineFromRow(q, row));
    return out;
}

} // namespace

LedgerLine LedgerLineFromRow(const db::Query& q, int row) {
    const RowReader r(q, row);
    LedgerLine l;
    l.id = r.integer("IDDAT");
    l.roleId = r.integer("IDGOS");
    l.from = r.date("DINDATA");
    l.village = r.text("SATUL");
    l.number = r.text("ROL");
    l.group = r.text("GRUPA");
    l.name = r.text("DENUM");
    l.explanation = r.text("DOCJUS");
    l.docNumber = r.integer("NR");
    l.current = r.integer("SUMA");
    l.arrears = r.integer("REST");
    l.reduction = r.integer("REDUC");
    l.unit = r.text("UM");
    l.quantity = r.real("CANT");
    l.reductionPercent = r.integer("REDUCP");
    l.exempt = r.integer("SCUTIT");
    l.type = r.text("TIP");
    l.established = r.integer("SUMA2");
    l.arrearsEstablished = r.integer("RESTINI");
    return l;
}

QString ClaimLockedText() {
    return QStringLiteral("Aveti taiata chitanta pe aceasta taxa/amenda!\rNu puteti sa-i modificati Grupa!");
}

QString LineHasReceiptText() {
    return QStringLiteral("Aveti taiata chitanta pe aceasta taxa/amenda!\rNu puteti s-o stergeti!");
}

DebtsLedger::DebtsLedger(db::Database& db, const QString& dataFolder) : db_(db), folder_(dataFolder) {}

std::vector<LedgerLine> DebtsLedger::manualLines(qint64 roleId) {
    return linesOf(db_.query(QStringLiteral("SELECT * FROM \"%1\" WHERE IDGOS = ? AND TIP = 'M' "
                                            "ORDER BY IDGOS, GRUPA, DINDATA, IDDAT")
                                 .arg(table(kLedgerTable)),
                             {roleId}));
}

std::vector<LedgerLine> DebtsLedger::lines(qint64 roleId) {
    return linesOf(db_.query(
        QStringLiteral("SELECT * FROM \"%1\" WHERE IDGOS = ? ORDER BY GRUPA, DINDATA, IDDAT").arg(table(kLedgerTable)),
        {roleId}));
}

LedgerLine DebtsLedger::line(qint64 id) {
    const db::Query q = db_.query(QStringLiteral("SELECT * FROM \"%1\" WHERE IDDAT = ?").arg(table(kLedgerTable)), {id});
    return q.isEmpty() ? LedgerLine{} : LedgerLineFromRow(q, 0);
}

qint64 DebtsLedger::addManualLine(const Role& role, const ManualClaim& c, CountersFile& counters) {
    const qint64 id = counters.NextId(QStringLiteral("SERVER"), QStringLiteral("IDDAT")).toLongLong();
    db_.exec(QString::fromLatin1(kInsertLine).arg(table(kLedgerTable)),
             {id, role.id, c.from, role.village, role.number, c.claim, c.claim, c.explanation, c.docNumber,
              c.amounts.current, c.amounts.arrears, c.amounts.reduction, c.amounts.current, c.amounts.arrears});
    return id;
}

LedgerChange DebtsLedger::changeManualLine(qint64 id, const ManualClaim& c) {
    const LedgerLine old = line(id);
    if (old.id == 0 || old.type != QLatin1String("M")) return LedgerChange::Missing;
    const QString claim = c.claim.isEmpty() ? old.group : c.claim;
    if (old.hasReceipt() && claim != old.group) return LedgerChange::ClaimLocked;
    const qint64 currentShift = c.amounts.current - old.current;
    const qint64 arrearsShift = c.amounts.arrears - old.arrears;
    db::Transaction tx(db_);
    db_.exec(QStringLiteral("UPDATE \"%1\" SET DINDATA = ?, GRUPA = ?, DENUM = ?, DOCJUS = ?, NR = ?, SUMA = ?, "
                            "REST = ?, REDUC = ?, SUMA2 = SUMA2 + ?, RESTINI = RESTINI + ? WHERE IDDAT = ?")
                 .arg(table(kLedgerTable)),
             {c.from, claim, claim, c.explanation, c.docNumber, c.amounts.current, c.amounts.arrears,
              c.amounts.reduction, currentShift, arrearsShift, id});
    // Cancelling a receipt puts back the values it replaced; shifted alike, they keep this change.
    if (const QString undo = table(kLedgerUndoTable); db_.tableExists(undo))
        db_.exec(QStringLiteral("UPDATE \"%1\" SET SUMA = SUMA + ?, SUMA2 = SUMA2 + ?, REST = REST + ?, "
                                "RESTINI = RESTINI + ? WHERE IDDAT = ?")
                     .arg(undo),
                 {currentShift, currentShift, arrearsShift, arrearsShift, id});
    tx.commit();
    return LedgerChange::Done;
}

LedgerChange DebtsLedger::deleteManualLine(qint64 roleId, qint64 id) {
    const LedgerLine old = line(id);
    if (old.id == 0 || old.roleId != roleId || old.type != QLatin1String("M")) return LedgerChange::Missing;
    if (old.hasReceipt()) return LedgerChange::HasReceipt;
    db_.exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDGOS = ? AND IDDAT = ?").arg(table(kLedgerTable)), {roleId, id});
    return LedgerChange::Done;
}

int DebtsLedger::chargeVillage(const QString& village, const QString& tax, qint64 value, bool onlyWithHouses,
                               int year, CountersFile& counters, Progress& progress) {
    const db::Query roles = db_.query(
        QStringLiteral("SELECT G.IDGOS, G.ROL FROM \"%1\" G JOIN \"%2\" P ON P.IDGOS = G.IDGOS WHERE G.SATUL = ?%3 "
                       "ORDER BY G.IDGOS")
            .arg(table(kRolesTable), table(kBuildingsTable),
                 onlyWithHouses ? QStringLiteral(" AND (P.C1S > 0 OR P.VA1 > 0)") : QString()),
        {village});
    ProgressShown shown(progress, QStringLiteral("Adaug taxa..."));
    progress.SetMaximum(roles.count());
    if (roles.isEmpty()) return 0;
    // One draw for the whole village: the identifiers stay unique even if another
    // workstation draws meanwhile, and a failed run only leaves a gap in them.
    const qint64 first = counters.NextIds(QStringLiteral("SERVER"), QStringLiteral("IDDAT"), roles.count());
    const QDate from(year, 1, 1);
    const QString sql = QString::fromLatin1(kInsertLine).arg(table(kLedgerTable));
    db::Transaction tx(db_);
    for (int row = 0; row < roles.count(); ++row) {
        const RowReader r(roles, row);
        db_.exec(sql, {first + row, r.integer("IDGOS"), from, village, r.text("ROL"), tax, tax, QString(), 0, value, 0,
                       0, value, 0});
        progress.Step();
    }
    tx.commit();
    return roles.count();
}

int DebtsLedger::setVillageQuantity(const QString& village, int position, qint64 quantity) {
    if (position < 1 || position > int(PageSevenTaxes().size()))
        throw Error(QStringLiteral("Taxa aleasa nu se afla pe pagina Alte taxe"), table(kOtherTaxesTable));
    db::Transaction tx(db_);
    const int changed = db_.exec(QStringLiteral("UPDATE \"%1\" SET LIN%2 = ? WHERE IDGOS IN "
                                                "(SELECT IDGOS FROM \"%3\" WHERE SATUL = ?)")
                                     .arg(table(kOtherTaxesTable))
                                     .arg(position)
                                     .arg(table(kRolesTable)),
                                 {quantity, village});
    tx.commit();
    return changed;
}

} // namespace vartesa
