#include "shell/services.h"

#include "db/database.h"
#include "db/error.h"
#include "db/folder_use.h"
#include "shell/action_log.h"
#include "shell/counters.h"
#include "shell/registry.h"

#include <QFileInfo>

#include <stdexcept>

namespace vartesa {

QString messageCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Atentie !");
    case MessageKind::Information:
        return QStringLiteral("Informatie");
    case MessageKind::Confirmation:
        return QStringLiteral("Confirmare");
    case MessageKind::Error:
        break;
    }
    // Any code other than the three above has always meant an error.
    return QStringLiteral("Eroare");
}

QString defaultMessageTitle() { return QStringLiteral("PROBLEMA"); }

QString buttonCaption(MessageButton button) {
    switch (button) {
    case MessageButton::Da:
        return QStringLiteral("DA");
    case MessageButton::Nu:
        return QStringLiteral("NU");
    case MessageButton::Ok:
        return QStringLiteral("OK");
    case MessageButton::Renunt:
        return QStringLiteral("RENUNT");
    }
    return {};
}

MessageResult resultOf(MessageButton button) {
    switch (button) {
    case MessageButton::Da:
        return MessageResult::Da;
    case MessageButton::Nu:
        return MessageResult::Nu;
    case MessageButton::Ok:
        return MessageResult::Ok;
    case MessageButton::Renunt:
        return MessageResult::Renunt;
    }
    return MessageResult::Renunt;
}

std::vector<MessageButton> orderedButtons(MessageButtons buttons) {
    std::vector<MessageButton> shown;
    for (MessageButton b :
         {MessageButton::Da, MessageButton::Nu, MessageButton::Ok, MessageButton::Renunt})
        if (buttons.testFlag(b))
            shown.push_back(b);
    return shown;
}

MessageButton buttonNamed(const QString& caption) {
    const QString wanted = caption.trimmed().toUpper();
    for (MessageButton b :
         {MessageButton::Da, MessageButton::Nu, MessageButton::Ok, MessageButton::Renunt})
        if (buttonCaption(b) == wanted)
            return b;
    throw Error(QStringLiteral("Buton necunoscut: ") + caption, QStringLiteral("buttonNamed"));
}

void Messages::showError(const QString& title, const QString& text) {
    ShowErrors(title, text, MessageKind::Error, MessageButton::Ok);
}

void Messages::showInformation(const QString& title, const QString& text) {
    ShowErrors(title, text, MessageKind::Information, MessageButton::Ok);
}

bool Messages::askYesNo(const QString& title, const QString& text, MessageKind kind) {
    return ShowErrors(title, text, kind, MessageButton::Da | MessageButton::Nu) ==
           MessageResult::Da;
}

bool Messages::askYesNoDefaultNu(const QString& title, const QString& text, MessageKind kind) {
    return ShowErrorsEnterOn(title, text, kind, MessageButton::Da | MessageButton::Nu, MessageButton::Nu) ==
           MessageResult::Da;
}

void Messages::report(const Error& error) {
    ShowErrors(QString(), error.text(), MessageKind::Error, MessageButton::Ok);
}

bool Messages::guard(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const Error& e) {
        report(e);
        return false;
    }
}

Services::Services(Folders folders_, std::unique_ptr<Messages> messages,
                   std::unique_ptr<Progress> progress, std::unique_ptr<Desktop> desktop,
                   std::unique_ptr<Clock> clock)
    : folders(std::move(folders_)), database_(std::make_unique<db::Database>(folders.program)),
      registry_(std::make_unique<ReleaseRegistry>(ReleaseRegistry::defaultFolder())),
      messages_(std::move(messages)),
      progress_(std::move(progress)), desktop_(std::move(desktop)), clock_(std::move(clock)) {
    // A context without one of them would only fail later, deep inside some action.
    if (!messages_ || !progress_ || !desktop_ || !clock_)
        throw std::invalid_argument("Services: every interface must be given");
    // The session marks its data folder in use, so that a restore (which replaces every file
    // of it) waits until the program is closed here. A folder a restore holds at this moment
    // leaves the mark off; the restore ends the program that runs it.
    if (!folders.data.isEmpty() && QFileInfo(folders.data).isDir()) {
        try {
            db::holdFolder(*database_, folders.data, db::LockKind::Shared);
        } catch (const Error&) {
        }
    }
}

Services::~Services() = default;

void Services::setRegistry(const ReleaseRegistry& registry) { *registry_ = registry; }

CountersFile Services::counters() const { return CountersFile(folders.data + QStringLiteral("/Vartesa.set")); }

ActionLog Services::actionLog() const {
    ActionLog log(*database_, folders.data, folders.program, *clock_);
    log.setUser(user);
    return log;
}

} // namespace vartesa
