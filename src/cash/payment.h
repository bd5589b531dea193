#pragma once
// The payment operation: the amounts the cashier typed on the account grids become one
// document (a receipt, a bank transfer, a payment order or an accounting note) with one line
// per tax name, new balances of the role's rows and the undo snapshots that let the document
// be cancelled later.
//
// AllocatePayment is pure computation over the grids; CheckPaymentDocument holds the checks
// the confirmation dialog runs before storing; StorePayment writes everything in one
// database transaction, so a payment is either stored whole or not at all.

#include "cash/account.h"
#include "cash/receipt_numbers.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

/// The kinds of payment document, by their letter in Chitante.dbf (TIP).
enum class DocumentKind : char {
    Receipt = 'C',        // "CHITANTA": every typed amount positive
    Transfer = 'V',       // "VIRAMENT": a receipt paid by bank transfer, chosen in the dialog
    PaymentOrder = 'O',   // "Ordin de plata": every typed amount negative
    AccountingNote = 'N', // "Nota contabila": amounts of both signs that cancel
};

/// One line of a payment: an allocation line ("ChitTmp") or a document line ("FCHIT").
struct PaymentLine {
    QString group;             // GRUPA: the tax or fee name (first 60 characters)
    QString document;          // DOCJUS: "CHITANTA", "NC", "OP" (allocation); "CHITANTA", "N.C.", "O.P." (document)
    QString series;            // SERIA
    qint64 number = 0;         // NR
    QString name;              // DENUM: empty for a local tax; the debit or fee line's DOCJUS
    QString code;              // CODCLAS: the budget classification code of the group
    std::int64_t arrears = 0;   // RESTANTA
    std::int64_t carried = 0;   // MAJOREST: penalties carried from earlier years
    std::int64_t credit = 0;    // DEPOZIT: put on (positive) or taken from (negative) the credit
    std::int64_t current = 0;   // CURENT
    std::int64_t penalties = 0; // MAJOR: penalties of this year
    std::int64_t reduction = 0; // REDUCERE
    QChar letter;               // TIP: the document letter of the line

    /// TOTAL: the parts less the reduction.
    std::int64_t total() const { return arrears + carried + credit + current + penalties - reduction; }
    bool operator==(const PaymentLine&) const = default;
};

/// "FinalTmp": the new balance of one SoldCalc.dbf row of the role.
struct TaxBalance {
    qint64 id = 0;              // IDRES
    std::int64_t amount = 0;    // SUMA
    std::int64_t rest = 0;      // REST
    std::int64_t reduction = 0; // REDUC
    std::int64_t arrears = 0;   // DATOR
    std::int64_t credit = 0;    // DEPOZ
    std::int64_t carried = 0;   // MAJOR
    bool operator==(const TaxBalance&) const = default;
};

/// "FTaxe": the new amounts of one Datorii.dbf line that received an amount.
struct ClaimBalance {
    qint64 id = 0;           // IDDAT
    std::int64_t amount = 0; // SUMA
    std::int64_t rest = 0;   // REST
    bool operator==(const ClaimBalance&) const = default;
};

/// "FDebit": the new remainder of one Debit.dbf row that received an amount.
struct DebitBalance {
    qint64 id = 0;         // IDDEB
    std::int64_t open = 0; // SUMAC (negative after an overpayment)
    bool operator==(const DebitBalance&) const = default;
};

/// What the allocation made of the typed amounts.
struct PaymentAllocation {
    /// Empty when the amounts make a document; otherwise the refusal of step 2
    /// ("Nu aveti nimic operat!", "Nota contabila nu se inchide cu 0!"), titled "Operare".
    QString refusal;
    DocumentKind kind = DocumentKind::Receipt;
    std::vector<PaymentLine> allocation;  // "ChitTmp", in the order written
    std::vector<PaymentLine> lines;       // "FCHIT": one per (GRUPA, DENUM, TIP), ordered by DENUM, GRUPA
    std::vector<TaxBalance> taxes;        // "FinalTmp": every local-tax row of the role
    std::vector<ClaimBalance> claims;     // "FTaxe"
    std::vector<DebitBalance> debits;     // "FDebit"
    std::int64_t total = 0;               // the sum of the typed amounts ("Valoare chitanta")
};

/// The allocation of the amounts entered on `grids` as of `date`. `noPenalty` is the
/// operation's flag (FARAMAJORARI on and NOTAX "DA"): no new penalties are computed, and the
/// carried penalties are neither paid nor lowered, so that the receipt, which writes no
/// penalties for such a role, the balance and the typed amount agree.
/// Document lines get no series, number or code here (FillDocumentLines does that).
/// The instalment dates are those of `grids.year` (the date's year when 0); an accounting
/// note grants `grids.earlyReduction` percent on a paid tax while a debit of the year is paid.
PaymentAllocation AllocatePayment(const AccountGrids& grids, const QDate& date, bool noPenalty);

/// The message when the amounts made no document line ("FCHIT" is empty), titled "Operare".
inline const QString kNothingToStore = QStringLiteral("Nu ati facut nici o operatiune!\rNu aveti ce opera...");

/// The stored amount fields hold 6 characters (-99999 to 999999). The refusal for the first
/// part of `lines` that does not fit, or nothing when all fit.
std::optional<QString> OversizedPart(const std::vector<PaymentLine>& lines);

