#pragma once
// The numbered steps of one role's assessment, each turning one page into ledger lines.
// Internal to the assessment: AssessRole (assessment.h) runs them in order.

#include "books/roles.h"
#include "roles/assessment_ledger.h"
#include "roles/assessment_pages.h"
#include "roles/assessment_rates.h"

namespace vartesa {

class AdminConstants;

/// What the steps of one role share.
struct RoleRun {
    const Role& role;
    const AssessmentRates& rates;
    const AdminConstants& constants; // CompanyBuildingTax, CompanyAnnexTax
    const RolePages& pages;
    RoleLedger& ledger;
    bool legalPerson = false;  // TIP "JURIDICA"
    Currency outsideExemption; // what is left of SCTE, consumed by the land categories

    RoleRun(const Role& r, const AssessmentRates& rt, const AdminConstants& c, const RolePages& p,
            RoleLedger& l);

    /// The advance-payment reduction of a tax with percentage `percent`: none for a legal
    /// person unless the bonus option is ticked; none for an exempted tax, except that the
    /// houses and annexes of a natural person still show the percentage.
    Reduction reduction(Currency percent, bool exempted, bool personBuilding = false) const;
};

void AssessOutsideLand(RoleRun& run);          // 1. extravilan land, Pag1
void AssessBuildings(RoleRun& run);            // 2. houses or company buildings, Pag2
void AssessAnnexes(RoleRun& run);              // 3. annex buildings, Pag2
void AssessInsideLand(RoleRun& run);           // 4. intravilan land, Pag4
void AssessVehicles(RoleRun& run);             // 5. means of transport, Pag5
void AssessUnregisteredVehicles(RoleRun& run); // 6. unregistered vehicles, Pag6
void AssessOtherTaxes(RoleRun& run);           // 7. other local taxes, Pag7
void AssessArrearsLines(RoleRun& run);         // 8.1 arrears of the other taxes, Pag8

/// The factor of a building's age: over 30 and up to 50 years 0.9, over 50 years 0.8
/// (a building without a year counts as older than 50), otherwise 1.
Currency AgeFactor(int workingYear, std::int64_t builtYear);
/// Taxable value of house k (1 to 8) of a natural person's page 2 row, before the quota: the
/// area at its level, with the increase over 150 m2, the age and the stored order factors.
Currency HouseValue(const AssessmentRates& rates, const PageRow& buildings, int k);
/// The increase of a house over 150 m2: 5 % for each 50 m2 or part of 50 m2 over 150.
Currency AreaIncreaseFactor(Currency area);
/// The factor of the owner's n-th house (stored order): 2 gives 1.65, 3 gives 2.5,
/// 4 to 10 give 4; anything else 1.
Currency HouseOrderFactor(std::int64_t order);
/// Units of `per` started by `quantity`: capacity in 200 cm3, tonnage in 1000 tdw; a
/// negative quantity counts as 0.
std::int64_t UnitsStarted(std::int64_t quantity, std::int64_t per);

} // namespace vartesa
