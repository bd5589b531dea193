// Template sources: the sample list of src/templates compiled, filled as the
// program fills it, and read back by the converter; errors name the line.

#include "workbook/template_source.h"

#include "workbook_test_util.h"

#include "db/error.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::workbook;

namespace {

Workbook sampleTemplate() {
    QFile f(QStringLiteral(VARTESA_TEST_DATA "/../../src/templates/lista_plata.tpl"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return compileTemplate(QString::fromUtf8(f.readAll()), QStringLiteral("lista_plata.tpl"));
}

} // namespace

TEST(TemplateSource, SampleListHasItsCellsFormatsAndMarkers) {
    Workbook wb = Workbook::fromBytes(sampleTemplate().toBytes());
    const Sheet& s = wb.sheet(QStringLiteral("Lista"));
    EXPECT_EQ(findMarker(s, QStringLiteral("TITLU")), (std::pair{0, 0}));
    EXPECT_EQ(findMarker(s, QStringLiteral("NR")), (std::pair{5, 0}));
    EXPECT_FALSE(findMarker(s, QStringLiteral("ALTUL")).has_value());
    EXPECT_EQ(s.text(3, 1), QStringLiteral("Nume si prenume"));
    EXPECT_EQ(s.text(8, 1), QStringLiteral("Intocmit, \"{INTOCMIT}\""));
    EXPECT_EQ(s.mergedAreas(), (std::vector<CellRange>{{0, 0, 0, 5}}));
    EXPECT_EQ(s.columnWidth(1), 32 * 256);
    EXPECT_EQ(s.columnWidth(4), 12 * 256);
    EXPECT_EQ(s.rowHeight(0) & 0x7FFF, 24 * 20);
    const Font title = wb.font(wb.xfFont(s.cellFormat(0, 0)));
    EXPECT_EQ(title.name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(title.height, 14 * 20);
    EXPECT_EQ(title.weight, 700);
    EXPECT_EQ(wb.formatCode(wb.xfFormat(s.cellFormat(5, 5))), QStringLiteral("#,##0.00"));
    EXPECT_EQ(s.formulaReferences(6, 5), (std::vector<CellRange>{{4, 5, 5, 5}}));
}

TEST(TemplateSource, FilledSampleListComputesInTheConverter) {
    SKIP_WITHOUT_CONVERTER();
    Workbook wb = sampleTemplate();
    Sheet& s = wb.sheet(0);
    s.setText(0, 0, QStringLiteral("Lista de plată 2026"));
    auto [row, col] = *findMarker(s, QStringLiteral("NR"));
    const struct { const char* name; double area, rate; } people[] = {
        {"Ştefan Ţăranu", 120, 1.5}, {"Ana Bălan", 80, 2}, {"Ion Mureşan", 200.5, 0.5}};
    for (const auto& p : people) {
        s.insertRowCopies(row);
        s.setNumber(row, col, row - 4);
        s.setText(row, 1, QString::fromUtf8(p.name));
        s.setNumber(row, 3, p.area);
        s.setNumber(row, 4, p.rate);
        ++row;
    }
    s.deleteRows(row);
    QTemporaryDir dir;
    wb.save(dir.filePath(QStringLiteral("lista.xls")));
    auto sheets = test::convertToCsv(dir.filePath(QStringLiteral("lista.xls")));
    ASSERT_EQ(sheets.size(), 1u);
    const auto& rows = sheets[0];
    ASSERT_GE(rows.size(), 9u);
    EXPECT_EQ(rows[0][0], QStringLiteral("Lista de plată 2026"));
    EXPECT_EQ(rows[5][1], QStringLiteral("Ştefan Ţăranu"));
    EXPECT_EQ(rows[5][5], QStringLiteral("180"));
    EXPECT_EQ(rows[6][5], QStringLiteral("160"));
    EXPECT_EQ(rows[7][5], QStringLiteral("100.25"));
    EXPECT_EQ(rows[8][4], QStringLiteral("Total"));
    EXPECT_EQ(rows[8][5], QStringLiteral("440.25"));
}

TEST(TemplateSource, ErrorsNameTheLine) {
    struct Case {
        const char* source;
        const char* message;
    };
    const Case cases[] = {
        {"sheet A\ncell B2 nimic \"x\"\n", "linia 2: stil nedefinit nimic"},
        {"sheet A\n\n# nota\ncell ZZZ9 - 1\n", "linia 4: celula necunoscuta ZZZ9"},
        {"sheet A\ncell A1 - =SUM(A2:\n", "linia 2: Formula nu poate fi citita"},
        {"sheet A\nstyle s align=sus\n", "linia 2: aliniere necunoscuta sus"},
        {"sheet A\ncolor A1 red\n", "linia 2: instructiune necunoscuta color"},
        {"sheet A\ncell A1 - doi\n", "linia 2: valoare necunoscuta doi"},
    };
    for (const Case& c : cases) {
        try {
            compileTemplate(QString::fromUtf8(c.source), QStringLiteral("t.tpl"));
            ADD_FAILURE() << c.source << ": no error";
        } catch (const Error& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.message))) << e.what();
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("Sablonul t.tpl"))) << e.what();
        }
    }
}
