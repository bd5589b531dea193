#pragma once
// A data folder with a role, its balances, a fee line and a debit, and payments stored on
// them as the payment operation stores them (snapshots, new remainders, receipt lines), for
// the receipt history and the cancellation.

#include "cash_test_util.h"

#include "shell/budget_codes.h"
#include "shell/counters.h"

#include <QFile>

namespace vartesa::test {

/// The file's bytes with the header's date of last update and change counter blanked: the
/// engine bumps them on every write, whatever the records hold.
inline QByteArray recordBytes(const QString& path) {
    QByteArray b = fileBytes(path);
    for (int i : {1, 2, 3, 20, 21, 22, 23, 24, 25, 26, 27})
        if (i < b.size()) b[i] = 0;
    return b;
}

class HistoryFolder : public CashFolder {
public:
    HistoryFolder() {
        env.services().user = QStringLiteral("ANA");
        env.services().grade = UserGrade::Admin;
        CountersFile c = counters();
        BudgetCodes codes(db(), env.folders().data, c);
        codes.EnsureCodesTable();
        codes.add(QStringLiteral("Taxa copiere"), QStringLiteral("RO11FIZ"), QStringLiteral("RO22JUR"));
        role = addRole(QStringLiteral("POPESCU ION"));
        balance(role, {QStringLiteral("Impozit pe cladiri"), 200, 200, 0, 0, 50, 0, 10});
        ledgerLine(role, QStringLiteral("Salubritate"), 100, 30);
        debit(role, QStringLiteral("CLADIRI"), QDate(2015, 3, 10), 80);
        taxId = id("SoldCalc.dbf", "IDRES");
        feeId = id("Datorii.dbf", "IDDAT");
        debitId = id("Debit.dbf", "IDDEB");
    }

    /// What one payment collects on each row (0: the row is not touched).
    struct Amounts {
        qint64 tax = 0;   // current year of the building tax (REST)
        qint64 fee = 0;   // the fee: its arrears first, then the year
        qint64 debit = 0; // the debit's remainder
    };
    struct Paid {
        qint64 idchit = 0;
        qint64 idanul = 0;
    };

    /// Stores a receipt as the payment operation does: IDANUL, the snapshots of the rows it
    /// changes, their new remainders, then one line per row under one IDCHIT.
    Paid pay(const Amounts& a, const QDate& day, const QString& cashier = QStringLiteral("ANA")) {
        CountersFile c = counters();
        Paid p;
        p.idanul = c.NextId("SERVER", "IDANUL").toLongLong();
        if (a.tax) {
            snapshot("UndelSold.dbf", "IDRES, SUMA, REST, REDUC, SCUTIRE, DATOR, DEPOZ, MAJOR, DATORI, DEPOZI, MAJORI",
                     "SoldCalc.dbf", "IDRES", taxId, p.idanul);
            exec("UPDATE \"%1\" SET REST = REST - ? WHERE IDRES = ?", "SoldCalc.dbf", {a.tax, taxId});
        }
        if (a.fee) {
            snapshot("UndelDat.dbf", "IDDAT, SUMA, REST, REDUC, SUMA2, RESTINI", "Datorii.dbf", "IDDAT", feeId, p.idanul);
            exec("UPDATE \"%1\" SET SUMA = SUMA - MAX(0, ? - REST), REST = MAX(0, REST - ?) WHERE IDDAT = ?",
                 "Datorii.dbf", {a.fee, a.fee, feeId});
        }
        if (a.debit) {
            snapshot("UndelDebit.dbf", "IDDEB, SUMAINI, SUMAC", "Debit.dbf", "IDDEB", debitId, p.idanul);
            exec("UPDATE \"%1\" SET SUMAC = SUMAC - ? WHERE IDDEB = ?", "Debit.dbf", {a.debit, debitId});
        }
        p.idchit = c.NextId("SERVER", "IDCHIT").toLongLong();
        const qint64 number = c.NextId(cashier, "CHIT").toLongLong();
        for (auto [group, amount] : {std::pair{"Impozit pe cladiri", a.tax}, std::pair{"Salubritate", a.fee},
                                     std::pair{"Impozit pe cladiri", a.debit}})
            if (amount)
                exec("INSERT INTO \"%1\" (IDCHIT, IDGOS, IDANUL, SERIA, NR, DATAI, SATUL, ROL, GRUPA, NUMEP, PLATNUME, "
                     "INCANUME, CURENT, TOTAL, TIP) VALUES (?, ?, ?, 'AB', ?, ?, 'CORBU', '1', ?, 'POPESCU ION', "
                     "'POPESCU ION', ?, ?, ?, 'C')",
                     "Chitante.dbf", {p.idchit, role, p.idanul, number, day, group, cashier, amount, amount});
        return p;
    }

    /// A collection without a debit: one line, IDGOS and IDANUL -1.
    qint64 payWithoutDebit(qint64 amount, const QString& cashier = QStringLiteral("ANA")) {
        const qint64 idchit = counters().NextId("SERVER", "IDCHIT").toLongLong();
        exec("INSERT INTO \"%1\" (IDCHIT, IDGOS, IDANUL, SERIA, NR, DATAI, GRUPA, NUMEP, PLATNUME, INCANUME, CURENT, "
             "TOTAL, TIP) VALUES (?, -1, -1, 'AB', 7, ?, 'Taxa copiere', 'ION', 'ION', ?, ?, ?, 'C')",
             "Chitante.dbf", {idchit, QDate(2015, 2, 1), cashier, amount, amount});
        return idchit;
    }

    qint64 value(const char* file, const char* field, const char* key, qint64 id) {
        return db().scalar(QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3 = ?")
                               .arg(QLatin1String(field), path(QLatin1String(file)), QLatin1String(key)),
                           {id})
            .toLongLong();
    }
    int count(const char* file, const QString& where = QStringLiteral("1 = 1")) {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE %2").arg(path(QLatin1String(file)), where)).toInt();
    }

    qint64 role = 0;
    qint64 taxId = 0, feeId = 0, debitId = 0;

private:
    void exec(const char* sql, const char* file, const QVariantList& params) {
        db().exec(QString::fromLatin1(sql).arg(path(QLatin1String(file))), params);
    }
    void snapshot(const char* undo, const char* columns, const char* table, const char* key, qint64 id, qint64 idanul) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDANUL, IDGOS, %2) SELECT ?, IDGOS, %2 FROM \"%3\" WHERE %4 = ?")
                      .arg(path(QLatin1String(undo)), QLatin1String(columns), path(QLatin1String(table)),
                           QLatin1String(key)),
                  {idanul, id});
    }
    qint64 id(const char* file, const char* key) {
        return db().scalar(QStringLiteral("SELECT MAX(%1) FROM \"%2\" WHERE IDGOS = ?")
                               .arg(QLatin1String(key), path(QLatin1String(file))),
                           {role})
            .toLongLong();
    }
};

} // namespace vartesa::test
