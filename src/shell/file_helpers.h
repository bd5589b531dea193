#pragma once
// Files of the program folder: numbered working files, folders, embedded resources.

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace vartesa {

/// The first of folder/prefix0suffix ... folder/prefix100suffix whose file does not exist or
/// can be deleted (it is deleted); "" when all are taken. A file the office suite holds open
/// (its lock file ".~lock.<name>#" lies beside it) counts as taken.
QString FreeTempFileName(const QString& folder, const QString& prefix, const QString& suffix);

/// A working copy of a template (a file of the program folder): removed however the work
/// that fills it ends, once it is no longer needed.
struct WorkingCopy {
    QString path; // empty: nothing to remove
    ~WorkingCopy();
};

/// Every output the program writes (a summary, a PDF, an archive) passes here first: it never
/// goes into the data folder `dataFolder` (whatever the spelling, link or case of the path)
/// nor over a dBase table anywhere. Throws vartesa::Error naming the file when refused.
void CheckOutputFile(const QString& dataFolder, const QString& output);

/// Puts bytes into an open file; returns false when the file refused them.
using FileWrite = std::function<bool(QIODevice& file, const QByteArray& bytes)>;

/// Writes `bytes` to `path` whole or not at all: they go to a copy beside it that replaces
/// the file only once complete, so a write that stops midway leaves no half file and an older
/// file of that name as it was. `write` puts the bytes in (tests give one that fails). Throws
/// vartesa::Error with the file system's reason.
void WriteWholeFile(const QString& path, const QByteArray& bytes, const FileWrite& write = {});

/// Deletes a folder with everything in it; false when something stayed.
bool DeleteFolder(const QString& path);

/// Writes the embedded resource `name` of kind `type` (templates are "MODEL") to `path`,
/// replacing the file. Names match without regard to case. Throws vartesa::Error when the
/// resource is missing or the file cannot be written.
void WriteResourceToFile(const QString& name, const QString& type, const QString& path);

} // namespace vartesa
