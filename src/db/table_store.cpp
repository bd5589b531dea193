// Loading table files into SQLite, and writing the changed rows back.

#include "database_impl.h"
#include "error.h"
#include "field_values.h"
#include "sql_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vartesa::db {
namespace {

// Binds one field of a record to the insert statement. Texts are bound without copying:
// straight from the record when they are plain ASCII, else from the field's own scratch
// buffer, both of which outlive the statement's step.
void bindField(sqlite3_stmt* st, int column, const Field& f, const char* rec, QByteArray& scratch) {
    struct Binder {
        sqlite3_stmt* st;
        int column;
        void text(const char* p, int len) { sqlite3_bind_text(st, column, p, len, SQLITE_STATIC); }
        void integer(std::int64_t i) { sqlite3_bind_int64(st, column, i); }
        void real(double d) { sqlite3_bind_double(st, column, d); }
        void null() { sqlite3_bind_null(st, column); }
    };
    emitField(f, rec, scratch, Binder{st, column});
}

QString insertSql(const TableState& t, bool replace) {
    QString sql = replace ? QStringLiteral("INSERT OR REPLACE INTO ") : QStringLiteral("INSERT INTO ");
    sql += quoteIdentifier(t.path) + QStringLiteral("(rowid");
    for (const Field& f : t.layout.fields) sql += ',' + quoteIdentifier(f.name);
    sql += QStringLiteral(") VALUES(?") + QStringLiteral(",?").repeated(int(t.layout.fields.size())) + ')';
    return sql;
}

// Binds a whole record (rowid first) and inserts it.
void insertRecord(Database::Impl& d, sqlite3_stmt* st, const TableState& t, std::int64_t rowid,
                  const char* rec, std::vector<QByteArray>& scratch) {
    sqlite3_bind_int64(st, 1, rowid);
    for (size_t i = 0; i < t.layout.fields.size(); ++i)
        bindField(st, int(i) + 2, t.layout.fields[i], rec, scratch[i]);
    if (sqlite3_step(st) != SQLITE_DONE) {
        sqlite3_reset(st);
        d.fail(QString::fromUtf8(sqlite3_errmsg(d.db)), t.path);
    }
    sqlite3_reset(st);
}

struct LoadingGuard {
    bool& flag;
    explicit LoadingGuard(bool& f) : flag(f) { flag = true; }
    ~LoadingGuard() { flag = false; }
};

// The records of a file read whole, `count` of them, in the file's own buffer: a copy of a
// large table's records costs as much as reading them, most of it in fresh memory pages.
QByteArray takeRecords(QByteArray file, const Layout& l, std::int64_t count) {
    file.remove(0, l.headerLength); // drops the header without moving the records
    file.truncate(qsizetype(count * l.recordLength));
    return file;
}

// A field of a record as the loaded copy holds it (what bindField gives SQLite), or, with
// `dateAsDate`, as a query hands it over (dates as QDate).
QVariant fieldValue(const Field& f, const char* rec, bool dateAsDate = false) {
    const char* p = rec + f.offset;
    switch (f.type) {
    case FieldType::Char: {
        int len = f.length;
        while (len > 0 && (p[len - 1] == ' ' || p[len - 1] == '\0')) --len;
        QByteArray utf8;
        decodeChar(p, len, utf8);
        return QString::fromUtf8(utf8);
    }
    case FieldType::Numeric:
    case FieldType::Float: {
        std::int64_t i = 0;
        double d = 0;
        bool isInteger = false;
        if (!decodeNumber(p, f.length, i, d, isInteger)) return {};
        if (f.type == FieldType::Numeric && f.decimals == 0 && isInteger) return qlonglong(i);
        return d;
    }
    case FieldType::Date: {
        QDate date;
        if (!decodeDate(p, f.length, date)) return {};
        if (dateAsDate) return date;
        return date.toString(Qt::ISODate);
    }
    case FieldType::Logical: {
        const int b = decodeLogical(*p);
        return b < 0 ? QVariant() : QVariant(qlonglong(b));
    }
    }
    return {};
}

// Whether a value read back from SQLite is the one the record held.
bool sameValue(const QVariant& was, const QVariant& now) {
    if (was.isNull() || now.isNull()) return was.isNull() == now.isNull();
    const int a = was.metaType().id(), b = now.metaType().id();
    if (a == QMetaType::QString || b == QMetaType::QString) return a == b && was.toString() == now.toString();
    if (a == QMetaType::LongLong && b == QMetaType::LongLong) return was.toLongLong() == now.toLongLong();
    return was.toDouble() == now.toDouble();
}

} // namespace

