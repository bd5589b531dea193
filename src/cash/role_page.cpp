// The role page: the ledger rows, the running-balance walk, the report and the workbook rows.

#include "cash/role_page.h"

#include "books/balances.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "books/receipts.h"
#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"
#include "workbook/workbook.h"

#include <algorithm>
#include <tuple>

namespace vartesa {

namespace {

const QString kOpening = QStringLiteral("L.R. / L.P.");
const QString kFines = QStringLiteral("AMENZI");
constexpr int kGroupWidth = 60;    // GRUPA of the working tables
constexpr int kDocumentWidth = 40; // DOCJUS of the working tables


QString table(const QString& folder, const QString& file) { return folder + QLatin1Char('/') + file; }

RoleLedgerRow ledgerRow(const QString& group, const QDate& date, int line, const QString& document) {
    RoleLedgerRow r;
    r.group = group.trimmed().toUpper().left(kGroupWidth);
    r.order = GroupIndex(r.group);
    r.date = date;
    r.line = line;
    r.document = document.left(kDocumentWidth);
    return r;
}

// "BD "/"BS " + number + "/" + date: a debit or a reduction raised by a document.
QString debitText(bool positive, qint64 number, const QDate& date) {
    return (positive ? QStringLiteral("BD ") : QStringLiteral("BS ")) + QString::number(number) + QLatin1Char('/') +
           DateText(date);
}

void addOpeningBalances(std::vector<RoleLedgerRow>& rows, std::vector<BalanceRow> balances, int year, bool noPenalty) {
    std::stable_sort(balances.begin(), balances.end(), [](const BalanceRow& a, const BalanceRow& b) { return a.id < b.id; });
    for (const BalanceRow& b : balances) {
        RoleLedgerRow r = ledgerRow(b.group, QDate(year, 1, 1), 1, kOpening);
        r.debit = r.balance = b.arrearsStart - b.creditStart;
        r.penalties = noPenalty ? 0 : b.penaltiesStart;
        rows.push_back(r);
    }
}

// The ledger's lines summed by claim, date, number and text, for one role (a value bound to
// IDGOS) or for every role (none), in that order within a role.
std::vector<std::pair<qint64, LedgerSum>> ledgerSums(db::Database& db, const QString& folder, std::optional<qint64> idgos) {
    using L = LedgerColumns;
    const QString keys = QStringList{L::group, L::from, L::docNumber, L::explanation}.join(QStringLiteral(", "));
    db::Query q = db.query(
        QStringLiteral("SELECT %1, %2, SUM(COALESCE(%3, 0)) AS S, SUM(COALESCE(%4, 0)) AS R, "
                       "SUM(COALESCE(%5, 0)) AS T FROM \"%6\"%7 GROUP BY %1, %2 ORDER BY %1, %2")
            .arg(L::role, keys, L::established, L::reduction, L::arrearsEstablished, table(folder, tables::Ledger),
                 idgos ? QStringLiteral(" WHERE %1 = ?").arg(L::role) : QString()),
        idgos ? QVariantList{*idgos} : QVariantList{});
    std::vector<std::pair<qint64, LedgerSum>> out;
    out.reserve(size_t(q.count()));
    for (q.first(); !q.eof(); q.next())
        out.push_back({q.integer(L::role),
                       {q.text(L::group), q.date(L::from), q.integer(L::docNumber), q.text(L::explanation),
                        q.integer(QStringLiteral("S")), q.integer(QStringLiteral("R")), q.integer(QStringLiteral("T"))}});
    return out;
}

void addYearDebts(std::vector<RoleLedgerRow>& rows, const std::vector<LedgerSum>& debts, int year) {
    for (const LedgerSum& sum : debts) {
        const QString& group = sum.group;
        const QDate& date = sum.from;
        const qint64 number = sum.docNumber;
        const std::int64_t s = sum.amount, reduction = sum.reduction, arrears = sum.arrears;
        QString document = sum.explanation.trimmed();
        if (document.isEmpty()) document = QStringLiteral("Debit %1").arg(year);
        if (GroupIndex(group) <= 4) {
            RoleLedgerRow r = ledgerRow(group, date, 2, document);
            r.debit = r.balance = s;
            rows.push_back(r);
            continue;
        }
        if (s != 0) {
            RoleLedgerRow r = ledgerRow(group, date, 2, debitText(s > 0, number, date));
            (s > 0 ? r.debit : r.credit) = s > 0 ? s : -s;
            r.balance = s;
            rows.push_back(r);
        }
        if (reduction > 0) {
            RoleLedgerRow r = ledgerRow(group, date, 2, debitText(false, number, date));
            r.debit = r.balance = -reduction;
            rows.push_back(r);
        }
        if (arrears != 0) {
            RoleLedgerRow r = ledgerRow(group, date, 1, QStringLiteral("L.R./L.P."));
            r.debit = r.balance = arrears;
            rows.push_back(r);
        }
    }
}

// The role's debits by tax and date, those of one tax and date in the order they were stored.
void addYearDebits(std::vector<RoleLedgerRow>& rows, std::vector<YearDebit> debits) {
    std::stable_sort(debits.begin(), debits.end(), [](const YearDebit& a, const YearDebit& b) {
        return a.tax != b.tax ? a.tax < b.tax : a.from < b.from;
    });
    for (const YearDebit& d : debits) {
        RoleLedgerRow r = ledgerRow(d.tax, d.from, 3, debitText(d.amount >= 1, d.docNumber, d.from));
        r.debit = d.amount;
        rows.push_back(r);
    }
}

QString documentKind(const QString& letter) {
    const QString l = letter.trimmed().toUpper();
    if (l == QLatin1String("N")) return QStringLiteral("N.C.");
    if (l == QLatin1String("O")) return QStringLiteral("O.P.");
    if (l == QLatin1String("V")) return QStringLiteral("Viram.");
    return QStringLiteral("Chit."); // "C" or blank
}

// One ledger row per receipt line with a total, in the order of their dates and documents.
void addDocuments(std::vector<RoleLedgerRow>& rows, std::vector<ReceiptLine> lines, bool noPenalty) {
    std::erase_if(lines, [](const ReceiptLine& l) { return l.total == 0; });
    std::stable_sort(lines.begin(), lines.end(), [](const ReceiptLine& a, const ReceiptLine& b) {
        return std::tie(a.date, a.idchit) < std::tie(b.date, b.idchit);
    });
    int line = 4;
    for (const ReceiptLine& l : lines) {
        RoleLedgerRow r = ledgerRow(l.group, l.date, line++,
                                    documentKind(l.kind()) + QString::number(l.number) + QLatin1Char('/') + DateText(l.date));
        const std::int64_t penalties = l.carried + l.penalties;
        r.credit = l.arrears + l.credit + l.current - l.reduction;
        r.debit = l.reduction >= 1 ? -l.reduction : 0;
        if (noPenalty)
            r.credit += penalties;
        else
            r.penalties = penalties;
        rows.push_back(r);
    }
}

// The walk's running values: debit, credit, balance and penalties.
struct Running {
    std::int64_t d = 0, c = 0, s = 0, m = 0;
};

RolePageLine printed(const QString& group, const QString& document, const Running& v) {
    return {group, document, QString::number(v.d), QString::number(v.c), QString::number(v.s), QString::number(v.m)};
}

bool isLocalTaxOrFines(const QString& group) { return GroupIndex(group) <= 4 || group == kFines; }

QString cantText(Currency quantity) {
    QString t = quantity.toString(4);
    while (t.endsWith(QLatin1Char('0'))) t.chop(1);
    if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    return t;
}

// Blank as the engine's TRIM sees it: spaces only.
bool blank(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char(' '); });
}

