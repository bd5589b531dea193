#pragma once
// The compound file container that wraps a .xls workbook: a little file system of
// 512-byte sectors chained through an allocation table, with small streams packed
// into 64-byte mini sectors. We read every stream and storage and write a fresh
// container holding them (version 3, 512-byte sectors).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa::workbook {

/// One entry of the container below the root storage: a stream, or a storage (a
/// folder of further entries, such as a macro project or an embedded object).
struct CompoundStream {
    CompoundStream() = default;
    CompoundStream(QString streamName, QByteArray bytes) : name(std::move(streamName)), data(std::move(bytes)) {}

    QString name;     // path from the root, parts joined by '/': "Workbook", "_VBA_PROJECT_CUR/VBA/dir"
    QByteArray data;  // a stream's bytes, exactly its declared size; empty for storages
    bool storage = false; // a storage entry (kept so empty storages and class ids survive)
    QByteArray clsid; // class id (16 bytes) of a storage; empty when none
    QString damage;   // why a stream's data could not be read; empty when it was read
};

/// True when `bytes` begins with the compound file signature.
bool isCompoundFile(const QByteArray& bytes);

/// Every stream and storage of the container, sub-storages included. Throws
/// vartesa::Error when the container itself is damaged (bad header, allocation table
/// or directory chain); a stream whose own sectors are damaged is returned with
/// `damage` set and no data, so the streams that are sound stay usable.
std::vector<CompoundStream> readCompoundFile(const QByteArray& bytes);

/// The root-level stream named `name` (compared without regard to case); throws
/// when it is absent or damaged.
QByteArray readCompoundStream(const QByteArray& bytes, const QStringList& names);
/// The same, from entries already read by readCompoundFile.
QByteArray findCompoundStream(const std::vector<CompoundStream>& entries, const QStringList& names);

/// A complete container holding `streams` (storages are created for every path).
/// Streams under 4096 bytes go into the mini stream, as every reader expects.
QByteArray writeCompoundFile(const std::vector<CompoundStream>& streams);

} // namespace vartesa::workbook