std::int64_t recordsHeld(const Layout& l, std::int64_t fileSize) {
    // A short file holds fewer whole records than its header counts.
    const std::int64_t room = std::max<std::int64_t>(0, fileSize - l.headerLength) / l.recordLength;
    return std::min<std::int64_t>(l.recordCount, room);
}

Layout tableLayout(const QByteArray& start, std::int64_t fileSize, char lastByte, const QString& path) {
    const Layout layout = parseLayout(start, path);
    checkTableFile(layout, fileSize, lastByte, path);
    return layout;
}

Layout readTableLayout(int fd, std::int64_t fileSize, const QString& path) {
    const QByteArray start = readAt(fd, 0, kHeaderSize);
    const QByteArray last = readAt(fd, fileSize - 1, 1);
    const char lastByte = last.isEmpty() ? '\0' : last[0];
    if (start.size() < kHeaderSize) return tableLayout(start, fileSize, lastByte, path); // throws: not a table
    const int headerLength = std::uint8_t(start[8]) | std::uint8_t(start[9]) << 8;
    return tableLayout(readAt(fd, 0, headerLength), fileSize, lastByte, path);
}

std::vector<Field> chosenFields(const Layout& layout, const QStringList& names, const QString& path) {
    std::vector<Field> fields;
    for (const QString& name : names) {
        const int i = layout.indexOf(name);
        if (i < 0)
            throw Error(QStringLiteral("Campul %1 nu exista in tabela %2").arg(name, QFileInfo(path).fileName()), path);
        fields.push_back(layout.fields[size_t(i)]);
    }
    return fields;
}

const char* sqlType(const Field& f) {
    switch (f.type) {
    case FieldType::Char: return "TEXT";
    case FieldType::Numeric: return f.decimals == 0 ? "INTEGER" : "REAL";
    case FieldType::Float: return "REAL";
    case FieldType::Date: return "DATE";
    case FieldType::Logical: return "BOOLEAN";
    }
    return "TEXT";
}

TableState& Database::Impl::table(const QString& path) {
    auto it = tables.find(path);
    if (it == tables.end()) {
        auto t = std::make_shared<TableState>();
        t->path = path;
        it = tables.insert(path, t);
    }
    return **it;
}

Signature Database::Impl::readSignature(const QString& path, bool withHeader) const {
    Signature s;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return s;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    if (withHeader) {
        Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
        if (fd.valid()) s.header = readAt(fd.get(), 0, kHeaderSize);
    }
    return s;
}

void Database::Impl::refresh(TableState& t) {
    Signature now = readSignature(t.path, true);
    if (now.size < 0) {
        if (t.loaded) forget(t);
        throw Error(QStringLiteral("Tabela %1 nu exista").arg(t.path), t.path);
    }
    if (t.loaded && now == t.signature && !QFileInfo::exists(journalPath(t.path))) return;

    underReadLock(t.path, [&] {
        now = readSignature(t.path, false);
        QByteArray file;
        {
            Fd fd = openFile(t.path, O_RDONLY);
            file = readAt(fd.get(), 0, now.size);
        }
        now.header = file.left(kHeaderSize);
        const Layout layout = tableLayout(file, file.size(), file.isEmpty() ? '\0' : file.back(), t.path);
        t.direct.indexes.clear(); // the loaded copy answers from now on
        if (t.loaded && layout.sameShape(t.layout)) {
            t.layout = layout;
            applyDiff(t, std::move(file));
        } else {
            t.layout = layout;
            fullLoad(t, std::move(file));
        }
        t.signature = now;
        if (inTx) t.reloadedInTx = true;
    });
}

