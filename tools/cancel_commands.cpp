// vartesa-tool cancel: cancels a payment document as "Anuleaza chitanta" does, with the same
// rules (a cashier only own documents, only the last document of the role, the year lock).

#include "commands.h"
#include "shell/console_services.h"

#include "cash/cancellation.h"
#include "db/error.h"
#include "shell/users_file.h"

#include <QTextStream>

namespace vartesa::tool {
namespace {

struct CancelOptions {
    QString folder;  // data folder
    qint64 idchit = 0;
    QString user;    // --user: who cancels
    bool ok = false;
};

CancelOptions parseCancelOptions(const QStringList& args) {
    CancelOptions o;
    QStringList plain;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--user") && i + 1 < args.size()) o.user = args[++i].trimmed().toUpper();
        else if (args[i].startsWith(QLatin1String("--"))) return o;
        else plain << args[i];
    }
    if (plain.size() != 2 || o.user.isEmpty()) return o;
    o.folder = plain[0];
    o.idchit = plain[1].toLongLong(&o.ok);
    return o;
}

// The user's grade as the users file keeps it.
UserGrade gradeOf(const QString& folder, const QString& user) {
    for (const UserRecord& r : UsersFile::inFolder(folder).readAll())
        if (r.name == user) return r.grade;
    throw Error(QStringLiteral("Utilizatorul %1 nu exista.").arg(user), folder);
}

void printRestored(QTextStream& out, const CancelResult& result) {
    for (const RestoredRow& row : result.restored) {
        QStringList changes;
        for (const RestoredValue& v : row.values)
            changes << QStringLiteral("%1 %2 -> %3").arg(v.field).arg(v.before).arg(v.after);
        out << row.table << ' ' << row.id << ": " << changes.join(QStringLiteral(", ")) << '\n';
    }
}

} // namespace

int runCancel(const QStringList& args) {
    const CancelOptions o = parseCancelOptions(args);
    if (!o.ok) {
        QTextStream(stderr) << "Utilizare: vartesa-tool cancel DATAFOLDER IDCHIT --user NUME\n";
        return 2;
    }
    try {
        std::unique_ptr<Services> services = ConsoleServices(o.folder);
        services->user = o.user;
        services->grade = gradeOf(services->folders.data, o.user);
        const CancelResult result = CancelDocument(*services, o.idchit);
        if (result.refusal) {
            services->messages().showError(result.refusal->title, result.refusal->message);
            return 1;
        }
        QTextStream out(stdout);
        out << "Operatiunea a fost anulata! Linii anulate: " << result.lines << '\n';
        printRestored(out, result);
        if (!result.unlogged.isEmpty()) QTextStream(stderr) << UnloggedCancellationWarning(result.unlogged) << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
