// The roles and declaration pages of the synthetic commune. Every choice comes from one
// small generator of our own (not the standard distributions, whose results differ between
// libraries), so a seed gives the same commune everywhere.

#include "datafolder/synthetic_commune.h"

#include "books/debits.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "roles/assessment_rates.h"
#include "roles/ledger.h"
#include "roles/role_register.h"
#include "shell/catalog.h"

#include <QDate>
#include <QHash>

namespace vartesa {

namespace {

// splitmix64: tiny, fast and the same on every platform.
class DemoRandom {
public:
    explicit DemoRandom(quint64 seed) : state_(seed) {}
    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) {
        return items[below(int(N))];
    }
    /// A day of a year in [low, high]; the parts are drawn one after the other (the order
    /// in which a call's arguments are worked out is not fixed, so no draw sits in one).
    QDate day(int low, int high, int lastMonth = 12) {
        const int year = between(low, high);
        const int month = between(1, lastMonth);
        return QDate(year, month, between(1, 28));
    }
    /// A field name made of a prefix and a drawn number, then a drawn suffix.
    QString field(const char* prefix, int low, int high) {
        return QLatin1String(prefix) + QString::number(between(low, high));
    }

private:
    quint64 state_;
};

struct Village {
    const char* name; // UTF-8, capitals
    const char* zone; // of its houses
    const char* rank;
};
const Village kVillages[5] = {{"VÂRTEŞA", "A", "IV"},
                              {"DEALU MARE", "B", "V"},
                              {"ŞIEU-MĂGHERUŞ", "B", "IV"},
                              {"ŢIBUCANI", "C", "V"},
                              {"PĂDURENI", "D", "V"}};

const char* const kSurnames[] = {"POPESCU",    "IONESCU",    "POPA",    "STAN",    "DUMITRU",
                                 "STOICA",     "GHEORGHE",   "MATEI",   "CIOBANU", "RUSU",
                                 "MUNTEANU",   "ŞTEFĂNESCU", "ŢURCANU", "BĂLAN",   "LUPU",
                                 "MĂRGINEANU", "CONSTANTIN", "NISTOR"};
const char* const kGivenNames[] = {"ION",    "MARIA", "GHEORGHE", "ELENA",  "VASILE",
                                   "ANA",    "MIHAI", "IOANA",    "ANDREI", "FLOAREA",
                                   "ŞTEFAN", "TUDOR", "CĂTĂLINA", "RĂZVAN"};
const char* const kCompanies[] = {"ALFA",         "AGROMEC",        "CEREALCOM",  "MOARA VECHE",
                                  "LEMNUL VERDE", "TRANS-ŢIBUCANI", "DACIA SERV", "FERMA BĂLAN"};
const char* const kStreets[] = {"Principală", "Bisericii", "Şcolii", "Morii",
                                "Livezii",    "Câmpului",  "Ţarinei"};
const char* const kZones[] = {"A", "B", "C", "D", "E"};

// House areas and years at the edges of the rules, mixed with ordinary ones.
const double kEdgeAreas[] = {40, 150, 150.01, 200, 200.01, 96.5, 120.25};
const int kEdgeYears[] = {0, 1964, 1965, 1984, 1985, 2015};

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A page row at its blank values, its fields found by name.
class PageBuilder {
public:
    PageBuilder(const QString& file, const BlankPageDefaults& defaults)
        : layout_(CatalogTable(file)) {
        for (size_t i = 0; i < layout_.fields.size(); ++i) {
            index_.insert(layout_.fields[i].name, int(i));
            blank_ << BlankPageValue(layout_.fields[i], defaults);
        }
    }
    QVariantList start(qint64 id) const {
        QVariantList row = blank_;
        row[0] = id;
        return row;
    }
    void set(QVariantList& row, const QString& field, const QVariant& value) const {
        row[index_.value(field)] = value;
    }
    int whole(const QVariantList& row, const QString& field) const { return row[index_.value(field)].toInt(); }

private:
    const TableLayout& layout_;
    QHash<QString, int> index_; // field -> position
    QVariantList blank_;        // the blank row
};

// A valid personal numeric code for someone born in the 20th century.
QString personalCode(DemoRandom& rng, bool woman) {
    QString digits =
        QString::number(woman ? 2 : 1) + QStringLiteral("%1%2%3%4%5")
                                             .arg(rng.between(30, 99), 2, 10, QLatin1Char('0'))
                                             .arg(rng.between(1, 12), 2, 10, QLatin1Char('0'))
                                             .arg(rng.between(1, 28), 2, 10, QLatin1Char('0'))
                                             .arg(rng.between(1, 46), 2, 10, QLatin1Char('0'))
                                             .arg(rng.between(1, 999), 3, 10, QLatin1Char('0'));
    static const int weights[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += digits[i].digitValue() * weights[i];
    const int control = sum % 11 == 10 ? 1 : sum % 11;
    return digits + QString::number(control);
}

// A valid fiscal code of 8 digits.
QString fiscalCode(DemoRandom& rng) {
    const QString body = QString::number(rng.between(1000000, 9999999));
    const QString padded = body.rightJustified(9, '0');
    static const int weights[9] = {7, 5, 3, 2, 1, 7, 5, 3, 2};
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += padded[i].digitValue() * weights[i];
    return body + QString::number(sum * 10 % 11 % 10);
}

class CommuneWriter {
public:
    explicit CommuneWriter(const SyntheticCommuneOptions& o)
        : options_(o),
          rng_(o.seed), extra_(o.seed ^ 0x5EC0D0A7A11DAB1Eull), defaults_{QStringLiteral("A"), QStringLiteral("IV"), QDate(o.workingYear, 1, 1)} {
        for (const QString& file : PageTables())
            pages_.emplace_back(file, defaults_);
    }

    SyntheticRows run() {
        for (int v = 0; v < 5; ++v)
            rows_.zones.push_back(
                {v + 1, text(kVillages[v].name), text(kVillages[v].zone), text(kVillages[v].rank)});
        for (int r = 0; r < options_.roles; ++r)
            addRole(r);
        // Drawn last, from their own generator, so the rows above stay as they were.
        for (int r = 0; r < options_.roles; ++r) {
            vehicleDetails(r + 1, rows_.pages[3][size_t(r)]);
            landMovement(r + 1);
        }
        return std::move(rows_);
    }

private:
    void addRole(int r);
    void outsideLand(QVariantList& row);
    void houses(QVariantList& row, const Village& village);
    void companyBuildings(QVariantList& row);
    void insideLand(QVariantList& row, bool legal);
    void vehicles(QVariantList& row, bool legal);
    void unregistered(QVariantList& row);
    void otherTaxes(QVariantList& row);
    void arrears(QVariantList& row);
    void yearEntries(qint64 id, const QString& village, const QString& number);
    void vehicleDetails(qint64 id, const QVariantList& vehicles);
    void landMovement(qint64 id);
    const PageBuilder& page(int i) const { return pages_[size_t(i)]; }

    SyntheticCommuneOptions options_;
    DemoRandom rng_;
    DemoRandom extra_; // the vehicle details and the land movements, drawn after everything else
    // The years below are written for a commune of 2015; another working year moves them all.
    int y(int year) const { return year + options_.workingYear - 2015; }
    int edgeYear(int year) const { return year == 0 ? 0 : y(year); } // 0: a house with no year
    BlankPageDefaults defaults_;
    std::vector<PageBuilder> pages_; // in the order of PageTables()
    SyntheticRows rows_;
    int numbers_[5] = {0, 0, 0, 0, 0}; // last role number of each village
};

void CommuneWriter::addRole(int r) {
    const qint64 id = r + 1;
    const int v = rng_.below(5);
    const Village& village = kVillages[v];
    // The first company is SC "ALFA" SRL; the rest are one in twelve.
    const bool legal = r == 1 || (r > 1 && rng_.below(12) == 0);
    const bool woman = rng_.chance(50);
    QString name;
    if (legal)
        name = QStringLiteral("SC \"%1\" SRL").arg(text(r == 1 ? "ALFA" : rng_.pick(kCompanies)));
    else if (r % 997 == 5)
        name = QStringLiteral("O'NEIL PATRICK");
    else
        name = text(rng_.pick(kSurnames)) + ' ' + text(rng_.pick(kGivenNames));
    const QString number = QString::number(++numbers_[v]);
    const bool noPenalties = rng_.below(100) == 0;
    const int exemption = rng_.below(60); // a few of every kind
    Role role;
    role.id = id;
    role.village = text(village.name);
    role.number = number;
    role.name = name;
    role.code = legal ? fiscalCode(rng_) : personalCode(rng_, woman);
    role.address = QStringLiteral("Str. %1 nr. %2").arg(text(rng_.pick(kStreets))).arg(rng_.between(1, 250));
    role.personType = legal ? kPersonLegal : kPersonNatural;
    role.exemptBuildings = exemption == 1;
    role.exemptYards = exemption == 2;
    role.exemptIntravilan = exemption == 3;
    role.exemptVehicles = exemption == 4;
    role.extravilanExemption = exemption == 5 ? rng_.between(20, 300) : 0;
    role.noPenalties = noPenalties;
    rows_.roles.push_back(RoleValues(role));

    QVariantList rows[7];
    for (int i = 0; i < 7; ++i)
        rows[i] = page(i).start(id);
    if (rng_.chance(legal ? 30 : 60)) outsideLand(rows[0]);
    if (legal)
        companyBuildings(rows[1]);
    else
        houses(rows[1], village);
    insideLand(rows[2], legal);
    vehicles(rows[3], legal);
    if (rng_.chance(3)) unregistered(rows[4]);
    otherTaxes(rows[5]);
    if (rng_.chance(10)) arrears(rows[6]);
    for (int i = 0; i < 7; ++i)
        rows_.pages[i].push_back(rows[i]);
    yearEntries(id, text(village.name), number);
}

void CommuneWriter::outsideLand(QVariantList& row) {
    for (int n = rng_.between(1, 3); n > 0; --n) {
        const QString field = rng_.field("L", 1, 11) + QLatin1String(rng_.pick(kZones));
        page(0).set(row, field, rng_.between(1000, 50000) / 10000.0);
    }
}

void CommuneWriter::houses(QVariantList& row, const Village& village) {
    const PageBuilder& p = page(1);
    const int count =
        rng_.chance(85) ? (rng_.chance(20) ? (rng_.chance(15) ? rng_.between(3, 8) : 2) : 1) : 0;
    for (int k = 1; k <= count; ++k) {
        const QString n = QString::number(k);
        p.set(row, "C" + n + "S",
              rng_.chance(30) ? rng_.pick(kEdgeAreas) : rng_.between(3000, 26000) / 100.0);
        p.set(row, "C" + n + "A",
              rng_.chance(25) ? edgeYear(rng_.pick(kEdgeYears)) : rng_.between(1900, y(2015)));
        p.set(row, "C" + n + "C", rng_.chance(60) ? 0 : 1);
        p.set(row, "C" + n + "Z", text(village.zone));
        p.set(row, "C" + n + "R", text(village.rank));
        if (k == 1 && rng_.chance(10)) p.set(row, "NR1", 0); // inherited
    }
    for (const QString& suffix : {QString(), QStringLiteral("2")}) {
        if (!rng_.chance(suffix.isEmpty() ? 50 : 10)) continue;
        p.set(row, "CAS" + suffix, rng_.between(800, 6000) / 100.0);
        p.set(row, "CAA" + suffix, rng_.between(1950, y(2015)));
        p.set(row, "CAC" + suffix, rng_.chance(50) ? 0 : 1);
        p.set(row, "CAZ" + suffix, text(village.zone));
        p.set(row, "CAR" + suffix, text(village.rank));
    }
}

void CommuneWriter::companyBuildings(QVariantList& row) {
    const PageBuilder& p = page(1);
    for (int n = 1, count = rng_.between(1, 3); n <= count; ++n) {
        const QString i = QString::number(n);
        p.set(row, "V" + i, rng_.between(20, 600) * 1000);
        p.set(row, "AM" + i, YesNo(rng_.chance(15)));
        // Revaluations of every age, one now and then dated after the working year.
        p.set(row, "DINV" + i, rng_.chance(5) ? rng_.day(y(2016), y(2016)) : rng_.day(y(2005), y(2015)));
    }
    if (rng_.chance(40)) {
        p.set(row, "VA1", rng_.between(5, 100) * 1000);
        p.set(row, "AMA1", YesNo(rng_.chance(15)));
        p.set(row, "DINVA1", rng_.day(y(2005), y(2015)));
    }
}

void CommuneWriter::insideLand(QVariantList& row, bool legal) {
    const PageBuilder& p = page(2);
    if (rng_.chance(90)) {
        const QString field = QStringLiteral("CC") + QLatin1String(rng_.pick(kZones));
        p.set(row, field, rng_.between(legal ? 600 : 150, 999)); // the field holds under 1000 m2
    }
    if (rng_.chance(30)) {
        const QString field = rng_.field("AL", 1, 8) + QLatin1String(rng_.pick(kZones));
        p.set(row, field, rng_.between(500, 20000) / 10000.0);
    }
}

void CommuneWriter::vehicles(QVariantList& row, bool legal) {
    const PageBuilder& p = page(3);
    if (rng_.chance(legal ? 70 : 45)) {
        const int cls = rng_.below(15); // AUTO1..AUTO9, AUTO11..AUTO16
        p.set(row, QStringLiteral("AUTO%1").arg(cls < 9 ? cls + 1 : cls + 2),
              rng_.chance(85) ? 1 : 2);
    }
    if (rng_.chance(4)) {
        const QString field = rng_.field("P3000", 1, 2);
        p.set(row, field, rng_.between(3001, 4800));
    }
    if (rng_.chance(4)) {
        const QString field = rng_.field("ALTE", 1, 2);
        p.set(row, field, rng_.between(1200, 5000));
    }
    if (rng_.chance(5)) p.set(row, rng_.field("REM", 1, 4), 1);
    if (rng_.chance(3)) {
        p.set(row, QStringLiteral("TRAC1"), rng_.between(1000, 4500));
        p.set(row, QStringLiteral("TBUC1"), rng_.chance(80) ? 1 : 2);
    }
    if (legal && rng_.chance(20)) {
        p.set(row, QStringLiteral("ATB1"), rng_.between(2500, 9000));
        p.set(row, QStringLiteral("ATBNR1"), rng_.between(1, 3));
    }
    if (legal && rng_.chance(40)) {
        QString field = rng_.field("G", 1, 15);
        field += rng_.chance(50) ? 'A' : 'B';
        p.set(row, field, rng_.between(1, 3));
    }
    if (legal && rng_.chance(25)) {
        QString field = rng_.field("GC", 1, 24);
        field += rng_.chance(50) ? 'A' : 'B';
        p.set(row, field, rng_.between(1, 2));
    }
    if (rng_.chance(legal ? 10 : 1)) {
        const int k = rng_.between(1, 13);
        p.set(row, QStringLiteral("APA%1").arg(k), k == 10 ? rng_.between(500, 3000) : 1);
    }
}

void CommuneWriter::unregistered(QVariantList& row) {
    const PageBuilder& p = page(4);
    p.set(row, QStringLiteral("VN1"), rng_.between(600, 4800));
    if (rng_.chance(30)) p.set(row, QStringLiteral("VN6"), rng_.between(4801, 9000));
    if (rng_.chance(30)) p.set(row, QStringLiteral("VN11"), 1);
}

void CommuneWriter::otherTaxes(QVariantList& row) {
    const PageBuilder& p = page(5);
    const int percent[6] = {2, 30, 60, 10, 15, 3}; // Concesionari .. Vehicule lente
    for (int k = 0; k < 6; ++k)
        if (rng_.chance(percent[k]))
            p.set(row, QStringLiteral("LIN%1").arg(k + 1),
                  k == 0 ? rng_.between(10, 200) : rng_.between(1, 4));
}

// Arrears, penalties or a credit of a tax, never arrears and credit together.
void CommuneWriter::arrears(QVariantList& row) {
    const PageBuilder& p = page(6);
    const QString k = QString::number(rng_.between(1, 4));
    if (rng_.chance(70)) {
        p.set(row, "LIN" + k, rng_.between(10, 600));
        if (rng_.chance(60)) p.set(row, "PEN" + k, rng_.between(1, 90));
    } else {
        p.set(row, "SOLD" + k, rng_.between(5, 200));
    }
    if (rng_.chance(25)) {
        const QString field = rng_.field("LIN", 5, 11);
        p.set(row, field, rng_.between(10, 150));
    }
}

// A debit raised during the year and a fine entered by hand, now and then.
void CommuneWriter::yearEntries(qint64 id, const QString& village, const QString& number) {
    if (rng_.chance(2)) {
        const QDate from = rng_.day(y(2015), y(2015), 10);
        const bool bought = rng_.chance(70);
        const int amount = rng_.between(10, 300);
        YearDebit debit;
        debit.id = ++rows_.lastDebit;
        debit.roleId = id;
        debit.tax = kGroupBuildings;
        debit.explanation = QStringLiteral("Contract vanzare-cumparare");
        debit.docNumber = rng_.between(1, 900);
        debit.kind = bought ? QStringLiteral("Cumparare") : QStringLiteral("Vanzare");
        debit.object.name = QStringLiteral("Cladiri");
        debit.from = from;
        debit.monthStart = QDate(from.year(), from.month(), 1);
        debit.object.file = QStringLiteral("PAG2");
        debit.object.pairs = {{QStringLiteral("C2S"), QString::number(rng_.between(40, 160))}};
        debit.amount = debit.toCollect = bought ? amount : -amount;
        rows_.debits.push_back(YearDebitValues(debit));
    }
    if (rng_.chance(2)) {
        const int fine = rng_.between(100, 1500);
        const QDate day = rng_.day(y(2015), y(2015), 11);
        Role role;
        role.id = id;
        role.village = village;
        role.number = number;
        ManualClaim claim;
        claim.from = day;
        claim.claim = QStringLiteral("Amenzi");
        claim.explanation = QStringLiteral("Proces verbal de contraventie");
        claim.docNumber = rng_.between(1, 5000);
        claim.amounts = {fine, 0, 0};
        LedgerLine line = ManualLine(role, claim);
        line.id = ++rows_.lastLine;
        rows_.manualLines.push_back(LedgerLineValues(line));
    }
}

// One AutoDet.dbf row per registered car, bus, tractor and vehicle over 12 t of the role's page.
void CommuneWriter::vehicleDetails(qint64 id, const QVariantList& vehicles) {
    static const char* const kMakes[] = {"DACIA LOGAN", "VW GOLF", "FORD FOCUS", "OPEL ASTRA", "SKODA OCTAVIA"};
    const PageBuilder& p = page(3);
    auto add = [&](const QString& kind, const QString& make, int capacity) {
        const qint64 detail = qint64(rows_.vehicleDetails.size()) + 1;
        rows_.vehicleDetails.push_back({id, detail, QStringLiteral("BN-%1").arg(detail, 5, 10, QLatin1Char('0')), kind,
                                        make, capacity, QString(), QString(), QString()});
    };
    for (int k = 1; k <= 16; ++k) {
        if (k == 10) continue;
        for (int n = p.whole(vehicles, QStringLiteral("AUTO%1").arg(k)); n > 0; --n)
            add(QStringLiteral("Autoturism"), text(extra_.pick(kMakes)), extra_.between(1000, 3000));
    }
    for (int n = p.whole(vehicles, QStringLiteral("ATBNR1")); n > 0; --n)
        add(QStringLiteral("Autobuz"), QStringLiteral("IVECO"), p.whole(vehicles, QStringLiteral("ATB1")));
    for (int n = p.whole(vehicles, QStringLiteral("TBUC1")); n > 0; --n)
        add(QStringLiteral("Tractor"), QStringLiteral("U650"), p.whole(vehicles, QStringLiteral("TRAC1")));
    for (int k = 1; k <= 15; ++k)
        for (const char* axle : {"A", "B"})
            for (int n = p.whole(vehicles, QStringLiteral("G%1%2").arg(k).arg(QLatin1String(axle))); n > 0; --n)
                add(QStringLiteral("Peste 12 t"), QStringLiteral("MAN TGS"), extra_.between(9000, 13000));
}

// About one role in fifty buys or sells land during the year.
void CommuneWriter::landMovement(qint64 id) {
    static const char* const kOutside[] = {"Teren arabil", "Pasuni - fanete", "Vie pe rod", "Livada pe rod",
                                           "Fond forestier sau alt teren"};
    static const char* const kInside[] = {"Teren arabil", "Pasune", "Faneata", "Vie", "Livada", "Padure"};
    if (!extra_.chance(2)) return;
    const bool inside = extra_.chance(50);
    const QDate from = extra_.day(y(2015), y(2015), 11);
    const bool bought = extra_.chance(60);
    const double area = extra_.between(5, 300) / 100.0; // ha
    YearDebit debit;
    debit.id = ++rows_.lastDebit;
    debit.roleId = id;
    debit.tax = inside ? kGroupInside : kGroupOutside;
    debit.explanation = QStringLiteral("Contract vanzare-cumparare teren");
    debit.docNumber = extra_.between(1, 900);
    debit.kind = bought ? QStringLiteral("Cumparare") : QStringLiteral("Vanzare");
    debit.object.name = text(inside ? extra_.pick(kInside) : extra_.pick(kOutside));
    debit.from = from;
    debit.monthStart = QDate(from.year(), from.month(), 1);
    debit.object.file = inside ? QStringLiteral("PAG4") : QStringLiteral("PAG1");
    debit.object.pairs = {{inside ? QStringLiteral("AL1A") : QStringLiteral("L1A"), QString::number(area, 'f', 2)}};
    const int amount = extra_.between(2, 60);
    debit.amount = debit.toCollect = bought ? amount : -amount;
    rows_.debits.push_back(YearDebitValues(debit));
}

} // namespace

const QStringList& SyntheticVillages() {
    static const QStringList names = [] {
        QStringList n;
        for (const Village& v : kVillages)
            n << QString::fromUtf8(v.name);
        return n;
    }();
    return names;
}

SyntheticRows GenerateSyntheticRows(const SyntheticCommuneOptions& options) {
    return CommuneWriter(options).run();
}

} // namespace vartesa
