#pragma once
// The role clerk's side of the debits raised during the year (books/debits.h): the dialog's
// kinds of change and checks, and adding, changing and deleting a debit. The clerk types the
// amount; its sign comes from the kind of change. A change of the amount keeps what was
// collected (SUMAINI - SUMAC).

#include "books/debits.h"
#include "roles/debit_objects.h"

#include <QDate>
#include <QString>

#include <vector>

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

/// The kinds of change, in the order of the dialog's list.
enum class DebitKind { Purchase, Sale, Reduction, Increase, Fee };
/// "Cumparare", "Vanzare", "Reducere", "Majorare", "Taxa".
const QStringList& DebitKindTexts();
QString DebitKindText(DebitKind kind);
/// The kind a stored CATEG names; Purchase for an unknown text.
DebitKind DebitKindOf(const QString& text);
/// +1 for purchases, increases and fees; -1 for sales and reductions.
int DebitSign(DebitKind kind);
/// Purchases and sales describe a real object; the other kinds store its fields as 0.
bool DescribesRealObject(DebitKind kind);
/// Label by the kind: "BD" for purchases and increases, "BS" for the others.
QString DebitDocumentLabel(DebitKind kind);

/// What the debit dialog ("Impozite") holds.
struct DebitEntry {
    QDate from;             // "Din data de"
    QString tax;            // "Denumire impozit"
    DebitKind kind = DebitKind::Purchase;
    QString explanation;    // "Explicatii"
    qint64 docNumber = 0;   // "Numarul"
    qint64 amount = 0;      // "Valoare impozit": typed without sign
    DebitDetails details;   // the detail form of the tax
};

/// The dialog field a check points at.
enum class DebitField { None, Area, Year, Value, Capacity, Count, Amount };

struct DebitProblem {
    DebitField field = DebitField::None;
    QString hint;
    bool ok() const { return field == DebitField::None; }
};

/// The checks of "&Memoreaza", in order: tidies the explanation, sets the object fields to 0
/// for the kinds that describe no real object, checks the object of `form` and the amount.
/// `workingYear` bounds the building year. Vehicle capacity and count are checked only when
/// the category takes them.
DebitProblem TidyAndCheckDebit(DebitEntry& entry, DebitForm form, int workingYear);

/// The stored debit of an entry (id and role not set): signed amount, PENDATA, description.
YearDebit BuildYearDebit(const DebitEntry& entry, DebitForm form);
/// The dialog's values of a stored debit: the amount without sign, the form's fields decoded.
DebitEntry EntryFromYearDebit(const YearDebit& debit, DebitForm form);

/// Outcome of changing or deleting a debit.
enum class DebitChange { Done, HasOperation, Missing };

QString DebitChangeQuestion();   // "La acest debit s-a taiat chitanta/OP/N.C.! ..."
QString DebitHasOperationText(); // "La debitul selectat s-a operat o incasare! ..."

class YearDebits {
public:
    YearDebits(db::Database& db, const QString& dataFolder);
    void setDataFolder(const QString& folder) { folder_ = folder; }
    QString table(const QString& file) const { return folder_ + '/' + file; }

    /// The role's debits in the order of page 12: by tax, then date.
    std::vector<YearDebit> debitsOf(qint64 roleId);
    /// One debit; id 0 when there is none.
    YearDebit debit(qint64 id);

    /// Stores `debit` for its role with IDDEB drawn from the counters and SUMAC = SUMAINI.
    qint64 add(YearDebit debit, CountersFile& counters);
    /// Rewrites every field of debit `changed.id`. What was collected stays collected:
    /// SUMAC = new SUMAINI - (old SUMAINI - old SUMAC); the undo copies of earlier payments
    /// shift by the same difference, so cancelling one restores the changed amount. One
    /// transaction.
    DebitChange change(const YearDebit& changed);
    /// Deletes a debit of the role, refused while an operation is booked on it.
    DebitChange remove(qint64 roleId, qint64 id);

private:
    db::Database& db_;
    QString folder_;
};

} // namespace vartesa
