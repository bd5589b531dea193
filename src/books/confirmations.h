#pragma once
// The register of debit receipt confirmations, Confirm.dbf: one row per confirmation the
// town hall sends back to an entity that passed it a debt to collect. Rows are added and the
// last one deleted, never changed. The writers run one statement each and bind every value.

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// One row of Confirm.dbf.
struct ConfirmationRecord {
    qint64 id = 0;             // IDCONF
    qint64 roleId = 0;         // IDGOS
    qint64 number = 0;         // NRCONF
    QDate date;                // DATACONF
    qint64 listNumber = 0;     // BORDNR: the sender's debit list
    QDate listDate;            // BORDATA
    QString rol;               // ROL
    QString code;              // CODCL: budget classification code
    QString senderName;        // NUMEDEST
    QString senderAddress;     // ADRDEST
    QString senderLocality;    // LOCDEST
    qint64 addressNumber = 0;  // ADRNR: the sender's covering address
    QDate addressDate;         // ADRDATA
    std::int64_t amount = 0;   // SUMA, lei
    QString nature;            // NATCL: the claim's name
    QString name;              // NUMEP: the debtor
    QString address;           // ADRESA
    QString village;           // SATUL
};

/// The field widths of the texts (as the table is created).
struct ConfirmationWidths {
    static constexpr int rol = 9, code = 24, senderName = 40, senderAddress = 40, senderLocality = 32, nature = 60,
                         name = 40, address = 80, village = 32;
    static constexpr std::int64_t amount = 999999; // SUMA N(6)
};

/// The register's rows ordered by DATACONF, NRCONF (then IDCONF); with `rol` not blank only
/// that ROL, with `name` not blank only the names starting with it (any case).
std::vector<ConfirmationRecord> ReadConfirmations(db::Database& db, const QString& dataFolder, const QString& rol = {},
                                                  const QString& name = {});
/// Confirmation `id`; id 0 when it is not stored.
ConfirmationRecord ReadConfirmation(db::Database& db, const QString& dataFolder, qint64 id);
/// Writes the row `r`, texts cut to their widths. Throws vartesa::Error.
void InsertConfirmation(db::Database& db, const QString& dataFolder, const ConfirmationRecord& r);
/// Deletes confirmation `id`.
void DeleteConfirmation(db::Database& db, const QString& dataFolder, qint64 id);

} // namespace vartesa
