#pragma once
// The list of roles on the identification page: one column, the name, of the roles the
// search lets through.

#include "roles/role_search.h"

#include <QAbstractTableModel>

namespace vartesa {

class RoleGridModel final : public QAbstractTableModel {
public:
    RoleGridModel(const RoleSearch& search, QObject* parent) : QAbstractTableModel(parent), search_(search) {}
    /// The search changed its rows.
    void refresh() {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : search_.count(); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return search_.role(index.row()).name;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override {
        if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 0) return QStringLiteral("NUMEP");
        return {};
    }

private:
    const RoleSearch& search_;
};

} // namespace vartesa
