// Steps 1 to 4 of the assessment: land and buildings. Their taxes are made whole with
// RoundToInt before they reach the line writer.

#include "roles/assessment_steps.h"

#include "admin/admin_constants.h"

namespace vartesa {

namespace {

const QString kHectares = QStringLiteral("ha");
const QString kSquareMetres = QStringLiteral("mp");
const QString kInventoryValue = QStringLiteral("Lei-Val.");
const Currency kHundred = Currency::lei(100);
const char* const kZones[5] = {"A", "B", "C", "D", "E"};

Currency rounded(Currency amount) {
    return Currency::lei(amount.roundToInt());
}

bool isYes(const QString& text) {
    return text.compare(QLatin1String("DA"), Qt::CaseInsensitive) == 0;
}

// The level of a building of material position `material` (0 "1 SAU 2", anything else
// "3,4 SAU 5"), by its zone and rank texts.
Currency buildingLevel(const AssessmentRates& r, const Currency (&levels)[2][4][6],
                       std::int64_t material, const QString& zone, const QString& rank) {
    return levels[material == 0 ? 0 : 1][r.zoneIndex(zone)][r.rankIndex(rank)];
}

// Taxable value of house k of a natural person, before the quota.
Currency houseValue(const RoleRun& run, int k) { return HouseValue(run.rates, run.pages[Page::Buildings], k); }

// Tax of one annex of a natural person (fields CAS.. with `suffix` "" or "2"), quota applied.
Currency annexTax(const RoleRun& run, const QString& suffix) {
    const PageRow& p = run.pages[Page::Buildings];
    const Currency level = buildingLevel(run.rates, run.rates.annex, p.whole("CAC" + suffix),
                                         p.text("CAZ" + suffix), p.text("CAR" + suffix));
    const Currency t = p.number("CAS" + suffix) * level * run.rates.annexQuota / kHundred;
    return t * AgeFactor(run.rates.year, p.whole("CAA" + suffix));
}

} // namespace

RoleRun::RoleRun(const Role& r, const AssessmentRates& rt, const AdminConstants& c,
                 const RolePages& p, RoleLedger& l)
    : role(r), rates(rt), constants(c), pages(p), ledger(l),
      legalPerson(r.personType.trimmed().compare(kPersonLegal, Qt::CaseInsensitive) == 0),
      outsideExemption(Currency::lei(r.extravilanExemption)) {}

Reduction RoleRun::reduction(Currency percent, bool exempted, bool personBuilding) const {
    if (legalPerson && !rates.companyBonus) return Reduction::none();
    if (exempted)
        return personBuilding && !legalPerson ? Reduction::percentOnly(percent) : Reduction::none();
    return Reduction::of(percent);
}

Currency HouseValue(const AssessmentRates& rates, const PageRow& p, int k) {
    const QString n = QString::number(k);
    const Currency area = p.number("C" + n + "S");
    Currency v = area * buildingLevel(rates, rates.house, p.whole("C" + n + "C"), p.text("C" + n + "Z"),
                                      p.text("C" + n + "R"));
    v = v * AreaIncreaseFactor(area);
    v = v * AgeFactor(rates.year, p.whole("C" + n + "A"));
    if (v > Currency()) v = v * HouseOrderFactor(p.whole("NR" + n));
    return v;
}

Currency AgeFactor(int workingYear, std::int64_t builtYear) {
    const std::int64_t age = workingYear - builtYear;
    if (age > 50) return Currency::fromRaw(8000);
    if (age > 30) return Currency::fromRaw(9000);
    return Currency::lei(1);
}

Currency AreaIncreaseFactor(Currency area) {
    if (area <= Currency::lei(150)) return Currency::lei(1);
    // n = whole part of (area - 150 + 49.99) / 50; areas keep two decimals, so this is exact.
    const Currency parts =
        (area - Currency::lei(150) + Currency::fromRaw(499900)) / Currency::lei(50);
    const std::int64_t n = parts.raw() / Currency::kScale;
    return Currency::fromRaw(Currency::kScale + 500 * n);
}

Currency HouseOrderFactor(std::int64_t order) {
    if (order == 2) return Currency::fromRaw(16500);
    if (order == 3) return Currency::fromRaw(25000);
    if (order >= 4 && order <= 10) return Currency::lei(4);
    return Currency::lei(1);
}

void AssessOutsideLand(RoleRun& run) {
    const PageRow& p = run.pages[Page::Outside];
    // A legal person without the bonus option loses the reduction only when it has an
    // extravilan exemption.
    const bool withoutReduction =
        run.legalPerson && !run.rates.companyBonus && run.role.extravilanExemption != 0;
    const Reduction reduction =
        withoutReduction ? Reduction::none() : Reduction::of(run.rates.outsideReduction);
    for (int k = 0; k < 11; ++k) {
        Currency tax, area;
        for (int z = 0; z < 5; ++z) {
            const Currency a =
                p.number(QStringLiteral("L%1%2").arg(k + 1).arg(QLatin1String(kZones[z])));
            tax += a * run.rates.outside[k][z];
            area += a;
        }
        // The exemption is consumed by the categories in their order.
        if (run.outsideExemption > Currency()) {
            if (run.outsideExemption >= tax) {
                run.outsideExemption -= tax;
                tax = Currency();
            } else {
                tax -= run.outsideExemption;
                run.outsideExemption = Currency();
            }
        }
        run.ledger.writeTax(kGroupOutside, OutsideLandNames()[k], rounded(tax), kHectares, area,
                            reduction);
    }
}

void AssessBuildings(RoleRun& run) {
    const PageRow& p = run.pages[Page::Buildings];
    const bool exempt = run.role.exemptBuildings;
    Currency tax, quantity;
    if (!run.legalPerson) {
        Currency value;
        for (int k = 1; k <= 8; ++k) {
            value += houseValue(run, k);
            quantity += p.number(QStringLiteral("C%1S").arg(k));
        }
        tax = rounded(value * run.rates.houseQuota / kHundred);
    } else {
        for (int n = 1; n <= 12; ++n) {
            const QString i = QString::number(n);
            const Currency v = p.number("V" + i);
            tax += Currency::lei(
                run.constants.CompanyBuildingTax(isYes(p.text("AM" + i)), p.date("DINV" + i), v));
            quantity += v;
        }
    }
    run.ledger.writeTax(kGroupBuildings, QStringLiteral("Cladiri"), exempt ? Currency() : tax,
                        run.legalPerson ? kInventoryValue : kSquareMetres, quantity,
                        run.reduction(run.rates.buildingReduction, exempt, true));
}

void AssessAnnexes(RoleRun& run) {
    const PageRow& p = run.pages[Page::Buildings];
    const bool exempt = run.role.exemptBuildings;
    Currency tax, quantity;
    if (!run.legalPerson) {
        tax = rounded(annexTax(run, QString()) + annexTax(run, QStringLiteral("2")));
        quantity = p.number(QStringLiteral("CAS")) + p.number(QStringLiteral("CAS2"));
    } else {
        for (int n = 1; n <= 2; ++n) {
            const QString i = QString::number(n);
            const Currency v = p.number("VA" + i);
            tax += Currency::lei(
                run.constants.CompanyAnnexTax(isYes(p.text("AMA" + i)), p.date("DINVA" + i), v));
            quantity += v;
        }
    }
    run.ledger.writeTax(kGroupBuildings, QStringLiteral("Cladiri-Anexe"), exempt ? Currency() : tax,
                        run.legalPerson ? kInventoryValue : kSquareMetres, quantity,
                        run.reduction(run.rates.annexReduction, exempt, true));
}

void AssessInsideLand(RoleRun& run) {
    const PageRow& p = run.pages[Page::Inside];
    Currency yards, yardArea;
    for (int z = 0; z < 5; ++z) {
        const Currency a = p.number(QStringLiteral("CC") + QLatin1String(kZones[z]));
        yards += a * run.rates.yard[z];
        yardArea += a;
    }
    const bool yardsExempt = run.role.exemptYards;
    run.ledger.writeTax(kGroupInside, QStringLiteral("Curti-constructii"),
                        yardsExempt ? Currency() : rounded(yards), kSquareMetres, yardArea,
                        run.reduction(run.rates.insideReduction, yardsExempt));

    const bool exempt = run.role.exemptIntravilan;
    for (int k = 0; k < 8; ++k) {
        Currency tax, area;
        for (int z = 0; z < 5; ++z) {
            const Currency a =
                p.number(QStringLiteral("AL%1%2").arg(k + 1).arg(QLatin1String(kZones[z])));
            tax += a * run.rates.inside[k][z];
            area += a;
        }
        run.ledger.writeTax(kGroupInside, InsideLandNames()[k], exempt ? Currency() : rounded(tax),
                            kHectares, area, run.reduction(run.rates.insideReduction, exempt));
    }
}

} // namespace vartesa
