// vartesa-tool certificate and confirmation: the fiscal certificate of a role, and the
// register of debit receipt confirmations (codes, add, list, delete, print, set-number).

#include "commands.h"
#include "shell/text_helpers.h"

#include "admin/admin_constants.h"
#include "cash/account.h"
#include "db/error.h"
#include "documents/certificate.h"
#include "documents/confirmations.h"
#include "books/roles.h"
#include "shell/console_services.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

namespace vartesa::tool {
namespace {

const char* const kCertificateUsage =
    "certificate DATAFOLDER IDGOS --out DIRECTOR [--date zz.ll.aaaa] [--number TEXT] [--request NR] "
    "[--request-date zz.ll.aaaa] [--id-type C.I.|B.I.] [--id-series S] [--id-number N] [--property K] [--place TEXT] "
    "[--purpose TEXT] [--stamp LEI] [--stamp-receipt NR] [--stamp-date zz.ll.aaaa] [--register DIRECTOR]";
const char* const kConfirmationUsage =
    "confirmation DATAFOLDER codes\n"
    "       confirmation DATAFOLDER add IDGOS --amount N --list NR --address NR --to NUME [--to-locality T] "
    "[--to-address T] [--claim GRUPA [--pj]] [--date zz.ll.aaaa] [--list-date zz.ll.aaaa] [--address-date zz.ll.aaaa]\n"
    "       confirmation DATAFOLDER list [--rol ROL] [--name TEXT]\n"
    "       confirmation DATAFOLDER delete IDCONF [--rol ROL] [--name TEXT]\n"
    "       confirmation DATAFOLDER print IDCONF --out DIRECTOR\n"
    "       confirmation DATAFOLDER set-number N";

struct Refusal {
    QString message;
};

struct Options {
    QStringList plain;              // DATAFOLDER [ACTION] [ID]
    QHash<QString, QString> values; // --out, --date ...
    bool pj = false;
    bool ok = true;

