// What counts in the debit statements, read from the ledger and the year debits, and the rows
// of the cumulated statements.

#include "documents/debit_statement_lists.h"

#include "books/debits.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "db/database.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <map>
#include <tuple>

namespace vartesa {

namespace {

using L = LedgerColumns;
using D = DebitColumns;
using R = RoleColumns;

// One source of a statement kind: the table, the amount it counts and the rows that count.
struct Source {
    QString table;
    QString amount;    // SQL expression over the alias A
    QString condition; // SQL condition over the alias A
};

std::vector<Source> sourcesOf(const QString& dataFolder, const QString& kind) {
    const QString ledger = dataFolder + '/' + tables::Ledger, debits = dataFolder + '/' + tables::Debits;
    const QString manual = QStringLiteral("TRIM(A.%1) = 'M'").arg(L::type);
    if (kind == kChargeStatement)
        return {{ledger, QStringLiteral("COALESCE(A.%1, 0) + COALESCE(A.%2, 0)").arg(L::arrearsEstablished, L::established),
                 manual + QStringLiteral(" AND (A.%1 > 0 OR A.%2 > 0)").arg(L::arrearsEstablished, L::established)},
                {debits, QStringLiteral("A.") + D::amount, QStringLiteral("A.%1 > 0").arg(D::amount)}};
    return {{ledger, QStringLiteral("A.") + L::reduction, manual + QStringLiteral(" AND A.%1 > 0").arg(L::reduction)},
            {debits, QStringLiteral("-A.") + D::amount, QStringLiteral("A.%1 < 0").arg(D::amount)}};
}

std::vector<StatementLine> readLines(db::Database& db, const QString& dataFolder, const QString& kind,
                                     std::optional<qint64> number, const StatementPeriod& period) {
    // Both sources name these columns alike: IDGOS, GRUPA, DINDATA, NR.
    const QString roles = dataFolder + '/' + tables::Roles;
    const bool withRoles = db.tableExists(roles);
    std::vector<StatementLine> lines;
    for (const Source& source : sourcesOf(dataFolder, kind)) {
        if (!db.tableExists(source.table)) continue;
        QString sql = QStringLiteral("SELECT A.%1 AS IDGOS, A.%2 AS GRUPA, A.%3 AS DINDATA, COALESCE(A.%4, 0) AS NR, "
                                     "SUM(%5) AS S")
                          .arg(L::role, L::group, L::from, L::docNumber, source.amount);
        sql += withRoles ? QStringLiteral(", MAX(B.%1) AS ROL, MAX(B.%2) AS NUMEP, MAX(B.%3) AS ADRESA, "
                                          "COUNT(B.%4) AS FOUND FROM \"%5\" A LEFT JOIN \"%6\" B ON B.%4 = A.%7")
                               .arg(R::number, R::name, R::address, R::id, source.table, roles, L::role)
                         : QStringLiteral(", '' AS ROL, '' AS NUMEP, '' AS ADRESA, 0 AS FOUND FROM \"%1\" A")
                               .arg(source.table);
        sql += QStringLiteral(" WHERE %1 AND A.%2 >= ? AND A.%2 <= ?").arg(source.condition, L::from);
        QVariantList params{period.from, period.to};
        if (number) {
            sql += QStringLiteral(" AND COALESCE(A.%1, 0) = ?").arg(L::docNumber);
            params << *number;
        }
        sql += QStringLiteral(" GROUP BY A.%1, A.%2, A.%3, COALESCE(A.%4, 0) ORDER BY A.%1")
                   .arg(L::role, L::group, L::from, L::docNumber);
        db::Query q = db.query(sql, params);
        lines.reserve(lines.size() + size_t(q.count()));
        for (q.first(); !q.eof(); q.next())
            lines.push_back({q.integer(QStringLiteral("IDGOS")), q.integer(QStringLiteral("FOUND")) > 0,
                             q.text(QStringLiteral("ROL")).trimmed(), q.text(QStringLiteral("NUMEP")).trimmed(),
                             q.text(QStringLiteral("ADRESA")).trimmed(), q.text(QStringLiteral("GRUPA")).trimmed(),
                             q.date(QStringLiteral("DINDATA")), q.integer(QStringLiteral("NR")),
                             q.integer(QStringLiteral("S"))});
    }
    return lines;
}

} // namespace

QStringList StatementGroups(const std::vector<StatementLine>& lines) {
    std::map<QByteArray, QString> ordered;
    for (const StatementLine& l : lines) ordered.emplace(l.group.toUtf8(), l.group);
    QStringList groups;
    for (const auto& [bytes, name] : ordered) groups << name;
    return groups;
}

std::vector<StatementLine> StatementLines(db::Database& db, const QString& dataFolder, const QString& kind, qint64 number,
                                          const StatementPeriod& period) {
    return readLines(db, dataFolder, kind, number, period);
}

std::vector<StatementLine> AllStatementLines(db::Database& db, const QString& dataFolder, const QString& kind,
                                             const StatementPeriod& period) {
    return readLines(db, dataFolder, kind, std::nullopt, period);
}

CumulatedStatementRows CumulatedStatementData(Services& s, const StatementPeriod& period) {
    ProgressShown shown(s.progress(), QStringLiteral("Prelucrare date ..."));
    s.progress().SetMaximum(4);
    std::vector<StatementLine> charged = AllStatementLines(s.database(), s.folders.data, kChargeStatement, period);
    s.progress().Step(2);
    std::vector<StatementLine> writtenOff = AllStatementLines(s.database(), s.folders.data, kWriteOffStatement, period);
    s.progress().Step(2);

    const auto gone = [](const StatementLine& l) { return !l.roleFound; };
    std::erase_if(charged, gone);
    std::erase_if(writtenOff, gone);
    std::vector<StatementLine> all = charged;
    all.insert(all.end(), writtenOff.begin(), writtenOff.end());
    CumulatedStatementRows out;
    out.groups = StatementGroups(all);
    std::map<QString, int> groupIndex;
    for (int i = 0; i < out.groups.size(); ++i) groupIndex[out.groups[i]] = i;
    const int k = int(out.groups.size());

    // One row per day, number, name, role and address, as the sheet orders them.
    s.progress().Describe(QStringLiteral("Finalizez..."));
    s.progress().SetMaximum(int(charged.size() + writtenOff.size()));
    using Key = std::tuple<QDate, qint64, QByteArray, QByteArray, QByteArray>;
    std::map<Key, std::pair<StatementLine, std::vector<qint64>>> rows;
    auto add = [&](const StatementLine& l, int offset) {
        s.progress().Step();
        auto [it, fresh] = rows.try_emplace(Key{l.day, l.number, l.name.toUtf8(), l.rol.toUtf8(), l.address.toUtf8()});
        if (fresh) it->second = {l, std::vector<qint64>(size_t(2 * k), 0)};
        it->second.second[size_t(2 * groupIndex[l.group] + offset)] += l.amount;
    };
    for (const StatementLine& l : charged) add(l, 0);
    for (const StatementLine& l : writtenOff) add(l, 1);

    QStringList columns{QStringLiteral("NR"), QStringLiteral("DINDATA"), QStringLiteral("ROL"), QStringLiteral("NUMEP"),
                        QStringLiteral("ADRESA")};
    for (int i = 1; i <= k; ++i) columns << QStringLiteral("A%1BD").arg(i) << QStringLiteral("A%1BS").arg(i);
    columns << QStringLiteral("TOTAL");
    std::vector<std::vector<QVariant>> cells;
    cells.reserve(rows.size());
    for (const auto& [key, row] : rows) {
        const StatementLine& l = row.first;
        std::vector<QVariant> r{l.number, l.day, l.rol, l.name, l.address};
        qint64 total = 0;
        for (int i = 0; i < 2 * k; ++i) {
            r.emplace_back(row.second[size_t(i)]);
            total += i % 2 == 0 ? row.second[size_t(i)] : -row.second[size_t(i)];
        }
        r.emplace_back(total);
        cells.push_back(std::move(r));
    }
    out.rows = db::Query::fromRows(columns, std::move(cells));
    out.rows.first();
    return out;
}

} // namespace vartesa
