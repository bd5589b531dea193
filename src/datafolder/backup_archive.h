#pragma once
// The database archive (".vsa"): the one backup format of the program, also used by the
// agricultural register's ".rg2" backups. This file knows the bytes only; which files go in
// and where they come out is backup.h.
//
// Layout (all integers signed 32-bit little-endian):
//
//   offset  size  field
//   0       4     count: number of entries that follow
//   then per entry:
//           4     name length n
//           n     name, Windows-1250, no terminator ("Data\Datorii.dbf")
//           4     uncompressed size (> 0)
//           ...   one zlib stream (RFC 1950) of the file, level 9
//
//   then, after the last counted entry:
//           8     "VSAHASH1"
//           32    SHA-256 of every byte before "VSAHASH1"
//
// The compressed length is stored nowhere: the next entry starts at the first byte after
// the Adler-32 trailer of the previous stream. Readers that stop after the counted entries
// never see the closing hash; ours checks it, so a changed count, name or size is found.
// Archives of older releases end right after their last entry and are read as they are;
// any other bytes after the last entry are refused.
//
// Limits: names of 1..kMaxNameLength bytes; a file of 1 byte to 2 GiB - 1. A reader checks
// every length before use, inflates each stream to exactly its stated size and throws
// vartesa::Error with a Romanian text (no diacritics) for anything else.

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QIODevice;

namespace vartesa {

class Progress;

/// Longest stored name we read or write, in bytes.
constexpr int kMaxNameLength = 1024;
/// Largest file the format can hold (its size is a signed 32-bit number).
constexpr qint64 kMaxArchivedFileSize = 0x7FFFFFFF;
/// The closing trailer: these 8 bytes, then the SHA-256 of every byte before them.
inline const QByteArray kTrailerMagic = QByteArrayLiteral("VSAHASH1");
constexpr int kTrailerSize = 8 + 32;

/// One entry of an archive as stored.
struct ArchiveEntry {
    QString name; // stored name, decoded from Windows-1250 ("Data\Datorii.dbf")
    qint64 size;  // uncompressed size in bytes
};

/// How long work keeps the screen alive: the bar (one step per file) and a call made after
/// every chunk of a large file, so the window repaints while zlib works.
struct ArchiveProgress {
    Progress* progress = nullptr;  // bar over the files; none for the command line
    std::function<void()> pump;    // serves pending window events; may be empty
};

/// One file to put into an archive.
struct ArchiveSource {
    QString path; // full path on disk
    QString name; // name to store ("Data\Datorii.dbf")
};

/// Writes an archive of `sources` (in order) to `out`. Throws Error when a file cannot be
/// read, changed size while being read, is empty or too large, or when a name has no
/// Windows-1250 form. The bar gets the count as maximum and steps once per file.
void WriteArchiveTo(QIODevice& out, const std::vector<ArchiveSource>& sources, const ArchiveProgress& progress = {});

/// Reads an archive from `in`. For each entry `open` gives the device the content goes to
/// (null: inflate and check only) and is told the entry; `done` (may be empty) is called
/// once the entry's content has been written and checked. Throws Error on a truncated or
/// damaged archive, naming the entry, on a name stored twice (in any case), and on bytes after
/// the last entry other than a trailer whose hash matches; what was already written stays
/// written. A count of 0 or less reads as an empty archive. Returns the entries read.
std::vector<ArchiveEntry> ReadArchiveFrom(QIODevice& in, const std::function<QIODevice*(const ArchiveEntry&)>& open,
                                          const std::function<void(const ArchiveEntry&)>& done = {},
                                          const ArchiveProgress& progress = {});

/// Reads the archive at `path` through, inflating every stream without writing anything.
/// Throws Error when it cannot be opened or is damaged.
std::vector<ArchiveEntry> CheckArchive(const QString& path, const ArchiveProgress& progress = {});

/// Whether the archive at `path` ends with the closing trailer our archives get. An archive
/// without it (an older release's, or one cut exactly where its trailer began) reads whole,
/// each file checked by its stream's Adler-32, but nothing proves that its count and names
/// are the ones written: the restore warns of it. Says nothing of the hash, which the full
/// read checks.
bool ArchiveSealed(const QString& path);
/// The warning given for such an archive.
QString UnsealedArchiveWarning();

/// A stored name split into its folder and file parts when both are plain names (no "..",
/// no "/", no drive, no control characters): "Data\Rol.dbf" gives {"Data", "Rol.dbf"}, "Rol.dbf"
/// gives {"", "Rol.dbf"}. Anything else (deeper paths, "..\x", "C:\x") gives an empty file.
struct StoredName {
    QString folder; // "" when the name has no folder part
    QString file;   // "" when the name is refused
};
StoredName SplitStoredName(const QString& name);

} // namespace vartesa
