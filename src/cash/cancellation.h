#pragma once
// Cancelling a payment document ("Anuleaza chitanta"): its lines are copied into
// ChitAnul.dbf, marked "ANULAT" with zero amounts in Chitante.dbf, and the balances the
// payment lowered come back from the undo snapshots of its operation (IDANUL). All of it is
// one database transaction: a cancellation is applied whole or not at all.
//
// The snapshots hold the rows as they were just before the payment. Only what the payment
// wrote comes back from them: the remainders of SoldCalc.dbf (REST, REDUC, DATOR, DEPOZ,
// MAJOR), of Datorii.dbf (SUMA, REST) and of Debit.dbf (SUMAC). The amounts as established
// (SoldCalc SUMA, SCUTIRE, DATORI, DEPOZI, MAJORI; Datorii SUMA2, RESTINI; Debit SUMAINI)
// stay as they are now, and each restored remainder moves by the change of its established
// amount since the payment: a re-assessment or a debit change made after the payment keeps
// its new amount and only what was collected is given back.
//
// Operations are undone newest first: a document of a payment can be cancelled only while
// no later operation (higher IDANUL) of its role holds a valid document.

#include "cash/receipt_history.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace vartesa {

class Services;

/// One field a cancellation changed.
struct RestoredValue {
    QString field;
    qint64 before = 0; // as it stood before the cancellation
    qint64 after = 0;  // as restored
};

/// One balance row a cancellation changed.
struct RestoredRow {
    QString table;   // "SoldCalc.dbf", "Datorii.dbf", "Debit.dbf"
    qint64 id = 0;   // IDRES, IDDAT or IDDEB
    std::vector<RestoredValue> values; // only the fields whose value changed
};

/// What a cancellation did.
struct CancelResult {
    std::optional<HistoryRefusal> refusal; // set: nothing changed
    int lines = 0;                         // document lines copied and zeroed
    std::vector<RestoredRow> restored;     // balance rows changed
    QString unlogged; // set: the cancellation stands, but its action log line could not be written (why)
};

/// The warning when the action log refused the line of a committed cancellation.
QString UnloggedCancellationWarning(const QString& why);

/// The checks before the clerk is asked: the document exists and is not cancelled yet, the
/// year lock ("An inchis"), and a cashier cancels only own documents ("Anulare Chitanta").
/// `services` gives the data folder, the counters, the user and the grade.
std::optional<HistoryRefusal> CheckCancellation(Services& services, qint64 idchit);

/// After the clerk confirmed: the checks again, the newest-first rule ("Anulare", "Nu puteti
/// anula decat ultima chitanta!"), then the cancellation in one transaction, with the
/// progress window showing its two steps, and the action log entry once it is committed (a
/// log that cannot be written does not undo it: CancelResult::unlogged says why).
/// `beforeCommit`, when given, runs inside the transaction just before it commits (tests
/// inject failures there).
CancelResult CancelDocument(Services& services, qint64 idchit, const std::function<void()>& beforeCommit = {});

/// The action log text: "Anulat Chitanta " + series + " nr." + number + " / " + date + " - " + payer.
QString CancellationLogText(const ReceiptLine& line);

} // namespace vartesa
