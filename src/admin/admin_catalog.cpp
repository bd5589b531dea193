#include "admin_catalog.h"

#include <QHash>

#include <initializer_list>

namespace vartesa {

namespace {

const QStringList kZonesAtoD = {"A", "B", "C", "D"};
const QStringList kZonesAtoE = {"A", "B", "C", "D", "E"};
const QStringList kRanks = {"0", "I", "II", "III", "IV", "V"};

// The reduction for paying the whole year in advance, in percent; every tax page has one.
const QString kAdvanceReduction = QStringLiteral("Reducere la plata integrala in avans");

// Appends the controls of one page, each built from the page's usual field width.
class PageBuilder {
public:
    PageBuilder(std::vector<AdminControl>& out, AdminPage page, SettingKind kind, int integerDigits, int decimals)
        : out_(out), page_(page), kind_(kind), integerDigits_(integerDigits), decimals_(decimals) {}

    // A field of the page's usual kind and width, default "0".
    AdminControl& field(const QString& key, const QString& group, const QString& label, const QString& column = {}) {
        return add(kind_, key, group, label, column, QStringLiteral("0"), integerDigits_, decimals_);
    }

    AdminControl& add(SettingKind kind, const QString& key, const QString& group, const QString& label,
                      const QString& column, const QString& defaultValue, int integerDigits, int decimals) {
        AdminControl c;
        c.key = key;
        c.kind = kind;
        c.page = page_;
        c.group = group;
        c.label = label;
        c.column = column;
        c.defaultValue = defaultValue;
        c.integerDigits = integerDigits;
        c.decimals = decimals;
        out_.push_back(c);
        return out_.back();
    }

