#include "verification_window.h"
#include "shell/ui/window_looks.h"

#include "db/database.h"
#include "db/error.h"
#include "shell/services.h"
#include "shell/table_files.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/upper_case.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

TFVerificari::TFVerificari(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), table_(services.database(), this), duplicates_(new db::QueryModel(this)),
      rol_(new QLineEdit(this)), upper_(new QTableView(this)), lower_(new QTableView(this)), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("TFVerificari"));
    setWindowTitle(QStringLiteral("Vartesa"));
    auto* heading = new QLabel(QStringLiteral("Verificari / Modificari manuale"), this);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    rol_->setObjectName(QStringLiteral("RolX"));
    makeUpperCase(rol_, 9);
    connect(rol_, &QLineEdit::textChanged, this, &TFVerificari::RolXChange);
    EnterNavigation::install({rol_}); // Enter must not press a button

    const auto button = [this](const char* name, const char* caption, void (TFVerificari::*handler)()) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("ROL"), this));
    left->addWidget(rol_);
    left->addWidget(button("Verif1B", "Baza Datorii", &TFVerificari::Verif1BClick));
    left->addWidget(button("ConvexBtn1", "Baza Solduri", &TFVerificari::ConvexBtn1Click));
    left->addWidget(button("DubluriDatB", "Dubluri Datorii", &TFVerificari::DubluriDatP));
    left->addWidget(button("DubluriSoldB", "Dubluri Solduri", &TFVerificari::DubluriSold));
    left->addStretch();

    upper_->setObjectName(QStringLiteral("DBGrid1"));
    upper_->setModel(&table_);
    upper_->installEventFilter(this);
    connect(upper_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFVerificari::rowLeft);
    lower_->setObjectName(QStringLiteral("DBGrid2"));
    lower_->setModel(duplicates_);
    lower_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (QTableView* grid : {upper_, lower_}) grid->verticalHeader()->setDefaultSectionSize(22);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(upper_);
    splitter->addWidget(lower_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(splitter, 1);
    status_->setObjectName(QStringLiteral("ExplicP"));
    status_->setFrameShape(QFrame::Panel);
    status_->setFrameShadow(QFrame::Sunken);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(body, 1);
    layout->addWidget(status_);
    resize(900, 600);
}

TFVerificari::~TFVerificari() = default;

void TFVerificari::OpenVerificationWindow() {
    status_->clear();
    exec();
    table_.release();
    duplicates_->setQuery({});
}

void TFVerificari::openTable(const QString& file, const QString& status) {
    status_->setText(status);
    s_.messages().guard([&] { table_.open(s_.folders.data + '/' + file); });
    fitColumns(upper_);
    upper_->setFocus();
}

void TFVerificari::Verif1BClick() {
    openTable(tables::Ledger, QStringLiteral("Baza de date cu datoriile ..."));
}

void TFVerificari::ConvexBtn1Click() {
    openTable(tables::Balances, QStringLiteral("Baza de date cu soldurile ..."));
}

void TFVerificari::RolXChange() {
    s_.messages().guard([&] { table_.setFilter(RoleFilter(rol_->text())); });
}

void TFVerificari::showDuplicates(Duplicates which) {
    duplicates_->setQuery({});
    const bool read =
        s_.messages().guard([&] { duplicates_->setQuery(DuplicatesQuery(s_.database(), s_.folders.data, which)); });
    fitColumns(lower_);
    // An empty grid alone reads like a search that did not run.
    if (read && duplicates_->rowCount() == 0) status_->setText(QStringLiteral("Nu exista dubluri."));
}

void TFVerificari::DubluriDatP() { showDuplicates(Duplicates::Datorii); }

void TFVerificari::DubluriSold() { showDuplicates(Duplicates::SoldCalc); }

void TFVerificari::rowLeft(const QModelIndex& current, const QModelIndex& previous) {
    if (!previous.isValid() || current.row() == previous.row() || !table_.hasPendingChange()) return;
    const int row = current.row();
    const int column = current.column();
    try {
        table_.commitRow();
    } catch (const Error& e) {
        table_.cancelRow();
        s_.messages().report(e);
    }
    if (row >= 0 && row < table_.rowCount()) upper_->setCurrentIndex(table_.index(row, std::max(0, column)));
}

void TFVerificari::DeleteCurrentRow() {
    const QModelIndex current = upper_->currentIndex();
    if (!table_.isOpen() || !current.isValid()) return;
    if (!s_.messages().askYesNoDefaultNu(QStringLiteral("Stergere"), QStringLiteral("Stergem inregistrarea curenta?"),
                                MessageKind::Warning))
        return;
    s_.messages().guard([&] { table_.deleteRow(current.row()); });
    if (table_.rowCount() > 0)
        upper_->setCurrentIndex(table_.index(std::min(current.row(), table_.rowCount() - 1), current.column()));
}

bool TFVerificari::eventFilter(QObject* watched, QEvent* event) {
    if (watched == upper_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // While a cell is being edited the keys go to its editor, not to the grid.
        if (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ControlModifier)) {
            DeleteCurrentRow();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vartesa
