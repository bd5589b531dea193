#pragma once
// The ways the core reaches the clerk (messages, progress, the desktop, the clock) and the
// services context that carries them, with the folders, through the whole program.
// Windows implement the interfaces; tests script them (tests/support/scripted_services.h).
// Nothing here is global: start-up builds one Services and passes it explicitly.

#include <QDate>
#include <QDateTime>
#include <QFlags>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QObject;

namespace vartesa {

class ActionLog;
class CountersFile;
class ReleaseRegistry;
namespace db {
class Database;
}

class Error;

/// Kind of a problem window: chooses its caption, icon and colours. The numbers are the
/// codes the callers have always passed (0 warning, 1 error, 2 information, 3 question).
enum class MessageKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3 };

/// One button of the problem window; the values form the bit set callers combine.
enum class MessageButton { Da = 1, Nu = 2, Ok = 4, Renunt = 8 };
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

/// What the clerk chose. Renunt also stands for Escape and for closing the window.
enum class MessageResult { Ok = 1, Renunt = 2, Da = 6, Nu = 7 };

/// Window caption for a kind: "Atentie !", "Eroare", "Informatie", "Confirmare".
QString messageCaption(MessageKind kind);
/// Heading shown when the caller gives no title.
QString defaultMessageTitle();
/// Caption of a button: "DA", "NU", "OK", "RENUNT".
QString buttonCaption(MessageButton button);
/// The result a button gives when pressed.
MessageResult resultOf(MessageButton button);
/// The chosen buttons in the order the window shows them: DA, NU, OK, RENUNT.
std::vector<MessageButton> orderedButtons(MessageButtons buttons);
/// The button a caption names ("DA", "nu", ...); throws Error for any other text.
MessageButton buttonNamed(const QString& caption);

/// The problem window and the balloon next to a field.
class Messages {
public:
    virtual ~Messages() = default;

    /// Modal problem window: heading `title` (default "PROBLEMA"), `text` split into lines
    /// at carriage returns. Returns the button pressed; Renunt on Escape or close. With no
    /// button chosen nothing is shown and the result is Renunt.
    virtual MessageResult ShowErrors(const QString& title, const QString& text, MessageKind kind,
                                     MessageButtons buttons) = 0;
    /// ShowErrors with `enterButton` answering Enter instead of the first button. A window
    /// that has no Enter key to answer (the console's) keeps this plain ShowErrors.
    virtual MessageResult ShowErrorsEnterOn(const QString& title, const QString& text, MessageKind kind,
                                            MessageButtons buttons, MessageButton enterButton) {
        (void)enterButton;
        return ShowErrors(title, text, kind, buttons);
    }

    /// Balloon "Problema !" holding `text`, next to `anchor` (a field) when given; closes by
    /// itself and does not block.
    virtual void ShowProblemHint(const QString& text, QObject* anchor) = 0;

    // The shapes the system uses; each is one ShowErrors call.

    /// Error with an OK button.
    void showError(const QString& title, const QString& text);
    /// Information with an OK button.
    void showInformation(const QString& title, const QString& text);
    /// DA/NU question; true only when the clerk chose DA.
    bool askYesNo(const QString& title, const QString& text,
                  MessageKind kind = MessageKind::Confirmation);
    /// DA/NU question whose DA deletes or replaces data: Enter answers NU, so a clerk who
    /// presses it out of habit loses nothing. True only when the clerk chose DA.
    bool askYesNoDefaultNu(const QString& title, const QString& text,
                            MessageKind kind = MessageKind::Confirmation);
    /// The general error report: an error the action did not catch, shown with its text.
    void report(const Error& error);
    /// Runs one action of the clerk; an error it throws is reported and ends only that action.
    /// True when the action ran to its end.
    bool guard(const std::function<void()>& action);
};

/// The progress window of long work: a description line and a bar from 0 to a maximum.
class Progress {
public:
    virtual ~Progress() = default;

