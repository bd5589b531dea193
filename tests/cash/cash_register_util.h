#pragma once
// A data folder with hand-made receipt lines and manual register rows, for the cash register
// and its summaries.

#include "roles/role_test_util.h"

#include "cash/cash_register.h"

#include <QDate>

namespace vartesa::test {

/// One line of Chitante.dbf.
struct Line {
    qint64 idchit;
    QString kind, series;
    qint64 number;
    QDate day;
    QString cashier, group, code, personType;
    qint64 arrears = 0, arrearsPenalty = 0, current = 0, reduction = 0, penalty = 0, total = 0;
    QString role = "12", name = "ION";
};

class RegisterFolder : public RoleFolder {
public:
    RegisterFolder() {
        env.services().user = "ANA";
        env.services().grade = UserGrade::Admin;
    }
    void line(const Line& l) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, TIP, SERIA, NR, DATAI, SATUL, ROL, GRUPA, CODCLAS, "
                                 "NUMEP, TIPF, INCANUME, RESTANTA, MAJOREST, CURENT, REDUCERE, MAJOR, DEPOZIT, TOTAL) "
                                 "VALUES (?, 1, ?, ?, ?, ?, 'CORBU', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?)")
                      .arg(path("Chitante.dbf")),
                  {l.idchit, l.kind, l.series, l.number, l.day, l.role, l.group, l.code, l.name, l.personType, l.cashier,
                   l.arrears, l.arrearsPenalty, l.current, l.reduction, l.penalty, l.total});
    }
    /// A receipt ("C") or, for a negative total, a payment order ("O") of one current amount.
    void receipt(qint64 id, const QDate& day, const QString& cashier, qint64 total) {
        line({id, total < 0 ? "O" : "C", "AB", id, day, cashier, "Impozit pe cladiri", "070201", "F", 0, 0, total, 0, 0,
              total});
    }
    void manual(qint64 id, const QDate& day, const QString& cashier, qint64 paid, qint64 collected,
                const QString& document = "Dispozitie plata") {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDRC, DATAI, DOCJUS, INCANUME, PLATIT, INCASAT) VALUES (?, ?, ?, ?, ?, ?)")
                      .arg(path("RegCasa.dbf")),
                  {id, day, document, cashier, paid, collected});
    }
    CashRegister opened() {
        CashRegister r(env.services());
        r.Open();
        return r;
    }
};

} // namespace vartesa::test
