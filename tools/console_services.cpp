#include "console_services.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vartesa::tool {
namespace {

class StderrMessages final : public Messages {
public:
    MessageResult ShowErrors(const QString& title, const QString& text, MessageKind kind,
                             MessageButtons buttons) override {
        QTextStream(stderr) << messageCaption(kind) << " - "
                            << (title.isEmpty() ? defaultMessageTitle() : title) << ": "
                            << QString(text).replace('\r', ' ') << '\n';
        if (buttons.testFlag(MessageButton::Ok)) return MessageResult::Ok;
        if (buttons.testFlag(MessageButton::Nu)) return MessageResult::Nu;
        return MessageResult::Renunt;
    }
    void ShowProblemHint(const QString& text, QObject*) override {
        QTextStream(stderr) << text << '\n';
    }
};

class SilentProgress final : public Progress {
public:
    void Arata(const QString&) override {}
    void Describe(const QString&) override {}
    void SetMaximum(int) override {}
    void Step(int) override {}
    void Distruge() override {}
};

class StdoutDesktop final : public Desktop {
public:
    bool openFile(const QString& path) override {
        QTextStream(stdout) << "De deschis: " << path << '\n';
        return true;
    }
};

} // namespace

std::unique_ptr<Services> ConsoleServices(const QString& dataFolder) {
    Folders folders;
    folders.defaultData = folders.data = QDir::cleanPath(QDir(dataFolder).absolutePath());
    folders.program = QFileInfo(folders.data).absolutePath();
    folders.machine = folders.program;
    return std::make_unique<Services>(
        folders, std::make_unique<StderrMessages>(), std::make_unique<SilentProgress>(),
        std::make_unique<StdoutDesktop>(), std::make_unique<SystemClock>());
}

} // namespace vartesa::tool