void Database::Impl::underReadLock(const QString& path, const std::function<void()>& read) {
    const QString folder = QFileInfo(path).absolutePath();
    holdRead(folder);
    try {
        if (QFileInfo::exists(journalPath(path))) {
            // A writer died mid-way: restore the table before anybody reads it.
            const bool writer = exclusiveHeld.contains(folder);
            if (!writer) {
                folderLock(folder).unlockData();
                folderLock(folder).lockData(LockKind::Exclusive, lockTimeoutMs);
            }
            recoverJournal(path);
            if (!writer) {
                folderLock(folder).unlockData();
                folderLock(folder).lockData(LockKind::Shared, lockTimeoutMs);
            }
        }
        read();
    } catch (...) {
        releaseRead(folder);
        throw;
    }
    releaseRead(folder);
}

void Database::Impl::refreshForRead(TableState& t) {
    if (t.loaded) refresh(t);
    else refreshDirect(t);
}

void Database::Impl::scanFile(const QString& path, const QStringList& names, const ScanRow& row) {
    underReadLock(path, [&] {
        Fd fd = openFile(path, O_RDONLY);
        struct stat st {};
        const std::int64_t size = ::fstat(fd.get(), &st) == 0 ? st.st_size : 0;
        const Layout l = readTableLayout(fd.get(), size, path);
        const std::vector<Field> fields = chosenFields(l, names, path);
        const std::int64_t count = recordsHeld(l, size);
        // A slice at a time: the records pass through once, so they need not stay in memory.
        const std::int64_t slice = std::max<std::int64_t>(1, (1 << 20) / l.recordLength);
        std::vector<QVariant> values(fields.size());
        for (std::int64_t first = 0; first < count; first += slice) {
            const std::int64_t n = std::min(slice, count - first);
            const QByteArray bytes = readAt(fd.get(), l.headerLength + first * l.recordLength, n * l.recordLength);
            const std::int64_t whole = bytes.size() / l.recordLength;
            for (std::int64_t r = 0; r < whole; ++r) {
                const char* rec = bytes.constData() + r * l.recordLength;
                if (*rec == '*') continue;
                for (size_t f = 0; f < fields.size(); ++f) values[f] = fieldValue(fields[f], rec, true);
                row(values);
            }
            if (whole < n) break;
        }
    });
}

void Database::Impl::fullLoad(TableState& t, QByteArray file) {
    LoadingGuard guard(loading);
    // Statements prepared on the virtual table would go on reading it.
    statements.clear();
    const bool ownTx = sqlite3_get_autocommit(db);
    if (ownTx) run("BEGIN");
    try {
        // The loaded copy is a temporary table: SQLite finds it before the virtual table
        // that read the file straight until now.
        run(("DROP TABLE IF EXISTS temp." + quoteIdentifier(t.path)).toUtf8().constData());
        QString create = QStringLiteral("CREATE TEMP TABLE ") + quoteIdentifier(t.path) + '(';
        for (size_t i = 0; i < t.layout.fields.size(); ++i) {
            const Field& f = t.layout.fields[i];
            create += (i ? "," : "") + quoteIdentifier(f.name) + ' ' + sqlType(f);
            if (f.type == FieldType::Date) create += QStringLiteral(" COLLATE vt_date");
        }
        run((create + ')').toUtf8().constData());

        const Layout& l = t.layout;
        const std::int64_t count = recordsHeld(l, file.size());
        t.records = takeRecords(std::move(file), l, count);
        const Statement insert = prepare(insertSql(t, false));
        sqlite3_stmt* st = insert.get();
        std::vector<QByteArray> scratch(l.fields.size());
        for (std::int64_t r = 0; r < count; ++r) {
            const char* rec = t.records.constData() + r * l.recordLength;
            if (*rec == '*') continue;
            insertRecord(*this, st, t, r + 1, rec, scratch);
        }
        createIndexes(t);
        if (ownTx) run("COMMIT");
    } catch (...) {
        if (ownTx) {
            run("ROLLBACK");
        } else {
            try { // a half-made copy must not hide the file read straight
                run(("DROP TABLE IF EXISTS temp." + quoteIdentifier(t.path)).toUtf8().constData());
            } catch (const Error&) {
            }
        }
        t.loaded = false;
        throw;
    }
    t.loaded = true;
}

