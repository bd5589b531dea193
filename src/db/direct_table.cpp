// Tables read straight from their files through a SQLite virtual table.
//
// A table no statement of this engine has changed is not loaded: a virtual table of the
// same name and columns hands SQLite its records as they lie in the file. A whole pass reads
// the file a slice at a time; a lookup by value (a role's lines) reads only the records an
// index of that field names. An index is built by one pass over the field the first time a
// statement looks a value up, and kept while the file's signature stays the same. So one
// role's account costs a few records and one pass per field looked up, whatever the size of
// the commune, and memory holds no table whole. The first statement that changes the table
// loads it (table_store.cpp) as a temporary table of the same name, which SQLite finds
// before the virtual table.

#include "database_impl.h"
#include "error.h"
#include "field_values.h"
#include "sql_text.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace vartesa::db {
namespace {

// --- keys ---------------------------------------------------------------------------------

// A key for a number that sorts as the numbers do, so 5 and 5.0 meet and a range of values
// is a range of keys: the bits of the double, the sign bit flipped for positives and every bit
// for negatives.
std::uint64_t numberKey(double value) {
    if (value == 0) value = 0; // -0 and 0 are one value
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
}

// A key for a text: a 64-bit FNV-1a hash of its UTF-8 bytes.
std::uint64_t textKey(const char* p, int len) {
    std::uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < len; ++i) h = (h ^ std::uint8_t(p[i])) * 1099511628211ull;
    return h;
}

bool keyable(const Field& f) { return f.type != FieldType::Date; }

// The key of a field of a record as SQLite would compare it; false for NULL.
struct KeySink {
    std::uint64_t key = 0;
    bool present = false;
    void text(const char* p, int len) { key = textKey(p, len), present = true; }
    void integer(std::int64_t i) { key = numberKey(double(i)), present = true; }
    void real(double d) { key = numberKey(d), present = true; }
    void null() { present = false; }
};

// What an equality with `value` can look up in the index of `f`.
enum class Lookup { None, Key, Scan };
Lookup valueKey(const Field& f, sqlite3_value* value, std::uint64_t& key) {
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL) return Lookup::None; // "= NULL" is never true
    if (f.type == FieldType::Char) {
        // A number compared with a text column is turned into text first: leave that to SQLite.
        if (type != SQLITE_TEXT) return Lookup::Scan;
        key = textKey(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
        return Lookup::Key;
    }
    if (type == SQLITE_INTEGER) key = numberKey(double(sqlite3_value_int64(value)));
    else if (type == SQLITE_FLOAT) key = numberKey(sqlite3_value_double(value));
    else return Lookup::Scan; // a text that may read as a number: SQLite decides
    return Lookup::Key;
}

// --- the virtual table ---------------------------------------------------------------------

struct DirectTable : sqlite3_vtab {
    Database::Impl* d = nullptr;
    QString path; // the table's full path, the key of Impl::tables
};

// How xBestIndex chose to read: every record, one record number, one field's value, or a
// range of a numeric field's values (the bounds given after the field number).
enum Plan : int { kScanAll = 0, kRowid = 1, kFieldBase = 2 };
constexpr int kRangeBase = 1 << 20;
constexpr int kHasLower = 1 << 16, kHasUpper = 1 << 17, kLowerOpen = 1 << 18, kUpperOpen = 1 << 19;

struct DirectCursor : sqlite3_vtab_cursor {
    Database::Impl* d = nullptr;
    TableState* t = nullptr;
    std::vector<std::uint32_t> rows; // records a lookup names, in record order
    size_t at = 0;                   // next of `rows`
    bool scanAll = false;
    std::int64_t rowid = 0;          // current record number, 0 before the first
    bool eof = true;
    QByteArray slice;                // records read at once during a whole pass
    std::int64_t sliceFirst = 0;     // record number of the slice's first record
    std::int64_t sliceCount = 0;
    QByteArray one;                  // the record a lookup read
    const char* rec = nullptr;       // the current record's bytes
    QByteArray scratch;              // a decoded text
};

TableState* stateOf(sqlite3_vtab* vtab) {
    auto* table = static_cast<DirectTable*>(vtab);
    const auto it = table->d->tables.find(table->path);
    return it == table->d->tables.end() ? nullptr : it->get();
}

QString declaration(const Layout& l) {
    QString sql = QStringLiteral("CREATE TABLE x(");
    for (size_t i = 0; i < l.fields.size(); ++i) {
        const Field& f = l.fields[i];
        sql += (i ? "," : "") + quoteIdentifier(f.name) + ' ' + sqlType(f);
        if (f.type == FieldType::Date) sql += QStringLiteral(" COLLATE vt_date");
    }
    return sql + ')';
}

int connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** error) {
    auto* d = static_cast<Database::Impl*>(aux);
    const QString path = QString::fromUtf8(argv[2]);
    const auto it = d->tables.find(path);
    if (argc < 3 || it == d->tables.end()) {
        *error = sqlite3_mprintf("no table file for %s", argv[2]);
        return SQLITE_ERROR;
    }
    const int rc = sqlite3_declare_vtab(db, declaration((*it)->direct.shape).toUtf8().constData());
    if (rc != SQLITE_OK) return rc;
    auto* table = new DirectTable;
    table->d = d;
    table->path = path;
    *out = table;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* vtab) {
    delete static_cast<DirectTable*>(vtab);
    return SQLITE_OK;
}

bool isRange(unsigned char op) {
    return op == SQLITE_INDEX_CONSTRAINT_GT || op == SQLITE_INDEX_CONSTRAINT_GE || op == SQLITE_INDEX_CONSTRAINT_LT ||
           op == SQLITE_INDEX_CONSTRAINT_LE;
}

// Chooses as the loaded copy's indexes would: a record number, else an equality on an
// indexed field, else a range of an indexed numeric field; an equality on any other field
// serves a join as SQLite's own passing index would. Rows come in the index's order.
int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) {
    const TableState* t = stateOf(vtab);
    const double count = t ? double(std::max<std::int64_t>(t->direct.count, 1)) : 1.0;
    const auto fieldOf = [&](int column) -> const Field* {
        if (!t || column < 0 || size_t(column) >= t->direct.shape.fields.size()) return nullptr;
        const Field& f = t->direct.shape.fields[size_t(column)];
        return keyable(f) ? &f : nullptr;
    };
    int chosen = -1, plan = kScanAll;
    bool cheap = false;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (!c.usable || c.op != SQLITE_INDEX_CONSTRAINT_EQ) continue;
        if (c.iColumn < 0) {
            chosen = i, plan = kRowid;
            break;
        }
        const Field* f = fieldOf(c.iColumn);
        if (!f) continue;
        if (f->type == FieldType::Char && qstricmp(sqlite3_vtab_collation(info, i), "BINARY") != 0) continue;
        const bool indexed = Database::Impl::indexedField(*t, *f);
        // A list of values on a field without an index is one pass in record order.
        if (!indexed && sqlite3_vtab_in(info, i, -1)) continue;
        if (chosen < 0 || (indexed && !cheap)) {
            chosen = i, plan = kFieldBase + c.iColumn;
            cheap = indexed;
        }
    }
    int lower = -1, upper = -1;
    if (chosen < 0 || (plan >= kFieldBase && !cheap)) {
        for (int i = 0; i < info->nConstraint; ++i) {
            const auto& c = info->aConstraint[i];
            const Field* f = c.usable && isRange(c.op) ? fieldOf(c.iColumn) : nullptr;
            if (!f || f->type == FieldType::Char || !Database::Impl::indexedField(*t, *f)) continue;
            if (lower >= 0 || upper >= 0) {
                const int column = info->aConstraint[lower >= 0 ? lower : upper].iColumn;
                if (c.iColumn != column) continue;
            }
            const bool below = c.op == SQLITE_INDEX_CONSTRAINT_LT || c.op == SQLITE_INDEX_CONSTRAINT_LE;
            (below ? upper : lower) = i;
        }
        if (lower >= 0 || upper >= 0) {
            if (chosen >= 0) info->aConstraintUsage[chosen].argvIndex = 0;
            chosen = -1;
            plan = kRangeBase + info->aConstraint[lower >= 0 ? lower : upper].iColumn;
            int argv = 0;
            if (lower >= 0) {
                info->aConstraintUsage[lower].argvIndex = ++argv;
                plan |= kHasLower | (info->aConstraint[lower].op == SQLITE_INDEX_CONSTRAINT_GT ? kLowerOpen : 0);
            }
            if (upper >= 0) {
                info->aConstraintUsage[upper].argvIndex = ++argv;
                plan |= kHasUpper | (info->aConstraint[upper].op == SQLITE_INDEX_CONSTRAINT_LT ? kUpperOpen : 0);
            }
        }
    }
    info->idxNum = plan;
    if (chosen >= 0) {
        info->aConstraintUsage[chosen].argvIndex = 1; // SQLite still checks every row given
        if (plan == kRowid) {
            info->estimatedCost = 1;
            info->estimatedRows = 1;
            info->idxFlags = SQLITE_INDEX_SCAN_UNIQUE;
        } else {
            // A field without an index of its own pays one pass to build it, once.
            info->estimatedCost = (cheap ? 5 : 20) + std::log2(count);
            info->estimatedRows = 10;
        }
    } else if (plan >= kRangeBase) {
        info->estimatedCost = 5 + count * ((plan & kHasLower) && (plan & kHasUpper) ? 0.5 : 2.5);
        info->estimatedRows = sqlite3_int64(count / 4) + 1;
    } else {
        info->estimatedCost = 10 * count + 10;
        info->estimatedRows = sqlite3_int64(count);
    }
    // Whole passes and record-number lookups go in record order.
    if ((plan == kScanAll || plan == kRowid) && info->nOrderBy == 1 && info->aOrderBy[0].iColumn < 0 &&
        !info->aOrderBy[0].desc)
        info->orderByConsumed = 1;
    return SQLITE_OK;
}

