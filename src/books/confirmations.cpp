// Confirm.dbf: the register of debit receipt confirmations.

#include "books/confirmations.h"

#include "books/stored_fields.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

#include <QStringList>

namespace vartesa {

namespace {

const QStringList& columns() {
    static const QStringList c{"IDCONF", "IDGOS",    "NRCONF",  "DATACONF", "BORDNR", "BORDATA",
                               "ROL",    "CODCL",    "NUMEDEST", "ADRDEST", "LOCDEST", "ADRNR",
                               "ADRDATA", "SUMA",    "NATCL",   "NUMEP",    "ADRESA", "SATUL"};
    return c;
}

QString table(const QString& dataFolder) { return dataFolder + '/' + tables::Confirmations; }

ConfirmationRecord recordOf(const StoredFields& f) {
    ConfirmationRecord r;
    r.id = f.whole("IDCONF");
    r.roleId = f.whole("IDGOS");
    r.number = f.whole("NRCONF");
    r.date = f.date("DATACONF");
    r.listNumber = f.whole("BORDNR");
    r.listDate = f.date("BORDATA");
    r.rol = f.text("ROL").trimmed();
    r.code = f.text("CODCL").trimmed();
    r.senderName = f.text("NUMEDEST").trimmed();
    r.senderAddress = f.text("ADRDEST").trimmed();
    r.senderLocality = f.text("LOCDEST").trimmed();
    r.addressNumber = f.whole("ADRNR");
    r.addressDate = f.date("ADRDATA");
    r.amount = f.whole("SUMA");
    r.nature = f.text("NATCL").trimmed();
    r.name = f.text("NUMEP").trimmed();
    r.address = f.text("ADRESA").trimmed();
    r.village = f.text("SATUL").trimmed();
    return r;
}

std::vector<ConfirmationRecord> read(db::Database& db, const QString& sql, const QVariantList& params) {
    const db::Query q = db.query(sql, params);
    std::vector<ConfirmationRecord> out;
    out.reserve(size_t(q.count()));
    for (int r = 0; r < q.count(); ++r) out.push_back(recordOf(StoredFields(q, r)));
    return out;
}

} // namespace

std::vector<ConfirmationRecord> ReadConfirmations(db::Database& db, const QString& dataFolder, const QString& rol,
                                                  const QString& name) {
    if (!db.tableExists(table(dataFolder))) return {};
    QStringList where;
    QVariantList params;
    if (!rol.trimmed().isEmpty()) {
        where << QStringLiteral("UPPER(TRIM(ROL)) = UPPER(?)");
        params << rol.trimmed();
    }
    if (!name.trimmed().isEmpty()) {
        where << QStringLiteral("UPPER(SUBSTR(TRIM(NUMEP), 1, LENGTH(?))) = UPPER(?)");
        params << name.trimmed() << name.trimmed();
    }
    return read(db,
                QStringLiteral("SELECT %1 FROM \"%2\"%3 ORDER BY DATACONF, NRCONF, IDCONF")
                    .arg(columns().join(", "), table(dataFolder),
                         where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "))),
                params);
}

ConfirmationRecord ReadConfirmation(db::Database& db, const QString& dataFolder, qint64 id) {
    if (!db.tableExists(table(dataFolder))) return {};
    const auto rows =
        read(db, QStringLiteral("SELECT %1 FROM \"%2\" WHERE IDCONF = ?").arg(columns().join(", "), table(dataFolder)),
             {id});
    return rows.empty() ? ConfirmationRecord{} : rows.front();
}

void InsertConfirmation(db::Database& db, const QString& dataFolder, const ConfirmationRecord& r) {
    using W = ConfirmationWidths;
    auto cut = [](const QString& text, int width) { return text.left(width); };
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(table(dataFolder), columns().join(", ")),
            {r.id, r.roleId, r.number, r.date, r.listNumber, r.listDate, cut(r.rol, W::rol), cut(r.code, W::code),
             cut(r.senderName, W::senderName), cut(r.senderAddress, W::senderAddress),
             cut(r.senderLocality, W::senderLocality), r.addressNumber, r.addressDate, qint64(r.amount),
             cut(r.nature, W::nature), cut(r.name, W::name), cut(r.address, W::address), cut(r.village, W::village)});
}

void DeleteConfirmation(db::Database& db, const QString& dataFolder, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDCONF = ?").arg(table(dataFolder)), {id});
}

} // namespace vartesa
