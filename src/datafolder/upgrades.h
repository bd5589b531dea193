#pragma once
// Bringing a data folder into its current shape at each local start: the first set creates
// whatever table or template file is missing; the second probes the tables for older
// layouts and moves them forward, data included. Each step tests its own condition, so both
// can run any number of times and do nothing on a current database.

#include "shell/settings_table.h"
#include "shell/startup.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {

class CountersFile;
class Desktop;
class Messages;
namespace db {
class Database;
}

struct UpgradeContext {
    db::Database& db;
    QString dataFolder;
    QString programFolder;
    CountersFile& counters;
    Messages& messages;
    Desktop& desktop;
    std::vector<Setting> adminSettings; // stored controls, for a new Ini.dbf
};

/// What an upgrade set did, for the clerk or the command line.
struct UpgradeReport {
    QStringList changes;          // one line per table or file created or changed
    QStringList missingTemplates; // templates the program does not carry yet
    bool rolesTableEmpty = false; // GOSPODAR.dbf has no row (second set)
};

UpgradeReport RunFirstUpgradeSet(UpgradeContext& c);
UpgradeReport RunSecondUpgradeSet(UpgradeContext& c);

/// Start-up hooks that run both sets on the data folder start-up has chosen.
StartupHooks UpgradeHooks(db::Database& db, const Folders& folders, Messages& messages, Desktop& desktop,
                          std::vector<Setting> adminSettings);

/// Gives one character field a new width, keeping the data and the order of the fields.
void ChangeFieldWidth(db::Database& db, const QString& table, const QString& field, int width);

/// The vehicle tax names of the assessment lines, old and new.
struct RenamedTax {
    const char* oldName;
    const char* newName;
};
const std::vector<RenamedTax>& RenamedVehicleTaxes();

} // namespace vartesa
