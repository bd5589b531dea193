// The printed summons and enforcement title: Titlu.rtf filled for one stored summons; its
// header, title lines and group summary also fill the garnishment papers.

#include "documents/summons_fill.h"
#include "shell/text_helpers.h"

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

QString key(const char* word, int k) { return QStringLiteral("[%1%2]").arg(QLatin1String(word)).arg(k); }
QString amount(std::int64_t v) { return QString::number(qint64(v)); }

struct GroupSums {
    std::int64_t arrears = 0, current = 0, increments = 0;
};

} // namespace

void FillSummonsLines(TRTFReplace& rtf, const std::vector<SummonsLine>& lines, TitleColumns columns) {
    const bool apart = columns == TitleColumns::ArrearsApart;
    GroupSums all;
    int k = 0;
    for (const SummonsLine& l : lines) {
        ++k;
        rtf.AddValue(key("NA", k), l.group.trimmed() + ' ' + l.document);
        rtf.AddValue(key("DS", k), DateText(l.due));
        if (apart) rtf.AddValue(key("R", k), amount(l.arrears));
        rtf.AddValue(key("D", k), amount(apart ? l.current : l.arrears + l.current));
        rtf.AddValue(key("A", k), amount(l.increments));
        rtf.AddValue(key("T", k), amount(l.total()));
        all.arrears += l.arrears;
        all.current += l.current;
        all.increments += l.increments;
    }
    if (apart) rtf.AddValue(QStringLiteral("[TR]"), amount(all.arrears));
    rtf.AddValue(QStringLiteral("[TD]"), amount(apart ? all.current : all.arrears + all.current));
    rtf.AddValue(QStringLiteral("[TA]"), amount(all.increments));
    rtf.AddValue(QStringLiteral("[TT]"), amount(all.arrears + all.current + all.increments));
    for (++k; k <= kDocumentLines; ++k)
        for (const char* word : {"NA", "DS", "R", "D", "A", "T"})
            if (apart || QLatin1String(word) != QLatin1String("R")) rtf.AddValue(key(word, k), kUnused);
}

void FillSummonsGroups(TRTFReplace& rtf, const std::vector<SummonsLine>& lines, TitleColumns columns) {
    const bool apart = columns == TitleColumns::ArrearsApart;
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
        if (apart) rtf.AddValue(key("RM", k), amount(g.arrears));
        rtf.AddValue(key("DC", k), amount(apart ? g.current : g.arrears + g.current));
        rtf.AddValue(key("AC", k), amount(g.increments));
        rtf.AddValue(key("TO", k), amount(g.arrears + g.current + g.increments));
    }
    for (++k; k <= kDocumentGroups; ++k)
        for (const char* word : {"NO", "RM", "DC", "AC", "TO"})
            if (apart || QLatin1String(word) != QLatin1String("RM")) rtf.AddValue(key(word, k), kUnused);
}

void FillSummonsHeader(TRTFReplace& rtf, const SummonsPrintSettings& settings, const QDate& date, const Role& role,
                       const QString& village) {
    rtf.AddValue(QStringLiteral("[JUDET]"), settings.townHall.county);
    rtf.AddValue(QStringLiteral("[COMUNA]"), settings.townHall.locality);
    rtf.AddValue(QStringLiteral("[CUI]"), settings.townHall.fiscalCode);
    rtf.AddValue(QStringLiteral("[PRIMAR]"), settings.mayor);
    rtf.AddValue(QStringLiteral("[INTOCMIT]"), settings.clerk);
    rtf.AddValue(QStringLiteral("[DATA]"), DateText(date));
    rtf.AddValue(QStringLiteral("[NUMEP]"), role.name);
    rtf.AddValue(QStringLiteral("[CNP]"), role.code);
    rtf.AddValue(QStringLiteral("[ROL]"), role.number);
    rtf.AddValue(QStringLiteral("[SAT]"), village);
    rtf.AddValue(QStringLiteral("[ADRESA]"), role.address);
}

QString FillMarkerDocument(Services& s, const QString& templatePath, const QString& outputBase, const QString& marker,
                           const std::function<void(TRTFReplace&)>& fill, bool open, const QString& busy) {
    TRTFReplace rtf(s.desktop());
    rtf.RTFSursa = templatePath;
    if (!rtf.FindFreeDest(outputBase)) throw Error(busy, outputBase);
    if (!rtf.WriteHeader()) throw Error(QStringLiteral("Documentul %1 nu poate fi scris!").arg(rtf.RTFDest), rtf.RTFDest);
    try {
        fill(rtf);
        rtf.ReplaceFromMarker(marker);
        rtf.CloseDocument();
    } catch (...) {
        QFile::remove(rtf.RTFDest);
        throw;
    }
    if (open) rtf.OpenDest();
    return rtf.RTFDest;
}

QString PrintSummons(Services& s, const SummonsPrintSettings& settings, qint64 id, const QString& outputBase,
                     bool open) {
    db::Database& db = s.database();
    const QString folder = s.folders.data;
    const std::optional<SummonsRecord> summons = ReadSummons(db, folder, id);
    if (!summons) return {};
    if (!SummonsTemplatePresent(s, kSummonsTitle)) return {};
    const std::optional<Role> role = ReadRole(db, folder, summons->roleId);
    const std::vector<SummonsLine> lines = ReadSummonsLines(db, folder, id);

    const Role r = role.value_or(Role{});
    return FillMarkerDocument(
        s, folder + QStringLiteral("/Titlu.rtf"), outputBase, QStringLiteral("JUDE"),
        [&](TRTFReplace& rtf) {
            FillSummonsHeader(rtf, settings, summons->issued, r, r.village);
            rtf.AddValue(QStringLiteral("[NR]"), QString::number(summons->number));
            FillSummonsLines(rtf, lines, TitleColumns::ArrearsApart);
            FillSummonsGroups(rtf, lines, TitleColumns::ArrearsApart);
        },
        open, QStringLiteral("Somatia nu poate fi scrisa: toate numele de fisier sunt ocupate!"));
}

} // namespace vartesa
