#include "roles/debit_objects.h"

#include "shell/text_helpers.h"

#include <QRegularExpression>

#include <algorithm>

namespace vartesa {

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

VehicleCategory counted(const QString& text, const QString& field, const QString& file = QStringLiteral("PAG5")) {
    return {text, file, {}, field, QStringLiteral("cmc")};
}

VehicleCategory measured(const QString& text, const QString& field, const QString& unit = QStringLiteral("cmc"),
                         const QString& file = QStringLiteral("PAG5")) {
    return {text, file, field, {}, unit};
}

// Goods vehicles (prefix "G") or combinations ("GC") over 12 t: each class with and without
// pneumatic suspension, the texts in alphabetical order.
std::vector<VehicleCategory> heavyVehicles(const char* prefix, const QStringList& classes) {
    std::vector<VehicleCategory> out;
    for (int k = 0; k < classes.size(); ++k) {
        const QString field = QString::fromLatin1(prefix) + QString::number(k + 1);
        out.push_back(counted(classes[k] + QStringLiteral("susp.pneum."), field + 'A'));
        out.push_back(counted(classes[k] + QStringLiteral("fara susp.pneum."), field + 'B'));
    }
    std::sort(out.begin(), out.end(), [](const VehicleCategory& a, const VehicleCategory& b) { return a.text < b.text; });
    return out;
}

std::vector<VehicleCategory> buildVehicleCategories() {
    std::vector<VehicleCategory> v;
    for (int i = 1; i <= 4; ++i)
        v.push_back(measured(QStringLiteral("Alte autovehicule cu masa peste 12 t (%1)\t").arg(i),
                             QStringLiteral("ALTE%1").arg(i)));
    for (int i = 1; i <= 4; ++i)
        v.push_back({QStringLiteral("Autobuze,autocare,microbuze (%1)").arg(i), QStringLiteral("PAG5"),
                     QStringLiteral("ATB%1").arg(i), QStringLiteral("ATBNR%1").arg(i), QStringLiteral("cmc")});
    const char* const small[5][2] = {{"  201 -   400", "AUTO15"}, {"  401 -   600", "AUTO14"}, {"  601 -   800", "AUTO13"},
                                     {"  801 - 1000", "AUTO12"}, {"1001 - 1200", "AUTO11"}};
    for (const auto& s : small)
        v.push_back(counted(QStringLiteral("Autoturisme cap.cil. %1 cmc").arg(QString::fromLatin1(s[0])),
                            QString::fromLatin1(s[1])));
    for (int i = 0; i < 9; ++i)
        v.push_back(counted(QStringLiteral("Autoturisme cap.cil. %1 - %2 cmc").arg(1201 + 200 * i).arg(1400 + 200 * i),
                            QStringLiteral("AUTO%1").arg(i + 1)));
    v.push_back(counted(QStringLiteral("Autoturisme cap.cil. pana in  200 cmc"), QStringLiteral("AUTO16")));
    for (int i = 1; i <= 4; ++i)
        v.push_back(measured(QStringLiteral("Autoturisme cap.cil.peste 3000 cmc (%1)").arg(i), QStringLiteral("P3000%1").arg(i)));
    const char* const water[13][2] = {
        {"Barca cu motor", "APA3"}, {"Barca fara motor", "APA2"}, {"Ceam,slep,barja 1500-3000to", "APA12"},
        {"Ceam,slep,barja pana la 1500to", "APA11"}, {"Ceam,slep,barja peste 3000to", "APA13"},
        {"Luntre,barca,scuter,uz personal", "APA1"}, {"Nave de sport si agrement", "APA4"},
        {"Remorcher pana la 2000CP", "APA7"}, {"Remorcher pana la 4000CP", "APA8"}, {"Remorcher pana la 500CP", "APA6"},
        {"Remorcher peste 4000CP", "APA9"}, {"Scutere de apa", "APA5"}, {"Vapoare", "APA10"}};
    for (const auto& w : water) {
        const QString field = QString::fromLatin1(w[1]);
        v.push_back(field == QLatin1String("APA10") ? measured(QString::fromLatin1(w[0]), field, QStringLiteral("total tdw"))
                                                    : counted(QString::fromLatin1(w[0]), field));
    }
    const char* const trailers[4] = {"pana la 1 tona inclusiv", "peste 1 tona - pana la 3 tone",
                                     "peste 3 tone - pana la 5 tone", "peste 5 tone"};
    for (int i = 0; i < 4; ++i)
        v.push_back(counted(QStringLiteral("Remorci, rulote ") + QString::fromLatin1(trailers[i]), QStringLiteral("REM%1").arg(i + 1)));
    for (int i = 1; i <= 4; ++i)
        v.push_back({QStringLiteral("Tractoare inmatriculate (%1)").arg(i), QStringLiteral("PAG5"),
                     QStringLiteral("TRAC%1").arg(i), QStringLiteral("TBUC%1").arg(i), QStringLiteral("cmc")});
    const QStringList goods = {"Vehicule 2 axe,12-13t,",   "Vehicule 2 axe,13-14t,",    "Vehicule 2 axe,14-15t,",
                               "Vehicule 2 axe,peste 15t,", "Vehicule 3 axe,15-17t,",    "Vehicule 3 axe,17-19t,",
                               "Vehicule 3 axe,19-21t,",   "Vehicule 3 axe,21-23t,",    "Vehicule 3 axe,23-25t,",
                               "Vehicule 3 axe,peste 25t,", "Vehicule 4 axe,23-25t,",    "Vehicule 4 axe,25-27t,",
                               "Vehicule 4 axe,27-29t,",   "Vehicule 4 axe,29-31t,",    "Vehicule 4 axe,peste 31t,"};
    for (VehicleCategory& c : heavyVehicles("G", goods)) v.push_back(c);
    const QStringList combinations = {
        "Vehicule 2+1 axe,12-14t,",  "Vehicule 2+1 axe,14-16t,",    "Vehicule 2+1 axe,16-18t,",
        "Vehicule 2+1 axe,18-20t,",  "Vehicule 2+1 axe,20-22t,",    "Vehicule 2+1 axe,22-23t,",
        "Vehicule 2+1 axe,23-25t,",  "Vehicule 2+1 axe,peste 25t,", "Vehicule 2+2 axe,23-25t,",
        "Vehicule 2+2 axe,25-26t,",  "Vehicule 2+2 axe,26-28t,",    "Vehicule 2+2 axe,28-29t,",
        "Vehicule 2+2 axe,29-31t,",  "Vehicule 2+2 axe,31-33t,",    "Vehicule 2+2 axe,33-36t,",
        "Vehicule 2+2 axe,peste 36t,", "Vehicule 2+3 axe,36-38t,",  "Vehicule 2+3 axe,peste 38t,",
        "Vehicule 3+2 axe,36-38t,",  "Vehicule 3+2 axe,38-40t,",    "Vehicule 3+2 axe,peste 40t,",
        "Vehicule 3+3 axe,36-38t,",  "Vehicule 3+3 axe,38-40t,",    "Vehicule 3+3 axe,peste 40t,"};
    std::vector<VehicleCategory> combined = heavyVehicles("GC", combinations);
    combined.front().text += QStringLiteral("  "); // the first entry of the list has always carried two blanks
    for (VehicleCategory& c : combined) v.push_back(c);
    v.push_back(measured(QStringLiteral("Vehicule neinmatriculate pana la 4800 cmc"), QStringLiteral("VN1"),
                         QStringLiteral("cmc"), QStringLiteral("PAG6")));
    v.push_back(measured(QStringLiteral("Vehicule neinmatriculate peste 4800 cmc"), QStringLiteral("VN6"),
                         QStringLiteral("cmc"), QStringLiteral("PAG6")));
    v.push_back(counted(QStringLiteral("Vehicule neinmatriculate cu cap.neevidentiata"), QStringLiteral("VN11"),
                        QStringLiteral("PAG6")));
    return v;
}

QString withoutTrailingBlanks(QString s) {
    while (s.endsWith(' ')) s.chop(1);
    return s;
}

QString pairValue(const DebitObject& o, const QString& field) {
    for (const auto& [name, value] : o.pairs)
        if (name.compare(field, Qt::CaseInsensitive) == 0) return value.trimmed();
    return {};
}

double pairReal(const DebitObject& o, const QString& field) { return pairValue(o, field).toDouble(); }

// The first pair that names a field: a stored row may leave a CAMP empty before it.
const std::pair<QString, QString>* firstNamedPair(const DebitObject& o) {
    for (const auto& pair : o.pairs)
        if (!pair.first.trimmed().isEmpty()) return &pair;
    return nullptr;
}

QString firstField(const DebitObject& o) {
    const auto* pair = firstNamedPair(o);
    return pair ? pair->first.trimmed().toUpper() : QString();
}

const QString kAnnexName = QStringLiteral("Cladiri-Anexe");
const QString kBuildingName = QStringLiteral("Cladiri");

} // namespace

