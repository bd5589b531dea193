// The role page: the ledger rows, the running-balance walk, the report and the workbook rows.

#include "cash/role_page.h"

#include "books/receipts.h"
#include "db/database.h"
#include "db/query.h"
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

QString dateText(const QDate& d) { return d.toString(QStringLiteral("dd.MM.yyyy")); }

QString table(const QString& folder, const char* file) { return folder + QLatin1Char('/') + QLatin1String(file); }

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
           dateText(date);
}

void addOpeningBalances(std::vector<RoleLedgerRow>& rows, db::Database& db, const QString& folder, qint64 idgos,
                        int year, bool noPenalty) {
    db::Query q = db.query(QStringLiteral("SELECT GRUPA, DATORI, DEPOZI, MAJORI FROM \"%1\" WHERE IDGOS = ? ORDER BY IDRES")
                               .arg(table(folder, "SoldCalc.dbf")),
                           {idgos});
    for (q.first(); !q.eof(); q.next()) {
        RoleLedgerRow r = ledgerRow(q.text(QStringLiteral("GRUPA")), QDate(year, 1, 1), 1, kOpening);
        r.debit = r.balance = q.integer(QStringLiteral("DATORI")) - q.integer(QStringLiteral("DEPOZI"));
        r.penalties = noPenalty ? 0 : q.integer(QStringLiteral("MAJORI"));
        rows.push_back(r);
    }
}

void addYearDebts(std::vector<RoleLedgerRow>& rows, db::Database& db, const QString& folder, qint64 idgos, int year) {
    db::Query q = db.query(
        QStringLiteral("SELECT GRUPA, DINDATA, NR, DOCJUS, SUM(COALESCE(SUMA2, 0)) AS S, SUM(COALESCE(REDUC, 0)) AS R, "
                       "SUM(COALESCE(RESTINI, 0)) AS T FROM \"%1\" WHERE IDGOS = ? "
                       "GROUP BY GRUPA, DINDATA, NR, DOCJUS ORDER BY GRUPA, DINDATA")
            .arg(table(folder, "Datorii.dbf")),
        {idgos});
    for (q.first(); !q.eof(); q.next()) {
        const QString group = q.text(QStringLiteral("GRUPA"));
        const QDate date = q.date(QStringLiteral("DINDATA"));
        const qint64 number = q.integer(QStringLiteral("NR"));
        const std::int64_t s = q.integer(QStringLiteral("S")), reduction = q.integer(QStringLiteral("R")),
                           arrears = q.integer(QStringLiteral("T"));
        QString document = q.text(QStringLiteral("DOCJUS")).trimmed();
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

void addYearDebits(std::vector<RoleLedgerRow>& rows, db::Database& db, const QString& folder, qint64 idgos) {
    db::Query q = db.query(QStringLiteral("SELECT GRUPA, DINDATA, NR, SUMAINI FROM \"%1\" WHERE IDGOS = ? "
                                          "ORDER BY GRUPA, DINDATA")
                               .arg(table(folder, "Debit.dbf")),
                           {idgos});
    for (q.first(); !q.eof(); q.next()) {
        const std::int64_t amount = q.integer(QStringLiteral("SUMAINI"));
        const QDate date = q.date(QStringLiteral("DINDATA"));
        RoleLedgerRow r =
            ledgerRow(q.text(QStringLiteral("GRUPA")), date, 3, debitText(amount >= 1, q.integer(QStringLiteral("NR")), date));
        r.debit = amount;
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
void addDocuments(std::vector<RoleLedgerRow>& rows, db::Database& db, const QString& folder, qint64 idgos,
                  bool noPenalty) {
    std::vector<ReceiptLine> lines = ReadRoleLines(db, ReceiptsTable(folder), idgos);
    std::erase_if(lines, [](const ReceiptLine& l) { return l.total == 0; });
    std::stable_sort(lines.begin(), lines.end(), [](const ReceiptLine& a, const ReceiptLine& b) {
        return std::tie(a.date, a.idchit) < std::tie(b.date, b.idchit);
    });
    int line = 4;
    for (const ReceiptLine& l : lines) {
        RoleLedgerRow r = ledgerRow(l.group, l.date, line++,
                                    documentKind(l.kind()) + QString::number(l.number) + QLatin1Char('/') + dateText(l.date));
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

QString cantText(double quantity) {
    QString t = QString::number(quantity, 'f', 4);
    while (t.endsWith(QLatin1Char('0'))) t.chop(1);
    if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    return t;
}

QString objectsLine(db::Database& db, const QString& folder, qint64 idgos) {
    db::Query q = db.query(QStringLiteral("SELECT DENUM, CANT, UM FROM \"%1\" WHERE IDGOS = ? AND CANT > 0 "
                                          "AND TRIM(COALESCE(DOCJUS, '')) = '' ORDER BY IDDAT")
                               .arg(table(folder, "Datorii.dbf")),
                           {idgos});
    QString text;
    for (q.first(); !q.eof(); q.next())
        text += q.text(QStringLiteral("DENUM")).trimmed() + QStringLiteral(" = ") + cantText(q.real(QStringLiteral("CANT"))) +
                QLatin1Char(' ') + q.text(QStringLiteral("UM")).trimmed() + QStringLiteral("; ");
    return text;
}

} // namespace

std::vector<RoleLedgerRow> BuildRoleLedger(db::Database& db, const QString& folder, qint64 idgos, int year,
                                           bool noPenalty, const QDate& today) {
    std::vector<RoleLedgerRow> rows;
    addOpeningBalances(rows, db, folder, idgos, year, noPenalty);
    addYearDebts(rows, db, folder, idgos, year);
    // The fines section is always printed, with a zero opening line when there are none.
    if (std::none_of(rows.begin(), rows.end(), [](const RoleLedgerRow& r) { return r.group == kFines; })) {
        RoleLedgerRow r = ledgerRow(kFines, today, 1, kOpening);
        r.order = 5;
        rows.push_back(r);
    }
    addYearDebits(rows, db, folder, idgos);
    addDocuments(rows, db, folder, idgos, noPenalty);
    return rows;
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

RolePage BuildRolePage(db::Database& db, const QString& folder, const RolePageRole& role, int year, const QDate& today) {
    RolePage page;
    page.year = year;
    page.role = role;
    db::Query header = db.query(
        QStringLiteral("SELECT NUMEP, ADRESA, CNP, NOTAX FROM \"%1\" WHERE IDGOS = ?").arg(table(folder, "GOSPODAR.dbf")),
        {role.idgos});
    if (!header.isEmpty()) {
        header.first();
        page.name = header.text(QStringLiteral("NUMEP")).trimmed();
        page.address = header.text(QStringLiteral("ADRESA")).trimmed();
        page.code = header.text(QStringLiteral("CNP")).trimmed();
        page.noPenalty = header.text(QStringLiteral("NOTAX")).trimmed().toUpper() == QLatin1String("DA");
    }
    page.objects = objectsLine(db, folder, role.idgos);
    page.ledger = BuildRoleLedger(db, folder, role.idgos, year, page.noPenalty, today);
    page.lines = RunningBalance(page.ledger, year);
    return page;
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
