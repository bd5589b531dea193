#pragma once
// Who works on a data folder. Every session (the program, a command of the tool) marks the
// folder it works on in use; a restore, which replaces every file of the folder, needs it
// alone. The mark lives in the folder's lock file (file_io.h) beside the data lock, so a
// crashed session gives it back; and the console's statements, typed by hand, are kept to
// the tables of their own folder.

#include "database.h"

#include <QString>

namespace vartesa::db {

/// Marks `folder` in use by `db` for as long as the engine lives (or until releaseFolder).
/// Shared: every session working on a data folder holds it. Exclusive: the folder is used by
/// this engine alone and its data lock is held for writing, as a restore needs. Refused with
/// "Baza de date este folosita; inchideti programul pe celelalte posturi si reluati." while
/// another engine, in this process or another, holds the mark or the data lock; a failed
/// exclusive hold keeps the engine's shared one.
void holdFolder(Database& db, const QString& folder, LockKind kind);
/// Gives the mark of `folder` back (and its data lock, after an exclusive hold).
void releaseFolder(Database& db, const QString& folder);

/// From now on the statements of `db` name tables of its base folder only: a name with ".."
/// is refused by every engine, and a confined one refuses any table of another folder, so the
/// console cannot reach another commune's tables or make files beside its own. Code that
/// works on another folder opens an engine there.
void confineToBaseFolder(Database& db);

} // namespace vartesa::db
