// vartesa-tool assess: "Adaugare la plata" for one role or for every village, as the role
// register screen runs it; vartesa-tool demo: a synthetic commune, assessed.

#include "commands.h"
#include "shell/console_services.h"

#include "db/database.h"
#include "db/error.h"
#include "roles/assessment.h"
#include "roles/role_register.h"
#include "datafolder/synthetic_commune.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/table_files.h"

#include <QDate>
#include <QTextStream>

namespace vartesa::tool {
namespace {

struct AssessOptions {
    QString folder;   // data folder
    qint64 role = 0;  // --role IDGOS
    bool all = false; // --all
    bool ok = false;
};

AssessOptions parseAssessOptions(const QStringList& args) {
    AssessOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--role") && i + 1 < args.size()) {
            bool number = false;
            o.role = args[++i].toLongLong(&number);
            if (!number) return o;
        } else if (a == QLatin1String("--all")) {
            o.all = true;
        } else if (!a.startsWith(QLatin1String("--")) && o.folder.isEmpty()) {
            o.folder = a;
        } else {
            return o;
        }
    }
    o.ok = !o.folder.isEmpty() && (o.all != (o.role != 0));
    return o;
}

} // namespace

int runAssess(const QStringList& args) {
    const AssessOptions o = parseAssessOptions(args);
    if (!o.ok) {
        QTextStream(stderr) << "Utilizare: vartesa-tool assess DATAFOLDER (--role IDGOS | --all)\n";
        return 2;
    }
    QTextStream out(stdout);
    try {
        std::unique_ptr<Services> services = ConsoleServices(o.folder);
        const QString folder = services->folders.data;
        db::Database& db = services->database();
        if (!db.tableExists(folder + '/' + tables::Roles))
            throw Error(QStringLiteral("Lipseste tabela de roluri %1 din %2").arg(tables::Roles, folder), folder);
        AdminConstants constants;
        constants.load(*services);
        if (o.all) {
            AssessRunHooks hooks;
            hooks.refused = [&out](const Role& role) { out << RefusalText(role) << '\n'; };
            hooks.notStorable = [](const Role&, const QString& why) { QTextStream(stderr) << why << '\n'; };
            hooks.progress = [](int, int) {};
            const AssessRunResult r =
                AssessAllVillages(*services, constants, AssessmentVillageList(db, folder), hooks);
            out << "assessed " << r.assessed << ", refused " << r.refused << '\n';
            return 0;
        }
        const std::optional<Role> role = RoleRegister(db, folder).role(o.role);
        if (!role) throw Error(QStringLiteral("Nu exista rolul cu IDGOS %1").arg(o.role), folder);
        CountersFile counters = services->counters();
        Assessor assessor(db, folder, counters, constants);
        const bool assessed = assessor.assess(*role);
        if (!assessed) out << RefusalText(*role) << '\n';
        out << "assessed " << (assessed ? 1 : 0) << ", refused " << (assessed ? 0 : 1) << '\n';
        return assessed ? 0 : 1;
    } catch (const Error& e) {
        out.flush();
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

int runDemo(const QStringList& args) {
    SyntheticCommuneOptions options;
    options.workingYear = QDate::currentDate().year(); // a commune a newcomer can work in today
    QString folder;
    bool ok = true;
    for (int i = 0; i < args.size() && ok; ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--roles") && i + 1 < args.size())
            options.roles = args[++i].toInt(&ok);
        else if (a == QLatin1String("--seed") && i + 1 < args.size())
            options.seed = args[++i].toULongLong(&ok);
        else if (a == QLatin1String("--year") && i + 1 < args.size()) {
            options.workingYear = args[++i].toInt(&ok);
            ok = ok && options.workingYear >= 1900 && options.workingYear <= 9999;
        }
        else if (!a.startsWith(QLatin1String("--")) && folder.isEmpty())
            folder = a;
        else
            ok = false;
    }
    if (!ok || folder.isEmpty() || options.roles < 1 || !args.contains(QStringLiteral("--roles"))) {
        QTextStream(stderr) << "Utilizare: vartesa-tool demo DATAFOLDER --roles N [--seed S] [--year AAAA]\n";
        return 2;
    }
    try {
        std::unique_ptr<Services> services = ConsoleServices(folder);
        const SyntheticCommuneReport r = CreateSyntheticCommune(*services, options);
        QTextStream(stdout) << "roles " << r.roles << " in " << services->folders.data
                            << "\nassessed " << r.assessment.assessed << ", refused "
                            << r.assessment.refused << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
