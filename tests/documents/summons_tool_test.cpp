// vartesa-tool summons: issue, list, confirm, cancel, print and the report of a period; the
// printed title of a long summons; numbers drawn by two workstations at once.

#include "notices_test_util.h"
#include "summons_test_util.h"

#include "shell/counters.h"
#include "shell/settings_table.h"
#include "shell/startup.h"
#include "support/tool_run.h"

#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::runTool;
using vartesa::test::SummonsFolder;

namespace {

const QString kHeader = QStringLiteral("IDSOM,NUMEP,ROL,CNP,SATUL,NR,DINDATA,ANULAT,OBS,SUMA,DATACONF,TIPCONF,ADRESA,TIP\n");

class SummonsTool : public ::testing::Test {
protected:
    SummonsFolder f;
    QString data = f.env.folders().data;
    QString out = f.env.root() + "/out";
    void SetUp() override { QDir().mkpath(out); }
    QString run(const QStringList& args, int exit = 0) {
        QString printed;
        EXPECT_EQ(runTool(QStringList{"summons", data} + args, &printed), exit) << printed.toStdString();
        return printed;
    }
    QStringList issueArgs(qint64 role, const QString& date = "10.10.2015") {
        return {"issue", QString::number(role), "--user", "ion", "--date", date, "--out", out};
    }
};

TEST_F(SummonsTool, IssuesListsConfirmsAndCancels) {
    const qint64 role = f.owing("SC \"ALFA\" SRL");
    const QString lines = QStringLiteral("GRUPA,DOCJUS,TERMEN,RAMASITA,CURENT,ACCESORII,TOTAL\n"
                                         "Impozit pe cladiri,,31.03.2015,0,60,8,68\n"
                                         "Impozit pe cladiri,,30.09.2015,0,60,1,61\nTOTAL,129\n");
    EXPECT_EQ(run(issueArgs(role) << "--dry-run"), lines);
    EXPECT_EQ(f.rows("Somatii.dbf"), 0);
    EXPECT_EQ(run(issueArgs(role)), lines + "IDSOM,1\nFILE,SomTit0.rtf\n");
    EXPECT_TRUE(QFileInfo::exists(out + "/SomTit0.rtf"));
    const QString row = QStringLiteral("1,\"SC \"\"ALFA\"\" SRL\",1,,CORBU,1,10.10.2015,%1,%2,129,%3,%4,,FIZICA\n");
    EXPECT_EQ(run({"list"}), kHeader + row.arg("NU", "", "", ""));
    EXPECT_EQ(run({"confirm", "1", "--date", "11.10.2015"}, 1), "Data Confirmarii ese incorecta!\n");
    EXPECT_EQ(run({"confirm", "1", "--date", "12.10.2015", "--way", "INTERNET"}),
              kHeader + row.arg("NU", "", "12.10.2015", "INTERNET"));
    EXPECT_EQ(run({"cancel", "1", "--reason", " a "}, 1), "Lipseste motivul!\n");
    EXPECT_EQ(run({"cancel", "1", "--reason", "gresit, \"emisa\""}),
              kHeader + row.arg("DA", "\"gresit, \"\"emisa\"\"\"", "12.10.2015", "INTERNET"));
    EXPECT_EQ(run({"print", "1", "--user", "ion", "--out", out}), "FILE,SomTit0.rtf\n");
}

TEST_F(SummonsTool, RefusesAndWritesNothing) {
    const qint64 role = f.owing();
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"issue", "999", "--user", "ion", "--out", out}, "ROL-ul cu IDGOS 999 nu exista."},
        {{"issue", QString::number(role), "--user", "nimeni", "--out", out}, "Utilizatorul NIMENI nu exista!"},
        {{"confirm", "7", "--date", "12.10.2015"}, "Somatia 7 nu exista!"},
        {{"print", "7", "--user", "ion", "--out", out}, "Somatia 7 nu exista!"},
        {{"report", "--from", "02.10.2015", "--to", "01.10.2015", "--out", out + "/r.xls"}, "Perioada incorecta!"},
    };
    for (const auto& c : cases) EXPECT_TRUE(run(c.args, 1).contains(c.message)) << c.message.toStdString();
    CountersFile counters = f.counters();
    counters.WriteCounter("SERVER", YearLockCounterKey(2015), "DA");
    EXPECT_EQ(run(issueArgs(role), 1), "Anul 2015 este blocat de administrator!\n");
    EXPECT_EQ(f.rows("Somatii.dbf"), 0);
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList());
}

