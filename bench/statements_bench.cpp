// Speed of the debit statements on the synthetic commune's 10,000 roles with 140,000 assessed
// ledger lines, 5,000 lines entered by hand and 2,000 year debits over 100 statements: each list
// over the whole year with its file, and the largest statement's list. A fresh engine reads the
// tables each time, as the clerk's first list after the program starts.

#include "synthetic_commune.h"

#include "cash/debit_statements.h"
#include "db/database.h"
#include "documents/debit_statement_lists.h"
#include "shell/console_services.h"
#include "shell/services.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

const StatementPeriod kYear{QDate(2015, 1, 1), QDate(2015, 12, 31)};

const QString& communeFolder() {
    static QTemporaryDir dir;
    static const QString folder = [] {
        bench::CommuneSize size;
        size.manualLines = 5000;
        size.yearDebits = 2000;
        size.statements = 100;
        bench::writeSyntheticCommune(dir.path(), size);
        return dir.path();
    }();
    return folder;
}

std::unique_ptr<Services> communeServices() {
    static QTemporaryDir program;
    return ConsoleServices(program.path(), communeFolder(), OpenedFiles::Ignored);
}

// The charge statement with the most to show.
qint64 largestStatement() {
    auto s = communeServices();
    qint64 number = 1, amount = 0;
    for (const DebitStatement& st : DebitStatements(s->database(), s->folders.data))
        if (st.type == kChargeStatement && st.amount > amount) number = st.number, amount = st.amount;
    return number;
}

void writeList(Services& s, const CellList& list, benchmark::State& state) {
    workbook::Biff2Writer writer;
    writer.begin(s.folders.program + QStringLiteral("/Borderou.xls"));
    WriteCellList(list, writer);
    writer.save();
    state.counters["rows"] = double(list.lastRow - 7);
}

// The largest statement's list, over the whole year.
void StatementListLargest(benchmark::State& state) {
    const qint64 number = largestStatement();
    for (auto _ : state) {
        auto s = communeServices();
        writeList(*s, StatementList(*s, kChargeStatement, number, kYear), state);
    }
}
BENCHMARK(StatementListLargest)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

void StatementSummaryWholeYear(benchmark::State& state) {
    for (auto _ : state) {
        auto s = communeServices();
        writeList(*s, StatementSummary(*s, kYear), state);
    }
}
BENCHMARK(StatementSummaryWholeYear)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

void CumulatedStatementsWholeYear(benchmark::State& state) {
    for (auto _ : state) {
        auto s = communeServices();
        CumulatedStatementRows rows;
        BuildCumulatedStatements(*s, kYear, &rows).save(s->folders.program + QStringLiteral("/BDBS.xls"));
        state.counters["rows"] = double(rows.rows.count());
    }
}
BENCHMARK(CumulatedStatementsWholeYear)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace
