#include "synthetic_accounts.h"

#include "books/receipts.h"
#include "db/dbf_format.h"
#include "db/file_io.h"
#include "shell/catalog.h"
#include "shell/table_files.h"

#include <QDate>
#include <QVariantMap>

namespace vartesa::bench {
namespace {

const char* const kTaxes[] = {"Impozit pe cladiri", "Impozit pe teren intravilan", "Impozit pe teren extravilan",
                              "Impozit pe mijloace de transport"};

// Writes a catalog table from a row generator giving values by field name.
template <typename RowFn>
void writeCatalogTable(const QString& folder, const QString& file, int rows, RowFn row) {
    const QString path = folder + '/' + file;
    db::Layout l = db::makeLayout(CatalogTable(file).fields, path);
    l.recordCount = std::uint32_t(rows);
    QByteArray out = db::buildHeader(l);
    out.reserve(l.headerLength + qsizetype(rows) * l.recordLength + 1);
    QByteArray rec(l.recordLength, ' ');
    for (int r = 0; r < rows; ++r) {
        rec.fill(' ');
        const QVariantMap values = row(r);
        for (const db::Field& f : l.fields)
            if (values.contains(f.name)) db::encodeField(f, values.value(f.name), rec.data() + f.offset, path);
        out += rec;
    }
    out += db::kEndMarker;
    db::replaceFile(path, out);
}

} // namespace

void writeSyntheticAccounts(const QString& folder, const CommuneSize& size) {
    writeCatalogTable(folder, tables::Balances, size.roles * 4, [](int r) {
        const int role = r / 4 + 1;
        const int amount = (r * 53) % 700 + 20;
        return QVariantMap{{"IDRES", r + 1}, {"IDGOS", role}, {"GRUPA", kTaxes[r % 4]}, {"SUMA", amount},
                           {"REST", amount / 2}, {"REDUC", amount / 10}, {"SCUTIRE", 0}, {"DATOR", r % 7 * 40},
                           {"DEPOZ", r % 11 == 0 ? 90 : 0}, {"MAJOR", r % 5 * 3}, {"DATORI", r % 7 * 40},
                           {"DEPOZI", r % 11 == 0 ? 90 : 0}, {"MAJORI", r % 5 * 3}, {"TIP", "A"}};
    });
    const char* const kinds[] = {"Cumparare", "Vanzare", "Majorare", "Taxa", "Reducere"};
    writeCatalogTable(folder, tables::Debits, size.roles / 5, [&](int r) {
        const QDate from = QDate(2015, 1, 10).addDays(r % 300);
        const int sign = r % 5 == 1 || r % 5 == 4 ? -1 : 1;
        return QVariantMap{{"IDDEB", r + 1},    {"IDGOS", r * 5 + 1},  {"GRUPA", kTaxes[r % 4]},
                           {"CATEG", kinds[r % 5]}, {"DENUM", "Cladiri"}, {"DINDATA", from},
                           {"PENDATA", QDate(from.year(), from.month(), 1)}, {"SUMAINI", sign * (r % 300 + 10)},
                           {"SUMAC", sign * (r % 300 + 10)}, {"VAL1", "100"}};
    });
    writeCatalogTable(folder, tables::Receipts, size.roles * 2, [](int r) {
        using C = ReceiptLineColumns;
        const int role = r / 2 + 1;
        const bool reduced = r % 2 == 0 && role % 3 == 0;
        return QVariantMap{{C::id, r + 1}, {C::role, role}, {C::operation, r + 1}, {C::series, "VZ"}, {C::number, r + 1},
                           {C::date, QDate(2015, 2, 1).addDays(r % 200)}, {C::group, kTaxes[r % 4]},
                           {C::current, 50}, {C::reduction, reduced ? 5 : 0}, {C::total, reduced ? 45 : 50}, {C::kind, "C"}};
    });
}

} // namespace vartesa::bench
