#pragma once
// The main window's daily import from the agricultural register: a timer that looks once a
// minute whether the day's import is due (option ticked, owning machine, not done today,
// the set time of day reached) and then runs it once. The import itself belongs to the
// register import screen, which plugs it in; this file decides when, and records the day.

#include "shell/services.h"

#include <QObject>
#include <QString>
#include <QTime>
#include <QTimer>

#include <functional>

namespace vartesa {

class CountersFile;

/// The administrator's options for the daily import.
struct AutoImportSettings {
    bool enabled = false; // "Actualizare zilnica automata din Registru Agricol 2015-2019"
    QString folder;       // "Cale DATA din RA2015": the register's data folder
    QTime at{0, 0};       // "Ora actualizarii :"
};

/// A time of day as the option holds it ("14:00", "9:30", "14:00:00"); an unreadable text
/// reads as 00:00.
QTime ParseImportTime(const QString& text);
/// The options as stored in the counters file (AUTORA, CALEAUTORA, ORAAUTORA).
AutoImportSettings ReadAutoImportSettings(const CountersFile& counters);

class DailyRegisterImport final : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 60 * 1000;

    /// The work of one import (copying the register into `workFolder`, checking it, running
    /// the import). Returns true when the import ran, so the timer goes on; false when it
    /// stopped at a problem it has shown. May throw vartesa::Error, which is reported.
    using Import = std::function<bool(const QString& workFolder, const AutoImportSettings& settings)>;

    explicit DailyRegisterImport(Services& services, QObject* parent = nullptr);

    /// Where the options come from; the counters file unless set.
    void setSettingsSource(std::function<AutoImportSettings()> source) { source_ = std::move(source); }
    /// The register import (steps from copying the register on). Until one is set, a due
    /// tick stops the timer for the run without recording the day.
    void setImport(Import import) { import_ = std::move(import); }

    /// Starts the 60-second timer (when the main window is shown).
    void start();
    bool isActive() const { return timer_.isActive(); }
    /// The scratch folder of the import: the machine folder + "/TEMP/ActualizareRA".
    QString workFolder() const;

    /// One timer event. Public so tests can step the clock and tick.
    void tick();

private:
    void finish();

    Services& s_;
    QTimer timer_;                                // every 60 s while waiting for the hour
    std::function<AutoImportSettings()> source_;  // the administrator's options
    Import import_;                               // the register import; none yet: nothing to run
};

} // namespace vartesa
