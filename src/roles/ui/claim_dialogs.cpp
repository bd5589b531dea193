#include "claim_dialogs.h"
#include "shell/ui/window_looks.h"

#include "roles/ledger.h"
#include "shell/services.h"
#include "shell/ui/upper_case.h"
#include "shell/text_helpers.h"
#include "admin/ui/codes_window.h"
#include "shell/ui/combo_helpers.h"
#include "shell/ui/enter_navigation.h"
#include "shell/table_files.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vartesa {

namespace {

// Whole lei without sign, as wide as the ledger's amount fields.
QLineEdit* amountField(QWidget* parent, const char* name, int digits) {
    auto* f = new QLineEdit(QStringLiteral("0"), parent);
    f->setObjectName(QLatin1String(name));
    f->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), f));
    f->setAlignment(Qt::AlignRight);
    return f;
}

qint64 wholeLei(const QLineEdit* f) { return f->text().trimmed().toLongLong(); }

QString codesTable(const Services& s) { return s.folders.data + '/' + tables::BudgetCodes; }

QLabel* titleLine(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

TFTaxe::TFTaxe(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags() | Qt::WindowStaysOnTopHint), DINDATA(new QDateEdit(this)),
      CreantaBox(new QComboBox(this)), Nr(amountField(this, "Nr", 10)), DOCJUS(new QLineEdit(this)),
      Suma(amountField(this, "Suma", 6)), Rest(amountField(this, "Rest", 6)), Reduc(amountField(this, "Reduc", 6)),
      TitlulL(titleLine(this, "TitlulL")), MemoreazaBut(new QPushButton(QStringLiteral("&Memoreaza"), this)),
      services_(services) {
    setObjectName(QStringLiteral("TFTaxe"));
    setWindowTitle(QStringLiteral("Taxe / Amenzi"));
    DINDATA->setObjectName(QStringLiteral("DINDATA"));
    DINDATA->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DINDATA->setCalendarPopup(false); // up-down buttons
    CreantaBox->setObjectName(QStringLiteral("CreantaBox"));
    CreantaBox->setEditable(false);
    DOCJUS->setObjectName(QStringLiteral("DOCJUS"));
    refuseTooLongText(DOCJUS, 50, services.messages());
    MemoreazaBut->setObjectName(QStringLiteral("MemoreazaBut"));
    auto* cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    cancel->setObjectName(QStringLiteral("RenuntBut"));
    auto* codes = new QPushButton(QStringLiteral("Coduri clasificare"), this);
    codes->setObjectName(QStringLiteral("CoduriBut"));
    for (QPushButton* b : {MemoreazaBut, cancel, codes}) b->setAutoDefault(false);
    connect(MemoreazaBut, &QPushButton::clicked, this, &TFTaxe::MemoreazaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(codes, &QPushButton::clicked, this, &TFTaxe::CoduriClick);
    EnterNavigation::install({DINDATA, CreantaBox, Nr, DOCJUS, Suma, Rest, Reduc}, MemoreazaBut);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Din data de"), DINDATA);
    form->addRow(QStringLiteral("Denumirea creantei"), CreantaBox);
    // The supporting document: its number and explanation under one heading.
    auto* document = new QGroupBox(QStringLiteral("Doc. justificativ"), this);
    auto* documentForm = new QFormLayout(document);
    documentForm->addRow(QStringLiteral("Numarul"), Nr);
    documentForm->addRow(QStringLiteral("Explicatii"), DOCJUS);
    fitCharacters(DOCJUS, 50, false);
    // Each amount with its unit after the field.
    auto* amounts = new QGridLayout;
    const std::pair<const char*, QLineEdit*> rows[] = {{"Suma curenta", Suma}, {"Restanta", Rest}, {"Reducere", Reduc}};
    for (int r = 0; r < 3; ++r) {
        amounts->addWidget(new QLabel(QLatin1String(rows[r].first), this), r, 0);
        amounts->addWidget(rows[r].second, r, 1);
        amounts->addWidget(new QLabel(QStringLiteral("lei"), this), r, 2);
    }
    amounts->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(codes);
    buttons->addStretch();
    buttons->addWidget(MemoreazaBut);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a small dialog keeps the size its fields need
    layout->addWidget(TitlulL);
    layout->addLayout(form);
    layout->addWidget(document);
    layout->addLayout(amounts);
    layout->addLayout(buttons);
}

void TFTaxe::fillClaims() {
    CreantaBox->clear();
    FillComboDistinct(CreantaBox, services_.database(), codesTable(services_), QStringLiteral("TIP <> 'I'"),
                      QStringLiteral("GRUPA"));
}

void TFTaxe::ResetClaimDialog() {
    DINDATA->setDate(services_.clock().today());
    DOCJUS->clear();
    for (QLineEdit* f : {Suma, Rest, Reduc}) f->setText(QStringLiteral("0"));
    CreantaBox->setEnabled(true);
    fillClaims();
}

bool TFTaxe::ShowClaimDialog(const QString& title) {
    TitlulL->setText(title);
    DINDATA->setFocus();
    return exec() == QDialog::Accepted;
}

void TFTaxe::MemoreazaClick() {
    ManualClaim c;
    c.claim = claim();
    c.explanation = explanation();
    c.amounts = amounts();
    QStringList offered;
    for (int i = 0; i < CreantaBox->count(); ++i) offered << CreantaBox->itemText(i);
    const ManualClaimProblem problem = CheckManualClaim(c, offered);
    using At = ManualClaimProblem::At;
    if (problem.at == At::Amounts) {
        services_.messages().ShowProblemHint(problem.text, Reduc);
        return;
    }
    Nr->setText(QString::number(wholeLei(Nr)));
    DOCJUS->setText(c.explanation);
    if (problem.at == At::Window) {
        services_.messages().ShowErrors(problem.title, problem.text, MessageKind::Error, MessageButton::Ok);
        return;
    }
    if (problem.at == At::Claim) {
        services_.messages().ShowProblemHint(problem.text, CreantaBox);
        return;
    }
    accept();
}

void TFTaxe::CoduriClick() {
    if (openCodesWindow) {
        openCodesWindow();
    } else {
        TFCoduri codes(services_, this);
        codes.OpenCodesWindow();
    }
    fillClaims();
}

QDate TFTaxe::date() const { return DINDATA->date(); }
QString TFTaxe::claim() const { return CreantaBox->currentText(); }
QString TFTaxe::number() const { return Nr->text(); }
QString TFTaxe::explanation() const { return DOCJUS->text(); }
ClaimAmounts TFTaxe::amounts() const { return {wholeLei(Suma), wholeLei(Rest), wholeLei(Reduc)}; }

TFAddTaxaFixa::TFAddTaxaFixa(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), Taxa(new QComboBox(this)), Cant(amountField(this, "Cant", 6)),
      CuCase(new QCheckBox(QStringLiteral("Adauga numai gospodariilor cu case"), this)), CantL(new QLabel(this)),
      TitluL(titleLine(this, "TitluL")), AdaugaBut(new QPushButton(QStringLiteral("Adauga"), this)), services_(services) {
    setObjectName(QStringLiteral("TFAddTaxaFixa"));
    Taxa->setObjectName(QStringLiteral("Taxa"));
    CuCase->setObjectName(QStringLiteral("CuCase"));
    AdaugaBut->setObjectName(QStringLiteral("AdaugaBut"));
    auto* cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    cancel->setObjectName(QStringLiteral("RenuntBut"));
    for (QPushButton* b : {AdaugaBut, cancel}) b->setAutoDefault(false);
    connect(AdaugaBut, &QPushButton::clicked, this, &TFAddTaxaFixa::AdaugaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({Taxa, Cant}, AdaugaBut);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Taxa"), Taxa);
    form->addRow(CantL, Cant);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(AdaugaBut);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a small dialog keeps the size its fields need
    layout->addWidget(TitluL);
    layout->addLayout(form);
    layout->addWidget(CuCase);
    layout->addLayout(buttons);
}

bool TFAddTaxaFixa::ShowFixedTaxDialog(bool villageTax) {
    villageTax_ = villageTax;
    setWindowTitle(villageTax ? QStringLiteral("Adauga taxa la toti") : QStringLiteral("Alte taxe"));
    CantL->setText(villageTax ? QStringLiteral("Valoare") : QStringLiteral("cantitatea"));
    TitluL->setText(villageTax ? QStringLiteral("Definire taxa") : QStringLiteral("Stabilire cantitate"));
    Taxa->clear();
    if (villageTax)
        FillComboDistinct(Taxa, services_.database(), codesTable(services_), QStringLiteral("TIP = 'T'"),
                          QStringLiteral("GRUPA"));
    else
        Taxa->addItems(PageSevenTaxes());
    if (Taxa->count() > 0) Taxa->setCurrentIndex(0);
    Taxa->setFocus();
    return exec() == QDialog::Accepted;
}

void TFAddTaxaFixa::AdaugaClick() {
    // A tax of 0 lei would charge nothing to a whole village. A quantity of 0 is how a
    // clerk clears a tax of page 7 for a village, so it is taken.
    if (villageTax_ && value() <= 0) {
        services_.messages().ShowProblemHint(QStringLiteral("Valoarea trebuie sa fie mai mare decat 0!"), Cant);
        return;
    }
    if (tax().isEmpty()) {
        services_.messages().ShowProblemHint(QStringLiteral("Alegeti taxa!"), Taxa);
        return;
    }
    accept();
}

QString TFAddTaxaFixa::tax() const { return Taxa->currentText(); }
int TFAddTaxaFixa::taxPosition() const { return int(PageSevenTaxes().indexOf(tax())) + 1; }
qint64 TFAddTaxaFixa::value() const { return wholeLei(Cant); }
bool TFAddTaxaFixa::onlyWithHouses() const { return CuCase->isChecked(); }

} // namespace vartesa
