#include "report/list_report.h"

#include <algorithm>

namespace vartesa::report {

namespace {

bool isNumber(const QString& text) {
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

} // namespace

Report ListReport(const QString& title, const QString& heading, const QStringList& columns,
                  const std::vector<QStringList>& rows) {
    Report r;
    r.title = title;
    const double width = r.paper.width() - r.margins.left() - r.margins.right();
    r.titleBand.text(0, 0, width, 8, title, {12, true}, Align::Center);
    r.titleBand.text(0, 9, width, 6, heading, {9, false}, Align::Left);
    r.titleBand.height = 18;

    std::vector<int> longest(columns.size(), 4);
    std::vector<bool> numeric(columns.size(), !rows.empty());
    for (int c = 0; c < columns.size(); ++c) {
        for (const QString& line : columns[c].split('\n')) longest[c] = std::max(longest[c], int(line.size()));
        for (const QStringList& row : rows) {
            const QString cell = c < row.size() ? row[c] : QString();
            longest[c] = std::max(longest[c], int(cell.size()));
            if (!cell.trimmed().isEmpty() && !isNumber(cell)) numeric[c] = false;
        }
    }
    int characters = 0;
    for (int n : longest) characters += n;
    for (int c = 0; c < columns.size(); ++c)
        r.columns.push_back({columns[c], width * longest[c] / std::max(characters, 1),
                             numeric[c] ? Align::Right : Align::Left});
    for (const QStringList& row : rows) r.rows.push_back({row});
    r.pageFooter = QStringLiteral("Pagina %1 din %2");
    return r;
}

} // namespace vartesa::report
