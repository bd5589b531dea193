#pragma once
// A data folder for the summonses: the collection tables of the account tests, Titlu.rtf
// written out as start-up writes it, and a clerk in the users file.

#include "cash/cash_test_util.h"

#include "documents/summonses.h"
#include "shell/file_helpers.h"
#include "shell/users_file.h"

namespace vartesa::test {

class SummonsFolder : public CashFolder {
public:
    SummonsFolder() {
        WriteResourceToFile(QStringLiteral("TITLU"), QStringLiteral("MODEL"), env.folders().data + "/Titlu.rtf");
        UsersFile::inFolder(env.folders().data).create({"ION", "", UserGrade::Cashier, "L-7"});
    }
    QString outputBase() const { return env.folders().program + QStringLiteral("/SomTit"); }
    int rows(const QString& file) { return db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(path(file))).toInt(); }
    /// A role owing 120 lei of building tax, unpaid.
    qint64 owing(const QString& name = QStringLiteral("POPA ION")) {
        const qint64 role = addRole(name);
        balance(role, {"Impozit pe cladiri", 120, 120});
        return role;
    }
    /// Issues a summons to `role` on `date`, accepting its lines.
    SummonsIssue issue(qint64 role, const QDate& date, bool accept = true) {
        return IssueSummons(env.services(), ReadSummonsPrintSettings(env.services(), "ION"), {false, true, true, {}}, role,
                            date, [accept](const SummonsDetail&) { return accept; }, outputBase(), false);
    }
};

} // namespace vartesa::test
