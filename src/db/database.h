#pragma once
// The database engine: dBase tables in folders, SQL through SQLite.
//
// How it works. Each .dbf file a statement names (as a quoted path, "<folder>/Datorii.dbf")
// is first read straight from the file: a virtual table of the same name hands SQLite the
// records it asks for, a slice at a time for a whole pass and a few records for a lookup by
// value, through an index of that field built by one pass over it and kept while the file
// stays the same (direct_table.cpp). The first statement that changes a table loads it into
// a temporary table of the same name, which SQLite finds first; that copy carries each row's
// record number as its rowid. Before every statement the engine checks the file (identity,
// size, modification time and the header, whose change counter every writer bumps) and
// brings the loaded copy up to date by comparing records, so another workstation's committed
// change is seen at the next statement; a file read straight while a writer was half-way
// through it is read again under the folder's shared lock. A changing statement runs on the
// loaded copy under the folder's exclusive lock;
// the rows it touched (SQLite's update hook) are encoded at once, so a value that does not
// fit its field fails the statement and leaves nothing changed, and are then written in
// place through the rollback journal (file_io.h). Inside a transaction the writes wait for
// commit and the lock is held until then. CREATE, DROP and ALTER TABLE, packing and width
// changes rewrite the whole file and replace it in one rename: a crash before the rename
// leaves the table as it was, one after it leaves the new table whole.
// A screen that only adds up a few fields of a large table reads them with scan(), straight
// from the file, without loading the table.
//
// Limits: a table a statement changed is held whole in memory (a commune's largest, the debt
// lines, takes about 60 MB); the shared folder must support open-file-description locks
// (Linux local disks and most network file systems do); indexes live in memory only.

#include "dbf_format.h"
#include "file_io.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>
#include <vector>

