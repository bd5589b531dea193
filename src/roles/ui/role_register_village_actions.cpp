// TGospodarii: the operations on every role of the chosen village, and the hook of the two
// buttons that add roles to payment.

#include "roles/ui/role_register_window.h"

#include "roles/ledger.h"
#include "roles/ui/claim_dialogs.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QComboBox>
#include <QPushButton>

namespace vartesa {

namespace {
constexpr int kOtherTaxesEntry = 8;    // "   - alte taxe", page 7
constexpr int kTaxesDebitsEntry = 13;  // the year's taxes and debits, page 12
} // namespace

// The village of the screen's list; empty after pointing the clerk at the list.
QString TGospodarii::chosenVillage() {
    const QString village = SatCombo->currentText().trimmed();
    if (village.isEmpty()) s_.messages().ShowProblemHint(QStringLiteral("Alegeti mai intai o localitate!"), SatCombo);
    return village;
}

void TGospodarii::reloadPageOnShow(int entry) {
    if (entry_ == entry && search_.currentRole()) pages_[size_t(entry)]->loadRole(search_.currentRole()->id);
}

void TGospodarii::AddTaxaToti() {
    const QString village = chosenVillage();
    if (village.isEmpty() || !fixedTaxDialog_->ShowFixedTaxDialog(true)) return;
    const QString title = QStringLiteral("Adaugare taxa la toti");
    const QString tax = fixedTaxDialog_->tax();
    const QString value = QString::number(fixedTaxDialog_->value());
    if (!s_.messages().askYesNo(title, QStringLiteral("Adaugam la toata localitatea ") + village + QStringLiteral(" taxa ") +
                                           tax + QStringLiteral("\r in valoare de ") + value + QStringLiteral(" lei ?")))
        return;
    DebtsLedger ledger(s_.database(), s_.folders.data);
    CountersFile counters = s_.counters();
    ledger.chargeVillage(village, tax, fixedTaxDialog_->value(), fixedTaxDialog_->onlyWithHouses(), WorkingYear().toInt(),
                         counters, s_.progress());
    reloadPageOnShow(kTaxesDebitsEntry);
    s_.messages().showInformation(title, QStringLiteral("Taxa ") + tax + QStringLiteral(", in valoare de ") + value +
                                             QStringLiteral(" lei\ra fost adaugata la toata localitatea ") + village + '.');
}

void TGospodarii::AddAllTaxa2Click() {
    const QString village = chosenVillage();
    if (village.isEmpty() || !fixedTaxDialog_->ShowFixedTaxDialog(false)) return;
    const QString title = QStringLiteral("Adaugare taxa fixa");
    const QString quantity = QString::number(fixedTaxDialog_->value());
    if (!s_.messages().askYesNoDefaultNu(title, QStringLiteral("Punem la toata localitatea ") + village + QStringLiteral(" la taxa ") +
                                           fixedTaxDialog_->tax() + QStringLiteral("\r cantitatea ") + quantity +
                                           QStringLiteral(" ?")))
        return;
    DebtsLedger ledger(s_.database(), s_.folders.data);
    ledger.setVillageQuantity(village, fixedTaxDialog_->taxPosition(), fixedTaxDialog_->value());
    reloadPageOnShow(kOtherTaxesEntry);
    s_.messages().showInformation(title, QStringLiteral("Taxa a fost stabilita la toata localitatea."));
}

void TGospodarii::setPaymentActions(std::function<void()> addCurrentRole, std::function<void()> addAllVillages) {
    const auto hook = [this](const char* name, std::function<void()> action) {
        auto* b = findChild<QPushButton*>(QLatin1String(name));
        b->setEnabled(bool(action));
        disconnect(b, &QPushButton::clicked, this, nullptr);
        if (action)
            connect(b, &QPushButton::clicked, this, [this, action] { s_.messages().guard(action); });
    };
    hook("AddLaPlata", std::move(addCurrentRole));
    hook("AddAllPlata", std::move(addAllVillages));
}

} // namespace vartesa
