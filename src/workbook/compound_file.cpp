// Compound file reading and writing. Every number read from the file is checked
// against the file's size before it is used; sector chains are walked with a step
// limit so a loop in the allocation table ends in an error, not a hang.

#include "workbook/compound_file.h"

#include "db/error.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <map>

namespace vartesa::workbook {

namespace {

// Special values of the sector allocation table.
constexpr quint32 FreeSect = 0xFFFFFFFF;   // unused sector
constexpr quint32 EndOfChain = 0xFFFFFFFE; // last sector of a chain
constexpr quint32 FatSect = 0xFFFFFFFD;    // sector holding the allocation table
constexpr quint32 DifSect = 0xFFFFFFFC;    // sector holding the table's index
constexpr quint32 NoStream = 0xFFFFFFFF;   // empty sibling/child in the directory

constexpr unsigned char Signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Header, 512 bytes at offset 0:
//   0 signature(8)        8 clsid(16)            24 minorVersion(2)   26 majorVersion(2)
//  28 byteOrder(2)       30 sectorShift(2)       32 miniSectorShift(2) 34 reserved(6)
//  40 dirSectorCount(4)  44 fatSectorCount(4)    48 firstDirSector(4)  52 transaction(4)
//  56 miniCutoff(4)      60 firstMiniFatSector(4) 64 miniFatSectorCount(4)
//  68 firstDifatSector(4) 72 difatSectorCount(4) 76 difat[109](436)
enum HeaderOffset {
    HdrMinorVersion = 24, HdrMajorVersion = 26, HdrByteOrder = 28, HdrSectorShift = 30,
    HdrMiniSectorShift = 32, HdrDirSectorCount = 40, HdrFatSectorCount = 44,
    HdrFirstDirSector = 48, HdrMiniCutoff = 56, HdrFirstMiniFat = 60, HdrMiniFatCount = 64,
    HdrFirstDifat = 68, HdrDifatCount = 72, HdrDifat = 76, HeaderSize = 512,
};
constexpr int HeaderDifatEntries = 109;

// Directory entry, 128 bytes:
//   0 name UTF-16(64)   64 nameBytes(2)  66 type(1)  67 color(1)  68 left(4)  72 right(4)
//  76 child(4)          80 clsid(16)     96 state(4) 100 created(8) 108 modified(8)
// 116 startSector(4)   120 size(8)
enum DirOffset {
    DirNameBytes = 64, DirType = 66, DirColor = 67, DirLeft = 68, DirRight = 72, DirChild = 76, DirClsid = 80,
    DirStart = 116, DirSize = 120, DirEntrySize = 128,
};
enum DirType : quint8 { TypeEmpty = 0, TypeStorage = 1, TypeStream = 2, TypeRoot = 5 };

constexpr quint32 MiniCutoff = 4096;
constexpr int MiniSectorSize = 64;
constexpr int WriteSectorSize = 512;

quint16 u16(const char* p) { return qFromLittleEndian<quint16>(p); }
quint32 u32(const char* p) { return qFromLittleEndian<quint32>(p); }

[[noreturn]] void damaged(const QString& why) {
    throw Error(QStringLiteral("Fisierul nu este un registru de calcul valid (%1).").arg(why),
                QStringLiteral("container"));
}

// Reads a container: sector size, allocation tables, mini stream, directory.
class Reader {
public:
    explicit Reader(const QByteArray& file) : file_(file) {
        readHeader();
        readFat();
        readDirectory();
        try {
            readMiniFat();
        } catch (const Error& e) {
            miniDamage_ = e.text(); // only the small streams are lost
        }
    }

