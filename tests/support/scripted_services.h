#pragma once
// Scripted stand-ins for the windows the core talks to, and a services context over a
// fresh temporary folder. A test queues the clerk's answers, runs the code, then looks at
// what was shown:
//
//     TestServices env;
//     env.messages().answerNext("DA");
//     deleteRole(env.services(), ...);
//     EXPECT_EQ(env.messages().shown().at(0).title, "Stergere gospodarie");

#include "shell/services.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <vector>

namespace vartesa::test {

/// One problem window as it was shown.
struct ShownMessage {
    QString title;          // heading as the caller gave it
    QString text;           // message text
    MessageKind kind;       // caption and icon
    MessageButtons buttons; // buttons offered
    MessageResult answer;   // what the scripted clerk chose
    bool defaulted;         // no answer was queued: the default was used
    MessageButton enterButton = MessageButton::Ok; // the button Enter would have pressed
};

/// One problem balloon as it was shown.
struct ShownHint {
    QString text;   // message text
    QString anchor; // objectName of the field it points at; empty when none
};

/// Answers questions from a queue and records every message.
/// With the queue empty the clerk presses OK when offered, otherwise closes the window
/// (RENUNT), as the real window reads Escape. A queued answer the window does not offer
/// fails the test; answers left unused when this object dies fail it too, since a question
/// the test expected was never asked.
class ScriptedMessages final : public Messages {
public:
    ~ScriptedMessages() override;

    /// Queues the answer to the next question that offers buttons.
    void answerNext(MessageResult answer);
    /// Same, by caption: "DA", "NU", "OK" or "RENUNT".
    void answerNext(const QString& caption);

    MessageResult ShowErrors(const QString& title, const QString& text, MessageKind kind,
                             MessageButtons buttons) override;
    MessageResult ShowErrorsEnterOn(const QString& title, const QString& text, MessageKind kind,
                                    MessageButtons buttons, MessageButton enterButton) override;
    void ShowProblemHint(const QString& text, QObject* anchor) override;

    const std::vector<ShownMessage>& shown() const { return shown_; }
    const std::vector<ShownHint>& hints() const { return hints_; }
    /// Titles of the messages shown, in order: the quickest thing to assert on.
    QStringList titles() const;
    /// Answers queued and not yet used.
    std::size_t pendingAnswers() const { return queue_.size(); }
    /// Forgets what was shown (the queue stays).
    void clearShown();

private:
    std::deque<MessageResult> queue_;
    std::vector<ShownMessage> shown_;
    std::vector<ShownHint> hints_;
};

/// Records what the progress window would show.
class ScriptedProgress final : public Progress {
public:
    void Arata(const QString& title) override;
    void Describe(const QString& text) override;
    void SetMaximum(int maximum) override;
    void Step(int n = 1) override;
    void Distruge() override;

    bool isShown() const { return shown_; }
    int value() const { return value_; }     // bar position since the last Arata/Describe
    int maximum() const { return maximum_; } // 100 unless a caller set another
    int totalSteps() const { return totalSteps_; } // every step since construction
    /// Every description shown, the titles of Arata included, in order.
    const QStringList& descriptions() const { return descriptions_; }
    /// Number of times the window was shown and hidden again.
    int timesShown() const { return timesShown_; }
    int timesHidden() const { return timesHidden_; }

private:
    bool shown_ = false;
    int value_ = 0;
    int maximum_ = 100;
    int totalSteps_ = 0;
    int timesShown_ = 0;
    int timesHidden_ = 0;
    QStringList descriptions_;
};

/// Records the files handed to the desktop; like the real desktop it refuses missing files.
class ScriptedDesktop final : public Desktop {
public:
    bool openFile(const QString& path) override;

    /// Every path handed over, missing files included, in order.
    const QStringList& handed() const { return handed_; }
    /// The paths that existed when handed over: what the clerk would have seen opened.
    const QStringList& opened() const { return opened_; }

private:
    QStringList handed_;
    QStringList opened_;
};

/// A clock that shows the time a test sets; 15.01.2015 10:00 until told otherwise.
class ScriptedClock final : public Clock {
public:
    ScriptedClock();
    void setToday(const QDate& day); // keeps the time of day
    void setNow(const QDateTime& moment);
    QDate today() const override { return now_.date(); }
    QDateTime now() const override { return now_; }

private:
    QDateTime now_;
};

/// A services context over a fresh temporary folder, removed with this object:
/// program folder <tmp>/program, data (= default data) <tmp>/program/Data,
/// machine folder <tmp>/machine, all created.
class TestServices {
public:
    TestServices();

    Services& services() { return services_; }
    const Folders& folders() const { return services_.folders; }
    ScriptedMessages& messages() { return *messages_; }
    ScriptedProgress& progress() { return *progress_; }
    ScriptedDesktop& desktop() { return *desktop_; }
    ScriptedClock& clock() { return *clock_; }
    /// The temporary folder everything lives under.
    QString root() const { return dir_.path(); }

private:
    Services makeServices();

    QTemporaryDir dir_;                    // removed with everything in it at the end
    ScriptedMessages* messages_ = nullptr; // owned by services_
    ScriptedProgress* progress_ = nullptr;
    ScriptedDesktop* desktop_ = nullptr;
    ScriptedClock* clock_ = nullptr;
    Services services_; // built last: it takes ownership of the four above
};

} // namespace vartesa::test
