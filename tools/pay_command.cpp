// vartesa-tool pay: a payment on a role's account from a script, as the cashier makes it on
// the collection screen: the amounts typed on the grids, the allocation, the checks of the
// "Operare" dialog and the stored document.

#include "commands.h"
#include "shell/console_services.h"

#include "cash/account.h"
#include "cash/account_entry.h"
#include "cash/payment.h"
#include "db/database.h"
#include "db/error.h"
#include "shell/action_log.h"
#include "admin/budget_codes.h"
#include "shell/counters.h"
#include "shell/startup.h"
#include "shell/text_helpers.h"
#include "shell/users_file.h"

#include <QDir>
#include <QTextStream>

namespace vartesa::tool {
namespace {

const char* kPayUsage =
    "Utilizare: vartesa-tool pay DATAFOLDER IDGOS --user NUME [--date zz.ll.aaaa] [--tax \"GRUPA=SUMA\"]... "
    "[--debit IDDEB=SUMA]... [--fee IDDAT=SUMA]... [--payer TEXT] [--transfer NR] [--number NR] [--dry-run]\n";

struct PayOptions {
    QString folder;
    qint64 idgos = 0;
    QString user;
    QDate date = QDate::currentDate();
    std::vector<NamedAmount> typed;
    QString payer;
    qint64 transfer = 0; // --transfer: "VIRAMENT" with this number
    qint64 number = 0;   // --number: of a payment order or accounting note
    bool dryRun = false;
    bool ok = false;
};

bool parseTyped(AccountGrid grid, const QString& text, PayOptions& o) {
    const qsizetype eq = text.lastIndexOf('=');
    if (eq <= 0) return false;
    bool ok = false;
    const std::int64_t amount = text.mid(eq + 1).trimmed().toLongLong(&ok);
    if (!ok) return false;
    o.typed.push_back({grid, text.left(eq).trimmed(), amount});
    return true;
}

PayOptions parsePayOptions(const QStringList& args) {
    PayOptions o;
    QStringList plain;
    bool ok = true;
    for (int i = 0; i < args.size() && ok; ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--dry-run")) o.dryRun = true;
        else if (!a.startsWith(QLatin1String("--"))) plain << a;
        else if (!hasValue) ok = false;
        else if (a == QLatin1String("--user")) o.user = args[++i];
        else if (a == QLatin1String("--date")) ok = (o.date = QDate::fromString(args[++i], "dd.MM.yyyy")).isValid();
        else if (a == QLatin1String("--tax")) ok = parseTyped(AccountGrid::Taxes, args[++i], o);
        else if (a == QLatin1String("--debit")) ok = parseTyped(AccountGrid::Debits, args[++i], o);
        else if (a == QLatin1String("--fee")) ok = parseTyped(AccountGrid::Claims, args[++i], o);
        else if (a == QLatin1String("--payer")) o.payer = args[++i];
        else if (a == QLatin1String("--transfer")) ok = (o.transfer = args[++i].toLongLong(&ok)) > 0 && ok;
        else if (a == QLatin1String("--number")) o.number = args[++i].toLongLong(&ok);
        else ok = false;
    }
    if (!ok || plain.size() != 2 || o.user.trimmed().isEmpty()) return o;
    o.folder = QDir::cleanPath(QDir(plain[0]).absolutePath());
    o.idgos = plain[1].toLongLong(&o.ok);
    return o;
}

// The user of the users file who collects: name, card as badge, and the counters section.
Cashier findCashier(const QString& folder, const QString& name) {
    const QString wanted = CollapseSpaces(name).toUpper();
    for (const UserRecord& u : UsersFile::inFolder(folder).readAll())
        if (u.name.toUpper() == wanted) return {u.name.left(32), u.card.left(32)};
    throw Error(QStringLiteral("Utilizatorul %1 nu exista!").arg(wanted));
}

void printLines(QTextStream& out, const std::vector<PaymentLine>& lines) {
    out << "GRUPA,DOCJUS,SERIA,NR,DENUM,CODCLAS,RESTANTA,MAJOREST,DEPOZIT,CURENT,MAJOR,REDUCERE,TIP,TOTAL\n";
    for (const PaymentLine& l : lines) {
        const QStringList cells = {csvField(l.group), csvField(l.document), csvField(l.series), QString::number(l.number),
                                   csvField(l.name), csvField(l.code), QString::number(l.arrears),
                                   QString::number(l.carried), QString::number(l.credit), QString::number(l.current),
                                   QString::number(l.penalties), QString::number(l.reduction), QString(l.letter),
                                   QString::number(l.total())};
        out << cells.join(',') << '\n';
    }
}

// The lines as they were stored: the number drawn, the letter and series of the kind.
void markStored(std::vector<PaymentLine>& lines, const StoredPayment& stored, bool transfer, bool noPenalty) {
    for (PaymentLine& l : lines) {
        l.series = stored.series;
        l.number = stored.number;
        if (transfer) l.letter = 'V';
        if (noPenalty) l.carried = l.penalties = 0;
    }
}

struct Refusal {
    QString message;
};

int pay(const PayOptions& o) {
    std::unique_ptr<Services> services = ConsoleServices(o.folder);
    const QString folder = services->folders.data;
    db::Database& db = services->database();
    CountersFile counters = services->counters();
    const Cashier cashier = findCashier(folder, o.user);
    if (IsYearLocked(counters))
        throw Refusal{QStringLiteral("Anul %1 este blocat de administrator!").arg(WorkingYear())};
    const AccountRole role = OpenAccountRole(db, folder, ReadAccountRules(counters, db, folder), o.idgos, WorkingYear().toInt());
    if (!role.found) throw Refusal{QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(o.idgos)};
    AccountGrids grids = BuildAccountGrids(db, folder, role, o.date);
    if (const std::optional<QString> refusal = EnterNamedAmounts(grids, o.typed)) throw Refusal{*refusal};

    PaymentAllocation allocation = AllocatePayment(grids, o.date, role.noPenalty);
    if (!allocation.refusal.isEmpty()) throw Refusal{allocation.refusal};
    if (allocation.lines.empty()) throw Refusal{kNothingToStore};
    const bool transfer = o.transfer > 0;
    if (transfer && allocation.kind != DocumentKind::Receipt)
        throw Refusal{QStringLiteral("VIRAMENT se poate alege numai pentru o chitanta!")};
    const ReceiptNumbering numbering = ReadReceiptNumbering(db, folder, counters, cashier.name);
    FillDocumentLines(db, folder, allocation.lines, role.physicalPerson(), numbering.series, numbering.next);

    PaymentDocument document;
    document.kind = transfer ? DocumentKind::Transfer : allocation.kind;
    document.date = o.date;
    document.payer = o.payer.isNull() ? role.role.name : o.payer;
    document.series = numbering.series;
    document.idgos = role.role.id;
    document.cashier = cashier.name;
    document.number = transfer ? o.transfer : allocation.kind == DocumentKind::Receipt ? numbering.next : o.number;
    if (const std::optional<PaymentProblem> problem = CheckPaymentDocument(db, folder, counters, allocation.lines, document))
        throw Refusal{problem->message};

    QTextStream out(stdout);
    if (o.dryRun) {
        printLines(out, allocation.lines);
        return 0;
    }
    const StoredPayment stored =
        StorePayment(db, folder, counters, role, grids, allocation, document, cashier);
    if (!stored.refusal.isEmpty()) throw Refusal{stored.refusal};
    services->user = cashier.name;
    try {
        services->actionLog().LogAction(role.role.number, PaymentLogText(document.kind, stored.number));
    } catch (const Error& e) {
        QTextStream(stderr) << "Plata s-a memorat, dar nu s-a putut scrie in jurnal: " << e.text() << '\n';
    }
    markStored(allocation.lines, stored, transfer, role.noPenalty);
    printLines(out, allocation.lines);
    out << "IDCHIT," << stored.idchit << '\n';
    return 0;
}

} // namespace

int runPay(const QStringList& args) {
    const PayOptions o = parsePayOptions(args);
    if (!o.ok) {
        QTextStream(stderr) << kPayUsage;
        return 2;
    }
    try {
        return pay(o);
    } catch (const Refusal& r) {
        QTextStream(stderr) << QString(r.message).replace('\r', ' ') << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
    }
    return 1;
}

} // namespace vartesa::tool
