// vartesa-tool backup, restore and list-archive: the database archive without windows.

#include "commands.h"
#include "tool_arguments.h"

#include "db/database.h"
#include "db/error.h"
#include "datafolder/backup.h"
#include "shell/file_helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vartesa::tool {
namespace {

int failed(const Error& e) {
    QTextStream(stderr) << "Eroare: " << e.text() << '\n';
    return 1;
}

} // namespace

int runBackup(const QStringList& args) {
    if (args.size() != 2) return PrintUsage("backup DATAFOLDER ARHIVA");
    if (!QFileInfo(args[0]).isDir()) {
        QTextStream(stderr) << "Eroare: directorul " << args[0] << " nu exista\n";
        return 1;
    }
    try {
        CheckOutputFile(args[0], args[1]);
        // A table a killed writer left half written goes into the archive as it was before.
        db::Database(args[0]).recoverFolder(QDir(args[0]).absolutePath());
        const std::vector<ArchiveSource> files = ListDataFiles(QDir(args[0]).absolutePath());
        if (!CompressFiles(files, args[1])) {
            QTextStream(stderr) << "Directorul " << args[0] << " nu contine fisiere de salvat; nu s-a scris nicio arhiva\n";
            return 1;
        }
        QTextStream(stdout) << files.size() << " fisiere salvate in " << args[1] << '\n';
        return 0;
    } catch (const Error& e) {
        return failed(e);
    }
}

int runRestore(const QStringList& args) {
    if (args.size() != 2) return PrintUsage("restore ARHIVA DATAFOLDER");
    try {
        const auto entries = RestoreDataFolder(args[0], QDir(args[1]).absolutePath());
        if (!ArchiveSealed(args[0])) QTextStream(stderr) << UnsealedArchiveWarning() << '\n';
        QTextStream(stdout) << entries.size() << " fisiere restaurate in " << args[1] << '\n'
                            << "Fisierele de dinainte de restaurare sunt pastrate in "
                            << KeptDataFolder(QDir(args[1]).absolutePath()) << '\n';
        return 0;
    } catch (const Error& e) {
        return failed(e);
    }
}

int runListArchive(const QStringList& args) {
    if (args.size() != 1) return PrintUsage("list-archive ARHIVA");
    try {
        QTextStream out(stdout);
        for (const ArchiveEntry& entry : CheckDataArchive(args[0])) out << entry.name << '\t' << entry.size << '\n';
        if (!ArchiveSealed(args[0])) QTextStream(stderr) << UnsealedArchiveWarning() << '\n';
        return 0;
    } catch (const Error& e) {
        return failed(e);
    }
}

} // namespace vartesa::tool
