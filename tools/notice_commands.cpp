// vartesa-tool notices: the payment notices of a village, or of one role, written as one
// rich-text document, and what each notice asks as CSV.

#include "commands.h"

#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "cash/account.h"
#include "cash/receipt.h"
#include "db/error.h"
#include "documents/payment_notices.h"
#include "shell/console_services.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/settings_table.h"
#include "shell/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vartesa::tool {
namespace {

const char* const kUsage = "notices DATAFOLDER (--village SAT [--from-rol N --to-rol M] | --role IDGOS) "
                           "[--date zz.ll.aaaa] [--number N] [--reg-date zz.ll.aaaa] --out DIRECTOR";

struct NoticeOptions {
    QString folder;      // data folder
    QString out;         // --out: where the document goes
    NoticeChoice choice; // the dialog's fields
    bool ok = false;
};

bool isNumber(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

NoticeOptions parseNoticeOptions(const QStringList& args) {
    NoticeOptions o;
    QStringList plain;
    bool village = false, role = false, registered = false;
    o.choice.date = QDate::currentDate();
    o.choice.firstNumber = 1;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (!a.startsWith(QLatin1String("--"))) {
            plain << a;
            continue;
        }
        if (!hasValue) return o;
        const QString v = args[++i];
        bool good = true;
        if (a == QLatin1String("--village")) {
            o.choice.village = v;
            village = true;
        } else if (a == QLatin1String("--from-rol")) {
            o.choice.fromRole = v;
            good = isNumber(v);
        } else if (a == QLatin1String("--to-rol")) {
            o.choice.toRole = v;
            good = isNumber(v);
        } else if (a == QLatin1String("--role")) {
            o.choice.roleId = v.toLongLong(&good);
            role = true;
        } else if (a == QLatin1String("--date")) {
            o.choice.date = QDate::fromString(v, QStringLiteral("dd.MM.yyyy"));
            good = o.choice.date.isValid();
        } else if (a == QLatin1String("--reg-date")) {
            o.choice.registered = QDate::fromString(v, QStringLiteral("dd.MM.yyyy"));
            good = registered = o.choice.registered.isValid();
        } else if (a == QLatin1String("--number")) {
            o.choice.firstNumber = v.toLongLong(&good);
        } else if (a == QLatin1String("--out")) {
            o.out = QDir::cleanPath(QDir(v).absolutePath());
        } else {
            good = false;
        }
        if (!good) return o;
    }
    if (plain.size() != 1 || o.out.isEmpty() || village == role) return o;
    if (!registered) o.choice.registered = o.choice.date;
    o.folder = QDir::cleanPath(QDir(plain[0]).absolutePath());
    o.ok = true;
    return o;
}

} // namespace

int runNotices(const QStringList& args) {
    const NoticeOptions o = parseNoticeOptions(args);
    if (!o.ok) {
        QTextStream(stderr) << "Utilizare: vartesa-tool " << kUsage << '\n';
        return 2;
    }
    if (o.choice.roleId == 0) {
        if (auto refused = CheckNoticeChoice(o.choice.village, o.choice.fromRole, o.choice.toRole)) {
            QTextStream(stderr) << refused->text << '\n';
            return 1;
        }
    }
    try {
        std::unique_ptr<Services> services = ConsoleServices(o.out, o.folder, OpenedFiles::Ignored);
        db::Database& db = services->database();
        const CountersFile counters(o.folder + QStringLiteral("/Vartesa.set"));
        const NoticeSettings settings{TownHallFrom(AdminConstants::stored(db, o.folder)), ReadAccountRules(counters, db, o.folder),
                                      WorkingYear().toInt()};
        QStringList lines{QStringLiteral("NR,IDGOS,ROL,NUMEP,IMPOZITE,TAXE,DEBITE,TOTAL")};
        const NoticeRun run = GeneratePaymentNotices(
            *services, settings, o.choice, o.out + QStringLiteral("/Instiintare"), [&](const NoticeWritten& n) {
                lines << QStringList{QString::number(n.number), QString::number(n.role.id), csvField(n.role.number),
                                     csvField(n.role.name),     QString::number(n.taxes),  QString::number(n.claims),
                                     QString::number(n.debits), QString::number(n.total)}
                             .join(',');
            });
        if (!run.rolesChosen) return 1; // the message is on standard error
        QTextStream out(stdout);
        for (const QString& line : lines) out << line << '\n';
        out << "COUNT," << run.count << '\n' << "TOTAL," << run.total << '\n';
        if (!run.file.isEmpty()) out << "FILE," << csvField(QFileInfo(run.file).fileName()) << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
