#pragma once
// A data folder ready for payments: classification codes for every starting claim and a
// cashier with a series, plus the steps the account screen takes from typed amounts to a
// stored document.

#include "cash_test_util.h"

#include "cash/account_entry.h"
#include "cash/payment.h"
#include "admin/budget_codes.h"

#include <QDir>
#include <QFile>

#include <map>

namespace vartesa::test {

/// An amount typed on row `row` of a grid.
struct Typed {
    AccountGrid grid;
    size_t row;
    std::int64_t amount;
};

/// What the screen holds when "&OPEREAZA" is pressed.
struct Prepared {
    AccountRole role;
    AccountGrids grids;
    PaymentAllocation allocation;
};

class PayFolder : public CashFolder {
public:
    PayFolder() {
        CountersFile c = counters();
        BudgetCodes(db(), env.folders().data, c).EnsureCodesTable();
        db().exec(QStringLiteral("UPDATE \"%1\" SET CODCLF = '2102' || IDCOD, CODCLJ = '2103' || IDCOD")
                      .arg(path("CODCL.dbf")));
        c.WriteCounter("ION", "SERIA", "AB");
        c.WriteCounter("ION", "CHIT", "41");
        c.WriteCounter("MARIA", "SERIA", "MV");
    }

    Prepared prepare(qint64 idgos, const QDate& date, const std::vector<Typed>& typed, db::Database* other = nullptr,
                     AccountRules rules = {false, true, true, {}}) {
        db::Database& d = other ? *other : db();
        Prepared p;
        p.role = OpenAccountRole(d, env.folders().data, rules, idgos, 2015);
        p.grids = BuildAccountGrids(d, env.folders().data, p.role, date);
        for (const Typed& t : typed) EnterAmount(t.grid, *p.grids.rows(t.grid).at(t.row), t.amount);
        p.allocation = AllocatePayment(p.grids, date, p.role.noPenalty);
        FillDocumentLines(d, env.folders().data, p.allocation.lines, p.role.physicalPerson(), "AB", 41);
        return p;
    }

    StoredPayment store(const Prepared& p, const QDate& date, const QString& cashier = "ION",
                        DocumentKind kind = DocumentKind::Receipt, qint64 number = 41,
                        const std::function<void()>& beforeCommit = {}, db::Database* other = nullptr) {
        CountersFile c = counters();
        PaymentDocument doc{kind, date, "POPA ION", number, "AB", p.role.role.id, cashier};
        return StorePayment(other ? *other : db(), env.folders().data, c, p.role, p.grids, p.allocation, doc,
                            {cashier, "L-" + cashier}, beforeCommit);
    }

    /// The bytes of every table of the data folder, by file name.
    std::map<QString, QByteArray> tables() const {
        std::map<QString, QByteArray> out;
        for (const QString& name : QDir(env.folders().data).entryList({"*.dbf", "*.DBF"}, QDir::Files))
            out[name] = fileBytes(env.folders().data + '/' + name);
        return out;
    }
};

} // namespace vartesa::test
