// The cumulated register: per role, its dwellings and annexes by material, its land by
// category and the tax assessed on each kind (A1 .. A27).

#include "documents/matriculation_rows.h"

#include "books/ledger.h"
#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "roles/assessment_rates.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <map>

namespace vartesa {

namespace {

using R = RoleColumns;
using D = LedgerColumns;

constexpr int kColumns = 27; // A1 .. A27, by index 0 .. 26
constexpr int kBuildingTax = 8, kInsideTax = 16, kOutsideTax = 25, kVehicleTax = 26;

// One role's row while its partial rows are summed up.
struct CumulatedRow {
    QString village;
    QString number; // as typed
    QString name;
    bool numeric = false; // the number reads as a number: `value`
    double value = 0;
    std::array<double, kColumns> a{};

    void addArea(int column, double area, double year) {
        a[column] += area;
        a[column + 1] = std::max(a[column + 1], year);
    }
};

// The land columns of a category (A10 .. A16 inside, A18 .. A25 outside); -1 for the others.
int landColumn(const QString& group, const QString& name) {
    static const QHash<QString, int> inside = {{"Curti-constructii", 9}, {"Teren arabil", 10}, {"Pasune", 11},
                                               {"Faneata", 11}, {"Vie", 12}, {"Livada", 13}, {"Padure", 14},
                                               {"Teren cu ape", 15}};
    static const QHash<QString, int> outside = {{"Teren arabil", 17},
                                                {"Pasuni - fanete", 18},
                                                {"Vie pe rod", 19},
                                                {"Livada pe rod", 20},
                                                {"Fond forestier sau alt teren", 21},
                                                {"Teren de constructii", 22},
                                                {"Teren cu apa, fara amenajari piscicole", 23},
                                                {"Teren cu amenajari piscicole", 24}};
    if (group == kGroupInside) return inside.value(name, -1);
    if (group == kGroupOutside) return outside.value(name, -1);
    return -1;
}

QString tablePath(const Services& s, const QString& file) { return QStringLiteral("\"%1/%2\"").arg(s.folders.data, file); }

// The selection's conditions on the role "G", as " WHERE ..." after `first` (may be empty).
QString whereClause(const RoleSelection& selection, QStringList conditions, QVariantList& values) {
    const SelectionConditions c = RoleSelectionConditions(
        selection, {QStringLiteral("G.") + R::village, QStringLiteral("G.") + R::number, QStringLiteral("G.") + R::personType});
    if (!c.sql.isEmpty()) conditions << c.sql;
    values << c.values;
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

CumulatedRow& rowOf(std::map<qint64, CumulatedRow>& rows, const db::Query& q) {
    CumulatedRow& row = rows[q.integer(R::id)];
    if (row.number.isEmpty() && row.name.isEmpty()) {
        row.village = q.text(R::village).trimmed();
        row.number = q.text(R::number).trimmed();
        row.name = q.text(R::name).trimmed();
        row.value = row.number.toDouble(&row.numeric);
    }
    return row;
}

// Dwellings and annexes of the natural persons chosen (none when legal persons are chosen).
void addBuildings(Services& s, const RoleSelection& selection, std::map<qint64, CumulatedRow>& rows) {
    if (selection.person == PersonChoice::Legal) return;
    QStringList fields;
    for (int k = 1; k <= 8; ++k)
        for (const char* part : {"S", "A", "C"}) fields << QStringLiteral("P.C%1%2 AS C%1%2").arg(k).arg(part);
    for (const char* f : {"CAS", "CAA", "CAC", "CAS2", "CAA2", "CAC2"}) fields << QStringLiteral("P.%1 AS %1").arg(f);
    QVariantList values{kPersonNatural};
    const QString where = whereClause(selection, {QStringLiteral("(TRIM(G.%1) = ?)").arg(R::personType)}, values);
    db::Query q = s.database().query(
        QStringLiteral("SELECT G.%1 AS %1, G.%2 AS %2, G.%3 AS %3, G.%4 AS %4, %5 FROM %6 G JOIN %7 P ON P.IDGOS = G.%1%8")
            .arg(R::id, R::village, R::number, R::name, fields.join(QStringLiteral(", ")), tablePath(s, tables::Roles),
                 tablePath(s, tables::Buildings), where),
        values);
    // The (area, year, class) columns of the eight dwellings, then of the two annexes.
    struct Building {
        int area, year, cls;
        bool annex;
    };
    std::vector<Building> buildings;
    const auto column = [&](const QString& name) { return q.columnIndex(name); };
    for (int k = 1; k <= 8; ++k) {
        const QString n = QString::number(k);
        buildings.push_back({column("C" + n + "S"), column("C" + n + "A"), column("C" + n + "C"), false});
    }
    for (const QString& n : {QString(), QStringLiteral("2")})
        buildings.push_back({column("CAS" + n), column("CAA" + n), column("CAC" + n), true});
    // One partial row per area kept: an area of 0 only with the check box ticked; the classes
    // are 0 (concrete, brick) and 1 (wood, adobe), others are left out.
    for (q.first(); !q.eof(); q.next()) {
        const int at = q.position();
        for (const Building& b : buildings) {
            const double cls = q.cell(at, b.cls).toDouble(), area = q.cell(at, b.area).toDouble();
            if ((cls != 0 && cls != 1) || (!selection.siZero && !(area > 0))) continue;
            rowOf(rows, q).addArea((b.annex ? 4 : 0) + int(cls) * 2, area, q.cell(at, b.year).toDouble());
        }
    }
}

// The taxes of the assessed lines and the land of each category.
void addLines(Services& s, const RoleSelection& selection, std::map<qint64, CumulatedRow>& rows) {
    QVariantList values{kAssessedLine, kGroupBuildings, kGroupInside, kGroupOutside, kGroupVehicles};
    const QString where = whereClause(
        selection, {QStringLiteral("(TRIM(D.%1) = ?)").arg(D::type), QStringLiteral("(TRIM(D.%1) IN (?, ?, ?, ?))").arg(D::group)},
        values);
    db::Query q = s.database().query(
        QStringLiteral("SELECT G.%1 AS %1, G.%2 AS %2, G.%3 AS %3, G.%4 AS %4, TRIM(D.%5) AS %5, TRIM(D.%6) AS %6, "
                       "D.%7 AS %7, D.%8 AS %8 FROM %9 D JOIN %10 G ON G.%1 = D.%11%12")
            .arg(R::id, R::village, R::number, R::name, D::group, D::name, D::quantity, D::established,
                 tablePath(s, tables::Ledger))
            .arg(tablePath(s, tables::Roles), D::role, where),
        values);
    for (q.first(); !q.eof(); q.next()) {
        const QString group = q.text(D::group);
        const double tax = q.real(D::established);
        if (group == kGroupBuildings) {
            if (selection.siZero || tax > 0) rowOf(rows, q).a[kBuildingTax] += tax;
        } else if (group == kGroupVehicles) {
            rowOf(rows, q).a[kVehicleTax] += tax;
        } else if (const int column = landColumn(group, q.text(D::name)); column >= 0) {
            CumulatedRow& row = rowOf(rows, q);
            row.a[column] += q.real(D::quantity);
            row.a[group == kGroupInside ? kInsideTax : kOutsideTax] += tax;
        }
    }
}

} // namespace

RegisterRows CumulatedRegisterRows(Services& s, const RoleSelection& selection) {
    ProgressShown shown(s.progress(), QStringLiteral("Calculez matricola..."));
    s.progress().SetMaximum(38);
    std::map<qint64, CumulatedRow> byRole;
    addBuildings(s, selection, byRole);
    s.progress().Step(20);
    addLines(s, selection, byRole);
    s.progress().Step(18);

    std::vector<const CumulatedRow*> ordered;
    for (const auto& [id, row] : byRole) ordered.push_back(&row);
    // The numeric role number, then the village; numbers that are no number come last.
    std::stable_sort(ordered.begin(), ordered.end(), [](const CumulatedRow* x, const CumulatedRow* y) {
        if (x->numeric != y->numeric) return x->numeric;
        if (x->numeric && x->value != y->value) return x->value < y->value;
        if (x->village != y->village) return x->village < y->village;
        return !x->numeric && x->number < y->number;
    });
    RegisterRows out;
    out.columns = QStringList{R::number, R::name};
    for (int c = 1; c <= kColumns; ++c) out.columns << QStringLiteral("A%1").arg(c);
    for (const CumulatedRow* row : ordered) {
        std::vector<QVariant> cells{row->number, row->name};
        for (double v : row->a) cells.push_back(Rounded4(v));
        out.rows.push_back(std::move(cells));
    }
    return out;
}

} // namespace vartesa
