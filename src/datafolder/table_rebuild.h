#pragma once
// Bringing a table into a new layout when the engine cannot change it in place (numeric
// fields made wider): the rows are copied into a new file beside the table, which then
// replaces it in one rename.

#include "shell/catalog.h"

namespace vartesa {

/// Rewrites the table at `path` with `layout`'s fields in `layout`'s order, keeping every
/// live row (matched by field name; fields the table lacks start empty). A crash before the
/// rename leaves the table as it was, one after it leaves the new table whole. Throws
/// vartesa::Error when another workstation holds the table; needs it closed everywhere.
void RebuildWithLayout(db::Database& db, const QString& path, const TableLayout& layout);

/// Gives the named numeric fields of the table at `path` the new width, keeping their
/// decimals, every other field as it is and every row (see RebuildWithLayout). Fields
/// already that wide or wider are left alone; returns whether the table was rewritten.
bool WidenNumericFields(db::Database& db, const QString& path, const QStringList& fields, int width);

} // namespace vartesa
