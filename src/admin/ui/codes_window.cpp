#include "codes_window.h"
#include "shell/ui/window_looks.h"

#include "db/error.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/text_helpers.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/upper_case.h"
#include "shell/startup.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {


TFCodClas::TFCodClas(BudgetCodes& codes, Messages& messages, QWidget* parent)
    : QDialog(parent, DialogFlags()), codes_(codes), messages_(messages), heading_(new QLabel(this)), name_(new QLineEdit(this)),
      person_(new QLineEdit(this)), company_(new QLineEdit(this)), save_(new QPushButton(QStringLiteral("Memoreaza"), this)) {
    setObjectName(QStringLiteral("TFCodClas"));
    setWindowTitle(QStringLiteral("Cod clasificare"));
    heading_->setObjectName(QStringLiteral("TitluL"));
    heading_->setAlignment(Qt::AlignCenter);
    name_->setObjectName(QStringLiteral("GrupaEd"));
    name_->setMaxLength(60);
    fitCharacters(name_, 60, false);
    person_->setObjectName(QStringLiteral("CodFEd"));
    company_->setObjectName(QStringLiteral("CodJEd"));
    for (QLineEdit* account : {person_, company_}) makeUpperCase(account, 24); // as the bank prints them
    save_->setObjectName(QStringLiteral("MemoreazaBut"));
    save_->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    cancel->setObjectName(QStringLiteral("RenuntBut"));
    cancel->setAutoDefault(false);
    // What is typed for persons is usually the account for companies too.
    connect(person_, &QLineEdit::textEdited, company_, &QLineEdit::setText);
    connect(save_, &QPushButton::clicked, this, &TFCodClas::MemoreazaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({name_, person_, company_}, save_);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Denumirea creantei"), name_);
    form->addRow(QStringLiteral("Cont P.Fizica"), person_);
    form->addRow(QStringLiteral("Cont P.Juridica"), company_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a small dialog keeps the size its fields need
    layout->addWidget(heading_);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

bool TFCodClas::showForAdd() {
    editingId_ = 0;
    heading_->setText(QStringLiteral("Adaugare creanta"));
    name_->setReadOnly(false);
    name_->clear();
    person_->clear();
    company_->clear();
    name_->setFocus();
    return exec() == QDialog::Accepted;
}

bool TFCodClas::showForModify(const BudgetCode& row) {
    editingId_ = row.id;
    heading_->setText(QStringLiteral("Modificare creanta"));
    name_->setText(row.group);
    name_->setReadOnly(true);
    person_->setText(row.personAccount);
    company_->setText(row.companyAccount);
    person_->setFocus();
    return exec() == QDialog::Accepted;
}

QString TFCodClas::name() const { return name_->text(); }
QString TFCodClas::personAccount() const { return person_->text(); }
QString TFCodClas::companyAccount() const { return company_->text(); }

void TFCodClas::MemoreazaClick() {
    for (QLineEdit* field : {name_, person_, company_}) field->setText(CollapseSpaces(field->text()));
    const std::optional<ClaimProblem> problem = codes_.check(name(), personAccount(), companyAccount(), editingId_);
    if (!problem) {
        accept();
        return;
    }
    QLineEdit* at = problem->field == ClaimProblem::Field::Name            ? name_
                    : problem->field == ClaimProblem::Field::PersonAccount ? person_
                                                                            : company_;
    at->setFocus();
    messages_.ShowProblemHint(problem->message, at);
}

TFCoduri::TFCoduri(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), services_(services), counters_(std::make_unique<CountersFile>(services.counters())),
      codes_(std::make_unique<BudgetCodes>(services.database(), services.folders.data, *counters_)),
      dialog_(*codes_, services.messages(), this), model_(new QStandardItemModel(this)),
      sorted_(new QSortFilterProxyModel(this)), grid_(new QTableView(this)) {
    setObjectName(QStringLiteral("TFCoduri"));
    setWindowTitle(QStringLiteral("Nomenclator Coduri clasificare bugetara"));
    resize(880, 460);
    sorted_->setSourceModel(model_);
    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->setModel(sorted_);
    // Rows come in the table's order (TIP, GRUPA); only a click on a column title sorts.
    grid_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    grid_->setSortingEnabled(true);
    // The titles only ever sort A to Z: a second click on the same title keeps that order.
    connect(grid_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this](int column, Qt::SortOrder order) {
        if (order == Qt::DescendingOrder) grid_->sortByColumn(column, Qt::AscendingOrder);
    });
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_, &QTableView::doubleClicked, this, &TFCoduri::ModificaClick);
    grid_->installEventFilter(this);

    auto* add = new QPushButton(QStringLiteral("&Adauga"), this);
    auto* modify = new QPushButton(QStringLiteral("&Modifica"), this);
    auto* remove = new QPushButton(QStringLiteral("&Sterge"), this);
    add->setObjectName(QStringLiteral("AdaugaBut"));
    modify->setObjectName(QStringLiteral("ModificaBut"));
    remove->setObjectName(QStringLiteral("StergeBut"));
    for (QPushButton* b : {add, modify, remove}) b->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &TFCoduri::AdaugaClick);
    connect(modify, &QPushButton::clicked, this, &TFCoduri::ModificaClick);
    connect(remove, &QPushButton::clicked, this, &TFCoduri::StergeClick);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(modify);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
}

