#include "database.h"

#include "database_impl.h"
#include "folder_use.h"
#include "cp1250.h"
#include "error.h"
#include "query.h"
#include "sql_text.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace vartesa::db {

void registerSqlFunctions(sqlite3* db); // sql_functions.cpp

namespace {

void updateHook(void* self, int, const char* dbName, const char* table, sqlite3_int64 rowid) {
    auto* d = static_cast<Database::Impl*>(self);
    if (d->loading || std::strcmp(dbName, "temp") != 0) return;
    auto it = d->tables.find(QString::fromUtf8(table));
    if (it != d->tables.end()) d->touched.push_back({it->get(), rowid});
}

// Deleting every row at once would skip the update hook; asking SQLite to ignore the
// truncation makes it delete row by row.
int authorizer(void* self, int action, const char* table, const char* column, const char* dbName, const char*) {
    auto* d = static_cast<Database::Impl*>(self);
    // The engine's own statements (dropping a loaded copy among them) run as written.
    if (d->loading) return SQLITE_OK;
    // The rowid is the record's place in the file: moving it would leave the record where it
    // was and add a second one.
    if (action == SQLITE_UPDATE && column && std::strcmp(column, "ROWID") == 0 && dbName &&
        std::strcmp(dbName, "temp") == 0) {
        d->refusal = kRecordNumberRefusal.arg(QFileInfo(QString::fromUtf8(table)).fileName());
        return SQLITE_DENY;
    }
    if (action == SQLITE_DELETE && dbName && std::strcmp(dbName, "temp") == 0 && table &&
        std::strncmp(table, "sqlite_", 7) != 0)
        return SQLITE_IGNORE;
    return SQLITE_OK;
}

// A column without an alias is named after its expression, which holds the tables' full
// paths: show them as the statement's author wrote them, without the folder.
QString shortColumnName(QString name, const QStringList& tables) {
    if (!name.contains('/')) return name;
    for (const QString& path : tables) name.replace(QFileInfo(path).absolutePath() + '/', QString());
    return name;
}

bool writes(StatementKind k) {
    return k == StatementKind::Insert || k == StatementKind::Update || k == StatementKind::Delete ||
           k == StatementKind::Other;
}

} // namespace

// --- connection ---------------------------------------------------------------------------

void Database::Impl::open() {
    // No allocation statistics: they cost a mutex on every allocation. Only possible before
    // the library starts; later calls are refused harmlessly.
    static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    Q_UNUSED(configured);
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        throw Error(QStringLiteral("Motorul bazei de date nu porneste"));
    // Double-quoted words are names only: a value always travels as a bound parameter.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_update_hook(db, updateHook, this);
    sqlite3_set_authorizer(db, authorizer, this);
    run("PRAGMA journal_mode=MEMORY");
    run("PRAGMA cache_size=-262144");
    run("PRAGMA temp_store=MEMORY");
    registerSqlFunctions(db);
    registerDirectTables(db, this);
}

void Database::Impl::close() {
    statements.clear();
    if (db) sqlite3_close_v2(db);
    db = nullptr;
}

void Database::Impl::fail(const QString& what, const QString& where) const {
    throw Error(QStringLiteral("Eroare in baza de date: %1").arg(what), where);
}

Statement Database::Impl::prepare(const QString& sql) {
    auto it = statements.find(sql);
    if (it != statements.end()) {
        it->second = ++statementTick;
        sqlite3_stmt* st = it->first.get();
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        return it->first;
    }
    if (statements.size() >= kStatementCacheSize) evictStatements();
    sqlite3_stmt* raw = nullptr;
    const QByteArray text = sql.toUtf8();
    refusal.clear();
    if (sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &raw, nullptr) !=
        SQLITE_OK) {
        if (!refusal.isEmpty()) throw Error(refusal, sql);
        fail(QString::fromUtf8(sqlite3_errmsg(db)), sql);
    }
    Statement st(raw, sqlite3_finalize);
    statements.insert(sql, {st, ++statementTick});
    return st;
}

