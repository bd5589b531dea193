// Formula results computed on save: the value each formula of the computed set
// stores, read back by the engine and by the outside converter (which shows stored
// values), and the recalculation mark kept on formulas outside the set.

#include "workbook/workbook.h"

#include "workbook_test_util.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa::workbook;

namespace {

struct Case {
    const char* formula;
    const char* value; // as the cell shows it; "" with `computed` false: not computed
    bool computed = true;
};

// Inputs: A1 10, A2 2.5, A3 "abc", A4 empty, A5 "3" (a number as text),
// C1 = A1*2, C2 = A2*2 (formulas other formulas refer to), C3 = MOD(7,3) (outside the
// set), D1/D2 referring to each other.
const Case Cases[] = {
    {"1+2*3", "7"},
    {"-2^2", "4"},
    {"2^-1", "0.5"},
    {"(1+2)*-A1", "-30"},
    {"A1/A2", "4"},
    {"A1/0", "#DIV/0!"},
    {"A3+1", "#VALUE!"},
    {"A5+1", "4"},
    {"A4+1", "1"},
    {"A3&\"-\"&A1&\"/\"&A2", "abc-10/2.5"},
    {"A1>A2", "TRUE"},
    {"A3=\"ABC\"", "TRUE"},
    {"A4=0", "TRUE"},
    {"A3<A1", "FALSE"},
    {"A1<>10", "FALSE"},
    {"SUM(A1:A5)", "12.5"},
    {"SUM(C1:C2)+1", "26"},
    {"COUNT(A1:A5,1)", "3"},
    {"AVERAGE(A1:A2)", "6.25"},
    {"AVERAGE(A3:A4)", "#DIV/0!"},
    {"MIN(A1:A4,4)", "2.5"},
    {"MAX(A1:C2)", "20"},
    {"ROUND(2.675,2)", "2.68"},
    {"ROUND(-1250,-2)", "-1300"},
    {"ROUND(A1/3,1)", "3.3"},
    {"IF(A1>5,\"mare\",\"mic\")", "mare"},
    {"IF(A2>5,1)", "FALSE"},
    {"IF(A3,1,2)", "#VALUE!"},
    {"SUM(A1,A3)", "10"},
    {"SUM(A1,\"x\")", "#VALUE!"},
    {"MOD(7,3)", "", false},
    {"C3+1", "", false},
    {"D1", "", false},
};

} // namespace

TEST(FormulaEval, SavedFormulasCarryTheirResults) {
    Workbook wb;
    Sheet& s = wb.sheet(0);
    s.setNumber(0, 0, 10);
    s.setNumber(1, 0, 2.5);
    s.setText(2, 0, QStringLiteral("abc"));
    s.setText(4, 0, QStringLiteral("3"));
    s.setFormula(0, 2, QStringLiteral("A1*2"));
    s.setFormula(1, 2, QStringLiteral("A2*2"));
    s.setFormula(2, 2, QStringLiteral("MOD(7,3)"));
    s.setFormula(0, 3, QStringLiteral("D2+1"));
    s.setFormula(1, 3, QStringLiteral("D1+1"));
    const int first = 10; // the cases go down column E from row 11
    for (size_t i = 0; i < std::size(Cases); ++i)
        s.setFormula(first + int(i), 4, QString::fromLatin1(Cases[i].formula));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("f.xls"));
    wb.save(file);
    Workbook back = Workbook::open(file);
    auto converted = test::converterPath().isEmpty() ? decltype(test::convertToCsv(file)){} : test::convertToCsv(file);
    for (size_t i = 0; i < std::size(Cases); ++i) {
        const Case& c = Cases[i];
        const int row = first + int(i);
        EXPECT_EQ(back.sheet(0).needsRecalculation(row, 4), !c.computed) << c.formula;
        if (!c.computed)
            continue;
        EXPECT_EQ(back.sheet(0).text(row, 4), QString::fromLatin1(c.value)) << c.formula;
        if (converted.empty())
            continue;
        // The converter prints stored numbers with all their digits: compare them as numbers.
        const QString shown = converted[0][size_t(row)].value(4);
        bool number = false;
        const double expected = QString::fromLatin1(c.value).toDouble(&number);
        if (number)
            EXPECT_EQ(shown.toDouble(), expected) << c.formula << " (converter)";
        else
            EXPECT_EQ(shown, QString::fromLatin1(c.value)) << c.formula << " (converter)";
    }
}

TEST(FormulaEval, LongTextResultsSurviveTheirContinuedRecords) {
    // Results past one record's 8,221 characters, in one-byte and two-byte form.
    const QString narrow(5000, QChar('a')), wide(5000, QChar(0x0219)); // 's' with comma below
    const struct {
        QString a, b;
        const char* what;
    } cases[] = {{narrow, narrow, "narrow"}, {narrow, wide, "wide"}};
    for (const auto& c : cases) {
        Workbook wb;
        Sheet& s = wb.sheet(0);
        s.setText(0, 0, c.a);
        s.setText(1, 0, c.b);
        s.setFormula(2, 0, QStringLiteral("A1&A2"));
        EXPECT_EQ(Workbook::fromBytes(wb.toBytes()).sheet(0).text(2, 0), c.a + c.b) << c.what;
    }
    // The converter writes its continuations without restating the width.
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    QFile source(dir.filePath(QStringLiteral("lung.gnumeric")));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<gnm:Workbook xmlns:gnm="http://www.gnumeric.org/v10.dtd">
  <gnm:SheetNameIndex><gnm:SheetName>Lung</gnm:SheetName></gnm:SheetNameIndex>
  <gnm:Sheets><gnm:Sheet><gnm:Name>Lung</gnm:Name><gnm:MaxCol>1</gnm:MaxCol><gnm:MaxRow>1</gnm:MaxRow>
    <gnm:Cells><gnm:Cell Row="0" Col="0">=REPT("ab",6000)</gnm:Cell></gnm:Cells>
  </gnm:Sheet></gnm:Sheets>
</gnm:Workbook>
)");
    source.close();
    const QString xls = dir.filePath(QStringLiteral("lung.xls"));
    ASSERT_TRUE(test::convert(source.fileName(), xls));
    EXPECT_EQ(Workbook::open(xls).sheet(0).text(0, 0), QStringLiteral("ab").repeated(6000));
}

// A list's total over many amounts in lei and bani stores the amount to the ban, not what
// adding binary fractions one by one leaves in the last digits.
TEST(FormulaEval, SumOfManyAmountsIsExactToTheBan) {
    const struct {
        double amount;
        double total; // of 50,000 of them
    } cases[] = {{12.34, 617000}, {0.1, 5000}, {-7.05, -352500}};
    for (const auto& c : cases) {
        Workbook wb;
        Sheet& s = wb.sheet(0);
        for (int r = 0; r < 50000; ++r) s.setNumber(r, 0, c.amount);
        s.setFormula(0, 1, QStringLiteral("SUM(A1:A50000)"));
        EXPECT_EQ(Workbook::fromBytes(wb.toBytes()).sheet(0).number(0, 1), c.total) << c.amount;
    }
}
