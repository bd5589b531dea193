#include "query.h"

#include "database.h"
#include "error.h"

#include <QFileInfo>

namespace vartesa::db {

Query Query::fromRows(const QStringList& columns, std::vector<std::vector<QVariant>> rows) {
    Query q;
    q.columns_ = columns;
    q.dateColumns_.assign(size_t(columns.size()), false);
    for (const auto& row : rows)
        if (row.size() != size_t(columns.size()))
            throw Error(QStringLiteral("Rand cu %1 valori pentru %2 coloane").arg(row.size()).arg(columns.size()));
    q.rows_ = std::move(rows);
    return q;
}

int Query::columnIndex(const QString& name) const {
    // A reader asks for the fields of every row by name, in about the order of the columns
    // and spelt as the table spells them: the column after the last one found is tried first,
    // so a row costs a comparison a field. Any other spelling goes through the upper-case index.
    const qsizetype count = columns_.size();
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype i = (lastFound_ + 1 + k) % count;
        if (columns_[i] == name) {
            lastFound_ = int(i);
            return int(i);
        }
    }
    if (index_.isEmpty())
        for (int i = 0; i < columns_.size(); ++i) index_.insert(columns_[i].toUpper(), i);
    return index_.value(name.toUpper(), -1);
}

int Query::fieldIndex(const QString& field) const {
    const int i = columnIndex(field);
    if (i < 0) throw Error(QStringLiteral("Campul %1 nu exista in rezultat").arg(field), sql_);
    return i;
}

QVariant Query::cell(int row, int column) const {
    const QVariant& v = rows_.at(size_t(row)).at(size_t(column));
    if (dateColumns_[size_t(column)] && !v.isNull()) return dateFromValue(v);
    return v;
}

QVariant Query::value(const QString& field) const {
    const int column = fieldIndex(field);
    if (pos_ < 0 || pos_ >= int(rows_.size()))
        throw Error(QStringLiteral("Nu exista inregistrare curenta pentru campul %1").arg(field), sql_);
    return cell(pos_, column);
}

