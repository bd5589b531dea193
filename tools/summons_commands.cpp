// vartesa-tool summons: the summonses and enforcement titles of the role account and of the
// central list: issue one, list them, confirm, cancel, print, and the report of a period.

#include "commands.h"

#include "cash/account.h"
#include "db/error.h"
#include "documents/garnishments.h"
#include "documents/summonses.h"
#include "shell/console_services.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/text_helpers.h"
#include "shell/users_file.h"
#include "workbook/workbook.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

namespace vartesa::tool {
namespace {

const char* const kUsage =
    "summons DATAFOLDER issue IDGOS --user NUME [--date zz.ll.aaaa] [--dry-run] --out DIRECTOR\n"
    "       summons DATAFOLDER list\n"
    "       summons DATAFOLDER confirm IDSOM --date zz.ll.aaaa [--way POSTA|INTERNET]\n"
    "       summons DATAFOLDER cancel IDSOM --reason TEXT\n"
    "       summons DATAFOLDER print IDSOM --user NUME --out DIRECTOR\n"
    "       summons DATAFOLDER report --from zz.ll.aaaa --to zz.ll.aaaa [--person FIZICA|JURIDICA] --out FISIER.xls";

struct Refusal {
    QString message;
};

struct Options {
    QStringList plain;              // DATAFOLDER ACTION [ID]
    QHash<QString, QString> values; // --user, --date, --out ...
    bool dryRun = false;
    bool ok = true;

