#include "documents/matriculation_rows.h"

#include "books/balances.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "roles/assessment_rates.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace vartesa {

namespace {

using R = RoleColumns;
using D = LedgerColumns;

const QString kTaxName = QStringLiteral("Alte autovehicule"); // a vehicle line kept under another group

QString tablePath(const Services& s, const QString& file) { return QStringLiteral("\"%1/%2\"").arg(s.folders.data, file); }

// The conditions of a query joined by AND, with the selection's on the role "G".
struct Where {
    QStringList parts;
    QVariantList values;

    void add(const QString& condition, const QVariantList& bound = {}) {
        parts << QLatin1Char('(') + condition + QLatin1Char(')');
        values << bound;
    }
    void addSelection(const RoleSelection& selection) {
        const SelectionConditions c = RoleSelectionConditions(
            selection, {QStringLiteral("G.") + R::village, QStringLiteral("G.") + R::number,
                        QStringLiteral("G.") + R::personType});
        if (c.sql.isEmpty()) return;
        parts << c.sql;
        values << c.values;
    }
    QString sql() const { return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(" AND "); }
};

// Village, numeric role number (numbers that are no number after those of their village), the
// number as typed.
QString roleOrder() {
    const QString n = NumericRole(QStringLiteral("G.") + R::number);
    return QStringLiteral("TRIM(G.%1), %2 IS NULL, %2, TRIM(G.%3), G.%4").arg(R::village, n, R::number, R::id);
}

// The balances' SUMA of the given taxes, per role and tax.
QHash<qint64, QHash<QString, double>> taxBalances(Services& s, const QStringList& groups) {
    using B = BalanceColumns;
    QHash<qint64, QHash<QString, double>> sums;
    const QString marks = QStringList(groups.size(), QStringLiteral("?")).join(',');
    db::Query q = s.database().query(QStringLiteral("SELECT %1, TRIM(%2) AS %2, %3 FROM %4 WHERE TRIM(%2) IN (%5)")
                                         .arg(B::role, B::group, B::amount, tablePath(s, tables::Balances), marks),
                                     QVariantList(groups.begin(), groups.end()));
    for (q.first(); !q.eof(); q.next()) sums[q.integer(B::role)][q.text(B::group)] += q.real(B::amount);
    return sums;
}

std::vector<QVariant> roleCells(const db::Query& q) {
    return {q.text(R::number).trimmed(), q.text(R::name).trimmed(), q.text(R::code).trimmed()};
}

// Land register: columns C1 .. C13 by index 0 .. 12.
constexpr int kPasture = 5, kInsideTax = 6, kOutsideTax = 12;

int landColumn(const QString& group, const QString& name) {
    static const QHash<QString, int> inside = {{"Curti-constructii", 0}, {"Teren arabil", 1}, {"Vie", 2},
                                               {"Livada", 3}, {"Padure", 4}, {"Pasune", kPasture},
                                               {"Faneata", kPasture}};
    static const QHash<QString, int> outside = {{"Teren arabil", 7}, {"Vie pe rod", 8}, {"Livada pe rod", 9},
                                                {"Fond forestier sau alt teren", 10}, {"Pasuni - fanete", 11}};
    if (group == kGroupInside) return inside.value(name, -1);
    if (group == kGroupOutside) return outside.value(name, -1);
    return -1;
}

} // namespace

RegisterRows LandRegisterRows(Services& s, const RoleSelection& selection) {
    ProgressShown shown(s.progress(), QStringLiteral("Calculez Matricole Teren..."));
    Where where;
    const QString land = QStringLiteral("Impozit pe teren");
    where.add(QStringLiteral("SUBSTR(D.%1, 1, %2) = ?").arg(D::group).arg(land.size()), {land});
    where.add(QStringLiteral("TRIM(COALESCE(D.%1, '')) = ''").arg(D::explanation));
    if (!selection.siZero) where.add(QStringLiteral("D.%1 > 0").arg(D::quantity));
    where.addSelection(selection);
    db::Query q = s.database().query(
        QStringLiteral("SELECT D.%1 AS %1, G.%2 AS %2, G.%3 AS %3, G.%4 AS %4, TRIM(D.%5) AS %5, TRIM(D.%6) AS %6, "
                       "D.%7 AS %7 FROM %8 D JOIN %9 G ON G.%1 = D.%1%10 ORDER BY %11, TRIM(D.%5), TRIM(D.%6)")
            .arg(D::role, R::number, R::name, R::code, D::group, D::name, D::quantity,
                 tablePath(s, tables::Ledger), tablePath(s, tables::Roles))
            .arg(where.sql(), roleOrder()),
        where.values);
    RegisterRows out;
    out.columns = QStringList{R::number, R::name, R::code};
    for (int c = 1; c <= 13; ++c) out.columns << QStringLiteral("C%1").arg(c);
    if (q.isEmpty()) return out;
    s.progress().SetMaximum(q.count());
    const QHash<qint64, QHash<QString, double>> balances = taxBalances(s, {kGroupInside, kGroupOutside});
    qint64 previous = -1;
    double pasture = 0;
    for (q.first(); !q.eof(); q.next()) {
        const qint64 role = q.integer(D::role);
        if (role != previous) {
            previous = role;
            pasture = 0;
            std::vector<QVariant> row = roleCells(q);
            row.resize(3 + 13, 0.0);
            const QHash<QString, double> taxes = balances.value(role);
            row[3 + kInsideTax] = taxes.value(kGroupInside);
            row[3 + kOutsideTax] = taxes.value(kGroupOutside);
            out.rows.push_back(std::move(row));
        }
        const QString group = q.text(D::group);
        const QString name = q.text(D::name);
        const int column = landColumn(group, name);
        const double quantity = q.real(D::quantity);
        if (column >= 0 && quantity != 0) {
            if (column == kPasture) pasture += quantity;
            out.rows.back()[3 + column] = column == kPasture ? pasture : quantity;
        }
        s.progress().Step();
    }
    for (std::vector<QVariant>& row : out.rows)
        for (size_t c = 3; c < row.size(); ++c) row[c] = Rounded4(row[c].toDouble());
    return out;
}

