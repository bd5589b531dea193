#pragma once
// The debit statements ("Borderouri") a clerk picks from: statements of debits ("BD") and of
// reductions ("BS"), numbered by hand, gathered from the ledger lines entered by hand and from
// the year debits, with the total of each.

#include <QString>

#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// One statement: its type, number and total value.
struct DebitStatement {
    QString type;       // "BD" or "BS"
    qint64 number = 0;  // NR
    qint64 amount = 0;  // "Valoare totala"
};

/// Every statement with a non-zero total, ordered by type and number.
std::vector<DebitStatement> DebitStatements(db::Database& db, const QString& dataFolder);

/// True when there is no statement to choose: none at all, or only the one numbered 0 that
/// collects the lines entered without a statement.
bool NoStatementEntered(const std::vector<DebitStatement>& statements);

} // namespace vartesa
