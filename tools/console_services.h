#pragma once
// A services context for commands that run core operations without windows: messages go
// to standard error (questions are answered "NU"), progress is silent, files to open are
// named on standard output. The data folder is this machine's own database.

#include "shell/services.h"

#include <memory>

namespace vartesa::tool {

/// Services over `dataFolder` (its parent is the program folder), with the system clock.
std::unique_ptr<Services> ConsoleServices(const QString& dataFolder);

} // namespace vartesa::tool
