#include "roles/ui/role_dialog.h"
#include "shell/ui/window_looks.h"

#include "roles/role_checks.h"
#include "roles/role_register.h"
#include "shell/services.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/combo_helpers.h"
#include "shell/ui/upper_case.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace vartesa {

namespace {

constexpr int kNotesLength = 240; // OBS

// The observations box holds at most as much as OBS does: an edit that would pass it is
// undone whole, with a balloon, rather than cut.
void capNotes(QPlainTextEdit* memo, Messages& messages) {
    auto accepted = std::make_shared<QString>();
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, accepted, &messages] {
        const QString text = memo->toPlainText();
        if (text.size() <= kNotesLength) {
            *accepted = text;
            return;
        }
        const int at = std::min<int>(memo->textCursor().position() - int(text.size() - accepted->size()),
                                     int(accepted->size()));
        {
            const QSignalBlocker quiet(memo);
            memo->setPlainText(*accepted);
        }
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(std::max(0, at));
        memo->setTextCursor(cursor);
        messages.ShowProblemHint(TooLongTextHint(int(text.size()), kNotesLength), memo);
    });
}

} // namespace

TAddGosF::TAddGosF(Services& services, RoleRegister& roles, QWidget* parent)
    : QDialog(parent, DialogFlags() | Qt::WindowStaysOnTopHint), SatCombo(named(new QComboBox(this), "SatCombo")),
      ROLEd(named(new QLineEdit(this), "ROLEd")), CapGosp(named(new QLineEdit(this), "CapGosp")),
      TipEd(named(new QComboBox(this), "TipEd")), CNP1(named(new QLineEdit(this), "CNP1")),
      Adresa(named(new QComboBox(this), "Adresa")), FaraMaj(named(new QComboBox(this), "FaraMaj")),
      SCCLAD(named(new QCheckBox(QStringLiteral("Cladiri, cladiri anexe"), this), "SCCLAD")),
      SCCC(named(new QCheckBox(QStringLiteral("Teren curti - constructii"), this), "SCCC")),
      SCAUTO(named(new QCheckBox(QStringLiteral("Mijloace de transport"), this), "SCAUTO")),
      SCTI(named(new QCheckBox(QStringLiteral("Teren intravilan"), this), "SCTI")),
      SCTE(named(new QLineEdit(this), "SCTE")), Memo1(named(new QPlainTextEdit(this), "Memo1")),
      MemoreazaBut(named(new QPushButton(QStringLiteral("&Memoreaza"), this), "MemoreazaBut")),
      RenuntBut(named(new QPushButton(QStringLiteral("&Renunt"), this), "RenuntBut")), services_(services),
      roles_(roles) {
    setObjectName(QStringLiteral("TAddGosF"));
    Messages& messages = services.messages();
    SatCombo->setEditable(true);
    makeUpperCase(SatCombo->lineEdit(), 32, &messages, SatCombo);
    makeUpperCase(ROLEd, 9, &messages);
    makeUpperCase(CapGosp, 40, &messages);
    makeUpperCase(CNP1, 13, &messages);
    TipEd->addItems({kPersonNatural, kPersonLegal});
    Adresa->setEditable(true);
    refuseTooLongText(Adresa->lineEdit(), 80, messages, Adresa);
    Adresa->setInsertPolicy(QComboBox::NoInsert);
    // Another household's address must never replace the one typed: the lists suggest,
    // only a suggestion chosen with the arrows or the mouse is taken.
    SuggestWithoutCompleting(SatCombo);
    SuggestWithoutCompleting(Adresa);
    FaraMaj->addItems({QStringLiteral("NU"), QStringLiteral("DA")});
    SCTE->setMaxLength(6);
    SCTE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), SCTE));
    SCTE->setAlignment(Qt::AlignRight);
    capNotes(Memo1, messages);
    for (QPushButton* b : {MemoreazaBut, RenuntBut}) b->setAutoDefault(false);
    connect(MemoreazaBut, &QPushButton::clicked, this, &TAddGosF::MemoreazaClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({SatCombo, ROLEd, CapGosp, TipEd, CNP1, Adresa, FaraMaj, SCCLAD, SCCC, SCAUTO, SCTI, SCTE,
                              Memo1},
                             MemoreazaBut);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Localitatea"), SatCombo);
    form->addRow(QStringLiteral("Nr.ROL unic"), ROLEd);
    form->addRow(QStringLiteral("Cap de gospodarie"), CapGosp);
    form->addRow(QStringLiteral("Tip persoana"), TipEd);
    form->addRow(QStringLiteral("CNP / CUI"), CNP1);
    form->addRow(QStringLiteral("Adresa"), Adresa);
    form->addRow(named(new QLabel(QStringLiteral("Fara majorari"), this), "FaraMajLabel"), FaraMaj);
    auto* exemptions = new QGroupBox(QStringLiteral("Scutiri"), this);
    auto* ex = new QVBoxLayout(exemptions);
    for (QCheckBox* c : {SCCLAD, SCCC, SCAUTO, SCTI}) ex->addWidget(c);
    auto* land = new QHBoxLayout;
    land->addWidget(new QLabel(QStringLiteral("Teren extravilan"), exemptions));
    land->addWidget(SCTE);
    land->addWidget(new QLabel(QStringLiteral("lei."), exemptions));
    ex->addLayout(land);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoreazaBut);
    buttons->addWidget(RenuntBut);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(exemptions);
    layout->addWidget(new QLabel(QStringLiteral("Observatii"), this));
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
    setMinimumWidth(520);
    setNoPenaltiesShown(false);
}