    std::vector<CompoundStream> streams() {
        std::vector<CompoundStream> out;
        // Each storage's children form a tree through left/right siblings; walk them
        // with a visited mark, skipping links that point nowhere or back, so a damaged
        // corner of the directory costs only the entries behind it.
        std::vector<bool> seen(entries_.size(), false);
        seen[0] = true;
        std::vector<std::pair<quint32, QString>> stack{{entries_[0].child, QString()}};
        while (!stack.empty()) {
            auto [id, prefix] = stack.back();
            stack.pop_back();
            if (id >= entries_.size() || seen[id])
                continue;
            seen[id] = true;
            const Entry& e = entries_[id];
            stack.push_back({e.left, prefix});
            stack.push_back({e.right, prefix});
            CompoundStream s;
            s.name = prefix + e.name;
            if (e.type == TypeStorage) {
                s.storage = true;
                s.clsid = e.clsid;
                stack.push_back({e.child, s.name + '/'});
            } else if (e.type == TypeStream) {
                try {
                    s.data = streamData(e);
                } catch (const Error& err) {
                    s.damage = err.text();
                }
            } else {
                continue;
            }
            out.push_back(std::move(s));
        }
        return out;
    }

private:
    struct Entry {
        QString name;   // entry name
        quint8 type;    // DirType
        quint32 left, right, child; // tree links
        QByteArray clsid; // class id of a storage
        quint32 start;  // first sector (or mini sector)
        quint64 size;   // stream size in bytes
    };

    void readHeader() {
        if (file_.size() < HeaderSize || std::memcmp(file_.constData(), Signature, 8) != 0)
            damaged(QStringLiteral("semnatura lipsa"));
        const char* h = file_.constData();
        quint16 shift = u16(h + HdrSectorShift);
        quint16 miniShift = u16(h + HdrMiniSectorShift);
        if ((shift != 9 && shift != 12) || miniShift != 6 || u16(h + HdrByteOrder) != 0xFFFE)
            damaged(QStringLiteral("antet necunoscut"));
        sectorSize_ = 1 << shift;
        major_ = u16(h + HdrMajorVersion);
        cutoff_ = u32(h + HdrMiniCutoff);
    }

    qint64 sectorOffset(quint32 s) const { return qint64(s + 1) * sectorSize_; }

    // Bytes of sector `s`, whole or the part the file still has (the last sector
    // of many files is cut short); `need` bytes must be present.
    const char* sector(quint32 s, qint64 need) const {
        qint64 off = sectorOffset(s);
        if (s >= 0xFFFFFFFA || off + need > file_.size())
            damaged(QStringLiteral("sector %1 in afara fisierului").arg(s));
        return file_.constData() + off;
    }

