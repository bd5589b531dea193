// Speed of filling a list template: 10,000 rows, each a copy of the template row
// with 10 cells written, then the workbook saved.

#include "workbook/template_source.h"
#include "workbook/workbook.h"

#include <benchmark/benchmark.h>

using namespace vartesa::workbook;

namespace {

constexpr int TemplateRow = 7; // row 8 in the sheet, below a title and a header

// Title, header, a template row with a product formula in J, a total ending on the
// template; the fill writes columns A-I and K of each copy.
Workbook listTemplate() {
    Workbook wb({QStringLiteral("Lista")});
    int money = wb.addXf({0, wb.addFormat(QStringLiteral("#,##0.00")), 3, 2, false, 0x0F});
    int text = wb.addXf({0, 0, 1, 2, false, 0x0F});
    Sheet& s = wb.sheet(0);
    s.setText(0, 0, QStringLiteral("Lista de plata"));
    s.mergeCells({0, 0, 0, 9});
    for (int c = 0; c < 10; ++c)
        s.setText(6, c, QStringLiteral("Coloana %1").arg(c + 1));
    for (int c = 0; c < 9; ++c) {
        s.setBlank(TemplateRow, c);
        s.setCellFormat(TemplateRow, c, c < 4 ? text : money);
    }
    s.setFormula(TemplateRow, 9, QStringLiteral("G8*H8"));
    s.setCellFormat(TemplateRow, 9, money);
    s.setFormula(TemplateRow + 1, 9, QStringLiteral("SUM(J7:J8)"));
    return wb;
}

void FillTenThousandRows(benchmark::State& state) {
    qint64 bytes = 0;
    for (auto _ : state) {
        Workbook wb = listTemplate();
        Sheet& s = wb.sheet(0);
        int row = TemplateRow;
        for (int i = 0; i < 10000; ++i, ++row) {
            s.insertRowCopies(row);
            s.setNumber(row, 0, i + 1);
            s.setText(row, 1, QStringLiteral("Contribuabil %1").arg(i));
            s.setText(row, 2, QStringLiteral("Strada Mare nr. %1").arg(i % 300));
            s.setText(row, 3, QStringLiteral("RO%1").arg(1000000 + i));
            s.setNumber(row, 4, 2024);
            s.setNumber(row, 5, i % 7);
            s.setNumber(row, 6, 1 + i % 5);
            s.setNumber(row, 7, 12.5 + i % 100);
            s.setNumber(row, 8, (i % 13) * 3.25);
            s.setText(row, 10, i % 2 ? QStringLiteral("achitat") : QStringLiteral("restant"));
        }
        s.deleteRows(row);
        QByteArray file = wb.toBytes();
        bytes = file.size();
        benchmark::DoNotOptimize(file);
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(FillTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

// Finding a marker cell on a filled 10,000-row list (the fillers look markers up
// after the rows are in).
void FindMarkerOnTenThousandRows(benchmark::State& state) {
    Workbook wb = listTemplate();
    Sheet& s = wb.sheet(0);
    for (int i = 0; i < 10000; ++i) {
        s.insertRowCopies(TemplateRow);
        s.setText(TemplateRow, 1, QStringLiteral("Contribuabil %1").arg(i));
    }
    s.setText(TemplateRow + 10001, 9, QStringLiteral("{TOTAL}"));
    for (auto _ : state)
        benchmark::DoNotOptimize(findMarker(s, QStringLiteral("TOTAL")));
}
BENCHMARK(FindMarkerOnTenThousandRows)->Unit(benchmark::kMillisecond);

} // namespace
