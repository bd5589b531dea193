#pragma once
// The other lists of the documents menu as the clerk starts them: the role register printed or
// exported, the fire-service and guard fees, the fines or taxes of one claim (chosen in
// TSelGrupa), the land movements of a period and the lists that need no choice.

#include "documents/other_lists.h"
#include "documents/role_selection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vartesa {

class Services;
class TFAlegeROL;
class TFAlegePerioada;
namespace report {
class Output;
}

/// TSelGrupa: the claim of the list of fines or taxes ("Grupa": the claims of TIP "T"), "Doar
/// rolurile cu sold" and the person type.
class TSelGrupa : public QDialog {
public:
    explicit TSelGrupa(Services& services, QWidget* parent = nullptr);

    /// Shows the dialog modally under `caption`; true only when "Raporteaza" closed it.
    bool ShowChoice(const QString& caption);
    /// Everything a show does before the window opens: the caption and the claims, the first chosen.
    void prepare(const QString& caption);
    /// The choice as the list reads it.
    OtherListOptions options() const;

    QComboBox* Grupa;        // "Grupa"
    QCheckBox* DoarCuSold;   // "Doar rolurile cu sold"
    QComboBox* TipPers;      // "Tip persoana"
    QPushButton* RaporteazaB; // "Raporteaza"
    QPushButton* RenuntB;    // "&Renunt"

private:
    Services& s_;
};

/// "Listare directa": the question, then every role page without preview in one print job.
/// Nothing printed when no role is chosen or the clerk does not answer DA.
void PrintRoleRegister(Services& services, const RoleSelection& selection, report::Output& output);

/// "Registrul de ROL" / "Listare directa" (`print`) or "Export in Excel".
void RoleRegisterClick(Services& services, TFAlegeROL& dialog, bool print, report::Output& output);
/// "Registrul Matricol" / "PSI / Paza".
void FireGuardClick(Services& services, TFAlegeROL& dialog);
/// "Amenzi / Taxe" / "Lista amenzi / taxe".
void FinesClick(Services& services, TSelGrupa& dialog);
/// "Alte Centralizatoare" / "Terenuri Intrari-Iesiri".
void LandMovementsClick(Services& services, TFAlegePerioada& dialog);
/// The lists without a choice: the vehicles, the exemptions, the taxable buildings, the vehicles
/// over 12 t, the analytic situation.
void OtherListClick(Services& services, OtherList kind);

} // namespace vartesa
