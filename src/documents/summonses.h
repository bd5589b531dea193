#pragma once
// Summonses and enforcement titles: what a role owes, line by line, on the day it is summoned
// (arrears, the two instalments of the year's local taxes that fell due, the other taxes and
// fines), stored under a number unique across workstations and printed from Titlu.rtf. A
// summons is a legal claim: its lines add up to what the account says is due that day.
//
// Issuing is one transaction under the folder's write lock: the number drawn, the Somatii.dbf
// row and its SomDet.dbf lines are stored together or not at all, and a failure uses no number.
// Confirming and cancelling change one row each, in their own transaction.

#include "books/summonses.h"
#include "cash/account.h"
#include "cash/receipt.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vartesa {

class CountersFile;
class Messages;
class Services;
namespace db {
class Database;
}

/// The window titles of the summonses.
inline const QString kSummonsIssueTitle = QStringLiteral("Adaugare Somatie si Titlu");
inline const QString kSummonsTitle = QStringLiteral("Somatie - Titlu");
/// The form has room for this many lines; the totals cover every line.
constexpr int kSummonsFormLines = 20;

/// The lines of a summons being prepared and their total in lei.
struct SummonsDetail {
    std::vector<SummonsLine> lines;
    std::int64_t total = 0;
};

/// The lines of the role whose grids `grids` were computed on `date` (penalties waived when
/// `noPenalty`). Per local tax, in grid order: the arrears line due 31 December of the year
/// before (arrears left after the credit, and the increments not owed on the instalments),
/// the first instalment when `date` is after 31 March, the second when after 30 September;
/// the credit goes against the first instalment due, then the second. Per other tax or fine
/// one line from its date (current SUMA, arrears REST, no reduction). Lines of nothing are
/// not written. A tax's lines add up to what its account row asks, never below 0.
SummonsDetail BuildSummonsDetail(const AccountGrids& grids, const QDate& date, bool noPenalty);

/// "Pe formular incap maxim 20 linii!" / "Dvs. aveti N linii!" / "Continuati?" (three lines).
QString SummonsLinesQuestion(int lines);

/// "Arata" of TSomConfirm: up to 20 lines are accepted; with more the clerk is asked (title
/// "Somayie - Titlu") whether to go on, and the printed title shows the first 20.
bool AcceptSummonsLines(Messages& messages, const SummonsDetail& detail);

/// "La acest ROL mai este Somatia N / dd.MM.yyyy nesolutionata!" for the lowest-numbered
/// summons of the role that was delivered and is not cancelled; nothing when none blocks.
std::optional<QString> OpenSummonsRefusal(db::Database& db, const QString& dataFolder, qint64 roleId);

/// Stores the summons of role `roleId` issued on `date` with `detail`, in one transaction:
/// IDSOM = NR drawn from "SERVER"/"IDSOM" (past every stored summons when the counter is
/// behind), then its row, then its lines in order; the counter moves past the number once it
/// is committed. `between` runs after the row and before the lines (a test's failure).
/// Returns the number. Throws vartesa::Error; a failure stores nothing and uses no number.
qint64 StoreSummons(db::Database& db, const QString& dataFolder, CountersFile& counters, qint64 roleId,
                    const QDate& date, const SummonsDetail& detail, const std::function<void()>& between = {});

/// What a printed summons names besides the summons and its role.
struct SummonsPrintSettings {
    TownHall townHall; // [JUDET], [COMUNA], [CUI]
    QString mayor;     // [PRIMAR]
    QString clerk;     // [INTOCMIT]: the user who draws it up
};

/// Fills Titlu.rtf of the data folder for summons `id` into a free "<outputBase><n>.rtf"
/// and hands it to the desktop when `open`. Returns the document, "" when the summons is not
/// stored. A missing template is told to the clerk ("Va lipseste fisierul ...") and writes
/// nothing. Throws vartesa::Error when the document cannot be written.
QString PrintSummons(Services& services, const SummonsPrintSettings& settings, qint64 id, const QString& outputBase,
                     bool open = true);

