#include "books/ledger.h"

#include "books/stored_fields.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

namespace vartesa {

namespace {

using C = LedgerColumns;

const QString kRecord = QStringLiteral("RECNO"); // the record number column of the readers

QString path(const QString& folder) { return folder + '/' + tables::Ledger; }

// "A = ?, B = ?" for the update statements.
QString assignments(const QStringList& columns) { return columns.join(QStringLiteral(" = ?, ")) + QStringLiteral(" = ?"); }

// CANT as a plain number, which a statement binds and a file writer encodes alike: whole when
// it has no decimals.
QVariant quantityValue(Currency quantity) {
    if (quantity.raw() % Currency::kScale == 0) return qint64(quantity.raw() / Currency::kScale);
    return quantity.toDouble();
}

std::vector<LedgerLine> linesOf(const db::Query& q) {
    std::vector<LedgerLine> out;
    out.reserve(size_t(q.count()));
    for (int row = 0; row < q.count(); ++row) {
        const StoredFields fields(q, row);
        LedgerLine line = LedgerLineFrom(fields);
        line.record = fields.whole(kRecord);
        out.push_back(std::move(line));
    }
    return out;
}

} // namespace

const QStringList& LedgerColumnNames() {
    static const QStringList columns = {C::id,        C::role,        C::from,        C::village,   C::number,
                                        C::group,     C::name,        C::explanation, C::docNumber, C::current,
                                        C::arrears,   C::reduction,   C::unit,        C::quantity,  C::reductionPercent,
                                        C::exempt,    C::type,        C::established, C::arrearsEstablished};
    return columns;
}

QVariantList LedgerLineValues(const LedgerLine& l) {
    return {l.id,        l.roleId,      l.from,      l.village, l.number,
            l.group,     l.name,        l.explanation, l.docNumber, l.current,
            l.arrears,   l.reduction,   l.unit,      quantityValue(l.quantity), l.reductionPercent,
            l.exempt,    l.type,        l.established, l.arrearsEstablished};
}

LedgerLine LedgerLineFrom(const StoredFields& f) {
    LedgerLine l;
    l.id = f.whole(C::id);
    l.roleId = f.whole(C::role);
    l.from = f.date(C::from);
    l.village = f.text(C::village);
    l.number = f.text(C::number);
    l.group = f.text(C::group);
    l.name = f.text(C::name);
    l.explanation = f.text(C::explanation);
    l.docNumber = f.whole(C::docNumber);
    l.current = f.whole(C::current);
    l.arrears = f.whole(C::arrears);
    l.reduction = f.whole(C::reduction);
    l.unit = f.text(C::unit);
    l.quantity = f.amount(C::quantity);
    l.reductionPercent = f.whole(C::reductionPercent);
    l.exempt = f.whole(C::exempt);
    l.type = f.text(C::type);
    l.established = f.whole(C::established);
    l.arrearsEstablished = f.whole(C::arrearsEstablished);
    return l;
}

std::vector<LedgerLine> ReadLedgerLines(db::Database& db, const QString& dataFolder, qint64 roleId, LedgerOrder order) {
    const QString sorted = order == LedgerOrder::ByClaim ? QStringList{C::group, C::from, C::id}.join(QStringLiteral(", "))
                                                         : QStringLiteral("rowid");
    return linesOf(db.query(QStringLiteral("SELECT rowid AS %1, * FROM \"%2\" WHERE %3 = ? ORDER BY %4")
                                .arg(kRecord, path(dataFolder), C::role, sorted),
                            {roleId}));
}

std::vector<LedgerLine> ReadOpenLedgerLines(db::Database& db, const QString& dataFolder, qint64 roleId) {
    return linesOf(db.query(QStringLiteral("SELECT rowid AS %1, * FROM \"%2\" WHERE %3 = ? "
                                           "AND COALESCE(%4, 0) + COALESCE(%5, 0) - COALESCE(%6, 0) <> 0 ORDER BY rowid")
                                .arg(kRecord, path(dataFolder), C::role, C::current, C::arrears, C::reduction),
                            {roleId}));
}

std::vector<LedgerLine> ReadLedgerLinesWithId(db::Database& db, const QString& dataFolder, qint64 id) {
    return linesOf(db.query(QStringLiteral("SELECT rowid AS %1, * FROM \"%2\" WHERE %3 = ? ORDER BY rowid")
                                .arg(kRecord, path(dataFolder), C::id),
                            {id}));
}

void ScanLedger(db::Database& db, const QString& dataFolder, const std::function<void(const LedgerLine&)>& line) {
    const QStringList& columns = LedgerColumnNames();
    db.scan(path(dataFolder), columns, [&](const std::vector<QVariant>& values) {
        line(LedgerLineFrom(StoredFields(columns, values)));
    });
}

db::Query LedgerRowsAsStored(db::Database& db, const QString& dataFolder, qint64 roleId) {
    return db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? ORDER BY %3, %4, %5")
                        .arg(path(dataFolder), C::role, C::group, C::from, C::id),
                    {roleId});
}

