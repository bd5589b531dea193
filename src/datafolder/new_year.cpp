#include "datafolder/new_year.h"

#include "books/stored_fields.h"
#include "datafolder/backup.h"
#include "db/cp1250.h"
#include "db/database.h"
#include "db/error.h"
#include "db/folder_use.h"
#include "roles/role_register.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/registry.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/table_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <map>
#include <memory>

namespace vartesa {

namespace {

const QString kLockFile = QStringLiteral("Vartesa.lck"); // the engine's folder lock: never moved
const QString kCounters = QStringLiteral("Vartesa.set");
const QString kUsers = QStringLiteral("s.mpg");

QString cleanFolder(const QString& folder) { return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()); }

QFileInfoList folderFiles(const QString& folder) {
    return QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The file of `folder` named `name` in any case; empty when there is none.
QString fileIn(const QString& folder, const QString& name) {
    for (const QFileInfo& f : folderFiles(folder))
        if (f.fileName().compare(name, Qt::CaseInsensitive) == 0) return f.absoluteFilePath();
    return {};
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw Error(QStringLiteral("Nu pot citi fisierul %1").arg(path), path);
    return f.readAll();
}

// Copies `name` of `from` into `to`, replacing the file of that name in any case; false when
// `from` has no such file.
bool copyReplacing(const QString& from, const QString& name, const QString& to) {
    const QString source = fileIn(from, name);
    if (source.isEmpty()) return false;
    if (const QString old = fileIn(to, name); !old.isEmpty() && !QFile::remove(old))
        throw Error(QStringLiteral("Nu pot sterge fisierul %1").arg(old), old);
    const QString target = to + '/' + QFileInfo(source).fileName();
    if (!QFile::copy(source, target)) throw Error(QStringLiteral("Nu pot copia fisierul %1").arg(source), source);
    return true;
}

// Step 1: the old year locked, and put back exactly as it was when the run fails.
class OldYearLock {
public:
    OldYearLock(const QString& oldFolder, int oldYear) : path_(oldFolder + '/' + kCounters), key_(YearLockCounterKey(oldYear)) {
        existed_ = QFileInfo::exists(path_);
        if (existed_) before_ = readAll(path_);
        CountersFile(path_).WriteCounter(QStringLiteral("SERVER"), key_, QStringLiteral("DA"));
        after_ = readAll(path_);
    }
    /// The counters file as it was before the lock, for the new folder.
    const QByteArray& before() const { return before_; }
    bool existed() const { return existed_; }
    /// Puts the file back byte for byte; when another workstation changed it meanwhile (a
    /// counter drawn), its change stays and only the lock key gets its former value back.
    void undo() noexcept {
        try {
            if (readAll(path_) == after_) {
                if (existed_) WriteWholeFile(path_, before_);
                else QFile::remove(path_);
                return;
            }
            bool found = false;
            const QString former = IniText(db::cp1250ToString(before_.constData(), int(before_.size())))
                                       .value(QStringLiteral("SERVER"), key_, &found);
            CountersFile(path_).WriteCounter(QStringLiteral("SERVER"), key_, found ? former : QStringLiteral("NU"));
        } catch (...) {
        }
    }

private:
    QString path_;
    QString key_;     // ADMINBLOCAT + old year
    QByteArray before_, after_;
    bool existed_ = false;
};

// Files moved between folders, undone in reverse on failure.
struct Moves {
    std::vector<std::pair<QString, QString>> done;
    bool move(const QString& from, const QString& to) {
        std::error_code ec;
        std::filesystem::rename(from.toStdString(), to.toStdString(), ec);
        if (ec) return false;
        done.emplace_back(from, to);
        return true;
    }
    void undo() noexcept {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            std::error_code ec;
            std::filesystem::rename(it->second.toStdString(), it->first.toStdString(), ec);
        }
        done.clear();
    }
};

// The new folder's files go aside into `kept`, the staged ones in; on failure all go back.
void swapIn(const QString& data, const QString& staging, const QString& kept, const NewYearHooks& hooks) {
    DeleteFolder(kept);
    if (!QDir().mkpath(kept)) throw Error(QStringLiteral("Nu pot crea directorul %1").arg(kept), kept);
    Moves aside, in;
    try {
        for (const QFileInfo& f : folderFiles(data))
            if (f.fileName().compare(kLockFile, Qt::CaseInsensitive) != 0 &&
                !aside.move(f.absoluteFilePath(), kept + '/' + f.fileName()))
                throw Error(QStringLiteral("Nu pot muta fisierul %1").arg(f.absoluteFilePath()), f.absoluteFilePath());
        for (const QFileInfo& f : folderFiles(staging)) {
            if (f.fileName().compare(kLockFile, Qt::CaseInsensitive) == 0) continue;
            if (!in.move(f.absoluteFilePath(), data + '/' + f.fileName()))
                throw Error(QStringLiteral("Nu pot muta fisierul %1").arg(f.absoluteFilePath()), f.absoluteFilePath());
            if (hooks.duringSwap) hooks.duringSwap(f.fileName());
        }
    } catch (...) {
        in.undo();
        aside.undo();
        DeleteFolder(kept);
        throw;
    }
}

// Steps 2 and 3: the settings, users, counters, register and pages of the old year.
void copyOldFiles(const QString& oldFolder, const QString& staging, const OldYearLock& lock, int oldYear,
                  Progress& progress) {
    progress.Describe(QStringLiteral("Preiau setarile..."));
    progress.SetMaximum(6);
    for (const QString& name : {tables::Zones, tables::Settings, tables::BudgetCodes, kUsers, tables::Roles}) {
        copyReplacing(oldFolder, name, staging);
        progress.Step();
    }
    // The counters as they were before the lock: the new year is not locked.
    if (lock.existed()) {
        if (const QString old = fileIn(staging, kCounters); !old.isEmpty()) QFile::remove(old);
        WriteWholeFile(staging + '/' + kCounters, lock.before());
        // A folder that names its working year (a demonstration commune) names the new one.
        CountersFile counters(staging + '/' + kCounters);
        if (!counters.ReadCounter(QStringLiteral("SERVER"), kWorkingYearKey).isEmpty())
            counters.WriteCounter(QStringLiteral("SERVER"), kWorkingYearKey, QString::number(oldYear + 1));
    }
    progress.Step();
    progress.Describe(QStringLiteral("Preiau matricola recalculata..."));
    progress.SetMaximum(8);
    for (const QString& name : {tables::LandOutside, tables::Buildings, tables::LandInside, tables::Vehicles,
                                tables::Unregistered, tables::OtherTaxes, tables::PriorArrears, tables::VehicleDetails}) {
        copyReplacing(oldFolder, name, staging);
        progress.Step();
    }
    for (const char* name : {"Executoriu.rtf", "Instiintare.rtf", "Somatie.rtf"})
        copyReplacing(oldFolder, QLatin1String(name), staging);
}

// Step 4: the purchases and sales of the old year on the copied pages.
std::vector<OwnershipRefusal> applyOwnershipChanges(db::Database& staged, const QString& staging, const OldYearBooks& books,
                                               int oldYear, Progress& progress, QFile& log) {
    std::vector<const YearDebit*> changes;
    for (auto it = books.debits.cbegin(); it != books.debits.cend(); ++it)
        for (const YearDebit& d : it.value())
            if (IsOwnershipChange(d)) changes.push_back(&d);
    std::sort(changes.begin(), changes.end(), [](const YearDebit* a, const YearDebit* b) {
        return a->roleId != b->roleId ? a->roleId < b->roleId : a->id < b->id;
    });
    progress.Describe(QStringLiteral("Operez debite %1...").arg(oldYear));
    progress.SetMaximum(int(changes.size()));
    std::map<QString, std::optional<db::Layout>> layouts;
    const PageLayoutOf layoutOf = [&](const QString& file) -> const db::Layout* {
        auto it = layouts.find(file);
        if (it == layouts.end()) {
            const QString path = staging + '/' + file;
            it = layouts.emplace(file, staged.tableExists(path) ? std::optional(staged.layout(path)) : std::nullopt).first;
        }
        return it->second ? &*it->second : nullptr;
    };
    std::vector<OwnershipRefusal> refusals;
    // One transaction: the pages are written once at the end, not once per debit. A refused
    // statement inside it undoes only itself.
    db::Transaction t(staged);
    for (const YearDebit* d : changes) {
        const PageChange change = PlanPageChange(*d, layoutOf);
        QString reason = change.refusal;
        if (!change.refused()) {
            try {
                ApplyPageChange(staged, staging, d->roleId, change);
            } catch (const Error& e) {
                reason = e.text();
            }
        }
        if (!reason.isEmpty()) {
            refusals.push_back({d->id, d->roleId, d->object.file.trimmed(), change.text(), reason});
            log.write(db::stringToCp1250(refusals.back().logLine() + QStringLiteral("\r\n")));
            log.flush();
        }
        progress.Step();
    }
    t.commit();
    return refusals;
}

const QStringList& openingColumns() {
    static const QStringList columns = [] {
        QStringList c;
        for (int k = 1; k <= 11; ++k) c << QStringLiteral("LIN%1").arg(k);
        for (int k = 1; k <= 4; ++k) c << QStringLiteral("PEN%1").arg(k);
        for (int k = 1; k <= 4; ++k) c << QStringLiteral("SOLD%1").arg(k);
        return c;
    }();
    return columns;
}

QVariantList openingValues(const Opening& o) {
    QVariantList v;
    for (qint64 x : o.lin) v << x;
    for (qint64 x : o.pen) v << x;
    for (qint64 x : o.sold) v << x;
    return v;
}

Opening openingFrom(const StoredFields& f) {
    Opening o;
    for (int k = 0; k < 11; ++k) o.lin[size_t(k)] = f.whole(QStringLiteral("LIN%1").arg(k + 1));
    for (int k = 0; k < 4; ++k) o.pen[size_t(k)] = f.whole(QStringLiteral("PEN%1").arg(k + 1));
    for (int k = 0; k < 4; ++k) o.sold[size_t(k)] = f.whole(QStringLiteral("SOLD%1").arg(k + 1));
    return o;
}

// Step 5: the openings of every role in memory, then written into the staged Pag8.dbf and
// Datorii.dbf in one transaction.
void writeOpenings(db::Database& staged, const QString& staging, const OldYearBooks& books, const AccountRules& rules,
                   const NewYearChoices& choices, int oldYear, Progress& progress, const NewYearHooks& hooks,
                   NewYearReport& report) {
    const QString pag8 = staging + '/' + tables::PriorArrears;
    std::vector<qint64> rows; // IDGOS of each Pag8.dbf row, in record order
    QHash<qint64, Opening> openings;
    if (staged.tableExists(pag8)) {
        QStringList columns = openingColumns();
        columns.prepend(QStringLiteral("IDGOS"));
        staged.scan(staged.resolve(pag8), columns, [&](const std::vector<QVariant>& values) {
            const StoredFields f(columns, values);
            const qint64 id = f.whole(QStringLiteral("IDGOS"));
            rows.push_back(id);
            if (!openings.contains(id)) openings.insert(id, openingFrom(f));
        });
    }
    const bool carry = choices.localTaxes || choices.otherTaxes;
    QHash<qint64, const Role*> roleOf;
    for (const Role& r : books.roles) roleOf.insert(r.id, &r);
    std::vector<LedgerLine> carried;
    QHash<qint64, Opening> computed;
    if (carry && !books.roles.empty()) {
        progress.Describe(QStringLiteral("Calculez ramasitele..."));
        progress.SetMaximum(int(books.roles.size()));
        const OpeningChoices take{choices.localTaxes, choices.otherTaxes};
        for (const Role& role : books.roles) {
            AccountRole account;
            account.role = role;
            account.found = true;
            account.rules = rules;
            account.year = oldYear;
            account.noPenalty = rules.penaltyOption && role.noPenalties;
            std::vector<ClaimRow> claims;
            AddYearEnd(computed[role.id], YearEndAccount(books, account), take, claims);
            for (const ClaimRow& c : claims) {
                LedgerLine l;
                l.roleId = role.id;
                l.from = c.from;
                l.village = role.village;
                l.number = role.number;
                l.group = c.group;
                l.name = c.name;
                l.explanation = c.document;
                l.arrears = c.due;
                l.unit = QStringLiteral("buc");
                l.quantity = Currency::lei(1);
                l.type = kManualLine;
                l.arrearsEstablished = c.due;
                carried.push_back(std::move(l));
            }
            ++report.rolesWalked;
            progress.Step();
            if (hooks.afterRole) hooks.afterRole(report.rolesWalked);
        }
        if (choices.localTaxes)
            for (Opening& o : computed) NetOpening(o);
    }
    if (carry) {
        db::Transaction t(staged);
        try {
            staged.addIndex(pag8, QStringLiteral("IDGOS"));
        } catch (const Error&) {
        }
        QStringList zero;
        for (const QString& c : openingColumns()) zero << c + QStringLiteral(" = 0");
        staged.exec(QStringLiteral("UPDATE \"%1\" SET %2").arg(staged.resolve(pag8), zero.join(QStringLiteral(", "))));
        QStringList set;
        for (const QString& c : openingColumns()) set << c + QStringLiteral(" = ?");
        const QString update = QStringLiteral("UPDATE \"%1\" SET %2 WHERE IDGOS = ?")
                                   .arg(staged.resolve(pag8), set.join(QStringLiteral(", ")));
        for (Opening& o : openings) o = Opening{};
        for (const Role& role : books.roles) {
            const Opening o = computed.value(role.id);
            if (o == Opening{}) continue;
            if (!openings.contains(role.id)) {
                // A role without its arrears page gets the blank row first, or its balances
                // would be lost.
                InsertBlankPage(staged, staging, tables::PriorArrears, role.id, BlankPageDefaults{});
                rows.push_back(role.id);
            }
            openings[role.id] = o;
            QVariantList values = openingValues(o);
            values << role.id;
            staged.exec(update, values);
        }
        if (!carried.empty()) {
            CountersFile counters(staging + '/' + kCounters);
            qint64 id = counters.NextIds(QStringLiteral("SERVER"), QStringLiteral("IDDAT"), qint64(carried.size()));
            for (LedgerLine& l : carried) {
                l.id = id++;
                InsertLedgerLine(staged, staging, l);
            }
        }
        t.commit();
    }
    // The rows in walk order; those of no role last, by IDGOS.
    QHash<qint64, int> walk;
    for (size_t i = 0; i < books.roles.size(); ++i) walk.insert(books.roles[i].id, int(i));
    std::stable_sort(rows.begin(), rows.end(), [&](qint64 a, qint64 b) {
        const int wa = walk.value(a, INT_MAX), wb = walk.value(b, INT_MAX);
        return wa != wb ? wa < wb : a < b;
    });
    for (qint64 id : rows) {
        const Role* role = roleOf.value(id);
        report.openings.push_back({id, role ? role->village : QString(), role ? role->number : QString(), openings.value(id)});
    }
    report.carried = std::move(carried);
}

} // namespace

