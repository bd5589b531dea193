#include "roles/role_register.h"

#include "db/database.h"
#include "db/error.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/services.h"

namespace vartesa {

namespace {

const QString kRoles = QStringLiteral("Gospodar.dbf");

// Values of the fields after IDGOS, in the order of the insert and of the update.
QVariantList roleValues(const Role& r) {
    return {r.village, r.number, r.name, r.code, r.address, r.personType, YesNo(r.exemptBuildings),
            YesNo(r.exemptYards), YesNo(r.exemptVehicles), YesNo(r.exemptIntravilan), r.extravilanExemption,
            r.notes, YesNo(r.noPenalties)};
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
    static const QStringList tables = {"Pag1.dbf", "Pag2.dbf", "Pag4.dbf", "Pag5.dbf",
                                       "Pag6.dbf", "Pag7.dbf", "Pag8.dbf"};
    return tables;
}

const QStringList& RoleDeletionTables() {
    static const QStringList tables = QStringList{kRoles} + PageTables() +
                                      QStringList{"Datorii.dbf", "SoldCalc.dbf", "Chitante.dbf",
                                                  "UndelDat.dbf", "UndelSold.dbf"};
    return tables;
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
    return db_.query(QStringLiteral("SELECT IDGOS, SATUL, ROL, NUMEP, UPPER(NUMEP) AS NUMEM, CNP, ADRESA, "
                                    "TIP, SCCLAD, SCCC, SCTI, SCAUTO, SCTE, OBS, NOTAX FROM \"%1\" "
                                    "ORDER BY SATUL, NUMEP, ROL")
                         .arg(table(kRoles)));
}

std::optional<Role> RoleRegister::role(qint64 id) {
    const db::Query q = db_.query(QStringLiteral("SELECT * FROM \"%1\" WHERE IDGOS = ?").arg(table(kRoles)), {id});
    if (q.isEmpty()) return std::nullopt;
    return RoleFromRow(q, 0);
}

QString RoleRegister::ProposeRoleNumber() {
    const QVariant max =
        db_.scalar(QStringLiteral("SELECT MAX(CAST(ROL AS FLOAT)) AS ROLMAX FROM \"%1\"").arg(table(kRoles)));
    const double next = (max.isNull() ? 0.0 : max.toDouble()) + 1;
    return next == double(qint64(next)) ? QString::number(qint64(next)) : QString::number(next, 'g', 15);
}

int RoleRegister::countWithNumber(const QString& number, qint64 except) {
    return db_.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE ROL = ? AND IDGOS <> ?").arg(table(kRoles)),
                      {number, except})
        .toInt();
}

std::optional<Role> RoleRegister::roleWithCode(const QString& code, qint64 except) {
    const db::Query q = db_.query(
        QStringLiteral("SELECT * FROM \"%1\" WHERE CNP = ? AND IDGOS <> ? ORDER BY IDGOS").arg(table(kRoles)),
        {code, except});
    if (q.isEmpty()) return std::nullopt;
    return RoleFromRow(q, 0);
}

QStringList RoleRegister::addresses() {
    const db::Query q =
        db_.query(QStringLiteral("SELECT DISTINCT ADRESA FROM \"%1\" ORDER BY ADRESA").arg(table(kRoles)));
    QStringList out;
    for (int r = 0; r < q.count(); ++r)
        if (const QString a = q.cell(r, 0).toString(); !a.trimmed().isEmpty()) out << a;
    return out;
}

qint64 RoleRegister::addRole(Role role, CountersFile& counters, const BlankPageDefaults& defaults) {
    role.id = counters.NextId(QStringLiteral("SERVER"), QStringLiteral("IDGOS")).toLongLong();
    db::Transaction tx(db_);
    db_.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, SATUL, ROL, NUMEP, CNP, ADRESA, TIP, SCCLAD, SCCC, SCAUTO, "
                            "SCTI, SCTE, OBS, NOTAX) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                 .arg(table(kRoles)),
             QVariantList{role.id} + roleValues(role));
    for (const QString& page : PageTables()) InsertBlankPage(db_, folder_, page, role.id, defaults);
    tx.commit();
    return role.id;
}

void RoleRegister::editRole(const Role& role) {
    db::Transaction tx(db_);
    db_.exec(QStringLiteral("UPDATE \"%1\" SET SATUL = ?, ROL = ?, NUMEP = ?, CNP = ?, ADRESA = ?, TIP = ?, "
                            "SCCLAD = ?, SCCC = ?, SCAUTO = ?, SCTI = ?, SCTE = ?, OBS = ?, NOTAX = ? WHERE IDGOS = ?")
                 .arg(table(kRoles)),
             roleValues(role) + QVariantList{role.id});
    // By IDGOS, not by the old village and number: another role may share that number.
    for (const char* file : {"Datorii.dbf", "SoldCalc.dbf"})
        if (const QString path = table(QLatin1String(file)); db_.tableExists(path))
            db_.exec(QStringLiteral("UPDATE \"%1\" SET SATUL = ?, ROL = ? WHERE IDGOS = ?").arg(path),
                     {role.village, role.number, role.id});
    tx.commit();
}

void RoleRegister::deleteRole(qint64 id, Progress& progress) {
    ProgressShown shown(progress, QStringLiteral("Sterg gospodaria..."));
    progress.SetMaximum(int(RoleDeletionTables().size()));
    db::Transaction tx(db_);
    for (const QString& file : RoleDeletionTables()) {
        // A table the folder lacks holds no rows of the role.
        if (const QString path = table(file); file == kRoles || db_.tableExists(path))
            db_.exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDGOS = ?").arg(path), {id});
        progress.Step();
    }
    tx.commit();
}

} // namespace vartesa
