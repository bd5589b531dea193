#include "documents/collection_lists.h"

#include "books/balances.h"
#include "books/debits.h"
#include "books/receipts.h"
#include "books/roles.h"
#include "cash/account.h"
#include "cash/cash_summary_data.h"
#include "cash/collection_list.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "documents/amounts_due.h"
#include "roles/assessment_rates.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/table_files.h"
#include "workbook/biff2_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <array>
#include <map>

namespace vartesa {

namespace {

using R = RoleColumns;
using Biff2 = workbook::Biff2Writer;

const QString kTitle = QStringLiteral("Lista de incasat");
const QString kComputing = QStringLiteral("Calculez Lista de incasat...");

QString tablePath(const Services& s, const QString& file) { return QStringLiteral("\"%1/%2\"").arg(s.folders.data, file); }

// The roles of the choice, by village and numeric role number.
std::vector<Role> chosenRoles(Services& s, const CollectionChoice& choice) {
    RoleSelection selection;
    if (!choice.village.toUpper().contains(QLatin1String("INDIFERENT"))) selection.village = choice.village;
    selection.person = choice.person;
    const SelectionConditions c = RoleSelectionConditions(selection, {R::village, R::number, R::personType});
    db::Query q = s.database().query(QStringLiteral("SELECT * FROM %1%2 ORDER BY TRIM(%3), %4, %5")
                                         .arg(tablePath(s, tables::Roles),
                                              c.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + c.sql,
                                              R::village, NumericRole(R::number), R::id),
                                     c.values);
    std::vector<Role> roles;
    roles.reserve(size_t(q.count()));
    for (int i = 0; i < q.count(); ++i) roles.push_back(RoleFromRow(q, i));
    return roles;
}

// What a role owes for one claim, as the lists to collect show it.
struct ClaimDue {
    QString group;
    std::int64_t arrears = 0, current = 0, increments = 0;
    std::int64_t due = 0;    // the total that decides whether it is shown
    std::int64_t stored = 0; // DEPLATA of the account's row
};

// A local tax with the debits of the year of the same tax: their amounts join the current
// amount and their increments the tax's, and a write-off cancels the arrears first.
ClaimDue taxDue(const TaxRow& tax, const std::vector<DebitRow>& debits) {
    ClaimDue d{tax.group, tax.netArrears, tax.current, tax.penalties, tax.due, tax.due};
    std::int64_t h = 0;
    for (const DebitRow& debit : debits)
        if (debit.group.trimmed() == tax.group.trimmed()) {
            h += debit.open;
            d.increments += debit.penalty;
        }
    if (-h >= d.arrears) {
        h += d.arrears;
        d.arrears = 0;
    }
    d.current += h;
    d.due += h;
    return d;
}

// Another claim: its arrears and its amount of the year, the reduction taken off once.
ClaimDue claimDue(const ClaimRow& claim) {
    return {claim.group, claim.rest, claim.amount - claim.reduction, 0, claim.due, claim.due};
}

// The amounts of every role of the choice on `date`, handed to `use` role by role.
template <typename Use>
void forEachRoleDue(Services& s, const std::vector<Role>& roles, const QDate& date, Use use) {
    const AccountRules rules = ReadAccountRules(s.counters(), s.database(), s.folders.data);
    const int year = WorkingYear().toInt();
    // The reductions granted on receipts this year, read once for every role: what
    // OpenAccountRole reads role by role.
    using C = ReceiptLineColumns;
    QHash<qint64, QSet<QString>> reduced;
    db::Query q = s.database().query(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 >= ? AND %5 > 0")
                                         .arg(C::role, C::group, tablePath(s, tables::Receipts), C::date, C::reduction),
                                     {QDate(year, 1, 1)});
    for (q.first(); !q.eof(); q.next()) reduced[q.integer(C::role)].insert(q.text(C::group).trimmed().toUpper());
    s.progress().SetMaximum(int(roles.size()));
    for (const Role& role : roles) {
        s.progress().Step();
        AccountRole owner = AmountsRole(role, rules, year);
        owner.reduced = reduced.value(role.id);
        const AccountGrids grids = ComputeAmountsDue(s.database(), s.folders.data, owner, date, owner.noPenalty, false);
        std::vector<ClaimDue> dues;
        for (const TaxRow& t : grids.taxes) dues.push_back(taxDue(t, grids.debits));
        const size_t taxes = dues.size();
        for (const ClaimRow& c : grids.claims) dues.push_back(claimDue(c));
        use(role, dues, taxes);
    }
}

// The groups of the detailed list in the order they are first met, the four local taxes
// first. The leading groups named "Impozit..." have three columns (arrears, current,
// increments), every other two; a group met once a two-column one exists has two as well, so
// the columns written never move.
struct Slot {
    QString name;
    std::int64_t arrears = 0, current = 0, increments = 0; // column totals
};

class Slots {
public:
    Slots() {
        for (const QString& g : {kGroupBuildings, kGroupInside, kGroupOutside, kGroupVehicles}) slots_.push_back({g});
    }
    int find(const QString& group) {
        const QString name = group.left(60);
        for (size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].name == name) return int(i);
        slots_.push_back({name});
        return int(slots_.size()) - 1;
    }
    int count() const { return int(slots_.size()); }
    Slot& operator[](int i) { return slots_[size_t(i)]; }
    int threeColumnGroups() const {
        int n = 0;
        while (n < count() && slots_[size_t(n)].name.contains(QLatin1String("Impozit"))) ++n;
        return n;
    }
    bool threeColumns(int i) const { return i < threeColumnGroups(); }
    int column(int i) const {
        const int three = threeColumnGroups();
        return i < three ? 4 + 3 * i : 4 + 3 * three + 2 * (i - three);
    }
    int totalColumn() const { return 4 + 2 * count() + threeColumnGroups(); }

private:
    std::vector<Slot> slots_;
};

// One role row: its cells and amounts per slot.
struct ListRow {
    QString number, name, code;
    std::map<int, ClaimDue> amounts; // by slot
    std::int64_t total = 0;
};

void writeHeadings(Biff2& w, Slots& groupSlots, const QString& townHall, const CollectionChoice& choice) {
    w.setActiveFont(0);
    w.setAlignment(Biff2::Align::Left);
    w.writeText(1, 1, QStringLiteral("Primaria ") + townHall);
    w.writeText(2, 1, QStringLiteral("Localitatea ") + choice.village);
    w.setAlignment(Biff2::Align::General);
    w.setActiveFont(1);
    w.writeText(4, 3, QStringLiteral("LISTA DE INCASAT"));
    w.setActiveFont(0);
    w.writeText(5, 3, QStringLiteral("la data de ") + choice.date.toString(QStringLiteral("dd.MM.yyyy")));
    const char* const heads[] = {"ROL", "TITULAR", "CNP"};
    for (int c = 1; c <= 3; ++c) {
        w.setBorders(Biff2::Top | Biff2::Left | Biff2::Right);
        w.writeText(7, c, QLatin1String(heads[c - 1]));
        w.setBorders(Biff2::Bottom | Biff2::Left | Biff2::Right);
        w.writeBlank(8, c);
    }
    w.setAlignment(Biff2::Align::Center);
    for (int i = 0; i < groupSlots.count(); ++i) {
        const int col = groupSlots.column(i);
        const int width = groupSlots.threeColumns(i) ? 3 : 2;
        for (int k = 0; k < width; ++k) {
            w.setColumnWidth(col + k, 7);
            int sides = Biff2::Top;
            if (k == 0) sides |= Biff2::Left;
            if (k == width - 1) sides |= Biff2::Right;
            w.setBorders(sides);
            // The name in the middle of three columns, in the first of two.
            if (k == (width == 3 ? 1 : 0)) w.writeText(7, col + k, groupSlots[i].name);
            else w.writeBlank(7, col + k);
            w.setBorders(Biff2::Box);
            const char* const sub[] = {"Ramas.", "Curent", "Major."};
            w.writeText(8, col + k, QLatin1String(sub[k]));
        }
    }
    const int t = groupSlots.totalColumn();
    w.setColumnWidth(t, 8);
    w.setAlignment(Biff2::Align::Right);
    w.setBorders(Biff2::Top | Biff2::Left | Biff2::Right);
    w.writeText(7, t, QStringLiteral("TOTAL"));
    w.setBorders(Biff2::Bottom | Biff2::Left | Biff2::Right);
    w.writeText(8, t, QStringLiteral(" "));
    w.setBorders(Biff2::NoBorder);
}

} // namespace

