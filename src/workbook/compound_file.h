#pragma once
// The compound file container that wraps a .xls workbook: a little file system of
// 512-byte sectors chained through an allocation table, with small streams packed
// into 64-byte mini sectors. We read any stream of the root storage and write a
// fresh container holding a list of streams (version 3, 512-byte sectors).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa::workbook {

/// One stream directly under the root storage.
struct CompoundStream {
    QString name;    // as stored, e.g. "Workbook" or "\x05SummaryInformation"
    QByteArray data; // the stream's bytes, exactly its declared size
};

/// True when `bytes` begins with the compound file signature.
bool isCompoundFile(const QByteArray& bytes);

/// Every stream of the root storage (sub-storages are skipped: the workbook does not
/// need them). Throws vartesa::Error on a damaged container: bad header, a sector
/// or offset outside the file, a chain that loops, a stream longer than its chain.
std::vector<CompoundStream> readCompoundFile(const QByteArray& bytes);

/// The stream named `name` (compared without regard to case); throws when absent.
QByteArray readCompoundStream(const QByteArray& bytes, const QStringList& names);

/// A complete container holding `streams` under the root storage. Streams under
/// 4096 bytes go into the mini stream, as every reader expects.
QByteArray writeCompoundFile(const std::vector<CompoundStream>& streams);

} // namespace vartesa::workbook
