#include "documents/other_lists.h"

#include "admin/admin_constants.h"
#include "books/balances.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "books/receipts.h"
#include "books/roles.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "fillers/xls_model_export.h"
#include "roles/assessment_pages.h"
#include "roles/assessment_rates.h"
#include "roles/assessment_steps.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/settings_table.h"
#include "shell/startup.h"
#include "shell/table_files.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

namespace vartesa {

namespace {

using R = RoleColumns;
using D = LedgerColumns;

QString tablePath(const Services& s, const QString& file) { return QStringLiteral("\"%1/%2\"").arg(s.folders.data, file); }

QString trimmed(const db::Query& q, const QString& field) { return q.text(field).trimmed(); }

QString personText(PersonChoice person) { return person == PersonChoice::Natural ? kPersonNatural : kPersonLegal; }

// The role's columns every list shows, read from the role "G" of a join.
QString roleFields() {
    return QStringLiteral("G.%1 AS G_ID, G.%2 AS G_SAT, G.%3 AS G_ROL, G.%4 AS G_NUME, G.%5 AS G_CNP, G.%6 AS G_ADR, "
                          "G.%7 AS G_TIP")
        .arg(R::id, R::village, R::number, R::name, R::code, R::address, R::personType);
}

// A role number as the lists order it: numbers by their value, the others after them as typed.
struct NumberKey {
    bool notNumber;
    double value;
    QString text;
    explicit NumberKey(const QString& number) {
        bool ok = false;
        value = number.trimmed().toDouble(&ok);
        notNumber = !ok;
        if (!ok) value = 0;
        text = number.trimmed();
    }
    auto tie() const { return std::tie(notNumber, value, text); }
};

QString commune(Services& s) {
    return SettingsTable(s.database(), s.folders.data).load().value(QStringLiteral("PRIMARIALAB")).trimmed();
}

QString personSuffix(PersonChoice person) {
    if (person == PersonChoice::Any) return {};
    return QStringLiteral(", persoana ") + personText(person).toLower();
}

// ---- fire-service and guard fees ----

ListRows fireGuard(Services& s, const RoleSelection& selection) {
    const int year = WorkingYear().toInt();
    const QDate newYear(year, 1, 1);
    QStringList where{QStringLiteral("UPPER(TRIM(D.%1)) IN ('PSI', 'PAZA')").arg(D::group)};
    QVariantList values;
    if (!selection.siZero) where << QStringLiteral("(D.%1 <> 0 OR D.%2 <> 0)").arg(D::established, D::arrearsEstablished);
    const SelectionConditions c = RoleSelectionConditions(
        selection, {QStringLiteral("G.") + R::village, QStringLiteral("G.") + R::number, QStringLiteral("G.") + R::personType});
    if (!c.sql.isEmpty()) {
        where << c.sql;
        values << c.values;
    }
    // The line joins its role by IDGOS: two roles of one number in a village keep their own fees.
    db::Query q = s.database().query(
        QStringLiteral("SELECT %1, UPPER(TRIM(D.%2)) AS D_GRUPA, D.%3 AS D_DATA, D.%4 AS D_SUMA2, D.%5 AS D_RESTINI "
                       "FROM %6 D JOIN %7 G ON D.%8 = G.%9 WHERE %10")
            .arg(roleFields(), D::group, D::from, D::established, D::arrearsEstablished, tablePath(s, tables::Ledger),
                 tablePath(s, tables::Roles), D::role, R::id, where.join(QStringLiteral(" AND "))),
        values);
    struct Fees {
        QString village, number;
        qint64 psiC = 0, psiR = 0, pazaC = 0, pazaR = 0;
    };
    std::map<qint64, Fees> fees;
    for (q.first(); !q.eof(); q.next()) {
        const QDate date = q.date(QStringLiteral("D_DATA"));
        if (!date.isValid() || date > newYear) continue; // dated after 1 January: not counted
        Fees& f = fees[q.integer(QStringLiteral("G_ID"))];
        f.village = trimmed(q, QStringLiteral("G_SAT"));
        f.number = trimmed(q, QStringLiteral("G_ROL"));
        const qint64 current = q.integer(QStringLiteral("D_SUMA2")), rest = q.integer(QStringLiteral("D_RESTINI"));
        const bool psi = q.text(QStringLiteral("D_GRUPA")) == QLatin1String("PSI");
        if (date == newYear) {
            (psi ? f.psiC : f.pazaC) += current;
            (psi ? f.psiR : f.pazaR) += rest;
        } else {
            (psi ? f.psiR : f.pazaR) += current + rest;
        }
    }
    std::vector<const Fees*> order;
    for (const auto& [id, f] : fees) order.push_back(&f);
    std::stable_sort(order.begin(), order.end(), [](const Fees* a, const Fees* b) {
        return std::tie(a->village, a->number) < std::tie(b->village, b->number);
    });
    ListRows out{{"SATUL", "ROL", "PSICURENT", "PSIREST", "PAZACURENT", "PAZAREST"}, {}};
    for (const Fees* f : order) out.rows.push_back({f->village, f->number, f->psiC, f->psiR, f->pazaC, f->pazaR});
    return out;
}

// ---- lands ----

const QHash<QString, int>& landCategories() {
    static const QHash<QString, int> categories = {
        {"Teren arabil", 1},
        {"Vie", 2}, {"Vie pe rod", 2}, {"Vie pana la intrarea pe rod", 2},
        {"Pasune", 3}, {"Faneata", 3}, {"Pasuni - fanete", 3},
        {"Padure", 4}, {"Fond forestier sau alt teren", 4},
        {"Livada", 5}, {"Livada pe rod", 5}, {"Livada pana la intrarea pe rod", 5},
    };
    return categories;
}

// ---- filling ----

struct ListTemplate {
    const char* name;
    const char* prefix;
    const char* title; // the title of the messages
};

ListTemplate templateOf(OtherList kind) {
    switch (kind) {
    case OtherList::FireGuard: return {"PAZAPSI", "PSI", "Matricola PSI/Paza"};
    case OtherList::Fines: return {"AMENZI1", "AmenziLis", "Lista Amenzi / Taxe"};
    case OtherList::Vehicles: return {"LISTAAUTO", "ListaT", "Lista Auto"};
    case OtherList::Exemptions: return {"SCUTIRI", "Scut", "Lista scutiri"};
    case OtherList::TaxableBuildings: return {"CLADIRI", "ANAF", "Tabel Cladiri impozabile"};
    case OtherList::LandMovements: return {"TE", "RTES", "Terenuri Intrari-Iesiri"};
    case OtherList::Over12t: return {"PESTE12", "Lista12", "Auto peste 12t"};
    case OtherList::Analytic: break;
    }
    return {"SANALITICA", "ModSA", "Situatie analitica"};
}

// Fills the list into `list`; its number of data rows, nothing when the choice was refused.
std::optional<int> fillList(Services& s, OtherList kind, const OtherListOptions& o, TExportXLSModel& list) {
    const ListTemplate t = templateOf(kind);
    const QString title = QLatin1String(t.title);
    if (kind == OtherList::Fines && !FineClaims(s.database(), s.folders.data).contains(o.claim.trimmed())) {
        s.messages().showError(title, QStringLiteral("Grupa \"") + o.claim.trimmed() +
                                          QStringLiteral("\" nu este o grupa de amenzi sau taxe (TIP T)!"));
        return std::nullopt;
    }
    if (kind == OtherList::LandMovements && (!o.from.isValid() || !o.to.isValid() || o.to < o.from)) {
        s.messages().showError(title, QStringLiteral("Perioada incorecta!"));
        return std::nullopt;
    }
    std::vector<std::pair<QString, QString>> texts;
    std::vector<std::pair<QString, double>> amounts;
    ListRows data;
    switch (kind) {
    case OtherList::FireGuard: {
        ProgressShown shown(s.progress(), QStringLiteral(" Calculez ..."));
        s.progress().SetMaximum(5);
        data = FireGuardRows(s, o.selection);
        texts.emplace_back("#TITLU", QStringLiteral("MATRICOLA PSI / Paza") + personSuffix(o.selection.person));
        break;
    }
    case OtherList::Fines:
        data = FineRows(s, o);
        texts.emplace_back("#LISTA", QStringLiteral("Lista ") + o.claim.trimmed() + personSuffix(o.selection.person));
        texts.emplace_back("#DATA", QStringLiteral("la data de ") + o.today.toString(QStringLiteral("dd.MM.yyyy")));
        break;
    case OtherList::Vehicles: data = VehicleRows(s); break;
    case OtherList::Exemptions: data = ExemptionRows(s); break;
    case OtherList::TaxableBuildings: {
        ProgressShown shown(s.progress(), QStringLiteral("Calculez Tabelul..."));
        AdminConstants constants;
        constants.load(s);
        const std::vector<TaxableBuilding> buildings = TaxableBuildings(s, AssessmentRates::from(constants));
        amounts = TaxableBuildingCells(buildings);
        texts.emplace_back("#PRIMARIA", commune(s));
        data.rows.resize(buildings.size());
        break;
    }
    case OtherList::LandMovements:
        data = LandMovementRows(s, o.from, o.to);
        texts.emplace_back("#UAT", QStringLiteral("U.A.T. ") + commune(s));
        texts.emplace_back("#PERIOADA", QStringLiteral("perioada ") + o.from.toString(QStringLiteral("dd.MM.yyyy")) +
                                            QStringLiteral(" - ") + o.to.toString(QStringLiteral("dd.MM.yyyy")));
        break;
    case OtherList::Over12t:
        data = Over12tRows(s);
        texts.emplace_back("#UAT", QStringLiteral("U.A.T. ") + commune(s));
        break;
    case OtherList::Analytic: {
        ProgressShown shown(s.progress(), QStringLiteral("Creez raportul..."));
        data = AnalyticRows(s);
        break;
    }
    }
    WorkingCopy copy{FreeTempFileName(s.folders.program, QLatin1String(t.prefix), QStringLiteral(".xls"))};
    if (copy.path.isEmpty())
        throw Error(QStringLiteral("Nu mai exista nume libere pentru liste in ") + s.folders.program, title);
    WriteResourceToFile(QLatin1String(t.name), QStringLiteral("MODEL"), copy.path);
    if (!list.OpenTemplate(copy.path)) return std::nullopt;
    for (const auto& [key, text] : texts) list.SetTextCell(key, text);
    for (const auto& [key, amount] : amounts) list.SetAmountCell(key, amount);
    const int count = int(data.rows.size());
    if (kind != OtherList::TaxableBuildings) {
        db::Query rows = db::Query::fromRows(data.columns, std::move(data.rows));
        rows.first();
        list.FillRows(rows, kind == OtherList::FireGuard ? SelectionNarrowing(o.selection)
                                                         : QStringLiteral("de exemplu perioada"));
    }
    return count;
}

} // namespace

ListRows FireGuardRows(Services& s, const RoleSelection& selection) { return fireGuard(s, selection); }

bool PaidWithin48Hours(const QString& explanation) {
    const QString upper = explanation.toUpper();
    return upper.contains(QLatin1String("48H")) || upper.contains(QLatin1String("48 H"));
}

QStringList FineClaims(db::Database& db, const QString& dataFolder) {
    db::Query q = db.query(QStringLiteral("SELECT DISTINCT TRIM(GRUPA) AS GRUPA FROM \"%1/%2\" WHERE UPPER(TRIM(TIP)) = ? "
                                          "ORDER BY 1")
                               .arg(dataFolder, tables::BudgetCodes),
                           {QStringLiteral("T")});
    QStringList out;
    for (q.first(); !q.eof(); q.next())
        if (const QString g = q.text(QStringLiteral("GRUPA")).trimmed(); !g.isEmpty()) out << g;
    return out;
}

ListRows FineRows(Services& s, const OtherListOptions& o) {
    QStringList where{QStringLiteral("TRIM(D.%1) = ?").arg(D::group),
                      QStringLiteral("(D.%1 > 0 OR D.%2 > 0)").arg(D::established, D::arrearsEstablished)};
    QVariantList values{o.claim.trimmed()};
    if (o.withBalance) where << QStringLiteral("(D.%1 > 0 OR D.%2 > 0)").arg(D::current, D::arrears);
    if (o.selection.person != PersonChoice::Any) {
        where << QStringLiteral("TRIM(G.%1) = ?").arg(R::personType);
        values << personText(o.selection.person);
    }
    db::Query q = s.database().query(
        QStringLiteral("SELECT %1, D.%2 AS D_ROL, D.%3 AS D_DATA, D.%4 AS D_DOC, D.%5 AS D_NR, D.%6 + D.%7 AS D_VAL, "
                       "D.%8 + D.%9 AS D_SOLD FROM %10 D JOIN %11 G ON D.%12 = G.%13 WHERE %14")
            .arg(roleFields(), D::number, D::from, D::explanation, D::docNumber, D::established,
                 D::arrearsEstablished, D::current, D::arrears, tablePath(s, tables::Ledger))
            .arg(tablePath(s, tables::Roles), D::role, R::id, where.join(QStringLiteral(" AND "))),
        values);
    struct Line {
        QString village;
        NumberKey key;
        std::vector<QVariant> cells;
    };
    std::vector<Line> lines;
    for (q.first(); !q.eof(); q.next()) {
        const QString doc = trimmed(q, QStringLiteral("D_DOC"));
        lines.push_back({trimmed(q, QStringLiteral("G_SAT")), NumberKey(q.text(QStringLiteral("G_ROL"))),
                         {trimmed(q, QStringLiteral("G_SAT")), trimmed(q, QStringLiteral("G_CNP")),
                          trimmed(q, QStringLiteral("G_NUME")), trimmed(q, QStringLiteral("G_ADR")),
                          trimmed(q, QStringLiteral("D_ROL")), q.date(QStringLiteral("D_DATA")), doc,
                          q.integer(QStringLiteral("D_NR")), q.integer(QStringLiteral("D_VAL")),
                          q.integer(QStringLiteral("D_SOLD")),
                          PaidWithin48Hours(doc) ? QStringLiteral("X") : QString()}});
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return std::tie(a.village, a.key.notNumber, a.key.value, a.key.text) <
               std::tie(b.village, b.key.notNumber, b.key.value, b.key.text);
    });
    ListRows out{{"SATUL", "CNP", "NUMEP", "ADRESA", "ROL", "DINDATA", "DOCJUS", "NR", "VAL1", "SOLD1", "A48"}, {}};
    for (Line& l : lines) out.rows.push_back(std::move(l.cells));
    return out;
}

