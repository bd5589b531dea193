// Settling a data folder that a crashed writer left behind, all of it at once.

#include "database_impl.h"

#include <QDir>
#include <QFileInfo>

namespace vartesa::db {
namespace {

const QString kJournalEnd = QStringLiteral("-journal");

QStringList journalsIn(const QDir& dir) {
    return dir.entryList({QLatin1Char('*') + kJournalEnd}, QDir::Files | QDir::Hidden, QDir::Name);
}

// Master files name the tables of one transaction over several tables, one a line.
QStringList mastersIn(const QDir& dir) {
    return dir.entryList({QStringLiteral("Vartesa-*.mj")}, QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

QStringList Database::recoverFolder(const QString& folder) {
    const QString path = QDir(folder).absolutePath();
    const QDir dir(path);
    if (!dir.exists() || (journalsIn(dir).isEmpty() && mastersIn(dir).isEmpty())) return {};
    const bool writer = d->exclusiveHeld.contains(path);
    if (!writer) d->folderLock(path).lockData(LockKind::Exclusive, d->lockTimeoutMs);
    QStringList restored;
    try {
        // Under the exclusive lock no live writer has a journal open: every one found is a
        // dead writer's.
        // Playing one journal back may settle the others of its transaction too.
        for (const QString& journal : journalsIn(dir)) {
            const QString table = path + '/' + journal.chopped(kJournalEnd.size());
            restored << QFileInfo(table).fileName();
            recoverJournal(table);
        }
        // A master whose journals are all gone belongs to a transaction already settled.
        for (const QString& name : mastersIn(dir)) {
            const QString master = path + '/' + name;
            QFile file(master);
            bool pending = false;
            if (file.open(QIODevice::ReadOnly))
                for (const QString& table : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts))
                    pending = pending || QFileInfo::exists(journalPath(table));
            if (!pending) removeMaster(master);
        }
    } catch (...) {
        if (!writer) d->folderLock(path).unlockData();
        throw;
    }
    if (!writer) d->folderLock(path).unlockData();
    return restored;
}

} // namespace vartesa::db
