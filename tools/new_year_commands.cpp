// vartesa-tool new-year: the new-year initialisation without windows, from the old year's
// data folder into the new one, with the openings it wrote.

#include "commands.h"

#include "datafolder/new_year.h"
#include "db/database.h"
#include "db/error.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/table_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vartesa::tool {
namespace {

int usage() {
    QTextStream(stderr) << "Utilizare: vartesa-tool new-year OLDFOLDER NEWFOLDER [--old-year AAAA] "
                           "[--no-owner-changes] [--no-local-arrears] [--no-other-arrears]\n";
    return 2;
}

// The year before the new folder's working year (the release's when it names none).
int defaultOldYear(const QString& newFolder) {
    const QString counters = newFolder + QStringLiteral("/Vartesa.set");
    return (QFileInfo::exists(counters) ? DataFolderYear(CountersFile(counters)) : kReleaseYear) - 1;
}

void createCatalogFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) throw Error(QStringLiteral("Directorul %1 nu poate fi creat").arg(folder), folder);
    db::Database database(folder);
    for (const TableLayout& t : TableCatalog()) CreateTable(database, folder + '/' + t.file, t);
}

void printReport(const NewYearReport& report) {
    QTextStream out(stdout);
    out << "[SOLDURI]\nIDGOS,SATUL,ROL";
    for (int k = 1; k <= 11; ++k) out << ",LIN" << k;
    for (int k = 1; k <= 4; ++k) out << ",PEN" << k;
    for (int k = 1; k <= 4; ++k) out << ",SOLD" << k;
    out << '\n';
    for (const OpeningLine& l : report.openings) {
        out << l.roleId << ',' << csvField(l.village) << ',' << csvField(l.number);
        for (qint64 v : l.opening.lin) out << ',' << v;
        for (qint64 v : l.opening.pen) out << ',' << v;
        for (qint64 v : l.opening.sold) out << ',' << v;
        out << '\n';
    }
    out << "[DATORII]\nIDDAT,IDGOS,SATUL,ROL,GRUPA,DENUM,DOCJUS,DINDATA,REST\n";
    for (const LedgerLine& l : report.carried)
        out << l.id << ',' << l.roleId << ',' << csvField(l.village) << ',' << csvField(l.number) << ','
            << csvField(l.group) << ',' << csvField(l.name) << ',' << csvField(l.explanation) << ','
            << csvValue(l.from.isValid() ? QVariant(l.from) : QVariant()) << ',' << l.arrears << '\n';
    out << "[ERORI]\nIDDEB,IDGOS,FISIER,MOTIV\n";
    for (const OwnershipRefusal& r : report.refusals)
        out << r.debitId << ',' << r.roleId << ',' << csvField(r.file) << ',' << csvField(r.reason) << '\n';
    out << "ROLURI," << report.rolesWalked << '\n';
}

} // namespace

int runNewYear(const QStringList& args) {
    QStringList folders;
    NewYearChoices choices;
    int oldYear = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--old-year")) {
            bool ok = false;
            oldYear = args.value(++i).toInt(&ok);
            if (!ok || oldYear < 1900 || oldYear > 9998) return usage();
        } else if (a == QLatin1String("--no-owner-changes")) {
            choices.pages = false;
        } else if (a == QLatin1String("--no-local-arrears")) {
            choices.localTaxes = false;
        } else if (a == QLatin1String("--no-other-arrears")) {
            choices.otherTaxes = false;
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage();
        } else {
            folders << a;
        }
    }
    if (folders.size() != 2) return usage();
    const QString oldFolder = QDir::cleanPath(QDir(folders[0]).absolutePath());
    const QString newFolder = QDir::cleanPath(QDir(folders[1]).absolutePath());
    const bool created = !QFileInfo::exists(newFolder);
    try {
        if (oldYear == 0) oldYear = defaultOldYear(newFolder);
        // The refusals that need no new folder come before it is made.
        if (!QFileInfo(oldFolder).isDir() || !db::Database(oldFolder).tableExists(tables::Roles))
            throw Error(QStringLiteral("Directorul %1 nu contine datele anului %2!")
                            .arg(QDir::toNativeSeparators(oldFolder))
                            .arg(oldYear));
        if (oldFolder == newFolder)
            throw Error(QStringLiteral("Datele anului %1 nu pot fi preluate in acelasi director %2!")
                            .arg(oldYear)
                            .arg(QDir::toNativeSeparators(newFolder)));
        if (created) createCatalogFolder(newFolder);
        SilentProgress progress;
        const NewYearReport report = RunNewYearImport(oldFolder, newFolder, choices, oldYear, progress,
                                                      NewYearLogPath(QFileInfo(newFolder).absolutePath()));
        printReport(report);
        return 0;
    } catch (const Error& e) {
        if (created) DeleteFolder(newFolder);
        QTextStream(stderr) << "Eroare: " << e.text() << '\n';
        return 1;
    }
}

} // namespace vartesa::tool