QString Query::text(const QString& field) const {
    const QVariant v = value(field);
    if (v.metaType().id() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (v.metaType().id() == QMetaType::Double) {
        const double d = v.toDouble();
        return d == qint64(d) ? QString::number(qint64(d)) : QString::number(d, 'g', 15);
    }
    return v.toString();
}

qint64 Query::integer(const QString& field) const {
    const QVariant v = value(field);
    if (v.metaType().id() == QMetaType::Double) return qint64(std::llround(v.toDouble()));
    if (v.metaType().id() == QMetaType::QString) return qint64(std::llround(v.toString().trimmed().toDouble()));
    return v.toLongLong();
}

double Query::real(const QString& field) const {
    const QVariant v = value(field);
    return v.metaType().id() == QMetaType::QString ? v.toString().trimmed().toDouble() : v.toDouble();
}

Currency Query::currency(const QString& field) const {
    const QVariant v = value(field);
    switch (v.metaType().id()) {
    case QMetaType::LongLong: return Currency::lei(v.toLongLong());
    case QMetaType::Double: return Currency::fromDouble(v.toDouble());
    case QMetaType::QString: return Currency::parse(v.toString()).value_or(Currency());
    default: return Currency();
    }
}

QDate Query::date(const QString& field) const { return dateFromValue(value(field)); }

bool Query::locate(const QString& field, const QVariant& wanted, bool caseInsensitive) {
    const int column = fieldIndex(field);
    const bool asText = wanted.metaType().id() == QMetaType::QString;
    const QString target = wanted.toString().trimmed();
    for (int r = 0; r < int(rows_.size()); ++r) {
        const QVariant v = cell(r, column);
        bool same;
        if (asText || v.metaType().id() == QMetaType::QString)
            same = v.toString().trimmed().compare(target, caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
        else if (v.metaType().id() == QMetaType::QDate)
            same = v.toDate() == dateFromValue(wanted);
        else
            same = !v.isNull() && v.toDouble() == wanted.toDouble();
        if (same) {
            pos_ = r;
            return true;
        }
    }
    return false;
}

// --- TableCursor --------------------------------------------------------------------------

TableCursor::TableCursor(Database& db, const QString& table, Mode mode)
    : db_(db), path_(db.resolve(table)), kind_(mode == Mode::Exclusive ? LockKind::Exclusive : LockKind::Shared) {
    db_.holdTable(path_, kind_);
    try {
        refresh();
    } catch (...) {
        db_.releaseTable(path_, kind_);
        throw;
    }
}

TableCursor::~TableCursor() { db_.releaseTable(path_, kind_); }

void TableCursor::refresh() {
    layout_ = db_.layout(path_);
    const int at = rows_.position();
    rows_ = db_.query(QStringLiteral("SELECT rowid AS VT_RECNO, * FROM \"%1\" ORDER BY rowid")
                          .arg(QString(path_).replace('"', QStringLiteral("\"\""))));
    rows_.gotoBookmark(std::min(at, std::max(0, rows_.count() - 1)));
    state_ = State::Browse;
    edits_.clear();
}

int TableCursor::fieldSize(const QString& field) const {
    const int i = layout_.indexOf(field);
    if (i < 0) throw Error(QStringLiteral("Tabela %1 nu are campul %2").arg(QFileInfo(path_).fileName(), field), path_);
    return layout_.fields[size_t(i)].length;
}

void TableCursor::append() {
    state_ = State::Insert;
    edits_.clear();
}

void TableCursor::edit() {
    if (rows_.eof() || rows_.bof())
        throw Error(QStringLiteral("Nu exista inregistrare curenta in %1").arg(QFileInfo(path_).fileName()), path_);
    state_ = State::Edit;
    editing_ = rows_.integer(QStringLiteral("VT_RECNO"));
    edits_.clear();
}

void TableCursor::setValue(const QString& field, const QVariant& value) {
    if (state_ == State::Browse)
        throw Error(QStringLiteral("Tabela %1 nu este in editare").arg(QFileInfo(path_).fileName()), path_);
    fieldSize(field); // throws for an unknown field
    edits_.insert(layout_.fields[size_t(layout_.indexOf(field))].name, value);
}

void TableCursor::post() {
    if (state_ == State::Browse) return;
    const QString table = '"' + QString(path_).replace('"', QStringLiteral("\"\"")) + '"';
    QStringList names;
    QVariantList values;
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it) {
        names << '"' + it.key() + '"';
        values << it.value();
    }
    qint64 recno = editing_;
    if (state_ == State::Insert) {
        const QString sql = names.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(table, names.join(','), QStringList(QList<QString>(names.size(), "?")).join(','));
        db_.exec(sql, values);
        recno = db_.scalar(QStringLiteral("SELECT MAX(rowid) FROM %1").arg(table)).toLongLong();
    } else if (!names.isEmpty()) {
        values << recno;
        db_.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(table, names.join("=?,") + "=?"), values);
    }
    refresh();
    rows_.locate(QStringLiteral("VT_RECNO"), recno);
}

void TableCursor::cancel() {
    state_ = State::Browse;
    edits_.clear();
}

void TableCursor::remove() {
    if (rows_.eof() || rows_.bof()) return;
    const QString table = '"' + QString(path_).replace('"', QStringLiteral("\"\"")) + '"';
    db_.exec(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(table), {rows_.integer(QStringLiteral("VT_RECNO"))});
    refresh();
}

// --- QueryModel ---------------------------------------------------------------------------

void QueryModel::setQuery(Query query) {
    beginResetModel();
    query_ = std::move(query);
    endResetModel();
}

int QueryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : query_.count(); }

int QueryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : query_.columnCount(); }

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const QVariant v = query_.cell(index.row(), index.column());
    if (role == Qt::DisplayRole && v.metaType().id() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    return v;
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    return orientation == Qt::Horizontal ? QVariant(query_.columnName(section)) : QVariant(section + 1);
}

} // namespace vartesa::db
