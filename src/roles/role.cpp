#include "roles/role.h"

#include "db/query.h"

namespace vartesa {

namespace {

QString cellText(const db::Query& q, int row, const char* field) {
    const int column = q.columnIndex(QLatin1String(field));
    return column < 0 ? QString() : q.cell(row, column).toString().trimmed();
}

bool cellYes(const db::Query& q, int row, const char* field) {
    return cellText(q, row, field).compare(QLatin1String("DA"), Qt::CaseInsensitive) == 0;
}

} // namespace

Role RoleFromRow(const db::Query& q, int row) {
    Role r;
    r.id = cellText(q, row, "IDGOS").toLongLong();
    r.village = cellText(q, row, "SATUL");
    r.number = cellText(q, row, "ROL");
    r.name = cellText(q, row, "NUMEP");
    r.code = cellText(q, row, "CNP");
    r.address = cellText(q, row, "ADRESA");
    r.personType = cellText(q, row, "TIP");
    r.exemptBuildings = cellYes(q, row, "SCCLAD");
    r.exemptYards = cellYes(q, row, "SCCC");
    r.exemptIntravilan = cellYes(q, row, "SCTI");
    r.exemptVehicles = cellYes(q, row, "SCAUTO");
    r.extravilanExemption = qint64(cellText(q, row, "SCTE").toDouble());
    r.notes = cellText(q, row, "OBS");
    r.noPenalties = cellYes(q, row, "NOTAX");
    return r;
}

} // namespace vartesa
