// vartesa-tool list with the four matriculation registers: the file read back by our reader
// and by another spreadsheet program cell by cell, the totals, the refusals.

#include "registers_test_util.h"

#include "support/sheet_readback.h"
#include "support/tool_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

double number(const QString& cell) { return cell.isEmpty() ? 0 : cell.toDouble(); }

class RegistersTool : public ::testing::Test {
protected:
    void SetUp() override {
        const qint64 a = f.role("ALUNI", "1", "POP ANA", "FIZICA", "2800101123456");
        f.line(a, "Impozit pe teren intravilan", "Teren arabil", 0.75, 12);
        f.line(a, "Impozit pe teren extravilan", "Vie pe rod", 1.25, 20);
        f.line(a, "Impozit pe cladiri", "Impozit pe cladiri", 0, 66);
        f.line(a, "Impozit pe mijloace de transport", "Autoturisme", 1, 80);
        f.balance(a, "Impozit pe teren intravilan", 12);
        f.balance(a, "Impozit pe teren extravilan", 20);
        f.balance(a, "Impozit pe cladiri", 66);
        f.buildings(a, {{"C1S", 90.5}, {"C1A", 1975}});
        const qint64 b = f.role("ALUNI", "3", "SC \"ALFA\" SRL", "JURIDICA", "RO123");
        f.line(b, "Impozit pe teren intravilan", "Curti-constructii", 400, 30);
        f.line(b, "Impozit pe mijloace de transport", "Autoturisme", 2, 150);
        f.balance(b, "Impozit pe teren intravilan", 30);
        f.balance(b, "Impozit pe cladiri", 500);
        f.buildings(b, {{"C1S", 250}, {"C1A", 2004}});
        out = f.env.root() + "/out";
        QDir().mkpath(out);
    }

    RoleListFolder f;
    QString out;
};

TEST_F(RegistersTool, EachRegisterReadsTheSameInAnotherSpreadsheetProgramWithItsTotals) {
    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert lipseste";
    const struct {
        const char* kind;
        int rows, first; // data rows, first data row (0-based)
        int totalColumn; // a tax column summed in the totals row
        double total;
    } cases[] = {{"land-register", 2, 7, 9, 12 + 30},
                 {"building-register", 2, 7, 11, 66 + 500},
                 {"vehicle-register", 2, 5, 6, 80 + 150},
                 {"cumulated-register", 2, 7, 30, 12 + 20 + 66 + 80 + 30 + 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const QString file = out + "/" + c.kind + ".xls";
        QString printed;
        ASSERT_EQ(runTool({"list", f.env.folders().data, c.kind, "--out", file}, &printed), 0) << printed.toStdString();
        EXPECT_EQ(printed, QStringLiteral("ROWS,%1\n").arg(c.rows));
        const std::vector<QStringList> ours = xlsCat(file), theirs = ssconvert(file);
        ASSERT_GE(ours.size(), size_t(c.first + c.rows + 1));
        ASSERT_GE(theirs.size(), size_t(c.first + c.rows + 1));
        double sum = 0;
        for (int r = c.first; r <= c.first + c.rows; ++r) {
            for (int col = 0; col < ours[r].size(); ++col)
                EXPECT_DOUBLE_EQ(number(ours[r].value(col)), number(theirs[r].value(col))) << "row " << r << " col " << col;
            if (r < c.first + c.rows) sum += number(ours[r].value(c.totalColumn));
        }
        EXPECT_EQ(ours[c.first].value(c.kind == QLatin1String("cumulated-register") ? 2 : 1), "POP ANA");
        EXPECT_EQ(sum, c.total);
        EXPECT_EQ(number(theirs[c.first + c.rows].value(c.totalColumn)), c.total) << "totals row";
    }
}

TEST_F(RegistersTool, RefusesWithTheDialogsChecksAndWritesNothing) {
    const QString file = out + "/r.xls";
    const struct {
        QStringList options;
        int exit;
        const char* printed;
    } cases[] = {
        {{"land-register", "--village", "CORBU"}, 1, "Nu exista nici un ROL in intervalul specificat!"},
        {{"vehicle-register", "--from-rol", "20", "--to-rol", "5"}, 1, "Interval incorect!"},
        {{"building-register", "--person", "juridica", "--from-rol", "4", "--to-rol", "9"}, 1, "Listare Matricole"},
        {{"land-register", "--from-rol", "1234567"}, 2, "Utilizare"},
        {{"cadastre"}, 2, "Utilizare"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        QString printed;
        EXPECT_EQ(runTool(QStringList{"list", f.env.folders().data} + c.options + QStringList{"--out", file}, &printed), c.exit);
        EXPECT_TRUE(printed.contains(c.printed)) << printed.toStdString();
        EXPECT_FALSE(QFileInfo::exists(file));
    }
    QString printed;
    ASSERT_EQ(runTool({"list", f.env.folders().data, "cumulated-register", "--village", "CORBU", "--out", file}, &printed), 0);
    EXPECT_EQ(printed, "ROWS,0\n") << "the cumulated register comes out empty";
    EXPECT_EQ(xlsCat(file).at(7).value(0), "TOTAL");
}

} // namespace
