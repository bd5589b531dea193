#pragma once
// Every table of the data folder in its current layout, as data: the upgrades create the
// missing ones from it and tests compare the files with it.

#include "db/dbf_format.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {
namespace db {
class Database;
}

struct TableLayout {
    QString file;                  // "Datorii.dbf"
    std::vector<db::Field> fields; // in their order; offsets not set
};

/// The tables the first upgrade set creates when missing, in the order it creates them.
const std::vector<TableLayout>& TableCatalog();
/// One table of the catalog by file name (any case); throws vartesa::Error when unknown.
const TableLayout& CatalogTable(const QString& file);

/// The column list of a CREATE TABLE for a layout: "(IDGOS DECIMAL(10,0), SATUL CHAR(32), ...)".
QString ColumnDefinitions(const std::vector<db::Field>& fields);
/// Creates `path` with the layout.
void CreateTable(db::Database& db, const QString& path, const TableLayout& layout);

} // namespace vartesa
