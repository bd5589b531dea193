#include "backup_archive.h"

#include "db/cp1250.h"
#include "db/error.h"
#include "shell/services.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>

#include <zlib.h>

#include <array>
#include <cstring>

namespace vartesa {
namespace {

constexpr qint64 kChunk = 1 << 20; // bytes read or inflated between two calls of the pump

QString where(const QString& name) { return QStringLiteral("arhiva, fisierul ") + name; }

void pump(const ArchiveProgress& p) {
    if (p.pump) p.pump();
}

void putInt32(QByteArray& out, qint32 v) {
    const quint32 u = quint32(v);
    for (int i = 0; i < 4; ++i) out.append(char((u >> (8 * i)) & 0xFF));
}

void writeAll(QIODevice& out, const char* data, qint64 size) {
    if (out.write(data, size) != size)
        throw Error(QStringLiteral("Nu pot scrie arhiva: ") + out.errorString(), QStringLiteral("arhiva"));
}

// The archive as written: every byte also goes into the hash of the trailer.
struct Output {
    QIODevice& device;
    QCryptographicHash hash{QCryptographicHash::Sha256};

    void write(const char* data, qint64 size) {
        writeAll(device, data, size);
        hash.addData(QByteArrayView(data, size));
    }
};

// The stored name in Windows-1250; refused when the code page cannot give the name back, since
// a restore would then write the file under another name.
QByteArray encodeName(const QString& name) {
    const QByteArray bytes = db::stringToCp1250(name);
    if (bytes.isEmpty() || bytes.size() > kMaxNameLength || db::cp1250ToString(bytes.constData(), int(bytes.size())) != name)
        throw Error(QStringLiteral("Numele fisierului %1 nu poate fi pastrat in arhiva").arg(name), where(name));
    return bytes;
}

// One file as one zlib stream at level 9, read and compressed a chunk at a time.
void deflateFile(Output& out, QFile& file, qint64 size, const QString& name, const ArchiveProgress& progress) {
    z_stream z{};
    if (deflateInit(&z, Z_BEST_COMPRESSION) != Z_OK)
        throw Error(QStringLiteral("Compresia nu poate porni"), where(name));
    struct Guard {
        z_stream* z;
        ~Guard() { deflateEnd(z); }
    } guard{&z};
    QByteArray in(int(std::min(size, kChunk)), Qt::Uninitialized);
    QByteArray buffer(int(kChunk / 2), Qt::Uninitialized);
    qint64 read = 0;
    int flush = Z_NO_FLUSH;
    do {
        const qint64 n = file.read(in.data(), std::min<qint64>(in.size(), size - read));
        if (n < 0) throw Error(QStringLiteral("Nu pot citi fisierul %1").arg(file.fileName()), where(name));
        read += n;
        if (n == 0 && read < size)
            throw Error(QStringLiteral("Fisierul %1 s-a micsorat in timpul salvarii").arg(file.fileName()), where(name));
        flush = read == size ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = uInt(n);
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer.data());
            z.avail_out = uInt(buffer.size());
            if (deflate(&z, flush) == Z_STREAM_ERROR) throw Error(QStringLiteral("Eroare la compresie"), where(name));
            out.write(buffer.constData(), buffer.size() - qint64(z.avail_out));
        } while (z.avail_out == 0);
        pump(progress);
    } while (flush != Z_FINISH);
    char extra;
    if (file.read(&extra, 1) > 0)
        throw Error(QStringLiteral("Fisierul %1 s-a marit in timpul salvarii").arg(file.fileName()), where(name));
}

// The archive as read: a buffer over the device, so the bytes the inflater did not use stay
// available for the next entry.
class Input {
public:
    explicit Input(QIODevice& device) : device_(device) {}

