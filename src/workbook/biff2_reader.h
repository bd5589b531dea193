#pragma once
// Reader of the one-sheet Excel 2.x (BIFF2) files the lists written cell by cell make: the
// values of their cells, for the command line and the tests to read them back.

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <utility>

namespace vartesa::workbook {

/// The cells of a BIFF2 sheet by (row, column), both from 0: texts as written, numbers in
/// their shortest form ("150", "0.5"), blank cells as "".
struct Biff2Cells {
    std::map<std::pair<int, int>, QString> cells;
    int lastRow = -1, lastColumn = -1;
    QString text(int row, int col) const;
};

/// True when `bytes` start as a BIFF2 worksheet.
bool IsBiff2(const QByteArray& bytes);
/// The cells of a BIFF2 worksheet; nothing when the bytes are not one or are cut short.
std::optional<Biff2Cells> ReadBiff2(const QByteArray& bytes);

} // namespace vartesa::workbook
