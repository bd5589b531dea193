#pragma once
// "Adaugare la plata": the yearly assessment of a role. From the role's declaration pages,
// its exemptions and the calculation constants it writes the lines of type "A" of the debt
// ledger (Datorii.dbf), seeds the role's balances from its arrears page and refreshes its
// four balance rows (SoldCalc.dbf) from the ledger and the receipts.
//
// Running it again brings the ledger in line with changed pages or constants and keeps
// what was collected: a line's new SUMA is the new tax less what was paid on it. With
// nothing changed it writes nothing (SATUL and DINDATA are refreshed where they differ).
//
// One role's assessment is one transaction: it fully applies or not at all. A run over
// many roles commits them in groups for speed; when a group fails it is done again one
// role per transaction, so the roles before the failing one stay assessed and the error
// names that role, exactly as if every role had been committed alone.

#include "roles/assessment_ledger.h"
#include "roles/assessment_pages.h"
#include "roles/assessment_rates.h"
#include "roles/declaration_pages.h"
#include "roles/role.h"
#include "roles/role_checks.h"
#include "roles/role_register.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vartesa {

class AdminConstants;
class CountersFile;
class Services;
namespace db {
class Database;
}

// --- The program's words around the assessment ---------------------------------------
/// Title of the refusal and of the single role's report: "Adaugare la plata".
QString AssessmentTitle();
/// The refusal of a role without a role number: its name + " nu are trecut ROL-ul si a fost
/// respins."
QString RefusalText(const Role& role);
/// The report of "A&dauga Gospodaria (ROL) la plata": ROL + " a fost adaugat la plata."
QString AddedToPaymentText(const Role& role);
/// "Adauga toate &Localitatile la plata": the question's title "Adaugare localitate la
/// plata", its two texts and the report ("Adaugare localitati la plata").
QString AllVillagesQuestionTitle();
QString NothingToAddText();   // "Nu aveti ce adauga la plata!"
QString AddAllQuestionText(); // "Doriti sa adaugati toate pozitiile la plata?"
QString AllVillagesReportTitle();
QString AllVillagesReportText(int assessed, int refused);

/// The checks of "A&dauga Gospodaria (ROL) la plata" before it assesses, in order: a role
/// is chosen ("Nu ati ales nici o persoana!" at the name), it has a number (at the number)
/// and a village is chosen in the screen's list ("Nu ati ales Localitatea!" at the village).
RoleFormProblem CheckAddToPayment(const Role* current, const QString& villageText);

/// Assesses roles of one data folder with the constants as they are when it is made.
class Assessor {
public:
    /// `idBlock`: identifiers drawn at a time from Vartesa.set (0: exactly as many as a
    /// role needs). Adds the IDGOS indexes the per-role look-ups use.
    Assessor(db::Database& db, const QString& dataFolder, CountersFile& counters,
             const AdminConstants& constants, int idBlock = 0);

    /// A role is refused when it has no role number.
    static bool isRefused(const Role& role);

    /// The whole assessment of one role (steps 1 to 9) in the caller's transaction.
    /// `stepDone` runs after each numbered step. Throws vartesa::Error on a database error.
    void assessInside(const Role& role, const std::function<void()>& stepDone = {});
    /// The assessment of `role` as its pages stand now, without writing anything: throws
    /// RoleNotStorable when a line it would write does not fit its field of the ledger.
    void checkStorable(const Role& role);
    /// Refuses (false, nothing written) a role without number; otherwise assesses it in one
    /// transaction of its own and returns true.
    bool assess(const Role& role, const std::function<void()>& stepDone = {});

    const AssessmentRates& rates() const { return rates_; }

    /// For a run over many roles: every page row is read now, at once, instead of role by
    /// role. A role whose page row is missing still has it read (and repaired) on its own.
    void preloadPages();

private:
    QString table(const char* file) const;
    /// Steps 1 to 8: the lines of `ledger` as the pages and the constants give them.
    void computeLines(const Role& role, const RolePages& pages, RoleLedger& ledger,
                      const std::function<void()>& step);

    db::Database& db_;
    QString folder_; // data folder
    const AdminConstants& constants_;
    AssessmentRates rates_;          // the constants, read once
    BlankPageDefaults blank_;        // for a page row a role lacks
    QDate yearStart_;                // DINDATA of the assessed lines
    IdSource lineIds_;               // IDDAT
    IdSource balanceIds_;            // IDRES
    std::optional<PageCache> pages_; // page rows read ahead for a run over many roles
};

/// AssessRole as the role register screen runs it on its current role: the progress window
/// "Transfer la datorii..." with 8 steps; a role without number is refused through
/// ShowErrors ("Adaugare la plata", RefusalText) and nothing is written. True when assessed.
bool AssessRole(Services& services, const AdminConstants& constants, const Role& role);

/// The check a saved page gets inside its transaction (DeclarationPages::save's
/// `checkWritten`): the role `id` as its pages now stand must be assessable. A tax too wide
/// for the ledger throws PageRefusal (BadValue, titled "Salvare pagina"), so the page is
/// not written and the clerk learns it at the page rather than at the next assessment.
void CheckPageTaxesFit(db::Database& db, const QString& dataFolder, CountersFile& counters,
                       const AdminConstants& constants, qint64 id);

/// What a run over villages did.
struct AssessRunResult {
    int assessed = 0; // roles assessed
    int refused = 0;  // roles without number
};

/// What a run over villages tells its caller while it works.
struct AssessRunHooks {
    std::function<void(int done, int total)> progress; // after each role
    std::function<void(const Role&)> refused;          // each refused role, when it is met
    /// Each role refused because an amount of it cannot be stored, with the reason that
    /// names it and the field; counted among the refused.
    std::function<void(const Role&, const QString& why)> notStorable;
};

/// The villages of the register screen's list: those of the roles, then the localities of
/// DefZone.dbf not among them.
QStringList AssessmentVillageList(db::Database& db, const QString& dataFolder);

/// The roles a run over `villages` assesses, in its order: for each village in list order,
/// the register's roles of that village (as the screen's village filter lets them through).
std::vector<Role> RolesOfVillages(db::Database& db, const QString& dataFolder,
                                  const QStringList& villages);

/// Assesses `roles` in their order, counting the refused ones: those without number and
/// those whose amounts cannot be stored (RoleNotStorable: the run goes on with the others).
/// Throws on the first other database error; the roles before it stay assessed.
AssessRunResult AssessRoles(Assessor& assessor, db::Database& db, const std::vector<Role>& roles,
                            const AssessRunHooks& hooks = {});

/// "Adauga toate &Localitatile la plata" without its question and report (which belong to
/// the screen) and the unattended run: every role of every village of `villages`. Without
/// hooks, refusals go to ShowErrors as AssessRole shows them and the progress window shows
/// "Transfer la datorii..." with one step per role.
AssessRunResult AssessAllVillages(Services& services, const AdminConstants& constants,
                                  const QStringList& villages, const AssessRunHooks& hooks = {});

} // namespace vartesa