// "DENUM = CANT UM; " of the lines that stand for a taxed object (a quantity and no document),
// by IDDAT.
QString objectsLine(std::vector<LedgerLine> lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const LedgerLine& a, const LedgerLine& b) { return a.id < b.id; });
    QString text;
    for (const LedgerLine& l : lines)
        if (l.quantity > Currency() && blank(l.explanation))
            text += l.name.trimmed() + QStringLiteral(" = ") + cantText(l.quantity) + QLatin1Char(' ') +
                    l.unit.trimmed() + QStringLiteral("; ");
    return text;
}

} // namespace

RolePageSource ReadRolePageSource(db::Database& db, const QString& folder, qint64 idgos) {
    RolePageSource source;
    source.header = ReadRole(db, folder, idgos);
    source.balances = ReadBalanceRows(db, folder, idgos);
    source.lines = ReadLedgerLines(db, folder, idgos);
    for (auto& [role, sum] : ledgerSums(db, folder, idgos)) source.debts.push_back(std::move(sum));
    source.debits = ReadYearDebits(db, folder, idgos);
    source.documents = ReadRoleLines(db, ReceiptsTable(folder), idgos);
    return source;
}

std::unordered_map<qint64, RolePageSource> ReadRolePageSources(db::Database& db, const QString& folder) {
    std::unordered_map<qint64, RolePageSource> sources;
    const db::Query roles = db.query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table(folder, tables::Roles)));
    for (int row = 0; row < roles.count(); ++row) {
        Role r = RoleFromRow(roles, row);
        RolePageSource& source = sources[r.id];
        if (!source.header) source.header = std::move(r); // the first of an IDGOS stored twice, as ReadRole
    }
    for (BalanceRow& b : ReadAllBalanceRows(db, folder)) sources[b.roleId].balances.push_back(std::move(b));
    ScanLedger(db, folder, [&sources](const LedgerLine& l) { sources[l.roleId].lines.push_back(l); });
    for (auto& [role, sum] : ledgerSums(db, folder, std::nullopt)) sources[role].debts.push_back(std::move(sum));
    for (YearDebit& d : ReadAllYearDebits(db, folder)) sources[d.roleId].debits.push_back(std::move(d));
    for (ReceiptLine& l : ReadAllLines(db, ReceiptsTable(folder))) sources[l.idgos].documents.push_back(std::move(l));
    return sources;
}

