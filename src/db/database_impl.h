#pragma once
// Inside the engine: the loaded tables and the SQLite connection that holds them.

#include "database.h"
#include "error.h"

#include <QHash>
#include <QSet>

#include <map>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>

namespace vartesa::db {

/// A prepared statement, finalized when its last holder lets it go.
using Statement = std::shared_ptr<sqlite3_stmt>;

/// What a table file looked like when it was last read or written.
struct Signature {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    std::int64_t mtimeNs = 0;
    QByteArray header; // first 32 bytes
    bool operator==(const Signature&) const = default;
};

/// One field's values in record order, for looking records up by value without loading the
/// table: each live record's key (a number's value, a text's hash) with its record number,
/// sorted. Keys may collide; SQLite checks every row it is handed, so a lookup may give more.
struct KeyIndex {
    struct Entry {
        std::uint64_t key;
        std::uint32_t rowid;
        bool operator<(const Entry& o) const { return key != o.key ? key < o.key : rowid < o.rowid; }
    };
    std::vector<Entry> entries;
};

/// A table read straight from its file through a virtual table, while no statement of this
/// engine has changed it (a changing statement loads it whole, see TableState::loaded).
struct DirectState {
    bool declared = false;      // the virtual table exists in SQLite's "main"
    bool declaredInTx = false;  // declared inside the open transaction (gone on rollback)
    Layout shape;               // the layout the virtual table was declared with
    std::int64_t count = 0;     // whole records the file holds
    Fd fd;                      // the file, open for reading records
    std::map<int, std::shared_ptr<KeyIndex>> indexes; // by field number, built on first lookup
};

/// One table file and its loaded copy.
struct TableState {
    QString path;               // full path; also the SQLite table's name
    Layout layout;              // as in the file after the last load or write
    QByteArray records;         // the file's records as last seen, for comparing on reload
    Signature signature;        // file identity when `records` was read
    bool loaded = false;        // the SQLite table exists and matches `records`
    bool reloadedInTx = false;  // loaded inside the open transaction
    QSet<QString> indexes;      // fields indexed on request
    DirectState direct;         // reading straight from the file while not loaded
    /// Records to write at the next flush, by record number: bytes, or nullopt to delete.
    std::map<std::int64_t, std::optional<QByteArray>> pending;
};

/// How a table is held open by this engine's cursors.
struct TableHold {
    int shared = 0;    // cursors that let others open the table too
    int exclusive = 0; // cursors that hold it alone
};

/// Why a table could not be held alone: a lock file or table this user may not write ("Nu
/// aveti drept de scriere la ..."), else another workstation that holds it.
Error tableBusyError(const FolderLock& lock, const QString& path);

struct Database::Impl {
    QString baseFolder;
    bool confined = false; // statements name tables of the base folder only (confineToBaseFolder)
    sqlite3* db = nullptr;
    int lockTimeoutMs = 15000;
    bool inTx = false;
    bool loading = false; // our own changes to the loaded copies: not pending writes

    QHash<QString, std::shared_ptr<TableState>> tables; // by full path
    std::map<QString, std::unique_ptr<FolderLock>> locks; // by folder
    QSet<QString> exclusiveHeld;                        // folders locked for writing
    QHash<QString, TableHold> tableMarks;               // tables held open by cursors
    QHash<QString, LockKind> folderMarks;               // folders marked in use (holdFolder)
    /// Puts the lock-file mark of a table back to what its holds ask for.
    void settleMark(const QString& path);
    /// Prepared statements by SQL text, each with the tick of its last use. A statement is
    /// shared: one evicted from the cache while a caller still steps it lives until that
    /// caller lets it go.
    QHash<QString, std::pair<Statement, std::uint64_t>> statements;
    std::uint64_t statementTick = 0;
    std::vector<std::pair<TableState*, std::int64_t>> touched; // rows changed by the statement
    QString refusal; // why the authorizer refused the statement being prepared

    // --- connection -------------------------------------------------------------------
    void open();
    void close();
    /// The prepared statement for `sql`, reset and unbound; keep the returned handle while
    /// stepping it.
    Statement prepare(const QString& sql);
    /// How many prepared statements the cache keeps before it drops the least used half.
    static constexpr qsizetype kStatementCacheSize = 256;
    void evictStatements();
    void run(const char* sql);
    [[noreturn]] void fail(const QString& what, const QString& where = {}) const;
    void bind(sqlite3_stmt* st, const QVariantList& params);

    // --- locks ------------------------------------------------------------------------
    FolderLock& folderLock(const QString& folder);
    void lockExclusive(const QString& folder);
    void unlockAllExclusive();

