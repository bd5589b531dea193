#include "cash/ui/manual_operation_dialog.h"

#include "shell/services.h"
#include "shell/ui/combo_helpers.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"
#include "shell/table_files.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vartesa {

TFAddOper::TFAddOper(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), DocJusCombo(new QComboBox(this)), TipCombo(new QComboBox(this)),
      SumaEd(new QLineEdit(this)), DataEd(new QDateEdit(this)), MemoreazaB(new QPushButton(QStringLiteral("&Memoreaza"), this)),
      RenuntB(new QPushButton(QStringLiteral("&Renunt"), this)), s_(services) {
    setObjectName(QStringLiteral("TFAddOper"));
    DocJusCombo->setObjectName(QStringLiteral("DocJusCombo"));
    DocJusCombo->setEditable(true);
    DocJusCombo->setInsertPolicy(QComboBox::NoInsert);
    DocJusCombo->lineEdit()->setMaxLength(50);
    fitCharacters(DocJusCombo, 40, false);
    TipCombo->setObjectName(QStringLiteral("TipCombo"));
    TipCombo->addItems({QStringLiteral("INCASARE"), QStringLiteral("PLATA")});
    SumaEd->setObjectName(QStringLiteral("SumaEd"));
    SumaEd->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), SumaEd));
    DataEd->setObjectName(QStringLiteral("DataEd"));
    DataEd->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DataEd->setCalendarPopup(true);
    MemoreazaB->setObjectName(QStringLiteral("MemoreazaB"));
    RenuntB->setObjectName(QStringLiteral("RenuntB"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Document justificativ"), DocJusCombo);
    form->addRow(QStringLiteral("Tipul operatiunii"), TipCombo);
    form->addRow(QStringLiteral("Suma (lei)"), SumaEd);
    form->addRow(QStringLiteral("din data"), DataEd);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoreazaB);
    buttons->addWidget(RenuntB);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    EnterNavigation::install({DocJusCombo, TipCombo, SumaEd, DataEd}, MemoreazaB);
    connect(MemoreazaB, &QPushButton::clicked, this, &TFAddOper::MemoreazaBClick);
    connect(RenuntB, &QPushButton::clicked, this, &QDialog::reject);
}

void TFAddOper::prepare(const ManualOperation& op, bool adding) {
    setWindowTitle(adding ? QStringLiteral("Adaugare operatiune") : QStringLiteral("Modificare Operatiune"));
    DocJusCombo->clear();
    FillComboDistinct(DocJusCombo, s_.database(), s_.folders.data + '/' + tables::CashRegister, {},
                      QStringLiteral("DOCJUS"));
    DocJusCombo->setEditText(op.document);
    TipCombo->setCurrentIndex(op.payment ? 1 : 0);
    SumaEd->setText(op.amount > 0 ? QString::number(op.amount) : QString());
    DataEd->setDate(op.day);
    DocJusCombo->setFocus();
}

bool TFAddOper::EditOperation(ManualOperation& op, bool adding) {
    prepare(op, adding);
    if (exec() != QDialog::Accepted) return false;
    op = operation();
    return true;
}

ManualOperation TFAddOper::operation() const {
    return {DataEd->date(), DocJusCombo->currentText(), TipCombo->currentIndex() == 1, SumaEd->text().toLongLong()};
}

void TFAddOper::MemoreazaBClick() {
    if (auto missing = CheckOperation(operation())) {
        QWidget* field = missing->contains(QLatin1String("Document")) ? static_cast<QWidget*>(DocJusCombo) : SumaEd;
        s_.messages().ShowProblemHint(*missing, field);
        field->setFocus();
        return;
    }
    accept();
}

} // namespace vartesa
