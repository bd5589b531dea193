#include "cash/cash_register.h"

#include "books/receipts.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/counters.h"
#include "shell/login.h"
#include "shell/services.h"
#include "shell/table_helpers.h"
#include "shell/text_helpers.h"
#include "shell/table_files.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace vartesa {

namespace {

const QString kTitle = QStringLiteral("Registru de Casa");

QString receipts(const Services& s) { return ReceiptsTable(s.folders.data); }

bool mayChangeManualRows(const Services& s) { return s.IsAdministrator() || s.grade == UserGrade::RolOperator; }

bool cashierMatches(const RegisterRow& row, const QString& cashier) {
    return cashier.isEmpty() || cashier == AnyCashier() || row.cashier == cashier;
}

} // namespace

QString AnyCashier() { return QStringLiteral(" * indiferent *"); }

QString RestrictedCashier(const Services& services, const QString& chosen) {
    if (!mayChangeManualRows(services)) return services.user;
    return chosen == AnyCashier() ? QString() : chosen.trimmed();
}

std::optional<QString> CheckOperation(const ManualOperation& operation) {
    if (CollapseSpaces(operation.document).trimmed().isEmpty())
        return QStringLiteral("Lipseste Documentul justificativ!");
    if (operation.amount <= 0) return QStringLiteral("Lipseste Suma!");
    return std::nullopt;
}

CashRegister::CashRegister(Services& services) : s_(services) {}

QString CashRegister::table() const { return s_.folders.data + '/' + tables::CashRegister; }

void CashRegister::Open() {
    rows_.clear();
    cashiers_.reset();
    db::Database& db = s_.database();
    // Receipts and payment orders move cash; a cashier's day nets them into one row, and a
    // day whose refunds outweigh its receipts shows as money paid out. A year of documents
    // is read once for its four fields, without loading the whole table.
    if (db.tableExists(receipts(s_))) {
        struct Sum {
            qint64 whole = 0;
            double real = 0; // amounts stored with decimals
        };
        std::map<std::pair<QDate, QString>, Sum> days;
        std::set<QString> cashiers;
        using C = ReceiptLineColumns;
        ScanReceiptColumns(db, receipts(s_), {C::date, C::cashier, C::kind, C::total}, [&](const std::vector<QVariant>& v) {
            const QString cashier = v[1].toString();
            if (!cashier.trimmed().isEmpty()) cashiers.insert(cashier);
            const QString kind = v[2].toString().trimmed();
            if (kind != QLatin1String("C") && kind != QLatin1String("O")) return;
            Sum& sum = days[{v[0].toDate(), cashier.trimmed()}];
            if (v[3].metaType().id() == QMetaType::Double) sum.real += v[3].toDouble();
            else sum.whole += v[3].toLongLong();
        });
        for (const auto& [key, sum] : days) {
            RegisterRow r{-1, key.first, QStringLiteral("Centralizator zilnic"), 0,
                          sum.whole + qint64(std::llround(sum.real)), key.second};
            if (r.collected < 0) r.paid = -std::exchange(r.collected, 0);
            rows_.push_back(r);
        }
        cashiers_ = QStringList(cashiers.begin(), cashiers.end());
    }
    if (db.tableExists(table())) {
        db::Query manual = db.query(
            QStringLiteral("SELECT IDRC, DATAI, DOCJUS, PLATIT, INCASAT, TRIM(INCANUME) AS INCANUME FROM \"%1\" ORDER BY IDRC")
                .arg(table()));
        for (manual.first(); !manual.eof(); manual.next())
            rows_.push_back({manual.integer("IDRC"), manual.date("DATAI"), manual.text("DOCJUS").trimmed(),
                             manual.integer("PLATIT"), manual.integer("INCASAT"), manual.text("INCANUME")});
    }
    sortRows();
}

void CashRegister::sortRows() {
    std::stable_sort(rows_.begin(), rows_.end(), [](const RegisterRow& a, const RegisterRow& b) {
        return a.day != b.day ? a.day < b.day : a.cashier < b.cashier;
    });
}

QStringList CashRegister::Cashiers() const {
    QStringList list{AnyCashier()};
    if (cashiers_) list += *cashiers_;
    else if (s_.database().tableExists(receipts(s_)))
        list += DistinctValues(s_.database(), receipts(s_), ReceiptLineColumns::cashier);
    return list;
}

