#include "books/balances.h"

#include "books/stored_fields.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

namespace vartesa {

namespace {

using C = BalanceColumns;

const QString kRecord = QStringLiteral("RECNO"); // the record number column of the reader

QString path(const QString& folder) { return folder + '/' + tables::Balances; }

QString assignments(const QStringList& columns) { return columns.join(QStringLiteral(" = ?, ")) + QStringLiteral(" = ?"); }

const QStringList& amountColumns() {
    static const QStringList columns = {C::amount,  C::rest,   C::reduction, C::exempted,    C::arrears,
                                        C::credit,  C::penalties, C::arrearsStart, C::creditStart, C::penaltiesStart};
    return columns;
}

QVariantList amountValues(const BalanceRow& b) {
    return {b.amount, b.rest, b.reduction, b.exempted, b.arrears, b.credit, b.penalties, b.arrearsStart,
            b.creditStart, b.penaltiesStart};
}

} // namespace

bool BalanceRow::sameAmounts(const BalanceRow& o) const {
    return amount == o.amount && rest == o.rest && reduction == o.reduction && exempted == o.exempted &&
           arrears == o.arrears && credit == o.credit && penalties == o.penalties && arrearsStart == o.arrearsStart &&
           creditStart == o.creditStart && penaltiesStart == o.penaltiesStart;
}

const QStringList& BalanceColumnNames() {
    static const QStringList columns =
        QStringList{C::id, C::role, C::village, C::number, C::group} + amountColumns() + QStringList{C::type};
    return columns;
}

BalanceRow BalanceRowFrom(const StoredFields& f) {
    BalanceRow b;
    b.id = f.whole(C::id);
    b.roleId = f.whole(C::role);
    b.village = f.text(C::village);
    b.number = f.text(C::number);
    b.group = f.text(C::group);
    b.amount = f.whole(C::amount);
    b.rest = f.whole(C::rest);
    b.reduction = f.whole(C::reduction);
    b.exempted = f.whole(C::exempted);
    b.arrears = f.whole(C::arrears);
    b.credit = f.whole(C::credit);
    b.penalties = f.whole(C::penalties);
    b.arrearsStart = f.whole(C::arrearsStart);
    b.creditStart = f.whole(C::creditStart);
    b.penaltiesStart = f.whole(C::penaltiesStart);
    b.type = f.text(C::type);
    return b;
}

namespace {

std::vector<BalanceRow> balanceRowsOf(const db::Query& q) {
    std::vector<BalanceRow> rows;
    rows.reserve(size_t(q.count()));
    for (int row = 0; row < q.count(); ++row) {
        const StoredFields fields(q, row);
        BalanceRow b = BalanceRowFrom(fields);
        b.record = fields.whole(kRecord);
        rows.push_back(std::move(b));
    }
    return rows;
}

} // namespace

std::vector<BalanceRow> ReadBalanceRows(db::Database& db, const QString& dataFolder, qint64 roleId) {
    return balanceRowsOf(db.query(QStringLiteral("SELECT rowid AS %1, * FROM \"%2\" WHERE %3 = ? ORDER BY rowid")
                                      .arg(kRecord, path(dataFolder), C::role),
                                  {roleId}));
}

std::vector<BalanceRow> ReadAllBalanceRows(db::Database& db, const QString& dataFolder) {
    return balanceRowsOf(
        db.query(QStringLiteral("SELECT rowid AS %1, * FROM \"%2\" ORDER BY rowid").arg(kRecord, path(dataFolder))));
}

QStringList ReadBalanceVillages(db::Database& db, const QString& dataFolder) {
    db::Query q = db.query(QStringLiteral("SELECT DISTINCT TRIM(%1) AS %1 FROM \"%2\" "
                                          "WHERE TRIM(COALESCE(%1, '')) <> '' ORDER BY 1")
                               .arg(C::village, path(dataFolder)));
    QStringList villages;
    for (q.first(); !q.eof(); q.next()) villages << q.text(C::village);
    return villages;
}

void InsertBalanceRow(db::Database& db, const QString& dataFolder, const BalanceRow& b) {
    const QStringList& columns = BalanceColumnNames();
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (?%3)")
                .arg(path(dataFolder), columns.join(QStringLiteral(", ")),
                     QStringLiteral(", ?").repeated(columns.size() - 1)),
            QVariantList{b.id, b.roleId, b.village, b.number, b.group} + amountValues(b) + QVariantList{b.type});
}

void UpdateBalanceAmounts(db::Database& db, const QString& dataFolder, const BalanceRow& b) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?").arg(path(dataFolder), assignments(amountColumns())),
            amountValues(b) + QVariantList{b.record});
}

void SetBalanceRemainders(db::Database& db, const QString& dataFolder, const BalanceRow& b) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE %3 = ? AND %4 = ?")
                .arg(path(dataFolder), assignments({C::rest, C::reduction, C::arrears, C::credit, C::penalties}),
                     C::id, C::role),
            {b.rest, b.reduction, b.arrears, b.credit, b.penalties, b.id, b.roleId});
}

void SetBalanceRoleNames(db::Database& db, const QString& dataFolder, qint64 roleId, const QString& village,
                         const QString& number) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE %3 = ?")
                .arg(path(dataFolder), assignments({C::village, C::number}), C::role),
            {village, number, roleId});
}

int DeleteBalanceRowsOfRole(db::Database& db, const QString& dataFolder, qint64 roleId) {
    return db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2 = ?").arg(path(dataFolder), C::role), {roleId});
}

} // namespace vartesa
