#include "roles/ui/debit_dialog.h"
#include "shell/ui/window_looks.h"

#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/services.h"
#include "shell/ui/upper_case.h"
#include "shell/startup.h"
#include "admin/ui/codes_window.h"
#include "shell/ui/combo_helpers.h"
#include "shell/ui/enter_navigation.h"

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

QLineEdit* numberField(QWidget* parent, const char* name, const QString& pattern) {
    auto* f = named(new QLineEdit(parent), name);
    f->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), f));
    f->setAlignment(Qt::AlignRight);
    return f;
}

} // namespace

TAddImpozit::TAddImpozit(Services& services, AdminConstants& constants, QWidget* parent)
    : QDialog(parent, DialogFlags()), services_(services), constants_(constants) {
    setObjectName(QStringLiteral("TAddImpozit"));
    setWindowTitle(QStringLiteral("Impozite"));
    TitluL = named(new QLabel(this), "TitluL");
    TitluL->setAlignment(Qt::AlignCenter);
    QFont bold = TitluL->font();
    bold.setBold(true);
    TitluL->setFont(bold);
    DINDATA = named(new QDateEdit(this), "DINDATA");
    DINDATA->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    Impozit = named(new QComboBox(this), "Impozit");
    Impozit->addItems(DebitTaxes());
    Categoria = named(new QComboBox(this), "Categoria");
    Categoria->addItems(DebitKindTexts());
    BDLabel = named(new QLabel(QStringLiteral("BD"), this), "BDLabel");
    DOCJUS = named(new QLineEdit(this), "DOCJUS");
    refuseTooLongText(DOCJUS, 50, services.messages());
    Numarul = numberField(this, "Numarul", QStringLiteral("\\d{0,10}"));
    // A sign may be typed, to be refused with its message: the sign comes from the kind.
    Valoare = numberField(this, "Valoare", QStringLiteral("-?\\d{0,6}"));
    Detalii = new DebitDetailForms(this, &services.messages());
    MemoreazaBut = named(new QPushButton(QStringLiteral("&Memoreaza"), this), "MemoreazaBut");
    auto* cancel = named(new QPushButton(QStringLiteral("&Renunt"), this), "RenuntBut");
    auto* codes = named(new QPushButton(QStringLiteral("Coduri clasificare"), this), "CoduriBut");
    for (QPushButton* b : {MemoreazaBut, cancel, codes}) b->setAutoDefault(false);
    connect(MemoreazaBut, &QPushButton::clicked, this, &TAddImpozit::MemoreazaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(codes, &QPushButton::clicked, this, [this] {
        if (openCodesWindow) {
            openCodesWindow();
        } else {
            TFCoduri window(services_, this);
            window.OpenCodesWindow();
        }
    });
    connect(Impozit, &QComboBox::currentIndexChanged, this, &TAddImpozit::showFormOfTax);
    connect(Categoria, &QComboBox::currentIndexChanged, this, [this](int kind) {
        BDLabel->setText(DebitDocumentLabel(DebitKind(std::max(kind, 0))));
    });

    auto* kind = new QHBoxLayout;
    kind->addWidget(Categoria, 1);
    kind->addWidget(BDLabel);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Din data de"), DINDATA);
    form->addRow(QStringLiteral("Denumire impozit"), Impozit);
    form->addRow(QStringLiteral("Categoria"), kind);
    form->addRow(QStringLiteral("Doc. justificativ - Explicatii"), DOCJUS);
    form->addRow(QStringLiteral("Doc. justificativ - Numarul"), Numarul);
    form->addRow(QStringLiteral("Valoare impozit (lei)"), Valoare);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(codes);
    buttons->addStretch();
    buttons->addWidget(MemoreazaBut);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TitluL);
    layout->addLayout(form);
    layout->addWidget(Detalii);
    layout->addLayout(buttons);
    setMinimumWidth(520);
    installEnterWalk();
}

// Enter walks the common fields, then the fields of the detail form on show.
void TAddImpozit::installEnterWalk() {
    delete walk_;
    walk_ = EnterNavigation::install(QList<QWidget*>{DINDATA, Impozit, Categoria, DOCJUS, Numarul, Valoare} +
                                         Detalii->fields(),
                                     MemoreazaBut);
}

void TAddImpozit::showFormOfTax() {
    Detalii->setForm(DebitFormOf(Impozit->currentText(), legalPerson_));
    installEnterWalk();
}

void TAddImpozit::ResetDebitDialog(bool legalPerson) {
    legalPerson_ = legalPerson;
    const QDate today = services_.clock().today();
    DINDATA->setDate(today);
    Impozit->setCurrentIndex(0);
    Categoria->setCurrentIndex(0);
    DOCJUS->clear();
    Numarul->setText(QStringLiteral("0"));
    Valoare->setText(QStringLiteral("0"));
    DebitFormDefaults d;
    d.year = WorkingYear().toInt();
    d.zone = constants_.text(DefaultZoneControl().key);
    d.rank = constants_.text(DefaultRankControl().key);
    d.revaluation = today.addMonths(-12);
    Detalii->reset(d);
    showFormOfTax();
}

void TAddImpozit::FillDebitDialog(const DebitEntry& e, bool legalPerson) {
    ResetDebitDialog(legalPerson);
    DINDATA->setDate(e.from);
    SelectComboItem(Impozit, e.tax);
    Categoria->setCurrentIndex(int(e.kind));
    DOCJUS->setText(e.explanation);
    Numarul->setText(QString::number(e.docNumber));
    Valoare->setText(QString::number(e.amount));
    showFormOfTax();
    Detalii->fill(e.details);
}

bool TAddImpozit::ShowDebitDialog(const QString& title) {
    TitluL->setText(title);
    DINDATA->setFocus();
    return exec() == QDialog::Accepted;
}

DebitEntry TAddImpozit::typedEntry() const {
    DebitEntry e;
    e.from = DINDATA->date();
    e.tax = Impozit->currentText();
    e.kind = DebitKind(std::max(Categoria->currentIndex(), 0));
    e.explanation = DOCJUS->text();
    e.docNumber = Numarul->text().toLongLong();
    e.amount = Valoare->text().toLongLong();
    e.details = Detalii->details();
    return e;
}

void TAddImpozit::MemoreazaClick() {
    DebitEntry e = typedEntry();
    const DebitProblem problem = TidyAndCheckDebit(e, Detalii->form(), WorkingYear().toInt());
    DOCJUS->setText(e.explanation);
    Numarul->setText(QString::number(e.docNumber));
    if (!problem.ok()) {
        QWidget* at = problem.field == DebitField::Amount ? Valoare : Detalii->fieldFor(problem.field);
        if (at) at->setFocus();
        services_.messages().ShowProblemHint(problem.hint, at);
        return;
    }
    entry_ = e;
    accept();
}

} // namespace vartesa
