#include "action_history_window.h"
#include "shell/ui/window_looks.h"

#include "db/database.h"
#include "db/query.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

TIstoric::TIstoric(db::Database& db, QWidget* parent)
    : QDialog(parent, DialogFlags()), db_(db), model_(new db::QueryModel(this)), grid_(new QTableView(this)),
      band_(new QLabel(QStringLiteral("Data si ora"), this)) {
    setObjectName(QStringLiteral("TIstoric"));
    setWindowTitle(QStringLiteral("Istoric actiuni"));
    resize(820, 520);
    auto* heading = new QLabel(QStringLiteral("Istoricul operatiunilor efectuate"), this);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);

    band_->setAlignment(Qt::AlignCenter);
    band_->setFrameShape(QFrame::StyledPanel);
    auto* bandRow = new QWidget(this);
    band_->setParent(bandRow);

    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, &TIstoric::placeBand);

    auto* close = new QPushButton(QStringLiteral("&Renunt"), this);
    close->setObjectName(QStringLiteral("RenuntBut"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    bandRow->setFixedHeight(band_->sizeHint().height());
    layout->addWidget(bandRow);
    layout->setSpacing(0);
    layout->addWidget(grid_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addSpacing(6);
    layout->addLayout(buttons);
}

void TIstoric::load(const QString& logPath) {
    if (db_.tableExists(logPath)) {
        model_->setQuery(db_.query(QStringLiteral("SELECT DATAA AS \"Data\", ORA AS \"Ora\", UTILIZATOR AS \"Nume operator\", "
                                                  "ROL AS \"ROL\", ACTIUNE AS \"Actiune\" FROM \"%1\" ORDER BY rowid")
                                       .arg(logPath)));
    } else {
        model_->setQuery(db::Query());
    }
    fitColumns(grid_);
    placeBand();
}

void TIstoric::placeBand() {
    const QHeaderView* header = grid_->horizontalHeader();
    band_->setGeometry(grid_->frameWidth(), 0, header->sectionSize(0) + header->sectionSize(1),
                       band_->parentWidget()->height());
}

void TIstoric::ShowActionHistory(const QString& logPath) {
    load(logPath);
    exec();
}

} // namespace vartesa