std::vector<RoleLedgerRow> BuildRoleLedger(const RolePageSource& source, int year, bool noPenalty, const QDate& today) {
    std::vector<RoleLedgerRow> rows;
    addOpeningBalances(rows, source.balances, year, noPenalty);
    addYearDebts(rows, source.debts, year);
    // The fines section is always printed, with a zero opening line when there are none.
    if (std::none_of(rows.begin(), rows.end(), [](const RoleLedgerRow& r) { return r.group == kFines; })) {
        RoleLedgerRow r = ledgerRow(kFines, today, 1, kOpening);
        r.order = 5;
        rows.push_back(r);
    }
    addYearDebits(rows, source.debits);
    addDocuments(rows, source.documents, noPenalty);
    return rows;
}

std::vector<RoleLedgerRow> BuildRoleLedger(db::Database& db, const QString& folder, qint64 idgos, int year,
                                           bool noPenalty, const QDate& today) {
    return BuildRoleLedger(ReadRolePageSource(db, folder, idgos), year, noPenalty, today);
}

std::vector<RolePageLine> RunningBalance(std::vector<RoleLedgerRow> rows, int year) {
    std::stable_sort(rows.begin(), rows.end(), [](const RoleLedgerRow& a, const RoleLedgerRow& b) {
        if (a.order != b.order) return a.order < b.order;
        if (a.group != b.group) return a.group < b.group;
        if (a.line != b.line) return a.line < b.line;
        return a.date < b.date;
    });
    std::vector<RolePageLine> out;
    const RolePageLine blank;
    QString previous;
    bool started = false;
    int k = 1;
    Running v;
    for (const RoleLedgerRow& r : rows) {
        if (!started || r.group != previous) {
            if (started) {
                out.push_back(blank);
                if (isLocalTaxOrFines(previous)) out.insert(out.end(), 2, blank);
            }
            started = true;
            previous = r.group;
            k = 1;
            v = {};
        }
        if (r.group == kFines && k == 2) k = 3; // fines have no year header
        if (r.line > k && k == 1) {
            out.push_back(printed(r.group, kOpening, v));
            k = 2;
        }
        if (r.line > k && k == 2) {
            v.d = v.c = v.m = 0;
            out.push_back(printed(r.group, QStringLiteral("Debit %1").arg(year), v));
            k = 3;
        }
        if (k == 1) {
            v = {r.debit, 0, r.balance, r.penalties};
        } else if (k == 2) {
            v.d = r.debit;
            v.c = 0;
            v.s += r.debit;
            v.m = 0;
        } else {
            v.d = r.debit;
            v.c = r.credit;
            v.m = r.penalties;
            v.s += r.debit - r.credit;
        }
        out.push_back(printed(r.group, r.document, v));
        ++k;
    }
    return out;
}

RolePage BuildRolePage(const RolePageSource& source, const RolePageRole& role, int year, const QDate& today) {
    RolePage page;
    page.year = year;
    page.role = role;
    if (source.header) {
        page.name = source.header->name;
        page.address = source.header->address;
        page.code = source.header->code;
        page.noPenalty = source.header->noPenalties;
    }
    page.objects = objectsLine(source.lines);
    page.ledger = BuildRoleLedger(source, year, page.noPenalty, today);
    page.lines = RunningBalance(page.ledger, year);
    return page;
}

