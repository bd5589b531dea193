// vartesa-tool demo-register and import-register: the import from the agricultural register
// without windows, and the synthetic register backup the tests and benchmarks import.

#include "commands.h"
#include "tool_arguments.h"
#include "shell/console_services.h"

#include "datafolder/register_demo.h"
#include "datafolder/register_import.h"
#include "db/database.h"
#include "db/error.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace vartesa::tool {
namespace {

int failed(const Error& e) {
    QString text = e.text();
    QTextStream(stderr) << text.replace('\r', '\n') << '\n';
    return 1;
}

bool isDataFolder(const QString& folder) {
    if (QFileInfo(folder).isDir()) return true;
    QTextStream(stderr) << "Eroare: directorul " << folder << " nu exista\n";
    return false;
}

} // namespace

int runDemoRegister(const QStringList& args) {
    const char* text = "demo-register DATAFOLDER OUT.rg2 [--new N] [--seed S]";
    if (args.size() < 2) return PrintUsage(text);
    DemoRegisterOptions options;
    for (int i = 2; i < args.size(); i += 2) {
        bool ok = i + 1 < args.size();
        const qint64 value = ok ? args[i + 1].toLongLong(&ok) : 0;
        if (!ok || value < 0) return PrintUsage(text);
        if (args[i] == QLatin1String("--new")) options.newHouseholds = int(value);
        else if (args[i] == QLatin1String("--seed")) options.seed = quint64(value);
        else return PrintUsage(text);
    }
    if (!isDataFolder(args[0])) return 1;
    try {
        const QString folder = QDir(args[0]).absolutePath();
        auto services = ConsoleServices(folder);
        const DemoRegisterReport report = WriteDemoRegister(services->database(), folder,
                                                            DataFolderYear(services->counters()), args[1], options);
        QTextStream(stdout) << "GOSPODARII," << report.households << "\nCLADIRI," << report.buildings << '\n';
        return 0;
    } catch (const Error& e) {
        return failed(e);
    }
}

int runImportRegister(const QStringList& args) {
    const char* text = "import-register DATAFOLDER SOURCE [--no-land] [--no-buildings] [--dry-run]";
    if (args.size() < 2) return PrintUsage(text);
    RegisterChoice choice;
    bool dryRun = false;
    for (int i = 2; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--no-land")) choice.land = false;
        else if (args[i] == QLatin1String("--no-buildings")) choice.buildings = false;
        else if (args[i] == QLatin1String("--dry-run")) dryRun = true;
        else return PrintUsage(text);
    }
    if (!isDataFolder(args[0])) return 1;
    try {
        const QString folder = QDir(args[0]).absolutePath();
        auto services = ConsoleServices(folder);
        UseWorkingYear(DataFolderYear(services->counters()));
        // The unpack folder is a temporary one of its own, removed at the end.
        QTemporaryDir scratch;
        if (!scratch.isValid()) throw Error(QStringLiteral("Nu pot crea un director temporar"), folder);
        const QString work = scratch.path() + QStringLiteral("/RA");
        const RegisterImportResult result =
            QFileInfo(args[1]).isDir() ? ImportRegisterFolder(*services, args[1], work, choice, dryRun)
                                       : ImportRegisterBackup(*services, args[1], work, choice, dryRun);
        QTextStream out(stdout);
        out << "IDID,SATUL,ROL,IDGOS,STARE,PAG1,PAG4,PAG2,NOTA\n";
        for (const RegisterReportRow& r : result.rows)
            out << r.idid << ',' << csvField(r.village) << ',' << csvField(r.number) << ','
                << (r.idgos ? QString::number(r.idgos) : QString()) << ',' << RowChangeText(r.role) << ','
                << RowChangeText(r.page1) << ',' << RowChangeText(r.page4) << ',' << RowChangeText(r.page2) << ','
                << csvField(r.note) << '\n';
        out << "ADAUGATE," << result.added << "\nMODIFICATE," << result.modified << "\nNESCHIMBATE," << result.unchanged
            << "\nREFUZATE," << result.refused << "\nCOMPLETATE," << result.completed << '\n';
        return 0;
    } catch (const Error& e) {
        return failed(e);
    }
}

} // namespace vartesa::tool
