// TGospodarii: building the screen, the search and page switching. The add, edit and delete
// handlers are in role_register_actions.cpp.

#include "roles/ui/role_register_window.h"
#include "shell/ui/window_looks.h"

#include "roles/ui/claim_dialogs.h"
#include "roles/ui/role_dialog.h"
#include "roles/ui/role_grid_model.h"
#include "roles/ui/taxes_debits_page.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/login.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/upper_case.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vartesa {

namespace {

constexpr int kHeadingEntry = 1; // "Categorii de taxe": selecting it does nothing
constexpr int kEntries = 14;
constexpr int kTaxesDebitsEntry = 13; // the year's taxes and debits

QStringList navigationTexts() {
    return {QStringLiteral("Identificare gospodarie"),
            QStringLiteral("   Categorii de taxe"),
            QStringLiteral("   - teren extravilan"),
            QStringLiteral("   - cladiri"),
            QStringLiteral("   - cladiri anexe"),
            QStringLiteral("   - teren intravilan"),
            QStringLiteral("   - mijloace de transport"),
            QStringLiteral("   - vehicule neinmatriculate"),
            QStringLiteral("   - alte taxe"),
            QStringLiteral("   - auto.transp.peste 12 tone"),
            QStringLiteral("   - auto combinatii peste 12 t"),
            QStringLiteral("   - mijloace transport pe apa"),
            QStringLiteral("   - Restante"),
            QStringLiteral("   - Taxe si debite ") + WorkingYear()};
}

QLineEdit* readOnlyField(QWidget* parent, const char* name) {
    auto* f = named(new QLineEdit(parent), name);
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus);
    return f;
}

QCheckBox* readOnlyBox(QWidget* parent, const char* name, const QString& caption) {
    auto* c = named(new QCheckBox(caption, parent), name);
    c->setAttribute(Qt::WA_TransparentForMouseEvents);
    c->setFocusPolicy(Qt::NoFocus);
    return c;
}

// Enter in the list acts as a double click: it takes the row's values into the search fields.
class GridEnter : public QObject {
public:
    GridEnter(QTableView* grid, std::function<void()> act) : QObject(grid), act_(std::move(act)) {
        grid->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        act_();
        return true;
    }

private:
    std::function<void()> act_;
};

} // namespace

TGospodarii::TGospodarii(Services& services, AdminConstants& constants, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), constants_(constants), roles_(services.database(), services.folders.data),
      search_(roles_), pages_(kEntries, nullptr) {
    setObjectName(QStringLiteral("TGospodarii"));
    setWindowTitle(QStringLiteral("Vartesa"));
    grid_ = new RoleGridModel(search_, this);
    dialog_ = std::make_unique<TAddGosF>(services, roles_, this);
    fixedTaxDialog_ = std::make_unique<TFAddTaxaFixa>(services, this);

    PageControl = named(new QStackedWidget(this), "PageControl1");
    PageControl->addWidget(buildIdentificationPage());
    const QStringList texts = navigationTexts();
    for (int entry = 2; entry < kEntries; ++entry) {
        auto* page = new RolePageWidget(PageControl);
        auto* l = new QVBoxLayout(page);
        l->addWidget(new QLabel(texts[entry].trimmed().mid(2), page), 0, Qt::AlignTop | Qt::AlignHCenter);
        setPage(entry, page);
    }
    setPage(kTaxesDebitsEntry, new TaxesDebitsPage(services, constants, roles_, PageControl));
    auto* right = new QVBoxLayout;
    right->addWidget(buildHeader());
    right->addWidget(PageControl, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildNavigation());
    layout->addLayout(right, 1);
    // The widest declaration pages (buildings, vehicles, arrears) take most of the screen.
    setFixedSize(1180, 640);
    setPaymentActions([this] { AddLaPlataClick(); }, [this] { AddAllPlataClick(); });
}

TGospodarii::~TGospodarii() = default;

