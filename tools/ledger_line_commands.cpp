// vartesa-tool ledger-line and debit: the hand-entered lines of the ledger page ("Taxe /
// Amenzi") and the debits of the year of a role, with the dialogs' checks and refusals.

#include "commands.h"
#include "tool_arguments.h"

#include "books/debits.h"
#include "books/ledger.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "roles/declaration_pages.h"
#include "roles/ledger.h"
#include "roles/page_fields.h"
#include "roles/role_register.h"
#include "roles/year_debit.h"
#include "shell/counters.h"
#include "shell/startup.h"
#include "shell/table_files.h"

#include <QTextStream>

namespace vartesa::tool {
namespace {

const char* kLedgerLineUsage =
    "Utilizare: vartesa-tool ledger-line DATAFOLDER IDGOS add --set CAMP=VALOARE... | edit IDDAT --set "
    "CAMP=VALOARE... | delete IDDAT\n"
    "           CAMP: DINDATA GRUPA DOCJUS NR SUMA REST REDUC\n";
const char* kDebitUsage =
    "Utilizare: vartesa-tool debit DATAFOLDER IDGOS add --set CAMP=VALOARE... | delete IDDEB\n"
    "           CAMP: DINDATA GRUPA CATEG DOCJUS NR SUMA, si obiectul: ANEXA SUPRAFATA AN MATERIAL ZONA RANG "
    "VALOARE DATAEVAL AMORTIZATA CATEGORIA CAPACITATE BUCATI\n";

qint64 idOf(const QString& what, const QString& text) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok) throw ToolRefusal{QStringLiteral("%1 incorect: %2").arg(what, text)};
    return id;
}

// The rows of `q` whose `key` is `id`, under the column names, as `ledger` prints them.
void printRowsWithId(QTextStream& out, db::Query q, const QString& key, qint64 id) {
    QStringList names;
    for (int c = 0; c < q.columnCount(); ++c) names << q.columnName(c);
    out << names.join(',') << '\n';
    for (q.first(); !q.eof(); q.next()) {
        if (q.integer(key) != id) continue;
        QStringList cells;
        for (const QString& name : names) cells << csvField(q.text(name));
        out << cells.join(',') << '\n';
    }
}

// A whole amount of the ledger's six-digit fields, typed without sign as the dialog takes it.
qint64 amountOf(const QString& field, const QString& value) {
    const qint64 n = WholeNumberOf(field, value);
    if (n > kMaxLedgerAmount) throw ToolRefusal{QStringLiteral("Valoare incorecta pentru %1: %2").arg(field, value)};
    return n;
}

void setClaimField(ManualClaim& c, const QString& field, const QString& value) {
    if (field == QLatin1String("DINDATA")) c.from = DateOf(field, value);
    else if (field == QLatin1String("GRUPA")) c.claim = value;
    else if (field == QLatin1String("DOCJUS")) c.explanation = value;
    else if (field == QLatin1String("NR")) c.docNumber = WholeNumberOf(field, value);
    else if (field == QLatin1String("SUMA")) c.amounts.current = amountOf(field, value);
    else if (field == QLatin1String("REST")) c.amounts.arrears = amountOf(field, value);
    else if (field == QLatin1String("REDUC")) c.amounts.reduction = amountOf(field, value);
    else throw UnknownField(field);
}

struct RoleContext {
    std::unique_ptr<Services> services;
    Role role;
};

// The role the command works on, in a year that is not locked.
RoleContext openRole(const ToolArguments& a) {
    RoleContext c{ToolServices(a.plain[0], false), {}};
    RoleRegister roles(c.services->database(), c.services->folders.data);
    for (const QString& file : {tables::Roles, tables::Ledger, tables::Debits})
        if (!c.services->database().tableExists(roles.table(file)))
            throw ToolRefusal{QStringLiteral("Lipseste tabela %1 din %2").arg(file, c.services->folders.data)};
    RefuseLockedYear(*c.services);
    const qint64 id = idOf(QStringLiteral("IDGOS"), a.plain[1]);
    const std::optional<Role> role = roles.role(id);
    if (!role) throw ToolRefusal{QStringLiteral("Nu exista rolul cu IDGOS %1").arg(id)};
    c.role = *role;
    return c;
}

void checkClaim(Services& s, ManualClaim& c) {
    const ManualClaimProblem problem = CheckManualClaim(c, ManualClaimNames(s.database(), s.folders.data));
    if (!problem.ok()) throw ToolRefusal{problem.text};
}