void TAddGosF::setNoPenaltiesShown(bool shown) {
    FaraMaj->setVisible(shown);
    findChild<QLabel*>(QStringLiteral("FaraMajLabel"))->setVisible(shown);
}

void TAddGosF::fillAddresses(const QStringList& addresses) {
    Adresa->clear();
    Adresa->addItems(addresses);
}

void TAddGosF::ResetRoleDialog(const QStringList& villages, const QStringList& addresses) {
    role_ = Role();
    SatCombo->clear();
    SatCombo->addItems(villages);
    SatCombo->setCurrentIndex(-1);
    SatCombo->clearEditText();
    for (QLineEdit* e : {ROLEd, CapGosp, CNP1}) e->clear();
    Memo1->clear();
    TipEd->setCurrentIndex(0);
    for (QCheckBox* c : {SCCLAD, SCCC, SCAUTO, SCTI}) c->setChecked(false);
    SCTE->setText(QStringLiteral("0"));
    FaraMaj->setCurrentIndex(0);
    // A new role starts with no address rather than the first one of the list.
    fillAddresses(addresses);
    Adresa->setCurrentIndex(-1);
    Adresa->clearEditText();
}

void TAddGosF::FillRoleDialog(const Role& role, const QStringList& addresses) {
    role_ = role;
    if (SatCombo->findText(role.village) < 0) SatCombo->addItem(role.village);
    SatCombo->setCurrentText(role.village);
    ROLEd->setText(role.number);
    CapGosp->setText(role.name);
    CNP1->setText(role.code);
    fillAddresses(addresses);
    Adresa->setCurrentText(role.address);
    FaraMaj->setCurrentIndex(role.noPenalties ? 1 : 0);
    Memo1->setPlainText(role.notes);
    TipEd->setCurrentIndex(role.personType == kPersonLegal ? 1 : 0);
    SCCLAD->setChecked(role.exemptBuildings);
    SCCC->setChecked(role.exemptYards);
    SCAUTO->setChecked(role.exemptVehicles);
    SCTI->setChecked(role.exemptIntravilan);
    SCTE->setText(QString::number(role.extravilanExemption));
}

bool TAddGosF::ShowRoleDialog(const QString& caption) {
    setWindowTitle(caption);
    SatCombo->setFocus();
    return exec() == QDialog::Accepted;
}

Role TAddGosF::typedRole() const {
    Role r = role_;
    r.village = SatCombo->currentText();
    r.number = ROLEd->text();
    r.name = CapGosp->text();
    r.personType = TipEd->currentText();
    r.code = CNP1->text();
    r.address = Adresa->currentText();
    r.noPenalties = FaraMaj->currentIndex() == 1;
    r.exemptBuildings = SCCLAD->isChecked();
    r.exemptYards = SCCC->isChecked();
    r.exemptVehicles = SCAUTO->isChecked();
    r.exemptIntravilan = SCTI->isChecked();
    r.extravilanExemption = SCTE->text().trimmed().toLongLong(); // empty counts as 0
    r.notes = Memo1->toPlainText().split('\n').join(QString());
    return r;
}

QWidget* TAddGosF::fieldWidget(RoleField field) const {
    switch (field) {
    case RoleField::Village: return SatCombo;
    case RoleField::Number: return ROLEd;
    case RoleField::Name: return CapGosp;
    case RoleField::Code: return CNP1;
    default: return nullptr;
    }
}

void TAddGosF::MemoreazaClick() {
    Role r = typedRole();
    const bool editing = windowTitle() != kAddRoleCaption;
    RoleFormProblem problem;
    if (!services_.messages().guard([&] { problem = CheckRoleForm(roles_, r, editing, services_.messages()); }))
        return;
    if (problem.ok()) {
        QStringList villages;
        for (int i = 0; i < SatCombo->count(); ++i) villages << SatCombo->itemText(i);
        problem = ConfirmNewVillage(villages, r, windowTitle(), services_.messages());
    }
    if (!problem.ok()) {
        QWidget* at = fieldWidget(problem.field);
        if (at) at->setFocus();
        if (!problem.hint.isEmpty()) services_.messages().ShowProblemHint(problem.hint, at);
        return;
    }
    SCTE->setText(QString::number(r.extravilanExemption));
    role_ = r;
    accept();
}

} // namespace vartesa
