#pragma once
// Backup and restore of this machine's database: the files of the default data folder go
// into one archive (backup_archive.h) and come back out of it.
//
// A save writes to a temporary file beside the archive and renames it at the end, so a
// failed save leaves no partial archive and the previous archive of that name stays until
// the new one is complete. A restore reads the whole archive through first, unpacks it into
// a staging folder beside the data folder and only then swaps the files, keeping the old
// ones aside until the new ones are in place: a damaged archive leaves the data folder as it
// was.

#include "datafolder/backup_archive.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}
class Services;

/// Name of the data folder inside the program folder, and the folder part of stored names.
inline const QString kDataFolderName = QStringLiteral("Data");

/// Copies every file of `source` (not its folders) into `target` under the same name. An
/// existing file of that name is deleted first; when it cannot be, the copy stops and the
/// result is false. False also when either folder does not exist; the copies themselves are
/// not checked.
bool CopyFolderFiles(const QString& source, const QString& target);

/// Files of `dataFolder` to archive, in name order, stored as "Data\<name>": every readable
/// file of size > 0, leaving out folders and hidden files.
std::vector<ArchiveSource> ListDataFiles(const QString& dataFolder);
/// The same for the default data folder of `programFolder` (programFolder + "/Data").
std::vector<ArchiveSource> ListFileDir(const QString& programFolder);

/// Deletes every file of `folder` (hidden ones too), leaving its folders; failures ignored.
void GolesteDir(const QString& folder);

/// What a save does when an archive of the chosen name exists when it finishes.
enum class ExistingArchive { Replace, Keep };

/// Writes the archive of `files` to `archivePath` through a temporary file in the same folder.
/// An empty list writes nothing and returns false. With Keep an archive that appeared
/// meanwhile is not replaced (Error). Throws Error on any failure, leaving `archivePath` as
/// it was.
bool CompressFiles(const std::vector<ArchiveSource>& files, const QString& archivePath,
                   ExistingArchive existing = ExistingArchive::Replace, const ArchiveProgress& progress = {});

/// Where DecompressFiles puts an entry: under its stored name, folder part included, or
/// flat in the target under its file part ("DATA\Identificare.dbf" and "Identificare.dbf"
/// both become "Identificare.dbf"), as the register import takes its backups.
enum class StoredFolders { Kept, Flattened };

/// Writes every entry of the archive to `targetFolder` + "/" + its stored name (the folder
/// part must exist already; none is created), replacing existing files; with Flattened to
/// `targetFolder` + "/" + its file part. The archive is read through and checked first, so a
/// damaged one, one whose names lead outside the target ("..", deeper paths, drives), or a
/// flattened one naming one file twice (in any case, in any folder) writes nothing. Throws
/// Error. Returns the entries.
std::vector<ArchiveEntry> DecompressFiles(const QString& archivePath, const QString& targetFolder,
                                          const ArchiveProgress& progress = {},
                                          StoredFolders folders = StoredFolders::Kept);

/// Checks a database archive as a restore does and unpacks it into the existing folder
/// `staging`: the archive whole (closing hash, no name twice), every name "Data\<name>", the
/// tables Gospodar.dbf, Datorii.dbf and SoldCalc.dbf present ("Arhiva nu contine baza de
/// date: lipseste ...") and every .dbf whole by the header check a table gets on open. An
/// archive with no file is refused. Throws Error. Returns the entries.
std::vector<ArchiveEntry> StageDataArchive(const QString& archivePath, const QString& staging,
                                           const ArchiveProgress& progress = {});
/// The same checks in a temporary folder, nothing kept: what list-archive runs.
std::vector<ArchiveEntry> CheckDataArchive(const QString& archivePath, const ArchiveProgress& progress = {});

/// Where a restore keeps the files it replaced: `dataFolder` + ".inainte-de-restaurare"
/// beside it ("Data.inainte-de-restaurare"); the next restore replaces it.
QString KeptDataFolder(const QString& dataFolder);

/// Replaces the files of `dataFolder` with those of the archive (stored as "Data\<name>").
/// Holds the folder alone first (db::holdFolder, through `engine` when the caller's
/// session holds the folder already): refused with "Baza de date este folosita; ..." while
/// another session works on it. Stages the archive into `dataFolder` + ".restaurare"
/// (StageDataArchive), moves the old files to KeptDataFolder, where they stay, and moves the
/// new ones in. Any failure puts the old files back and throws Error, the data folder as it
/// was. Folders inside the data folder and its lock file are left where they are.
std::vector<ArchiveEntry> RestoreDataFolder(const QString& archivePath, const QString& dataFolder,
                                            const ArchiveProgress& progress = {}, db::Database* engine = nullptr);

/// The save of the backup window and of the automatic backup: lists this machine's default
/// data folder, shows the progress window "Salvez datele actuale...", writes the archive and
/// says "Salvare incheiata cu succes !". When the folder has no file to save, says so and
/// writes nothing. Returns true when an archive was written. Throws Error.
bool WriteArchive(Services& services, const QString& archivePath, ExistingArchive existing,
                  const std::function<void()>& pump = {});

/// The restore of the backup window after its questions: the progress window
/// "Restaurez baza de date..." over RestoreDataFolder of the default data folder. Throws Error.
void RestoreDatabase(Services& services, const QString& archivePath, const std::function<void()>& pump = {});

/// `folder` + "/dd.MM.yyyy_<n>.vsa" with the smallest n from 0 whose file does not exist.
QString AutomaticBackupName(const QString& folder, const QDate& day);

/// Where the save dialog of the backup window opens: the backup folder (registry CALESALVARI,
/// neither empty nor "-", when it is a folder), else the user's documents folder, with the
/// name the automatic backup would take there today.
QString SuggestedArchivePath(Services& services);

/// The backup offered when the main window closes: only in local mode with a backup folder
/// (registry CALESALVARI, neither empty nor "-") in which "Test.txt" can be written; asks
/// "Doriti sa facem o copie la datele de azi?" and on DA writes today's next archive there.
/// Returns true when an archive was written. Throws Error when writing it fails.
bool AutomaticBackup(Services& services, const std::function<void()>& pump = {});

} // namespace vartesa
