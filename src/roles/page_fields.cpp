#include "roles/page_fields.h"

#include "db/error.h"
#include "admin/admin_catalog.h"
#include "shell/catalog.h"
#include "shell/table_files.h"

namespace vartesa {
namespace {

using K = PageFieldKind;

const QStringList kZoneColumns = {"A", "B", "C", "D", "E"};

// Builds one page's rows; the width and decimals come from the catalog's layout of the table.
class PageBuilder {
public:
    PageBuilder(std::vector<PageField>& out, int page, const QString& table) : out_(out), page_(page), table_(table) {}

    PageBuilder& group(const QString& heading, PagePanel panel = PagePanel::Both) {
        group_ = heading;
        panel_ = panel;
        return *this;
    }
    PageField& add(const QString& field, const QString& screen, K kind, const QString& row, const QString& column) {
        PageField f;
        f.page = page_;
        f.screen = screen;
        f.kind = kind;
        f.panel = panel_;
        f.group = group_;
        f.row = row;
        f.column = column;
        const QString where = QStringList{row, column}.join(QStringLiteral(", ")).replace('\n', ' ').simplified();
        if (!field.isEmpty()) {
            f.table = table_;
            f.field = field.toUpper();
            const TableLayout& layout = CatalogTable(table_);
            for (const db::Field& d : layout.fields)
                if (d.name.compare(f.field, Qt::CaseInsensitive) == 0) {
                    f.width = d.length;
                    f.decimals = d.decimals;
                }
            if (f.width == 0) throw Error(QStringLiteral("Campul %1 lipseste din %2").arg(field, table_), table_);
            f.label = QStringLiteral("%1 (%2)").arg(where, f.field);
        } else {
            f.label = where;
        }
        out_.push_back(f);
        return out_.back();
    }
    PageField& number(const QString& field, const QString& screen, const QString& row, const QString& column) {
        return add(field, screen, K::Number, row, column);
    }

private:
    std::vector<PageField>& out_;
    int page_;
    QString table_;
    QString group_;
    PagePanel panel_ = PagePanel::Both;
};

QString n(int i) { return QString::number(i); }

// Page 1: hectares by category and zone; EC<k>Z<Z> shows L<k><Z>.
void extravilanLand(std::vector<PageField>& out) {
    const char* const categories[11] = {"Teren arabil", "Pasuni - fanete", "Vie pe rod", "Vie pana la intrarea pe rod",
                                        "Livada pe rod", "Livada pana la intrarea pe rod",
                                        "Fond forestier sau alt teren\ncu vegetatie forestiera", "Teren de constructii",
                                        "Teren neproductiv", "Teren cu apa, fara amenajari piscicole",
                                        "Teren cu amenajari piscicole"};
    PageBuilder p(out, 1, tables::LandOutside);
    for (int k = 1; k <= 11; ++k)
        for (const QString& z : kZoneColumns)
            p.number("L" + n(k) + z, "EC" + n(k) + "Z" + z, QString::fromLatin1(categories[k - 1]), "Zona " + z);
}

// Page 2: houses of a natural person, buildings of a legal person.
void buildings(std::vector<PageField>& out) {
    PageBuilder p(out, 2, tables::Buildings);
    p.group(QStringLiteral("Cladiri - persoane fizice"), PagePanel::Natural);
    for (int k = 1; k <= 8; ++k) {
        const QString house = "Casa " + n(k);
        p.number("C" + n(k) + "S", "SupC" + n(k), house, "Suprafata\nconstruita (mp)");
        p.add("C" + n(k) + "C", "CodMC" + n(k), K::Material, house, "Cod\nmaterial");
        p.add("C" + n(k) + "A", "AnC" + n(k), K::Year, house, "Anul darii\nin folosinta").screenDigits = 4;
        p.add("C" + n(k) + "Z", "ZonaC" + n(k), K::Zone, house, "Zona");
        p.add("C" + n(k) + "R", "RangC" + n(k), K::Rank, house, "Rangul");
        p.add("NR" + n(k), "NrC" + n(k), K::HouseOrder, house, "A cata\ncasa");
        p.add({}, "ValImp" + n(k), K::HouseValue, house, "Valoare\nimpozabila").inputs =
            QStringList{"C" + n(k) + "S", "C" + n(k) + "C", "C" + n(k) + "Z", "C" + n(k) + "R"};
    }
    p.group(QStringLiteral("Cladiri - persoane juridice"), PagePanel::Legal);
    for (int b = 1; b <= 12; ++b) {
        const QString building = "Cladirea " + n(b);
        p.number("V" + n(b), "CladJur" + n(b), building, "Valoare inventar").screenDigits = 10;
        p.add("DINV" + n(b), "DataEval" + n(b), K::Date, building, "Data evaluarii");
        p.add("AM" + n(b), "Amor" + n(b), K::Depreciated, building, "Amortizata");
    }
}

// Page 3: two annex buildings of either person type, in Pag2.dbf.
void annexes(std::vector<PageField>& out) {
    PageBuilder p(out, 3, tables::Buildings);
    struct Annex {
        const char* suffix; // of the table fields: CAS, CAS2
        const char* area;
        const char* material;
        const char* zone;
        const char* rank;
        const char* year;
        const char* value;
    };
    const Annex natural[2] = {{"", "NumericEdit11", "ComboBox16", "ComboBox15", "ComboBox17", "NumericEdit10", "ValImpA1"},
                              {"2", "NumericEdit1", "ComboBox1", "ComboBox2", "ComboBox18", "NumericEdit16", "ValImpA2"}};
    for (int i = 0; i < 2; ++i) {
        const Annex& a = natural[i];
        const QString s = QLatin1String(a.suffix);
        const QString row = "Cladirea anexa " + n(i + 1);
        p.group(row + " - persoane fizice", PagePanel::Natural);
        p.number("CAS" + s, a.area, row, "Suprafata\nconstruita (mp)");
        p.add("CAC" + s, a.material, K::Material, row, "Cod\nmaterial");
        p.add("CAZ" + s, a.zone, K::Zone, row, "Zona");
        p.add("CAR" + s, a.rank, K::Rank, row, "Rangul");
        p.add("CAA" + s, a.year, K::Year, row, "Anul darii\nin folosinta").screenDigits = 4;
        p.add({}, a.value, K::AnnexValue, row, "Valoare\nimpozabila").inputs =
            QStringList{"CAS" + s, "CAC" + s, "CAZ" + s, "CAR" + s};
    }
    p.group(QStringLiteral("Cladiri anexe - persoane juridice"), PagePanel::Legal);
    for (int i = 1; i <= 2; ++i) {
        const QString row = "Cladirea anexa " + n(i);
        p.number("VA" + n(i), "ValInvCAPJ" + n(i), row, "Valoare inventar").screenDigits = 10;
        p.add("DINVA" + n(i), "DataECA" + n(i), K::Date, row, "Data evaluarii");
        p.add("AMA" + n(i), "AmoCA" + n(i), K::Depreciated, row, "Amortizata");
    }
}

// Page 4: built-up yards in m2, then the other categories in hectares; IA<k><1..5>.
void intravilanLand(std::vector<PageField>& out) {
    PageBuilder p(out, 4, tables::LandInside);
    for (const QString& z : kZoneColumns) p.number("CC" + z, "ICC" + z, "Curti - constructii (mp)", "Zona " + z);
    const char* const categories[8] = {"Teren arabil", "Pasune", "Faneata", "Vie",
                                       "Livada",       "Neproductiv", "Padure", "Teren cu ape"};
    for (int k = 1; k <= 8; ++k)
        for (int z = 0; z < 5; ++z)
            p.number("AL" + n(k) + kZoneColumns[z], "IA" + n(k) + n(z + 1), QString::fromLatin1(categories[k - 1]) + " (ha)",
                     "Zona " + kZoneColumns[z]);
}

// Page 5: means of transport up to 12 t, by the screen's mapping onto Pag5.dbf.
void vehicles(std::vector<PageField>& out) {
    PageBuilder p(out, 5, tables::Vehicles);
    const QString count = QStringLiteral("Numar");
    const QString capacity = QStringLiteral("Capacitate (cmc)");
    p.group(QStringLiteral("Autoturisme si motociclete"));
    const char* const small[6] = {"pana la 200 cmc", "201 - 400 cmc", "401 - 600 cmc",
                                  "601 - 800 cmc",   "801 - 1000 cmc", "1001 - 1200 cmc"};
    for (int i = 6; i >= 1; --i) // AUTO16 (up to 200) first, shown as AUTO23
        p.number("AUTO" + n(10 + i), "AUTO" + n(17 + i), QString::fromLatin1(small[6 - i]), count);
    for (int k = 1; k <= 9; ++k)
        p.number("AUTO" + n(k), "AUTO" + n(k), QStringLiteral("%1 - %2 cmc").arg(1001 + 200 * k).arg(1200 + 200 * k), count);
    p.group(QStringLiteral("Autoturisme peste 3000 cmc"));
    for (int k = 1; k <= 4; ++k) p.number("P3000" + n(k), "P3000" + n(k), "Autoturismul " + n(k), capacity);
    p.group(QStringLiteral("Alte autovehicule pana la 12 t"));
    for (int k = 1; k <= 4; ++k) p.number("ALTE" + n(k), "ALTEA" + n(k), "Vehiculul " + n(k), capacity);
    p.group(QStringLiteral("Autobuze, autocare, microbuze"));
    for (int k = 1; k <= 4; ++k) {
        p.number("ATB" + n(k), "ATBCAP" + n(k), "Linia " + n(k), capacity);
        p.number("ATBNR" + n(k), "ATBCANT" + n(k), "Linia " + n(k), count);
    }
    p.group(QStringLiteral("Tractoare inmatriculate"));
    for (int k = 1; k <= 4; ++k) {
        p.number("TRAC" + n(k), "TRACCAP" + n(k), "Linia " + n(k), capacity);
        p.number("TBUC" + n(k), "TRACBUC" + n(k), "Linia " + n(k), count);
    }
    p.group(QStringLiteral("Remorci, semiremorci, rulote"));
    const char* const masses[4] = {"pana la 1 t inclusiv", "peste 1 t, pana la 3 t", "peste 3 t, pana la 5 t",
                                   "peste 5 t"};
    for (int k = 1; k <= 4; ++k) p.number("REM" + n(k), "AUTO" + n(13 + k), QString::fromLatin1(masses[k - 1]), count);
}

void unregisteredVehicles(std::vector<PageField>& out) {
    PageBuilder p(out, 6, tables::Unregistered);
    const QString capacity = QStringLiteral("Capacitate (cmc)");
    p.group(QStringLiteral("Vehicule pana la 4800 cmc"));
    for (int k = 1; k <= 5; ++k) p.number("VN" + n(k), "VN" + n(k), "Vehiculul " + n(k), capacity);
    p.group(QStringLiteral("Vehicule peste 4800 cmc"));
    for (int k = 6; k <= 10; ++k) p.number("VN" + n(k), "VN" + n(k), "Vehiculul " + n(k - 5), capacity);
    p.group(QStringLiteral("Vehicule fara capacitate inregistrata"));
    p.number("VN11", "VN11", QStringLiteral("Numar de vehicule"), QStringLiteral("Numar"));
}

void otherTaxes(std::vector<PageField>& out) {
    PageBuilder p(out, 7, tables::OtherTaxes);
    const char* const taxes[6] = {"Concesionari", "Iluminat", "Salubritate", "PSI", "Paza", "Vehicule lente"};
    for (int k = 1; k <= 6; ++k)
        p.number("LIN" + n(k), "Alte" + n(k), QString::fromLatin1(taxes[k - 1]), QStringLiteral("Cantitate"));
}

// Pages 8, 9 and 10 carry the captions of the matching rates of the administrator window.
void heavyAndWater(std::vector<PageField>& out, int page, const QString& prefix, int count, bool bySuspension) {
    PageBuilder p(out, page, tables::Vehicles);
    for (int k = 1; k <= count; ++k)
        for (const QString& s : bySuspension ? QStringList{"A", "B"} : QStringList{QString()}) {
            const QString key = prefix + n(k) + s;
            const AdminControl* rate = FindAdminControl(key);
            if (!rate) throw Error(QStringLiteral("Lipseste constanta %1").arg(key), key);
            p.group(rate->group);
            p.number(key, key, rate->label, bySuspension ? rate->column : QStringLiteral("Bucati"));
        }
}

void arrears(std::vector<PageField>& out) {
    PageBuilder p(out, 11, tables::PriorArrears);
    p.group(QStringLiteral("Impozite"));
    const char* const taxes[4] = {"Teren extravilan", "Cladiri", "Teren intravilan", "Mijloace de transport"};
    for (int k = 1; k <= 4; ++k) {
        const QString row = QString::fromLatin1(taxes[k - 1]);
        p.number("LIN" + n(k), "NumericEdit" + n(11 + k), row, QStringLiteral("Restanta"));
        p.number("PEN" + n(k), "Pen" + n(11 + k), row, QStringLiteral("Majorari"));
        p.number("SOLD" + n(k), "Sold" + n(k), row, QStringLiteral("Plus"));
    }
    p.group(QStringLiteral("Taxe si impozite"));
    const char* const fees[7] = {"Vehicule lente", "Taxa pe pasune", "Concesionari", "Iluminat",
                                 "Salubritate",    "PSI",            "Paza"};
    for (int k = 5; k <= 11; ++k)
        p.number("LIN" + n(k), "NumericEdit" + n(12 + k), QString::fromLatin1(fees[k - 5]), QStringLiteral("Restanta"));
}

std::vector<PageField> buildTable() {
    std::vector<PageField> out;
    out.reserve(420);
    extravilanLand(out);
    buildings(out);
    annexes(out);
    intravilanLand(out);
    vehicles(out);
    unregisteredVehicles(out);
    otherTaxes(out);
    heavyAndWater(out, 8, QStringLiteral("G"), 15, true);
    heavyAndWater(out, 9, QStringLiteral("GC"), 24, true);
    heavyAndWater(out, 10, QStringLiteral("APA"), 13, false);
    arrears(out);
    return out;
}

} // namespace

const std::vector<DeclarationPage>& DeclarationPageList() {
    static const std::vector<DeclarationPage> pages = {
        {1, tables::LandOutside, "Teren Extravilan", "Suprafata detinuta - ha"},
        {2, tables::Buildings, "Impozit pe cladiri", {}},
        {3, tables::Buildings, "Impozit pe cladiri anexe", {}},
        {4, tables::LandInside, "Teren intravilan", {}},
        {5, tables::Vehicles, "Mijloace de transport", {}},
        {6, tables::Unregistered, "Impozit pe vehicule neinmatriculate", {}},
        {7, tables::OtherTaxes, "Alte taxe", {}},
        {8, tables::Vehicles, "Autovechicule transport marfa peste 12 tone / bucati", {}},
        {9, tables::Vehicles, "Combinatii autovehicule peste 12 tone / bucati", {}},
        {10, tables::Vehicles, "Mijloace de transport pe apa", {}},
        {11, tables::PriorArrears, "Restante din evidentele anterioare", {}},
    };
    return pages;
}

const DeclarationPage& DeclarationPageInfo(int n) {
    if (n < 1 || n > int(DeclarationPageList().size()))
        throw Error(QStringLiteral("Pagina %1 nu exista (paginile sunt 1-11)").arg(n));
    return DeclarationPageList()[size_t(n - 1)];
}

const std::vector<PageField>& PageFieldTable() {
    static const std::vector<PageField> table = buildTable();
    return table;
}

std::vector<const PageField*> FieldsOfPage(int n) {
    std::vector<const PageField*> out;
    for (const PageField& f : PageFieldTable())
        if (f.page == n) out.push_back(&f);
    return out;
}

const PageField* FindPageField(int n, const QString& field) {
    for (const PageField& f : PageFieldTable())
        if (f.page == n && f.isStored() && f.field.compare(field, Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

const QStringList& ZoneList() {
    static const QStringList list = {"A", "B", "C", "D"};
    return list;
}
const QStringList& RankList() {
    static const QStringList list = {"0", "I", "II", "III", "IV", "V"};
    return list;
}
const QStringList& MaterialList() {
    static const QStringList list = {"1 SAU 2", "3,4 SAU 5"};
    return list;
}
const QStringList& HouseOrderList() {
    static const QStringList list = {"MOSTENITA", "1", "2", "3", "4"};
    return list;
}

} // namespace vartesa
