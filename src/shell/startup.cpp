#include "startup.h"

#include "db/cp1250.h"
#include "db/database.h"
#include "db/error.h"
#include "db/file_io.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/registry.h"
#include "shell/table_files.h"
#include "shell/table_helpers.h"
#include "shell/version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace vartesa {

QString VersionString() { return kVersionString; }
QString VersionNumber() { return kVersionNumber; }
namespace {

// The working year of this process: the release's own, unless the data folder names another.
int& workingYearOfProcess() {
    static int year = kReleaseYear;
    return year;
}

} // namespace

QString WorkingYear() { return QString::number(workingYearOfProcess()); }

int DataFolderYear(const CountersFile& counters) {
    bool ok = false;
    const int year = counters.ReadCounter(QStringLiteral("SERVER"), kWorkingYearKey).trimmed().toInt(&ok);
    return ok && year >= 1900 && year <= 9999 ? year : kReleaseYear;
}

void UseWorkingYear(int year) { workingYearOfProcess() = year; }

qint64 DayNumber(const QDate& date) { return QDate(1899, 12, 30).daysTo(date); }

const QStringList& RequiredNetworkTables() {
    static const QStringList tables = {tables::Roles,        tables::LandOutside,  tables::Buildings, tables::LandInside,
                                       tables::Vehicles,     tables::Unregistered, tables::OtherTaxes,
                                       tables::PriorArrears, tables::Ledger,       tables::Balances};
    return tables;
}

void PackTable(db::Database& db, const QString& path) {
    if (!db.tableExists(path)) return;
    db.pack(path);
}

StartupSequence::StartupSequence(StartupContext context) : c_(std::move(context)) {}

CountersFile StartupSequence::counters() const { return CountersFile(c_.folders.data + QStringLiteral("/Vartesa.set")); }

void StartupSequence::status(const QString& text) {
    if (c_.view) c_.view->setStatus(text);
}

void StartupSequence::advance(int step) {
    if (c_.view) c_.view->advance(step);
}

void StartupSequence::chooseDataFolder() {
    c_.folders.data = c_.folders.defaultData;
    if (!QDir().mkpath(c_.folders.defaultData))
        throw Error(QStringLiteral("Directorul %1 nu poate fi creat").arg(c_.folders.defaultData));
    const QString server = c_.registry.ReadRegistryValue(QStringLiteral("SERVER")).trimmed();
    if (server.isEmpty()) return;
    const QString folder = QString(server).replace('\\', '/');
    bool complete = QFileInfo(folder).isDir();
    for (const QString& table : RequiredNetworkTables())
        complete = complete && c_.db.tableExists(folder + '/' + table);
    if (complete) {
        c_.folders.data = QDir::cleanPath(folder);
        return;
    }
    c_.messages.ShowErrors(QStringLiteral("Conectare server"),
                           QStringLiteral("Baza de date ") + server + QStringLiteral("\rNU este accesibila sau este incompleta!") +
                               QStringLiteral("\rVerificati conexiunea si baza si reporniti programul!"),
                           MessageKind::Error, MessageButton::Ok);
}

void StartupSequence::decideFirstStartOfDay() {
    const QString today = QString::number(DayNumber(c_.clock.today()));
    firstStartOfDay_ = counters().ReadCounter(QStringLiteral("SERVER"), QStringLiteral("LASTPACK")) != today;
}

void StartupSequence::maintainLocalDatabase() {
    if (!c_.folders.isLocalMode()) {
        if (c_.hooks.showServerPath) c_.hooks.showServerPath(c_.folders.data);
        return;
    }
    if (c_.hooks.firstUpgradeSet) c_.hooks.firstUpgradeSet();
    if (firstStartOfDay_) PackTable(c_.db, c_.folders.data + '/' + tables::Ledger);
    rolesTableEmpty_ = c_.hooks.secondUpgradeSet ? c_.hooks.secondUpgradeSet() : false;
}

void StartupSequence::recordRelease() {
    if (c_.registry.ReadRegistryValue(QStringLiteral("VER")) == VersionString()) return;
    c_.registry.WriteRegistryValue(QStringLiteral("CALE"), c_.folders.program);
    c_.registry.WriteRegistryValue(QStringLiteral("VER"), VersionString());
}

