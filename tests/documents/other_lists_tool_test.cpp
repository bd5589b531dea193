// vartesa-tool list with the other lists of the documents menu: each list of a small data
// folder read back by our reader and by another spreadsheet program, its totals the sums of its
// rows; the role register over sheets and as printed pages; the refusals.

#include "other_lists_util.h"
#include "shell/startup.h"
#include "support/sheet_readback.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

double number(const QString& cell) { return cell.isEmpty() ? 0 : cell.toDouble(); }

class OtherListsTool : public ::testing::Test {
protected:
    void SetUp() override {
        const int y = WorkingYear().toInt();
        const qint64 a = f.role("ALUNI", "1", "POP ANA", "FIZICA", "2800101123456");
        const qint64 b = f.role("ALUNI", "2", "SC ALFA SRL", "JURIDICA", "RO123");
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET SCAUTO = 'DA' WHERE IDGOS = ?").arg(f.path(tables::Roles)), {b});
        f.dated(a, "PSI", QDate(y, 1, 1), 10, 5);
        f.dated(b, "Paza", QDate(y, 1, 1), 20, 0);
        f.claim("Amenzi", "T");
        f.dated(a, "Amenzi", QDate(y, 2, 3), 100, 0, 100, 0, "PV 48 h");
        f.dated(b, "Amenzi", QDate(y, 2, 4), 200, 50, 30, 0, "PV 7");
        f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, IDDETA, NRDOS, MARCA, CAPACIT) VALUES (?, 1, 'D1', 'DACIA', 1400)")
                        .arg(f.path(tables::VehicleDetails)),
                    {a});
        f.buildings(a, {{"C1S", 120}, {"C1A", 2000}, {"NR1", 1}});
        f.landDebit(a, "Impozit pe teren intravilan", "Teren arabil", "Vanzare", QDate(y, 4, 2), "0.25");
        f.landDebit(b, "Impozit pe teren extravilan", "Pasuni - fanete", "Cumparare", QDate(y, 4, 3), "1.5");
        f.line(b, "Impozit pe mijloace de transport", "Vehicule cu doua axe", 2, 300);
        f.balance(a, "Impozit pe cladiri", 66);
        f.receipt(a, "PSI", 15);
        out = f.env.root() + "/out";
        QDir().mkpath(out);
        year = QString::number(y);
    }

    OtherListsFolder f;
    QString out, year;
};

TEST_F(OtherListsTool, EachListReadsTheSameInAnotherSpreadsheetProgramAndItsTotalsAreItsSums) {
    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert lipseste";
    const struct {
        QStringList options;
        int rows, first;            // data rows, first data row (0-based)
        std::vector<int> summed;    // the columns of the totals row
        std::vector<double> totals; // what they add up to
    } cases[] = {
        {{"psi-paza"}, 2, 5, {3, 4, 5, 6}, {20, 0, 10, 5}},
        {{"fines", "--claim", "Amenzi"}, 2, 5, {9, 10}, {350, 130}},
        {{"land-movements", "--from", "01.01." + year, "--to", "31.12." + year}, 2, 6, {6, 11}, {-0.25, 1.5}},
        {{"over-12t"}, 1, 5, {4, 5}, {2, 300}},
        {{"analytic"}, 0, 4, {6, 7, 8, 9, 10}, {}},
        {{"vehicles"}, 1, 5, {}, {}},
        {{"exemptions"}, 1, 5, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const QString file = out + "/" + c.options[0] + ".xls";
        QString printed;
        ASSERT_EQ(runTool(QStringList{"list", f.env.folders().data} + c.options + QStringList{"--out", file}, &printed), 0)
            << printed.toStdString();
        const int rows = c.rows > 0 ? c.rows : printed.trimmed().section(',', 1).toInt();
        EXPECT_EQ(printed, QStringLiteral("ROWS,%1\n").arg(rows));
        const std::vector<QStringList> ours = xlsCat(file), theirs = ssconvert(file);
        ASSERT_GE(theirs.size(), size_t(c.first + rows + (c.summed.empty() ? 0 : 1)));
        for (int r = c.first; r < c.first + rows; ++r)
            for (int col = 0; col < ours[r].size(); ++col) {
                QString cell = ours[r].value(col);
                if (theirs[r].value(col).count('/') == 2) // a date: its day number here
                    cell = QDate(1899, 12, 30).addDays(cell.toInt()).toString("yyyy/MM/dd");
                EXPECT_EQ(cell, theirs[r].value(col)) << "row " << r << " col " << col;
            }
        for (size_t i = 0; i < c.summed.size(); ++i) {
            double sum = 0;
            for (int r = c.first; r < c.first + rows; ++r) sum += number(ours[r].value(c.summed[i]));
            EXPECT_NEAR(number(theirs[c.first + rows].value(c.summed[i])), sum, 1e-9) << "column " << c.summed[i];
            if (i < c.totals.size()) EXPECT_NEAR(sum, c.totals[i], 1e-9) << "column " << c.summed[i];
        }
    }
}

TEST_F(OtherListsTool, TheRoleRegisterWritesItsRolesAndPrintsItsPages) {
    QString printed;
    ASSERT_EQ(runTool({"list", f.env.folders().data, "role-register", "--out", out + "/rol.xls"}, &printed), 0);
    EXPECT_EQ(printed, "ROWS,2\nSHEETS,1\n");
    EXPECT_TRUE(xlsCat(out + "/rol.xls").at(0).value(0).startsWith("Localitatea"));
    ASSERT_EQ(runTool({"list", f.env.folders().data, "role-register", "--from-rol", "2", "--to-rol", "2", "--pdf",
                       out + "/rol.pdf"},
                      &printed),
              0)
        << printed.toStdString();
    EXPECT_TRUE(printed.contains("ROWS,1\n"));
}

TEST_F(OtherListsTool, RefusesAClaimThatIsNoFineAndAPeriodRunningBackwards) {
    const QString file = out + "/r.xls";
    const struct {
        QStringList options;
        const char* printed;
    } cases[] = {
        {{"fines", "--claim", "Impozit pe cladiri"}, "TIP T"},
        {{"land-movements", "--from", "02.02." + year, "--to", "01.02." + year}, "Perioada incorecta!"},
        {{"role-register", "--from-rol", "5", "--to-rol", "9"}, "Nu exista nici un ROL in intervalul specificat!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        QString printed;
        EXPECT_EQ(runTool(QStringList{"list", f.env.folders().data} + c.options + QStringList{"--out", file}, &printed), 1);
        EXPECT_TRUE(printed.contains(c.printed)) << printed.toStdString();
        EXPECT_FALSE(QFileInfo::exists(file));
    }
}

} // namespace
