#include "roles/ui/taxes_debits_page.h"
#include "shell/ui/window_looks.h"

#include "roles/role_register.h"
#include "roles/ui/claim_dialogs.h"
#include "roles/ui/debit_dialog.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/ui/combo_helpers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

const QString kTaxTitle = QStringLiteral("Stergere taxa / amenda");
const QString kDebitDeleteTitle = QStringLiteral("Stergere Debit");

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* heading(QWidget* parent, const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

// The row of `grid` whose record has identifier `id`; the last row when none has.
template <typename Record>
void selectRecord(QTableView* grid, const RecordTableModel<Record>& model, qint64 id) {
    const auto& rows = model.records();
    if (rows.empty()) return;
    int at = int(rows.size()) - 1;
    for (int r = 0; r < int(rows.size()); ++r)
        if (rows[size_t(r)].id == id) at = r;
    grid->setCurrentIndex(model.index(at, 0));
}

ManualClaim claimOf(const TFTaxe& d) {
    ManualClaim c;
    c.from = d.date();
    c.claim = d.claim();
    c.explanation = d.explanation();
    c.docNumber = d.number().toLongLong();
    c.amounts = d.amounts();
    return c;
}

} // namespace

TaxesDebitsPage::TaxesDebitsPage(Services& services, AdminConstants& constants, RoleRegister& roles, QWidget* parent)
    : RolePageWidget(parent), s_(services), roles_(roles), ledger_(services.database(), services.folders.data),
      debits_(services.database(), services.folders.data),
      claimDialog_(std::make_unique<TFTaxe>(services, this)),
      debitDialog_(std::make_unique<TAddImpozit>(services, constants, this)) {
    setObjectName(QStringLiteral("TaxeSiDebite"));
    using LineColumn = RecordTableModel<LedgerLine>::Column;
    lines_ = new RecordTableModel<LedgerLine>(
        {LineColumn{"Categoria", [](const LedgerLine& l) { return QVariant(l.name); }},
         LineColumn{"Din data", [](const LedgerLine& l) { return QVariant(l.from); }},
         LineColumn{"Nr.", [](const LedgerLine& l) { return QVariant(l.docNumber); }},
         LineColumn{"Explicatii", [](const LedgerLine& l) { return QVariant(l.explanation); }},
         LineColumn{"Curent", [](const LedgerLine& l) { return QVariant(l.current); }},
         LineColumn{"Restant", [](const LedgerLine& l) { return QVariant(l.arrears); }},
         LineColumn{"Reduc.", [](const LedgerLine& l) { return QVariant(l.reduction); }}},
        this);
    using DebitColumn = RecordTableModel<YearDebit>::Column;
    debitRows_ = new RecordTableModel<YearDebit>(
        {DebitColumn{"Nr.", [](const YearDebit& d) { return QVariant(d.docNumber); }},
         DebitColumn{"Din data", [](const YearDebit& d) { return QVariant(d.from); }},
         DebitColumn{"Grupa", [](const YearDebit& d) { return QVariant(d.tax); }},
         DebitColumn{"Tip", [](const YearDebit& d) { return QVariant(d.kind); }},
         DebitColumn{"Suma", [](const YearDebit& d) { return QVariant(d.amount); }},
         DebitColumn{"Explicatii", [](const YearDebit& d) { return QVariant(d.explanation); }}},
        this);
    TaxeGrid = readOnlyGrid(this, "TaxeGrid", lines_);
    DebiteGrid = readOnlyGrid(this, "DebiteGrid", debitRows_);
    AddTaxa = button(this, "AddTaxa", "&Adauga");
    EditTaxa = button(this, "EditTaxa", "&Modifica");
    DelTaxa = button(this, "DelTaxa", "&Sterge");
    AddDeb = button(this, "AddDeb", "Adau&ga");
    EditDeb = button(this, "EditDeb", "M&odifica");
    DelDeb = button(this, "DelDeb", "S&terge");
    const auto act = [this](QPushButton* b, void (TaxesDebitsPage::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { s_.messages().guard([this, handler] { (this->*handler)(); }); });
    };
    act(AddTaxa, &TaxesDebitsPage::AddTaxaClick);
    act(EditTaxa, &TaxesDebitsPage::EditTaxaClick);
    act(DelTaxa, &TaxesDebitsPage::DelTaxaClick);
    act(AddDeb, &TaxesDebitsPage::AddDebClick);
    act(EditDeb, &TaxesDebitsPage::EditDebClick);
    act(DelDeb, &TaxesDebitsPage::DelDebClick);
    connect(TaxeGrid, &QTableView::doubleClicked, this, [this] { s_.messages().guard([this] { EditTaxaClick(); }); });
    connect(DebiteGrid, &QTableView::doubleClicked, this, [this] { s_.messages().guard([this] { EditDebClick(); }); });

    auto* layout = new QVBoxLayout(this);
    const auto section = [&](const char* title, QTableView* g, std::initializer_list<QPushButton*> buttons) {
        layout->addWidget(heading(this, title));
        layout->addWidget(g, 1);
        auto* row = new QHBoxLayout;
        row->addStretch();
        for (QPushButton* b : buttons) row->addWidget(b);
        layout->addLayout(row);
    };
    section("> Amenzi si taxe", TaxeGrid, {AddTaxa, EditTaxa, DelTaxa});
    section("> Debite in timpul anului", DebiteGrid, {AddDeb, EditDeb, DelDeb});
    // The lists are read when a role is loaded: the tables may not exist before start-up.
    for (QPushButton* b : {EditTaxa, DelTaxa, EditDeb, DelDeb}) b->setEnabled(false);
}

