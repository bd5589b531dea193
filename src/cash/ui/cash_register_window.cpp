#include "cash/ui/cash_register_window.h"

#include "cash/ui/manual_operation_dialog.h"
#include "cash/ui/period_dialog.h"
#include "shell/services.h"
#include "shell/ui/window_looks.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

class RegisterRowsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(std::vector<RegisterRow> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const RegisterRow* row(int i) const { return i >= 0 && i < int(rows_.size()) ? &rows_[size_t(i)] : nullptr; }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const titles[] = {"Document justificativ", "Platit", "Incasat", "Operator"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 4) return {};
        return QString::fromLatin1(titles[section]);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const RegisterRow* r = row(index.row());
        if (!r) return {};
        if (role == Qt::TextAlignmentRole)
            return index.column() == 1 || index.column() == 2 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        if (role != Qt::DisplayRole) return {};
        switch (index.column()) {
        case 0: return r->document;
        case 1: return r->paid;
        case 2: return r->collected;
        default: return r->cashier;
        }
    }

private:
    std::vector<RegisterRow> rows_;
};

namespace {

// Enter in the grid adds an operation.
class EnterAdds : public QObject {
public:
    EnterAdds(TFRegCasa* window) : QObject(window), window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                window_->AdaugaBClick();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TFRegCasa* window_;
};

void runPeriodSummary(Services& s, TFAlegePerioada& period, SummaryKind kind, const QString& cashier, bool transfers,
                      const QDate& start = {}) {
    if (!period.ChoosePeriod(transfers, start)) return;
    s.messages().guard([&] {
        ProgressShown shown(s.progress(), QStringLiteral("Creez Centralizatorul..."));
        s.progress().Describe(QStringLiteral("Pregatesc centralizatorul ..."));
        const workbook::Workbook book =
            BuildSummary(s, kind, {period.from(), period.to(), period.withTransfers(), cashier});
        SaveSummary(s, kind, book);
    });
}

} // namespace

TFRegCasa::TFRegCasa(Services& services, TFAlegePerioada& period, QWidget* parent)
    : QDialog(parent, DialogFlags()), DataEd(new QDateEdit(this)), Casier(new QComboBox(this)), Grid(nullptr),
      TotalIncasatLab(new QLabel(QStringLiteral("0"), this)), TotalPlatitLab(new QLabel(QStringLiteral("0"), this)),
      SoldPrecLab(new QLabel(QStringLiteral("SOLD PRECEDENT : 0"), this)),
      SoldRapLab(new QLabel(QStringLiteral("SOLD DE RAPORTAT : 0"), this)), s_(services), period_(period),
      operation_(new TFAddOper(services, this)), model_(new RegisterRowsModel(this)), register_(services) {
    setObjectName(QStringLiteral("TFRegCasa"));
    setWindowTitle(QStringLiteral("Registrul de casa"));
    DataEd->setObjectName(QStringLiteral("DataEd"));
    DataEd->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DataEd->setCalendarPopup(true);
    Casier->setObjectName(QStringLiteral("Casier"));
    fitCharacters(Casier, 32, true);
    Grid = readOnlyGrid(this, "Grid", model_);
    Grid->installEventFilter(new EnterAdds(this));
    for (auto [label, name] : {std::pair{TotalIncasatLab, "TotalIncasatLab"}, {TotalPlatitLab, "TotalPlatitLab"},
                               {SoldPrecLab, "SoldPrecLab"}, {SoldRapLab, "SoldRapLab"}})
        label->setObjectName(QString::fromLatin1(name));
    QFont strong = SoldPrecLab->font();
    strong.setBold(true);
    SoldPrecLab->setFont(strong);
    SoldRapLab->setFont(strong);

    auto* filter = new QHBoxLayout;
    filter->addWidget(new QLabel(QStringLiteral("Din data"), this));
    filter->addWidget(DataEd);
    filter->addSpacing(20);
    filter->addWidget(new QLabel(QStringLiteral("Operator"), this));
    filter->addWidget(Casier);
    filter->addStretch();
    filter->addWidget(SoldPrecLab);
    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(QStringLiteral("Total incasat"), this));
    totals->addWidget(TotalIncasatLab);
    totals->addSpacing(20);
    totals->addWidget(new QLabel(QStringLiteral("Total platit"), this));
    totals->addWidget(TotalPlatitLab);
    totals->addStretch();
    totals->addWidget(SoldRapLab);
    auto* left = new QVBoxLayout;
    left->addLayout(filter);
    left->addWidget(Grid, 1);
    left->addLayout(totals);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buildButtons());

    connect(DataEd, &QDateEdit::dateChanged, this, &TFRegCasa::FilterChange);
    connect(Casier, &QComboBox::currentIndexChanged, this, &TFRegCasa::FilterChange);
    connect(Grid, &QTableView::doubleClicked, this, &TFRegCasa::ModificaBClick);
    resize(1000, 600);
}

