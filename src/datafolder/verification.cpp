#include "verification.h"

#include "books/balances.h"
#include "books/ledger.h"
#include "db/database.h"
#include "db/error.h"
#include "shell/table_files.h"

namespace vartesa {
namespace {

const QString kRecno = QStringLiteral("VT_RECNO"); // record number column of a table cursor

QString quotedPath(const QString& path) { return '"' + QString(path).replace('"', QStringLiteral("\"\"")) + '"'; }

} // namespace

QString RoleFilter(const QString& text) {
    if (text.isEmpty()) return {};
    return QStringLiteral("(ROL='") + QString(text).replace('\'', QStringLiteral("''")) + QStringLiteral("')");
}

db::Query DuplicatesQuery(db::Database& db, const QString& dataFolder, Duplicates which) {
    const bool debts = which == Duplicates::Datorii;
    const QString table = dataFolder + '/' + (debts ? tables::Ledger : tables::Balances);
    const QString number = debts ? LedgerColumns::number : BalanceColumns::number;
    const QStringList lines = {
        QStringLiteral("SELECT %1, Count(*) AS NR").arg(number),
        QStringLiteral("FROM ") + quotedPath(db.resolve(table)),
        QStringLiteral("WHERE %1=?").arg(debts ? LedgerColumns::name : BalanceColumns::group),
        QStringLiteral("GROUP BY %1").arg(number),
        QStringLiteral("ORDER BY %1").arg(number),
    };
    db::Query q = db.query(lines.join('\n'),
                           {debts ? QStringLiteral("Vapoare") : QStringLiteral("Impozit pe cladiri")});
    q.setFilter(QStringLiteral("NR<>1"));
    return q;
}

TableEditModel::TableEditModel(db::Database& db, QObject* parent) : QAbstractTableModel(parent), db_(db) {}

TableEditModel::~TableEditModel() {
    try {
        release();
    } catch (...) {
    }
}

void TableEditModel::open(const QString& table) {
    release();
    beginResetModel();
    try {
        cursor_ = std::make_unique<db::TableCursor>(db_, table);
        table_ = db_.resolve(table);
        if (!filter_.isEmpty()) cursor_->rows().setFilter(filter_);
    } catch (...) {
        cursor_.reset();
        table_.clear();
        endResetModel();
        throw;
    }
    endResetModel();
}

void TableEditModel::release() {
    if (!cursor_) return;
    try {
        commitRow();
    } catch (const Error&) {
        cancelRow();
    }
    beginResetModel();
    cursor_.reset();
    table_.clear();
    endResetModel();
}

void TableEditModel::setFilter(const QString& condition) {
    if (condition == filter_) return;
    // The filter re-reads the rows: a pending change goes first, or is dropped when refused.
    try {
        commitRow();
    } catch (const Error&) {
        cancelRow();
    }
    filter_ = condition;
    if (!cursor_) return;
    beginResetModel();
    cursor_->rows().setFilter(filter_);
    endResetModel();
}

void TableEditModel::reload(qint64 recno) {
    beginResetModel();
    cursor_->refresh();
    if (!filter_.isEmpty()) cursor_->rows().setFilter(filter_);
    cursor_->rows().locate(kRecno, recno);
    endResetModel();
}

void TableEditModel::commitRow() {
    if (!cursor_ || pending_.isEmpty()) return;
    db::Query& rows = cursor_->rows();
    rows.gotoBookmark(pendingRow_);
    const qint64 recno = rows.integer(kRecno);
    cursor_->edit();
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it)
        cursor_->setValue(cursor_->layout().fields[size_t(it.key())].name, it.value());
    try {
        cursor_->post();
    } catch (...) {
        cursor_->cancel();
        throw;
    }
    pending_.clear();
    pendingRow_ = -1;
    reload(recno);
}

void TableEditModel::cancelRow() {
    if (pending_.isEmpty()) return;
    const int row = pendingRow_;
    pending_.clear();
    pendingRow_ = -1;
    if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TableEditModel::deleteRow(int row) {
    if (!cursor_ || row < 0 || row >= rowCount()) return;
    if (row == pendingRow_) cancelRow();
    db::Query& rows = cursor_->rows();
    rows.gotoBookmark(row);
    const qint64 next = row + 1 < rows.count() ? rows.cell(row + 1, rows.columnIndex(kRecno)).toLongLong() : -1;
    cursor_->remove();
    reload(next);
}

int TableEditModel::queryColumn(int column) const {
    return cursor_->rows().columnIndex(cursor_->layout().fields[size_t(column)].name);
}

int TableEditModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !cursor_ ? 0 : cursor_->rows().count();
}

int TableEditModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !cursor_ ? 0 : int(cursor_->layout().fields.size());
}

QVariant TableEditModel::data(const QModelIndex& index, int role) const {
    if (!cursor_ || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    QVariant v = index.row() == pendingRow_ && pending_.contains(index.column())
                     ? pending_.value(index.column())
                     : cursor_->rows().cell(index.row(), queryColumn(index.column()));
    if (role == Qt::DisplayRole && v.metaType().id() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (role == Qt::DisplayRole && v.metaType().id() == QMetaType::Double) {
        const double d = v.toDouble();
        if (d == qint64(d)) return QString::number(qint64(d));
    }
    return v;
}

bool TableEditModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!cursor_ || !index.isValid() || role != Qt::EditRole) return false;
    if (pendingRow_ >= 0 && pendingRow_ != index.row()) commitRow(); // the grid left that row
    if (data(index, Qt::EditRole) == value) return true;
    pendingRow_ = index.row();
    pending_.insert(index.column(), value);
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TableEditModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant TableEditModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || !cursor_) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return cursor_->layout().fields[size_t(section)].name;
}

} // namespace vartesa
