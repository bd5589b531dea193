// Confirming and storing a payment document: the classification codes and numbers of its
// lines, the checks of the confirmation dialog, and the one transaction that writes the undo
// snapshots, the new balances and the receipt lines.

#include "cash/payment.h"

#include "books/balances.h"
#include "books/cancellations.h"
#include "books/debits.h"
#include "books/ledger.h"
#include "books/receipts.h"
#include "cash/receipt_history.h"
#include "cash/receipt_numbers.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/counters.h"
#include "shell/table_files.h"
#include "shell/table_helpers.h"
#include "shell/text_helpers.h"

#include <algorithm>
#include <map>

namespace vartesa {

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kHandNumbered = QStringLiteral(" - "); // SERIA of documents numbered by hand

QString DocumentName(QChar letter) {
    if (letter == 'N') return QStringLiteral("N.C.");
    if (letter == 'O') return QStringLiteral("O.P.");
    return QStringLiteral("CHITANTA");
}

// A document is looked up by series and number, a role's rows by IDGOS and the rows a
// payment changes by their identifiers; the engine keeps such indexes in memory, once per
// table and field (adding one again is refused, which is what we want).
void IndexPaymentTables(db::Database& db, const QString& folder) {
    const std::pair<QString, QString> indexes[] = {{tables::Balances, BalanceColumns::role},
                                                   {tables::Balances, BalanceColumns::id},
                                                   {tables::Ledger, LedgerColumns::id},
                                                   {tables::Debits, DebitColumns::id}};
    for (const auto& [file, field] : indexes) {
        try {
            db.addIndex(folder + '/' + file, field);
        } catch (const Error&) {
        }
    }
    IndexDocumentNumbers(db, ReceiptsTable(folder));
}

// The balance rows still hold what the grids read: every local-tax row of the role (none
// added or removed), and the fee lines and debits that receive an amount. Run while the
// transaction holds the folder's write lock, so nobody can change them before commit.
bool BalancesUnchanged(db::Database& db, const QString& folder, const AccountRole& role, const AccountGrids& grids,
                       const PaymentAllocation& allocation) {
    std::map<qint64, const TaxRow*> taxes;
    for (const TaxRow& t : grids.taxes) taxes[t.id] = &t;
    const std::vector<BalanceRow> balances = ReadBalanceRows(db, folder, role.role.id);
    if (balances.size() != taxes.size()) return false;
    for (const BalanceRow& b : balances) {
        const auto it = taxes.find(b.id);
        if (it == taxes.end()) return false;
        const TaxRow& t = *it->second;
        if (b.amount != t.amount || b.rest != t.rest || b.reduction != t.reduction || b.exempted != t.exemption ||
            b.arrears != t.arrears || b.credit != t.credit || b.penalties != t.carried)
            return false;
    }
    for (const ClaimBalance& c : allocation.claims) {
        const auto row = std::find_if(grids.claims.begin(), grids.claims.end(),
                                      [&](const ClaimRow& r) { return r.id == c.id; });
        if (row == grids.claims.end()) return false;
        const std::vector<LedgerLine> d = ReadLedgerLinesWithId(db, folder, c.id);
        if (d.size() != 1 || d[0].current != row->amount || d[0].arrears != row->rest ||
            d[0].reduction != row->reduction)
            return false;
    }
    for (const DebitBalance& b : allocation.debits) {
        const auto row = std::find_if(grids.debits.begin(), grids.debits.end(),
                                      [&](const DebitRow& r) { return r.id == b.id; });
        if (row == grids.debits.end()) return false;
        const std::vector<YearDebit> d = ReadYearDebitsWithId(db, folder, b.id);
        if (d.size() != 1 || d[0].toCollect != row->open) return false;
    }
    return true;
}

// A changing statement takes the folder's write lock, held by the transaction until it
// ends; this one changes no row. Only under the lock are the balances compared, so another
// workstation's payment cannot slip in between the check and the commit.
void TakeWriteLock(db::Database& db, const QString& folder) {
    db.exec(QStringLiteral("UPDATE \"%1/%2\" SET %3 = %3 WHERE 0 = 1").arg(folder, tables::Balances, BalanceColumns::id));
}

// Undo snapshots of every row the payment may change, keyed by the operation.
void WriteUndoSnapshots(db::Database& db, const QString& folder, const AccountRole& role,
                        const PaymentAllocation& allocation, qint64 idanul) {
    SnapshotRoleBalances(db, folder, idanul, role.role.id);
    for (const ClaimBalance& c : allocation.claims) SnapshotLedgerLine(db, folder, idanul, c.id);
    for (const DebitBalance& d : allocation.debits) SnapshotDebit(db, folder, idanul, d.id);
}

// The new balances; a local-tax row the payment left as it was is not rewritten. The payment
// never changes a row's SUMA (the allocation keeps the row's own), so only what is left to pay
// is written.
void ApplyBalances(db::Database& db, const QString& folder, const AccountRole& role, const AccountGrids& grids,
                   const PaymentAllocation& allocation) {
    const qint64 idgos = role.role.id;
    for (const TaxBalance& b : allocation.taxes) {
        const auto row = std::find_if(grids.taxes.begin(), grids.taxes.end(),
                                      [&](const TaxRow& r) { return r.id == b.id; });
        if (row != grids.taxes.end() && row->amount == b.amount && row->rest == b.rest &&
            row->reduction == b.reduction && row->arrears == b.arrears && row->credit == b.credit &&
            row->carried == b.carried)
            continue;
        BalanceRow paid;
        paid.id = b.id;
        paid.roleId = idgos;
        paid.rest = b.rest;
        paid.reduction = b.reduction;
        paid.arrears = b.arrears;
        paid.credit = b.credit;
        paid.penalties = b.carried;
        SetBalanceRemainders(db, folder, paid);
    }
    for (const ClaimBalance& c : allocation.claims) SetLedgerRemainders(db, folder, idgos, c.id, c.amount, c.rest);
    for (const DebitBalance& d : allocation.debits) SetDebitRemainder(db, folder, idgos, d.id, d.open);
}

// What every line of the document shares.
struct DocumentHeader {
    qint64 idchit = 0, idanul = 0;
    QChar letter;
    QString series;
    qint64 number = 0;
    QDate date;
    QString payer;
};

// The stored line of one document line: the header, the role and the cashier on each.
ReceiptLine StoredLine(const AccountRole& role, const Cashier& cashier, const DocumentHeader& h, const PaymentLine& l) {
    const Role& r = role.role;
    ReceiptLine line;
    line.idchit = h.idchit;
    line.idgos = r.id;
    line.idanul = h.idanul;
    line.series = h.series;
    line.number = h.number;
    line.date = h.date;
    line.village = r.village;
    line.rol = r.number;
    line.group = l.group.left(60);
    line.name = l.name.left(50);
    line.code = l.code.left(24);
    line.taxpayer = r.name;
    line.cnp = r.code;
    line.address = r.address;
    line.personType = role.physicalPerson() ? QStringLiteral("F") : QStringLiteral("J");
    line.payer = h.payer.left(40);
    line.cashier = cashier.name.left(32);
    line.badge = cashier.badge.left(32);
    // The account of a role spared penalties shows none, and its receipt writes none.
    line.arrears = l.arrears;
    line.carried = role.noPenalty ? 0 : l.carried;
    line.credit = l.credit;
    line.current = l.current;
    line.penalties = role.noPenalty ? 0 : l.penalties;
    line.reduction = l.reduction;
    line.total = l.total();
    line.letter = h.letter;
    return line;
}

void WriteReceiptLines(db::Database& db, const QString& folder, const AccountRole& role, const Cashier& cashier,
                       const DocumentHeader& h, const std::vector<PaymentLine>& lines) {
    const QString table = ReceiptsTable(folder);
    for (const PaymentLine& l : lines) InsertReceiptLine(db, table, StoredLine(role, cashier, h, l));
}

} // namespace

