#pragma once
// The users management of the administrator window: the users list working table
// U<n>.dbf of the program folder and the "Adaugare", "Modificare" and "Stergere" actions on
// the users file and each user's receipt series and next number in the counters file.
//
// Users list layout: NUME CHAR(32), PAROLA CHAR(32), GRAD CHAR(16), LEGIT CHAR(32),
// SERIA CHAR(10), NR CHAR(9). PAROLA holds the password field as stored (a hash, never
// the password in clear, once the account has logged in).

#include "shell/services.h"
#include "shell/users_file.h"

#include <QString>

#include <vector>

class QObject;

namespace vartesa {

namespace db {
class Query;
}

/// What the "Utilizatori" dialog hands over.
struct UserEntry {
    QString name;          // "Nume utilizator"
    UserGrade grade = UserGrade::RolOperator; // "Rang"
    QString card;          // "Legitimatia"
    QString series;        // "Seria" (receipt series)
    QString fromNumber;    // "De la nr." (next receipt number)
    bool clearPassword = false; // "Sterge parola" (modify only)
    bool setPassword = false;   // the account takes `password` (stored hashed), not an empty one
    QString password;           // the new password as typed
};

/// One row of the users list.
struct UserListRow {
    QString name, password, grade, card, series, number;
};

class UsersList {
public:
    /// Does not touch the disk; build() makes the working table.
    explicit UsersList(Services& services);
    /// Deletes the working table.
    ~UsersList();
    UsersList(const UsersList&) = delete;
    UsersList& operator=(const UsersList&) = delete;

    /// Opening: a fresh working table with every account of the users file except those
    /// bearing the logged-in user's name, with SERIA and CHIT of each user's counters
    /// section (NR "1" when missing). No users file: an empty list.
    void build();
    /// Deletes the working table (also done by the destructor).
    void drop();
    /// The working table; empty before build().
    const QString& path() const { return path_; }

    /// The rows ordered by name.
    std::vector<UserListRow> rows() const;
    /// The grid's query: "Numele", "Rangul", "Legitim.", "Seria", "Nr. chitanta" by name.
    db::Query gridQuery() const;
    bool isEmpty() const;

    /// Collapses the spaces of name, card number and series (in place) and checks the
    /// entry: "Lipseste numele!" for an empty name; when adding, "Acest nume mai exista!"
    /// for a name any account of the users file bears. Empty text: the entry is good.
    QString CheckEntry(UserEntry& entry, bool adding) const;

    /// Why "Modificare" cannot start on `name` (the balloon's text), or "".
    QString CannotModify(const QString& name) const;
    /// Why "Stergere" cannot start on `name`, or "": the first account, and the last account
    /// of grade ADMIN, stay.
    QString CannotDelete(const QString& name) const;
    /// Why `entry` cannot be stored over its account, or "": the last administrator keeps
    /// the grade ADMIN, or nobody could administer the users any more.
    QString CannotRegrade(const UserEntry& entry) const;

    /// "Adaugare": the row, a record with an empty password (the hashed one given with
    /// setPassword), SERIA and CHIT.
    void Add(const UserEntry& entry);
    /// "Modificare": the row, the first record of the name (grade, card number; the password
    /// kept unless clearPassword or setPassword), SERIA and CHIT. Throws vartesa::Error when the users file
    /// no longer holds the name.
    void Modify(const UserEntry& entry);
    /// "Stergere" after asking "Chiar il stergem pe <name>?": the row and the first record
    /// of the name (the last record takes its place). Returns false when the clerk said NU.
    bool Delete(const QString& name);

private:
    bool isLastAdministrator(const QString& name) const;
    void insertRow(const UserListRow& row);
    void writeReceiptCounters(const UserEntry& entry);

    Services& s_;
    QString path_; // U<n>.dbf while built
};

} // namespace vartesa
