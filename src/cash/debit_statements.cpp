#include "cash/debit_statements.h"

#include "db/database.h"
#include "db/query.h"


namespace vartesa {

std::vector<DebitStatement> DebitStatements(db::Database& db, const QString& dataFolder) {
    const QString ledger = dataFolder + QStringLiteral("/Datorii.dbf"), debits = dataFolder + QStringLiteral("/Debit.dbf");
    // Each source gives (type, number, amount) per number; sources add up per statement.
    QStringList parts;
    if (db.tableExists(ledger)) {
        parts << QStringLiteral("SELECT 'BD' AS T, NR, SUM(RESTINI + SUMA2) AS S FROM \"%1\" WHERE TRIM(TIP) = 'M' AND "
                                "(RESTINI > 0 OR SUMA2 > 0) GROUP BY NR").arg(ledger)
              << QStringLiteral("SELECT 'BS' AS T, NR, SUM(REDUC) AS S FROM \"%1\" WHERE TRIM(TIP) = 'M' AND REDUC > 0 "
                                "GROUP BY NR").arg(ledger);
    }
    if (db.tableExists(debits)) {
        parts << QStringLiteral("SELECT 'BD' AS T, NR, SUM(SUMAINI) AS S FROM \"%1\" WHERE SUMAINI > 0 GROUP BY NR").arg(debits)
              << QStringLiteral("SELECT 'BS' AS T, NR, -SUM(SUMAINI) AS S FROM \"%1\" WHERE SUMAINI < 0 GROUP BY NR").arg(debits);
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
