#pragma once
// Filling and choosing in the drop-down lists of the forms.

#include <QString>
#include <QVariantList>

class QComboBox;

namespace vartesa {
namespace db {
class Database;
}

/// Adds the distinct non-blank values of `field` of a table (ascending; `where` optional,
/// its values bound from `params`) after the items already there, then selects the first item.
void FillComboDistinct(QComboBox* combo, db::Database& db, const QString& tablePath, const QString& where,
                       const QString& field, const QVariantList& params = {});
/// Selects the item equal to `text`; none when there is no such item.
void SelectComboItem(QComboBox* combo, const QString& text);

} // namespace vartesa