int open(sqlite3_vtab* vtab, sqlite3_vtab_cursor** out) {
    auto* cursor = new DirectCursor;
    cursor->d = static_cast<DirectTable*>(vtab)->d;
    cursor->t = stateOf(vtab);
    *out = cursor;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cur) {
    delete static_cast<DirectCursor*>(cur);
    return SQLITE_OK;
}

// Reads the record `rowid` of a lookup; false when the file holds no such record.
bool readOne(DirectCursor& c, std::int64_t rowid) {
    const Layout& l = c.t->direct.shape;
    c.one = readAt(c.t->direct.fd.get(), l.headerLength + (rowid - 1) * l.recordLength, l.recordLength);
    if (c.one.size() < l.recordLength) return false;
    c.rec = c.one.constData();
    return true;
}

// Reads the slice holding `rowid` during a whole pass.
bool readSlice(DirectCursor& c, std::int64_t rowid) {
    const Layout& l = c.t->direct.shape;
    const std::int64_t per = std::max<std::int64_t>(1, (1 << 18) / l.recordLength);
    const std::int64_t n = std::min(per, c.t->direct.count - rowid + 1);
    c.slice = readAt(c.t->direct.fd.get(), l.headerLength + (rowid - 1) * l.recordLength, n * l.recordLength);
    c.sliceFirst = rowid;
    c.sliceCount = c.slice.size() / l.recordLength;
    return c.sliceCount > 0;
}

// Moves to the next live record after the current one.
void advance(DirectCursor& c) {
    const Layout& l = c.t->direct.shape;
    while (true) {
        if (c.scanAll) {
            const std::int64_t next = c.rowid + 1;
            if (next > c.t->direct.count) break;
            if (next >= c.sliceFirst + c.sliceCount && !readSlice(c, next)) break;
            c.rowid = next;
            c.rec = c.slice.constData() + (next - c.sliceFirst) * l.recordLength;
        } else {
            if (c.at >= c.rows.size()) break;
            c.rowid = c.rows[c.at++];
            if (c.rowid > c.t->direct.count || !readOne(c, c.rowid)) continue;
        }
        if (*c.rec != '*') return;
    }
    c.eof = true;
}

