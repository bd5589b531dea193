#pragma once
// The file names of the data folder's tables: the one place that spells them. Names match
// without regard to case on disk ("Gospodar.dbf" and "GOSPODAR.dbf" are one file), so these
// spellings are those the program creates.

#include <QString>

namespace vartesa::tables {

// The register and its declaration pages.
inline const QString Roles = QStringLiteral("Gospodar.dbf");        // one row per role
inline const QString LandOutside = QStringLiteral("Pag1.dbf");      // extravilan land
inline const QString Buildings = QStringLiteral("Pag2.dbf");        // buildings and annexes
inline const QString LandInside = QStringLiteral("Pag4.dbf");       // intravilan land
inline const QString Vehicles = QStringLiteral("Pag5.dbf");         // vehicles, lorries, boats
inline const QString Unregistered = QStringLiteral("Pag6.dbf");     // unregistered vehicles
inline const QString OtherTaxes = QStringLiteral("Pag7.dbf");       // other taxes
inline const QString PriorArrears = QStringLiteral("Pag8.dbf");     // arrears of earlier records
inline const QString VehicleDetails = QStringLiteral("AutoDet.dbf"); // one row per vehicle
inline const QString Zones = QStringLiteral("DefZone.dbf");         // villages and their zones

// The books of money.
inline const QString Ledger = QStringLiteral("Datorii.dbf");         // what each role owes
inline const QString Balances = QStringLiteral("SoldCalc.dbf");      // the four local taxes
inline const QString Debits = QStringLiteral("Debit.dbf");           // debits raised in the year
inline const QString Receipts = QStringLiteral("Chitante.dbf");      // lines of stored documents
inline const QString YearReceipts = QStringLiteral("ChitAnul.dbf");  // lines of cancelled documents
inline const QString LedgerUndo = QStringLiteral("UndelDat.dbf");    // ledger lines before a payment
inline const QString BalancesUndo = QStringLiteral("UndelSold.dbf"); // balance rows before a payment
inline const QString DebitsUndo = QStringLiteral("UndelDebit.dbf");  // debits before a payment
inline const QString CashRegister = QStringLiteral("RegCasa.dbf");   // the day's register lines
inline const QString Confirmations = QStringLiteral("Confirm.dbf");  // debit receipt confirmations
inline const QString Summonses = QStringLiteral("Somatii.dbf");      // summonses
inline const QString SummonsLines = QStringLiteral("SomDet.dbf");    // their lines per claim
inline const QString BudgetCodes = QStringLiteral("CodCL.dbf");      // classification codes
inline const QString Settings = QStringLiteral("Ini.dbf");           // the constants of the office
inline const QString ActionLog = QStringLiteral("Log.dbf");          // who did what, in the data and the program folder

} // namespace vartesa::tables
