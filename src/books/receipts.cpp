#include "books/receipts.h"

#include "db/dbf_format.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/catalog.h"
#include "shell/table_files.h"

#include <cmath>

namespace vartesa {

namespace {

using C = ReceiptLineColumns;

// A stored number as the queries read it: one written with decimals rounds half away from zero.
qint64 whole(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::Double: return qint64(std::llround(v.toDouble()));
    case QMetaType::QString: return qint64(std::llround(v.toString().trimmed().toDouble()));
    default: return v.toLongLong();
    }
}

QString text(const QVariant& v) { return v.toString().trimmed(); }

// How each column reaches its field of the record.
struct Setter {
    const QString* column;
    void (*set)(ReceiptLine& line, const QVariant& value);
};

// In layout order, so the column list and the record cannot drift apart.
const std::vector<Setter>& setters() {
    static const std::vector<Setter> all = {
        {&C::id, [](ReceiptLine& l, const QVariant& v) { l.idchit = whole(v); }},
        {&C::role, [](ReceiptLine& l, const QVariant& v) { l.idgos = v.isNull() ? kNoDebit : whole(v); }},
        {&C::operation, [](ReceiptLine& l, const QVariant& v) { l.idanul = whole(v); }},
        {&C::series, [](ReceiptLine& l, const QVariant& v) { l.series = text(v); }},
        {&C::number, [](ReceiptLine& l, const QVariant& v) { l.number = whole(v); }},
        {&C::date, [](ReceiptLine& l, const QVariant& v) { l.date = db::dateFromValue(v); }},
        {&C::village, [](ReceiptLine& l, const QVariant& v) { l.village = text(v); }},
        {&C::rol, [](ReceiptLine& l, const QVariant& v) { l.rol = text(v); }},
        {&C::group, [](ReceiptLine& l, const QVariant& v) { l.group = text(v); }},
        {&C::name, [](ReceiptLine& l, const QVariant& v) { l.name = text(v); }},
        {&C::code, [](ReceiptLine& l, const QVariant& v) { l.code = text(v); }},
        {&C::taxpayer, [](ReceiptLine& l, const QVariant& v) { l.taxpayer = text(v); }},
        {&C::cnp, [](ReceiptLine& l, const QVariant& v) { l.cnp = text(v); }},
        {&C::address, [](ReceiptLine& l, const QVariant& v) { l.address = text(v); }},
        {&C::personType, [](ReceiptLine& l, const QVariant& v) { l.personType = text(v); }},
        {&C::payer, [](ReceiptLine& l, const QVariant& v) { l.payer = text(v); }},
        {&C::cashier, [](ReceiptLine& l, const QVariant& v) { l.cashier = text(v); }},
        {&C::badge, [](ReceiptLine& l, const QVariant& v) { l.badge = text(v); }},
        {&C::arrears, [](ReceiptLine& l, const QVariant& v) { l.arrears = whole(v); }},
        {&C::carried, [](ReceiptLine& l, const QVariant& v) { l.carried = whole(v); }},
        {&C::credit, [](ReceiptLine& l, const QVariant& v) { l.credit = whole(v); }},
        {&C::current, [](ReceiptLine& l, const QVariant& v) { l.current = whole(v); }},
        {&C::penalties, [](ReceiptLine& l, const QVariant& v) { l.penalties = whole(v); }},
        {&C::reduction, [](ReceiptLine& l, const QVariant& v) { l.reduction = whole(v); }},
        {&C::total, [](ReceiptLine& l, const QVariant& v) { l.total = whole(v); }},
        {&C::kind,
         [](ReceiptLine& l, const QVariant& v) {
             const QString letter = text(v);
             l.letter = letter.isEmpty() ? QChar(' ') : letter.at(0);
         }},
    };
    return all;
}

const Setter& setterOf(const QString& column) {
    for (const Setter& s : setters())
        if (s.column->compare(column, Qt::CaseInsensitive) == 0) return s;
    throw Error(QStringLiteral("Campul %1 nu este al liniilor de chitanta").arg(column), tables::Receipts);
}

// The values of one line in layout order, for an INSERT of every column.
QVariantList valuesOf(const ReceiptLine& l) {
    return {l.idchit, l.idgos, l.idanul, l.series, l.number,
            l.date.isValid() ? QVariant(l.date) : QVariant(), // no date: the field stays blank
            l.village, l.rol, l.group, l.name, l.code, l.taxpayer, l.cnp, l.address, l.personType,
            l.payer, l.cashier, l.badge,
            qint64(l.arrears), qint64(l.carried), qint64(l.credit), qint64(l.current), qint64(l.penalties),
            qint64(l.reduction), qint64(l.total), l.kind()};
}

// The lines of `table` for which `where` holds, in stored order. Every column must be there
// but IDANUL, which ChitAnul.dbf has not.
std::vector<ReceiptLine> readLines(db::Database& db, const QString& table, const QString& where,
                                   const QVariantList& params) {
    db::Query q = db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 ORDER BY rowid").arg(table, where), params);
    std::vector<ReceiptLine> out;
    if (q.isEmpty()) return out;
    std::vector<std::pair<int, const Setter*>> columns;
    for (const Setter& s : setters()) {
        const int at = q.columnIndex(*s.column);
        if (at >= 0) columns.push_back({at, &s});
        else if (s.column != &C::operation) q.value(*s.column); // throws the engine's missing-field error
    }
    out.reserve(size_t(q.count()));
    for (int row = 0; row < q.count(); ++row) {
        ReceiptLine& l = out.emplace_back();
        for (const auto& [at, s] : columns) s->set(l, q.cell(row, at));
    }
    return out;
}

} // namespace

