#include "budget_codes.h"

#include "books/receipts.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "admin/admin_catalog.h"
#include "shell/counters.h"
#include "shell/startup.h"
#include "shell/text_helpers.h"
#include "shell/table_files.h"

namespace vartesa {

const QStringList& StartingClaims() {
    static const QStringList claims = {
        "Impozit pe cladiri", "Impozit pe teren intravilan", "Impozit pe mijloace de transport",
        "Impozit pe teren extravilan", "Salubritate", "Concesionari", "Iluminat", "PSI", "Paza",
        "Taxa pe pasune", "Vehicule lente", "Auto neinmatriculate"};
    return claims;
}

BudgetCodes::BudgetCodes(db::Database& db, const QString& dataFolder, CountersFile& counters)
    : db_(db), dataFolder_(dataFolder), counters_(counters) {}

QString BudgetCodes::path() const { return dataFolder_ + '/' + tables::BudgetCodes; }

void BudgetCodes::EnsureCodesTable() {
    if (db_.tableExists(path())) return;
    db_.exec(QStringLiteral("CREATE TABLE \"%1\" (IDCOD DECIMAL(10,0), GRUPA CHAR(60), CODCLF CHAR(24), CODCLJ CHAR(24), "
                            "TIP CHAR(1) )")
                 .arg(path()));
    for (int i = 0; i < StartingClaims().size(); ++i)
        db_.exec(QStringLiteral("INSERT INTO \"%1\" (IDCOD, GRUPA, CODCLF, CODCLJ, TIP) VALUES (?, ?, '', '', ?)").arg(path()),
                 {counters_.NextId(QStringLiteral("SERVER"), QStringLiteral("IDCOD")).toLongLong(), StartingClaims()[i],
                  i < 4 ? "I" : "T"});
}

std::vector<BudgetCode> BudgetCodes::all() const {
    std::vector<BudgetCode> rows;
    db::Query q = db_.query(QStringLiteral("SELECT IDCOD, GRUPA, CODCLF, CODCLJ, TIP FROM \"%1\" ORDER BY TIP, GRUPA").arg(path()));
    for (q.first(); !q.eof(); q.next())
        rows.push_back({q.integer("IDCOD"), q.text("GRUPA"), q.text("CODCLF"), q.text("CODCLJ"), q.text("TIP")});
    return rows;
}

std::optional<BudgetCode> BudgetCodes::byId(qint64 id) const {
    for (const BudgetCode& c : all())
        if (c.id == id) return c;
    return std::nullopt;
}

std::optional<ClaimProblem> BudgetCodes::check(const QString& name, const QString& personAccount,
                                               const QString& companyAccount, qint64 editingId) const {
    using Field = ClaimProblem::Field;
    if (name.isEmpty()) return ClaimProblem{Field::Name, QStringLiteral("Lipseste denumirea creantei!")};
    if (personAccount.isEmpty()) return ClaimProblem{Field::PersonAccount, QStringLiteral("Lipseste contul!")};
    if (companyAccount.isEmpty()) return ClaimProblem{Field::CompanyAccount, QStringLiteral("Lipseste contul!")};
    if (personAccount.startsWith(QLatin1String("RO")) && !IsValidIban(personAccount))
        return ClaimProblem{Field::PersonAccount, QStringLiteral("Cont incorect!")};
    if (companyAccount.startsWith(QLatin1String("RO")) && !IsValidIban(companyAccount))
        return ClaimProblem{Field::CompanyAccount, QStringLiteral("Cont incorect!")};
    const QVariant other = db_.scalar(
        QStringLiteral("SELECT IDCOD FROM \"%1\" WHERE UPPER(GRUPA) = UPPER(?) AND IDCOD <> ?").arg(path()),
        {name, editingId});
    if (!other.isNull()) return ClaimProblem{Field::Name, QStringLiteral("Exista deja creanta in lista!!")};
    return std::nullopt;
}

qint64 BudgetCodes::add(const QString& name, const QString& personAccount, const QString& companyAccount) {
    const qint64 id = counters_.NextId(QStringLiteral("SERVER"), QStringLiteral("IDCOD")).toLongLong();
    db_.exec(QStringLiteral("INSERT INTO \"%1\" (IDCOD, GRUPA, CODCLF, CODCLJ, TIP) VALUES (?, ?, ?, ?, 'T')").arg(path()),
             {id, name, personAccount, companyAccount});
    return id;
}

void BudgetCodes::modify(qint64 id, const QString& personAccount, const QString& companyAccount) {
    const std::optional<BudgetCode> old = byId(id);
    if (!old) throw Error(QStringLiteral("Creanta nu mai exista in nomenclator"), path());
    const QString receipts = ReceiptsTable(dataFolder_);
    db::Transaction tx(db_);
    if (db_.tableExists(receipts)) {
        if (old->personAccount != personAccount)
            SetLinesCode(db_, receipts, old->group, QStringLiteral("F"), personAccount);
        if (old->companyAccount != companyAccount)
            SetLinesCode(db_, receipts, old->group, QStringLiteral("J"), companyAccount);
    }
    db_.exec(QStringLiteral("UPDATE \"%1\" SET CODCLF = ?, CODCLJ = ? WHERE IDCOD = ?").arg(path()),
             {personAccount, companyAccount, id});
    tx.commit();
}

void BudgetCodes::remove(qint64 id) {
    if (!canDelete(id)) throw Error(QStringLiteral("Nu aveti voie sa stergeti aceasta creanta!"), path());
    db_.exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDCOD = ?").arg(path()), {id});
}

std::map<QString, QString> GreatestAccounts(db::Database& db, const QString& dataFolder, bool naturalPerson) {
    const QString table = dataFolder + '/' + tables::BudgetCodes;
    std::map<QString, QString> accounts;
    if (!db.tableExists(table)) return accounts;
    const db::Query q = db.query(QStringLiteral("SELECT GRUPA, MAX(%1) FROM \"%2\" GROUP BY GRUPA")
                                     .arg(naturalPerson ? "CODCLF" : "CODCLJ", table));
    for (int r = 0; r < q.count(); ++r) accounts[q.cell(r, 0).toString().trimmed()] = q.cell(r, 1).toString().trimmed();
    return accounts;
}

} // namespace vartesa