TaxesDebitsPage::~TaxesDebitsPage() = default;

void TaxesDebitsPage::loadRole(qint64 id) {
    roleId_ = id;
    ledger_.setDataFolder(s_.folders.data);
    debits_.setDataFolder(s_.folders.data);
    reloadLines(0);
    reloadDebits(0);
}

// The list read again, on the line `at` (the first when 0 or gone).
void TaxesDebitsPage::reloadLines(qint64 at) {
    lines_->setRecords(ledger_.manualLines(roleId_));
    TaxeGrid->resizeColumnsToContents();
    const bool any = lines_->rowCount() > 0;
    EditTaxa->setEnabled(any);
    DelTaxa->setEnabled(any);
    if (any) selectRecord(TaxeGrid, *lines_, at ? at : lines_->records().front().id);
}

void TaxesDebitsPage::reloadDebits(qint64 at) {
    debitRows_->setRecords(debits_.debitsOf(roleId_));
    DebiteGrid->resizeColumnsToContents();
    const bool any = debitRows_->rowCount() > 0;
    EditDeb->setEnabled(any);
    DelDeb->setEnabled(any);
    if (any) selectRecord(DebiteGrid, *debitRows_, at ? at : debitRows_->records().front().id);
}

const LedgerLine* TaxesDebitsPage::currentLine() const {
    const int row = TaxeGrid->currentIndex().row();
    return row >= 0 && row < lines_->rowCount() ? &lines_->records()[size_t(row)] : nullptr;
}

const YearDebit* TaxesDebitsPage::currentDebit() const {
    const int row = DebiteGrid->currentIndex().row();
    return row >= 0 && row < debitRows_->rowCount() ? &debitRows_->records()[size_t(row)] : nullptr;
}

bool TaxesDebitsPage::legalPerson() const {
    const std::optional<Role> role = roles_.role(roleId_);
    return role && role->personType == kPersonLegal;
}

void TaxesDebitsPage::AddTaxaClick() {
    const std::optional<Role> role = roles_.role(roleId_);
    if (!role) return;
    TFTaxe& d = *claimDialog_;
    d.ResetClaimDialog();
    if (!d.ShowClaimDialog(QStringLiteral("Adaugare Taxa / Amenda"))) return;
    CountersFile counters = s_.counters();
    reloadLines(ledger_.addManualLine(*role, claimOf(d), counters));
}

