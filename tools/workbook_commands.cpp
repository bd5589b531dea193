// vartesa-tool xls-cat: a sheet of a .xls workbook as CSV, formulas by their
// last computed values; a formula the file asks to compute again (its stored value
// may be out of date) shows that value followed by the mark " (de recalculat)".

#include "commands.h"

#include "workbook/biff2_reader.h"
#include "workbook/workbook.h"

#include "db/error.h"

#include <QFile>
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
    // The lists written cell by cell are Excel 2.x files of one sheet.
    QFile file(args[0]);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(8);
        if (workbook::IsBiff2(bytes)) {
            const std::optional<workbook::Biff2Cells> cells = workbook::ReadBiff2(bytes + file.readAll());
            if (!cells) {
                err << "Registrul de calcul este deteriorat: fisierul Excel 2.x se termina inainte de sfarsitul foii.\n";
                return 1;
            }
            for (int r = 0; r <= cells->lastRow; ++r) {
                QStringList fields;
                for (int c = 0; c <= cells->lastColumn; ++c) fields << csvField(cells->text(r, c));
                out << fields.join(',') << '\n';
            }
            return 0;
        }
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