    void readFat() {
        const char* h = file_.constData();
        quint32 fatCount = u32(h + HdrFatSectorCount);
        quint32 maxSectors = quint32(file_.size() / sectorSize_) + 1;
        if (fatCount > maxSectors)
            damaged(QStringLiteral("tabela de alocare prea mare"));
        std::vector<quint32> fatSectors;
        for (int i = 0; i < HeaderDifatEntries && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(u32(h + HdrDifat + 4 * i));
        quint32 difat = u32(h + HdrFirstDifat);
        quint32 difatCount = u32(h + HdrDifatCount);
        const int perSector = sectorSize_ / 4 - 1;
        for (quint32 n = 0; fatSectors.size() < fatCount; ++n) {
            if (n >= difatCount || difat >= 0xFFFFFFFA)
                damaged(QStringLiteral("index al tabelei de alocare incomplet"));
            const char* p = sector(difat, sectorSize_);
            for (int i = 0; i < perSector && fatSectors.size() < fatCount; ++i)
                fatSectors.push_back(u32(p + 4 * i));
            difat = u32(p + 4 * perSector);
        }
        fat_.reserve(size_t(fatCount) * (sectorSize_ / 4));
        for (quint32 s : fatSectors) {
            const char* p = sector(s, sectorSize_);
            for (int i = 0; i < sectorSize_ / 4; ++i)
                fat_.push_back(u32(p + 4 * i));
        }
    }

    // The sectors of the chain starting at `start`, in order, via `table`.
    static std::vector<quint32> chain(const std::vector<quint32>& table, quint32 start) {
        std::vector<quint32> out;
        quint32 s = start;
        while (s != EndOfChain) {
            if (s >= table.size())
                damaged(QStringLiteral("lant de sectoare rupt"));
            if (out.size() >= table.size())
                damaged(QStringLiteral("lant de sectoare circular"));
            out.push_back(s);
            s = table[s];
        }
        return out;
    }

    QByteArray readChain(quint32 start, quint64 size) const {
        std::vector<quint32> sectors = chain(fat_, start);
        if (quint64(sectors.size()) * sectorSize_ < size)
            damaged(QStringLiteral("flux mai lung decat lantul sau"));
        QByteArray out;
        out.reserve(qsizetype(size));
        for (quint32 s : sectors) {
            qint64 take = std::min<qint64>(sectorSize_, qint64(size) - out.size());
            if (take <= 0)
                break;
            out.append(sector(s, take), take);
        }
        return out;
    }

    void readDirectory() {
        quint32 first = u32(file_.constData() + HdrFirstDirSector);
        std::vector<quint32> sectors = chain(fat_, first);
        QByteArray dir;
        for (quint32 s : sectors)
            dir.append(sector(s, sectorSize_), sectorSize_);
        for (qsizetype off = 0; off + DirEntrySize <= dir.size(); off += DirEntrySize) {
            const char* e = dir.constData() + off;
            Entry entry;
            quint16 nameBytes = std::min<quint16>(u16(e + DirNameBytes), 64);
            int chars = nameBytes >= 2 ? nameBytes / 2 - 1 : 0;
            entry.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(e), chars);
            entry.type = quint8(e[DirType]);
            entry.left = u32(e + DirLeft);
            entry.right = u32(e + DirRight);
            entry.child = u32(e + DirChild);
            entry.clsid = QByteArray(e + DirClsid, 16);
            entry.start = u32(e + DirStart);
            // Version 3 files may leave garbage in the size's upper half.
            entry.size = major_ == 3 ? u32(e + DirSize) : qFromLittleEndian<quint64>(e + DirSize);
            entries_.push_back(entry);
        }
        if (entries_.empty() || entries_[0].type != TypeRoot)
            damaged(QStringLiteral("radacina lipsa"));
    }

    void readMiniFat() {
        const char* h = file_.constData();
        quint32 first = u32(h + HdrFirstMiniFat);
        if (first == EndOfChain || first == FreeSect || u32(h + HdrMiniFatCount) == 0)
            return;
        std::vector<quint32> sectors = chain(fat_, first);
        for (quint32 s : sectors) {
            const char* p = sector(s, sectorSize_);
            for (int i = 0; i < sectorSize_ / 4; ++i)
                miniFat_.push_back(u32(p + 4 * i));
        }
        const Entry& root = entries_[0];
        if (root.size > quint64(file_.size()))
            damaged(QStringLiteral("mini-flux prea mare"));
        miniStream_ = readChain(root.start, root.size);
    }

    QByteArray streamData(const Entry& e) const {
        if (e.size > quint64(file_.size()))
            damaged(QStringLiteral("flux mai mare decat fisierul"));
        if (e.size == 0)
            return {};
        if (e.size >= cutoff_)
            return readChain(e.start, e.size);
        if (!miniDamage_.isEmpty())
            throw Error(miniDamage_, QStringLiteral("container"));
        std::vector<quint32> sectors = chain(miniFat_, e.start);
        if (quint64(sectors.size()) * MiniSectorSize < e.size)
            damaged(QStringLiteral("flux mic mai lung decat lantul sau"));
        QByteArray out;
        for (quint32 s : sectors) {
            qint64 take = std::min<qint64>(MiniSectorSize, qint64(e.size) - out.size());
            if (take <= 0)
                break;
            qint64 off = qint64(s) * MiniSectorSize;
            if (off + take > miniStream_.size())
                damaged(QStringLiteral("mini-sector in afara mini-fluxului"));
            out.append(miniStream_.constData() + off, take);
        }
        return out;
    }

