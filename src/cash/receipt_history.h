#pragma once
// The payment documents of one role, or of all collections without a debit, as the receipt
// history lists them: one row per document with its date and sum, the lines of the selected
// document, the payer and cashier filters, which buttons a clerk may use on a document, and
// the two changes made here besides the cancellation: a new date, series and number, and
// the deletion of a cancelled document.

#include "books/receipts.h"

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

/// First entry of the payer and cashier filters: every value.
inline const QString kAnyValue = QStringLiteral("* indiferent *");

/// One row of the documents list.
struct HistoryDocument {
    qint64 idchit = 0;
    qint64 idanul = 0;
    QString series;
    qint64 number = 0;
    QChar letter;      // TIP
    QString payer;     // "Platitor"
    QString cashier;   // "Casier"
    QDate date;        // the latest DATAI of its lines
    std::int64_t sum = 0; // "Suma": the sum of TOTAL
    bool cancelled() const { return payer.trimmed() == kCancelledPayer; }
};

/// The kind column: "Chitanta", "Nota contabila", "Ordin de plata", "Virament"; "???" otherwise.
QString DocumentKindName(QChar letter);

/// The lines in the scope of a history, read once and kept in memory (the history's
/// working table).
class ReceiptHistory {
public:
    /// `role`: the IDGOS of a role, or kNoDebit for the collections without a debit.
    ReceiptHistory(db::Database& db, const QString& dataFolder, qint64 role);

    /// Reads the lines in scope again.
    void load();
    qint64 role() const { return role_; }
    /// The filter lists: kAnyValue, then the distinct payers (cashiers) of the lines.
    QStringList payers() const;
    QStringList cashiers() const;
    /// The documents of the lines whose payer and cashier pass the filters (kAnyValue lets
    /// every value through), dated on or after 26.09.1902, ordered by date, then IDCHIT.
    std::vector<HistoryDocument> documents(const QString& payer = kAnyValue, const QString& cashier = kAnyValue) const;
    /// The lines of one document, in the order they were stored.
    std::vector<ReceiptLine> lines(qint64 idchit) const;

private:
    db::Database& db_;
    QString table_;                   // Chitante.dbf
    qint64 role_;
    std::vector<ReceiptLine> lines_;  // in scope, in stored order
};

/// What the history's buttons allow for the selected document (none: the list is empty).
struct HistoryButtons {
    bool modify = false;        // "Modifica chitanta"
    bool cancel = false;        // "Anuleaza chitanta"
    bool print = false;         // "Listeaza chitanta"
    bool deleteVisible = false; // "Sterge chitanta"
};
HistoryButtons HistoryButtonStates(const HistoryDocument* selected, bool changesAllowed, bool administrator);

/// A refusal shown with ShowErrors: the title and the text.
struct HistoryRefusal {
    QString title;
    QString message;
    bool operator==(const HistoryRefusal&) const = default;
};

/// The year lock refuses every change of the history ("An inchis").
std::optional<HistoryRefusal> YearLockRefusal(const CountersFile& counters);

/// "Numar incorect!": the hint for a document number that is not above 0.
inline const QString kWrongNumber = QStringLiteral("Numar incorect!");

/// The refusal of a document dated outside the working year (documents of other years
/// belong to their own release's data folder), or nothing.
std::optional<QString> DocumentDateRefusal(const QDate& date);

/// "Modifica": every line of the document gets the new date, series and number. A number
/// below 1 is refused with kWrongNumber, a date outside the working year with
/// DocumentDateRefusal, and nothing is written. The amounts stay.
std::optional<QString> ModifyDocument(db::Database& db, const QString& dataFolder, qint64 idchit, const QDate& date,
                                      const QString& series, qint64 number);

/// "Sterge chitanta": deletes the lines of a cancelled document; a document that is not
/// cancelled keeps its lines. The number of lines deleted.
int DeleteCancelledDocument(db::Database& db, const QString& dataFolder, qint64 idchit);

} // namespace vartesa
