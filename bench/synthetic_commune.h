#pragma once
// A synthetic commune for measuring: roles in Gospodar.dbf and their debt lines in
// Datorii.dbf, written straight to dBase files.

#include <QString>

namespace vartesa::bench {

struct CommuneSize {
    int roles = 10000;       // rows of Gospodar.dbf
    int linesPerRole = 14;   // rows of Datorii.dbf per role
    int villages = 6;        // distinct SATUL values
};

/// Writes Gospodar.dbf and Datorii.dbf into `folder` (replacing them).
void writeSyntheticCommune(const QString& folder, const CommuneSize& size = {});

} // namespace vartesa::bench
