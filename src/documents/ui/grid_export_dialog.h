#pragma once
// "Export in Excel" of a list: the clerk names the file (the spreadsheet format offered
// first, comma-separated text beside it) and the grid's visible columns are written there,
// then handed to the desktop.

#include "documents/grid_export.h"

class QTableView;
class QWidget;

namespace vartesa {

class Services;

/// The visible columns of `grid`, in the order shown, under their titles; each cell as its
/// model's edit value (numbers stay numbers, dates dates).
GridCells VisibleGridCells(const QTableView& grid);

/// Asks where to write, then exports `grid` there and opens it. Returns the file, "" when
/// the clerk gave up. Errors are reported to the clerk.
QString ExportGridView(Services& services, QTableView& grid, QWidget* parent);

} // namespace vartesa