int filter(sqlite3_vtab_cursor* cur, int plan, const char*, int argc, sqlite3_value** argv) {
    auto& c = *static_cast<DirectCursor*>(cur);
    c.rows.clear();
    c.at = 0;
    c.rowid = 0;
    c.sliceFirst = c.sliceCount = 0;
    c.eof = false;
    c.scanAll = false;
    if (!c.t || !c.t->direct.fd.valid()) {
        c.eof = true;
        return SQLITE_OK;
    }
    try {
        if (plan == kRowid && argc == 1) {
            if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
                const std::int64_t r = sqlite3_value_int64(argv[0]);
                if (r >= 1 && r <= c.t->direct.count) c.rows.push_back(std::uint32_t(r));
            } else {
                c.scanAll = true; // a record number given as text or real: SQLite compares
            }
        } else if (plan >= kRangeBase) {
            const int field = plan & 0xFFFF;
            const Field& f = c.t->direct.shape.fields[size_t(field)];
            std::uint64_t low = 0, high = ~std::uint64_t(0);
            bool empty = false, scan = false;
            int arg = 0;
            const auto bound = [&](bool has, bool open, bool isLower, std::uint64_t& key) {
                if (!has) return;
                switch (valueKey(f, argv[arg++], key)) {
                case Lookup::None: empty = true; break;
                case Lookup::Scan: scan = true; break;
                case Lookup::Key:
                    if (open && isLower) empty = empty || key == ~std::uint64_t(0), ++key;
                    else if (open) empty = empty || key == 0, --key;
                }
            };
            bound(plan & kHasLower, plan & kLowerOpen, true, low);
            bound(plan & kHasUpper, plan & kUpperOpen, false, high);
            if (scan) {
                c.scanAll = true;
            } else if (!empty && low <= high) {
                const KeyIndex& index = c.d->keyIndex(*c.t, field);
                auto it = std::lower_bound(index.entries.begin(), index.entries.end(), KeyIndex::Entry{low, 0});
                for (; it != index.entries.end() && it->key <= high; ++it) c.rows.push_back(it->rowid);
            }
        } else if (plan >= kFieldBase && argc == 1) {
            const int field = plan - kFieldBase;
            std::uint64_t key = 0;
            switch (valueKey(c.t->direct.shape.fields[size_t(field)], argv[0], key)) {
            case Lookup::None:
                break;
            case Lookup::Scan:
                c.scanAll = true;
                break;
            case Lookup::Key: {
                const KeyIndex& index = c.d->keyIndex(*c.t, field);
                auto it = std::lower_bound(index.entries.begin(), index.entries.end(), KeyIndex::Entry{key, 0});
                for (; it != index.entries.end() && it->key == key; ++it) c.rows.push_back(it->rowid);
                break;
            }
            }
        } else {
            c.scanAll = true;
        }
        advance(c);
    } catch (const Error& e) {
        sqlite3_free(cur->pVtab->zErrMsg);
        cur->pVtab->zErrMsg = sqlite3_mprintf("%s", e.text().toUtf8().constData());
        return SQLITE_ERROR;
    }
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* cur) {
    auto& c = *static_cast<DirectCursor*>(cur);
    try {
        advance(c);
    } catch (const Error& e) {
        sqlite3_free(cur->pVtab->zErrMsg);
        cur->pVtab->zErrMsg = sqlite3_mprintf("%s", e.text().toUtf8().constData());
        return SQLITE_ERROR;
    }
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor* cur) { return static_cast<DirectCursor*>(cur)->eof; }

int column(sqlite3_vtab_cursor* cur, sqlite3_context* ctx, int i) {
    auto& c = *static_cast<DirectCursor*>(cur);
    struct Result {
        sqlite3_context* ctx;
        void text(const char* p, int len) { sqlite3_result_text(ctx, p, len, SQLITE_TRANSIENT); }
        void integer(std::int64_t v) { sqlite3_result_int64(ctx, v); }
        void real(double v) { sqlite3_result_double(ctx, v); }
        void null() { sqlite3_result_null(ctx); }
    };
    emitField(c.t->direct.shape.fields[size_t(i)], c.rec, c.scratch, Result{ctx});
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cur, sqlite3_int64* out) {
    *out = static_cast<DirectCursor*>(cur)->rowid;
    return SQLITE_OK;
}

sqlite3_module directModule() {
    sqlite3_module m{};
    m.iVersion = 1;
    m.xCreate = connect;
    m.xConnect = connect;
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnect;
    m.xDestroy = disconnect;
    m.xOpen = open;
    m.xClose = close;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    return m;
}

struct LoadingGuard {
    bool& flag;
    explicit LoadingGuard(bool& f) : flag(f) { flag = true; }
    ~LoadingGuard() { flag = false; }
};

} // namespace

void registerDirectTables(sqlite3* db, Database::Impl* d) {
    static const sqlite3_module module = directModule();
    sqlite3_create_module_v2(db, "vartesa_dbf", &module, d, nullptr);
}

bool Database::Impl::indexedField(const TableState& t, const Field& f) {
    return (f.type == FieldType::Numeric && f.decimals == 0 && f.name.startsWith(QLatin1String("ID"))) ||
           t.indexes.contains(f.name);
}

