// Speed of "Adaugare la plata" on the synthetic commune of 10,000 roles: making the commune
// (which assesses every role for the first time) and assessing every village again with
// nothing changed, as "vartesa-tool assess --all" does.

#include "db/database.h"
#include "roles/assessment.h"
#include "datafolder/synthetic_commune.h"
#include "admin/admin_constants.h"
#include "shell/console_services.h"
#include "shell/services.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

std::unique_ptr<Services> servicesIn(const QString& root) {
    return ConsoleServices(root, root + QStringLiteral("/Data"), OpenedFiles::Ignored);
}

void MakeSyntheticCommune(benchmark::State& state) {
    for (auto _ : state) {
        QTemporaryDir dir;
        auto services = servicesIn(dir.path());
        benchmark::DoNotOptimize(CreateSyntheticCommune(*services, {10000, 1, true}).roles);
    }
}
BENCHMARK(MakeSyntheticCommune)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

void AssessAllVillagesUnchanged(benchmark::State& state) {
    static QTemporaryDir dir;
    static const std::unique_ptr<Services> services = [] {
        auto s = servicesIn(dir.path());
        CreateSyntheticCommune(*s, {10000, 1, true});
        return s;
    }();
    AdminConstants constants;
    constants.load(*services);
    AssessRunHooks quiet;
    quiet.progress = [](int, int) {};
    for (auto _ : state) {
        const AssessRunResult r =
            AssessAllVillages(*services, constants, SyntheticVillages(), quiet);
        benchmark::DoNotOptimize(r.assessed);
    }
}
BENCHMARK(AssessAllVillagesUnchanged)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

} // namespace
