// Speed of the summonses on the synthetic commune's 10,000 roles with 2,000 summonses stored:
// issuing one with its document, the central list, the report of a year.

#include "synthetic_accounts.h"

#include "db/database.h"
#include "documents/summonses.h"
#include "shell/catalog.h"
#include "shell/console_services.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/table_files.h"
#include "templates/embedded_templates.h"
#include "workbook/workbook.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

QTemporaryDir& summonsRoot() {
    static QTemporaryDir dir;
    return dir;
}

// The commune, its summons tables holding 2,000 summonses of three lines, and Titlu.rtf.
const QString& summonsCommune() {
    static const QString path = [] {
        const QString data = summonsRoot().path() + QStringLiteral("/Data");
        QDir().mkpath(data);
        QDir().mkpath(summonsRoot().path() + QStringLiteral("/out"));
        bench::writeSyntheticCommune(data);
        bench::writeSyntheticAccounts(data);
        LoadEmbeddedTemplates();
        WriteResourceToFile(QStringLiteral("TITLU"), QStringLiteral("MODEL"), data + QStringLiteral("/Titlu.rtf"));
        db::Database db{data};
        for (const TableLayout& t : TableCatalog())
            if (t.file == tables::Summonses || t.file == tables::SummonsLines) CreateTable(db, data + '/' + t.file, t);
        db.exec(QStringLiteral("INSERT INTO \"%1/%2\" (IDSOM, IDGOS, NR, DINDATA, SUMA, DATACONF, TIPCONF, ANULAT, OBS) "
                               "SELECT IDGOS, IDGOS, IDGOS, 42005 + IDGOS % 360, 150, 0, '', "
                               "CASE WHEN IDGOS % 10 = 0 THEN 'DA' ELSE 'NU' END, '' FROM \"%1/%3\" WHERE IDGOS % 5 = 0")
                    .arg(data, tables::Summonses, tables::Roles));
        for (int k = 0; k < 3; ++k)
            db.exec(QStringLiteral("INSERT INTO \"%1/%2\" (IDSOM, IDGOS, GRUPA, TERMEN, RAMASITA, CURENT, ACCESORII) "
                                   "SELECT IDSOM, IDGOS, 'Impozit pe cladiri', 42094, 0, 40, 10 FROM \"%1/%3\"")
                        .arg(data, tables::SummonsLines, tables::Summonses));
        return data;
    }();
    return path;
}

std::unique_ptr<Services> summonsServices() {
    return ConsoleServices(summonsRoot().path() + QStringLiteral("/out"), summonsCommune(), OpenedFiles::Ignored);
}

// One summons stored and printed, the engine warm (each one is a new summons of role 7).
void IssueSummonsWarm(benchmark::State& state) {
    auto s = summonsServices();
    const SummonsPrintSettings settings = ReadSummonsPrintSettings(*s, QStringLiteral("ADMIN"));
    const auto issue = [&] {
        return IssueSummons(*s, settings, {false, true, true, {}}, 7, QDate(2015, 10, 10),
                            [](const SummonsDetail&) { return true; }, s->folders.program + QStringLiteral("/SomTit"),
                            false);
    };
    issue();
    for (auto _ : state) benchmark::DoNotOptimize(issue().id);
}
BENCHMARK(IssueSummonsWarm)->Unit(benchmark::kMillisecond)->Iterations(20);

void SummonsListWarm(benchmark::State& state) {
    auto s = summonsServices();
    ReadSummonsList(s->database(), s->folders.data);
    for (auto _ : state) benchmark::DoNotOptimize(ReadSummonsList(s->database(), s->folders.data).size());
}
BENCHMARK(SummonsListWarm)->Unit(benchmark::kMillisecond)->Iterations(10);

void SummonsReportOfAYearWarm(benchmark::State& state) {
    auto s = summonsServices();
    const QDate from(2015, 1, 1), to(2015, 12, 31);
    for (auto _ : state) {
        const auto rows = ReadSummonsReport(s->database(), s->folders.data, from, to, QStringLiteral("FIZICA"));
        BuildSummonsReport(*s, rows, from, to).save(s->folders.program + QStringLiteral("/Rap0.xls"));
        state.counters["rows"] = double(rows.size());
    }
}
BENCHMARK(SummonsReportOfAYearWarm)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
