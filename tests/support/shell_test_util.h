#pragma once
// Small helpers shared by the core shell tests: raw file bytes, readable failure output for
// Qt texts, and the command-line tool.

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

} // namespace vartesa::shelltest