    /// Shows the window with `title` as its description and the bar at 0.
    virtual void Arata(const QString& title) = 0;
    /// New description; the bar goes back to 0.
    virtual void Describe(const QString& text) = 0;
    /// Maximum of the bar: 100 unless the caller sets another (such as a record count).
    virtual void SetMaximum(int maximum) = 0;
    /// Advances the bar by `n` and lets the screen update.
    virtual void Step(int n = 1) = 0;
    /// Hides the window.
    virtual void Distruge() = 0;
};

/// Long work without windows (the command line) shows no progress.
class SilentProgress final : public Progress {
public:
    void Arata(const QString&) override {}
    void Describe(const QString&) override {}
    void SetMaximum(int) override {}
    void Step(int) override {}
    void Distruge() override {}
};

/// Keeps the progress window shown for a scope, so a failing step still closes it.
class ProgressShown {
public:
    ProgressShown(Progress& progress, const QString& title) : progress_(progress) {
        progress_.Arata(title);
    }
    ~ProgressShown() { progress_.Distruge(); }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    Progress& progress_; // window closed on scope exit
};

/// The desktop's "open" action: filled documents and lists go to the default application.
class Desktop {
public:
    virtual ~Desktop() = default;
    /// Hands the file at `path` to its default application; false when that failed or the
    /// file does not exist.
    virtual bool openFile(const QString& path) = 0;
};

/// Today's date and time; injected so tests can fix the day penalties and receipts use.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QDateTime now() const = 0;
};

/// The machine's own clock.
class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

/// Folders of a run, absolute, with '/' separators and no trailing slash.
struct Folders {
    QString program;     // working tables, filled documents, this machine's log
    QString data;        // where the tables live: the default data folder or the owning
                         // machine's data folder reached over the network
    QString defaultData; // program + "/Data": this machine's own database
    QString machine;     // per-user state folder for scratch work that outlives a run

    /// Local mode: this machine owns the database it works on.
    bool isLocalMode() const { return data == defaultData; }
};

/// What a user may do: the grade kept with the user in the users file.
enum class UserGrade { Admin = 0, RolOperator = 1, Cashier = 2, Unknown = 3 };

/// The services context: built once at start-up (or per test) and passed explicitly.
/// It owns the four interfaces; they live exactly as long as the context.
class Services {
public:
    /// Every interface must be given; a missing one throws std::invalid_argument.
    Services(Folders folders, std::unique_ptr<Messages> messages,
             std::unique_ptr<Progress> progress, std::unique_ptr<Desktop> desktop,
             std::unique_ptr<Clock> clock);
    ~Services();
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    Folders folders; // fixed for the run once start-up has chosen the data folder
    QString user;    // logged-in user, upper case; written with every logged action
    UserGrade grade = UserGrade::Unknown; // of the logged-in user
    QString userPassword; // as typed at login: finds the user's record again
    QString userCard;     // card number ("Legitimatia") of the logged-in user

    bool IsAdministrator() const { return grade == UserGrade::Admin; }
    bool IsCashier() const { return grade == UserGrade::Cashier; }

    /// The database engine; tables are named by full path, relative names go to the
    /// program folder.
    db::Database& database() const { return *database_; }
    /// The release's values (SERVER, VER, CALE, CALESALVARI); tests point it elsewhere.
    ReleaseRegistry& registry() { return *registry_; }
    void setRegistry(const ReleaseRegistry& registry);
    /// The counters file of the data folder.
    CountersFile counters() const;
    /// The action log of the data folder and this machine, writing as `user`.
    ActionLog actionLog() const;

    Messages& messages() const { return *messages_; }
    Progress& progress() const { return *progress_; }
    Desktop& desktop() const { return *desktop_; }
    const Clock& clock() const { return *clock_; }

private:
    std::unique_ptr<db::Database> database_;
    std::unique_ptr<ReleaseRegistry> registry_;
    std::unique_ptr<Messages> messages_;
    std::unique_ptr<Progress> progress_;
    std::unique_ptr<Desktop> desktop_;
    std::unique_ptr<Clock> clock_;
};

} // namespace vartesa