const QStringList& ReceiptColumns(bool withOperation) {
    static const QStringList all = [] {
        QStringList c;
        for (const Setter& s : setters()) c << *s.column;
        return c;
    }();
    static const QStringList cancelled = [] {
        QStringList c = all;
        c.removeAll(C::operation);
        return c;
    }();
    return withOperation ? all : cancelled;
}

QString ReceiptsTable(const QString& dataFolder) { return dataFolder + QLatin1Char('/') + tables::Receipts; }

QString CancelledReceiptsTable(const QString& dataFolder) {
    return dataFolder + QLatin1Char('/') + tables::YearReceipts;
}

void CreateReceiptsTable(db::Database& db, const QString& path) {
    CreateTable(db, path, CatalogTable(tables::Receipts));
}

std::vector<ReceiptLine> ReadDocumentLines(db::Database& db, const QString& table, qint64 idchit) {
    return readLines(db, table, C::id + QStringLiteral(" = ?"), {idchit});
}

std::vector<ReceiptLine> ReadRoleLines(db::Database& db, const QString& table, qint64 idgos, const QDate& from) {
    // A collection without a debit may have been stored with IDGOS left empty.
    QString where = idgos == kNoDebit ? QStringLiteral("(%1 IS NULL OR %1 = ?)").arg(C::role) : C::role + QStringLiteral(" = ?");
    QVariantList params{idgos};
    if (!from.isNull()) {
        where += QStringLiteral(" AND %1 >= ?").arg(C::date);
        params << from;
    }
    return readLines(db, table, where, params);
}

QStringList ReducedGroups(db::Database& db, const QString& table, qint64 idgos, const QDate& from) {
    db::Query q = db.query(QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3 >= ? AND %4 > 0 AND %5 = ?")
                               .arg(C::group, table, C::date, C::reduction, C::role),
                           {from, idgos});
    QStringList groups;
    for (q.first(); !q.eof(); q.next()) groups << q.text(C::group).trimmed();
    return groups;
}

std::vector<ReceiptLine> ReadAllLines(db::Database& db, const QString& table) {
    return readLines(db, table, QStringLiteral("1 = 1"), {});
}

std::optional<ReceiptLine> FindNumberedDocument(db::Database& db, const QString& table, const QString& series,
                                                qint64 number) {
    const std::vector<ReceiptLine> lines =
        readLines(db, table, QStringLiteral("%1 = ? AND RTRIM(%2) = ?").arg(C::number, C::series), {number, series});
    if (lines.empty()) return std::nullopt;
    return lines.front();
}