void Database::Impl::evictStatements() {
    // Drop the least recently used half; a statement a caller still holds stays alive
    // through its handle and is finalized when that caller is done.
    std::vector<std::uint64_t> ticks;
    ticks.reserve(size_t(statements.size()));
    for (const auto& entry : std::as_const(statements)) ticks.push_back(entry.second);
    const auto middle = ticks.begin() + qsizetype(ticks.size() / 2);
    std::nth_element(ticks.begin(), middle, ticks.end());
    const std::uint64_t keepFrom = *middle;
    for (auto it = statements.begin(); it != statements.end();) {
        if (it->second < keepFrom) it = statements.erase(it);
        else ++it;
    }
}

void Database::Impl::run(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "");
        sqlite3_free(message);
        fail(text, QString::fromUtf8(sql));
    }
}

void Database::Impl::bind(sqlite3_stmt* st, const QVariantList& params) {
    const int expected = sqlite3_bind_parameter_count(st);
    if (expected != params.size())
        fail(QStringLiteral("instructiunea asteapta %1 valori, s-au dat %2").arg(expected).arg(params.size()),
             QString::fromUtf8(sqlite3_sql(st)));
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        const int n = i + 1;
        if (!v.isValid() || v.isNull()) {
            if (v.metaType().id() == QMetaType::QString) sqlite3_bind_text(st, n, "", 0, SQLITE_STATIC);
            else sqlite3_bind_null(st, n);
            continue;
        }
        switch (v.metaType().id()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            sqlite3_bind_int64(st, n, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_bind_double(st, n, v.toDouble());
            break;
        case QMetaType::QDate:
        case QMetaType::QDateTime: {
            const QByteArray iso = dateFromValue(v).toString(Qt::ISODate).toLatin1();
            sqlite3_bind_text(st, n, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            if (v.metaType() == QMetaType::fromType<Currency>()) {
                const Currency c = v.value<Currency>();
                if (c.raw() % Currency::kScale == 0) sqlite3_bind_int64(st, n, c.raw() / Currency::kScale);
                else sqlite3_bind_double(st, n, c.toDouble());
            } else {
                const QByteArray text = storedLetters(v.toString()).toUtf8();
                sqlite3_bind_text(st, n, text.isNull() ? "" : text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
            }
        }
    }
}

QVariant columnValue(sqlite3_stmt* st, int column) {
    switch (sqlite3_column_type(st, column)) {
    case SQLITE_INTEGER: return qlonglong(sqlite3_column_int64(st, column));
    case SQLITE_FLOAT: return sqlite3_column_double(st, column);
    case SQLITE_NULL: return {};
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
        return QString::fromUtf8(p, sqlite3_column_bytes(st, column));
    }
    }
}

// --- locks --------------------------------------------------------------------------------

Error tableBusyError(const FolderLock& lock, const QString& path) {
    // A lock file that cannot be opened for writing (a folder or file of another user) marks
    // nothing: saying another workstation holds the table would send the clerk looking for it.
    if (!lock.usable() || !QFileInfo(path).isWritable())
        return Error(QStringLiteral("Nu aveti drept de scriere la %1").arg(QDir::toNativeSeparators(path)), path);
    return Error(QStringLiteral("Tabela %1 este folosita de alt post de lucru").arg(QFileInfo(path).fileName()), path);
}

FolderLock& Database::Impl::folderLock(const QString& folder) {
    auto& slot = locks[folder];
    if (!slot) slot = std::make_unique<FolderLock>(folder);
    return *slot;
}

void Database::Impl::lockExclusive(const QString& folder) {
    if (exclusiveHeld.contains(folder)) return;
    folderLock(folder).lockData(LockKind::Exclusive, lockTimeoutMs);
    exclusiveHeld.insert(folder);
}

void Database::Impl::unlockAllExclusive() {
    for (const QString& folder : std::as_const(exclusiveHeld)) folderLock(folder).unlockData();
    exclusiveHeld.clear();
}

// --- the engine ---------------------------------------------------------------------------

Database::Database(const QString& baseFolder) : d(std::make_unique<Impl>()) {
    d->baseFolder = baseFolder.isEmpty() ? QDir::currentPath() : QDir(baseFolder).absolutePath();
    d->open();
}

Database::~Database() {
    try {
        if (d->inTx) rollback();
    } catch (...) {
    }
    d->unlockAllExclusive();
    d->close();
}

void Database::setLockTimeout(int ms) { d->lockTimeoutMs = ms; }


QString Database::resolve(const QString& name) const {
    QString path = QString(name).trimmed().replace('\\', '/');
    if (QDir::isRelativePath(path)) path = d->baseFolder + '/' + path;
    path = QDir::cleanPath(path);
    if (QFileInfo::exists(path)) return path;
    // Match each missing part of the path without regard to case.
    const QStringList parts = path.split('/', Qt::SkipEmptyParts);
    QString done = path.startsWith('/') ? QString() : QStringLiteral(".");
    for (const QString& part : parts) {
        const QString exact = done + '/' + part;
        if (QFileInfo::exists(exact)) {
            done = exact;
            continue;
        }
        QString found;
        const QStringList entries = QDir(done.isEmpty() ? QStringLiteral("/") : done)
                                        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& e : entries)
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                found = e;
                break;
            }
        done += '/' + (found.isEmpty() ? part : found);
    }
    return done;
}

