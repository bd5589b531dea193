// Laying a banded report out on pages.

#include "report/report.h"

#include <algorithm>
#include <cmath>

namespace vartesa::report {

namespace {

constexpr double kPageLineHeight = 6; // page header and footer lines
constexpr double kCellInset = 1;      // room between a cell's rule and its text

// Where the content of one slice is being built: items relative to the slice's top left.
struct Sheet {
    Page page;
    double y = 0;
};

class Placer {
public:
    explicit Placer(const Report& r) : r_(r) {
        const double content = r.paper.height() - r.margins.top() - r.margins.bottom();
        const int copies = std::max(1, r.copies);
        slice_ = (content - (copies - 1) * r.copyGap) / copies;
        top_ = r.pageHeader.trimmed().isEmpty() ? 0 : kPageLineHeight;
        bottom_ = slice_ - (r.pageFooter.isEmpty() ? 0 : kPageLineHeight);
    }

    std::vector<Page> place() {
        startSheet(false);
        placeBand(r_.titleBand);
        if (!r_.columns.empty()) placeHeadings();
        for (const Row& row : r_.rows) placeRow(row, r_.rowFont);
        if (r_.totals) placeRow(*r_.totals, {r_.rowFont.points, true});
        if (r_.closingBand.height > 0 || !r_.closingBand.texts.empty()) {
            if (sheet_.y + r_.closingBand.height > bottom_) startSheet(false);
            placeBand(r_.closingBand);
        }
        sheets_.push_back(std::move(sheet_.page));
        return std::move(sheets_);
    }

    double slice() const { return slice_; }
    double footerTop() const { return bottom_; }

private:
    void startSheet(bool keepPrevious) {
        if (keepPrevious) sheets_.push_back(std::move(sheet_.page));
        sheet_ = {};
        sheet_.y = top_;
    }

    void placeBand(const Band& band) {
        for (TextItem t : band.texts) {
            t.box.translate(0, sheet_.y);
            sheet_.page.texts.push_back(std::move(t));
        }
        for (LineItem l : band.lines) {
            l.line.translate(0, sheet_.y);
            sheet_.page.lines.push_back(l);
        }
        sheet_.y += band.height;
    }

    double columnLeft(int column) const {
        double x = 0;
        for (int i = 0; i < column; ++i) x += r_.columns[size_t(i)].width;
        return x;
    }

    void cell(double x, double y, double w, double h, const QString& text, Font font, Align align) {
        if (r_.ruled) {
            Page& p = sheet_.page;
            p.lines.push_back({QLineF(x, y, x + w, y)});
            p.lines.push_back({QLineF(x, y + h, x + w, y + h)});
            p.lines.push_back({QLineF(x, y, x, y + h)});
            p.lines.push_back({QLineF(x + w, y, x + w, y + h)});
        }
        if (!text.isEmpty())
            sheet_.page.texts.push_back({QRectF(x + kCellInset, y, w - 2 * kCellInset, h), text, font, align});
    }

    double headingsHeight() const { return r_.headerHeight + (r_.groups.empty() ? 0 : r_.groupHeight); }

    // The group headings over their columns, then each column's own heading; a column
    // outside every group takes both heights.
    void placeHeadings() {
        const double y = sheet_.y;
        const double groupH = r_.groups.empty() ? 0 : r_.groupHeight;
        std::vector<bool> grouped(r_.columns.size(), false);
        for (const ColumnGroup& g : r_.groups) {
            double w = 0;
            for (int i = g.first; i < g.first + g.count && i < int(r_.columns.size()); ++i) {
                w += r_.columns[size_t(i)].width;
                grouped[size_t(i)] = true;
            }
            cell(columnLeft(g.first), y, w, groupH, g.title, r_.headerFont, Align::Center);
        }
        for (size_t i = 0; i < r_.columns.size(); ++i) {
            const double top = grouped[i] ? y + groupH : y;
            const double h = grouped[i] ? r_.headerHeight : r_.headerHeight + groupH;
            cell(columnLeft(int(i)), top, r_.columns[i].width, h, r_.columns[i].title, r_.headerFont, Align::Center);
        }
        sheet_.y += headingsHeight();
    }

