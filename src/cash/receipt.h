#pragma once
// The printed receipt ("CHITANTA" / "PENTRU CREANTE ALE BUGETELOR LOCALE"): the receipt
// lines of one document read from a table with the Chitante.dbf layout, and the report that
// prints them twice on one page (report/report.h). Only lines of kind "C" are receipts;
// other kinds of document are never printed as receipts.

#include "books/receipts.h"
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

/// A receipt as printed: its "C" lines, one per distinct line text with the amounts of the
/// stored lines that share it added up, ordered by GRUPA. The header (series, number, date,
/// taxpayer, payer, cashier) is the first line's.
struct ReceiptDocument {
    std::vector<ReceiptLine> lines;
    /// The first line; an empty one when the document has none.
    const ReceiptLine& header() const;
    /// TIPF other than "F": the code is a fiscal code.
    bool legalPerson() const { return header().personType.toUpper() != QLatin1String("F"); }
};

/// The printed amounts of a line: CURENT + DEPOZIT, MAJOREST + MAJOR.
inline std::int64_t PrintedCurrent(const ReceiptLine& l) { return l.current + l.credit; }
inline std::int64_t PrintedPenalties(const ReceiptLine& l) { return l.carried + l.penalties; }

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
/// by GRUPA, then by the rest of the line's text. No lines: the document is not a receipt
/// ("Chitanta nu contine nimic!").
ReceiptDocument ReadReceipt(db::Database& db, const QString& table, qint64 idchit);

/// Two copies on one A4 page; the note on the seal when the locality holds "VELTORANI".
report::Report ReceiptReport(const ReceiptDocument& receipt, const TownHall& townHall);

} // namespace vartesa
