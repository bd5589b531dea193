#include "documents/summonses.h"

#include "books/roles.h"
#include "cash/penalties.h"
#include "cash/receipt_numbers.h"
#include "db/database.h"
#include "db/error.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"

#include <QFileInfo>

#include <algorithm>

namespace vartesa {

namespace {

const NumberSeries kSummonsNumbers{QStringLiteral("SERVER"), QStringLiteral("IDSOM"), QString()};


// The lines of one local tax. What is still due of each instalment is SplitInstallments'
// (nothing of an exempted tax); the credit left after the arrears pays the instalments already
// due, the first before the second, as the account charges it. The increments of the account
// row that the instalments do not owe are the arrears line's.
void addTaxLines(const TaxRow& t, const QDate& date, int year, bool noPenalty, SummonsDetail& d) {
    const QDate firstDue(year, 3, 31), secondDue(year, 9, 30);
    const Installments open = t.exemption != 0 ? Installments{} : SplitInstallments(t.amount, t.rest);
    std::int64_t open1 = date > firstDue ? std::max<std::int64_t>(open.first, 0) : 0;
    std::int64_t open2 = date > secondDue ? std::max<std::int64_t>(open.second, 0) : 0;
    std::int64_t credit = std::max<std::int64_t>(-t.netArrears, 0);
    const std::int64_t taken1 = std::min(credit, open1);
    open1 -= taken1;
    credit -= taken1;
    const std::int64_t taken2 = std::min(credit, open2);
    open2 -= taken2;
    credit -= taken2;
    const std::int64_t inc1 = open1 > 0 ? ComputePenalty(noPenalty, firstDue, date, Currency::lei(open1)) : 0;
    const std::int64_t inc2 = open2 > 0 ? ComputePenalty(noPenalty, secondDue, date, Currency::lei(open2)) : 0;
    const std::int64_t arrears = t.netArrears >= 0 ? t.netArrears : -credit;
    const std::int64_t increments = std::max<std::int64_t>(t.penalties - inc1 - inc2, 0);
    auto add = [&](const QDate& due, std::int64_t arrearsPart, std::int64_t current, std::int64_t inc) {
        d.lines.push_back({t.group, due, arrearsPart, current, inc, QString()});
        d.total += arrearsPart + current + inc;
    };
    if (arrears + increments > 0) add(QDate(year - 1, 12, 31), arrears, 0, increments);
    if (open1 > 0) add(firstDue, 0, open1, inc1);
    if (open2 > 0) add(secondDue, 0, open2, inc2);
}

} // namespace

SummonsDetail BuildSummonsDetail(const AccountGrids& grids, const QDate& date, bool noPenalty) {
    SummonsDetail d;
    const int year = grids.year != 0 ? grids.year : date.year();
    for (const TaxRow& t : grids.taxes) addTaxLines(t, date, year, noPenalty, d);
    for (const ClaimRow& c : grids.claims) {
        if (c.amount == 0 && c.rest == 0) continue;
        d.lines.push_back({c.group, c.from, c.rest, c.amount, 0, c.document.trimmed()});
        d.total += c.rest + c.amount;
    }
    return d;
}

QString SummonsLinesQuestion(int lines) {
    return QStringLiteral("Pe formular incap maxim %1 linii!\rDvs. aveti %2 linii!\rContinuati?")
        .arg(kSummonsFormLines)
        .arg(lines);
}

bool AcceptSummonsLines(Messages& messages, const SummonsDetail& detail) {
    const int count = int(detail.lines.size());
    return count <= kSummonsFormLines ||
           messages.askYesNo(QStringLiteral("Somayie - Titlu"), SummonsLinesQuestion(count), MessageKind::Warning);
}

std::optional<QString> OpenSummonsRefusal(db::Database& db, const QString& dataFolder, qint64 roleId) {
    if (!db.tableExists(dataFolder + '/' + tables::Summonses)) return std::nullopt;
    const std::optional<SummonsRecord> open = FindOpenSummons(db, dataFolder, roleId);
    if (!open) return std::nullopt;
    return QStringLiteral("La acest ROL mai este Somatia ") + QString::number(open->number) + QStringLiteral(" / ") +
           DateText(open->issued) + QStringLiteral(" nesolutionata!");
}

qint64 StoreSummons(db::Database& db, const QString& dataFolder, CountersFile& counters, qint64 roleId,
                    const QDate& date, const SummonsDetail& detail, const std::function<void()>& between) {
    for (const QString& table : {tables::Summonses, tables::SummonsLines}) db.checkTable(dataFolder + '/' + table);
    db::Transaction tx(db);
    LockSummonses(db, dataFolder);
    // Under the lock no other workstation stores a summons; one that committed before its
    // counter was raised (or a counters file put back from a copy) is found here.
    qint64 id = ReadNumberCounter(counters, kSummonsNumbers);
    if (id < 1 || SummonsStored(db, dataFolder, id)) id = std::max<qint64>(HighestSummonsId(db, dataFolder) + 1, 1);
    SummonsRecord s;
    s.id = id;
    s.roleId = roleId;
    s.number = id;
    s.issued = date;
    s.total = detail.total;
    s.cancelled = kSummonsStanding;
    InsertSummons(db, dataFolder, s);
    if (between) between();
    for (const SummonsLine& l : detail.lines) InsertSummonsLine(db, dataFolder, id, roleId, l);
    tx.commit();
    try {
        KeepNumber(counters, kSummonsNumbers, id);
    } catch (const Error&) {
        // The summons stands; the next one finds its number taken and goes past it.
    }
    return id;
}

bool SummonsTemplatePresent(Services& s, const QString& title, const QString& file) {
    const QString path = s.folders.data + '/' + file;
    if (QFileInfo(path).isFile()) return true;
    s.messages().showError(title, QStringLiteral("Va lipseste fisierul ") + path + QStringLiteral(" !"));
    return false;
}

SummonsIssue IssueSummons(Services& s, const SummonsPrintSettings& settings, const AccountRules& rules, qint64 roleId,
                          const QDate& date, const std::function<bool(const SummonsDetail&)>& accept,
                          const QString& outputBase, bool open) {
    SummonsIssue issue;
    db::Database& db = s.database();
    const QString folder = s.folders.data;
    if (!SummonsTemplatePresent(s, kSummonsIssueTitle)) return issue;
    if (const std::optional<QString> blocked = OpenSummonsRefusal(db, folder, roleId)) {
        s.messages().showError(kSummonsIssueTitle, *blocked);
        return issue;
    }
    const AccountRole role = OpenAccountRole(db, folder, rules, roleId, WorkingYear().toInt());
    if (!role.found) {
        s.messages().showError(kSummonsTitle, QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(roleId));
        return issue;
    }
    issue.detail = BuildSummonsDetail(BuildAccountGrids(db, folder, role, date), date, role.noPenalty);
    if (issue.detail.total <= 0) {
        s.messages().showError(kSummonsTitle, QStringLiteral("Nu exista restante la acest ROL!"));
        return issue;
    }
    issue.refused = false;
    if (!accept(issue.detail)) return issue;
    CountersFile counters = s.counters();
    issue.id = StoreSummons(db, folder, counters, roleId, date, issue.detail);
    issue.file = PrintSummons(s, settings, issue.id, outputBase, open);
    return issue;
}

std::optional<QString> ConfirmSummons(db::Database& db, const QString& dataFolder, qint64 id, const QDate& day,
                                      const QString& way) {
    const std::optional<SummonsRecord> s = ReadSummons(db, dataFolder, id);
    if (!s) return UnknownSummons(id);
    if (!day.isValid() || (s->issued.isValid() && day < s->issued.addDays(2)))
        return QStringLiteral("Data Confirmarii ese incorecta!");
    db::Transaction tx(db);
    SetSummonsDelivery(db, dataFolder, id, day, way);
    tx.commit();
    return std::nullopt;
}

std::optional<QString> CancelSummons(db::Database& db, const QString& dataFolder, qint64 id, const QString& reason) {
    const QString collapsed = CollapseSpaces(reason);
    if (collapsed.size() <= 2 || collapsed.size() > 32) return QStringLiteral("Lipseste motivul!");
    if (!ReadSummons(db, dataFolder, id)) return UnknownSummons(id);
    db::Transaction tx(db);
    SetSummonsCancelled(db, dataFolder, id, collapsed);
    tx.commit();
    return std::nullopt;
}

QString UnknownSummons(qint64 id) { return QStringLiteral("Somatia %1 nu exista!").arg(id); }

} // namespace vartesa