RegisterRows BuildingRegisterRows(Services& s, const RoleSelection& selection) {
    ProgressShown shown(s.progress(), QStringLiteral("Calculez Matricole Cladiri-Anexe..."));
    QStringList fields;
    QStringList dwellingArea;
    for (int k = 1; k <= 8; ++k) {
        for (const char* part : {"S", "A", "C"}) fields << QStringLiteral("P.C%1%2 AS C%1%2").arg(k).arg(part);
        dwellingArea << QStringLiteral("COALESCE(P.C%1S, 0)").arg(k);
    }
    fields << QStringLiteral("P.CAS AS CAS") << QStringLiteral("P.CAA AS CAA") << QStringLiteral("P.CAC AS CAC")
           << QStringLiteral("P.IDGOS AS PAGE");
    Where where;
    if (!selection.siZero) where.add(dwellingArea.join(QStringLiteral(" + ")) + QStringLiteral(" > 0"));
    where.addSelection(selection);
    db::Query q = s.database().query(
        QStringLiteral("SELECT G.%1 AS %1, G.%2 AS %2, G.%3 AS %3, G.%4 AS %4, G.%5 AS %5, %6 FROM %7 G "
                       "LEFT JOIN %8 P ON P.IDGOS = G.%1%9 ORDER BY %10")
            .arg(R::id, R::number, R::name, R::code, R::personType, fields.join(QStringLiteral(", ")),
                 tablePath(s, tables::Roles), tablePath(s, tables::Buildings))
            .arg(where.sql(), roleOrder()),
        where.values);
    RegisterRows out;
    out.columns = QStringList{R::number, R::name, R::code};
    for (int c = 1; c <= 9; ++c) out.columns << QStringLiteral("C%1").arg(c);
    if (q.isEmpty()) return out;
    s.progress().SetMaximum(q.count());
    const QHash<qint64, QHash<QString, double>> balances = taxBalances(s, {kGroupBuildings});
    int dwelling[8][3]; // the columns of C<k>S, C<k>A, C<k>C
    for (int k = 0; k < 8; ++k)
        for (int p = 0; p < 3; ++p) dwelling[k][p] = q.columnIndex(QStringLiteral("C%1%2").arg(k + 1).arg("SAC"[p]));
    for (q.first(); !q.eof(); q.next()) {
        std::vector<QVariant> row = roleCells(q);
        double c[9] = {};
        const bool hasPage = !q.isNull(QStringLiteral("PAGE"));
        if (hasPage) c[8] = balances.value(q.integer(R::id)).value(kGroupBuildings);
        if (q.text(R::personType).trimmed() == kPersonNatural) {
            const int at = q.position();
            for (const auto& [area, year, material] : dwelling) {
                const int cls = q.cell(at, material).toDouble() != 0 ? 2 : 0; // class 1 goes to C3, C4
                c[cls] += q.cell(at, area).toDouble();
                c[cls + 1] = std::max(c[cls + 1], q.cell(at, year).toDouble());
            }
            const int annex = q.real(QStringLiteral("CAC")) != 0 ? 6 : 4; // class 1: C7, C8
            c[annex] = q.real(QStringLiteral("CAS"));
            const double year = q.real(QStringLiteral("CAA"));
            c[annex + 1] = year < 1 ? 0 : year;
        }
        for (double v : c) row.push_back(Rounded4(v));
        out.rows.push_back(std::move(row));
        s.progress().Step();
    }
    return out;
}

RegisterRows VehicleRegisterRows(Services& s, const RoleSelection& selection) {
    Where where;
    if (!selection.siZero) where.add(QStringLiteral("D.%1 > 0").arg(D::quantity));
    where.addSelection(selection);
    where.add(QStringLiteral("TRIM(D.%1) = ?").arg(D::type), {kAssessedLine});
    where.add(QStringLiteral("TRIM(D.%1) = ? OR TRIM(D.%2) = ?").arg(D::group, D::name), {kGroupVehicles, kTaxName});
    db::Query q = s.database().query(
        QStringLiteral("SELECT G.%1 AS %1, G.%2 AS %2, G.%3 AS %3, TRIM(D.%4) AS %4, TRIM(D.%5) AS %5, D.%6 AS %6, "
                       "D.%7 AS %7 FROM %8 D JOIN %9 G ON G.%10 = D.%11%12 ORDER BY %13, D.%14")
            .arg(R::number, R::name, R::code, D::name, D::unit, D::quantity, D::current, tablePath(s, tables::Ledger),
                 tablePath(s, tables::Roles))
            .arg(R::id, D::role, where.sql(), roleOrder(), D::id),
        where.values);
    RegisterRows out;
    out.columns = QStringList{R::number, R::name, R::code, D::name, D::unit, D::quantity, D::current};
    for (q.first(); !q.eof(); q.next()) {
        std::vector<QVariant> row = roleCells(q);
        row.insert(row.end(), {q.text(D::name), q.text(D::unit), Rounded4(q.real(D::quantity)), q.real(D::current)});
        out.rows.push_back(std::move(row));
    }
    return out;
}

} // namespace vartesa
