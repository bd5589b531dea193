// vartesa-tool --help: every clerk's command listed, and each command's own help.

#include "support/tool_run.h"

#include <gtest/gtest.h>

using vartesa::test::runTool;

TEST(ToolHelp, ListsEveryEditingCommandAndGivesEachItsOwnHelp) {
    QString all;
    ASSERT_EQ(runTool({"--help"}, &all), 0);
    for (const char* name : {"role", "ledger-line", "debit", "users", "codes"}) {
        EXPECT_TRUE(all.contains(QStringLiteral("\n  %1 DATAFOLDER ").arg(name))) << name;
        QString own;
        EXPECT_EQ(runTool({name, "--help"}, &own), 0) << name;
        EXPECT_TRUE(own.startsWith(QStringLiteral("Utilizare: vartesa-tool %1 DATAFOLDER ").arg(name))) << own.toStdString();
    }
}