std::optional<DetailedList> WriteDetailedCollectionList(Services& s, const CollectionChoice& choice, const QString& file) {
    Slots groupSlots;
    std::vector<ListRow> rows;
    {
        ProgressShown shown(s.progress(), kComputing);
        const std::vector<Role> roles = chosenRoles(s, choice);
        if (roles.empty()) {
            s.progress().Distruge();
            s.messages().showError(kTitle, QStringLiteral("Nu exista nici un ROL in ") + choice.village + QStringLiteral("!"));
            return std::nullopt;
        }
        forEachRoleDue(s, roles, choice.date, [&](const Role& role, const std::vector<ClaimDue>& dues, size_t) {
            ListRow row{role.number, role.name, role.code, {}, 0};
            bool owes = false;
            for (const ClaimDue& d : dues) {
                std::int64_t e = d.due;
                if (e < 0 && !choice.withCredits) e = 0;
                if (e == 0) continue;
                owes = true;
                ClaimDue& into = row.amounts[groupSlots.find(d.group)];
                into.arrears += d.arrears;
                into.current += d.current;
                into.increments += d.increments;
            }
            if (!owes && !choice.withZero) return;
            for (const auto& [slot, d] : row.amounts) {
                row.total += d.arrears + d.current + d.increments;
                groupSlots[slot].arrears += d.arrears;
                groupSlots[slot].current += d.current;
                groupSlots[slot].increments += d.increments;
            }
            rows.push_back(std::move(row));
        });
    }
    // The writer's sheet ends at row 16,384 and column 256: a longer or wider list is refused
    // before anything is written.
    const int totalsRow = 9 + int(rows.size());
    const int t = groupSlots.totalColumn();
    if (totalsRow > 16384 || t > 256) {
        s.messages().showError(kTitle, QStringLiteral("Lista are %1 randuri si %2 coloane, mai mult decat incape intr-o "
                                                      "foaie de calcul (16384 randuri, 256 coloane). Alegeti un singur sat!")
                                           .arg(totalsRow)
                                           .arg(t));
        return std::nullopt;
    }
    Biff2 w;
    w.begin(file);
    w.addFont(QStringLiteral("Arial"), 9);
    w.addFont(QStringLiteral("Arial"), 9, true);
    w.addFont(QStringLiteral("Arial"), 12, true);
    w.setMargins(0.6, 0.4, 0.3, 0.4);
    w.setHeader(QString());
    w.setFooter(QString());
    w.setColumnWidth(1, 8);
    w.setColumnWidth(2, 24);
    w.setColumnWidth(3, 14);
    writeHeadings(w, groupSlots, TownHallName(s), choice);
    DetailedList list{file, {}, 0};
    int r = 9;
    auto amount = [&](int row, int col, std::int64_t value, bool always) {
        if (value != 0 || always) w.writeNumber(row, col, double(value));
    };
    for (const ListRow& row : rows) {
        w.setAlignment(Biff2::Align::Center);
        w.writeText(r, 1, row.number);
        w.setAlignment(Biff2::Align::Left);
        w.writeText(r, 2, row.name);
        w.setAlignment(Biff2::Align::Center);
        w.writeText(r, 3, row.code);
        w.setAlignment(Biff2::Align::Right);
        for (const auto& [slot, d] : row.amounts) {
            const int col = groupSlots.column(slot);
            amount(r, col, d.arrears, false);
            amount(r, col + 1, d.current, false);
            if (groupSlots.threeColumns(slot)) amount(r, col + 2, d.increments, false);
        }
        amount(r, t, row.total, true);
        list.rowTotals.push_back(row.total);
        list.total += row.total;
        ++r;
    }
    w.writeText(r, 2, QStringLiteral("TOTAL"));
    for (int i = 0; i < groupSlots.count(); ++i) {
        const int col = groupSlots.column(i);
        amount(r, col, groupSlots[i].arrears, true);
        amount(r, col + 1, groupSlots[i].current, true);
        if (groupSlots.threeColumns(i)) amount(r, col + 2, groupSlots[i].increments, true);
    }
    amount(r, t, list.total, true);
    w.save();
    return list;
}

