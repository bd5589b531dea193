#include "combo_helpers.h"

#include "shell/table_helpers.h"

#include <QComboBox>

namespace vartesa {

void FillComboDistinct(QComboBox* combo, db::Database& db, const QString& tablePath, const QString& where,
                       const QString& field, const QVariantList& params) {
    combo->addItems(DistinctValues(db, tablePath, field, where, params));
    if (combo->count() > 0) combo->setCurrentIndex(0);
}

void SelectComboItem(QComboBox* combo, const QString& text) { combo->setCurrentIndex(combo->findText(text)); }

} // namespace vartesa