    // Exactly `n` bytes, or an Error naming `what` for an archive that ends first.
    QByteArray take(int n, const QString& what, const QString& entry) {
        QByteArray out;
        while (out.size() < n) {
            if (!fill()) throw truncated(what, entry);
            const int m = std::min(n - int(out.size()), available());
            out.append(buffer_.constData() + pos_, m);
            consume(m);
        }
        return out;
    }
    qint32 int32(const QString& what, const QString& entry) {
        const QByteArray b = take(4, what, entry);
        quint32 u = 0;
        for (int i = 0; i < 4; ++i) u |= quint32(quint8(b[i])) << (8 * i);
        return qint32(u);
    }
    // Refills when empty; false at the end of the archive.
    bool fill() {
        if (available() > 0) return true;
        buffer_.resize(int(kChunk / 4));
        const qint64 n = device_.read(buffer_.data(), buffer_.size());
        if (n < 0)
            throw Error(QStringLiteral("Nu pot citi arhiva: ") + device_.errorString(), QStringLiteral("arhiva"));
        buffer_.resize(int(n));
        pos_ = 0;
        return n > 0;
    }
    int available() const { return int(buffer_.size()) - pos_; }
    char* data() { return buffer_.data() + pos_; }
    // Marks `n` bytes used; every used byte goes into the hash the trailer is checked against.
    void consume(int n) {
        hash_.addData(QByteArrayView(buffer_.constData() + pos_, n));
        pos_ += n;
    }
    // Whatever follows the bytes used, up to `limit` bytes (limit + 1 tells a longer tail).
    QByteArray rest(int limit) {
        QByteArray out;
        while (out.size() <= limit && fill()) {
            const int m = std::min(limit + 1 - int(out.size()), available());
            out.append(buffer_.constData() + pos_, m);
            pos_ += m;
        }
        return out;
    }
    QByteArray digest() const { return hash_.result(); }

    static Error truncated(const QString& what, const QString& entry) {
        return Error(QStringLiteral("Arhiva este incompleta sau deteriorata: lipseste %1").arg(what),
                     entry.isEmpty() ? QStringLiteral("arhiva") : where(entry));
    }

private:
    QIODevice& device_;
    QByteArray buffer_; // bytes read and not yet used from pos_
    int pos_ = 0;
    QCryptographicHash hash_{QCryptographicHash::Sha256}; // of every byte used so far
};

// What follows the last counted entry: nothing (an archive of an older release), or the
// trailer whose hash covers every byte before it. Anything else means the count or a name
// was changed, or bytes were added: the archive is refused.
void checkTail(Input& in) {
    const QByteArray digest = in.digest();
    const QByteArray tail = in.rest(kTrailerSize);
    if (tail.isEmpty()) return;
    if (tail.size() < kTrailerSize && tail.startsWith(kTrailerMagic.left(tail.size())))
        throw Input::truncated(QStringLiteral("suma de control de la sfarsit"), {});
    if (tail.size() != kTrailerSize || !tail.startsWith(kTrailerMagic))
        throw Error(QStringLiteral("Arhiva este deteriorata: dupa ultimul fisier numarat urmeaza %1 octeti necunoscuti")
                        .arg(tail.size() > kTrailerSize ? QStringLiteral("peste %1").arg(kTrailerSize)
                                                        : QString::number(tail.size())),
                    QStringLiteral("arhiva"));
    if (tail.mid(kTrailerMagic.size()) != digest)
        throw Error(QStringLiteral("Arhiva este deteriorata: suma de control nu corespunde continutului"),
                    QStringLiteral("arhiva"));
}

// Inflates one stream of exactly `size` bytes into `out` (none: check only).
void inflateEntry(Input& in, QIODevice* out, const ArchiveEntry& entry, const ArchiveProgress& progress) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw Error(QStringLiteral("Decompresia nu poate porni"), where(entry.name));
    struct Guard {
        z_stream* z;
        ~Guard() { inflateEnd(z); }
    } guard{&z};
    QByteArray buffer(int(kChunk), Qt::Uninitialized);
    qint64 written = 0;
    for (;;) {
        if (!in.fill()) throw Input::truncated(QStringLiteral("continutul fisierului ") + entry.name, entry.name);
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = uInt(in.available());
        z.next_out = reinterpret_cast<Bytef*>(buffer.data());
        z.avail_out = uInt(buffer.size());
        const int rc = inflate(&z, Z_NO_FLUSH);
        in.consume(in.available() - int(z.avail_in));
        const qint64 produced = buffer.size() - qint64(z.avail_out);
        written += produced;
        if (written > entry.size)
            throw Error(QStringLiteral("Arhiva este deteriorata: fisierul %1 are mai mult de %2 octeti")
                            .arg(entry.name).arg(entry.size),
                        where(entry.name));
        if (out && produced > 0) writeAll(*out, buffer.constData(), produced);
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK && rc != Z_BUF_ERROR)
            throw Error(QStringLiteral("Arhiva este deteriorata: fisierul %1 nu poate fi decomprimat").arg(entry.name),
                        where(entry.name));
        pump(progress);
    }
    if (written != entry.size)
        throw Error(QStringLiteral("Arhiva este deteriorata: fisierul %1 are %2 octeti in loc de %3")
                        .arg(entry.name).arg(written).arg(entry.size),
                    where(entry.name));
}

} // namespace

