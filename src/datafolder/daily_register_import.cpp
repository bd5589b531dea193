#include "datafolder/daily_register_import.h"

#include "db/error.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/startup.h"

namespace vartesa {

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kDoneKey = QStringLiteral("AutoRADate");

} // namespace

QTime ParseImportTime(const QString& text) {
    const QString t = text.trimmed();
    for (const char* format : {"H:mm:ss", "H:mm", "HH:mm:ss", "HH:mm", "H.mm", "HH.mm"}) {
        const QTime time = QTime::fromString(t, QString::fromLatin1(format));
        if (time.isValid()) return time;
    }
    return QTime(0, 0);
}

AutoImportSettings ReadAutoImportSettings(const CountersFile& counters) {
    AutoImportSettings s;
    s.enabled = counters.ReadCounter(kServer, QStringLiteral("AUTORA")).toUpper() == QStringLiteral("DA");
    s.folder = counters.ReadCounter(kServer, QStringLiteral("CALEAUTORA"));
    s.at = ParseImportTime(counters.ReadCounter(kServer, QStringLiteral("ORAAUTORA")));
    return s;
}

DailyRegisterImport::DailyRegisterImport(Services& services, QObject* parent) : QObject(parent), s_(services) {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &DailyRegisterImport::tick);
    source_ = [this] { return ReadAutoImportSettings(s_.counters()); };
}

void DailyRegisterImport::start() { timer_.start(); }

QString DailyRegisterImport::workFolder() const { return s_.folders.machine + QStringLiteral("/TEMP/ActualizareRA"); }

void DailyRegisterImport::tick() {
    timer_.stop();
    const AutoImportSettings settings = source_();
    const QString today = QString::number(DayNumber(s_.clock().today()));
    // Not wanted, a workstation, or done today: the timer stays stopped for this run.
    if (!settings.enabled || !s_.folders.isLocalMode() || s_.counters().ReadCounter(kServer, kDoneKey) == today)
        return;
    if (s_.clock().now().time() < settings.at) {
        timer_.start();
        return;
    }
    // Without the register import there is nothing to run, and the day stays open for it.
    if (!import_) return;
    bool ran = false;
    try {
        ran = import_(workFolder(), settings);
    } catch (const Error& e) {
        s_.messages().report(e);
    }
    try {
        finish();
    } catch (const Error& e) {
        s_.messages().report(e);
    }
    if (ran) timer_.start();
}

void DailyRegisterImport::finish() {
    // Also after a failure: a broken register is tried again tomorrow, not every minute.
    s_.counters().WriteCounter(kServer, kDoneKey, QString::number(DayNumber(s_.clock().today())));
    DeleteFolder(workFolder());
}

} // namespace vartesa
