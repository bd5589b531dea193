// Speed of the payment notices on the synthetic commune's 10,000 roles: the amounts due of
// one role after another of the largest village, as a run of notices asks them.

#include "synthetic_accounts.h"

#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "documents/amounts_due.h"
#include "shell/table_files.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

const QString& noticesCommune() {
    static QTemporaryDir dir;
    static const QString path = [] {
        bench::writeSyntheticCommune(dir.path());
        bench::writeSyntheticAccounts(dir.path());
        return dir.path();
    }();
    return path;
}

QString largestVillage(db::Database& db) {
    return db
        .scalar(QStringLiteral("SELECT SATUL FROM \"%1/%2\" GROUP BY SATUL ORDER BY COUNT(*) DESC LIMIT 1")
                    .arg(noticesCommune(), tables::Roles))
        .toString();
}

// Every role of the village in turn, the engine warm: what one notice costs besides its text.
void AmountsDueOverAVillageWarm(benchmark::State& state) {
    db::Database database{noticesCommune()};
    const std::vector<Role> roles = ReadVillageRoles(database, noticesCommune(), largestVillage(database));
    if (roles.empty()) {
        state.SkipWithError("the village has no roles");
        return;
    }
    const AccountRules rules{false, true, true, {}};
    const QDate date(2015, 10, 15);
    ComputeAmountsDue(database, noticesCommune(), AmountsRole(roles[0], rules, 2015), date, false, true);
    size_t i = 0;
    for (auto _ : state) {
        const AccountRole owner = AmountsRole(roles[i++ % roles.size()], rules, 2015);
        benchmark::DoNotOptimize(ComputeAmountsDue(database, noticesCommune(), owner, date, owner.noPenalty, true).total);
    }
    state.counters["roles"] = double(roles.size());
}
BENCHMARK(AmountsDueOverAVillageWarm)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
