#pragma once
// The folder settings of the administrator window: the server's data folder and the
// backup folder (release registry, effective at once) and the agricultural register's
// DATA folder (kept by "Salveaza si inchide"). Each action checks the folder, tells the
// clerk through Messages and says what the window's field now shows.

#include <QString>
#include <QStringList>

class QObject;

namespace vartesa {

class Services;

/// The folder without a trailing '/' or '\'.
QString WithoutTrailingSeparator(const QString& folder);
/// The files a DATA folder of the agricultural register holds.
const QStringList& RegisterFolderFiles();
/// Every file of `names` is in `folder`, whatever the case of its name on disk.
bool HoldsFiles(const QString& folder, const QStringList& names);
/// A file "test.txt" can be created in `folder` (it is deleted again).
bool CanWriteIn(const QString& folder);

/// What a folder action leaves behind.
struct FolderOutcome {
    bool changed = false;    // the field shows `shown` now
    QString shown;           // the field's new text
    bool endProgram = false; // the data folder changed: the program must start again
};

/// "Modificare cale server.": a folder holding the tables a network start needs becomes
/// the registry's SERVER and the program must end; any other is refused with a message.
FolderOutcome ChangeServerPath(Services& services, const QString& picked);
/// "Stergere cale server. Lucru local.": asks, empties SERVER and ends the program.
FolderOutcome ClearServerPath(Services& services, const QString& shown, QObject* anchor);
/// "Modificare cale salvari automate." before the folder is picked: only the owning
/// machine saves automatically; false (after the message) in network mode.
bool MayChangeBackupPath(Services& services);
/// The picked folder becomes CALESALVARI when "test.txt" can be written in it.
FolderOutcome ChangeBackupPath(Services& services, const QString& picked);
/// "Stergere cale salvari automate.": asks and empties CALESALVARI.
FolderOutcome ClearBackupPath(Services& services, const QString& shown, QObject* anchor);
/// The register folder button: a folder holding RegisterFolderFiles() is shown; any
/// other is refused with a message and the field is emptied.
FolderOutcome CheckRegisterFolder(Services& services, const QString& picked);

} // namespace vartesa
