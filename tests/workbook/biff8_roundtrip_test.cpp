// Workbooks written by the engine, read back by the engine and by the outside
// converter: values, texts with diacritics, formulas after row insertions.

#include "workbook/workbook.h"

#include "workbook_test_util.h"

#include "db/error.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::workbook;

namespace {

// A list as the tax office fills it: title, header, one template row, a total row.
//   row 0: title (merged A1:E1)   row 1: header
//   row 2: template  A nr, B name, C qty, D price, E = C*D
//   row 3: total     E = SUM(E2:E3), from the header so that it ends on the template row
Workbook listTemplate() {
    Workbook wb({QStringLiteral("Lista"), QStringLiteral("Rezumat")});
    Sheet& s = wb.sheet(0);
    s.setText(0, 0, QStringLiteral("Lista de plată — impozit pe clădiri"));
    s.mergeCells({0, 0, 0, 4});
    const QStringList header = {"Nr", "Nume", "Cantitate", "Pret", "Valoare"};
    for (int c = 0; c < header.size(); ++c)
        s.setText(1, c, header[c]);
    s.setNumber(2, 0, 0);
    s.setText(2, 1, QString());
    s.setNumber(2, 2, 0);
    s.setNumber(2, 3, 0);
    s.setFormula(2, 4, QStringLiteral("C3*D3"));
    s.setText(3, 1, QStringLiteral("Total"));
    s.setFormula(3, 4, QStringLiteral("SUM(E2:E3)"));
    wb.sheet(1).setFormula(0, 0, QStringLiteral("1+2*3"));
    return wb;
}

struct Person {
    const char* name;
    double qty, price;
};
const Person People[] = {
    {"Ştefan Ţăranu", 2, 10.5},
    {"Ioana Mureșan", 1, 100},
    {"Gheorghe Căpățînă", 3, 0.25},
};

// Fills the list the usual way: a copy of the template row for each person,
// then the template row itself deleted.
void fill(Sheet& s) {
    int row = 2;
    for (const Person& p : People) {
        s.insertRowCopies(row);
        s.setNumber(row, 0, row - 1);
        s.setText(row, 1, QString::fromUtf8(p.name));
        s.setNumber(row, 2, p.qty);
        s.setNumber(row, 3, p.price);
        ++row;
    }
    s.deleteRows(row);
}

} // namespace

TEST(Biff8RoundTrip, FilledListReadsBackInTheEngine) {
    Workbook wb = listTemplate();
    fill(wb.sheet(0));
    Workbook back = Workbook::fromBytes(wb.toBytes());
    ASSERT_EQ(back.sheetCount(), 2);
    EXPECT_EQ(back.sheet(1).name(), QStringLiteral("Rezumat"));
    const Sheet& s = back.sheet(QStringLiteral("lista"));
    EXPECT_EQ(s.text(0, 0), QStringLiteral("Lista de plată — impozit pe clădiri"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.text(2 + i, 1), QString::fromUtf8(People[i].name));
        EXPECT_EQ(s.number(2 + i, 2), People[i].qty);
        EXPECT_EQ(s.number(2 + i, 3), People[i].price);
        EXPECT_EQ(s.cellType(2 + i, 4), CellType::Formula);
        // each copy multiplies its own row
        EXPECT_EQ(s.formulaReferences(2 + i, 4), (std::vector<CellRange>{{2 + i, 2 + i, 2, 2}, {2 + i, 2 + i, 3, 3}}));
    }
    EXPECT_EQ(s.text(5, 1), QStringLiteral("Total"));
    // the total grew with the copies and shrank back when the template went
    EXPECT_EQ(s.formulaReferences(5, 4), (std::vector<CellRange>{{1, 4, 4, 4}}));
    EXPECT_EQ(s.lastRow(), 5);
    EXPECT_EQ(s.lastColumn(), 4);
    EXPECT_EQ(s.mergedAreas(), (std::vector<CellRange>{{0, 0, 0, 4}}));
}

