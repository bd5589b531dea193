#pragma once
// The banded report: what a printed document holds (a title part, a table with column
// headings, detail rows and a totals row, a closing part, page header and footer) and its
// layout, computed once into texts and lines placed on pages. The layout is plain data in
// millimetres; report/ui paints it on the preview, the printer or a PDF file, so the same
// pages come out everywhere and tests check them without pixels.
//
// Several copies on one page: the page is cut into `copies` equal slices from top to bottom
// and every slice gets the same content (the receipt prints twice on one sheet).
//
// Limits: texts do not wrap; a text wider than its box is drawn smaller to fit (see
// report/ui/report_output.h). Rows have one fixed height.
//
//     report::Report r;
//     r.title = "CENTRALIZATOR CHITANTE ANULATE";
//     r.titleBand.text(0, 0, 190, 8, "CENTRALIZATOR CHITANTE ANULATE", {12, true}, report::Align::Center);
//     r.titleBand.height = 12;
//     r.columns = {{"Nr. crt.", 12, report::Align::Right}, {"Suma", 20, report::Align::Right}};
//     r.rows.push_back({{"1", "150"}});
//     r.totals = report::Row{{"TOTAL", "150"}, true};
//     r.pageFooter = "Pagina %1 din %2";
//     const report::Layout pages = report::LayOut(r);

#include <QLineF>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vartesa::report {

enum class Align { Left, Center, Right };

/// Size in points and weight; the family is the renderer's (one that carries ă â î ș ț).
struct Font {
    double points = 9;
    bool bold = false;
};

/// A text in a box, in millimetres from the top left of the page (of the band while it is
/// part of a band). Lines are split at '\n' and centred vertically in the box.
struct TextItem {
    QRectF box;
    QString text;
    Font font;
    Align align = Align::Left;
};

/// A ruled line, width in millimetres.
struct LineItem {
    QLineF line;
    double width = 0.2;
};

/// A free part of the report (the title part, the closing part): items placed relative to
/// the band's top left, and the height it takes.
struct Band {
    double height = 0;
    std::vector<TextItem> texts;
    std::vector<LineItem> lines;

    void text(double x, double y, double width, double height, const QString& text, Font font = {},
              Align align = Align::Left);
    void hline(double x1, double x2, double y, double width = 0.2);
    void vline(double x, double y1, double y2, double width = 0.2);
    void rect(double x, double y, double width, double height, double lineWidth = 0.2);
};

/// One table column: its heading (two lines with '\n'), width and alignment of its cells.
struct Column {
    QString title;
    double width = 20;
    Align align = Align::Left;
};

/// A heading over several adjacent columns, drawn above their own headings.
struct ColumnGroup {
    QString title;
    int first = 0; // index of the first column under it
    int count = 1; // columns under it
};

/// A row of the table: one text per column (missing ones are blank). A row without cells
/// is a gap: it takes its height and draws nothing.
struct Row {
    QStringList cells;
    bool bold = false;
};

struct Report {
    QString title;                             // document name: print job, PDF title
    QSizeF paper{210, 297};                    // A4 portrait, millimetres
    QMarginsF margins{10, 10, 10, 10};         // left, top, right, bottom
    int copies = 1;                            // slices of the page holding the same content
    double copyGap = 0;                        // room between two slices (a cutting line is drawn there)
    Band titleBand;                            // on the first page, above the table
    std::vector<ColumnGroup> groups;           // headings over columns
    std::vector<Column> columns;               // the table; none: no table
    double headerHeight = 9;                   // of the column headings (the groups add groupHeight)
    double groupHeight = 5;
    Font headerFont{8, true};
    std::vector<Row> rows;                     // detail rows, in order
    double rowHeight = 5;
    Font rowFont{8};
    bool ruled = true;                         // frame the table's cells
    std::optional<Row> totals;                 // after the last row
    Band closingBand;                          // after the totals, on the last page
    QString pageHeader;                        // top of every page, left; blank: none
    QString pageFooter;                        // bottom of every page, centred; "%1" page, "%2" pages
};

/// Everything drawn on one page.
struct Page {
    std::vector<TextItem> texts;
    std::vector<LineItem> lines;

    /// The texts in reading order (top to bottom, then left to right): what a PDF reader
    /// would extract.
    QStringList textsInOrder() const;
    /// How many texts are exactly `text`.
    int count(const QString& text) const;
};

struct Layout {
    QString title;
    QSizeF paper{210, 297};
    std::vector<Page> pages;
};

/// Places the report on pages: the title part, the column headings (again at the top of
/// every page), as many rows as fit, the totals and the closing part; then repeats the
/// content on every slice when there are several copies, and numbers the pages.
Layout LayOut(const Report& report);

} // namespace vartesa::report
