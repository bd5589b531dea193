#pragma once
// "Initializare An Nou": what the new-year initialisation takes over from the old year (three
// tick boxes, all ticked at first); "&Am ales" confirms, "&Renunt" and Escape cancel.

#include "datafolder/new_year.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace vartesa {

class TFAnNou final : public QDialog {
public:
    TFAnNou(int oldYear, QWidget* parent = nullptr);

    /// The boxes as the clerk left them.
    NewYearChoices choices() const;

    QCheckBox* matricolaOk() const { return matricola_; }
    QCheckBox* ramasiteOk() const { return ramasite_; }
    QCheckBox* taxeOk() const { return taxe_; }
    QPushButton* chosenButton() const { return chosen_; }

private:
    QCheckBox* matricola_; // MatricolaOk
    QCheckBox* ramasite_;  // RamasiteOk
    QCheckBox* taxe_;      // TaxeOk
    QPushButton* chosen_;  // "&Am ales"
};

/// Shows the window modally; true with `choices` set on "&Am ales".
bool ChooseNewYearData(QWidget* parent, int oldYear, NewYearChoices& choices);

} // namespace vartesa
