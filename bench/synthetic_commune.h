#pragma once
// A synthetic commune for measuring: roles of the register and their debt lines, written
// straight to dBase files of the program's layout.

#include <QString>

namespace vartesa::bench {

struct CommuneSize {
    int roles = 10000;       // rows of the register (Gospodar.dbf)
    int linesPerRole = 14;   // rows of the ledger (Datorii.dbf) per role
    int villages = 6;        // distinct SATUL values
    int manualLines = 0;     // ledger lines entered by hand ("M"), after the assessed ones
    int yearDebits = 0;      // rows of the year debits (Debit.dbf)
    int statements = 100;    // statement numbers (NR) the hand-entered lines and debits share
};

/// Writes the register, the ledger and the year debits into `folder` (replacing them).
void writeSyntheticCommune(const QString& folder, const CommuneSize& size = {});

} // namespace vartesa::bench