void Database::Impl::refreshDirect(TableState& t) {
    Signature now = readSignature(t.path, true);
    if (now.size < 0) {
        forgetDirect(t);
        throw Error(QStringLiteral("Tabela %1 nu exista").arg(t.path), t.path);
    }
    if (t.direct.declared && now == t.signature && !QFileInfo::exists(journalPath(t.path))) return;
    underReadLock(t.path, [&] {
        Fd fd = openFile(t.path, O_RDONLY);
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0) throw Error(QStringLiteral("Tabela %1 nu poate fi citita").arg(t.path), t.path);
        const Layout layout = readTableLayout(fd.get(), st.st_size, t.path);
        now.device = st.st_dev;
        now.inode = st.st_ino;
        now.size = st.st_size;
        now.mtimeNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        now.header = readAt(fd.get(), 0, kHeaderSize);
        if (t.direct.declared && !layout.sameShape(t.direct.shape)) forgetDirect(t);
        t.layout = layout;
        t.direct.indexes.clear();
        t.direct.count = recordsHeld(layout, now.size);
        t.direct.fd = std::move(fd);
        if (!t.direct.declared) {
            statements.clear(); // prepared on a loaded copy, or on a table of another shape
            t.direct.shape = layout;
            LoadingGuard guard(loading);
            run(("CREATE VIRTUAL TABLE " + quoteIdentifier(t.path) + " USING vartesa_dbf").toUtf8().constData());
            t.direct.declared = true;
            t.direct.declaredInTx = inTx;
        }
        t.direct.shape = layout; // same shape; the counts and dates move on
        t.signature = now;
    });
}

void Database::Impl::forgetDirect(TableState& t) {
    if (t.direct.declared) {
        LoadingGuard guard(loading);
        statements.clear();
        try {
            run(("DROP TABLE IF EXISTS main." + quoteIdentifier(t.path)).toUtf8().constData());
        } catch (const Error&) {
        }
    }
    t.direct = DirectState{};
    if (!t.loaded) t.signature = {};
}

const KeyIndex& Database::Impl::keyIndex(TableState& t, int field) {
    std::shared_ptr<KeyIndex>& slot = t.direct.indexes[field];
    if (slot) return *slot;
    auto index = std::make_shared<KeyIndex>();
    const Layout& l = t.direct.shape;
    const Field& f = l.fields[size_t(field)];
    index->entries.reserve(size_t(t.direct.count));
    const std::int64_t slice = std::max<std::int64_t>(1, (1 << 20) / l.recordLength);
    QByteArray scratch;
    for (std::int64_t first = 0; first < t.direct.count; first += slice) {
        const std::int64_t n = std::min(slice, t.direct.count - first);
        const QByteArray bytes = readAt(t.direct.fd.get(), l.headerLength + first * l.recordLength, n * l.recordLength);
        const std::int64_t whole = bytes.size() / l.recordLength;
        for (std::int64_t r = 0; r < whole; ++r) {
            const char* rec = bytes.constData() + r * l.recordLength;
            if (*rec == '*') continue;
            KeySink key;
            emitField(f, rec, scratch, key);
            if (key.present) index->entries.push_back({key.key, std::uint32_t(first + r + 1)});
        }
        if (whole < n) break;
    }
    std::sort(index->entries.begin(), index->entries.end());
    index->entries.shrink_to_fit();
    slot = std::move(index);
    return *slot;
}

bool Database::Impl::directUnchanged(const QStringList& paths) const {
    for (const QString& path : paths) {
        const auto it = tables.find(path);
        if (it == tables.end() || (*it)->loaded || !(*it)->direct.declared) continue;
        if (readSignature(path, true) != (*it)->signature || QFileInfo::exists(journalPath(path))) return false;
    }
    return true;
}

void Database::Impl::invalidateDirect(const QStringList& paths) {
    for (const QString& path : paths) {
        const auto it = tables.find(path);
        if (it == tables.end() || (*it)->loaded) continue;
        (*it)->direct.indexes.clear();
        (*it)->signature = {};
    }
}

void Database::Impl::holdRead(const QString& folder) {
    int& n = readHolds[folder];
    if (n++ > 0 || exclusiveHeld.contains(folder)) return;
    try {
        folderLock(folder).lockData(LockKind::Shared, lockTimeoutMs);
    } catch (...) {
        if (--readHolds[folder] == 0) readHolds.erase(folder);
        throw;
    }
}

void Database::Impl::releaseRead(const QString& folder) {
    auto it = readHolds.find(folder);
    if (it == readHolds.end()) return;
    if (--it->second > 0) return;
    readHolds.erase(it);
    if (!exclusiveHeld.contains(folder)) folderLock(folder).unlockData();
}

ReadHold::ReadHold(Database::Impl& d, const QStringList& paths) : d_(d) {
    for (const QString& path : paths) {
        const QString folder = QFileInfo(path).absolutePath();
        if (folders_.contains(folder)) continue;
        d_.holdRead(folder);
        folders_ << folder;
    }
}

ReadHold::~ReadHold() {
    for (const QString& folder : std::as_const(folders_)) d_.releaseRead(folder);
}

} // namespace vartesa::db