    const QByteArray& file_;
    int sectorSize_ = 512;   // 512 (version 3) or 4096 (version 4)
    int major_ = 3;          // container version
    quint32 cutoff_ = MiniCutoff; // streams below this size live in the mini stream
    std::vector<quint32> fat_, miniFat_; // allocation tables
    QByteArray miniStream_;  // the root entry's stream holding the mini sectors
    QString miniDamage_;     // why the mini stream could not be read; empty when it was
    std::vector<Entry> entries_; // directory, index = entry id
};

void put16(QByteArray& b, qsizetype off, quint16 v) { qToLittleEndian<quint16>(v, b.data() + off); }
void put32(QByteArray& b, qsizetype off, quint32 v) { qToLittleEndian<quint32>(v, b.data() + off); }

// Directory order: shorter names first, then by upper-case code units.
bool directoryLess(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return a.size() < b.size();
    return a.toUpper() < b.toUpper();
}

QByteArray directoryEntry(const QString& name, quint8 type, quint32 child, quint32 right,
                          quint32 start, quint32 size, const QByteArray& clsid = {}) {
    QByteArray e(DirEntrySize, '\0');
    QString n = name.left(31);
    std::memcpy(e.data(), n.utf16(), size_t(n.size()) * 2);
    put16(e, DirNameBytes, quint16((n.size() + 1) * 2));
    e[DirType] = char(type);
    e[DirColor] = 1; // black: a chain of black nodes is what simple writers produce
    put32(e, DirLeft, NoStream);
    put32(e, DirRight, right);
    put32(e, DirChild, child);
    if (clsid.size() == 16)
        e.replace(DirClsid, 16, clsid);
    put32(e, DirStart, start);
    put32(e, DirSize, size);
    return e;
}

// The directory as a tree: the root (node 0), storages and streams, each storage
// listing its children.
struct DirNode {
    QString name;           // the entry's own name
    quint8 type = TypeStream;
    int stream = -1;        // index of a stream's data in the written list
    QByteArray clsid;       // storages: class id
    std::vector<quint32> children; // node ids
};

class DirTree {
public:
    DirTree() { nodes.push_back({QStringLiteral("Root Entry"), TypeRoot, -1, {}, {}}); }

    void add(const CompoundStream& s, int streamIndex) {
        const qsizetype slash = s.name.lastIndexOf('/');
        const quint32 parent = storage(slash < 0 ? QString() : s.name.left(slash));
        if (s.storage) {
            nodes[storage(s.name)].clsid = s.clsid;
            return;
        }
        nodes.push_back({s.name.mid(slash + 1), TypeStream, streamIndex, {}, {}});
        nodes[parent].children.push_back(quint32(nodes.size() - 1));
    }

    // Each storage's children hang off its child link as a chain of right siblings in
    // directory order, which keeps every level a valid search tree.
    void link(std::vector<quint32>& child, std::vector<quint32>& right) {
        child.assign(nodes.size(), NoStream);
        right.assign(nodes.size(), NoStream);
        for (DirNode& n : nodes) {
            std::sort(n.children.begin(), n.children.end(),
                      [&](quint32 a, quint32 b) { return directoryLess(nodes[a].name, nodes[b].name); });
            for (size_t k = 0; k + 1 < n.children.size(); ++k)
                right[n.children[k]] = n.children[k + 1];
        }
        for (size_t i = 0; i < nodes.size(); ++i)
            if (!nodes[i].children.empty())
                child[i] = nodes[i].children.front();
    }

    std::vector<DirNode> nodes;

private:
    quint32 storage(const QString& path) {
        if (path.isEmpty())
            return 0;
        if (auto it = byPath_.find(path); it != byPath_.end())
            return it->second;
        const qsizetype slash = path.lastIndexOf('/');
        const quint32 parent = storage(slash < 0 ? QString() : path.left(slash));
        nodes.push_back({path.mid(slash + 1), TypeStorage, -1, {}, {}});
        const quint32 id = quint32(nodes.size() - 1);
        nodes[parent].children.push_back(id);
        byPath_[path] = id;
        return id;
    }
    std::map<QString, quint32> byPath_; // storage path -> node id
};

} // namespace

bool isCompoundFile(const QByteArray& bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.constData(), Signature, 8) == 0;
}

