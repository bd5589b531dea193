#pragma once
// The role clerk's side of the debts ledger (books/ledger.h): lines of type "M" entered by hand
// (taxes and fines added during the year), and one tax charged to every role of a village.
// Payments lower SUMA and REST only, so the difference to the amounts as established (SUMA2,
// RESTINI) is what was collected; every change made here moves both by the same amount and
// leaves the collected parts alone.

#include "books/ledger.h"
#include "books/roles.h"
#include "roles/claim_rules.h"

#include <QDate>
#include <QString>

#include <vector>

namespace vartesa {

class CountersFile;
class Progress;
namespace db {
class Database;
}

/// What the clerk typed in "Taxe / Amenzi" for one manual line.
struct ManualClaim {
    QDate from;          // "Din data de"
    QString claim;       // "Denumirea creantei": GRUPA and DENUM of the line
    QString explanation; // DOCJUS
    qint64 docNumber = 0; // NR
    ClaimAmounts amounts; // SUMA (current), REST (arrears), REDUC
};

/// What stopped "&Memoreaza" of the claim dialog: a balloon at the amounts or at the claim's
/// name, or the error window "Adaugare creanta" (titled by `title`).
struct ManualClaimProblem {
    enum class At { None, Amounts, Window, Claim } at = At::None;
    QString text;
    QString title; // of the error window
    bool ok() const { return at == At::None; }
};

/// The checks of "&Memoreaza", in the dialog's order: a current amount with arrears, then
/// (the explanation's spaces collapsed) no amount at all, then a claim that is not one of
/// `claims`, the names the dialog offers. A claim typed in other capitals takes the list's
/// spelling.
ManualClaimProblem CheckManualClaim(ManualClaim& claim, const QStringList& claims);

/// The claims a manual line may name: the distinct GRUPA of CODCL.dbf not of kind "I" (the
/// four local taxes come from the assessment). None without the table.
QStringList ManualClaimNames(db::Database& db, const QString& dataFolder);

/// The line `claim` makes for `role`: type "M", "buc" of quantity 1, nothing exempt and no
/// percent, the amounts established as typed. The caller draws its IDDAT.
LedgerLine ManualLine(const Role& role, const ManualClaim& claim);

/// Outcome of changing or deleting a manual line.
enum class LedgerChange {
    Done,
    ClaimLocked,   // the line has a receipt and the claim was to change
    HasReceipt,    // the line has a receipt: it cannot be deleted
    Missing,       // no such manual line of that role (another workstation removed it)
};

/// The two refusals' texts and titles.
QString ClaimLockedText();   // "Aveti taiata chitanta ... Nu puteti sa-i modificati Grupa!"
QString LineHasReceiptText(); // "Aveti taiata chitanta ... Nu puteti s-o stergeti!"

class DebtsLedger {
public:
    DebtsLedger(db::Database& db, const QString& dataFolder);
    void setDataFolder(const QString& folder) { folder_ = folder; }
    QString table(const QString& file) const { return folder_ + '/' + file; }

    /// The role's manual lines in the order of page 12: by claim, then date.
    std::vector<LedgerLine> manualLines(qint64 roleId);
    /// Every line of the role (both types), by claim, date and identifier.
    std::vector<LedgerLine> lines(qint64 roleId);
    /// One line by IDDAT; an empty line (id 0) when there is none.
    LedgerLine line(qint64 id);

    /// Adds a manual line of `role`: IDDAT drawn from the counters, "buc" of quantity 1,
    /// established amounts equal to the typed ones. Returns the new IDDAT.
    qint64 addManualLine(const Role& role, const ManualClaim& claim, CountersFile& counters);
    /// Rewrites a manual line from the dialog. A line with a receipt keeps its claim
    /// (ClaimLocked, nothing written); the established amounts and the undo copies of earlier
    /// payments move by the same difference as SUMA and REST, so what was collected stays
    /// collected and cancelling a receipt later cannot undo this change. An empty claim keeps
    /// the line's own. One transaction.
    LedgerChange changeManualLine(qint64 id, const ManualClaim& claim);
    /// Deletes a manual line of the role, refused while a receipt touches it.
    LedgerChange deleteManualLine(qint64 roleId, qint64 id);

    /// "Adauga o taxa la to&ti": one manual line of `value` lei, due from 1 January of
    /// `year`, for every role of `village` that has a building page (with `onlyWithHouses`,
    /// only those with a first house C1S or a first legal-person building VA1). One step of
    /// `progress` per role; all lines or none. Returns the roles charged.
    int chargeVillage(const QString& village, const QString& tax, qint64 value, bool onlyWithHouses, int year,
                      CountersFile& counters, Progress& progress);
    /// "Adauga la Alte taxe o cantitate fi&xa": sets LIN<position> (1 to 6) of Pag7.dbf to
    /// `quantity` for every role of `village`, in one statement. Returns the rows set.
    int setVillageQuantity(const QString& village, int position, qint64 quantity);

private:
    db::Database& db_;
    QString folder_;
};

} // namespace vartesa