ListRows VehicleRows(Services& s) {
    db::Query q = s.database().query(
        QStringLiteral("SELECT %1, A.NRDOS AS A_NRDOS, A.MARCA AS A_MARCA, A.CAPACIT AS A_CAP FROM \"%2/%3\" A "
                       "JOIN %4 G ON A.IDGOS = G.%5")
            .arg(roleFields(), s.folders.data, tables::VehicleDetails, tablePath(s, tables::Roles), R::id));
    ListRows out{{"NRDOS", "ROL", "TIP", "NUMEP", "CNP", "SATUL", "ADRESA", "MARCA", "CAPACIT"}, {}};
    std::vector<std::pair<std::pair<QString, QString>, std::vector<QVariant>>> rows;
    for (q.first(); !q.eof(); q.next())
        rows.push_back({{trimmed(q, QStringLiteral("G_TIP")), trimmed(q, QStringLiteral("G_ROL"))},
                        {trimmed(q, QStringLiteral("A_NRDOS")), trimmed(q, QStringLiteral("G_ROL")),
                         trimmed(q, QStringLiteral("G_TIP")), trimmed(q, QStringLiteral("G_NUME")),
                         trimmed(q, QStringLiteral("G_CNP")), trimmed(q, QStringLiteral("G_SAT")),
                         trimmed(q, QStringLiteral("G_ADR")), trimmed(q, QStringLiteral("A_MARCA")),
                         q.integer(QStringLiteral("A_CAP"))}});
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& r : rows) out.rows.push_back(std::move(r.second));
    return out;
}

