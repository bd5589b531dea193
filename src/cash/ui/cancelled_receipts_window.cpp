#include "cash/ui/cancelled_receipts_window.h"

#include "cash/ui/text_rows_model.h"
#include "admin/admin_constants.h"
#include "shell/services.h"
#include "shell/ui/window_looks.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QString amount(std::int64_t value) { return QString::number(value); }

} // namespace

TFChitAnulate::TFChitAnulate(Services& services, AdminConstants& constants, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), constants_(constants),
      documentsModel_(new TextRowsModel({QStringLiteral("Document justificativ"), QStringLiteral("Localitatea"),
                                         QStringLiteral("ROL"), QStringLiteral("Suma"), QStringLiteral("Titular"),
                                         QStringLiteral("Casier")},
                                        {3}, this)),
      linesModel_(new TextRowsModel({QStringLiteral("Grupa"), QStringLiteral("Ramasita"), QStringLiteral("Majorari"),
                                     QStringLiteral("Plus"), QStringLiteral("Curent"), QStringLiteral("Majorari"),
                                     QStringLiteral("Reducere"), QStringLiteral("Suma")},
                                    {1, 2, 3, 4, 5, 6, 7}, this)) {
    setObjectName(QStringLiteral("TFChitAnulate"));
    setWindowTitle(QStringLiteral("Chitante anulate"));
    Grid = readOnlyGrid(this, "Grid", documentsModel_);
    LiniiGrid = readOnlyGrid(this, "LiniiGrid", linesModel_);
    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFChitAnulate::GridAfterScroll);
    Grid->horizontalHeader()->setSectionsClickable(true);
    connect(Grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFChitAnulate::SortByColumn);
    ListeazaB = new QPushButton(QStringLiteral("&Listeaza"), this);
    ListeazaB->setObjectName(QStringLiteral("ListeazaB"));
    InchideB = new QPushButton(QStringLiteral("&Inchide"), this);
    InchideB->setObjectName(QStringLiteral("InchideB"));
    for (QPushButton* b : {ListeazaB, InchideB}) b->setAutoDefault(false);
    connect(ListeazaB, &QPushButton::clicked, this, [this] { s_.messages().guard([this] { ListeazaClick(); }); });
    connect(InchideB, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ListeazaB);
    buttons->addWidget(InchideB);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Grid, 3);
    layout->addWidget(LiniiGrid, 2);
    layout->addLayout(buttons);
    resize(1100, 620);
}

bool TFChitAnulate::prepare() {
    documents_.clear();
    if (!s_.messages().guard([this] { documents_ = ReadCancelledDocuments(s_.database(), s_.folders.data); }))
        return false;
    if (documents_.empty()) {
        s_.messages().showInformation(QStringLiteral("Chitante anulate"), QStringLiteral("Nu exista chitante anulate!"));
        return false;
    }
    showDocuments(0);
    ListeazaB->setEnabled(preview_ != nullptr); // the report engine is attached by the program
    Grid->setFocus();
    return true;
}

void TFChitAnulate::OpenCancelledReceipts() {
    if (prepare()) exec();
}

void TFChitAnulate::showDocuments(qint64 select) {
    std::vector<QStringList> rows;
    int row = 0;
    for (size_t i = 0; i < documents_.size(); ++i) {
        const CancelledDocument& d = documents_[i];
        rows.push_back({d.document, d.village, d.rol, amount(d.sum), d.taxpayer, d.cashier});
        if (d.idchit == select) row = int(i);
    }
    documentsModel_->setRows(std::move(rows));
    fitColumns(Grid, {34, 20, 9, 7, 30, 20});
    if (!documents_.empty()) Grid->setCurrentIndex(documentsModel_->index(row, 0));
    GridAfterScroll();
}

qint64 TFChitAnulate::selectedId() const {
    const int row = Grid->currentIndex().row();
    return row >= 0 && row < int(documents_.size()) ? documents_[size_t(row)].idchit : 0;
}

void TFChitAnulate::GridAfterScroll() {
    std::vector<QStringList> rows;
    if (const qint64 id = selectedId()) {
        s_.messages().guard([&] {
            for (const ReceiptLine& l : CancelledLines(s_.database(), s_.folders.data, id))
                rows.push_back({l.group, amount(l.arrears), amount(l.carried), amount(l.credit), amount(l.current),
                                amount(l.penalties), amount(l.reduction), amount(l.total)});
        });
    }
    linesModel_->setRows(std::move(rows));
    fitColumns(LiniiGrid, {40, 7, 7, 7, 7, 7, 7, 7});
}

void TFChitAnulate::SortByColumn(int column) {
    const qint64 keep = selectedId();
    SortCancelled(documents_, CancelledColumn(column));
    showDocuments(keep);
}

void TFChitAnulate::ListeazaClick() {
    if (documents_.empty()) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu aveti ce lista!"), ListeazaB);
        return;
    }
    if (preview_) preview_(CancelledReceiptsReport(documents_, constants_.text(QStringLiteral("PrimariaLab"))));
}

} // namespace vartesa
