#include "roles/assessment_ledger.h"

#include "db/database.h"
#include "db/query.h"
#include "shell/counters.h"

#include <algorithm>

namespace vartesa {

namespace {

const QString kAssessed = QStringLiteral("A");

// The text as a character field keeps it: trailing blanks are not stored.
QString stored(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return text.left(end);
}

AssessedLine lineFromRow(const db::Query& q) {
    AssessedLine l;
    l.record = q.integer(QStringLiteral("RECNO"));
    l.id = q.integer(QStringLiteral("IDDAT"));
    l.group = q.text(QStringLiteral("GRUPA")).trimmed();
    l.name = q.text(QStringLiteral("DENUM")).trimmed();
    l.type = q.text(QStringLiteral("TIP")).trimmed();
    l.village = stored(q.text(QStringLiteral("SATUL")));
    l.number = stored(q.text(QStringLiteral("ROL")));
    l.from = q.date(QStringLiteral("DINDATA"));
    l.amount = q.integer(QStringLiteral("SUMA"));
    l.arrears = q.integer(QStringLiteral("REST"));
    l.reduction = q.integer(QStringLiteral("REDUC"));
    l.unit = stored(q.text(QStringLiteral("UM")));
    l.quantity = q.currency(QStringLiteral("CANT"));
    l.percent = q.integer(QStringLiteral("REDUCP"));
    l.exempted = q.integer(QStringLiteral("SCUTIT"));
    l.established = q.integer(QStringLiteral("SUMA2"));
    l.arrearsEstablished = q.integer(QStringLiteral("RESTINI"));
    return l;
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

bool AssessedLine::sameContent(const AssessedLine& o) const {
    return id == o.id && group == o.group && name == o.name && type == o.type &&
           stored(village) == stored(o.village) && stored(number) == stored(o.number) &&
           from == o.from && amount == o.amount && arrears == o.arrears &&
           reduction == o.reduction && stored(unit) == stored(o.unit) && quantity == o.quantity &&
           percent == o.percent && exempted == o.exempted && established == o.established &&
           arrearsEstablished == o.arrearsEstablished;
}

RoleLedger::RoleLedger(const Role& role, const QDate& yearStart)
    : role_(role), yearStart_(yearStart) {}

QString RoleLedger::key(const QString& group, const QString& name) {
    return group + QChar(0) + name;
}

void RoleLedger::load(db::Database& db, const QString& table) {
    slots_.clear();
    lookup_.clear();
    db::Query q = db.query(
        QStringLiteral("SELECT rowid AS RECNO, * FROM \"%1\" WHERE IDGOS = ? ORDER BY rowid")
            .arg(table),
        {role_.id});
    for (q.first(); !q.eof(); q.next()) {
        AssessedLine line = lineFromRow(q);
        // A second assessed line of the same name (never written by the assessment) is left
        // as it is: the writer keeps to the first, as a search for the line would.
        if (line.type == kAssessed && !lookup_.contains(key(line.group, line.name)))
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
        AssessedLine l;
        l.group = group;
        l.name = name;
        l.type = kAssessed;
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
    const AssessedLine& l = s.line;
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
    AssessedLine& l = s.line;
    l.amount = whole + (l.amount - l.established);
    l.established = whole;
    l.exempted = 0;
    l.unit = unit;
    l.quantity = quantity;
    l.percent = reduction.percentShown ? WholeLei(reduction.percent) : 0;
    l.reduction = granted;
    keepOrDrop(s);
}

void RoleLedger::writeArrears(const QString& name, std::int64_t arrears) {
    Slot& s = find(name, name);
    AssessedLine& l = s.line;
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
        t.amount += s.line.amount;
        t.reduction += s.line.reduction;
        t.exempted += s.line.exempted;
        ++t.lines;
    }
    return t;
}

int RoleLedger::newLines() const {
    return int(std::count_if(slots_.begin(), slots_.end(),
                             [](const Slot& s) { return s.live && !s.stored; }));
}

const AssessedLine* RoleLedger::assessed(const QString& group, const QString& name) const {
    const auto it = lookup_.constFind(key(group, name));
    return it == lookup_.constEnd() ? nullptr : &slots_[size_t(*it)].line;
}

void RoleLedger::store(db::Database& db, const QString& table, IdSource& ids) {
    ids.reserve(newLines());
    const QString remove = QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?").arg(table);
    const QString update =
        QStringLiteral("UPDATE \"%1\" SET SATUL = ?, DINDATA = ?, SUMA = ?, REST = ?, REDUC = ?, "
                       "UM = ?, CANT = ?, REDUCP = ?, SCUTIT = ?, SUMA2 = ?, RESTINI = ? "
                       "WHERE rowid = ?")
            .arg(table);
    const QString insert =
        QStringLiteral(
            "INSERT INTO \"%1\" (IDDAT, IDGOS, DINDATA, SATUL, ROL, GRUPA, DENUM, DOCJUS, "
            "NR, SUMA, REST, REDUC, UM, CANT, REDUCP, SCUTIT, TIP, SUMA2, RESTINI) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, '', 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(table);
    for (Slot& s : slots_) {
        const AssessedLine& l = s.line;
        if (s.stored && !s.live) {
            db.exec(remove, {s.stored->record});
        } else if (s.stored && !l.sameContent(*s.stored)) {
            db.exec(update, {l.village, l.from, l.amount, l.arrears, l.reduction, l.unit,
                             l.quantity.toDouble(), l.percent, l.exempted, l.established,
                             l.arrearsEstablished, s.stored->record});
        } else if (!s.stored && s.live) {
            s.line.id = ids.next();
            db.exec(insert, {l.id, role_.id, l.from, l.village, l.number, l.group, l.name, l.amount,
                             l.arrears, l.reduction, l.unit, l.quantity.toDouble(), l.percent,
                             l.exempted, l.type, l.established, l.arrearsEstablished});
        }
    }
}

} // namespace vartesa
