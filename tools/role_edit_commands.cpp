// vartesa-tool role: adding, changing and deleting a role as the register window does, with
// its checks and messages (the form's questions answered DA only with --yes).

#include "commands.h"
#include "tool_arguments.h"

#include "books/roles.h"
#include "db/database.h"
#include "db/error.h"
#include "roles/declaration_pages.h"
#include "roles/role_checks.h"
#include "roles/role_register.h"
#include "roles/village_list.h"
#include "shell/counters.h"
#include "shell/table_files.h"

#include <QTextStream>

namespace vartesa::tool {
namespace {

const char* kRoleUsage =
    "Utilizare: vartesa-tool role DATAFOLDER add --village SAT --name NUMEP [--rol ROL] [--type FIZICA|JURIDICA] "
    "[--set CAMP=VALOARE]... [--yes]\n"
    "           vartesa-tool role DATAFOLDER edit IDGOS --set CAMP=VALOARE... [--yes]\n"
    "           vartesa-tool role DATAFOLDER delete IDGOS [--yes]\n";

// One field of the form typed as CAMP=VALOARE.
void setRoleField(Role& r, const QString& field, const QString& value) {
    using C = RoleColumns;
    if (field == C::village) r.village = value;
    else if (field == C::number) r.number = value;
    else if (field == C::name) r.name = value;
    else if (field == C::code) r.code = value;
    else if (field == C::address) r.address = value;
    else if (field == C::notes) r.notes = QString(value).remove('\n').remove('\r');
    else if (field == C::personType) {
        const QString type = value.trimmed().toUpper();
        if (type != kPersonNatural && type != kPersonLegal)
            throw ToolRefusal{QStringLiteral("Valoare incorecta pentru TIP: %1 (FIZICA sau JURIDICA)").arg(value)};
        r.personType = type;
    } else if (field == C::exemptBuildings) r.exemptBuildings = YesNoOf(field, value);
    else if (field == C::exemptYards) r.exemptYards = YesNoOf(field, value);
    else if (field == C::exemptIntravilan) r.exemptIntravilan = YesNoOf(field, value);
    else if (field == C::exemptVehicles) r.exemptVehicles = YesNoOf(field, value);
    else if (field == C::noPenalties) r.noPenalties = YesNoOf(field, value);
    else if (field == C::extravilanExemption) {
        r.extravilanExemption = WholeNumberOf(field, value);
        if (r.extravilanExemption > 999999) throw ToolRefusal{QStringLiteral("Valoare incorecta pentru SCTE: %1").arg(value)};
    } else throw UnknownField(field);
}

// The form's checks in the window's order; a problem is refused with its balloon's text (the
// question answered NU was already printed).
void checkForm(Services& s, RoleRegister& roles, Role& role, bool editing) {
    RoleFormProblem problem = CheckRoleForm(roles, role, editing, s.messages());
    if (problem.ok())
        problem = ConfirmNewVillage(ReadVillageList(s.folders.data + QStringLiteral("/Sate.lst")), role,
                                    editing ? QStringLiteral("Modificare gospodarie")
                                            : QStringLiteral("Adaugare gospodarie"),
                                    s.messages());
    if (!problem.ok()) throw ToolRefusal{problem.hint};
}

qint64 roleIdOf(const QString& text) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok) throw ToolRefusal{QStringLiteral("IDGOS incorect: %1").arg(text)};
    return id;
}

Role storedRole(RoleRegister& roles, qint64 id) {
    const std::optional<Role> role = roles.role(id);
    if (!role) throw ToolRefusal{QStringLiteral("Nu exista rolul cu IDGOS %1").arg(id)};
    return *role;
}

void printRole(QTextStream& out, const Role& role) {
    out << RoleColumnNames().join(',') << '\n';
    QStringList cells;
    for (const QVariant& v : RoleValues(role)) cells << csvValue(v);
    out << cells.join(',') << '\n';
}

