#include "roles/vehicle_details.h"

#include "db/database.h"
#include "roles/row_reader.h"
#include "shell/counters.h"
#include "shell/text_helpers.h"

namespace vartesa {

const QStringList& VehicleTypes() {
    static const QStringList types = {"Autoturisme", "Alte autovehicule", "Remorci", "Tractoare", "Autobuze"};
    return types;
}

const QStringList& VehicleMakes() {
    static const QStringList makes = {
        "* nespecificata *", "ACURA", "AIXAM", "ALFA ROMEO", "ARO", "ASIA", "ASTON MARTIN", "AUDI", "AUSTIN",
        "BENTLEY", "BMW", "BUGATTI", "BUICK", "CADILLAC", "CATERHAM", "CHEVROLET", "CHRYSLER", "CITROEN", "COMARTH",
        "DACIA", "DAEWOO", "DAIHATSU", "DATSUN", "DODGE", "EAGLE", "EXCALIBUR", "FERRARI", "FIAT", "FORD", "GAZ",
        "GEELY", "GMC", "GWM", "HONDA", "HUMMER", "HYUNDAI", "INFINITI", "INNOCENTI", "ISUZU", "IVECO", "JAGUAR",
        "JDM", "JEEP", "KAWASAKI", "KIA", "LADA", "LAMBORGHINI", "LANCIA", "LAND ROVER", "LANDWIND", "LEXUS",
        "LIGIER", "LINCOLN", "LOTUS", "LTI", "LUAZ", "MAHINDRA", "MARTIN MOTORS", "MARUTI", "MASERATI", "MAYBACH",
        "MAZDA", "MERCEDES", "MERCURY", "MG", "MICROCAR", "MINI", "MITSUBISHI", "MORGAN", "MORRIS", "MOSKVITCH",
        "NISSAN", "OLDSMOBILE", "OLTCIT", "OPEL", "PEUGEOT", "PLYMOUTH", "PONTIAC", "PORSCHE", "PROTON",
        "RAYTON FISSORE", "RENAULT", "REVA", "ROLLS ROYCE", "ROVER", "SAAB", "SANTANA", "SATURN", "SCION", "SEAT",
        "SHUANGHUAN", "SKODA", "SMART", "SSANG YONG", "SUBARU", "SUZUKI", "TALBOT", "TATA", "TESLA", "TOFAS",
        "TOYOTA", "TRABANT", "TRIUMPH", "TVR", "UAZ", "VAUXHALL", "VOLGA", "VOLKSWAGEN", "VOLVO", "WARSZAWA",
        "WARTBURG", "WIESMANN", "WOLSELEY", "ZAZ"};
    return makes;
}

QString UnspecifiedMake() { return VehicleMakes().front(); }

QString TidyAndCheckVehicleDetail(VehicleDetail& d) {
    if (d.capacity < kMinimumCapacity) return QStringLiteral("Capacitate incorecta!");
    d.fileNumber = CollapseSpaces(d.fileNumber).toUpper();
    d.bodySerial = CollapseSpaces(d.bodySerial).toUpper();
    d.engineSerial = CollapseSpaces(d.engineSerial).toUpper();
    d.notes = CollapseSpaces(d.notes);
    return {};
}

QString VehicleDetailHint(const VehicleDetail& d) {
    return QStringLiteral("Marca: ") + d.make + QStringLiteral(" caros.:") + d.bodySerial + QStringLiteral(", motor:") +
           d.engineSerial;
}

VehicleDetails::VehicleDetails(db::Database& db, const QString& dataFolder) : db_(db), folder_(dataFolder) {}

std::vector<VehicleDetail> VehicleDetails::of(qint64 roleId) {
    const db::Query q =
        db_.query(QStringLiteral("SELECT * FROM \"%1\" WHERE IDGOS = ? ORDER BY IDDETA").arg(table()), {roleId});
    std::vector<VehicleDetail> out;
    for (int row = 0; row < q.count(); ++row) {
        const RowReader r(q, row);
        out.push_back({r.integer("IDGOS"), r.integer("IDDETA"), r.text("NRDOS"), r.text("TIPAUTO"), r.text("MARCA"),
                       r.integer("CAPACIT"), r.text("SERIE"), r.text("SERIEM"), r.text("OBS")});
    }
    return out;
}

qint64 VehicleDetails::add(VehicleDetail d, CountersFile& counters) {
    d.id = counters.NextId(QStringLiteral("SERVER"), QStringLiteral("IDDETA")).toLongLong();
    db_.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, IDDETA, NrDos, TipAuto, Marca, Capacit, Serie, SerieM, Obs) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                 .arg(table()),
             {d.roleId, d.id, d.fileNumber, d.type, d.make, d.capacity, d.bodySerial, d.engineSerial, d.notes});
    return d.id;
}

void VehicleDetails::change(const VehicleDetail& d) {
    db_.exec(QStringLiteral("UPDATE \"%1\" SET TIPAUTO = ?, NRDOS = ?, MARCA = ?, Capacit = ?, SERIE = ?, SERIEM = ?, "
                            "OBS = ? WHERE IDDETA = ?")
                 .arg(table()),
             {d.type, d.fileNumber, d.make, d.capacity, d.bodySerial, d.engineSerial, d.notes, d.id});
}

void VehicleDetails::remove(qint64 id) {
    db_.exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDDETA = ?").arg(table()), {id});
}

} // namespace vartesa
