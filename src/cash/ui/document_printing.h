#pragma once
// Printing the receipt and the role page through the report engine.
//
// PrintReceipt follows the clerk's options: "Arata chitanta in format PDF" (per user) writes
// a "Chit<n>.pdf" file in the program folder and opens it; otherwise "Arata chitanta inainte
// de listare" previews it; otherwise it goes straight to the default printer. A printing
// failure is reported and leaves the stored document as it was: it can be printed again
// from the history.

#include "cash/role_page.h"

#include <QString>

namespace vartesa {

class AdminConstants;
class Services;
namespace report {
class Output;
}

/// The caption of the receipt messages.
inline const QString kReceiptPrintTitle = QStringLiteral("Listare chitanta");

/// Prints document `idchit` of `table` (a table with the Chitante.dbf layout: the payment's
/// working table, Chitante.dbf itself from the history). A document without "C" lines is
/// refused with "Chitanta nu contine nimic!". Database errors are thrown.
void PrintReceipt(Services& services, const AdminConstants& constants, qint64 idchit, const QString& table,
                  report::Output& output);
/// The same on the screen and the default printer, for a document stored in Chitante.dbf:
/// what the payment calls once the document is stored.
void PrintStoredReceipt(Services& services, const AdminConstants& constants, qint64 idchit);

/// PrintRolePage for one role: previewed (`preview`) or sent to the default printer.
void PrintRolePage(Services& services, const RolePageRole& role, bool preview, report::Output& output);

} // namespace vartesa