QWidget* TGospodarii::buildNavigation() {
    auto* column = new QWidget(this);
    auto* l = new QVBoxLayout(column);
    l->setContentsMargins(0, 0, 0, 0);
    ListView1 = named(new QListWidget(column), "ListView1");
    ListView1->addItems(navigationTexts());
    ListView1->setFixedWidth(240);
    connect(ListView1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ListView1Click(ListView1->row(item)); });
    connect(ListView1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ListView1Click(ListView1->row(item)); });
    l->addWidget(ListView1, 1);
    // The two that add roles to payment are connected to the assessment (setPaymentActions).
    const struct {
        const char* name;
        const char* caption;
    } buttons[] = {{"AddLaPlata", "A&dauga Gospodaria (ROL) la plata"},
                   {"AddAllPlata", "Adauga toate &Localitatile la plata"},
                   {"AddAllTaxa2", "Adauga la Alte taxe o cantitate fi&xa"},
                   {"AddTaxaToti", "Adauga o taxa la to&ti"}};
    for (const auto& b : buttons) {
        auto* button = named(new QPushButton(QString::fromLatin1(b.caption), column), b.name);
        button->setEnabled(false);
        button->setAutoDefault(false);
        l->addWidget(button);
    }
    const auto enable = [this, column](const char* name, void (TGospodarii::*handler)()) {
        auto* b = column->findChild<QPushButton*>(QLatin1String(name));
        b->setEnabled(true);
        connect(b, &QPushButton::clicked, this, [this, handler] { s_.messages().guard([this, handler] { (this->*handler)(); }); });
    };
    enable("AddTaxaToti", &TGospodarii::AddTaxaToti);
    enable("AddAllTaxa2", &TGospodarii::AddAllTaxa2Click);
    return column;
}

QWidget* TGospodarii::buildHeader() {
    header_ = named(new QWidget(this), "HeaderPanel");
    auto* l = new QVBoxLayout(header_);
    HeaderSat = named(new QLabel(header_), "HeaderSat");
    HeaderNume = named(new QLabel(header_), "HeaderNume");
    QFont bold = HeaderSat->font();
    bold.setBold(true);
    for (QLabel* label : {HeaderSat, HeaderNume}) {
        label->setFont(bold);
        l->addWidget(label);
    }
    header_->hide();
    return header_;
}

