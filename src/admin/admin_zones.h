#pragma once
// The zones of the localities, DefZone.dbf: one row per locality with its zone (A to D)
// and rank (0 to V), edited on the administrator window's "definirea zonelor" page. The
// village list joins these localities to the villages of the roles.

#include "shell/counters.h"

#include <QString>

#include <optional>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// One row of DefZone.dbf.
struct ZoneRow {
    qint64 id = 0;    // ID, from NextId("SERVER", "DEFZONE")
    QString locality; // LOCALIT: capitals, single spaces, unique
    QString zone;     // ZONA: "A" to "D"
    QString rank;     // RANG: "0", "I" to "V"
};

/// The zones of one data folder. Cheap to make: a window makes one when it acts, from the
/// data folder in use then, so a workstation writes to the owning machine's folder.
class ZoneTable {
public:
    /// The identifiers come from the counters file of `dataFolder`.
    ZoneTable(db::Database& db, const QString& dataFolder);
    QString path() const;

    /// The rows ordered by LOCALIT; none when the table is missing.
    std::vector<ZoneRow> all() const;

    /// A locality as stored: spaces collapsed, capitals, at most 32 characters.
    static QString cleanLocality(const QString& typed);
    /// The check of "&Memoreaza" on a cleaned locality: the balloon's text when refused
    /// (empty, or another row than `editingId` has it), nothing when accepted.
    std::optional<QString> check(const QString& locality, qint64 editingId = 0) const;

    /// Inserts a row with the next identifier (creating the table when missing); returns it.
    qint64 add(const QString& locality, const QString& zone, const QString& rank);
    /// Gives the row `id` the new locality, zone and rank.
    void modify(qint64 id, const QString& locality, const QString& zone, const QString& rank);
    void remove(qint64 id);

private:
    db::Database& db_;
    QString dataFolder_;    // where DefZone.dbf lives
    CountersFile counters_; // Vartesa.set of that folder, for the identifiers
};

} // namespace vartesa
