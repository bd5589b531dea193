#include "shell/login.h"

#include "db/cp1250.h"
#include "db/error.h"
#include "shell/action_log.h"
#include "shell/counters.h"
#include "shell/passwords.h"
#include "shell/startup.h"
#include "shell/text_helpers.h"

namespace vartesa {

QString DefaultPassword() { return QStringLiteral("123"); }

Rights RightsOf(UserGrade grade) {
    Rights r;
    if (grade == UserGrade::Unknown) return r;
    const bool admin = grade == UserGrade::Admin;
    const bool cashier = grade == UserGrade::Cashier;
    r.administrare = !cashier;
    r.roleRegister = !cashier;
    r.backupRestore = !cashier;
    r.verification = admin;
    r.registerImport = admin;
    return r;
}

bool YearLocked(const CountersFile& counters) {
    return IsYearLocked(counters);
}

UserSession::UserSession(Services& services) : s_(services) {}

LoginResult UserSession::Login(QString& name, const QString& password) {
    name = db::storedLetters(CollapseSpaces(name)).left(UsersFile::kFieldSize);
    const QString typed = password.left(UsersFile::kFieldSize);
    UserRecord user{name, typed, UserGrade::Unknown, QString()};

    UsersFile file = UsersFile::inFolder(s_.folders.data);
    if (!file.exists()) {
        user = {QStringLiteral("ADMIN"), DefaultPassword(), UserGrade::Admin, QString()};
        file.create({user.name, hashPassword(user.password), user.grade, user.card});
        s_.messages().showInformation(QStringLiteral("PRIMA PORNIRE"),
                                      QStringLiteral("Numele este ADMIN si parola este ") + DefaultPassword() +
                                          QStringLiteral(".\rPuteti modifica parola de la Utilitare > Contul meu"));
        name = user.name;
    }

    const std::vector<UserRecord> records = file.readAll();
    std::vector<int> matches;
    for (size_t i = 0; i < records.size(); ++i) {
        const UserRecord& r = records[i];
        if (!db::sameLetters(r.name, name) || !passwordMatches(r.password, typed)) continue;
        matches.push_back(int(i));
        user.grade = r.grade;
        user.card = r.card;
        user.password = typed;
    }
    if (user.grade == UserGrade::Unknown) return LoginResult::Refused;
    rehashClearMatches(records, matches, typed);

    if (rolesTableEmpty_ && user.grade == UserGrade::Admin && newYearOffer_ && newYearOffer_())
        return LoginResult::EndProgram;

    s_.user = user.name;
    s_.grade = user.grade;
    s_.userCard = user.card;
    s_.userPassword = user.password;
    s_.actionLog().LogAction(QString(), QStringLiteral("Pornire program."));
    return LoginResult::LoggedIn;
}

void UserSession::rehashClearMatches(const std::vector<UserRecord>& records, const std::vector<int>& matches,
                                     const QString& password) {
    if (password.isEmpty()) return;
    UsersFile file = UsersFile::inFolder(s_.folders.data);
    for (int i : matches) {
        if (isHashedPassword(records[size_t(i)].password)) continue;
        UserRecord hashed = records[size_t(i)];
        hashed.password = hashPassword(password);
        try {
            file.overwrite(i, hashed);
        } catch (const Error&) {
            // A read-only share: the clear password still works and is hashed next time.
        }
    }
}

void UserSession::Logout() {
    s_.grade = UserGrade::Unknown;
    s_.userPassword.clear();
    s_.userCard.clear();
}

bool UserSession::formatPdf() const {
    return s_.counters().ReadCounter(s_.user, QStringLiteral("FORMATPDF")).toUpper() == QStringLiteral("DA");
}

bool UserSession::ChangeAccount(const QString& newPassword, const QString& newCard) {
    const QString title = QStringLiteral("Schimbare cont");
    UsersFile file = UsersFile::inFolder(s_.folders.data);
    const UserRecord updated{s_.user, hashPassword(newPassword.left(UsersFile::kFieldSize)), s_.grade,
                             newCard.left(UsersFile::kFieldSize)};
    const std::vector<UserRecord> records = file.exists() ? file.readAll() : std::vector<UserRecord>{};
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].name != s_.user || !passwordMatches(records[i].password, s_.userPassword)) continue;
        file.overwrite(int(i), updated);
        // The session follows the file, so a second change in the same run finds the record.
        s_.userPassword = newPassword.left(UsersFile::kFieldSize);
        s_.userCard = updated.card;
        s_.messages().showInformation(title, QStringLiteral("Modificarile au fost memorate cu succes!"));
        return true;
    }
    s_.messages().showError(title, QStringLiteral("Modificarile nu pot fi memorate!"));
    return false;
}

} // namespace vartesa
