#pragma once
// Collections without a debit ("Operatiuni fara debit"): money taken ("INCASARE", a
// receipt, letter C) or paid out ("PLATA", a payment order, letter O) with no debt line
// behind it. The document is built line by line, each line naming a claim of CODCL.dbf, and
// stored in Chitante.dbf as belonging to no role and no operation (IDGOS and IDANUL -1).
//
// A receipt is numbered from the cashier's own sequence (section of the user, key "CHIT"), a
// payment order from the shared one ("SERVER"/"OP"). The number is drawn only when the
// document is stored: a document abandoned before leaves both counters as they were.

#include "books/receipts.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

/// "Tipul operatiunii".
enum class NoDebitType { Collection /* "INCASARE" */, Payment /* "PLATA" */ };

/// The series and number shown for a type, read without drawing.
struct NoDebitNumbering {
    QString series; // the cashier's "SERIA" for a receipt; empty for a payment order
    qint64 number = 1;
};
NoDebitNumbering ReadNoDebitNumbering(const CountersFile& counters, const QString& user, NoDebitType type);

/// One line of the document: the receipt line it stores, with its number on the screen.
/// Only GRUPA ("Contul"), DENUM ("Detalii", trimmed) and CURENT = TOTAL ("SUMA") are set
/// while the document is built; storing fills in the rest.
struct NoDebitLine {
    int nrcrt = 0;    // NRCRT: 1, 2, ... in the order of adding
    ReceiptLine line; // group, name, current and total
    const QString& account() const { return line.group; }
    const QString& details() const { return line.name; }
    std::int64_t amount() const { return line.total; }
};

/// The control a refusal points at.
enum class NoDebitField { Amount, Account, Type, Grid, Holder, Code, Address, Payer };

/// A refusal shown as a hint next to its control.
struct NoDebitProblem {
    NoDebitField field;
    QString message;
    bool operator==(const NoDebitProblem&) const = default;
};

/// Who the document is for ("Titular", "C.N.P. / C.F.", "Adresa") and who pays ("Platitor").
struct NoDebitPayer {
    QString holder;
    QString code;
    QString address;
    QString payer;
    bool physical = true; // "Tip persoana": "Fizica" (true) or "Juridica"
};

/// The document being built on the screen.
class NoDebitDocument {
public:
    NoDebitType type() const { return type_; }
    /// Switching the type while lines exist is refused, so one document never mixes receipt
    /// and payment-order lines.
    std::optional<NoDebitProblem> setType(NoDebitType type);
    /// "&Adauga pe chitanta": a sum above 0 and an account; the new line's number.
    std::optional<NoDebitProblem> addLine(const QString& account, const QString& details, std::int64_t amount);
    /// "&Sterge de pe chitanta": removes the line with that number.
    void removeLine(int nrcrt);
    const std::vector<NoDebitLine>& lines() const { return lines_; }
    /// "TOTAL": the sum of the lines.
    std::int64_t total() const;

private:
    NoDebitType type_ = NoDebitType::Collection;
    std::vector<NoDebitLine> lines_;
    int counter_ = 0; // last line number given
};

/// The claims offered in "Contul": the GRUPA values of CODCL.dbf that are not local taxes
/// (TIP other than "I"), ordered.
QStringList NoDebitAccounts(db::Database& db, const QString& dataFolder);

/// The checks of "&Opereaza", in order: a line, the holder, the code (empty or a valid
/// personal numeric code), the address, the payer (texts through CollapseSpaces).
std::optional<NoDebitProblem> CheckNoDebitDocument(const NoDebitDocument& document, const NoDebitPayer& payer);

/// What storing gives back.
struct StoredNoDebit {
    qint64 idchit = 0;
    QString series;
    qint64 number = 0; // drawn for this document
};

/// Draws IDCHIT, then in one transaction the first free number of the series (the cashier's
/// "CHIT" or "SERVER"/"OP", receipt_numbers.h) and writes every line into Chitante.dbf:
/// IDGOS, IDANUL -1, the drawn series and number on every line, the code of each claim for the person type (empty when the claim is not
/// in CODCL.dbf), CURENT = TOTAL = the line's sum. `cashier` and `badge` are the logged-in
/// user's. A failure writes no line and leaves the number free (IDCHIT stays used).
/// `beforeCommit` runs inside the transaction just before it commits (tests inject failures
/// there).
StoredNoDebit StoreNoDebitDocument(db::Database& db, const QString& dataFolder, CountersFile& counters,
                                   const NoDebitDocument& document, const QDate& date, const NoDebitPayer& payer,
                                   const QString& cashier, const QString& badge,
                                   const std::function<void()>& beforeCommit = {});

} // namespace vartesa