void WriteArchiveTo(QIODevice& device, const std::vector<ArchiveSource>& sources, const ArchiveProgress& progress) {
    if (progress.progress) progress.progress->SetMaximum(int(sources.size()));
    Output out{device};
    QByteArray head;
    putInt32(head, qint32(sources.size()));
    out.write(head.constData(), head.size());
    for (const ArchiveSource& source : sources) {
        pump(progress);
        QFile file(source.path);
        if (!file.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("Nu pot citi fisierul %1").arg(source.path), where(source.name));
        const qint64 size = file.size();
        if (size <= 0 || size > kMaxArchivedFileSize)
            throw Error(QStringLiteral("Fisierul %1 nu poate fi salvat (marime %2)").arg(source.path).arg(size),
                        where(source.name));
        const QByteArray name = encodeName(source.name);
        QByteArray entryHead;
        putInt32(entryHead, qint32(name.size()));
        entryHead.append(name);
        putInt32(entryHead, qint32(size));
        out.write(entryHead.constData(), entryHead.size());
        deflateFile(out, file, size, source.name, progress);
        if (progress.progress) progress.progress->Step();
    }
    const QByteArray trailer = kTrailerMagic + out.hash.result();
    writeAll(device, trailer.constData(), trailer.size());
}

std::vector<ArchiveEntry> ReadArchiveFrom(QIODevice& device, const std::function<QIODevice*(const ArchiveEntry&)>& open,
                                          const std::function<void(const ArchiveEntry&)>& done,
                                          const ArchiveProgress& progress) {
    Input in(device);
    const qint32 count = in.int32(QStringLiteral("numarul de fisiere"), {});
    std::vector<ArchiveEntry> entries;
    if (count <= 0) {
        checkTail(in);
        return entries;
    }
    QSet<QString> names; // stored names seen, folded: a name twice would replace a file with another
    if (progress.progress) progress.progress->SetMaximum(count);
    for (qint32 k = 1; k <= count; ++k) {
        pump(progress);
        const QString nth = QStringLiteral("fisierul %1 din %2").arg(k).arg(count);
        const qint32 nameLength = in.int32(QStringLiteral("lungimea numelui (%1)").arg(nth), {});
        if (nameLength <= 0 || nameLength > kMaxNameLength)
            throw Error(QStringLiteral("Arhiva este deteriorata: numele de la %1 are lungimea %2").arg(nth).arg(nameLength),
                        QStringLiteral("arhiva"));
        const QByteArray raw = in.take(nameLength, QStringLiteral("numele (%1)").arg(nth), {});
        ArchiveEntry entry{db::cp1250ToString(raw.constData(), int(raw.size())), 0};
        const QString folded = entry.name.toCaseFolded();
        if (names.contains(folded))
            throw Error(QStringLiteral("Arhiva este deteriorata: fisierul %1 apare de doua ori").arg(entry.name),
                        where(entry.name));
        names.insert(folded);
        entry.size = in.int32(QStringLiteral("marimea fisierului ") + entry.name, entry.name);
        if (entry.size <= 0)
            throw Error(QStringLiteral("Arhiva este deteriorata: fisierul %1 are marimea %2").arg(entry.name).arg(entry.size),
                        where(entry.name));
        QIODevice* out = open ? open(entry) : nullptr;
        inflateEntry(in, out, entry, progress);
        if (done) done(entry);
        entries.push_back(entry);
        if (progress.progress) progress.progress->Step();
    }
    checkTail(in);
    return entries;
}

std::vector<ArchiveEntry> CheckArchive(const QString& path, const ArchiveProgress& progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Salvarea %1 nu poate fi citita").arg(path), path);
    return ReadArchiveFrom(file, {}, {}, progress);
}

bool ArchiveSealed(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < kTrailerSize || !file.seek(file.size() - kTrailerSize))
        return false;
    return file.read(kTrailerMagic.size()) == kTrailerMagic;
}

QString UnsealedArchiveWarning() {
    return QStringLiteral("Atentie: arhiva nu are suma de control de la sfarsit (este o salvare dintr-o versiune "
                          "mai veche sau a fost taiata la sfarsit). Fiecare fisier din ea a fost verificat, dar nu "
                          "si numarul si numele fisierelor.");
}

StoredName SplitStoredName(const QString& name) {
    const auto plain = [](const QString& part) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) return false;
        for (const QChar c : part)
            if (c.unicode() < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
                c == '<' || c == '>' || c == '|')
                return false;
        return true;
    };
    const QStringList parts = name.split('\\');
    if (parts.size() == 1 && plain(parts[0])) return {QString(), parts[0]};
    if (parts.size() == 2 && plain(parts[0]) && plain(parts[1])) return {parts[0], parts[1]};
    return {};
}

} // namespace vartesa
