#pragma once
// A plain list on paper: a title, a heading line and a ruled table of text rows, pages
// numbered at the bottom. The lists whose rows are made elsewhere (the cancelled receipts)
// print through it.

#include "report/report.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa::report {

/// The list as a report on A4 portrait: column widths share the printable width in
/// proportion to the longest text of each column (heading included); columns whose cells
/// are all numbers are aligned right.
Report ListReport(const QString& title, const QString& heading, const QStringList& columns,
                  const std::vector<QStringList>& rows);

} // namespace vartesa::report
