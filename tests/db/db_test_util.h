#pragma once
// Shared helpers of the engine tests: a scratch data folder, raw file bytes, a dBase file
// built by hand (independently of the engine's writer), the command-line tool and the
// independent reader.

#include "db/database.h"
#include "db/error.h"
#include "db/query.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << b.toHex(' ').toStdString(); }
QT_END_NAMESPACE

namespace vartesa::dbtest {

/// A fresh data folder, removed with everything in it at the end.
class DataFolder {
public:
    DataFolder() { EXPECT_TRUE(dir_.isValid()); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
bool fileExists(const QString& path);

/// Every row of a SELECT with each cell as text (null as "<null>", dates as yyyy-MM-dd,
/// whole doubles without a point), for comparing whole results at once.
std::vector<QStringList> rowsOf(db::Database& db, const QString& sql, const QVariantList& params = {});
/// One column of a SELECT as texts, as rowsOf writes them.
QStringList columnOf(db::Database& db, const QString& sql, const QVariantList& params = {});
QString cellText(const QVariant& v);

/// One field of a hand-made dBase file.
struct RawField {
    const char* name;
    char type;
    int length;
    int decimals = 0;
};

/// A dBase III file made byte by byte: `records` are whole records (deletion flag first).
/// `claimedCount` is what the header says (-1: the number of records given); `endMarker`
/// adds the 0x1A after the records.
QByteArray makeDbf(const std::vector<RawField>& fields, const std::vector<QByteArray>& records,
                   int claimedCount = -1, bool endMarker = true);

/// Header fields read straight from the bytes.
inline std::uint32_t u32At(const QByteArray& b, int at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
inline int u16At(const QByteArray& b, int at) { return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8; }

/// What the command-line tool printed.
struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};
/// Runs `vartesa-tool sql folder statement values...` and waits for it.
ToolRun runToolSql(const QString& folder, const QString& statement, const QStringList& values = {});

/// Whether /usr/bin/python3 can import dbfread.
bool haveDbfread();
/// The table as the independent reader sees it (encoding cp1250): {"fields": [[name, type,
/// length, decimals]...], "records": [[value as text or null]...]}; empty object on failure,
/// with the reader's complaint in `error`.
QJsonObject readWithDbfread(const QString& path, QString* error = nullptr);

} // namespace vartesa::dbtest
