// TGospodarieF: building the screen, computing the grids, the typed amounts and the
// buttons.

#include "cash/ui/account_window.h"

#include "cash/account_claim.h"
#include "cash/account_entry.h"
#include "cash/ui/account_grid_model.h"
#include "cash/ui/debit_details_window.h"
#include "roles/ui/claim_dialogs.h"
#include "admin/admin_constants.h"
#include "admin/budget_codes.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/ui/window_looks.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

constexpr int kNotesShown = 100; // "Observatii" shows at most this many characters

QLineEdit* readOnlyField(QWidget* parent, const char* name, int characters) {
    auto* f = named(new QLineEdit(parent), name);
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus);
    fitCharacters(f, characters, true);
    return f;
}

QCheckBox* readOnlyBox(QWidget* parent, const char* name, const QString& caption) {
    auto* c = named(new QCheckBox(caption, parent), name);
    c->setAttribute(Qt::WA_TransparentForMouseEvents);
    c->setFocusPolicy(Qt::NoFocus);
    return c;
}

QLabel* boldLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* l = named(new QLabel(text, parent), name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

// Room of each shown column, in characters, so an empty grid shows what its data will take.
QList<int> columnRoom(AccountGrid grid) {
    QList<int> room;
    for (const ShownColumn& c : ShownColumns(grid)) {
        const QString name = QLatin1String(c.column);
        if (name == QLatin1String("GRUPA")) room << 30;
        else if (name == QLatin1String("DOCJUS")) room << 22;
        else if (name == QLatin1String("DINDATA")) room << 10;
        else if (name == QLatin1String("CATEG")) room << 9;
        else if (name == QLatin1String("NR")) room << 10;
        else room << 7; // amounts
    }
    return room;
}

const char* const kGridCaptions[] = {" IMPOZITE", " DEBITE IN TIMPUL ANULUI", " TAXE / AMENZI"};

} // namespace

TGospodarieF::TGospodarieF(Services& services, AdminConstants& constants, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), constants_(constants),
      claimDialog_(std::make_unique<TFTaxe>(services, this)),
      details_(std::make_unique<TFDetaliiDebite>(services, this)) {
    setObjectName(QStringLiteral("TGospodarieF"));
    setWindowTitle(QStringLiteral("Incasari"));
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildGrids(), 1);
    middle->addWidget(buildButtons());
    auto* footer = new QHBoxLayout;
    footer->addStretch();
    footer->addWidget(new QLabel(QStringLiteral("Total datorie"), this));
    footer->addWidget(TotPlata1 = boldLabel(this, "TotPlata1", QStringLiteral("0")));
    footer->addSpacing(40);
    footer->addWidget(new QLabel(QStringLiteral("Valoare chitanta"), this));
    footer->addWidget(TotalAchitatL = boldLabel(this, "TotalAchitatL", QStringLiteral("0")));
    for (QLabel* total : {TotPlata1, TotalAchitatL}) {
        total->setMinimumWidth(total->fontMetrics().horizontalAdvance(QStringLiteral("-99999999")));
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());
    layout->addLayout(middle, 1);
    layout->addLayout(footer);
    resize(1340, 700);
}

TGospodarieF::~TGospodarieF() = default;