bool Database::tableExists(const QString& name) const { return QFileInfo(resolve(name)).isFile(); }

Layout Database::layout(const QString& table) {
    TableState& t = d->table(resolve(table));
    d->refreshForRead(t);
    return t.layout;
}

namespace {

// A table as a statement names it, resolved: refused when the name climbs out of a folder
// (".."), and, in an engine confined to its base folder, when it is not a file of that folder.
QString statementTable(const Database& db, const Database::Impl& d, const QString& name) {
    // A statement's table is a file of a folder the program chose, never one reached by
    // climbing out of it: "..\q2\Gospodar.dbf" would reach another commune's tables.
    const QStringList parts = QString(name).trimmed().replace('\\', '/').split('/');
    if (parts.contains(QStringLiteral("..")))
        throw Error(QStringLiteral("Tabela %1 este in afara directorului de date; numele unei tabele nu poate contine \"..\"")
                        .arg(name.trimmed()),
                    name);
    const QString path = db.resolve(name);
    if (d.confined && QDir::cleanPath(QFileInfo(path).absolutePath()) != QDir::cleanPath(d.baseFolder))
        throw Error(QStringLiteral("Tabela %1 nu este in directorul de date %2; se lucreaza doar cu tabelele lui")
                        .arg(name.trimmed(), d.baseFolder),
                    name);
    return path;
}

} // namespace