    // --- tables (table_store.cpp) -----------------------------------------------------
    TableState& table(const QString& path);
    /// Brings the loaded copy up to date with the file, loading it when it is read straight
    /// from the file so far; throws when the file is missing.
    void refresh(TableState& t);
    /// Makes `t` current for a reading statement: a loaded copy is refreshed, any other table
    /// is read straight from its file. Call with the folder read-held (ReadHold).
    void refreshForRead(TableState& t);
    /// Both take the whole file read; its buffer becomes the table's `records`.
    void fullLoad(TableState& t, QByteArray file);
    void applyDiff(TableState& t, QByteArray file);
    void createIndexes(TableState& t);
    /// Encodes the rows touched by the last statement into pending writes, fitting the
    /// loaded copy to what the file will hold. Throws when a value does not fit.
    void stageTouched();
    /// Writes every pending record to the files, all or nothing.
    void flush();
    void discardPending();
    /// The record `rowid` as the file will hold it before this statement's change (pending
    /// bytes first), or nullopt when it is new or deleted.
    std::optional<QByteArray> liveRecord(const TableState& t, std::int64_t rowid) const;
    /// Throws when a statement set a row's record number itself.
    void checkRecordNumbers() const;
    void forget(TableState& t); // drop the loaded copy; the next statement reloads
    Signature readSignature(const QString& path, bool withHeader) const;
    /// Runs `read` under the folder's shared lock (unless this engine writes there), after
    /// putting back a table a dead writer left half written.
    void underReadLock(const QString& path, const std::function<void()>& read);
    /// Hands the chosen fields of every live record of a file that is not loaded to `row`.
    void scanFile(const QString& path, const QStringList& fields, const ScanRow& row);

    // --- tables read straight from their files (direct_table.cpp) ------------------------
    /// Declares or re-reads the header of a table read straight from its file.
    void refreshDirect(TableState& t);
    /// Drops the virtual table and what was read of the file.
    void forgetDirect(TableState& t);
    /// The index of one field, built by one pass over the file when first asked.
    const KeyIndex& keyIndex(TableState& t, int field);
    /// Whether a lookup by this field is as cheap as the loaded copy's own index.
    static bool indexedField(const TableState& t, const Field& f);
    /// Whether the files of `paths` read straight are still as their signatures say and no
    /// writer is half-way through them: a statement that read them saw one state.
    bool directUnchanged(const QStringList& paths) const;
    /// Forgets what was read of those files, to read them again.
    void invalidateDirect(const QStringList& paths);
    /// Folders read-held for a statement that reads files straight: shared lock counts.
    std::map<QString, int> readHolds;
    void holdRead(const QString& folder);
    void releaseRead(const QString& folder);

    // --- table definitions and maintenance (maintenance.cpp) --------------------------
    int runDefinition(const struct ParsedStatement& p);
    void rewriteTable(TableState& t, const Layout& newLayout,
                      const std::function<void(const char* oldRecord, char* newRecord)>& copy,
                      bool dropDeleted);
};

/// Holds the shared data lock of the folders of `paths` while it lives (nothing where this
/// engine writes already), so that files read straight stay as one statement saw them.
class ReadHold {
public:
    ReadHold(Database::Impl& d, const QStringList& paths);
    ~ReadHold();
    ReadHold(const ReadHold&) = delete;
    ReadHold& operator=(const ReadHold&) = delete;

private:
    Database::Impl& d_;
    QStringList folders_;
};

/// The layout of a table whose file starts with `start` (at least its header), holds
/// `fileSize` bytes and ends in `lastByte`: the one place where the engine reads a table's
/// header before using it. Refuses a table whose header disagrees with its file
/// (checkTableFile).
Layout tableLayout(const QByteArray& start, std::int64_t fileSize, char lastByte, const QString& path);
/// Reads the header of an open table file and gives its layout (tableLayout).
Layout readTableLayout(int fd, std::int64_t fileSize, const QString& path);
/// The whole records a file of `fileSize` bytes holds, at most the header's count.
std::int64_t recordsHeld(const Layout& l, std::int64_t fileSize);

/// Registers the virtual table module that reads table files straight.
void registerDirectTables(sqlite3* db, Database::Impl* d);

/// A statement that sets the record number itself; %1 is the table's file name.
inline const QString kRecordNumberRefusal =
    QStringLiteral("Numarul inregistrarii nu se stabileste prin instructiune in tabela %1");

/// The fields named, in that order; throws naming the table for a field it does not have.
std::vector<Field> chosenFields(const Layout& layout, const QStringList& names, const QString& path);
/// The loaded copy's column type for a field.
const char* sqlType(const Field& f);
/// Reads one column of a SQLite row as the program sees it.
QVariant columnValue(sqlite3_stmt* st, int column);

} // namespace vartesa::db
