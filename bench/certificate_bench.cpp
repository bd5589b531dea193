// Speed of the fiscal certificate and the confirmations on the synthetic commune's 10,000
// roles: one certificate with its document, the register of 5,000 confirmations opened and
// searched by a name being typed.

#include "synthetic_accounts.h"

#include "admin/admin_constants.h"
#include "db/database.h"
#include "db/query.h"
#include "documents/certificate.h"
#include "documents/confirmations.h"
#include "shell/catalog.h"
#include "shell/console_services.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/table_files.h"
#include "templates/embedded_templates.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vartesa;

namespace {

QTemporaryDir& certificateRoot() {
    static QTemporaryDir dir;
    return dir;
}

// The commune with every other table of the catalog, CFiscal3.rtf and 5,000 confirmations.
const QString& certificateCommune() {
    static const QString path = [] {
        const QString data = certificateRoot().path() + QStringLiteral("/Data");
        QDir().mkpath(data);
        QDir().mkpath(certificateRoot().path() + QStringLiteral("/out"));
        bench::writeSyntheticCommune(data);
        bench::writeSyntheticAccounts(data);
        LoadEmbeddedTemplates();
        WriteResourceToFile(QStringLiteral("CFISCAL"), QStringLiteral("MODEL"), data + QStringLiteral("/CFiscal3.rtf"));
        db::Database db{data};
        for (const TableLayout& t : TableCatalog())
            if (!db.tableExists(data + '/' + t.file)) CreateTable(db, data + '/' + t.file, t);
        const db::Query roles =
            db.query(QStringLiteral("SELECT IDGOS, ROL, NUMEP, ADRESA, SATUL FROM \"%1/%2\" WHERE IDGOS % 2 = 0")
                         .arg(data, tables::Roles));
        db.begin();
        for (int r = 0; r < roles.count(); ++r) {
            ConfirmationRecord c;
            c.id = c.roleId = c.number = roles.cell(r, 0).toLongLong();
            c.date = c.listDate = c.addressDate = QDate(2015, 1, 1).addDays(r % 360);
            c.listNumber = 12;
            c.addressNumber = 7;
            c.rol = roles.cell(r, 1).toString();
            c.code = QStringLiteral("07.01.01");
            c.senderName = QStringLiteral("DGFP");
            c.amount = 150;
            c.nature = QStringLiteral("Impozit pe cladiri");
            c.name = roles.cell(r, 2).toString();
            c.address = roles.cell(r, 3).toString();
            c.village = roles.cell(r, 4).toString();
            InsertConfirmation(db, data, c);
        }
        db.commit();
        return data;
    }();
    return path;
}

std::unique_ptr<Services> certificateServices() {
    return ConsoleServices(certificateRoot().path() + QStringLiteral("/out"), certificateCommune(),
                           OpenedFiles::Ignored);
}

// One certificate with its document, the engine warm (the counter moves each time).
void IssueCertificateWarm(benchmark::State& state) {
    auto s = certificateServices();
    const AdminConstants constants;
    CertificateRequest request;
    request.idgos = 7;
    request.date = QDate(2015, 10, 10);
    const auto issue = [&] {
        return IssueCertificate(*s, constants, {false, true, true, {}}, request,
                                s->folders.program + QStringLiteral("/Cert"), false);
    };
    issue();
    for (auto _ : state) benchmark::DoNotOptimize(issue().amounts.size());
}
BENCHMARK(IssueCertificateWarm)->Unit(benchmark::kMillisecond)->Iterations(20);

void ConfirmationsOpenWarm(benchmark::State& state) {
    auto s = certificateServices();
    ReadConfirmations(s->database(), s->folders.data);
    for (auto _ : state) benchmark::DoNotOptimize(ReadConfirmations(s->database(), s->folders.data).size());
}
BENCHMARK(ConfirmationsOpenWarm)->Unit(benchmark::kMillisecond)->Iterations(10);

// A name typed one letter at a time: one search per keystroke.
void ConfirmationsSearchKeystroke(benchmark::State& state) {
    auto s = certificateServices();
    const QString name = QStringLiteral("POPESCU");
    ReadConfirmations(s->database(), s->folders.data, {}, name.left(1));
    int k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ReadConfirmations(s->database(), s->folders.data, {}, name.left(1 + k++ % int(name.size()))).size());
}
BENCHMARK(ConfirmationsSearchKeystroke)->Unit(benchmark::kMillisecond)->Iterations(14);

} // namespace
