#pragma once
// The lists of the debit statements ("Borderouri Debite"): what was charged ("BD") and written
// off ("BS") during the year, gathered from the ledger lines entered by hand and from the year
// debits, each carrying its statement's number in NR.
//
// - the statement list ("Lista borderouri"): one statement, a row per role, a column per group;
// - the summary ("Centralizator"): every statement of a period, a row per statement and day;
// - the cumulated statements ("Borderouri cumulate"): a row per statement, day and role with a
//   charged / written-off column pair per group, filled into BDBS.xls of the data folder.
//
// The first two are laid out as cells (`CellList`) and written by the direct worksheet writer;
// vartesa-tool prints the same cells. Accountants reconcile these sheets with the ledger, so
// every amount a cell shows is counted in its totals, and every total adds up its cells.

#include "db/query.h"
#include "workbook/biff2_writer.h"
#include "workbook/workbook.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace vartesa {

class Services;
namespace db {
class Database;
}

/// The two kinds of statement.
inline const QString kChargeStatement = QStringLiteral("BD");
inline const QString kWriteOffStatement = QStringLiteral("BS");

/// A period, both ends included.
struct StatementPeriod {
    QDate from, to;
};

/// One amount that counts in a statement, summed per role, group, day and statement number
/// over the rows of one source (the ledger, then the year debits).
struct StatementLine {
    qint64 roleId = 0;      // IDGOS
    bool roleFound = false; // the role is still in Gospodar.dbf
    QString rol;            // the role's ROL, NUMEP, ADRESA (empty when not found)
    QString name;
    QString address;
    QString group;          // GRUPA
    QDate day;              // DINDATA
    qint64 number = 0;      // NR; 0 when empty
    qint64 amount = 0;      // as the statement shows it: a write-off without its sign
};

/// What counts in statement `kind` ("BD" / "BS") number `number` dated in the period: ledger
/// lines entered by hand ("M") charged (RESTINI + SUMA2) or reduced (REDUC), year debits with a
/// positive or negative SUMAINI. Number 0 takes NR empty and NR 0 alike. Throws on a database
/// failure.
std::vector<StatementLine> StatementLines(db::Database& db, const QString& dataFolder, const QString& kind, qint64 number,
                                          const StatementPeriod& period);
/// The same over every statement number.
std::vector<StatementLine> AllStatementLines(db::Database& db, const QString& dataFolder, const QString& kind,
                                             const StatementPeriod& period);

/// The distinct groups of `lines` in the engine's order (the bytes of the text: "PSI" before
/// "Paza"), the order of the group columns of every list.
QStringList StatementGroups(const std::vector<StatementLine>& lines);

/// One cell of a list as written: place, value and look.
struct ListCell {
    int row = 0, col = 0; // 1-based
    QVariant value;       // a QString, a whole number (qint64), or null for a blank
    int font = 0;         // 0 the default font, 1-3 the list font set
    workbook::Biff2Writer::Align align = workbook::Biff2Writer::Align::General;
    int borders = workbook::Biff2Writer::NoBorder;
};

/// A list written cell by cell: its column widths and cells.
struct CellList {
    std::vector<std::pair<int, double>> widths; // (column, characters)
    std::vector<ListCell> cells;                // in writing order: a later cell replaces an earlier one
    int totalColumn = 0;                        // the TOTAL column
    int lastRow = 0;                            // the totals row

    /// The value a cell ends with (null when blank or never written).
    QVariant value(int row, int col) const;
};

/// The statement list of `kind` number `number` for the period (a row per role, walked by
/// name, then IDGOS; a role's amounts of one group add up in its cell). Throws vartesa::Error
/// when the list would not fit a sheet, or on a database failure.
CellList StatementList(Services& services, const QString& kind, qint64 number, const StatementPeriod& period);
/// The summary of the period: a row per statement number and day, charges less write-offs.
CellList StatementSummary(Services& services, const StatementPeriod& period);

/// Writes `list` with the list font set, the list margins and an empty page header and footer.
void WriteCellList(const CellList& list, workbook::Biff2Writer& writer);
/// Saves `list` as a free "Borderou<n>.xls" of the program folder and hands it to the desktop;
/// the file, "" when every name is taken (the clerk is told).
QString SaveAndOpenCellList(Services& services, const CellList& list);

/// The rows the cumulated statements give the filler.
struct CumulatedStatementRows {
    QStringList groups; // i = 1..k, in the engine's byte order
    db::Query rows;     // NR, DINDATA, ROL, NUMEP, ADRESA, A1BD, A1BS, ..., AkBD, AkBS, TOTAL
};

/// Every charge and write-off of the period, per statement, day and role (roles still in
/// Gospodar.dbf). Throws on a database failure.
CumulatedStatementRows CumulatedStatementData(Services& services, const StatementPeriod& period);
/// The cumulated statements filled into BDBS.xls of the data folder (written there from the
/// program's own template when missing). Throws vartesa::Error when the template cannot be
/// read, the list would not fit a sheet, or on a database failure. `rows` (when given) gets
/// the rows filled.
workbook::Workbook BuildCumulatedStatements(Services& services, const StatementPeriod& period,
                                            CumulatedStatementRows* rows = nullptr);
/// The menu's cumulated statements, saved as a free "Rap<n>.xls" and handed to the desktop.
QString ProduceCumulatedStatements(Services& services, const StatementPeriod& period);

} // namespace vartesa
