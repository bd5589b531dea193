#pragma once
// "Chitante anulate": the cancelled documents kept in ChitAnul.dbf, one row per document,
// with their lines, and the rows of the report "CENTRALIZATOR CHITANTE ANULATE" that the
// report engine previews and prints.

#include "cash/receipt_history.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {

/// One cancelled document (a row of the screen's working table).
struct CancelledDocument {
    qint64 idchit = 0;      // IDCHIT
    QString rol;            // ROL
    QString village;        // SATUL: "Localitatea"
    QString document;       // DOCJUS: "Chit." / "N.C." / "O.P." / the letter, + series " nr." number " / " date
    std::int64_t sum = 0;   // SUMA: the sum of TOTAL
    QString taxpayer;       // NUMEP: "Titular"
    QString cashier;        // INCANUME: "Casier"
    QDate date;             // DATAI
};

/// The columns of the list, in order.
enum class CancelledColumn { Document, Village, Rol, Sum, Taxpayer, Cashier };

/// Every cancelled document, ordered by date and IDCHIT.
std::vector<CancelledDocument> ReadCancelledDocuments(db::Database& db, const QString& dataFolder);
/// The cancelled lines of one document, as they were before the cancellation.
std::vector<ReceiptLine> CancelledLines(db::Database& db, const QString& dataFolder, qint64 idchit);
/// Orders the list by one column (a click on its title); equal rows keep their order.
void SortCancelled(std::vector<CancelledDocument>& documents, CancelledColumn column);

/// A report over rows: what the report engine needs to preview and print it.
struct ReportRows {
    QString title;               // "CENTRALIZATOR CHITANTE ANULATE"
    QString heading;             // "Primaria " + the town hall's name
    QStringList columns;         // captions, in order
    std::vector<QStringList> rows;
};
/// The cancelled-receipts report of `documents` in their order: "Nr. crt.", "Document
/// justificativ", "Operator", "Titular", "Suma", "ROL", "Localitatea".
ReportRows CancelledReceiptsReport(const std::vector<CancelledDocument>& documents, const QString& townHall);

} // namespace vartesa