int addRole(Services& s, RoleRegister& roles, const ToolArguments& a) {
    if (a.plain.size() != 2 || !a.options.contains("--village") || !a.options.contains("--name"))
        throw ToolRefusal{QString::fromLatin1(kRoleUsage).trimmed()};
    // The form as "&Adauga ROL" opens it: the proposed number, a natural person, no exemption.
    Role role;
    role.village = a.options.value("--village");
    role.name = a.options.value("--name");
    role.number = a.options.contains("--rol") ? a.options.value("--rol") : roles.ProposeRoleNumber();
    if (a.options.contains("--type")) setRoleField(role, RoleColumns::personType, a.options.value("--type"));
    for (const auto& [field, value] : a.sets) {
        if (field == RoleColumns::id) throw UnknownField(field);
        setRoleField(role, field, value);
    }
    checkForm(s, roles, role, false);
    CountersFile counters = s.counters();
    role.id = roles.addRole(role, counters, StoredPageDefaults(s.database(), s.folders.data));
    // A village Sate.lst lacks joins it, so the next form offers it.
    const QString list = s.folders.data + QStringLiteral("/Sate.lst");
    QStringList villages = ReadVillageList(list);
    if (!villages.contains(role.village)) WriteVillageList(list, villages << role.village);
    QTextStream(stdout) << "IDGOS," << role.id << '\n';
    return 0;
}

int editRole(Services& s, RoleRegister& roles, const ToolArguments& a) {
    if (a.plain.size() != 3 || a.sets.empty()) throw ToolRefusal{QString::fromLatin1(kRoleUsage).trimmed()};
    Role role = storedRole(roles, roleIdOf(a.plain[2]));
    for (const auto& [field, value] : a.sets) {
        if (field == RoleColumns::id) throw UnknownField(field);
        setRoleField(role, field, value);
    }
    checkForm(s, roles, role, true);
    roles.editRole(role);
    QTextStream out(stdout);
    printRole(out, storedRole(roles, role.id));
    return 0;
}

// Without --yes: what a deletion would take, the rows of the role in every table it empties.
// With it: the cascade of the window in one transaction, and the rows it took.
int deleteRole(Services& s, RoleRegister& roles, const ToolArguments& a) {
    if (a.plain.size() != 3 || !a.sets.empty()) throw ToolRefusal{QString::fromLatin1(kRoleUsage).trimmed()};
    const Role role = storedRole(roles, roleIdOf(a.plain[2]));
    std::vector<std::pair<QString, int>> rows;
    if (a.has("--yes")) {
        rows = roles.deleteRole(role.id, s.progress());
    } else {
        for (const QString& file : RoleDeletionTables()) {
            const QString table = roles.table(file);
            const QVariant n = s.database().tableExists(table)
                                   ? s.database().scalar(
                                         QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE IDGOS = ?").arg(table), {role.id})
                                   : QVariant(0);
            rows.emplace_back(file, n.toInt());
        }
    }
    QTextStream out(stdout);
    out << "TABELA,RANDURI\n";
    for (const auto& [file, n] : rows) out << csvField(file) << ',' << n << '\n';
    if (!a.has("--yes"))
        QTextStream(stderr) << "Nimic sters: gospodaria cu nr.ROL " << role.number << " din " << role.village
                            << " se sterge numai cu --yes (se sterg si toate chitantele ei).\n";
    return 0;
}

} // namespace

int runRole(const QStringList& args) {
    const ToolArguments a = ReadToolArguments(args, {"--village", "--name", "--rol", "--type"}, {"--yes"});
    const QString verb = a.plain.value(1);
    if (!a.ok() || (verb != QLatin1String("add") && verb != QLatin1String("edit") && verb != QLatin1String("delete"))) {
        if (!a.ok()) QTextStream(stderr) << a.fault << '\n';
        QTextStream(stderr) << kRoleUsage;
        return 2;
    }
    try {
        std::unique_ptr<Services> s = ToolServices(a.plain[0], a.has("--yes"));
        RoleRegister roles(s->database(), s->folders.data);
        if (!s->database().tableExists(roles.table(tables::Roles)))
            throw ToolRefusal{QStringLiteral("Lipseste tabela de roluri %1 din %2").arg(tables::Roles, s->folders.data)};
        RefuseLockedYear(*s);
        if (verb == QLatin1String("add")) return addRole(*s, roles, a);
        if (verb == QLatin1String("edit")) return editRole(*s, roles, a);
        return deleteRole(*s, roles, a);
    } catch (const ToolRefusal& r) {
        if (!r.message.isEmpty()) QTextStream(stderr) << r.message << '\n';
        return 1;
    } catch (const Error& e) {
        QTextStream(stderr) << QString(e.text()).replace('\r', '\n') << '\n';
        return 1;
    }
}

} // namespace vartesa::tool
