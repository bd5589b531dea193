#pragma once
// The grids of the account screen: a model over one grid's rows showing the columns the
// clerk sees, with only "ACHITA" editable, and a header that draws a band caption over a
// run of columns ("Curent" over the year's amounts).

#include "cash/account.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyledItemDelegate>

#include <functional>

namespace vartesa {

/// A column the grid shows: the working table's column and its title.
struct ShownColumn {
    const char* column;  // name among AccountColumns()
    const char* caption; // column title
};

/// The shown columns of each grid, in order.
const std::vector<ShownColumn>& ShownColumns(AccountGrid grid);

class AccountGridModel : public QAbstractTableModel {
public:
    AccountGridModel(AccountGrid grid, QObject* parent = nullptr);

    /// Shows the rows of `grids` (which must outlive the model or the next call).
    void setGrids(AccountGrids* grids);
    AccountGrid grid() const { return grid_; }
    /// Column of the entered amount ("ACHITA").
    int enteredColumn() const { return entered_; }
    /// Called after every amount posted, with the grid's row.
    std::function<void(int row)> onEntered;
    /// Called when a typed amount is refused (the row keeps its amount), with the reason.
    std::function<void(int row, const QString& why)> onRefused;

    /// A double click: the row takes its whole total, or 0 when it holds it.
    void toggle(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    AccountRow* row(int r) const;
    void posted(int row);

    AccountGrid grid_;
    AccountGrids* grids_ = nullptr;
    std::vector<AccountRow*> rows_; // the grid's rows in order
    std::vector<int> sources_;      // per shown column: its index among AccountColumns()
    int entered_ = -1;
};

/// The editor of "ACHITA": a whole number of lei with an optional minus sign.
class AmountDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

/// A caption written over the sections `first` to `last` of a header.
struct HeaderBand {
    QString text;
    int first, last;
};

/// A header twice as tall that writes each band over its sections; the other sections keep
/// their title across both halves.
class BandedHeader : public QHeaderView {
public:
    BandedHeader(std::vector<HeaderBand> bands, QWidget* parent = nullptr);
    BandedHeader(const QString& band, int first, int last, QWidget* parent = nullptr)
        : BandedHeader(std::vector<HeaderBand>{{band, first, last}}, parent) {}
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    const HeaderBand* bandOf(int logicalIndex) const;
    std::vector<HeaderBand> bands_;
};

} // namespace vartesa