void InsertLedgerLine(db::Database& db, const QString& dataFolder, const LedgerLine& line) {
    const QStringList& columns = LedgerColumnNames();
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (?%3)")
                .arg(path(dataFolder), columns.join(QStringLiteral(", ")),
                     QStringLiteral(", ?").repeated(columns.size() - 1)),
            LedgerLineValues(line));
}

void RewriteManualLine(db::Database& db, const QString& dataFolder, const LedgerLine& l, qint64 currentShift,
                       qint64 arrearsShift) {
    // The established amounts move from what is stored, not from what was read: a payment
    // booked meanwhile stays collected.
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2, %3 = %3 + ?, %4 = %4 + ? WHERE %5 = ?")
                .arg(path(dataFolder),
                     assignments({C::from, C::group, C::name, C::explanation, C::docNumber, C::current, C::arrears,
                                  C::reduction}),
                     C::established, C::arrearsEstablished, C::id),
            {l.from, l.group, l.name, l.explanation, l.docNumber, l.current, l.arrears, l.reduction, currentShift,
             arrearsShift, l.id});
}

void UpdateAssessedLine(db::Database& db, const QString& dataFolder, const LedgerLine& l) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?")
                .arg(path(dataFolder),
                     assignments({C::village, C::from, C::current, C::arrears, C::reduction, C::unit, C::quantity,
                                  C::reductionPercent, C::exempt, C::established, C::arrearsEstablished})),
            {l.village, l.from, l.current, l.arrears, l.reduction, l.unit, quantityValue(l.quantity),
             l.reductionPercent, l.exempt, l.established, l.arrearsEstablished, l.record});
}

void SetLedgerRemainders(db::Database& db, const QString& dataFolder, qint64 roleId, qint64 id, qint64 current,
                         qint64 arrears) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE %3 = ? AND %4 = ?")
                .arg(path(dataFolder), assignments({C::current, C::arrears}), C::id, C::role),
            {current, arrears, id, roleId});
}

void SetLedgerRoleNames(db::Database& db, const QString& dataFolder, qint64 roleId, const QString& village,
                        const QString& number) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE %3 = ?")
                .arg(path(dataFolder), assignments({C::village, C::number}), C::role),
            {village, number, roleId});
}

void DeleteLedgerRecord(db::Database& db, const QString& dataFolder, qint64 record) {
    db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?").arg(path(dataFolder)), {record});
}

void DeleteLedgerLine(db::Database& db, const QString& dataFolder, qint64 roleId, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2 = ? AND %3 = ?").arg(path(dataFolder), C::role, C::id),
            {roleId, id});
}

int DeleteLedgerLinesOfRole(db::Database& db, const QString& dataFolder, qint64 roleId) {
    return db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2 = ?").arg(path(dataFolder), C::role), {roleId});
}

} // namespace vartesa
