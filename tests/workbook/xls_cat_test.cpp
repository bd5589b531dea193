// vartesa-tool xls-cat on the converter-written reference workbook.

#include "workbook/workbook.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int code;
    QString out, err;
};

ToolRun xlsCat(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VARTESA_TOOL_PATH), QStringList{QStringLiteral("xls-cat")} + args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

const QString Rich = QStringLiteral(VARTESA_TEST_DATA "/workbook/bogat.xls");

} // namespace

TEST(XlsCat, PrintsASheetWithFormulaValues) {
    ToolRun r = xlsCat({Rich});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Lista de plată,,,,\n"
                                    "Nr,Nume,Cantitate,Preț,Valoare\n"
                                    "1,Ştefan Ţăranu,2,10.5,21\n"
                                    "2,Ioana Mureșan,1,100,100\n"
                                    "3,Model,0,0,0\n"
                                    ",Total,,,121\n"
                                    ",Verificare,,,mare\n"
                                    ",Din note,,,1\n"));
}

TEST(XlsCat, ChoosesTheSheetByNameOrPosition) {
    const QString expected = QStringLiteral("Cota,,\n,0.5,121\n");
    EXPECT_EQ(xlsCat({Rich, QStringLiteral("Note")}).out, expected);
    EXPECT_EQ(xlsCat({Rich, QStringLiteral("2")}).out, expected);
    ToolRun missing = xlsCat({Rich, QStringLiteral("Alta")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Foaia Alta nu exista")));
}

TEST(XlsCat, QuotesFieldsAndReportsBadFiles) {
    QTemporaryDir dir;
    vartesa::workbook::Workbook wb;
    wb.sheet(0).setText(0, 0, QStringLiteral("Popescu, Ion"));
    wb.sheet(0).setText(0, 1, QStringLiteral("SC \"ALFA\" SRL"));
    wb.save(dir.filePath(QStringLiteral("a.xls")));
    EXPECT_EQ(xlsCat({dir.filePath(QStringLiteral("a.xls"))}).out,
              QStringLiteral("\"Popescu, Ion\",\"SC \"\"ALFA\"\" SRL\"\n"));
    QFile bad(dir.filePath(QStringLiteral("bad.xls")));
    bad.open(QIODevice::WriteOnly);
    bad.write("nu este un registru");
    bad.close();
    ToolRun r = xlsCat({bad.fileName()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nu este un fisier Excel 97-2003")));
    EXPECT_EQ(xlsCat({}).code, 2);
}

TEST(XlsCat, ShowsComputedTotalsAndMarksFormulasLeftToTheReader) {
    // A list total the engine computes on save, and one function it leaves to the reader.
    QTemporaryDir dir;
    vartesa::workbook::Workbook wb;
    vartesa::workbook::Sheet& s = wb.sheet(0);
    for (int r = 0; r < 3; ++r)
        s.setNumber(r, 0, 100 * (r + 1));
    s.setFormula(3, 0, QStringLiteral("SUM(A1:A3)"));
    s.setFormula(4, 0, QStringLiteral("MOD(A4,7)"));
    wb.save(dir.filePath(QStringLiteral("t.xls")));
    EXPECT_EQ(xlsCat({dir.filePath(QStringLiteral("t.xls"))}).out,
              QStringLiteral("100\n200\n300\n600\n0 (de recalculat)\n"));
}
