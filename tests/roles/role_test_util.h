#pragma once
// A data folder with every table of the catalog and a few roles, for the register tests.

#include "db/database.h"
#include "db/error.h"
#include "roles/role_register.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "support/scripted_services.h"

#include <QFile>

#include <memory>

namespace vartesa::test {

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// Every catalog table created empty in the data folder of a TestServices.
class RoleFolder {
public:
    RoleFolder() : roles(env.services().database(), env.folders().data) {
        for (const TableLayout& t : TableCatalog()) CreateTable(db(), path(t.file), t);
    }
    db::Database& db() { return env.services().database(); }
    QString path(const QString& file) const { return env.folders().data + '/' + file; }
    CountersFile counters() { return env.services().counters(); }

    /// Adds a role through the register; returns its IDGOS.
    qint64 add(const QString& village, const QString& number, const QString& name, const QString& code = {}) {
        Role r;
        r.village = village;
        r.number = number;
        r.name = name;
        r.code = code;
        CountersFile c = counters();
        return roles.addRole(r, c, defaults);
    }
    /// A debt line, a balance row and a receipt line of a role, as the other screens write them.
    void addMoneyRows(qint64 id, const QString& village, const QString& number) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, SATUL, ROL, SUMA) VALUES (?, ?, ?, ?, 100)")
                      .arg(path("Datorii.dbf")), {id * 10, id, village, number});
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDRES, IDGOS, SATUL, ROL, SUMA) VALUES (?, ?, ?, ?, 100)")
                      .arg(path("SoldCalc.dbf")), {id * 10, id, village, number});
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, SATUL, ROL, TOTAL) VALUES (?, ?, ?, ?, 50)")
                      .arg(path("Chitante.dbf")), {id * 10, id, village, number});
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDANUL, IDGOS, IDDAT) VALUES (?, ?, ?)").arg(path("UndelDat.dbf")),
                  {id, id, id * 10});
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDANUL, IDGOS, IDRES) VALUES (?, ?, ?)").arg(path("UndelSold.dbf")),
                  {id, id, id * 10});
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, IDDETA, Marca) VALUES (?, ?, 'DACIA')").arg(path("AutoDet.dbf")),
                  {id, id});
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, SUMAINI) VALUES (?, ?, 10)").arg(path("Debit.dbf")),
                  {id, id});
    }
    /// Rows of a table that belong to role `id`.
    int rowsOf(const QString& file, qint64 id) {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE IDGOS = ?").arg(path(file)), {id}).toInt();
    }

    TestServices env;
    RoleRegister roles;
    BlankPageDefaults defaults{QStringLiteral("B"), QStringLiteral("III"), QDate(2015, 1, 1)};
};

/// Progress that fails the operation (as a locked table would) at its `failAt`-th step.
class FailingProgress final : public Progress {
public:
    explicit FailingProgress(int failAt) : failAt_(failAt) {}
    void Arata(const QString&) override {}
    void Describe(const QString&) override {}
    void SetMaximum(int) override {}
    void Step(int) override {
        if (++steps_ == failAt_) throw Error(QStringLiteral("Tabela blocata"));
    }
    void Distruge() override {}

private:
    int failAt_;
    int steps_ = 0;
};

} // namespace vartesa::test
