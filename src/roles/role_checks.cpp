#include "roles/role_checks.h"

#include "roles/role_register.h"
#include "db/cp1250.h"
#include "shell/services.h"
#include "shell/text_helpers.h"

#include <QDate>

namespace vartesa {

namespace {

bool allDigits(const QString& text) {
    for (QChar c : text)
        if (c < '0' || c > '9') return false;
    return !text.isEmpty();
}

int digit(const QString& text, int i) { return text.at(i).unicode() - '0'; }

// Century of the birth year by the first digit; 0 for a digit the register does not accept.
int centuryOf(int first) {
    switch (first) {
    case 1: case 2: case 7: case 8: case 9: return 1900;
    case 5: case 6: return 2000;
    default: return 0;
    }
}

} // namespace

bool IsValidCnp(const QString& code) {
    if (code.size() != 13 || !allDigits(code)) return false;
    const int century = centuryOf(digit(code, 0));
    if (century == 0) return false;
    const QDate born(century + digit(code, 1) * 10 + digit(code, 2), digit(code, 3) * 10 + digit(code, 4),
                     digit(code, 5) * 10 + digit(code, 6));
    if (!born.isValid()) return false;
    static const int kWeights[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += digit(code, i) * kWeights[i];
    const int control = sum % 11 == 10 ? 1 : sum % 11;
    return digit(code, 12) == control;
}

bool IsAcceptableRoleCode(const QString& code) {
    const QString c = code.trimmed();
    return c.isEmpty() || IsValidCnp(c) || IsValidFiscalCode(c);
}

RoleFormProblem TidyAndCheckRole(Role& role) {
    role.address = CollapseSpaces(role.address);
    // The tables keep ş and ţ with a cedilla: "VÂRTEȘA" typed with a comma below is the
    // village already listed, not a second one.
    role.village = db::storedLetters(CollapseSpaces(role.village).toUpper());
    if (role.village.isEmpty()) return {RoleField::Village, QStringLiteral("Lipseste Localitatea!")};
    role.number = CollapseSpaces(role.number).toUpper();
    if (role.number.isEmpty()) return {RoleField::Number, QStringLiteral("Numar de ROL incorect!")};
    role.code = role.code.trimmed().toUpper();
    if (!IsAcceptableRoleCode(role.code)) return {RoleField::Code, QStringLiteral("CNP / CUI incorect!")};
    role.name = CollapseSpaces(role.name).toUpper();
    if (role.name.isEmpty()) return {RoleField::Name, QStringLiteral("Lipseste Capul de gospodarie!")};
    return {};
}

RoleFormProblem ConfirmDuplicates(RoleRegister& roles, const Role& role, bool editing, Messages& messages) {
    const qint64 except = editing ? role.id : 0;
    if (roles.countWithNumber(role.number, except) > 0 &&
        !messages.askYesNo(QStringLiteral("Verificare numar de ROL"),
                           QStringLiteral("Numarul unic de ROL exista deja!\rContinuati in halul asta?! ;)")))
        return {RoleField::Number, {}};
    if (!role.code.isEmpty()) {
        if (const std::optional<Role> other = roles.roleWithCode(role.code, except);
            other && !messages.askYesNo(QStringLiteral("Verificare CNP"),
                                        QStringLiteral("Acest CNP mai exista la ROL ") + other->number + '\r' +
                                            other->name + QStringLiteral(" !") + '\r' +
                                            QStringLiteral("Continuati memorarea ?")))
            return {RoleField::Code, {}};
    }
    return {};
}

RoleFormProblem ConfirmNewVillage(const QStringList& villages, const Role& role, const QString& title,
                                  Messages& messages) {
    for (const QString& v : villages)
        if (db::sameLetters(CollapseSpaces(v), role.village, Qt::CaseInsensitive)) return {};
    if (messages.askYesNoDefaultNu(title, QStringLiteral("Localitatea ") + role.village +
                                              QStringLiteral(" nu este in lista. O adaugam?")))
        return {};
    return {RoleField::Village, {}};
}

RoleFormProblem CheckRoleForm(RoleRegister& roles, Role& role, bool editing, Messages& messages) {
    if (RoleFormProblem p = TidyAndCheckRole(role); !p.ok()) return p;
    return ConfirmDuplicates(roles, role, editing, messages);
}

} // namespace vartesa
