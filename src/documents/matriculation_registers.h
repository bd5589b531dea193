#pragma once
// The matriculation register ("Registrul Matricol"): the legal register of every role's
// property in four workbooks: land, dwellings and annex buildings, vehicles, and all of it
// cumulated with the tax of each kind. They read the declaration pages, the assessed debt
// lines and the tax balances and change nothing.
//
// Each is built in memory from its template (a copy written beside the program and deleted
// however the filling ends) and handed back ready to save: the windows save it under a free
// "Rap<n>.xls" and give it to the desktop, vartesa-tool under the file it is given.

#include "documents/role_selection.h"
#include "workbook/workbook.h"

#include <QString>

#include <optional>

namespace vartesa {

class Services;

enum class RegisterKind {
    Land,      // "Terenuri" (RMTEREN)
    Buildings, // "Locuinte - Anexe" (RMCLADIRI)
    Vehicles,  // "Mijloace de transport" (RMAUTO)
    Cumulated, // "Cumulat" (MATRICTOT)
};

/// The kind a command-line word names: "land-register", "building-register",
/// "vehicle-register", "cumulated-register".
std::optional<RegisterKind> RegisterKindNamed(const QString& word);

/// The message of a selection that finds nothing, and the title each register shows it under
/// ("Listare Matricola", "Listare Matricole", "Matricola Auto"; none for the cumulated one,
/// which comes out empty instead).
inline const QString kNoRoleInRange = QStringLiteral("Nu exista nici un ROL in intervalul specificat!");
QString RegisterRefusalTitle(RegisterKind kind);

/// A register ready to save, and its number of data rows.
struct BuiltRegister {
    workbook::Workbook book;
    int rows = 0;
};

/// Builds one register of the roles `selection` keeps. Nothing (the clerk told) when the land,
/// buildings or vehicle register finds no role. Throws vartesa::Error when the template cannot
/// be written or read, when the register is longer than a sheet (nothing filled) or on a
/// database failure.
std::optional<BuiltRegister> BuildMatriculationRegister(Services& services, RegisterKind kind,
                                                        const RoleSelection& selection);

/// The menu's register: built, saved as a free "Rap<n>.xls" of the program folder and handed
/// to the desktop. Returns the file, "" when there is none (the clerk was told why).
QString ProduceMatriculationRegister(Services& services, RegisterKind kind, const RoleSelection& selection);

} // namespace vartesa
