#pragma once
// A services context for work without windows (the command line, the benchmarks): messages
// go to standard error (questions are answered "NU"), progress is silent, a file to open is
// named on standard output or, for the benchmarks, passed over. The data folder is this
// machine's own database.

#include "shell/services.h"

#include <memory>

namespace vartesa {

/// What becomes of a file the work hands to the desktop's default application.
enum class OpenedFiles {
    Named,  // "De deschis: <path>" on standard output, for a script to pick up
    Ignored // nothing: a benchmark's output stays its figures
};

/// Services over `dataFolder` (its parent is the program folder), with the system clock.
std::unique_ptr<Services> ConsoleServices(const QString& dataFolder);
/// Services over the program folder `program` (also the machine folder) and `dataFolder`.
std::unique_ptr<Services> ConsoleServices(const QString& program, const QString& dataFolder, OpenedFiles opened);

} // namespace vartesa