TFCoduri::~TFCoduri() = default;

void TFCoduri::OpenCodesWindow() {
    codes_->EnsureCodesTable();
    reload();
    exec();
}

void TFCoduri::reload(qint64 id) {
    model_->clear();
    model_->setHorizontalHeaderLabels({QStringLiteral("Denumirea creantei"), QStringLiteral("Cod persoane fizice"),
                                       QStringLiteral("Cod persoane juridice")});
    int current = 0;
    for (const BudgetCode& c : codes_->all()) {
        auto* name = new QStandardItem(c.group);
        name->setData(c.id, Qt::UserRole);
        if (c.id == id) current = model_->rowCount();
        model_->appendRow({name, new QStandardItem(c.personAccount), new QStandardItem(c.companyAccount)});
    }
    fitColumns(grid_, {40, 24, 24}); // GRUPA (most names are shorter than 60), CODCLF, CODCLJ
    if (model_->rowCount() > 0) grid_->selectRow(sorted_->mapFromSource(model_->index(current, 0)).row());
}

qint64 TFCoduri::currentId() const {
    const QModelIndex at = grid_->currentIndex();
    if (!at.isValid()) return 0;
    return sorted_->index(at.row(), 0).data(Qt::UserRole).toLongLong();
}

bool TFCoduri::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ModificaClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFCoduri::refusedByYearLock() {
    if (!IsYearLocked(*counters_)) return false;
    services_.messages().ShowErrors(QStringLiteral("An inchis"), QStringLiteral("Nu mai puteti opera in anul trecut!"),
                                    MessageKind::Error, MessageButton::Ok);
    return true;
}

void TFCoduri::AdaugaClick() {
    if (refusedByYearLock()) return;
    if (!dialog_.showForAdd()) return;
    services_.messages().guard([&] { reload(codes_->add(dialog_.name(), dialog_.personAccount(), dialog_.companyAccount())); });
}

void TFCoduri::ModificaClick() {
    if (refusedByYearLock()) return;
    const qint64 id = currentId();
    if (id == 0) {
        services_.messages().ShowProblemHint(QStringLiteral("Nu aveti ce modifica!"), grid_);
        return;
    }
    const std::optional<BudgetCode> row = codes_->byId(id);
    if (!row || !dialog_.showForModify(*row)) return;
    services_.messages().guard([&] {
        codes_->modify(id, dialog_.personAccount(), dialog_.companyAccount());
        reload(id);
    });
}

void TFCoduri::StergeClick() {
    if (refusedByYearLock()) return;
    const qint64 id = currentId();
    if (id == 0) {
        services_.messages().ShowProblemHint(QStringLiteral("Nu aveti ce sterge!"), grid_);
        return;
    }
    if (!BudgetCodes::canDelete(id)) {
        services_.messages().ShowErrors(QStringLiteral("Stergere creanta"),
                                        QStringLiteral("Nu aveti voie sa stergeti aceasta creanta!"), MessageKind::Error,
                                        MessageButton::Ok);
        return;
    }
    if (!services_.messages().askYesNoDefaultNu(QStringLiteral("Stergere creanta"),
                                       QStringLiteral("Sunteti sigur ca vreti sa stergeti creanta?!"), MessageKind::Warning))
        return;
    services_.messages().guard([&] {
        codes_->remove(id);
        reload();
    });
}

} // namespace vartesa