ListRows ExemptionRows(Services& s) {
    db::Query q = s.database().query(
        QStringLiteral("SELECT * FROM %1 WHERE UPPER(TRIM(%2)) = 'DA' OR UPPER(TRIM(%3)) = 'DA' OR UPPER(TRIM(%4)) = 'DA' "
                       "OR UPPER(TRIM(%5)) = 'DA' OR %6 > 0")
            .arg(tablePath(s, tables::Roles), R::exemptBuildings, R::exemptYards, R::exemptIntravilan,
                 R::exemptVehicles, R::extravilanExemption));
    auto mark = [&](const QString& field) {
        return q.text(field).trimmed().toUpper() == QLatin1String("DA") ? QStringLiteral("X") : QString();
    };
    std::vector<std::pair<QString, std::vector<QVariant>>> rows;
    for (q.first(); !q.eof(); q.next())
        rows.push_back({trimmed(q, R::number),
                        {trimmed(q, R::village), trimmed(q, R::number), trimmed(q, R::name), mark(R::exemptBuildings),
                         mark(R::exemptYards), mark(R::exemptIntravilan), mark(R::exemptVehicles),
                         q.real(R::extravilanExemption) > 0 ? QStringLiteral("X") : QString()}});
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    ListRows out{{"SATUL", "ROL", "NUMEP", "A1", "A2", "A3", "A4", "A5"}, {}};
    for (auto& r : rows) out.rows.push_back(std::move(r.second));
    return out;
}

