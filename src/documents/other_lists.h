#pragma once
// The smaller lists of the documents menu: the fire-service and guard fees, the fines or taxes
// of one claim, the vehicles, the exempted taxpayers, the taxable buildings, the land movements
// of a period, the vehicles over 12 t and the analytic situation of every role's accounts.
// Each reads the books, computes its working rows in memory and fills its template (a copy
// written beside the program and deleted however the filling ends); none changes anything.

#include "documents/role_selection.h"
#include "workbook/workbook.h"

#include <QDate>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace vartesa {

class Services;
namespace db {
class Database;
}

enum class OtherList {
    FireGuard,        // "MATRICOLA PSI / Paza" (PAZAPSI)
    Fines,            // "Lista amenzi / taxe" of one claim (AMENZI1)
    Vehicles,         // "Lista Auto" (LISTAAUTO)
    Exemptions,       // "Lista scutiri fara borderou" (SCUTIRI)
    TaxableBuildings, // "Tabel Cladiri impozabile" (CLADIRI)
    LandMovements,    // "Terenuri Intrari-Iesiri" (TE)
    Over12t,          // "Auto peste 12t pentru C.J." (PESTE12)
    Analytic,         // "Situatie analitica conturi pe ROL" (SANALITICA)
};

/// What the clerk chose before the list.
struct OtherListOptions {
    RoleSelection selection;  // the fire-service list: the choice of roles; the fines: the person type
    QString claim;            // the fines: the claim (GRUPA)
    bool withBalance = false; // the fines: "Doar rolurile cu sold"
    QDate from, to;           // the land movements: the period
    QDate today;              // the day the list prints
};

/// Working rows: the columns the template row names and one row of values each.
struct ListRows {
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;
};

/// The fire-service and guard fees per role (IDGOS) of the working year Y: the fee of 1 January
/// Y as current, with the arrears established then; the lines of earlier years whole as arrears;
/// lines dated after 1 January Y left out. Lines with nothing established are left out unless
/// the selection's check box is ticked. SATUL, ROL, PSICURENT, PSIREST, PAZACURENT, PAZAREST,
/// ordered by village and role number (as text).
ListRows FireGuardRows(Services& services, const RoleSelection& selection);

/// True when an explanation says the fine was paid within 48 hours ("48H" or "48 H", any case).
bool PaidWithin48Hours(const QString& explanation);
/// The claims of the list of fines: the distinct GRUPA of the classification codes of TIP "T".
QStringList FineClaims(db::Database& db, const QString& dataFolder);
/// The lines of claim `options.claim`: SATUL, CNP, NUMEP, ADRESA, ROL, DINDATA, DOCJUS, NR, VAL1
/// (established), SOLD1 (still to pay), A48; ordered by village and numeric role number.
ListRows FineRows(Services& services, const OtherListOptions& options);

/// One row per registered vehicle with its role: ordered by person type and role number.
ListRows VehicleRows(Services& services);
/// One row per role with an exemption, "X" under each: SATUL, ROL, NUMEP, A1 .. A5.
ListRows ExemptionRows(Services& services);

/// One natural person's house (positions 1 to 4 of page 2) and the tax the assessment charges
/// for it: 0 when the role's buildings are exempted.
struct TaxableBuilding {
    QString role;
    int position = 1;  // k of C<k>S
    double area = 0;   // C<k>S
    qint64 tax = 0;
};
struct AssessmentRates;
std::vector<TaxableBuilding> TaxableBuildings(Services& services, const AssessmentRates& rates);
/// The marker cells of the table ("#N11" ... "#N63") and their values.
std::vector<std::pair<QString, double>> TaxableBuildingCells(const std::vector<TaxableBuilding>& buildings);

/// The land column a debit of `group` and category `name` goes to ("I1" ... "E5"); "" when the
/// category is not counted.
QString LandMovementColumn(const QString& group, const QString& name);
/// The land sold (negative) or bought in the period, in ha, one row per debit: LOCALIT, ROL,
/// DOCJUS, NR, DINDATA, I1, E1 ... I5, E5.
ListRows LandMovementRows(Services& services, const QDate& from, const QDate& to);

/// Per role, the count and the tax of its assessed vehicles over 12 t: ROL, NUMEP, TIP, NRX, IMP.
ListRows Over12tRows(Services& services);

/// Per role and account: the arrears and their penalties at the start of the year, the debits of
/// the year, what was paid and what is left: ROL, NUMEP, CNP, SAT, ADRESA, GRUPA, RESTS, RESTPENS,
/// CURENTS, INCASS, SOLDS; ordered by village, name, role, account.
ListRows AnalyticRows(Services& services);

/// A list ready to save, and its number of data rows.
struct BuiltList {
    workbook::Workbook book;
    int rows = 0;
};

/// Builds one list. Nothing (the clerk told) when the choice is refused: a claim that is not a
/// claim of TIP "T", a period that ends before it starts. Throws vartesa::Error when the template
/// cannot be written or read, when the list is longer than a sheet or on a database failure.
std::optional<BuiltList> BuildOtherList(Services& services, OtherList kind, const OtherListOptions& options);

/// The menu's list: built, saved as a free "Rap<n>.xls" of the program folder and handed to the
/// desktop. Returns the file, "" when there is none (the clerk was told why).
QString ProduceOtherList(Services& services, OtherList kind, const OtherListOptions& options);

} // namespace vartesa
