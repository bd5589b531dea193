#pragma once
// One role of the register: a row of GOSPODAR.dbf, keyed by IDGOS.

#include <QString>

namespace vartesa {

namespace db {
class Query;
}

/// The person types a role may have (TIP).
inline const QString kPersonNatural = QStringLiteral("FIZICA");
inline const QString kPersonLegal = QStringLiteral("JURIDICA");

struct Role {
    qint64 id = 0;                    // IDGOS; 0 before the role is stored
    QString village;                  // SATUL, upper case, inner spaces collapsed
    QString number;                   // ROL, upper case text ("Nr.ROL unic")
    QString name;                     // NUMEP, head of household or company, upper case
    QString code;                     // CNP (person) or CUI (company); may be empty
    QString address;                  // ADRESA, free text
    QString personType = kPersonNatural; // TIP
    bool exemptBuildings = false;     // SCCLAD: buildings and annex buildings
    bool exemptYards = false;         // SCCC: built-up yards of the intravilan land
    bool exemptIntravilan = false;    // SCTI: other intravilan land
    bool exemptVehicles = false;      // SCAUTO: means of transport
    qint64 extravilanExemption = 0;   // SCTE: lei taken off the extravilan land tax
    QString notes;                    // OBS
    bool noPenalties = false;         // NOTAX: "Fara majorari"
};

/// The fields of the add/edit form, for pointing the clerk at the one at fault.
enum class RoleField { None, Village, Number, Name, PersonType, Code, Address, NoPenalties, ExtravilanExemption, Notes };

/// The role in the current row of a query over GOSPODAR.dbf (missing columns stay default).
Role RoleFromRow(const db::Query& query, int row);

/// "DA" or "NU", as the tables keep yes/no.
inline QString YesNo(bool yes) { return yes ? QStringLiteral("DA") : QStringLiteral("NU"); }

} // namespace vartesa
