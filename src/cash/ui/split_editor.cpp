#include "cash/ui/split_editor.h"

#include "shell/services.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

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

constexpr int kDigits = 8; // more than the receipt keeps: MemoreazaClick refuses the excess

QLineEdit* partField(QWidget* parent, const char* name) {
    auto* f = new QLineEdit(QStringLiteral("0"), parent);
    f->setObjectName(QLatin1String(name));
    f->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,%1}").arg(kDigits)), f));
    f->setAlignment(Qt::AlignRight);
    fitCharacters(f, kDigits + 2, false);
    return f;
}

// A field as a whole number; an empty field or a lone minus sign counts as 0.
std::int64_t wholeLei(const QLineEdit* f) { return f->text().trimmed().toLongLong(); }

QGroupBox* partsGroup(QWidget* parent, const QString& title, const std::vector<std::pair<const char*, QLineEdit*>>& rows) {
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    for (int r = 0; r < int(rows.size()); ++r) {
        grid->addWidget(new QLabel(QLatin1String(rows[size_t(r)].first), box), r, 0);
        grid->addWidget(rows[size_t(r)].second, r, 1);
    }
    return box;
}

} // namespace

TDetaliiModificari::TDetaliiModificari(Messages& messages, QWidget* parent)
    : QDialog(parent, DialogFlags() | Qt::WindowStaysOnTopHint), TitluL(new QLabel(QStringLiteral("ESC - iesire"), this)),
      Restanta(partField(this, "Restanta")), Majorest(partField(this, "Majorest")), Depozit(partField(this, "Depozit")),
      Curent(partField(this, "Curent")), Reducere(partField(this, "Reducere")), Major(partField(this, "Major")),
      MemoreazaBut(new QPushButton(QStringLiteral("&Memoreaza"), this)),
      RenuntBut(new QPushButton(QStringLiteral("&Renunt"), this)), messages_(messages) {
    setObjectName(QStringLiteral("TDetaliiModificari"));
    setWindowTitle(QStringLiteral("Detalii / Modificari"));
    TitluL->setObjectName(QStringLiteral("TitluL"));
    TitluL->setAlignment(Qt::AlignCenter);
    QFont bold = TitluL->font();
    bold.setBold(true);
    TitluL->setFont(bold);
    // The title line takes the longest tax name without widening the window as it changes.
    fitCharacters(TitluL, 60, false);
    MemoreazaBut->setObjectName(QStringLiteral("MemoreazaBut"));
    RenuntBut->setObjectName(QStringLiteral("RenuntBut"));
    for (QPushButton* b : {MemoreazaBut, RenuntBut}) b->setAutoDefault(false);
    connect(MemoreazaBut, &QPushButton::clicked, this, &TDetaliiModificari::MemoreazaClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    // Enter walks the fields and reaches the button; only Enter on the button accepts.
    EnterNavigation::install({Depozit, Majorest, Restanta, Curent, Reducere, Major, MemoreazaBut}, MemoreazaBut);

    auto* groups = new QHBoxLayout;
    groups->addWidget(partsGroup(this, QStringLiteral("Ramasita"),
                                 {{"Ramasita", Restanta}, {"Majorare", Majorest}, {"Plusuri", Depozit}}));
    groups->addWidget(partsGroup(this, QStringLiteral("Curent"),
                                 {{"Curente", Curent}, {"Reducere", Reducere}, {"Majorari", Major}}));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoreazaBut);
    buttons->addWidget(RenuntBut);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(TitluL);
    layout->addLayout(groups);
    layout->addLayout(buttons);
}

void TDetaliiModificari::setParts(const PaymentLine& line) {
    const std::pair<QLineEdit*, std::int64_t> parts[] = {{Restanta, line.arrears},  {Majorest, line.carried},
                                                         {Depozit, line.credit},    {Curent, line.current},
                                                         {Reducere, line.reduction}, {Major, line.penalties}};
    for (const auto& [field, value] : parts) field->setText(QString::number(value));
}

void TDetaliiModificari::readParts(PaymentLine& line) const {
    line.arrears = wholeLei(Restanta);
    line.carried = wholeLei(Majorest);
    line.credit = wholeLei(Depozit);
    line.current = wholeLei(Curent);
    line.reduction = wholeLei(Reducere);
    line.penalties = wholeLei(Major);
}

void TDetaliiModificari::prepare(const QString& group, std::int64_t total) {
    TitluL->setText(group);
    group_ = group;
    total_ = total;
    Restanta->setFocus();
    Restanta->selectAll();
}

bool TDetaliiModificari::ShowSplitEditor(const QString& group, std::int64_t total) {
    prepare(group, total);
    return exec() == QDialog::Accepted;
}

void TDetaliiModificari::MemoreazaClick() {
    PaymentLine split;
    split.group = group_;
    readParts(split);
    // The fields take 8 digits but the receipt keeps 6: a part that does not fit is refused
    // here rather than cut when stored.
    if (const std::optional<QString> refusal = SplitRefusal(split, total_)) {
        messages_.ShowErrors(QStringLiteral("Detalii / Modificari"), *refusal, MessageKind::Error, MessageButton::Ok);
        return;
    }
    accept();
}

} // namespace vartesa
