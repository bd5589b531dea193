#pragma once
// The numbers of a series of documents (a cashier's receipts, the payment orders without a
// debit). The cash desk answers for every number: a series has no gap and no repeat, whatever
// fails or is killed while a document is stored.
//
// The counters file holds the next number, but it is only advanced once the document is
// committed: a document that fails or dies before its commit leaves the number free, and
// the next one takes it. A document committed by a process that died before it raised the
// counter is found in Chitante.dbf: the number given out is the counter's, moved past every
// number of the series already stored. Drawing runs under the folder's write lock, inside the
// storing transaction, so two workstations never give out one number.

#include <QString>

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

/// Where a series keeps its next number and how its documents are stored.
struct NumberSeries {
    QString section; // counters section: the cashier's name, or "SERVER"
    QString key;     // counters key: "CHIT", "OP"
    QString series;  // SERIA of the stored documents (trimmed)
};

/// The number the counter of `series` holds ("1" when missing), without drawing it. Other
/// series (the summonses) draw from it the same way: read under the write lock, pass what is
/// stored already, KeepNumber after the commit. Throws vartesa::Error when it is not a whole
/// number.
qint64 ReadNumberCounter(const CountersFile& counters, const NumberSeries& series);

/// The next number of `series` not yet on a stored document of Chitante.dbf: the counter
/// ("1" when missing) or the first free number after it. Read without drawing (the number the
/// dialog shows); throws vartesa::Error when the counter is not a whole number.
qint64 NextFreeNumber(db::Database& db, const QString& dataFolder, const CountersFile& counters,
                      const NumberSeries& series);

/// Takes the folder's write lock for the transaction running on `db` (a statement that
/// changes no row of Chitante.dbf), so the number drawn next stays free until the commit.
void LockDocumentNumbers(db::Database& db, const QString& dataFolder);

/// After the document numbered `number` is committed: the counter moves past it (never back).
/// A failure here loses nothing: the next drawing finds the stored document.
void KeepNumber(CountersFile& counters, const NumberSeries& series, qint64 number);

} // namespace vartesa
