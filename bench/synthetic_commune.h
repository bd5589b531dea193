#pragma once
// A synthetic commune for measuring: roles of the register and their debt lines, written
// straight to dBase files of the program's layout.

#include <QString>

namespace vartesa::bench {

struct CommuneSize {
    int roles = 10000;       // rows of the register (Gospodar.dbf)
    int linesPerRole = 14;   // rows of the ledger (Datorii.dbf) per role
    int villages = 6;        // distinct SATUL values
};

/// Writes the register and the ledger into `folder` (replacing them).
void writeSyntheticCommune(const QString& folder, const CommuneSize& size = {});

} // namespace vartesa::bench
