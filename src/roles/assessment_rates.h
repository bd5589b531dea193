#pragma once
// The rates and names the yearly assessment works with: a snapshot of the calculation
// constants taken once per run (reading a constant by key parses its text, and a run over
// a commune reads each one thousands of times), and the fixed names of the ledger lines.

#include "db/currency.h"

#include <QString>
#include <QStringList>

namespace vartesa {

class AdminConstants;

/// The four main taxes, in the order of the balances: GroupIndex 1 to 4.
inline const QString kGroupBuildings = QStringLiteral("Impozit pe cladiri");
inline const QString kGroupInside = QStringLiteral("Impozit pe teren intravilan");
inline const QString kGroupOutside = QStringLiteral("Impozit pe teren extravilan");
inline const QString kGroupVehicles = QStringLiteral("Impozit pe mijloace de transport");

struct AssessmentRates {
    int year = 0;                // working year
    Currency outside[11][5];     // EC<k>Z<Z>: extravilan land, lei/ha, category 1-11, zone A-E
    Currency outsideReduction;   // ERED, %
    Currency house[2][4][6];     // ICZ / IC2Z <zone>R<rank>: lei/m2 by material, zone A-D, rank 0-V
    Currency houseQuota;         // CotaMajC, % of the houses' taxable value
    Currency buildingReduction;  // ICRED, %
    Currency annex[2][4][6];     // IA1Z / IA2Z <zone>R<rank>: lei/m2
    Currency annexQuota;         // CotaMajA, %
    Currency annexReduction;     // IARED, %
    Currency yard[5];            // ICCA..ICCE: built-up yards, lei/m2, zone A-E
    Currency inside[8][5];       // IA<k><z>: intravilan land, lei/ha, category 1-8, zone 1-5
    Currency insideReduction;    // IIRED, %
    Currency vehicle[24];        // AUTO1..AUTO23 at their own number (0 unused)
    Currency vehicleReduction;   // NumericEdit3, %
    Currency heavy[2][15];       // G<k>A, G<k>B: goods vehicles over 12 t, lei each
    Currency combination[2][24]; // GC<k>A, GC<k>B: vehicle combinations, lei each
    Currency water[13];          // APA1..APA13; APA10 per 1000 tdw or part of it
    Currency unregistered[3];    // VN1, VN2 per 200 cm3; VN3 per vehicle
    Currency other[6];           // Alte1..Alte6: unit prices of the other local taxes
    int defaultZone = 0;         // ComboBox2 as a position in A-D
    int defaultRank = 4;         // ComboBox3 as a position in 0-V
    bool companyBonus = false;   // BonifPJ: legal persons get the advance reductions too
    bool noPenaltiesOption = false; // FARAMAJORARI: roles marked NOTAX carry no penalties

    /// Reads every constant the assessment uses from their keys.
    static AssessmentRates from(const AdminConstants& constants);

    /// Position of a building zone ("A".."D") or rank ("0", "I".."V"); a text that is none
    /// of them gives the default, as the building page shows it.
    int zoneIndex(const QString& zone) const;
    int rankIndex(const QString& rank) const;
};

/// Line names (DENUM) of the assessment, in the order the lines are written.
const QStringList& OutsideLandNames();    // the 11 extravilan categories
const QStringList& InsideLandNames();     // the 8 intravilan categories
const QStringList& CarClassNames();       // cars 1201-1400 .. 2801-3000 cm3 (fields AUTO1..AUTO9)
const QStringList& SmallCarClassNames();  // cars 1001-1200 .. up to 200 cm3 (AUTO11..AUTO16)
const QStringList& TrailerNames();        // trailers REM1..REM4
const QStringList& HeavyVehicleClasses(); // 15 class texts, before the suspension
const QStringList& CombinationClasses();  // 24 class texts
const QStringList& WaterVehicleNames();   // APA1..APA13
const QStringList& OtherTaxNames();       // Pag7 LIN1..LIN6, also their groups
const QStringList& ArrearsTaxNames();     // Pag8 LIN5..LIN11

/// The end of a heavy vehicle's or combination's line name: with or without pneumatic suspension.
QString SuspensionText(bool pneumatic);

} // namespace vartesa
