#pragma once
// The main window TForm3: a strip across the top of the screen holding the login panel and,
// once a user has logged in, the tool buttons from which every screen opens.
//
// Screens are attached by name. Every tool button and menu entry that opens a screen of its
// own has a name (the tool buttons "Incasari", "RegistruCasa", "Gospodarii",
// "Administrare"; the menu entries their action's objectName, such as
// "Instiintarideplata1"); attach() gives it the function that opens the screen and enables
// it. An entry nobody has attached stays in its menu, disabled.

#include "datafolder/daily_register_import.h"
#include "shell/login.h"
#include "shell/services.h"

#include <QHash>
#include <QMainWindow>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace vartesa {

class TForm3 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm3(Services& services, QWidget* parent = nullptr);
    ~TForm3() override;

    /// Gives the entry `name` the screen it opens and enables it (subject to the rights of
    /// the logged-in grade). Attaching again replaces the screen.
    void attach(const QString& name, std::function<void()> open);
    bool isAttached(const QString& name) const { return screens_.contains(name); }
    /// The menu entry of that objectName; null when there is none.
    QAction* action(const QString& name) const;

    UserSession& session() { return session_; }
    DailyRegisterImport& dailyImport() { return dailyImport_; }
    /// Closing the program: the automatic backup goes here once it exists.
    void setBeforeClose(std::function<void()> hook) { beforeClose_ = std::move(hook); }

    bool isLoggedIn() const;
    /// Shows the login panel and puts the cursor into "Parola" (after start-up).
    void showLoginPanel();
    /// Brings the window to the front, restored when minimised.
    void comeForward();

    QMenu* utilitiesMenu() const { return utilitiesMenu_; }
    QMenu* listsMenu() const { return listsMenu_; }

    // Handlers, named after their components.
    void StartButClick();
    void IesireClick();
    void IncasariClick();
    void RegistruCasaClick();
    void GospodariiClick();
    void ListeClick();
    void AdministrareClick();
    void UtilitareClick();
    void ContulMeuClick();
    void ModelEdit(const QString& file);
    /// Enables the utilities entries as the logged-in grade allows (when the menu opens).
    void UtilitareMenuPopup();

signals:
    /// A user has logged in; the administrator window ticks its "FormatPDF" from
    /// session().formatPdf() here.
    void loggedIn();
    /// The window was closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildLoginPanel();
    QWidget* buildToolBar();
    QPushButton* toolButton(const QString& name, const QString& caption, const QString& hint);
    void buildUtilitiesMenu();
    void buildListsMenu();
    QAction* entry(QMenu* menu, const QString& name, const QString& caption);
    void applyRights();
    /// Across the whole width of the screen, its frame at the top edge.
    void placeAtTop();
    /// A dialog that would cover the strip opens just below it, shortened to fit the screen.
    void keepBelowStrip(QWidget* window);
    void refreshEnabled();
    void openScreen(const QString& name);

    Services& s_;
    UserSession session_;
    DailyRegisterImport dailyImport_;
    QHash<QString, std::function<void()>> screens_; // attached screens by entry name
    std::function<void()> beforeClose_;             // automatic backup on closing
    bool closing_ = false;                          // closed() sent once
    bool importStarted_ = false;                    // the daily import timer runs once per run

    QWidget* loginPanel_ = nullptr;  // "Numele", "Parola", "START"
    QLineEdit* nameEdit_ = nullptr;  // NumeEd
    QLineEdit* passwordEdit_ = nullptr; // ParolaEd
    QPushButton* startButton_ = nullptr; // StartBut
    QWidget* toolBar_ = nullptr;     // the tool buttons
    QHash<QString, QPushButton*> buttons_; // tool buttons by entry name
    QLabel* dateLabel_ = nullptr;    // today's date; a click ends the program
    QMenu* utilitiesMenu_ = nullptr; // "Utilitare"
    QMenu* listsMenu_ = nullptr;     // "Liste si Formulare"
};

} // namespace vartesa
