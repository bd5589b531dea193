// vartesa-tool new-year: its output, and the refusals that leave both folders untouched.

#include "new_year_test_util.h"

#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

TEST(NewYearTool, PrintsOpeningsCarriedLinesAndRefusals) {
    NewYearFolders f;
    const qint64 a = f.addRole("ALFA"), b = f.addRole("BETA");
    f.balance(a, {QStringLiteral("Impozit pe cladiri"), 300, 150});
    f.ledgerLine(b, "Amenzi", 0, 30);
    f.debit(b, {"Cumparare", {2014, 3, 17}, 0, QStringLiteral("Impozit pe cladiri"), "PAG2", "XYZ", "1"});
    const QString nextLine = f.counters().ReadCounter("SERVER", "IDDAT", "1");
    const QString created = f.env.root() + QStringLiteral("/an2015/Data");

    QString out;
    ASSERT_EQ(runTool({"new-year", f.oldFolder(), created, "--old-year", "2014"}, &out), 0) << out.toStdString();
    const QString expected =
        QStringLiteral(
            "[SOLDURI]\n"
            "IDGOS,SATUL,ROL,LIN1,LIN2,LIN3,LIN4,LIN5,LIN6,LIN7,LIN8,LIN9,LIN10,LIN11,PEN1,PEN2,PEN3,PEN4,SOLD1,SOLD2,"
            "SOLD3,SOLD4\n"
            "%1,CORBU,1,0,150,0,0,0,0,0,0,0,0,0,0,9,0,0,0,0,0,0\n"
            "%2,CORBU,2,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"
            "[DATORII]\n"
            "IDDAT,IDGOS,SATUL,ROL,GRUPA,DENUM,DOCJUS,DINDATA,REST\n"
            "%3,%2,CORBU,2,Amenzi,Amenzi,,01.01.2015,30\n"
            "[ERORI]\n"
            "IDDEB,IDGOS,FISIER,MOTIV\n"
            "5001,%2,PAG2,\"Campul \"\"XYZ\"\" nu exista in Pag2.dbf\"\n"
            "ROLURI,2\n")
            .arg(a)
            .arg(b)
            .arg(nextLine);
    EXPECT_EQ(out.toStdString(), expected.toStdString());
}

TEST(NewYearTool, RefusalsChangeNeitherFolder) {
    NewYearFolders f;
    f.addRole("ALFA");
    QDir().mkpath(f.env.root() + "/gol");
    const auto oldBefore = NewYearFolders::snapshot(f.oldFolder());
    struct Case {
        const char* what;
        QStringList args;
        const char* message;
    } cases[] = {
        {"no register in the old folder", {f.env.root() + "/gol", f.newFolder}, "nu contine datele anului 2014!"},
        {"one folder twice", {f.oldFolder(), f.oldFolder()}, "acelasi director"},
    };
    for (const Case& c : cases) {
        QString out;
        EXPECT_EQ(runTool(QStringList{"new-year"} + c.args + QStringList{"--old-year", "2014"}, &out), 1) << c.what;
        EXPECT_TRUE(out.contains(QLatin1String(c.message))) << c.what << ": " << out.toStdString();
    }
    EXPECT_TRUE(NewYearFolders::snapshot(f.oldFolder()) == oldBefore);
    QString out;
    ASSERT_EQ(runTool({"new-year", f.oldFolder(), f.newFolder, "--old-year", "2014"}, &out), 0) << out.toStdString();
    const auto newAfter = NewYearFolders::snapshot(f.newFolder);
    EXPECT_EQ(runTool({"new-year", f.oldFolder(), f.newFolder, "--old-year", "2014"}, &out), 1);
    EXPECT_TRUE(out.contains("are deja roluri; preluarea se face o singura data!")) << out.toStdString();
    EXPECT_TRUE(NewYearFolders::snapshot(f.newFolder) == newAfter);
    EXPECT_EQ(f.counters().ReadCounter("SERVER", "ADMINBLOCAT2014"), QStringLiteral("DA"));
}

} // namespace
