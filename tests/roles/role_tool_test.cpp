// vartesa-tool roles: the register as CSV, in the screen's order.

#include "role_test_util.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

int runTool(const QStringList& args, QString* out) {
    QProcess tool;
    tool.start(QStringLiteral(VARTESA_TOOL_PATH), args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    *out = QString::fromUtf8(tool.readAllStandardOutput()) + QString::fromUtf8(tool.readAllStandardError());
    return tool.exitCode();
}

TEST(RolesTool, ListsTheRolesAsCsvInTheScreensOrder) {
    test::RoleFolder f;
    f.add("CORBU", "3", "ZAHARIA ION", "1800101221144");
    f.add("ALUNI", "2", "SC \"ALFA\" SRL", "18598");
    f.add("ALUNI", "1", "POPA, ANA");
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET ADRESA = 'Str. Mare, 1' WHERE IDGOS = 3").arg(f.path("Gospodar.dbf")));
    const QString data = f.env.folders().data;
    QString out;
    ASSERT_EQ(runTool({"roles", data}, &out), 0) << out.toStdString();
    EXPECT_EQ(out, "IDGOS,SATUL,ROL,NUMEP,CNP,ADRESA,TIP\n"
                   "3,ALUNI,1,\"POPA, ANA\",,\"Str. Mare, 1\",FIZICA\n"
                   "2,ALUNI,2,\"SC \"\"ALFA\"\" SRL\",18598,,FIZICA\n"
                   "1,CORBU,3,ZAHARIA ION,1800101221144,,FIZICA\n");
    ASSERT_EQ(runTool({"roles", data, "--village", "aluni", "--name", "sc \"a"}, &out), 0);
    EXPECT_EQ(out, "IDGOS,SATUL,ROL,NUMEP,CNP,ADRESA,TIP\n2,ALUNI,2,\"SC \"\"ALFA\"\" SRL\",18598,,FIZICA\n");
    EXPECT_EQ(runTool({"roles", f.env.root()}, &out), 1) << "a folder without the roles table";
}

} // namespace

namespace {

TEST(PageTool, PrintsAndCorrectsAPageThroughTheWindowsChecks) {
    test::RoleFolder f;
    const qint64 id = f.add("ALUNI", "1", "POPA ANA");
    const QString data = f.env.folders().data;
    const QString role = QString::number(id);
    QString out;
    ASSERT_EQ(runTool({"page", data, role, "5", "--set", "p30001=0", "--set", "P30002=3200", "--set", "REM1=2"}, &out), 0)
        << out.toStdString();
    EXPECT_TRUE(out.contains("P30002,3200\n") && out.contains("REM1,2\n") && out.startsWith("AUTO16,0\n"))
        << out.toStdString();
    EXPECT_EQ(runTool({"page", data, role, "5", "--set", "P30001=2500", "--set", "AUTO1=4"}, &out), 1);
    EXPECT_EQ(out, "Capacitatea trebuie sa fie peste 3000 cmc!\n");
    EXPECT_EQ(runTool({"page", data, role, "4", "--set", "ALL1A=1"}, &out), 1) << "a field page 4 lacks";
    EXPECT_EQ(runTool({"page", data, role, "1", "--set", "L1A=123456.12345"}, &out), 1);
    EXPECT_TRUE(out.contains("(L1A)")) << out.toStdString();
    ASSERT_EQ(runTool({"page", data, role, "5"}, &out), 0);
    EXPECT_TRUE(out.contains("P30001,0\n") && out.contains("AUTO1,0\n")) << "a refused save wrote: " << out.toStdString();
    EXPECT_EQ(runTool({"page", data, "999", "5"}, &out), 1) << "a role that does not exist";
}

} // namespace
