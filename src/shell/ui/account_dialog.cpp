#include "shell/ui/account_dialog.h"
#include "shell/ui/window_looks.h"

#include "shell/services.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/upper_case.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QLineEdit* passwordField(const QString& name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    makeUpperCase(edit, 32);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return edit;
}

} // namespace

AccountDialog::AccountDialog(const QString& password, const QString& card, Messages& messages, QWidget* parent)
    : QDialog(parent, DialogFlags()), messages_(messages), password_(passwordField(QStringLiteral("ParolaNouaEd"), password, this)),
      verify_(passwordField(QStringLiteral("VerificaParolaEd"), password, this)), card_(new QLineEdit(card, this)) {
    setObjectName(QStringLiteral("Utilizator"));
    setWindowTitle(QStringLiteral("Utilizator"));
    card_->setObjectName(QStringLiteral("LegitimatiaEd"));
    makeUpperCase(card_, 32);
    fitCharacters(card_, 32, true);

    auto* save = new QPushButton(QStringLiteral("&Memoreaza"), this);
    save->setObjectName(QStringLiteral("MemoreazaBut"));
    auto* cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    cancel->setObjectName(QStringLiteral("RenuntBut"));
    for (QPushButton* b : {save, cancel}) b->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &AccountDialog::MemoreazaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Parola noua"), password_);
    form->addRow(QStringLiteral("Verifica parola"), verify_);
    form->addRow(QStringLiteral("Legitimatia"), card_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a small dialog keeps the size its fields need
    layout->addLayout(form);
    layout->addLayout(buttons);
    EnterNavigation::install({password_, verify_, card_}, save);
}

QString AccountDialog::password() const { return password_->text(); }

QString AccountDialog::card() const { return card_->text(); }

void AccountDialog::MemoreazaClick() {
    if (password_->text().isEmpty() || password_->text() != verify_->text()) {
        messages_.ShowProblemHint(QStringLiteral("Parola nesetata sau nu este identica in cele doua casute!"), password_);
        return;
    }
    accept();
}

} // namespace vartesa