/// The split editor's "&Memoreaza" on the six parts of `split` for a line of `total` lei:
/// the refusal (titled "Detalii / Modificari") when the parts, less the reduction, do not
/// make the total, or when a part does not fit the stored fields; nothing when accepted.
std::optional<QString> SplitRefusal(const PaymentLine& split, std::int64_t total);

/// Step 6 of the document lines: the letter C gives "CHITANTA" with `series` and `number`,
/// N gives "N.C." and O "O.P." with no series and number 0; CODCLAS is the group's code in
/// CODCL.dbf for the person type (CODCLF for a physical person, CODCLJ otherwise), empty
/// when the group is missing there.
void FillDocumentLines(db::Database& db, const QString& dataFolder, std::vector<PaymentLine>& lines,
                       bool physicalPerson, const QString& series, qint64 number);

/// Who collects: the logged-in user, with the badge and the counters section of the series.
struct Cashier {
    QString name;  // INCANUME (at most 32 characters); also the counters section
    QString badge; // LEGITIMA ("Legitimatia")
};

/// The cashier's series and the next receipt number, read without drawing ("1" when the
/// number is missing): the counter moved past the numbers of the series already stored.
struct ReceiptNumbering {
    QString series;
    qint64 next = 1;
};
ReceiptNumbering ReadReceiptNumbering(db::Database& db, const QString& dataFolder, const CountersFile& counters,
                                      const QString& cashier);

/// The cashier's receipt series: section the cashier, key "CHIT", the series "SERIA".
NumberSeries ReceiptSeries(const CountersFile& counters, const QString& cashier);

/// What the confirmation dialog ("Operare") holds when the cashier confirms.
struct PaymentDocument {
    DocumentKind kind = DocumentKind::Receipt; // Transfer when "VIRAMENT" was chosen
    QDate date;           // "din data"
    QString payer;        // "Cine plateste"
    qint64 number = 0;    // "Nr.": the number shown (receipt) or typed (other kinds)
    QString series;       // "Seria" of a receipt
    qint64 idgos = 0;     // the role paid
    QString cashier;      // who collects (the counters section of the series)
};

/// A refusal of the dialog's checks: the message, and how it is shown.
struct PaymentProblem {
    enum class Where { Errors, Hint, GridHint } where = Where::Errors; // ShowErrors / hint / hint on the grid
    QString title;   // the ShowErrors title ("Memorare chitanta", "Verificare de dubluri")
    QString message;
};

/// The refusal of a payer's name holding `character`, which the tables cannot hold.
inline QString PayerCharacterRefusal(const QString& character) {
    return QStringLiteral("Platitorul contine caracterul \"%1\", care nu se poate memora!").arg(character);
}

/// The checks of "&OPEREAZA" in the dialog, in their order: the closed year, a date in the
/// working year, the number, the payer (passed through CollapseSpaces; every character one
/// the tables hold), a classification code on every line, and for
/// a receipt a stored receipt with the same series and number. A receipt the same cashier
/// stored meanwhile for another role (from another workstation) is no duplicate: it took
/// the number shown, and this one gets the next free number when it is stored. The first
/// refusal, or nothing when the document may be stored.
std::optional<PaymentProblem> CheckPaymentDocument(db::Database& db, const QString& dataFolder,
                                                   const CountersFile& counters,
                                                   const std::vector<PaymentLine>& lines,
                                                   const PaymentDocument& document);

/// What storing gives back.
struct StoredPayment {
    QString refusal;    // non-empty: nothing was stored (the balances changed meanwhile)
    qint64 idchit = 0;  // IDCHIT of the document
    qint64 idanul = 0;  // IDANUL of the operation
    qint64 number = 0;  // NR written on the document (the drawn receipt number for C)
    QString series;     // SERIA written
};

/// The message when another workstation changed the role's balances since the allocation.
inline const QString kPaymentSituationChanged =
    QStringLiteral("Situatia s-a modificat intre timp. Recalculati si operati din nou!");

/// Stores the document in one transaction: under the folder's write lock checks that the
/// role's balance rows still hold what the grids showed (else refuses with
/// kPaymentSituationChanged, drawing nothing), draws IDANUL, IDCHIT and (kind C only) the
/// cashier's next free receipt number (receipt_numbers.h), writes the undo snapshots
/// (UndelSold.dbf, UndelDat.dbf, UndelDebit.dbf), the new balances and the Chitante.dbf
/// lines, and once committed moves the cashier's counter past the number. Any failure leaves
/// every table as it was, and the receipt number free (the identifiers drawn stay used).
/// `beforeCommit`, when given, runs inside the transaction just before it commits (tests
/// inject failures there).
StoredPayment StorePayment(db::Database& db, const QString& dataFolder, CountersFile& counters,
                           const AccountRole& role, const AccountGrids& grids, const PaymentAllocation& allocation,
                           const PaymentDocument& document, const Cashier& cashier,
                           const std::function<void()>& beforeCommit = {});

/// The action log text after storing: "Operat Chitanta nr.<n>", or the letter for other kinds.
QString PaymentLogText(DocumentKind kind, qint64 number);

} // namespace vartesa
