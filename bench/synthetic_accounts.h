#pragma once
// The collection tables of the synthetic commune: four balance rows per role
// (SoldCalc.dbf), a debit of the year for one role in five (Debit.dbf) and two receipt lines
// per role, a reduced one for a role in three (Chitante.dbf). Written straight to dBase files
// beside the roles of synthetic_commune.h.

#include "synthetic_commune.h"

namespace vartesa::bench {

/// Writes SoldCalc.dbf, Debit.dbf and Chitante.dbf into `folder` (replacing them).
void writeSyntheticAccounts(const QString& folder, const CommuneSize& size = {});

} // namespace vartesa::bench