int Database::exec(const QString& sql, const QVariantList& params) {
    const ParsedStatement p = parseStatement(sql, [this](const QString& n) { return statementTable(*this, *d, n); });
    if (p.kind == StatementKind::Create || p.kind == StatementKind::Drop || p.kind == StatementKind::Alter) {
        if (d->inTx)
            throw Error(QStringLiteral("Structura tabelelor nu se schimba in timpul unei operatii"), sql);
        return d->runDefinition(p);
    }
    if (p.kind == StatementKind::Select) {
        query(sql, params);
        return 0;
    }
    if (!writes(p.kind)) return 0;

    if (p.namesRecordNumber)
        throw Error(kRecordNumberRefusal.arg(p.tables.isEmpty() ? QString() : QFileInfo(p.tables.front()).fileName()),
                    sql);
    for (const QString& path : p.tables) d->lockExclusive(QFileInfo(path).absolutePath());
    int changed = 0;
    try {
        for (const QString& path : p.tables) d->refresh(d->table(path));
        const Statement held = d->prepare(p.sql);
        sqlite3_stmt* st = held.get();
        d->bind(st, params);
        d->touched.clear();
        d->run("SAVEPOINT vartesa_statement");
        try {
            int rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            }
            if (rc != SQLITE_DONE) {
                const QString message = QString::fromUtf8(sqlite3_errmsg(d->db));
                sqlite3_reset(st);
                d->fail(message, sql);
            }
            sqlite3_reset(st);
            changed = sqlite3_changes(d->db);
            d->stageTouched();
        } catch (...) {
            d->touched.clear();
            d->run("ROLLBACK TO vartesa_statement");
            d->run("RELEASE vartesa_statement");
            throw;
        }
        d->touched.clear();
        d->run("RELEASE vartesa_statement");
        if (!d->inTx) d->flush();
    } catch (...) {
        if (!d->inTx) d->unlockAllExclusive();
        throw;
    }
    if (!d->inTx) d->unlockAllExclusive();
    return changed;
}

struct QueryRunner {
    static Database::Impl& impl(Database& db) { return *db.d; }
    static void step(Database::Impl& d, Query& q, const ParsedStatement& p, const QString& sql,
                     const QVariantList& params) {
        const Statement held = d.prepare(p.sql);
        sqlite3_stmt* st = held.get();
        // A changing statement run here would change the loaded copy and never the file.
        if (!sqlite3_stmt_readonly(st))
            throw Error(QStringLiteral("Instructiunea modifica date si nu poate fi citita ca o interogare"), sql);
        d.bind(st, params);
        const int columns = sqlite3_column_count(st);
        q.columns_.clear();
        q.dateColumns_.assign(size_t(columns), false);
        for (int c = 0; c < columns; ++c) {
            q.columns_ << shortColumnName(QString::fromUtf8(sqlite3_column_name(st, c)), p.tables);
            const char* decl = sqlite3_column_decltype(st, c);
            q.dateColumns_[size_t(c)] = decl && qstricmp(decl, "DATE") == 0;
        }
        q.rows_.clear();
        q.index_.clear();
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::vector<QVariant> row;
            row.resize(size_t(columns));
            for (int c = 0; c < columns; ++c) row[size_t(c)] = columnValue(st, c);
            q.rows_.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(d.db));
            sqlite3_reset(st);
            d.fail(message, sql);
        }
        sqlite3_reset(st);
    }
    static void fill(Database::Impl& d, Query& q, const QString& sql, const QVariantList& params) {
        const ParsedStatement p = parseStatement(sql, [&](const QString& n) {
            return statementTable(*q.db_, *q.db_->d, n);
        });
        // Files read straight are read without a lock, as a loaded copy is: a writer that
        // was half-way through one meanwhile shows in its signature or journal, and the
        // statement then runs again with the folders read-locked.
        for (int attempt = 0;; ++attempt) {
            std::optional<ReadHold> hold;
            if (attempt > 0) hold.emplace(d, p.tables);
            for (const QString& path : p.tables) d.refreshForRead(d.table(path));
            step(d, q, p, sql, params);
            if (attempt > 0 || d.directUnchanged(p.tables)) break;
            d.invalidateDirect(p.tables);
        }
        q.pos_ = 0;
    }
    static void refill(Query& q, const QString& sql) { fill(*q.db_->d, q, sql, q.params_); }
};

Query Database::query(const QString& sql, const QVariantList& params) {
    Query q;
    q.db_ = this;
    q.sql_ = sql;
    q.params_ = params;
    QueryRunner::fill(*d, q, sql, params);
    return q;
}

void Query::setFilter(const QString& condition) {
    if (!db_) return;
    filter_ = condition.trimmed();
    const QString sql = filter_.isEmpty() ? sql_ : QStringLiteral("SELECT * FROM (%1) WHERE %2").arg(sql_, filter_);
    QueryRunner::refill(*this, sql);
}