std::vector<TaxableBuilding> TaxableBuildings(Services& s, const AssessmentRates& rates) {
    auto rows = std::make_shared<db::Query>(s.database().query(
        QStringLiteral("SELECT P.*, G.%1 AS G_ROL, G.%2 AS G_SCCLAD FROM \"%3/%4\" P JOIN %5 G ON P.IDGOS = G.%6 "
                       "WHERE UPPER(TRIM(G.%7)) = ?")
            .arg(R::number, R::exemptBuildings, s.folders.data, tables::Buildings, tablePath(s, tables::Roles), R::id,
                 R::personType),
        {kPersonNatural}));
    std::vector<TaxableBuilding> out;
    for (int k = 1; k <= 4; ++k)
        for (int row = 0; row < rows->count(); ++row) {
            rows->gotoBookmark(row);
            const PageRow page(rows, row);
            const double area = page.number(QStringLiteral("C%1S").arg(k)).toDouble();
            if (area <= 0) continue;
            const bool exempt = rows->text(QStringLiteral("G_SCCLAD")).trimmed().toUpper() == QLatin1String("DA");
            const qint64 tax = exempt ? 0 : (HouseValue(rates, page, k) * rates.houseQuota / Currency::lei(100)).roundToInt();
            out.push_back({rows->text(QStringLiteral("G_ROL")).trimmed(), k, area, tax});
        }
    return out;
}

