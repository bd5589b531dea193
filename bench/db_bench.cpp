// Speed of the database engine on a synthetic commune of 10,000 roles and 140,000 debt lines.

#include "synthetic_commune.h"

#include "db/database.h"
#include "db/query.h"

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

db::Database& warmDatabase() {
    static db::Database database(communeFolder());
    static bool warm = false;
    if (!warm) {
        database.scalar("SELECT COUNT(*) FROM \"Datorii.dbf\" D JOIN \"Gospodar.dbf\" G ON G.IDGOS = D.IDGOS");
        warm = true;
    }
    return database;
}

void AttachDatoriiCold(benchmark::State& state) {
    const QString folder = communeFolder();
    for (auto _ : state) {
        db::Database database(folder);
        benchmark::DoNotOptimize(database.scalar("SELECT COUNT(*) FROM \"Datorii.dbf\""));
    }
}
BENCHMARK(AttachDatoriiCold)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

void GroupByGroup(benchmark::State& state) {
    db::Database& database = warmDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(database.query("SELECT GRUPA, COUNT(*), SUM(SUMA) FROM \"Datorii.dbf\" GROUP BY GRUPA"));
}
BENCHMARK(GroupByGroup)->Unit(benchmark::kMillisecond)->Repetitions(3);

void JoinByVillage(benchmark::State& state) {
    db::Database& database = warmDatabase();
    for (auto _ : state)
        benchmark::DoNotOptimize(database.query(
            "SELECT G.SATUL, SUM(D.SUMA) FROM \"Datorii.dbf\" D JOIN \"Gospodar.dbf\" G ON G.IDGOS = D.IDGOS "
            "GROUP BY G.SATUL"));
}
BENCHMARK(JoinByVillage)->Unit(benchmark::kMillisecond)->Repetitions(3);

void OneRoleLines(benchmark::State& state) {
    db::Database& database = warmDatabase();
    int role = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.query("SELECT * FROM \"Datorii.dbf\" WHERE IDGOS = ?", {role}));
        role = role % 10000 + 97;
    }
}
BENCHMARK(OneRoleLines)->Unit(benchmark::kMicrosecond)->Repetitions(3);

void ThousandUpdates(benchmark::State& state) {
    db::Database& database = warmDatabase();
    int round = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            database.exec("UPDATE \"Datorii.dbf\" SET SUMA = ? WHERE IDDAT = ?", {100 + round, 1 + (i * 131) % 140000});
        ++round;
    }
}
BENCHMARK(ThousandUpdates)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace

BENCHMARK_MAIN();
