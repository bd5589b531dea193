#pragma once
// "Salvare - Restaurare" (TForm21): saves this machine's database into an archive and
// restores one. The work itself is shell/backup.h; this window asks the questions.

#include <QDialog>

#include <functional>

class QPushButton;

namespace vartesa {

class Services;

/// Serves pending repaints between chunks of long archive work, without taking input, so
/// the progress bar moves and the windows redraw while zlib works.
void ServeRepaints();

class TForm21 final : public QDialog {
public:
    /// Asks for an archive path: `title` is the dialog's title, `save` a save dialog (else an
    /// open dialog) opening on `proposed` (folder and name; empty: the dialog's own choice).
    /// Returns "" when cancelled.
    using FileChooser = std::function<QString(const QString& title, bool save, const QString& proposed)>;

    explicit TForm21(Services& services, QWidget* parent = nullptr);

    /// Enables "Restaureaza baza de date" for an administrator only and shows the window modally.
    void showWindow();
    /// Tests answer the file dialogs here.
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    /// What ends the program after a restore (QCoreApplication::exit unless set).
    void setEndApplication(std::function<void()> end) { end_ = std::move(end); }

    /// "Salveaza baza de date".
    void SaveP();
    /// "Restaureaza baza de date".
    void LoadP();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Services& s_;
    FileChooser chooser_;       // the open and save dialogs
    std::function<void()> end_; // ends the program after a restore
    QPushButton* save_;         // SaveB
    QPushButton* load_;         // LoadB
};

/// The standard archive dialogs with the filter "Arhiva Vartesa 2015 (*.vsa)", opening on
/// `proposed` when given.
QString ChooseArchiveFile(QWidget* parent, const QString& title, bool save, const QString& proposed = {});

} // namespace vartesa
