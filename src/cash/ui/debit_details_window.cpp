#include "cash/ui/debit_details_window.h"

#include "shell/services.h"
#include "shell/startup.h"
#include "shell/ui/window_looks.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

// A quantity with the decimals it has, up to four: "1", "120.5".
QString quantityText(Currency q) {
    QString t = q.toString(4);
    while (t.endsWith('0')) t.chop(1);
    if (t.endsWith('.')) t.chop(1);
    return t;
}

} // namespace

class DebitDetailsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(std::vector<DebitDetail> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 9; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const titles[] = {"Din data", "Grupa", "Denumirea", "Nr.", "Explicatii",
                                             "U.M.", "Cant.", "Ramas.", "Curent"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 9) return {};
        return QString::fromLatin1(titles[section]);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) return {};
        const DebitDetail& d = rows_[size_t(index.row())];
        if (role == Qt::TextAlignmentRole)
            return index.column() == 3 || index.column() >= 6 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                             : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole) return {};
        switch (index.column()) {
        case 0: return d.from.toString(QStringLiteral("dd.MM.yyyy"));
        case 1: return d.group;
        case 2: return d.name;
        case 3: return d.number;
        case 4: return d.document;
        case 5: return d.unit;
        case 6: return quantityText(d.quantity);
        case 7: return qint64(d.arrears);
        default: return qint64(d.current);
        }
    }

private:
    std::vector<DebitDetail> rows_;
};

TFDetaliiDebite::TFDetaliiDebite(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), Grid(new QTableView(this)), s_(services), model_(new DebitDetailsModel(this)) {
    setObjectName(QStringLiteral("TFDetaliiDebite"));
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setModel(model_);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->verticalHeader()->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Grid);
    resize(1200, 560);
}

void TFDetaliiDebite::prepare(const QString& title, qint64 idgos) {
    setWindowTitle(title);
    std::vector<DebitDetail> rows;
    s_.messages().guard([&] { rows = BuildDebitDetails(s_.database(), s_.folders.data, idgos, WorkingYear().toInt()); });
    model_->setRows(std::move(rows));
    fitColumns(Grid, {10, 30, 30, 6, 24, 4, 8, 7, 7});
    Grid->setFocus();
}

void TFDetaliiDebite::ShowDebitDetails(const QString& title, qint64 idgos) {
    prepare(title, idgos);
    exec();
    model_->setRows({});
}

} // namespace vartesa
