#include "cash/ui/no_debit_window.h"

#include "cash/ui/text_rows_model.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "admin/ui/codes_window.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

const QString kCollection = QStringLiteral("INCASARE");
const QString kPayment = QStringLiteral("PLATA");

QLineEdit* textField(QWidget* parent, const char* name, int length) {
    auto* f = named(new QLineEdit(parent), name);
    f->setMaxLength(length);
    fitCharacters(f, std::min(length, 40), true);
    return f;
}

} // namespace

TFFaraDebit::TFFaraDebit(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services),
      linesModel_(new TextRowsModel({QStringLiteral("Contul"), QStringLiteral("Detalii"), QStringLiteral("Suma")}, {2},
                                    this)) {
    setObjectName(QStringLiteral("TFFaraDebit"));
    setWindowTitle(QStringLiteral("Operatiuni fara debit"));
    Grid = readOnlyGrid(this, "Grid", linesModel_);
    TotalL = named(new QLabel(QStringLiteral("0"), this), "TotalL");
    QFont bold = TotalL->font();
    bold.setBold(true);
    TotalL->setFont(bold);
    auto* buttons = new QHBoxLayout;
    auto button = [&](QPushButton*& target, const char* name, const char* caption, void (TFFaraDebit::*handler)()) {
        target = named(new QPushButton(QLatin1String(caption), this), name);
        target->setAutoDefault(false);
        buttons->addWidget(target);
        connect(target, &QPushButton::clicked, this, [this, handler] { s_.messages().guard([&] { (this->*handler)(); }); });
    };
    button(AdaugaB, "AdaugaB", "&Adauga pe chitanta", &TFFaraDebit::AdaugaClick);
    button(StergeB, "StergeB", "&Sterge de pe chitanta", &TFFaraDebit::StergeClick);
    button(CoduriB, "CoduriB", "Coduri clasificare", &TFFaraDebit::CoduriClick);
    buttons->addStretch();
    button(OpereazaB, "OpereazaB", "&Opereaza", &TFFaraDebit::OpereazaClick);
    RenuntB = named(new QPushButton(QStringLiteral("&Renunt"), this), "RenuntB");
    RenuntB->setAutoDefault(false);
    buttons->addWidget(RenuntB);
    connect(RenuntB, &QPushButton::clicked, this, &QDialog::reject);

    auto* total = new QHBoxLayout;
    total->addStretch();
    total->addWidget(new QLabel(QStringLiteral("TOTAL"), this));
    total->addWidget(TotalL);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildDocument());
    layout->addWidget(buildPayer());
    layout->addWidget(Grid, 1);
    layout->addLayout(total);
    layout->addLayout(buttons);
    EnterNavigation::install({TipOp, DinData, ContCombo, Detalii, Suma}, AdaugaB);
    EnterNavigation::install({Titular, CNP, Adresa, Platitor, TipPers}, OpereazaB);
    resize(900, 600);
}

QWidget* TFFaraDebit::buildDocument() {
    auto* box = new QWidget(this);
    TipOp = named(new QComboBox(box), "TipOp");
    TipOp->addItems({kCollection, kPayment});
    connect(TipOp, &QComboBox::currentIndexChanged, this, &TFFaraDebit::TipOpChange);
    DinData = named(new QDateEdit(box), "DinData");
    DinData->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DinData->setCalendarPopup(true);
    SeriaL = named(new QLabel(box), "SeriaL");
    SeriaV = named(new QLabel(box), "SeriaV");
    NrV = named(new QLabel(box), "NrV");
    ContCombo = named(new QComboBox(box), "ContCombo");
    fitCharacters(ContCombo, 40, false);
    Detalii = textField(box, "Detalii", 50);
    Suma = named(new QLineEdit(box), "Suma");
    Suma->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), Suma));
    fitCharacters(Suma, 7, false);
    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Tipul operatiunii"), box), 0, 0);
    g->addWidget(TipOp, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("din data"), box), 0, 2);
    g->addWidget(DinData, 0, 3);
    g->addWidget(SeriaL, 0, 4);
    g->addWidget(SeriaV, 0, 5);
    g->addWidget(new QLabel(QStringLiteral("Nr."), box), 0, 6);
    g->addWidget(NrV, 0, 7);
    g->addWidget(new QLabel(QStringLiteral("Contul"), box), 1, 0);
    g->addWidget(ContCombo, 1, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Detalii"), box), 1, 4);
    g->addWidget(Detalii, 1, 5, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("SUMA"), box), 2, 0);
    auto* sum = new QHBoxLayout;
    sum->addWidget(Suma);
    sum->addWidget(new QLabel(QStringLiteral("LEI"), box));
    sum->addStretch();
    g->addLayout(sum, 2, 1);
    g->setColumnStretch(8, 1);
    return box;
}

