#include "file_helpers.h"

#include "db/error.h"
#include "templates/embedded_templates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vartesa {

WorkingCopy::~WorkingCopy() {
    if (!path.isEmpty()) QFile::remove(path);
}

QString FreeTempFileName(const QString& folder, const QString& prefix, const QString& suffix) {
    for (int n = 0; n <= 100; ++n) {
        const QString name = prefix + QString::number(n) + suffix;
        const QString path = folder + '/' + name;
        if (!QFileInfo::exists(path)) return path;
        // On this system an open file can be deleted; an office suite that holds it leaves a
        // lock file beside it, and deleting under it would lose the clerk's document.
        if (QFileInfo::exists(folder + QStringLiteral("/.~lock.") + name + '#')) continue;
        if (QFile::remove(path)) return path;
    }
    return {};
}

namespace {

// The folder as the disk knows it: links followed, "." and ".." gone.
QString realFolder(const QString& folder) {
    const QString real = QFileInfo(folder).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : real;
}

} // namespace

void CheckOutputFile(const QString& dataFolder, const QString& output) {
    const QFileInfo target(QDir::cleanPath(QDir().absoluteFilePath(output)));
    const QFileInfo real(target.exists() ? target.canonicalFilePath() : target.absoluteFilePath());
    const QString data = realFolder(dataFolder);
    // Names on a share match without regard to case, so the folder is compared that way.
    for (const QFileInfo& f : {target, real}) {
        if (realFolder(f.absolutePath()).compare(data, Qt::CaseInsensitive) == 0)
            throw Error(QStringLiteral("Fisierul %1 este in directorul de date; alegeti alt loc pentru rezultat!")
                            .arg(output),
                        output);
    }
    if (real.exists() && real.suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) == 0)
        throw Error(QStringLiteral("Fisierul %1 este o tabela; nu se scrie peste el!").arg(output), output);
}

bool DeleteFolder(const QString& path) {
    QDir dir(path);
    if (!dir.exists()) return true;
    return dir.removeRecursively();
}

void WriteResourceToFile(const QString& name, const QString& type, const QString& path) {
    LoadEmbeddedTemplates();
    // Callers spell the kind "MODEL" or "Model"; the resource tree is case sensitive.
    QString found;
    const QDir root(QStringLiteral(":/"));
    for (const QString& kind : root.entryList(QDir::Dirs))
        if (kind.compare(type, Qt::CaseInsensitive) == 0) {
            const QDir dir(root.filePath(kind));
            for (const QString& entry : dir.entryList(QDir::Files))
                if (entry.compare(name, Qt::CaseInsensitive) == 0) found = dir.filePath(entry);
        }
    if (found.isEmpty())
        throw Error(QStringLiteral("Resursa %1 de tip %2 lipseste din program").arg(name, type), path);
    QFile source(found);
    QSaveFile target(path);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly) ||
        target.write(source.readAll()) < 0 || !target.commit())
        throw Error(QStringLiteral("Fisierul %1 nu poate fi scris").arg(path), path);
}

void WriteWholeFile(const QString& path, const QByteArray& bytes, const FileWrite& write) {
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         (write ? write(file, bytes) : file.write(bytes) == bytes.size()) && file.commit();
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw Error(QStringLiteral("Fisierul %1 nu poate fi scris: %2").arg(QDir::toNativeSeparators(path), reason), path);
    }
}

} // namespace vartesa
