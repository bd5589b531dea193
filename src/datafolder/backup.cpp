#include "backup.h"

#include "db/database.h"
#include "db/dbf_format.h"
#include "db/error.h"
#include "db/folder_use.h"
#include "shell/file_helpers.h"
#include "shell/registry.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <QDir>
#include <QSet>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <memory>

#include <filesystem>
#include <system_error>

namespace vartesa {
namespace {

const QString kLockFileName = QStringLiteral("Vartesa.lck"); // the database engine's folder lock

// Every entry of a folder that is not a folder itself, hidden ones included, by name.
QFileInfoList folderFiles(const QString& folder) {
    return QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString siblingOf(const QString& folder, const QString& suffix) {
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) + suffix;
}

// Renames `from` to `to`, replacing `to`; false on failure.
bool renameReplacing(const QString& from, const QString& to) {
    std::error_code ec;
    std::filesystem::rename(from.toStdString(), to.toStdString(), ec);
    return !ec;
}

// A stored name of a restore: "Data\<plain file name>", nothing else.
QString dataFileOf(const ArchiveEntry& entry) {
    const StoredName name = SplitStoredName(entry.name);
    if (name.file.isEmpty() || name.folder.compare(kDataFolderName, Qt::CaseInsensitive) != 0)
        throw Error(QStringLiteral("Arhiva contine numele nepermis \"%1\"; nu este o salvare Vartesa").arg(entry.name),
                    QStringLiteral("arhiva"));
    return name.file;
}

// Writes the entries of an archive already checked: each to the file `target(entry)` gives,
// through a save file, so a failing entry leaves no half-written file.
std::vector<ArchiveEntry> unpack(const QString& archivePath, const std::function<QString(const ArchiveEntry&)>& target,
                                 const ArchiveProgress& progress) {
    QFile in(archivePath);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Salvarea %1 nu poate fi citita").arg(archivePath), archivePath);
    std::unique_ptr<QSaveFile> out;
    return ReadArchiveFrom(
        in,
        [&](const ArchiveEntry& entry) -> QIODevice* {
            out = std::make_unique<QSaveFile>(target(entry));
            if (!out->open(QIODevice::WriteOnly))
                throw Error(QStringLiteral("Nu pot scrie fisierul %1").arg(out->fileName()), out->fileName());
            return out.get();
        },
        [&](const ArchiveEntry&) {
            if (!out->commit())
                throw Error(QStringLiteral("Nu pot scrie fisierul %1").arg(out->fileName()), out->fileName());
            out.reset();
        },
        progress);
}

// The files moved between the data folder and its side folders, so a failure can undo them.
struct Moves {
    std::vector<std::pair<QString, QString>> done; // (from, to) in order

