#include "db_test_util.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace vartesa::dbtest {
namespace {

// One QCoreApplication for the whole program: processes and their pipes want one.
class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[8] = "test_db";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

[[maybe_unused]] const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

void put16(QByteArray& b, int at, int v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}
void put32(QByteArray& b, int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

bool fileExists(const QString& path) { return QFileInfo::exists(path); }

QString cellText(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QStringLiteral("<null>");
    if (v.metaType().id() == QMetaType::QDate) return v.toDate().toString(Qt::ISODate);
    if (v.metaType().id() == QMetaType::Double) {
        const double d = v.toDouble();
        return d == double(qint64(d)) ? QString::number(qint64(d)) : QString::number(d, 'g', 15);
    }
    return v.toString();
}

std::vector<QStringList> rowsOf(db::Database& db, const QString& sql, const QVariantList& params) {
    const db::Query q = db.query(sql, params);
    std::vector<QStringList> out;
    for (int r = 0; r < q.count(); ++r) {
        QStringList row;
        for (int c = 0; c < q.columnCount(); ++c) row << cellText(q.cell(r, c));
        out.push_back(row);
    }
    return out;
}

QStringList columnOf(db::Database& db, const QString& sql, const QVariantList& params) {
    QStringList out;
    for (const QStringList& row : rowsOf(db, sql, params)) out << row.value(0);
    return out;
}

QByteArray makeDbf(const std::vector<RawField>& fields, const std::vector<QByteArray>& records,
                   int claimedCount, bool endMarker) {
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    int recordLength = 1;
    for (const RawField& f : fields) recordLength += f.length;
    QByteArray b(headerLength, '\0');
    b[0] = 0x03;
    b[1] = char(124); // 2024
    b[2] = 1;
    b[3] = 15;
    put32(b, 4, std::uint32_t(claimedCount < 0 ? int(records.size()) : claimedCount));
    put16(b, 8, headerLength);
    put16(b, 10, recordLength);
    b[29] = char(0xC8);
    int at = 32;
    for (const RawField& f : fields) {
        const QByteArray name(f.name);
        for (int i = 0; i < name.size() && i < 10; ++i) b[at + i] = name[i];
        b[at + 11] = f.type;
        b[at + 16] = char(f.length);
        b[at + 17] = char(f.decimals);
        at += 32;
    }
    b[at] = 0x0D;
    for (const QByteArray& r : records) {
        EXPECT_EQ(r.size(), recordLength) << "record " << r.toStdString();
        b += r;
    }
    if (endMarker) b += char(0x1A);
    return b;
}

ToolRun runToolSql(const QString& folder, const QString& statement, const QStringList& values) {
    QProcess p;
    p.start(QStringLiteral(VARTESA_TOOL_PATH), QStringList{QStringLiteral("sql"), folder, statement} + values);
    ToolRun run;
    if (!p.waitForStarted(30000) || !p.waitForFinished(120000)) {
        run.err = QStringLiteral("the tool did not run: ") + p.errorString();
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

namespace {

constexpr const char* kPython = "/usr/bin/python3";

// Prints the fields and the live records as JSON; values as text, None as null.
constexpr const char* kReaderScript = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1250', char_decode_errors='strict')
fields = [[f.name, f.type, f.length, f.decimal_count] for f in t.fields]
records = [[None if v is None else str(v) for v in r.values()] for r in t]
sys.stdout.write(json.dumps({'fields': fields, 'records': records}, ensure_ascii=True))
)";

} // namespace

bool haveDbfread() {
    static const bool available = [] {
        if (!QFileInfo::exists(QString::fromLatin1(kPython))) return false;
        QProcess p;
        p.start(QString::fromLatin1(kPython), {QStringLiteral("-c"), QStringLiteral("import dbfread")});
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }();
    return available;
}

QJsonObject readWithDbfread(const QString& path, QString* error) {
    QProcess p;
    p.start(QString::fromLatin1(kPython), {QStringLiteral("-c"), QString::fromLatin1(kReaderScript), path});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error) *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput(), &parseError);
    if (error) *error = parseError.errorString();
    return doc.object();
}

} // namespace vartesa::dbtest