std::vector<std::pair<QString, double>> TaxableBuildingCells(const std::vector<TaxableBuilding>& buildings) {
    double n[7][4] = {}; // [column 1..6][count, area, tax]
    for (const TaxableBuilding& b : buildings) {
        auto add = [&](int column) {
            n[column][1] += 1;
            n[column][2] += b.area;
            n[column][3] += double(b.tax);
        };
        add(1);
        if (b.position >= 2) add(b.position);
        if (b.area > 100 && b.area <= 150) add(5);
        if (b.area > 150) add(6);
    }
    std::vector<std::pair<QString, double>> cells;
    for (int c = 1; c <= 6; ++c)
        for (int what = 1; what <= 3; ++what)
            if (c <= 4 || what != 2) cells.emplace_back(QStringLiteral("#N%1%2").arg(c).arg(what), std::round(n[c][what] * 100) / 100);
    return cells;
}

QString LandMovementColumn(const QString& group, const QString& name) {
    const int category = landCategories().value(name.trimmed(), 0);
    if (category == 0) return {};
    const QString g = group.trimmed();
    if (g == kGroupInside) return QStringLiteral("I%1").arg(category);
    if (g == kGroupOutside) return QStringLiteral("E%1").arg(category);
    return {};
}

ListRows LandMovementRows(Services& s, const QDate& from, const QDate& to) {
    using B = DebitColumns;
    db::Query q = s.database().query(
        QStringLiteral("SELECT %1, D.%2 AS D_GRUPA, D.%3 AS D_DENUM, D.%4 AS D_CATEG, D.%5 AS D_DOC, D.%6 AS D_NR, "
                       "D.%7 AS D_DATA, D.VAL1 AS D_VAL1 FROM \"%8/%9\" D JOIN %10 G ON D.%11 = G.%12 "
                       "WHERE TRIM(D.%2) IN (?, ?) AND TRIM(D.%4) IN ('Vanzare', 'Cumparare')")
            .arg(roleFields(), B::tax, B::name, B::kind, B::explanation, B::docNumber, B::from, s.folders.data,
                 tables::Debits)
            .arg(tablePath(s, tables::Roles), B::role, R::id),
        {kGroupOutside, kGroupInside});
    const QStringList columns{"LOCALIT", "ROL", "DOCJUS", "NR", "DINDATA", "I1", "E1", "I2", "E2", "I3", "E3",
                              "I4", "E4", "I5", "E5"};
    struct Move {
        QString name, kind, village;
        NumberKey key;
        std::vector<QVariant> cells;
    };
    std::vector<Move> moves;
    for (q.first(); !q.eof(); q.next()) {
        const QDate date = q.date(QStringLiteral("D_DATA"));
        if (!date.isValid() || date < from || date > to) continue;
        const QString column = LandMovementColumn(q.text(QStringLiteral("D_GRUPA")), q.text(QStringLiteral("D_DENUM")));
        if (column.isEmpty()) continue;
        bool ok = false;
        double value = q.text(QStringLiteral("D_VAL1")).trimmed().replace(',', '.').toDouble(&ok);
        if (!ok) value = 0;
        // Both areas are in ha: the counted intravilan categories are typed in ha too.
        const QString kind = trimmed(q, QStringLiteral("D_CATEG"));
        if (kind == QLatin1String("Vanzare")) value = -value;
        std::vector<QVariant> cells{trimmed(q, QStringLiteral("G_SAT")), trimmed(q, QStringLiteral("G_ROL")),
                                    trimmed(q, QStringLiteral("D_DOC")), q.integer(QStringLiteral("D_NR")), date};
        for (int c = 5; c < columns.size(); ++c) cells.push_back(columns[c] == column ? QVariant(value) : QVariant(0.0));
        moves.push_back({trimmed(q, QStringLiteral("D_DENUM")), kind, trimmed(q, QStringLiteral("G_SAT")),
                         NumberKey(q.text(QStringLiteral("G_ROL"))), std::move(cells)});
    }
    std::stable_sort(moves.begin(), moves.end(), [](const Move& a, const Move& b) {
        return std::tie(a.name, a.kind, a.village, a.key.notNumber, a.key.value, a.key.text) <
               std::tie(b.name, b.kind, b.village, b.key.notNumber, b.key.value, b.key.text);
    });
    ListRows out{columns, {}};
    for (Move& m : moves) out.rows.push_back(std::move(m.cells));
    return out;
}

