// vartesa-tool roles: the role register as the register screen lists it.
// vartesa-tool ledger: one role's debt lines and year debits, every column.

#include "commands.h"

#include "books/debits.h"
#include "books/ledger.h"
#include "db/database.h"
#include "db/error.h"
#include "roles/role_register.h"
#include "roles/role_search.h"
#include "shell/table_files.h"

#include <QDir>
#include <QTextStream>

namespace vartesa::tool {
namespace {

QString csvLine(const Role& r) {
    return QStringList{QString::number(r.id), csvField(r.village), csvField(r.number), csvField(r.name),
                       csvField(r.code), csvField(r.address), csvField(r.personType)}
        .join(',');
}

struct RolesOptions {
    QString folder;  // data folder
    QString village; // --village: that village's roles only
    QString name;    // --name: roles whose name begins with it only
    bool ok = false;
};

RolesOptions parseRolesOptions(const QStringList& args) {
    RolesOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == QLatin1String("--village") || a == QLatin1String("--name")) && i + 1 < args.size())
            (a == QLatin1String("--village") ? o.village : o.name) = args[++i];
        else if (!a.startsWith(QLatin1String("--")) && o.folder.isEmpty())
            o.folder = a;
        else
            return o;
    }
    o.ok = !o.folder.isEmpty();
    return o;
}

// One section: its header line, the column names, then every row as the file holds it.
void printSection(QTextStream& out, const char* header, db::Query q) {
    out << header << '\n';
    QStringList names;
    for (int c = 0; c < q.columnCount(); ++c) names << q.columnName(c);
    out << names.join(',') << '\n';
    for (q.first(); !q.eof(); q.next()) {
        QStringList cells;
        for (const QString& name : names) cells << csvField(q.text(name));
        out << cells.join(',') << '\n';
    }
}

} // namespace

int runLedger(const QStringList& args) {
    bool numeric = false;
    const qint64 role = args.value(1).toLongLong(&numeric);
    if (args.size() != 2 || !numeric) {
        QTextStream(stderr) << "Utilizare: vartesa-tool ledger DATAFOLDER IDGOS\n";
        return 2;
    }
    try {
        const QString folder = QDir::cleanPath(QDir(args[0]).absolutePath());
        db::Database database(folder);
        for (const QString& file : {tables::Ledger, tables::Debits})
            if (const QString table = folder + '/' + file; !database.tableExists(table))
                throw Error(QStringLiteral("Lipseste tabela %1").arg(table), folder);
        QTextStream out(stdout);
        printSection(out, "[DATORII]", LedgerRowsAsStored(database, folder, role));
        printSection(out, "[DEBIT]", YearDebitRowsAsStored(database, folder, role));
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

int runRoles(const QStringList& args) {
    const RolesOptions o = parseRolesOptions(args);
    if (!o.ok) {
        QTextStream(stderr) << "Utilizare: vartesa-tool roles DATAFOLDER [--village SAT] [--name TEXT]\n";
        return 2;
    }
    try {
        const QString folder = QDir::cleanPath(QDir(o.folder).absolutePath());
        db::Database database(folder);
        RoleRegister roles(database, folder);
        if (!database.tableExists(roles.table(tables::Roles)))
            throw Error(QStringLiteral("Lipseste tabela de roluri %1 din %2").arg(tables::Roles, folder), folder);
        RoleSearch search(roles);
        search.open();
        search.villageChanged(o.village);
        QTextStream out(stdout);
        out << "IDGOS,SATUL,ROL,NUMEP,CNP,ADRESA,TIP\n";
        if (o.name.isEmpty()) {
            for (int row = 0; row < search.count(); ++row) out << csvLine(search.role(row)) << '\n';
        } else {
            for (int row : search.rowsNamed(o.name)) out << csvLine(search.role(row)) << '\n';
        }
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
