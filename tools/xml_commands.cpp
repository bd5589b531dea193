// vartesa-tool xml-export: the vehicle report to the national tax agency ("PatrimVen"),
// with the window's checks and the declarant remembered as the window remembers it.

#include "commands.h"

#include "admin/admin_constants.h"
#include "cash/receipt.h"
#include "db/error.h"
#include "documents/patrimven.h"
#include "shell/console_services.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"

#include <QDir>
#include <QHash>
#include <QTextStream>

namespace vartesa::tool {

namespace {

const char* const kUsage = "xml-export DATAFOLDER --out FISIER [--name NUME] [--first-name PRENUME] "
                           "[--position FUNCTIA] [--date zz.ll.aaaa]";

int usage() {
    QTextStream(stderr) << "Utilizare: vartesa-tool " << kUsage << '\n';
    return 2;
}

} // namespace

int runXmlExport(const QStringList& args) {
    static const QStringList withValue{"--out", "--name", "--first-name", "--position", "--date"};
    QStringList plain;
    QHash<QString, QString> values;
    for (int i = 0; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1String("--"))) plain << args[i];
        else if (withValue.contains(args[i]) && i + 1 < args.size()) {
            values[args[i]] = args[i + 1];
            ++i;
        }
        else return usage();
    }
    const QDate today = values.contains(QStringLiteral("--date"))
                            ? QDate::fromString(values.value(QStringLiteral("--date")), QStringLiteral("dd.MM.yyyy"))
                            : QDate::currentDate();
    if (plain.size() != 1 || !values.contains(QStringLiteral("--out")) || !today.isValid()) return usage();
    const QString folder = QDir::cleanPath(QDir(plain[0]).absolutePath());
    const QString out = QDir::cleanPath(QDir().absoluteFilePath(values.value(QStringLiteral("--out"))));
    try {
        auto services = ConsoleServices(folder);
        CheckOutputFile(folder, out);
        if (auto refused = CheckTownHallCode(TownHallFrom(AdminConstants::stored(services->database(), folder)))) {
            QTextStream(stderr) << *refused << '\n';
            return 1;
        }
        CountersFile counters = services->counters();
        Declarant declarant = RememberedDeclarant(counters);
        for (const auto& [option, field] : {std::pair{"--name", &Declarant::name},
                                            {"--first-name", &Declarant::firstName},
                                            {"--position", &Declarant::position}})
            if (values.contains(QLatin1String(option)))
                declarant.*field = values.value(QLatin1String(option)).left(kDeclarantFieldLength);
        if (auto refused = TidyDeclarant(declarant)) {
            QTextStream(stderr) << refused->text << '\n';
            return 1;
        }
        RememberDeclarant(counters, declarant);
        const PatrimVenDocument document = BuildPatrimVen(services->database(), folder, declarant, today);
        WriteWholeFile(out, document.bytes());
        QTextStream(stdout) << "TOTAL," << document.vehicles << '\n';
        return 0;
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
}

} // namespace vartesa::tool
