#pragma once
// The export of a list as the clerk sees it: the visible columns of a grid, under their
// titles, into a spreadsheet (.xls, through the workbook engine) or a comma-separated text
// file (.csv, Windows-1250 with CRLF line ends, as the office's other text files). Every list
// with an "Export in Excel" button uses it.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace vartesa {

/// The cells of a grid as shown: one title per visible column, rows of values (numbers as
/// numbers, dates as QDate, the rest as text).
struct GridCells {
    QStringList titles;
    std::vector<std::vector<QVariant>> rows;
};

/// Writes `cells` to `path`: comma-separated text when it ends in ".csv" (any case), else a
/// spreadsheet with the titles in bold on the first row and dates in dd.mm.yyyy cells.
/// Throws vartesa::Error when the file cannot be written; a failure leaves no half file.
void ExportGridCells(const GridCells& cells, const QString& path);

} // namespace vartesa
