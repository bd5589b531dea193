#include "cash/receipt_history.h"

#include "db/database.h"
#include "db/query.h"
#include "admin/budget_codes.h"
#include "shell/startup.h"

#include <QSet>

#include <algorithm>
#include <map>
#include <tuple>

namespace vartesa {

namespace {

// Documents dated before this day (1000 days after 30.12.1899) are left out of the list:
// lines without a real date.
const QDate kFirstListedDay(1902, 9, 26);

QString text(const db::Query& q, const char* field) { return q.text(QLatin1String(field)).trimmed(); }
qint64 whole(const db::Query& q, const char* field) { return q.integer(QLatin1String(field)); }

ReceiptLine lineFrom(const db::Query& q) {
    ReceiptLine l;
    l.idchit = whole(q, "IDCHIT");
    l.idgos = q.isNull(QStringLiteral("IDGOS")) ? kNoDebit : whole(q, "IDGOS");
    l.idanul = q.hasField(QStringLiteral("IDANUL")) ? whole(q, "IDANUL") : 0;
    l.series = text(q, "SERIA");
    l.number = whole(q, "NR");
    l.date = q.date(QStringLiteral("DATAI"));
    l.village = text(q, "SATUL");
    l.rol = text(q, "ROL");
    l.group = text(q, "GRUPA");
    l.name = text(q, "DENUM");
    l.code = text(q, "CODCLAS");
    l.taxpayer = text(q, "NUMEP");
    l.cnp = text(q, "CNP");
    l.address = text(q, "ADRESA");
    l.personType = text(q, "TIPF");
    l.payer = text(q, "PLATNUME");
    l.cashier = text(q, "INCANUME");
    l.badge = text(q, "LEGITIMA");
    l.arrears = whole(q, "RESTANTA");
    l.carried = whole(q, "MAJOREST");
    l.credit = whole(q, "DEPOZIT");
    l.current = whole(q, "CURENT");
    l.penalties = whole(q, "MAJOR");
    l.reduction = whole(q, "REDUCERE");
    l.total = whole(q, "TOTAL");
    const QString letter = text(q, "TIP");
    l.letter = letter.isEmpty() ? QChar(' ') : letter.at(0);
    return l;
}

QStringList withAny(QStringList values) {
    values.removeAll(QString());
    values.removeDuplicates();
    std::sort(values.begin(), values.end());
    values.prepend(kAnyValue);
    return values;
}

} // namespace

QString DocumentKindName(QChar letter) {
    switch (letter.unicode()) {
    case 'C': return QStringLiteral("Chitanta");
    case 'N': return QStringLiteral("Nota contabila");
    case 'O': return QStringLiteral("Ordin de plata");
    case 'V': return QStringLiteral("Virament");
    default: return QStringLiteral("???");
    }
}

std::vector<ReceiptLine> ReadReceiptLines(db::Database& db, const QString& table, const QString& where,
                                          const QVariantList& params) {
    db::Query q = db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE %2 ORDER BY rowid").arg(table, where), params);
    std::vector<ReceiptLine> out;
    out.reserve(size_t(q.count()));
    for (q.first(); !q.eof(); q.next()) out.push_back(lineFrom(q));
    return out;
}

ReceiptHistory::ReceiptHistory(db::Database& db, const QString& dataFolder, qint64 role)
    : db_(db), table_(dataFolder + QStringLiteral("/Chitante.dbf")), role_(role) {}

void ReceiptHistory::load() {
    lines_ = role_ == kNoDebit ? ReadReceiptLines(db_, table_, QStringLiteral("IDGOS IS NULL OR IDGOS = -1"), {})
                               : ReadReceiptLines(db_, table_, QStringLiteral("IDGOS = ?"), {role_});
}

QStringList ReceiptHistory::payers() const {
    QStringList all;
    for (const ReceiptLine& l : lines_) all << l.payer;
    return withAny(all);
}

QStringList ReceiptHistory::cashiers() const {
    QStringList all;
    for (const ReceiptLine& l : lines_) all << l.cashier;
    return withAny(all);
}

std::vector<HistoryDocument> ReceiptHistory::documents(const QString& payer, const QString& cashier) const {
    using Key = std::tuple<qint64, qint64, QString, qint64, QChar, QString, QString>;
    std::map<Key, HistoryDocument> grouped;
    for (const ReceiptLine& l : lines_) {
        if (payer != kAnyValue && l.payer != payer) continue;
        if (cashier != kAnyValue && l.cashier != cashier) continue;
        const Key key{l.idchit, l.idanul, l.series, l.number, l.letter, l.payer, l.cashier};
        auto [it, fresh] = grouped.try_emplace(key);
        HistoryDocument& d = it->second;
        if (fresh) d = {l.idchit, l.idanul, l.series, l.number, l.letter, l.payer, l.cashier, l.date, 0};
        if (l.date > d.date) d.date = l.date;
        d.sum += l.total;
    }
    std::vector<HistoryDocument> out;
    for (auto& [key, d] : grouped)
        if (d.date.isValid() && d.date >= kFirstListedDay) out.push_back(d);
    std::stable_sort(out.begin(), out.end(), [](const HistoryDocument& a, const HistoryDocument& b) {
        return std::tie(a.date, a.idchit) < std::tie(b.date, b.idchit);
    });
    return out;
}

std::vector<ReceiptLine> ReceiptHistory::lines(qint64 idchit) const {
    std::vector<ReceiptLine> out;
    for (const ReceiptLine& l : lines_)
        if (l.idchit == idchit) out.push_back(l);
    return out;
}

HistoryButtons HistoryButtonStates(const HistoryDocument* selected, bool changesAllowed, bool administrator) {
    HistoryButtons b;
    if (!selected) return b;
    const bool cancelled = selected->cancelled();
    b.deleteVisible = administrator && cancelled;
    b.modify = changesAllowed && !cancelled;
    b.cancel = !cancelled;
    b.print = true;
    return b;
}

std::optional<HistoryRefusal> YearLockRefusal(const CountersFile& counters) {
    if (!IsYearLocked(counters)) return std::nullopt;
    return HistoryRefusal{QStringLiteral("An inchis"), QStringLiteral("Nu mai puteti opera in anul trecut!")};
}

std::optional<QString> ModifyDocument(db::Database& db, const QString& dataFolder, qint64 idchit, const QDate& date,
                                      const QString& series, qint64 number) {
    if (number < 1) return kWrongNumber;
    db.exec(QStringLiteral("UPDATE \"%1/Chitante.dbf\" SET DATAI = ?, SERIA = ?, NR = ? WHERE IDCHIT = ?").arg(dataFolder),
            {date, series.left(10), number, idchit});
    return std::nullopt;
}

int DeleteCancelledDocument(db::Database& db, const QString& dataFolder, qint64 idchit) {
    return db.exec(QStringLiteral("DELETE FROM \"%1/Chitante.dbf\" WHERE IDCHIT = ? AND TRIM(PLATNUME) = ?").arg(dataFolder),
                   {idchit, kCancelledPayer});
}

} // namespace vartesa
