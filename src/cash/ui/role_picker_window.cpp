#include "cash/ui/role_picker_window.h"

#include "cash/ui/account_window.h"
#include "admin/budget_codes.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/ui/upper_case.h"
#include "shell/ui/window_looks.h"
#include "shell/startup.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

class PickerModel : public QAbstractTableModel {
public:
    PickerModel(const RolePicker& picker, QObject* parent) : QAbstractTableModel(parent), picker_(picker) {}
    void refresh() {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : picker_.count(); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 6; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
        const PickerRole& r = picker_.role(index.row());
        const QString* cells[] = {&r.village, &r.number, &r.name, &r.code, &r.address, &r.form};
        return *cells[index.column()];
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const titles[] = {"Localitatea", "ROL", "Numele si prenumele", "CNP", "Adresa",
                                             "Forma juridica"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 6) return {};
        return QString::fromLatin1(titles[section]);
    }

private:
    const RolePicker& picker_;
};

namespace {

// Enter in the list chooses its current role.
class ChooseOnEnter : public QObject {
public:
    ChooseOnEnter(QTableView* grid, std::function<void()> choose) : QObject(grid), choose_(std::move(choose)) {
        grid->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        choose_();
        return true;
    }

private:
    std::function<void()> choose_;
};

} // namespace

TAvansatSearch::TAvansatSearch(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), picker_(services.database()) {
    setObjectName(QStringLiteral("TAvansatSearch"));
    setWindowTitle(QStringLiteral("Alegere ROL"));
    model_ = new PickerModel(picker_, this);

    LocalitateCombo = named(new QComboBox(this), "LocalitateCombo");
    fitCharacters(LocalitateCombo, 32, true);
    NumeEd = named(new QLineEdit(this), "NumeEd");
    makeUpperCase(NumeEd, 40);
    fitCharacters(NumeEd, 30, true);
    CNPEd = named(new QLineEdit(this), "CNPEd");
    CNPEd->setMaxLength(13);
    fitCharacters(CNPEd, 13, true);
    ROLEd = named(new QLineEdit(this), "ROLEd");
    ROLEd->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), ROLEd));
    fitCharacters(ROLEd, 9, true);
    AdresaEd = named(new QLineEdit(this), "AdresaEd");
    AdresaEd->setMaxLength(80);
    fitCharacters(AdresaEd, 30, false);
    FormaCombo = named(new QComboBox(this), "FormaCombo");
    FormaCombo->addItems({kAnyForm, QStringLiteral("FIZICA"), QStringLiteral("JURIDICA")});

    auto* filters = new QGridLayout;
    filters->addWidget(new QLabel(QStringLiteral("Localitate"), this), 0, 0);
    filters->addWidget(LocalitateCombo, 0, 1);
    filters->addWidget(new QLabel(QStringLiteral("Nume si prenume"), this), 0, 2);
    filters->addWidget(NumeEd, 0, 3);
    filters->addWidget(new QLabel(QStringLiteral("CNP"), this), 0, 4);
    filters->addWidget(CNPEd, 0, 5);
    filters->addWidget(new QLabel(QStringLiteral("ROL"), this), 1, 0);
    filters->addWidget(ROLEd, 1, 1, Qt::AlignLeft);
    filters->addWidget(new QLabel(QStringLiteral("Adresa"), this), 1, 2);
    filters->addWidget(AdresaEd, 1, 3);
    filters->addWidget(new QLabel(QStringLiteral("Forma jurid."), this), 1, 4);
    filters->addWidget(FormaCombo, 1, 5);
    for (QLineEdit* e : {NumeEd, CNPEd, ROLEd, AdresaEd}) connect(e, &QLineEdit::textChanged, this, &TAvansatSearch::FilterChange);
    for (QComboBox* c : {LocalitateCombo, FormaCombo})
        connect(c, &QComboBox::currentIndexChanged, this, &TAvansatSearch::FilterChange);

    Grid = named(new QTableView(this), "Grid");
    Grid->setModel(model_);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setTabKeyNavigation(false);
    Grid->verticalHeader()->hide();
    Grid->horizontalHeader()->setSectionsClickable(true);
    connect(Grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        picker_.sortBy(PickerColumn(column));
        model_->refresh();
        showCurrent();
    });
    connect(Grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { picker_.setCurrent(current.row()); });
    connect(Grid, &QTableView::doubleClicked, this, &TAvansatSearch::AlesButClick);
    new ChooseOnEnter(Grid, [this] { AlesButClick(); });

    AlesBut = named(new QPushButton(QStringLiteral("&Am ales ROL-ul"), this), "AlesBut");
    AlesBut->setDefault(true);
    connect(AlesBut, &QPushButton::clicked, this, &TAvansatSearch::AlesButClick);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AlesBut);
    buttons->addStretch();
    for (auto [target, name, caption] : {std::tuple{&FaraDebB, "FaraDebB", "Incasari fara debit"},
                                         std::tuple{&Button1, "Button1", "Istoric chitante fara debit"}}) {
        QPushButton* b = *target = named(new QPushButton(QLatin1String(caption), this), name);
        b->setAutoDefault(false);
        b->setEnabled(false);
        buttons->addWidget(b);
        const QString key = QLatin1String(name);
        connect(b, &QPushButton::clicked, this, [this, key] {
            if (const auto it = actions_.constFind(key); it != actions_.constEnd()) s_.messages().guard(*it);
        });
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    resize(1200, 640);
}

