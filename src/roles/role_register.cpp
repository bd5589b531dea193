#include "roles/role_register.h"

#include "admin/admin_zones.h"
#include "books/balances.h"
#include "books/ledger.h"
#include "db/database.h"
#include "db/error.h"
#include "roles/page_fields.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/table_files.h"

namespace vartesa {

namespace {

using R = RoleColumns;

// Deletes the rows of role `id` from one table of RoleDeletionTables(), through its book
// where it has one; returns how many there were.
int deleteRowsOfRole(db::Database& db, const QString& folder, const QString& file, qint64 id) {
    if (file == tables::Roles) return DeleteRole(db, folder, id);
    if (file == tables::Ledger) return DeleteLedgerLinesOfRole(db, folder, id);
    if (file == tables::Balances) return DeleteBalanceRowsOfRole(db, folder, id);
    return db.exec(QStringLiteral("DELETE FROM \"%1/%2\" WHERE IDGOS = ?").arg(folder, file), {id});
}

} // namespace

QVariant BlankPageValue(const db::Field& f, const BlankPageDefaults& d) {
    const QString& n = f.name;
    if (f.type == db::FieldType::Date) return d.revaluationDate;
    if (f.type != db::FieldType::Char) {
        if (n.size() == 3 && n.startsWith('C') && n.endsWith('C') && n[1].isDigit()) return 1; // C<k>C
        if (n.startsWith(QLatin1String("NR"))) return n.mid(2).toInt();                           // NR<k>
        return 0;
    }
    if (n.startsWith(QLatin1String("AM"))) return QStringLiteral("NU");
    if (n.endsWith('Z') || n.endsWith(QLatin1String("Z2"))) return d.zone;
    if (n.endsWith('R') || n.endsWith(QLatin1String("R2"))) return d.rank;
    return QString();
}

const QStringList& PageTables() {
    static const QStringList tables = {tables::LandOutside, tables::Buildings, tables::LandInside, tables::Vehicles,
                                       tables::Unregistered, tables::OtherTaxes, tables::PriorArrears};
    return tables;
}

const QStringList& RoleDeletionTables() {
    static const QStringList files = QStringList{tables::Roles} + PageTables() +
                                     QStringList{tables::Ledger, tables::Balances, tables::Receipts,
                                                 tables::LedgerUndo, tables::BalancesUndo};
    return files;
}

void InsertBlankPage(db::Database& db, const QString& dataFolder, const QString& file, qint64 id,
                     const BlankPageDefaults& defaults) {
    const TableLayout& layout = CatalogTable(file);
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const db::Field& f : layout.fields) {
        names << f.name;
        marks << QStringLiteral("?");
        values << (f.name == QLatin1String("IDGOS") ? QVariant(id) : BlankPageValue(f, defaults));
    }
    db.exec(QStringLiteral("INSERT INTO \"%1/%2\" (%3) VALUES (%4)")
                .arg(dataFolder, file, names.join(','), marks.join(',')),
            values);
}

RoleRegister::RoleRegister(db::Database& db, const QString& dataFolder) : db_(db), folder_(dataFolder) {}

db::Query RoleRegister::listRoles() {
    const QStringList before = {R::id, R::village, R::number, R::name};
    const QStringList after = {R::code,      R::address,       R::personType, R::exemptBuildings,
                               R::exemptYards, R::exemptIntravilan, R::exemptVehicles, R::extravilanExemption,
                               R::notes,     R::noPenalties};
    return db_.query(QStringLiteral("SELECT %1, UPPER(%2) AS NUMEM, %3 FROM \"%4\" ORDER BY %5, %2, %6")
                         .arg(before.join(QStringLiteral(", ")), R::name, after.join(QStringLiteral(", ")),
                              table(tables::Roles), R::village, R::number));
}

std::optional<Role> RoleRegister::role(qint64 id) {
    return ReadRole(db_, folder_, id);
}

QString RoleRegister::ProposeRoleNumber() {
    const QVariant max = db_.scalar(
        QStringLiteral("SELECT MAX(CAST(%1 AS FLOAT)) AS ROLMAX FROM \"%2\"").arg(R::number, table(tables::Roles)));
    const double next = (max.isNull() ? 0.0 : max.toDouble()) + 1;
    return next == double(qint64(next)) ? QString::number(qint64(next)) : QString::number(next, 'g', 15);
}

int RoleRegister::countWithNumber(const QString& number, qint64 except) {
    return db_.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE %2 = ? AND %3 <> ?")
                          .arg(table(tables::Roles), R::number, R::id),
                      {number, except})
        .toInt();
}

std::optional<Role> RoleRegister::roleWithCode(const QString& code, qint64 except) {
    return ReadRoleWithCode(db_, folder_, code, except);
}

QStringList RoleRegister::addresses() {
    const db::Query q = db_.query(
        QStringLiteral("SELECT DISTINCT %1 FROM \"%2\" ORDER BY %1").arg(R::address, table(tables::Roles)));
    QStringList out;
    for (int r = 0; r < q.count(); ++r)
        if (const QString a = q.cell(r, 0).toString(); !a.trimmed().isEmpty()) out << a;
    return out;
}

BlankPageDefaults VillageBlankPageDefaults(db::Database& db, const QString& dataFolder, const QString& village,
                                           BlankPageDefaults defaults) {
    const QString wanted = village.trimmed().toUpper();
    for (const ZoneRow& row : ZoneTable(db, dataFolder).all()) {
        if (row.locality.toUpper() != wanted) continue;
        // A zone or rank the administrator's lists do not know leaves the default.
        if (ZoneList().contains(row.zone.toUpper())) defaults.zone = row.zone.toUpper();
        if (RankList().contains(row.rank.toUpper())) defaults.rank = row.rank.toUpper();
        break;
    }
    return defaults;
}

qint64 RoleRegister::addRole(Role role, CountersFile& counters, const BlankPageDefaults& defaults) {
    const BlankPageDefaults blank = VillageBlankPageDefaults(db_, folder_, role.village, defaults);
    role.id = counters.NextId(QStringLiteral("SERVER"), QStringLiteral("IDGOS")).toLongLong();
    db::Transaction tx(db_);
    InsertRole(db_, folder_, role);
    for (const QString& page : PageTables()) InsertBlankPage(db_, folder_, page, role.id, blank);
    tx.commit();
    return role.id;
}

void RoleRegister::editRole(const Role& role) {
    db::Transaction tx(db_);
    UpdateRole(db_, folder_, role);
    // By IDGOS, not by the old village and number: another role may share that number.
    if (db_.tableExists(table(tables::Ledger))) SetLedgerRoleNames(db_, folder_, role.id, role.village, role.number);
    if (db_.tableExists(table(tables::Balances)))
        SetBalanceRoleNames(db_, folder_, role.id, role.village, role.number);
    tx.commit();
}

std::vector<std::pair<QString, int>> RoleRegister::deleteRole(qint64 id, Progress& progress) {
    ProgressShown shown(progress, QStringLiteral("Sterg gospodaria..."));
    progress.SetMaximum(int(RoleDeletionTables().size()));
    std::vector<std::pair<QString, int>> deleted;
    db::Transaction tx(db_);
    for (const QString& file : RoleDeletionTables()) {
        // A table the folder lacks holds no rows of the role.
        const bool present = file == tables::Roles || db_.tableExists(table(file));
        deleted.emplace_back(file, present ? deleteRowsOfRole(db_, folder_, file, id) : 0);
        progress.Step();
    }
    tx.commit();
    return deleted;
}

} // namespace vartesa
