#include "tool_arguments.h"

#include "db/error.h"
#include "shell/counters.h"
#include "shell/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vartesa::tool {

namespace {

class NoDesktop final : public Desktop {
public:
    bool openFile(const QString&) override { return false; }
};

} // namespace

ToolArguments ReadToolArguments(const QStringList& args, const QStringList& valued, const QStringList& flags) {
    ToolArguments r;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--set")) {
            if (i + 1 >= args.size()) {
                r.fault = QStringLiteral("--set cere CAMP=VALOARE");
                return r;
            }
            const QString assignment = args[++i];
            const qsizetype eq = assignment.indexOf('=');
            if (eq <= 0) {
                r.fault = QStringLiteral("--set cere CAMP=VALOARE, nu %1").arg(assignment);
                return r;
            }
            r.sets.emplace_back(assignment.left(eq).trimmed().toUpper(), assignment.mid(eq + 1));
        } else if (valued.contains(a)) {
            if (i + 1 >= args.size()) {
                r.fault = QStringLiteral("%1 cere o valoare").arg(a);
                return r;
            }
            const QString key = a; // the key is kept before the index moves on to the value
            ++i;
            r.options[key] = args[i];
        } else if (flags.contains(a)) {
            r.flags << a;
        } else if (a.startsWith(QLatin1String("--"))) {
            r.fault = QStringLiteral("Optiune necunoscuta: %1").arg(a);
            return r;
        } else {
            r.plain << a;
        }
    }
    return r;
}

qint64 WholeNumberOf(const QString& field, const QString& text, bool allowNegative) {
    bool ok = false;
    const qint64 n = text.trimmed().isEmpty() ? 0 : text.trimmed().toLongLong(&ok);
    if (!text.trimmed().isEmpty() && (!ok || (n < 0 && !allowNegative)))
        throw ToolRefusal{QStringLiteral("Valoare incorecta pentru %1: %2").arg(field, text)};
    return n;
}

QDate DateOf(const QString& field, const QString& text) {
    const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("dd.MM.yyyy"));
    if (!d.isValid()) throw ToolRefusal{QStringLiteral("Data incorecta pentru %1: %2 (zz.ll.aaaa)").arg(field, text)};
    return d;
}

bool YesNoOf(const QString& field, const QString& text) {
    const QString t = text.trimmed().toUpper();
    if (t == QLatin1String("DA")) return true;
    if (t == QLatin1String("NU")) return false;
    throw ToolRefusal{QStringLiteral("Valoare incorecta pentru %1: %2 (DA sau NU)").arg(field, text)};
}

ToolRefusal UnknownField(const QString& field) {
    return {QStringLiteral("Camp necunoscut: %1").arg(field)};
}

MessageResult ToolMessages::ShowErrors(const QString&, const QString& text, MessageKind, MessageButtons buttons) {
    // A question answered beforehand with --yes is not printed: only what stops the command is.
    if (buttons.testFlag(MessageButton::Da) && yes_) return MessageResult::Da;
    QTextStream(stderr) << QString(text).replace('\r', '\n') << '\n';
    if (buttons.testFlag(MessageButton::Nu)) return MessageResult::Nu;
    if (buttons.testFlag(MessageButton::Ok)) return MessageResult::Ok;
    return MessageResult::Renunt;
}

void ToolMessages::ShowProblemHint(const QString& text, QObject*) {
    QTextStream(stderr) << QString(text).replace('\r', '\n') << '\n';
}

std::unique_ptr<Services> ToolServices(const QString& dataFolder, bool yes) {
    const QString data = QDir::cleanPath(QDir(dataFolder).absolutePath());
    if (!QFileInfo(data).isDir()) throw ToolRefusal{QStringLiteral("Directorul de date %1 nu exista").arg(data)};
    Folders folders;
    folders.program = folders.machine = QFileInfo(data).absolutePath();
    folders.defaultData = folders.data = data;
    return std::make_unique<Services>(folders, std::make_unique<ToolMessages>(yes),
                                      std::make_unique<SilentProgress>(), std::make_unique<NoDesktop>(),
                                      std::make_unique<SystemClock>());
}

void RefuseLockedYear(const Services& services) {
    if (IsYearLocked(services.counters()))
        throw ToolRefusal{QStringLiteral("Nu mai puteti accesa datele de anul trecut!")};
}

int PrintUsage(const char* text) {
    QTextStream(stderr) << "Utilizare: vartesa-tool " << text << '\n';
    return 2;
}

int RunRefusing(const QStringList& args, const char* usage, const QStringList& valued, const QStringList& flags,
                int leastPlain, int (*command)(const ToolArguments&)) {
    const ToolArguments a = ReadToolArguments(args, valued, flags);
    if (!a.ok() || a.plain.size() < leastPlain) {
        if (!a.ok()) QTextStream(stderr) << a.fault << '\n';
        QTextStream(stderr) << usage;
        return 2;
    }
    try {
        return command(a);
    } catch (const ToolRefusal& r) {
        if (!r.message.isEmpty()) QTextStream(stderr) << QString(r.message).replace('\r', '\n') << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << QString(e.text()).replace('\r', '\n') << '\n';
    }
    return 1;
}

} // namespace vartesa::tool
