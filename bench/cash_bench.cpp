// Speed of the collections on the synthetic commune's 10,000 roles: one role's account
// grids (opening the role and computing them; computing them again for a new date) and the
// role picker's filter at each keystroke.

#include "synthetic_accounts.h"

#include "cash/account.h"
#include "cash/role_picker.h"
#include "db/database.h"

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
        role = role % 10000 + 997;
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

} // namespace