void TAvansatSearch::takeSnapshot() {
    s_.messages().guard([this] { picker_.takeSnapshot(s_.folders.data); });
    const QSignalBlocker quiet(LocalitateCombo);
    LocalitateCombo->clear();
    LocalitateCombo->addItem(kAnyVillage);
    LocalitateCombo->addItems(picker_.villages());
    model_->refresh();
    fitColumns(Grid, {32, 9, 40, 13, 40, 8});
}

void TAvansatSearch::dropSnapshot() {
    picker_.clear();
    model_->refresh();
}

void TAvansatSearch::attach(const QString& name, std::function<void()> action) {
    actions_.insert(name, std::move(action));
    if (QPushButton* b = findChild<QPushButton*>(name)) b->setEnabled(true);
}

void TAvansatSearch::prepareOpening() {
    chosen_.reset();
    {
        const QSignalBlocker a(NumeEd), b(CNPEd), c(ROLEd), d(AdresaEd);
        for (QLineEdit* e : {NumeEd, CNPEd, ROLEd, AdresaEd}) e->clear();
    }
    FaraDebB->setVisible(!IsYearLocked(s_.counters()));
    FilterChange();
    ROLEd->setFocus();
}

std::optional<PickerRole> TAvansatSearch::ChooseRole() {
    prepareOpening();
    exec();
    return chosen_;
}

void TAvansatSearch::FilterChange() {
    s_.messages().guard([this] { guard_.run([this] { refresh(); }); });
}

void TAvansatSearch::refresh() {
    picker_.apply({LocalitateCombo->currentText(), NumeEd->text(), CNPEd->text(), ROLEd->text(), AdresaEd->text(),
                   FormaCombo->currentText()});
    model_->refresh();
    showCurrent();
}

void TAvansatSearch::showCurrent() {
    if (picker_.current() < 0) return;
    const QModelIndex current = model_->index(picker_.current(), 0);
    Grid->setCurrentIndex(current);
    Grid->scrollTo(current);
}

void TAvansatSearch::AlesButClick() {
    const PickerRole* role = picker_.currentRole();
    if (picker_.count() == 0 || !role) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu ati ales nimic!"), Grid);
        return;
    }
    chosen_ = *role;
    accept();
}

void RunCollections(TAvansatSearch& picker, TGospodarieF& account) {
    picker.takeSnapshot();
    while (const std::optional<PickerRole> role = picker.ChooseRole()) account.OpenRoleAccount(role->id, role->village);
    picker.dropSnapshot();
}

} // namespace vartesa
