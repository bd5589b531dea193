#include "shell/console_services.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vartesa {
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

class StdoutDesktop final : public Desktop {
public:
    explicit StdoutDesktop(OpenedFiles opened) : opened_(opened) {}
    bool openFile(const QString& path) override {
        if (opened_ == OpenedFiles::Named) QTextStream(stdout) << "De deschis: " << path << '\n';
        return true;
    }

private:
    OpenedFiles opened_;
};

} // namespace

std::unique_ptr<Services> ConsoleServices(const QString& dataFolder) {
    const QString data = QDir::cleanPath(QDir(dataFolder).absolutePath());
    return ConsoleServices(QFileInfo(data).absolutePath(), data, OpenedFiles::Named);
}

std::unique_ptr<Services> ConsoleServices(const QString& program, const QString& dataFolder, OpenedFiles opened) {
    Folders folders;
    folders.program = folders.machine = program;
    folders.defaultData = folders.data = dataFolder;
    return std::make_unique<Services>(
        folders, std::make_unique<StderrMessages>(), std::make_unique<SilentProgress>(),
        std::make_unique<StdoutDesktop>(opened), std::make_unique<SystemClock>());
}

} // namespace vartesa
