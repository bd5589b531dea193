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

namespace {

const QString kGroup = QStringLiteral("Release");

// Value names match without regard to case, as in the machine registry: start-up writes
// CALE and next year's release reads Cale. The name as first stored is the one kept.
QString storedName(QSettings& s, const QString& name) {
    s.beginGroup(kGroup);
    const QStringList names = s.childKeys();
    s.endGroup();
    for (const QString& stored : names)
        if (stored.compare(name, Qt::CaseInsensitive) == 0) return stored;
    return name;
}

} // namespace

QString ReleaseRegistry::ReadRegistryValue(const QString& name) const {
    QSettings s(path(), QSettings::IniFormat);
    return s.value(kGroup + '/' + storedName(s, name)).toString();
}

void ReleaseRegistry::WriteRegistryValue(const QString& name, const QString& value) {
    QDir().mkpath(folder_);
    QSettings s(path(), QSettings::IniFormat);
    s.setValue(kGroup + '/' + storedName(s, name), value);
    s.sync();
    if (s.status() != QSettings::NoError)
        throw Error(QStringLiteral("Valoarea %1 nu poate fi salvata in %2").arg(name, path()), path());
}

} // namespace vartesa
