#include "file_io.h"

#include "error.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace vartesa::db {
namespace {

constexpr char kMagic[4] = {'V', 'T', 'J', '1'};
constexpr off_t kDataByte = 0;
constexpr off_t kTableBytes = 1024;     // first byte of the per-table open marks
constexpr off_t kTableSpan = 1 << 24;   // hashed table names fall in this range

QString sysError() { return QString::fromLocal8Bit(std::strerror(errno)); }

QByteArray local(const QString& path) { return QFile::encodeName(path); }

bool ofdLock(int fd, short type, off_t start, bool wait) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = 1;
    return fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0;
}

off_t tableByte(const QString& table) {
    const QByteArray key = QFileInfo(table).fileName().toLower().toUtf8();
    return kTableBytes + off_t(crc32(0, reinterpret_cast<const Bytef*>(key.constData()), uInt(key.size())) % kTableSpan);
}

void appendU32(QByteArray& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}
void appendU64(QByteArray& out, std::uint64_t v) {
    appendU32(out, std::uint32_t(v & 0xFFFFFFFFu));
    appendU32(out, std::uint32_t(v >> 32));
}

// A cursor over journal bytes that refuses to read past the end.
struct Reader {
    const QByteArray& bytes;
    qsizetype pos = 0;
    bool ok = true;
    std::uint64_t take(int n) {
        if (pos + n > bytes.size()) {
            ok = false;
            return 0;
        }
        std::uint64_t v = 0;
        for (int i = 0; i < n; ++i) v |= std::uint64_t(std::uint8_t(bytes[pos + i])) << (8 * i);
        pos += n;
        return v;
    }
    QByteArray bytesOf(std::uint64_t n) {
        if (n > std::uint64_t(bytes.size() - pos)) {
            ok = false;
            return {};
        }
        QByteArray b = bytes.mid(pos, qsizetype(n));
        pos += qsizetype(n);
        return b;
    }
};

QByteArray readWhole(const QString& path, bool* exists) {
    Fd fd(::open(local(path).constData(), O_RDONLY | O_CLOEXEC));
    if (exists) *exists = fd.valid();
    if (!fd.valid()) return {};
    struct stat st {};
    if (fstat(fd.get(), &st) != 0) return {};
    return readAt(fd.get(), 0, st.st_size);
}

} // namespace

void removeJournal(const QString& table) {
    if (::unlink(local(journalPath(table)).constData()) == 0) syncFolderOf(table);
}

namespace {
int folderSyncCount = 0;
}

void syncFolderOf(const QString& path) {
    // A new, renamed or removed name lasts a power cut only once its folder is on disk.
    Fd dir(::open(local(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) return;
    ++folderSyncCount;
    ::fsync(dir.get());
}

int folderSyncs() { return folderSyncCount; }

Fd& Fd::operator=(Fd&& o) noexcept {
    if (this != &o) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = o.release();
    }
    return *this;
}

Fd::~Fd() {
    if (fd_ >= 0) ::close(fd_);
}

Fd openFile(const QString& path, int flags, int mode) {
    const int fd = ::open(local(path).constData(), flags | O_CLOEXEC, mode);
    if (fd < 0)
        throw Error(QStringLiteral("Fisierul %1 nu poate fi deschis: %2").arg(path, sysError()), path);
    return Fd(fd);
}

QByteArray readAt(int fd, std::int64_t offset, std::int64_t len) {
    QByteArray out(qsizetype(len), Qt::Uninitialized);
    std::int64_t done = 0;
    while (done < len) {
        const ssize_t n = ::pread(fd, out.data() + done, size_t(len - done), off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    out.truncate(qsizetype(done));
    return out;
}

void writeAt(int fd, std::int64_t offset, const char* data, std::int64_t len, const QString& path) {
    std::int64_t done = 0;
    while (done < len) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(len - done), off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            throw Error(QStringLiteral("Scrierea in %1 a esuat: %2").arg(path, sysError()), path);
        done += n;
    }
}

void syncFile(int fd, const QString& path) {
    if (::fdatasync(fd) != 0 && errno != EINVAL)
        throw Error(QStringLiteral("Scrierea pe disc a %1 a esuat: %2").arg(path, sysError()), path);
}

void replaceFile(const QString& path, const QByteArray& content) {
    const QString temp = path + QStringLiteral("-new");
    {
        Fd fd = openFile(temp, O_WRONLY | O_CREAT | O_TRUNC);
        try {
            writeAt(fd.get(), 0, content.constData(), content.size(), temp);
            syncFile(fd.get(), temp);
        } catch (const Error&) {
            // A full disk must not stay full of a copy that will never be used.
            ::unlink(local(temp).constData());
            throw;
        }
    }
    if (::rename(local(temp).constData(), local(path).constData()) != 0) {
        const QString why = sysError();
        ::unlink(local(temp).constData());
        throw Error(QStringLiteral("Fisierul %1 nu poate fi inlocuit: %2").arg(path, why), path);
    }
    syncFolderOf(path);
}

FolderLock::FolderLock(const QString& folder) : folder_(folder) {
    fd_ = Fd(::open(local(folder + QStringLiteral("/Vartesa.lck")).constData(),
                    O_RDWR | O_CREAT | O_CLOEXEC, 0666));
}

void FolderLock::lockData(LockKind kind, int timeoutMs) {
    if (!fd_.valid()) {
        if (kind == LockKind::Shared) return; // a read-only folder: nobody writes there
        throw Error(QStringLiteral("Directorul %1 nu permite scrierea").arg(folder_), folder_);
    }
    const short type = kind == LockKind::Shared ? F_RDLCK : F_WRLCK;
    QElapsedTimer timer;
    timer.start();
    while (!ofdLock(fd_.get(), type, kDataByte, false)) {
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            throw Error(QStringLiteral("Blocarea bazei de date %1 a esuat: %2").arg(folder_, sysError()), folder_);
        if (timer.elapsed() > timeoutMs)
            throw Error(QStringLiteral("Baza de date %1 este ocupata de alt post de lucru. Incercati din nou.")
                            .arg(folder_), folder_);
        QThread::usleep(500);
    }
}

void FolderLock::unlockData() {
    if (fd_.valid()) ofdLock(fd_.get(), F_UNLCK, kDataByte, false);
}

bool FolderLock::tryLockTable(const QString& table, LockKind kind) {
    if (!fd_.valid()) return kind == LockKind::Shared;
    return ofdLock(fd_.get(), kind == LockKind::Shared ? F_RDLCK : F_WRLCK, tableByte(table), false);
}

void FolderLock::unlockTable(const QString& table) {
    if (fd_.valid()) ofdLock(fd_.get(), F_UNLCK, tableByte(table), false);
}

QString journalPath(const QString& table) { return table + QStringLiteral("-journal"); }

void writeJournal(const QString& table, std::int64_t originalSize, const std::vector<Region>& regions,
                  const QString& master) {
    QByteArray out(kMagic, 4);
    appendU64(out, std::uint64_t(originalSize));
    const QByteArray m = master.toUtf8();
    appendU32(out, std::uint32_t(m.size()));
    out += m;
    appendU32(out, std::uint32_t(regions.size()));
    for (const Region& r : regions) {
        appendU64(out, std::uint64_t(r.offset));
        appendU32(out, std::uint32_t(r.original.size()));
        out += r.original;
    }
    appendU32(out, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(out.constData()), uInt(out.size()))));
    const QString path = journalPath(table);
    Fd fd = openFile(path, O_WRONLY | O_CREAT | O_TRUNC);
    writeAt(fd.get(), 0, out.constData(), out.size(), path);
    syncFile(fd.get(), path);
    syncFolderOf(path);
}

