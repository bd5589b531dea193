#include "cash/debit_details.h"

#include "books/balances.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "db/database.h"
#include "shell/text_helpers.h"

#include <algorithm>

namespace vartesa {

namespace {

const QString kNoUnit = QStringLiteral("-");

// VAL1 as stored.
QString firstValue(const YearDebit& d) { return d.object.pairs.empty() ? QString() : d.object.pairs.front().second; }

// Ledger lines with an amount established; a line without a quantity counts one piece.
void addLedgerLines(db::Database& db, const QString& folder, qint64 idgos, std::vector<DebitDetail>& out) {
    for (const LedgerLine& l : ReadLedgerLines(db, folder, idgos)) {
        if (l.established == 0 && l.arrearsEstablished == 0) continue;
        DebitDetail d{l.from,          l.group.trimmed(),       l.name.trimmed(), l.explanation.trimmed(),
                      l.docNumber,     l.established,           l.arrearsEstablished, l.quantity,
                      l.unit.trimmed()};
        if (d.quantity == Currency()) d.quantity = Currency::lei(1);
        out.push_back(std::move(d));
    }
}

// Debits of the year: the amount raised and the quantity of the first field they describe.
void addYearDebits(db::Database& db, const QString& folder, qint64 idgos, std::vector<DebitDetail>& out) {
    for (const YearDebit& d : ReadYearDebits(db, folder, idgos))
        out.push_back({d.from, d.tax.trimmed(), d.object.name.trimmed(), d.explanation.trimmed(), d.docNumber, d.amount,
                       0, Currency::parse(firstValue(d)).value_or(Currency()), kNoUnit});
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

// What each local tax carried in at the start of the year: arrears less credit and exemption.
void addCarriedArrears(db::Database& db, const QString& folder, qint64 idgos, int year, std::vector<DebitDetail>& out) {
    for (const BalanceRow& b : ReadBalanceRows(db, folder, idgos)) {
        const std::int64_t left = b.arrearsStart - b.creditStart - b.exempted;
        if (left != 0)
            out.push_back({QDate(year, 1, 1), b.group.trimmed(), kCarriedArrearsName, {}, 0, 0, left, Currency::lei(1),
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
