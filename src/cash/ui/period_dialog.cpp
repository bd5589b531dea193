#include "cash/ui/period_dialog.h"

#include "cash/cash_summaries.h"
#include "shell/services.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

TFAlegePerioada::TFAlegePerioada(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), DataI(dateField(this, "DataI")), DataF(dateField(this, "DataF")),
      ViramentCB(new QCheckBox(QStringLiteral("Inclusiv platile prin virament"), this)),
      ListeazaB(new QPushButton(QStringLiteral("Listeaza"), this)), RenuntB(new QPushButton(QStringLiteral("&Renunt"), this)),
      s_(services), startDay_(services.clock().today()) {
    setObjectName(QStringLiteral("TFAlegePerioada"));
    setWindowTitle(QStringLiteral("Alegeti perioada"));
    ViramentCB->setObjectName(QStringLiteral("ViramentCB"));
    ListeazaB->setObjectName(QStringLiteral("ListeazaB"));
    RenuntB->setObjectName(QStringLiteral("RenuntB"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Incepand cu data"), DataI);
    form->addRow(QStringLiteral("terminand cu data"), DataF);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ListeazaB);
    buttons->addWidget(RenuntB);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(ViramentCB);
    layout->addLayout(buttons);
    ListeazaB->setDefault(true);
    EnterNavigation::install({DataI, DataF}, ListeazaB);
    connect(ListeazaB, &QPushButton::clicked, this, &TFAlegePerioada::ListeazaBClick);
    connect(RenuntB, &QPushButton::clicked, this, &QDialog::reject);
    DataI->setDate(startDay_);
    DataF->setDate(startDay_);
}

void TFAlegePerioada::prepare(bool offerTransfers, const QDate& start) {
    if (start.isValid()) {
        DataI->setDate(start);
        DataF->setDate(start);
    }
    ViramentCB->setVisible(offerTransfers);
    if (!offerTransfers) ViramentCB->setChecked(false);
    DataI->setFocus();
}

bool TFAlegePerioada::ChoosePeriod(bool offerTransfers, const QDate& start) {
    prepare(offerTransfers, start);
    return exec() == QDialog::Accepted;
}

QDate TFAlegePerioada::from() const { return DataI->date(); }
QDate TFAlegePerioada::to() const { return DataF->date(); }
bool TFAlegePerioada::withTransfers() const { return ViramentCB->isVisible() && ViramentCB->isChecked(); }

void TFAlegePerioada::ListeazaBClick() {
    if (auto wrong = CheckPeriod(from(), to())) {
        s_.messages().ShowProblemHint(*wrong, DataI);
        DataI->setFocus();
        return;
    }
    accept();
}

} // namespace vartesa
