#pragma once
// The lists and summaries of the cash register: the register of a day, the payments and the
// arrears collected in a period, and the "Centralizatoare" the accountant takes away. Each is
// built as a workbook (from its template where it has one) that the caller saves: the
// windows under a free name of the program folder, handed to the desktop; vartesa-tool
// under the file it is given.

#include "workbook/workbook.h"

#include <QDate>
#include <QString>

#include <optional>

namespace vartesa {

class Services;

enum class SummaryKind {
    Register,           // "Listeaza Registru de casa" (RegCasa.xls)
    Payments,           // "Lista plati" (ListPlat.xls)
    Arrears,            // "Incasari Ramasite" (ChitRam)
    ByClaim,            // "Incasari - Denumire Cont" (BordRCInc)
    ByAccount,          // "Chitante - Numar Cont"
    ByCashier,          // "Chitante - Incasator"
    AccountsByCashier,  // "Conturi - Incasatori total" (CCI)
    AccountsTotal,      // "Conturi - Totaluri" (ModConTot)
    Compensations,      // "Centralizator compensari"
};

/// The kind a command-line word names ("register", "by-claim" ...).
std::optional<SummaryKind> SummaryKindNamed(const QString& word);

/// What a list is asked for.
struct SummaryRequest {
    QDate from, to;              // the period (the register list: the day is `from`)
    bool withTransfers = false;  // "Inclusiv platile prin virament": "V" documents too
    QString cashier;             // as chosen in "Operator"; empty or " * indiferent *": all
};

/// "Perioada incorecta!" when the period runs backwards.
std::optional<QString> CheckPeriod(const QDate& from, const QDate& to);

/// Builds one list. Throws vartesa::Error when a template is missing or unreadable, or on a
/// database failure.
workbook::Workbook BuildSummary(Services& services, SummaryKind kind, const SummaryRequest& request);

/// Saves a built list as the first free "Rap<n>.xls" ("CentrZ<n>.xls" for the workbooks made
/// without a template) of the program folder and hands it to the desktop. Returns the path,
/// "" when every name is held open (the clerk is told).
QString SaveSummary(Services& services, SummaryKind kind, const workbook::Workbook& book);

} // namespace vartesa
