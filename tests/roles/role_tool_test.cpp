// vartesa-tool roles: the register as CSV, in the screen's order.

#include "role_test_util.h"
#include "support/tool_run.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using test::runTool;

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

TEST(LedgerTool, PrintsTheRolesLinesAndDebitsWithEveryColumn) {
    test::RoleFolder f;
    const qint64 role = f.add("ALUNI", "5", "POPA, ANA");
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, DINDATA, SATUL, ROL, GRUPA, DENUM, SUMA, CANT, TIP, SUMA2) "
                               "VALUES (4, ?, '17.03.2015', 'ALUNI', '5', 'Amenzi', 'Amenzi', 60, 1.5, 'M', 100)")
                    .arg(f.path("Datorii.dbf")), {role});
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, GRUPA, CATEG, DENUM, CAMP1, VAL1, SUMAINI, SUMAC) "
                               "VALUES (9, ?, 'Impozit pe cladiri', 'Vanzare', 'Cladiri', 'C1S', '70', -120, -120)")
                    .arg(f.path("Debit.dbf")), {role});
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, SUMAINI) VALUES (10, ?, 5)").arg(f.path("Debit.dbf")), {role + 1});
    QString out;
    ASSERT_EQ(runTool({"ledger", f.env.folders().data, QString::number(role)}, &out), 0) << out.toStdString();
    const QStringList lines = out.split('\n');
    ASSERT_EQ(lines.size(), 7) << out.toStdString(); // two sections of header, columns, one row; final newline
    EXPECT_EQ(lines[0], "[DATORII]");
    EXPECT_EQ(lines[1], "IDDAT,IDGOS,DINDATA,SATUL,ROL,GRUPA,DENUM,DOCJUS,NR,SUMA,REST,REDUC,UM,CANT,REDUCP,SCUTIT,TIP,SUMA2,RESTINI");
    EXPECT_EQ(lines[2], "4,1,17.03.2015,ALUNI,5,Amenzi,Amenzi,,,60,,,,1.5,,,M,100,");
    EXPECT_EQ(lines[3], "[DEBIT]");
    EXPECT_EQ(lines[4].count(',') + 1, 28) << "every column of Debit.dbf";
    EXPECT_TRUE(lines[5].startsWith("9,1,Impozit pe cladiri,,,Vanzare,Cladiri,")) << lines[5].toStdString();
    EXPECT_TRUE(lines[5].endsWith(",-120,-120"));
    EXPECT_EQ(runTool({"ledger", f.env.folders().data, "ION"}, &out), 2);
    EXPECT_EQ(runTool({"ledger", f.env.root(), "1"}, &out), 1) << "a folder without the ledger";
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
