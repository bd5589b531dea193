#include "combo_helpers.h"

#include "shell/table_helpers.h"

#include <QComboBox>
#include <QCompleter>

namespace vartesa {

void FillComboDistinct(QComboBox* combo, db::Database& db, const QString& tablePath, const QString& where,
                       const QString& field, const QVariantList& params) {
    combo->addItems(DistinctValues(db, tablePath, field, where, params));
    if (combo->count() > 0) combo->setCurrentIndex(0);
}

void SuggestWithoutCompleting(QComboBox* combo) {
    QCompleter* completer = combo->completer();
    if (!completer) return;
    completer->setCompletionMode(QCompleter::PopupCompletion);
    // Case-sensitive: the list also snaps a text equal to one of its items, and an address
    // differing only in capitals is still the clerk's own.
    completer->setCaseSensitivity(Qt::CaseSensitive);
    // A suggestion chosen in the list becomes the text, after the line edit has finished
    // its own handling of the key that chose it.
    QObject::connect(completer, qOverload<const QString&>(&QCompleter::activated), combo,
                     [combo](const QString& chosen) { combo->setEditText(chosen); }, Qt::QueuedConnection);
}

void SelectComboItem(QComboBox* combo, const QString& text) { combo->setCurrentIndex(combo->findText(text)); }

} // namespace vartesa
