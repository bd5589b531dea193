// The sheets of the debit statements: the statement list and the summary laid out cell by cell
// for the direct worksheet writer, and the cumulated statements filled into BDBS.xls.

#include "documents/debit_statement_lists.h"

#include "cash/cash_summary_data.h"
#include "db/error.h"
#include "fillers/xls_model_export.h"
#include "shell/file_helpers.h"
#include "shell/services.h"

#include <map>

namespace vartesa {

namespace {

using W = workbook::Biff2Writer;

constexpr int kHeadingRow = 6;  // "NR" ... "S U M A" ... "TOTAL"
constexpr int kGroupRow = 7;    // the group names
constexpr int kFirstDataRow = 8;
constexpr int kSheetRows = 16384; // rows of a sheet of the direct writer

QString dayText(const QDate& d) { return d.toString(QStringLiteral("dd.MM.yyyy")); }

// The groups of the lines in column order, and the column of each counted from 0.
std::map<QString, int> groupColumns(const std::vector<StatementLine>& lines, QStringList& names) {
    names = StatementGroups(lines);
    std::map<QString, int> columns;
    for (int i = 0; i < names.size(); ++i) columns[names[i]] = i;
    return columns;
}

// Lays out a list: the cells it writes in order.
class Layout {
public:
    explicit Layout(CellList& list) : list_(list) {}
    void put(int row, int col, const QVariant& value, int font = 0, W::Align align = W::Align::General,
             int borders = W::NoBorder) {
        list_.cells.push_back({row, col, value, font, align, borders});
    }

    // Rows 1 to 7: the town hall, the title and its second line, the heading of the group
    // columns (from `firstGroup` on) and of the leading columns.
    void headings(const QString& townHall, const QString& title, const QString& second, const QStringList& lead6,
                  const QStringList& lead7, const QStringList& groups, int firstGroup) {
        const int n = int(groups.size()), total = firstGroup + n;
        put(1, 1, QStringLiteral("Primaria ") + townHall);
        put(3, 2, title, 2);
        if (!second.isEmpty()) put(4, 2, second);
        for (int c = 0; c < lead6.size(); ++c) put(kHeadingRow, c + 1, lead6[c], 1, W::Align::Center, W::Box);
        // One band over the group columns, its title in the middle one.
        for (int c = 0; c < n; ++c)
            put(kHeadingRow, firstGroup + c, c == n / 2 ? QVariant(QStringLiteral("S U M A")) : QVariant(), 1,
                W::Align::Center, W::Top | W::Bottom | (c == 0 ? W::Left : 0) | (c == n - 1 ? W::Right : 0));
        put(kHeadingRow, total, QStringLiteral("TOTAL"), 1, W::Align::Center, W::Box);
        for (int c = 0; c < lead7.size(); ++c)
            put(kGroupRow, c + 1, lead7[c].isEmpty() ? QVariant() : QVariant(lead7[c]), 1, W::Align::Center, W::Box);
        for (int c = 0; c < n; ++c) put(kGroupRow, firstGroup + c, groups[c], 0, W::Align::Center, W::Box);
        put(kGroupRow, total, QVariant(), 0, W::Align::Center, W::Box);
    }

