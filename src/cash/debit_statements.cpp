#include "cash/debit_statements.h"

#include "books/debits.h"
#include "books/ledger.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

namespace vartesa {

std::vector<DebitStatement> DebitStatements(db::Database& db, const QString& dataFolder) {
    using L = LedgerColumns;
    using D = DebitColumns;
    const QString ledger = dataFolder + '/' + tables::Ledger, debits = dataFolder + '/' + tables::Debits;
    // Each source gives (type, number, amount) per number; sources add up per statement. An
    // empty NR is statement 0, as the new year writes it: one statement, not two.
    QStringList parts;
    if (db.tableExists(ledger)) {
        parts << QStringLiteral("SELECT 'BD' AS T, COALESCE(%1, 0) AS NR, SUM(COALESCE(%2, 0) + COALESCE(%3, 0)) AS S "
                                "FROM \"%4\" WHERE TRIM(%5) = 'M' AND (%2 > 0 OR %3 > 0) GROUP BY COALESCE(%1, 0)")
                     .arg(L::docNumber, L::arrearsEstablished, L::established, ledger, L::type)
              << QStringLiteral("SELECT 'BS' AS T, COALESCE(%1, 0) AS NR, SUM(%2) AS S FROM \"%3\" WHERE TRIM(%4) = 'M' "
                                "AND %2 > 0 GROUP BY COALESCE(%1, 0)")
                     .arg(L::docNumber, L::reduction, ledger, L::type);
    }
    if (db.tableExists(debits)) {
        parts << QStringLiteral("SELECT 'BD' AS T, COALESCE(%1, 0) AS NR, SUM(%2) AS S FROM \"%3\" WHERE %2 > 0 "
                                "GROUP BY COALESCE(%1, 0)")
                     .arg(D::docNumber, D::amount, debits)
              << QStringLiteral("SELECT 'BS' AS T, COALESCE(%1, 0) AS NR, -SUM(%2) AS S FROM \"%3\" WHERE %2 < 0 "
                                "GROUP BY COALESCE(%1, 0)")
                     .arg(D::docNumber, D::amount, debits);
    }
    std::vector<DebitStatement> statements;
    if (parts.isEmpty()) return statements;
    db::Query q = db.query(QStringLiteral("SELECT T, NR, SUM(S) AS S FROM (%1) WHERE S <> 0 GROUP BY T, NR ORDER BY T, NR")
                               .arg(parts.join(QStringLiteral(" UNION ALL "))));
    for (q.first(); !q.eof(); q.next()) statements.push_back({q.text("T"), q.integer("NR"), q.integer("S")});
    return statements;
}

bool NoStatementEntered(const std::vector<DebitStatement>& statements) {
    return statements.empty() || (statements.size() == 1 && statements.front().number == 0);
}

} // namespace vartesa
