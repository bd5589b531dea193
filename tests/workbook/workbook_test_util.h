#pragma once
// Helpers of the workbook tests: the outside spreadsheet converter used as the
// independent reader, and CSV parsing of what it prints.

#include "workbook/biff_records.h"
#include "workbook/workbook_model.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa::workbook::test {

/// Path of the headless converter, empty when it is not installed.
QString converterPath();

/// Cells of every sheet of `file` as the converter reads them: [sheet][row][col];
/// with `recalc` it computes every formula itself instead of showing stored values.
/// Empty when the conversion fails.
std::vector<std::vector<QStringList>> convertToCsv(const QString& file, bool recalc = false);

/// The records of the workbook stream of a .xls file, and a .xls file holding `records`
/// (sheet positions are not recomputed: change sizes only inside the last sheet).
std::vector<RawRecord> workbookRecords(const QByteArray& file);
QByteArray fileWithRecords(const std::vector<RawRecord>& records);

/// Converts `from` into `to` (format chosen by the converter from the name or `exporter`).
bool convert(const QString& from, const QString& to, const QString& exporter = {});

/// The converter's own file format for `xls`, written at `scratch` and read back uncompressed:
/// styles and merges in plain XML. Empty when the conversion failed.
QString converterXml(const QString& xls, const QString& scratch);

/// Splits CSV text (quotes doubled inside quoted fields) into rows of fields.
std::vector<QStringList> parseCsv(const QString& text);

} // namespace vartesa::workbook::test

#define SKIP_WITHOUT_CONVERTER()                                                     \
    do {                                                                             \
        if (vartesa::workbook::test::converterPath().isEmpty())                      \
            GTEST_SKIP() << "ssconvert (gnumeric) nu este instalat";                 \
    } while (0)

// Readable QString values in assertion messages.
#include <ostream>
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
namespace vartesa::workbook {
inline void PrintTo(const CellRange& r, std::ostream* os) {
    *os << "(" << r.firstRow << "," << r.firstCol << ")-(" << r.lastRow << "," << r.lastCol << ")";
}
} // namespace vartesa::workbook