int ledgerLine(const ToolArguments& a) {
    RoleContext ctx = openRole(a);
    Services& s = *ctx.services;
    DebtsLedger ledger(s.database(), s.folders.data);
    const QString verb = a.plain[2];
    qint64 id = 0;
    if (verb == QLatin1String("add")) {
        if (a.plain.size() != 3 || a.sets.empty()) throw ToolRefusal{QString::fromLatin1(kLedgerLineUsage).trimmed()};
        // The dialog as "&Adauga" opens it: today, no amounts, the claim still to choose.
        ManualClaim c;
        c.from = s.clock().today();
        for (const auto& [field, value] : a.sets) setClaimField(c, field, value);
        checkClaim(s, c);
        CountersFile counters = s.counters();
        id = ledger.addManualLine(ctx.role, c, counters);
    } else {
        const bool known = verb == QLatin1String("edit") || verb == QLatin1String("delete");
        if (!known || a.plain.size() != 4 || (verb == QLatin1String("edit")) == a.sets.empty())
            throw ToolRefusal{QString::fromLatin1(kLedgerLineUsage).trimmed()};
        id = idOf(QStringLiteral("IDDAT"), a.plain[3]);
        const LedgerLine line = ledger.line(id);
        if (line.id == 0 || line.roleId != ctx.role.id || line.type != kManualLine)
            throw ToolRefusal{QStringLiteral("Rolul nu are taxa/amenda cu IDDAT %1").arg(id)};
        if (verb == QLatin1String("edit")) {
            // The dialog as "&Modifica" fills it from the line.
            ManualClaim c{line.from, line.group, line.explanation, line.docNumber,
                          {line.current, line.arrears, line.reduction}};
            for (const auto& [field, value] : a.sets) setClaimField(c, field, value);
            checkClaim(s, c);
            if (ledger.changeManualLine(id, c) == LedgerChange::ClaimLocked) throw ToolRefusal{ClaimLockedText()};
        } else {
            if (line.hasReceipt() || ledger.deleteManualLine(ctx.role.id, id) == LedgerChange::HasReceipt)
                throw ToolRefusal{LineHasReceiptText()};
        }
    }
    QTextStream out(stdout);
    printRowsWithId(out, LedgerRowsAsStored(s.database(), s.folders.data, ctx.role.id), QStringLiteral("IDDAT"), id);
    return 0;
}

// One of `list` named without regard to case, as the list spells it.
QString chosen(const QString& field, const QString& value, const QStringList& list) {
    for (const QString& item : list)
        if (item.trimmed().compare(value.trimmed(), Qt::CaseInsensitive) == 0) return item;
    throw ToolRefusal{QStringLiteral("Valoare incorecta pentru %1: %2 (%3)").arg(field, value, list.join(QStringLiteral(", ")))};
}

double areaOf(const QString& field, const QString& value) {
    bool ok = false;
    const double area = QString(value).replace(',', '.').trimmed().toDouble(&ok);
    if (!ok || area < 0) throw ToolRefusal{QStringLiteral("Valoare incorecta pentru %1: %2").arg(field, value)};
    return area;
}

// The fields of the dialog's detail form of `form`.
void setDetail(DebitDetails& d, DebitForm form, const QString& field, const QString& value) {
    const bool land = form == DebitForm::InsideLand || form == DebitForm::OutsideLand;
    if (field == QLatin1String("ANEXA")) d.annex = YesNoOf(field, value);
    else if (field == QLatin1String("SUPRAFATA")) d.area = areaOf(field, value);
    else if (field == QLatin1String("AN")) d.year = int(WholeNumberOf(field, value));
    else if (field == QLatin1String("MATERIAL")) d.material = int(MaterialClasses().indexOf(chosen(field, value, MaterialClasses())));
    else if (field == QLatin1String("ZONA")) {
        QStringList zones = ZoneList();
        if (form == DebitForm::InsideLand) zones << QStringLiteral("E");
        d.zone = chosen(field, value, zones);
    } else if (field == QLatin1String("RANG")) d.rank = chosen(field, value, RankList());
    else if (field == QLatin1String("VALOARE")) d.value = WholeNumberOf(field, value);
    else if (field == QLatin1String("DATAEVAL")) d.revaluation = DateOf(field, value);
    else if (field == QLatin1String("AMORTIZATA")) d.depreciated = YesNoOf(field, value);
    else if (field == QLatin1String("CATEGORIA") && land) {
        const QStringList& list = form == DebitForm::InsideLand ? InsideLandCategories() : OutsideLandCategories();
        d.category = int(list.indexOf(chosen(field, value, list)));
    } else if (field == QLatin1String("CATEGORIA") && form == DebitForm::Vehicle) {
        const VehicleCategory* c = FindVehicleCategory(value);
        d.vehicle = c ? c->text : value;
    } else if (field == QLatin1String("CAPACITATE")) d.capacity = WholeNumberOf(field, value);
    else if (field == QLatin1String("BUCATI")) d.count = WholeNumberOf(field, value);
    else throw UnknownField(field);
}