QPushButton* TFRegCasa::button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QWidget* TFRegCasa::buildButtons() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    AdaugaB = button("AdaugaB", QStringLiteral("Adauga incasare/plata"));
    ModificaB = button("ModificaB", QStringLiteral("Modifica incasare/plata"));
    StergeB = button("StergeB", QStringLiteral("Sterge incasare/plata"));
    ListeazaB = button("ListeazaB", QStringLiteral("Listeaza Registru de casa"));
    for (QPushButton* b : {AdaugaB, ModificaB, StergeB, ListeazaB}) column->addWidget(b);
    connect(AdaugaB, &QPushButton::clicked, this, &TFRegCasa::AdaugaBClick);
    connect(ModificaB, &QPushButton::clicked, this, &TFRegCasa::ModificaBClick);
    connect(StergeB, &QPushButton::clicked, this, &TFRegCasa::StergeBClick);
    connect(ListeazaB, &QPushButton::clicked, this, &TFRegCasa::ListeazaBClick);
    const std::tuple<const char*, const char*, SummaryKind> lists[] = {
        {"ListaPlatiB", "Lista plati", SummaryKind::Payments},
        {"RamasiteB", "Incasari Ramasite", SummaryKind::Arrears},
    };
    const std::tuple<const char*, const char*, SummaryKind> summaries[] = {
        {"CentrDenContB", "Incasari - Denumire Cont", SummaryKind::ByClaim},
        {"CentrNrContB", "Chitante - Numar Cont", SummaryKind::ByAccount},
        {"CentrIncasatorB", "Chitante - Incasator", SummaryKind::ByCashier},
        {"ConturiIncasB", "Conturi - Incasatori total", SummaryKind::AccountsByCashier},
        {"ConturiTotB", "Conturi - Totaluri", SummaryKind::AccountsTotal},
    };
    for (const auto& [name, caption, kind] : lists)
        connect(button(name, QString::fromLatin1(caption)), &QPushButton::clicked, this, [this, k = kind] { RunSummary(k); });
    for (const auto& [name, caption, kind] : lists) column->addWidget(findChild<QPushButton*>(QString::fromLatin1(name)));
    auto* box = new QGroupBox(QStringLiteral("Centralizatoare"), panel);
    auto* boxColumn = new QVBoxLayout(box);
    for (const auto& [name, caption, kind] : summaries) {
        QPushButton* b = button(name, QString::fromLatin1(caption));
        boxColumn->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, k = kind] { RunSummary(k); });
    }
    column->addWidget(box);
    column->addStretch();
    InchideB = button("InchideB", QStringLiteral("Inchide"));
    column->addWidget(InchideB);
    connect(InchideB, &QPushButton::clicked, this, &QDialog::reject);
    return panel;
}

bool TFRegCasa::prepare() {
    return s_.messages().guard([&] {
        ProgressShown shown(s_.progress(), QStringLiteral("Centralizez chitantele..."));
        filtering_ = true; // one filter run once the controls hold their first values
        register_.Open();
        Casier->clear();
        Casier->addItems(register_.Cashiers());
        DataEd->setDate(s_.clock().today());
        filtering_ = false;
        FilterChange();
        Grid->setFocus();
    });
}

