#include "registry.h"

#include "db/error.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace vartesa {

ReleaseRegistry::ReleaseRegistry(const QString& folder, int release) : folder_(folder), release_(release) {}

QString ReleaseRegistry::defaultFolder() {
    const QString chosen = qEnvironmentVariable("VARTESA_REGISTRY");
    if (!chosen.isEmpty()) return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Melzor");
}

QString ReleaseRegistry::path() const { return folder_ + QStringLiteral("/%1.ini").arg(release_); }

QString ReleaseRegistry::ReadRegistryValue(const QString& name) const {
    const QSettings s(path(), QSettings::IniFormat);
    return s.value(QStringLiteral("Release/") + name).toString();
}

void ReleaseRegistry::WriteRegistryValue(const QString& name, const QString& value) {
    QDir().mkpath(folder_);
    QSettings s(path(), QSettings::IniFormat);
    s.setValue(QStringLiteral("Release/") + name, value);
    s.sync();
    if (s.status() != QSettings::NoError)
        throw Error(QStringLiteral("Valoarea %1 nu poate fi salvata in %2").arg(name, path()), path());
}

} // namespace vartesa
