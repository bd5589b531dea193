#include "support/scripted_services.h"

#include "shell/folders.h"
#include "shell/registry.h"

#include <QFileInfo>
#include <QObject>

#include <gtest/gtest.h>

#include <algorithm>

namespace vartesa::test {

namespace {

QString captionOf(MessageResult r) {
    switch (r) {
    case MessageResult::Da:
        return QStringLiteral("DA");
    case MessageResult::Nu:
        return QStringLiteral("NU");
    case MessageResult::Ok:
        return QStringLiteral("OK");
    case MessageResult::Renunt:
        return QStringLiteral("RENUNT");
    }
    return QStringLiteral("?");
}

bool offers(MessageButtons buttons, MessageResult r) {
    const std::vector<MessageButton> all = orderedButtons(buttons);
    return std::any_of(all.begin(), all.end(), [r](MessageButton b) { return resultOf(b) == r; });
}

} // namespace

ScriptedMessages::~ScriptedMessages() {
    if (!queue_.empty())
        ADD_FAILURE() << queue_.size() << " queued answer(s) never used; first: "
                      << captionOf(queue_.front()).toStdString();
}

void ScriptedMessages::answerNext(MessageResult answer) { queue_.push_back(answer); }

void ScriptedMessages::answerNext(const QString& caption) {
    answerNext(resultOf(buttonNamed(caption)));
}

MessageResult ScriptedMessages::ShowErrors(const QString& title, const QString& text,
                                           MessageKind kind, MessageButtons buttons) {
    const std::vector<MessageButton> offered = orderedButtons(buttons);
    return ShowErrorsEnterOn(title, text, kind, buttons, offered.empty() ? MessageButton::Ok : offered.front());
}

MessageResult ScriptedMessages::ShowErrorsEnterOn(const QString& title, const QString& text, MessageKind kind,
                                                  MessageButtons buttons, MessageButton enterButton) {
    // The real window shows nothing without buttons, so nobody could answer it.
    if (orderedButtons(buttons).empty())
        return MessageResult::Renunt;

    ShownMessage m{title, text, kind, buttons, MessageResult::Renunt, queue_.empty(), enterButton};
    if (!queue_.empty()) {
        const MessageResult queued = queue_.front();
        queue_.pop_front();
        // Escape (RENUNT) is always possible; any other answer needs its button.
        if (queued != MessageResult::Renunt && !offers(buttons, queued))
            ADD_FAILURE() << "queued answer " << captionOf(queued).toStdString()
                          << " is not a button of \"" << title.toStdString() << "\" / \""
                          << text.toStdString() << "\"";
        else
            m.answer = queued;
    } else if (buttons.testFlag(MessageButton::Ok)) {
        m.answer = MessageResult::Ok;
    }
    shown_.push_back(m);
    return m.answer;
}

void ScriptedMessages::ShowProblemHint(const QString& text, QObject* anchor) {
    hints_.push_back({text, anchor ? anchor->objectName() : QString()});
}

QStringList ScriptedMessages::titles() const {
    QStringList t;
    for (const ShownMessage& m : shown_)
        t << m.title;
    return t;
}

void ScriptedMessages::clearShown() {
    shown_.clear();
    hints_.clear();
}

void ScriptedProgress::Arata(const QString& title) {
    shown_ = true;
    value_ = 0;
    ++timesShown_;
    descriptions_ << title;
}

void ScriptedProgress::Describe(const QString& text) {
    value_ = 0;
    descriptions_ << text;
}

void ScriptedProgress::SetMaximum(int maximum) { maximum_ = maximum > 0 ? maximum : 100; }

void ScriptedProgress::Step(int n) {
    value_ = std::min(value_ + n, maximum_);
    totalSteps_ += n;
}

void ScriptedProgress::Distruge() {
    if (shown_)
        ++timesHidden_;
    shown_ = false;
    maximum_ = 100;
}

bool ScriptedDesktop::openFile(const QString& path) {
    handed_ << path;
    if (!QFileInfo(path).isFile())
        return false;
    opened_ << path;
    return true;
}

ScriptedClock::ScriptedClock() : now_(QDate(2015, 1, 15), QTime(10, 0)) {}

void ScriptedClock::setToday(const QDate& day) { now_ = QDateTime(day, now_.time()); }

void ScriptedClock::setNow(const QDateTime& moment) { now_ = moment; }

TestServices::TestServices() : services_(makeServices()) {
    // The release's values go to the test's folder, never to the user's configuration.
    services_.setRegistry(ReleaseRegistry(dir_.path() + QStringLiteral("/registry")));
}

Services TestServices::makeServices() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder for the test");
    Folders f;
    f.program = dir_.path() + QStringLiteral("/program");
    f.defaultData = f.program + QStringLiteral("/Data");
    f.data = f.defaultData;
    f.machine = dir_.path() + QStringLiteral("/machine");
    prepareFolders(f);

    auto messages = std::make_unique<ScriptedMessages>();
    auto progress = std::make_unique<ScriptedProgress>();
    auto desktop = std::make_unique<ScriptedDesktop>();
    auto clock = std::make_unique<ScriptedClock>();
    messages_ = messages.get();
    progress_ = progress.get();
    desktop_ = desktop.get();
    clock_ = clock.get();
    return Services(f, std::move(messages), std::move(progress), std::move(desktop),
                    std::move(clock));
}

} // namespace vartesa::test
