// Speed of the cash register on a year of receipts: the synthetic commune's 10,000 roles
// with 20,000 documents (four lines each, three cashiers, spread over the year) and a manual
// payment every other day. Opening the register and every summary over the whole year, the
// .xls written.
//
// The payment core stores about seven documents a second, so 2,000 payments go through it
// and their lines are then copied nine times under new identifiers and numbers, the same
// days and cashiers. The year is made once into <temp>/vartesa-bench-register-<version> (or
// $VARTESA_BENCH_DATA) and reused by later runs.

#include "synthetic_accounts.h"

#include "books/receipts.h"
#include "cash/account.h"
#include "cash/cash_register.h"
#include "cash/cash_summaries.h"
#include "cash/payment.h"
#include "db/database.h"
#include "db/error.h"
#include "admin/budget_codes.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/console_services.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace vartesa;

namespace {

constexpr int kStored = 2000;   // payments stored through the payment core
constexpr int kCopies = 10;     // the year holds kStored * kCopies documents
const QDate kYearStart(2015, 1, 5);
const QStringList kCashiers{"CASIER1", "CASIER2", "CASIER3"};

// The year's documents, one payment operation each, through the payment core.
void storeYearOfPayments(const QString& folder) {
    db::Database database(folder);
    for (const QString& file : {tables::BalancesUndo, tables::LedgerUndo, tables::DebitsUndo, tables::CashRegister})
        CreateTable(database, folder + '/' + file, CatalogTable(file));
    CountersFile counters(folder + QStringLiteral("/Vartesa.set"));
    BudgetCodes(database, folder, counters).EnsureCodesTable();
    database.exec(QStringLiteral("UPDATE \"%1/CODCL.dbf\" SET CODCLF = '21020' || IDCOD, CODCLJ = '21030' || IDCOD").arg(folder));
    for (int c = 0; c < kCashiers.size(); ++c)
        counters.WriteCounter(kCashiers[c], QStringLiteral("SERIA"), QStringLiteral("S%1").arg(c + 1));
    // The synthetic receipts (one line each, no cashier) make way for the year's documents.
    const QString receipts = ReceiptsTable(folder);
    database.exec(QStringLiteral("DELETE FROM \"%1\"").arg(receipts));
    const AccountRules rules{false, true, true, {}};
    for (int i = 0; i < kStored; ++i) {
        const qint64 role = qint64(i) * 997 % 10000 + 1;
        const QDate date = kYearStart.addDays(i * 355 / kStored);
        const Cashier cashier{kCashiers[i % 3], QStringLiteral("L-%1").arg(i % 3)};
        const AccountRole r = OpenAccountRole(database, folder, rules, role, 2015);
        AccountGrids grids = BuildAccountGrids(database, folder, r, date);
        for (TaxRow& t : grids.taxes) t.entered = 10 + i % 7;
        PaymentAllocation a = AllocatePayment(grids, date, r.noPenalty);
        const ReceiptNumbering n = ReadReceiptNumbering(database, folder, counters, cashier.name);
        FillDocumentLines(database, folder, a.lines, r.physicalPerson(), n.series, n.next);
        const StoredPayment s = StorePayment(database, folder, counters, r, grids, a,
                                             {DocumentKind::Receipt, date, r.role.name, n.next, n.series, r.role.id, cashier.name},
                                             cashier);
        if (!s.refusal.isEmpty()) std::fprintf(stderr, "plata %d refuzata: %s\n", i, qPrintable(s.refusal));
        if (i % 500 == 0) std::fprintf(stderr, "anul de incasari: %d / %d documente\n", i, kStored);
    }
    // The stored documents again under new identifiers and numbers.
    QStringList fields;
    for (const db::Field& f : database.layout(receipts).fields) fields << f.name;
    const QString columns = fields.join(QStringLiteral(", "));
    QString shifted = columns;
    shifted.replace(ReceiptLineColumns::id, QStringLiteral("%1 + ? AS %1").arg(ReceiptLineColumns::id));
    shifted.replace(QRegularExpression(QStringLiteral("\\b%1\\b").arg(ReceiptLineColumns::number)),
                    QStringLiteral("%1 + ? AS %1").arg(ReceiptLineColumns::number));
    for (int k = 1; k < kCopies; ++k)
        database.exec(QStringLiteral("INSERT INTO \"%1\" (%2) SELECT %3 FROM \"%1\" WHERE IDCHIT < 1000000")
                          .arg(receipts, columns, shifted),
                      {qint64(k) * 1000000, qint64(k) * 100000});
    for (int d = 0; d < 355; d += 2)
        database.exec(QStringLiteral("INSERT INTO \"%1/RegCasa.dbf\" (IDRC, DATAI, DOCJUS, INCANUME, PLATIT, INCASAT) "
                                     "VALUES (?, ?, 'Dispozitie de plata', ?, 40, 0)").arg(folder),
                      {d + 1, kYearStart.addDays(d), kCashiers[d % 3]});
}

const QString& yearFolder() {
    static const QString path = [] {
        const QString env = qEnvironmentVariable("VARTESA_BENCH_DATA");
        const QString folder = (env.isEmpty() ? QDir::tempPath() : env) + QStringLiteral("/vartesa-bench-register-1");
        if (!QFile::exists(folder + QStringLiteral("/gata"))) {
            QDir(folder).removeRecursively();
            QDir().mkpath(folder);
            bench::writeSyntheticCommune(folder);
            bench::writeSyntheticAccounts(folder);
            storeYearOfPayments(folder);
            QFile done(folder + QStringLiteral("/gata"));
            done.open(QIODevice::WriteOnly);
        }
        return folder;
    }();
    return path;
}

std::unique_ptr<Services> yearServices() {
    static QTemporaryDir program;
    auto s = ConsoleServices(program.path(), yearFolder(), OpenedFiles::Ignored);
    s->user = QStringLiteral("ADMIN");
    s->grade = UserGrade::Admin;
    return s;
}

// Opening the screen as the clerk does: a fresh engine reads the receipts, the register
// is built, the cashiers listed and the first day filtered.
void RegisterOpenCold(benchmark::State& state) {
    yearFolder();
    for (auto _ : state) {
        auto s = yearServices();
        CashRegister r(*s);
        r.Open();
        benchmark::DoNotOptimize(r.Cashiers());
        benchmark::DoNotOptimize(r.Day(QDate(2015, 6, 15), AnyCashier()).carry());
        state.counters["rows"] = double(r.rows().size());
    }
}
BENCHMARK(RegisterOpenCold)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);