    bool move(const QString& from, const QString& to) {
        if (!renameReplacing(from, to)) return false;
        done.emplace_back(from, to);
        return true;
    }
    void undo() {
        for (auto it = done.rbegin(); it != done.rend(); ++it) renameReplacing(it->second, it->first);
        done.clear();
    }
};

// Moves the current files of `data` aside into `kept` and the staged ones in. On failure
// everything goes back where it was and an Error is thrown. The files moved aside stay in
// `kept`: nothing the clerk had is deleted by a restore.
void swapIn(const QString& data, const QString& staging, const QString& kept) {
    const QString previous = kept + QStringLiteral(".sters");
    DeleteFolder(previous);
    if (QFileInfo::exists(kept) && !renameReplacing(kept, previous))
        throw Error(QStringLiteral("Nu pot muta directorul %1").arg(kept), kept);
    if (!QDir().mkpath(kept)) {
        renameReplacing(previous, kept);
        throw Error(QStringLiteral("Nu pot crea directorul %1").arg(kept), kept);
    }
    Moves aside;
    Moves in;
    const auto fail = [&](const QString& file) {
        in.undo();
        aside.undo();
        DeleteFolder(kept);
        renameReplacing(previous, kept);
        return Error(QStringLiteral("Nu pot muta fisierul %1; baza de date a ramas cea veche").arg(file), file);
    };
    for (const QFileInfo& f : folderFiles(data))
        // The workstations' lock file stays: its locks must keep guarding the folder while
        // the tables change under it (the archive never holds it, it is empty).
        if (f.fileName().compare(kLockFileName, Qt::CaseInsensitive) != 0 && !aside.move(f.absoluteFilePath(), kept + '/' + f.fileName())) throw fail(f.absoluteFilePath());
    for (const QFileInfo& f : folderFiles(staging))
        if (!in.move(f.absoluteFilePath(), data + '/' + f.fileName())) throw fail(f.absoluteFilePath());
    DeleteFolder(previous);
}

// The tables a data folder cannot work without.
const QStringList& requiredTables() {
    static const QStringList names = {tables::Roles, tables::Ledger, tables::Balances};
    return names;
}

// Refuses an archive, already unpacked into `staging`, that lacks a table of the database or
// holds a table the engine would refuse on open.
void checkStagedTables(const QString& staging, const std::vector<ArchiveEntry>& entries) {
    QStringList missing;
    for (const QString& table : requiredTables()) {
        const bool held = std::any_of(entries.begin(), entries.end(), [&](const ArchiveEntry& e) {
            return SplitStoredName(e.name).file.compare(table, Qt::CaseInsensitive) == 0;
        });
        if (!held) missing << table;
    }
    if (!missing.isEmpty())
        throw Error(QStringLiteral("Arhiva nu contine baza de date: lipseste %1").arg(missing.join(QStringLiteral(", "))),
                    QStringLiteral("arhiva"));
    for (const ArchiveEntry& entry : entries) {
        const QString file = SplitStoredName(entry.name).file;
        if (!file.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive)) continue;
        const QString path = staging + '/' + file;
        QString fault;
        try {
            fault = db::inspectTableFile(path).fault;
            if (!fault.isEmpty()) fault = db::damagedTableText(path, fault);
        } catch (const Error& e) {
            fault = e.text();
        }
        if (!fault.isEmpty())
            throw Error(QStringLiteral("Arhiva contine o tabela deteriorata. %1").arg(fault), QStringLiteral("arhiva"));
    }
}

} // namespace

bool CopyFolderFiles(const QString& source, const QString& target) {
    if (!QFileInfo(source).isDir() || !QFileInfo(target).isDir()) return false;
    for (const QFileInfo& f : folderFiles(source)) {
        if (!f.isFile()) continue;
        const QString to = target + '/' + f.fileName();
        if (QFileInfo::exists(to) && !QFile::remove(to)) return false;
        QFile::copy(f.absoluteFilePath(), to);
    }
    return true;
}

std::vector<ArchiveSource> ListDataFiles(const QString& dataFolder) {
    std::vector<ArchiveSource> files;
    const QFileInfoList entries =
        QDir(dataFolder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& f : entries) {
        if (!f.isFile() || f.isHidden() || f.size() <= 0) continue;
        QFile probe(f.absoluteFilePath());
        if (!probe.open(QIODevice::ReadOnly)) continue;
        files.push_back({f.absoluteFilePath(), kDataFolderName + '\\' + f.fileName()});
    }
    return files;
}

std::vector<ArchiveSource> ListFileDir(const QString& programFolder) {
    return ListDataFiles(programFolder + '/' + kDataFolderName);
}

void GolesteDir(const QString& folder) {
    for (const QFileInfo& f : folderFiles(folder)) QFile::remove(f.absoluteFilePath());
}

