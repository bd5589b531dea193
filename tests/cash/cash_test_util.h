#pragma once
// A data folder with the collection tables' rows a role's account reads, written straight
// through the engine as the assessment, the ledger and the receipts would leave them.

#include "roles/role_test_util.h"

#include "cash/account.h"

#include <QDate>

namespace vartesa::test {

/// One balance row of SoldCalc.dbf.
struct Balance {
    QString group;
    qint64 amount = 0, rest = 0, reduction = 0, exemption = 0, arrears = 0, credit = 0, carried = 0;
};

class CashFolder : public RoleFolder {
public:
    /// A role with its person type and no-penalty mark.
    qint64 addRole(const QString& name, const QString& type = "FIZICA", bool noTax = false) {
        const qint64 id = add("CORBU", QString::number(++roles_), name);
        db().exec(QStringLiteral("UPDATE \"%1\" SET TIP = ?, NOTAX = ? WHERE IDGOS = ?").arg(path("Gospodar.dbf")),
                  {type, noTax ? "DA" : "NU", id});
        return id;
    }
    void balance(qint64 role, const Balance& b) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDRES, IDGOS, SATUL, GRUPA, SUMA, REST, REDUC, SCUTIRE, DATOR, "
                                 "DEPOZ, MAJOR, DATORI, DEPOZI, MAJORI, TIP) VALUES (?, ?, 'CORBU', ?, ?, ?, ?, ?, ?, ?, "
                                 "?, ?, ?, ?, 'A')")
                      .arg(path("SoldCalc.dbf")),
                  {++ids_, role, b.group, b.amount, b.rest, b.reduction, b.exemption, b.arrears, b.credit, b.carried,
                   b.arrears, b.credit, b.carried});
    }
    void debit(qint64 role, const QString& kind, const QDate& from, qint64 open, const QString& group = "Impozit pe cladiri") {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, GRUPA, CATEG, DENUM, DINDATA, PENDATA, SUMAINI, SUMAC, "
                                 "VAL1) VALUES (?, ?, ?, ?, 'Cladiri', ?, ?, ?, ?, '120.5')")
                      .arg(path("Debit.dbf")),
                  {++ids_, role, group, kind, from, QDate(from.year(), from.month(), 1), open, open});
    }
    void ledgerLine(qint64 role, const QString& group, qint64 amount, qint64 rest, qint64 reduction = 0,
                    qint64 quantity = 1, const QString& unit = "buc") {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, DINDATA, SATUL, GRUPA, DENUM, SUMA, REST, REDUC, UM, "
                                 "CANT, TIP, SUMA2, RESTINI) VALUES (?, ?, ?, 'CORBU', ?, ?, ?, ?, ?, ?, ?, 'M', ?, ?)")
                      .arg(path("Datorii.dbf")),
                  {++ids_, role, QDate(2015, 1, 1), group, group, amount, rest, reduction, unit, quantity, amount, rest});
    }
    void reducedReceipt(qint64 role, const QString& group, const QDate& day) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, DATAI, GRUPA, CURENT, REDUCERE, TOTAL, TIP) "
                                 "VALUES (?, ?, ?, ?, 90, 10, 80, 'C')")
                      .arg(path("Chitante.dbf")),
                  {++ids_, role, day, group});
    }
    AccountGrids account(qint64 role, const QDate& date, const AccountRules& rules = {false, true, true, {}}) {
        return BuildAccountGrids(db(), env.folders().data, OpenAccountRole(db(), env.folders().data, rules, role, 2015),
                                 date);
    }

private:
    int roles_ = 0;
    qint64 ids_ = 100;
};

} // namespace vartesa::test
