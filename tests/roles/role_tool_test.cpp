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