void writeMaster(const QString& master, const QStringList& tables) {
    const QByteArray text = tables.join('\n').toUtf8();
    Fd fd = openFile(master, O_WRONLY | O_CREAT | O_TRUNC);
    writeAt(fd.get(), 0, text.constData(), text.size(), master);
    syncFile(fd.get(), master);
    syncFolderOf(master);
}

void removeMaster(const QString& master) {
    // The master's removal is the commit point of a transaction over several tables.
    if (::unlink(local(master).constData()) == 0) syncFolderOf(master);
}

// Restores `table` from its journal. `ofMaster` is set when the caller already found the
// master of the transaction alive and rolls back all its tables.
bool playBack(const QString& table, bool ofMaster) {
    bool exists = false;
    const QByteArray bytes = readWhole(journalPath(table), &exists);
    if (!exists) return false;
    Reader r{bytes};
    bool complete = bytes.size() >= 8 && std::memcmp(bytes.constData(), kMagic, 4) == 0;
    if (complete) {
        const auto stored = std::uint32_t(std::uint8_t(bytes[bytes.size() - 4])) |
                            std::uint32_t(std::uint8_t(bytes[bytes.size() - 3])) << 8 |
                            std::uint32_t(std::uint8_t(bytes[bytes.size() - 2])) << 16 |
                            std::uint32_t(std::uint8_t(bytes[bytes.size() - 1])) << 24;
        complete = stored == std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()),
                                                 uInt(bytes.size() - 4)));
    }
    if (!complete) { // the writer died before touching the table
        removeJournal(table);
        return false;
    }
    r.pos = 4;
    const auto originalSize = std::int64_t(r.take(8));
    const QString master = QString::fromUtf8(r.bytesOf(r.take(4)));
    if (!ofMaster && !master.isEmpty() && !QFileInfo::exists(master)) { // transaction committed
        removeJournal(table);
        return false;
    }
    std::vector<Region> regions(r.take(4));
    for (Region& region : regions) {
        region.offset = std::int64_t(r.take(8));
        region.original = r.bytesOf(r.take(4));
    }
    if (!r.ok) {
        removeJournal(table);
        return false;
    }
    // A table removed since the crash has nothing to restore; a new file of that name is
    // not the one the journal was written for.
    const bool restore = QFileInfo(table).isFile();
    if (restore) {
        Fd fd = openFile(table, O_RDWR);
        for (const Region& region : regions)
            writeAt(fd.get(), region.offset, region.original.constData(), region.original.size(), table);
        if (::ftruncate(fd.get(), off_t(originalSize)) != 0)
            throw Error(QStringLiteral("Refacerea tabelei %1 a esuat: %2").arg(table, sysError()), table);
        syncFile(fd.get(), table);
    }
    removeJournal(table);
    if (!master.isEmpty() && !ofMaster) {
        // Roll back the other tables of the same transaction, then forget it.
        const QStringList siblings = QString::fromUtf8(readWhole(master, nullptr)).split('\n', Qt::SkipEmptyParts);
        for (const QString& s : siblings)
            if (s != table) playBack(s, true);
        removeMaster(master);
    }
    return restore;
}

bool recoverJournal(const QString& table) { return playBack(table, false); }


} // namespace vartesa::db
