#include "table_helpers.h"

#include "db/database.h"
#include "db/query.h"

namespace vartesa {

void CreateReceiptLayoutTable(db::Database& db, const QString& path) {
    db.exec(QStringLiteral(
                "CREATE TABLE \"%1\" (IDCHIT DECIMAL(10,0), IDGOS DECIMAL(10,0), IDANUL DECIMAL(10,0), SERIA CHAR(10), "
                "NR DECIMAL(10,0), DATAI DATE, SATUL CHAR(32), ROL CHAR(9), GRUPA CHAR(60), DENUM CHAR(50), "
                "CODCLAS CHAR(24), NUMEP CHAR(40), CNP CHAR(13), ADRESA CHAR(80), TIPF CHAR(1), PLATNUME CHAR(40), "
                "INCANUME CHAR(32), LEGITIMA CHAR(32), RESTANTA DECIMAL(6,0), MAJOREST DECIMAL(6,0), "
                "DEPOZIT DECIMAL(6,0), CURENT DECIMAL(6,0), MAJOR DECIMAL(6,0), REDUCERE DECIMAL(6,0), "
                "TOTAL DECIMAL(6,0), TIP CHAR(1))")
                .arg(path));
}

void CreateSummonsDetailTable(db::Database& db, const QString& path) {
    db.exec(QStringLiteral("CREATE TABLE \"%1\" (IDSOM DECIMAL(10,0), IDGOS DECIMAL(10,0), GRUPA CHAR(60), "
                           "TERMEN DECIMAL(6,0), RAMASITA DECIMAL(10,0), CURENT DECIMAL(10,0), "
                           "ACCESORII DECIMAL(10,0), DOCJUS CHAR(50))")
                .arg(path));
}

QString BudgetCodeOfGroup(db::Database& db, const QString& dataFolder, const QString& group, bool isPerson) {
    const QVariant code = db.scalar(QStringLiteral("SELECT %1 FROM \"%2/CODCL.dbf\" WHERE GRUPA = ?")
                                        .arg(isPerson ? "CODCLF" : "CODCLJ", dataFolder),
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