void FillDocumentLines(db::Database& db, const QString& dataFolder, std::vector<PaymentLine>& lines,
                       bool physicalPerson, const QString& series, qint64 number) {
    std::map<QString, QString> codes;
    for (PaymentLine& l : lines) {
        l.document = DocumentName(l.letter);
        const bool receipt = l.letter == 'C';
        l.series = receipt ? series : QString();
        l.number = receipt ? number : 0;
        auto [it, fresh] = codes.try_emplace(l.group);
        if (fresh) it->second = BudgetCodeOfGroup(db, dataFolder, l.group, physicalPerson).trimmed();
        l.code = it->second;
    }
}

NumberSeries ReceiptSeries(const CountersFile& counters, const QString& cashier) {
    return {cashier, QStringLiteral("CHIT"), counters.ReadCounter(cashier, QStringLiteral("SERIA")).trimmed()};
}

ReceiptNumbering ReadReceiptNumbering(db::Database& db, const QString& dataFolder, const CountersFile& counters,
                                      const QString& cashier) {
    const NumberSeries numbers = ReceiptSeries(counters, cashier);
    ReceiptNumbering n;
    n.series = numbers.series;
    try {
        n.next = NextFreeNumber(db, dataFolder, counters, numbers);
    } catch (const Error&) {
        n.next = 0; // unreadable: the dialog then says the number is wrong
    }
    return n;
}

