#pragma once
// TAvansatSearch ("Alegere ROL"): the entry into collections. The cashier narrows the roles
// by village, name, code, role number, address and legal form and picks one; the account
// screen opens for it; when it closes the picker comes back, until the picker is closed.

#include "cash/role_picker.h"
#include "roles/role_search.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vartesa {

class PickerModel;
class Services;
class TGospodarieF;

class TAvansatSearch : public QDialog {
public:
    explicit TAvansatSearch(Services& services, QWidget* parent = nullptr);

    /// Collections start: every role of the register, as it is now, goes into the picker.
    void takeSnapshot();
    /// Collections end: the snapshot is dropped.
    void dropSnapshot();

    /// Shows the picker modally; the chosen role, or nothing when it was closed.
    std::optional<PickerRole> ChooseRole();
    /// Everything showing does before the window opens: filters cleared, focus in "ROL",
    /// "Incasari fara debit" hidden under the year lock.
    void prepareOpening();

    /// Gives "FaraDebB" or "Button1" the screen it opens and enables it.
    void attach(const QString& name, std::function<void()> action);

    // Handlers, named after their components.
    /// Any filter changed: the list is filtered again (once more when a change came meanwhile).
    void FilterChange();
    /// "&Am ales ROL-ul", a double click or Enter in the list.
    void AlesButClick();

    RolePicker& picker() { return picker_; }
    const std::optional<PickerRole>& chosen() const { return chosen_; }

    QComboBox* LocalitateCombo;
    QLineEdit* NumeEd;
    QLineEdit* CNPEd;
    QLineEdit* ROLEd;
    QLineEdit* AdresaEd;
    QComboBox* FormaCombo;
    QTableView* Grid;
    QPushButton* AlesBut;
    QPushButton* FaraDebB;
    QPushButton* Button1;

private:
    void refresh();
    void showCurrent();

    Services& s_;
    RolePicker picker_;
    ReentryGuard guard_;           // one refresh at a time
    PickerModel* model_;
    std::optional<PickerRole> chosen_;
    QHash<QString, std::function<void()>> actions_; // attached screens by button name
};

/// "Incasari" of the main window: snapshot, then picker and account screen in turn until
/// the picker is closed without a choice.
void RunCollections(TAvansatSearch& picker, TGospodarieF& account);

} // namespace vartesa
