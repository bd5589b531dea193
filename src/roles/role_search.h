#pragma once
// The search of the register screen as a plain model: the three search fields (village,
// role number, name), the roles they let through and the current one.
//
// A village narrows the list to that village; a role number narrows it further to that
// number; a name does not narrow, it moves to the first role whose name begins with the
// typed text. Names and villages are compared through the engine's UPPER, so "ş" and "ș"
// (and "ţ", "ț") meet.

#include "books/roles.h"

#include <QString>

#include <functional>
#include <vector>

namespace vartesa {

class RoleRegister;

/// Runs the reactions to changes one at a time. A request made while a run is under way is
/// not nested: the last such request runs once when the current run ends.
class ReentryGuard {
public:
    bool busy() const { return busy_; }
    void run(std::function<void()> action);

private:
    bool busy_ = false;                    // a run is under way
    std::function<void()> pending_;        // the request that came during it
};

class RoleSearch {
public:
    explicit RoleSearch(RoleRegister& roles);

    /// Reads the register again and applies the filter in force; the current row becomes
    /// the first one let through, and the number and name fields show it (the number
    /// filter, and no name, when no role is let through).
    void open();

    // A change typed by the clerk in one of the search fields.
    /// Clears the name and number, keeps that village's roles (all with an empty village).
    void villageChanged(const QString& village);
    /// Keeps the village's roles with that number (the village's roles when empty); the
    /// field keeps what was typed, even a number no role has.
    void numberChanged(const QString& number);
    /// Drops the number filter and moves to the first role whose name begins with the text;
    /// stays put when none does.
    void nameChanged(const QString& name);

    /// The clerk moved in the list: the search fields follow the row.
    void moveTo(int row);
    /// Moves to the role with this IDGOS when it is let through, the number and name
    /// fields following it; false otherwise.
    bool locate(qint64 id);
    /// The role shown before the current one, else the one after; 0 when there is none.
    qint64 neighbourOfCurrent() const;

    // The search fields as the screen should show them.
    const QString& village() const { return village_; }
    const QString& number() const { return number_; }
    const QString& name() const { return name_; }
    void clearName() { name_.clear(); }

    /// The roles let through, in the register's order.
    int count() const { return int(shown_.size()); }
    const Role& role(int row) const { return rows_[size_t(shown_[size_t(row)])].role; }
    /// Current row among those let through; -1 when none is.
    int current() const { return current_; }
    const Role* currentRole() const { return current_ < 0 ? nullptr : &role(current_); }
    /// Rows let through whose upper-case name begins with the text (compared as the name
    /// search compares).
    std::vector<int> rowsNamed(const QString& text) const;
    /// Roles in the register, whatever the filter.
    int total() const { return int(rows_.size()); }

private:
    struct Row {
        Role role;
        QString upperName;    // NUMEM
        QString upperVillage; // the village as the engine's UPPER gives it
    };
    QString upper(const QString& text) const;
    void applyFilter(const QString& village, const QString& number);
    void showCurrentNumber();
    void showCurrentRoleFields();

    RoleRegister& roles_;
    std::vector<Row> rows_;  // the whole register in its order
    std::vector<int> shown_; // indexes into rows_ of the roles let through
    int current_ = -1;       // index into shown_
    QString village_;        // SatCombo
    QString number_;         // ROLEd
    QString name_;           // CapGosp
    QString filterVillage_;  // the filter in force: village ("" for all)
    QString filterNumber_;   // and role number ("" for any)
};

} // namespace vartesa
