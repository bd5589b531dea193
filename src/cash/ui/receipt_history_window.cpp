#include "cash/ui/receipt_history_window.h"

#include "cash/cancellation.h"
#include "cash/ui/text_rows_model.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QString amount(std::int64_t value) { return QString::number(value); }

QStringList documentRow(const HistoryDocument& d) {
    return {DocumentKindName(d.letter), d.series,   QString::number(d.number), d.date.toString(QStringLiteral("dd.MM.yyyy")),
            amount(d.sum),              d.payer,    d.cashier};
}

QStringList lineRow(const ReceiptLine& l) {
    return {l.group,         amount(l.arrears),   amount(l.carried),   amount(l.credit),
            amount(l.current), amount(l.penalties), amount(l.reduction), amount(l.total)};
}

} // namespace

TFModificare::TFModificare(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TFModificare"));
    setWindowTitle(QStringLiteral("Modificare"));
    DinData = named(new QDateEdit(this), "DinData");
    DinData->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DinData->setCalendarPopup(true);
    Seria = named(new QLineEdit(this), "Seria");
    Seria->setMaxLength(10);
    Numarul = named(new QLineEdit(this), "Numarul");
    Numarul->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), Numarul));
    ModificaB = named(new QPushButton(QStringLiteral("Modifica"), this), "ModificaB");
    ModificaB->setAutoDefault(false);
    connect(ModificaB, &QPushButton::clicked, this, &TFModificare::ModificaClick);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Din data de"), DinData);
    form->addRow(QStringLiteral("Seria"), Seria);
    form->addRow(QStringLiteral("Numarul"), Numarul);
    form->addRow(ModificaB);
    EnterNavigation::install({DinData, Seria, Numarul}, ModificaB);
}

bool TFModificare::ShowModify(const HistoryDocument& document,
                              std::function<std::optional<QString>(const QDate&, const QString&, qint64)> apply) {
    apply_ = std::move(apply);
    DinData->setDate(document.date);
    Seria->setText(document.series);
    Numarul->setText(QString::number(document.number));
    DinData->setFocus();
    return exec() == QDialog::Accepted;
}

void TFModificare::ModificaClick() {
    std::optional<QString> hint;
    if (!s_.messages().guard([&] { hint = apply_(DinData->date(), Seria->text().trimmed(), Numarul->text().toLongLong()); }))
        return;
    if (hint) {
        s_.messages().ShowProblemHint(*hint, Numarul);
        Numarul->setFocus();
        return;
    }
    accept();
}

TFIstoricChit::TFIstoricChit(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services),
      documentsModel_(new TextRowsModel({QStringLiteral("TIP"), QStringLiteral("Seria"), QStringLiteral("Nr."),
                                         QStringLiteral("Din data"), QStringLiteral("Suma"), QStringLiteral("Platitor"),
                                         QStringLiteral("Casier")},
                                        {2, 4}, this)),
      linesModel_(new TextRowsModel({QStringLiteral("Grupa"), QStringLiteral("Rest."), QStringLiteral("Penal. rest."),
                                     QStringLiteral("Avans"), QStringLiteral("Curent"), QStringLiteral("Penalit."),
                                     QStringLiteral("Reducere"), QStringLiteral("Suma")},
                                    {1, 2, 3, 4, 5, 6, 7}, this)),
      modify_(std::make_unique<TFModificare>(services, this)) {
    setObjectName(QStringLiteral("TFIstoricChit"));
    PlatitorCombo = named(new QComboBox(this), "PlatitorCombo");
    CasierCombo = named(new QComboBox(this), "CasierCombo");
    fitCharacters(PlatitorCombo, 40, true);
    fitCharacters(CasierCombo, 32, true);
    for (QComboBox* c : {PlatitorCombo, CasierCombo})
        connect(c, &QComboBox::currentIndexChanged, this, &TFIstoricChit::FilterChange);
    ChitGrid = readOnlyGrid(this, "ChitGrid", documentsModel_);
    LiniiGrid = readOnlyGrid(this, "LiniiGrid", linesModel_);
    connect(ChitGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFIstoricChit::ChitGridAfterScroll);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("Platitor"), this));
    filters->addWidget(PlatitorCombo);
    filters->addSpacing(16);
    filters->addWidget(new QLabel(QStringLiteral("Casier"), this));
    filters->addWidget(CasierCombo);
    filters->addStretch();
    auto* buttons = new QHBoxLayout;
    auto button = [&](QPushButton*& target, const char* name, const char* caption, void (TFIstoricChit::*handler)()) {
        target = named(new QPushButton(QLatin1String(caption), this), name);
        target->setAutoDefault(false);
        buttons->addWidget(target);
        connect(target, &QPushButton::clicked, this, [this, handler] { s_.messages().guard([&] { (this->*handler)(); }); });
    };
    button(ModificaB, "ModificaB", "Modifica chitanta", &TFIstoricChit::ModificaClick);
    button(AnuleazaB, "AnuleazaB", "Anuleaza chitanta", &TFIstoricChit::AnuleazaClick);
    button(ListeazaB, "ListeazaB", "Listeaza chitanta", &TFIstoricChit::ListeazaClick);
    button(StergeB, "StergeB", "Sterge chitanta", &TFIstoricChit::StergeClick);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(ChitGrid, 3);
    layout->addWidget(LiniiGrid, 2);
    layout->addLayout(buttons);
    resize(1100, 620);
}

TFIstoricChit::~TFIstoricChit() = default;

