#pragma once
// The working rows of the matriculation registers, computed in memory from the roles, their
// page 2 (buildings), their assessed debt lines and their tax balances. Role numbers are
// texts, as typed: "12A" is shown after the numeric numbers of its village, never as 0.

#include "documents/role_selection.h"

#include <QStringList>
#include <QVariant>

#include <cmath>
#include <vector>

namespace vartesa {

/// Areas and quantities as their fields keep them, four decimals: sums of binary fractions
/// would otherwise show 1.7957999999999998.
inline double Rounded4(double value) { return std::round(value * 10000.0) / 10000.0; }

class Services;

/// The columns the register's template row names, and one row of values per register row.
struct RegisterRows {
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;
};

/// One row per role with land lines: ROL, NUMEP, CNP, C1 .. C13 (C7, C13 the land taxes of
/// its balances). Ordered by village, role number, IDGOS.
RegisterRows LandRegisterRows(Services& services, const RoleSelection& selection);
/// One row per role: ROL, NUMEP, CNP, C1 .. C8 the dwellings and first annex of a natural
/// person, C9 the building tax of its balance. Without the check box only roles with dwellings.
RegisterRows BuildingRegisterRows(Services& services, const RoleSelection& selection);
/// One row per assessed vehicle line: ROL, NUMEP, CNP, DENUM, UM, CANT, SUMA.
RegisterRows VehicleRegisterRows(Services& services, const RoleSelection& selection);
/// One row per role (IDGOS) with property or tax: ROL, NUMEP, A1 .. A27. Ordered by the
/// numeric role number, then village.
RegisterRows CumulatedRegisterRows(Services& services, const RoleSelection& selection);

} // namespace vartesa
