#pragma once
// A data folder with a role, its balances, a fee line and a debit, and payments stored on
// them by the payment operation, for the receipt history and the cancellation.

#include "payment_test_util.h"

#include "shell/counters.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vartesa::test {

/// The file's bytes with the header's date of last update and change counter blanked: the
/// engine bumps them on every write, whatever the records hold.
inline QByteArray recordBytes(const QString& path) {
    QByteArray b = fileBytes(path);
    for (int i : {1, 2, 3, 20, 21, 22, 23, 24, 25, 26, 27})
        if (i < b.size()) b[i] = 0;
    return b;
}

class HistoryFolder : public PayFolder {
public:
    HistoryFolder() {
        env.services().user = QStringLiteral("ANA");
        env.services().grade = UserGrade::Admin;
        CountersFile c = counters();
        c.WriteCounter(QStringLiteral("ANA"), QStringLiteral("SERIA"), QStringLiteral("AB"));
        BudgetCodes codes(db(), env.folders().data, c);
        codes.add(QStringLiteral("Taxa copiere"), QStringLiteral("RO11FIZ"), QStringLiteral("RO22JUR"));
        role = addRole(QStringLiteral("POPESCU ION"));
        balance(role, {QStringLiteral("Impozit pe cladiri"), 200, 200, 0, 0, 50, 0, 10});
        ledgerLine(role, QStringLiteral("Salubritate"), 100, 30);
        debit(role, QStringLiteral("CLADIRI"), QDate(2015, 1, 10), 80);
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

    /// A receipt stored by the payment operation, from the amounts typed on the first row of
    /// each grid of the role's account as of `day`.
    Paid pay(const Amounts& a, const QDate& day, const QString& cashier = QStringLiteral("ANA")) {
        std::vector<Typed> typed;
        if (a.tax) typed.push_back({AccountGrid::Taxes, 0, a.tax});
        if (a.fee) typed.push_back({AccountGrid::Claims, 0, a.fee});
        if (a.debit) typed.push_back({AccountGrid::Debits, 0, a.debit});
        const StoredPayment s = store(prepare(role, day, typed), day, cashier);
        EXPECT_TRUE(s.refusal.isEmpty()) << s.refusal.toStdString();
        return {s.idchit, s.idanul};
    }

    /// A collection without a debit: one line, IDGOS and IDANUL -1.
    qint64 payWithoutDebit(qint64 amount, const QString& cashier = QStringLiteral("ANA")) {
        const qint64 idchit = counters().NextId("SERVER", "IDCHIT").toLongLong();
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, IDANUL, SERIA, NR, DATAI, GRUPA, NUMEP, PLATNUME, INCANUME, CURENT, "
             "TOTAL, TIP) VALUES (?, -1, -1, 'AB', 7, ?, 'Taxa copiere', 'ION', 'ION', ?, ?, ?, 'C')")
                      .arg(path("Chitante.dbf")),
                  {idchit, QDate(2015, 2, 1), cashier, amount, amount});
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
    qint64 id(const char* file, const char* key) {
        return db().scalar(QStringLiteral("SELECT MAX(%1) FROM \"%2\" WHERE IDGOS = ?")
                               .arg(QLatin1String(key), path(QLatin1String(file))),
                           {role})
            .toLongLong();
    }
};

} // namespace vartesa::test
