#pragma once
// What a year debit describes: the tax object that was bought, sold, registered or
// deregistered, expressed as the declaration-page fields it occupies (FISIER, then the
// CAMP/VAL pairs). The new-year initialisation carries these objects into next year's pages,
// so the field names and the value texts must be those of the pages.

#include "books/debits.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vartesa {

/// The five detail forms of the debit dialog, chosen by the tax and the role's type.
enum class DebitForm { PersonBuilding, CompanyBuilding, InsideLand, OutsideLand, Vehicle };

/// The form of `tax` (one of the four main taxes) for a role that is a legal person or not.
DebitForm DebitFormOf(const QString& tax, bool legalPerson);

/// The four taxes a debit may concern, in the order of the dialog's list.
const QStringList& DebitTaxes();
/// Intravilan categories: "Curti-constructii" (m², fields CC<Z>) then the eight of page 4
/// (ha, fields AL<k><Z>). Zones A to E.
const QStringList& InsideLandCategories();
/// The eleven extravilan categories of page 1 (ha, fields L<k><Z>). Zones A to D.
const QStringList& OutsideLandCategories();
/// Material classes by position: 0 "1 SAU 2", 1 "3,4 SAU 5".
const QStringList& MaterialClasses();

/// One entry of the vehicle list and the page fields it fills.
struct VehicleCategory {
    QString text;          // DENUM, exactly as listed (some end in a tab or blanks)
    QString file;          // "PAG5", or "PAG6" for the unregistered vehicles
    QString capacityField; // field taking the cylinder capacity (or tonnage); empty when none
    QString countField;    // field taking the number of vehicles; empty when none
    QString capacityUnit;  // "cmc", or "total tdw" for ships
};

/// The vehicle list in the order the dialog offers it.
const std::vector<VehicleCategory>& VehicleCategories();
/// The category whose text equals `text` once trailing blanks are ignored on both sides
/// (the table keeps no trailing blanks); nullptr when there is none.
const VehicleCategory* FindVehicleCategory(const QString& text);

/// The object fields of every form; each form reads only its own.
struct DebitDetails {
    bool annex = false;       // buildings: "Cladiri anexe" rather than "Cladiri"
    double area = 0;          // built area (m²) or land area (m² for yards, ha otherwise)
    int year = 0;             // year the building was put in use
    int material = 1;         // material class position
    QString zone;             // "A".. "D" ("E" too for intravilan land)
    QString rank;             // rank of the locality, "0" to "V"
    qint64 value = 0;         // inventory value of a legal person's building, lei
    QDate revaluation;        // its last revaluation
    bool depreciated = false; // "Amortizata"
    int category = 0;         // land: position in InsideLandCategories / OutsideLandCategories
    QString vehicle;          // vehicle category text
    qint64 capacity = 0;      // cylinder capacity, or tdw for ships
    qint64 count = 0;         // number of vehicles
};

/// A number as the pairs hold it: plain decimal text, at most 4 decimals, no trailing zeros.
QString PairNumber(double value);

/// Builds the description of the object of `form` from `details`.
DebitObject DescribeDebitObject(DebitForm form, const DebitDetails& details);
/// Reads the form's fields back from a stored description; fields it does not name keep
/// their defaults. A vehicle text that is not in the list comes back as it was stored.
DebitDetails DecodeDebitObject(DebitForm form, const DebitObject& object);

} // namespace vartesa
