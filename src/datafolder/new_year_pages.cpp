#include "datafolder/new_year_pages.h"

#include "db/database.h"
#include "roles/page_fields.h"
#include "shell/table_files.h"

#include <QHash>
#include <QLocale>

#include <cmath>
#include <optional>

namespace vartesa {

namespace {

const QString kRoleKey = QStringLiteral("IDGOS");
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

// The page tables a debit may describe, by the name FISIER gives them.
QString pageTableOf(const QString& fisier) {
    static const QHash<QString, QString> pages = {
        {QStringLiteral("PAG1"), tables::LandOutside}, {QStringLiteral("PAG2"), tables::Buildings},
        {QStringLiteral("PAG4"), tables::LandInside},  {QStringLiteral("PAG5"), tables::Vehicles},
        {QStringLiteral("PAG6"), tables::Unregistered}, {QStringLiteral("PAG7"), tables::OtherTaxes},
        {QStringLiteral("PAG8"), tables::PriorArrears},
    };
    return pages.value(fisier.trimmed().toUpper());
}

// Years and materials of buildings are no quantities: a second building bought does not add
// its year to the first one's.
bool isYearOrMaterial(const QString& table, const QString& field) {
    for (const PageField& f : PageFieldTable())
        if ((f.kind == PageFieldKind::Year || f.kind == PageFieldKind::Material) &&
            f.field.compare(field, Qt::CaseInsensitive) == 0 && f.table.compare(table, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

const db::Field* fieldOf(const db::Layout& layout, const QString& name) {
    const int i = layout.indexOf(name);
    return i < 0 ? nullptr : &layout.fields[size_t(i)];
}

QString numberText(double v) { return QLocale::c().toString(v, 'g', 15); }

// One pair as an assignment; the reason in `refusal` when it cannot be one.
std::optional<PageAssignment> assignmentOf(const QString& table, const db::Field& field, QString value, bool purchase,
                                           QString& refusal) {
    PageAssignment a;
    a.field = field.name;
    switch (field.type) {
    case db::FieldType::Numeric:
    case db::FieldType::Float: {
        if (!value.isEmpty() && value[0].isDigit()) value.replace(',', '.');
        bool ok = false;
        const double number = QLocale::c().toDouble(value, &ok);
        if (!ok) {
            refusal = QStringLiteral("Valoarea \"%1\" a campului %2 nu este un numar").arg(value, field.name);
            return std::nullopt;
        }
        if (isYearOrMaterial(table, field.name)) {
            a.kind = purchase ? PageChangeKind::SetWhenEmpty : PageChangeKind::ClearWhenEqual;
            a.value = number;
        } else {
            a.kind = PageChangeKind::Add;
            a.value = purchase ? number : -number;
        }
        return a;
    }
    case db::FieldType::Char:
        if (value.size() > field.length) {
            refusal = QStringLiteral("Textul \"%1\" este prea lung pentru campul %2 (%3 caractere)")
                          .arg(value, field.name)
                          .arg(field.length);
            return std::nullopt;
        }
        a.kind = PageChangeKind::SetText;
        a.value = value;
        return a;
    case db::FieldType::Date: {
        const QDate date = QDate::fromString(value, kDateFormat);
        if (!date.isValid()) {
            refusal = QStringLiteral("Data \"%1\" a campului %2 nu este de forma zz.ll.aaaa").arg(value, field.name);
            return std::nullopt;
        }
        a.kind = PageChangeKind::SetDate;
        a.value = date;
        return a;
    }
    case db::FieldType::Logical: break;
    }
    refusal = QStringLiteral("Campul %1 nu poate fi modificat de un debit").arg(field.name);
    return std::nullopt;
}

} // namespace

QString PageAssignment::text() const {
    switch (kind) {
    case PageChangeKind::Add: {
        const double v = value.toDouble();
        return QStringLiteral("%1=%1%2%3").arg(field, v < 0 ? QStringLiteral("-") : QStringLiteral("+"),
                                              numberText(std::abs(v)));
    }
    case PageChangeKind::SetText: return QStringLiteral("%1='%2'").arg(field, value.toString());
    case PageChangeKind::SetDate: return QStringLiteral("%1=%2").arg(field, value.toDate().toString(kDateFormat));
    case PageChangeKind::SetWhenEmpty:
        return QStringLiteral("%1=%2 (daca este 0)").arg(field, numberText(value.toDouble()));
    case PageChangeKind::ClearWhenEqual:
        return QStringLiteral("%1=0 (daca este %2)").arg(field, numberText(value.toDouble()));
    }
    return {};
}

QString PageChange::text() const {
    QStringList parts;
    for (const PageAssignment& a : assignments) parts << a.text();
    return parts.join(QStringLiteral(", "));
}

bool IsOwnershipChange(const YearDebit& debit) {
    const QString kind = debit.kind.trimmed();
    return kind.compare(QLatin1String("Cumparare"), Qt::CaseInsensitive) == 0 ||
           kind.compare(QLatin1String("Vanzare"), Qt::CaseInsensitive) == 0;
}

PageChange PlanPageChange(const YearDebit& debit, const PageLayoutOf& layoutOf) {
    PageChange change;
    const bool purchase = debit.kind.trimmed().toUpper() == QLatin1String("CUMPARARE");
    // The pairs are looked at before the page: a debit that describes nothing changes nothing.
    std::vector<std::pair<QString, QString>> pairs;
    for (const auto& [camp, val] : debit.object.pairs) {
        const QString value = val.trimmed();
        if (value.isEmpty() || value == QLatin1String("0")) continue;
        if (camp.trimmed().compare(QLatin1String("INV1"), Qt::CaseInsensitive) == 0) continue;
        pairs.emplace_back(camp.trimmed(), value);
    }
    if (pairs.empty()) return change;
    const QString table = pageTableOf(debit.object.file);
    const db::Layout* layout = table.isEmpty() ? nullptr : layoutOf(table);
    if (!layout) {
        change.refusal = QStringLiteral("Fisierul \"%1\" nu este o pagina de rol").arg(debit.object.file.trimmed());
        return change;
    }
    change.table = table;
    for (const auto& [camp, value] : pairs) {
        const db::Field* field = fieldOf(*layout, camp);
        if (!field) {
            change.refusal = QStringLiteral("Campul \"%1\" nu exista in %2").arg(camp, table);
            return change;
        }
        if (field->name.compare(kRoleKey, Qt::CaseInsensitive) == 0) {
            change.refusal = QStringLiteral("Campul %1 nu poate fi modificat").arg(field->name);
            return change;
        }
        std::optional<PageAssignment> a = assignmentOf(table, *field, value, purchase, change.refusal);
        if (!a) return change;
        change.assignments.push_back(std::move(*a));
    }
    return change;
}

void ApplyPageChange(db::Database& db, const QString& folder, qint64 roleId, const PageChange& change) {
    if (change.refused() || change.assignments.empty()) return;
    QStringList sets;
    QVariantList values;
    for (const PageAssignment& a : change.assignments) {
        // Field names come from the table's own layout, never from the debit's text.
        const QString& f = a.field;
        switch (a.kind) {
        case PageChangeKind::Add: sets << QStringLiteral("%1 = COALESCE(%1, 0) + ?").arg(f); break;
        case PageChangeKind::SetText:
        case PageChangeKind::SetDate: sets << QStringLiteral("%1 = ?").arg(f); break;
        case PageChangeKind::SetWhenEmpty:
            sets << QStringLiteral("%1 = CASE WHEN COALESCE(%1, 0) = 0 THEN ? ELSE %1 END").arg(f);
            break;
        case PageChangeKind::ClearWhenEqual:
            sets << QStringLiteral("%1 = CASE WHEN %1 = ? THEN 0 ELSE %1 END").arg(f);
            break;
        }
        values << a.value;
    }
    values << roleId;
    db.exec(QStringLiteral("UPDATE \"%1/%2\" SET %3 WHERE %4 = ?")
                .arg(folder, change.table, sets.join(QStringLiteral(", ")), kRoleKey),
            values);
}

QString OwnershipRefusal::logLine() const {
    return QStringLiteral("IDDEB=%1; IDGOS=%2; FISIER=%3; %4; %5").arg(debitId).arg(roleId).arg(file, assignments, reason);
}

} // namespace vartesa
