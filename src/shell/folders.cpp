#include "shell/folders.h"

#include "db/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace vartesa {

namespace {

const QString kProgramFolderOption = QStringLiteral("--program-folder");

// Absolute, '/'-separated, without a trailing slash: folders are compared as text
// (local mode is "data == default data"), so one spelling per folder.
QString normalised(const QString& folder) {
    return QDir::cleanPath(QDir(folder).absolutePath());
}

// Per-user state folder following the XDG layout; empty when the environment names no home.
QString stateFolder(const QProcessEnvironment& env) {
    const QString xdg = env.value(QStringLiteral("XDG_STATE_HOME"));
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg + QStringLiteral("/Vartesa");
    const QString home = env.value(QStringLiteral("HOME"));
    if (!home.isEmpty())
        return home + QStringLiteral("/.local/state/Vartesa");
    return {};
}

QString chooseProgramFolder(const FolderInputs& in) {
    const QString fromArgument = programFolderArgument(in.arguments);
    if (!fromArgument.isEmpty())
        return fromArgument;
    const QString fromEnvironment = in.environment.value(QStringLiteral("VARTESA_HOME"));
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    // An installation the user may write to keeps its data beside the program, as the
    // clerks are used to; a system-wide installation cannot, so each user gets their own.
    if (!in.executableFolder.isEmpty() && in.isWritable && in.isWritable(in.executableFolder))
        return in.executableFolder;
    return in.userDataFolder;
}

} // namespace

FolderInputs FolderInputs::fromSystem() {
    FolderInputs in;
    in.arguments = QCoreApplication::arguments();
    in.environment = QProcessEnvironment::systemEnvironment();
    in.executableFolder = QCoreApplication::applicationDirPath();
    in.isWritable = canCreateFilesIn;
    in.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return in;
}

QString programFolderArgument(const QStringList& arguments) {
    // The program name is skipped: only options after it count.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == kProgramFolderOption) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
                throw Error(QStringLiteral("Lipseste directorul dupa ") + kProgramFolderOption,
                            QStringLiteral("linia de comanda"));
            return arguments[i + 1];
        }
        if (arg.startsWith(kProgramFolderOption + QLatin1Char('='))) {
            const QString value = arg.mid(kProgramFolderOption.size() + 1);
            if (value.isEmpty())
                throw Error(QStringLiteral("Lipseste directorul dupa ") + kProgramFolderOption,
                            QStringLiteral("linia de comanda"));
            return value;
        }
    }
    return {};
}

Folders resolveFolders(const FolderInputs& in) {
    const QString chosen = chooseProgramFolder(in);
    if (chosen.isEmpty())
        throw Error(QStringLiteral("Nu gasesc un director in care programul sa poata scrie!"),
                    QStringLiteral("directorul programului"));
    Folders f;
    f.program = normalised(chosen);
    f.defaultData = f.program + QStringLiteral("/Data");
    f.data = f.defaultData;
    QString state = stateFolder(in.environment);
    // Without a home the state can only live with the user's data.
    f.machine = normalised(state.isEmpty() ? f.program + QStringLiteral("/Stare") : state);
    return f;
}

Folders DemoFolders(const Folders& resolved, const QStringList& arguments) {
    if (!programFolderArgument(arguments).isEmpty()) return resolved;
    Folders f = resolved;
    f.program = resolved.machine + QStringLiteral("/Demo");
    f.defaultData = f.data = f.program + QStringLiteral("/Data");
    return f;
}

void prepareFolders(const Folders& folders) {
    for (const QString& folder : {folders.program, folders.defaultData, folders.machine}) {
        if (!QDir().mkpath(folder))
            throw Error(QStringLiteral("Nu pot crea directorul ") + folder + QStringLiteral(" !"),
                        QStringLiteral("pregatire directoare"));
    }
}

bool canCreateFilesIn(const QString& folder) {
    if (!QDir(folder).exists())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.vartesa-probe-XXXXXX"));
    return probe.open(); // removed again when probe goes out of scope
}

} // namespace vartesa