QString PreviousYearDataFolder(const ReleaseRegistry& registry) {
    const QString folder = registry.release(kPreviousRelease).ReadRegistryValue(QStringLiteral("Cale")).trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (f.fileName().compare(kDataFolderName, Qt::CaseInsensitive) == 0) return cleanFolder(f.absoluteFilePath());
    return {};
}

QString NewYearStagingFolder(const QString& newFolder) { return cleanFolder(newFolder) + QStringLiteral(".an-nou"); }
QString NewYearKeptFolder(const QString& newFolder) {
    return cleanFolder(newFolder) + QStringLiteral(".inainte-de-an-nou");
}
QString NewYearLogPath(const QString& machineFolder) { return machineFolder + QStringLiteral("/VartesaLog.txt"); }

NewYearReport RunNewYearImport(const QString& oldFolder, const QString& newFolder, const NewYearChoices& choices,
                               int oldYear, Progress& progress, const QString& logPath, db::Database* engine,
                               const NewYearHooks& hooks) {
    const QString oldData = cleanFolder(oldFolder), newData = cleanFolder(newFolder);
    if (fileIn(oldData, tables::Roles).isEmpty())
        throw Error(QStringLiteral("Directorul %1 nu contine datele anului %2!").arg(QDir::toNativeSeparators(oldData)).arg(oldYear),
                    oldData);
    if (QFileInfo(oldData) == QFileInfo(newData))
        throw Error(QStringLiteral("Datele anului %1 nu pot fi preluate in acelasi director %2!")
                        .arg(oldYear)
                        .arg(QDir::toNativeSeparators(newData)),
                    newData);
    if (!QFileInfo(newData).isDir())
        throw Error(QStringLiteral("Directorul de date %1 nu exista").arg(newData), newData);
    std::unique_ptr<db::Database> own;
    if (!engine) {
        own = std::make_unique<db::Database>(newData);
        engine = own.get();
    }
    // No other session may work on the new folder while its files are replaced.
    db::holdFolder(*engine, newData, db::LockKind::Exclusive);
    struct Release {
        db::Database* engine;
        QString folder;
        ~Release() { db::releaseFolder(*engine, folder); }
    } release{engine, newData};
    const QString newRoles = newData + '/' + tables::Roles;
    if (engine->tableExists(newRoles) &&
        engine->scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(engine->resolve(newRoles))).toLongLong() > 0)
        throw Error(QStringLiteral("Baza de date %1 are deja roluri; preluarea se face o singura data!")
                        .arg(QDir::toNativeSeparators(newData)),
                    newData);

    QFile log(logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("Nu pot scrie fisierul %1").arg(logPath), logPath);
    const QString staging = NewYearStagingFolder(newData);
    DeleteFolder(staging); // what a crashed run left
    OldYearLock lock(oldData, oldYear);
    NewYearReport report;
    try {
        if (!QDir().mkpath(staging)) throw Error(QStringLiteral("Nu pot crea directorul %1").arg(staging), staging);
        for (const QFileInfo& f : folderFiles(newData))
            if (f.fileName().compare(kLockFile, Qt::CaseInsensitive) != 0 &&
                !QFile::copy(f.absoluteFilePath(), staging + '/' + f.fileName()))
                throw Error(QStringLiteral("Nu pot copia fisierul %1").arg(f.absoluteFilePath()), f.absoluteFilePath());
        copyOldFiles(oldData, staging, lock, oldYear, progress);
        {
            db::Database old(oldData);
            db::Database staged(staging);
            const OldYearBooks books = ReadOldYearBooks(old, oldData);
            if (choices.pages) report.refusals = applyOwnershipChanges(staged, staging, books, oldYear, progress, log);
            const AccountRules rules = ReadAccountRules(CountersFile(oldData + '/' + kCounters), old, oldData);
            writeOpenings(staged, staging, books, rules, choices, oldYear, progress, hooks, report);
        }
        swapIn(newData, staging, NewYearKeptFolder(newData), hooks);
    } catch (...) {
        lock.undo();
        DeleteFolder(staging);
        throw;
    }
    DeleteFolder(staging);
    return report;
}

