// The printed summons and enforcement title: Titlu.rtf filled for one stored summons.

#include "documents/summonses.h"

#include "books/roles.h"
#include "db/error.h"
#include "fillers/rtf_replace.h"
#include "shell/services.h"

#include <QFile>

#include <map>

namespace vartesa {

namespace {

constexpr int kDocumentLines = 30;  // line keys the filler fills, the form shows 20
constexpr int kDocumentGroups = 20; // summary keys, the form shows 12
const QString kUnused = QStringLiteral("  -");

QString dateText(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString(); }
QString key(const char* word, int k) { return QStringLiteral("[%1%2]").arg(QLatin1String(word)).arg(k); }
QString amount(std::int64_t v) { return QString::number(qint64(v)); }

struct GroupSums {
    std::int64_t arrears = 0, current = 0, increments = 0;
};

void addLines(TRTFReplace& rtf, const std::vector<SummonsLine>& lines) {
    GroupSums all;
    int k = 0;
    for (const SummonsLine& l : lines) {
        ++k;
        rtf.AddValue(key("NA", k), l.group.trimmed() + ' ' + l.document);
        rtf.AddValue(key("DS", k), dateText(l.due));
        rtf.AddValue(key("R", k), amount(l.arrears));
        rtf.AddValue(key("D", k), amount(l.current));
        rtf.AddValue(key("A", k), amount(l.increments));
        rtf.AddValue(key("T", k), amount(l.total()));
        all.arrears += l.arrears;
        all.current += l.current;
        all.increments += l.increments;
    }
    rtf.AddValue(QStringLiteral("[TR]"), amount(all.arrears));
    rtf.AddValue(QStringLiteral("[TD]"), amount(all.current));
    rtf.AddValue(QStringLiteral("[TA]"), amount(all.increments));
    rtf.AddValue(QStringLiteral("[TT]"), amount(all.arrears + all.current + all.increments));
    for (++k; k <= kDocumentLines; ++k)
        for (const char* word : {"NA", "DS", "R", "D", "A", "T"}) rtf.AddValue(key(word, k), kUnused);
}

// One summary row per group, by group name.
void addGroups(TRTFReplace& rtf, const std::vector<SummonsLine>& lines) {
    std::map<QString, GroupSums> groups;
    for (const SummonsLine& l : lines) {
        GroupSums& g = groups[l.group];
        g.arrears += l.arrears;
        g.current += l.current;
        g.increments += l.increments;
    }
    int k = 0;
    for (const auto& [group, g] : groups) {
        ++k;
        rtf.AddValue(key("NO", k), group);
        rtf.AddValue(key("RM", k), amount(g.arrears));
        rtf.AddValue(key("DC", k), amount(g.current));
        rtf.AddValue(key("AC", k), amount(g.increments));
        rtf.AddValue(key("TO", k), amount(g.arrears + g.current + g.increments));
    }
    for (++k; k <= kDocumentGroups; ++k)
        for (const char* word : {"NO", "RM", "DC", "AC", "TO"}) rtf.AddValue(key(word, k), kUnused);
}

} // namespace

QString PrintSummons(Services& s, const SummonsPrintSettings& settings, qint64 id, const QString& outputBase,
                     bool open) {
    db::Database& db = s.database();
    const QString folder = s.folders.data;
    const std::optional<SummonsRecord> summons = ReadSummons(db, folder, id);
    if (!summons) return {};
    if (!SummonsTemplatePresent(s, kSummonsTitle)) return {};
    const std::optional<Role> role = ReadRole(db, folder, summons->roleId);
    const std::vector<SummonsLine> lines = ReadSummonsLines(db, folder, id);

    TRTFReplace rtf(s.desktop());
    rtf.RTFSursa = folder + QStringLiteral("/Titlu.rtf");
    if (!rtf.FindFreeDest(outputBase))
        throw Error(QStringLiteral("Somatia nu poate fi scrisa: toate numele de fisier sunt ocupate!"), outputBase);
    if (!rtf.WriteHeader()) throw Error(QStringLiteral("Documentul %1 nu poate fi scris!").arg(rtf.RTFDest), rtf.RTFDest);
    try {
        rtf.AddValue(QStringLiteral("[JUDET]"), settings.townHall.county);
        rtf.AddValue(QStringLiteral("[COMUNA]"), settings.townHall.locality);
        rtf.AddValue(QStringLiteral("[CUI]"), settings.townHall.fiscalCode);
        rtf.AddValue(QStringLiteral("[PRIMAR]"), settings.mayor);
        rtf.AddValue(QStringLiteral("[INTOCMIT]"), settings.clerk);
        rtf.AddValue(QStringLiteral("[NR]"), QString::number(summons->number));
        rtf.AddValue(QStringLiteral("[DATA]"), dateText(summons->issued));
        const Role r = role.value_or(Role{});
        rtf.AddValue(QStringLiteral("[NUMEP]"), r.name);
        rtf.AddValue(QStringLiteral("[CNP]"), r.code);
        rtf.AddValue(QStringLiteral("[ROL]"), r.number);
        rtf.AddValue(QStringLiteral("[SAT]"), r.village);
        rtf.AddValue(QStringLiteral("[ADRESA]"), r.address);
        addLines(rtf, lines);
        addGroups(rtf, lines);
        rtf.ReplaceFromMarker(QStringLiteral("JUDE"));
        rtf.CloseDocument();
    } catch (...) {
        QFile::remove(rtf.RTFDest);
        throw;
    }
    if (open) rtf.OpenDest();
    return rtf.RTFDest;
}

} // namespace vartesa