QWidget* TGospodarii::buildIdentificationPage() {
    auto* page = named(new QWidget(this), "Identificare");
    SatCombo = named(new QComboBox(page), "SatCombo");
    SatCombo->setEditable(true);
    SatCombo->setInsertPolicy(QComboBox::NoInsert);
    makeUpperCase(SatCombo->lineEdit(), 32);
    ROLEd = named(new QLineEdit(page), "ROLEd");
    makeUpperCase(ROLEd, 9);
    CapGosp = named(new QLineEdit(page), "CapGosp");
    makeUpperCase(CapGosp, 40);
    connect(SatCombo, &QComboBox::editTextChanged, this, &TGospodarii::SatComboChange);
    connect(ROLEd, &QLineEdit::textChanged, this, &TGospodarii::ROLEdChange);
    connect(CapGosp, &QLineEdit::textChanged, this, &TGospodarii::CapGospChange);

    SMDBGrid3 = readOnlyGrid(page, "SMDBGrid3", grid_);
    connect(SMDBGrid3->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TGospodarii::GxAfterScroll);
    connect(SMDBGrid3, &QTableView::doubleClicked, this, &TGospodarii::GxAfterScroll);
    EnterNavigation::install({SatCombo, ROLEd, CapGosp, SMDBGrid3});
    new GridEnter(SMDBGrid3, [this] { GxAfterScroll(); }); // installed last, so it sees Enter first

    // The record navigator: first, previous, next, last.
    auto* navigator = new QHBoxLayout;
    const struct {
        const char* name;
        const char* text;
        int step;
    } moves[] = {{"NavFirst", "|<", -2}, {"NavPrior", "<", -1}, {"NavNext", ">", 1}, {"NavLast", ">|", 2}};
    for (const auto& m : moves) {
        auto* b = named(new QToolButton(page), m.name);
        b->setText(QString::fromLatin1(m.text));
        const int step = m.step;
        connect(b, &QToolButton::clicked, this, [this, step] {
            const int n = search_.count();
            if (n == 0) return;
            const int at = search_.current();
            const int to = step == -2 ? 0 : step == 2 ? n - 1 : std::clamp(at + step, 0, n - 1);
            SMDBGrid3->setCurrentIndex(grid_->index(to, 0));
        });
        navigator->addWidget(b);
    }
    navigator->addStretch();
    TotalGosp = named(new QLabel(page), "TotalGosp");
    navigator->addWidget(TotalGosp);

    TIP = readOnlyField(page, "TIP");
    CNP = readOnlyField(page, "CNP");
    ADRESA = readOnlyField(page, "ADRESA");
    NOTAX = readOnlyField(page, "NOTAX");
    auto* details = new QFormLayout;
    details->addRow(QStringLiteral("Tip persoana"), TIP);
    details->addRow(QStringLiteral("CNP / CUI"), CNP);
    details->addRow(QStringLiteral("Adresa"), ADRESA);
    details->addRow(named(new QLabel(QStringLiteral("Fara majorari"), page), "NOTAXLabel"), NOTAX);

    auto* exemptions = named(new QGroupBox(QStringLiteral("Scutiri"), page), "Scutiri");
    auto* ex = new QVBoxLayout(exemptions);
    SCCLAD = readOnlyBox(exemptions, "SCCLAD", QStringLiteral("Cladiri, cladiri anexe"));
    SCCC = readOnlyBox(exemptions, "SCCC", QStringLiteral("Teren curti-constructii"));
    SCAUTO = readOnlyBox(exemptions, "SCAUTO", QStringLiteral("Mijloace de transport"));
    SCTI = readOnlyBox(exemptions, "SCTI", QStringLiteral("Teren intravilan"));
    for (QCheckBox* c : {SCCLAD, SCCC, SCAUTO, SCTI}) ex->addWidget(c);
    auto* land = new QHBoxLayout;
    SCTE = readOnlyField(exemptions, "SCTE");
    land->addWidget(new QLabel(QStringLiteral("Teren extravilan"), exemptions));
    land->addWidget(SCTE);
    land->addWidget(new QLabel(QStringLiteral("lei."), exemptions));
    ex->addLayout(land);
    OBS = named(new QPlainTextEdit(page), "OBS");
    OBS->setReadOnly(true);
    OBS->setFocusPolicy(Qt::NoFocus);

    auto* add = named(new QPushButton(QStringLiteral("&Adauga ROL"), page), "AddGospodarie");
    auto* edit = named(new QPushButton(QStringLiteral("&Modifica ROL"), page), "EditGospodarie");
    auto* del = named(new QPushButton(QStringLiteral("&Sterge ROL"), page), "DelGospodarie");
    connect(add, &QPushButton::clicked, this, [this] { s_.messages().guard([this] { AddGospodarie(); }); });
    connect(edit, &QPushButton::clicked, this, [this] { s_.messages().guard([this] { EditGospodarie(); }); });
    connect(del, &QPushButton::clicked, this, [this] { s_.messages().guard([this] { DelGospodarie(); }); });
    for (QPushButton* b : {add, edit, del}) b->setAutoDefault(false);

    auto* searchForm = new QFormLayout;
    searchForm->addRow(QStringLiteral("Localitatea"), SatCombo);
    searchForm->addRow(QStringLiteral("Nr.ROL"), ROLEd);
    searchForm->addRow(QStringLiteral("Nume"), CapGosp);
    auto* left = new QVBoxLayout;
    left->addLayout(searchForm);
    left->addWidget(SMDBGrid3, 1);
    left->addLayout(navigator);
    auto* rightSide = new QVBoxLayout;
    rightSide->addLayout(details);
    rightSide->addWidget(exemptions);
    rightSide->addWidget(new QLabel(QStringLiteral("Observatii"), page));
    rightSide->addWidget(OBS, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, edit, del}) buttons->addWidget(b);
    rightSide->addLayout(buttons);
    auto* l = new QHBoxLayout(page);
    l->addLayout(left, 1);
    l->addLayout(rightSide, 1);
    return page;
}

void TGospodarii::setVillageList(const QStringList& villages) {
    villages_ = villages;
    const QSignalBlocker block(SatCombo);
    const QString text = SatCombo->currentText();
    SatCombo->clear();
    SatCombo->addItems(villages_);
    SatCombo->setCurrentIndex(-1);
    SatCombo->setEditText(text);
}

void TGospodarii::selectFirstVillage() {
    if (!villages_.isEmpty()) SatCombo->setCurrentIndex(0);
}

void TGospodarii::setPage(int entry, RolePageWidget* page) {
    if (entry < 2 || entry >= kEntries) return;
    if (RolePageWidget* old = pages_[size_t(entry)]) {
        PageControl->removeWidget(old);
        old->deleteLater();
    }
    pages_[size_t(entry)] = page;
    PageControl->addWidget(page);
}

void TGospodarii::prepareOpening() {
    roles_.setDataFolder(s_.folders.data);
    const bool optionOn = constants_.noPenalties();
    NOTAX->setVisible(optionOn);
    findChild<QLabel*>(QStringLiteral("NOTAXLabel"))->setVisible(optionOn);
    dialog_->setNoPenaltiesShown(optionOn);
    entry_ = 0;
    PageControl->setCurrentIndex(0);
    header_->hide();
    ListView1->setCurrentRow(-1);
    ListView1->clearSelection();
    runSearch([this] { search_.open(); });
}