bool CompressFiles(const std::vector<ArchiveSource>& files, const QString& archivePath, ExistingArchive existing,
                   const ArchiveProgress& progress) {
    if (files.empty()) return false;
    for (const ArchiveSource& f : files)
        if (SplitStoredName(f.name).file.isEmpty())
            throw Error(QStringLiteral("Numele fisierului %1 nu poate fi pastrat in arhiva").arg(f.name), f.path);
    const QFileInfo target(archivePath);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        throw Error(QStringLiteral("Nu pot crea arhiva in %1: %2").arg(target.absolutePath(), temp.errorString()),
                    archivePath);
    WriteArchiveTo(temp, files, progress);
    if (!temp.flush())
        throw Error(QStringLiteral("Nu pot scrie arhiva %1: %2").arg(archivePath, temp.errorString()), archivePath);
    temp.close();
    // A temporary file is private to its owner; the archive is read like any other file.
    temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    if (existing == ExistingArchive::Keep) {
        // A plain rename refuses an existing name: a backup is never overwritten.
        if (!temp.rename(archivePath))
            throw Error(QStringLiteral("Nu pot scrie arhiva %1").arg(archivePath), archivePath);
        temp.setAutoRemove(false);
    } else {
        if (!renameReplacing(temp.fileName(), archivePath))
            throw Error(QStringLiteral("Nu pot scrie arhiva %1").arg(archivePath), archivePath);
        temp.setAutoRemove(false);
    }
    return true;
}

std::vector<ArchiveEntry> DecompressFiles(const QString& archivePath, const QString& targetFolder,
                                          const ArchiveProgress& progress, StoredFolders folders) {
    const bool flat = folders == StoredFolders::Flattened;
    const auto targetOf = [&](const ArchiveEntry& entry) {
        const StoredName name = SplitStoredName(entry.name);
        if (name.file.isEmpty())
            throw Error(QStringLiteral("Arhiva contine numele nepermis \"%1\"").arg(entry.name), archivePath);
        const QString folder = name.folder.isEmpty() || flat ? targetFolder : targetFolder + '/' + name.folder;
        if (!QFileInfo(folder).isDir())
            throw Error(QStringLiteral("Directorul %1 nu exista").arg(folder), archivePath);
        return folder + '/' + name.file;
    };
    QSet<QString> written; // target files, folded: a file named twice would replace the first
    for (const ArchiveEntry& entry : CheckArchive(archivePath, {nullptr, progress.pump})) {
        const QString target = targetOf(entry).toCaseFolded();
        if (written.contains(target))
            throw Error(QStringLiteral("Arhiva contine de doua ori fisierul \"%1\"").arg(SplitStoredName(entry.name).file),
                        archivePath);
        written.insert(target);
    }
    return unpack(archivePath, targetOf, progress);
}

std::vector<ArchiveEntry> StageDataArchive(const QString& archivePath, const QString& staging,
                                           const ArchiveProgress& progress) {
    const std::vector<ArchiveEntry> checked = CheckArchive(archivePath, {nullptr, progress.pump});
    if (checked.empty())
        throw Error(QStringLiteral("Arhiva %1 nu contine niciun fisier; baza de date a ramas neschimbata").arg(archivePath),
                    archivePath);
    for (const ArchiveEntry& entry : checked) dataFileOf(entry);
    const std::vector<ArchiveEntry> entries =
        unpack(archivePath, [&](const ArchiveEntry& e) { return staging + '/' + dataFileOf(e); }, progress);
    checkStagedTables(staging, entries);
    return entries;
}

std::vector<ArchiveEntry> CheckDataArchive(const QString& archivePath, const ArchiveProgress& progress) {
    QTemporaryDir staging;
    if (!staging.isValid())
        throw Error(QStringLiteral("Nu pot crea un director temporar: %1").arg(staging.errorString()), archivePath);
    return StageDataArchive(archivePath, staging.path(), progress);
}

QString KeptDataFolder(const QString& dataFolder) { return siblingOf(dataFolder, QStringLiteral(".inainte-de-restaurare")); }

