// The summaries that have no template and are written cell by cell: "Chitante - Numar Cont",
// "Chitante - Incasator" and "Centralizator compensari".

#include "cash/cash_register.h"
#include "cash/cash_summary_data.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/services.h"
#include "shell/table_helpers.h"
#include "shell/text_helpers.h"
#include "shell/table_files.h"

#include <QMap>

#include <algorithm>
#include <tuple>

namespace vartesa {

namespace {

// A new one-sheet workbook with the few looks these summaries use.
struct SheetWriter {
    workbook::Workbook book{QStringList{QStringLiteral("Centralizator")}};
    workbook::Sheet& sheet = book.sheet(0);
    int title, bold, heading, number, date;

    SheetWriter() {
        workbook::Font font;
        font.weight = 700;
        const int boldFont = book.addFont(font);
        font.height = 240;
        const int titleFont = book.addFont(font);
        const int lei = book.addFormat(QStringLiteral("#,##0"));
        title = book.addXf({titleFont, 0, 1});
        bold = book.addXf({boldFont, 0, 1});
        heading = book.addXf({boldFont, 0, 2, 1, true, 15});
        number = book.addXf({0, lei, 3, 2, false, 15});
        date = book.addXf({0, book.addFormat(QStringLiteral("dd.mm.yyyy")), 2, 2, false, 15});
    }
    void text(int row, int col, const QString& value, int xf) {
        sheet.setText(row, col, value);
        sheet.setCellFormat(row, col, xf);
    }
    // A zero amount leaves its cell empty but bordered.
    void amount(int row, int col, qint64 value) {
        if (value != 0) sheet.setNumber(row, col, double(value));
        else sheet.setBlank(row, col);
        sheet.setCellFormat(row, col, number);
    }
    // The three lines over every summary: town hall, cashier, period.
    void top(Services& s, const QString& cashier, const SummaryRequest& r, const QString& heading) {
        text(0, 0, QStringLiteral("PRIMARIA ") + TownHallName(s), bold);
        text(1, 0, QStringLiteral("Casier"), bold);
        text(1, 1, cashier, bold);
        text(2, 0, QStringLiteral("Perioada"), bold);
        text(2, 1, PeriodText(r), bold);
        text(4, 0, heading, title);
    }
};

// The text naming a document: series, number and date, "O.P. " before a hand-numbered one.
QString documentText(const ReceiptLine& l) {
    const QString text = (l.series + ' ' + QString::number(l.number) + QStringLiteral(" /") + DateText(l.date)).trimmed();
    return text.startsWith('-') ? QStringLiteral("O.P. ") + text : text;
}

// One column block of a summary: the labels above it and the headings of its columns.
struct Block {
    QStringList labels;   // the lines over the block, the last in row 7 (0-based 6)
    int labelColumn = 0;  // column of the block the labels stand over
    QStringList headings; // one per column, row 8 (0-based 7)
    int first = 0;        // first sheet column
};

// One row per document: role, name, document text, the block columns and the total.
struct DocumentRow {
    qint64 idchit = 0;
    QString role, name, document;
    std::vector<qint64> cells;
    qint64 total = 0;
};

// The row of line `l`'s document: the lines come ordered by IDCHIT, so another document
// opens a new row.
DocumentRow& documentRowOf(std::vector<DocumentRow>& rows, const ReceiptLine& l, int columns) {
    if (rows.empty() || rows.back().idchit != l.idchit)
        rows.push_back({l.idchit, l.rol, l.taxpayer, documentText(l), std::vector<qint64>(size_t(columns), 0), 0});
    return rows.back();
}

// Writes the grid: headings in rows 7 and 8, documents from row 9, "Totaluri :" below.
void writeGrid(SheetWriter& w, const std::vector<Block>& blocks, const QStringList& leftHeadings,
               const QString& leftUnder, const std::vector<DocumentRow>& rows, int columns) {
    for (int c = 0; c < leftHeadings.size(); ++c) w.text(6, c, leftHeadings[c], w.heading);
    w.text(7, 2, leftUnder, w.heading);
    for (const Block& b : blocks) {
        for (int i = 0; i < b.labels.size(); ++i)
            w.text(6 - int(b.labels.size()) + 1 + i, b.first + b.labelColumn, b.labels[i], w.heading);
        for (int c = 0; c < b.headings.size(); ++c) w.text(7, b.first + c, b.headings[c], w.heading);
    }
    const int last = 3 + columns;
    w.text(6, last, QStringLiteral("TOTAL"), w.heading);
    w.text(7, last, QStringLiteral("general"), w.heading);
    std::vector<qint64> sums(size_t(columns + 1), 0);
    int row = 8;
    for (const DocumentRow& d : rows) {
        w.text(row, 0, d.role, w.number);
        w.text(row, 1, d.name, w.number);
        w.text(row, 2, d.document, w.number);
        for (int c = 0; c < columns; ++c) {
            w.amount(row, 3 + c, d.cells[size_t(c)]);
            sums[size_t(c)] += d.cells[size_t(c)];
        }
        w.amount(row, last, d.total);
        sums[size_t(columns)] += d.total;
        ++row;
    }
    w.text(row, 2, QStringLiteral("Totaluri :"), w.heading);
    for (int c = 0; c <= columns; ++c) w.amount(row, 3 + c, sums[size_t(c)]);
}

// The code list of "Chitante - Numar Cont": the local taxes' codes, then the other claims'.
QStringList accountCodes(Services& s) {
    QStringList codes;
    for (int i = 0; i < 4; ++i) {
        codes << BudgetCodeOfGroup(s.database(), s.folders.data, TaxGroups()[i], true)
              << BudgetCodeOfGroup(s.database(), s.folders.data, TaxGroups()[i], false);
    }
    const QString table = s.folders.data + '/' + tables::BudgetCodes;
    if (s.database().tableExists(table)) {
        db::Query q = s.database().query(
            QStringLiteral("SELECT TRIM(CODCLF) AS F, TRIM(CODCLJ) AS J FROM \"%1\" WHERE TRIM(TIP) <> 'I' ORDER BY CODCLF").arg(table));
        for (q.first(); !q.eof(); q.next()) codes << q.text("F") << q.text("J");
    }
    return codes;
}

} // namespace

workbook::Workbook BuildAccountSummary(Services& s, const SummaryRequest& r) {
    const QString cashier = RestrictedCashier(s, r.cashier);
    const std::vector<ReceiptLine> lines =
        SelectLines(s, r, CashKinds(r, true), cashier, [](const ReceiptLine& a, const ReceiptLine& b) {
            return std::tie(a.series, a.number, a.code, a.idchit) < std::tie(b.series, b.number, b.code, b.idchit);
        });
    const QStringList codes = accountCodes(s);
    // Each used code: its place in the list (0 when absent) and whether it is a tax code.
    struct Used { int place; bool tax; QString code; };
    std::vector<Used> used;
    for (const ReceiptLine& l : lines) {
        if (std::any_of(used.begin(), used.end(), [&](const Used& u) { return u.code == l.code; })) continue;
        const int place = int(codes.indexOf(l.code)) + 1;
        used.push_back({place, place >= 1 && place <= 8, l.code});
    }
    std::sort(used.begin(), used.end(), [](const Used& a, const Used& b) {
        return a.place != b.place ? a.place < b.place : a.code < b.code;
    });
    std::vector<Block> blocks;
    QMap<QString, int> blockOf;
    int columns = 0;
    for (const Used& u : used) {
        Block b;
        b.first = 3 + columns;
        b.labels = {u.code};
        if (u.tax) {
            b.labelColumn = 3;
            b.headings = {"Curent", "Bonif.", "Major.", "Ram.", "Major.", "Total."};
        } else {
            b.headings = {"F.Debit"};
        }
        blockOf.insert(u.code, int(blocks.size()));
        columns += int(b.headings.size());
        blocks.push_back(b);
    }
    std::vector<DocumentRow> rows;
    for (const ReceiptLine& l : lines) {
        DocumentRow& d = documentRowOf(rows, l, columns);
        const Block& b = blocks[size_t(blockOf.value(l.code))];
        const size_t at = size_t(b.first - 3);
        // Several lines of one document on one code add up rather than overwrite each other.
        if (b.headings.size() == 6) {
            const qint64 parts[] = {l.current + l.credit, l.reduction, l.penalties, l.arrears, l.carried, l.total};
            for (size_t i = 0; i < 6; ++i) d.cells[at + i] += parts[i];
            d.total += l.total;
        } else {
            d.cells[at] += l.arrears + l.current + l.credit;
            d.total += l.arrears + l.current + l.credit;
        }
    }
    SheetWriter w;
    w.top(s, cashier, r, QStringLiteral("CENTRALIZATOR DE INCASARI SI PLATI PE NUMAR DE CONT"));
    writeGrid(w, blocks, {"R.O.L.", "Titular", "Nr.chit."}, QStringLiteral("Borderou, O.P"), rows, columns);
    return std::move(w.book);
}

workbook::Workbook BuildCompensationSummary(Services& s, const SummaryRequest& r) {
    const QString cashier = RestrictedCashier(s, r.cashier);
    const std::vector<ReceiptLine> lines = SelectLines(s, r, {QStringLiteral("N")}, cashier,
                                                         [](const ReceiptLine& a, const ReceiptLine& b) { return a.idchit < b.idchit; });
    // Blocks per (tax name, code, person type): the local taxes first, in their order.
    struct Key { int order; QString name, code, type; };
    std::vector<Key> keys;
    auto keyOf = [](const ReceiptLine& l) { return Key{GroupIndex(l.group), l.group, l.code, l.personType}; };
    auto same = [](const Key& a, const Key& b) { return a.name == b.name && a.code == b.code && a.type == b.type; };
    for (const ReceiptLine& l : lines) {
        const Key k = keyOf(l);
        if (std::none_of(keys.begin(), keys.end(), [&](const Key& e) { return same(e, k); })) keys.push_back(k);
    }
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return std::tie(a.order, a.name, a.code, a.type) < std::tie(b.order, b.name, b.code, b.type);
    });
    std::vector<Block> blocks;
    int columns = 0;
    for (const Key& k : keys) {
        Block b;
        b.first = 3 + columns;
        b.labels = {k.name, k.code + QStringLiteral(" / ") + (k.type == QLatin1String("J") ? "PJ" : "PF")};
        b.headings = k.order < 5 ? QStringList{"Curent", "Bonif.", "Ram.", "Major.", "Total"} : QStringList{"F.Debit"};
        columns += int(b.headings.size());
        blocks.push_back(b);
    }
    std::vector<DocumentRow> rows;
    for (const ReceiptLine& l : lines) {
        DocumentRow& d = documentRowOf(rows, l, columns);
        const Key k = keyOf(l);
        const auto at = std::find_if(keys.begin(), keys.end(), [&](const Key& e) { return same(e, k); }) - keys.begin();
        const Block& b = blocks[size_t(at)];
        const size_t c = size_t(b.first - 3);
        if (b.headings.size() == 5) {
            const qint64 parts[] = {l.current + l.credit, l.reduction, l.arrears, l.carried + l.penalties, l.total};
            for (size_t i = 0; i < 5; ++i) d.cells[c + i] += parts[i];
        } else {
            d.cells[c] += l.total;
        }
        d.total += l.total;
    }
    SheetWriter w;
    w.top(s, cashier, r, QStringLiteral("CENTRALIZATOR COMPENSARI"));
    writeGrid(w, blocks, {"ROL", "Titular", "Borderou"}, QString(), rows, columns);
    return std::move(w.book);
}