bool TFIstoricChit::OpenHistory(const QString& title, qint64 role, bool changesAllowed) {
    prepare(title, role, changesAllowed);
    exec();
    history_.reset();
    return changed_;
}

void TFIstoricChit::prepare(const QString& title, qint64 role, bool changesAllowed) {
    setWindowTitle(title);
    changesAllowed_ = changesAllowed;
    changed_ = false;
    history_ = std::make_unique<ReceiptHistory>(s_.database(), s_.folders.data, role);
    reload(0);
    ChitGrid->setFocus();
}

// Reads the lines again and refills the filters, keeping what was chosen in them.
void TFIstoricChit::reload(qint64 select) {
    s_.messages().guard([&] { history_->load(); });
    const QSignalBlocker a(PlatitorCombo), b(CasierCombo);
    for (auto [combo, values] : {std::pair{PlatitorCombo, history_->payers()}, std::pair{CasierCombo, history_->cashiers()}}) {
        const QString chosen = combo->currentText();
        combo->clear();
        combo->addItems(values);
        combo->setCurrentIndex(std::max<int>(0, int(values.indexOf(chosen))));
    }
    showDocuments(select);
}

void TFIstoricChit::FilterChange() { showDocuments(0); }

void TFIstoricChit::showDocuments(qint64 select) {
    documents_ = history_ ? history_->documents(PlatitorCombo->currentText(), CasierCombo->currentText())
                          : std::vector<HistoryDocument>{};
    std::vector<QStringList> rows;
    int row = int(documents_.size()) - 1; // the newest document when nothing is asked for
    for (size_t i = 0; i < documents_.size(); ++i) {
        rows.push_back(documentRow(documents_[i]));
        if (documents_[i].idchit == select) row = int(i);
    }
    documentsModel_->setRows(std::move(rows));
    fitColumns(ChitGrid, {14, 10, 10, 10, 7, 40, 20});
    selectRow(row);
}

void TFIstoricChit::selectRow(int row) {
    if (row >= 0) ChitGrid->setCurrentIndex(documentsModel_->index(row, 0));
    ChitGridAfterScroll();
}

const HistoryDocument* TFIstoricChit::selected() const {
    const int row = ChitGrid->currentIndex().row();
    return row >= 0 && row < int(documents_.size()) ? &documents_[size_t(row)] : nullptr;
}

void TFIstoricChit::ChitGridAfterScroll() {
    const HistoryDocument* doc = selected();
    std::vector<QStringList> rows;
    if (doc && history_)
        for (const ReceiptLine& l : history_->lines(doc->idchit)) rows.push_back(lineRow(l));
    linesModel_->setRows(std::move(rows));
    fitColumns(LiniiGrid, {40, 7, 7, 7, 7, 7, 7, 7});
    const HistoryButtons b = HistoryButtonStates(doc, changesAllowed_, s_.IsAdministrator());
    ModificaB->setEnabled(b.modify);
    AnuleazaB->setEnabled(b.cancel);
    ListeazaB->setEnabled(b.print && print_ != nullptr);
    StergeB->setVisible(b.deleteVisible);
}

void TFIstoricChit::ModificaClick() {
    const HistoryDocument* doc = selected();
    if (!doc) return;
    if (const auto refusal = YearLockRefusal(s_.counters())) {
        s_.messages().showError(refusal->title, refusal->message);
        return;
    }
    const qint64 idchit = doc->idchit;
    const bool stored = modify_->ShowModify(*doc, [&](const QDate& date, const QString& series, qint64 number) {
        return ModifyDocument(s_.database(), s_.folders.data, idchit, date, series, number);
    });
    if (stored) reload(idchit);
}

void TFIstoricChit::AnuleazaClick() {
    const HistoryDocument* doc = selected();
    if (!doc) return;
    const qint64 idchit = doc->idchit;
    if (const auto refusal = CheckCancellation(s_, idchit)) {
        s_.messages().showError(refusal->title, refusal->message);
        return;
    }
    if (!s_.messages().askYesNo(QStringLiteral("Anulare chitanta"), QStringLiteral("Anulati chitanta selectata ?")))
        return;
    const CancelResult result = CancelDocument(s_, idchit);
    if (result.refusal) {
        s_.messages().showError(result.refusal->title, result.refusal->message);
        return;
    }
    changed_ = true;
    s_.messages().showInformation(QStringLiteral("Anulare operatiune"), QStringLiteral("Operatiunea a fost anulata!"));
    if (!result.unlogged.isEmpty())
        s_.messages().ShowErrors(QStringLiteral("Anulare operatiune"), UnloggedCancellationWarning(result.unlogged),
                                 MessageKind::Warning, MessageButton::Ok);
    reload(idchit);
}

void TFIstoricChit::ListeazaClick() {
    if (const HistoryDocument* doc = selected(); doc && print_) print_(doc->idchit);
}

void TFIstoricChit::StergeClick() {
    const HistoryDocument* doc = selected();
    if (!doc || !doc->cancelled() || !s_.IsAdministrator()) return;
    if (const auto refusal = YearLockRefusal(s_.counters())) {
        s_.messages().showError(refusal->title, refusal->message);
        return;
    }
    if (!s_.messages().askYesNo(QStringLiteral("Stergere Chitanta anulata"), QStringLiteral("Stergeti chitanta anulata?")))
        return;
    DeleteCancelledDocument(s_.database(), s_.folders.data, doc->idchit);
    reload(0);
}

} // namespace vartesa
