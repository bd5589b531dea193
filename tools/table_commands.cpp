// vartesa-tool verify and repair: the data folder's damaged tables and their repair.

#include "commands.h"

#include "datafolder/table_check.h"
#include "db/database.h"
#include "db/error.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vartesa::tool {

int runVerify(const QStringList& args) {
    if (args.size() != 1) {
        QTextStream(stderr) << "Utilizare: vartesa-tool verify DATAFOLDER\n";
        return 2;
    }
    if (!QFileInfo(args[0]).isDir()) {
        QTextStream(stderr) << "Directorul " << args[0] << " nu exista\n";
        return 1;
    }
    try {
        const QString folder = QDir(args[0]).absolutePath();
        db::Database database(folder);
        const std::vector<DamagedTable> damaged = DamagedTables(database, folder);
        QTextStream out(stdout);
        for (const DamagedTable& t : damaged) out << t.fault << '\n';
        if (damaged.empty()) out << "Nicio tabela deteriorata in " << folder << '\n';
        return damaged.empty() ? 0 : 1;
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

int runRepair(const QStringList& args) {
    const bool dryRun = args.size() == 3 && args[2] == QLatin1String("--dry-run");
    if (args.size() != 2 && !dryRun) {
        QTextStream(stderr) << "Utilizare: vartesa-tool repair DATAFOLDER TABELA [--dry-run]\n";
        return 2;
    }
    if (!QFileInfo(args[0]).isDir()) {
        QTextStream(stderr) << "Directorul " << args[0] << " nu exista\n";
        return 1;
    }
    try {
        const QString folder = QDir(args[0]).absolutePath();
        db::Database database(folder);
        database.recoverFolder(folder); // the data folder is opened as at start-up
        QTextStream out(stdout);
        for (const QString& line : RepairTable(database, folder, args[1], dryRun)) out << line << '\n';
        return 0;
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

} // namespace vartesa::tool
