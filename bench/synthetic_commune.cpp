#include "synthetic_commune.h"

#include "db/dbf_format.h"
#include "db/file_io.h"

#include <QDate>
#include <QStringList>

namespace vartesa::bench {
namespace {

using db::Field;
using db::FieldType;

Field C(const char* name, int n) { return {name, FieldType::Char, n, 0, 0}; }
Field N(const char* name, int p, int s = 0) { return {name, FieldType::Numeric, p, s, 0}; }
Field D(const char* name) { return {name, FieldType::Date, 8, 0, 0}; }

const QStringList kGroups = {"Impozit pe cladiri", "Impozit pe teren intravilan", "Impozit pe teren extravilan",
                             "Impozit pe mijloace de transport", "Taxa salubrizare", "Amenzi"};

// Writes a table from a row generator: values are given field by field.
template <typename RowFn>
void writeTable(const QString& path, std::vector<Field> fields, int rows, RowFn row) {
    db::Layout l = db::makeLayout(std::move(fields), path);
    l.recordCount = std::uint32_t(rows);
    QByteArray out = db::buildHeader(l);
    out.reserve(l.headerLength + qsizetype(rows) * l.recordLength + 1);
    QByteArray rec(l.recordLength, ' ');
    for (int r = 0; r < rows; ++r) {
        rec.fill(' ');
        const QVariantList values = row(r);
        for (size_t i = 0; i < l.fields.size(); ++i)
            db::encodeField(l.fields[i], values.value(int(i)), rec.data() + l.fields[i].offset, path);
        out += rec;
    }
    out += db::kEndMarker;
    db::replaceFile(path, out);
}

} // namespace

void writeSyntheticCommune(const QString& folder, const CommuneSize& size) {
    const auto village = [&](int role) { return QStringLiteral("Satul %1").arg(role % size.villages + 1); };
    writeTable(folder + "/Gospodar.dbf",
               {N("IDGOS", 10), C("SATUL", 32), C("ROL", 9), C("NUMEP", 40), C("CNP", 13), C("ADRESA", 80),
                C("TIP", 8), C("SCCLAD", 2), C("SCCC", 2), C("SCTI", 2), C("SCAUTO", 2), N("SCTE", 6),
                C("OBS", 240), C("NOTAX", 2)},
               size.roles, [&](int r) {
                   return QVariantList{r + 1, village(r), QString::number(r / size.villages + 1),
                                       QStringLiteral("Contribuabil %1").arg(r + 1), "1800101123456",
                                       QStringLiteral("Str. Principala nr. %1").arg(r % 300 + 1),
                                       r % 10 ? "FIZICA" : "JURIDICA", "NU", "NU", "NU", "NU", 0, "", "NU"};
               });
    const QDate start(2015, 1, 1);
    writeTable(folder + "/Datorii.dbf",
               {N("IDDAT", 10), N("IDGOS", 10), D("DINDATA"), C("SATUL", 32), C("ROL", 9), C("GRUPA", 60),
                C("DENUM", 50), C("DOCJUS", 50), N("NR", 10), N("SUMA", 6), N("REST", 6), N("REDUC", 6),
                C("UM", 8), N("CANT", 9, 4), N("REDUCP", 6), N("SCUTIT", 6), C("TIP", 1), N("SUMA2", 6),
                N("RESTINI", 6)},
               size.roles * size.linesPerRole, [&](int r) {
                   const int role = r / size.linesPerRole;
                   const QString group = kGroups[r % kGroups.size()];
                   const int amount = (r * 37) % 900 + 10;
                   return QVariantList{r + 1, role + 1, start.addDays(r % 365), village(role),
                                       QString::number(role / size.villages + 1), group, group,
                                       QStringLiteral("Decizia %1").arg(r % 50), r % 1000, amount, amount / 3,
                                       0, "lei", 1.5, 0, 0, "A", amount, amount / 3};
               });
}

} // namespace vartesa::bench