QString ProduceDetailedCollectionList(Services& s, const CollectionChoice& choice) {
    const QString file = FreeTempFileName(s.folders.program, QStringLiteral("DeIncasat"), QStringLiteral(".xls"));
    if (file.isEmpty()) throw Error(QStringLiteral("Nu mai exista nume libere pentru liste in ") + s.folders.program, kTitle);
    const std::optional<DetailedList> list = WriteDetailedCollectionList(s, choice, file);
    if (!list) return {};
    s.desktop().openFile(file);
    return file;
}

namespace {

// The summary filled into its template, and its number of rows.
std::pair<std::unique_ptr<TExportXLSModel>, int> fillSummary(Services& s, const CollectionChoice& choice,
                                                             const QDate& today) {
    // Per claim and person type: arrears, current, increments, advance.
    std::map<std::pair<QString, QString>, std::array<std::int64_t, 4>> sums;
    {
        ProgressShown shown(s.progress(), kComputing);
        const std::vector<Role> roles = chosenRoles(s, choice);
        forEachRoleDue(s, roles, today, [&](const Role& role, const std::vector<ClaimDue>& dues, size_t) {
            for (const ClaimDue& d : dues) {
                if (d.stored == 0) continue;
                std::array<std::int64_t, 4>& sum = sums[{d.group, role.personType.trimmed()}];
                sum[0] += d.arrears;
                // Nothing left to pay: the current amount was paid ahead.
                if (d.due <= 0) sum[3] += -d.current;
                else sum[1] += d.current;
                sum[2] += d.increments;
            }
        });
    }
    std::vector<std::vector<QVariant>> rows;
    for (const auto& [key, sum] : sums)
        rows.push_back({key.first, key.second, qint64(sum[0]), qint64(sum[1]), qint64(sum[2]), qint64(sum[3])});
    auto list = OpenSummaryTemplate(s, QStringLiteral("CENRES"), QStringLiteral("CenRes.xls"));
    list->SetTextCell(QStringLiteral("#LADATA"), QStringLiteral("la data de ") + DateText(today));
    const int count = int(rows.size());
    db::Query filled = db::Query::fromRows({"GRUPA", "TIP", "RAM", "CUR", "MAJ", "AVANS"}, std::move(rows));
    filled.first();
    list->FillRows(filled);
    return {std::move(list), count};
}

} // namespace