QWidget* TGospodarieF::buildHeader() {
    auto* header = new QWidget(this);
    RolL = boldLabel(header, "RolL", QStringLiteral("ROL: "));
    DataCalc = named(new QDateEdit(header), "DataCalc");
    DataCalc->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DataCalc->setCalendarPopup(true);
    DataCalc->setMinimumWidth(DataCalc->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 40);
    connect(DataCalc, &QDateEdit::dateChanged, this, [this] { CalcOm(); });
    Localitatea = readOnlyField(header, "Localitatea", 32);
    CNP = readOnlyField(header, "CNP", 13);
    ADRESA = readOnlyField(header, "ADRESA", 80);
    TIP = readOnlyField(header, "TIP", 8);
    NotaxL = named(new QLabel(QStringLiteral("Fara majorari"), header), "NotaxL");
    NOTAX = readOnlyField(header, "NOTAX", 2);
    OBS = named(new QLineEdit(header), "OBS");
    OBS->setReadOnly(true);
    OBS->setFocusPolicy(Qt::NoFocus);
    OBS->setMaxLength(kNotesShown);
    SCTE = readOnlyField(header, "SCTE", 6);
    SCTE->setAlignment(Qt::AlignRight);
    auto label = [header](const char* text) { return new QLabel(QLatin1String(text), header); };

    auto* first = new QHBoxLayout;
    first->addWidget(RolL, 1);
    first->addWidget(label("Data calcularii"));
    first->addWidget(DataCalc);
    first->addSpacing(16);
    first->addWidget(label("Localitatea"));
    first->addWidget(Localitatea);
    auto* second = new QHBoxLayout;
    second->addWidget(label("CNP / CUI"));
    second->addWidget(CNP);
    second->addWidget(label("Tip Pers."));
    second->addWidget(TIP);
    second->addWidget(NotaxL);
    second->addWidget(NOTAX);
    second->addSpacing(16);
    second->addWidget(label("Scutiri"));
    second->addWidget(SCCLAD = readOnlyBox(header, "SCCLAD", QStringLiteral("Cladiri")));
    second->addWidget(SCCC = readOnlyBox(header, "SCCC", QStringLiteral("Curti-Con.")));
    second->addWidget(SCTI = readOnlyBox(header, "SCTI", QStringLiteral("Teren intrav.")));
    second->addWidget(SCAUTO = readOnlyBox(header, "SCAUTO", QStringLiteral("Auto")));
    second->addWidget(label("Teren extrav."));
    second->addWidget(SCTE);
    second->addWidget(label("lei."));
    second->addStretch();
    auto* third = new QHBoxLayout;
    third->addWidget(label("Adresa"));
    third->addWidget(ADRESA, 1);
    auto* fourth = new QHBoxLayout;
    fourth->addWidget(label("Observatii"));
    fourth->addWidget(OBS, 1);
    auto* rows = new QVBoxLayout(header);
    rows->setContentsMargins(0, 0, 0, 0);
    for (QHBoxLayout* row : {first, second, third, fourth}) rows->addLayout(row);
    return header;
}

QTableView* TGospodarieF::buildGrid(AccountGrid grid, const char* name) {
    auto* view = named(new QTableView(this), name);
    auto* model = new AccountGridModel(grid, view);
    models_[int(grid)] = model;
    if (grid == AccountGrid::Taxes) view->setHorizontalHeader(new BandedHeader(QStringLiteral("Curent"), 2, 4, view));
    view->setModel(model);
    view->setItemDelegateForColumn(model->enteredColumn(), new AmountDelegate(view));
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    // The amount column is the only one the cashier works in: the cursor stays there.
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
            [view, model](const QModelIndex& current) {
                if (current.isValid() && current.column() != model->enteredColumn())
                    view->setCurrentIndex(model->index(current.row(), model->enteredColumn()));
            });
    connect(view, &QTableView::doubleClicked, model, [model](const QModelIndex& index) { model->toggle(index.row()); });
    model->onEntered = [this](int) { SumEnteredAmountsChanged(); };
    model->onRefused = [this, view](int, const QString& why) { s_.messages().ShowProblemHint(why, view); };
    fitColumns(view, columnRoom(grid));
    return view;
}

QWidget* TGospodarieF::buildGrids() {
    auto* box = new QWidget(this);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    ImpoziteGrid = buildGrid(AccountGrid::Taxes, "ImpoziteGrid");
    DebiteGrid = buildGrid(AccountGrid::Debits, "DebiteGrid");
    TaxeGrid = buildGrid(AccountGrid::Claims, "TaxeGrid");
    QTableView* grids[] = {ImpoziteGrid, DebiteGrid, TaxeGrid};
    for (int i = 0; i < 3; ++i) {
        l->addWidget(boldLabel(box, "GridCaption", QLatin1String(kGridCaptions[i])));
        l->addWidget(grids[i], i == 0 ? 3 : 2);
    }
    return box;
}

