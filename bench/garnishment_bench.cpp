// Speed of a garnishment on the synthetic commune's 10,000 roles: the lines with their
// accounts and the three papers written, the engine warm.

#include "synthetic_accounts.h"

#include "admin/budget_codes.h"
#include "cash/account.h"
#include "documents/garnishments.h"
#include "shell/console_services.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "templates/embedded_templates.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

QTemporaryDir& garnishmentRoot() {
    static QTemporaryDir dir;
    return dir;
}

// The commune with its accounts, the budget codes and PopBanca2.rtf.
std::unique_ptr<Services> garnishmentServices() {
    static const QString data = [] {
        const QString folder = garnishmentRoot().path() + QStringLiteral("/Data");
        QDir().mkpath(folder);
        QDir().mkpath(garnishmentRoot().path() + QStringLiteral("/out"));
        bench::writeSyntheticCommune(folder);
        bench::writeSyntheticAccounts(folder);
        LoadEmbeddedTemplates();
        WriteResourceToFile(QStringLiteral("POPBANCA"), QStringLiteral("MODEL"), folder + QStringLiteral("/PopBanca2.rtf"));
        return folder;
    }();
    auto s = ConsoleServices(garnishmentRoot().path() + QStringLiteral("/out"), data, OpenedFiles::Ignored);
    CountersFile counters = s->counters();
    BudgetCodes(s->database(), data, counters).EnsureCodesTable();
    return s;
}

// One garnishment of role 7 to its bank on 10 October, its document written.
void GarnishmentWarm(benchmark::State& state) {
    auto s = garnishmentServices();
    const SummonsPrintSettings settings = ReadSummonsPrintSettings(*s, QStringLiteral("ADMIN"));
    const AccountRole role = OpenAccountRole(s->database(), s->folders.data, {false, true, true, {}}, 7, 2015);
    const auto garnish = [&] {
        return IssueGarnishment(*s, settings, role, role.role.village, GarnishmentTo::Bank, QDate(2015, 10, 10),
                                [](const GarnishmentDetail&) { return ThirdParty{QStringLiteral("77"), {}, {}}; },
                                s->folders.program + QStringLiteral("/Pop"), false);
    };
    garnish();
    for (auto _ : state) {
        const GarnishmentIssue done = garnish();
        state.counters["lines"] = double(done.detail.title.lines.size());
        benchmark::DoNotOptimize(done.file);
    }
}
BENCHMARK(GarnishmentWarm)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