bool OfferNewYearImport(Services& services, const std::function<bool(NewYearChoices&)>& choose) {
    const QString oldFolder = PreviousYearDataFolder(services.registry());
    if (oldFolder.isEmpty()) return false;
    const int oldYear = WorkingYear().toInt() - 1;
    const QString title = QStringLiteral("Import date %1").arg(oldYear);
    if (!services.messages().askYesNo(title, QStringLiteral("Doriti importarea datelor din anul %1?").arg(oldYear),
                                      MessageKind::Confirmation))
        return false;
    NewYearChoices choices;
    if (!choose(choices)) return false;
    try {
        ProgressShown shown(services.progress(), QStringLiteral("Initializare..."));
        RunNewYearImport(oldFolder, services.folders.data, choices, oldYear, services.progress(),
                         NewYearLogPath(services.folders.machine), &services.database());
    } catch (const Error& e) {
        services.messages().ShowErrors(title, e.text() + QStringLiteral("\rDatele au ramas neschimbate."),
                                       MessageKind::Error, MessageButton::Ok);
        return false;
    }
    services.messages().ShowErrors(title, QStringLiteral("Importul s-a incheiat cu succes!\rPorniti programul din nou!"),
                                   MessageKind::Information, MessageButton::Ok);
    return true;
}

} // namespace vartesa
