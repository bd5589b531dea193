#include "documents/ui/report_selection_dialog.h"

#include "admin/admin_constants.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QLineEdit* numberField(QWidget* parent, const char* name) {
    auto* e = named(new QLineEdit(QStringLiteral("0"), parent), name);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}(\\.[0-9]{0,4})?")), e));
    fitCharacters(e, 10, false);
    return e;
}


} // namespace

TPerSelect::TPerSelect(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TPerSelect"));
    setWindowTitle(QStringLiteral("Rapoarte"));
    const QDate today = services.clock().today();
    TitlulL = named(new QLabel(this), "TitlulL");
    QFont big = TitlulL->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    TitlulL->setFont(big);
    TitlulL->setAlignment(Qt::AlignCenter);
    SATUL = named(new QComboBox(this), "SATUL");
    fitCharacters(SATUL, 32, true);
    ROL0 = numberField(this, "ROL0");
    ROL1 = numberField(this, "ROL1");
    DataAzi = dateField(this, "DataAzi", today);
    NrInreg = numberField(this, "NrInreg");
    DataInreg = dateField(this, "DataInreg", today);
    MemoBut = named(new QPushButton(QStringLiteral("Raporteaza"), this), "MemoBut");
    Button1 = named(new QPushButton(QStringLiteral("&Renunt"), this), "Button1");
    MemoBut->setAutoDefault(false);
    Button1->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Localitatea"), SATUL);
    form->addRow(QStringLiteral("incepand cu numarul de ROL"), ROL0);
    form->addRow(QStringLiteral("pana la numarul de ROL"), ROL1);
    form->addRow(QStringLiteral("Situatia se va calcula la data de"), DataAzi);
    auto* registration = new QGroupBox(QStringLiteral("Numere de inregistrare"), this);
    auto* numbers = new QFormLayout(registration);
    numbers->addRow(QStringLiteral("incepand cu nr."), NrInreg);
    numbers->addRow(QStringLiteral("din data"), DataInreg);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoBut);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TitlulL);
    layout->addLayout(form);
    layout->addWidget(registration);
    layout->addLayout(buttons);
    connect(MemoBut, &QPushButton::clicked, this, &TPerSelect::MemoButClick);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({SATUL, ROL0, ROL1, DataAzi, NrInreg, DataInreg}, MemoBut);
}

void TPerSelect::prepare(const QString& title) {
    TitlulL->setText(title);
    setWindowTitle(QStringLiteral("Rapoarte"));
    SATUL->clear();
    s_.messages().guard([&] { SATUL->addItems(NoticeVillages(s_.database(), s_.folders.data)); });
    SATUL->setCurrentIndex(SATUL->count() > 0 ? 0 : -1);
    SATUL->setFocus();
}

bool TPerSelect::ShowSelection(const QString& title) {
    prepare(title);
    return exec() == QDialog::Accepted;
}

NoticeChoice TPerSelect::choice() const {
    NoticeChoice c;
    c.village = SATUL->currentText().trimmed();
    c.fromRole = ROL0->text().trimmed();
    c.toRole = ROL1->text().trimmed();
    c.date = DataAzi->date();
    c.firstNumber = WholePart(NrInreg->text());
    c.registered = DataInreg->date();
    return c;
}

void TPerSelect::MemoButClick() {
    const NoticeChoice c = choice();
    if (const std::optional<NoticeRefusal> refused = CheckNoticeChoice(c.village, c.fromRole, c.toRole)) {
        QWidget* field = refused->field == NoticeField::Village    ? static_cast<QWidget*>(SATUL)
                         : refused->field == NoticeField::FromRole ? static_cast<QWidget*>(ROL0)
                                                                   : static_cast<QWidget*>(ROL1);
        s_.messages().ShowProblemHint(refused->text, field);
        field->setFocus();
        return;
    }
    accept();
}

void InstiintarideplataClick(Services& services, const AdminConstants& constants, TPerSelect& dialog) {
    if (!dialog.ShowSelection(kNoticesTitle)) return;
    services.messages().guard([&] {
        const NoticeSettings settings{TownHallFrom(constants), AccountRulesFrom(constants), WorkingYear().toInt()};
        const NoticeRun run = GeneratePaymentNotices(services, settings, dialog.choice(),
                                                     services.folders.program + QStringLiteral("/Instiintare"));
        if (!run.file.isEmpty()) services.desktop().openFile(run.file);
    });
}

} // namespace vartesa
