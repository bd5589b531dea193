#include "books/roles.h"

#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

namespace vartesa {

namespace {

using C = RoleColumns;

QString path(const QString& folder) { return folder + '/' + tables::Roles; }

QString cellText(const db::Query& q, int row, const QString& column) {
    const int at = q.columnIndex(column);
    return at < 0 ? QString() : q.cell(row, at).toString().trimmed();
}

bool cellYes(const db::Query& q, int row, const QString& column) {
    return cellText(q, row, column).compare(QLatin1String("DA"), Qt::CaseInsensitive) == 0;
}

} // namespace

const QStringList& RoleColumnNames() {
    static const QStringList columns = {C::id,          C::village,          C::number,         C::name,
                                        C::code,        C::address,          C::personType,     C::exemptBuildings,
                                        C::exemptYards, C::exemptIntravilan, C::exemptVehicles, C::extravilanExemption,
                                        C::notes,       C::noPenalties};
    return columns;
}

QVariantList RoleValues(const Role& r) {
    return {r.id,
            r.village,
            r.number,
            r.name,
            r.code,
            r.address,
            r.personType,
            YesNo(r.exemptBuildings),
            YesNo(r.exemptYards),
            YesNo(r.exemptIntravilan),
            YesNo(r.exemptVehicles),
            r.extravilanExemption,
            r.notes,
            YesNo(r.noPenalties)};
}

Role RoleFromRow(const db::Query& q, int row) {
    Role r;
    r.id = cellText(q, row, C::id).toLongLong();
    r.village = cellText(q, row, C::village);
    r.number = cellText(q, row, C::number);
    r.name = cellText(q, row, C::name);
    r.code = cellText(q, row, C::code);
    r.address = cellText(q, row, C::address);
    r.personType = cellText(q, row, C::personType);
    r.exemptBuildings = cellYes(q, row, C::exemptBuildings);
    r.exemptYards = cellYes(q, row, C::exemptYards);
    r.exemptIntravilan = cellYes(q, row, C::exemptIntravilan);
    r.exemptVehicles = cellYes(q, row, C::exemptVehicles);
    r.extravilanExemption = qint64(cellText(q, row, C::extravilanExemption).toDouble());
    r.notes = cellText(q, row, C::notes);
    r.noPenalties = cellYes(q, row, C::noPenalties);
    return r;
}

std::optional<Role> ReadRole(db::Database& db, const QString& dataFolder, qint64 id) {
    const db::Query q =
        db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ?").arg(path(dataFolder), C::id), {id});
    if (q.isEmpty()) return std::nullopt;
    return RoleFromRow(q, 0);
}

std::optional<Role> ReadRoleWithCode(db::Database& db, const QString& dataFolder, const QString& code,
                                     qint64 except) {
    const db::Query q = db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 = ? AND %3 <> ? ORDER BY %3")
                                     .arg(path(dataFolder), C::code, C::id),
                                 {code, except});
    if (q.isEmpty()) return std::nullopt;
    return RoleFromRow(q, 0);
}

std::vector<Role> ReadVillageRoles(db::Database& db, const QString& dataFolder, const QString& village,
                                   const std::optional<RoleNumberRange>& range) {
    QString sql = QStringLiteral("SELECT *, CAST(%1 AS FLOAT) AS ROLN FROM \"%2\" WHERE %3 = ?")
                      .arg(C::number, path(dataFolder), C::village);
    QVariantList values{village};
    if (range) {
        // A number is taken by its value, so 5 to 20 holds 10 to 20 too; text comparison
        // is left to the role numbers that are no number.
        sql += QStringLiteral(" AND ((CAST(%1 AS FLOAT) >= ? AND CAST(%1 AS FLOAT) <= ?)"
                              " OR (CAST(%1 AS FLOAT) IS NULL AND %1 >= ?))")
                   .arg(C::number);
        values << range->from << range->to << range->fromText;
    }
    sql += QStringLiteral(" ORDER BY %1, ROLN").arg(C::number);
    const db::Query q = db.query(sql, values);
    std::vector<Role> roles;
    roles.reserve(size_t(q.count()));
    for (int row = 0; row < q.count(); ++row) roles.push_back(RoleFromRow(q, row));
    return roles;
}

void InsertRole(db::Database& db, const QString& dataFolder, const Role& role) {
    const QStringList& columns = RoleColumnNames();
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (?%3)")
                .arg(path(dataFolder), columns.join(QStringLiteral(", ")),
                     QStringLiteral(", ?").repeated(columns.size() - 1)),
            RoleValues(role));
}

void UpdateRole(db::Database& db, const QString& dataFolder, const Role& role) {
    // Every column after IDGOS, which names the row.
    const QStringList columns = RoleColumnNames().mid(1);
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = ? WHERE %3 = ?")
                .arg(path(dataFolder), columns.join(QStringLiteral(" = ?, ")), C::id),
            RoleValues(role).mid(1) + QVariantList{role.id});
}

int DeleteRole(db::Database& db, const QString& dataFolder, qint64 id) {
    return db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2 = ?").arg(path(dataFolder), C::id), {id});
}

} // namespace vartesa
