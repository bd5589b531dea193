#pragma once
// The role page: the yearly ledger of one role, tax by tax: the opening balance ("L.R. /
// L.P."), the debits of the year, the debits and reductions during the year, the payment
// documents, with a running balance. Built from SoldCalc.dbf, Datorii.dbf, Debit.dbf and
// Chitante.dbf in two steps kept in memory: the ledger rows (one per source line) and the
// printed lines the running-balance walk makes of them. Printed as one report, or written
// for many roles into one workbook by the role listing.

#include "books/balances.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "books/receipts.h"
#include "books/roles.h"
#include "report/report.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}
namespace workbook {
class Sheet;
}

/// Which role: as the account screen and the role listing know it.
struct RolePageRole {
    qint64 idgos = 0;
    QString number;  // ROL
    QString village; // SATUL
};

/// One row of the first working table: one source line of the ledger.
struct RoleLedgerRow {
    QDate date;                 // DINDATA
    int order = 5;              // NRCRT: 1 to 4 for the four local taxes, 5 for any other name
    int line = 1;               // LINIA: 1 opening, 2 debit of the year, 3 year debit, 4... documents
    QString group;              // GRUPA, capitals
    QString document;           // DOCJUS
    std::int64_t debit = 0;     // DEBIT
    std::int64_t credit = 0;    // CREDIT
    std::int64_t balance = 0;   // SOLD
    std::int64_t penalties = 0; // MAJOR
};

/// One printed line (second working table); blank lines separate the taxes.
struct RolePageLine {
    QString group;       // GRUPA (empty on blank lines)
    QString document;    // DOCJUS: blank on blank lines
    QString debit, credit, balance, penalties; // running values as printed; blank on blank lines
    bool isBlank() const { return document.trimmed().isEmpty(); }
};

struct RolePage {
    int year = 0;
    RolePageRole role;
    QString name, address, code; // from GOSPODAR.dbf
    bool noPenalty = false;      // NOTAX "DA": penalties paid count as paid tax
    QString objects;             // "DENUM = CANT UM; " of the assessed objects
    std::vector<RoleLedgerRow> ledger; // first working table, in the order built
    std::vector<RolePageLine> lines;   // second working table, in the order printed
};

/// The ledger lines of a role summed by claim, date, document number and text: one row of
/// the year's debts on the page.
struct LedgerSum {
    QString group;            // GRUPA
    QDate from;               // DINDATA
    qint64 docNumber = 0;     // NR
    QString explanation;      // DOCJUS
    std::int64_t amount = 0;  // SUMA2
    std::int64_t reduction = 0;
    std::int64_t arrears = 0; // RESTINI
};

/// The stored rows one role's page is made of.
struct RolePageSource {
    std::optional<Role> header;           // GOSPODAR.dbf; none for a role no longer there
    std::vector<BalanceRow> balances;     // SoldCalc.dbf, record order
    std::vector<LedgerLine> lines;        // Datorii.dbf, record order
    std::vector<LedgerSum> debts;         // Datorii.dbf summed, by claim, date, number, text
    std::vector<YearDebit> debits;        // Debit.dbf, record order
    std::vector<ReceiptLine> documents;   // Chitante.dbf, record order
};

/// One role's rows, read by its IDGOS.
RolePageSource ReadRolePageSource(db::Database& db, const QString& dataFolder, qint64 idgos);
/// The rows of every role, each table read once: what a listing of many roles reads
/// instead of one role at a time. A role without rows is absent.
std::unordered_map<qint64, RolePageSource> ReadRolePageSources(db::Database& db, const QString& dataFolder);

/// The first working table (steps 1 to 5 of its building); `today` dates the empty fines
/// section. Rows come in the order built, not yet sorted.
std::vector<RoleLedgerRow> BuildRoleLedger(const RolePageSource& source, int year, bool noPenalty, const QDate& today);
std::vector<RoleLedgerRow> BuildRoleLedger(db::Database& db, const QString& dataFolder, qint64 idgos, int year,
                                           bool noPenalty, const QDate& today);

/// The running-balance walk over the ledger rows ordered by NRCRT, GRUPA, LINIA, DINDATA.
std::vector<RolePageLine> RunningBalance(std::vector<RoleLedgerRow> ledger, int year);

/// Everything the page shows. A role no longer in the register has an empty header.
RolePage BuildRolePage(db::Database& db, const QString& dataFolder, const RolePageRole& role, int year,
                       const QDate& today);
RolePage BuildRolePage(const RolePageSource& source, const RolePageRole& role, int year, const QDate& today);

/// The single page: title part and the columns TIP/IMPOZIT ... MAJORARI, numbered pages.
report::Report RolePageReport(const RolePage& page);

/// Batch mode: writes the page into `sheet` from row `row` (0-based) and returns the row the
/// next role starts at, two rows after the last line written. Non-blank lines only; the tax
/// name where it changes; zero amounts left empty.
int WriteRolePage(workbook::Sheet& sheet, int row, const RolePage& page);

} // namespace vartesa
