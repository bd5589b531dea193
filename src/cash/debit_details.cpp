#include "cash/debit_details.h"

#include "db/database.h"
#include "db/query.h"
#include "shell/text_helpers.h"

#include <algorithm>

namespace vartesa {

namespace {

const QString kNoUnit = QStringLiteral("-");

QString text(const db::Query& q, const char* field) { return q.text(QLatin1String(field)).trimmed(); }
std::int64_t whole(const db::Query& q, const char* field) { return q.integer(QLatin1String(field)); }

// Ledger lines with an amount established; a line without a quantity counts one piece.
void addLedgerLines(db::Database& db, const QString& folder, qint64 idgos, std::vector<DebitDetail>& out) {
    db::Query q = db.query(QStringLiteral("SELECT DINDATA, GRUPA, DENUM, DOCJUS, NR, SUMA2, RESTINI, CANT, UM "
                                          "FROM \"%1/Datorii.dbf\" WHERE IDGOS = ? AND (SUMA2 <> 0 OR RESTINI <> 0)")
                               .arg(folder),
                           {idgos});
    for (q.first(); !q.eof(); q.next()) {
        DebitDetail d{q.date(QStringLiteral("DINDATA")), text(q, "GRUPA"), text(q, "DENUM"), text(q, "DOCJUS"),
                      whole(q, "NR"), whole(q, "SUMA2"), whole(q, "RESTINI"), q.currency(QStringLiteral("CANT")),
                      text(q, "UM")};
        if (d.quantity == Currency()) d.quantity = Currency::lei(1);
        out.push_back(std::move(d));
    }
}

// Debits of the year: the amount raised and the quantity of the first field they describe.
void addYearDebits(db::Database& db, const QString& folder, qint64 idgos, std::vector<DebitDetail>& out) {
    db::Query q = db.query(QStringLiteral("SELECT DINDATA, GRUPA, DENUM, DOCJUS, NR, SUMAINI, VAL1 FROM \"%1/Debit.dbf\" "
                                          "WHERE IDGOS = ?")
                               .arg(folder),
                           {idgos});
    for (q.first(); !q.eof(); q.next())
        out.push_back({q.date(QStringLiteral("DINDATA")), text(q, "GRUPA"), text(q, "DENUM"), text(q, "DOCJUS"),
                       whole(q, "NR"), whole(q, "SUMAINI"), 0, Currency::parse(text(q, "VAL1")).value_or(Currency()),
                       kNoUnit});
}

// Rows without a unit get the unit of their tax: square metres for buildings, hectares for
// land, pieces for everything else.
void nameUnits(std::vector<DebitDetail>& rows) {
    for (DebitDetail& d : rows) {
        if (d.unit != kNoUnit) continue;
        switch (GroupIndex(d.group)) {
        case 1: d.unit = QStringLiteral("mp"); break;
        case 2:
        case 3: d.unit = QStringLiteral("ha"); break;
        default: d.unit = QStringLiteral("buc"); break;
        }
    }
}

void addCarriedArrears(db::Database& db, const QString& folder, qint64 idgos, int year, std::vector<DebitDetail>& out) {
    db::Query q = db.query(QStringLiteral("SELECT GRUPA, COALESCE(DATORI, 0) - COALESCE(DEPOZI, 0) - COALESCE(SCUTIRE, 0) "
                                          "AS RAMAS FROM \"%1/SoldCalc.dbf\" WHERE IDGOS = ?")
                               .arg(folder),
                           {idgos});
    for (q.first(); !q.eof(); q.next()) {
        const std::int64_t left = whole(q, "RAMAS");
        if (left != 0)
            out.push_back({QDate(year, 1, 1), text(q, "GRUPA"), kCarriedArrearsName, {}, 0, 0, left, Currency::lei(1),
                           kNoUnit});
    }
}

} // namespace

std::vector<DebitDetail> BuildDebitDetails(db::Database& db, const QString& dataFolder, qint64 idgos, int year) {
    std::vector<DebitDetail> rows;
    addLedgerLines(db, dataFolder, idgos, rows);
    addYearDebits(db, dataFolder, idgos, rows);
    nameUnits(rows);
    addCarriedArrears(db, dataFolder, idgos, year, rows);
    std::stable_sort(rows.begin(), rows.end(), [](const DebitDetail& a, const DebitDetail& b) {
        if (a.group != b.group) return a.group < b.group;
        if (a.name != b.name) return a.name < b.name;
        return a.from < b.from; // an empty date comes first, as in the table's order
    });
    return rows;
}

} // namespace vartesa
