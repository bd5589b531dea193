#pragma once
// Small POSIX file helpers, the folder lock shared by the workstations, and the rollback
// journal that makes every write to a table all-or-nothing.
//
// Locks. Each folder that holds tables gets a lock file "Vartesa.lck". Byte 0 of it is the
// data lock: readers hold it shared while they load a table, writers hold it exclusive
// from their first change until the files are written. Open-file description locks are
// used, so two engines in one process exclude each other like two workstations, and a
// crashed process releases its locks. Further bytes, one per table name (hashed), mark a
// table held open by a table cursor; opening a table exclusively takes its byte exclusive.
//
// Journal. Before a table's bytes are overwritten, the original bytes of every region about
// to change (and the original file size) go to "<table>-journal", synced. A journal that
// is found while holding the exclusive data lock belongs to a writer that died mid-way and
// is played back. A journal with a bad checksum was never finished, so its table was never
// touched and the journal is simply removed. When one transaction writes several tables,
// each journal names a master file; the master's removal is the commit point, and a journal
// whose master is gone belongs to a committed transaction.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace vartesa::db {

/// An owned file descriptor.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& o) noexcept : fd_(o.release()) {}
    Fd& operator=(Fd&& o) noexcept;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd();
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() {
        const int f = fd_;
        fd_ = -1;
        return f;
    }

private:
    int fd_ = -1;
};

/// Opens a file; throws vartesa::Error with the system's reason on failure.
Fd openFile(const QString& path, int flags, int mode = 0666);
/// Reads exactly `len` bytes at `offset` (fewer only at end of file).
QByteArray readAt(int fd, std::int64_t offset, std::int64_t len);
/// Writes all bytes at `offset`; throws on failure.
void writeAt(int fd, std::int64_t offset, const char* data, std::int64_t len, const QString& path);
/// Flushes file data to the disk; throws on failure.
void syncFile(int fd, const QString& path);
/// Writes a whole new file beside `path` and renames it over `path`: all or nothing.
void replaceFile(const QString& path, const QByteArray& content);

enum class LockKind { Shared, Exclusive };

/// The lock file of one folder.
class FolderLock {
public:
    explicit FolderLock(const QString& folder);
    /// Waits up to `timeoutMs` for the data lock; throws when another workstation keeps it.
    void lockData(LockKind kind, int timeoutMs);
    void unlockData();
    /// Tries once to mark `table` open (shared) or held alone (exclusive).
    bool tryLockTable(const QString& table, LockKind kind);
    void unlockTable(const QString& table);
    bool usable() const { return fd_.valid(); }

private:
    QString folder_; // folder whose tables this lock guards
    Fd fd_;          // Vartesa.lck, invalid on a read-only folder
};

/// One stretch of a file as it was before a write.
struct Region {
    std::int64_t offset = 0;
    QByteArray original;
};

QString journalPath(const QString& table);
/// Writes and syncs the journal of `table`; `master` is empty for a one-table write.
void writeJournal(const QString& table, std::int64_t originalSize, const std::vector<Region>& regions,
                  const QString& master);
/// Writes and syncs a master file naming the journals of one transaction.
void writeMaster(const QString& master, const QStringList& tables);
/// Plays back a journal left by a writer that died; call with the exclusive data lock held.
/// Returns true when the table was restored. A journal whose table no longer exists is
/// removed (the other tables of its transaction are still rolled back).
bool recoverJournal(const QString& table);
/// Removes a finished journal.
void removeJournal(const QString& table);
/// Removes the master file of a transaction over several tables: the commit point.
void removeMaster(const QString& master);
/// Flushes the folder holding `path`, so that a file created, renamed or removed there
/// survives a power cut.
void syncFolderOf(const QString& path);
/// How many folder flushes this process has made (for the tests).
int folderSyncs();

} // namespace vartesa::db
