// vartesa-tool cash-register and summary: the cash register of a day and the lists and
// summaries of a period, as the register screen makes them.

#include "commands.h"
#include "shell/console_services.h"

#include "cash/cash_register.h"
#include "cash/cash_summaries.h"
#include "db/error.h"
#include "shell/file_helpers.h"

#include <QDir>
#include <QTextStream>

namespace vartesa::tool {
namespace {

QDate dayOf(const QString& text) { return QDate::fromString(text, QStringLiteral("dd.MM.yyyy")); }

// Options after the data folder: "--name value" pairs and bare switches.
struct Options {
    QStringList plain;            // words without a dash
    QHash<QString, QString> values; // --date, --cashier, --from, --to, --out
    bool transfers = false;       // --with-transfers
    bool ok = true;
};

Options parse(const QStringList& args, const QStringList& valued) {
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--with-transfers")) {
            o.transfers = true;
        } else if (args[i].startsWith(QLatin1String("--"))) {
            if (!valued.contains(args[i]) || i + 1 >= args.size()) {
                o.ok = false;
            } else {
                o.values.insert(args[i], args[i + 1]);
                ++i;
            }
        } else {
            o.plain << args[i];
        }
    }
    return o;
}

// The tool works as the administrator: the cashier given is the one taken.
std::unique_ptr<Services> servicesFor(const QString& folder) {
    auto services = ConsoleServices(folder);
    services->grade = UserGrade::Admin;
    return services;
}

} // namespace

int runCashRegister(const QStringList& args) {
    const Options o = parse(args, {"--date", "--cashier"});
    const QDate day = dayOf(o.values.value("--date"));
    if (!o.ok || o.plain.size() != 1 || !day.isValid()) {
        QTextStream(stderr) << "Utilizare: vartesa-tool cash-register DATAFOLDER --date zz.ll.aaaa [--cashier NUME]\n";
        return 2;
    }
    try {
        auto services = servicesFor(o.plain[0]);
        CashRegister cash(*services);
        cash.Open();
        const RegisterDay d = cash.Day(day, o.values.value("--cashier"));
        QTextStream out(stdout);
        out << "DOCJUS,PLATIT,INCASAT,INCANUME\n";
        for (const RegisterRow& r : d.rows)
            out << csvField(r.document) << ',' << r.paid << ',' << r.collected << ',' << csvField(r.cashier) << '\n';
        out << "SOLD PRECEDENT," << d.previous << "\nTOTAL INCASAT," << d.collected << "\nTOTAL PLATIT," << d.paid
            << "\nDE REPORTAT," << d.carry() << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

int runSummary(const QStringList& args) {
    const Options o = parse(args, {"--from", "--to", "--out", "--cashier"});
    const QDate from = dayOf(o.values.value("--from")), to = dayOf(o.values.value("--to"));
    const std::optional<SummaryKind> kind = SummaryKindNamed(o.plain.value(1));
    if (!o.ok || o.plain.size() != 2 || !kind || !from.isValid() || !to.isValid() || o.values.value("--out").isEmpty()) {
        QTextStream(stderr) << "Utilizare: vartesa-tool summary DATAFOLDER FEL --from zz.ll.aaaa --to zz.ll.aaaa "
                               "[--with-transfers] [--cashier NUME] --out FISIER.xls\n";
        return 2;
    }
    if (auto wrong = CheckPeriod(from, to)) {
        QTextStream(stderr) << *wrong << '\n';
        return 1;
    }
    try {
        auto services = servicesFor(o.plain[0]);
        const SummaryRequest request{from, to, o.transfers, o.values.value("--cashier")};
        const QString out = QDir::cleanPath(QDir().absoluteFilePath(o.values.value("--out")));
        CheckOutputFile(services->folders.data, out);
        BuildSummary(*services, *kind, request).save(out);
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