void Database::Impl::applyDiff(TableState& t, QByteArray file) {
    LoadingGuard guard(loading);
    const Layout& l = t.layout;
    const std::int64_t newCount = recordsHeld(l, file.size());
    const std::int64_t oldCount = t.records.size() / l.recordLength;
    const char* fresh = file.constData() + l.headerLength;
    const Statement upsertHeld = prepare(insertSql(t, true));
    const Statement removeHeld = prepare("DELETE FROM " + quoteIdentifier(t.path) + " WHERE rowid=?");
    sqlite3_stmt* upsert = upsertHeld.get();
    sqlite3_stmt* remove = removeHeld.get();
    std::vector<QByteArray> scratch(l.fields.size());
    const auto drop = [&](std::int64_t rowid) {
        sqlite3_bind_int64(remove, 1, rowid);
        sqlite3_step(remove);
        sqlite3_reset(remove);
    };
    for (std::int64_t r = 0; r < std::max(newCount, oldCount); ++r) {
        const char* now = r < newCount ? fresh + r * l.recordLength : nullptr;
        const char* was = r < oldCount ? t.records.constData() + r * l.recordLength : nullptr;
        if (now && was && std::memcmp(now, was, l.recordLength) == 0) continue;
        if (!now || *now == '*') {
            if (was && *was != '*') drop(r + 1);
        } else {
            insertRecord(*this, upsert, t, r + 1, now, scratch);
        }
    }
    t.records = takeRecords(std::move(file), l, newCount);
}

void Database::Impl::createIndexes(TableState& t) {
    // Identifier fields are what the program looks rows up by and joins on.
    QSet<QString> fields = t.indexes;
    for (const Field& f : t.layout.fields)
        if (f.type == FieldType::Numeric && f.decimals == 0 && f.name.startsWith(QLatin1String("ID")))
            fields.insert(f.name);
    for (const QString& f : fields) {
        if (t.layout.indexOf(f) < 0) continue;
        const QString sql = "CREATE INDEX IF NOT EXISTS temp." + quoteIdentifier(t.path + '#' + f) + " ON " +
                            quoteIdentifier(t.path) + '(' + quoteIdentifier(f) + ')';
        run(sql.toUtf8().constData());
    }
}

void Database::Impl::forget(TableState& t) {
    if (t.loaded) {
        LoadingGuard guard(loading);
        try {
            run(("DROP TABLE IF EXISTS temp." + quoteIdentifier(t.path)).toUtf8().constData());
        } catch (const Error&) {
        }
    }
    t.loaded = false;
    forgetDirect(t);
    t.records.clear();
    t.signature = {};
    t.pending.clear();
}

