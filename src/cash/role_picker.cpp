#include "cash/role_picker.h"

#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"


#include <algorithm>

namespace vartesa {

namespace {

QString cell(const db::Query& q, int row, int column) { return q.cell(row, column).toString().trimmed(); }

const QString& columnText(const PickerRole& r, PickerColumn column) {
    switch (column) {
    case PickerColumn::Village: return r.village;
    case PickerColumn::Number: return r.number;
    case PickerColumn::Name: return r.name;
    case PickerColumn::Code: return r.code;
    case PickerColumn::Address: return r.address;
    case PickerColumn::Form: break;
    }
    return r.form;
}

// Role numbers are mostly digits: 9 comes before 10.
bool numberBefore(const QString& a, const QString& b) {
    bool na = false, nb = false;
    const qint64 x = a.toLongLong(&na), y = b.toLongLong(&nb);
    if (na && nb) return x < y;
    if (na != nb) return na;
    return a < b;
}

} // namespace

QString RolePicker::upper(const QString& text) const {
    if (text.isEmpty()) return text;
    return db_.scalar(QStringLiteral("SELECT UPPER(?)"), {text}).toString();
}

void RolePicker::takeSnapshot(const QString& dataFolder) {
    using R = RoleColumns;
    const db::Query q =
        db_.query(QStringLiteral("SELECT %1, %2, %3, %4, %5, %6, %7, UPPER(%2), UPPER(%4), UPPER(%5), UPPER(%6) "
                                 "FROM \"%8/%9\"")
                      .arg(R::id, R::village, R::number, R::name, R::code, R::address, R::personType, dataFolder,
                           tables::Roles));
    rows_.clear();
    rows_.reserve(size_t(q.count()));
    for (int r = 0; r < q.count(); ++r) {
        Row row;
        row.role = {q.cell(r, 0).toLongLong(), cell(q, r, 1), cell(q, r, 2), cell(q, r, 3),
                    cell(q, r, 4), cell(q, r, 5), cell(q, r, 6)};
        row.upperVillage = cell(q, r, 7);
        row.upperName = cell(q, r, 8);
        row.upperCode = cell(q, r, 9);
        row.upperAddress = cell(q, r, 10);
        rows_.push_back(std::move(row));
    }
    order_ = PickerColumn::Name;
    order();
    apply({});
}

void RolePicker::clear() {
    rows_.clear();
    sorted_.clear();
    shown_.clear();
    current_ = -1;
}

QStringList RolePicker::villages() const {
    QStringList out;
    for (const Row& r : rows_)
        if (!r.role.village.isEmpty()) out << r.role.village;
    out.removeDuplicates();
    std::sort(out.begin(), out.end(), RomanianLess);
    return out;
}

bool RolePicker::lets(const Row& row, const PickerFilter& f) const {
    if (!f.village.isEmpty() && row.upperVillage != f.village) return false;
    if (!f.name.isEmpty() && !row.upperName.contains(f.name)) return false;
    if (!f.code.isEmpty() && !row.upperCode.startsWith(f.code)) return false;
    if (!f.number.isEmpty() && row.role.number.compare(f.number, Qt::CaseInsensitive) != 0) return false;
    if (!f.address.isEmpty() && !row.upperAddress.startsWith(f.address)) return false;
    if (!f.form.isEmpty() && row.role.form.compare(f.form, Qt::CaseInsensitive) != 0) return false;
    return true;
}

void RolePicker::apply(const PickerFilter& filter) {
    // The typed texts are folded once; "every" and blanks leave their part out.
    PickerFilter f;
    const QString village = filter.village.trimmed();
    if (village != kAnyVillage.trimmed()) f.village = upper(village);
    f.name = upper(filter.name.trimmed());
    f.code = upper(filter.code.trimmed());
    f.number = filter.number.trimmed();
    f.address = upper(filter.address.trimmed());
    if (filter.form.trimmed() != kAnyForm) f.form = filter.form.trimmed();
    shown_.clear();
    for (int i : sorted_)
        if (lets(rows_[size_t(i)], f)) shown_.push_back(i);
    current_ = int(shown_.size()) - 1;
}

// The whole snapshot is kept in the list's order, so a keystroke only filters.
void RolePicker::order() {
    sorted_.resize(rows_.size());
    for (size_t i = 0; i < sorted_.size(); ++i) sorted_[i] = int(i);
    const PickerColumn column = order_;
    std::stable_sort(sorted_.begin(), sorted_.end(), [this, column](int a, int b) {
        const QString& x = columnText(rows_[size_t(a)].role, column);
        const QString& y = columnText(rows_[size_t(b)].role, column);
        return column == PickerColumn::Number ? numberBefore(x, y) : RomanianLess(x, y);
    });
}

void RolePicker::sortBy(PickerColumn column) {
    const int kept = current_ < 0 ? -1 : shown_[size_t(current_)];
    order_ = column;
    order();
    std::vector<char> letThrough(rows_.size(), 0);
    for (int i : shown_) letThrough[size_t(i)] = 1;
    shown_.clear();
    for (int i : sorted_)
        if (letThrough[size_t(i)]) shown_.push_back(i);
    current_ = kept < 0 ? -1 : int(std::find(shown_.begin(), shown_.end(), kept) - shown_.begin());
}

void RolePicker::setCurrent(int row) {
    if (row >= 0 && row < count()) current_ = row;
}

} // namespace vartesa