DebitForm DebitFormOf(const QString& tax, bool legalPerson) {
    switch (GroupIndex(tax)) {
    case 1: return legalPerson ? DebitForm::CompanyBuilding : DebitForm::PersonBuilding;
    case 2: return DebitForm::InsideLand;
    case 3: return DebitForm::OutsideLand;
    default: return DebitForm::Vehicle;
    }
}

const QStringList& DebitTaxes() {
    static const QStringList taxes = TaxGroups().mid(0, 4);
    return taxes;
}

const QStringList& InsideLandCategories() {
    static const QStringList list = {"Curti-constructii", "Teren arabil", "Pasune", "Faneata",     "Vie",
                                     "Livada",            "Neproductiv",  "Padure", "Teren cu ape"};
    return list;
}

const QStringList& OutsideLandCategories() {
    static const QStringList list = {"Teren arabil",
                                     "Pasuni - fanete",
                                     "Vie pe rod",
                                     "Vie pana la intrarea pe rod",
                                     "Livada pe rod",
                                     "Livada pana la intrarea pe rod",
                                     "Fond forestier sau alt teren",
                                     "Teren de constructii",
                                     "Teren neproductiv",
                                     "Teren cu apa, fara amenajari piscicole",
                                     "Teren cu amenajari piscicole"};
    return list;
}