bool LaterOperationStands(db::Database& db, const QString& table, qint64 idgos, qint64 idanul, qint64 idchit) {
    // A line with PLATNUME empty in SQL terms counts as not standing, as it always has.
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE %2 = ? AND %3 > ? AND %4 <> ? AND TRIM(%5) <> ?")
                         .arg(table, C::role, C::operation, C::id, C::payer),
                     {idgos, idanul, idchit, kCancelledPayer})
               .toLongLong() > 0;
}

void ScanReceiptLines(db::Database& db, const QString& table, const QStringList& columns, const QDate& from,
                      const QDate& to, const std::function<void(const ReceiptLine&)>& line) {
    QStringList fields = columns;
    int dateAt = int(fields.indexOf(C::date));
    if (dateAt < 0) {
        dateAt = int(fields.size());
        fields << C::date;
    }
    std::vector<const Setter*> chosen;
    for (const QString& f : fields) chosen.push_back(&setterOf(f));
    db.scan(table, fields, [&](const std::vector<QVariant>& v) {
        const QDate day = v[size_t(dateAt)].toDate();
        if (!day.isValid() || day < from || day > to) return;
        ReceiptLine l;
        for (size_t i = 0; i < chosen.size(); ++i) chosen[i]->set(l, v[i]);
        line(l);
    });
}

void ScanReceiptColumns(db::Database& db, const QString& table, const QStringList& columns, const db::ScanRow& row) {
    db.scan(table, columns, row);
}

void InsertReceiptLine(db::Database& db, const QString& table, const ReceiptLine& line) {
    static const QString marks = QStringList(ReceiptColumns().size(), QStringLiteral("?")).join(QStringLiteral(", "));
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                .arg(table, ReceiptColumns().join(QStringLiteral(", ")), marks),
            valuesOf(line));
}

void RenumberDocument(db::Database& db, const QString& table, qint64 idchit, const QDate& date, const QString& series,
                      qint64 number) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = ?, %3 = ?, %4 = ? WHERE %5 = ?")
                .arg(table, C::date, C::series, C::number, C::id),
            {date, series.left(10), number, idchit});
}

int DeleteCancelledLines(db::Database& db, const QString& table, qint64 idchit) {
    return db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2 = ? AND TRIM(%3) = ?").arg(table, C::id, C::payer),
                   {idchit, kCancelledPayer});
}

void CopyDocumentToCancelled(db::Database& db, const QString& dataFolder, qint64 idchit) {
    // Copied in SQL, so what the lines hold reaches ChitAnul.dbf unchanged, empty numbers too.
    QStringList kept = ReceiptColumns(false);
    kept.removeAll(C::name);
    const QString columns = kept.join(QStringLiteral(", "));
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%3) SELECT %3 FROM \"%2\" WHERE %4 = ?")
                .arg(CancelledReceiptsTable(dataFolder), ReceiptsTable(dataFolder), columns, C::id),
            {idchit});
}

void MarkDocumentCancelled(db::Database& db, const QString& table, qint64 idchit) {
    QStringList sets{C::payer + QStringLiteral(" = ?")};
    QVariantList values{kCancelledPayer};
    for (const QString* amount : {&C::arrears, &C::carried, &C::credit, &C::current, &C::penalties, &C::reduction,
                                  &C::total}) {
        sets << *amount + QStringLiteral(" = ?");
        values << qint64(0);
    }
    values << idchit;
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE %3 = ?").arg(table, sets.join(QStringLiteral(", ")), C::id),
            values);
}

void SetLinesCode(db::Database& db, const QString& table, const QString& group, const QString& personType,
                  const QString& code) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = ? WHERE %3 = ? AND %4 = ?").arg(table, C::code, C::group, C::personType),
            {code, group, personType});
}

void IndexDocumentNumbers(db::Database& db, const QString& table) {
    try {
        db.addIndex(table, C::number);
    } catch (const Error&) {
    }
}

} // namespace vartesa