// Opening it again in the same run: the engine holds the receipts already and only checks
// the files for changes, as after the first opening of the day.
void RegisterOpenWarm(benchmark::State& state) {
    auto s = yearServices();
    CashRegister(*s).Open();
    for (auto _ : state) {
        CashRegister r(*s);
        r.Open();
        benchmark::DoNotOptimize(r.Day(QDate(2015, 6, 15), AnyCashier()).carry());
    }
}
BENCHMARK(RegisterOpenWarm)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);

// A change of "Din data" or "Operator": the balances of another day and cashier.
void RegisterFilterDay(benchmark::State& state) {
    auto s = yearServices();
    CashRegister r(*s);
    r.Open();
    int d = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(r.Day(kYearStart.addDays(d % 355), kCashiers[d % 3]).previous);
        ++d;
    }
}
BENCHMARK(RegisterFilterDay)->Unit(benchmark::kMicrosecond);

// Every summary over the whole year (the second argument: up to the end of that month), the
// workbook written to a file, as the clerk's first summary after the program starts: a fresh
// engine reads the tables.
void SummaryWholeYear(benchmark::State& state) {
    const auto kind = SummaryKind(state.range(0));
    const QDate last = QDate(2015, int(state.range(1)), 1).addMonths(1).addDays(-1);
    const SummaryRequest year{QDate(2015, 1, 1), last, true, AnyCashier()};
    QString file;
    try {
        for (auto _ : state) {
            auto s = yearServices();
            file = s->folders.program + QStringLiteral("/an.xls");
            BuildSummary(*s, kind, year).save(file);
        }
    } catch (const Error& e) {
        state.SkipWithError(e.text().toStdString().c_str()); // a list longer than a sheet's 65,536 rows
        return;
    }
    state.counters["bytes"] = double(QFileInfo(file).size());
}
BENCHMARK(SummaryWholeYear)
    ->ArgsProduct({benchmark::CreateDenseRange(int(SummaryKind::Register), int(SummaryKind::Compensations), 1), {12}})
    // Every line of the synthetic year pays arrears: the whole year's arrears list is longer
    // than a sheet, ten months of it fit.
    ->Args({int(SummaryKind::Arrears), 10})
    ->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace
