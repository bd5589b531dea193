#include "documents/ui/garnishment_windows.h"

#include "cash/ui/account_window.h"
#include "shell/services.h"
#include "shell/text_helpers.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

TAddNrTitlu::TAddNrTitlu(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TAddNrTitlu"));
    setWindowTitle(QStringLiteral("Popriri"));
    Heading = named(new QLabel(kGarnishmentTitle, this), "Heading");
    QFont bold = Heading->font();
    bold.setBold(true);
    Heading->setFont(bold);
    NrTitlu = named(new QLineEdit(this), "NrTitlu");
    NumeTert = named(new QLineEdit(this), "NumeTert");
    SediuTert = named(new QLineEdit(this), "SediuTert");
    fitCharacters(NumeTert, 40, true);
    MemoBut = named(new QPushButton(QStringLiteral("Continua"), this), "MemoBut");
    CloseBut = named(new QPushButton(QStringLiteral("&Renunt"), this), "CloseBut");
    for (QPushButton* b : {MemoBut, CloseBut}) b->setAutoDefault(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Numarul titlului"), NrTitlu);
    form->addRow(QStringLiteral("Denumire tert poprit"), NumeTert);
    form->addRow(QStringLiteral("Sediu social tert poprit"), SediuTert);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoBut);
    buttons->addWidget(CloseBut);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Heading, 0, Qt::AlignCenter);
    layout->addLayout(form);
    layout->addLayout(buttons);
    EnterNavigation::install({NrTitlu, NumeTert, SediuTert}, MemoBut);
    connect(MemoBut, &QPushButton::clicked, this, &TAddNrTitlu::MemoButClick);
    connect(CloseBut, &QPushButton::clicked, this, &QDialog::reject);
}

void TAddNrTitlu::prepare() {
    NrTitlu->clear();
    NrTitlu->setFocus();
}

std::optional<ThirdParty> TAddNrTitlu::AskTitle() {
    prepare();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return ThirdParty{NrTitlu->text(), NumeTert->text(), SediuTert->text()};
}

void TAddNrTitlu::MemoButClick() {
    NrTitlu->setText(CollapseSpaces(NrTitlu->text()));
    if (NrTitlu->text().isEmpty()) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu ati scris nimic!"), NrTitlu);
        return;
    }
    accept();
}

void PoprireP(Services& s, TGospodarieF& account, TAddNrTitlu& dialog, GarnishmentTo to) {
    const AccountRole& role = account.accountRole();
    if (!role.found) return;
    // The lines are those of today, as the document's date says; the screen keeps its date.
    s.messages().guard([&] {
        IssueGarnishment(s, ReadSummonsPrintSettings(s, s.user), role, account.Localitatea->text(), to,
                         s.clock().today(), [&](const GarnishmentDetail&) { return dialog.AskTitle(); },
                         s.folders.program + QStringLiteral("/Pop"));
    });
}

} // namespace vartesa