TEST(Biff8RoundTrip, ConverterReadsValuesAndComputesFormulas) {
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lista.xls"));
    Workbook wb = listTemplate();
    fill(wb.sheet(0));
    wb.save(path);
    auto sheets = test::convertToCsv(path);
    ASSERT_EQ(sheets.size(), 2u);
    const auto& rows = sheets[0];
    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(rows[0][0], QStringLiteral("Lista de plată — impozit pe clădiri"));
    EXPECT_EQ(rows[2], (QStringList{"1", "Ştefan Ţăranu", "2", "10.5", "21"}));
    EXPECT_EQ(rows[3], (QStringList{"2", "Ioana Mureșan", "1", "100", "100"}));
    EXPECT_EQ(rows[4], (QStringList{"3", "Gheorghe Căpățînă", "3", "0.25", "0.75"}));
    EXPECT_EQ(rows[5][1], QStringLiteral("Total"));
    EXPECT_EQ(rows[5][4], QStringLiteral("121.75"));
    EXPECT_EQ(sheets[1][0][0], QStringLiteral("7"));
}

TEST(Biff8RoundTrip, TotalRangeGrowsWithEveryCopyOfTheTemplateRow) {
    // SUM(G7:G8) with template row 8 (index 7) and three copies inserted there.
    Workbook wb;
    Sheet& s = wb.sheet(0);
    s.setNumber(6, 6, 1);
    s.setNumber(7, 6, 2);
    s.setFormula(9, 6, QStringLiteral("SUM(G7:G8)"));
    s.setFormula(9, 7, QStringLiteral("$G$8+G10"));
    s.insertRowCopies(7, 3);
    EXPECT_EQ(s.formulaReferences(12, 6), (std::vector<CellRange>{{6, 10, 6, 6}})); // G7:G11
    EXPECT_EQ(s.formulaReferences(12, 7), (std::vector<CellRange>{{10, 10, 6, 6}, {12, 12, 6, 6}}));
    for (int r = 7; r <= 10; ++r)
        EXPECT_EQ(s.number(r, 6), 2);
    s.insertRowCopies(0);
    EXPECT_EQ(s.formulaReferences(13, 6), (std::vector<CellRange>{{7, 11, 6, 6}}));
    s.deleteRows(8, 2);
    EXPECT_EQ(s.formulaReferences(11, 6), (std::vector<CellRange>{{7, 9, 6, 6}}));
}

TEST(Biff8RoundTrip, UnknownPathGivesAClearError) {
    try {
        Workbook::open(QStringLiteral("/nu/exista/lista.xls"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Nu se poate deschide fisierul")));
    }
}

TEST(Biff8RoundTrip, LongListSpansManyStringRecordsAndKeepsItsTotal) {
    // 3000 distinct names overflow one string-table record many times over; some
    // names need two bytes per character, so the width changes across records.
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lunga.xls"));
    Workbook wb = listTemplate();
    Sheet& s = wb.sheet(0);
    int row = 2;
    double total = 0;
    for (int i = 0; i < 3000; ++i, ++row) {
        s.insertRowCopies(row);
        s.setNumber(row, 0, i + 1);
        s.setText(row, 1, (i % 3 ? QStringLiteral("Contribuabil numarul %1") : QStringLiteral("Țăran Ștefănescu %1")).arg(i));
        s.setNumber(row, 2, i % 10);
        s.setNumber(row, 3, 1.5);
        total += (i % 10) * 1.5;
    }
    s.deleteRows(row);
    wb.save(path);
    Workbook back = Workbook::open(path);
    EXPECT_EQ(back.sheet(0).text(2 + 2999, 1), QStringLiteral("Contribuabil numarul 2999"));
    EXPECT_EQ(back.sheet(0).text(2 + 2997, 1), QStringLiteral("Țăran Ștefănescu 2997"));
    auto sheets = test::convertToCsv(path);
    ASSERT_EQ(sheets.size(), 2u);
    ASSERT_EQ(sheets[0].size(), size_t(2 + 3000 + 1));
    EXPECT_EQ(sheets[0][2 + 1500][1], QStringLiteral("Țăran Ștefănescu 1500"));
    EXPECT_EQ(sheets[0][2 + 2999][4], QStringLiteral("13.5"));
    EXPECT_EQ(sheets[0].back()[4], QString::number(total));
}