BuiltCollectionList BuildCollectionSummary(Services& s, const CollectionChoice& choice, const QDate& today) {
    auto [list, count] = fillSummary(s, choice, today);
    return {list->TakeWorkbook(), count};
}

QString ProduceCollectionSummary(Services& s, const CollectionChoice& choice) {
    auto [list, count] = fillSummary(s, choice, s.clock().today());
    list->SaveAndOpen();
    return list->lastResult();
}

namespace {

// Per claim and person type: assessment, debits, write-offs, bonuses; roles missing from the
// register are left out.
std::vector<std::vector<QVariant>> collectionRateRows(Services& s) {
    using B = BalanceColumns;
    using D = DebitColumns;
    using C = ReceiptLineColumns;
    std::map<std::pair<QString, QString>, std::array<std::int64_t, 4>> sums;
    const QString roles = tablePath(s, tables::Roles);
    auto add = [&](int index, const QString& table, const QString& group, const QString& amount, const QString& where,
                   const QVariantList& values, int sign) {
        db::Query q = s.database().query(
            QStringLiteral("SELECT TRIM(T.%1) AS GRUPA, TRIM(G.%2) AS TIP, SUM(T.%3) AS SUMA FROM %4 T JOIN %5 G ON "
                           "T.%6 = G.%7%8 GROUP BY 1, 2")
                .arg(group, R::personType, amount, tablePath(s, table), roles, R::id, R::id,
                     where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where),
            values);
        for (q.first(); !q.eof(); q.next()) sums[{q.text("GRUPA"), q.text("TIP")}][size_t(index)] += sign * q.integer("SUMA");
        s.progress().Step();
    };
    add(0, tables::Balances, B::group, B::amount, {}, {}, 1);
    s.progress().Describe(QStringLiteral("Adaug Borderourile..."));
    add(1, tables::Debits, D::tax, D::amount, QStringLiteral("T.%1 > 0").arg(D::amount), {}, 1);
    add(2, tables::Debits, D::tax, D::amount, QStringLiteral("T.%1 < 0").arg(D::amount), {}, -1);
    s.progress().Describe(QStringLiteral("Adaug Bonificatiile..."));
    add(3, tables::Receipts, C::group, C::reduction,
        QStringLiteral("T.%1 > 0 AND TRIM(T.%2) IN (?, ?, ?, ?)").arg(C::reduction, C::group),
        {kGroupBuildings, kGroupInside, kGroupOutside, kGroupVehicles}, 1);
    std::vector<std::vector<QVariant>> rows;
    for (const auto& [key, sum] : sums)
        rows.push_back({key.first, key.second, qint64(sum[0]), qint64(sum[1]), qint64(sum[2]), qint64(sum[3])});
    return rows;
}

// The collection rate filled into its template; nothing when the database failed.
std::unique_ptr<TExportXLSModel> fillCollectionRate(Services& s, const QDate& today, int& count) {
    std::vector<std::vector<QVariant>> rows;
    try {
        ProgressShown shown(s.progress(), QStringLiteral("Calculez Matricola..."));
        s.progress().SetMaximum(4);
        rows = collectionRateRows(s);
    } catch (const Error&) {
        return nullptr; // a failed database ends the list without a file
    }
    auto list = OpenSummaryTemplate(s, QStringLiteral("GRAD"));
    list->SetTextCell(QStringLiteral("#LADATA"), QStringLiteral("la data de ") + DateText(today));
    count = int(rows.size());
    db::Query filled = db::Query::fromRows({"GRUPA", "TIP", "MAT0", "DEBITE", "SCAZ", "BONIF"}, std::move(rows));
    filled.first();
    list->FillRows(filled);
    return list;
}

} // namespace

std::optional<BuiltCollectionList> BuildCollectionRate(Services& s, const QDate& today) {
    int count = 0;
    std::unique_ptr<TExportXLSModel> list = fillCollectionRate(s, today, count);
    if (!list) return std::nullopt;
    return BuiltCollectionList{list->TakeWorkbook(), count};
}

QString ProduceCollectionRate(Services& s) {
    int count = 0;
    std::unique_ptr<TExportXLSModel> list = fillCollectionRate(s, s.clock().today(), count);
    if (!list) return {};
    list->SaveAndOpen();
    return list->lastResult();
}

} // namespace vartesa
