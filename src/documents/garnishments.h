#pragma once
// Garnishments: the order to a third party who owes the debtor money, his bank or his
// employer, to retain what the debtor owes the town hall and pay it into the budget accounts.
// The amounts are a summons' lines on the day, each with the account of its claim; three
// papers in one document (the enforcement title, the notice to the debtor, the address to
// the third party) from PopBanca2.rtf or PopAngaj2.rtf. Nothing is stored: the garnishment
// exists only as its document.

#include "documents/summonses.h"

#include <functional>
#include <optional>

namespace vartesa {

/// The window title of the garnishment's messages.
inline const QString kGarnishmentTitle = QStringLiteral("Titlu executoriu");

/// To whom the garnishment goes; each has its template.
enum class GarnishmentTo { Bank, Employer };

/// "PopBanca2.rtf" or "PopAngaj2.rtf".
QString GarnishmentTemplate(GarnishmentTo to);

/// What one budget account receives of one claim: Σ (DEBIT + ACCESORII).
struct GarnishmentLine {
    QString group;   // GRUPA
    QString account; // CONTT; empty when the claim has no row in CODCL.dbf
    std::int64_t sum = 0;
    bool operator==(const GarnishmentLine&) const = default;
};

/// The title's lines and what each account receives.
struct GarnishmentDetail {
    SummonsDetail title;                // the lines of a summons on the day, and their total
    std::vector<QString> accounts;      // CONTT of each title line, in its order
    std::vector<GarnishmentLine> lines; // per claim and account, in that order
};

/// The lines of `grids` computed on `date` as a summons has them (BuildSummonsDetail), each
/// with the greatest account of its claim for the person type (`naturalPerson`: CODCLF,
/// else CODCLJ), summed per claim and account. Two claims paid into one account stay two.
GarnishmentDetail BuildGarnishmentDetail(db::Database& db, const QString& dataFolder, const AccountGrids& grids,
                                         const QDate& date, bool noPenalty, bool naturalPerson);

/// What the clerk types in TAddNrTitlu.
struct ThirdParty {
    QString title; // NrTitlu: the number of the enforcement title, spaces collapsed
    QString name;  // NumeTert
    QString seat;  // SediuTert
};

/// What the papers name besides the lines.
struct GarnishmentPaper {
    SummonsPrintSettings settings; // the town hall and the clerk
    Role role;                     // the debtor
    QString village;               // [SAT]: the village the account shows
    ThirdParty party;              // [NRT], [NUMETERT], [SEDIUTERT]
    QDate date;                    // [DATA] and the date of "[TNRD k]"
};

/// Fills `templatePath` into a free "<outputBase><n>.rtf" and hands it to the desktop when
/// `open`. Returns the document. Throws vartesa::Error when it cannot be written.
QString PrintGarnishment(Services& services, const GarnishmentPaper& paper, const GarnishmentDetail& detail,
                         const QString& templatePath, const QString& outputBase, bool open = true);

/// What a garnishment did.
struct GarnishmentIssue {
    bool refused = true;      // a message told the clerk why there is no document
    GarnishmentDetail detail; // the lines computed
    ThirdParty party;         // as the clerk gave it
    QString file;             // the document; "" when refused or cancelled
};

/// TGospodarieF.PoprireP for `role` on `date`: the template first ("Va lipseste fisierul
/// <path> !"), then the lines ("Nu exista restante la acest ROL!" when nothing is owed),
/// then `ask` for the title number and the third party (none: cancelled, not a refusal;
/// an empty number is refused with "Nu ati scris nimic!"), then the document
/// "<outputBase><n>.rtf". Reads the tables, writes none.
GarnishmentIssue IssueGarnishment(Services& services, const SummonsPrintSettings& settings, const AccountRole& role,
                                  const QString& village, GarnishmentTo to, const QDate& date,
                                  const std::function<std::optional<ThirdParty>(const GarnishmentDetail&)>& ask,
                                  const QString& outputBase, bool open = true);

} // namespace vartesa
