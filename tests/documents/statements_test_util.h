#pragma once
// A data folder for the debit statements: roles, ledger lines entered by hand and year debits,
// written row by row as the tests need them.

#include "db/database.h"
#include "documents/debit_statement_lists.h"
#include "shell/catalog.h"
#include "shell/table_files.h"
#include "support/scripted_services.h"

namespace vartesa::test {

inline const QDate kFrom(2015, 1, 1), kTo(2015, 12, 31), kDay(2015, 3, 10);
inline const QString kBuildings = QStringLiteral("Impozit pe cladiri"), kFines = QStringLiteral("Amenzi");

// A data folder with roles, hand-entered ledger lines and year debits.
class StatementFolder {
public:
    StatementFolder() {
        for (const QString& file : {tables::Roles, tables::Ledger, tables::Debits})
            CreateTable(db(), path(file), CatalogTable(file));
    }
    db::Database& db() { return env.services().database(); }
    QString path(const QString& file) const { return env.folders().data + '/' + file; }
    Services& s() { return env.services(); }

    qint64 role(const QString& name, const QString& rol) {
        const qint64 id = ++lastId_;
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, ROL, NUMEP, ADRESA) VALUES (?, ?, ?, 'Str. Mare')")
                      .arg(path(tables::Roles)),
                  {id, rol, name});
        return id;
    }
    /// A ledger line entered by hand; `nr` null leaves NR empty.
    void line(qint64 role, const QString& group, const QDate& day, const QVariant& nr, qint64 charged, qint64 reduced = 0,
              qint64 arrears = 0) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, GRUPA, DINDATA, NR, TIP, SUMA2, RESTINI, REDUC) "
                                 "VALUES (?, ?, ?, ?, ?, 'M', ?, ?, ?)")
                      .arg(path(tables::Ledger)),
                  {++lastId_, role, group, day, nr, charged, arrears, reduced});
    }
    void debit(qint64 role, const QString& group, const QDate& day, const QVariant& nr, qint64 amount) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, GRUPA, DINDATA, NR, SUMAINI) VALUES (?, ?, ?, ?, ?, ?)")
                      .arg(path(tables::Debits)),
                  {++lastId_, role, group, day, nr, amount});
    }
    CellList list(const QString& kind, qint64 number, const QDate& from = kFrom, const QDate& to = kTo) {
        return StatementList(s(), kind, number, {from, to});
    }

    TestServices env;

private:
    qint64 lastId_ = 0;
};

} // namespace vartesa::test