ListRows Over12tRows(Services& s) {
    db::Query q = s.database().query(
        QStringLiteral("SELECT %1, SUM(D.%2) AS NRX, SUM(D.%3) AS IMP FROM %4 D JOIN %5 G ON D.%6 = G.%7 "
                       "WHERE TRIM(D.%8) = ? AND TRIM(D.%9) LIKE 'Vehicule %' AND D.%3 > 0 GROUP BY G.%7")
            .arg(roleFields(), D::quantity, D::established, tablePath(s, tables::Ledger), tablePath(s, tables::Roles),
                 D::role, R::id, D::group, D::name),
        {kGroupVehicles});
    std::vector<std::pair<QString, std::vector<QVariant>>> rows;
    for (q.first(); !q.eof(); q.next())
        rows.push_back({trimmed(q, QStringLiteral("G_ROL")),
                        {trimmed(q, QStringLiteral("G_ROL")), trimmed(q, QStringLiteral("G_NUME")),
                         trimmed(q, QStringLiteral("G_TIP")), q.real(QStringLiteral("NRX")), q.integer(QStringLiteral("IMP"))}});
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    ListRows out{{"ROL", "NUMEP", "TIP", "NRX", "IMP"}, {}};
    for (auto& r : rows) out.rows.push_back(std::move(r.second));
    return out;
}