RegisterDay CashRegister::Day(const QDate& day, const QString& cashier) const {
    RegisterDay d;
    for (const RegisterRow& r : rows_) {
        if (!cashierMatches(r, cashier)) continue;
        if (r.day < day) {
            d.previous += r.collected - r.paid;
        } else if (r.day == day) {
            d.rows.push_back(r);
            d.collected += r.collected;
            d.paid += r.paid;
        }
    }
    return d;
}

std::optional<Refusal> CashRegister::CheckAdd() const {
    if (YearLocked(s_.counters()))
        return Refusal{QStringLiteral("An inchis"), QStringLiteral("Nu mai puteti modifica datele de anul trecut!")};
    return std::nullopt;
}

std::optional<Refusal> CashRegister::checkChange(const RegisterRow* row, const QString& nothing,
                                                 const QString& summary) const {
    if (!mayChangeManualRows(s_)) return Refusal{kTitle, QStringLiteral("Nu aveti ce cauta aici!"), true};
    if (!row) return Refusal{kTitle, nothing};
    if (auto locked = CheckAdd()) return locked;
    if (row->isSummary()) return Refusal{kTitle, summary};
    return std::nullopt;
}

std::optional<Refusal> CashRegister::CheckModify(const RegisterRow* row) const {
    return checkChange(row, QStringLiteral("Nu aveti ce modifica!"),
                       QStringLiteral("Nu puteti modifica decat operatiunile introduse manual!"));
}

std::optional<Refusal> CashRegister::CheckDelete(const RegisterRow* row) const {
    return checkChange(row, QStringLiteral("Nu aveti ce sterge!"), QStringLiteral("Nu puteti sterge linia selectata!"));
}

RegisterRow& CashRegister::manualRow(qint64 idrc, bool deleting) {
    auto it = std::find_if(rows_.begin(), rows_.end(), [&](const RegisterRow& r) { return r.idrc == idrc; });
    const RegisterRow* row = it == rows_.end() ? nullptr : &*it;
    if (auto refused = deleting ? CheckDelete(row) : CheckModify(row)) throw Error(refused->text, refused->title);
    return *it;
}

qint64 CashRegister::AddOperation(const ManualOperation& op) {
    if (auto missing = CheckOperation(op)) throw Error(*missing, kTitle);
    const qint64 idrc = s_.counters().NextId(QStringLiteral("SERVER"), QStringLiteral("IDRC")).toLongLong();
    RegisterRow r{idrc, op.day, CollapseSpaces(op.document).trimmed().left(50), op.payment ? op.amount : 0,
                  op.payment ? 0 : op.amount, s_.user.left(32)};
    s_.database().exec(QStringLiteral("INSERT INTO \"%1\" (IDRC, DATAI, DOCJUS, INCANUME, PLATIT, INCASAT) "
                                      "VALUES (?, ?, ?, ?, ?, ?)")
                           .arg(table()),
                       {r.idrc, r.day, r.document, r.cashier, r.paid, r.collected});
    rows_.push_back(r);
    sortRows();
    return idrc;
}

void CashRegister::ModifyOperation(qint64 idrc, const ManualOperation& op) {
    if (auto missing = CheckOperation(op)) throw Error(*missing, kTitle);
    RegisterRow& r = manualRow(idrc, false);
    RegisterRow changed = r;
    changed.day = op.day;
    changed.document = CollapseSpaces(op.document).trimmed().left(50);
    changed.paid = op.payment ? op.amount : 0;
    changed.collected = op.payment ? 0 : op.amount;
    s_.database().exec(
        QStringLiteral("UPDATE \"%1\" SET DATAI = ?, DOCJUS = ?, PLATIT = ?, INCASAT = ? WHERE IDRC = ?").arg(table()),
        {changed.day, changed.document, changed.paid, changed.collected, idrc});
    r = changed;
    sortRows();
}

void CashRegister::DeleteOperation(qint64 idrc) {
    manualRow(idrc, true);
    s_.database().exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDRC = ?").arg(table()), {idrc});
    std::erase_if(rows_, [&](const RegisterRow& r) { return r.idrc == idrc; });
}

} // namespace vartesa
