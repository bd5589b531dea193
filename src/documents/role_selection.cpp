#include "documents/role_selection.h"

#include "books/roles.h"
#include "cash/collection_list.h"

namespace vartesa {

std::optional<QString> CheckRoleRange(qint64 fromRole, qint64 toRole) {
    if (toRole < fromRole) return QStringLiteral("Interval incorect!");
    return std::nullopt;
}

QString NumericRole(const QString& numberColumn) { return QStringLiteral("vt_float(TRIM(%1))").arg(numberColumn); }

SelectionConditions RoleSelectionConditions(const RoleSelection& selection, const RoleSelectionColumns& columns) {
    QStringList parts;
    SelectionConditions c;
    if (selection.oneVillage()) {
        parts << QStringLiteral("(TRIM(%1) = ?)").arg(columns.village);
        c.values << selection.village.trimmed();
    }
    if (selection.hasRange()) {
        const QString number = NumericRole(columns.number);
        parts << QStringLiteral("(%1 IS NULL OR %1 BETWEEN ? AND ?)").arg(number);
        c.values << double(selection.fromRole) << double(selection.toRole);
    }
    if (selection.person != PersonChoice::Any) {
        parts << QStringLiteral("(TRIM(%1) = ?)").arg(columns.personType);
        c.values << (selection.person == PersonChoice::Natural ? kPersonNatural : kPersonLegal);
    }
    c.sql = parts.join(QStringLiteral(" AND "));
    return c;
}

QStringList RoleSelectionVillages(db::Database& db, const QString& dataFolder) {
    return QStringList{kAllVillages} + CollectionListVillages(db, dataFolder);
}

QString SelectionNarrowing(const RoleSelection& selection) {
    if (!selection.oneVillage()) return QStringLiteral("alegeti o localitate");
    return QStringLiteral("restrangeti intervalul de ROL din ") + selection.village.trimmed();
}

} // namespace vartesa