namespace vartesa::db {

class Query;

/// What Database::repairRecordCount found in a table and did to it.
struct CountRepair {
    Layout layout;      // the header as found
    RecordsInFile held; // the records the file holds
    QString fault;      // tableFault as found; empty for a whole table, which is left alone
    QString backup;     // the copy of the file as found: <name>.bak beside it
    QString rest;       // where the bytes of a record cut short go: <name>.rest; empty without
    bool done = false;  // the file was mended (not a dry run, and there was a fault)
};

/// A numeric field's new size, for Database::changeNumericWidth.
struct NumericWidth {
    QString field;
    int width = 0;    // characters, sign and point included
    int decimals = 0; // digits after the point
};

/// A table file's header against its size, read without its records.
struct TableFileCheck {
    Layout layout;          // the header as it stands (readLayout)
    std::int64_t size = 0;  // bytes of the file
    RecordsInFile held;     // the records its size holds
    QString fault;          // tableFault; empty for a whole table
};
/// Reads the header and the size of the table file `path`; throws vartesa::Error when it
/// cannot be read or is no dBase table at all.
TableFileCheck inspectTableFile(const QString& path);

/// One record's chosen fields, as Database::scan hands them over.
using ScanRow = std::function<void(const std::vector<QVariant>& values)>;

class Database {
public:
    /// `baseFolder` is where a table named without a folder lives (empty: the current folder).
    explicit Database(const QString& baseFolder = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// Runs one statement with `?` bound to `params` in order; returns the rows changed
    /// (0 for a SELECT or a table definition). Throws vartesa::Error; a statement that fails
    /// changes nothing.
    int exec(const QString& sql, const QVariantList& params = {});
    /// Runs a SELECT and keeps all its rows for walking. Throws for a statement that would
    /// change a table: those go through exec().
    Query query(const QString& sql, const QVariantList& params = {});
    /// Hands the chosen fields of every live record of `table` to `row`, in record order,
    /// with the values a query gives (texts trimmed on the right, whole numbers as qlonglong,
    /// other numbers as double, dates as QDate, empty numbers and dates null). A table no
    /// statement has named yet is read straight from its file, a slice at a time, and not
    /// loaded: a screen that adds up a few fields of a large table once pays for those fields
    /// only. Sees what a statement would: this engine's uncommitted changes, other
    /// workstations' committed ones. `row` only collects: it runs no statement on this engine
    /// (the file stays read-locked meanwhile). Throws for a missing table or field.
    void scan(const QString& table, const QStringList& fields, const ScanRow& row);
    /// Whether `sql` only reads (so query() takes it); throws when it cannot be prepared.
    bool isReadOnly(const QString& sql);
    /// First column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& params = {});

    /// Several statements as one unit; prefer the Transaction guard. Table definitions,
    /// packing and width changes are refused inside a transaction.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    /// Full path of a table as it lies on disk: relative names are taken from the base
    /// folder, "\" reads as "/", and the file name matches without regard to case. A table
    /// that does not exist yet keeps the name as written.
    QString resolve(const QString& name) const;
    bool tableExists(const QString& name) const;
    /// Field list and header of a table, as on disk now.
    Layout layout(const QString& table);
    /// Refuses a damaged table (Error "Tabela X.dbf este deteriorata: ...") without loading
    /// it: a dead writer's half-written table is put back first, then its header is read
    /// against its size. An operation calls it for the tables it will write before it draws
    /// numbers or writes anything outside the engine. A table that does not exist passes.
    void checkTable(const QString& table);
    /// Rolls back every table of `folder` that a writer which died mid-way left half written
    /// (its journal played back) and clears what is left of that writer's transaction; run
    /// when a data folder is opened, before anything reads or copies its files. Waits for the
    /// folder's exclusive lock. Returns the file names of the tables whose journal it found.
    QStringList recoverFolder(const QString& folder);

    /// Adds an index on one field. Throws when that index was added already (callers that
    /// expect it ignore the error); packing forgets the indexes of a table.
    void addIndex(const QString& table, const QString& field);
    /// Drops the deleted records, clears the production-index flag and removes the .mdx file
    /// of the same name. Needs the table free on every workstation.
    void pack(const QString& table);
    /// Sets a character field's width, keeping the data (cut when narrower) and field order.
    void changeCharWidth(const QString& table, const QString& field, int width);
    /// Gives numeric fields a new width and number of decimals in one rewrite, keeping every
    /// record (deleted ones too), every value and the order of the fields; the bytes of the
    /// other fields stay as they are. A value is never cut or rounded: one that does not fit
    /// its new size (record and value named) refuses the whole change and leaves the file
    /// as it was. A field already of its new size is left alone, and when none changes the
    /// file is not touched. Throws for a field the table lacks or that is not numeric.
    /// Needs the table free on every workstation.
    void changeNumericWidth(const QString& table, const std::vector<NumericWidth>& fields);

    /// Mends a table whose header counts other records than its file holds (a copy cut short,
    /// a writer that died before it updated the count): copies the file to <name>.bak first
    /// (refused when that exists), moves the bytes of a record cut short to <name>.rest
    /// (refused when that exists), then sets the count to the whole records held. A table
    /// whose header disagrees with its own field descriptors is refused: only the count is
    /// mended here. With `dryRun` it only finds, and writes nothing. Puts back a table a dead
    /// writer left half written first. Needs the table free on every workstation. Throws Error.
    CountRepair repairRecordCount(const QString& table, bool dryRun);

    /// Marks a table held open by this engine: shared (others may too) or exclusive (fails
    /// when any other engine holds it). Throws when the mark cannot be had.
    void holdTable(const QString& table, LockKind kind);
    /// Gives back one hold of that kind; the mark falls back to what the remaining holds ask.
    void releaseTable(const QString& table, LockKind kind);

    /// How long a writer waits for another workstation's lock before giving up.
    void setLockTimeout(int milliseconds);

    struct Impl;

private:
    friend struct QueryRunner;
    std::unique_ptr<Impl> d;
};

/// Makes the statements run while it lives one unit: commit() writes them all, and leaving
/// the scope without commit() undoes them.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db) { db_.begin(); }
    ~Transaction() {
        if (!done_) {
            try {
                db_.rollback();
            } catch (...) {
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        done_ = true;
        db_.commit();
    }

private:
    Database& db_;
    bool done_ = false;
};

} // namespace vartesa::db
