#include "table_helpers.h"

#include "db/database.h"
#include "db/query.h"
#include "shell/catalog.h"
#include "shell/table_files.h"

namespace vartesa {

void CreateSummonsDetailTable(db::Database& db, const QString& path) {
    CreateTable(db, path, CatalogTable(tables::SummonsLines));
}

QString BudgetCodeOfGroup(db::Database& db, const QString& dataFolder, const QString& group, bool isPerson) {
    const QVariant code = db.scalar(QStringLiteral("SELECT %1 FROM \"%2\" WHERE GRUPA = ?")
                                        .arg(isPerson ? "CODCLF" : "CODCLJ", dataFolder + '/' + tables::BudgetCodes),
                                    {group});
    return code.toString();
}

QStringList DistinctValues(db::Database& db, const QString& tablePath, const QString& field, const QString& where,
                           const QVariantList& params) {
    QString sql = QStringLiteral("SELECT DISTINCT %1 FROM \"%2\"").arg(field, tablePath);
    if (!where.trimmed().isEmpty()) sql += QStringLiteral(" WHERE ") + where;
    sql += QStringLiteral(" ORDER BY ") + field;
    const db::Query q = db.query(sql, params);
    QStringList out;
    for (int r = 0; r < q.count(); ++r) {
        const QString v = q.cell(r, 0).toString();
        if (!v.trimmed().isEmpty()) out << v;
    }
    return out;
}

} // namespace vartesa
