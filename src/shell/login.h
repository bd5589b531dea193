#pragma once
// Logging in and out against the users file, the rights each grade gives on the main
// window, and the clerk's own account ("Contul meu"). The main window reads its fields,
// calls these and shows the result; everything that decides lives here.

#include "shell/services.h"
#include "shell/users_file.h"

#include <QString>

#include <functional>

namespace vartesa {

class CountersFile;

/// Password of the first account, written when the users file is created.
QString DefaultPassword(); // "123"

/// What the logged-in grade is shown on the main window.
struct Rights {
    bool administrare = false;   // "Administrare" tool button
    bool roleRegister = false;   // "Gospodarii -Roluri-" tool button
    bool backupRestore = false;  // "Salvare - Restaurare Baza de date"
    bool verification = false;   // "Verificare baze"
    bool registerImport = false; // "Preluare date din Registru Agricol 2015-2019"
};
/// Administrators see everything; role operators all but the two administrator entries;
/// cashiers neither "Administrare" nor the role register nor the backup; nobody logged
/// in sees nothing.
Rights RightsOf(UserGrade grade);

/// The year lock: counters key "ADMINBLOCAT" + working year is "DA" (any case).
bool YearLocked(const CountersFile& counters);

/// How a "START" ended.
enum class LoginResult {
    Refused,   // no account matches: the login panel stays
    LoggedIn,  // the user is logged in
    EndProgram // the new-year import ran and asked for a restart
};

/// The logged-in user of a run, kept in the services context (user, grade, card number and
/// the password as typed).
class UserSession {
public:
    explicit UserSession(Services& services);

    /// The new-year import offered at the first administrator login into an empty
    /// database (step 5 of the login); returns true when the program must end. Not set:
    /// no offer is made.
    using NewYearOffer = std::function<bool()>;
    void setNewYearOffer(NewYearOffer offer) { newYearOffer_ = std::move(offer); }
    /// The flag roles-table-empty of start-up.
    void setRolesTableEmpty(bool empty) { rolesTableEmpty_ = empty; }

    /// "START": `name` is collapsed and cut to 32 characters (and given back so the field
    /// shows it), `password` cut to 32. Creates the users file on the first start (and says
    /// so with the default password). The last record with this name and password gives the
    /// grade and card number; a match kept in clear by an older release is rewritten hashed.
    /// On success fills the services context and logs "Pornire program.".
    /// Throws vartesa::Error when the users file cannot be read or created.
    LoginResult Login(QString& name, const QString& password);

    /// "Iesire": grade NECUNOSCUT, no password or card; the program keeps running.
    void Logout();

    /// "FORMATPDF" of the logged-in user's counters section is "DA".
    bool formatPdf() const;

    /// "Contul meu" after its checks: rewrites the first record bearing the user's name and
    /// password with the new password (hashed) and card number and says how it went. The
    /// session then holds the new password and card. Returns true when it was written.
    bool ChangeAccount(const QString& newPassword, const QString& newCard);

private:
    void rehashClearMatches(const std::vector<UserRecord>& records, const std::vector<int>& matches,
                            const QString& password);

    Services& s_;
    NewYearOffer newYearOffer_;   // step 5; not built yet when empty
    bool rolesTableEmpty_ = false; // start-up found GOSPODAR.dbf empty
};

} // namespace vartesa
