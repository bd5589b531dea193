#pragma once
// The individual vehicles of a role (AutoDet.dbf): file number, type, make, capacity and
// serial numbers. They describe what page 5 counts; the assessment does not read them.

#include "shell/table_files.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {

class CountersFile;
namespace db {
class Database;
}

inline const QString kVehicleDetailsTable = tables::VehicleDetails;

/// One row of AutoDet.dbf.
struct VehicleDetail {
    qint64 roleId = 0;   // IDGOS
    qint64 id = 0;       // IDDETA
    QString fileNumber;  // NrDos ("Numar Dosar"), upper case
    QString type;        // TipAuto
    QString make;        // Marca
    qint64 capacity = 0; // Capacit, cm³
    QString bodySerial;  // Serie, upper case
    QString engineSerial; // SerieM, upper case
    QString notes;       // Obs
};

/// "Autoturisme", "Alte autovehicule", "Remorci", "Tractoare", "Autobuze".
const QStringList& VehicleTypes();
/// "* nespecificata *" then the makes in alphabetical order.
const QStringList& VehicleMakes();
/// The first entry of VehicleMakes(): no make given.
QString UnspecifiedMake();

/// The smallest capacity the form takes, cm³.
constexpr qint64 kMinimumCapacity = 10;

/// "Memoreaza" of the form: a capacity below 10 gives the balloon text "Capacitate
/// incorecta!"; otherwise the file number, serials and notes get their spaces collapsed
/// (numbers and serials in capitals) and the result is empty.
QString TidyAndCheckVehicleDetail(VehicleDetail& detail);

/// The row's hint in the grid: "Marca: " make " caros.:" body ", motor:" engine.
QString VehicleDetailHint(const VehicleDetail& detail);

class VehicleDetails {
public:
    VehicleDetails(db::Database& db, const QString& dataFolder);
    void setDataFolder(const QString& folder) { folder_ = folder; }
    QString table() const { return folder_ + '/' + kVehicleDetailsTable; }

    /// The role's vehicles in the order they were added.
    std::vector<VehicleDetail> of(qint64 roleId);
    /// Stores a new vehicle of `detail.roleId` with IDDETA drawn from the counters; returns it.
    qint64 add(VehicleDetail detail, CountersFile& counters);
    /// Rewrites the vehicle `detail.id`.
    void change(const VehicleDetail& detail);
    void remove(qint64 id);

private:
    db::Database& db_;
    QString folder_;
};

} // namespace vartesa
