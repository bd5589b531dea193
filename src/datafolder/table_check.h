#pragma once
// The administrator's check of the data folder's tables and the repair of a damaged one:
// which tables the engine refuses (a header that disagrees with its file), and the mending
// of a record count, told line by line in the clerk's words.

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// One table the check found damaged.
struct DamagedTable {
    QString file;  // its file name in the data folder
    QString fault; // the engine's refusal: "Tabela X.dbf este deteriorata: ..."
};

/// Opens the data folder as start-up does (tables a killed writer left half written are put
/// back), then reads the header of every table (*.dbf, any case) against its file, without
/// loading it. Returns the damaged ones in name order; a file that is no table at all is
/// listed with the reason.
std::vector<DamagedTable> DamagedTables(db::Database& db, const QString& dataFolder);

/// Repairs the record count of `table` (a file of `dataFolder`, named with or without
/// ".dbf") through Database::repairRecordCount and says what it found and what it did (with
/// `dryRun`, what it would do), one line each. Throws Error for a refusal: no such table, a
/// fault the count does not explain, <name>.bak or <name>.rest already there.
QStringList RepairTable(db::Database& db, const QString& dataFolder, const QString& table, bool dryRun);

} // namespace vartesa