int debit(const ToolArguments& a) {
    RoleContext ctx = openRole(a);
    Services& s = *ctx.services;
    YearDebits debits(s.database(), s.folders.data);
    const QString verb = a.plain[2];
    qint64 id = 0;
    if (verb == QLatin1String("add")) {
        if (a.plain.size() != 3 || a.sets.empty()) throw ToolRefusal{QString::fromLatin1(kDebitUsage).trimmed()};
        // The dialog as "Adau&ga" opens it: today, the first tax, a purchase, the detail form
        // with the working year, the default zone and rank and a revaluation a year back.
        DebitEntry e;
        e.from = s.clock().today();
        e.tax = DebitTaxes().front();
        const BlankPageDefaults defaults = StoredPageDefaults(s.database(), s.folders.data);
        e.details.year = WorkingYear().toInt();
        e.details.zone = defaults.zone;
        e.details.rank = defaults.rank;
        e.details.revaluation = e.from.addMonths(-12);
        std::vector<std::pair<QString, QString>> details;
        for (const auto& [field, value] : a.sets) {
            if (field == QLatin1String("DINDATA")) e.from = DateOf(field, value);
            else if (field == QLatin1String("GRUPA")) e.tax = chosen(field, value, DebitTaxes());
            else if (field == QLatin1String("CATEG")) e.kind = DebitKindOf(chosen(field, value, DebitKindTexts()));
            else if (field == QLatin1String("DOCJUS")) e.explanation = value;
            else if (field == QLatin1String("NR")) e.docNumber = WholeNumberOf(field, value);
            else if (field == QLatin1String("SUMA")) e.amount = WholeNumberOf(field, value, true);
            else details.emplace_back(field, value);
        }
        const DebitForm form = DebitFormOf(e.tax, ctx.role.personType == kPersonLegal);
        for (const auto& [field, value] : details) setDetail(e.details, form, field, value);
        if (e.amount > kMaxLedgerAmount) throw ToolRefusal{QStringLiteral("Valoare incorecta pentru SUMA: %1").arg(e.amount)};
        if (const DebitProblem p = TidyAndCheckDebit(e, form, WorkingYear().toInt()); !p.ok()) throw ToolRefusal{p.hint};
        YearDebit d = BuildYearDebit(e, form);
        d.roleId = ctx.role.id;
        CountersFile counters = s.counters();
        id = debits.add(d, counters);
    } else if (verb == QLatin1String("delete")) {
        if (a.plain.size() != 4 || !a.sets.empty()) throw ToolRefusal{QString::fromLatin1(kDebitUsage).trimmed()};
        id = idOf(QStringLiteral("IDDEB"), a.plain[3]);
        const YearDebit old = debits.debit(id);
        if (old.id == 0 || old.roleId != ctx.role.id)
            throw ToolRefusal{QStringLiteral("Rolul nu are debitul cu IDDEB %1").arg(id)};
        if (old.hasOperation()) throw ToolRefusal{DebitHasOperationText()};
        const DebitChange done = debits.remove(ctx.role.id, id);
        if (done == DebitChange::HasOperation) throw ToolRefusal{DebitHasOperationText()};
        if (done == DebitChange::Missing) throw ToolRefusal{QStringLiteral("Rolul nu are debitul cu IDDEB %1").arg(id)};
    } else {
        throw ToolRefusal{QString::fromLatin1(kDebitUsage).trimmed()};
    }
    QTextStream out(stdout);
    printRowsWithId(out, YearDebitRowsAsStored(s.database(), s.folders.data, ctx.role.id), QStringLiteral("IDDEB"), id);
    return 0;
}

} // namespace

int runLedgerLine(const QStringList& args) { return RunRefusing(args, kLedgerLineUsage, {}, {}, 3, ledgerLine); }

int runDebit(const QStringList& args) { return RunRefusing(args, kDebitUsage, {}, {}, 3, debit); }

} // namespace vartesa::tool
