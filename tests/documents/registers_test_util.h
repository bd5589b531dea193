#pragma once
// A data folder for the lists that start with the choice of roles: the roles, their page 2,
// their debt lines and their balances, written row by row as the tests need them.

#include "db/database.h"
#include "shell/catalog.h"
#include "shell/table_files.h"
#include "support/scripted_services.h"

#include <QHash>

namespace vartesa::test {

class RoleListFolder {
public:
    RoleListFolder() {
        for (const QString& file : {tables::Roles, tables::Ledger, tables::Balances, tables::Buildings})
            CreateTable(db(), path(file), CatalogTable(file));
    }
    db::Database& db() { return env.services().database(); }
    QString path(const QString& file) const { return env.folders().data + '/' + file; }

    /// A role; its IDGOS.
    qint64 role(const QString& village, const QString& number, const QString& name,
                const QString& type = QStringLiteral("FIZICA"), const QString& code = {}) {
        const qint64 id = ++lastId_;
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, SATUL, ROL, NUMEP, TIP, CNP) VALUES (?, ?, ?, ?, ?, ?)")
                      .arg(path(tables::Roles)),
                  {id, village, number, name, type, code});
        villages_[id] = {village, number};
        return id;
    }
    /// An assessed debt line of `role` (SUMA = SUMA2 = `tax`).
    void line(qint64 role, const QString& group, const QString& name, double quantity, qint64 tax,
              const QString& type = QStringLiteral("A")) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, SATUL, ROL, GRUPA, DENUM, CANT, SUMA, SUMA2, TIP, UM) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'buc')")
                      .arg(path(tables::Ledger)),
                  {++lastId_, role, villages_[role].first, villages_[role].second, group, name, quantity, tax, tax, type});
    }
    /// The balance SUMA of one tax of `role`.
    void balance(qint64 role, const QString& group, qint64 amount) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDRES, IDGOS, SATUL, ROL, GRUPA, SUMA) VALUES (?, ?, ?, ?, ?, ?)")
                      .arg(path(tables::Balances)),
                  {++lastId_, role, villages_[role].first, villages_[role].second, group, amount});
    }
    /// The page 2 row of `role`: field = value ("C1S" = 80, "CAC2" = 1 ...), the others 0.
    void buildings(qint64 role, const QHash<QString, double>& fields) {
        QStringList names{QStringLiteral("IDGOS")};
        QVariantList values{role};
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            names << it.key();
            values << it.value();
        }
        db().exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                      .arg(path(tables::Buildings), names.join(','), QStringList(names.size(), "?").join(',')),
                  values);
    }

    TestServices env;

private:
    qint64 lastId_ = 0;
    QHash<qint64, std::pair<QString, QString>> villages_; // IDGOS -> (SATUL, ROL)
};

} // namespace vartesa::test