    QString folder() const { return QDir::cleanPath(QDir(plain[0]).absolutePath()); }
    QString path(const QString& name) const {
        return QDir::cleanPath(QDir().absoluteFilePath(values.value(name)));
    }
    bool has(const QString& name) const { return values.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const { return values.value(name, fallback); }
    QDate date(const QString& name, const QDate& fallback) const {
        if (!values.contains(name)) return fallback;
        const QDate d = QDate::fromString(values.value(name), QStringLiteral("dd.MM.yyyy"));
        if (!d.isValid()) throw Refusal{};
        return d;
    }
    qint64 whole(const QString& name, qint64 fallback = 0) const {
        if (!values.contains(name)) return fallback;
        bool ok = false;
        const qint64 v = values.value(name).toLongLong(&ok);
        if (!ok) throw Refusal{};
        return v;
    }
    qint64 id(int at) const {
        bool ok = false;
        const qint64 v = plain.value(at).toLongLong(&ok);
        if (!ok || plain.size() != at + 1) throw Refusal{};
        return v;
    }
};

Options parse(const QStringList& args, const QStringList& withValue) {
    Options o;
    for (int i = 0; i < args.size() && o.ok; ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--pj")) o.pj = true;
        else if (!a.startsWith(QLatin1String("--"))) o.plain << a;
        else if (withValue.contains(a) && i + 1 < args.size()) o.values[a] = args[++i];
        else o.ok = false;
    }
    return o;
}


int refused(const Refusal& r, const char* usage) {
    if (r.message.isEmpty()) {
        QTextStream(stderr) << "Utilizare: vartesa-tool " << usage << '\n';
        return 2;
    }
    QTextStream(stderr) << r.message << '\n';
    return 1;
}

// The register folder of --register after the dialog's two checks, then remembered as the
// dialog's button remembers it: a refused folder stores nothing.
QString registerFolder(Services& s, const QString& picked) {
    if (!IsRegisterFolder(picked)) throw Refusal{QStringLiteral("Calea indicata nu este corecta!")};
    if (!RegisterFolderHasParcels(picked)) throw Refusal{kRegisterUnavailable};
    return ChooseRegisterFolder(s, picked);
}

int certificate(const Options& o) {
    if (o.plain.size() != 2 || !o.has("--out")) throw Refusal{};
    const qint64 idgos = o.id(1);
    const QDate date = o.date("--date", QDate::currentDate());
    CertificateRequest r;
    r.idgos = idgos;
    r.date = date;
    r.number = o.value("--number");
    r.requestNumber = o.value("--request");
    r.requestDate = o.date("--request-date", date);
    r.idType = o.value("--id-type", QStringLiteral("C.I."));
    if (r.idType != QLatin1String("C.I.") && r.idType != QLatin1String("B.I.")) throw Refusal{};
    r.idSeries = o.value("--id-series");
    r.idNumber = o.value("--id-number");
    r.property = int(o.whole("--property"));
    r.purpose = o.value("--purpose");
    r.stampReceipt = o.value("--stamp-receipt");
    r.stampDate = o.date("--stamp-date", date);
    const QString out = o.path("--out");
    auto services = ConsoleServices(out, o.folder(), OpenedFiles::Ignored);
    Services& s = *services;
    CountersFile counters = s.counters();
    if (IsYearLocked(counters)) throw Refusal{QStringLiteral("Nu mai puteti opera in anul trecut!")};
    const std::optional<Role> role = ReadRole(s.database(), s.folders.data, idgos);
    if (!role) throw Refusal{QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(idgos)};
    r.place = o.value("--place", role->village);
    r.stamp = o.value("--stamp", counters.ReadCounter(QStringLiteral("SERVER"), QStringLiteral("CFTAXAT")));
    r.fromRegister = o.has("--register");
    if (r.fromRegister) r.registerFolder = registerFolder(s, o.path("--register"));
    AdminConstants constants;
    constants.load(s);
    const CertificateIssue done =
        IssueCertificate(s, constants, ReadAccountRules(counters, s.database(), s.folders.data), r, out + "/Cert", false);
    if (done.refused) return 1; // the message is on standard error
    QTextStream text(stdout);
    text << "CERTNR," << csvField(done.number) << "\n[PROPRIETATI]\nNR,TEXT\n";
    for (int k = 0; k < done.properties.size(); ++k) text << k + 1 << ',' << csvField(done.properties[k]) << '\n';
    text << "[CAP2B]\nTEXT\n";
    for (const QString& line : done.lines) text << csvField(line) << '\n';
    text << "[SUME]\nNR,DEN,C,R,M,T\n";
    int k = 0;
    for (const CertificateAmount& a : done.amounts)
        text << ++k << ',' << csvField(a.name) << ',' << a.current << ',' << a.arrears << ',' << a.increments << ','
             << csvField(a.code) << '\n';
    text << "FILE," << csvField(QFileInfo(done.file).fileName()) << '\n';
    return 0;
}

const char* const kListHeader = "IDCONF,NRCONF,DATACONF,SUMA,BORDNR,BORDATA,ROL,NUMEP,SATUL,ADRESA,NUMEDEST,LOCDEST,"
                                "ADRDEST,CODCL,NATCL,ADRNR,ADRDATA\n";

void printRow(QTextStream& out, const ConfirmationRecord& c) {
    out << QStringList{QString::number(c.id), QString::number(c.number), DateText(c.date), QString::number(c.amount),
                       QString::number(c.listNumber), DateText(c.listDate), csvField(c.rol), csvField(c.name),
                       csvField(c.village), csvField(c.address), csvField(c.senderName), csvField(c.senderLocality),
                       csvField(c.senderAddress), csvField(c.code), csvField(c.nature),
                       QString::number(c.addressNumber), DateText(c.addressDate)}
               .join(',')
        << '\n';
}

int codes(const Options& o) {
    if (o.plain.size() != 2) throw Refusal{};
    auto services = ConsoleServices(o.folder());
    QTextStream out(stdout);
    out << "NATCL,TIP,CODCL\n";
    for (const ConfirmationCode& c : ConfirmationCodes(services->database(), services->folders.data))
        out << csvField(c.nature) << ',' << (c.legal ? "PJ" : "PF") << ',' << csvField(c.code) << '\n';
    return 0;
}

int add(const Options& o) {
    const qint64 idgos = o.id(2);
    if (!o.has("--amount") || !o.has("--list") || !o.has("--address") || !o.has("--to")) throw Refusal{};
    auto services = ConsoleServices(o.folder());
    Services& s = *services;
    const std::optional<Role> role = ReadRole(s.database(), s.folders.data, idgos);
    if (!role) throw Refusal{QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(idgos)};
    const std::vector<ConfirmationCode> all = ConfirmationCodes(s.database(), s.folders.data);
    ConfirmationRequest r;
    r.village = role->village;
    r.idgos = idgos;
    r.amount = o.whole("--amount");
    r.date = o.date("--date", QDate::currentDate());
    r.listNumber = o.whole("--list");
    r.listDate = o.date("--list-date", r.date);
    r.addressNumber = o.whole("--address");
    r.addressDate = o.date("--address-date", r.date);
    r.senderName = o.value("--to");
    r.senderLocality = o.value("--to-locality");
    r.senderAddress = o.value("--to-address");
    bool found = false;
    for (const ConfirmationCode& c : all)
        if (!o.has("--claim") ? !found
                              : c.nature.compare(o.value("--claim").trimmed(), Qt::CaseInsensitive) == 0 && c.legal == o.pj) {
            r.code = c;
            found = true;
        }
    if (!found) throw Refusal{QStringLiteral("Codul de clasificare nu exista!")};
    CountersFile counters = s.counters();
    const ConfirmationAdded added = AddConfirmation(s.database(), s.folders.data, counters, r);
    if (added.problem) throw Refusal{added.problem->message};
    QTextStream out(stdout);
    out << kListHeader;
    printRow(out, added.record);
    out << "IDCONF," << added.record.id << '\n';
    return 0;
}

int list(const Options& o) {
    if (o.plain.size() != 2) throw Refusal{};
    auto services = ConsoleServices(o.folder());
    QTextStream out(stdout);
    out << kListHeader;
    for (const ConfirmationRecord& c :
         ReadConfirmations(services->database(), services->folders.data, o.value("--rol"), o.value("--name")))
        printRow(out, c);
    return 0;
}

int remove(const Options& o) {
    const qint64 id = o.id(2);
    auto services = ConsoleServices(o.folder());
    const bool deleted = DeleteLastConfirmation(*services, id, o.value("--rol"), o.value("--name"), [](const QString& q) {
        QTextStream(stderr) << q << " DA\n";
        return true;
    });
    return deleted ? 0 : 1;
}

int print(const Options& o) {
    const qint64 id = o.id(2);
    if (!o.has("--out")) throw Refusal{};
    auto services = ConsoleServices(o.path("--out"), o.folder(), OpenedFiles::Ignored);
    Services& s = *services;
    if (ReadConfirmation(s.database(), s.folders.data, id).id == 0)
        throw Refusal{QStringLiteral("Confirmarea %1 nu exista!").arg(id)};
    const QString file = PrintConfirmation(s, id, s.folders.program + QStringLiteral("/Confirm"), false);
    if (file.isEmpty()) return 1; // the missing template is on standard error
    QTextStream(stdout) << "FILE," << csvField(QFileInfo(file).fileName()) << '\n';
    return 0;
}

int setNumber(const Options& o) {
    const qint64 number = o.id(2);
    auto services = ConsoleServices(o.folder());
    CountersFile counters = services->counters();
    if (const std::optional<QString> problem = SetConfirmationNumber(counters, number)) throw Refusal{*problem};
    QTextStream(stdout) << "CONFNR," << NextConfirmationNumber(counters) << '\n';
    return 0;
}

} // namespace

int runCertificate(const QStringList& args) {
    static const QStringList withValue{"--out",       "--date",      "--number",   "--request",       "--request-date",
                                       "--id-type",   "--id-series", "--id-number", "--property",     "--place",
                                       "--purpose",   "--stamp",     "--stamp-receipt", "--stamp-date", "--register"};
    try {
        const Options o = parse(args, withValue);
        if (!o.ok) throw Refusal{};
        return certificate(o);
    } catch (const Refusal& r) {
        return refused(r, kCertificateUsage);
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

int runConfirmation(const QStringList& args) {
    static const QStringList withValue{"--amount",      "--list", "--address", "--to",   "--to-locality", "--to-address",
                                       "--claim",       "--date", "--list-date", "--address-date", "--rol",  "--name",
                                       "--out"};
    static const QHash<QString, int (*)(const Options&)> actions{{"codes", codes},   {"add", add},
                                                                 {"list", list},     {"delete", remove},
                                                                 {"print", print},   {"set-number", setNumber}};
    try {
        const Options o = parse(args, withValue);
        const auto action = o.ok && o.plain.size() >= 2 ? actions.find(o.plain[1]) : actions.end();
        if (action == actions.end()) throw Refusal{};
        return action.value()(o);
    } catch (const Refusal& r) {
        return refused(r, kConfirmationUsage);
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

} // namespace vartesa::tool