std::vector<CompoundStream> readCompoundFile(const QByteArray& bytes) {
    return Reader(bytes).streams();
}

QByteArray findCompoundStream(const std::vector<CompoundStream>& entries, const QStringList& names) {
    for (const QString& n : names)
        for (const CompoundStream& s : entries)
            if (!s.storage && !s.name.contains('/') && s.name.compare(n, Qt::CaseInsensitive) == 0) {
                if (!s.damage.isEmpty())
                    throw Error(s.damage, QStringLiteral("container"));
                return s.data;
            }
    damaged(QStringLiteral("lipseste fluxul %1").arg(names.join('/')));
}

QByteArray readCompoundStream(const QByteArray& bytes, const QStringList& names) {
    return findCompoundStream(readCompoundFile(bytes), names);
}

QByteArray writeCompoundFile(const std::vector<CompoundStream>& input) {
    const std::vector<CompoundStream>& streams = input;
    DirTree tree;
    for (size_t i = 0; i < streams.size(); ++i)
        tree.add(streams[i], int(i));

    // Place small streams in the mini stream, large ones in their own sector chains.
    QByteArray mini;
    std::vector<quint32> miniFat;
    std::vector<quint32> start(streams.size(), EndOfChain);
    std::vector<QByteArray> bigData;  // contents laid out in regular sectors, in order
    std::vector<size_t> bigOwner;     // index of the stream each big block belongs to
    for (size_t i = 0; i < streams.size(); ++i) {
        const QByteArray& d = streams[i].data;
        if (d.isEmpty())
            continue;
        if (quint32(d.size()) < MiniCutoff) {
            quint32 first = quint32(miniFat.size());
            quint32 count = quint32((d.size() + MiniSectorSize - 1) / MiniSectorSize);
            for (quint32 k = 0; k < count; ++k)
                miniFat.push_back(k + 1 < count ? first + k + 1 : EndOfChain);
            start[i] = first;
            mini.append(d);
            mini.append(QByteArray(qsizetype(count) * MiniSectorSize - d.size(), '\0'));
        } else {
            bigOwner.push_back(i);
            bigData.push_back(d);
        }
    }
    auto sectorsFor = [](qsizetype bytes) { return quint32((bytes + WriteSectorSize - 1) / WriteSectorSize); };

    QByteArray miniFatBytes(qsizetype(miniFat.size()) * 4, '\0');
    for (size_t k = 0; k < miniFat.size(); ++k)
        put32(miniFatBytes, qsizetype(k) * 4, miniFat[k]);

    // Content sectors in this order: mini stream, big streams, directory, mini table.
    std::vector<QByteArray> blocks;
    blocks.push_back(mini);
    for (const QByteArray& d : bigData)
        blocks.push_back(d);
    quint32 dirEntries = quint32(tree.nodes.size());
    QByteArray dir;
    blocks.push_back(QByteArray(qsizetype(sectorsFor(dirEntries * DirEntrySize)) * WriteSectorSize, '\0'));
    blocks.push_back(miniFatBytes);
    std::vector<quint32> blockStart;
    quint32 content = 0;
    for (const QByteArray& b : blocks) {
        blockStart.push_back(b.isEmpty() ? EndOfChain : content);
        content += sectorsFor(b.size());
    }

    // The allocation table must also describe its own sectors and its index's.
    const quint32 perFat = WriteSectorSize / 4;
    quint32 fatCount = 1, difatCount = 0;
    for (;;) {
        difatCount = fatCount <= HeaderDifatEntries ? 0 : (fatCount - HeaderDifatEntries + perFat - 2) / (perFat - 1);
        quint32 need = (content + fatCount + difatCount + perFat - 1) / perFat;
        if (need <= fatCount)
            break;
        fatCount = need;
    }
    std::vector<quint32> fat(size_t(fatCount) * perFat, FreeSect);
    for (size_t b = 0; b < blocks.size(); ++b) {
        quint32 n = sectorsFor(blocks[b].size());
        for (quint32 k = 0; k < n; ++k)
            fat[blockStart[b] + k] = k + 1 < n ? blockStart[b] + k + 1 : EndOfChain;
    }
    for (quint32 k = 0; k < fatCount; ++k)
        fat[content + k] = FatSect;
    for (quint32 k = 0; k < difatCount; ++k)
        fat[content + fatCount + k] = DifSect;

    for (size_t b = 0; b < bigOwner.size(); ++b)
        start[bigOwner[b]] = blockStart[1 + b];
    const size_t dirBlock = 1 + bigData.size();
    std::vector<quint32> child, right;
    tree.link(child, right);
    for (size_t id = 0; id < tree.nodes.size(); ++id) {
        const DirNode& n = tree.nodes[id];
        if (n.type == TypeRoot)
            dir += directoryEntry(n.name, TypeRoot, child[id], NoStream, blockStart[0], quint32(mini.size()));
        else if (n.type == TypeStorage)
            dir += directoryEntry(n.name, TypeStorage, child[id], right[id], 0, 0, n.clsid);
        else
            dir += directoryEntry(n.name, TypeStream, NoStream, right[id], start[size_t(n.stream)],
                                  quint32(streams[size_t(n.stream)].data.size()));
    }
    blocks[dirBlock].replace(0, dir.size(), dir);

    QByteArray header(HeaderSize, '\0');
    std::memcpy(header.data(), Signature, 8);
    put16(header, HdrMinorVersion, 0x003E);
    put16(header, HdrMajorVersion, 3);
    put16(header, HdrByteOrder, 0xFFFE);
    put16(header, HdrSectorShift, 9);
    put16(header, HdrMiniSectorShift, 6);
    put32(header, HdrDirSectorCount, 0);
    put32(header, HdrFatSectorCount, fatCount);
    put32(header, HdrFirstDirSector, blockStart[dirBlock]);
    put32(header, HdrMiniCutoff, MiniCutoff);
    put32(header, HdrFirstMiniFat, blockStart.back());
    put32(header, HdrMiniFatCount, sectorsFor(miniFatBytes.size()));
    put32(header, HdrFirstDifat, difatCount ? content + fatCount : EndOfChain);
    put32(header, HdrDifatCount, difatCount);
    for (int i = 0; i < HeaderDifatEntries; ++i)
        put32(header, HdrDifat + 4 * i, quint32(i) < fatCount ? content + quint32(i) : FreeSect);

    QByteArray out = header;
    out.reserve(HeaderSize + qsizetype(content + fatCount + difatCount) * WriteSectorSize);
    for (const QByteArray& b : blocks) {
        out.append(b);
        out.append(QByteArray(qsizetype(sectorsFor(b.size())) * WriteSectorSize - b.size(), '\0'));
    }
    QByteArray fatBytes(qsizetype(fat.size()) * 4, '\0');
    for (size_t k = 0; k < fat.size(); ++k)
        put32(fatBytes, qsizetype(k) * 4, fat[k]);
    out.append(fatBytes);
    // Index sectors: FAT sector numbers past the header's 109, last slot links onward.
    for (quint32 d = 0; d < difatCount; ++d) {
        QByteArray s(WriteSectorSize, '\xFF');
        for (quint32 k = 0; k < perFat - 1; ++k) {
            quint32 idx = HeaderDifatEntries + d * (perFat - 1) + k;
            if (idx < fatCount)
                put32(s, qsizetype(k) * 4, content + idx);
        }
        put32(s, qsizetype(perFat - 1) * 4, d + 1 < difatCount ? content + fatCount + d + 1 : EndOfChain);
        out.append(s);
    }
    return out;
}

} // namespace vartesa::workbook
