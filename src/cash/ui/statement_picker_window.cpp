#include "cash/ui/statement_picker_window.h"

#include "db/database.h"
#include "shell/services.h"
#include "shell/ui/window_looks.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QStandardItem* numberItem(qint64 value) {
    auto* item = new QStandardItem;
    item->setData(value, Qt::DisplayRole);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// Enter in the grid chooses the row, as the button does.
class EnterChooses : public QObject {
public:
    EnterChooses(TBordSelect* window) : QObject(window), window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                window_->AmAlesBClick();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TBordSelect* window_;
};

} // namespace

TBordSelect::TBordSelect(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), Grid(new QTableView(this)), DeLaEd(new QDateEdit(this)), PanaLaEd(new QDateEdit(this)),
      AmAlesB(new QPushButton(QStringLiteral("Am ales"), this)), s_(services), model_(new QStandardItemModel(this)) {
    setObjectName(QStringLiteral("TBordSelect"));
    setWindowTitle(QStringLiteral("Borderouri"));
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setModel(model_);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->verticalHeader()->hide();
    Grid->setSortingEnabled(true);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->installEventFilter(new EnterChooses(this));
    for (QDateEdit* e : {DeLaEd, PanaLaEd}) {
        e->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        e->setCalendarPopup(true);
    }
    DeLaEd->setObjectName(QStringLiteral("DeLaEd"));
    PanaLaEd->setObjectName(QStringLiteral("PanaLaEd"));
    AmAlesB->setObjectName(QStringLiteral("AmAlesB"));
    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("Perioada de afisat"), this));
    period->addWidget(DeLaEd);
    period->addWidget(PanaLaEd);
    period->addStretch();
    period->addWidget(AmAlesB);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Alegeti Borderoul dorit"), this));
    layout->addWidget(Grid);
    layout->addLayout(period);
    connect(AmAlesB, &QPushButton::clicked, this, &TBordSelect::AmAlesBClick);
    connect(Grid, &QTableView::doubleClicked, this, &TBordSelect::AmAlesBClick);
    resize(460, 420);
}

bool TBordSelect::prepare() {
    const std::vector<DebitStatement> statements = DebitStatements(s_.database(), s_.folders.data);
    if (NoStatementEntered(statements)) {
        s_.messages().showError(QStringLiteral("Alegere Borderou"), QStringLiteral("Nu aveti nici un Borderou introdus!"));
        return false;
    }
    Grid->setSortingEnabled(false);
    model_->clear();
    model_->setHorizontalHeaderLabels({QStringLiteral("TIP"), QStringLiteral("Numar borderou"), QStringLiteral("Valoare totala")});
    for (const DebitStatement& st : statements)
        model_->appendRow({new QStandardItem(st.type), numberItem(st.number), numberItem(st.amount)});
    Grid->setSortingEnabled(true);
    Grid->sortByColumn(-1, Qt::AscendingOrder); // keep the type-and-number order until a title is clicked
    const QDate today = s_.clock().today();
    DeLaEd->setDate(QDate(today.year(), 1, 1));
    PanaLaEd->setDate(today);
    Grid->selectRow(model_->rowCount() - 1);
    Grid->setFocus();
    return true;
}

bool TBordSelect::ChooseStatement(StatementChoice& choice) {
    if (!prepare() || exec() != QDialog::Accepted) return false;
    choice = choice_;
    return true;
}

void TBordSelect::AmAlesBClick() {
    const QModelIndex current = Grid->currentIndex();
    if (model_->rowCount() == 0 || !current.isValid()) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu aveti ce alege!"), Grid);
        return;
    }
    const int row = current.row();
    choice_ = {model_->item(row, 0)->text(), model_->item(row, 1)->data(Qt::DisplayRole).toLongLong(), DeLaEd->date(),
               PanaLaEd->date()};
    accept();
}

} // namespace vartesa
