#pragma once
// The role register ("Registrul de ROL"): the role page of every chosen role, printed one
// after the other in one print job or written into one workbook, a role under the other.
// Reads the books and changes nothing.

#include "cash/role_page.h"
#include "documents/role_selection.h"
#include "report/report.h"
#include "workbook/workbook.h"

#include <optional>
#include <vector>

namespace vartesa {

class Services;

/// The roles the selection keeps, ordered by village and numeric role number (numbers that
/// are no number after those of their village).
std::vector<RolePageRole> RoleRegisterRoles(Services& services, const RoleSelection& selection);

/// The role pages of the chosen roles, for the working year and the day `today`. Nothing (the
/// clerk told, "Selectare ROL-uri") when no role is chosen.
std::optional<std::vector<RolePage>> RoleRegisterPages(Services& services, const RoleSelection& selection,
                                                       const QDate& today);

/// The export: every page written from the first row of a sheet, one more empty row after
/// each; a page that would not fit what is left of a sheet starts the next one ("Foaie2" ...),
/// so no page is cut. `sheetRows` is the number of rows a sheet holds.
struct RoleRegisterBook {
    workbook::Workbook book;
    int roles = 0;
    int sheets = 0;
};
RoleRegisterBook WriteRoleRegister(const std::vector<RolePage>& pages, int sheetRows = workbook::MaxRows);

/// The printout: every page laid out, one role after the other, as one document.
report::Layout RoleRegisterLayout(const std::vector<RolePage>& pages);

/// The printing question ("Listare ROL-uri"): true only when the clerk answers DA.
bool ConfirmRoleRegisterPrint(Services& services, int roles);

/// The menu's export: written into a free "ROL<n>.xls" of the program folder and handed to the
/// desktop. Returns the file, "" when nothing was written (the clerk was told why).
QString ProduceRoleRegisterExport(Services& services, const RoleSelection& selection);

} // namespace vartesa
