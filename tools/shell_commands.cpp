// vartesa-tool next-id and start.

#include "commands.h"

#include "db/database.h"
#include "db/error.h"
#include "shell/counters.h"
#include "shell/registry.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

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

} // namespace

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
        Folders folders;
        folders.defaultData = folders.data = QDir::cleanPath(QDir(args[0]).absolutePath());
        folders.program = QFileInfo(folders.data).absolutePath();
        folders.machine = folders.program;
        db::Database database(folders.data);
        ReleaseRegistry registry(ReleaseRegistry::defaultFolder());
        ConsoleMessages messages;
        SystemClock clock;
        StartupSequence sequence({folders, database, registry, messages, clock, nullptr, {}});
        sequence.run();
        QTextStream(stdout) << "Pornire terminata: " << folders.data << (sequence.isFirstStartOfDay() ? " (prima pornire azi)" : "")
                            << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