TEST_F(SummonsTool, ALongSummonsPrintsTwentyLinesAndTotalsThemAll) {
    const qint64 role = f.addRole("POPA ION");
    for (int i = 1; i <= 25; ++i) f.ledgerLine(role, QStringLiteral("Taxa %1").arg(i, 2, 10, QChar('0')), i, 0);
    f.env.messages().answerNext("NU");
    const auto accept = [&](const SummonsDetail& d) { return AcceptSummonsLines(f.env.messages(), d); };
    const auto issue = [&] {
        return IssueSummons(f.env.services(), ReadSummonsPrintSettings(f.env.services(), "ION"), {}, role,
                            {2015, 10, 10}, accept, f.outputBase(), false);
    };
    EXPECT_EQ(issue().id, 0);
    EXPECT_EQ(f.rows("Somatii.dbf") + f.rows("SomDet.dbf"), 0) << "NU stores nothing";
    f.env.messages().answerNext("DA");
    const SummonsIssue done = issue();
    ASSERT_NE(done.id, 0);
    EXPECT_EQ(f.rows("SomDet.dbf"), 25);
    const QString text = test::unrtfText(done.file);
    if (text.isEmpty()) GTEST_SKIP() << "unrtf is missing";
    EXPECT_TRUE(text.contains("Taxa 20")) << text.toStdString();
    EXPECT_FALSE(text.contains("Taxa 21")) << "the title has room for 20 lines";
    EXPECT_TRUE(text.contains("325")) << "the totals cover all 25 lines";
}

TEST_F(SummonsTool, TwoWorkstationsDrawDistinctNumbers) {
    const qint64 role = f.owing();
    const QString script = QStringLiteral("for i in $(seq 50); do \"%1\" summons \"%2\" issue %3 --user ion --date "
                                          "10.10.2015 --out \"%4\" >/dev/null || exit 1; done")
                               .arg(VARTESA_TOOL_PATH, data)
                               .arg(role)
                               .arg(out);
    QProcess a, b;
    a.start("sh", {"-c", script});
    b.start("sh", {"-c", script});
    ASSERT_TRUE(a.waitForFinished(300000) && b.waitForFinished(300000));
    EXPECT_EQ(a.exitCode() + b.exitCode(), 0) << a.readAllStandardError().toStdString() << b.readAllStandardError().toStdString();
    const db::Query q = f.db().query(QStringLiteral("SELECT A.IDSOM, A.NR, A.SUMA, SUM(D.RAMASITA + D.CURENT + D.ACCESORII) "
                                                    "FROM \"%1\" A LEFT JOIN \"%2\" D ON D.IDSOM = A.IDSOM GROUP BY A.rowid")
                                         .arg(f.path("Somatii.dbf"), f.path("SomDet.dbf")));
    QSet<qint64> numbers;
    for (int r = 0; r < q.count(); ++r) {
        numbers.insert(q.cell(r, 0).toLongLong());
        EXPECT_EQ(q.cell(r, 1).toLongLong(), q.cell(r, 0).toLongLong());
        EXPECT_EQ(q.cell(r, 3).toLongLong(), q.cell(r, 2).toLongLong()) << "lines sum to SUMA";
    }
    EXPECT_EQ(numbers.size(), 100);
}

TEST_F(SummonsTool, ReportsThePeriodCellByCell) {
    SettingsTable(f.db(), data).save({{"PrimariaLab", SettingKind::Text, "VARTESA"}});
    const qint64 a = f.owing("ZAHARIA ANA"), b = f.owing("BALAN VASILE"), c = f.addRole("SC BETA SRL", "JURIDICA");
    const qint64 d = f.owing("ANTON ION");
    f.balance(c, {"Impozit pe cladiri", 120, 120});
    for (const auto& [role, date] : std::vector<std::pair<qint64, QString>>{
             {a, "01.10.2015"}, {b, "31.10.2015"}, {c, "10.10.2015"}, {d, "10.10.2015"}, {d, "01.11.2015"}})
        run(issueArgs(role, date));
    run({"cancel", "4", "--reason", "achitat"});
    const QString xls = out + "/sit.xls";
    EXPECT_EQ(run({"report", "--from", "01.10.2015", "--to", "31.10.2015", "--out", xls}),
              "NR,DINDATA,NUMEP,ROL,OBS\n2,31.10.2015,BALAN VASILE,2,\n1,01.10.2015,ZAHARIA ANA,1,\n");
    QString cells;
    ASSERT_EQ(runTool({"xls-cat", xls}, &cells), 0);
    const QStringList rows = cells.split('\n');
    ASSERT_GE(rows.size(), 9);
    EXPECT_EQ(rows[0].section(',', 0, 0), "U.A.T. VARTESA");
    EXPECT_TRUE(rows[2].startsWith("in perioada 01.10.2015 - 31.10.2015"));
    EXPECT_EQ(rows[5], "Nr.crt,Contribuabilul,Nr.rol,Nr.,Data,Nr.,Data,Nr.,Data,Observatii,,");
    // The dates are day numbers in cells of the date format.
    EXPECT_EQ(rows[6], "1,BALAN VASILE,2,,,2,42308,,,,,");
    EXPECT_EQ(rows[7], "2,ZAHARIA ANA,1,,,1,42278,,,,,");
}

} // namespace
