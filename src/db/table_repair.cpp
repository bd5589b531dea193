// Mending a table's record count: the one repair that needs no guess about the records.

#include "database_impl.h"
#include "error.h"

#include <QFileInfo>

#include <fcntl.h>

namespace vartesa::db {
namespace {

QString besideTable(const QString& path, const char* extension) {
    const QFileInfo info(path);
    return info.absolutePath() + '/' + info.completeBaseName() + QLatin1String(extension);
}

// A new file that must not replace one of that name: written whole and flushed.
void writeNewFile(const QString& path, const char* data, std::int64_t length) {
    Fd fd = openFile(path, O_WRONLY | O_CREAT | O_EXCL);
    writeAt(fd.get(), 0, data, length, path);
    syncFile(fd.get(), path);
}

// Holds a table alone, and its folder's data lock, for the length of the repair.
struct RepairScope {
    Database& db;
    Database::Impl& d;
    QString path;
    QString folder;
    RepairScope(Database& database, Database::Impl& impl, const QString& table)
        : db(database), d(impl), path(table), folder(QFileInfo(table).absolutePath()) {
        db.holdTable(path, LockKind::Exclusive);
        try {
            d.lockExclusive(folder);
        } catch (...) {
            db.releaseTable(path, LockKind::Exclusive);
            throw;
        }
    }
    ~RepairScope() {
        d.folderLock(folder).unlockData();
        d.exclusiveHeld.remove(folder);
        db.releaseTable(path, LockKind::Exclusive);
    }
};

} // namespace

TableFileCheck inspectTableFile(const QString& path) {
    TableFileCheck c;
    Fd fd = openFile(path, O_RDONLY);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw Error(QStringLiteral("Tabela %1 nu poate fi citita").arg(path), path);
    c.size = st.st_size;
    const QByteArray start = readAt(fd.get(), 0, kHeaderSize);
    if (start.size() < kHeaderSize) readLayout(start, path); // throws: no table
    const int headerLength = std::uint8_t(start[8]) | std::uint8_t(start[9]) << 8;
    c.layout = readLayout(readAt(fd.get(), 0, headerLength), path);
    const QByteArray last = readAt(fd.get(), c.size - 1, 1);
    const char lastByte = last.isEmpty() ? '\0' : last[0];
    c.held = recordsInFile(c.layout, c.size, lastByte);
    c.fault = tableFault(c.layout, c.size, lastByte);
    return c;
}

void Database::checkTable(const QString& table) {
    const QString path = resolve(table);
    if (!QFileInfo(path).isFile()) return;
    d->underReadLock(path, [&] {
        const TableFileCheck check = inspectTableFile(path);
        if (!check.fault.isEmpty()) throw Error(damagedTableText(path, check.fault), path);
    });
}

CountRepair Database::repairRecordCount(const QString& table, bool dryRun) {
    if (d->inTx) throw Error(QStringLiteral("O tabela nu se repara in timpul unei operatii"), table);
    const QString path = resolve(table);
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile()) throw Error(QStringLiteral("Tabela %1 nu exista").arg(path), path);
    RepairScope scope(*this, *d, path);
    if (!dryRun) recoverJournal(path);

    CountRepair r;
    QByteArray file;
    {
        Fd fd = openFile(path, O_RDONLY);
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0) throw Error(QStringLiteral("Tabela %1 nu poate fi citita").arg(path), path);
        file = readAt(fd.get(), 0, st.st_size);
    }
    r.layout = readLayout(file, path);
    const char last = file.isEmpty() ? '\0' : file.back();
    r.held = recordsInFile(r.layout, file.size(), last);
    if (const QString fault = layoutFault(r.layout); !fault.isEmpty())
        throw Error(QStringLiteral("Tabela %1 nu se poate repara aici: %2. Restaurati-o dintr-o salvare.")
                        .arg(name, fault),
                    path);
    r.fault = tableFault(r.layout, file.size(), last);
    if (r.fault.isEmpty()) return r;

    r.backup = resolve(besideTable(path, ".bak"));
    if (r.held.tail > 0) r.rest = resolve(besideTable(path, ".rest"));
    for (const QString& kept : {r.backup, r.rest})
        if (!kept.isEmpty() && QFileInfo::exists(kept))
            throw Error(QStringLiteral("Fisierul %1 exista deja: mutati-l sau stergeti-l, apoi reparati tabela %2.")
                            .arg(QFileInfo(kept).fileName(), name),
                        kept);
    if (dryRun) return r;

    const std::int64_t dataEnd = r.layout.headerLength + r.held.whole * r.layout.recordLength;
    writeNewFile(r.backup, file.constData(), file.size());
    if (r.held.tail > 0) writeNewFile(r.rest, file.constData() + dataEnd, r.held.tail);
    syncFolderOf(r.backup);
    QByteArray mended = file.left(qsizetype(dataEnd));
    stampHeader(mended.data(), std::uint32_t(r.held.whole), QDate::currentDate(), r.layout.changeCounter + 1);
    mended += kEndMarker;
    replaceFile(path, mended);
    d->forget(d->table(path));
    r.done = true;
    return r;
}

} // namespace vartesa::db
