#pragma once
// Tables several screens build or read the same way.

#include <QString>
#include <QVariantList>
#include <QStringList>

namespace vartesa {
namespace db {
class Database;
}

/// Empty table with the layout of the summons detail lines.
void CreateSummonsDetailTable(db::Database& db, const QString& path);
/// The budget code of a tax group from CODCL.dbf: CODCLF for a person, CODCLJ for a
/// company; "" when the group has no row.
QString BudgetCodeOfGroup(db::Database& db, const QString& dataFolder, const QString& group, bool isPerson);
/// Distinct values of `field` in a table, ascending, skipping blank ones; `where` is an
/// optional condition written by the program (values in it are bound from `params`).
QStringList DistinctValues(db::Database& db, const QString& tablePath, const QString& field,
                           const QString& where = {}, const QVariantList& params = {});

} // namespace vartesa