void TaxesDebitsPage::EditTaxaClick() {
    const LedgerLine* current = currentLine();
    if (!current) return;
    const LedgerLine line = *current;
    TFTaxe& d = *claimDialog_;
    d.CreantaBox->setEnabled(true);
    d.fillClaims();
    d.DINDATA->setDate(line.from);
    SelectComboItem(d.CreantaBox, line.group);
    d.DOCJUS->setText(line.explanation);
    d.Suma->setText(QString::number(line.current));
    d.Rest->setText(QString::number(line.arrears));
    d.Reduc->setText(QString::number(line.reduction));
    d.Nr->setText(QString::number(line.docNumber));
    if (!d.ShowClaimDialog(QStringLiteral("Modifcare Taxa / Amenda"))) return;
    if (ledger_.changeManualLine(line.id, claimOf(d)) == LedgerChange::ClaimLocked) {
        s_.messages().ShowErrors(QStringLiteral("Modificare taxa"), ClaimLockedText(), MessageKind::Warning,
                                 MessageButton::Ok);
        return;
    }
    reloadLines(line.id);
}

void TaxesDebitsPage::DelTaxaClick() {
    const LedgerLine* current = currentLine();
    if (!current) return;
    const LedgerLine line = ledger_.line(current->id);
    if (line.hasReceipt()) {
        s_.messages().ShowErrors(kTaxTitle, LineHasReceiptText(), MessageKind::Warning, MessageButton::Ok);
        return;
    }
    if (!s_.messages().askYesNoDefaultNu(kTaxTitle, QStringLiteral("Sunteti sigur ca vreti sa stergeti taxa/amenda?"))) return;
    if (ledger_.deleteManualLine(roleId_, current->id) == LedgerChange::HasReceipt)
        s_.messages().ShowErrors(kTaxTitle, LineHasReceiptText(), MessageKind::Warning, MessageButton::Ok);
    reloadLines(0);
}

void TaxesDebitsPage::AddDebClick() {
    if (!roles_.role(roleId_)) return;
    TAddImpozit& d = *debitDialog_;
    d.ResetDebitDialog(legalPerson());
    if (!d.ShowDebitDialog(QStringLiteral("Adaugare Debit"))) return;
    YearDebit debit = BuildYearDebit(d.entry(), d.form());
    debit.roleId = roleId_;
    CountersFile counters = s_.counters();
    reloadDebits(debits_.add(debit, counters));
}

void TaxesDebitsPage::EditDebClick() {
    const YearDebit* current = currentDebit();
    if (!current) return;
    const YearDebit old = *current;
    const bool legal = legalPerson();
    TAddImpozit& d = *debitDialog_;
    d.FillDebitDialog(EntryFromYearDebit(old, DebitFormOf(old.tax, legal)), legal);
    if (!d.ShowDebitDialog(QStringLiteral("Modifica debit"))) return;
    if (debits_.debit(old.id).hasOperation() &&
        !s_.messages().askYesNoDefaultNu(QStringLiteral("Modifica debit"), DebitChangeQuestion()))
        return;
    YearDebit debit = BuildYearDebit(d.entry(), d.form());
    debit.id = old.id;
    debit.roleId = old.roleId;
    debits_.change(debit);
    reloadDebits(old.id);
}

void TaxesDebitsPage::DelDebClick() {
    const YearDebit* current = currentDebit();
    if (!current) return;
    const qint64 id = current->id;
    if (debits_.debit(id).hasOperation()) {
        s_.messages().ShowErrors(kDebitDeleteTitle, DebitHasOperationText(), MessageKind::Warning, MessageButton::Ok);
        return;
    }
    if (!s_.messages().askYesNoDefaultNu(kDebitDeleteTitle, QStringLiteral("Doriti sa stergem debitul selectat?"))) return;
    if (debits_.remove(roleId_, id) == DebitChange::HasOperation)
        s_.messages().ShowErrors(kDebitDeleteTitle, DebitHasOperationText(), MessageKind::Warning, MessageButton::Ok);
    reloadDebits(0);
}

} // namespace vartesa
