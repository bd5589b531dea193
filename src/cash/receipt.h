#pragma once
// The printed receipt ("CHITANTA" / "PENTRU CREANTE ALE BUGETELOR LOCALE"): the receipt
// lines of one document read from a table with the Chitante.dbf layout, and the report that
// prints them twice on one page (report/report.h). Only lines of kind "C" are receipts;
// other kinds of document are never printed as receipts.

#include "report/report.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace vartesa {

class AdminConstants;
namespace db {
class Database;
}

/// One printed line: a tax or fee with the amounts collected on it.
struct PrintedLine {
    QString group;              // GRUPA
    QString name;               // DENUM
    QString code;               // CODCLAS
    std::int64_t arrears = 0;   // RESTANTA
    std::int64_t current = 0;   // CURENT + DEPOZIT
    std::int64_t penalties = 0; // MAJOREST + MAJOR
    std::int64_t bonus = 0;     // REDUCERE
};

/// A receipt as printed: the header of its first line and every line.
struct ReceiptDocument {
    QString series;       // SERIA
    qint64 number = 0;    // NR
    QDate date;           // DATAI
    QString roleNumber;   // ROL
    QString taxpayer;     // NUMEP
    QString code;         // CNP: personal code or fiscal code
    QString address;      // ADRESA
    bool legalPerson = false; // TIPF other than "F"
    QString payer;        // PLATNUME
    QString cashier;      // INCANUME
    QString badge;        // LEGITIMA
    std::vector<PrintedLine> lines; // ordered by GRUPA
};

/// The town hall as the administrator set it: printed at the top of every receipt.
struct TownHall {
    QString county;     // JudetulLab
    QString name;       // PrimariaLab
    QString fiscalCode; // CUILab
    QString locality;   // LocalitateaLab
};
TownHall TownHallFrom(const AdminConstants& constants);

/// Rows a receipt has room for; further lines count only in the totals.
constexpr int kReceiptRows = 8;

/// The "C" lines of document `idchit` in `table` (a full path), summed per line and ordered
/// by GRUPA. No lines: the document is not a receipt ("Chitanta nu contine nimic!").
ReceiptDocument ReadReceipt(db::Database& db, const QString& table, qint64 idchit);

/// Two copies on one A4 page; the note on the seal when the locality holds "VELTORANI".
report::Report ReceiptReport(const ReceiptDocument& receipt, const TownHall& townHall);

} // namespace vartesa
