#include "cash/receipt_numbers.h"

#include "books/receipts.h"
#include "db/database.h"
#include "db/error.h"
#include "shell/counters.h"

namespace vartesa {

qint64 ReadNumberCounter(const CountersFile& counters, const NumberSeries& series) {
    const QString text = counters.ReadCounter(series.section, series.key, QStringLiteral("1")).trimmed();
    bool ok = false;
    qint64 number = text.toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' nu este o valoare intreaga valida (contorul %2)").arg(text, series.key),
                    counters.path());
    return number;
}

qint64 NextFreeNumber(db::Database& db, const QString& dataFolder, const CountersFile& counters,
                      const NumberSeries& series) {
    qint64 number = ReadNumberCounter(counters, series);
    const QString table = ReceiptsTable(dataFolder);
    if (!db.tableExists(table)) return number;
    IndexDocumentNumbers(db, table);
    while (FindNumberedDocument(db, table, series.series, number)) ++number;
    return number;
}

void LockDocumentNumbers(db::Database& db, const QString& dataFolder) {
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 = %2 WHERE 0 = 1").arg(ReceiptsTable(dataFolder), ReceiptLineColumns::number));
}

void KeepNumber(CountersFile& counters, const NumberSeries& series, qint64 number) {
    counters.RaiseCounter(series.section, series.key, number + 1);
}

} // namespace vartesa
