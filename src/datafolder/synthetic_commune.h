#pragma once
// A synthetic commune: five villages with their zones and ranks, natural and legal persons
// with houses of every age and area band, annexes, land of every category and zone,
// vehicles of every kind (over 12 t, combinations, water, unregistered), other local
// taxes, arrears and credits, year debits and fines entered by hand, a few roles without
// penalties and exemptions of every kind; the constants at plausible rates, cashiers with
// their receipt series in the users file; then every role added to payment.
//
// The same seed gives the same commune. It is the data set of the benchmarks and the way a
// new user tries the program (the demo data folder).

#include "roles/assessment.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

namespace vartesa {

class Services;
struct TableLayout;

struct SyntheticCommuneOptions {
    int roles = 10000;  // rows of Gospodar.dbf
    quint64 seed = 1;   // same seed, same commune
    bool assess = true; // add every role to payment at the end
    int workingYear = 2015; // the year the commune is assessed for; its dates follow it
};

struct SyntheticCommuneReport {
    int roles = 0;              // roles written
    AssessRunResult assessment; // what the final "Adaugare la plata" did
};

/// Writes the commune into `services.folders.data` (created when missing; an existing data
/// folder is refused rather than mixed with). Throws vartesa::Error.
SyntheticCommuneReport CreateSyntheticCommune(Services& services,
                                              const SyntheticCommuneOptions& options);

/// The villages of the commune, in capitals with their Romanian letters.
const QStringList& SyntheticVillages();

/// The rows of the generated tables, each in the catalog's field order.
struct SyntheticRows {
    std::vector<QVariantList> roles, debits, manualLines, zones;
    std::vector<QVariantList> vehicleDetails; // AutoDet.dbf
    std::vector<QVariantList> pages[7]; // in the order of PageTables()
    qint64 lastDebit = 0;               // greatest IDDEB used
    qint64 lastLine = 0;                // greatest IDDAT used by the manual lines
};
/// Generates the rows of `options.roles` roles, deterministic for `options.seed`.
SyntheticRows GenerateSyntheticRows(const SyntheticCommuneOptions& options);

/// Writes a whole table file with `rows` (values in the layout's field order), replacing it.
void WriteTableFile(const QString& path, const TableLayout& layout,
                    const std::vector<QVariantList>& rows);

} // namespace vartesa
