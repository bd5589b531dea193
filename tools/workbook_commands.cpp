// vartesa-tool xls-cat: a sheet of a .xls workbook as CSV, formulas by their
// last computed values; a formula the file asks to compute again (its stored value
// may be out of date) shows that value followed by the mark " (de recalculat)".

#include "commands.h"

#include "workbook/workbook.h"

#include "db/error.h"

#include <QTextStream>

namespace vartesa::tool {
namespace {

const QString RecalcMark = QStringLiteral(" (de recalculat)");

// The sheet named `which`, else the one at that 1-based position, else the first.
const workbook::Sheet& chooseSheet(workbook::Workbook& wb, const QString& which) {
    if (which.isEmpty())
        return wb.sheet(0);
    if (int i = wb.sheetIndex(which); i >= 0)
        return wb.sheet(i);
    bool number = false;
    int n = which.toInt(&number);
    if (number)
        return wb.sheet(n - 1);
    return wb.sheet(which); // throws naming the missing sheet
}

} // namespace

int runXlsCat(const QStringList& args) {
    QTextStream out(stdout), err(stderr);
    if (args.isEmpty() || args.size() > 2) {
        err << "Utilizare: vartesa-tool xls-cat FISIER [FOAIE]\n";
        return 2;
    }
    try {
        workbook::Workbook wb = workbook::Workbook::open(args[0]);
        const workbook::Sheet& sheet = chooseSheet(wb, args.value(1));
        const int lastRow = sheet.lastRow(), lastCol = sheet.lastColumn();
        for (int r = 0; r <= lastRow; ++r) {
            QStringList fields;
            for (int c = 0; c <= lastCol; ++c)
                fields << csvField(sheet.needsRecalculation(r, c) ? sheet.text(r, c) + RecalcMark : sheet.text(r, c));
            out << fields.join(',') << '\n';
        }
        return 0;
    } catch (const Error& e) {
        err << e.text() << '\n';
        return 1;
    }
}

} // namespace vartesa::tool
