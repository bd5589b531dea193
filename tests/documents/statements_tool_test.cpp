// vartesa-tool debit-statements: the rows it prints and the sheets it writes, read back by
// another spreadsheet program (the lists) and by xls-cat (the cumulated statements) against sums
// worked out by hand; the choices; a reversed period.

#include "statements_test_util.h"

#include "support/sheet_readback.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

class StatementsTool : public ::testing::Test {
protected:
    void SetUp() override {
        const qint64 ion = f.role("POPA ION", "7"), ana = f.role("BALAN ANA", "3");
        f.line(ion, kBuildings, kDay, 3, 100);
        f.debit(ion, kFines, kDay.addDays(2), 3, 15);
        f.line(ana, kBuildings, kDay, 3, 40, 10);
        f.debit(ana, kBuildings, kDay, 4, -25);
        out = f.env.root() + "/out";
        QDir().mkpath(out);
    }
    // Runs the tool on the folder; the rows it printed.
    std::vector<QStringList> run(const QStringList& args, int expectedExit = 0) {
        QString printed;
        EXPECT_EQ(runTool(QStringList{"debit-statements", f.env.folders().data} + args, &printed), expectedExit)
            << printed.toStdString();
        last = printed;
        return csvRows(printed);
    }
    // Rows `first`.. of a sheet read back, cut to `columns` cells.
    static std::vector<QStringList> cut(std::vector<QStringList> rows, size_t first, int columns) {
        rows.erase(rows.begin(), rows.begin() + qMin(first, rows.size()));
        for (QStringList& r : rows) r = r.mid(0, columns);
        return rows;
    }

    StatementFolder f;
    QString out, last;
};

TEST_F(StatementsTool, TheStatementListPrintsAndWritesTheSameSums) {
    const QString file = out + "/bd3.xls";
    const std::vector<QStringList> expected = {
        {"ROL", "NUMELE SI PRENUMELE", "", "Amenzi", "Impozit pe cladiri", ""},
        {"3", "BALAN ANA", "10.03.2015", "", "40", "40"},
        {"7", "POPA ION", "10.03.2015", "15", "100", "115"},
        {"", "TOTAL", "", "15", "140", "155"},
    };
    EXPECT_EQ(run({"list", "--type", "BD", "--number", "3", "--from", "01.01.2015", "--to", "31.12.2015", "--out", file}),
              expected);
    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert lipseste";
    EXPECT_EQ(cut(ssconvert(file), 6, 6), expected);
}

TEST_F(StatementsTool, TheSummaryNetsWriteOffs) {
    const QString file = out + "/centr.xls";
    const std::vector<QStringList> expected = {
        {"crt.", "Borderou", "Amenzi", "Impozit pe cladiri", ""},
        {"1", "3 / 10.03.2015", "", "130", "130"},
        {"2", "4 / 10.03.2015", "", "-25", "-25"},
        {"3", "3 / 12.03.2015", "15", "", "15"},
        {"", "TOTAL", "15", "105", "120"},
    };
    EXPECT_EQ(run({"summary", "--from", "01.01.2015", "--to", "31.12.2015", "--out", file}), expected);
    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert lipseste";
    EXPECT_EQ(cut(ssconvert(file), 6, 5), expected);
}

TEST_F(StatementsTool, TheCumulatedStatementsAddUp) {
    const QString file = out + "/bdbs.xls";
    const std::vector<QStringList> printed =
        run({"cumulated", "--from", "01.01.2015", "--to", "31.12.2015", "--out", file});
    ASSERT_GE(printed.size(), 2u);
    EXPECT_EQ(printed[0], QStringList({"GRUPE", "Amenzi", "Impozit pe cladiri"}));
    EXPECT_EQ(printed[1].join(','), "NR,DINDATA,ROL,NUMEP,ADRESA,A1BD,A1BS,A2BD,A2BS,TOTAL");
    // Read back: ROL .. Data, then "Impozit pe cladiri" (F-G), "Amenzi" (H-I), TOTAL.
    const std::vector<QStringList> sheet = cut(xlsCat(file), 7, 10);
    const std::vector<QStringList> expected = {
        {"3", "BALAN ANA", "Str. Mare", "3", "42073", "40", "10", "", "", "30"},
        {"7", "POPA ION", "Str. Mare", "3", "42073", "100", "", "", "", "100"},
        {"3", "BALAN ANA", "Str. Mare", "4", "42073", "", "25", "", "", "-25"},
        {"7", "POPA ION", "Str. Mare", "3", "42075", "", "", "15", "", "15"},
        {"", "", "", "", "TOTAL", "140", "35", "15", "0", "120"},
    };
    EXPECT_EQ(sheet, expected);
}

TEST_F(StatementsTool, ChoicesAndAReversedPeriod) {
    EXPECT_EQ(run({"choices"}), std::vector<QStringList>({{"TIP", "NR", "SUMA"}, {"BD", "3", "155"}, {"BS", "3", "10"},
                                                          {"BS", "4", "25"}}));
    const QString file = out + "/no.xls";
    run({"summary", "--from", "02.01.2015", "--to", "01.01.2015", "--out", file}, 1);
    EXPECT_EQ(last.trimmed(), "Perioada incorecta!");
    EXPECT_FALSE(QFileInfo::exists(file));
}

} // namespace
