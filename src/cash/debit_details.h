#pragma once
// "Detalii debite": what one role's debits are made of. Every ledger line with an amount
// established, with its quantity and unit; the debits raised during the year; and, per
// local tax, the arrears less credit carried in at the start of the year ("*** Lista
// Ramasite").

#include "db/currency.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// One row of the details, with the columns of the working table "Detalii".
struct DebitDetail {
    QDate from;                  // DINDATA "Din data"
    QString group;               // GRUPA "Grupa"
    QString name;                // DENUM "Denumirea"
    QString document;            // DOCJUS "Explicatii"
    qint64 number = 0;           // NR "Nr."
    std::int64_t current = 0;    // SUMA2 "Curent"
    std::int64_t arrears = 0;    // RESTINI "Ramas."
    Currency quantity;           // CANT "Cant."
    QString unit;                // UM "U.M."
};

/// The name the details give the carried arrears of a local tax.
inline const QString kCarriedArrearsName = QStringLiteral("*** Lista Ramasite");

/// The details of role `idgos`, ordered by group, name and date; the carried arrears are
/// dated 1 January of `year`.
std::vector<DebitDetail> BuildDebitDetails(db::Database& db, const QString& dataFolder, qint64 idgos, int year);

} // namespace vartesa
