#pragma once
// Reads a written sheet back as rows of text: through vartesa-tool xls-cat, or through another
// spreadsheet program (ssconvert), so a test compares what a clerk would see.
// Inline: it runs the tool of this build (VARTESA_TOOL_PATH), defined for each test program.

#include "support/tool_run.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <vector>

namespace vartesa::test {

// The rows of a CSV text, fields split on commas outside quotes.
inline std::vector<QStringList> csvRows(const QString& text) {
    std::vector<QStringList> rows;
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        QStringList fields{QString()};
        bool quoted = false;
        for (int i = 0; i < line.size(); ++i) {
            const QChar c = line[i];
            if (c == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') fields.last() += c, ++i;
                else quoted = !quoted;
            } else if (c == ',' && !quoted) {
                fields << QString();
            } else if (c != '\r') {
                fields.last() += c;
            }
        }
        rows.push_back(fields);
    }
    return rows;
}

inline std::vector<QStringList> xlsCat(const QString& file) {
    QString printed;
    EXPECT_EQ(runTool({"xls-cat", file}, &printed), 0) << printed.toStdString();
    return csvRows(printed);
}

inline std::vector<QStringList> ssconvert(const QString& file) {
    QProcess converter;
    const QString csv = file + ".csv";
    converter.start(QStandardPaths::findExecutable("ssconvert"), {"--recalc", file, csv});
    EXPECT_TRUE(converter.waitForFinished(60000));
    QFile text(csv);
    EXPECT_TRUE(text.open(QIODevice::ReadOnly));
    return csvRows(QString::fromUtf8(text.readAll()));
}

} // namespace vartesa::test