    QString folder() const { return QDir::cleanPath(QDir(plain[0]).absolutePath()); }
    QString out() const { return QDir::cleanPath(QDir().absoluteFilePath(values.value(QStringLiteral("--out")))); }
    QDate date(const QString& name, const QDate& fallback = {}) const {
        if (!values.contains(name)) return fallback;
        return QDate::fromString(values.value(name), QStringLiteral("dd.MM.yyyy"));
    }
};

Options parse(const QStringList& args) {
    static const QStringList withValue{"--user", "--date",  "--out",  "--way",         "--reason", "--from",
                                       "--to",   "--person", "--title", "--third-party", "--seat"};
    Options o;
    for (int i = 0; i < args.size() && o.ok; ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--dry-run")) o.dryRun = true;
        else if (!a.startsWith(QLatin1String("--"))) o.plain << a;
        else if (withValue.contains(a) && i + 1 < args.size()) o.values[a] = args[++i];
        else o.ok = false;
    }
    o.ok = o.ok && o.plain.size() >= 2;
    return o;
}


qint64 idArgument(const Options& o) {
    bool ok = false;
    const qint64 id = o.plain.value(2).toLongLong(&ok);
    if (!ok || o.plain.size() != 3) throw Refusal{};
    return id;
}

// The user of the users file who draws the document up ("[INTOCMIT]").
QString knownUser(const QString& folder, const QString& name) {
    const QString wanted = CollapseSpaces(name).toUpper();
    for (const UserRecord& u : UsersFile::inFolder(folder).readAll())
        if (!wanted.isEmpty() && u.name.toUpper() == wanted) return u.name;
    throw Refusal{QStringLiteral("Utilizatorul %1 nu exista!").arg(wanted)};
}

void refuseLockedYear(Services& s) {
    if (IsYearLocked(s.counters()))
        throw Refusal{QStringLiteral("Anul %1 este blocat de administrator!").arg(WorkingYear())};
}

void printListRow(QTextStream& out, const SummonsListRow& r) {
    const SummonsRecord& s = r.summons;
    out << QStringList{QString::number(s.id), csvField(r.name), csvField(r.rol), csvField(r.code), csvField(r.village),
                       QString::number(s.number), DateText(s.issued), csvField(s.cancelled), csvField(s.reason),
                       QString::number(s.total), DateText(s.confirmed), csvField(s.way), csvField(r.address),
                       csvField(r.type)}
               .join(',')
        << '\n';
}

const char* const kListHeader = "IDSOM,NUMEP,ROL,CNP,SATUL,NR,DINDATA,ANULAT,OBS,SUMA,DATACONF,TIPCONF,ADRESA,TIP\n";

// The header and the row of summons `id` as the central list shows it.
void printSummonsRow(Services& s, qint64 id) {
    QTextStream out(stdout);
    out << kListHeader;
    for (const SummonsListRow& r : ReadSummonsList(s.database(), s.folders.data))
        if (r.summons.id == id) printListRow(out, r);
}

int issue(const Options& o) {
    const qint64 idgos = idArgument(o);
    const QDate date = o.date(QStringLiteral("--date"), QDate::currentDate());
    if (!date.isValid() || !o.values.contains(QStringLiteral("--out"))) throw Refusal{};
    auto services = ConsoleServices(o.out(), o.folder(), OpenedFiles::Ignored);
    Services& s = *services;
    const QString clerk = knownUser(s.folders.data, o.values.value(QStringLiteral("--user")));
    refuseLockedYear(s);
    QTextStream out(stdout);
    auto accept = [&](const SummonsDetail& d) {
        out << "GRUPA,DOCJUS,TERMEN,RAMASITA,CURENT,ACCESORII,TOTAL\n";
        for (const SummonsLine& l : d.lines)
            out << QStringList{csvField(l.group), csvField(l.document), DateText(l.due), QString::number(l.arrears),
                               QString::number(l.current), QString::number(l.increments), QString::number(l.total())}
                       .join(',')
                << '\n';
        out << "TOTAL," << d.total << '\n';
        out.flush();
        if (int(d.lines.size()) > kSummonsFormLines)
            QTextStream(stderr) << QString(SummonsLinesQuestion(int(d.lines.size()))).replace('\r', ' ') << " DA\n";
        return !o.dryRun;
    };
    const CountersFile counters = s.counters();
    const SummonsIssue done = IssueSummons(s, ReadSummonsPrintSettings(s, clerk),
                                           ReadAccountRules(counters, s.database(), s.folders.data), idgos, date, accept,
                                           s.folders.program + QStringLiteral("/SomTit"), false);
    if (done.refused) return 1; // the message is on standard error
    if (done.id != 0) {
        out << "IDSOM," << done.id << '\n';
        if (!done.file.isEmpty()) out << "FILE," << csvField(QFileInfo(done.file).fileName()) << '\n';
    }
    return 0;
}

int list(const Options& o) {
    if (o.plain.size() != 2) throw Refusal{};
    auto services = ConsoleServices(o.folder());
    QTextStream out(stdout);
    out << kListHeader;
    for (const SummonsListRow& r : ReadSummonsList(services->database(), services->folders.data)) printListRow(out, r);
    return 0;
}

int confirm(const Options& o) {
    const qint64 id = idArgument(o);
    const QDate day = o.date(QStringLiteral("--date"));
    const QString way = o.values.value(QStringLiteral("--way"), QStringLiteral("POSTA")).toUpper();
    if (!day.isValid() || (way != QLatin1String("POSTA") && way != QLatin1String("INTERNET"))) throw Refusal{};
    auto services = ConsoleServices(o.folder());
    refuseLockedYear(*services);
    if (auto refused = ConfirmSummons(services->database(), services->folders.data, id, day, way)) throw Refusal{*refused};
    printSummonsRow(*services, id);
    return 0;
}

int cancel(const Options& o) {
    const qint64 id = idArgument(o);
    if (!o.values.contains(QStringLiteral("--reason"))) throw Refusal{};
    auto services = ConsoleServices(o.folder());
    refuseLockedYear(*services);
    if (auto refused = CancelSummons(services->database(), services->folders.data, id, o.values.value("--reason")))
        throw Refusal{*refused};
    printSummonsRow(*services, id);
    return 0;
}

int print(const Options& o) {
    const qint64 id = idArgument(o);
    if (!o.values.contains(QStringLiteral("--out"))) throw Refusal{};
    auto services = ConsoleServices(o.out(), o.folder(), OpenedFiles::Ignored);
    Services& s = *services;
    const QString clerk = knownUser(s.folders.data, o.values.value(QStringLiteral("--user")));
    if (!ReadSummons(s.database(), s.folders.data, id)) throw Refusal{UnknownSummons(id)};
    const QString file =
        PrintSummons(s, ReadSummonsPrintSettings(s, clerk), id, s.folders.program + QStringLiteral("/SomTit"), false);
    if (file.isEmpty()) return 1; // the missing template is on standard error
    QTextStream(stdout) << "FILE," << csvField(QFileInfo(file).fileName()) << '\n';
    return 0;
}

int report(const Options& o) {
    const QDate from = o.date(QStringLiteral("--from")), to = o.date(QStringLiteral("--to"));
    const QString person = o.values.value(QStringLiteral("--person"), kPersonNatural).toUpper();
    if (o.plain.size() != 2 || !from.isValid() || !to.isValid() || !o.values.contains(QStringLiteral("--out")) ||
        (person != kPersonNatural && person != kPersonLegal))
        throw Refusal{};
    if (to < from) throw Refusal{QStringLiteral("Perioada incorecta!")};
    auto services = ConsoleServices(o.folder());
    const QString out = o.out();
    CheckOutputFile(services->folders.data, out);
    const std::vector<SummonsReportRow> rows =
        ReadSummonsReport(services->database(), services->folders.data, from, to, person);
    BuildSummonsReport(*services, rows, from, to).save(out);
    QTextStream text(stdout);
    text << "NR,DINDATA,NUMEP,ROL,OBS\n";
    for (const SummonsReportRow& r : rows)
        text << QStringList{QString::number(r.number), DateText(r.issued), csvField(r.name), csvField(r.rol),
                            csvField(r.reason)}
                    .join(',')
             << '\n';
    return 0;
}

// vartesa-tool garnishment: the three papers of a garnishment for one role, as the account's
// "Executare silita" prints them, with their lines; nothing of the data folder changes.
int garnishment(const Options& o) {
    bool numeric = false;
    const qint64 idgos = o.plain.value(1).toLongLong(&numeric);
    const QString to = o.values.value(QStringLiteral("--to"));
    const QDate date = o.date(QStringLiteral("--date"), QDate::currentDate());
    if (!numeric || o.plain.size() != 2 || (to != QLatin1String("bank") && to != QLatin1String("employer")) ||
        !date.isValid() || !o.values.contains(QStringLiteral("--title")) || !o.values.contains(QStringLiteral("--out")))
        throw Refusal{};
    auto services = ConsoleServices(o.out(), o.folder(), OpenedFiles::Ignored);
    Services& s = *services;
    const QString clerk = knownUser(s.folders.data, o.values.value(QStringLiteral("--user")));
    refuseLockedYear(s);
    const CountersFile counters = s.counters();
    const AccountRole role = OpenAccountRole(s.database(), s.folders.data,
                                             ReadAccountRules(counters, s.database(), s.folders.data), idgos,
                                             WorkingYear().toInt());
    if (!role.found) throw Refusal{QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(idgos)};
    const ThirdParty party{o.values.value(QStringLiteral("--title")), o.values.value(QStringLiteral("--third-party")),
                           o.values.value(QStringLiteral("--seat"))};
    const GarnishmentIssue done =
        IssueGarnishment(s, ReadSummonsPrintSettings(s, clerk), role, role.role.village,
                         to == QLatin1String("bank") ? GarnishmentTo::Bank : GarnishmentTo::Employer, date,
                         [&](const GarnishmentDetail&) { return party; }, s.folders.program + QStringLiteral("/Pop"), false);
    if (done.refused || done.file.isEmpty()) return 1; // the message is on standard error
    QTextStream out(stdout);
    out << "[TITLU]\nGRUPA,DOCJUS,TERMEN,DEBIT,ACCESORII,TOTAL\n";
    for (const SummonsLine& l : done.detail.title.lines)
        out << QStringList{csvField(l.group), csvField(l.document), DateText(l.due), QString::number(l.arrears + l.current),
                           QString::number(l.increments), QString::number(l.total())}
                   .join(',')
            << '\n';
    out << "[POPRIRE]\nGRUPA,CONTT,SUMA\n";
    for (const GarnishmentLine& l : done.detail.lines)
        out << QStringList{csvField(l.group), csvField(l.account), QString::number(l.sum)}.join(',') << '\n';
    out << "TOTAL," << done.detail.title.total << '\n';
    out << "FILE," << csvField(QFileInfo(done.file).fileName()) << '\n';
    return 0;
}

} // namespace

int runSummons(const QStringList& args) {
    const Options o = parse(args);
    static const QHash<QString, int (*)(const Options&)> actions{
        {"issue", issue}, {"list", list}, {"confirm", confirm}, {"cancel", cancel}, {"print", print}, {"report", report}};
    const auto action = o.ok ? actions.find(o.plain[1]) : actions.end();
    try {
        if (action == actions.end()) throw Refusal{};
        return action.value()(o);
    } catch (const Refusal& r) {
        if (r.message.isEmpty()) {
            QTextStream(stderr) << "Utilizare: vartesa-tool " << kUsage << '\n';
            return 2;
        }
        QTextStream(stderr) << r.message << '\n';
        return 1;
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

int runGarnishment(const QStringList& args) {
    const Options o = parse(args);
    try {
        if (!o.ok) throw Refusal{};
        return garnishment(o);
    } catch (const Refusal& r) {
        if (r.message.isEmpty()) {
            QTextStream(stderr) << "Utilizare: vartesa-tool garnishment DATAFOLDER IDGOS --to bank|employer --title NR "
                                   "[--third-party NUME] [--seat TEXT] --user NUME [--date zz.ll.aaaa] --out DIRECTOR\n";
            return 2;
        }
        QTextStream(stderr) << r.message << '\n';
        return 1;
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

} // namespace vartesa::tool