RolePage BuildRolePage(db::Database& db, const QString& folder, const RolePageRole& role, int year, const QDate& today) {
    return BuildRolePage(ReadRolePageSource(db, folder, role.idgos), role, year, today);
}

report::Report RolePageReport(const RolePage& page) {
    using report::Align;
    report::Report rep;
    rep.title = QStringLiteral("Pagina de ROL ") + page.role.number;
    report::Band& b = rep.titleBand;
    const report::Font bold{9, true}, plain{9};
    b.text(0, 0, 120, 5, QStringLiteral("Localitatea :  ") + page.role.village, bold);
    b.text(120, 0, 70, 5, QStringLiteral("ANUL : %1").arg(page.year), bold, Align::Right);
    b.text(0, 6, 190, 7, QStringLiteral("ROL: ") + page.role.number, {12, true}, Align::Center);
    b.text(0, 14, 24, 5, QStringLiteral("Contribuabil :"), plain);
    b.text(24, 14, 106, 5, page.name, bold);
    b.text(130, 14, 60, 5, QStringLiteral("CNP/CUI: ") + page.code, plain, Align::Right);
    b.text(0, 19, 24, 5, QStringLiteral("Adresa"), plain);
    b.text(24, 19, 166, 5, page.address, plain);
    b.text(0, 24, 190, 5, page.objects, {8});
    b.height = 31;
    rep.columns = {{QStringLiteral("TIP\nIMPOZIT"), 52, Align::Left},
                   {QStringLiteral("Documentul pe baza caruia\nse face debitarea sau incasarea"), 58, Align::Left},
                   {QStringLiteral("DEBIT"), 20, Align::Right},
                   {QStringLiteral("CREDIT"), 20, Align::Right},
                   {QStringLiteral("SOLD"), 20, Align::Right},
                   {QStringLiteral("MAJORARI"), 20, Align::Right}};
    rep.ruled = true;
    rep.rowHeight = 4.6;
    QString shownGroup;
    for (const RolePageLine& l : page.lines) {
        if (l.isBlank()) {
            rep.rows.push_back({});
            shownGroup.clear();
            continue;
        }
        const QString group = l.group == shownGroup ? QString() : l.group;
        shownGroup = l.group;
        rep.rows.push_back({{group, l.document, l.debit, l.credit, l.balance, l.penalties}, false});
    }
    rep.pageFooter = QStringLiteral("Pagina %1 din %2");
    return rep;
}

int WriteRolePage(workbook::Sheet& sheet, int row, const RolePage& page) {
    sheet.setText(row++, 0, QStringLiteral("Localitatea :  ") + page.role.village);
    sheet.setText(row, 0, QStringLiteral("Nr.ROL"));
    sheet.setText(row++, 1, QStringLiteral("ROL: ") + page.role.number);
    sheet.setText(row++, 0, QStringLiteral("Contribuabil:") + page.name + QString(8, QLatin1Char(' ')) +
                                QStringLiteral("CNP/CUI: ") + page.code);
    sheet.setText(row++, 0, QStringLiteral("Adresa:") + page.address);
    sheet.setText(row++, 0, page.objects);
    const char* const top[] = {"TIP", "Documentul pe baza caruia", "DEBIT", "CREDIT", "SOLD", "MAJ."};
    for (int c = 0; c < 6; ++c) sheet.setText(row, c, QLatin1String(top[c]));
    ++row;
    sheet.setText(row, 0, QStringLiteral("IMPOZIT"));
    sheet.setText(row++, 1, QStringLiteral("se face debitarea sau incasarea"));
    QString shownGroup;
    for (const RolePageLine& l : page.lines) {
        if (l.isBlank()) continue;
        if (l.group != shownGroup) sheet.setText(row, 0, l.group);
        shownGroup = l.group;
        sheet.setText(row, 1, l.document);
        const QString amounts[] = {l.debit, l.credit, l.balance, l.penalties};
        for (int c = 0; c < 4; ++c)
            if (const qint64 value = amounts[c].toLongLong(); value != 0) sheet.setNumber(row, 2 + c, double(value));
        ++row;
    }
    return row + 2;
}

} // namespace vartesa
