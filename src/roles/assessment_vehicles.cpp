// Steps 5 to 8.1 of the assessment: vehicles, unregistered vehicles, the other local taxes
// and their arrears. The rates carry decimals; the line writer makes each amount whole.

#include "roles/assessment_steps.h"

namespace vartesa {

namespace {

const QString kPieces = QStringLiteral("buc");

Currency times(std::int64_t count, Currency rate) {
    return Currency::lei(count) * rate;
}

// One vehicle line: nothing due under the vehicle exemption, the vehicle reduction.
void writeVehicle(RoleRun& run, const QString& name, Currency tax, const QString& unit,
                  std::int64_t quantity) {
    const bool exempt = run.role.exemptVehicles;
    run.ledger.writeTax(kGroupVehicles, name, exempt ? Currency() : tax, unit,
                        Currency::lei(quantity), run.reduction(run.rates.vehicleReduction, exempt));
}

// 5.1: vehicles counted by class, N x rate.
void writeCountedVehicles(RoleRun& run) {
    const PageRow& p = run.pages[Page::Vehicles];
    const AssessmentRates& r = run.rates;
    const QString car = QStringLiteral("Autoturisme cap.cil. ");
    for (int i = 0; i < 9; ++i) {
        const std::int64_t n = p.whole(QStringLiteral("AUTO%1").arg(i + 1));
        writeVehicle(run, car + CarClassNames()[i], times(n, r.vehicle[i + 1]), kPieces, n);
    }
    for (int i = 0; i < 4; ++i) {
        const std::int64_t n = p.whole(QStringLiteral("REM%1").arg(i + 1));
        writeVehicle(run, QStringLiteral("Remorci, rulote ") + TrailerNames()[i],
                     times(n, r.vehicle[14 + i]), kPieces, n);
    }
    for (int i = 0; i < 6; ++i) {
        const std::int64_t n = p.whole(QStringLiteral("AUTO%1").arg(11 + i));
        writeVehicle(run, car + SmallCarClassNames()[i], times(n, r.vehicle[18 + i]), kPieces, n);
    }
}

// 5.2 to 5.5: vehicles taxed by their cylinder capacity in started units of 200 cm3.
void writeCapacityVehicles(RoleRun& run) {
    const PageRow& p = run.pages[Page::Vehicles];
    const AssessmentRates& r = run.rates;
    const QString per200 = QStringLiteral("200cmc");
    for (int i = 1; i <= 4; ++i) {
        const std::int64_t u = UnitsStarted(p.whole(QStringLiteral("P3000%1").arg(i)), 200);
        writeVehicle(run, QStringLiteral("Autoturisme cap.cil.peste 3000cmc (%1)").arg(i),
                     times(u, r.vehicle[10]), per200, u);
    }
    for (int i = 1; i <= 4; ++i) {
        const std::int64_t u = UnitsStarted(p.whole(QStringLiteral("ALTE%1").arg(i)), 200);
        writeVehicle(run, QStringLiteral("Alte autovehicule pana in 12t (%1)").arg(i),
                     times(u, r.vehicle[11]), per200, u);
    }
    struct Fleet {
        const char* capacity; // field of the capacity
        const char* count;    // field of the number of vehicles
        int rate;             // AUTO<rate>
        const char* name;     // line name, followed by the line number
    };
    const Fleet fleets[2] = {{"TRAC", "TBUC", 13, "Tractoare inmatriculate "},
                             {"ATB", "ATBNR", 12, "Autobuze,autocare,microbuze "}};
    for (const Fleet& f : fleets) {
        for (int i = 1; i <= 4; ++i) {
            const std::int64_t capacity =
                std::max<std::int64_t>(0, p.whole(QLatin1String(f.capacity) + QString::number(i)));
            const std::int64_t n = p.whole(QLatin1String(f.count) + QString::number(i));
            writeVehicle(run, QLatin1String(f.name) + QString::number(i),
                         times(n, r.vehicle[f.rate]) * Currency::lei(UnitsStarted(capacity, 200)),
                         QStringLiteral("cmc"), capacity * n);
        }
    }
}

// 5.6 and 5.7: goods vehicles and combinations over 12 t, first with pneumatic suspension.
void writeHeavyVehicles(RoleRun& run) {
    const PageRow& p = run.pages[Page::Vehicles];
    for (int s = 0; s < 2; ++s) {
        const QString kind = s == 0 ? QStringLiteral("A") : QStringLiteral("B");
        for (int k = 0; k < 15; ++k) {
            const std::int64_t n = p.whole(QStringLiteral("G%1").arg(k + 1) + kind);
            writeVehicle(run, HeavyVehicleClasses()[k] + SuspensionText(s == 0),
                         times(n, run.rates.heavy[s][k]), kPieces, n);
        }
    }
    for (int s = 0; s < 2; ++s) {
        const QString kind = s == 0 ? QStringLiteral("A") : QStringLiteral("B");
        for (int k = 0; k < 24; ++k) {
            const std::int64_t n = p.whole(QStringLiteral("GC%1").arg(k + 1) + kind);
            writeVehicle(run, CombinationClasses()[k] + SuspensionText(s == 0),
                         times(n, run.rates.combination[s][k]), kPieces, n);
        }
    }
}

// 5.8: water vehicles; ships pay per 1000 tdw or part of it.
void writeWaterVehicles(RoleRun& run) {
    const PageRow& p = run.pages[Page::Vehicles];
    for (int k = 0; k < 13; ++k) {
        const std::int64_t n = p.whole(QStringLiteral("APA%1").arg(k + 1));
        if (k == 9)
            writeVehicle(run, WaterVehicleNames()[k],
                         times(UnitsStarted(n, 1000), run.rates.water[k]), QStringLiteral("tdw"),
                         n);
        else
            writeVehicle(run, WaterVehicleNames()[k], times(n, run.rates.water[k]), kPieces, n);
    }
}

} // namespace

std::int64_t UnitsStarted(std::int64_t quantity, std::int64_t per) {
    return quantity <= 0 ? 0 : (quantity + per - 1) / per;
}

void AssessVehicles(RoleRun& run) {
    writeCountedVehicles(run);
    writeCapacityVehicles(run);
    writeHeavyVehicles(run);
    writeWaterVehicles(run);
}

void AssessUnregisteredVehicles(RoleRun& run) {
    const PageRow& p = run.pages[Page::Unregistered];
    const AssessmentRates& r = run.rates;
    const QString names[2] = {QStringLiteral("Auto neinmatriculate pana la 4800 cmc"),
                              QStringLiteral("Auto neinmatriculate peste 4800 cmc")};
    for (int band = 0; band < 2; ++band) {
        std::int64_t units = 0, vehicles = 0;
        for (int i = 1; i <= 5; ++i) {
            const std::int64_t capacity = p.whole(QStringLiteral("VN%1").arg(band * 5 + i));
            units += UnitsStarted(capacity, 200);
            if (capacity > 0) ++vehicles;
        }
        writeVehicle(run, names[band], times(units, r.unregistered[band]), kPieces, vehicles);
    }
    const std::int64_t unrecorded = p.whole(QStringLiteral("VN11"));
    writeVehicle(run, QStringLiteral("Auto neinmat. cu cap.cil.neevidentiabila"),
                 times(unrecorded, r.unregistered[2]), kPieces, unrecorded);
}

void AssessOtherTaxes(RoleRun& run) {
    const PageRow& p = run.pages[Page::OtherTaxes];
    for (int k = 0; k < 6; ++k) {
        const std::int64_t n = p.whole(QStringLiteral("LIN%1").arg(k + 1));
        const QString& name = OtherTaxNames()[k];
        run.ledger.writeTax(name, name, times(n, run.rates.other[k]), kPieces, Currency::lei(n),
                            Reduction::none());
    }
}

void AssessArrearsLines(RoleRun& run) {
    const PageRow& p = run.pages[Page::Arrears];
    for (int j = 0; j < 7; ++j)
        run.ledger.writeArrears(ArrearsTaxNames()[j],
                                p.number(QStringLiteral("LIN%1").arg(5 + j)).roundToInt());
}

} // namespace vartesa