QWidget* TGospodarieF::buildButtons() {
    auto* box = new QWidget(this);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    auto button = [&](QPushButton*& target, const char* name, const QString& caption) {
        target = named(new QPushButton(caption, box), name);
        target->setAutoDefault(false);
        l->addWidget(target);
        const QString key = QLatin1String(name);
        connect(target, &QPushButton::clicked, this, [this, key, target] {
            const auto it = actions_.constFind(key);
            if (it == actions_.constEnd()) return;
            target->setEnabled(false); // one run at a time (the role page report takes a while)
            s_.messages().guard(*it);
            target->setEnabled(true);
        });
    };
    button(OperBut, "OperBut", QStringLiteral("&OPEREAZA"));
    QFont bold = OperBut->font();
    bold.setBold(true);
    OperBut->setFont(bold);
    l->addSpacing(12);
    AddTaxaB = named(new QPushButton(QStringLiteral("Adauga o taxa/amenda"), box), "AddTaxaB");
    AddTaxaB->setAutoDefault(false);
    l->addWidget(AddTaxaB);
    connect(AddTaxaB, &QPushButton::clicked, this, &TGospodarieF::AddTaxaBClick);
    button(IstClickB, "IstClickB", QStringLiteral("&Istoric chitante"));
    DetaliiDeb = named(new QPushButton(QStringLiteral("&Detalii debite"), box), "DetaliiDeb");
    DetaliiDeb->setAutoDefault(false);
    l->addWidget(DetaliiDeb);
    connect(DetaliiDeb, &QPushButton::clicked, this, &TGospodarieF::DetaliiDebClick);
    button(DetaliiAutoB, "DetaliiAutoB", QStringLiteral("Detalii auto"));
    button(PagRolB, "PagRolB", QStringLiteral("Pagina de &ROL"));
    button(CertifBut, "CertifBut", QStringLiteral("Certificat Fiscal"));
    SomBut = named(new QPushButton(QStringLiteral("Executare silita"), box), "SomBut");
    SomBut->setAutoDefault(false);
    SomMenu = named(new QMenu(SomBut), "SomMenu");
    const std::pair<const char*, const char*> entries[] = {{"SomatieTitlu", "Somatie / Titlu executoriu"},
                                                           {"PoprireBanca", "Poprire catre Banca"},
                                                           {"PoprireAngajator", "Poprire catre Angajator"}};
    for (const auto& [name, caption] : entries) {
        QAction* a = SomMenu->addAction(QLatin1String(caption));
        a->setObjectName(QLatin1String(name));
        const QString key = QLatin1String(name);
        connect(a, &QAction::triggered, this, [this, key] {
            if (const auto it = actions_.constFind(key); it != actions_.constEnd()) s_.messages().guard(*it);
        });
    }
    SomBut->setMenu(SomMenu);
    l->addWidget(SomBut);
    button(FaraDebB, "FaraDebB", QStringLiteral("Incasari fara debit"));
    button(Button1, "Button1", QStringLiteral("Istoric chitante fara debit"));
    l->addStretch();
    return box;
}

void TGospodarieF::attach(const QString& name, std::function<void()> action) {
    actions_.insert(name, std::move(action));
    applyRights();
}

// Buttons without their screen stay disabled; the year lock hides the payment and the
// new claims, and stops the documents and the collections without a debit.
void TGospodarieF::applyRights() {
    OperBut->setVisible(!locked_);
    AddTaxaB->setVisible(!locked_);
    // The payment operation attaches "OperBut" when it is built.
    OperBut->setEnabled(actions_.contains(QStringLiteral("OperBut")));
    for (QPushButton* b : {IstClickB, DetaliiAutoB, PagRolB})
        b->setEnabled(actions_.contains(b->objectName()));
    for (QPushButton* b : {CertifBut, FaraDebB, Button1})
        b->setEnabled(!locked_ && actions_.contains(b->objectName()));
    bool anyEntry = false;
    for (QAction* a : SomMenu->actions()) {
        a->setEnabled(actions_.contains(a->objectName()));
        anyEntry = anyEntry || a->isEnabled();
    }
    SomBut->setEnabled(!locked_ && anyEntry);
}

