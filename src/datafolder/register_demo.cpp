#include "datafolder/register_demo.h"

#include "books/roles.h"
#include "datafolder/backup.h"
#include "datafolder/register_tables.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/table_files.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <random>

namespace vartesa {

namespace {

using db::Field;
using db::FieldType;

Field chr(const QString& name, int width) { return {name, FieldType::Char, width, 0, 0}; }
Field num(const QString& name, int width, int decimals = 0) { return {name, FieldType::Numeric, width, decimals, 0}; }

// The register's kinds of volume: 1 and 2 natural persons, 3 and 4 legal persons.
int kindOf(const Role& r, int i) {
    if (r.personType == kPersonLegal) return i % 5 == 0 ? 4 : 3;
    return i % 7 == 0 ? 2 : 1;
}

// The register program keeps a memo field in its households table; our codec writes none, so
// a text field of its width is marked as one afterwards (its values are blanks).
void markMemo(const QString& path, const QString& field) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) throw Error(QStringLiteral("Nu pot scrie fisierul %1").arg(path), path);
    QByteArray header = f.read(4096);
    for (int pos = 32; pos + 32 <= header.size() && header[pos] != 0x0D; pos += 32)
        if (QString::fromLatin1(header.constData() + pos).left(10) == field) {
            f.seek(pos + 11);
            f.write("M", 1);
        }
}

struct Household {
    qint64 idid;
    QString village, number, name, code;
    int kind;
    bool cancelled = false;
};

} // namespace