/// Whether the template `file` (Titlu.rtf unless named) is in the data folder; when not, the
/// clerk is told ("Va lipseste fisierul <path> !"), titled `title`.
bool SummonsTemplatePresent(Services& services, const QString& title,
                            const QString& file = QStringLiteral("Titlu.rtf"));

/// What issuing did.
struct SummonsIssue {
    bool refused = true;   // a message told the clerk why nothing was stored
    SummonsDetail detail;  // the lines shown
    qint64 id = 0;         // the number stored; 0 when nothing was
    QString file;          // the document printed
};

/// Issues a summons to role `roleId` as of `date`: the template first, then the summons that
/// blocks it, then the lines ("Nu exista restante la acest ROL!" when nothing is owed); `accept`
/// sees the lines and says whether to store them (false: nothing stored, not a refusal). The
/// document goes to "<outputBase><n>.rtf".
SummonsIssue IssueSummons(Services& services, const SummonsPrintSettings& settings, const AccountRules& rules,
                          qint64 roleId, const QDate& date, const std::function<bool(const SummonsDetail&)>& accept,
                          const QString& outputBase, bool open = true);

/// Records the delivery of summons `id` on `day` by `way` ("POSTA" or "INTERNET"), replacing an
/// earlier one. Refuses with "Data Confirmarii ese incorecta!" a day before the issue date
/// plus 2 days, and an unknown summons. Nothing when stored.
std::optional<QString> ConfirmSummons(db::Database& db, const QString& dataFolder, qint64 id, const QDate& day,
                                      const QString& way);
/// Cancels summons `id` with `reason`, its spaces collapsed (more than 2 and at most 32
/// characters, else "Lipseste motivul!"); cancelling again replaces the reason.
std::optional<QString> CancelSummons(db::Database& db, const QString& dataFolder, qint64 id, const QString& reason);

/// "Somatia N nu exista!"
QString UnknownSummons(qint64 id);

} // namespace vartesa

namespace vartesa::workbook {
class Workbook;
}

namespace vartesa {

/// One row of the central list: the summons and its role.
struct SummonsListRow {
    SummonsRecord summons;
    QString name;    // NUMEP
    QString rol;     // ROL
    QString code;    // CNP
    QString village; // SATUL
    QString address; // ADRESA
    QString type;    // TIP
};

/// How the central list is ordered: by name then number, or by the column a title names
/// ("NUMEP", "ROL", "CNP", "SATUL", "NR", "DINDATA", "ANULAT", "OBS", "SUMA", "DATACONF",
/// "TIPCONF", "ADRESA", "TIP"), then by number.
std::vector<SummonsListRow> ReadSummonsList(db::Database& db, const QString& dataFolder,
                                            const QString& orderBy = QStringLiteral("NUMEP"));

/// The town hall's names the printed summons takes from the settings, and the clerk's.
SummonsPrintSettings ReadSummonsPrintSettings(Services& services, const QString& clerk);

/// A row of "Situatia executarilor silite".
struct SummonsReportRow {
    qint64 number = 0; // NR
    QDate issued;      // DINDATA
    QString name;      // NUMEP
    QString rol;       // ROL
    QString reason;    // OBS
};

/// The summonses not cancelled of roles of person type `personType` ("FIZICA"/"JURIDICA")
/// issued from `from` to `to`, by name.
std::vector<SummonsReportRow> ReadSummonsReport(db::Database& db, const QString& dataFolder, const QDate& from,
                                                const QDate& to, const QString& personType);
/// The "SITEXEC" workbook filled with those rows. Throws vartesa::Error when the template
/// cannot be opened.
workbook::Workbook BuildSummonsReport(Services& services, const std::vector<SummonsReportRow>& rows,
                                      const QDate& from, const QDate& to);

} // namespace vartesa
