// vartesa-tool next-id and start.

#include "commands.h"

#include "db/database.h"
#include "db/error.h"
#include "shell/counters.h"
#include "shell/registry.h"
#include "shell/services.h"
#include "admin/admin_catalog.h"
#include "documents/person_lists.h"
#include "shell/startup.h"
#include "datafolder/upgrades.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <memory>

namespace vartesa::tool {
namespace {

// Messages for a run without windows: each goes to standard error; questions get "NU".
class ConsoleMessages final : public Messages {
public:
    MessageResult ShowErrors(const QString& title, const QString& text, MessageKind kind,
                             MessageButtons buttons) override {
        QTextStream(stderr) << messageCaption(kind) << " - " << (title.isEmpty() ? defaultMessageTitle() : title)
                            << ": " << QString(text).replace('\r', ' ') << '\n';
        if (buttons.testFlag(MessageButton::Ok)) return MessageResult::Ok;
        if (buttons.testFlag(MessageButton::Nu)) return MessageResult::Nu;
        return MessageResult::Renunt;
    }
    void ShowProblemHint(const QString& text, QObject*) override { QTextStream(stderr) << text << '\n'; }
};

// The desktop of a run without windows: a file to open is named on standard output.
class ConsoleDesktop final : public Desktop {
public:
    bool openFile(const QString& path) override {
        QTextStream(stdout) << "De deschis: " << path << '\n';
        return true;
    }
};

// Folders of a run on DATAFOLDER as this machine's own database: the program folder is its parent.
Folders localFolders(const QString& dataFolder) {
    Folders folders;
    folders.defaultData = folders.data = QDir::cleanPath(QDir(dataFolder).absolutePath());
    folders.program = QFileInfo(folders.data).absolutePath();
    folders.machine = folders.program;
    return folders;
}

} // namespace

int runInit(const QStringList& args) {
    if (args.size() != 1) {
        QTextStream(stderr) << "Utilizare: vartesa-tool init DATAFOLDER\n";
        return 2;
    }
    try {
        const Folders folders = localFolders(args[0]);
        if (!QDir().mkpath(folders.data))
            throw Error(QStringLiteral("Directorul %1 nu poate fi creat").arg(folders.data), folders.data);
        db::Database database(folders.data);
        ConsoleMessages messages;
        ConsoleDesktop desktop;
        CountersFile counters(folders.data + QStringLiteral("/Vartesa.set"));
        UpgradeContext context{database, folders.data, folders.program, counters, messages, desktop, DefaultAdminSettings()};
        QTextStream out(stdout);
        for (UpgradeReport report : {RunFirstUpgradeSet(context), RunSecondUpgradeSet(context)}) {
            for (const QString& line : report.changes) out << line << '\n';
            for (const QString& missing : report.missingTemplates) out << "Lipseste sablonul " << missing << '\n';
        }
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

int runNextId(const QStringList& args) {
    if (args.size() < 2 || args.size() > 3) {
        QTextStream(stderr) << "Utilizare: vartesa-tool next-id DATAFOLDER CHEIE [SECTIUNE]\n";
        return 2;
    }
    try {
        CountersFile counters(QDir(args[0]).absoluteFilePath(QStringLiteral("Vartesa.set")));
        QTextStream(stdout) << counters.NextId(args.value(2, QStringLiteral("SERVER")), args[1]) << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

int runStart(const QStringList& args) {
    if (args.size() != 1) {
        QTextStream(stderr) << "Utilizare: vartesa-tool start DATAFOLDER\n";
        return 2;
    }
    try {
        Folders folders = localFolders(args[0]);
        db::Database database(folders.data);
        ReleaseRegistry registry(ReleaseRegistry::defaultFolder());
        ConsoleMessages messages;
        ConsoleDesktop desktop;
        SystemClock clock;
        StartupSequence sequence({folders, database, registry, messages, clock, nullptr,
                                  UpgradeHooks(database, folders, messages, desktop, DefaultAdminSettings())});
        sequence.run();
        if (sequence.upkeepFailed()) {
            QTextStream(stderr) << StartupSequence::upkeepFailedText() << '\n';
            return 1;
        }
        QTextStream(stdout) << "Pornire terminata: " << folders.data << (sequence.isFirstStartOfDay() ? " (prima pornire azi)" : "")
                            << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

int runPersonList(const QStringList& args) {
    const bool physical = args.size() == 2 && args[1].compare(QLatin1String("fizice"), Qt::CaseInsensitive) == 0;
    const bool legal = args.size() == 2 && args[1].compare(QLatin1String("juridice"), Qt::CaseInsensitive) == 0;
    if (!physical && !legal) {
        QTextStream(stderr) << "Utilizare: vartesa-tool lista-persoane DATAFOLDER fizice|juridice\n";
        return 2;
    }
    try {
        Services services(localFolders(args[0]), std::make_unique<ConsoleMessages>(), std::make_unique<SilentProgress>(),
                          std::make_unique<ConsoleDesktop>(), std::make_unique<SystemClock>());
        if (ListPersons(services, physical ? PersonType::Physical : PersonType::Legal).isEmpty()) return 1;
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