workbook::Workbook BuildCashierSummary(Services& s, const SummaryRequest& r) {
    const QString cashier = RestrictedCashier(s, r.cashier);
    const std::vector<ReceiptLine> lines =
        SelectLines(s, r, CashKinds(r, false), cashier, [](const ReceiptLine& a, const ReceiptLine& b) {
            return std::tie(a.series, a.number, a.date, a.cashier) < std::tie(b.series, b.number, b.date, b.cashier);
        });
    SheetWriter w;
    w.top(s, cashier, r, QStringLiteral("LISTA CHITANTELOR ELIBERATE"));
    const QStringList headings{"Nr.Crt.", "Seria", "Numar", "Data", "Incasator", "Total"};
    for (int c = 0; c < headings.size(); ++c) w.text(6, c, headings[c], w.heading);
    struct Receipt { QString series; qint64 number; QDate day; QString cashier; qint64 total; };
    std::vector<Receipt> receipts;
    for (const ReceiptLine& l : lines) {
        const QString series = l.series.isEmpty() || l.series == QLatin1String("-") ? QStringLiteral(" - ") : l.series;
        if (receipts.empty() || receipts.back().series != series || receipts.back().number != l.number ||
            receipts.back().day != l.date || receipts.back().cashier != l.cashier)
            receipts.push_back({series, l.number, l.date, l.cashier, 0});
        receipts.back().total += l.total;
    }
    int row = 7, n = 0;
    qint64 total = 0;
    for (const Receipt& rc : receipts) {
        if (rc.total == 0) continue;
        w.amount(row, 0, ++n);
        w.text(row, 1, rc.series, w.number);
        w.amount(row, 2, rc.number);
        w.sheet.setNumber(row, 3, double(QDate(1899, 12, 30).daysTo(rc.day)));
        w.sheet.setCellFormat(row, 3, w.date);
        w.text(row, 4, rc.cashier, w.number);
        w.amount(row, 5, rc.total);
        total += rc.total;
        ++row;
    }
    w.text(row, 4, QStringLiteral("TOTAL"), w.heading);
    w.amount(row, 5, total);
    return std::move(w.book);
}

} // namespace vartesa
