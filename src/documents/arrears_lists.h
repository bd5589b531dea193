#pragma once
// The lists of arrears and overpayments ("Lista cu Ramasite / Plusuri"): what each role carried
// into the year on 1 January, one row per role and one column per claim, filled into the
// "MODELRAM" workbook. The balances are those established when the year was opened (DATORI,
// DEPOZI, MAJORI of SoldCalc.dbf and RESTINI of the older lines of Datorii.dbf), so a payment
// made since changes nothing in them. They read and change nothing else.

#include "documents/role_selection.h"
#include "workbook/workbook.h"

#include <QString>

#include <optional>

namespace vartesa {

class Services;

enum class ArrearsKind {
    Arrears,      // "Lista cu Ramasite"
    Overpayments, // "Lista cu Plusuri"
};

/// How the list is made beyond the choice of roles (whose `addressOrder` orders the roles by
/// village first).
struct ArrearsListOptions {
    ArrearsKind kind = ArrearsKind::Arrears;
    bool exclude = false;       // "Excludem ROL-urile fara ...": roles without the kind's amount left out
    bool addressTotals = false; // "Lista Ramasite - Adresa": sorted by address, a total per address
};

/// The options of "Lista Ramasite - Adresa": arrears only, roles without arrears always left
/// out, ordered by village and address.
ArrearsListOptions AddressListOptions();

/// The word of the kind in titles: "Ramasite", "Plusuri".
QString ArrearsKindWord(ArrearsKind kind);

struct BuiltArrearsList {
    workbook::Workbook book;
    int rows = 0; // role rows
};

/// Builds the list for the roles `selection` keeps. Nothing (the clerk told) when the selection
/// holds no role. Throws vartesa::Error on a database failure, when the template cannot be
/// written or read, or when the list is longer than a sheet (nothing filled).
std::optional<BuiltArrearsList> BuildArrearsList(Services& services, const RoleSelection& selection,
                                                 const ArrearsListOptions& options);

/// The menu's list: built, saved as a free "Rap<n>.xls" and handed to the desktop. Returns the
/// file, "" when there is none.
QString ProduceArrearsList(Services& services, const RoleSelection& selection, const ArrearsListOptions& options);

} // namespace vartesa