    // The advance-payment reduction of a tax page: a percent, "7" unless changed.
    void reduction(const QString& key, const QString& label, int integerDigits, int decimals) {
        add(SettingKind::Number, key, {}, label, {}, QStringLiteral("7"), integerDigits, decimals);
    }

private:
    std::vector<AdminControl>& out_;
    AdminPage page_;
    SettingKind kind_;
    int integerDigits_;
    int decimals_;
};

// Page general: the town hall's identity, printed on every document.
void addGeneralPage(std::vector<AdminControl>& out) {
    PageBuilder p(out, AdminPage::General, SettingKind::Text, 0, 0);
    const std::initializer_list<std::pair<const char*, const char*>> identity = {
        {"PrimariaLab", "Primaria"}, {"LocalitateaLab", "Localitatea"}, {"CUILab", "C.U.I."},
        {"JudetulLab", "Judetul"},   {"PrimarLab", "Primar"},           {"ContabilLab", "Contabil"},
    };
    for (const auto& [key, label] : identity)
        p.add(SettingKind::Text, QString::fromLatin1(key), {}, QString::fromLatin1(label), {}, {}, 0, 0);
}

// Page definirea zonelor: the zone and rank a newly added locality starts with.
void addZonesPage(std::vector<AdminControl>& out) {
    PageBuilder p(out, AdminPage::Zones, SettingKind::List, 0, 0);
    p.add(SettingKind::List, "ComboBox2", {}, "Zona implicita", {}, "A", 0, 0).items = kZonesAtoD;
    p.add(SettingKind::List, "ComboBox3", {}, "Rangul implicit", {}, "IV", 0, 0).items = kRanks;
}

// Page teren extravilan: levels in lei per hectare for each land category by zone A to E.
void addOutsideLandPage(std::vector<AdminControl>& out) {
    PageBuilder p(out, AdminPage::OutsideLand, SettingKind::Number, 4, 2);
    struct Category {
        const char* label;
        int levels[5]; // zones A to E; all 0 when the category pays nothing by default
    };
    const Category categories[11] = {
        {"Teren arabil", {40, 37, 35, 30, 30}},
        {"Pasuni - fanete", {22, 20, 18, 14, 14}},
        {"Vie pe rod", {44, 42, 40, 34, 34}},
        {"Vie pana la intrarea pe rod", {0, 0, 0, 0, 0}},
        {"Livada pe rod", {44, 42, 40, 34, 34}},
        {"Livada pana la intrarea pe rod", {0, 0, 0, 0, 0}},
        {"Fond forestier sau alt teren\ncu vegetatie forestiera", {13, 11, 9, 6, 6}},
        {"Teren de constructii", {24, 22, 20, 16, 16}},
        {"Teren neproductiv", {0, 0, 0, 0, 0}},
        {"Teren cu apa, fara amenajari piscicole", {0, 0, 0, 0, 0}},
        {"Teren cu cu amenajari piscicole", {0, 0, 0, 0, 0}},
    };
    for (int r = 0; r < 11; ++r)
        for (int z = 0; z < 5; ++z)
            p.field(QStringLiteral("EC%1Z%2").arg(r + 1).arg(kZonesAtoE[z]), {},
                    QString::fromLatin1(categories[r].label), kZonesAtoE[z])
                .defaultValue = QString::number(categories[r].levels[z]);
    p.reduction("ERED", kAdvanceReduction, 2, 0);
}

// What differs between the pages cladiri and cladiri anexe; the layout is the same.
struct BuildingPage {
    AdminPage page;
    const char* firstPrefix;  // levels of the first building kind: <prefix><zone>R<rank>
    const char* firstLabel;
    const char* secondPrefix; // levels of the second building kind
    const char* secondLabel;
    const char* reductionKey;
    const char* quotaPrefix;  // company quotas <prefix>1..3, mirrored in the counters file
    const char* quotaCounterPrefix;
    const char* surchargeKey; // person quota, a coefficient, mirrored too
    const char* surchargeCounterKey;
};

// Levels in lei per square metre by zone A to D and rank 0 to V, then the quotas.
void addBuildingPage(std::vector<AdminControl>& out, const BuildingPage& b) {
    PageBuilder p(out, b.page, SettingKind::Number, 4, 2);
    for (const auto& [prefix, label] : {std::pair{b.firstPrefix, b.firstLabel}, std::pair{b.secondPrefix, b.secondLabel}})
        for (const QString& zone : kZonesAtoD)
            for (int rank = 0; rank < kRanks.size(); ++rank)
                p.field(QStringLiteral("%1%2R%3").arg(QString::fromLatin1(prefix), zone).arg(rank),
                        QString::fromLatin1(label), kRanks[rank], zone);
    p.reduction(b.reductionKey, kAdvanceReduction, 4, 2);

    // Company quota by the years since the last revaluation. The second and third default
    // to 10 and 30 and are told to lie in 10..20 and 30..40, so they take two integer digits.
    struct Quota {
        const char* years;
        const char* defaultValue;
        int integerDigits;
        const char* hint;
    };
    const Quota quotas[3] = {
        {"0-3 ani", "1", 1, "Introduceti o valoare intre 0.25 si 1.50."},
        {"3-5 ani", "10", 2, "Introduceti o valoare intre 10 si 20."},
        {"peste 5 ani", "30", 2, "Introduceti o valoare intre 30 si 40."},
    };
    const QString quotaGroup =
        QStringLiteral("Cota de impozitare pe valoare la Persoanele Juridice (%)\nEvaluate in ultimii:");
    for (int i = 0; i < 3; ++i) {
        AdminControl& c = p.add(SettingKind::Number, QStringLiteral("%1%2").arg(QString::fromLatin1(b.quotaPrefix)).arg(i + 1),
                                quotaGroup, QString::fromLatin1(quotas[i].years), {},
                                QString::fromLatin1(quotas[i].defaultValue), quotas[i].integerDigits, 2);
        c.hint = QString::fromLatin1(quotas[i].hint);
        c.countersKey = QStringLiteral("%1%2").arg(QString::fromLatin1(b.quotaCounterPrefix)).arg(i + 1);
    }
    p.add(SettingKind::Coefficient, b.surchargeKey, {}, "Cota aplicata valorii impozabile Persoane Fizice", {}, "0.1", 1, 4)
        .countersKey = QString::fromLatin1(b.surchargeCounterKey);
}

// Page teren intravilan: the levels of land inside the village by zone A to E.
void addInsideLandPage(std::vector<AdminControl>& out) {
    PageBuilder p(out, AdminPage::InsideLand, SettingKind::Coefficient, 3, 4);
    // Yards and building land, lei per square metre.
    for (const QString& zone : kZonesAtoE)
        p.add(SettingKind::Coefficient, "ICC" + zone, {}, "Curti - constructii", zone, "0", 3, 6);
    // Every other use, lei per hectare: IA<category><zone 1..5>.
    const char* const categories[8] = {"Teren arabil", "Pasune", "Faneata", "Vie",
                                       "Livada",       "Neproductiv", "Padure", "Teren cu ape"};
    for (int r = 0; r < 8; ++r)
        for (int z = 0; z < 5; ++z)
            p.field(QStringLiteral("IA%1%2").arg(r + 1).arg(z + 1), "Alte categorii de folosinta",
                    QString::fromLatin1(categories[r]), kZonesAtoE[z]);
    // A percent like the other pages' reductions, kept as a number field so that a new
    // settings table has its row.
    p.reduction("IIRED", kAdvanceReduction, 2, 0);
}

// Page mijloace de transport: tax per 200 cmc of cylinder capacity, per vehicle kind.
void addVehiclesPage(std::vector<AdminControl>& out) {
    PageBuilder p(out, AdminPage::Vehicles, SettingKind::Number, 3, 2);
    const QString cars = QStringLiteral("Autoturisme si\nmotociclete - cmc");
    const QString carsColumn = QStringLiteral("Valoare impozit\ncalculat - lei");
    // The six small bands were added after AUTO1..AUTO17 and count down from AUTO23.
    const std::initializer_list<std::pair<const char*, const char*>> smallBands = {
        {"AUTO23", "cap. cil. pana in 200"}, {"AUTO22", "201-400"}, {"AUTO21", "401-600"},
        {"AUTO20", "601-800"},               {"AUTO19", "801-1000"}, {"AUTO18", "1001-1200"},
    };
    for (const auto& [key, label] : smallBands) p.field(QString::fromLatin1(key), cars, QString::fromLatin1(label), carsColumn);
    for (int n = 1; n <= 9; ++n) {
        const int from = 1201 + 200 * (n - 1);
        p.field(QStringLiteral("AUTO%1").arg(n), cars, QStringLiteral("%1 - %2").arg(from).arg(from + 199), carsColumn);
    }
    p.field("AUTO10", cars, "peste 3000 cmc (lei/200 cmc)", carsColumn);

    const QString per200 = QStringLiteral("Impozit lei/200cmc");
    p.field("AUTO11", {},
            "Alte autovehicule cu masa totala maxima\nautorizata de pana la 12 tone inclusiv,\n"
            "precum si autoturisme de\nteren din productia interna",
            per200);
    p.field("AUTO12", {}, "Autobuze, autocare, microbuze", per200);
    p.field("AUTO13", {}, "Tractoare inmatriculate", per200);

    const QString trailers = QStringLiteral(" Remorci, semiremorci, rulote \nMasa totala max.");
    const char* const masses[4] = {"pana la 1 tona inclusiv", "peste 1 tona - pana la 3 tone",
                                   "peste 3 tone - pana la 5 tone", "peste 5 tone"};
    for (int i = 0; i < 4; ++i)
        p.field(QStringLiteral("AUTO%1").arg(14 + i), trailers, QString::fromLatin1(masses[i]), "impozit - lei");
    p.reduction("NumericEdit3", "Reducere\nla plata integrala in avans", 3, 2);
}

// Page auto neinmatriculate: yearly tariffs for vehicles without registration.
void addUnregisteredVehiclesPage(std::vector<AdminControl>& out) {
    PageBuilder p(out, AdminPage::UnregisteredVehicles, SettingKind::Coefficient, 7, 2);
    p.field("VN1", {}, "Auto cu capacitatea cilindrica pana la 4800 cmc", "Tarif lei/200 cmc").hint =
        "Intre 2 si 4 lei / 200 cmc sau fractiune.";
    p.field("VN2", {}, "Auto cu capacitatea cilindrica peste 4800 cmc", "Tarif lei/200 cmc").hint =
        "Intre 4 si 6 lei / 200 cmc sau fractiune.";
    p.field("VN3", {}, "Auto cu capacitatea cilindrica neevidentiata", "Tarif lei/buc.").hint =
        "Intre 50 si 150 lei/an.";
}

// Page alte taxe: the other local taxes, per unit.
void addOtherTaxesPage(std::vector<AdminControl>& out) {
    PageBuilder p(out, AdminPage::OtherTaxes, SettingKind::Number, 3, 2);
    const char* const labels[6] = {"Taxa pentru concesionari  ( lei / mp )", "Iluminat  ( lei / u.m.)",
                                   "Salubritate (lei/UM)", "Taxa PSI", "Taxa pentru paza", "Taxa pe vehicule lente"};
    for (int n = 1; n <= 6; ++n) p.field(QStringLiteral("Alte%1").arg(n), {}, QString::fromLatin1(labels[n - 1]));
}

// Mass bands of heavy vehicles: each starts at its bound and ends at the next one; the
// last is open.
struct AxleClass {
    const char* axles;
    std::vector<int> bounds; // tonnes
};

QString massBand(int from, int to) {
    return to > 0 ? QStringLiteral("peste %1 t, pana la %2 t").arg(from).arg(to) : QStringLiteral("peste %1 t").arg(from);
}

// One row per mass band numbered from 1 across the classes: <prefix><n>A with pneumatic
// suspension of the driving axle, <prefix><n>B without; whole lei.
void addHeavyPage(std::vector<AdminControl>& out, AdminPage page, const char* prefix,
                  std::initializer_list<AxleClass> classes) {
    PageBuilder p(out, page, SettingKind::Number, 4, 0);
    const QString withAir = QStringLiteral("Axa motoare\ncu suspensie\npneumatica");
    const QString withoutAir = QStringLiteral("Axa motoare\nfara suspensie\npneumatica");
    int n = 0;
    for (const AxleClass& c : classes) {
        const std::vector<int>& bounds = c.bounds;
        for (std::size_t i = 0; i < bounds.size(); ++i) {
            const QString band = massBand(bounds[i], i + 1 < bounds.size() ? bounds[i + 1] : 0);
            ++n;
            p.field(QStringLiteral("%1%2A").arg(QString::fromLatin1(prefix)).arg(n), QString::fromLatin1(c.axles), band, withAir);
            p.field(QStringLiteral("%1%2B").arg(QString::fromLatin1(prefix)).arg(n), QString::fromLatin1(c.axles), band, withoutAir);
        }
    }
}

// Page mijloace transp. peste 12 tone: lorries over 12 t, by axles and total mass.
void addHeavyVehiclesPage(std::vector<AdminControl>& out) {
    addHeavyPage(out, AdminPage::HeavyVehicles, "G",
                 {{"Vehicule cu doua axe", {12, 13, 14, 15}},
                  {"Vehicule cu trei axe", {15, 17, 19, 21, 23, 25}},
                  {"Vehicule cu patru axe", {23, 25, 27, 29, 31}}});
}

// Page combinatii auto peste 12 tone: road trains over 12 t, by axles and total mass.
void addHeavyCombinationsPage(std::vector<AdminControl>& out) {
    addHeavyPage(out, AdminPage::HeavyCombinations, "GC",
                 {{"Vehicule cu 2+1 axe", {12, 14, 16, 18, 20, 22, 23, 25}},
                  {"Vehicule cu 2+2 axe", {23, 25, 26, 28, 29, 31, 33, 36}},
                  {"Vehicule cu 2+3 axe", {36, 38}},
                  {"Vehicule cu 3+2 axe", {36, 38, 40}},
                  {"Vehicule cu 3+3 axe", {36, 38, 40}}});
}

// Page mijloace de transport pe apa: whole lei per boat.
void addBoatsPage(std::vector<AdminControl>& out) {
    PageBuilder p(out, AdminPage::Boats, SettingKind::Number, 4, 0);
    p.field("APA1", {}, "1. Luntre, barci fara motor, scutere de apa, folosite\npentru uz si agrement personal");
    p.field("APA2", {}, "2. Barci fara motor, folosite in alte scopuri");
    p.field("APA3", {}, "3. Barci cu motor");
    p.field("APA4", {}, "4. Nave de sport si agrement");
    p.field("APA5", {}, "5. Scutere de apa");
    const QString tugs = QStringLiteral("6. Remorchere si impingatoare");
    p.field("APA6", tugs, "a) Pana la 500 CP inclusiv");
    p.field("APA7", tugs, "b) Peste 500 CP, dar nu peste 2.000 CP");
    p.field("APA8", tugs, "c) Peste 2.000 CP, dar nu peste 4.000 CP");
    p.field("APA9", tugs, "d) Peste 4.000 CP");
    p.field("APA10", {}, "7. Vapoare - pt.fiecare tdw sau fractiune din acesta");
    const QString barges = QStringLiteral("8. Ceamuri, slepuri si barje fluviale:");
    p.field("APA11", barges, "a) Cu cap.de incarcare pana la 1.500 t inclusiv");
    p.field("APA12", barges, "b) Cu cap.de incarcare peste 1.500 t, dar nu peste 3.000 t");
    p.field("APA13", barges, "c) Cu capacitate de incarcare de peste 3.000 tone");
}

std::vector<AdminControl> buildControls() {
    std::vector<AdminControl> out;
    out.reserve(360);
    addGeneralPage(out);
    addZonesPage(out);
    addOutsideLandPage(out);
    addBuildingPage(out, {AdminPage::Buildings, "ICZ",
                          "1. Cladiri cu cadre din beton armat sau cu pereti exteriori din caramida arsa sau\n"
                          "materiale rezultate in urma unui tratament termic sau chimic, pana la 150 mp.",
                          "IC2Z",
                          "2. Cladiri cu pereti exteriori din lemn, din piatra naturala, caramida nearsa, valatuci\n"
                          "sau alte materiale nesupuse unui tratament termic sau chimic, pana la 150 mp.",
                          "ICRED", "CotaPJC", "COTAPJC", "CotaMajC", "COTAMAJC"});
    addBuildingPage(out, {AdminPage::AnnexBuildings, "IA1Z",
                          "1. Cladiri anexe cu cadre din beton armat sau cu pereti exteriori din caramida arsa\n"
                          "sau materiale rezultate in urma unui tratament termic si/sau chimic.",
                          "IA2Z",
                          "2. Cladiri anexe cu pereti exteriori din lemn, din piatra naturala, caramida nearsa\n"
                          "valatuci sau alte materiale nesupuse unui tratament termic si/sau chimic.",
                          "IARED", "CotaPJCA", "COTAPJCA", "CotaMajA", "COTAMAJA"});
    addInsideLandPage(out);
    addVehiclesPage(out);
    addUnregisteredVehiclesPage(out);
    addOtherTaxesPage(out);
    addHeavyVehiclesPage(out);
    addHeavyCombinationsPage(out);
    addBoatsPage(out);
    return out;
}

} // namespace

const std::vector<AdminPageInfo>& AdminPages() {
    static const std::vector<AdminPageInfo> pages = {
        {AdminPage::General, "   - general", {}, {}, false},
        {AdminPage::Zones, "   - definirea zonelor", "Stabilirea zonelor", "Identificarea zonelor de impozitare", false},
        {AdminPage::OutsideLand, "   - teren extravilan", "Impozit pentru terenul extravilan", {}, true},
        {AdminPage::Buildings, "   - cladiri", "Impozit pe cladiri",
         "Nivelul valorii impozabile la cladiri fara utilitati  -  lei / mp", true},
        {AdminPage::AnnexBuildings, "   - cladiri anexe", "Impozit pe cladiri-anexe",
         "Nivelul valorii impozabile la cladiri anexe  -  lei / mp", true},
        {AdminPage::InsideLand, "   - teren intravilan", "Impozit pe teren intravilan", "Nivel impozit stabilit", true},
        {AdminPage::Vehicles, "   - mijloace de transport", "Impozit pe mijloacele de transport", {}, true},
        {AdminPage::UnregisteredVehicles, "   - auto neinmatriculate", "Impozit pe autovehicule neinmatriculate", {}, true},
        {AdminPage::OtherTaxes, "   - alte taxe", "Alte taxe", {}, true},
        {AdminPage::HeavyVehicles, "   - mijloace transp. peste 12 tone", "Mijloace de transport peste 12 t",
         "Impozit - lei", true},
        {AdminPage::HeavyCombinations, "   - combinatii auto peste 12 tone",
         "Combinatii autovehicule marfa peste 12 tone", {}, true},
        {AdminPage::Boats, "   - mijloace de transport pe apa", "Mijloace de transport pe apa", "Impozit - lei", true},
    };
    return pages;
}

QStringList AdminPageListItems() {
    QStringList items;
    for (const AdminPageInfo& p : AdminPages()) {
        if (p.page == AdminPage::OutsideLand) items << QStringLiteral("TAXE - Valori fixate");
        items << p.listText;
    }
    return items;
}

int AdminPageOfListItem(int item) {
    if (item < 0 || item > kAdminPageCount || item == 2) return -1;
    return item < 2 ? item : item - 1;
}

QString AdminExplanationsTitle() { return QStringLiteral("Explicatii"); }

QStringList AdminExplanationsLines() {
    return {QStringLiteral("Nivelul impozitelor se calculeaza inmultind valoarea din lege"),
            QStringLiteral("cu coeficientul stabilit de consiliul local si cu"),
            QStringLiteral("coeficientii de zona si rang.")};
}

const std::vector<AdminControl>& AdminControls() {
    static const std::vector<AdminControl> controls = buildControls();
    return controls;
}

const AdminControl* FindAdminControl(const QString& key) {
    static const QHash<QString, const AdminControl*> byKey = [] {
        QHash<QString, const AdminControl*> h;
        for (const AdminControl& c : AdminControls()) h.insert(c.key.toUpper(), &c);
        return h;
    }();
    return byKey.value(key.toUpper(), nullptr);
}

std::vector<Setting> DefaultAdminSettings() {
    std::vector<Setting> settings;
    settings.reserve(AdminControls().size());
    for (const AdminControl& c : AdminControls()) settings.push_back({c.key, c.kind, c.defaultValue});
    return settings;
}

std::vector<const AdminControl*> AdminCounterMirrors() {
    std::vector<const AdminControl*> mirrors;
    for (const char* key : {"CotaPJCA1", "CotaPJCA2", "CotaPJCA3", "CotaPJC1", "CotaPJC2", "CotaPJC3", "CotaMajC", "CotaMajA"})
        mirrors.push_back(FindAdminControl(QString::fromLatin1(key)));
    return mirrors;
}

const AdminControl& DefaultZoneControl() { return *FindAdminControl(QStringLiteral("ComboBox2")); }
const AdminControl& DefaultRankControl() { return *FindAdminControl(QStringLiteral("ComboBox3")); }

QStringList CompanyQuotaKeys(AdminPage page) {
    QStringList keys;
    for (const AdminControl& c : AdminControls())
        if (c.page == page && c.kind == SettingKind::Number && !c.countersKey.isEmpty()) keys << c.key;
    return keys;
}

const std::vector<AdminCounterControl>& AdminCounterControls() {
    using K = CounterControlKind;
    static const std::vector<AdminCounterControl> controls = {
        {"PreviewC", "Arata chitanta inainte de listare", "PREVIEWL", K::CheckBox, false, false},
        {"Bonificatie50", "Acorda bonificatie pentru sume sub 50 ron", "BONIF50", K::CheckBox, false, false},
        {"BonifPJ", "Acorda bonificatie la persoane juridice", "REDUCERE_JURIDICE", K::CheckBox, false, false},
        {"ActualizareRA", "Actualizare zilnica automata din Registru Agricol 2015-2019", "AUTORA", K::CheckBox, false,
         true},
        // Per user: the login reads it into the receipt printing of that user.
        {"FormatPDF", "Arata chitanta in format PDF", "FORMATPDF", K::CheckBox, true, false},
        {"CaleAuto", "Cale DATA din RA2015", "CALEAUTORA", K::Folder, false, true},
        {"OraAuto", "Ora actualizarii :", "ORAAUTORA", K::TimeOfDay, false, true},
    };
    return controls;
}

QString NoPenaltiesCounterKey() { return QStringLiteral("FARAMAJORARI"); }


const std::vector<AdminRegistryControl>& AdminRegistryControls() {
    static const std::vector<AdminRegistryControl> controls = {
        {"CaleServer", "Cale Server :", "SERVER", "-"},
        {"CaleSalvari", "Cale Salvari :", "CALESALVARI", "-"},
    };
    return controls;
}

} // namespace vartesa
