// Speed of the collections on the synthetic commune's 10,000 roles: one role's account
// grids (opening the role and computing them; computing them again for a new date), the
// role picker's filter at each keystroke and one payment stored.

#include "synthetic_accounts.h"

#include "cash/account.h"
#include "cash/payment.h"
#include "cash/role_picker.h"
#include "db/database.h"
#include "admin/budget_codes.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/table_files.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

const QString& communeFolder() {
    static QTemporaryDir dir;
    static const QString path = [] {
        bench::writeSyntheticCommune(dir.path());
        bench::writeSyntheticAccounts(dir.path());
        return dir.path();
    }();
    return path;
}

constexpr AccountRules kRules{false, true, true, {}};
const QDate kDate(2015, 10, 15);

struct Warm {
    db::Database database{communeFolder()};
    RolePicker picker{database};
    Warm() {
        // The engine reads each table once; later statements only check it for changes.
        BuildAccountGrids(database, communeFolder(), OpenAccountRole(database, communeFolder(), kRules, 1, 2015), kDate);
        picker.takeSnapshot(communeFolder());
    }
};

Warm& warm() {
    static Warm w;
    return w;
}

// Opening the screen for a role: its header and reductions, then the grids.
void AccountOpenAndBuildWarm(benchmark::State& state) {
    Warm& w = warm();
    qint64 role = 1;
    {
        const AccountGrids g = BuildAccountGrids(w.database, communeFolder(),
                                                 OpenAccountRole(w.database, communeFolder(), kRules, 1, 2015), kDate);
        if (g.taxes.size() != 4 || g.claims.empty() || g.debits.empty()) state.SkipWithError("the role has no account");
        state.counters["rows"] = double(g.taxes.size() + g.claims.size() + g.debits.size());
    }
    for (auto _ : state) {
        const AccountRole r = OpenAccountRole(w.database, communeFolder(), kRules, role, 2015);
        benchmark::DoNotOptimize(BuildAccountGrids(w.database, communeFolder(), r, kDate).total);
        role = (role + 996) % 10000 + 1;
    }
}
BENCHMARK(AccountOpenAndBuildWarm)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A new calculation date (CalcOm): the grids alone.
void AccountGridsWarm(benchmark::State& state) {
    Warm& w = warm();
    const AccountRole r = OpenAccountRole(w.database, communeFolder(), kRules, 4321, 2015);
    int day = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildAccountGrids(w.database, communeFolder(), r, kDate.addDays(day % 60)).total);
        ++day;
    }
}
BENCHMARK(AccountGridsWarm)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The clerk types a name letter by letter, then clears it.
void PickerFilterKeystroke(benchmark::State& state) {
    Warm& w = warm();
    const QString name = QStringLiteral("CONTRIBUABIL 12");
    int typed = 0;
    for (auto _ : state) {
        w.picker.apply({kAnyVillage, name.left(typed % (name.size() + 1)), {}, {}, {}, kAnyForm});
        benchmark::DoNotOptimize(w.picker.count());
        ++typed;
    }
}
BENCHMARK(PickerFilterKeystroke)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void PickerSnapshot(benchmark::State& state) {
    Warm& w = warm();
    for (auto _ : state) {
        w.picker.takeSnapshot(communeFolder());
        benchmark::DoNotOptimize(w.picker.count());
    }
}
BENCHMARK(PickerSnapshot)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

// A commune of its own for the payments, which change it: the undo tables, the
// classification codes and a cashier are added to the synthetic one.
const QString& paymentFolder() {
    static QTemporaryDir dir;
    static const QString path = [] {
        bench::writeSyntheticCommune(dir.path());
        bench::writeSyntheticAccounts(dir.path());
        db::Database database(dir.path());
        for (const QString& file : {tables::BalancesUndo, tables::LedgerUndo, tables::DebitsUndo})
            CreateTable(database, dir.path() + '/' + file, CatalogTable(file));
        CountersFile counters(dir.path() + QStringLiteral("/Vartesa.set"));
        BudgetCodes(database, dir.path(), counters).EnsureCodesTable();
        database.exec(QStringLiteral("UPDATE \"%1/CODCL.dbf\" SET CODCLF = '21020' || IDCOD, CODCLJ = '21030' || IDCOD")
                          .arg(dir.path()));
        counters.WriteCounter(QStringLiteral("CASIER"), QStringLiteral("SERIA"), QStringLiteral("BV"));
        return dir.path();
    }();
    return path;
}

// "&OPEREAZA" confirmed: a receipt of 4 lines (the four local taxes of a role, each paid
// 10 lei) allocated, coded, checked and stored with its snapshots and balances, file syncs
// included. The account grids are built outside the timing (AccountOpenAndBuildWarm).
void PayReceiptOfFourLines(benchmark::State& state) {
    const QString folder = paymentFolder();
    db::Database database(folder);
    CountersFile counters(folder + QStringLiteral("/Vartesa.set"));
    const Cashier cashier{QStringLiteral("CASIER"), QStringLiteral("L-1")};
    const QDate date(2015, 10, 15);
    qint64 role = 1;
    std::size_t lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const AccountRole r = OpenAccountRole(database, folder, kRules, role, 2015);
        AccountGrids grids = BuildAccountGrids(database, folder, r, date);
        for (TaxRow& t : grids.taxes) t.entered = 10;
        role = (role + 996) % 10000 + 1; // every role once, in a scattered order
        state.ResumeTiming();
        PaymentAllocation a = AllocatePayment(grids, date, r.noPenalty);
        const ReceiptNumbering n = ReadReceiptNumbering(database, folder, counters, cashier.name);
        FillDocumentLines(database, folder, a.lines, r.physicalPerson(), n.series, n.next);
        const PaymentDocument doc{DocumentKind::Receipt, date, r.role.name, n.next, n.series, r.role.id, cashier.name};
        if (const auto problem = CheckPaymentDocument(database, folder, counters, a.lines, doc)) {
            state.SkipWithError(problem->message.toStdString().c_str());
            break;
        }
        const StoredPayment s = StorePayment(database, folder, counters, r, grids, a, doc, cashier);
        if (!s.refusal.isEmpty()) {
            state.SkipWithError(s.refusal.toStdString().c_str());
            break;
        }
        lines = a.lines.size();
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(PayReceiptOfFourLines)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
