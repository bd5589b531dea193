#include "datafolder/register_daily.h"

#include "datafolder/backup.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QDir>
#include <QFileInfo>

namespace vartesa {

QString DailyImportKeptFolder(const Services& services) { return services.folders.program + QStringLiteral("/DataOld"); }

bool RunDailyRegisterImport(Services& services, const QString& workFolder, const AutoImportSettings& settings,
                            const DailyImportHooks& hooks, RegisterImportResult* result) {
    DeleteFolder(workFolder);
    if (QFileInfo::exists(workFolder)) {
        services.messages().showError(QStringLiteral("Actualizare Taxe din RA"),
                                      QStringLiteral("Directorul ") + workFolder + QStringLiteral(" nu poate fi sters!"));
        return false;
    }
    RegisterCopy copy;
    try {
        CopyRegisterFolder(settings.folder, workFolder);
        copy = ReadRegisterCopy(workFolder, DataFolderYear(services.counters()));
    } catch (const RegisterRefused& e) {
        services.messages().showError(e.title, e.text());
        return false;
    } catch (const Error& e) { // a damaged table of the register
        services.messages().showError(QStringLiteral("Actualizare din RA"), e.text());
        return false;
    }
    if (copy.positions() == 0) {
        services.messages().showError(QStringLiteral("Actualizare din RA"), EmptyRegisterText());
        return false;
    }
    if (const QString problem = DuplicateProblem(copy); !problem.isEmpty()) {
        services.messages().showError(QStringLiteral("Problema in baza RA 2015"), problem);
        return false;
    }
    // The data folder as it was, kept until the next day's import.
    const QString kept = DailyImportKeptFolder(services);
    DeleteFolder(kept);
    if (!QDir().mkpath(kept) || !CopyFolderFiles(services.folders.data, kept))
        throw Error(QStringLiteral("Nu pot copia baza de date in %1; preluarea din RA nu s-a facut").arg(kept), kept);
    if (hooks.beforeImport) hooks.beforeImport();
    const RegisterImportResult done = ImportRegister(services, copy, RegisterChoice{}, services.progress());
    if (result) *result = done;
    if (hooks.afterImport) hooks.afterImport();
    return true;
}

} // namespace vartesa
