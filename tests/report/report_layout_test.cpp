// The report layout: rows flowing over pages under repeated headings, page numbers, copies.

#include "report/list_report.h"
#include "report/report.h"

#include <gtest/gtest.h>

using namespace vartesa::report;

namespace {

Report tableOf(int rows) {
    Report r;
    r.titleBand.text(0, 0, 190, 10, "TITLU");
    r.titleBand.height = 12;
    r.columns = {{"Nr.", 20, Align::Right}, {"Nume", 100}};
    for (int i = 1; i <= rows; ++i) r.rows.push_back({{QString::number(i), "X"}});
    r.totals = Row{{"TOTAL", ""}, true};
    r.pageFooter = "Pagina %1 din %2";
    return r;
}

TEST(ReportLayout, RowsFlowOverPagesUnderRepeatedHeadings) {
    const Layout l = LayOut(tableOf(100));
    ASSERT_EQ(l.pages.size(), 2u);
    // Title once; headings and page number on every page; every row once, totals last.
    EXPECT_EQ(l.pages[0].count("TITLU") + l.pages[1].count("TITLU"), 1);
    for (size_t p = 0; p < 2; ++p) {
        EXPECT_EQ(l.pages[p].count("Nume"), 1) << p;
        EXPECT_EQ(l.pages[p].count(QStringLiteral("Pagina %1 din 2").arg(p + 1)), 1) << p;
    }
    EXPECT_EQ(l.pages[0].count("X") + l.pages[1].count("X"), 100);
    const QStringList last = l.pages[1].textsInOrder();
    EXPECT_EQ(last.mid(last.size() - 4), (QStringList{"100", "X", "TOTAL", "Pagina 2 din 2"}));
    // Nothing runs into the footer or off the paper.
    for (const Page& p : l.pages)
        for (const TextItem& t : p.texts) EXPECT_LE(t.box.bottom(), 297 - 10 + 0.01) << qPrintable(t.text);
}

TEST(ReportLayout, CopiesRepeatTheContentInEqualSlices) {
    Report r = tableOf(3);
    r.copies = 2;
    r.copyGap = 8;
    const Layout l = LayOut(r);
    ASSERT_EQ(l.pages.size(), 1u);
    std::vector<double> tops;
    for (const TextItem& t : l.pages[0].texts)
        if (t.text == "TITLU") tops.push_back(t.box.top());
    ASSERT_EQ(tops.size(), 2u);
    EXPECT_DOUBLE_EQ(tops[1] - tops[0], (297 - 20 - 8) / 2.0 + 8);
}

TEST(ReportLayout, ListSharesThePrintableWidthAndAlignsNumbersRight) {
    const Report r = ListReport("LISTA", "Primaria X", {"Nr. crt.", "Titular", "Suma"},
                                {{"1", "POPESCU ION ȘTEFAN", "150"}, {"2", "ȚANU", "-20"}});
    ASSERT_EQ(r.columns.size(), 3u);
    double total = 0;
    for (const Column& c : r.columns) total += c.width;
    EXPECT_DOUBLE_EQ(total, 190);
    EXPECT_GT(r.columns[1].width, r.columns[2].width); // the longest texts get the room
    EXPECT_EQ(r.columns[0].align, Align::Right);
    EXPECT_EQ(r.columns[1].align, Align::Left);
    EXPECT_EQ(r.columns[2].align, Align::Right);
    EXPECT_EQ(LayOut(r).pages.at(0).count(QStringLiteral("ȚANU")), 1);
}

} // namespace
