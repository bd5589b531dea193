#pragma once
// The lists to collect ("Lista de incasat"): the detailed list, one row per role with what it
// owes per claim on a date (arrears, current amount, increments), written cell by cell in the
// Excel 2.x format; the summary per claim and person type at today ("Rezumat", the CENRES
// workbook of the data folder); and the collection rate per claim and person type ("Gradul de
// colectare impozite", the GRAD workbook). Each reads the account of every role as the cashier
// would see it, and changes nothing.

#include "documents/role_selection.h"
#include "workbook/workbook.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vartesa {

class Services;

/// What the dialog "Lista de incasat" hands over.
struct CollectionChoice {
    QString village;                         // SatulX; " * indiferent *" (or empty): every village
    QDate date;                              // DataC: the day the amounts are computed for
    bool withCredits = false;                // SiPlusuri: "Include si plusurile"
    bool withZero = false;                   // SiZero: "Include si gospodariile fara debite"
    PersonChoice person = PersonChoice::Any; // TipPers
};

/// The detailed list written: its file, the role rows and their totals in row order.
struct DetailedList {
    QString file;
    std::vector<std::int64_t> rowTotals;
    std::int64_t total = 0;
};

/// Writes the detailed list into `file`. Nothing (the clerk told, no file) when the choice
/// holds no role, or when the list would not fit a sheet. Throws vartesa::Error on a
/// database failure or when the file cannot be written.
std::optional<DetailedList> WriteDetailedCollectionList(Services& services, const CollectionChoice& choice,
                                                        const QString& file);
/// The menu's list: written to a free "DeIncasat<n>.xls" of the program folder and handed to
/// the desktop. Returns the file, "" when there is none.
QString ProduceDetailedCollectionList(Services& services, const CollectionChoice& choice);

/// A list filled into a workbook, and its number of data rows.
struct BuiltCollectionList {
    workbook::Workbook book;
    int rows = 0;
};

/// The summary per claim and person type of the village and person type of `choice`, at
/// `today` whatever date the choice holds. Throws vartesa::Error on a database failure or when
/// the template cannot be written or read.
BuiltCollectionList BuildCollectionSummary(Services& services, const CollectionChoice& choice, const QDate& today);
/// The menu's summary, saved as a free "Rap<n>.xls" and handed to the desktop.
QString ProduceCollectionSummary(Services& services, const CollectionChoice& choice);

/// The collection rate per claim and person type, dated `today`. Nothing, without a message,
/// when the database fails while it is computed.
std::optional<BuiltCollectionList> BuildCollectionRate(Services& services, const QDate& today);
/// The menu's collection rate, saved as a free "Rap<n>.xls" and handed to the desktop.
QString ProduceCollectionRate(Services& services);

} // namespace vartesa
