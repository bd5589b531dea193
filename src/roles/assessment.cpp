#include "roles/assessment.h"

#include "books/receipts.h"
#include "db/database.h"
#include "db/error.h"
#include "roles/assessment_balances.h"
#include "roles/assessment_pages.h"
#include "roles/assessment_steps.h"
#include "roles/role_search.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/table_files.h"
#include "shell/table_helpers.h"

#include <algorithm>
#include <optional>

namespace vartesa {

namespace {

const QString kProgressText = QStringLiteral("Transfer la datorii...");

// Roles committed together by a run over many roles: large enough that the synced writes
// of a commit are shared by many roles, small enough that a failed group is quickly redone.
constexpr size_t kRolesPerCommit = 200;

// Identifiers drawn at a time by a run over many roles.
constexpr int kIdBlock = 500;

} // namespace

QString AssessmentTitle() {
    return QStringLiteral("Adaugare la plata");
}
QString RefusalText(const Role& role) {
    return role.name + QStringLiteral(" nu are trecut ROL-ul si a fost respins.");
}
QString AddedToPaymentText(const Role& role) {
    return role.number + QStringLiteral(" a fost adaugat la plata.");
}
QString AllVillagesQuestionTitle() {
    return QStringLiteral("Adaugare localitate la plata");
}
QString NothingToAddText() {
    return QStringLiteral("Nu aveti ce adauga la plata!");
}
QString AddAllQuestionText() {
    return QStringLiteral("Doriti sa adaugati toate pozitiile la plata?");
}
QString AllVillagesReportTitle() {
    return QStringLiteral("Adaugare localitati la plata");
}
QString AllVillagesReportText(int assessed, int refused) {
    return QStringLiteral("Au fost adaugate la plata %1 ROL-uri si respinse %2 ROL-uri.")
        .arg(assessed)
        .arg(refused);
}

RoleFormProblem CheckAddToPayment(const Role* current, const QString& villageText) {
    if (!current) return {RoleField::Name, QStringLiteral("Nu ati ales nici o persoana!")};
    if (current->number.trimmed().isEmpty())
        return {RoleField::Number,
                current->name + QStringLiteral(" nu are Numar de ROL! Apasa Modifica si pune-i!")};
    if (villageText.trimmed().isEmpty())
        return {RoleField::Village, QStringLiteral("Nu ati ales Localitatea!")};
    return {};
}

Assessor::Assessor(db::Database& db, const QString& dataFolder, CountersFile& counters,
                   const AdminConstants& constants, int idBlock)
    : db_(db), folder_(dataFolder), constants_(constants), rates_(AssessmentRates::from(constants)),
      lineIds_(counters, QStringLiteral("IDDAT"), idBlock),
      balanceIds_(counters, QStringLiteral("IDRES"), idBlock) {
    yearStart_ = QDate(rates_.year, 1, 1);
    blank_.zone = constants.text(QStringLiteral("ComboBox2"));
    blank_.rank = constants.text(QStringLiteral("ComboBox3"));
    blank_.revaluationDate = yearStart_;
    // Each role is looked up by IDGOS in these; the engine keeps indexes in memory, once
    // per table (adding one again is refused, which is what we want).
    QStringList indexed = PageTables();
    indexed << tables::Ledger << tables::Balances << tables::Receipts;
    for (const QString& file : indexed) {
        try {
            db_.addIndex(folder_ + '/' + file, QStringLiteral("IDGOS"));
        } catch (const Error&) {
        }
    }
}

QString Assessor::table(const char* file) const {
    return folder_ + '/' + QLatin1String(file);
}

void Assessor::preloadPages() {
    pages_ = LoadPageCache(db_, folder_);
}

bool Assessor::isRefused(const Role& role) {
    return role.number.trimmed().isEmpty();
}

void Assessor::computeLines(const Role& role, const RolePages& pages, RoleLedger& ledger,
                            const std::function<void()>& step) {
    RoleRun run(role, rates_, constants_, pages, ledger);
    AssessOutsideLand(run);
    step();
    AssessBuildings(run);
    step();
    AssessAnnexes(run);
    step();
    AssessInsideLand(run);
    step();
    AssessVehicles(run);
    step();
    AssessUnregisteredVehicles(run);
    step();
    AssessOtherTaxes(run);
    step();
    AssessArrearsLines(run);
}

void Assessor::assessInside(const Role& role, const std::function<void()>& stepDone) {
    const auto step = [&] {
        if (stepDone) stepDone();
    };
    const RolePages pages(db_, folder_, role.id, blank_, pages_ ? &*pages_ : nullptr);
    RoleLedger ledger(role, yearStart_);
    ledger.load(db_, folder_);
    computeLines(role, pages, ledger, step);
    ledger.store(db_, folder_, lineIds_);

    RoleBalances balances(role);
    balances.load(db_, folder_);
    balances.seed(pages[Page::Arrears], rates_.noPenaltiesOption && role.noPenalties);
    step();
    balances.refresh(ledger, ReadReceiptTotals(db_, ReceiptsTable(folder_), role.id));
    balances.store(db_, folder_, balanceIds_);
    step();
}

void Assessor::checkStorable(const Role& role) {
    const RolePages pages(db_, folder_, role.id, blank_, nullptr);
    RoleLedger ledger(role, yearStart_);
    ledger.load(db_, folder_);
    computeLines(role, pages, ledger, [] {});
    ledger.checkFits(db_, folder_);
}

bool Assessor::assess(const Role& role, const std::function<void()>& stepDone) {
    if (isRefused(role)) return false;
    db::Transaction tx(db_);
    assessInside(role, stepDone);
    tx.commit();
    return true;
}

bool AssessRole(Services& services, const AdminConstants& constants, const Role& role) {
    if (Assessor::isRefused(role)) {
        services.messages().ShowErrors(AssessmentTitle(), RefusalText(role), MessageKind::Error,
                                       MessageButton::Ok);
        return false;
    }
    Progress& progress = services.progress();
    ProgressShown shown(progress, kProgressText);
    progress.SetMaximum(8);
    CountersFile counters = services.counters();
    Assessor assessor(services.database(), services.folders.data, counters, constants);
    return assessor.assess(role, [&progress] { progress.Step(); });
}

void CheckPageTaxesFit(db::Database& db, const QString& dataFolder, CountersFile& counters,
                       const AdminConstants& constants, qint64 id) {
    if (!db.tableExists(dataFolder + '/' + tables::Ledger)) return;
    const std::optional<Role> role = RoleRegister(db, dataFolder).role(id);
    if (!role || Assessor::isRefused(*role)) return;
    try {
        Assessor(db, dataFolder, counters, constants).checkStorable(*role);
    } catch (const RoleNotStorable& e) {
        throw PageRefusal(PageRefusal::Reason::BadValue,
                          QStringLiteral("Pagina nu a fost salvata: impozitul care ar rezulta nu poate fi trecut "
                                         "in registrul de datorii.\r") + e.reason,
                          QString(), QStringLiteral("Salvare pagina"));
    }
}

QStringList AssessmentVillageList(db::Database& db, const QString& dataFolder) {
    QStringList list;
    const QString roles = dataFolder + '/' + tables::Roles;
    if (db.tableExists(roles)) list = DistinctValues(db, roles, RoleColumns::village);
    const QString zones = dataFolder + '/' + tables::Zones;
    if (db.tableExists(zones))
        for (const QString& l : DistinctValues(db, zones, QStringLiteral("LOCALIT")))
            if (!list.contains(l)) list << l;
    return list;
}

std::vector<Role> RolesOfVillages(db::Database& db, const QString& dataFolder,
                                  const QStringList& villages) {
    RoleRegister roles(db, dataFolder);
    RoleSearch search(roles);
    search.open();
    std::vector<Role> out;
    for (const QString& village : villages) {
        search.villageChanged(village);
        for (int row = 0; row < search.count(); ++row)
            out.push_back(search.role(row));
    }
    return out;
}

AssessRunResult AssessRoles(Assessor& assessor, db::Database& db, const std::vector<Role>& roles,
                            const AssessRunHooks& hooks) {
    AssessRunResult result;
    if (roles.size() > 1) assessor.preloadPages();
    const int total = int(roles.size());
    int done = 0;
    // A refused role writes nothing; it is counted and reported once, when first met.
    const auto meet = [&](const Role& role) {
        const bool refused = Assessor::isRefused(role);
        if (refused) {
            ++result.refused;
            if (hooks.refused) hooks.refused(role);
        }
        return refused;
    };
    for (size_t first = 0; first < roles.size(); first += kRolesPerCommit) {
        const size_t end = std::min(roles.size(), first + kRolesPerCommit);
        size_t reached = first; // roles of the group met so far
        int assessed = 0;
        try {
            db::Transaction tx(db);
            for (; reached < end; ++reached) {
                if (!meet(roles[reached])) {
                    assessor.assessInside(roles[reached]);
                    ++assessed;
                }
                if (hooks.progress) hooks.progress(++done, total);
            }
            tx.commit();
            result.assessed += assessed;
        } catch (...) {
            // Done again one role per transaction: the roles before the failing one are
            // kept and the error that ends the run is the failing role's own.
            for (size_t i = first; i < end; ++i) {
                const bool refused = i < reached ? Assessor::isRefused(roles[i]) : meet(roles[i]);
                if (!refused) {
                    // One role whose tax cannot be stored does not stop the commune's run.
                    try {
                        assessor.assess(roles[i]);
                        ++result.assessed;
                    } catch (const RoleNotStorable& e) {
                        ++result.refused;
                        if (hooks.notStorable) hooks.notStorable(roles[i], e.text());
                    }
                }
                if (i >= reached && hooks.progress) hooks.progress(++done, total);
            }
        }
    }
    return result;
}

AssessRunResult AssessAllVillages(Services& services, const AdminConstants& constants,
                                  const QStringList& villages, const AssessRunHooks& hooks) {
    db::Database& db = services.database();
    const std::vector<Role> roles = RolesOfVillages(db, services.folders.data, villages);
    CountersFile counters = services.counters();
    Assessor assessor(db, services.folders.data, counters, constants, kIdBlock);
    AssessRunHooks used = hooks;
    if (!used.refused)
        used.refused = [&services](const Role& role) {
            services.messages().ShowErrors(AssessmentTitle(), RefusalText(role), MessageKind::Error,
                                           MessageButton::Ok);
        };
    if (!used.notStorable)
        used.notStorable = [&services](const Role&, const QString& why) {
            services.messages().ShowErrors(AssessmentTitle(), why, MessageKind::Error, MessageButton::Ok);
        };
    std::optional<ProgressShown> shown;
    if (!used.progress) {
        Progress& progress = services.progress();
        shown.emplace(progress, kProgressText);
        progress.SetMaximum(std::max(1, int(roles.size())));
        used.progress = [&progress](int, int) { progress.Step(); };
    }
    return AssessRoles(assessor, db, roles, used);
}

} // namespace vartesa
