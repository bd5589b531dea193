#include "roles/role_search.h"

#include "db/database.h"
#include "roles/role_register.h"
#include "shell/text_helpers.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace vartesa {

void ReentryGuard::run(std::function<void()> action) {
    if (busy_) {
        pending_ = std::move(action);
        return;
    }
    busy_ = true;
    try {
        while (action) {
            action();
            action = std::exchange(pending_, nullptr);
        }
    } catch (...) {
        busy_ = false;
        pending_ = nullptr;
        throw;
    }
    busy_ = false;
}

RoleSearch::RoleSearch(RoleRegister& roles) : roles_(roles) {}

namespace {

// The tables keep s and t with cedilla (Windows-1250 has no comma-below letters), so typed
// comma-below letters are compared in that form. The engine's UPPER does not fold them.
QString asStored(QString text) {
    static const std::pair<char16_t, char16_t> kForms[] = {
        {u'\u0219', u'\u015F'}, {u'\u0218', u'\u015E'}, {u'\u021B', u'\u0163'}, {u'\u021A', u'\u0162'}};
    for (const auto& [comma, cedilla] : kForms) text.replace(QChar(comma), QChar(cedilla));
    return text;
}

} // namespace

QString RoleSearch::upper(const QString& text) const {
    if (text.isEmpty()) return text;
    return roles_.database().scalar(QStringLiteral("SELECT UPPER(?)"), {asStored(text)}).toString();
}

void RoleSearch::open() {
    const db::Query q = roles_.listRoles();
    const int numem = q.columnIndex(QStringLiteral("NUMEM"));
    rows_.clear();
    rows_.reserve(size_t(q.count()));
    for (int r = 0; r < q.count(); ++r) {
        Row row{RoleFromRow(q, r), q.cell(r, numem).toString().trimmed(), {}};
        row.upperVillage = row.role.village.toUpper();
        rows_.push_back(std::move(row));
    }
    // Romanian alphabetical order of villages and names (the engine orders ă, â, î, ş, ţ
    // after z); roles of one name keep the register's order of their numbers.
    std::stable_sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) {
        if (RomanianLess(a.role.village, b.role.village)) return true;
        if (RomanianLess(b.role.village, a.role.village)) return false;
        return RomanianLess(a.upperName, b.upperName);
    });
    // Villages are few: fold each distinct one once through the engine.
    QHash<QString, QString> folded;
    for (Row& row : rows_) {
        auto it = folded.find(row.upperVillage);
        if (it == folded.end()) it = folded.insert(row.upperVillage, upper(row.role.village));
        row.upperVillage = *it;
    }
    applyFilter(filterVillage_, filterNumber_);
    // The number and name fields show the role now current, not what they held before.
    showCurrentRoleFields();
}

void RoleSearch::showCurrentRoleFields() {
    if (const Role* r = currentRole()) {
        number_ = r->number;
        name_ = r->name;
    } else {
        number_ = filterNumber_;
        name_.clear();
    }
}

// The filter is kept apart from the fields: moving in the list changes what the fields
// show, not which roles are let through.
void RoleSearch::applyFilter(const QString& village, const QString& number) {
    filterVillage_ = village.trimmed();
    filterNumber_ = number.trimmed();
    const QString folded = upper(filterVillage_);
    const QString wanted = filterNumber_.toUpper();
    shown_.clear();
    for (int i = 0; i < int(rows_.size()); ++i) {
        const Row& row = rows_[size_t(i)];
        if (!folded.isEmpty() && row.upperVillage != folded) continue;
        if (!wanted.isEmpty() && row.role.number.toUpper() != wanted) continue;
        shown_.push_back(i);
    }
    current_ = shown_.empty() ? -1 : 0;
}

// The number field shows the current role's number; with no role let through it keeps
// what it holds.
void RoleSearch::showCurrentNumber() {
    if (const Role* r = currentRole()) number_ = r->number;
}

void RoleSearch::villageChanged(const QString& village) {
    village_ = village;
    name_.clear();
    number_.clear();
    applyFilter(village_, {});
    showCurrentNumber();
}

void RoleSearch::numberChanged(const QString& number) {
    number_ = number; // left as typed: the clerk is writing in it
    applyFilter(village_, number);
}

void RoleSearch::nameChanged(const QString& name) {
    name_ = name;
    if (!filterNumber_.isEmpty()) applyFilter(village_, {});
    if (name.isEmpty()) {
        number_.clear();
    } else {
        const QString prefix = upper(name);
        for (int row = 0; row < count(); ++row)
            if (rows_[size_t(shown_[size_t(row)])].upperName.startsWith(prefix)) {
                current_ = row;
                break;
            }
    }
    showCurrentNumber();
}

void RoleSearch::moveTo(int row) {
    if (row < 0 || row >= count()) return;
    current_ = row;
    const Role& r = role(row);
    village_ = r.village;
    name_ = r.name;
    number_ = r.number;
}

std::vector<int> RoleSearch::rowsNamed(const QString& text) const {
    const QString prefix = upper(text);
    std::vector<int> out;
    for (int row = 0; row < count(); ++row)
        if (rows_[size_t(shown_[size_t(row)])].upperName.startsWith(prefix)) out.push_back(row);
    return out;
}

bool RoleSearch::locate(qint64 id) {
    for (int row = 0; row < count(); ++row)
        if (role(row).id == id) {
            current_ = row;
            showCurrentRoleFields();
            return true;
        }
    return false;
}

qint64 RoleSearch::neighbourOfCurrent() const {
    if (current_ > 0) return role(current_ - 1).id;
    if (current_ >= 0 && current_ + 1 < count()) return role(current_ + 1).id;
    return 0;
}

} // namespace vartesa