ListRows AnalyticRows(Services& s) {
    using B = BalanceColumns;
    using C = ReceiptLineColumns;
    struct Role {
        QString number, name, code, village, address;
    };
    QHash<qint64, Role> roles;
    {
        db::Query q = s.database().query(QStringLiteral("SELECT %1, %2, %3, %4, %5, %6 FROM %7")
                                             .arg(R::id, R::number, R::name, R::code, R::village, R::address,
                                                  tablePath(s, tables::Roles)));
        for (q.first(); !q.eof(); q.next())
            roles.insert(q.integer(R::id), {trimmed(q, R::number), trimmed(q, R::name), trimmed(q, R::code),
                                            trimmed(q, R::village), trimmed(q, R::address)});
    }
    // (IDGOS, account) -> REST, RESTPEN, CURENT, INCAS, SOLD
    std::map<std::pair<qint64, QString>, std::array<qint64, 5>> sums;
    auto add = [&](qint64 id, const QString& group, int column, qint64 amount) {
        if (!roles.contains(id)) return;
        sums[{id, group.trimmed()}][size_t(column)] += amount;
    };
    {
        db::Query q = s.database().query(QStringLiteral("SELECT * FROM %1").arg(tablePath(s, tables::Balances)));
        for (q.first(); !q.eof(); q.next()) {
            const qint64 id = q.integer(B::role);
            const QString g = q.text(B::group);
            add(id, g, 0, q.integer(B::arrearsStart) - q.integer(B::creditStart));
            add(id, g, 1, q.integer(B::penaltiesStart));
            // What is left: the arrears and penalties and the year's unpaid tax.
            add(id, g, 4, q.integer(B::arrears) - q.integer(B::credit) + q.integer(B::penalties) + q.integer(B::rest));
        }
    }
    {
        db::Query q = s.database().query(QStringLiteral("SELECT %1, %2, %3, %4, %5, %6 FROM %7")
                                             .arg(D::role, D::group, D::arrearsEstablished, D::established, D::arrears,
                                                  D::current, tablePath(s, tables::Ledger)));
        for (q.first(); !q.eof(); q.next()) {
            const qint64 id = q.integer(D::role);
            const QString g = q.text(D::group);
            add(id, g, 0, q.integer(D::arrearsEstablished));
            add(id, g, 2, q.integer(D::established));
            if (!g.trimmed().startsWith(QLatin1String("Impozit ")))
                add(id, g, 4, q.integer(D::arrears) + q.integer(D::current));
        }
    }
    {
        db::Query q = s.database().query(
            QStringLiteral("SELECT %1, %2, %3 FROM %4").arg(C::role, C::group, C::total, tablePath(s, tables::Receipts)));
        for (q.first(); !q.eof(); q.next()) add(q.integer(C::role), q.text(C::group), 3, q.integer(C::total));
    }
    struct Line {
        const Role* role;
        QString group;
        const std::array<qint64, 5>* amounts;
    };
    std::vector<Line> lines;
    for (const auto& [key, amounts] : sums) lines.push_back({&roles[key.first], key.second, &amounts});
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return std::tie(a.role->village, a.role->name, a.role->number, a.group) <
               std::tie(b.role->village, b.role->name, b.role->number, b.group);
    });
    ListRows out{{"ROL", "NUMEP", "CNP", "SAT", "ADRESA", "GRUPA", "RESTS", "RESTPENS", "CURENTS", "INCASS", "SOLDS"}, {}};
    for (const Line& l : lines) {
        std::vector<QVariant> row{l.role->number, l.role->name, l.role->code, l.role->village, l.role->address, l.group};
        for (qint64 a : *l.amounts) row.push_back(a);
        out.rows.push_back(std::move(row));
    }
    return out;
}

std::optional<BuiltList> BuildOtherList(Services& services, OtherList kind, const OtherListOptions& options) {
    TExportXLSModel list(services);
    const std::optional<int> rows = fillList(services, kind, options, list);
    if (!rows) return std::nullopt;
    return BuiltList{list.TakeWorkbook(), *rows};
}

QString ProduceOtherList(Services& services, OtherList kind, const OtherListOptions& options) {
    TExportXLSModel list(services);
    if (!fillList(services, kind, options, list)) return {};
    list.SaveAndOpen();
    return list.lastResult();
}

} // namespace vartesa
