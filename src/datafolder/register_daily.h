#pragma once
// The daily import from the agricultural register, the work the main window's timer
// (daily_register_import.h) runs once a day: the register's folder copied into the work
// folder and checked, the data folder kept in the program folder's "DataOld", the import
// with land and buildings, then the windows' part (the login panel shown, every role added
// to payment, the role register opened) through the hooks.

#include "datafolder/daily_register_import.h"
#include "datafolder/register_import.h"

#include <functional>

namespace vartesa {

class Services;

/// What the windows do around the import.
struct DailyImportHooks {
    std::function<void()> beforeImport; // the login panel in place of the tool buttons
    std::function<void()> afterImport;  // every role added to payment, the role register opened
};

/// The program folder + "/DataOld": the data folder as it was before the last daily import.
QString DailyImportKeptFolder(const Services& services);

/// Runs one daily import into `workFolder` from the register folder of `settings`. A problem
/// ("nu poate fi sters!", an empty register, duplicates, a refused or damaged register) is
/// shown and ends it with false, nothing imported; true when the import ran. Throws
/// vartesa::Error for a failure of the import itself (nothing imported).
bool RunDailyRegisterImport(Services& services, const QString& workFolder, const AutoImportSettings& settings,
                            const DailyImportHooks& hooks, RegisterImportResult* result = nullptr);

} // namespace vartesa
