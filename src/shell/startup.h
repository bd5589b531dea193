#pragma once
// The start-up sequence: choosing the data folder (local or network mode), the daily
// maintenance of the owning machine (packing, dropping rows of villages that no longer
// exist), the village list, the templates beside the data and the counter
// resynchronisation. The start-up window runs it from its timer and shows its progress;
// the steps that belong to other screens (upgrades, administrator settings) come in as hooks.

#include "shell/services.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

namespace vartesa {

class CountersFile;
class ReleaseRegistry;
namespace db {
class Database;
}

/// The version texts of this release.
QString VersionString();     // "Vartesa ver.1.26"
QString VersionNumber();     // "1.26"
QString WorkingYear();       // "2015", or the year the data folder names
/// The release's own working year.
inline constexpr int kReleaseYear = 2015;
/// The counter (section SERVER) naming a data folder's working year when it is not the
/// release's: a demonstration commune made today works in today's year.
inline const QString kWorkingYearKey = QStringLiteral("ANLUCRU");
/// The working year `counters` (the data folder's Vartesa.set) names; the release's year when
/// it names none or something that is not a year.
int DataFolderYear(const CountersFile& counters);
/// Makes `year` what WorkingYear() answers from now on in this process: called once the data
/// folder is known, before anything reads its dates.
void UseWorkingYear(int year);
/// Whole days since 30.12.1899 (1 January 2015 is 42005).
qint64 DayNumber(const QDate& date);

/// The tables a network data folder must hold to be used.
const QStringList& RequiredNetworkTables();

/// What the start-up window shows while the sequence runs.
class StartupView {
public:
    virtual ~StartupView() = default;
    virtual void setStatus(const QString& text) = 0;
    /// Moves the bar forward by `step` (of 100).
    virtual void advance(int step) = 0;
};

/// Steps that other parts of the program provide; any may be left empty.
struct StartupHooks {
    std::function<void()> firstUpgradeSet;                // creates missing tables and files
    std::function<bool()> secondUpgradeSet;               // brings old layouts forward; true when GOSPODAR.dbf is empty
    std::function<void()> loadAdminSettings;              // fills the administrator window
    std::function<void(const QString&)> showServerPath;   // network mode: the administrator window's field
    std::function<void(const QStringList&)> villagesReady; // the role register's village selector
};

/// Everything the sequence works on.
struct StartupContext {
    Folders& folders;          // data folder chosen at step 5
    db::Database& db;
    ReleaseRegistry& registry;
    Messages& messages;
    const Clock& clock;
    StartupView* view = nullptr;
    StartupHooks hooks;
};

class StartupSequence {
public:
    explicit StartupSequence(StartupContext context);

    /// Runs every step. Steps up to the templates stop the start when they fail (the
    /// error propagates); a failure from the packing on is reported through Messages and
    /// the remaining steps are skipped. Returns true when the program may go on to login.
    bool run();

    // The steps, in order; public so each can be tested on its own.
    void chooseDataFolder();        // steps 3-5
    void decideFirstStartOfDay();   // step 7
    void maintainLocalDatabase();   // step 8
    void recordRelease();           // step 9
    QStringList BuildVillageList(); // step 11
    void cleanUpVillages();         // step 12
    void WriteStartupTemplates();   // step 13
    void packTables();              // step 15
    void resynchroniseCounters();   // step 16

    bool isFirstStartOfDay() const { return firstStartOfDay_; }
    /// The packing or the counters failed during the last run (reported already); LASTPACK
    /// was not written, so the next start tries the upkeep again.
    bool upkeepFailed() const { return upkeepFailed_; }
    /// What the clerk is told after a failed upkeep.
    static QString upkeepFailedText();
    bool rolesTableEmpty() const { return rolesTableEmpty_; }
    const QStringList& villages() const { return villages_; }

private:
    CountersFile counters() const;
    void status(const QString& text);
    void advance(int step);

    StartupContext c_;
    bool firstStartOfDay_ = false; // decided once, at step 7
    bool upkeepFailed_ = false;    // the packing or the counters failed in the last run
    bool rolesTableEmpty_ = false; // lets login offer the new-year import
    QStringList villages_;         // the village list of step 11
};

/// Removes the deleted rows of a table, dropping its .mdx index file; a missing table has
/// nothing to pack.
void PackTable(db::Database& db, const QString& path);

/// The year lock's key: "ADMINBLOCAT" followed by the working year ("ADMINBLOCAT2015").
QString YearLockCounterKey(int workingYear);
/// The year lock: counters key ADMINBLOCAT + working year is "DA" (any case).
bool IsYearLocked(const CountersFile& counters);

} // namespace vartesa