void TFRegCasa::OpenCashRegister() {
    if (prepare()) exec();
}

void TFRegCasa::FilterChange() {
    if (filtering_) {
        filterAgain_ = true;
        return;
    }
    filtering_ = true;
    do {
        filterAgain_ = false;
        applyFilter();
    } while (filterAgain_);
    filtering_ = false;
}

void TFRegCasa::applyFilter() {
    day_ = register_.Day(DataEd->date(), Casier->currentText());
    model_->setRows(day_.rows);
    TotalIncasatLab->setText(QString::number(day_.collected));
    TotalPlatitLab->setText(QString::number(day_.paid));
    SoldPrecLab->setText(QStringLiteral("Sold precedent : ") + QString::number(day_.previous));
    SoldRapLab->setText(QStringLiteral("De reportat : ") + QString::number(day_.carry()));
    fitColumns(Grid, {50, 8, 8, 32});
    if (model_->rowCount() > 0) Grid->selectRow(0);
}

const RegisterRow* TFRegCasa::selectedRow() const { return model_->row(Grid->currentIndex().row()); }

bool TFRegCasa::refused(const std::optional<Refusal>& refusal, QWidget* anchor) {
    if (!refusal) return false;
    if (refusal->hint) s_.messages().ShowProblemHint(refusal->text, anchor);
    else s_.messages().showError(refusal->title, refusal->text);
    return true;
}

void TFRegCasa::AdaugaBClick() {
    if (refused(register_.CheckAdd(), AdaugaB)) return;
    ManualOperation op{DataEd->date(), {}, false, 0};
    if (!operation_->EditOperation(op, true)) return;
    s_.messages().guard([&] { register_.AddOperation(op); });
    FilterChange();
}

void TFRegCasa::ModificaBClick() {
    const RegisterRow* row = selectedRow();
    if (refused(register_.CheckModify(row), ModificaB)) return;
    const bool payment = row->collected <= 0;
    ManualOperation op{DataEd->date(), row->document, payment, payment ? row->paid : row->collected};
    const qint64 idrc = row->idrc;
    if (!operation_->EditOperation(op, false)) return;
    s_.messages().guard([&] { register_.ModifyOperation(idrc, op); });
    FilterChange();
}

void TFRegCasa::StergeBClick() {
    const RegisterRow* row = selectedRow();
    if (refused(register_.CheckDelete(row), StergeB)) return;
    const qint64 idrc = row->idrc;
    if (!s_.messages().askYesNo(QStringLiteral("Stergere Operatiune"),
                                QStringLiteral("Stergem operatiunea ") + row->document + QStringLiteral(" ?")))
        return;
    s_.messages().guard([&] { register_.DeleteOperation(idrc); });
    FilterChange();
}

void TFRegCasa::ListeazaBClick() {
    s_.messages().guard([&] {
        const workbook::Workbook book =
            BuildSummary(s_, SummaryKind::Register, {DataEd->date(), DataEd->date(), false, Casier->currentText()});
        SaveSummary(s_, SummaryKind::Register, book);
    });
}

void TFRegCasa::RunSummary(SummaryKind kind) {
    const bool transfers = kind == SummaryKind::ByClaim || kind == SummaryKind::ByAccount || kind == SummaryKind::AccountsTotal;
    // The accounts by cashier start on the register's day; the others on the day the program started.
    const QDate start = kind == SummaryKind::AccountsByCashier ? DataEd->date() : QDate();
    runPeriodSummary(s_, period_, kind, Casier->currentText(), transfers, start);
}

void RunCompensationSummary(Services& services, TFAlegePerioada& period) {
    runPeriodSummary(services, period, SummaryKind::Compensations, AnyCashier(), false);
}

} // namespace vartesa