void TGospodarii::OpenRoleRegister() {
    prepareOpening();
    SatCombo->setFocus();
    exec();
}

// Changes of the search fields. The code's own changes to them are made with their signals
// blocked; a change that arrives while the search runs is run once more after it.
void TGospodarii::runSearch(std::function<void()> change) {
    guard_.run([this, change = std::move(change)] {
        change();
        showSearch();
    });
}

void TGospodarii::SatComboChange() {
    runSearch([this] { search_.villageChanged(SatCombo->currentText()); });
}

void TGospodarii::ROLEdChange() {
    runSearch([this] { search_.numberChanged(ROLEd->text()); });
}

void TGospodarii::CapGospChange() {
    runSearch([this] { search_.nameChanged(CapGosp->text()); });
}

void TGospodarii::showSearch() {
    {
        const QSignalBlocker b1(SatCombo), b2(ROLEd), b3(CapGosp);
        if (SatCombo->currentText() != search_.village()) SatCombo->setEditText(search_.village());
        if (ROLEd->text() != search_.number()) ROLEd->setText(search_.number());
        if (CapGosp->text() != search_.name()) CapGosp->setText(search_.name());
    }
    grid_->refresh();
    if (search_.current() >= 0) {
        const QModelIndex at = grid_->index(search_.current(), 0);
        SMDBGrid3->setCurrentIndex(at);
        SMDBGrid3->scrollTo(at, QAbstractItemView::PositionAtCenter);
    }
    showCurrentRole();
}

void TGospodarii::GxAfterScroll() {
    const int row = SMDBGrid3->currentIndex().row();
    if (!guard_.busy() && row >= 0) {
        search_.moveTo(row);
        const QSignalBlocker b1(SatCombo), b2(ROLEd), b3(CapGosp);
        SatCombo->setEditText(search_.village());
        ROLEd->setText(search_.number());
        CapGosp->setText(search_.name());
    }
    showCurrentRole();
}

void TGospodarii::showCurrentRole() {
    TotalGosp->setText(QStringLiteral("Total gospodarii afisate: %1").arg(search_.count()));
    const Role* r = search_.currentRole();
    const Role none;
    const Role& role = r ? *r : none;
    TIP->setText(r ? role.personType : QString());
    CNP->setText(role.code);
    ADRESA->setText(role.address);
    NOTAX->setText(r ? YesNo(role.noPenalties) : QString());
    SCCLAD->setChecked(role.exemptBuildings);
    SCCC->setChecked(role.exemptYards);
    SCAUTO->setChecked(role.exemptVehicles);
    SCTI->setChecked(role.exemptIntravilan);
    SCTE->setText(r ? QString::number(role.extravilanExemption) : QString());
    OBS->setPlainText(role.notes);
    HeaderSat->setText(role.village);
    HeaderNume->setText(r ? role.name + QStringLiteral(", nr.ROL: ") + role.number : QString());
}

bool TGospodarii::askToSaveCurrentPage() {
    RolePageWidget* page = entry_ >= 2 ? pages_[size_t(entry_)] : nullptr;
    if (!page || !page->isModified()) return true;
    const MessageResult answer = s_.messages().ShowErrors(
        QStringLiteral("Date nememorate"),
        QStringLiteral("Ati facut modificari in pagina si nu le-ati memorat!\r"
                       "Doriti sa le memorati?"),
        MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu);
    // Escape (or closing the question) goes back to the page with what was typed: only a NU
    // said on purpose throws the changes away.
    if (answer == MessageResult::Renunt) return false;
    if (answer == MessageResult::Da) {
        page->save();
        // A refused save keeps the clerk on the page with what was typed.
        return !page->isModified();
    }
    return true;
}

void TGospodarii::ListView1Click(int entry) {
    if (entry == kHeadingEntry || entry < 0 || entry >= kEntries || !search_.currentRole()) return;
    if (entry == entry_) return;
    s_.messages().guard([&] {
        if (!askToSaveCurrentPage()) {
            ListView1->setCurrentRow(entry_);
            return;
        }
        if (entry >= 2) pages_[size_t(entry)]->loadRole(search_.currentRole()->id);
        entry_ = entry;
        PageControl->setCurrentIndex(entry == 0 ? 0 : PageControl->indexOf(pages_[size_t(entry)]));
        header_->setVisible(entry != 0);
    });
}

void TGospodarii::reject() {
    bool leave = true;
    if (search_.currentRole() && !YearLocked(s_.counters())) s_.messages().guard([&] { leave = askToSaveCurrentPage(); });
    if (leave) QDialog::reject();
}

} // namespace vartesa
