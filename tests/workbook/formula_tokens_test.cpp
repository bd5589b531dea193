// Formula tokens: every kind the engine may meet is stepped over with its right
// size, so the references behind it are found and follow inserted rows.

#include "workbook/formula_text.h"
#include "workbook/formula_tokens.h"
#include "workbook/workbook.h"

#include "workbook_test_util.h"

#include "db/error.h"

#include <gtest/gtest.h>

using namespace vartesa::workbook;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b += char(v);
    return b;
}

// CHOOSE(2, "ăb", SUM(<mem area> B3:C4), Foaie!D5) + 1.5 + TRUE + A2 with a missing
// argument and parentheses, as a spreadsheet program stores it.
QByteArray mixedTokens() {
    QByteArray t;
    t += bytes({0x1E, 0x02, 0x00});                         // tInt 2
    t += bytes({0x19, 0x04, 0x02, 0x00, 0x08, 0x00, 0x10, 0x00, 0x20, 0x00}); // tAttrChoose, 2 options: 3 jump entries
    t += bytes({0x17, 0x02, 0x01, 0x03, 0x01, 0x62, 0x00}); // tStr "ăb", two bytes per character
    t += bytes({0x19, 0x08, 0x05, 0x00});                   // tAttrGoto
    t += bytes({0x26, 0, 0, 0, 0, 0x09, 0x00});             // tMemArea, 9 bytes of sub-expression follow
    t += bytes({0x25, 0x02, 0x00, 0x03, 0x00, 0x01, 0xC0, 0x02, 0xC0}); // tArea B3:C4 (relative)
    t += bytes({0x22, 0x01, 0x04, 0x00});                   // tFuncVar SUM, 1 argument
    t += bytes({0x3A, 0x00, 0x00, 0x04, 0x00, 0x03, 0xC0}); // tRef3d sheet entry 0, D5
    t += bytes({0x22, 0x04, 0x64, 0x00});                   // tFuncVar CHOOSE
    t += bytes({0x1F, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F});       // tNum 1.5
    t += bytes({0x03});                                     // tAdd
    t += bytes({0x1D, 0x01});                               // tBool TRUE
    t += bytes({0x16});                                     // tMissArg
    t += bytes({0x15});                                     // tParen
    t += bytes({0x44, 0x01, 0x00, 0x00, 0xC0});             // tRef A2 (value class)
    t += bytes({0x41, 0x18, 0x00});                         // tFunc ABS
    return t;
}

} // namespace

TEST(FormulaTokens, EveryTokenIsSteppedOverToTheReferencesBehindIt) {
    const QByteArray t = mixedTokens();
    std::vector<int> seen;
    EXPECT_TRUE(walkTokens(t, [&](quint8 base, int) { seen.push_back(base); }));
    EXPECT_EQ(seen, (std::vector<int>{0x1E, 0x19, 0x17, 0x19, 0x26, 0x25, 0x22, 0x3A, 0x22, 0x1F, 0x03, 0x1D, 0x16,
                                      0x15, 0x24, 0x21}));
    std::vector<TokenRef> refs = findReferences(t);
    ASSERT_EQ(refs.size(), 4u);
    EXPECT_EQ(get16(t.constData() + refs[0].rowPos), 2);  // B3
    EXPECT_EQ(get16(t.constData() + refs[1].rowPos), 3);  // C4
    EXPECT_EQ(refs[2].ixti, 0);                           // Foaie!D5
    EXPECT_EQ(get16(t.constData() + refs[2].rowPos), 4);
    EXPECT_EQ(get16(t.constData() + refs[3].colPos) & ColMask, 0); // A2
    // cut inside a token: the walk stops and says so
    EXPECT_FALSE(walkTokens(t.left(12), [](quint8, int) {}));
    EXPECT_FALSE(walkTokens(bytes({0xFF}), [](quint8, int) {}));
}

