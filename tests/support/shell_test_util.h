#pragma once
// Small helpers shared by the core shell tests: raw file bytes, readable failure output for
// Qt texts, and the command-line tool.

#include "db/file_io.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

// Found by argument-dependent lookup, so failures print the text instead of raw bytes.
[[maybe_unused]] static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
[[maybe_unused]] static void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"' << b.toPercentEncoding(" =[];.,-_#~\"()").toStdString() << '"';
}

namespace vartesa::shelltest {

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return f.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

/// The record count a dBase header holds (bytes 4..7, little-endian), deleted records included.
inline std::uint32_t headerRecordCount(const QByteArray& b) {
    if (b.size() < 8) return 0;
    return std::uint32_t(std::uint8_t(b[4])) | std::uint32_t(std::uint8_t(b[5])) << 8 |
           std::uint32_t(std::uint8_t(b[6])) << 16 | std::uint32_t(std::uint8_t(b[7])) << 24;
}

inline QString toolPath() { return QStringLiteral(VARTESA_TOOL_PATH); }

/// Leaves the table `path` as a writer killed mid-way does: its journal written and synced,
/// then the header's count and the first record overwritten and a record begun after the
/// last. Returns the table's bytes as they were before.
inline QByteArray leaveHalfWritten(const QString& path) {
    const QByteArray before = readBytes(path);
    const int header = std::uint8_t(before[8]) | std::uint8_t(before[9]) << 8;
    const int length = std::uint8_t(before[10]) | std::uint8_t(before[11]) << 8;
    db::writeJournal(path, before.size(), {{0, before.left(32)}, {header, before.mid(header, length)}}, QString());
    QByteArray after = before;
    after[4] = char(after[4] + 1);
    after.replace(header, length, QByteArray(length, 'X'));
    after += QByteArray(length / 2, 'Y');
    writeBytes(path, after);
    return before;
}

} // namespace vartesa::shelltest
