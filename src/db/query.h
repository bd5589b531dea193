#pragma once
// Cursors over query results and table files, and an item model for grids.

#include "currency.h"
#include "dbf_format.h"
#include "file_io.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace vartesa::db {

class Database;

/// The rows of one SELECT, held in memory, with a current row.
class Query {
public:
    Query() = default;
    /// Rows a program computed rather than selected, so the fillers and grids that walk a
    /// query take them too. Every row has one value per column; QDate values read as dates.
    static Query fromRows(const QStringList& columns, std::vector<std::vector<QVariant>> rows);

    // --- the result -------------------------------------------------------------------
    int count() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    int columnCount() const { return int(columns_.size()); }
    QString columnName(int column) const { return columns_.at(size_t(column)); }
    /// Column index by name (any case), -1 when absent.
    int columnIndex(const QString& name) const;
    bool hasField(const QString& name) const { return columnIndex(name) >= 0; }
    /// Cell by row and column; dates come as QDate, empty numbers and dates as null.
    QVariant cell(int row, int column) const;

    // --- walking ----------------------------------------------------------------------
    void first() { pos_ = 0; }
    void last() { pos_ = rows_.empty() ? 0 : int(rows_.size()) - 1; }
    void next() { if (pos_ < int(rows_.size())) ++pos_; }
    void prior() { if (pos_ >= 0) --pos_; }
    /// Past the last row (or no rows at all).
    bool eof() const { return pos_ >= int(rows_.size()); }
    /// Before the first row (or no rows at all).
    bool bof() const { return pos_ < 0 || rows_.empty(); }
    int position() const { return pos_; }
    /// A bookmark is the row's position; going to one outside the rows goes to eof.
    int bookmark() const { return pos_; }
    void gotoBookmark(int bookmark) { pos_ = bookmark; }

    // --- fields of the current row (throw vartesa::Error for a missing field) ----------
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    qint64 integer(const QString& field) const;
    double real(const QString& field) const;
    Currency currency(const QString& field) const;
    QDate date(const QString& field) const;
    bool isNull(const QString& field) const { return value(field).isNull(); }

    /// Moves to the first row whose field equals `value` (texts compared trimmed; with
    /// `caseInsensitive`, without regard to case). Returns false and stays put when none does.
    bool locate(const QString& field, const QVariant& value, bool caseInsensitive = false);

    /// Keeps only the rows for which the SQL condition holds (such as "NR<>1"), by running
    /// the query again; an empty filter brings all rows back.
    void setFilter(const QString& condition);
    QString filter() const { return filter_; }

private:
    friend class Database;
    friend struct QueryRunner;
    int fieldIndex(const QString& field) const; // throws when absent

    Database* db_ = nullptr;                  // for running the query again with a filter
    QString sql_;                             // the statement as the program wrote it
    QVariantList params_;                     // its bound values
    QString filter_;                          // condition of setFilter
    QStringList columns_;                     // result column names
    std::vector<bool> dateColumns_;           // columns declared as dates
    std::vector<std::vector<QVariant>> rows_; // the rows
    mutable QHash<QString, int> index_;       // column lookups by upper-case name
    mutable int lastFound_ = -1;              // the column an exact lookup found last
    int pos_ = 0;                             // current row
};

/// A cursor on one table file for editing row by row, as the forms do: append or edit,
/// set fields, post. Holds the table open (shared or exclusive) while it lives.
class TableCursor {
public:
    enum class Mode { Shared, Exclusive };
    /// Throws when the table does not exist or, for Exclusive, another workstation holds it.
    TableCursor(Database& db, const QString& table, Mode mode = Mode::Shared);
    ~TableCursor();
    TableCursor(const TableCursor&) = delete;
    TableCursor& operator=(const TableCursor&) = delete;

    const Layout& layout() const { return layout_; }
    /// Declared width of a field.
    int fieldSize(const QString& field) const;

    Query& rows() { return rows_; }
    /// Starts a new row; fields not set stay empty.
    void append();
    /// Starts changing the current row.
    void edit();
    void setValue(const QString& field, const QVariant& value);
    /// Writes the new or changed row and makes it current.
    void post();
    void cancel();
    /// Deletes the current row.
    void remove();
    /// Reads the file again.
    void refresh();

private:
    enum class State { Browse, Insert, Edit };
    Database& db_;
    QString path_;                   // full path of the table
    LockKind kind_;                  // how this cursor holds it
    Layout layout_;                  // its fields
    Query rows_;                     // the rows with their record numbers
    State state_ = State::Browse;    // what post() will do
    QHash<QString, QVariant> edits_; // field values set since append/edit
    qint64 editing_ = 0;             // record number being edited
};

/// A read-only item model over a query's rows, for grids.
class QueryModel : public QAbstractTableModel {
public:
    explicit QueryModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void setQuery(Query query);
    const Query& query() const { return query_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Query query_;
};

} // namespace vartesa::db
