#pragma once
// The receipt lines. Chitante.dbf holds one line per tax name of every stored payment
// document (receipt "C", bank transfer "V", payment order "O", accounting note "N"), the
// collections without a debit among them; ChitAnul.dbf keeps the lines of cancelled
// documents as they were, in the same layout without IDANUL.
//
// The one place that knows their column names: one record for a line, the readers of the
// history, the account, the role page, the printed receipt, the lists and the assessment,
// and the writers the payment, the collections without a debit, the history and the
// cancellation run inside their transactions. Values are always bound, never spliced.

#include "db/database.h"

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vartesa {

/// IDGOS and IDANUL of a collection without a debit: it belongs to no role and no operation.
constexpr qint64 kNoDebit = -1;
/// PLATNUME of a cancelled document.
inline const QString kCancelledPayer = QStringLiteral("ANULAT");

/// The columns of a receipt line, in the order of the layout (ChitAnul.dbf lacks Operation).
struct ReceiptLineColumns {
    static inline const QString id = QStringLiteral("IDCHIT");
    static inline const QString role = QStringLiteral("IDGOS");
    static inline const QString operation = QStringLiteral("IDANUL");
    static inline const QString series = QStringLiteral("SERIA");
    static inline const QString number = QStringLiteral("NR");
    static inline const QString date = QStringLiteral("DATAI");
    static inline const QString village = QStringLiteral("SATUL");
    static inline const QString rol = QStringLiteral("ROL");
    static inline const QString group = QStringLiteral("GRUPA");
    static inline const QString name = QStringLiteral("DENUM");
    static inline const QString code = QStringLiteral("CODCLAS");
    static inline const QString taxpayer = QStringLiteral("NUMEP");
    static inline const QString cnp = QStringLiteral("CNP");
    static inline const QString address = QStringLiteral("ADRESA");
    static inline const QString personType = QStringLiteral("TIPF");
    static inline const QString payer = QStringLiteral("PLATNUME");
    static inline const QString cashier = QStringLiteral("INCANUME");
    static inline const QString badge = QStringLiteral("LEGITIMA");
    static inline const QString arrears = QStringLiteral("RESTANTA");
    static inline const QString carried = QStringLiteral("MAJOREST");
    static inline const QString credit = QStringLiteral("DEPOZIT");
    static inline const QString current = QStringLiteral("CURENT");
    static inline const QString penalties = QStringLiteral("MAJOR");
    static inline const QString reduction = QStringLiteral("REDUCERE");
    static inline const QString total = QStringLiteral("TOTAL");
    static inline const QString kind = QStringLiteral("TIP");
};

/// Every column of Chitante.dbf in layout order; without IDANUL, those of ChitAnul.dbf.
const QStringList& ReceiptColumns(bool withOperation = true);

/// One stored line of Chitante.dbf (or of ChitAnul.dbf, where IDANUL is absent). Texts are
/// read trimmed; empty numbers read 0, an empty IDGOS reads kNoDebit.
struct ReceiptLine {
    qint64 idchit = 0;          // IDCHIT: the document
    qint64 idgos = 0;           // IDGOS (-1 without a debit)
    qint64 idanul = 0;          // IDANUL: the payment operation (-1 without a debit)
    QString series;             // SERIA
    qint64 number = 0;          // NR
    QDate date;                 // DATAI
    QString village;            // SATUL
    QString rol;                // ROL
    QString group;              // GRUPA: the tax or fee name
    QString name;               // DENUM: the debit or fee line's name; empty for a local tax
    QString code;               // CODCLAS: the budget classification code
    QString taxpayer;           // NUMEP
    QString cnp;                // CNP: personal or fiscal code
    QString address;            // ADRESA
    QString personType;         // TIPF: "F" or "J"
    QString payer;              // PLATNUME (kCancelledPayer once cancelled)
    QString cashier;            // INCANUME
    QString badge;              // LEGITIMA
    std::int64_t arrears = 0;   // RESTANTA
    std::int64_t carried = 0;   // MAJOREST: penalties carried from earlier years
    std::int64_t credit = 0;    // DEPOZIT
    std::int64_t current = 0;   // CURENT
    std::int64_t penalties = 0; // MAJOR: penalties of this year
    std::int64_t reduction = 0; // REDUCERE
    std::int64_t total = 0;     // TOTAL
    QChar letter;               // TIP: the document's letter, ' ' when blank

    /// TIP as text: the letter, or empty when blank.
    QString kind() const { return letter.isNull() || letter == QLatin1Char(' ') ? QString() : QString(letter); }
    bool operator==(const ReceiptLine&) const = default;
};

/// The tables in a data folder.
QString ReceiptsTable(const QString& dataFolder);          // Chitante.dbf
QString CancelledReceiptsTable(const QString& dataFolder); // ChitAnul.dbf

/// Creates an empty table at `path` with the layout of Chitante.dbf.
void CreateReceiptsTable(db::Database& db, const QString& path);

// --- readers: `table` is Chitante.dbf, ChitAnul.dbf or a table of the same layout ------------

/// The lines of document `idchit`, in stored order.
std::vector<ReceiptLine> ReadDocumentLines(db::Database& db, const QString& table, qint64 idchit);
/// The lines of role `idgos` dated on or after `from` (every line when `from` is null), in
/// stored order. kNoDebit reads the collections without a debit (IDGOS -1 or empty).
std::vector<ReceiptLine> ReadRoleLines(db::Database& db, const QString& table, qint64 idgos, const QDate& from = {});
/// The taxes (GRUPA, trimmed) of role `idgos`'s lines dated on or after `from` that granted a
/// reduction: only these few are asked of the engine, not the role's year of lines.
QStringList ReducedGroups(db::Database& db, const QString& table, qint64 idgos, const QDate& from);
/// Every line of the table, in stored order (the cancelled documents are few).
std::vector<ReceiptLine> ReadAllLines(db::Database& db, const QString& table);
/// The first stored line of the document numbered `number` in series `series` (compared
/// without trailing blanks), if any: the duplicate check of a new receipt.
std::optional<ReceiptLine> FindNumberedDocument(db::Database& db, const QString& table, const QString& series,
                                                qint64 number);
/// Whether role `idgos` has a line of a later operation (IDANUL above `idanul`) on another
/// document than `idchit` that is not cancelled: its undo snapshots were taken after this one's.
bool LaterOperationStands(db::Database& db, const QString& table, qint64 idgos, qint64 idanul, qint64 idchit);

/// Hands the lines dated from `from` to `to` (both included; undated lines never) to `line`,
/// in stored order. Only `columns` and DATAI are read, straight from the file without loading
/// the table (Database::scan): a list over a year of lines pays for the fields it shows; the
/// other fields of the lines stay empty. Throws for a missing table or column.
void ScanReceiptLines(db::Database& db, const QString& table, const QStringList& columns, const QDate& from,
                      const QDate& to, const std::function<void(const ReceiptLine&)>& line);
/// Hands `columns` of every line to `row` as Database::scan gives them (an amount stored with
/// decimals stays a double), for a list that adds them up its own way.
void ScanReceiptColumns(db::Database& db, const QString& table, const QStringList& columns, const db::ScanRow& row);

// --- writers: run inside the operation's transaction ----------------------------------------

/// Appends `line` with every column to `table` (the Chitante.dbf layout). Texts longer than
/// their field are cut; an invalid date is written empty.
void InsertReceiptLine(db::Database& db, const QString& table, const ReceiptLine& line);
/// Gives every line of document `idchit` a new date, series (first 10 characters) and number.
void RenumberDocument(db::Database& db, const QString& table, qint64 idchit, const QDate& date, const QString& series,
                      qint64 number);
/// Deletes the lines of document `idchit` when it is cancelled; the number of lines deleted.
int DeleteCancelledLines(db::Database& db, const QString& table, qint64 idchit);
/// Copies the lines of document `idchit` from Chitante.dbf into ChitAnul.dbf as they are
/// stored (empty values stay empty); DENUM is not kept there and stays empty.
void CopyDocumentToCancelled(db::Database& db, const QString& dataFolder, qint64 idchit);
/// Marks document `idchit` cancelled: PLATNUME kCancelledPayer and every amount 0.
void MarkDocumentCancelled(db::Database& db, const QString& table, qint64 idchit);
/// Sets CODCLAS to `code` on the lines of tax `group` for person type `personType` ("F" or
/// "J"): a classification code changed in the nomenclature follows on the stored lines.
void SetLinesCode(db::Database& db, const QString& table, const QString& group, const QString& personType,
                  const QString& code);
/// Adds the in-memory index on NR that the duplicate check of a new receipt looks up by
/// (already added: nothing to do).
void IndexDocumentNumbers(db::Database& db, const QString& table);

} // namespace vartesa