    void placeRow(const Row& row, Font font) {
        if (sheet_.y + r_.rowHeight > bottom_) {
            startSheet(true);
            placeHeadings();
        }
        if (row.cells.isEmpty()) { // a gap between groups of rows: nothing drawn
            sheet_.y += r_.rowHeight;
            return;
        }
        if (row.bold) font.bold = true;
        for (size_t i = 0; i < r_.columns.size(); ++i) {
            const QString text = i < size_t(row.cells.size()) ? row.cells[qsizetype(i)] : QString();
            cell(columnLeft(int(i)), sheet_.y, r_.columns[i].width, r_.rowHeight, text, font, r_.columns[i].align);
        }
        sheet_.y += r_.rowHeight;
    }

    const Report& r_;
    double slice_ = 0;  // height of one copy's slice
    double top_ = 0;    // first free height under the page header
    double bottom_ = 0; // the footer's top: rows end above it
    Sheet sheet_;
    std::vector<Page> sheets_;
};

void appendShifted(Page& to, const Page& from, double dx, double dy) {
    for (TextItem t : from.texts) {
        t.box.translate(dx, dy);
        to.texts.push_back(std::move(t));
    }
    for (LineItem l : from.lines) {
        l.line.translate(dx, dy);
        to.lines.push_back(l);
    }
}

QString footerText(const QString& pattern, int page, int pages) {
    QString text = pattern;
    return text.replace(QLatin1String("%1"), QString::number(page)).replace(QLatin1String("%2"), QString::number(pages));
}

} // namespace

void Band::text(double x, double y, double width, double height, const QString& text, Font font, Align align) {
    texts.push_back({QRectF(x, y, width, height), text, font, align});
}

void Band::hline(double x1, double x2, double y, double width) { lines.push_back({QLineF(x1, y, x2, y), width}); }

void Band::vline(double x, double y1, double y2, double width) { lines.push_back({QLineF(x, y1, x, y2), width}); }

void Band::rect(double x, double y, double w, double h, double lineWidth) {
    hline(x, x + w, y, lineWidth);
    hline(x, x + w, y + h, lineWidth);
    vline(x, y, y + h, lineWidth);
    vline(x + w, y, y + h, lineWidth);
}

QStringList Page::textsInOrder() const {
    std::vector<const TextItem*> order;
    for (const TextItem& t : texts) order.push_back(&t);
    std::stable_sort(order.begin(), order.end(), [](const TextItem* a, const TextItem* b) {
        const long ya = std::lround(a->box.top() * 10), yb = std::lround(b->box.top() * 10);
        return ya != yb ? ya < yb : a->box.left() < b->box.left();
    });
    QStringList out;
    for (const TextItem* t : order) out << t->text;
    return out;
}

int Page::count(const QString& text) const {
    return int(std::count_if(texts.begin(), texts.end(), [&](const TextItem& t) { return t.text == text; }));
}

Layout LayOut(const Report& report) {
    Placer placer(report);
    const std::vector<Page> sheets = placer.place();
    const int copies = std::max(1, report.copies);
    const double width = report.paper.width() - report.margins.left() - report.margins.right();
    Layout out{report.title, report.paper, {}};
    for (size_t i = 0; i < sheets.size(); ++i) {
        Page page;
        for (int c = 0; c < copies; ++c) {
            const double top = report.margins.top() + c * (placer.slice() + report.copyGap);
            appendShifted(page, sheets[i], report.margins.left(), top);
            if (!report.pageHeader.trimmed().isEmpty())
                page.texts.push_back({QRectF(report.margins.left(), top, width, kPageLineHeight), report.pageHeader,
                                      {8, false}, Align::Left});
            if (!report.pageFooter.isEmpty())
                page.texts.push_back({QRectF(report.margins.left(), top + placer.footerTop(), width, kPageLineHeight),
                                      footerText(report.pageFooter, int(i) + 1, int(sheets.size())), {8, false}, Align::Center});
            // The cutting line between two copies.
            if (c > 0) {
                const double y = top - report.copyGap / 2;
                page.lines.push_back({QLineF(report.margins.left(), y, report.margins.left() + width, y), 0.1});
            }
        }
        out.pages.push_back(std::move(page));
    }
    return out;
}

} // namespace vartesa::report
