#include "datafolder/new_year_balances.h"

#include "books/stored_fields.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"

#include <algorithm>

namespace vartesa {

namespace {

// Hands every record of `table` to `each` with the columns of `columns` the file has (an
// older layout's missing columns read as empty), straight from the file.
template <class Each>
void scanTable(db::Database& db, const QString& table, const QStringList& columns, Each each) {
    if (!db.tableExists(table)) return;
    const db::Layout layout = db.layout(table);
    QStringList present;
    for (const QString& c : columns)
        if (layout.indexOf(c) >= 0) present << c;
    db.scan(db.resolve(table), present,
            [&](const std::vector<QVariant>& values) { each(StoredFields(present, values)); });
}

// A role number read as a number; nothing when it is none.
std::optional<qint64> roleNumber(const QString& rol) {
    bool ok = false;
    const qint64 n = rol.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

int columnOf(const QString& group, std::initializer_list<const char*> names, int first) {
    const QString g = group.trimmed();
    int k = first;
    for (const char* name : names) {
        if (g.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return k;
        ++k;
    }
    return 0;
}

} // namespace

bool WalkOrderLess(const Role& a, const Role& b) {
    if (const int c = a.village.compare(b.village); c != 0) return c < 0;
    const std::optional<qint64> na = roleNumber(a.number), nb = roleNumber(b.number);
    if (na.has_value() != nb.has_value()) return na.has_value();
    if (na && *na != *nb) return *na < *nb;
    if (!na)
        if (const int c = a.number.compare(b.number); c != 0) return c < 0;
    return a.id < b.id;
}

OldYearBooks ReadOldYearBooks(db::Database& db, const QString& oldFolder) {
    OldYearBooks books;
    const QString roles = oldFolder + '/' + tables::Roles;
    if (db.tableExists(roles)) {
        const db::Query q = db.query(QStringLiteral("SELECT * FROM \"%1\"").arg(db.resolve(roles)));
        books.roles.reserve(size_t(q.count()));
        for (int row = 0; row < q.count(); ++row) books.roles.push_back(RoleFromRow(q, row));
        std::sort(books.roles.begin(), books.roles.end(), WalkOrderLess);
    }
    scanTable(db, oldFolder + '/' + tables::Balances, BalanceColumnNames(), [&](const StoredFields& f) {
        BalanceRow b = BalanceRowFrom(f);
        books.balances[b.roleId].push_back(std::move(b));
    });
    scanTable(db, oldFolder + '/' + tables::Ledger, LedgerColumnNames(), [&](const StoredFields& f) {
        LedgerLine l = LedgerLineFrom(f);
        if (GroupIndex(l.group.trimmed()) != 5) return; // the four local taxes are in SoldCalc.dbf
        if (l.current == 0 && l.arrears == 0 && l.reduction <= 0) return;
        books.claims[l.roleId].push_back(std::move(l));
    });
    scanTable(db, oldFolder + '/' + tables::Debits, DebitColumnNames(), [&](const StoredFields& f) {
        YearDebit d = YearDebitFrom(f);
        books.debits[d.roleId].push_back(std::move(d));
    });
    return books;
}

YearEndRows YearEndAccount(const OldYearBooks& books, const AccountRole& role) {
    const QDate yearEnd(role.year, 12, 31);
    const qint64 id = role.role.id;
    YearEndRows rows;
    for (const BalanceRow& b : books.balances.value(id)) {
        TaxRow r = TaxRowOf(b);
        ComputeTaxRow(r, role, yearEnd);
        rows.taxes.push_back(std::move(r));
    }
    for (const YearDebit& d : books.debits.value(id)) {
        DebitRow r = DebitRowOf(d);
        ComputeDebitRow(r, yearEnd, role.noPenalty);
        rows.debits.push_back(std::move(r));
    }
    for (const LedgerLine& l : books.claims.value(id)) {
        ClaimRow r = ClaimRowOf(l);
        ComputeClaimRow(r);
        rows.claims.push_back(std::move(r));
    }
    return rows;
}

int LocalTaxColumn(const QString& group) {
    return columnOf(group,
                    {"Impozit pe teren extravilan", "Impozit pe cladiri", "Impozit pe teren intravilan",
                     "Impozit pe mijloace de transport"},
                    1);
}

int OtherTaxColumn(const QString& group) {
    return columnOf(group, {"Vehicule lente", "Taxa pe pasune", "Concesionari", "Iluminat", "Salubritate", "PSI", "Paza"},
                    5);
}

void AddYearEnd(Opening& opening, const YearEndRows& rows, const OpeningChoices& choices,
                std::vector<ClaimRow>& carried) {
    if (choices.localTaxes) {
        for (const TaxRow& t : rows.taxes) {
            const int k = LocalTaxColumn(t.group);
            if (k == 0) continue;
            // What the account showed owing on 31 December: the arrears net of the credit and
            // what is left of the year. An exempted year (SCUTIRE) owes nothing of it already
            // (CUR1 is 0), so the exemption is not taken off a second time.
            const qint64 amount = t.netArrears + t.current - t.granted;
            if (amount < 0) {
                opening.sold[size_t(k - 1)] += -amount;
            } else {
                opening.lin[size_t(k - 1)] += amount;
                opening.pen[size_t(k - 1)] += t.penalties;
            }
        }
        for (const DebitRow& d : rows.debits) {
            const int k = LocalTaxColumn(d.group);
            if (k == 0) continue;
            opening.lin[size_t(k - 1)] += d.open;
            opening.pen[size_t(k - 1)] += d.penalty;
        }
    }
    if (choices.otherTaxes) {
        for (const ClaimRow& c : rows.claims) {
            if (c.due == 0) continue;
            if (const int k = OtherTaxColumn(c.group)) opening.lin[size_t(k - 1)] += c.due;
            else carried.push_back(c);
        }
    }
}

void NetOpening(Opening& opening) {
    for (size_t k = 0; k < 4; ++k) {
        const qint64 net = opening.lin[k] - opening.sold[k];
        opening.lin[k] = std::max<qint64>(net, 0);
        opening.sold[k] = std::max<qint64>(-net, 0);
        opening.pen[k] = std::max<qint64>(opening.pen[k], 0);
    }
}

} // namespace vartesa