void TGospodarieF::prepareOpening(qint64 idgos, const QString& village) {
    village_ = village;
    locked_ = IsYearLocked(s_.counters());
    role_ = {}; // a role that cannot be read shows nothing rather than the previous one
    s_.messages().guard([&] {
        role_ = OpenAccountRole(s_.database(), s_.folders.data, AccountRulesFrom(constants_), idgos,
                                WorkingYear().toInt());
    });
    showHeader();
    {
        const QSignalBlocker quiet(DataCalc);
        DataCalc->setDate(s_.clock().today());
    }
    CalcOm();
    applyRights();
    ImpoziteGrid->setFocus();
}

void TGospodarieF::OpenRoleAccount(qint64 idgos, const QString& village) {
    prepareOpening(idgos, village);
    exec();
    grids_ = {};
    for (AccountGridModel* m : models_) m->setGrids(nullptr);
}

void TGospodarieF::showHeader() {
    const Role& r = role_.role;
    RolL->setText(QStringLiteral("ROL: ") + r.number + QStringLiteral("   ") + r.name);
    Localitatea->setText(village_);
    CNP->setText(r.code);
    ADRESA->setText(r.address);
    TIP->setText(r.personType);
    NOTAX->setText(YesNo(r.noPenalties));
    NotaxL->setVisible(role_.rules.penaltyOption);
    NOTAX->setVisible(role_.rules.penaltyOption);
    SCCLAD->setChecked(r.exemptBuildings);
    SCCC->setChecked(r.exemptYards);
    SCTI->setChecked(r.exemptIntravilan);
    SCAUTO->setChecked(r.exemptVehicles);
    SCTE->setText(QString::number(r.extravilanExemption));
    OBS->setText(r.notes.left(kNotesShown));
    OBS->setCursorPosition(0);
}

void TGospodarieF::CalcOm() {
    AccountGrids computed;
    s_.messages().guard(
        [&] { computed = BuildAccountGrids(s_.database(), s_.folders.data, role_, DataCalc->date()); });
    grids_ = std::move(computed);
    showGrids();
    TotPlata1->setText(QString::number(grids_.total));
    TotalAchitatL->setText(QStringLiteral("0"));
}

void TGospodarieF::showGrids() {
    QTableView* views[] = {ImpoziteGrid, DebiteGrid, TaxeGrid};
    for (int i = 0; i < 3; ++i) {
        AccountGridModel* m = models_[i];
        m->setGrids(&grids_);
        fitColumns(views[i], columnRoom(AccountGrid(i)));
        views[i]->setEnabled(m->rowCount() > 0);
        if (m->rowCount() > 0) views[i]->setCurrentIndex(m->index(0, m->enteredColumn()));
    }
}

AccountGridModel* TGospodarieF::model(AccountGrid grid) const { return models_[int(grid)]; }

void TGospodarieF::SumEnteredAmountsChanged() { TotalAchitatL->setText(QString::number(SumEnteredAmounts(grids_))); }

void TGospodarieF::postPendingEdits() {
    for (QTableView* grid : {ImpoziteGrid, DebiteGrid, TaxeGrid}) {
        auto* editor = grid->findChild<QLineEdit*>(QStringLiteral("AchitatEd"));
        if (!editor || editor->isHidden()) continue; // a closed editor is hidden until deleted
        QAbstractItemDelegate* delegate = grid->itemDelegateForIndex(grid->currentIndex());
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TGospodarieF::AddTaxaBClick() {
    if (!role_.found) return;
    claimDialog_->ResetClaimDialog();
    if (!claimDialog_->ShowClaimDialog(QStringLiteral("Adaugare Taxa / Amenda"))) return;
    const ManualClaim claim{claimDialog_->date(), claimDialog_->claim(), claimDialog_->explanation(),
                            claimDialog_->number().toLongLong(), claimDialog_->amounts()};
    s_.messages().guard([&] {
        CountersFile counters = s_.counters();
        AddAccountClaim(s_.database(), s_.folders.data, counters, role_.role, claim);
    });
    CalcOm();
}

void TGospodarieF::DetaliiDebClick() {
    details_->ShowDebitDetails(role_.role.name + QStringLiteral(" - detalii debite"), role_.role.id);
}

} // namespace vartesa