void Database::scan(const QString& table, const QStringList& fields, const ScanRow& row) {
    TableState& t = d->table(resolve(table));
    if (!t.loaded) {
        if (!QFileInfo(t.path).isFile()) throw Error(QStringLiteral("Tabela %1 nu exista").arg(t.path), t.path);
        d->scanFile(t.path, fields, row);
        return;
    }
    // A loaded table may hold this engine's uncommitted changes: read the loaded copy.
    d->refresh(t);
    QStringList columns;
    std::vector<bool> dates;
    for (const Field& f : chosenFields(t.layout, fields, t.path)) {
        columns << quoteIdentifier(f.name);
        dates.push_back(f.type == FieldType::Date);
    }
    const Statement held = d->prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                          .arg(columns.join(','), quoteIdentifier(t.path)));
    sqlite3_stmt* st = held.get();
    std::vector<QVariant> values(fields.size());
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (size_t c = 0; c < values.size(); ++c) {
            values[c] = columnValue(st, int(c));
            if (dates[c] && !values[c].isNull()) values[c] = dateFromValue(values[c]);
        }
        try {
            row(values);
        } catch (...) {
            sqlite3_reset(st);
            throw;
        }
    }
    const QString message = QString::fromUtf8(sqlite3_errmsg(d->db));
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) d->fail(message, t.path);
}

bool Database::isReadOnly(const QString& sql) {
    const ParsedStatement p = parseStatement(sql, [this](const QString& n) { return statementTable(*this, *d, n); });
    if (p.kind == StatementKind::Create || p.kind == StatementKind::Drop || p.kind == StatementKind::Alter)
        return false;
    // A changing statement cannot be prepared on a file read straight: load what it names,
    // as running it would.
    for (const QString& path : p.tables) {
        if (writes(p.kind)) d->refresh(d->table(path));
        else d->refreshForRead(d->table(path));
    }
    return sqlite3_stmt_readonly(d->prepare(p.sql).get()) != 0;
}

QVariant Database::scalar(const QString& sql, const QVariantList& params) {
    Query q = query(sql, params);
    return q.isEmpty() || q.columnCount() == 0 ? QVariant() : q.cell(0, 0);
}

void Database::begin() {
    if (d->inTx) throw Error(QStringLiteral("O operatie este deja in curs"));
    d->run("BEGIN");
    d->inTx = true;
    for (auto& t : d->tables) t->reloadedInTx = t->direct.declaredInTx = false;
}

void Database::commit() {
    if (!d->inTx) throw Error(QStringLiteral("Nu este nicio operatie in curs"));
    try {
        d->flush();
    } catch (...) {
        rollback();
        throw;
    }
    d->run("COMMIT");
    d->inTx = false;
    for (auto& t : d->tables) t->direct.declaredInTx = false;
    d->unlockAllExclusive();
}

void Database::rollback() {
    if (!d->inTx) return;
    d->inTx = false;
    d->discardPending();
    try {
        d->run("ROLLBACK");
    } catch (...) {
    }
    // Copies loaded during the transaction went back with it; read them again next time.
    for (auto& t : d->tables) {
        if (t->direct.declaredInTx) t->direct = DirectState{}; // its declaration went back too
        t->direct.declaredInTx = false;
    }
    for (auto& t : d->tables)
        if (t->reloadedInTx) {
            // A copy loaded before the transaction is still there, as it was then: drop it,
            // or SQLite would find it before the file read straight.
            d->forget(*t);
            t->reloadedInTx = false;
        }
    d->unlockAllExclusive();
}

bool Database::inTransaction() const { return d->inTx; }

