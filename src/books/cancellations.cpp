#include "books/cancellations.h"

#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

namespace vartesa {

namespace {

using C = UndoColumns;

QString path(const QString& dataFolder, const QString& file) { return dataFolder + QLatin1Char('/') + file; }

// One column of a snapshot table and the field of its record; all of them whole numbers.
template <typename Row>
struct Member {
    const QString* column;
    qint64 Row::*id;           // an identifier, or
    std::int64_t Row::*amount; // an amount
};

template <typename Row>
Member<Row> id(const QString& column, qint64 Row::*field) {
    return {&column, field, nullptr};
}

template <typename Row>
Member<Row> amount(const QString& column, std::int64_t Row::*field) {
    return {&column, nullptr, field};
}

// In layout order, so the column lists and the records cannot drift apart.
const std::vector<Member<BalanceUndoRow>>& balanceMembers() {
    using R = BalanceUndoRow;
    static const std::vector<Member<R>> all = {
        id(C::operation, &R::operation),        id(C::role, &R::role),
        id(C::balanceId, &R::id),               amount(C::amount, &R::amount),
        amount(C::rest, &R::rest),              amount(C::reduction, &R::reduction),
        amount(C::exemption, &R::exemption),    amount(C::arrears, &R::arrears),
        amount(C::credit, &R::credit),          amount(C::carried, &R::carried),
        amount(C::arrearsInitial, &R::arrearsInitial), amount(C::creditInitial, &R::creditInitial),
        amount(C::carriedInitial, &R::carriedInitial)};
    return all;
}

const std::vector<Member<LedgerUndoRow>>& ledgerMembers() {
    using R = LedgerUndoRow;
    static const std::vector<Member<R>> all = {
        id(C::operation, &R::operation), id(C::role, &R::role),          id(C::ledgerId, &R::id),
        amount(C::amount, &R::amount),   amount(C::rest, &R::rest),       amount(C::reduction, &R::reduction),
        amount(C::established, &R::established), amount(C::restInitial, &R::restInitial)};
    return all;
}

const std::vector<Member<DebitUndoRow>>& debitMembers() {
    using R = DebitUndoRow;
    static const std::vector<Member<R>> all = {id(C::operation, &R::operation), id(C::role, &R::role),
                                               id(C::debitId, &R::id), amount(C::initial, &R::initial),
                                               amount(C::open, &R::open)};
    return all;
}

template <typename Row>
QStringList columnsOf(const std::vector<Member<Row>>& members) {
    QStringList c;
    for (const Member<Row>& m : members) c << *m.column;
    return c;
}

// Copies the rows of `source` for which `key` equals `value` into `snapshots`, under `idanul`:
// the snapshot's columns past IDANUL are the source's own.
void copyRows(db::Database& db, const QString& snapshots, const QStringList& columns, const QString& source,
              const QString& key, qint64 idanul, qint64 value) {
    const QStringList copied = columns.mid(1);
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) SELECT ?, %3 FROM \"%4\" WHERE %5 = ?")
                .arg(snapshots, columns.join(QStringLiteral(", ")), copied.join(QStringLiteral(", ")), source, key),
            {idanul, value});
}

// The snapshots of one operation and role, in the order they were taken.
template <typename Row>
std::vector<Row> readRows(db::Database& db, const QString& table, const std::vector<Member<Row>>& members,
                          qint64 idanul, qint64 idgos) {
    db::Query q = db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? AND %3 = ? ORDER BY rowid")
                               .arg(table, C::operation, C::role),
                           {idanul, idgos});
    std::vector<Row> out;
    for (q.first(); !q.eof(); q.next()) {
        Row& r = out.emplace_back();
        for (const Member<Row>& m : members) {
            const qint64 value = q.integer(*m.column);
            if (m.id) r.*m.id = value;
            else r.*m.amount = value;
        }
    }
    return out;
}

} // namespace

const QStringList& BalanceUndoColumns() {
    static const QStringList c = columnsOf(balanceMembers());
    return c;
}

const QStringList& LedgerUndoColumns() {
    static const QStringList c = columnsOf(ledgerMembers());
    return c;
}

const QStringList& DebitUndoColumns() {
    static const QStringList c = columnsOf(debitMembers());
    return c;
}

void SnapshotRoleBalances(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 idgos) {
    copyRows(db, path(dataFolder, tables::BalancesUndo), BalanceUndoColumns(), path(dataFolder, tables::Balances),
             C::role, idanul, idgos);
}

void SnapshotLedgerLine(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 iddat) {
    copyRows(db, path(dataFolder, tables::LedgerUndo), LedgerUndoColumns(), path(dataFolder, tables::Ledger),
             C::ledgerId, idanul, iddat);
}

void SnapshotDebit(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 iddeb) {
    copyRows(db, path(dataFolder, tables::DebitsUndo), DebitUndoColumns(), path(dataFolder, tables::Debits),
             C::debitId, idanul, iddeb);
}

std::vector<BalanceUndoRow> ReadBalanceUndo(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 idgos) {
    return readRows(db, path(dataFolder, tables::BalancesUndo), balanceMembers(), idanul, idgos);
}

std::vector<LedgerUndoRow> ReadLedgerUndo(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 idgos) {
    return readRows(db, path(dataFolder, tables::LedgerUndo), ledgerMembers(), idanul, idgos);
}

std::vector<DebitUndoRow> ReadDebitUndo(db::Database& db, const QString& dataFolder, qint64 idanul, qint64 idgos) {
    return readRows(db, path(dataFolder, tables::DebitsUndo), debitMembers(), idanul, idgos);
}

void DeleteOperationUndo(db::Database& db, const QString& dataFolder, qint64 idanul) {
    for (const QString& table : {tables::BalancesUndo, tables::LedgerUndo, tables::DebitsUndo})
        db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2 = ?").arg(path(dataFolder, table), C::operation), {idanul});
}

} // namespace vartesa
