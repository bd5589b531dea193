#include "roles/year_debit.h"

#include "db/database.h"
#include "shell/counters.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"

#include <cmath>

namespace vartesa {

namespace {

double toFourDecimals(double v) { return std::round(v * 10000.0) / 10000.0; }

// The kinds that describe no real object keep the object's kind and place but not its size.
void clearObjectSize(DebitDetails& d, DebitForm form) {
    switch (form) {
    case DebitForm::PersonBuilding:
        d.area = 0;
        d.year = 0;
        break;
    case DebitForm::CompanyBuilding: d.value = 0; break;
    case DebitForm::InsideLand: d.area = 0; break;
    case DebitForm::OutsideLand: break; // the extravilan area stays as typed
    case DebitForm::Vehicle:
        d.capacity = 0;
        d.count = 0;
        break;
    }
}

DebitProblem checkObject(DebitDetails& d, DebitForm form, int workingYear) {
    switch (form) {
    case DebitForm::PersonBuilding:
        if (d.area <= 0) return {DebitField::Area, QStringLiteral("Lipseste Suprafata construita!")};
        if (d.year < 1000 || d.year > workingYear) return {DebitField::Year, QStringLiteral("Anul construirii este incorect!")};
        break;
    case DebitForm::CompanyBuilding:
        if (d.value <= 0) return {DebitField::Value, QStringLiteral("Lipseste Valoarea de inventar!")};
        break;
    case DebitForm::InsideLand:
        if (d.area <= 0) return {DebitField::Area, QStringLiteral("Lipseste Suprafata!")};
        break;
    case DebitForm::OutsideLand: break;
    case DebitForm::Vehicle: {
        const VehicleCategory* c = FindVehicleCategory(d.vehicle);
        if (!c->capacityField.isEmpty() && d.capacity <= 0)
            return {DebitField::Capacity, QStringLiteral("Lipseste Capacitatea!")};
        if (!c->countField.isEmpty() && d.count <= 0)
            return {DebitField::Count, QStringLiteral("Lipseste Cantitatea (buc.)!")};
        break;
    }
    }
    return {};
}

} // namespace

const QStringList& DebitKindTexts() {
    static const QStringList kinds = {"Cumparare", "Vanzare", "Reducere", "Majorare", "Taxa"};
    return kinds;
}

QString DebitKindText(DebitKind kind) { return DebitKindTexts().at(int(kind)); }

DebitKind DebitKindOf(const QString& text) {
    const int at = int(DebitKindTexts().indexOf(text.trimmed()));
    return at < 0 ? DebitKind::Purchase : DebitKind(at);
}

int DebitSign(DebitKind kind) { return kind == DebitKind::Sale || kind == DebitKind::Reduction ? -1 : 1; }

bool DescribesRealObject(DebitKind kind) { return kind == DebitKind::Purchase || kind == DebitKind::Sale; }

QString DebitDocumentLabel(DebitKind kind) {
    return kind == DebitKind::Purchase || kind == DebitKind::Increase ? QStringLiteral("BD") : QStringLiteral("BS");
}

DebitProblem TidyAndCheckDebit(DebitEntry& e, DebitForm form, int workingYear) {
    e.explanation = CollapseSpaces(e.explanation);
    DebitDetails& d = e.details;
    d.area = toFourDecimals(d.area);
    if (form == DebitForm::Vehicle && !FindVehicleCategory(d.vehicle))
        return {DebitField::Capacity, QStringLiteral("Alegeti categoria!")};
    if (!DescribesRealObject(e.kind)) {
        clearObjectSize(d, form);
    } else if (DebitProblem p = checkObject(d, form, workingYear); !p.ok()) {
        return p;
    }
    if (e.amount < 0)
        return {DebitField::Amount, QStringLiteral("Valoarea Impozitului (Debitului) nu poate fi negativa!")};
    return {};
}

YearDebit BuildYearDebit(const DebitEntry& e, DebitForm form) {
    YearDebit d;
    d.tax = e.tax;
    d.explanation = e.explanation;
    d.docNumber = e.docNumber;
    d.kind = DebitKindText(e.kind);
    d.object = DescribeDebitObject(form, e.details);
    d.from = e.from;
    d.monthStart = QDate(e.from.year(), e.from.month(), 1);
    d.amount = DebitSign(e.kind) * e.amount;
    d.toCollect = d.amount;
    return d;
}

DebitEntry EntryFromYearDebit(const YearDebit& d, DebitForm form) {
    DebitEntry e;
    e.from = d.from;
    e.tax = d.tax;
    e.kind = DebitKindOf(d.kind);
    e.explanation = d.explanation;
    e.docNumber = d.docNumber;
    e.amount = std::llabs(d.amount);
    e.details = DecodeDebitObject(form, d.object);
    return e;
}

QString DebitChangeQuestion() {
    return QStringLiteral("La acest debit s-a taiat chitanta/OP/N.C.!\rSunteti sigur ca doriti modificarea?");
}

QString DebitHasOperationText() {
    return QStringLiteral("La debitul selectat s-a operat o incasare!\rAnulati mai intai chitanta sau N.C.!");
}

YearDebits::YearDebits(db::Database& db, const QString& dataFolder) : db_(db), folder_(dataFolder) {}

std::vector<YearDebit> YearDebits::debitsOf(qint64 roleId) {
    return ReadYearDebits(db_, folder_, roleId, DebitOrder::ByTax);
}

YearDebit YearDebits::debit(qint64 id) {
    const std::vector<YearDebit> found = ReadYearDebitsWithId(db_, folder_, id);
    return found.empty() ? YearDebit{} : found.front();
}

qint64 YearDebits::add(YearDebit d, CountersFile& counters) {
    d.id = counters.NextId(QStringLiteral("SERVER"), QStringLiteral("IDDEB")).toLongLong();
    d.toCollect = d.amount;
    InsertYearDebit(db_, folder_, d);
    return d.id;
}

DebitChange YearDebits::change(const YearDebit& changed) {
    const YearDebit old = debit(changed.id);
    if (old.id == 0) return DebitChange::Missing;
    YearDebit d = changed;
    d.toCollect = d.amount - (old.amount - old.toCollect);
    const qint64 shift = d.amount - old.amount;
    db::Transaction tx(db_);
    UpdateYearDebit(db_, folder_, d);
    // Cancelling a receipt puts back the values it replaced; shifted alike, they keep this change.
    if (const QString undo = table(tables::DebitsUndo); db_.tableExists(undo))
        db_.exec(QStringLiteral("UPDATE \"%1\" SET SUMAINI = SUMAINI + ?, SUMAC = SUMAC + ? WHERE IDDEB = ?").arg(undo),
                 {shift, shift, d.id});
    tx.commit();
    return DebitChange::Done;
}

DebitChange YearDebits::remove(qint64 roleId, qint64 id) {
    const YearDebit old = debit(id);
    if (old.id == 0 || old.roleId != roleId) return DebitChange::Missing;
    if (old.hasOperation()) return DebitChange::HasOperation;
    DeleteYearDebit(db_, folder_, id);
    return DebitChange::Done;
}

} // namespace vartesa
