// Speed of "Adaugare la plata" on the synthetic commune of 10,000 roles: making the commune
// (which assesses every role for the first time) and assessing every village again with
// nothing changed, as "vartesa-tool assess --all" does.

#include "db/database.h"
#include "roles/assessment.h"
#include "roles/synthetic_commune.h"
#include "shell/admin_constants.h"
#include "shell/services.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

class QuietMessages final : public Messages {
public:
    MessageResult ShowErrors(const QString&, const QString&, MessageKind, MessageButtons) override {
        return MessageResult::Ok;
    }
    void ShowProblemHint(const QString&, QObject*) override {}
};

class QuietProgress final : public Progress {
public:
    void Arata(const QString&) override {}
    void Describe(const QString&) override {}
    void SetMaximum(int) override {}
    void Step(int) override {}
    void Distruge() override {}
};

class NoDesktop final : public Desktop {
public:
    bool openFile(const QString&) override { return false; }
};

std::unique_ptr<Services> servicesIn(const QString& root) {
    Folders f;
    f.program = f.machine = root;
    f.data = f.defaultData = root + QStringLiteral("/Data");
    return std::make_unique<Services>(
        f, std::make_unique<QuietMessages>(), std::make_unique<QuietProgress>(),
        std::make_unique<NoDesktop>(), std::make_unique<SystemClock>());
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
