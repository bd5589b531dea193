#pragma once
// The changes of ownership of the old year carried into the copied declaration pages: each
// purchase or sale of Debit.dbf ("Cumparare", "Vanzare") names a page (FISIER) and up to eight
// of its fields with their values (CAMP<i>, VAL<i>); a purchase adds the object to the page, a
// sale takes it away.
//
// A debit is first turned into assignments against the page table's actual fields
// (PlanPageChange), which refuses what cannot be applied safely: an unknown page or field, the
// role's key, a number that is none, a text too long for its field. Only then is one UPDATE
// with bound values run (ApplyPageChange). A refused or failed debit is logged and skipped.

#include "books/debits.h"
#include "db/dbf_format.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// How one field of the page changes.
enum class PageChangeKind {
    Add,            // numeric: the field + value (a sale adds the value negated)
    SetText,        // character: the text
    SetDate,        // date: the date
    SetWhenEmpty,   // year or material of a purchase: set only when the field is 0
    ClearWhenEqual, // year or material of a sale: 0 only when the field holds the value
};

struct PageAssignment {
    QString field;      // as the table spells it
    PageChangeKind kind = PageChangeKind::Add;
    QVariant value;     // double, QString or QDate
    /// "C1S=C1S+25.5", "C1Z='B'", for the log and the command line.
    QString text() const;
};

/// What one debit does to its page, or why it does nothing.
struct PageChange {
    QString table;                        // the page's file ("Pag2.dbf"); empty when refused before
    std::vector<PageAssignment> assignments;
    QString refusal;                      // empty when the change can be applied
    bool refused() const { return !refusal.isEmpty(); }
    /// The assignments joined by ", ".
    QString text() const;
};

/// The kinds of debit that move an object between roles.
bool IsOwnershipChange(const YearDebit& debit);

/// The layout of a page table by file name (tables::...); null when the folder lacks it.
using PageLayoutOf = std::function<const db::Layout*(const QString& file)>;

/// The assignments of one purchase or sale. Pairs with an empty value or "0" are skipped, and
/// the pair of INV1; a value starting with a digit reads its commas as points. Refused (with
/// the reason in Romanian): a FISIER that is no page table (PAG1, PAG2, PAG4 to PAG8), a field
/// the table lacks or IDGOS, a non-number for a numeric field, a text longer than its field,
/// a date not written dd.MM.yyyy, a field of another type. No assignment and no refusal:
/// nothing to do.
PageChange PlanPageChange(const YearDebit& debit, const PageLayoutOf& layoutOf);

/// Runs the change as one UPDATE of the role's row(s) in `folder`, values bound. Throws
/// vartesa::Error when the engine refuses it (a value too wide for its field); nothing changes then.
void ApplyPageChange(db::Database& db, const QString& folder, qint64 roleId, const PageChange& change);

/// One refused or failed change, as logged.
struct OwnershipRefusal {
    qint64 debitId = 0;   // IDDEB
    qint64 roleId = 0;    // IDGOS
    QString file;         // FISIER as stored
    QString assignments;  // PageChange::text(); empty when refused before any
    QString reason;
    /// The log line: "IDDEB=..; IDGOS=..; FISIER=..; <assignments>; <reason>".
    QString logLine() const;
};

} // namespace vartesa