QWidget* TFFaraDebit::buildPayer() {
    auto* box = new QGroupBox(this);
    Titular = textField(box, "Titular", 40);
    CNP = textField(box, "CNP", 13);
    Adresa = textField(box, "Adresa", 40);
    Platitor = textField(box, "Platitor", 40);
    connect(Titular, &QLineEdit::textEdited, Platitor, &QLineEdit::setText);
    TipPers = named(new QComboBox(box), "TipPers");
    TipPers->addItems({QStringLiteral("Fizica"), QStringLiteral("Juridica")});
    auto* g = new QGridLayout(box);
    g->addWidget(new QLabel(QStringLiteral("Titular"), box), 0, 0);
    g->addWidget(Titular, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("C.N.P. / C.F."), box), 0, 2);
    g->addWidget(CNP, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Adresa"), box), 1, 0);
    g->addWidget(Adresa, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Tip persoana"), box), 1, 2);
    g->addWidget(TipPers, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Platitor"), box), 2, 0);
    g->addWidget(Platitor, 2, 1);
    g->setColumnStretch(4, 1);
    return box;
}

std::optional<StoredNoDebit> TFFaraDebit::OpenNoDebit(const NoDebitPayer& payer) {
    prepare(payer);
    exec();
    return stored_;
}

void TFFaraDebit::prepare(const NoDebitPayer& payer) {
    document_ = {};
    stored_.reset();
    {
        const QSignalBlocker quiet(TipOp);
        TipOp->setCurrentIndex(0);
    }
    DinData->setDate(s_.clock().today());
    fillAccounts();
    Detalii->clear();
    Suma->clear();
    Titular->setText(payer.holder);
    CNP->setText(payer.code);
    Adresa->setText(payer.address);
    Platitor->setText(payer.holder);
    TipPers->setCurrentIndex(payer.physical ? 0 : 1);
    showNumbering();
    showLines(0);
    ContCombo->setFocus();
}

void TFFaraDebit::fillAccounts() {
    const QString chosen = ContCombo->currentText();
    ContCombo->clear();
    s_.messages().guard([this] { ContCombo->addItems(NoDebitAccounts(s_.database(), s_.folders.data)); });
    if (const int i = ContCombo->findText(chosen); i >= 0) ContCombo->setCurrentIndex(i);
}

// Read without drawing: the number is drawn only when the document is stored.
void TFFaraDebit::showNumbering() {
    const bool receipt = document_.type() == NoDebitType::Collection;
    SeriaL->setText(receipt ? QStringLiteral("Chitanta seria") : QStringLiteral("O.P. seria"));
    NoDebitNumbering n;
    s_.messages().guard([&] { n = ReadNoDebitNumbering(s_.counters(), s_.user, document_.type()); });
    SeriaV->setText(n.series);
    NrV->setText(QString::number(n.number));
}

void TFFaraDebit::showLines(int selectNrcrt) {
    std::vector<QStringList> rows;
    int row = int(document_.lines().size()) - 1;
    for (size_t i = 0; i < document_.lines().size(); ++i) {
        const NoDebitLine& l = document_.lines()[i];
        rows.push_back({l.account, l.details, QString::number(l.amount)});
        if (l.nrcrt == selectNrcrt) row = int(i);
    }
    linesModel_->setRows(std::move(rows));
    fitColumns(Grid, {40, 40, 7});
    if (row >= 0) Grid->setCurrentIndex(linesModel_->index(row, 0));
    TotalL->setText(QString::number(document_.total()));
    StergeB->setEnabled(!document_.lines().empty());
}

QWidget* TFFaraDebit::fieldOf(NoDebitField field) const {
    switch (field) {
    case NoDebitField::Amount: return Suma;
    case NoDebitField::Account: return ContCombo;
    case NoDebitField::Type: return TipOp;
    case NoDebitField::Grid: return Grid;
    case NoDebitField::Holder: return Titular;
    case NoDebitField::Code: return CNP;
    case NoDebitField::Address: return Adresa;
    case NoDebitField::Payer: break;
    }
    return Platitor;
}

NoDebitPayer TFFaraDebit::payer() const {
    return {Titular->text(), CNP->text(), Adresa->text(), Platitor->text(), TipPers->currentIndex() == 0};
}

void TFFaraDebit::TipOpChange() {
    const NoDebitType wanted = TipOp->currentIndex() == 0 ? NoDebitType::Collection : NoDebitType::Payment;
    if (const auto problem = document_.setType(wanted)) {
        const QSignalBlocker quiet(TipOp);
        TipOp->setCurrentIndex(document_.type() == NoDebitType::Collection ? 0 : 1);
        s_.messages().ShowProblemHint(problem->message, TipOp);
        return;
    }
    showNumbering();
}

void TFFaraDebit::AdaugaClick() {
    if (const auto problem = document_.addLine(ContCombo->currentText(), Detalii->text(), Suma->text().toLongLong())) {
        s_.messages().ShowProblemHint(problem->message, fieldOf(problem->field));
        fieldOf(problem->field)->setFocus();
        return;
    }
    showLines(document_.lines().back().nrcrt);
    Suma->clear();
    Detalii->clear();
    ContCombo->setFocus();
}

void TFFaraDebit::StergeClick() {
    const int row = Grid->currentIndex().row();
    if (row < 0 || row >= int(document_.lines().size())) return;
    document_.removeLine(document_.lines()[size_t(row)].nrcrt);
    showLines(0);
}

void TFFaraDebit::CoduriClick() {
    TFCoduri codes(s_, this);
    codes.OpenCodesWindow();
    fillAccounts();
}

void TFFaraDebit::OpereazaClick() {
    const NoDebitPayer p = payer();
    if (const auto problem = CheckNoDebitDocument(document_, p)) {
        s_.messages().ShowProblemHint(problem->message, fieldOf(problem->field));
        fieldOf(problem->field)->setFocus();
        return;
    }
    CountersFile counters = s_.counters();
    stored_ = StoreNoDebitDocument(s_.database(), s_.folders.data, counters, document_, DinData->date(), p, s_.user,
                                   s_.userCard);
    NrV->setText(QString::number(stored_->number));
    accept();
}

void TFFaraDebit::RunNoDebit(const NoDebitPayer& payer) {
    const std::optional<StoredNoDebit> stored = OpenNoDebit(payer);
    if (!stored) return;
    if (type() == NoDebitType::Payment)
        s_.messages().showInformation(QStringLiteral("Ordin de plata"), QStringLiteral("Ordinul de plata a fost memorat!"));
    else if (print_)
        s_.messages().guard([&] { print_(stored->idchit); });
}

} // namespace vartesa
