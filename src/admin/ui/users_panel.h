#pragma once
// "Gestiune utilizatori": the users of the administrator window's "general" page as a
// widget the page inserts (load() when the window opens, unload() when it closes), and the
// "Utilizatori" dialog through which an account is added or modified.

#include "shell/services.h"
#include "admin/users_admin.h"

#include <QDialog>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vartesa {

namespace db {
class QueryModel;
}

/// "Utilizatori": heading "Adaugare Utilizator" or "Modificare utilizator".
class UserDialog final : public QDialog {
public:
    /// Adding starts empty; modifying shows `row` with the name read-only.
    UserDialog(const UsersList& list, Messages& messages, const UserListRow* row, QWidget* parent = nullptr);

    /// The entry as checked by "Memoreaza" (spaces collapsed).
    const UserEntry& entry() const { return entry_; }
    /// "Memoreaza": checks the entry; a fault is shown as a balloon on "Nume utilizator".
    void MemoreazaClick();

private:
    const UsersList& list_;
    Messages& messages_;
    bool adding_;             // "Adaugare" or "Modificare"
    UserEntry entry_;         // what was accepted
    QLabel* heading_;         // HeadingLabel
    QLineEdit* name_;         // NumeEd: "Nume utilizator"
    QComboBox* grade_;        // RangCombo: "Rang"
    QLineEdit* card_;         // LegitimatiaEd
    QLineEdit* series_;       // SeriaEd: "Seria"
    QLineEdit* number_;       // DeLaNrEd: "De la nr."
    QCheckBox* clearPassword_; // StergeParolaCheck (modify only)
};

class UsersPanel final : public QWidget {
public:
    explicit UsersPanel(Services& services, QWidget* parent = nullptr);

    /// Builds the users list (the window opens). Throws vartesa::Error.
    void load();
    /// Deletes the users list (the window closes).
    void unload();

    const UsersList& list() const { return list_; }
    QTableView* grid() const { return grid_; }
    /// Name of the grid's current row; "" when there is none.
    QString currentName() const;

    void AdaugareClick();
    void ModificareClick();
    void StergereClick();

private:
    void reload(const QString& select = {});

    Services& s_;
    UsersList list_;          // U<n>.dbf
    db::QueryModel* model_;   // the grid's rows
    QTableView* grid_;        // UsersGrid
    QPushButton* add_;        // AdaugareBut
    QPushButton* modify_;     // ModificareBut
    QPushButton* remove_;     // StergereBut
};

} // namespace vartesa
