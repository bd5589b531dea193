#include "synthetic_commune.h"

#include "books/debits.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "db/dbf_format.h"
#include "db/file_io.h"
#include "shell/catalog.h"
#include "shell/table_files.h"

#include <QDate>
#include <QStringList>

namespace vartesa::bench {
namespace {

const QStringList kGroups = {"Impozit pe cladiri", "Impozit pe teren intravilan", "Impozit pe teren extravilan",
                             "Impozit pe mijloace de transport", "Taxa salubrizare", "Amenzi"};

// Writes a table of the catalog's layout from a row generator giving the values of `columns`
// in their order; fields the generator does not name stay empty.
template <typename RowFn>
void writeTable(const QString& folder, const QString& file, const QStringList& columns, int rows, RowFn row) {
    const QString path = folder + '/' + file;
    db::Layout l = db::makeLayout(CatalogTable(file).fields, path);
    l.recordCount = std::uint32_t(rows);
    QByteArray out = db::buildHeader(l);
    out.reserve(l.headerLength + qsizetype(rows) * l.recordLength + 1);
    QByteArray rec(l.recordLength, ' ');
    for (int r = 0; r < rows; ++r) {
        rec.fill(' ');
        const QVariantList values = row(r);
        for (const db::Field& f : l.fields)
            db::encodeField(f, values.value(columns.indexOf(f.name)), rec.data() + f.offset, path);
        out += rec;
    }
    out += db::kEndMarker;
    db::replaceFile(path, out);
}

// The hand-entered ledger line `i` (identifier `id`): a charge, or one in four a reduction,
// under statement i % statements + 1.
template <typename Village>
LedgerLine manualLine(int i, int id, const CommuneSize& size, Village village) {
    const int role = int(qint64(i) * 4099 % size.roles);
    LedgerLine l;
    l.id = id;
    l.roleId = role + 1;
    l.from = QDate(2015, 1, 1).addDays(i * 11 % 365);
    l.village = village(role);
    l.number = QString::number(role / size.villages + 1);
    l.group = l.name = kGroups[i % kGroups.size()];
    l.explanation = QStringLiteral("Borderou %1").arg(i % size.statements + 1);
    l.docNumber = i % size.statements + 1;
    if (i % 4 == 3) {
        l.reduction = (i * 17) % 200 + 1;
    } else {
        l.current = l.established = (i * 31) % 800 + 20;
        l.arrears = l.arrearsEstablished = i % 3 ? 0 : 50;
    }
    l.unit = QStringLiteral("lei");
    l.type = kManualLine;
    return l;
}

} // namespace

void writeSyntheticCommune(const QString& folder, const CommuneSize& size) {
    const auto village = [&](int role) { return QStringLiteral("Satul %1").arg(role % size.villages + 1); };
    writeTable(folder, tables::Roles, RoleColumnNames(), size.roles, [&](int r) {
        Role role;
        role.id = r + 1;
        role.village = village(r);
        role.number = QString::number(r / size.villages + 1);
        role.name = QStringLiteral("Contribuabil %1").arg(r + 1);
        role.code = QStringLiteral("1800101123456");
        role.address = QStringLiteral("Str. Principala nr. %1").arg(r % 300 + 1);
        role.personType = r % 10 ? kPersonNatural : kPersonLegal;
        return RoleValues(role);
    });
    const QDate start(2015, 1, 1);
    const int assessed = size.roles * size.linesPerRole;
    writeTable(folder, tables::Ledger, LedgerColumnNames(), assessed + size.manualLines, [&](int r) {
        if (r >= assessed) return LedgerLineValues(manualLine(r - assessed, r + 1, size, village));
        const int role = r / size.linesPerRole;
        const int amount = (r * 37) % 900 + 10;
        LedgerLine l;
        l.id = r + 1;
        l.roleId = role + 1;
        l.from = start.addDays(r % 365);
        l.village = village(role);
        l.number = QString::number(role / size.villages + 1);
        l.group = l.name = kGroups[r % kGroups.size()];
        l.explanation = QStringLiteral("Decizia %1").arg(r % 50);
        l.docNumber = r % 1000;
        l.current = l.established = amount;
        l.arrears = l.arrearsEstablished = amount / 3;
        l.unit = QStringLiteral("lei");
        l.quantity = Currency::fromRaw(15000); // 1.5
        l.type = kAssessedLine;
        return LedgerLineValues(l);
    });
    // Debits of the year: charges, and one in five a write-off, over the statements.
    writeTable(folder, tables::Debits, DebitColumnNames(), size.yearDebits, [&](int r) {
        YearDebit d;
        d.id = r + 1;
        d.roleId = qint64(r) * 7919 % size.roles + 1;
        d.tax = kGroups[r % 4];
        d.docNumber = r % size.statements + 1;
        d.from = start.addDays(r * 13 % 365);
        d.monthStart = QDate(d.from.year(), d.from.month(), 1);
        d.amount = d.toCollect = r % 5 ? (r * 53) % 700 + 5 : -((r * 29) % 90 + 1);
        d.explanation = QStringLiteral("Borderou %1").arg(d.docNumber);
        return YearDebitValues(d);
    });
}

} // namespace vartesa::bench
