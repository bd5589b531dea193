#include "roles/assessment_ledger.h"

#include "db/database.h"
#include "db/dbf_format.h"
#include "shell/table_files.h"
#include "shell/counters.h"

#include <algorithm>

namespace vartesa {

namespace {

// The text as a character field keeps it: trailing blanks are not stored.
QString stored(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return text.left(end);
}

// Same stored content (texts compared without their trailing blanks, as the file keeps them).
bool sameContent(const LedgerLine& a, const LedgerLine& o) {
    return a.id == o.id && a.group == o.group && a.name == o.name && a.type == o.type &&
           stored(a.village) == stored(o.village) && stored(a.number) == stored(o.number) &&
           a.from == o.from && a.current == o.current && a.arrears == o.arrears &&
           a.reduction == o.reduction && stored(a.unit) == stored(o.unit) && a.quantity == o.quantity &&
           a.reductionPercent == o.reductionPercent && a.exempt == o.exempt && a.established == o.established &&
           a.arrearsEstablished == o.arrearsEstablished;
}

} // namespace

std::int64_t WholeLei(Currency amount) {
    return amount.roundToInt();
}

IdSource::IdSource(CountersFile& counters, QString key, int block)
    : counters_(counters), key_(std::move(key)), block_(block) {}

void IdSource::reserve(int count) {
    if (left_ >= count) return;
    // What is left of an earlier block is given up: identifiers only need to be unique.
    const qint64 n = std::max(count, block_);
    next_ = counters_.NextIds(QStringLiteral("SERVER"), key_, n);
    left_ = n;
}

qint64 IdSource::next() {
    reserve(1);
    --left_;
    return next_++;
}

RoleLedger::RoleLedger(const Role& role, const QDate& yearStart)
    : role_(role), yearStart_(yearStart) {}

QString RoleLedger::key(const QString& group, const QString& name) {
    return group + QChar(0) + name;
}

void RoleLedger::load(db::Database& db, const QString& dataFolder) {
    slots_.clear();
    lookup_.clear();
    for (LedgerLine line : ReadLedgerLines(db, dataFolder, role_.id)) {
        // The lines are looked up by their claim and name as typed, whatever blanks surround them.
        line.group = line.group.trimmed();
        line.name = line.name.trimmed();
        line.type = line.type.trimmed();
        // A second assessed line of the same name (never written by the assessment) is left
        // as it is: the writer keeps to the first, as a search for the line would.
        if (line.type == kAssessedLine && !lookup_.contains(key(line.group, line.name)))
            lookup_.insert(key(line.group, line.name), int(slots_.size()));
        slots_.push_back({line, line, true});
    }
}

RoleLedger::Slot& RoleLedger::find(const QString& group, const QString& name) {
    const QString k = key(group, name);
    auto it = lookup_.constFind(k);
    int index;
    if (it != lookup_.constEnd()) {
        index = *it;
    } else {
        LedgerLine l;
        l.group = group;
        l.name = name;
        l.type = kAssessedLine;
        l.number = role_.number;
        index = int(slots_.size());
        slots_.push_back({std::nullopt, l, true});
        lookup_.insert(k, index);
    }
    Slot& s = slots_[size_t(index)];
    s.line.village = role_.village;
    s.line.from = yearStart_;
    return s;
}

void RoleLedger::keepOrDrop(Slot& s) {
    const LedgerLine& l = s.line;
    if (l.established != 0 || l.arrearsEstablished != 0 || l.reduction != 0) return;
    s.live = false;
    lookup_.remove(key(l.group, l.name));
}

void RoleLedger::writeTax(const QString& group, const QString& name, Currency tax,
                          const QString& unit, Currency quantity, const Reduction& reduction) {
    const std::int64_t whole = WholeLei(tax);
    const std::int64_t granted =
        reduction.granted ? WholeLei(reduction.percent * tax / Currency::lei(100)) : 0;
    // A new line with nothing established would be dropped at once: most of the hundred
    // vehicle classes of a role are such lines.
    if (whole == 0 && granted == 0 && !lookup_.contains(key(group, name))) return;
    Slot& s = find(group, name);
    LedgerLine& l = s.line;
    l.current = whole + (l.current - l.established);
    l.established = whole;
    l.exempt = 0;
    l.unit = unit;
    l.quantity = quantity;
    l.reductionPercent = reduction.percentShown ? WholeLei(reduction.percent) : 0;
    l.reduction = granted;
    keepOrDrop(s);
}

void RoleLedger::writeArrears(const QString& name, std::int64_t arrears) {
    Slot& s = find(name, name);
    LedgerLine& l = s.line;
    l.arrears = l.arrears + arrears - l.arrearsEstablished;
    l.arrearsEstablished = arrears;
    // A line that also carries the year's tax keeps the unit and quantity that tax was
    // computed on; the arrears alone are one sum.
    if (l.established == 0) {
        l.unit = QStringLiteral(" - ");
        l.quantity = Currency::lei(arrears > 0 ? 1 : 0);
    }
    keepOrDrop(s);
}

LedgerTotals RoleLedger::totals(const QString& group) const {
    LedgerTotals t;
    for (const Slot& s : slots_) {
        if (!s.live || s.line.group != group) continue;
        t.amount += s.line.current;
        t.reduction += s.line.reduction;
        t.exempted += s.line.exempt;
        ++t.lines;
    }
    return t;
}

int RoleLedger::newLines() const {
    return int(std::count_if(slots_.begin(), slots_.end(),
                             [](const Slot& s) { return s.live && !s.stored; }));
}

const LedgerLine* RoleLedger::assessed(const QString& group, const QString& name) const {
    const auto it = lookup_.constFind(key(group, name));
    return it == lookup_.constEnd() ? nullptr : &slots_[size_t(*it)].line;
}

void RoleLedger::checkFits(db::Database& db, const QString& dataFolder) const {
    const QString table = dataFolder + '/' + tables::Ledger;
    const db::Layout layout = db.layout(table);
    const QStringList& columns = LedgerColumnNames();
    QByteArray scratch;
    for (const Slot& s : slots_) {
        if (!s.live || (s.stored && sameContent(s.line, *s.stored))) continue;
        const QVariantList values = LedgerLineValues(s.line);
        for (qsizetype i = 0; i < columns.size() && i < values.size(); ++i) {
            const int at = layout.indexOf(columns[i]);
            if (at < 0) continue;
            const db::Field& field = layout.fields[size_t(at)];
            if (field.type != db::FieldType::Numeric && field.type != db::FieldType::Float) continue;
            scratch.resize(field.length);
            try {
                db::encodeField(field, values[i], scratch.data(), tables::Ledger);
            } catch (const Error& e) {
                throw RoleNotStorable(QStringLiteral("Rolul %1 din %2 (%3) a fost respins: %4")
                                          .arg(role_.number, role_.village, role_.name, e.text()),
                                      table, e.text());
            }
        }
    }
}

void RoleLedger::store(db::Database& db, const QString& dataFolder, IdSource& ids) {
    checkFits(db, dataFolder);
    ids.reserve(newLines());
    for (Slot& s : slots_) {
        if (s.stored && !s.live) {
            DeleteLedgerRecord(db, dataFolder, s.stored->record);
        } else if (s.stored && !sameContent(s.line, *s.stored)) {
            s.line.record = s.stored->record;
            UpdateAssessedLine(db, dataFolder, s.line);
        } else if (!s.stored && s.live) {
            s.line.id = ids.next();
            s.line.roleId = role_.id;
            InsertLedgerLine(db, dataFolder, s.line);
        }
    }
}

} // namespace vartesa
