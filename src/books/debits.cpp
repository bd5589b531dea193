#include "books/debits.h"

#include "books/stored_fields.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

namespace vartesa {

namespace {

using C = DebitColumns;

QString path(const QString& folder) { return folder + '/' + tables::Debits; }

// The columns after IDDEB and IDGOS, in the order of valuesAfterRole.
const QStringList& columnsAfterRole() {
    static const QStringList columns = [] {
        QStringList c = {C::tax, C::explanation, C::docNumber, C::kind, C::name, C::from, C::monthStart, C::file};
        for (int n = 1; n <= kDebitPairs; ++n) c << C::pairField(n) << C::pairValue(n);
        return c << C::amount << C::toCollect;
    }();
    return columns;
}

QVariantList valuesAfterRole(const YearDebit& d) {
    QVariantList v{d.tax, d.explanation, d.docNumber, d.kind, d.object.name, d.from, d.monthStart, d.object.file};
    for (size_t n = 0; n < size_t(kDebitPairs); ++n) {
        const bool used = n < d.object.pairs.size();
        v << (used ? d.object.pairs[n].first : QString()) << (used ? d.object.pairs[n].second : QString());
    }
    return v << d.amount << d.toCollect;
}

std::vector<YearDebit> debitsOf(const db::Query& q) {
    std::vector<YearDebit> out;
    out.reserve(size_t(q.count()));
    for (int row = 0; row < q.count(); ++row) out.push_back(YearDebitFrom(StoredFields(q, row)));
    return out;
}

} // namespace

const QStringList& DebitColumnNames() {
    static const QStringList columns = QStringList{C::id, C::role} + columnsAfterRole();
    return columns;
}

QVariantList YearDebitValues(const YearDebit& d) {
    return QVariantList{d.id, d.roleId} + valuesAfterRole(d);
}

YearDebit YearDebitFrom(const StoredFields& f) {
    YearDebit d;
    d.id = f.whole(C::id);
    d.roleId = f.whole(C::role);
    d.tax = f.text(C::tax);
    d.explanation = f.text(C::explanation);
    d.docNumber = f.whole(C::docNumber);
    d.kind = f.text(C::kind);
    d.object.name = f.text(C::name);
    d.from = f.date(C::from);
    d.monthStart = f.date(C::monthStart);
    d.object.file = f.text(C::file);
    for (int n = 1; n <= kDebitPairs; ++n)
        d.object.pairs.push_back({f.text(C::pairField(n)).trimmed(), f.text(C::pairValue(n)).trimmed()});
    while (!d.object.pairs.empty() && d.object.pairs.back().first.isEmpty() && d.object.pairs.back().second.isEmpty())
        d.object.pairs.pop_back();
    d.amount = f.whole(C::amount);
    d.toCollect = f.whole(C::toCollect);
    return d;
}

std::vector<YearDebit> ReadOpenYearDebits(db::Database& db, const QString& dataFolder, qint64 roleId) {
    return debitsOf(db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? AND %3 <> 0 ORDER BY rowid")
                                 .arg(path(dataFolder), C::role, C::toCollect),
                             {roleId}));
}

std::vector<YearDebit> ReadYearDebits(db::Database& db, const QString& dataFolder, qint64 roleId, DebitOrder order) {
    const QString sorted =
        order == DebitOrder::ByTax ? QStringList{C::tax, C::from, C::id}.join(QStringLiteral(", ")) : QStringLiteral("rowid");
    return debitsOf(db.query(
        QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? ORDER BY %3").arg(path(dataFolder), C::role, sorted), {roleId}));
}

std::vector<YearDebit> ReadAllYearDebits(db::Database& db, const QString& dataFolder) {
    return debitsOf(db.query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(path(dataFolder))));
}

std::vector<YearDebit> ReadYearDebitsWithId(db::Database& db, const QString& dataFolder, qint64 id) {
    return debitsOf(db.query(
        QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? ORDER BY rowid").arg(path(dataFolder), C::id), {id}));
}

db::Query YearDebitRowsAsStored(db::Database& db, const QString& dataFolder, qint64 roleId) {
    return db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? ORDER BY %3, %4, %5")
                        .arg(path(dataFolder), C::role, C::tax, C::from, C::id),
                    {roleId});
}

void InsertYearDebit(db::Database& db, const QString& dataFolder, const YearDebit& d) {
    const QStringList& columns = DebitColumnNames();
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (?%3)")
                .arg(path(dataFolder), columns.join(QStringLiteral(", ")),
                     QStringLiteral(", ?").repeated(columns.size() - 1)),
            YearDebitValues(d));
}

void UpdateYearDebit(db::Database& db, const QString& dataFolder, const YearDebit& d) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = ? WHERE %3 = ?")
                .arg(path(dataFolder), columnsAfterRole().join(QStringLiteral(" = ?, ")), C::id),
            valuesAfterRole(d) << d.id);
}

void SetDebitRemainder(db::Database& db, const QString& dataFolder, qint64 roleId, qint64 id, qint64 toCollect) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = ? WHERE %3 = ? AND %4 = ?")
                .arg(path(dataFolder), C::toCollect, C::id, C::role),
            {toCollect, id, roleId});
}

void DeleteYearDebit(db::Database& db, const QString& dataFolder, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2 = ?").arg(path(dataFolder), C::id), {id});
}

} // namespace vartesa
