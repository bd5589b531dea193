#include "documents/ui/other_lists_menu.h"

#include "cash/ui/period_dialog.h"
#include "documents/role_register.h"
#include "documents/ui/role_selection_dialog.h"
#include "report/ui/report_output.h"
#include "shell/services.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

TSelGrupa::TSelGrupa(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TSelGrupa"));
    Grupa = named(new QComboBox(this), "Grupa");
    fitCharacters(Grupa, 40, true);
    DoarCuSold = named(new QCheckBox(QStringLiteral("Doar rolurile cu sold"), this), "DoarCuSold");
    TipPers = named(new QComboBox(this), "TipPers");
    TipPers->addItems({QStringLiteral("* indiferent *"), QStringLiteral("FIZICA"), QStringLiteral("JURIDICA")});
    RaporteazaB = named(new QPushButton(QStringLiteral("Raporteaza"), this), "RaporteazaB");
    RenuntB = named(new QPushButton(QStringLiteral("&Renunt"), this), "RenuntB");
    RaporteazaB->setAutoDefault(false);
    RenuntB->setAutoDefault(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Grupa"), Grupa);
    form->addRow(DoarCuSold);
    form->addRow(QStringLiteral("Tip persoana"), TipPers);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(RaporteazaB);
    buttons->addWidget(RenuntB);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(RaporteazaB, &QPushButton::clicked, this, &QDialog::accept);
    connect(RenuntB, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({Grupa, DoarCuSold, TipPers}, RaporteazaB);
}

void TSelGrupa::prepare(const QString& caption) {
    setWindowTitle(caption);
    Grupa->clear();
    s_.messages().guard([&] { Grupa->addItems(FineClaims(s_.database(), s_.folders.data)); });
    Grupa->setCurrentIndex(Grupa->count() > 0 ? 0 : -1);
    Grupa->setFocus();
}

bool TSelGrupa::ShowChoice(const QString& caption) {
    prepare(caption);
    return exec() == QDialog::Accepted; // Escape rejects
}

OtherListOptions TSelGrupa::options() const {
    OtherListOptions o;
    o.claim = Grupa->currentText().trimmed();
    o.withBalance = DoarCuSold->isChecked();
    o.selection.person = PersonChoice(std::max(0, TipPers->currentIndex()));
    o.today = s_.clock().today();
    return o;
}

void PrintRoleRegister(Services& s, const RoleSelection& selection, report::Output& output) {
    const std::vector<RolePageRole> roles = RoleRegisterRoles(s, selection);
    if (roles.empty()) {
        RoleRegisterPages(s, selection, s.clock().today()); // tells the clerk there is none
        return;
    }
    if (!ConfirmRoleRegisterPrint(s, int(roles.size()))) return;
    const std::optional<std::vector<RolePage>> pages = RoleRegisterPages(s, selection, s.clock().today());
    if (!pages) return;
    if (!output.print(RoleRegisterLayout(*pages)))
        s.messages().showError(QStringLiteral("Listare ROL-uri"),
                               QStringLiteral("Imprimanta nu este pregatita sau nu este instalata!"));
}

void RoleRegisterClick(Services& s, TFAlegeROL& dialog, bool print, report::Output& output) {
    const std::optional<RoleSelection> chosen =
        dialog.ChooseRoles(QStringLiteral("Registrul de ROL"), QString(), false, true, false, false);
    if (!chosen) return;
    s.messages().guard([&] {
        if (print) PrintRoleRegister(s, *chosen, output);
        else ProduceRoleRegisterExport(s, *chosen);
    });
}

void FireGuardClick(Services& s, TFAlegeROL& dialog) {
    const std::optional<RoleSelection> chosen = dialog.ChooseRoles(
        QStringLiteral("Matricola PSI/Paza"), QStringLiteral("Inclusiv gospodariile fara datorii"), false, true, true, false);
    if (!chosen) return;
    OtherListOptions o;
    o.selection = *chosen;
    o.today = s.clock().today();
    s.messages().guard([&] { ProduceOtherList(s, OtherList::FireGuard, o); });
}

void FinesClick(Services& s, TSelGrupa& dialog) {
    if (!dialog.ShowChoice(QStringLiteral("Lista Amenzi / Taxe"))) return;
    const OtherListOptions o = dialog.options();
    s.messages().guard([&] { ProduceOtherList(s, OtherList::Fines, o); });
}

void LandMovementsClick(Services& s, TFAlegePerioada& dialog) {
    if (!dialog.ChoosePeriod(false)) return;
    OtherListOptions o;
    o.from = dialog.from();
    o.to = dialog.to();
    o.today = s.clock().today();
    s.messages().guard([&] { ProduceOtherList(s, OtherList::LandMovements, o); });
}

void OtherListClick(Services& s, OtherList kind) {
    OtherListOptions o;
    o.today = s.clock().today();
    s.messages().guard([&] { ProduceOtherList(s, kind, o); });
}

} // namespace vartesa
