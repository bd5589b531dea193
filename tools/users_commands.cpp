// vartesa-tool users and codes: the administrator's users page and the claims with their
// budget account codes (CODCL.dbf), with the checks of their windows.

#include "commands.h"
#include "tool_arguments.h"

#include "admin/budget_codes.h"
#include "admin/users_admin.h"
#include "db/cp1250.h"
#include "db/database.h"
#include "db/error.h"
#include "shell/counters.h"
#include "shell/startup.h"
#include "shell/text_helpers.h"
#include "shell/users_file.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace vartesa::tool {
namespace {

const char* kUsersUsage =
    "Utilizare: vartesa-tool users DATAFOLDER list | add NUME --grade RANG [--card L] [--series S] [--number N] "
    "[--password-stdin] | set NUME [--grade RANG] [--card L] [--series S] [--number N] [--password-stdin] "
    "[--clear-password] | delete NUME\n";
const char* kCodesUsage = "Utilizare: vartesa-tool codes DATAFOLDER list | set IDCOD --set CAMP=VALOARE...\n"
                          "           CAMP: CODCLF CODCLJ\n";

void printUsers(QTextStream& out, const std::vector<UserListRow>& rows, const QString& only = {}) {
    out << "NUME,GRAD,LEGIT,SERIA,NR\n";
    for (const UserListRow& r : rows)
        if (only.isEmpty() || r.name == only)
            out << QStringList{csvField(r.name), csvField(r.grade), csvField(r.card), csvField(r.series),
                               csvField(r.number)}
                       .join(',')
                << '\n';
}

// The password given on standard input: its first line.
QString passwordFromStdin() {
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) throw ToolRefusal{QStringLiteral("Parola nu se poate citi")};
    return QString::fromUtf8(in.readLine()).remove('\n').remove('\r');
}

// The grades the dialog offers: an administrator's own account also keeps ADMIN.
UserGrade gradeOf(const QString& text, bool administrator) {
    const UserGrade g = GradeNamed(text.trimmed().toUpper());
    if (g == UserGrade::RolOperator || g == UserGrade::Cashier || (g == UserGrade::Admin && administrator)) return g;
    throw ToolRefusal{QStringLiteral("Rang incorect: %1 (OPERATOR DE ROL sau CASIER)").arg(text)};
}

// The typed fields of the dialog over `e`.
void fillEntry(UserEntry& e, const ToolArguments& a, bool administrator) {
    if (a.options.contains("--grade")) e.grade = gradeOf(a.options.value("--grade"), administrator);
    if (a.options.contains("--card")) e.card = a.options.value("--card").toUpper();
    if (a.options.contains("--series")) e.series = a.options.value("--series");
    if (a.options.contains("--number")) e.fromNumber = QString::number(WholeNumberOf("--number", a.options.value("--number")));
    e.clearPassword = a.has("--clear-password");
    if (a.has("--password-stdin")) {
        e.setPassword = true;
        e.password = passwordFromStdin();
    }
}

