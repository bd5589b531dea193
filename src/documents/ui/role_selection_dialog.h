#pragma once
// TFAlegeROL ("Listare"): the choice of roles behind most lists of the lists menu. Each caller
// sets the heading and the caption of the check box and chooses which optional controls show;
// the village is chosen again on every show, the range, person type and boxes keep their
// values. "Listeaza" closes it when the range passes its check.

#include "documents/matriculation_registers.h"
#include "documents/role_selection.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vartesa {

class Services;

class TFAlegeROL : public QDialog {
public:
    /// Created once; ROL0 and ROL1 at 0, "* indiferent *", both boxes clear.
    explicit TFAlegeROL(Services& services, QWidget* parent = nullptr);

    /// Shows the dialog modally as the caller asks (steps of a show, below); the choice when
    /// "Listeaza" closed it, nothing on "&Renunt" or Escape.
    std::optional<RoleSelection> ChooseRoles(const QString& heading, const QString& checkBoxCaption,
                                             bool showAddressOrder, bool showPersonType, bool showCheckBox,
                                             bool showDate);
    /// Everything a show does before the window opens: heading, caption, the controls shown,
    /// the villages (" * toate *" chosen) and the date (31 December of the working year).
    void prepare(const QString& heading, const QString& checkBoxCaption, bool showAddressOrder, bool showPersonType,
                 bool showCheckBox, bool showDate);
    /// The controls as the lists read them.
    RoleSelection selection() const;

    /// "Listeaza": "Interval incorect!" at ROL0 when the range runs backwards, else closes with true.
    void MemoButClick();

    QLabel* Label2;          // the heading
    QComboBox* SatulX;       // "Localitatea"
    QComboBox* TipPers;      // "Tip persoana": "* indiferent *", "FIZICA", "JURIDICA"
    QLineEdit* ROL0;         // "incepand cu numarul de ROL"
    QLineEdit* ROL1;         // "pana la numarul de ROL"
    QDateEdit* DataC;        // "Data calcularii"
    QCheckBox* SiZero;       // the caller's box
    QCheckBox* AdresaSort;   // "Ordonare dupa adresa"
    QPushButton* MemoBut;    // "Listeaza"
    QPushButton* CloseBut;   // "&Renunt"
    QLabel* TipPersLabel;    // the labels that hide with their controls
    QLabel* DataCLabel;

private:
    Services& s_;
};

/// The entries of "Registrul Matricol" (Terenuri1, LocuinteAnexe1, Mijloacedetransport1,
/// Cumulat1): the choice of roles with the box "Inclusiv gospodariile fara patrimoniu" and the
/// person type, then the register handed to the desktop. Errors are reported to the clerk.
void MatriculationRegisterClick(Services& services, TFAlegeROL& dialog, RegisterKind kind);

} // namespace vartesa