void Database::Impl::stageTouched() {
    if (touched.empty()) return;
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    checkRecordNumbers();
    LoadingGuard guard(loading);
    std::vector<std::pair<TableState*, std::pair<std::int64_t, std::optional<QByteArray>>>> staged;
    for (const auto& [t, rowid] : touched) {
        const Layout& l = t->layout;
        const Statement held = prepare("SELECT * FROM " + quoteIdentifier(t->path) + " WHERE rowid=?");
        sqlite3_stmt* st = held.get();
        sqlite3_bind_int64(st, 1, rowid);
        if (sqlite3_step(st) != SQLITE_ROW) {
            sqlite3_reset(st);
            staged.push_back({t, {rowid, std::nullopt}});
            continue;
        }
        // A row already in the file keeps the bytes of every field the statement left alone,
        // even those this engine would write differently (another program's number forms,
        // overflow stars, impossible dates).
        const std::optional<QByteArray> before = liveRecord(*t, rowid);
        QByteArray rec = before ? *before : QByteArray(l.recordLength, ' ');
        rec[0] = ' ';
        std::vector<std::pair<int, QVariant>> fixes;
        for (size_t i = 0; i < l.fields.size(); ++i) {
            const Field& f = l.fields[i];
            const QVariant value = columnValue(st, int(i));
            if (before && sameValue(fieldValue(f, before->constData()), value)) continue;
            QVariant stored;
            try {
                stored = encodeField(f, value, rec.data() + f.offset, QFileInfo(t->path).fileName());
            } catch (...) {
                sqlite3_reset(st);
                throw;
            }
            if (stored != value || stored.isNull() != value.isNull() || stored.metaType() != value.metaType())
                fixes.push_back({int(i), stored});
        }
        sqlite3_reset(st);
        for (const auto& [column, value] : fixes) {
            const Statement up = prepare("UPDATE " + quoteIdentifier(t->path) + " SET " +
                                         quoteIdentifier(l.fields[size_t(column)].name) + "=? WHERE rowid=?");
            bind(up.get(), {value, qlonglong(rowid)});
            sqlite3_step(up.get());
            sqlite3_reset(up.get());
        }
        staged.push_back({t, {rowid, rec}});
    }
    for (auto& [t, entry] : staged) t->pending[entry.first] = std::move(entry.second);
}

std::optional<QByteArray> Database::Impl::liveRecord(const TableState& t, std::int64_t rowid) const {
    const auto pending = t.pending.find(rowid);
    if (pending != t.pending.end()) return pending->second;
    const int length = t.layout.recordLength;
    if (rowid < 1 || rowid > t.records.size() / length) return std::nullopt;
    const QByteArray rec = t.records.mid(qsizetype((rowid - 1) * length), length);
    if (rec.at(0) == '*') return std::nullopt;
    return rec;
}

void Database::Impl::checkRecordNumbers() const {
    // Rows are numbered by their place in the file: a new row takes the next free number,
    // so a number below 1 or past the rows this statement could have added was set by hand.
    std::map<const TableState*, std::int64_t> added;
    for (const auto& [t, rowid] : touched) ++added[t];
    for (const auto& [t, rowid] : touched) {
        std::int64_t last = t->records.size() / t->layout.recordLength;
        if (!t->pending.empty()) last = std::max(last, t->pending.rbegin()->first);
        if (rowid < 1 || rowid > last + added[t])
            throw Error(kRecordNumberRefusal.arg(QFileInfo(t->path).fileName()), t->path);
    }
}

void Database::Impl::discardPending() {
    for (auto& t : tables) t->pending.clear();
}

