// The choices behind the lists to collect.

#include "cash/collection_list.h"

#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "roles/village_list.h"
#include "shell/table_files.h"

#include <QFileInfo>

namespace vartesa {

QStringList CollectionListVillages(db::Database& db, const QString& dataFolder) {
    const QString file = dataFolder + QStringLiteral("/Sate.lst");
    if (QFileInfo::exists(file)) return ReadVillageList(file);
    const QString& village = RoleColumns::village;
    db::Query q = db.query(QStringLiteral("SELECT DISTINCT TRIM(%1) AS %1 FROM \"%2/%3\" "
                                          "WHERE TRIM(COALESCE(%1, '')) <> '' ORDER BY 1")
                               .arg(village, dataFolder, tables::Roles));
    QStringList villages;
    for (q.first(); !q.eof(); q.next()) villages << q.text(village);
    WriteVillageList(file, villages);
    return villages;
}

QString CheckCollectionListChoice(const QString& village, const QDate& date, const QDate& today) {
    if (village.trimmed().isEmpty()) return QStringLiteral("Nu ati ales satul!");
    if (!date.isValid() || date < today) return QStringLiteral("Data aleasa nu poate fi din trecut!");
    return {};
}

} // namespace vartesa
