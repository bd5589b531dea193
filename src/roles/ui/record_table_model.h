#pragma once
// A read-only grid model over a list of records: each column a caption and how to show a
// record in it, with an optional hint per row. The lists of page 12 and the vehicle grid
// use it.

#include <QAbstractTableModel>
#include <QDate>
#include <QString>

#include <functional>
#include <vector>

namespace vartesa {

template <typename Record>
class RecordTableModel final : public QAbstractTableModel {
public:
    struct Column {
        QString caption;                             // header text
        std::function<QVariant(const Record&)> show; // the cell of a record
    };

    RecordTableModel(std::vector<Column> columns, QObject* parent) : QAbstractTableModel(parent), columns_(std::move(columns)) {}

    void setRecords(std::vector<Record> records) {
        beginResetModel();
        records_ = std::move(records);
        endResetModel();
    }
    const std::vector<Record>& records() const { return records_; }
    /// Hint shown over a row; none when not set.
    std::function<QString(const Record&)> hint;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(records_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(columns_.size()); }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        if (!index.isValid()) return {};
        const Record& r = records_.at(size_t(index.row()));
        if (role == Qt::ToolTipRole) return hint ? QVariant(hint(r)) : QVariant();
        if (role != Qt::DisplayRole) return {};
        const QVariant v = columns_.at(size_t(index.column())).show(r);
        return v.metaType().id() == QMetaType::QDate ? QVariant(v.toDate().toString(QStringLiteral("dd.MM.yyyy"))) : v;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
        return columns_.at(size_t(section)).caption;
    }

private:
    std::vector<Column> columns_;
    std::vector<Record> records_;
};

} // namespace vartesa
