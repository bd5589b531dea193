#include "documents/ui/role_selection_dialog.h"

#include "shell/services.h"
#include "shell/startup.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vartesa {

namespace {

// A whole role number of at most 6 digits.
QLineEdit* roleField(QWidget* parent, const char* name) {
    auto* e = named(new QLineEdit(QStringLiteral("0"), parent), name);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), e));
    fitCharacters(e, 8, false);
    return e;
}

} // namespace

TFAlegeROL::TFAlegeROL(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TFAlegeROL"));
    setWindowTitle(QStringLiteral("Listare"));
    Label2 = named(new QLabel(QStringLiteral("Alegeti ROL-urile"), this), "Label2");
    QFont big = Label2->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    Label2->setFont(big);
    Label2->setAlignment(Qt::AlignCenter);
    SatulX = named(new QComboBox(this), "SatulX");
    fitCharacters(SatulX, 32, true);
    TipPers = named(new QComboBox(this), "TipPers");
    TipPers->addItems({QStringLiteral("* indiferent *"), QStringLiteral("FIZICA"), QStringLiteral("JURIDICA")});
    ROL0 = roleField(this, "ROL0");
    ROL1 = roleField(this, "ROL1");
    DataC = named(new QDateEdit(this), "DataC");
    DataC->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DataC->setCalendarPopup(true);
    SiZero = named(new QCheckBox(this), "SiZero");
    AdresaSort = named(new QCheckBox(QStringLiteral("Ordonare dupa adresa"), this), "AdresaSort");
    MemoBut = named(new QPushButton(QStringLiteral("Listeaza"), this), "MemoBut");
    CloseBut = named(new QPushButton(QStringLiteral("&Renunt"), this), "CloseBut");
    MemoBut->setAutoDefault(false);
    CloseBut->setAutoDefault(false);
    TipPersLabel = new QLabel(QStringLiteral("Tip persoana"), this);
    DataCLabel = new QLabel(QStringLiteral("Data calcularii"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Localitatea"), SatulX);
    form->addRow(TipPersLabel, TipPers);
    form->addRow(QStringLiteral("incepand cu numarul de ROL"), ROL0);
    form->addRow(QStringLiteral("pana la numarul de ROL"), ROL1);
    form->addRow(DataCLabel, DataC);
    form->addRow(SiZero);
    form->addRow(AdresaSort);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoBut);
    buttons->addWidget(CloseBut);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(MemoBut, &QPushButton::clicked, this, &TFAlegeROL::MemoButClick);
    connect(CloseBut, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({SatulX, TipPers, ROL0, ROL1, DataC, SiZero, AdresaSort}, MemoBut);
}

void TFAlegeROL::prepare(const QString& heading, const QString& checkBoxCaption, bool showAddressOrder,
                         bool showPersonType, bool showCheckBox, bool showDate) {
    Label2->setText(heading);
    SiZero->setText(checkBoxCaption);
    SiZero->setVisible(showCheckBox);
    TipPers->setVisible(showPersonType);
    TipPersLabel->setVisible(showPersonType);
    AdresaSort->setVisible(showAddressOrder);
    SatulX->clear();
    s_.messages().guard([&] { SatulX->addItems(RoleSelectionVillages(s_.database(), s_.folders.data)); });
    if (SatulX->count() == 0) SatulX->addItem(kAllVillages);
    SatulX->setCurrentIndex(0);
    DataC->setVisible(showDate);
    DataCLabel->setVisible(showDate);
    if (showDate) DataC->setDate(QDate(WorkingYear().toInt(), 12, 31));
    SatulX->setFocus();
}

std::optional<RoleSelection> TFAlegeROL::ChooseRoles(const QString& heading, const QString& checkBoxCaption,
                                                     bool showAddressOrder, bool showPersonType, bool showCheckBox,
                                                     bool showDate) {
    prepare(heading, checkBoxCaption, showAddressOrder, showPersonType, showCheckBox, showDate);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return selection();
}

RoleSelection TFAlegeROL::selection() const {
    RoleSelection s;
    s.village = SatulX->currentIndex() <= 0 ? QString() : SatulX->currentText().trimmed();
    s.fromRole = ROL0->text().trimmed().toLongLong();
    s.toRole = ROL1->text().trimmed().toLongLong();
    s.person = TipPers->isHidden() ? PersonChoice::Any : PersonChoice(std::max(0, TipPers->currentIndex()));
    s.siZero = !SiZero->isHidden() && SiZero->isChecked();
    s.addressOrder = !AdresaSort->isHidden() && AdresaSort->isChecked();
    if (!DataC->isHidden()) s.date = DataC->date();
    return s;
}

void TFAlegeROL::MemoButClick() {
    const RoleSelection s = selection();
    if (const std::optional<QString> wrong = CheckRoleRange(s.fromRole, s.toRole)) {
        s_.messages().ShowProblemHint(*wrong, ROL0);
        ROL0->setFocus();
        return;
    }
    accept();
}

void MatriculationRegisterClick(Services& services, TFAlegeROL& dialog, RegisterKind kind) {
    const std::optional<RoleSelection> chosen =
        dialog.ChooseRoles(QStringLiteral("Registrul Matricol"), QStringLiteral("Inclusiv gospodariile fara patrimoniu"),
                           false, true, true, false);
    if (!chosen) return;
    services.messages().guard([&] { ProduceMatriculationRegister(services, kind, *chosen); });
}

} // namespace vartesa
