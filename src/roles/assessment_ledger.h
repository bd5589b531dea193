#pragma once
// The debt lines of one role while it is being assessed: read once, changed in memory by
// the line writer of each tax, then written back with as few statements as the changes
// need (a line nothing changed on is not written at all).

#include "books/ledger.h"
#include "books/roles.h"
#include "db/currency.h"
#include "db/error.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

/// The one conversion of a fractional amount to the whole lei of the ledger's fields:
/// half away from zero (2.5 gives 3, -2.5 gives -3). Vehicle and other-tax lines, whose
/// rates carry decimals, and every reduction and percentage pass through it when written.
std::int64_t WholeLei(Currency amount);

/// Identifiers drawn from a counter of Vartesa.set ("SERVER" section) in blocks: a run over
/// a whole commune rewrites the counters file once per block instead of once per line.
class IdSource {
public:
    /// `block` is the least drawn at a time (0: exactly what is asked for).
    IdSource(CountersFile& counters, QString key, int block = 0);
    /// Makes sure `count` identifiers are at hand, drawing when there are fewer.
    void reserve(int count);
    /// The next identifier; draws one block when none is at hand.
    qint64 next();

private:
    CountersFile& counters_;
    QString key_;     // IDDAT or IDRES
    int block_;       // least drawn at a time
    qint64 next_ = 0; // next identifier at hand
    qint64 left_ = 0; // identifiers at hand
};

/// What a line gets for paying the whole year in advance.
struct Reduction {
    Currency percent;          // REDUCP before it is made whole
    bool granted = false;      // REDUC = percent x tax / 100
    bool percentShown = false; // REDUCP carries the percent even though REDUC is 0

    static Reduction none() { return {}; }
    static Reduction of(Currency percent) { return {percent, true, true}; }
    static Reduction percentOnly(Currency percent) { return {percent, false, true}; }
};

/// Sums of one tax group over the role's lines of every type.
struct LedgerTotals {
    qint64 amount = 0;    // SUMA
    qint64 reduction = 0; // REDUC
    qint64 exempted = 0;  // SCUTIT
    int lines = 0;        // how many lines the group has
};

/// A role whose amounts cannot be stored in the ledger's fields (a tax wider than SUMA): the
/// role is refused and written nowhere; a run over many roles goes on with the others.
class RoleNotStorable : public Error {
public:
    RoleNotStorable(const QString& text, const QString& where, const QString& reason)
        : Error(text, where), reason(reason) {}
    QString reason; // the engine's words: the value, the field and the table
};

class RoleLedger {
public:
    /// `yearStart` is 1 January of the working year, the DINDATA of every assessed line.
    RoleLedger(const Role& role, const QDate& yearStart);

    /// Reads every line of the role from the ledger of `dataFolder`.
    void load(db::Database& db, const QString& dataFolder);

    /// Line writer, steps 1 to 4, for a tax of `tax` lei (made whole by WholeLei): the
    /// role's "A" line (group, name) or a new one; what was collected on it stays collected.
    void writeTax(const QString& group, const QString& name, Currency tax, const QString& unit,
                  Currency quantity, const Reduction& reduction);
    /// The arrears of a tax brought over from earlier records (group = name): REST and
    /// RESTINI move, what was collected on the arrears stays collected; the year's amount
    /// is left alone.
    void writeArrears(const QString& name, std::int64_t arrears);

    /// Totals of a group over the lines as they stand now.
    LedgerTotals totals(const QString& group) const;
    /// Lines to be inserted by store().
    int newLines() const;
    /// Refuses (RoleNotStorable naming the village, the role number and name, the field and
    /// the value) a line to be written whose number does not fit its field of the ledger.
    void checkFits(db::Database& db, const QString& dataFolder) const;
    /// Writes the changes: deleted lines, changed lines, new lines (identifiers from `ids`).
    /// Checks every line first (checkFits), so a refused role writes nothing.
    void store(db::Database& db, const QString& dataFolder, IdSource& ids);

    /// The line (group, name) of type "A" as it stands, when the role has one.
    const LedgerLine* assessed(const QString& group, const QString& name) const;

private:
    struct Slot {
        std::optional<LedgerLine> stored; // as read; empty for a line started in this run
        LedgerLine line;                  // as it will be written
        bool live = true;                 // false: dropped (deleted when it was stored)
    };
    Slot& find(const QString& group, const QString& name);
    void keepOrDrop(Slot& slot);
    static QString key(const QString& group, const QString& name);

    const Role& role_;
    QDate yearStart_;
    std::vector<Slot> slots_;    // every line of the role, stored or started, in order
    QHash<QString, int> lookup_; // (group, name) of the live "A" lines -> slot
};

} // namespace vartesa
