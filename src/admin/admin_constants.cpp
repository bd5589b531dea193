#include "admin_constants.h"

#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "admin/admin_catalog.h"
#include "admin/budget_codes.h"
#include "shell/counters.h"
#include "shell/registry.h"
#include "shell/services.h"
#include "shell/settings_table.h"
#include "shell/startup.h"

#include <QSet>
#include <QTime>

namespace vartesa {

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kYes = QStringLiteral("DA");
const QString kNo = QStringLiteral("NU");

QString yesNo(bool on) { return on ? kYes : kNo; }

// Every key the constants answer to, in capitals: the three stores' controls.
const QSet<QString>& knownKeys() {
    static const QSet<QString> keys = [] {
        QSet<QString> k;
        for (const AdminControl& c : AdminControls()) k.insert(c.key.toUpper());
        for (const AdminCounterControl& c : AdminCounterControls()) k.insert(c.control.toUpper());
        for (const AdminRegistryControl& c : AdminRegistryControls()) k.insert(c.control.toUpper());
        return k;
    }();
    return keys;
}

// A time of day as the field shows it; whatever cannot be read is midnight.
QString timeOfDayText(const QString& stored) {
    const QString t = stored.trimmed();
    for (const char* format : {"hh:mm", "h:mm", "hh:mm:ss", "h:mm:ss"}) {
        const QTime time = QTime::fromString(t, QString::fromLatin1(format));
        if (time.isValid()) return time.toString(QStringLiteral("hh:mm"));
    }
    return QStringLiteral("00:00");
}

// The Ini.dbf rows the table lacks for these settings (FORM4 group), inserted with the
// settings' texts: the update pass alone would drop them.
void insertMissingRows(db::Database& db, const QString& path, const std::vector<Setting>& settings) {
    QSet<QString> present;
    db::Query rows = db.query(QStringLiteral("SELECT NUME FROM \"%1\" WHERE UPPER(TRIM(FORMA)) = 'FORM4'").arg(path));
    for (rows.first(); !rows.eof(); rows.next()) present.insert(rows.text(QStringLiteral("NUME")).trimmed().toUpper());
    db::Transaction tx(db);
    for (const Setting& s : settings)
        if (!present.contains(s.name.toUpper()))
            db.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES ('FORM4', ?, ?)").arg(path),
                    {s.name, s.value.left(40)});
    tx.commit();
}

} // namespace

