#include "roles/assessment_rates.h"
#include "roles/debit_objects.h"

#include "admin/admin_constants.h"
#include "shell/startup.h"

namespace vartesa {

namespace {

const QStringList kZones = {"A", "B", "C", "D", "E"};
const QStringList kRanks = {"0", "I", "II", "III", "IV", "V"};

// The levels of one building kind: <prefix><zone>R<rank position>, zones A-D.
void readBuildingLevels(const AdminConstants& c, const QString& prefix, Currency (&out)[4][6]) {
    for (int z = 0; z < 4; ++z)
        for (int r = 0; r < 6; ++r)
            out[z][r] = c.value(QStringLiteral("%1%2R%3").arg(prefix, kZones[z]).arg(r));
}

} // namespace

AssessmentRates AssessmentRates::from(const AdminConstants& c) {
    AssessmentRates r;
    r.year = WorkingYear().toInt();
    for (int k = 0; k < 11; ++k)
        for (int z = 0; z < 5; ++z)
            r.outside[k][z] = c.value(QStringLiteral("EC%1Z%2").arg(k + 1).arg(kZones[z]));
    r.outsideReduction = c.value(QStringLiteral("ERED"));
    readBuildingLevels(c, QStringLiteral("ICZ"), r.house[0]);
    readBuildingLevels(c, QStringLiteral("IC2Z"), r.house[1]);
    r.houseQuota = c.value(QStringLiteral("CotaMajC"));
    r.buildingReduction = c.value(QStringLiteral("ICRED"));
    readBuildingLevels(c, QStringLiteral("IA1Z"), r.annex[0]);
    readBuildingLevels(c, QStringLiteral("IA2Z"), r.annex[1]);
    r.annexQuota = c.value(QStringLiteral("CotaMajA"));
    r.annexReduction = c.value(QStringLiteral("IARED"));
    for (int z = 0; z < 5; ++z)
        r.yard[z] = c.value(QStringLiteral("ICC") + kZones[z]);
    for (int k = 0; k < 8; ++k)
        for (int z = 0; z < 5; ++z)
            r.inside[k][z] = c.value(QStringLiteral("IA%1%2").arg(k + 1).arg(z + 1));
    r.insideReduction = c.value(QStringLiteral("IIRED"));
    for (int n = 1; n <= 23; ++n)
        r.vehicle[n] = c.value(QStringLiteral("AUTO%1").arg(n));
    r.vehicleReduction = c.value(QStringLiteral("NumericEdit3"));
    for (int s = 0; s < 2; ++s) {
        const QString kind = s == 0 ? QStringLiteral("A") : QStringLiteral("B");
        for (int k = 0; k < 15; ++k)
            r.heavy[s][k] = c.value(QStringLiteral("G%1").arg(k + 1) + kind);
        for (int k = 0; k < 24; ++k)
            r.combination[s][k] = c.value(QStringLiteral("GC%1").arg(k + 1) + kind);
    }
    for (int k = 0; k < 13; ++k)
        r.water[k] = c.value(QStringLiteral("APA%1").arg(k + 1));
    for (int k = 0; k < 3; ++k)
        r.unregistered[k] = c.value(QStringLiteral("VN%1").arg(k + 1));
    for (int k = 0; k < 6; ++k)
        r.other[k] = c.value(QStringLiteral("Alte%1").arg(k + 1));
    r.defaultZone = std::max<int>(
        0, int(kZones.mid(0, 4).indexOf(c.text(QStringLiteral("ComboBox2")).trimmed())));
    const int rank = int(kRanks.indexOf(c.text(QStringLiteral("ComboBox3")).trimmed()));
    r.defaultRank = rank < 0 ? 4 : rank;
    r.companyBonus = c.isChecked(QStringLiteral("BonifPJ"));
    r.noPenaltiesOption = c.noPenalties();
    return r;
}

int AssessmentRates::zoneIndex(const QString& zone) const {
    const int i = int(kZones.mid(0, 4).indexOf(zone.trimmed()));
    return i < 0 ? defaultZone : i;
}

int AssessmentRates::rankIndex(const QString& rank) const {
    const int i = int(kRanks.indexOf(rank.trimmed()));
    return i < 0 ? defaultRank : i;
}

const QStringList& OutsideLandNames() {
    // The same names the year debits give the categories: the ledger and the debits meet.
    return OutsideLandCategories();
}

const QStringList& InsideLandNames() {
    static const QStringList names = {"Teren arabil", "Pasune",      "Faneata", "Vie",
                                      "Livada",       "Neproductiv", "Padure",  "Teren cu ape"};
    return names;
}

const QStringList& CarClassNames() {
    static const QStringList names = {"1201 - 1400 cmc", "1401 - 1600 cmc", "1601 - 1800 cmc",
                                      "1801 - 2000 cmc", "2001 - 2200 cmc", "2201 - 2400 cmc",
                                      "2401 - 2600 cmc", "2601 - 2800 cmc", "2801 - 3000 cmc"};
    return names;
}

const QStringList& SmallCarClassNames() {
    static const QStringList names = {"1001 - 1200 cmc",   "  801 - 1000 cmc",  "  601 -   800 cmc",
                                      "  401 -   600 cmc", "  201 -   400 cmc", "pana in  200 cmc"};
    return names;
}

const QStringList& TrailerNames() {
    static const QStringList names = {"max.1 t", ">1..3 t", ">3 t .. 5 t", ">5 t"};
    return names;
}

const QStringList& HeavyVehicleClasses() {
    static const QStringList names = {
        "Vehicule 2 axe,12-13t,",    "Vehicule 2 axe,13-14t,", "Vehicule 2 axe,14-15t,",
        "Vehicule 2 axe,peste 15t,", "Vehicule 3 axe,15-17t,", "Vehicule 3 axe,17-19t,",
        "Vehicule 3 axe,19-21t,",    "Vehicule 3 axe,21-23t,", "Vehicule 3 axe,23-25t,",
        "Vehicule 3 axe,peste 25t,", "Vehicule 4 axe,23-25t,", "Vehicule 4 axe,25-27t,",
        "Vehicule 4 axe,27-29t,",    "Vehicule 4 axe,29-31t,", "Vehicule 4 axe,peste 31t,"};
    return names;
}

const QStringList& CombinationClasses() {
    static const QStringList names = {"Vehicule 2+1 axe,12-14t,",    "Vehicule 2+1 axe,14-16t,",
                                      "Vehicule 2+1 axe,16-18t,",    "Vehicule 2+1 axe,18-20t,",
                                      "Vehicule 2+1 axe,20-22t,",    "Vehicule 2+1 axe,22-23t,",
                                      "Vehicule 2+1 axe,23-25t,",    "Vehicule 2+1 axe,peste 25t,",
                                      "Vehicule 2+2 axe,23-25t,",    "Vehicule 2+2 axe,25-26t,",
                                      "Vehicule 2+2 axe,26-28t,",    "Vehicule 2+2 axe,28-29t,",
                                      "Vehicule 2+2 axe,29-31t,",    "Vehicule 2+2 axe,31-33t,",
                                      "Vehicule 2+2 axe,33-36t,",    "Vehicule 2+2 axe,peste 36t,",
                                      "Vehicule 2+3 axe,36-38t,",    "Vehicule 2+3 axe,peste 38t,",
                                      "Vehicule 3+2 axe,36-38t,",    "Vehicule 3+2 axe,38-40t,",
                                      "Vehicule 3+2 axe,peste 40t,", "Vehicule 3+3 axe,36-38t,",
                                      "Vehicule 3+3 axe,38-40t,",    "Vehicule 3+3 axe,peste 40t,"};
    return names;
}

const QStringList& WaterVehicleNames() {
    static const QStringList names = {"Luntre,barca,scuter,uz personal",
                                      "Barca fara motor",
                                      "Barca cu motor",
                                      "Nave de sport si agrement",
                                      "Scutere de apa",
                                      "Remorcher pana la 500CP",
                                      "Remorcher pana la 2000CP",
                                      "Remorcher pana la 4000CP",
                                      "Remorcher peste 4000CP",
                                      "Vapoare",
                                      "Ceam,slep,barja pana la 1500to",
                                      "Ceam,slep,barja 1500-3000to",
                                      "Ceam,slep,barja peste 3000to"};
    return names;
}

const QStringList& OtherTaxNames() {
    static const QStringList names = {"Concesionari", "Iluminat", "Salubritate",
                                      "PSI",          "Paza",     "Vehicule lente"};
    return names;
}

const QStringList& ArrearsTaxNames() {
    static const QStringList names = {"Vehicule lente",
                                      "Taxa pe pasune",
                                      "Concesionari",
                                      "Iluminat",
                                      "Salubritate",
                                      "PSI",
                                      "Paza"};
    return names;
}

QString SuspensionText(bool pneumatic) {
    return pneumatic ? QStringLiteral("susp.pneum.") : QStringLiteral("fara susp.pneum.");
}

} // namespace vartesa
