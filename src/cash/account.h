#pragma once
// The account of one role as of a calculation date: the three grids of the collection
// screen (local taxes, debits of the year, other taxes and fines), each row with what it
// owes today and the amount the cashier enters, and the total due.
//
// The grids are computed from SoldCalc.dbf, Debit.dbf, Datorii.dbf, GOSPODAR.dbf and the
// receipt lines of Chitante.dbf; building them writes nothing. The rows keep the columns of
// the screen's working tables in their order (AccountColumns), so the payment and the
// documents that read the grids find every value under its usual name.

#include "books/balances.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "db/currency.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <vector>

namespace vartesa {

class AdminConstants;
class CountersFile;
namespace db {
class Database;
}

/// The three grids, in the order the screen shows them.
enum class AccountGrid { Taxes, Debits, Claims };

/// What every grid row has: the claim it is for, what it owes and what the cashier typed.
struct AccountRow {
    QString group;           // GRUPA
    std::int64_t due = 0;    // DEPLATA: "Total de plata"
    std::int64_t entered = 0; // ACHITAT: "ACHITA", the amount paid (negative: taken away)
};

/// IMPOZITE: one balance row of SoldCalc.dbf (one of the four local taxes).
struct TaxRow : AccountRow {
    qint64 id = 0;               // IDRES
    std::int64_t amount = 0;     // SUMA: assessed for the year
    std::int64_t rest = 0;       // REST: still unpaid of SUMA
    std::int64_t reduction = 0;  // REDUC: offered for paying the year by 31 March
    std::int64_t exemption = 0;  // SCUTIRE: non-zero when the year's amount is not due
    std::int64_t arrears = 0;    // DATOR
    std::int64_t credit = 0;     // DEPOZ
    std::int64_t carried = 0;    // MAJOR: penalties carried from earlier years
    QString type;                // TIP
    std::int64_t current = 0;    // CUR1: "Rest de plata" of the year
    std::int64_t netArrears = 0; // RAM1: "Ramasite", arrears less credit
    std::int64_t penalties = 0;  // MAJOR1: "Majorari", carried and of the year
    std::int64_t granted = 0;    // RED1: "Bonificatie" granted today
    std::int64_t exempted = 0;   // SCUT1
    QVariant cell(int column) const;
};

/// DEBITE IN TIMPUL ANULUI: one row of Debit.dbf still to collect.
struct DebitRow : AccountRow {
    qint64 id = 0;                 // IDDEB
    QString document;              // DOCJUS
    qint64 number = 0;             // NR
    QString kind;                  // CATEG
    QString name;                  // DENUM
    QDate from;                    // DINDATA
    QDate penaltyFrom;             // PENDATA: first day of the month of DINDATA
    std::int64_t initial = 0;      // SUMAINI
    std::int64_t open = 0;         // SUMAC: still to collect
    std::int64_t penalty = 0;      // MAJOR: computed for the calculation date
    QVariant cell(int column) const;
};

/// TAXE / AMENZI: one line of Datorii.dbf for a claim other than the four local taxes.
struct ClaimRow : AccountRow {
    qint64 id = 0;               // IDDAT
    QString name;                // DENUM
    QString document;            // DOCJUS
    qint64 number = 0;           // NR
    QString type;                // TIP
    std::int64_t amount = 0;     // SUMA: of the year, still to pay
    QDate from;                  // DINDATA
    std::int64_t established = 0; // SUMA2
    std::int64_t arrearsEstablished = 0; // RESTINI
    std::int64_t rest = 0;       // REST: arrears still to pay
    std::int64_t reduction = 0;  // REDUC
    std::int64_t current = 0;    // CUR1
    std::int64_t arrears = 0;    // REST1
    QVariant cell(int column) const;
};

/// The grid rows of the stored records: texts trimmed, the computed columns (CUR1, DEPLATA, ...)
/// and the entered amount 0 until the Compute* steps below fill them.
TaxRow TaxRowOf(const BalanceRow& row);
DebitRow DebitRowOf(const YearDebit& debit);
ClaimRow ClaimRowOf(const LedgerLine& line);

/// The columns of a grid's working table, in their order of creation; cell(i) of its rows
/// answers column i.
const QStringList& AccountColumns(AccountGrid grid);

struct AccountGrids {
    std::vector<TaxRow> taxes;
    std::vector<DebitRow> debits;
    std::vector<ClaimRow> claims;
    std::int64_t total = 0; // "Total datorie": the sum of DEPLATA over the three grids
    int year = 0;           // the fiscal year the grids were computed in (0: the date's year)
    Currency earlyReduction; // ERED, %: the reduction an accounting note grants on a paid tax

    /// The rows of one grid as their common part.
    std::vector<AccountRow*> rows(AccountGrid grid);
};

/// The constants the account reads.
struct AccountRules {
    bool penaltyOption = false;         // FARAMAJORARI: a role may be spared penalties
    bool reductionUnder50 = false;      // Bonificatie50: taxes under 50 lei get the reduction
    bool reductionForCompanies = false; // BonifPJ: legal persons get the reduction
    Currency earlyReduction;            // ERED, %: "Reducere la plata integrala in avans"
};
AccountRules AccountRulesFrom(const AdminConstants& constants);
/// The same constants read straight from the counters file and the settings of the data
/// folder, writing nothing (the command line).
AccountRules ReadAccountRules(const CountersFile& counters, db::Database& db, const QString& dataFolder);

/// What the screen reads once when it opens a role.
struct AccountRole {
    Role role;              // the header from GOSPODAR.dbf
    bool found = false;     // false: the role is no longer in the register
    QSet<QString> reduced;  // taxes (upper case) with a reduced receipt line this year
    bool noPenalty = false; // FARAMAJORARI on and NOTAX "DA"
    AccountRules rules;
    int year = 0;           // the fiscal year
    bool physicalPerson() const { return role.personType.trimmed().compare(kPersonNatural, Qt::CaseInsensitive) == 0; }
};

/// Reads the role header and the reductions granted on receipts dated from 1 January of
/// `year`. A role no longer in the register comes back with `found` false.
AccountRole OpenAccountRole(db::Database& db, const QString& dataFolder, const AccountRules& rules, qint64 idgos,
                            int year);

/// Computes the three grids as of `date`, all entered amounts 0. A role not found has
/// empty grids.
AccountGrids BuildAccountGrids(db::Database& db, const QString& dataFolder, const AccountRole& role,
                               const QDate& date);

// The steps of BuildAccountGrids, for the rows read already.
void ComputeDebitRow(DebitRow& row, const QDate& date, bool noPenalty);
void ComputeClaimRow(ClaimRow& row);
void ComputeTaxRow(TaxRow& row, const AccountRole& role, const QDate& date);

} // namespace vartesa
