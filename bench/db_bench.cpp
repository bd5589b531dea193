// Speed of the database engine on a synthetic commune of 10,000 roles and 140,000 debt lines.

#include "synthetic_commune.h"

#include "books/ledger.h"
#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

const QString& communeFolder() {
    static QTemporaryDir dir;
    static const QString path = [] {
        bench::writeSyntheticCommune(dir.path());
        return dir.path();
    }();
    return path;
}

// The ledger joined to the register by role: the statement that loads both tables.
QString joinedByRole(const QString& columns, const QString& rest = {}) {
    return QStringLiteral("SELECT %1 FROM \"%2\" D JOIN \"%3\" G ON G.%4 = D.%5 %6")
        .arg(columns, tables::Ledger, tables::Roles, RoleColumns::id, LedgerColumns::role, rest);
}

db::Database& warmDatabase() {
    static db::Database database(communeFolder());
    static bool warm = false;
    if (!warm) {
        database.scalar(joinedByRole(QStringLiteral("COUNT(*)")));
        warm = true;
    }
    return database;
}

void AttachDatoriiCold(benchmark::State& state) {
    const QString folder = communeFolder();
    for (auto _ : state) {
        db::Database database(folder);
        benchmark::DoNotOptimize(database.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(tables::Ledger)));
    }
}
BENCHMARK(AttachDatoriiCold)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

void GroupByGroup(benchmark::State& state) {
    db::Database& database = warmDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(database.query(QStringLiteral("SELECT %1, COUNT(*), SUM(%2) FROM \"%3\" GROUP BY %1")
                                                    .arg(LedgerColumns::group, LedgerColumns::current, tables::Ledger)));
}
BENCHMARK(GroupByGroup)->Unit(benchmark::kMillisecond)->Repetitions(3);

void JoinByVillage(benchmark::State& state) {
    db::Database& database = warmDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(database.query(
            joinedByRole(QStringLiteral("G.%1, SUM(D.%2)").arg(RoleColumns::village, LedgerColumns::current),
                         QStringLiteral("GROUP BY G.%1").arg(RoleColumns::village))));
}
BENCHMARK(JoinByVillage)->Unit(benchmark::kMillisecond)->Repetitions(3);

void OneRoleLines(benchmark::State& state) {
    db::Database& database = warmDatabase();
    int role = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadLedgerLines(database, communeFolder(), role));
        role = role % 10000 + 97;
    }
}
BENCHMARK(OneRoleLines)->Unit(benchmark::kMicrosecond)->Repetitions(3);

void ThousandUpdates(benchmark::State& state) {
    db::Database& database = warmDatabase();
    int round = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const int line = (i * 131) % 140000; // lines are numbered from 1, fourteen to a role
            SetLedgerRemainders(database, communeFolder(), 1 + line / 14, 1 + line, 100 + round, 0);
        }
        ++round;
    }
}
BENCHMARK(ThousandUpdates)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace

BENCHMARK_MAIN();
