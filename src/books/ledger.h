#pragma once
// The debts ledger, Datorii.dbf: what each role owes for the working year, one line per tax,
// fee or fine. The assessment writes the lines of type "A"; clerks enter lines of type "M" by
// hand. Payments lower SUMA and REST only, so the difference to the amounts as established
// (SUMA2, RESTINI) is what was collected.
//
// The writers run one statement each and take part in the caller's transaction (a payment, a
// cancellation, a role's assessment or deletion); they throw vartesa::Error and a statement
// that fails changes nothing.

#include "db/currency.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>
#include <vector>

namespace vartesa {

class StoredFields;
namespace db {
class Database;
class Query;
}

/// The columns of Datorii.dbf.
struct LedgerColumns {
    static inline const QString id = QStringLiteral("IDDAT");
    static inline const QString role = QStringLiteral("IDGOS");
    static inline const QString from = QStringLiteral("DINDATA");
    static inline const QString village = QStringLiteral("SATUL");
    static inline const QString number = QStringLiteral("ROL");
    static inline const QString group = QStringLiteral("GRUPA");
    static inline const QString name = QStringLiteral("DENUM");
    static inline const QString explanation = QStringLiteral("DOCJUS");
    static inline const QString docNumber = QStringLiteral("NR");
    static inline const QString current = QStringLiteral("SUMA");
    static inline const QString arrears = QStringLiteral("REST");
    static inline const QString reduction = QStringLiteral("REDUC");
    static inline const QString unit = QStringLiteral("UM");
    static inline const QString quantity = QStringLiteral("CANT");
    static inline const QString reductionPercent = QStringLiteral("REDUCP");
    static inline const QString exempt = QStringLiteral("SCUTIT");
    static inline const QString type = QStringLiteral("TIP");
    static inline const QString established = QStringLiteral("SUMA2");
    static inline const QString arrearsEstablished = QStringLiteral("RESTINI");
};

/// TIP of the lines the assessment writes, and of those entered by hand.
inline const QString kAssessedLine = QStringLiteral("A");
inline const QString kManualLine = QStringLiteral("M");

/// One row of Datorii.dbf. Texts are as stored (trailing blanks dropped); a view that compares
/// them trimmed trims them itself.
struct LedgerLine {
    qint64 record = 0;             // record number in the file (not a field); 0 for a line not stored
    qint64 id = 0;                 // IDDAT
    qint64 roleId = 0;             // IDGOS
    QDate from;                    // DINDATA: due from this day
    QString village;               // SATUL, copy of the role's
    QString number;                // ROL, copy of the role's
    QString group;                 // GRUPA: tax group or claim name
    QString name;                  // DENUM: line name (= GRUPA for manual lines)
    QString explanation;           // DOCJUS ("Explicatii")
    qint64 docNumber = 0;          // NR of the justifying document
    qint64 current = 0;            // SUMA: this year's amount still to pay
    qint64 arrears = 0;            // REST: arrears still to pay
    qint64 reduction = 0;          // REDUC: granted for paying the whole year in advance
    QString unit;                  // UM
    Currency quantity;             // CANT, N(15,4): ten integer digits and four decimals
    qint64 reductionPercent = 0;   // REDUCP
    qint64 exempt = 0;             // SCUTIT
    QString type;                  // TIP: "A" assessed, "M" by hand
    qint64 established = 0;        // SUMA2: this year's amount as established
    qint64 arrearsEstablished = 0; // RESTINI: arrears as established

    /// A payment (or note, or order) was booked on the line.
    bool hasReceipt() const { return current != established || arrears != arrearsEstablished; }
    qint64 collectedCurrent() const { return established - current; }
    qint64 collectedArrears() const { return arrearsEstablished - arrears; }
};

/// Every column of Datorii.dbf, in the order of the file the program creates.
const QStringList& LedgerColumnNames();
/// The values of `line` in the order of LedgerColumnNames().
QVariantList LedgerLineValues(const LedgerLine& line);
/// The line in stored fields (the record number is the caller's).
LedgerLine LedgerLineFrom(const StoredFields& fields);

/// How the lines of a role come.
enum class LedgerOrder {
    Stored,  // in record order
    ByClaim, // by GRUPA, DINDATA and IDDAT
};

/// Every line of role `roleId`, with its record number.
std::vector<LedgerLine> ReadLedgerLines(db::Database& db, const QString& dataFolder, qint64 roleId,
                                        LedgerOrder order = LedgerOrder::Stored);
/// The role's lines with something left to pay (SUMA + REST - REDUC not 0, an empty amount
/// counting 0), in record order: the account asks the engine for these alone.
std::vector<LedgerLine> ReadOpenLedgerLines(db::Database& db, const QString& dataFolder, qint64 roleId);
/// The lines numbered IDDAT `id`, in record order: one, or none when it is gone (two only in a
/// damaged table).
std::vector<LedgerLine> ReadLedgerLinesWithId(db::Database& db, const QString& dataFolder, qint64 id);
/// Hands every line of the table to `line` in record order, reading the file a slice at a time
/// (record numbers are not kept). `line` runs no statement on `db`.
void ScanLedger(db::Database& db, const QString& dataFolder, const std::function<void(const LedgerLine&)>& line);
/// Every column of the role's lines exactly as the file holds them (an empty number stays
/// empty), by claim: for the command line's dump of the table.
db::Query LedgerRowsAsStored(db::Database& db, const QString& dataFolder, qint64 roleId);

/// Adds `line` with every field as given (its IDDAT drawn by the caller).
void InsertLedgerLine(db::Database& db, const QString& dataFolder, const LedgerLine& line);
/// Rewrites a line entered by hand (`line.id`): date, claim, document and amounts as given,
/// the established amounts moved by `currentShift` and `arrearsShift` from what is stored.
void RewriteManualLine(db::Database& db, const QString& dataFolder, const LedgerLine& line, qint64 currentShift,
                       qint64 arrearsShift);
/// Rewrites the stored line `line.record` with what the assessment computes: village, date,
/// amounts, unit, quantity, percent and exemption.
void UpdateAssessedLine(db::Database& db, const QString& dataFolder, const LedgerLine& line);
/// Sets what is still to pay (SUMA, REST) on line `id` of role `roleId`: a payment lowers them,
/// a cancellation gives them back.
void SetLedgerRemainders(db::Database& db, const QString& dataFolder, qint64 roleId, qint64 id, qint64 current,
                         qint64 arrears);
/// Copies the role's village and number into its lines.
void SetLedgerRoleNames(db::Database& db, const QString& dataFolder, qint64 roleId, const QString& village,
                        const QString& number);
/// Deletes the line stored at record number `record`.
void DeleteLedgerRecord(db::Database& db, const QString& dataFolder, qint64 record);
/// Deletes line `id` of role `roleId`.
void DeleteLedgerLine(db::Database& db, const QString& dataFolder, qint64 roleId, qint64 id);
/// Deletes every line of role `roleId`; returns how many there were.
int DeleteLedgerLinesOfRole(db::Database& db, const QString& dataFolder, qint64 roleId);

} // namespace vartesa
