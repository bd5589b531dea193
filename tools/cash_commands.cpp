// vartesa-tool account: a role's account as the collection screen computes it.

#include "commands.h"

#include "cash/account.h"
#include "db/database.h"
#include "db/error.h"
#include "shell/counters.h"
#include "shell/startup.h"

#include <QDir>
#include <QTextStream>

namespace vartesa::tool {
namespace {

struct AccountOptions {
    QString folder;             // data folder
    qint64 idgos = 0;           // the role
    QDate date = QDate::currentDate(); // --date: the calculation date
    bool ok = false;
};

AccountOptions parseAccountOptions(const QStringList& args) {
    AccountOptions o;
    QStringList plain;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--date") && i + 1 < args.size()) {
            o.date = QDate::fromString(args[++i], QStringLiteral("dd.MM.yyyy"));
            if (!o.date.isValid()) return o;
        } else if (args[i].startsWith(QLatin1String("--"))) {
            return o;
        } else {
            plain << args[i];
        }
    }
    if (plain.size() != 2) return o;
    o.folder = QDir::cleanPath(QDir(plain[0]).absolutePath());
    o.idgos = plain[1].toLongLong(&o.ok);
    return o;
}

template <typename Row>
void printGrid(QTextStream& out, const char* title, AccountGrid grid, const std::vector<Row>& rows) {
    out << '[' << title << "]\n" << AccountColumns(grid).join(',') << '\n';
    const int columns = int(AccountColumns(grid).size());
    for (const Row& r : rows) {
        QStringList cells;
        for (int c = 0; c < columns; ++c) cells << csvValue(r.cell(c));
        out << cells.join(',') << '\n';
    }
}

} // namespace

int runAccount(const QStringList& args) {
    const AccountOptions o = parseAccountOptions(args);
    if (!o.ok) {
        QTextStream(stderr) << "Utilizare: vartesa-tool account DATAFOLDER IDGOS [--date zz.ll.aaaa]\n";
        return 2;
    }
    try {
        db::Database database(o.folder);
        const CountersFile counters(o.folder + QStringLiteral("/Vartesa.set"));
        const AccountRole role =
            OpenAccountRole(database, o.folder, ReadAccountRules(counters, database, o.folder), o.idgos, WorkingYear().toInt());
        if (!role.found) throw Error(QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(o.idgos), o.folder);
        const AccountGrids grids = BuildAccountGrids(database, o.folder, role, o.date);
        QTextStream out(stdout);
        printGrid(out, "IMPOZITE", AccountGrid::Taxes, grids.taxes);
        printGrid(out, "DEBITE", AccountGrid::Debits, grids.debits);
        printGrid(out, "TAXE", AccountGrid::Claims, grids.claims);
        out << "TOTAL," << grids.total << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
