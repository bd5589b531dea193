// The choices behind the lists to collect.

#include "cash/collection_list.h"

#include "db/database.h"
#include "db/query.h"
#include "roles/village_list.h"

#include <QFileInfo>

namespace vartesa {

QStringList CollectionListVillages(db::Database& db, const QString& dataFolder) {
    const QString file = dataFolder + QStringLiteral("/Sate.lst");
    if (QFileInfo::exists(file)) return ReadVillageList(file);
    db::Query q = db.query(QStringLiteral("SELECT DISTINCT TRIM(SATUL) AS SATUL FROM \"%1/GOSPODAR.dbf\" "
                                          "WHERE TRIM(COALESCE(SATUL, '')) <> '' ORDER BY 1")
                               .arg(dataFolder));
    QStringList villages;
    for (q.first(); !q.eof(); q.next()) villages << q.text(QStringLiteral("SATUL"));
    WriteVillageList(file, villages);
    return villages;
}

QString CheckCollectionListChoice(const QString& village, const QDate& date, const QDate& today) {
    if (village.trimmed().isEmpty()) return QStringLiteral("Nu ati ales satul!");
    if (!date.isValid() || date < today) return QStringLiteral("Data aleasa nu poate fi din trecut!");
    return {};
}

} // namespace vartesa
