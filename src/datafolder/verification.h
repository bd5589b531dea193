#pragma once
// The administrator's direct view of the debt lines (Datorii.dbf) and balances (SoldCalc.dbf):
// an editable model over one table, a role filter that stays when the table changes, and
// the lists of roles that hold a line twice. Changes here bypass the rules of the screens
// that normally write these tables, and are not logged.

#include "db/query.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QString>

#include <memory>

namespace vartesa {

namespace db {
class Database;
}

/// The filter "(ROL='<text>')" of the "ROL" box; "" (no filter) for an empty box. Quotes in
/// the text are doubled, so the text is always compared as a whole.
QString RoleFilter(const QString& text);

/// Which table the duplicates list looks at.
enum class Duplicates {
    Datorii,  // "Vapoare" lines of Datorii.dbf
    SoldCalc, // "Impozit pe cladiri" balance rows of SoldCalc.dbf
};

/// The roles holding more than one such line, by role: columns ROL and NR (the count).
/// The statement groups all roles; the filter "NR<>1" keeps the repeated ones.
db::Query DuplicatesQuery(db::Database& db, const QString& dataFolder, Duplicates which);

/// The upper grid: one table opened through a cursor, every field editable. Changes to a row
/// wait until commitRow() (the row is left) writes them; rows cannot be added; removeRow()
/// deletes at once. The role filter belongs to the model, so it stays in force when another
/// table is opened.
class TableEditModel final : public QAbstractTableModel {
public:
    explicit TableEditModel(db::Database& db, QObject* parent = nullptr);
    ~TableEditModel() override;

    /// Releases the current table, then opens `table` (full path) with the filter in force.
    /// Throws Error when the table cannot be opened.
    void open(const QString& table);
    /// Posts a pending change (dropping it without a word when that fails) and closes the table.
    void release();
    bool isOpen() const { return cursor_ != nullptr; }
    QString table() const { return table_; }

    /// Sets the filter condition ("" for none) and applies it to an open table.
    void setFilter(const QString& condition);
    QString filter() const { return filter_; }

    /// Writes the pending change of the row being edited, if any. Throws Error when the
    /// engine refuses it; the change then stays pending.
    void commitRow();
    /// Drops the pending change.
    void cancelRow();
    bool hasPendingChange() const { return !pending_.isEmpty(); }
    /// Deletes a row of the grid from the table. Throws Error.
    void deleteRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void reload(qint64 recno); // re-applies the filter and returns to the record
    int queryColumn(int column) const;

    db::Database& db_;
    std::unique_ptr<db::TableCursor> cursor_; // the open table; null when none
    QString table_;                           // its path
    QString filter_;                          // condition of the "ROL" box
    int pendingRow_ = -1;                     // grid row with changes not yet written
    QHash<int, QVariant> pending_;            // its changed values by grid column
};

} // namespace vartesa
