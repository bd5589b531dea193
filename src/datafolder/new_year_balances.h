#pragma once
// The opening balances of the new year: each role's account on 31 December of the old year
// (the account screen's own rules, cash/account.h, on the old data folder) turned into the
// arrears, penalties and credits of its arrears page (Pag8.dbf) and into debt lines of the
// claims that have no column there.
//
// Everything here works in memory: the old books are read once each (ReadOldYearBooks), the
// account of one role is a function of them (YearEndAccount), and its rows add up into the
// role's opening (AddYearEnd, NetOpening). The caller writes the openings.

#include "books/balances.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "cash/account.h"

#include <QHash>

#include <array>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// The old year's books as the openings need them, each table read once.
struct OldYearBooks {
    std::vector<Role> roles;                          // in walk order (WalkOrderLess)
    QHash<qint64, std::vector<BalanceRow>> balances;  // SoldCalc.dbf by IDGOS
    QHash<qint64, std::vector<LedgerLine>> claims;    // Datorii.dbf lines of other claims with SUMA or
                                                      // REST not 0 or REDUC above 0, by IDGOS
    QHash<qint64, std::vector<YearDebit>> debits;     // Debit.dbf by IDGOS, every row
};

/// Reads Gospodar.dbf, SoldCalc.dbf, Datorii.dbf and Debit.dbf of `oldFolder` once each. A
/// missing table reads as empty. Throws vartesa::Error.
OldYearBooks ReadOldYearBooks(db::Database& db, const QString& oldFolder);

/// The walk of the roles: by SATUL, then ROL read as a number (roles whose ROL is no number
/// after the others, by their text), then IDGOS.
bool WalkOrderLess(const Role& a, const Role& b);

/// The three grids of the role's account on 31 December of `role.year`, computed by the
/// account's own steps (ComputeTaxRow, ComputeDebitRow, ComputeClaimRow).
struct YearEndRows {
    std::vector<TaxRow> taxes;
    std::vector<DebitRow> debits;
    std::vector<ClaimRow> claims;
};
YearEndRows YearEndAccount(const OldYearBooks& books, const AccountRole& role);

/// The columns of Pag8.dbf a claim adds to: 1..4 for the four local taxes ("Impozit pe teren
/// extravilan", "... cladiri", "... teren intravilan", "... mijloace de transport"), 5..11 for
/// "Vehicule lente" ... "Paza"; 0 for any other claim.
int LocalTaxColumn(const QString& group);
int OtherTaxColumn(const QString& group);

/// One role's opening: LIN1..LIN11, PEN1..PEN4, SOLD1..SOLD4 (index 0 is column 1).
struct Opening {
    std::array<qint64, 11> lin{};
    std::array<qint64, 4> pen{};
    std::array<qint64, 4> sold{};
    bool operator==(const Opening&) const = default;
};

/// What the clerk chose to carry: the local taxes' arrears, penalties and credits, and the
/// other taxes with the debt lines.
struct OpeningChoices {
    bool localTaxes = true; // RamasiteOk
    bool otherTaxes = true; // TaxeOk
};

/// Adds the role's year-end rows to its opening: with localTaxes each local-tax row (what it
/// owes to LIN<k> and its penalties to PEN<k>, or a credit to SOLD<k>) and each debit of a
/// local tax (SUMAC to LIN<k>, its penalty to PEN<k>); with otherTaxes each claim's DEPLATA to
/// LIN5..LIN11, or, for a claim without a column and DEPLATA not 0, to `carried`.
void AddYearEnd(Opening& opening, const YearEndRows& rows, const OpeningChoices& choices,
                std::vector<ClaimRow>& carried);

/// Nets each local tax's arrears against its credit: LIN<k> - SOLD<k> goes to LIN<k> when
/// positive, else its opposite to SOLD<k>; a negative penalty becomes 0.
void NetOpening(Opening& opening);

} // namespace vartesa