int users(const ToolArguments& a) {
    const QString verb = a.plain.value(1);
    std::unique_ptr<Services> s = ToolServices(a.plain[0], verb == QLatin1String("delete"));
    UsersList list(*s);
    list.build();
    QTextStream out(stdout);
    if (verb == QLatin1String("list") && a.plain.size() == 2) {
        printUsers(out, list.rows());
        return 0;
    }
    if (a.plain.size() != 3) throw ToolRefusal{QString::fromLatin1(kUsersUsage).trimmed()};
    UserEntry e;
    e.name = a.plain[2].toUpper(); // the dialog types names in capitals
    if (verb == QLatin1String("add")) {
        if (!a.options.contains("--grade")) throw ToolRefusal{QString::fromLatin1(kUsersUsage).trimmed()};
        fillEntry(e, a, false);
        if (const QString fault = list.CheckEntry(e, true); !fault.isEmpty()) throw ToolRefusal{fault};
        list.Add(e);
    } else if (verb == QLatin1String("set")) {
        e.name = db::storedLetters(CollapseSpaces(e.name)).toUpper();
        if (const QString why = list.CannotModify(e.name); !why.isEmpty()) throw ToolRefusal{why};
        const std::vector<UserListRow> rows = list.rows();
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const UserListRow& r) { return r.name == e.name; });
        if (row == rows.end()) throw ToolRefusal{QStringLiteral("Utilizatorul %1 nu exista.").arg(e.name)};
        // The dialog as "Modificare" fills it from the row.
        e.grade = GradeNamed(row->grade);
        e.card = row->card;
        e.series = row->series;
        e.fromNumber = row->number;
        fillEntry(e, a, e.grade == UserGrade::Admin);
        if (QString fault = list.CheckEntry(e, false); !fault.isEmpty() || !(fault = list.CannotRegrade(e)).isEmpty())
            throw ToolRefusal{fault};
        list.Modify(e);
    } else if (verb == QLatin1String("delete")) {
        e.name = db::storedLetters(CollapseSpaces(e.name)).toUpper();
        const std::vector<UserListRow> rows = list.rows();
        if (std::none_of(rows.begin(), rows.end(), [&](const UserListRow& r) { return r.name == e.name; }) &&
            !rows.empty())
            throw ToolRefusal{QStringLiteral("Utilizatorul %1 nu exista.").arg(e.name)};
        if (const QString why = list.CannotDelete(e.name); !why.isEmpty()) throw ToolRefusal{why};
        if (!list.Delete(e.name)) throw ToolRefusal{};
        out << "NUME,GRAD,LEGIT,SERIA,NR\n";
        return 0;
    } else {
        throw ToolRefusal{QString::fromLatin1(kUsersUsage).trimmed()};
    }
    printUsers(out, list.rows(), e.name);
    return 0;
}

void printCodes(QTextStream& out, const std::vector<BudgetCode>& codes, qint64 only = 0) {
    out << "IDCOD,GRUPA,CODCLF,CODCLJ,TIP\n";
    for (const BudgetCode& c : codes)
        if (only == 0 || c.id == only)
            out << QStringList{QString::number(c.id), csvField(c.group), csvField(c.personAccount),
                               csvField(c.companyAccount), csvField(c.kind)}
                       .join(',')
                << '\n';
}

int codes(const ToolArguments& a) {
    std::unique_ptr<Services> s = ToolServices(a.plain[0], false);
    CountersFile counters = s->counters();
    BudgetCodes codes(s->database(), s->folders.data, counters);
    const QString verb = a.plain.value(1);
    QTextStream out(stdout);
    if (verb == QLatin1String("list") && a.plain.size() == 2) {
        if (!s->database().tableExists(codes.path())) {
            printCodes(out, {});
            return 0;
        }
        printCodes(out, codes.all());
        return 0;
    }
    if (verb != QLatin1String("set") || a.plain.size() != 3 || a.sets.empty())
        throw ToolRefusal{QString::fromLatin1(kCodesUsage).trimmed()};
    if (IsYearLocked(counters)) throw ToolRefusal{QStringLiteral("Nu mai puteti opera in anul trecut!")};
    bool ok = false;
    const qint64 id = a.plain[2].toLongLong(&ok);
    const std::optional<BudgetCode> row =
        ok && s->database().tableExists(codes.path()) ? codes.byId(id) : std::nullopt;
    if (!row) throw ToolRefusal{QStringLiteral("Nu exista creanta cu IDCOD %1").arg(a.plain[2])};
    // The dialog as "&Modifica" fills it from the row; the claim's name stays.
    QString person = row->personAccount;
    QString company = row->companyAccount;
    for (const auto& [field, value] : a.sets) {
        if (field == QLatin1String("CODCLF")) person = value;
        else if (field == QLatin1String("CODCLJ")) company = value;
        else throw UnknownField(field);
    }
    person = CollapseSpaces(person);
    company = CollapseSpaces(company);
    if (const std::optional<ClaimProblem> p = codes.check(row->group, person, company, id)) throw ToolRefusal{p->message};
    codes.modify(id, person, company);
    printCodes(out, codes.all(), id);
    return 0;
}

} // namespace

int runUsers(const QStringList& args) {
    return RunRefusing(args, kUsersUsage, {"--grade", "--card", "--series", "--number"},
                       {"--password-stdin", "--clear-password"}, 2, users);
}

int runCodes(const QStringList& args) { return RunRefusing(args, kCodesUsage, {}, {}, 2, codes); }

} // namespace vartesa::tool