TEST(FormulaTokens, ReferencesAfterEveryTokenKindFollowInsertedRows) {
    Workbook wb;
    Sheet& s = wb.sheet(0);
    s.setFormulaTokens(9, 5, mixedTokens());
    s.insertRowCopies(2, 2); // rows 3 and up move down by two
    // B3:C4 moves; the 3d reference names an entry no EXTERNSHEET describes here, so
    // its sheet is unknown and its row is kept; A2 is above the insertion.
    EXPECT_EQ(s.formulaReferences(11, 5), (std::vector<CellRange>{{4, 5, 1, 2}, {4, 4, 3, 3}, {1, 1, 0, 0}}));
}

TEST(FormulaTokens, SharedFormTokensBecomePlainOnesForTheirCell) {
    // tAreaN: rows -1..+1 relative, columns relative -2..0; tRefN with an absolute row 7.
    QByteArray t = bytes({0x2D, 0xFF, 0xFF, 0x01, 0x00, 0xFE, 0xC0, 0x00, 0xC0,
                          0x2C, 0x07, 0x00, 0x01, 0x40, 0x03});
    expandSharedTokens(t, 10, 4);
    EXPECT_EQ(quint8(t[0]), 0x25);
    EXPECT_EQ(get16(t.constData() + 1), 9);
    EXPECT_EQ(get16(t.constData() + 3), 11);
    EXPECT_EQ(get16(t.constData() + 5) & ColMask, 2);
    EXPECT_EQ(get16(t.constData() + 7) & ColMask, 4);
    EXPECT_EQ(quint8(t[9]), 0x24);
    EXPECT_EQ(get16(t.constData() + 10), 7);              // absolute row kept
    EXPECT_EQ(get16(t.constData() + 12) & ColMask, 5);    // relative column +1
}

TEST(FormulaTokens, FormulaTextCompilesToTheTokensSpreadsheetsUse) {
    EXPECT_EQ(compileFormula(QStringLiteral("SUM(G7:G8)")),
              bytes({0x25, 0x06, 0x00, 0x07, 0x00, 0x06, 0xC0, 0x06, 0xC0, 0x42, 0x01, 0x04, 0x00}));
    EXPECT_EQ(compileFormula(QStringLiteral("ROUND($A$1*2.5,2)")),
              bytes({0x44, 0x00, 0x00, 0x00, 0x00, 0x1F, 0, 0, 0, 0, 0, 0, 0x04, 0x40, 0x05, 0x1E, 0x02, 0x00, 0x41,
                     0x1B, 0x00}));
    // tRef(5) tStr(3) tNE(1) tRef(5) tUminus(1) tBool(2) tFuncVar IF(4)
    EXPECT_EQ(compileFormula(QStringLiteral("IF(A1<>\"\",-A1,TRUE)")).size(), 21);
    EXPECT_THROW(compileFormula(QStringLiteral("SUM(")), vartesa::Error);
    EXPECT_THROW(compileFormula(QStringLiteral("NUEXISTA(1)")), vartesa::Error);
    EXPECT_THROW(compileFormula(QStringLiteral("1+")), vartesa::Error);
}

TEST(FormulaTokens, IdsWithTheTopBitAreNoTokens) {
    // 0xA4 is no token id; read as tRef it would make the next bytes a row to rewrite.
    const QByteArray t = bytes({0xA4, 0x01, 0x00, 0x02, 0xC0});
    EXPECT_FALSE(walkTokens(t, [](quint8, int) {}));
    EXPECT_TRUE(findReferences(t).empty());
}

TEST(FormulaTokens, WholeNumbersTakeTheShortTokenOnlyUpTo65535) {
    const struct {
        const char* text;
        bool shortForm;
        double value;
    } cases[] = {{"65535", true, 65535}, {"65536", false, 65536}, {"70000", false, 70000},
                 {"99999999999999999999", false, 1e20}};
    for (const auto& c : cases) {
        const QByteArray t = compileFormula(QString::fromLatin1(c.text));
        if (c.shortForm) {
            EXPECT_EQ(t, bytes({0x1E, 0xFF, 0xFF})) << c.text;
            continue;
        }
        ASSERT_EQ(t.size(), 9) << c.text;
        EXPECT_EQ(quint8(t[0]), 0x1F) << c.text;
        EXPECT_EQ(vartesa::workbook::ByteReader(t.constData() + 1, 8, 0).f64(), c.value) << c.text;
    }
}
