#pragma once
// The lists of persons of the lists menu ("Alte Centralizatoare" / "Lista persoane
// fizice/juridice"): every role of one person type, by name, in a spreadsheet handed to the
// desktop.

#include <QString>

namespace vartesa {

class Services;

/// Person type of a role (Gospodar.dbf, TIP).
enum class PersonType { Physical, Legal };

/// Fills the embedded "ListaPers" workbook with every role of `type` ordered by NUMEP under
/// the title "Lista persoane fizice" / "Lista persoane juridice", saves it as a free Rap<n>.xls
/// and hands it to the desktop. Returns the file written, "" when the clerk was told why
/// there is none. Throws vartesa::Error on a database failure.
QString ListPersons(Services& services, PersonType type);

} // namespace vartesa