    // The totals row under the last data row.
    void totals(int row, int firstGroup, const std::vector<qint64>& groupTotals) {
        put(row, 2, QStringLiteral("TOTAL"), 1);
        qint64 all = 0;
        for (size_t g = 0; g < groupTotals.size(); ++g) {
            put(row, firstGroup + int(g), groupTotals[g], 1, W::Align::Center);
            all += groupTotals[g];
        }
        put(row, firstGroup + int(groupTotals.size()), all, 1, W::Align::Center);
        list_.lastRow = row;
    }

private:
    CellList& list_;
};

// A list longer than a sheet is refused before anything is written, as the filler refuses it.
void checkFits(int dataRows) {
    if (kFirstDataRow + dataRows > kSheetRows)
        throw SheetTooLong(dataRows, QStringLiteral("de exemplu perioada"));
}

// One role's row of the statement list: its cells per group and its first day.
struct RoleRow {
    const StatementLine* first = nullptr; // the role's first line in walking order
    QDate earliest;
    std::map<int, qint64> cells; // group column (from 0) -> sum
};

} // namespace

QVariant CellList::value(int row, int col) const {
    for (auto it = cells.rbegin(); it != cells.rend(); ++it)
        if (it->row == row && it->col == col) return it->value;
    return {};
}

CellList StatementList(Services& s, const QString& kind, qint64 number, const StatementPeriod& period) {
    std::vector<StatementLine> lines;
    {
        ProgressShown shown(s.progress(), QStringLiteral("Prelucrare date ..."));
        lines = StatementLines(s.database(), s.folders.data, kind, number, period);
    }
    std::erase_if(lines, [](const StatementLine& l) { return !l.roleFound; });
    QStringList groups;
    const std::map<QString, int> column = groupColumns(lines, groups);
    const int n = int(groups.size());

    // Walked by name, then IDGOS: two roles of one name keep a row each.
    std::map<std::pair<QByteArray, qint64>, RoleRow> roles;
    for (const StatementLine& l : lines) {
        RoleRow& r = roles[{l.name.toUtf8(), l.roleId}];
        if (!r.first) r.first = &l;
        if (!r.earliest.isValid() || l.day < r.earliest) r.earliest = l.day;
        r.cells[column.at(l.group)] += std::abs(l.amount);
    }
    checkFits(int(roles.size()) + 1);

    CellList list;
    list.widths = {{1, 7}, {2, 26}, {3, 12}};
    for (int g = 0; g < n; ++g) list.widths.emplace_back(g + 4, 9);
    list.totalColumn = n + 4;
    Layout out(list);
    out.headings(TownHallName(s), kind == kWriteOffStatement ? QStringLiteral("BORDEROU DE SCADERI")
                                                           : QStringLiteral("BORDEROU DE DEBITE"),
                 QStringLiteral("Nr.") + QString::number(number), {QStringLiteral("NR"), QStringLiteral(" "), QStringLiteral("DATA")},
                 {QStringLiteral("ROL"), QStringLiteral("NUMELE SI PRENUMELE"), QString()}, groups, 4);
    std::vector<qint64> groupTotals(size_t(n), 0);
    int row = kFirstDataRow;
    for (const auto& [key, r] : roles) {
        for (int c = 1; c <= n + 3; ++c) out.put(row, c, QVariant(), 0, W::Align::General, W::Bottom);
        out.put(row, 1, r.first->rol, 0, W::Align::Center, W::Bottom);
        out.put(row, 2, r.first->name, 0, W::Align::Left, W::Bottom);
        out.put(row, 3, dayText(r.earliest), 0, W::Align::Right, W::Bottom);
        qint64 total = 0;
        for (const auto& [g, amount] : r.cells) {
            out.put(row, g + 4, amount, 0, W::Align::Center, W::Bottom);
            total += amount;
            groupTotals[size_t(g)] += amount;
        }
        if (total != 0) out.put(row, n + 4, total, 1, W::Align::Center);
        ++row;
    }
    out.totals(row, 4, groupTotals);
    return list;
}

CellList StatementSummary(Services& s, const StatementPeriod& period) {
    std::vector<StatementLine> lines;
    {
        ProgressShown shown(s.progress(), QStringLiteral("Prelucrare date ..."));
        lines = AllStatementLines(s.database(), s.folders.data, kChargeStatement, period);
        // Write-offs net the charges: a reduction on a ledger line as a negative debit does.
        for (StatementLine l : AllStatementLines(s.database(), s.folders.data, kWriteOffStatement, period)) {
            l.amount = -l.amount;
            lines.push_back(std::move(l));
        }
    }
    QStringList groups;
    const std::map<QString, int> column = groupColumns(lines, groups);
    const int n = int(groups.size());

    // A row per day and statement number; the amounts of one cell add up.
    std::map<std::pair<QDate, qint64>, std::map<int, qint64>> rows;
    for (const StatementLine& l : lines) rows[{l.day, l.number}][column.at(l.group)] += l.amount;
    checkFits(int(rows.size()) + 1);

    CellList list;
    list.widths = {{1, 6}, {2, 18}};
    for (int g = 0; g < n; ++g) list.widths.emplace_back(g + 3, 9);
    list.totalColumn = n + 3;
    Layout out(list);
    out.headings(TownHallName(s),
                 QStringLiteral("BORDEROU CENTRALIZATOR ") + dayText(period.from) + QStringLiteral(" - ") + dayText(period.to),
                 QString(), {QStringLiteral("Nr."), QStringLiteral(" ")}, {QStringLiteral("crt."), QStringLiteral("Borderou")},
                 groups, 3);
    std::vector<qint64> groupTotals(size_t(n), 0);
    int row = kFirstDataRow, running = 0;
    for (const auto& [key, cells] : rows) {
        for (int c = 1; c <= n + 2; ++c) out.put(row, c, QVariant(), 0, W::Align::General, W::Bottom);
        out.put(row, 1, ++running, 0, W::Align::Center, W::Bottom);
        out.put(row, 2, QString::number(key.second) + QStringLiteral(" / ") + dayText(key.first), 0, W::Align::Center,
                W::Bottom);
        qint64 total = 0;
        for (const auto& [g, amount] : cells) {
            out.put(row, g + 3, amount, 0, W::Align::Center, W::Bottom);
            total += amount;
            groupTotals[size_t(g)] += amount;
        }
        if (total != 0) out.put(row, n + 3, total, 1, W::Align::Center);
        ++row;
    }
    out.totals(row, 3, groupTotals);
    return list;
}

void WriteCellList(const CellList& list, W& writer) {
    writer.addFont(QStringLiteral("Arial"), 10);             // 0: the default font
    writer.addFont(QStringLiteral("Arial"), 9);              // Font1
    writer.addFont(QStringLiteral("Arial"), 9, true);        // Font2
    writer.addFont(QStringLiteral("Arial"), 12, true);       // Font3
    writer.setMargins(0.6, 0.4, 0.3, 0.4);
    writer.setHeader(QString());
    writer.setFooter(QString());
    for (const auto& [col, width] : list.widths) writer.setColumnWidth(col, width);
    for (const ListCell& c : list.cells) {
        writer.setActiveFont(c.font);
        writer.setAlignment(c.align);
        writer.setBorders(c.borders);
        if (c.value.isNull()) writer.writeBlank(c.row, c.col);
        else if (c.value.typeId() == QMetaType::QString) writer.writeText(c.row, c.col, c.value.toString());
        else writer.writeNumber(c.row, c.col, double(c.value.toLongLong()));
    }
}

QString SaveAndOpenCellList(Services& s, const CellList& list) {
    const QString path = FreeTempFileName(s.folders.program, QStringLiteral("Borderou"), QStringLiteral(".xls"));
    if (path.isEmpty()) {
        s.messages().showError(QStringLiteral("Borderouri"),
                               QStringLiteral("Lista nu poate fi salvata: fisierele Borderou0.xls ... Borderou100.xls "
                                              "sunt toate deschise!\rInchideti listele deschise si reluati."));
        return {};
    }
    W writer;
    writer.begin(path);
    WriteCellList(list, writer);
    writer.save();
    s.desktop().openFile(path);
    return path;
}

namespace {

// Where BDBS keeps things (0-based): the group row, the template row, the first pair.
constexpr int kBdbsGroupRow = 5;
constexpr int kBdbsTemplateRow = 7;
constexpr int kBdbsPairColumn = 5;

std::unique_ptr<TExportXLSModel> filledCumulated(Services& s, const StatementPeriod& period,
                                                 CumulatedStatementRows& data) {
    data = CumulatedStatementData(s, period);
    auto list = OpenSummaryTemplate(s, QStringLiteral("BDBS"), QStringLiteral("BDBS.xls"));
    list->SetTextCell(QStringLiteral("#PRIMARIA"), TownHallName(s));
    list->SetTextCell(QStringLiteral("#PERIOADA"),
                      QStringLiteral("perioada ") + dayText(period.from) + QStringLiteral(" - ") + dayText(period.to));
    // Each group after the first copies the pair before the others: the first group ends
    // rightmost, just before "TOTAL", the last in the template's own pair.
    workbook::Sheet& sheet = list->book().sheet(0);
    for (int i = 1; i <= data.groups.size(); ++i) {
        if (i > 1) sheet.insertColumnCopies(kBdbsPairColumn, kBdbsPairColumn + 1, kBdbsPairColumn + 2);
        sheet.setText(kBdbsGroupRow, kBdbsPairColumn, data.groups[i - 1]);
        sheet.setText(kBdbsTemplateRow, kBdbsPairColumn, QStringLiteral("#A%1BD").arg(i));
        sheet.setText(kBdbsTemplateRow, kBdbsPairColumn + 1, QStringLiteral("#A%1BS").arg(i));
    }
    list->FillRows(data.rows);
    return list;
}

} // namespace

workbook::Workbook BuildCumulatedStatements(Services& s, const StatementPeriod& period, CumulatedStatementRows* rows) {
    CumulatedStatementRows data;
    workbook::Workbook book = filledCumulated(s, period, data)->TakeWorkbook();
    if (rows) *rows = std::move(data);
    return book;
}

QString ProduceCumulatedStatements(Services& s, const StatementPeriod& period) {
    CumulatedStatementRows data;
    auto list = filledCumulated(s, period, data);
    list->SaveAndOpen();
    return list->lastResult();
}

} // namespace vartesa
