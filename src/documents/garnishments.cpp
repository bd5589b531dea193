#include "documents/garnishments.h"

#include "admin/budget_codes.h"
#include "books/roles.h"
#include "documents/summons_fill.h"
#include "fillers/rtf_replace.h"
#include "shell/services.h"
#include "shell/text_helpers.h"

#include <map>

namespace vartesa {

namespace {

constexpr int kGarnishmentKeys = 20; // rows the filler fills; the notice shows 15, the address 12
const QString kUnused = QStringLiteral("  -");

QString key(const char* word, int k) { return QStringLiteral("[%1%2]").arg(QLatin1String(word)).arg(k); }

// What the clerk typed never turns into a rich-text mark.
void addTyped(TRTFReplace& rtf, const QString& key, const QString& text) {
    rtf.AddEscapedValue(key, TRTFReplace::EscapeText(text));
}

void addGarnishmentLines(TRTFReplace& rtf, const GarnishmentPaper& paper, const std::vector<GarnishmentLine>& lines) {
    const QString titleOfDay = paper.party.title + '/' + paper.date.toString(QStringLiteral("dd.MM.yyyy"));
    int k = 0;
    for (const GarnishmentLine& l : lines) {
        ++k;
        rtf.AddValue(key("GR", k), l.group);
        addTyped(rtf, key("TNRD", k), titleOfDay);
        rtf.AddValue(key("CSD", k), QString::number(qint64(l.sum)));
        rtf.AddValue(key("CONTV", k), l.account);
    }
    for (++k; k <= kGarnishmentKeys; ++k)
        for (const char* word : {"GR", "TNRD", "CSD", "CONTV"}) rtf.AddValue(key(word, k), kUnused);
}

} // namespace

QString GarnishmentTemplate(GarnishmentTo to) {
    return to == GarnishmentTo::Bank ? QStringLiteral("PopBanca2.rtf") : QStringLiteral("PopAngaj2.rtf");
}

GarnishmentDetail BuildGarnishmentDetail(db::Database& db, const QString& dataFolder, const AccountGrids& grids,
                                         const QDate& date, bool noPenalty, bool naturalPerson) {
    GarnishmentDetail d;
    d.title = BuildSummonsDetail(grids, date, noPenalty);
    const std::map<QString, QString> accounts = GreatestAccounts(db, dataFolder, naturalPerson);
    std::map<std::pair<QString, QString>, std::int64_t> sums;
    for (const SummonsLine& l : d.title.lines) {
        const auto found = accounts.find(l.group.trimmed());
        d.accounts.push_back(found == accounts.end() ? QString() : found->second);
        sums[{l.group, d.accounts.back()}] += l.total();
    }
    for (const auto& [groupAccount, sum] : sums) d.lines.push_back({groupAccount.first, groupAccount.second, sum});
    return d;
}

QString PrintGarnishment(Services& s, const GarnishmentPaper& paper, const GarnishmentDetail& detail,
                         const QString& templatePath, const QString& outputBase, bool open) {
    return FillMarkerDocument(
        s, templatePath, outputBase, QStringLiteral("Jude"),
        [&](TRTFReplace& rtf) {
            FillSummonsHeader(rtf, paper.settings, paper.date, paper.role, paper.village);
            addTyped(rtf, QStringLiteral("[NRT]"), paper.party.title);
            addTyped(rtf, QStringLiteral("[NUMETERT]"), paper.party.name);
            addTyped(rtf, QStringLiteral("[SEDIUTERT]"), paper.party.seat);
            FillSummonsLines(rtf, detail.title.lines, TitleColumns::DebitMerged);
            FillSummonsGroups(rtf, detail.title.lines, TitleColumns::DebitMerged);
            addGarnishmentLines(rtf, paper, detail.lines);
        },
        open, QStringLiteral("Poprirea nu poate fi scrisa: toate numele de fisier sunt ocupate!"));
}

GarnishmentIssue IssueGarnishment(Services& s, const SummonsPrintSettings& settings, const AccountRole& role,
                                  const QString& village, GarnishmentTo to, const QDate& date,
                                  const std::function<std::optional<ThirdParty>(const GarnishmentDetail&)>& ask,
                                  const QString& outputBase, bool open) {
    GarnishmentIssue issue;
    if (!SummonsTemplatePresent(s, kGarnishmentTitle, GarnishmentTemplate(to))) return issue;
    if (!role.found) {
        s.messages().showError(kGarnishmentTitle, QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(role.role.id));
        return issue;
    }
    db::Database& db = s.database();
    issue.detail = BuildGarnishmentDetail(db, s.folders.data, BuildAccountGrids(db, s.folders.data, role, date), date,
                                          role.noPenalty, role.physicalPerson());
    if (issue.detail.title.total <= 0) {
        s.messages().showError(kGarnishmentTitle, QStringLiteral("Nu exista restante la acest ROL!"));
        return issue;
    }
    std::optional<ThirdParty> party = ask(issue.detail);
    if (party) party->title = CollapseSpaces(party->title);
    if (party && party->title.isEmpty()) {
        s.messages().showError(kGarnishmentTitle, QStringLiteral("Nu ati scris nimic!"));
        return issue;
    }
    issue.refused = false;
    if (!party) return issue;
    issue.party = *party;
    const GarnishmentPaper paper{settings, role.role, village, *party, date};
    issue.file = PrintGarnishment(s, paper, issue.detail, s.folders.data + '/' + GarnishmentTemplate(to), outputBase, open);
    return issue;
}

} // namespace vartesa