std::optional<PaymentProblem> CheckPaymentDocument(db::Database& db, const QString& dataFolder,
                                                   const CountersFile& counters,
                                                   const std::vector<PaymentLine>& lines,
                                                   const PaymentDocument& document) {
    using Where = PaymentProblem::Where;
    const QString closed = counters.ReadCounter(QStringLiteral("VARIABILE"), QStringLiteral("ANINCHIS")).trimmed();
    bool ok = false;
    const int closedYear = closed.toInt(&ok);
    if (ok && closedYear >= document.date.year())
        return PaymentProblem{Where::Errors, QStringLiteral("Memorare chitanta"),
                              QStringLiteral("Anul %1 este inchis!\rNu mai puteti lucra in el! Adios...").arg(closed)};
    if (const std::optional<QString> refusal = DocumentDateRefusal(document.date))
        return PaymentProblem{Where::Errors, QStringLiteral("Memorare chitanta"), *refusal};
    if (document.number == 0) return PaymentProblem{Where::Hint, {}, QStringLiteral("Numar incorect!")};
    if (CollapseSpaces(document.payer).isEmpty())
        return PaymentProblem{Where::Hint, {}, QStringLiteral("Nu ati scris Platitorul!")};
    if (const QString bad = UnstorableCharacter(document.payer); !bad.isEmpty())
        return PaymentProblem{Where::Hint, {}, PayerCharacterRefusal(bad)};
    for (const PaymentLine& l : lines)
        if (l.code.trimmed().isEmpty())
            return PaymentProblem{Where::GridHint, {},
                                  QStringLiteral("Nu aveti Contul la %1!\rApasati pe butonul Coduri clasificare si "
                                                 "adaugati-l!")
                                      .arg(l.group)};
    if (const std::optional<QString> oversized = OversizedPart(lines))
        return PaymentProblem{Where::Errors, QStringLiteral("Memorare chitanta"), *oversized};
    if (document.kind == DocumentKind::Receipt) {
        IndexPaymentTables(db, dataFolder);
        const std::optional<ReceiptLine> stored =
            FindNumberedDocument(db, ReceiptsTable(dataFolder), document.series.trimmed(), document.number);
        const QString cashier = document.cashier.trimmed();
        const bool ownSequence = stored && stored->idgos != document.idgos && !cashier.isEmpty() &&
                                 stored->cashier.trimmed().compare(cashier, Qt::CaseInsensitive) == 0;
        if (stored && !ownSequence)
            return PaymentProblem{Where::Errors, QStringLiteral("Verificare de dubluri"),
                                  QStringLiteral("Mai exista chitanta aceasta la  ROL %1 !\rContactati Operatorul de ROL "
                                                 "sau Administratorul sa va modifice numarul chitantei!")
                                      .arg(stored->rol)};
    }
    return std::nullopt;
}

StoredPayment StorePayment(db::Database& db, const QString& dataFolder, CountersFile& counters,
                           const AccountRole& role, const AccountGrids& grids, const PaymentAllocation& allocation,
                           const PaymentDocument& document, const Cashier& cashier,
                           const std::function<void()>& beforeCommit) {
    StoredPayment out;
    if (!allocation.refusal.isEmpty()) {
        out.refusal = allocation.refusal;
        return out;
    }
    if (allocation.lines.empty()) {
        out.refusal = kNothingToStore;
        return out;
    }
    if (const std::optional<QString> oversized = OversizedPart(allocation.lines)) {
        out.refusal = *oversized;
        return out;
    }
    IndexPaymentTables(db, dataFolder);
    DocumentHeader h;
    const bool receipt = allocation.kind == DocumentKind::Receipt && document.kind != DocumentKind::Transfer;
    h.letter = allocation.kind == DocumentKind::Receipt && !receipt ? QChar('V') : QChar(char(allocation.kind));
    h.date = document.date;
    h.payer = CollapseSpaces(document.payer);

    db::Transaction tx(db);
    TakeWriteLock(db, dataFolder);
    if (!BalancesUnchanged(db, dataFolder, role, grids, allocation)) {
        out.refusal = kPaymentSituationChanged;
        return out; // the transaction rolls back
    }
    // Every table the payment writes is whole, or the payment is refused before its numbers
    // are drawn and the counters file changes.
    for (const QString& table : {tables::Balances, tables::Ledger, tables::Debits, tables::Receipts,
                                 tables::BalancesUndo, tables::LedgerUndo, tables::DebitsUndo})
        db.checkTable(dataFolder + '/' + table);
    // Drawn only once the document is sure to be stored, so a refused payment uses no
    // identifier; one write of the counters file for both. The receipt number is not drawn
    // from the file: it is the first free one, recorded there once the document is committed.
    const std::vector<qint64> drawn =
        counters.NextIdEach({{kServer, QStringLiteral("IDANUL")}, {kServer, QStringLiteral("IDCHIT")}});
    h.idanul = drawn[0];
    h.idchit = drawn[1];
    const NumberSeries numbers = ReceiptSeries(counters, cashier.name);
    if (receipt) {
        h.series = numbers.series;
        h.number = NextFreeNumber(db, dataFolder, counters, numbers);
    } else {
        h.series = kHandNumbered;
        h.number = document.number;
    }
    WriteUndoSnapshots(db, dataFolder, role, allocation, h.idanul);
    ApplyBalances(db, dataFolder, role, grids, allocation);
    std::vector<PaymentLine> lines = allocation.lines;
    for (PaymentLine& l : lines) l.letter = h.letter;
    WriteReceiptLines(db, dataFolder, role, cashier, h, lines);
    if (beforeCommit) beforeCommit();
    tx.commit();
    if (receipt) {
        try {
            KeepNumber(counters, numbers, h.number);
        } catch (const Error&) {
            // The receipt stands; the next drawing finds its number taken and goes past it.
        }
    }
    out.idanul = h.idanul;
    out.idchit = h.idchit;
    out.number = h.number;
    out.series = h.series;
    return out;
}

} // namespace vartesa
