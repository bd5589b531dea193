#pragma once
// A data folder for the other lists of the documents menu: the role list folder with the
// year debits, the receipt lines, the vehicle details and the classification codes, and the
// raw lines these lists read (dates, arrears established).

#include "registers_test_util.h"

#include "books/receipts.h"
#include "db/query.h"

namespace vartesa::test {

class OtherListsFolder : public RoleListFolder {
public:
    OtherListsFolder() {
        for (const QString& file : {tables::Debits, tables::VehicleDetails})
            CreateTable(db(), path(file), CatalogTable(file));
        CreateReceiptsTable(db(), path(tables::Receipts));
        db().exec(QStringLiteral("CREATE TABLE \"%1\" (IDCOD DECIMAL(10,0), GRUPA CHAR(60), CODCLF CHAR(24), "
                                 "CODCLJ CHAR(24), TIP CHAR(1))")
                      .arg(path(tables::BudgetCodes)));
    }
    /// A ledger line dated `date`: SUMA2, RESTINI established, SUMA, REST still to pay.
    void dated(qint64 role, const QString& group, const QDate& date, qint64 suma2, qint64 restini,
               qint64 suma = 0, qint64 rest = 0, const QString& docjus = {}) {
        db::Query owner = db().query(
            QStringLiteral("SELECT SATUL, ROL FROM \"%1\" WHERE IDGOS = ?").arg(path(tables::Roles)), {role});
        owner.first();
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, SATUL, ROL, DINDATA, GRUPA, DENUM, DOCJUS, SUMA2, "
                                 "RESTINI, SUMA, REST) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(path(tables::Ledger)),
                  {++lastLine_, role, owner.text("SATUL"), owner.text("ROL"), date, group, group, docjus, suma2, restini,
                   suma, rest});
    }
    void claim(const QString& group, const QString& type) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCOD, GRUPA, TIP) VALUES (?, ?, ?)").arg(path(tables::BudgetCodes)),
                  {++lastLine_, group, type});
    }
    /// A debit of the year: a purchase or sale of land of `area` (VAL1).
    void landDebit(qint64 role, const QString& group, const QString& name, const QString& kind, const QDate& date,
                   const QString& area) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, GRUPA, DENUM, CATEG, DINDATA, DOCJUS, NR, VAL1) "
                                 "VALUES (?, ?, ?, ?, ?, ?, 'Contract', 7, ?)")
                      .arg(path(tables::Debits)),
                  {++lastLine_, role, group, name, kind, date, area});
    }
    void receipt(qint64 role, const QString& group, qint64 total) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, GRUPA, TOTAL) VALUES (?, ?, ?, ?)")
                      .arg(path(tables::Receipts)),
                  {++lastLine_, role, group, total});
    }

private:
    qint64 lastLine_ = 100000;
};

} // namespace vartesa::test
