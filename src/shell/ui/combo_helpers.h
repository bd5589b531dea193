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
/// An editable list that suggests its items below the text as it is typed, without ever
/// completing it: the text stays as typed unless a suggestion is chosen with the arrow
/// keys and Enter or Tab, or with the mouse.
void SuggestWithoutCompleting(QComboBox* combo);
/// Selects the item equal to `text`; none when there is no such item.
void SelectComboItem(QComboBox* combo, const QString& text);

} // namespace vartesa
