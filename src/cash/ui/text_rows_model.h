#pragma once
// A read-only grid model over rows of texts, for the history screens: the titles, which
// columns hold amounts (aligned right) and the rows.

#include <QAbstractTableModel>
#include <QSet>
#include <QStringList>

#include <vector>

namespace vartesa {

class TextRowsModel : public QAbstractTableModel {
public:
    TextRowsModel(QStringList titles, QSet<int> amountColumns, QObject* parent)
        : QAbstractTableModel(parent), titles_(std::move(titles)), amounts_(std::move(amountColumns)) {}

    void setRows(std::vector<QStringList> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const std::vector<QStringList>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(titles_.size()); }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= titles_.size())
            return {};
        return titles_.at(section);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= titles_.size()) return {};
        if (role == Qt::TextAlignmentRole)
            return amounts_.contains(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                     : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole) return {};
        return rows_[size_t(index.row())].value(index.column());
    }

private:
    QStringList titles_;
    QSet<int> amounts_;
    std::vector<QStringList> rows_;
};

} // namespace vartesa
