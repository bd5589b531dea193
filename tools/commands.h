#pragma once
// Subcommands of vartesa-tool. Each takes the arguments after its own name and
// returns the process exit code; errors go to standard error.

#include <QStringList>

#include <vector>

namespace vartesa::tool {

struct Command {
    const char* name;    // word typed after vartesa-tool
    const char* usage;   // arguments, for --help
    const char* summary; // one line, for --help
    int (*run)(const QStringList& args);
};

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
int runAssess(const QStringList& args);
int runDemo(const QStringList& args);

} // namespace vartesa::tool
