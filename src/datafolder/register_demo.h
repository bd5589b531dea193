#pragma once
// A synthetic register backup (".rg2") over a data folder: a household for each of its roles
// (same village and number), new households, land of every register column and buildings of
// every type for the working year, a few cancelled households and one without a number. The
// tests and the benchmarks import it; the same seed gives the same register.

#include <QString>

namespace vartesa {

namespace db {
class Database;
}

struct DemoRegisterOptions {
    int newHouseholds = 0; // households of no role yet
    quint64 seed = 1;      // same seed, same register
};

struct DemoRegisterReport {
    int households = 0; // rows of Identificare.dbf
    int buildings = 0;  // rows of CAP11.dbf
};

/// Writes the register of the roles of `dataFolder` for the working `year` as the backup
/// `archive` (replaced). Throws vartesa::Error.
DemoRegisterReport WriteDemoRegister(db::Database& db, const QString& dataFolder, int year, const QString& archive,
                                     const DemoRegisterOptions& options);

} // namespace vartesa