QString DecimalText(const QString& typed) {
    const std::optional<Currency> v = Currency::parse(typed);
    if (!v) return QStringLiteral("0");
    QString t = v->toString(4);
    while (t.endsWith('0')) t.chop(1);
    if (t.endsWith('.')) t.chop(1);
    return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

AdminConstants::AdminConstants() { resetToDefaults(); }

void AdminConstants::resetToDefaults() {
    values_.clear();
    for (const AdminControl& c : AdminControls()) values_.insert(c.key.toUpper(), c.defaultValue);
    for (const AdminCounterControl& c : AdminCounterControls()) {
        QString text;
        if (c.kind == CounterControlKind::CheckBox) text = kNo;
        if (c.kind == CounterControlKind::TimeOfDay) text = QStringLiteral("00:00");
        values_.insert(c.control.toUpper(), text);
    }
    for (const AdminRegistryControl& c : AdminRegistryControls()) values_.insert(c.control.toUpper(), c.emptyText);
    noPenalties_ = false;
    yearLocked_ = false;
}

bool AdminConstants::isKnown(const QString& key) { return knownKeys().contains(key.toUpper()); }

QString AdminConstants::text(const QString& key) const {
    const auto it = values_.constFind(key.toUpper());
    if (it == values_.constEnd()) throw Error(QStringLiteral("Constanta necunoscuta: ") + key, QStringLiteral("Constante"));
    return *it;
}

void AdminConstants::setText(const QString& key, const QString& text) {
    if (!isKnown(key)) throw Error(QStringLiteral("Constanta necunoscuta: ") + key, QStringLiteral("Constante"));
    values_.insert(key.toUpper(), text);
}

Currency AdminConstants::value(const QString& key) const {
    const AdminControl* c = FindAdminControl(key);
    if (!c || (c->kind != SettingKind::Number && c->kind != SettingKind::Coefficient))
        throw Error(QStringLiteral("Constanta numerica necunoscuta: ") + key, QStringLiteral("Constante"));
    return Currency::parse(text(key)).value_or(Currency());
}

bool AdminConstants::isChecked(const QString& control) const { return text(control).toUpper() == kYes; }

void AdminConstants::load(Services& services) {
    resetToDefaults();
    loadSettingsTable(services);
    loadCounters(services);
    loadRegistry(services);
}

AdminConstants AdminConstants::stored(db::Database& db, const QString& dataFolder) {
    AdminConstants constants;
    std::vector<Setting> settings = DefaultAdminSettings();
    SettingsTable(db, dataFolder).loadInto(settings);
    for (const Setting& s : settings)
        if (isKnown(s.name)) constants.setText(s.name, s.value);
    return constants;
}

void AdminConstants::loadSettingsTable(Services& services) {
    std::vector<Setting> settings = DefaultAdminSettings();
    SettingsTable(services.database(), services.folders.data).loadInto(settings);
    for (const Setting& s : settings) {
        QString text = s.value;
        // A list shows no selection for a stored text that is none of its items.
        if (s.kind == SettingKind::List && !FindAdminControl(s.name)->items.contains(text)) text.clear();
        values_.insert(s.name.toUpper(), text);
    }
}

void AdminConstants::loadCounters(Services& services) {
    CountersFile counters = services.counters();
    for (const AdminCounterControl& c : AdminCounterControls()) {
        if (c.userSection) continue; // read at login, from the user's own section
        const QString stored = counters.ReadCounter(kServer, c.key);
        QString text = stored;
        if (c.kind == CounterControlKind::CheckBox) text = yesNo(stored.trimmed().toUpper() == kYes);
        if (c.kind == CounterControlKind::TimeOfDay) text = timeOfDayText(stored);
        values_.insert(c.control.toUpper(), text);
    }
    if (!services.user.isEmpty()) loadUserOptions(services);
    // The quotas kept in both stores take the counters' value, or its default.
    for (const AdminControl* c : AdminCounterMirrors())
        values_.insert(c->key.toUpper(), counters.ReadCounter(kServer, c->countersKey, c->defaultValue).trimmed());

    const QString noPenalties = counters.ReadCounter(kServer, NoPenaltiesCounterKey());
    if (noPenalties.isEmpty()) counters.WriteCounter(kServer, NoPenaltiesCounterKey(), kNo);
    noPenalties_ = noPenalties.trimmed().toUpper() == kYes;
    const QString lockKey = YearLockCounterKey(WorkingYear().toInt());
    if (counters.ReadCounter(kServer, lockKey).isEmpty()) counters.WriteCounter(kServer, lockKey, kNo);
    yearLocked_ = IsYearLocked(counters);
}

void AdminConstants::loadUserOptions(Services& services) {
    CountersFile counters = services.counters();
    for (const AdminCounterControl& c : AdminCounterControls())
        if (c.userSection)
            values_.insert(c.control.toUpper(),
                           yesNo(!services.user.isEmpty() &&
                                 counters.ReadCounter(services.user, c.key).trimmed().toUpper() == kYes));
}

void AdminConstants::loadRegistry(Services& services) {
    for (const AdminRegistryControl& c : AdminRegistryControls()) {
        const QString stored = services.registry().ReadRegistryValue(c.value);
        values_.insert(c.control.toUpper(), stored.isEmpty() ? c.emptyText : stored);
    }
}

void AdminConstants::save(Services& services) const {
    std::vector<Setting> settings = DefaultAdminSettings();
    for (Setting& s : settings) s.value = text(s.name);
    db::Database& db = services.database();
    SettingsTable table(db, services.folders.data);
    // A new table gets its rows first, as the update passes below expect.
    if (!db.tableExists(table.path())) table.save(settings);

    CountersFile counters = services.counters();
    for (const AdminCounterControl& c : AdminCounterControls()) {
        if (c.userSection && services.user.isEmpty()) continue; // nobody to keep it for
        const QString value = c.kind == CounterControlKind::CheckBox ? yesNo(isChecked(c.control)) : text(c.control);
        counters.WriteCounter(c.userSection ? services.user : kServer, c.key, value);
    }
    for (const AdminControl* c : AdminCounterMirrors()) counters.WriteCounter(kServer, c->countersKey, DecimalText(text(c->key)));

    table.save(settings);
    insertMissingRows(db, table.path(), settings);
}

std::int64_t AdminConstants::companyTax(AdminPage page, bool depreciated, const QDate& revaluationDate,
                                        Currency amount) const {
    const QStringList quotas = CompanyQuotaKeys(page); // 0-3 ani, 3-5 ani, peste 5 ani
    const Currency hundred = Currency::lei(100);
    if (depreciated) return (amount * Currency::fromRaw(8500) * value(quotas[0]) / hundred).roundToInt();
    // Unsigned on purpose: a revaluation after the working year counts as a very old one.
    const quint32 years = quint32(WorkingYear().toInt() - revaluationDate.year());
    const QString& quota = quotas[years < 4 ? 0 : years <= 5 ? 1 : 2];
    return (amount * value(quota) / hundred).roundToInt();
}

std::int64_t AdminConstants::CompanyBuildingTax(bool depreciated, const QDate& revaluationDate, Currency amount) const {
    return companyTax(AdminPage::Buildings, depreciated, revaluationDate, amount);
}

std::int64_t AdminConstants::CompanyAnnexTax(bool depreciated, const QDate& revaluationDate, Currency amount) const {
    return companyTax(AdminPage::AnnexBuildings, depreciated, revaluationDate, amount);
}

} // namespace vartesa