void Database::Impl::flush() {
    std::vector<TableState*> dirty;
    for (auto& t : tables)
        if (!t->pending.empty()) dirty.push_back(t.get());
    if (dirty.empty()) return;
    std::sort(dirty.begin(), dirty.end(), [](auto* a, auto* b) { return a->path < b->path; });

    QString master;
    if (dirty.size() > 1) {
        master = QFileInfo(dirty.front()->path).absolutePath() + QStringLiteral("/Vartesa-") +
                 QUuid::createUuid().toString(QUuid::Id128).left(12) + QStringLiteral(".mj");
    }
    struct Plan {
        TableState* t;
        std::int64_t newCount;
        QByteArray header;
    };
    std::vector<Plan> plans;
    try {
        for (TableState* t : dirty) {
            const Layout& l = t->layout;
            const std::int64_t oldCount = t->records.size() / l.recordLength;
            std::int64_t newCount = oldCount;
            for (const auto& [rowid, rec] : t->pending)
                if (rec) newCount = std::max(newCount, rowid);
            std::vector<Region> regions;
            QByteArray header = t->signature.header;
            regions.push_back({0, header});
            for (const auto& [rowid, rec] : t->pending) {
                if (rowid > oldCount) continue;
                regions.push_back({l.headerLength + (rowid - 1) * l.recordLength,
                                   t->records.mid(qsizetype((rowid - 1) * l.recordLength), l.recordLength)});
            }
            const std::int64_t dataEnd = l.headerLength + oldCount * l.recordLength;
            if (t->signature.size > dataEnd) {
                Fd fd = openFile(t->path, O_RDONLY);
                regions.push_back({dataEnd, readAt(fd.get(), dataEnd, t->signature.size - dataEnd)});
            }
            writeJournal(t->path, t->signature.size, regions, master);
            plans.push_back({t, newCount, header});
        }
        if (!master.isEmpty()) {
            QStringList paths;
            for (TableState* t : dirty) paths << t->path;
            writeMaster(master, paths);
        }
        for (Plan& p : plans) {
            TableState& t = *p.t;
            const Layout& l = t.layout;
            const std::int64_t oldCount = t.records.size() / l.recordLength;
            t.records.resize(qsizetype(p.newCount * l.recordLength));
            QByteArray blank(l.recordLength, ' ');
            blank[0] = '*';
            for (std::int64_t r = oldCount + 1; r <= p.newCount; ++r) // gaps left by rows dropped again
                std::memcpy(t.records.data() + (r - 1) * l.recordLength, blank.constData(), size_t(l.recordLength));
            Fd fd = openFile(t.path, O_RDWR);
            for (const auto& [rowid, rec] : t.pending) {
                char* dest = t.records.data() + (rowid - 1) * l.recordLength;
                if (rec) std::memcpy(dest, rec->constData(), size_t(l.recordLength));
                else if (rowid <= oldCount) dest[0] = '*';
                else continue;
                writeAt(fd.get(), l.headerLength + (rowid - 1) * l.recordLength, dest,
                        rec ? l.recordLength : 1, t.path);
            }
            if (p.newCount > oldCount) {
                // Gap records, then the end marker after the last record.
                for (std::int64_t r = oldCount + 1; r <= p.newCount; ++r)
                    if (!t.pending.count(r) || !t.pending.at(r))
                        writeAt(fd.get(), l.headerLength + (r - 1) * l.recordLength, blank.constData(),
                                l.recordLength, t.path);
                const char end = kEndMarker;
                writeAt(fd.get(), l.headerLength + p.newCount * l.recordLength, &end, 1, t.path);
            }
            stampHeader(p.header.data(), std::uint32_t(p.newCount), QDate::currentDate(), l.changeCounter + 1);
            writeAt(fd.get(), 0, p.header.constData(), kHeaderSize, t.path);
            syncFile(fd.get(), t.path);
            t.layout.recordCount = std::uint32_t(p.newCount);
            t.layout.changeCounter += 1;
        }
        if (!master.isEmpty()) removeMaster(master);
        for (Plan& p : plans) {
            removeJournal(p.t->path);
            p.t->pending.clear();
            p.t->signature = readSignature(p.t->path, true);
        }
    } catch (...) {
        // Put every file back as it was and reload the copies from the files.
        for (Plan& p : plans) {
            try {
                recoverJournal(p.t->path);
            } catch (...) {
            }
        }
        if (!master.isEmpty()) removeMaster(master);
        for (TableState* t : dirty) {
            removeJournal(t->path);
            forget(*t);
        }
        throw;
    }
}

} // namespace vartesa::db
