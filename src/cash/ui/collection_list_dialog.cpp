// TAddListDeInc: the choices of the lists to collect.

#include "cash/ui/collection_list_dialog.h"

#include "cash/collection_list.h"
#include "shell/services.h"
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
#include <QVBoxLayout>

namespace vartesa {

TAddListDeInc::TAddListDeInc(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TAddListDeInc"));
    setWindowTitle(QStringLiteral("Lista de incasat"));
    SatulX = named(new QComboBox(this), "SatulX");
    SatulX->setEditable(true);
    SatulX->setInsertPolicy(QComboBox::NoInsert);
    fitCharacters(SatulX, 32, true);
    DataC = named(new QDateEdit(this), "DataC");
    DataC->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DataC->setCalendarPopup(true);
    SiPlusuri = named(new QCheckBox(QStringLiteral("Include si plusurile"), this), "SiPlusuri");
    SiZero = named(new QCheckBox(QStringLiteral("Include si gospodariile fara debite"), this), "SiZero");
    TipPersL = new QLabel(QStringLiteral("Tip persoana"), this);
    TipPers = named(new QComboBox(this), "TipPers");
    TipPers->addItems({QStringLiteral("* indiferent *"), QStringLiteral("Fizica"), QStringLiteral("Juridica")});
    ArataBut = named(new QPushButton(QStringLiteral("Arata Lista"), this), "ArataBut");
    RenuntBut = named(new QPushButton(QStringLiteral("&Renunt"), this), "RenuntBut");
    ArataBut->setAutoDefault(false);
    RenuntBut->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Localitatea"), SatulX);
    form->addRow(QStringLiteral("Data calcularii"), DataC);
    form->addRow(SiPlusuri);
    form->addRow(SiZero);
    form->addRow(TipPersL, TipPers);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ArataBut);
    buttons->addWidget(RenuntBut);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(ArataBut, &QPushButton::clicked, this, &TAddListDeInc::ArataListaClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({SatulX, DataC, SiPlusuri, SiZero, TipPers}, ArataBut);
}

void TAddListDeInc::prepare(bool withPersonType) {
    SatulX->clear();
    SatulX->addItem(kAnyVillage);
    s_.messages().guard([&] { SatulX->addItems(CollectionListVillages(s_.database(), s_.folders.data)); });
    SatulX->setCurrentIndex(0);
    DataC->setDate(s_.clock().today());
    TipPers->setCurrentIndex(0);
    TipPersL->setVisible(withPersonType);
    TipPers->setVisible(withPersonType);
    SatulX->setFocus();
}

bool TAddListDeInc::ShowCollectionListDialog(bool withPersonType) {
    prepare(withPersonType);
    return exec() == QDialog::Accepted;
}

void TAddListDeInc::ArataListaClick() {
    const QString village = SatulX->currentText();
    const QString problem = CheckCollectionListChoice(village, DataC->date(), s_.clock().today());
    if (!problem.isEmpty()) {
        QWidget* field = village.trimmed().isEmpty() ? static_cast<QWidget*>(SatulX) : DataC;
        s_.messages().ShowProblemHint(problem, field);
        field->setFocus();
        return;
    }
    accept();
}

QString TAddListDeInc::village() const { return SatulX->currentText(); }
QDate TAddListDeInc::date() const { return DataC->date(); }
bool TAddListDeInc::withCredits() const { return SiPlusuri->isChecked(); }
bool TAddListDeInc::withoutDebts() const { return SiZero->isChecked(); }
int TAddListDeInc::personType() const { return TipPers->isHidden() ? 0 : TipPers->currentIndex(); }

} // namespace vartesa