std::vector<ArchiveEntry> RestoreDataFolder(const QString& archivePath, const QString& dataFolder,
                                            const ArchiveProgress& progress, db::Database* engine) {
    if (!QFileInfo(dataFolder).isDir())
        throw Error(QStringLiteral("Directorul de date %1 nu exista").arg(dataFolder), dataFolder);
    const QString data = QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath());
    // Every file of the folder is replaced: no other session may work on it meanwhile, and
    // its writers are kept out until the new files are in place.
    std::unique_ptr<db::Database> own;
    if (!engine) {
        own = std::make_unique<db::Database>(data);
        engine = own.get();
    }
    db::holdFolder(*engine, data, db::LockKind::Exclusive);
    struct Release {
        db::Database* engine;
        QString folder;
        ~Release() { db::releaseFolder(*engine, folder); }
    } release{engine, data};

    const QString staging = siblingOf(data, QStringLiteral(".restaurare"));
    DeleteFolder(staging);
    if (!QDir().mkpath(staging))
        throw Error(QStringLiteral("Nu pot crea directorul %1").arg(staging), staging);
    std::vector<ArchiveEntry> entries;
    try {
        entries = StageDataArchive(archivePath, staging, progress);
        swapIn(data, staging, KeptDataFolder(data));
    } catch (...) {
        DeleteFolder(staging);
        throw;
    }
    DeleteFolder(staging);
    return entries;
}

bool WriteArchive(Services& services, const QString& archivePath, ExistingArchive existing,
                  const std::function<void()>& pump) {
    // An archive written over a file of the data folder would destroy what it saves.
    CheckOutputFile(services.folders.program + '/' + kDataFolderName, archivePath);
    // A table a killed writer left half written goes into the archive as it was before.
    services.database().recoverFolder(services.folders.program + '/' + kDataFolderName);
    const std::vector<ArchiveSource> files = ListFileDir(services.folders.program);
    bool written = false;
    {
        ProgressShown shown(services.progress(), QStringLiteral("Salvez datele actuale..."));
        written = CompressFiles(files, archivePath, existing, {&services.progress(), pump});
    }
    if (written)
        services.messages().ShowErrors(QStringLiteral("Informatie"), QStringLiteral("Salvare incheiata cu succes !"),
                                       MessageKind::Information, MessageButton::Ok);
    else
        services.messages().ShowErrors(
            QStringLiteral("Informatie"),
            QStringLiteral("Directorul de date %1 nu contine fisiere de salvat.\rNu s-a scris nicio arhiva!")
                .arg(QDir::toNativeSeparators(services.folders.defaultData)),
            MessageKind::Information, MessageButton::Ok);
    return written;
}

void RestoreDatabase(Services& services, const QString& archivePath, const std::function<void()>& pump) {
    ProgressShown shown(services.progress(), QStringLiteral("Restaurez baza de date..."));
    RestoreDataFolder(archivePath, services.folders.defaultData, {&services.progress(), pump}, &services.database());
}

QString AutomaticBackupName(const QString& folder, const QDate& day) {
    const QString stem = folder + '/' + day.toString(QStringLiteral("dd.MM.yyyy")) + '_';
    for (int n = 0;; ++n) {
        const QString name = stem + QString::number(n) + QStringLiteral(".vsa");
        if (!QFileInfo::exists(name)) return name;
    }
}

QString SuggestedArchivePath(Services& services) {
    QString folder = services.registry().ReadRegistryValue(QStringLiteral("CALESALVARI")).trimmed();
    if (folder.isEmpty() || folder == QLatin1String("-") || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return AutomaticBackupName(QDir::cleanPath(folder), services.clock().today());
}

bool AutomaticBackup(Services& services, const std::function<void()>& pump) {
    if (!services.folders.isLocalMode()) return false;
    const QString folder = services.registry().ReadRegistryValue(QStringLiteral("CALESALVARI")).trimmed();
    if (folder.isEmpty() || folder == QLatin1String("-")) return false;
    {
        QFile test(folder + QStringLiteral("/Test.txt"));
        if (!test.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
        test.close();
        test.remove();
    }
    if (!services.messages().askYesNo(QStringLiteral("Salvare Automata"),
                                      QStringLiteral("Doriti sa facem o copie la datele de azi?")))
        return false;
    return WriteArchive(services, AutomaticBackupName(folder, services.clock().today()), ExistingArchive::Keep, pump);
}

} // namespace vartesa
