#include "datafolder/ui/new_year_window.h"

#include "shell/ui/enter_navigation.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QCheckBox* tickBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(true);
    return box;
}

} // namespace

TFAnNou::TFAnNou(int oldYear, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFAnNou"));
    setWindowTitle(QStringLiteral("Initializare An Nou"));
    setModal(true);
    auto* heading = new QLabel(QStringLiteral("Alegeti datele de preluat din %1").arg(oldYear), this);
    heading->setObjectName(QStringLiteral("Titlu"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    matricola_ = tickBox("MatricolaOk", QStringLiteral("Preia Matricola actualizata de anul trecut"), this);
    ramasite_ = tickBox("RamasiteOk", QStringLiteral("Preia lista de ramasite calculata la 1.ian.a.c."), this);
    taxe_ = tickBox("TaxeOk", QStringLiteral("Preia taxele restante din anul trecut"), this);
    chosen_ = new QPushButton(QStringLiteral("&Am ales"), this);
    chosen_->setObjectName(QStringLiteral("AmAles"));
    chosen_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    cancel->setObjectName(QStringLiteral("Renunt"));
    connect(chosen_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(chosen_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(matricola_);
    layout->addWidget(ramasite_);
    layout->addWidget(taxe_);
    layout->addLayout(buttons);
    EnterNavigation::install({matricola_, ramasite_, taxe_}, chosen_);
    matricola_->setFocus();
}

NewYearChoices TFAnNou::choices() const {
    return {matricola_->isChecked(), ramasite_->isChecked(), taxe_->isChecked()};
}

bool ChooseNewYearData(QWidget* parent, int oldYear, NewYearChoices& choices) {
    TFAnNou window(oldYear, parent);
    if (window.exec() != QDialog::Accepted) return false;
    choices = window.choices();
    return true;
}

} // namespace vartesa
