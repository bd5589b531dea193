#pragma once
// The five detail forms of the debit dialog, one shown at a time: buildings of a natural
// person, buildings of a legal person, intravilan land, extravilan land, means of transport.

#include "roles/debit_objects.h"
#include "roles/year_debit.h"

#include <QStackedWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

namespace vartesa {

class Messages;

/// What a fresh form shows.
struct DebitFormDefaults {
    int year = 0;       // working year, for the building's year
    QString zone;       // default zone of the administrator
    QString rank;       // default rank
    QDate revaluation;  // today minus 12 months
};

class DebitDetailForms : public QStackedWidget {
public:
    /// `messages` shows the balloon of a key an area field refuses (none: refused silently).
    explicit DebitDetailForms(QWidget* parent = nullptr, Messages* messages = nullptr);

    void setForm(DebitForm form);
    DebitForm form() const { return form_; }
    /// Every form back to its defaults.
    void reset(const DebitFormDefaults& defaults);
    /// The current form's fields from a stored description; a vehicle text not in the list
    /// leaves the category unselected.
    void fill(const DebitDetails& details);
    DebitDetails details() const;
    /// The fields of the current form in the order Enter walks them.
    QList<QWidget*> fields() const;
    /// The field a check points at.
    QWidget* fieldFor(DebitField field) const;

    // Buildings of a natural person.
    QComboBox* CladTip;
    QLineEdit* SupC;
    QComboBox* CodMat;
    QComboBox* ZonaC;
    QComboBox* RangC;
    QLineEdit* AnC;
    // Buildings of a legal person.
    QComboBox* CladTipJ;
    QLineEdit* ValInv;
    QDateEdit* DataEval;
    QCheckBox* Amortizata;
    // Intravilan land.
    QComboBox* CategIntra;
    QLineEdit* SupIntra;
    QLabel* UMIntra;
    QComboBox* ZonaIntra;
    // Extravilan land.
    QComboBox* CategExtra;
    QLineEdit* SupExtra;
    QComboBox* ZonaExtra;
    // Means of transport.
    QComboBox* CategAuto;
    QLabel* CapacitL;
    QLineEdit* Capacitate;
    QLabel* UMCapacit;
    QLabel* BucatiL;
    QLineEdit* Bucati;

private:
    QWidget* buildPersonBuilding();
    QWidget* buildCompanyBuilding();
    QWidget* buildInsideLand();
    QWidget* buildOutsideLand();
    QWidget* buildVehicle();
    void showVehicleFields();

    DebitForm form_ = DebitForm::PersonBuilding;
    Messages* messages_ = nullptr; // balloons of the area fields
};

} // namespace vartesa
