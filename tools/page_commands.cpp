// vartesa-tool page: one declaration page of a role, printed or corrected. A town hall
// scripts bulk corrections with it; the checks and messages are those of the register window.

#include "commands.h"

#include "db/database.h"
#include "db/error.h"
#include "admin/admin_constants.h"
#include "roles/assessment.h"
#include "roles/declaration_pages.h"
#include "shell/counters.h"
#include "roles/role_register.h"
#include "shell/table_files.h"

#include <QDir>
#include <QTextStream>

namespace vartesa::tool {
namespace {

struct PageOptions {
    QString folder;                           // data folder
    qint64 id = 0;                            // IDGOS
    int page = 0;                             // 1..11
    std::vector<std::pair<QString, QString>> sets; // --set FIELD=VALUE, in order
    bool ok = false;
};

PageOptions parsePageOptions(const QStringList& args) {
    PageOptions o;
    QStringList plain;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--set") && i + 1 < args.size()) {
            const QString assignment = args[++i];
            const qsizetype eq = assignment.indexOf('=');
            if (eq <= 0) return o;
            o.sets.emplace_back(assignment.left(eq).trimmed().toUpper(), assignment.mid(eq + 1));
        } else if (args[i].startsWith(QLatin1String("--"))) {
            return o;
        } else {
            plain << args[i];
        }
    }
    bool idOk = false, pageOk = false;
    if (plain.size() != 3) return o;
    o.folder = plain[0];
    o.id = plain[1].toLongLong(&idOk);
    o.page = plain[2].toInt(&pageOk);
    o.ok = idOk && pageOk;
    return o;
}

} // namespace

int runPage(const QStringList& args) {
    const PageOptions o = parsePageOptions(args);
    if (!o.ok) {
        QTextStream(stderr) << "Utilizare: vartesa-tool page DATAFOLDER IDGOS N [--set CAMP=VALOARE...]\n";
        return 2;
    }
    try {
        const QString folder = QDir::cleanPath(QDir(o.folder).absolutePath());
        db::Database database(folder);
        const DeclarationPage& info = DeclarationPageInfo(o.page);
        const QString roles = folder + '/' + tables::Roles;
        if (!database.tableExists(roles) || !database.tableExists(folder + '/' + info.table))
            throw Error(QStringLiteral("Lipsesc tabelele rolurilor din %1").arg(folder), folder);
        if (!RoleRegister(database, folder).role(o.id))
            throw Error(QStringLiteral("Nu exista rolul cu IDGOS %1").arg(o.id), folder);
        DeclarationPages pages(database, folder);
        const BlankPageDefaults defaults = StoredPageDefaults(database, folder);
        PageValues values = pages.load(o.id, o.page, defaults);
        if (!o.sets.empty()) {
            // As the window would: the page as shown, then the clerk's changes.
            values = ShownValues(values, defaults);
            for (const auto& [field, value] : o.sets) {
                if (!FindPageField(o.page, field))
                    throw Error(QStringLiteral("Pagina %1 nu are campul %2").arg(o.page).arg(field), field);
                values[field] = value;
            }
            const AdminConstants constants = AdminConstants::stored(database, folder);
            CountersFile counters(folder + QStringLiteral("/Vartesa.set"));
            pages.save(o.id, o.page, values, defaults, [&] {
                CheckPageTaxesFit(database, folder, counters, constants, o.id);
            });
            values = pages.load(o.id, o.page, defaults);
        }
        QTextStream out(stdout);
        for (const PageField* f : FieldsOfPage(o.page))
            if (f->isStored()) out << f->field << ',' << values.value(f->field) << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << QString(e.text()).replace('\r', '\n') << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
