#pragma once
// Runs the command-line tool of this build, for the tests that drive the core through it.
// Inline: VARTESA_TOOL_PATH is defined for each test program, not for the support library.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace vartesa::test {

/// Runs `vartesa-tool args...`, puts what it printed (standard output, then standard error)
/// in `out` and returns its exit code.
inline int runTool(const QStringList& args, QString* out) {
    QProcess tool;
    tool.start(QStringLiteral(VARTESA_TOOL_PATH), args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    *out = QString::fromUtf8(tool.readAllStandardOutput()) + QString::fromUtf8(tool.readAllStandardError());
    return tool.exitCode();
}

} // namespace vartesa::test
