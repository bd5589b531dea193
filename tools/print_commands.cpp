// vartesa-tool receipt / role-page: the printed documents written as PDF files, without windows.

#include "commands.h"
#include "tool_arguments.h"
#include "shell/console_services.h"

#include "books/receipts.h"
#include "books/roles.h"
#include "cash/receipt.h"
#include "cash/role_page.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "report/ui/report_output.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/settings_table.h"
#include "shell/startup.h"
#include "shell/file_helpers.h"

#include <QDir>
#include <QTextStream>

namespace vartesa::tool {
namespace {

struct PrintOptions {
    QString folder; // data folder
    qint64 id = 0;  // IDCHIT or IDGOS
    QString pdf;    // --pdf: the file to write
    bool ok = false;
};

PrintOptions parsePrintOptions(const QStringList& args) {
    PrintOptions o;
    QStringList plain;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--pdf") && i + 1 < args.size())
            o.pdf = QDir(args[++i]).absolutePath();
        else if (args[i].startsWith(QLatin1String("--")))
            return o;
        else
            plain << args[i];
    }
    if (plain.size() != 2 || o.pdf.isEmpty()) return o;
    o.folder = QDir::cleanPath(QDir(plain[0]).absolutePath());
    o.id = plain[1].toLongLong(&o.ok);
    return o;
}

// The town hall's settings as the administrator stored them in Ini.dbf; nothing is written.
int written(const report::Layout& layout, const QString& dataFolder, const QString& path) {
    CheckOutputFile(dataFolder, path);
    report::WritePdf(layout, path);
    QTextStream(stdout) << "Scris: " << path << '\n';
    return 0;
}

} // namespace

int runReceipt(const QStringList& args) {
    const PrintOptions o = parsePrintOptions(args);
    if (!o.ok) return PrintUsage("receipt DATAFOLDER IDCHIT --pdf FISIER");
    try {
        db::Database db(o.folder);
        const ReceiptDocument receipt = ReadReceipt(db, ReceiptsTable(o.folder), o.id);
        if (receipt.lines.empty()) throw Error(QStringLiteral("Listare chitanta: Chitanta nu contine nimic!"));
        return written(report::LayOut(ReceiptReport(receipt, TownHallFrom(AdminConstants::stored(db, o.folder)))), o.folder, o.pdf);
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

int runRolePage(const QStringList& args) {
    const PrintOptions o = parsePrintOptions(args);
    if (!o.ok) return PrintUsage("role-page DATAFOLDER IDGOS --pdf FISIER");
    try {
        db::Database db(o.folder);
        const std::optional<Role> role = ReadRole(db, o.folder, o.id);
        if (!role) throw Error(QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(o.id), o.folder);
        const RolePageRole which{o.id, role->number, role->village};
        const RolePage page = BuildRolePage(db, o.folder, which, WorkingYear().toInt(), QDate::currentDate());
        return written(report::LayOut(RolePageReport(page)), o.folder, o.pdf);
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

} // namespace vartesa::tool
