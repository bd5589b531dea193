#pragma once
// Files of the program folder: numbered working files, folders, embedded resources.

#include <QString>

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

/// Deletes a folder with everything in it; false when something stayed.
bool DeleteFolder(const QString& path);

/// Writes the embedded resource `name` of kind `type` (templates are "MODEL") to `path`,
/// replacing the file. Names match without regard to case. Throws vartesa::Error when the
/// resource is missing or the file cannot be written.
void WriteResourceToFile(const QString& name, const QString& type, const QString& path);

} // namespace vartesa
