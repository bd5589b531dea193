// Speed of the role register screen's core on the synthetic commune's 10,000 roles:
// opening (reading and ordering the register), a village or number filter, and the
// positioning by name at each keystroke.

#include "synthetic_commune.h"

#include "db/database.h"
#include "roles/role_register.h"
#include "roles/role_search.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

const QString& registerFolder() {
    static QTemporaryDir dir;
    static const QString path = [] {
        bench::writeSyntheticCommune(dir.path());
        return dir.path();
    }();
    return path;
}

void RoleRegisterOpenCold(benchmark::State& state) {
    for (auto _ : state) {
        db::Database database(registerFolder());
        RoleRegister roles(database, registerFolder());
        RoleSearch search(roles);
        search.open();
        benchmark::DoNotOptimize(search.count());
    }
}
BENCHMARK(RoleRegisterOpenCold)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

struct Warm {
    db::Database database{registerFolder()};
    RoleRegister roles{database, registerFolder()};
    RoleSearch search{roles};
    Warm() { search.open(); }
};

Warm& warm() {
    static Warm w;
    return w;
}

void RoleRegisterOpenWarm(benchmark::State& state) {
    Warm& w = warm();
    for (auto _ : state) {
        w.search.open();
        benchmark::DoNotOptimize(w.search.count());
    }
}
BENCHMARK(RoleRegisterOpenWarm)->Unit(benchmark::kMillisecond)->Repetitions(5);

void RoleVillageFilter(benchmark::State& state) {
    Warm& w = warm();
    int village = 0;
    for (auto _ : state) {
        w.search.villageChanged(QStringLiteral("Satul %1").arg(village % 6 + 1));
        benchmark::DoNotOptimize(w.search.count());
        ++village;
    }
}
BENCHMARK(RoleVillageFilter)->Unit(benchmark::kMillisecond)->Repetitions(5);

void RoleNumberFilter(benchmark::State& state) {
    Warm& w = warm();
    w.search.villageChanged(QString());
    int number = 1;
    for (auto _ : state) {
        w.search.numberChanged(QString::number(number));
        benchmark::DoNotOptimize(w.search.count());
        number = number % 1600 + 37;
    }
}
BENCHMARK(RoleNumberFilter)->Unit(benchmark::kMillisecond)->Repetitions(5);

// One keystroke of a name typed into the whole register; the typed names end near the
// register's end, so each positioning reads most of the list.
void RoleNamePositioning(benchmark::State& state) {
    Warm& w = warm();
    w.search.villageChanged(QString());
    const QString name = QStringLiteral("contribuabil 9999");
    int typed = 0;
    for (auto _ : state) {
        typed = typed % name.size() + 1;
        w.search.nameChanged(name.left(typed));
        benchmark::DoNotOptimize(w.search.current());
    }
}
BENCHMARK(RoleNamePositioning)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace
