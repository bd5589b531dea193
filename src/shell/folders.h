#pragma once
// Where the program keeps its files. The program folder comes from the command line, else
// VARTESA_HOME, else the executable's folder when it can be written, else the per-user
// data location; the default data folder sits inside it. The machine folder is a per-user
// state folder for scratch work that outlives a run.
//
// resolveFolders is pure (everything it looks at is in FolderInputs) so every case can be
// tested; prepareFolders does the creating.

#include "shell/services.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace vartesa {

/// Everything folder resolution depends on.
struct FolderInputs {
    QStringList arguments;               // command line, program name first
    QProcessEnvironment environment;     // VARTESA_HOME, XDG_STATE_HOME, HOME
    QString executableFolder;            // folder of the running program file
    std::function<bool(const QString&)> isWritable; // can files be created in the folder?
    QString userDataFolder;              // per-user data location (fallback program folder)

    /// The inputs of this process: its arguments, environment, executable folder, a real
    /// write probe and QStandardPaths::AppDataLocation. Needs a QCoreApplication.
    static FolderInputs fromSystem();
};

/// The program folder a `--program-folder DIR` (or `--program-folder=DIR`) argument names;
/// empty when there is none. Throws Error when the option has no folder after it.
QString programFolderArgument(const QStringList& arguments);

/// Resolves the folders of a run without touching the disk. The data folder starts as the
/// default data folder (local mode). Throws Error when no program folder can be found.
Folders resolveFolders(const FolderInputs& inputs);

/// The folders of a run on the demonstration commune (`--demo`): the program folder is
/// "Demo" in the machine folder, its data folder "Data" inside it; the machine folder stays.
/// A program folder named on the command line (`--program-folder`) is kept as it is: the
/// clerk chose where the demonstration lives.
Folders DemoFolders(const Folders& resolved, const QStringList& arguments = {});

/// Creates the program, default data and machine folders with any missing parents.
/// Throws Error naming the first folder that cannot be created.
void prepareFolders(const Folders& folders);

/// True when a file can be created in `folder` (a real probe, not the permission bits,
/// which say nothing for root or for read-only mounts).
bool canCreateFilesIn(const QString& folder);

} // namespace vartesa