const QStringList& MaterialClasses() {
    static const QStringList list = {"1 SAU 2", "3,4 SAU 5"};
    return list;
}

const std::vector<VehicleCategory>& VehicleCategories() {
    static const std::vector<VehicleCategory> list = buildVehicleCategories();
    return list;
}

const VehicleCategory* FindVehicleCategory(const QString& text) {
    const QString wanted = withoutTrailingBlanks(text);
    for (const VehicleCategory& c : VehicleCategories())
        if (withoutTrailingBlanks(c.text) == wanted) return &c;
    return nullptr;
}

QString PairNumber(double value) {
    QString s = QString::number(value, 'f', 4);
    while (s.endsWith('0')) s.chop(1);
    if (s.endsWith('.')) s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

DebitObject DescribeDebitObject(DebitForm form, const DebitDetails& d) {
    DebitObject o;
    switch (form) {
    case DebitForm::PersonBuilding: {
        o.name = d.annex ? kAnnexName : kBuildingName;
        o.file = QStringLiteral("PAG2");
        const QString p = d.annex ? QStringLiteral("CA") : QStringLiteral("C1");
        o.pairs = {{p + 'S', PairNumber(d.area)},
                   {p + 'A', QString::number(d.year)},
                   {p + 'C', QString::number(d.material)},
                   {p + 'Z', d.zone},
                   {p + 'R', d.rank}};
        break;
    }
    case DebitForm::CompanyBuilding: {
        o.name = d.annex ? kAnnexName : kBuildingName;
        o.file = QStringLiteral("PAG2");
        const QString a = d.annex ? QStringLiteral("A") : QString();
        o.pairs = {{"V" + a + '1', QString::number(d.value)},
                   {"AM" + a + '1', d.depreciated ? QStringLiteral("DA") : QStringLiteral("NU")},
                   {"DINV" + a + '1', d.revaluation.toString(kDateFormat)}};
        break;
    }
    case DebitForm::InsideLand:
        o.name = InsideLandCategories().value(d.category);
        o.file = QStringLiteral("PAG4");
        o.pairs = {{d.category == 0 ? "CC" + d.zone : QStringLiteral("AL%1").arg(d.category) + d.zone, PairNumber(d.area)}};
        break;
    case DebitForm::OutsideLand:
        o.name = OutsideLandCategories().value(d.category);
        o.file = QStringLiteral("PAG1");
        o.pairs = {{QStringLiteral("L%1").arg(d.category + 1) + d.zone, PairNumber(d.area)}};
        break;
    case DebitForm::Vehicle: {
        o.name = d.vehicle;
        const VehicleCategory* c = FindVehicleCategory(d.vehicle);
        o.file = c ? c->file : QStringLiteral("PAG5");
        if (c && !c->capacityField.isEmpty()) o.pairs.push_back({c->capacityField, QString::number(d.capacity)});
        if (c && !c->countField.isEmpty()) o.pairs.push_back({c->countField, QString::number(d.count)});
        break;
    }
    }
    return o;
}

DebitDetails DecodeDebitObject(DebitForm form, const DebitObject& o) {
    DebitDetails d;
    const QString first = firstField(o);
    switch (form) {
    case DebitForm::PersonBuilding: {
        d.annex = o.name == kAnnexName || first.startsWith(QLatin1String("CA"));
        const QString p = d.annex ? QStringLiteral("CA") : QStringLiteral("C1");
        d.area = pairReal(o, p + 'S');
        d.year = int(pairReal(o, p + 'A'));
        d.material = pairValue(o, p + 'C').isEmpty() ? 1 : int(pairReal(o, p + 'C'));
        d.zone = pairValue(o, p + 'Z');
        d.rank = pairValue(o, p + 'R');
        break;
    }
    case DebitForm::CompanyBuilding: {
        d.annex = o.name == kAnnexName || first.startsWith(QLatin1String("VA"));
        const QString a = d.annex ? QStringLiteral("A") : QString();
        d.value = qint64(pairReal(o, "V" + a + '1'));
        d.depreciated = pairValue(o, "AM" + a + '1').compare(QLatin1String("DA"), Qt::CaseInsensitive) == 0;
        d.revaluation = QDate::fromString(pairValue(o, "DINV" + a + '1'), kDateFormat);
        break;
    }
    case DebitForm::InsideLand:
    case DebitForm::OutsideLand: {
        static const QRegularExpression inside(QStringLiteral("^(?:CC|AL([1-8]))([A-E])$"));
        static const QRegularExpression outside(QStringLiteral("^L(1[01]|[1-9])([A-E])$"));
        const QRegularExpressionMatch m = (form == DebitForm::InsideLand ? inside : outside).match(first);
        if (m.hasMatch()) {
            const int k = m.captured(1).toInt(); // 0 for the yards
            d.category = form == DebitForm::InsideLand ? k : k - 1;
            d.zone = m.captured(2);
            d.area = firstNamedPair(o)->second.trimmed().toDouble();
        }
        break;
    }
    case DebitForm::Vehicle: {
        const VehicleCategory* c = FindVehicleCategory(o.name);
        d.vehicle = c ? c->text : o.name;
        if (c && !c->capacityField.isEmpty()) d.capacity = qint64(pairReal(o, c->capacityField));
        if (c && !c->countField.isEmpty()) d.count = qint64(pairReal(o, c->countField));
        break;
    }
    }
    return d;
}

} // namespace vartesa
