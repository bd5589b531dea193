#include "workbook_test_util.h"

#include "workbook/compound_file.h"

#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace vartesa::workbook::test {

QString converterPath() {
    return QStandardPaths::findExecutable(QStringLiteral("ssconvert"));
}

bool convert(const QString& from, const QString& to, const QString& exporter) {
    QProcess p;
    QStringList args;
    if (!exporter.isEmpty())
        args << QStringLiteral("-T") << exporter;
    args << from << to;
    p.start(converterPath(), args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

std::vector<QStringList> parseCsv(const QString& text) {
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') { field += '"'; ++i; }
            else if (c == '"') quoted = false;
            else field += c;
            continue;
        }
        if (c == '"') { quoted = true; any = true; }
        else if (c == ',') { row << field; field.clear(); any = true; }
        else if (c == '\n') { row << field; rows.push_back(row); row.clear(); field.clear(); any = false; }
        else if (c != '\r') { field += c; any = true; }
    }
    if (any)
        rows.push_back(row << field);
    return rows;
}

std::vector<std::vector<QStringList>> convertToCsv(const QString& file, bool recalc) {
    std::vector<std::vector<QStringList>> sheets;
    QTemporaryDir dir;
    QProcess p;
    QStringList args{QStringLiteral("-S"), QStringLiteral("-T"), QStringLiteral("Gnumeric_stf:stf_csv")};
    if (recalc)
        args << QStringLiteral("--recalc");
    p.start(converterPath(), args << file << dir.filePath(QStringLiteral("out_%n.csv")));
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return sheets;
    for (int n = 0;; ++n) {
        QFile f(dir.filePath(QStringLiteral("out_%1.csv").arg(n)));
        if (!f.open(QIODevice::ReadOnly))
            break;
        sheets.push_back(parseCsv(QString::fromUtf8(f.readAll())));
    }
    return sheets;
}

std::vector<RawRecord> workbookRecords(const QByteArray& file) {
    const QByteArray stream = readCompoundStream(file, {QStringLiteral("Workbook")});
    std::vector<RawRecord> out;
    for (qsizetype pos = 0; pos + 4 <= stream.size();) {
        const quint16 id = get16(stream.constData() + pos), size = get16(stream.constData() + pos + 2);
        out.push_back({id, stream.mid(pos + 4, size)});
        pos += 4 + size;
    }
    return out;
}

QByteArray fileWithRecords(const std::vector<RawRecord>& records) {
    QByteArray stream;
    for (const RawRecord& r : records) {
        put16(stream, r.id);
        put16(stream, quint16(r.data.size()));
        stream += r.data;
    }
    return writeCompoundFile({{QStringLiteral("Workbook"), stream}});
}

QString converterXml(const QString& xls, const QString& scratch) {
    if (!convert(xls, scratch)) return {};
    gzFile gz = gzopen(scratch.toLocal8Bit().constData(), "rb");
    if (!gz) return {};
    QByteArray xml;
    char buf[65536];
    for (int n; (n = gzread(gz, buf, sizeof buf)) > 0;) xml.append(buf, n);
    gzclose(gz);
    return QString::fromUtf8(xml);
}

} // namespace vartesa::workbook::test
