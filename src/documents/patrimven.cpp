#include "documents/patrimven.h"

#include "admin/admin_constants.h"
#include "books/roles.h"
#include "cash/receipt.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/counters.h"
#include "shell/startup.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"

#include <algorithm>

namespace vartesa {

namespace {

using R = RoleColumns;

const QString kRemembered = QStringLiteral("VAR");

// A vehicle category of the page: its count field, the agency's type and cylinder capacity.
struct Category {
    const char* count;
    const char* type;
    const char* capacity;
};

// Categories 1 to 9, then 11 to 16, in the order their elements are written; cars over
// 3000 cm3 (category 10) go between 9 and 11, one per capacity field of the page.
constexpr Category kBeforeLarge[] = {{"AUTO1", "1", "1400"}, {"AUTO2", "1", "1600"}, {"AUTO3", "2", "1800"},
                                     {"AUTO4", "2", "2000"}, {"AUTO5", "3", "2200"}, {"AUTO6", "3", "2400"},
                                     {"AUTO7", "3", "2600"}, {"AUTO8", "4", "2800"}, {"AUTO9", "4", "3000"}};
constexpr Category kLarge = {nullptr, "5", "3200"};
constexpr const char* kLargeCars[] = {"P30001", "P30002", "P30003", "P30004"};
constexpr Category kAfterLarge[] = {{"AUTO11", "1", "1200"}, {"AUTO12", "1", "1000"}, {"AUTO13", "1", "800"},
                                    {"AUTO14", "1", "600"},  {"AUTO15", "1", "400"},  {"AUTO16", "1", "200"}};

// Code points XML 1.0 allows in a document.
bool allowedInXml(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// What the Auto elements of a role share.
struct Owner {
    QStringList registry; // Registru's attribute lines
    QStringList owner;    // Proprietar's
};

Owner ownerLines(const Role& r, const TownHall& town, int year) {
    const QString address = r.address.trimmed();
    Owner o;
    o.registry << XmlAttribute("Id_Registru", r.number) << XmlAttribute("Rec", "0")
               << XmlAttribute("Den_loc_prop", town.locality) << XmlAttribute("Tip_loc", "Com")
               << XmlAttribute("Cod_loc_prop", "0") << XmlAttribute("Tip_artera", "Str")
               << XmlAttribute("Den_art_prop", "PRINCIPALA");
    if (!address.isEmpty()) o.registry << XmlAttribute("Nr_postal_prop", address);
    o.owner << XmlAttribute("Id_proprietar", r.number) << XmlAttribute("Tip_prop", "1")
            << XmlAttribute("Denumire_judet", town.county) << XmlAttribute("Denumire_localitate", town.locality)
            << XmlAttribute("Tip_loc", "Com") << XmlAttribute("Cod_localitate", "0") << XmlAttribute("Cod_artera", "0")
            << XmlAttribute("Tip_artera", "Str") << XmlAttribute("Denumire_artera", "PRINCIPALA");
    if (!address.isEmpty()) o.owner << XmlAttribute("Nr_postal", address);
    o.owner << XmlAttribute("Cota", "100");
    if (!r.code.isEmpty()) {
        o.owner << XmlAttribute("Cnp_cui", r.code);
        if (r.personType.trimmed().compare(kPersonNatural, Qt::CaseInsensitive) != 0)
            o.owner << XmlAttribute("denumire_firma", r.name);
        else
            o.owner << XmlAttribute("nume", FirstWord(r.name)) << XmlAttribute("prenume", AfterFirstWord(r.name));
    }
    o.owner << XmlAttribute("Data_dobandire", QStringLiteral("31.12.%1").arg(year - 1))
            << XmlAttribute("Proc_scu_transport", r.exemptVehicles ? "100" : "0");
    return o;
}

void addVehicles(PatrimVenDocument& d, const Owner& o, const Category& c, int count) {
    for (int i = 0; i < count; ++i) {
        d.lines << QStringLiteral("<Auto>") << QStringLiteral("<Registru") << o.registry << QStringLiteral("/>")
                << QStringLiteral("<Date_auto") << XmlAttribute("Tip_mijloc_auto", c.type)
                << XmlAttribute("Capacitate_cilindrica", c.capacity) << QStringLiteral("/>")
                << QStringLiteral("<Proprietar") << o.owner << QStringLiteral("/>") << QStringLiteral("</Auto>");
        ++d.vehicles;
    }
}

int countIn(const db::Query& q, int row, const char* field) {
    const int at = q.columnIndex(QLatin1String(field));
    return at < 0 ? 0 : int(q.cell(row, at).toDouble());
}

} // namespace

std::optional<QString> CheckTownHallCode(const TownHall& townHall) {
    if (townHall.fiscalCode.trimmed().isEmpty()) return QStringLiteral("Nu ati trecut CUI-ul la Administrare!");
    return std::nullopt;
}

std::optional<DeclarantRefusal> TidyDeclarant(Declarant& d) {
    d.name = CollapseSpaces(d.name);
    d.firstName = CollapseSpaces(d.firstName);
    d.position = CollapseSpaces(d.position);
    if (d.name.isEmpty()) return DeclarantRefusal{QStringLiteral("Lipseste Numele declarantului!"), DeclarantField::Name};
    if (d.firstName.isEmpty())
        return DeclarantRefusal{QStringLiteral("Lipseste Prenumele declarantului!"), DeclarantField::FirstName};
    if (d.position.isEmpty())
        return DeclarantRefusal{QStringLiteral("Lipseste Functia declarantului!"), DeclarantField::Position};
    return std::nullopt;
}

Declarant RememberedDeclarant(const CountersFile& counters) {
    return {counters.ReadCounter(kRemembered, QStringLiteral("NUMED")),
            counters.ReadCounter(kRemembered, QStringLiteral("PRENUMED")),
            counters.ReadCounter(kRemembered, QStringLiteral("FUNCTIED"))};
}

void RememberDeclarant(CountersFile& counters, const Declarant& d) {
    counters.WriteCounter(kRemembered, QStringLiteral("NUMED"), d.name);
    counters.WriteCounter(kRemembered, QStringLiteral("PRENUMED"), d.firstName);
    counters.WriteCounter(kRemembered, QStringLiteral("FUNCTIED"), d.position);
}

QString XmlAttribute(const QString& name, const QString& value) {
    const auto plain = [](QChar c) {
        return c.unicode() >= 0x20 && c != u'&' && c != u'<' && c != u'>' && c != u'"' && !c.isSurrogate() &&
               c.unicode() < 0xFFFE;
    };
    if (std::all_of(value.begin(), value.end(), plain)) return name + QStringLiteral("=\"") + value + QLatin1Char('"');
    QString escaped;
    escaped.reserve(value.size());
    for (const char32_t c : value.toUcs4()) {
        switch (c) {
        case '&': escaped += QLatin1String("&amp;"); break;
        case '<': escaped += QLatin1String("&lt;"); break;
        case '>': escaped += QLatin1String("&gt;"); break;
        case '"': escaped += QLatin1String("&quot;"); break;
        case '\t': escaped += QLatin1String("&#9;"); break;
        case '\n': escaped += QLatin1String("&#10;"); break;
        case '\r': escaped += QLatin1String("&#13;"); break;
        default:
            if (allowedInXml(c)) escaped += QString::fromUcs4(&c, 1);
        }
    }
    return name + QStringLiteral("=\"") + escaped + QLatin1Char('"');
}

QByteArray PatrimVenDocument::bytes() const {
    QByteArray out;
    qsizetype size = 0;
    for (const QString& line : lines) size += line.size() + 2;
    out.reserve(size + size / 8); // a few letters take two bytes
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

PatrimVenDocument BuildPatrimVen(db::Database& db, const QString& dataFolder, const Declarant& declarant,
                                 const QDate& today, const std::function<void(int roles)>& step) {
    const TownHall town = TownHallFrom(AdminConstants::stored(db, dataFolder));
    const int year = WorkingYear().toInt();
    PatrimVenDocument d;
    d.lines << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")
            << QStringLiteral("<Patrimoniu xmlns=\"mfp:anaf:patrimoniu:v1\"")
            << XmlAttribute("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance")
            << XmlAttribute("Cui_primarie", town.fiscalCode)
            << XmlAttribute("Data_raportarii", today.toString(QStringLiteral("d.M.yyyy")))
            << XmlAttribute("nume_declar", declarant.name) << XmlAttribute("prenume_declar", declarant.firstName)
            << XmlAttribute("functie_declar", declarant.position);
    const qsizetype totalLine = d.lines.size();
    d.lines << QString(); // totalPlata_A, once the vehicles are counted

    QStringList counts;
    for (const Category& c : kBeforeLarge) counts << QStringLiteral("B.") + QLatin1String(c.count);
    for (const char* f : kLargeCars) counts << QStringLiteral("B.") + QLatin1String(f);
    for (const Category& c : kAfterLarge) counts << QStringLiteral("B.") + QLatin1String(c.count);
    const db::Query q = db.query(
        QStringLiteral("SELECT A.%1, A.%2, A.%3, A.%4, A.%5, A.%6, A.%7, %8 FROM \"%9/%10\" A, \"%9/%11\" B "
                       "WHERE A.%12 = B.%12 ORDER BY A.%1, A.%2")
            .arg(R::village, R::number, R::name, R::code, R::address, R::personType, R::exemptVehicles,
                 counts.join(QStringLiteral(", ")), dataFolder, tables::Roles, tables::Vehicles, R::id));
    for (int row = 0; row < q.count(); ++row) {
        if (step) step(q.count());
        const Owner owner = ownerLines(RoleFromRow(q, row), town, year);
        for (const Category& c : kBeforeLarge) addVehicles(d, owner, c, countIn(q, row, c.count));
        for (const char* f : kLargeCars) addVehicles(d, owner, kLarge, countIn(q, row, f) > 0 ? 1 : 0);
        for (const Category& c : kAfterLarge) addVehicles(d, owner, c, countIn(q, row, c.count));
    }
    d.lines[totalLine] = XmlAttribute("totalPlata_A", QString::number(d.vehicles)) + QLatin1Char('>');
    d.lines << QStringLiteral("</Patrimoniu>");
    return d;
}

} // namespace vartesa
