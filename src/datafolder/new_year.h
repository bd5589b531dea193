#pragma once
// The new-year initialisation: the first administrator login into the empty data folder of a
// new release takes over last year's settings, users, counters, roles and pages, applies the
// old year's purchases and sales to the pages and writes each role's balance at 31 December
// as the opening arrears, penalties and credits of its arrears page (Pag8.dbf).
//
// All or nothing. The old year is locked first (ADMINBLOCAT + old year in the old counters
// file); the new folder's files and the old ones taken over are copied into a staging folder
// beside the new data folder (<new>.an-nou) and every change is made there; then the files
// are swapped in as a restore does, the new folder's former files kept in
// <new>.inainte-de-an-nou. Any failure puts the old counters file back as it was, removes the
// staging folder and leaves the new folder as it was: the run can be repeated. A staging
// folder a crash left behind is removed by the next run.

#include "datafolder/new_year_balances.h"
#include "datafolder/new_year_pages.h"

#include <QString>

#include <functional>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}
class Progress;
class ReleaseRegistry;
class Services;

/// The three boxes of "Initializare An Nou", all ticked at first.
struct NewYearChoices {
    bool pages = true;      // MatricolaOk: apply the old year's purchases and sales to the pages
    bool localTaxes = true; // RamasiteOk: LIN1..LIN4, PEN1..PEN4, SOLD1..SOLD4
    bool otherTaxes = true; // TaxeOk: LIN5..LIN11 and the carried debt lines
};

/// Points where a test makes the run fail, as a locked file or a full disk would.
struct NewYearHooks {
    std::function<void(int rolesWalked)> afterRole;  // after each role of the openings
    std::function<void(const QString& file)> duringSwap; // after each file moved into the new folder
};

/// One row of the new Pag8.dbf with the role it belongs to (village and number empty when the
/// old register has no such role).
struct OpeningLine {
    qint64 roleId = 0;
    QString village;
    QString number;
    Opening opening;
};

/// What a run did.
struct NewYearReport {
    std::vector<OpeningLine> openings; // every row of the new Pag8.dbf, in walk order, rows
                                       // without a role last
    std::vector<LedgerLine> carried;   // the debt lines written into the new Datorii.dbf
    std::vector<OwnershipRefusal> refusals; // the purchases and sales not applied
    int rolesWalked = 0;
};

/// The previous year's data folder: value Cale of release kPreviousRelease, trimmed, an
/// existing folder with a "Data" subfolder; empty when it is not found.
QString PreviousYearDataFolder(const ReleaseRegistry& registry);

/// Where the run builds the new files, and where the new folder's former files are kept.
QString NewYearStagingFolder(const QString& newFolder);
QString NewYearKeptFolder(const QString& newFolder);

/// The failure log of the run: "VartesaLog.txt" in `machineFolder`.
QString NewYearLogPath(const QString& machineFolder);

/// Takes the old year over from `oldFolder` into `newFolder` (which must exist), as above.
/// Progress texts: "Preiau setarile...", "Preiau matricola recalculata...", "Operez debite " +
/// old year + "...", "Calculez ramasitele...". The log at `logPath` is emptied, then gets one
/// line per purchase or sale not applied. `engine`: the caller's engine when its session
/// holds the new folder already. Refused (Error, nothing written) when the old folder has no
/// Gospodar.dbf ("Directorul <f> nu contine datele anului <Y>!"), when both are one folder,
/// or when the new folder has a role already; any other failure throws Error with both
/// folders as they were.
NewYearReport RunNewYearImport(const QString& oldFolder, const QString& newFolder, const NewYearChoices& choices,
                               int oldYear, Progress& progress, const QString& logPath,
                               db::Database* engine = nullptr, const NewYearHooks& hooks = {});

/// Step 5 of the login, for an administrator on an empty database: when the previous year's
/// installation is found, asks "Import date " + old year / "Doriti importarea datelor din anul "
/// + old year + "?"; on DA and the clerk's choice (`choose`, the window "Initializare An Nou",
/// false on "&Renunt") runs the import on the data folder under the progress window, says
/// "Importul s-a incheiat cu succes!" / "Porniti programul din nou!" and returns true: the
/// program ends. A failure shows its error and "Datele au ramas neschimbate." and returns
/// false, as do NU and "&Renunt": the login goes on.
bool OfferNewYearImport(Services& services, const std::function<bool(NewYearChoices&)>& choose);

} // namespace vartesa
