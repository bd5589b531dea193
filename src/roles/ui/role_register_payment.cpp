// The role register's buttons that add roles to payment: the assessment of the current role,
// or of every role of every village in the screen's list.

#include "roles/assessment.h"
#include "roles/ui/role_register_window.h"
#include "shell/services.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

namespace vartesa {

namespace {
constexpr int kTaxesDebitsEntry = 13; // the page that lists the ledger lines
} // namespace

void TGospodarii::AddLaPlataClick() {
    const Role* current = search_.currentRole();
    const RoleFormProblem problem = CheckAddToPayment(current, SatCombo->currentText());
    if (!problem.ok()) {
        QWidget* at = problem.field == RoleField::Name     ? static_cast<QWidget*>(CapGosp)
                      : problem.field == RoleField::Number ? static_cast<QWidget*>(ROLEd)
                                                           : static_cast<QWidget*>(SatCombo);
        s_.messages().ShowProblemHint(problem.hint, at);
        return;
    }
    const Role role = *current;
    if (!AssessRole(s_, constants_, role)) return;
    reloadPageOnShow(kTaxesDebitsEntry);
    s_.messages().showInformation(AssessmentTitle(), AddedToPaymentText(role));
}

void TGospodarii::AddAllPlataClick(bool unattended) {
    if (!unattended) {
        if (search_.count() == 0) {
            s_.messages().showInformation(AllVillagesQuestionTitle(), NothingToAddText());
            return;
        }
        if (!s_.messages().askYesNo(AllVillagesQuestionTitle(), AddAllQuestionText())) return;
    }
    const AssessRunResult result = AssessAllVillages(s_, constants_, villages_);
    reloadPageOnShow(kTaxesDebitsEntry);
    if (!unattended)
        s_.messages().showInformation(AllVillagesReportTitle(), AllVillagesReportText(result.assessed, result.refused));
}

void TGospodarii::StartAutoAdd() {
    QTimer::singleShot(kAutoAddDelayMs, this, [this] {
        s_.messages().guard([this] { AddAllPlataClick(true); });
        reject();
    });
    OpenRoleRegister();
}

} // namespace vartesa