void Database::addIndex(const QString& table, const QString& field) {
    TableState& t = d->table(resolve(table));
    d->refreshForRead(t);
    const int i = t.layout.indexOf(field);
    if (i < 0)
        throw Error(QStringLiteral("Tabela %1 nu are campul %2").arg(QFileInfo(t.path).fileName(), field), t.path);
    const QString name = t.layout.fields[size_t(i)].name;
    if (t.indexes.contains(name))
        throw Error(QStringLiteral("Indexul %1 exista deja in tabela %2").arg(name, QFileInfo(t.path).fileName()),
                    t.path);
    t.indexes.insert(name);
    if (t.loaded) d->createIndexes(t);
}

void Database::holdTable(const QString& table, LockKind kind) {
    const QString path = resolve(table);
    if (!QFileInfo(path).isFile()) throw Error(QStringLiteral("Tabela %1 nu exista").arg(path), path);
    TableHold& hold = d->tableMarks[path];
    const bool held = hold.shared + hold.exclusive > 0;
    // A further shared hold rides on the mark this engine has already.
    const bool needsLock = kind == LockKind::Exclusive ? hold.exclusive == 0 : !held;
    if (needsLock && !d->folderLock(QFileInfo(path).absolutePath()).tryLockTable(path, kind)) {
        if (!held) d->tableMarks.remove(path);
        throw tableBusyError(d->folderLock(QFileInfo(path).absolutePath()), path);
    }
    ++(kind == LockKind::Exclusive ? hold.exclusive : hold.shared);
}

void Database::releaseTable(const QString& table, LockKind kind) {
    const QString path = resolve(table);
    auto it = d->tableMarks.find(path);
    if (it == d->tableMarks.end()) return;
    int& count = kind == LockKind::Exclusive ? it->exclusive : it->shared;
    if (count > 0) --count;
    d->settleMark(path);
}

void Database::Impl::settleMark(const QString& path) {
    FolderLock& lock = folderLock(QFileInfo(path).absolutePath());
    const TableHold hold = tableMarks.value(path);
    if (hold.exclusive > 0) lock.tryLockTable(path, LockKind::Exclusive);
    else if (hold.shared > 0) lock.tryLockTable(path, LockKind::Shared); // back from exclusive
    else {
        lock.unlockTable(path);
        tableMarks.remove(path);
    }
}

// --- the use mark of a folder (folder_use.h) ---------------------------------------------

namespace {

// The use mark lies on the lock file's byte of this name, among the tables' open marks: no
// table of the program is called so.
const QString kUseMark = QStringLiteral("Vartesa.folosire");

QString markOf(const QString& folder) { return folder + '/' + kUseMark; }

} // namespace

void holdFolder(Database& db, const QString& folder, LockKind kind) {
    Database::Impl& d = QueryRunner::impl(db);
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    const Error inUse(QStringLiteral("Baza de date este folosita; inchideti programul pe celelalte posturi si reluati."),
                      path);
    FolderLock& lock = d.folderLock(path);
    if (!lock.tryLockTable(markOf(path), kind)) throw inUse;
    if (kind == LockKind::Exclusive && !d.exclusiveHeld.contains(path)) {
        // A writer of another session holds the data lock for one operation: it is not
        // waited for, the restore is refused as under an open program.
        try {
            lock.lockData(LockKind::Exclusive, 0);
        } catch (const Error&) {
            if (d.folderMarks.contains(path)) lock.tryLockTable(markOf(path), LockKind::Shared);
            else lock.unlockTable(markOf(path));
            throw inUse;
        }
        d.exclusiveHeld.insert(path);
    }
    d.folderMarks.insert(path, kind);
}

void releaseFolder(Database& db, const QString& folder) {
    Database::Impl& d = QueryRunner::impl(db);
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    const auto it = d.folderMarks.find(path);
    if (it == d.folderMarks.end()) return;
    FolderLock& lock = d.folderLock(path);
    if (it.value() == LockKind::Exclusive && d.exclusiveHeld.remove(path)) lock.unlockData();
    lock.unlockTable(markOf(path));
    d.folderMarks.erase(it);
}

void confineToBaseFolder(Database& db) { QueryRunner::impl(db).confined = true; }

} // namespace vartesa::db
