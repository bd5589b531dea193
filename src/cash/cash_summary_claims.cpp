// "Incasari - Denumire Cont": one row per document, one column block per tax name. The four
// local taxes have fixed blocks of the template (arrears and current, for physical and for
// legal persons); every other name gets a copy of the three-column block "L.R.", "CRT", "Total".

#include "cash/cash_register.h"
#include "cash/cash_summary_data.h"
#include "db/query.h"
#include "shell/services.h"
#include "shell/table_helpers.h"
#include "shell/text_helpers.h"

#include <QMap>

#include <algorithm>
#include <tuple>

namespace vartesa {

namespace {

// Where the template keeps things (0-based): the block of other names, its rows.
constexpr int kOtherBlockColumn = 55; // BD: "#TAXA" / "#CONT" / "L.R." "CRT" "Total"
constexpr int kNameRow = 5;           // row 6: tax names
constexpr int kCodeRow = 7;           // row 8: codes
constexpr int kDataRow = 10;          // row 11: the "#DBF" row

// The tax names of the selection: the four local taxes, then the others alphabetically.
QStringList taxNames(const std::vector<ReceiptLine>& lines) {
    QStringList others;
    for (const ReceiptLine& l : lines)
        if (GroupIndex(l.group) == 5 && !others.contains(l.group)) others << l.group;
    std::sort(others.begin(), others.end());
    return TaxGroups().mid(0, 4) + others;
}

// One copy of the other-names block per name beyond the first; each block's markers name
// its own columns (C41.. for the first, C44.. for the second ...). With no other name the
// block stays empty.
void shapeOtherBlocks(Services& s, workbook::Sheet& sheet, const QStringList& others) {
    for (int k = 1; k < others.size(); ++k)
        sheet.insertColumnCopies(kOtherBlockColumn, kOtherBlockColumn + 2, kOtherBlockColumn + 3 * k);
    if (others.isEmpty()) {
        for (int c = 0; c < 3; ++c) sheet.setBlank(kDataRow, kOtherBlockColumn + c);
        sheet.setBlank(kNameRow, kOtherBlockColumn);
        sheet.setBlank(kCodeRow, kOtherBlockColumn);
        return;
    }
    for (int k = 0; k < others.size(); ++k) {
        const int col = kOtherBlockColumn + 3 * k;
        const QString code = BudgetCodeOfGroup(s.database(), s.folders.data, others[k], true);
        sheet.setText(kNameRow, col, others[k]);
        sheet.setText(kCodeRow, col, code.isEmpty() ? QStringLiteral("-") : code);
        for (int c = 0; c < 3; ++c) sheet.setText(kDataRow, col + c, QStringLiteral("#C%1").arg(3 * k + 41 + c));
    }
}

// Per document: the identifying fields, TOTAL and C1 ... C(3n+28).
db::Query documentRows(const std::vector<ReceiptLine>& lines, const QStringList& names) {
    const int columns = 3 * int(names.size()) + 28;
    QStringList header{"IDCHIT", "ROL", "NUMEP", "TIP", "SERIA", "NR", "DATAI", "TOTAL"};
    for (int c = 1; c <= columns; ++c) header << QStringLiteral("C%1").arg(c);
    std::vector<std::vector<QVariant>> rows;
    std::vector<qint64> sums;
    auto flush = [&] {
        if (rows.empty()) return;
        for (size_t c = 0; c < sums.size(); ++c) rows.back()[7 + c] = sums[c];
    };
    QString key;
    for (const ReceiptLine& l : lines) {
        if (l.number < 0) continue; // documents numbered below zero are not listed
        const QString lineKey = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                                    .arg(l.idchit).arg(l.rol, l.taxpayer, l.kind(), l.series).arg(l.number)
                                    .arg(l.date.toJulianDay());
        if (lineKey != key) {
            flush();
            key = lineKey;
            rows.push_back({l.idchit, l.rol, l.taxpayer, l.kind(), l.series, l.number, l.date});
            rows.back().resize(size_t(header.size()));
            sums.assign(size_t(columns + 1), 0);
        }
        sums[0] += l.total;
        const int local = GroupIndex(l.group);
        const int position = local < 5 ? local - 1 : int(names.indexOf(l.group));
        if (position < 4) {
            const int b = 10 * position + (l.personType == QLatin1String("J") ? 6 : 1);
            sums[size_t(b)] += l.arrears;
            sums[size_t(b + 1)] += l.carried;
            sums[size_t(b + 2)] += l.current + l.credit;
            sums[size_t(b + 3)] -= l.reduction;
            sums[size_t(b + 4)] += l.penalties;
        } else {
            sums[size_t(3 * position + 29)] += l.arrears;
            sums[size_t(3 * position + 30)] += l.current + l.credit;
            sums[size_t(3 * position + 31)] += l.total;
        }
    }
    flush();
    return db::Query::fromRows(header, std::move(rows));
}

} // namespace

workbook::Workbook BuildClaimSummary(Services& s, const SummaryRequest& r) {
    s.progress().Describe(QStringLiteral("Caut chitantele..."));
    const QString cashier = RestrictedCashier(s, r.cashier);
    const std::vector<ReceiptLine> lines = SelectLines(s, r, CashKinds(r, true), cashier, [](const ReceiptLine& a, const ReceiptLine& b) {
        return std::tie(a.idchit, a.group) < std::tie(b.idchit, b.group);
    });
    const QStringList names = taxNames(lines);

    auto list = OpenSummaryTemplate(s, QStringLiteral("BORDRCINC"));
    shapeOtherBlocks(s, list->book().sheet(0), names.mid(4));
    for (int i = 0; i < 4; ++i) {
        list->SetTextCell(QStringLiteral("[C%1]").arg(2 * i + 1), BudgetCodeOfGroup(s.database(), s.folders.data, names[i], true));
        list->SetTextCell(QStringLiteral("[C%1]").arg(2 * i + 2), BudgetCodeOfGroup(s.database(), s.folders.data, names[i], false));
    }
    list->SetTextCell(QStringLiteral("#PRIMARIA"), QStringLiteral("UAT ") + TownHallName(s));
    list->SetTextCell(QStringLiteral("#CASIER"), cashier);
    list->SetTextCell(QStringLiteral("#PERIOADA"), QStringLiteral("in perioada ") + PeriodText(r));
    s.progress().Describe(QStringLiteral("Generez lista..."));
    db::Query data = documentRows(lines, names);
    list->FillRows(data);
    return list->TakeWorkbook();
}

} // namespace vartesa
