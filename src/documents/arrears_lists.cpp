#include "documents/arrears_lists.h"

#include "books/balances.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "fillers/xls_model_export.h"
#include "roles/assessment_rates.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/settings_table.h"
#include "shell/startup.h"
#include "shell/table_files.h"

#include <QHash>

#include <algorithm>
#include <cstdint>
#include <map>

namespace vartesa {

namespace {

using R = RoleColumns;

// The sheet, columns counted from 0: the role's five cells, the four local taxes' pairs
// (balance, increments) from column 6, the spare column at 14 (copied for every other claim),
// then "TOTAL"; row 7 holds the claims' names, row 8 "Sold"/"Major.", row 9 the pattern row,
// row 10 the totals.
constexpr int kFirstAmountColumn = 5;
constexpr int kSpareColumn = 13;
constexpr int kHeadingRow = 6;
constexpr int kSubheadingRow = 7;
constexpr int kPatternRow = 8;
const QString kSheetName = QStringLiteral("Ramasite_Plusuri");

// The four local taxes in the template's order.
const QStringList& templateGroups() {
    static const QStringList groups{kGroupOutside, kGroupInside, kGroupBuildings, kGroupVehicles};
    return groups;
}

QString tablePath(const Services& s, const QString& file) { return QStringLiteral("\"%1/%2\"").arg(s.folders.data, file); }

// One role of the list and what it carried into the year, per claim.
struct ListedRole {
    Role role;
    std::map<QString, std::int64_t> balance;    // per claim, as the list counts it
    std::map<QString, std::int64_t> increments; // per local tax
    bool hasArrears = false;
    bool hasOverpayment = false;
    bool hasRows = false; // a balance row or an opening debt line
    std::int64_t total() const {
        std::int64_t t = 0;
        for (const auto& [g, v] : balance) t += v;
        for (const auto& [g, v] : increments) t += v;
        return t;
    }
};

// The roles of the selection, ascending: village (when asked), numeric role number.
std::vector<ListedRole> chosenRoles(Services& s, const RoleSelection& selection) {
    const SelectionConditions c = RoleSelectionConditions(selection, {R::village, R::number, R::personType});
    const QString number = NumericRole(R::number);
    const QString order = selection.addressOrder ? QStringLiteral("TRIM(%1), %2, %3").arg(R::village, number, R::id)
                                                 : QStringLiteral("%1, %2").arg(number, R::id);
    db::Query q = s.database().query(QStringLiteral("SELECT * FROM %1%2 ORDER BY %3")
                                         .arg(tablePath(s, tables::Roles),
                                              c.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + c.sql, order),
                                     c.values);
    std::vector<ListedRole> roles;
    roles.reserve(size_t(q.count()));
    for (int i = 0; i < q.count(); ++i) roles.push_back({RoleFromRow(q, i), {}, {}, false, false, false});
    return roles;
}

// Adds an amount as the kind counts it: arrears when positive, overpayments (shown positive)
// when negative.
std::int64_t counted(ArrearsKind kind, std::int64_t balance) {
    if (kind == ArrearsKind::Arrears) return balance > 0 ? balance : 0;
    return balance < 0 ? -balance : 0;
}

// Reads the opening balances of every chosen role in two statements.
void readOpenings(Services& s, ArrearsKind kind, std::vector<ListedRole>& roles) {
    QHash<qint64, ListedRole*> byId;
    for (ListedRole& r : roles) byId.insert(r.role.id, &r);
    {
        using B = BalanceColumns;
        db::Query q = s.database().query(QStringLiteral("SELECT %1, TRIM(%2) AS %2, %3, %4, %5 FROM %6")
                                             .arg(B::role, B::group, B::arrearsStart, B::creditStart,
                                                  B::penaltiesStart, tablePath(s, tables::Balances)));
        for (q.first(); !q.eof(); q.next()) {
            ListedRole* r = byId.value(q.integer(B::role));
            if (!r) continue;
            const std::int64_t arrears = q.integer(B::arrearsStart), credit = q.integer(B::creditStart),
                               increments = q.integer(B::penaltiesStart);
            const QString group = q.text(B::group);
            r->hasRows = true;
            r->hasArrears = r->hasArrears || increments > 0 || arrears > 0;
            r->hasOverpayment = r->hasOverpayment || credit > 0;
            const std::int64_t balance = counted(kind, arrears - credit);
            // The increments of a tax whose balance is paid are not shown.
            if (balance == 0) continue;
            r->balance[group] += balance;
            if (kind == ArrearsKind::Arrears && templateGroups().contains(group)) r->increments[group] += increments;
        }
    }
    using L = LedgerColumns;
    const int year = WorkingYear().toInt();
    QVariantList values{QDate(year, 1, 1)};
    for (const QString& g : templateGroups()) values << g;
    db::Query q = s.database().query(QStringLiteral("SELECT %1, TRIM(%2) AS %2, %3 FROM %4 WHERE %5 <= ? AND "
                                                    "TRIM(%2) NOT IN (?, ?, ?, ?)")
                                         .arg(L::role, L::group, L::arrearsEstablished, tablePath(s, tables::Ledger),
                                              L::from),
                                     values);
    for (q.first(); !q.eof(); q.next()) {
        ListedRole* r = byId.value(q.integer(L::role));
        if (!r) continue;
        const std::int64_t due = q.integer(L::arrearsEstablished);
        r->hasRows = true;
        r->hasArrears = r->hasArrears || due > 0;
        r->hasOverpayment = r->hasOverpayment || due < 0;
        const QString group = q.text(L::group).left(60);
        // A claim met with nothing to show still gets its column.
        r->balance[group] += counted(kind, due);
    }
}

QString townHall(Services& s) {
    return SettingsTable(s.database(), s.folders.data).load().value(QStringLiteral("PRIMARIALAB")).trimmed();
}

// Orders the rows by village, then address (stably), and writes on the last row of each
// address of a village the sum of its rows; the address shows on the first of them only.
std::vector<std::int64_t> addressTotals(std::vector<ListedRole>& roles, std::vector<bool>& addressShown) {
    std::stable_sort(roles.begin(), roles.end(), [](const ListedRole& a, const ListedRole& b) {
        if (a.role.village != b.role.village) return a.role.village < b.role.village;
        return a.role.address.trimmed() < b.role.address.trimmed();
    });
    std::vector<std::int64_t> totals(roles.size(), 0);
    addressShown.assign(roles.size(), true);
    std::int64_t sum = 0;
    for (size_t i = 0; i < roles.size(); ++i) {
        const bool same = i > 0 && roles[i].role.village == roles[i - 1].role.village &&
                          roles[i].role.address.trimmed() == roles[i - 1].role.address.trimmed();
        if (same) {
            addressShown[i] = false;
            sum += roles[i].total();
        } else {
            if (i > 0 && sum > 0) totals[i - 1] = sum;
            sum = roles[i].total();
        }
    }
    if (!roles.empty() && sum > 0) totals.back() = sum;
    return totals;
}

std::optional<BuiltArrearsList> buildList(Services& s, const RoleSelection& selection, const ArrearsListOptions& o,
                                          TExportXLSModel& list) {
    const QString word = ArrearsKindWord(o.kind);
    std::vector<ListedRole> roles;
    {
        ProgressShown shown(s.progress(), QStringLiteral("Calculez Lista cu ") + word.toLower() + QStringLiteral("..."));
        roles = chosenRoles(s, selection);
        if (roles.empty()) {
            s.progress().Distruge();
            s.messages().showError(QStringLiteral("Lista cu ") + word,
                                   QStringLiteral("Nu exista nici un ROL in intervalul specificat!"));
            return std::nullopt;
        }
        s.progress().SetMaximum(2);
        readOpenings(s, o.kind, roles);
        s.progress().Step();
        std::erase_if(roles, [&](const ListedRole& r) {
            if (!r.hasRows) return true;
            if (!o.exclude) return false;
            return o.kind == ArrearsKind::Arrears ? !r.hasArrears : !r.hasOverpayment;
        });
    }
    std::vector<std::int64_t> perAddress;
    std::vector<bool> addressShown(roles.size(), true);
    if (o.addressTotals) perAddress = addressTotals(roles, addressShown);

    // The other claims in the order they are met, the roles taken from the highest number
    // down: each new one takes column 14, in front of those met before.
    QStringList others;
    for (auto it = roles.rbegin(); it != roles.rend(); ++it)
        for (const auto& [group, amount] : it->balance)
            if (!templateGroups().contains(group) && !others.contains(group)) others << group;

    WorkingCopy copy{FreeTempFileName(s.folders.program, QStringLiteral("ListRam"), QStringLiteral(".xls"))};
    if (copy.path.isEmpty())
        throw Error(QStringLiteral("Nu mai exista nume libere pentru liste in ") + s.folders.program,
                    QStringLiteral("Lista cu ") + word);
    WriteResourceToFile(QStringLiteral("MODELRAM"), QStringLiteral("MODEL"), copy.path);
    if (!list.OpenTemplate(copy.path)) return std::nullopt;
    const int year = WorkingYear().toInt();
    list.SetTextCell(QStringLiteral("#PRIMARIA"), QStringLiteral("Primaria ") + townHall(s));
    list.SetTextCell(QStringLiteral("#LOCALIT"),
                     QStringLiteral("Localitatea ") + (selection.oneVillage() ? selection.village.trimmed() : kAllVillages));
    list.SetTextCell(QStringLiteral("#LISTARAMASITE"),
                     QStringLiteral("LISTA ") + word.toUpper() + QLatin1Char(' ') + QString::number(year));
    list.SetTextCell(QStringLiteral("#LADATA"), QStringLiteral("la data de ") + QDate(year, 1, 1).toString("dd.MM.yyyy"));

    workbook::Sheet& sheet = list.book().sheet(kSheetName);
    QStringList columns{QStringLiteral("ROL"), QStringLiteral("NUMEP"), QStringLiteral("TIPP"), QStringLiteral("ADRESA"),
                        QStringLiteral("CNP")};
    // The template's pairs: "#S1", "#M1" ... "#S4", "#M4" in the pattern row.
    for (int i = 1; i <= 4; ++i) columns << QStringLiteral("S%1").arg(i) << QStringLiteral("M%1").arg(i);
    for (int i = 0; i < others.size(); ++i) {
        sheet.insertColumnCopies(kSpareColumn, kSpareColumn, kSpareColumn);
        sheet.setText(kHeadingRow, kSpareColumn, others[i]);
        const QString field = QStringLiteral("X%1").arg(i);
        sheet.setText(kPatternRow, kSpareColumn, QLatin1Char('#') + field);
        columns << field;
    }
    const int totalColumn = kSpareColumn + int(others.size()) + 1;
    if (o.kind == ArrearsKind::Overpayments)
        for (int col = kFirstAmountColumn; col < totalColumn; ++col)
            if (sheet.text(kSubheadingRow, col).trimmed() == QLatin1String("Sold"))
                sheet.setText(kSubheadingRow, col, QStringLiteral("Plus"));

    std::vector<std::vector<QVariant>> rows;
    rows.reserve(roles.size());
    for (size_t i = 0; i < roles.size(); ++i) {
        const ListedRole& r = roles[i];
        std::vector<QVariant> row{r.role.number, r.role.name,
                                  r.role.personType.compare(kPersonNatural, Qt::CaseInsensitive) == 0 ? QStringLiteral("F")
                                                                                                      : QStringLiteral("J"),
                                  addressShown[i] ? r.role.address.trimmed() : QString(), r.role.code};
        auto amount = [](const std::map<QString, std::int64_t>& amounts, const QString& g) {
            const auto it = amounts.find(g);
            return QVariant(qint64(it == amounts.end() ? 0 : it->second));
        };
        for (const QString& g : templateGroups()) {
            row.push_back(amount(r.balance, g));
            row.push_back(amount(r.increments, g));
        }
        for (const QString& g : others) row.push_back(amount(r.balance, g));
        rows.push_back(std::move(row));
    }
    const int count = int(rows.size());
    db::Query filled = db::Query::fromRows(columns, std::move(rows));
    filled.first();
    list.FillRows(filled, SelectionNarrowing(selection));
    if (o.addressTotals) {
        sheet.setText(kHeadingRow, totalColumn + 1, QStringLiteral("Total pe adresa"));
        for (int i = 0; i < count; ++i)
            if (perAddress[size_t(i)] > 0) sheet.setNumber(kPatternRow + i, totalColumn + 1, double(perAddress[size_t(i)]));
    }
    return BuiltArrearsList{workbook::Workbook(), count};
}

} // namespace

ArrearsListOptions AddressListOptions() { return {ArrearsKind::Arrears, true, true}; }

QString ArrearsKindWord(ArrearsKind kind) {
    return kind == ArrearsKind::Arrears ? QStringLiteral("Ramasite") : QStringLiteral("Plusuri");
}

std::optional<BuiltArrearsList> BuildArrearsList(Services& services, const RoleSelection& selection,
                                                 const ArrearsListOptions& options) {
    TExportXLSModel list(services);
    std::optional<BuiltArrearsList> built = buildList(services, selection, options, list);
    if (!built) return std::nullopt;
    built->book = list.TakeWorkbook();
    return built;
}

QString ProduceArrearsList(Services& services, const RoleSelection& selection, const ArrearsListOptions& options) {
    TExportXLSModel list(services);
    if (!buildList(services, selection, options, list)) return {};
    list.SaveAndOpen();
    return list.lastResult();
}

} // namespace vartesa
