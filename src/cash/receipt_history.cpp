#include "cash/receipt_history.h"

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

ReceiptHistory::ReceiptHistory(db::Database& db, const QString& dataFolder, qint64 role)
    : db_(db), table_(ReceiptsTable(dataFolder)), role_(role) {}

void ReceiptHistory::load() {
    lines_ = ReadRoleLines(db_, table_, role_);
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

std::optional<QString> DocumentDateRefusal(const QDate& date) {
    if (date.isValid() && date.year() == WorkingYear().toInt()) return std::nullopt;
    return QStringLiteral("Data %1 nu este in anul %2!").arg(date.toString(QStringLiteral("dd.MM.yyyy")), WorkingYear());
}

std::optional<QString> ModifyDocument(db::Database& db, const QString& dataFolder, qint64 idchit, const QDate& date,
                                      const QString& series, qint64 number) {
    if (number < 1) return kWrongNumber;
    if (std::optional<QString> refusal = DocumentDateRefusal(date)) return refusal;
    RenumberDocument(db, ReceiptsTable(dataFolder), idchit, date, series, number);
    return std::nullopt;
}

int DeleteCancelledDocument(db::Database& db, const QString& dataFolder, qint64 idchit) {
    return DeleteCancelledLines(db, ReceiptsTable(dataFolder), idchit);
}

} // namespace vartesa