QStringList StartupSequence::BuildVillageList() {
    QStringList list;
    const QString roles = c_.folders.data + '/' + tables::Roles;
    if (c_.db.tableExists(roles)) list = DistinctValues(c_.db, roles, QStringLiteral("SATUL"));
    const QString zones = c_.folders.data + '/' + tables::Zones;
    if (c_.db.tableExists(zones)) {
        QStringList localities = DistinctValues(c_.db, zones, QStringLiteral("LOCALIT"));
        for (const QString& l : localities)
            if (!list.contains(l)) list << l;
    }
    villages_ = list;
    return list;
}

void StartupSequence::cleanUpVillages() {
    if (!c_.folders.isLocalMode() || !firstStartOfDay_) return;
    const QString listPath = c_.folders.data + QStringLiteral("/Sate.lst");
    QFile::remove(listPath);
    // Without a village list every row would look like one of a vanished village; the
    // clean-up then waits for a day when the list can be read.
    if (villages_.isEmpty()) return;
    db::replaceFile(listPath, db::stringToCp1250(villages_.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    QString condition = QStringLiteral("SATUL <> '' AND ROL <> ''");
    QVariantList values;
    for (const QString& v : std::as_const(villages_)) {
        condition += QStringLiteral(" AND SATUL <> ?");
        values << v;
    }
    for (const QString& table : {tables::Receipts, tables::Ledger, tables::Balances}) {
        const QString path = c_.folders.data + '/' + table;
        if (c_.db.tableExists(path)) c_.db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2").arg(path, condition), values);
    }
}

void StartupSequence::WriteStartupTemplates() {
    struct Template {
        const char* file;
        const char* resource;
        const char* older;
        bool olderFirst; // the older file goes before writing the new one
    };
    static const Template kTemplates[] = {
        {"PopAngaj2.rtf", "POPANGAJ", "PopAngaj.rtf", false}, {"PopBanca2.rtf", "POPBANCA", "PopBanca.rtf", false},
        {"CFiscal3.rtf", "CFISCAL", "CFiscal2.rtf", true},    {"Instiintare.rtf", "INSTIINTARE", nullptr, false},
        {"ConfirmareD.rtf", "ConfirmareD", nullptr, false},
    };
    QStringList missing;
    for (const Template& t : kTemplates) {
        const QString path = c_.folders.data + '/' + QLatin1String(t.file);
        if (c_.db.tableExists(path)) continue; // matches the name without regard to case
        const QString older = t.older ? c_.db.resolve(c_.folders.data + '/' + QLatin1String(t.older)) : QString();
        if (t.older && t.olderFirst) QFile::remove(older);
        try {
            WriteResourceToFile(QLatin1String(t.resource), QStringLiteral("MODEL"), path);
        } catch (const Error&) {
            missing << QLatin1String(t.file);
            continue;
        }
        if (t.older && !t.olderFirst) QFile::remove(older);
    }
    if (!missing.isEmpty())
        c_.messages.ShowErrors(QStringLiteral("Sabloane"),
                               QStringLiteral("Programul nu are sabloanele:\r") + missing.join(QStringLiteral(", ")),
                               MessageKind::Warning, MessageButton::Ok);
}

void StartupSequence::packTables() {
    if (!c_.folders.isLocalMode() || !firstStartOfDay_) return;
    struct Pack {
        const QString& table;
        int step;
    };
    static const Pack kBefore[] = {{tables::Zones, 2},        {tables::Roles, 5},        {tables::LandOutside, 5},
                                   {tables::Buildings, 5},    {tables::LandInside, 5},   {tables::Vehicles, 5},
                                   {tables::Unregistered, 5}, {tables::OtherTaxes, 5},   {tables::PriorArrears, 5}};
    static const Pack kAfter[] = {{tables::Balances, 5},     {tables::Receipts, 5},     {tables::LedgerUndo, 3},
                                  {tables::BalancesUndo, 2}, {tables::BudgetCodes, 3},  {tables::YearReceipts, 2},
                                  {tables::Confirmations, 3}};
    for (const Pack& p : kBefore) {
        PackTable(c_.db, c_.folders.data + '/' + p.table);
        advance(p.step);
    }
    try { // an index that exists already is no trouble
        c_.db.addIndex(c_.folders.data + '/' + tables::Ledger, QStringLiteral("IDGOS"));
    } catch (const Error&) {
    }
    for (const Pack& p : kAfter) {
        PackTable(c_.db, c_.folders.data + '/' + p.table);
        advance(p.step);
    }
}

// The tables that hold a counter's identifier: the table that draws it, and every table of
// the catalog with a column of that name (a role's IDGOS is in its pages, vehicles, debits,
// ledger, balances, receipts and the rest).
static QStringList TablesHolding(const QString& key, const QString& owner) {
    QStringList files{owner};
    for (const TableLayout& t : TableCatalog()) {
        if (t.file.compare(owner, Qt::CaseInsensitive) == 0) continue;
        for (const db::Field& f : t.fields)
            if (f.name.compare(key, Qt::CaseInsensitive) == 0) {
                files << t.file;
                break;
            }
    }
    return files;
}

void StartupSequence::resynchroniseCounters() {
    if (!c_.folders.isLocalMode()) return;
    struct Counter {
        const char* key;
        const QString& table;
    };
    static const Counter kCounters[] = {
        {"IDGOS", tables::Roles},       {"IDDAT", tables::Ledger},         {"IDRES", tables::Balances},
        {"IDDEB", tables::Debits},      {"IDCHIT", tables::Receipts},      {"IDRC", tables::CashRegister},
        {"IDANUL", tables::LedgerUndo}, {"IDCOD", tables::BudgetCodes},    {"IDCONF", tables::Confirmations},
        {"IDDETA", tables::VehicleDetails},
        {"IDSOM", tables::Summonses},
    };
    CountersFile file = counters();
    for (const auto& [key, owner] : kCounters) {
        const QString column = QLatin1String(key);
        // A counter never moves back: rows a deletion leaves behind (the vehicles and debits
        // of a deleted role) keep their identifier, and a new row must not take it over.
        bool numeric = false;
        qlonglong next = file.ReadCounter(QStringLiteral("SERVER"), column).trimmed().toLongLong(&numeric);
        if (!numeric || next < 1) next = 1;
        bool anyTable = false;
        for (const QString& table : TablesHolding(column, owner)) {
            const QString path = c_.folders.data + '/' + table;
            if (!c_.db.tableExists(path) || c_.db.layout(path).indexOf(column) < 0) continue;
            anyTable = true;
            const QVariant max = c_.db.scalar(QStringLiteral("SELECT MAX(%1) AS XX FROM \"%2\"").arg(column, path));
            if (!max.isNull()) next = std::max(next, max.toLongLong() + 1);
        }
        if (anyTable) file.WriteCounter(QStringLiteral("SERVER"), column, QString::number(next));
    }
}

bool StartupSequence::run() {
    QLocale::setDefault(QLocale::c()); // "." decimals whatever the machine's region
    chooseDataFolder();
    UseWorkingYear(DataFolderYear(counters()));
    // A writer killed mid-way (a power cut, a crashed workstation) left its tables half
    // written: put them back before the first step reads or packs them.
    c_.db.recoverFolder(c_.folders.data);
    rolesTableEmpty_ = false;
    decideFirstStartOfDay();
    maintainLocalDatabase();
    recordRelease();
    if (c_.hooks.loadAdminSettings) c_.hooks.loadAdminSettings();
    BuildVillageList();
    cleanUpVillages();
    if (c_.hooks.villagesReady) c_.hooks.villagesReady(villages_);
    WriteStartupTemplates();
    status(QStringLiteral("Incarcare ..."));
    upkeepFailed_ = false;
    try {
        packTables();
        resynchroniseCounters();
    } catch (const Error& e) {
        c_.messages.report(e);
        upkeepFailed_ = true;
    }
    // The day's upkeep counts as done only once every table is packed: a failed one is tried
    // again at the next start instead of being skipped for the rest of the day.
    if (!upkeepFailed_ && firstStartOfDay_ && c_.folders.isLocalMode()) {
        CountersFile file = counters();
        file.WriteCounter(QStringLiteral("SERVER"), QStringLiteral("LASTPACK"), QString::number(DayNumber(c_.clock.today())));
    }
    return true;
}

QString StartupSequence::upkeepFailedText() {
    return QStringLiteral("Intretinerea zilnica a bazei de date nu s-a terminat; se reia la urmatoarea pornire.");
}

QString YearLockCounterKey(int workingYear) { return QStringLiteral("ADMINBLOCAT%1").arg(workingYear); }

bool IsYearLocked(const CountersFile& counters) {
    return counters.ReadCounter(QStringLiteral("SERVER"), YearLockCounterKey(WorkingYear().toInt())).trimmed().toUpper() ==
           QLatin1String("DA");
}

} // namespace vartesa
