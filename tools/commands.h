#pragma once
// Subcommands of vartesa-tool. Each takes the arguments after its own name and
// returns the process exit code; errors go to standard error.

#include <QStringList>
#include <QVariant>

#include <vector>

namespace vartesa::tool {

struct Command {
    const char* name;    // word typed after vartesa-tool
    const char* usage;   // arguments, for --help
    const char* summary; // one line, for --help
    int (*run)(const QStringList& args);
};

/// One CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a line break.
QString csvField(QString text);
/// A query cell as one CSV field: dates as dd.MM.yyyy, real numbers with 15 digits.
QString csvValue(const QVariant& value);

/// Every subcommand, in the order --help lists them.
const std::vector<Command>& commands();

int runSql(const QStringList& args);
int runDbfInfo(const QStringList& args);
int runNextId(const QStringList& args);
int runStart(const QStringList& args);
int runInit(const QStringList& args);
int runXlsCat(const QStringList& args);
int runBackup(const QStringList& args);
int runRestore(const QStringList& args);
int runListArchive(const QStringList& args);
int runRoles(const QStringList& args);
int runPersonList(const QStringList& args);
int runLedger(const QStringList& args);
int runPage(const QStringList& args);
int runAssess(const QStringList& args);
int runDemo(const QStringList& args);
int runAccount(const QStringList& args);
int runReceipt(const QStringList& args);
int runRolePage(const QStringList& args);
int runCashRegister(const QStringList& args);
int runSummary(const QStringList& args);
int runPay(const QStringList& args);
int runCancel(const QStringList& args);
int runVerify(const QStringList& args);
int runRepair(const QStringList& args);
int runNotices(const QStringList& args);
int runList(const QStringList& args);
int runSummons(const QStringList& args);
int runXmlExport(const QStringList& args);
int runGarnishment(const QStringList& args);
int runDebitStatements(const QStringList& args);
int runCertificate(const QStringList& args);
int runConfirmation(const QStringList& args);
int runRole(const QStringList& args);
int runLedgerLine(const QStringList& args);
int runDebit(const QStringList& args);
int runUsers(const QStringList& args);
int runCodes(const QStringList& args);
int runDemoRegister(const QStringList& args);
int runImportRegister(const QStringList& args);
int runNewYear(const QStringList& args);

} // namespace vartesa::tool
