#include "admin_folders.h"

#include "shell/registry.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace vartesa {

namespace {
const QString kServerValue = QStringLiteral("SERVER");
const QString kBackupValue = QStringLiteral("CALESALVARI");
} // namespace

QString WithoutTrailingSeparator(const QString& folder) {
    QString f = folder;
    while (f.size() > 1 && (f.endsWith('/') || f.endsWith('\\'))) f.chop(1);
    return f;
}

const QStringList& RegisterFolderFiles() {
    static const QStringList files = {"Volume.dbf", "Identificare.dbf", "Cap1.dbf", "Cap2A.dbf",
                                      "Cap2B.dbf",  "Cap11.dbf",        "Cap7.dbf", "RA2015.set"};
    return files;
}

bool HoldsFiles(const QString& folder, const QStringList& names) {
    QSet<QString> present;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) present.insert(name.toUpper());
    for (const QString& name : names)
        if (!present.contains(name.toUpper())) return false;
    return true;
}

bool CanWriteIn(const QString& folder) {
    QFile test(folder + QStringLiteral("/test.txt"));
    if (!test.open(QIODevice::WriteOnly)) return false;
    test.close();
    return test.remove();
}

FolderOutcome ChangeServerPath(Services& services, const QString& picked) {
    const QString folder = WithoutTrailingSeparator(picked);
    // The same tables start-up asks of a network folder: a folder accepted here and then
    // refused at the next start would leave the clerk in local mode without a word.
    if (!HoldsFiles(folder, RequiredNetworkTables())) {
        services.messages().showError(QStringLiteral("Conectare server"),
                                      QStringLiteral("Baza de date ") + folder + QStringLiteral("\rNU este accesibila!") +
                                          QStringLiteral("\rVerificati conexiunea si reporniti programul!"));
        return {};
    }
    services.registry().WriteRegistryValue(kServerValue, folder);
    services.messages().showInformation(QStringLiteral("Conectat la server"),
                                        QStringLiteral("Conectarea la server a reusit!\rPorniti programul din nou !"));
    return {true, folder, true};
}

FolderOutcome ClearServerPath(Services& services, const QString& shown, QObject* anchor) {
    if (shown.size() < 7) {
        services.messages().ShowProblemHint(QStringLiteral("Nu aveti ce sterge."), anchor);
        return {};
    }
    if (!services.messages().askYesNo(QStringLiteral("Stergere cale server"),
                                      QStringLiteral("Doriti sa va deconectati de la server?")))
        return {};
    services.registry().WriteRegistryValue(kServerValue, QString());
    services.messages().showInformation(QStringLiteral("Deconectat de la server"),
                                        QStringLiteral("Sunteti deconectat de la server!\rPorniti programul din nou !"));
    return {true, QStringLiteral("  -"), true};
}

bool MayChangeBackupPath(Services& services) {
    if (services.folders.isLocalMode()) return true;
    services.messages().showError(QStringLiteral("Salvare Automata"), QStringLiteral("Numai Serverul poate salva automat!"));
    return false;
}

FolderOutcome ChangeBackupPath(Services& services, const QString& picked) {
    const QString folder = picked;
    if (!CanWriteIn(folder)) {
        services.messages().showError(QStringLiteral("Stabilire cale salvari"),
                                      QStringLiteral("Nu pot scrie in ") + folder +
                                          QStringLiteral(" !\rAlegeti alta cale, unde sa pot scrie!"));
        return {};
    }
    services.registry().WriteRegistryValue(kBackupValue, folder);
    services.messages().showInformation(QStringLiteral("Salvari automate"),
                                        QStringLiteral("Calea pentru Salvari Automate este acum\r") + folder + '.');
    return {true, folder, false};
}

FolderOutcome ClearBackupPath(Services& services, const QString& shown, QObject* anchor) {
    if (shown.trimmed().size() < 2) {
        services.messages().ShowProblemHint(QStringLiteral("Nu aveti ce sterge."), anchor);
        return {};
    }
    if (!services.messages().askYesNo(QStringLiteral("Stergere cale salvari"),
                                      QStringLiteral("Doriti sa dezactivati salvarea automata?")))
        return {};
    services.registry().WriteRegistryValue(kBackupValue, QString());
    services.messages().showInformation(QStringLiteral("Salvare Automata"),
                                        QStringLiteral("Salvarea automata a fost dezactivata!"));
    return {true, QStringLiteral("-"), false};
}

FolderOutcome CheckRegisterFolder(Services& services, const QString& picked) {
    const QString folder = WithoutTrailingSeparator(picked);
    if (HoldsFiles(folder, RegisterFolderFiles())) return {true, folder, false};
    services.messages().showError(QStringLiteral("Setare director RA 2015"),
                                  QStringLiteral("Baza de date ") + folder + QStringLiteral("\rNU este de la RA 2015-2019!"));
    return {true, QString(), false};
}

} // namespace vartesa
