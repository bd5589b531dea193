#include "cash/cancelled_receipts.h"

#include "db/database.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace vartesa {

namespace {

QString kindAbbreviation(QChar letter) {
    switch (letter.unicode()) {
    case 'C': return QStringLiteral("Chit.");
    case 'N': return QStringLiteral("N.C.");
    case 'O': return QStringLiteral("O.P.");
    default: return letter == QChar(' ') ? QString() : QString(letter);
    }
}

QString documentText(const ReceiptLine& l) {
    return kindAbbreviation(l.letter) + l.series + QStringLiteral(" nr.") + QString::number(l.number) +
           QStringLiteral(" / ") + l.date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

std::vector<CancelledDocument> ReadCancelledDocuments(db::Database& db, const QString& dataFolder) {
    const std::vector<ReceiptLine> lines = ReadAllLines(db, CancelledReceiptsTable(dataFolder));
    using Key = std::tuple<qint64, QChar, QString, qint64, QDate, QString, QString, QString, QString>;
    std::map<Key, CancelledDocument> grouped;
    for (const ReceiptLine& l : lines) {
        const Key key{l.idchit, l.letter, l.series, l.number, l.date, l.village, l.rol, l.taxpayer, l.cashier};
        auto [it, fresh] = grouped.try_emplace(key);
        if (fresh) it->second = {l.idchit, l.rol, l.village, documentText(l).left(50), 0, l.taxpayer, l.cashier, l.date};
        it->second.sum += l.total;
    }
    std::vector<CancelledDocument> out;
    for (auto& [key, d] : grouped) out.push_back(d);
    std::stable_sort(out.begin(), out.end(), [](const CancelledDocument& a, const CancelledDocument& b) {
        return std::tie(a.date, a.idchit) < std::tie(b.date, b.idchit);
    });
    return out;
}

std::vector<ReceiptLine> CancelledLines(db::Database& db, const QString& dataFolder, qint64 idchit) {
    return ReadDocumentLines(db, CancelledReceiptsTable(dataFolder), idchit);
}

void SortCancelled(std::vector<CancelledDocument>& documents, CancelledColumn column) {
    auto key = [column](const CancelledDocument& d) -> QString {
        switch (column) {
        case CancelledColumn::Document: return d.document;
        case CancelledColumn::Village: return d.village;
        case CancelledColumn::Rol: return d.rol;
        case CancelledColumn::Taxpayer: return d.taxpayer;
        case CancelledColumn::Cashier: return d.cashier;
        case CancelledColumn::Sum: break;
        }
        return {};
    };
    std::stable_sort(documents.begin(), documents.end(), [&](const CancelledDocument& a, const CancelledDocument& b) {
        if (column == CancelledColumn::Sum) return a.sum < b.sum;
        return key(a) < key(b);
    });
}

ReportRows CancelledReceiptsReport(const std::vector<CancelledDocument>& documents, const QString& townHall) {
    ReportRows r;
    r.title = QStringLiteral("CENTRALIZATOR CHITANTE ANULATE");
    r.heading = QStringLiteral("Primaria ") + townHall;
    r.columns = {QStringLiteral("Nr. crt."), QStringLiteral("Document justificativ"), QStringLiteral("Operator"),
                 QStringLiteral("Titular"), QStringLiteral("Suma"), QStringLiteral("ROL"),
                 QStringLiteral("Localitatea")};
    int n = 0;
    for (const CancelledDocument& d : documents)
        r.rows.push_back({QString::number(++n), d.document, d.cashier, d.taxpayer, QString::number(d.sum), d.rol,
                          d.village});
    return r;
}

} // namespace vartesa