DemoRegisterReport WriteDemoRegister(db::Database& db, const QString& dataFolder, int year, const QString& archive,
                                     const DemoRegisterOptions& options) {
    std::mt19937_64 rng(options.seed);
    const auto pick = [&rng](int from, int to) { return int(std::uniform_int_distribution<int>(from, to)(rng)); };
    const db::Query q =
        db.query(QStringLiteral("SELECT * FROM \"%1/%2\" ORDER BY IDGOS").arg(dataFolder, tables::Roles));
    std::vector<Household> households;
    QStringList villages;
    qint64 maxNumber = 0;
    for (int r = 0; r < q.count(); ++r) {
        const Role role = RoleFromRow(q, r);
        if (role.village.isEmpty() || role.number.isEmpty()) continue;
        if (!villages.contains(role.village)) villages << role.village;
        maxNumber = std::max(maxNumber, role.number.toLongLong());
        const int i = int(households.size()) + 1;
        households.push_back({i, role.village, role.number, role.name, role.code, kindOf(role, i)});
    }
    if (villages.isEmpty()) villages << QStringLiteral("SAT NOU");
    // New households, then a few cancelled ones and one without a number.
    const int extra = options.newHouseholds + 4;
    for (int k = 0; k < extra; ++k) {
        const qint64 i = qint64(households.size()) + 1;
        Household h{i, villages[pick(0, int(villages.size()) - 1)], QString::number(maxNumber + k + 1),
                    QStringLiteral("GOSPODAR NOU %1").arg(k + 1), QString::number(1800101000000LL + i), pick(1, 4)};
        h.cancelled = k >= options.newHouseholds && k < options.newHouseholds + 3;
        if (k == extra - 1) h.number.clear();
        households.push_back(h);
    }

    QTemporaryDir dir;
    if (!dir.isValid()) throw Error(QStringLiteral("Nu pot crea un director temporar"), archive);
    const QString folder = dir.path();

    // Volume.dbf: one volume per village and kind.
    QHash<QString, qint64> volumeOf;
    std::vector<QVariantList> volumes;
    for (const QString& v : villages)
        for (int kind = 1; kind <= 4; ++kind) {
            volumes.push_back({qint64(volumes.size() + 1), v, kind});
            volumeOf.insert(v + QString::number(kind), qint64(volumes.size()));
        }
    WriteRegisterTable(folder + QStringLiteral("/Volume.dbf"),
                       {num("IDVOL", 10), chr("LOCALIT", 40), num("TIPRA", 1)}, volumes);

    std::vector<Field> idFields = {num("IDID", 10), num("IDVOL", 10), chr("ROL", 20), chr("ANULAT", 2),
                                   chr("NUME1", 60), chr("NUME3", 60), chr("NUME4", 60), chr("CNP1", 13),
                                   chr("NUIR", 13)};
    for (int k = 1; k <= 4; ++k) idFields.push_back(chr(QStringLiteral("STRADA%1").arg(k), 40));
    for (int k = 1; k <= 4; ++k) idFields.push_back(chr(QStringLiteral("NR%1").arg(k), 10));
    idFields.push_back(chr("OBSERV", 10));
    std::vector<QVariantList> ids;
    for (const Household& h : households) {
        QVariantList row{h.idid, volumeOf.value(h.village + QString::number(h.kind)), h.number,
                         h.cancelled ? QStringLiteral("DA") : QStringLiteral("NU")};
        row << (h.kind <= 2 ? h.name : QString()) << (h.kind == 3 ? h.name : QString())
            << (h.kind == 4 ? h.name : QString()) << (h.kind <= 2 ? h.code : QString())
            << (h.kind >= 3 ? h.code : QString());
        for (int k = 1; k <= 4; ++k)
            row << (k == h.kind ? QStringLiteral("Strada %1").arg(pick(1, 40)) : QString());
        for (int k = 1; k <= 4; ++k) row << (k == h.kind ? QString::number(pick(1, 300)) : QString());
        row << QString();
        ids.push_back(row);
    }
    WriteRegisterTable(folder + QStringLiteral("/Identificare.dbf"), idFields, ids);
    markMemo(folder + QStringLiteral("/Identificare.dbf"), QStringLiteral("OBSERV"));

    // Cap2A.dbf: the working year's land of every household (every column), and the year
    // before for some, which the import leaves out. ANUL is kept as text here.
    std::vector<Field> landFields = {num("IDID", 10), chr("ANUL", 4)};
    for (int n = 1; n <= 16; ++n) landFields.push_back(num(QStringLiteral("EXTRA%1").arg(n), 10));
    for (int n = 1; n <= 16; ++n) landFields.push_back(num(QStringLiteral("INTRA%1").arg(n), 10));
    std::vector<QVariantList> land;
    for (const Household& h : households) {
        for (int y : {year, year - 1}) {
            if (y != year && h.idid % 10 != 0) continue;
            QVariantList row{h.idid, QString::number(y)};
            qint64 e[17];
            for (int n = 1; n <= 16; ++n) e[n] = pick(0, 20000);
            e[4] = e[5] + e[6] + pick(0, 30000); // column 4 holds 5 and 6
            e[7] = e[8] + pick(0, 5000);         // column 7 holds 8
            for (int n = 1; n <= 16; ++n) row << e[n];
            for (int n = 1; n <= 16; ++n) row << (n == 14 ? pick(100, 2500) : pick(0, 3000));
            land.push_back(row);
        }
    }
    WriteRegisterTable(folder + QStringLiteral("/Cap2A.dbf"), landFields, land);

    // CAP11.dbf: up to three buildings per household, of every type, the same in every year
    // of the register's period (2015..2019).
    std::vector<Field> buildingFields = {num("IDID", 10), num("RAND", 3)};
    for (int n = 1; n <= 5; ++n)
        buildingFields.insert(buildingFields.end(), {num(QStringLiteral("SUPRAF%1").arg(n), 9, 2),
                                                     chr(QStringLiteral("TIP%1").arg(n), 1),
                                                     num(QStringLiteral("ANULT%1").arg(n), 4)});
    static const QString types = QStringLiteral("ABCDE");
    std::vector<QVariantList> buildings;
    for (const Household& h : households) {
        const int count = pick(0, 3);
        for (int b = 1; b <= count; ++b) {
            const double area = pick(1000, 25000) / 100.0;
            const QString type = types.mid(pick(0, 4), 1);
            const int built = pick(1900, year);
            QVariantList row{h.idid, b};
            for (int n = 1; n <= 5; ++n) row << area << type << built;
            buildings.push_back(row);
        }
    }
    WriteRegisterTable(folder + QStringLiteral("/CAP11.dbf"), buildingFields, buildings);

    std::vector<ArchiveSource> sources;
    for (const QString& file : {QStringLiteral("Identificare.dbf"), QStringLiteral("Volume.dbf"),
                                QStringLiteral("Cap2A.dbf"), QStringLiteral("CAP11.dbf")})
        sources.push_back({folder + '/' + file, QStringLiteral("DATA\\") + file});
    CompressFiles(sources, archive);
    return {int(households.size()), int(buildings.size())};
}

} // namespace vartesa
