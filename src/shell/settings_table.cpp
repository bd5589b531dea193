#include "settings_table.h"

#include "db/database.h"
#include "db/query.h"
#include "shell/table_files.h"

namespace vartesa {

SettingsTable::SettingsTable(db::Database& db, const QString& dataFolder) : db_(db), dataFolder_(dataFolder) {}

QString SettingsTable::path() const { return dataFolder_ + '/' + tables::Settings; }

QHash<QString, QString> SettingsTable::load() const {
    QHash<QString, QString> values;
    if (!db_.tableExists(path())) return values;
    db::Query q = db_.query(QStringLiteral("SELECT FORMA, NUME, VALOARE FROM \"%1\" ORDER BY FORMA, NUME").arg(path()));
    for (q.first(); !q.eof(); q.next()) {
        const QString group = q.text(QStringLiteral("FORMA")).trimmed().toUpper();
        if (group != QLatin1String("FORM4") && group != QLatin1String("FR12") && group != QLatin1String("FRCOMB"))
            continue;
        values.insert(q.text(QStringLiteral("NUME")).trimmed().toUpper(), q.text(QStringLiteral("VALOARE")));
    }
    return values;
}

void SettingsTable::loadInto(std::vector<Setting>& settings) const {
    const QHash<QString, QString> values = load();
    for (Setting& s : settings) {
        const auto it = values.constFind(s.name.toUpper());
        if (it == values.constEnd()) continue;
        const bool trimmed = s.kind == SettingKind::Number || s.kind == SettingKind::Coefficient;
        s.value = trimmed ? it->trimmed() : *it;
    }
}

namespace {
// A stored value keeps its first 40 characters, the width of VALOARE.
QString storedValue(const Setting& s) { return s.value.left(40); }
} // namespace

void SettingsTable::save(const std::vector<Setting>& settings) {
    if (!db_.tableExists(path())) {
        db_.exec(QStringLiteral("CREATE TABLE \"%1\" (FORMA CHAR(12), NUME CHAR(32), VALOARE CHAR(40) )").arg(path()));
        db::Transaction tx(db_);
        for (const Setting& s : settings)
            if (s.kind != SettingKind::Coefficient)
                db_.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES ('FORM4', ?, ?)").arg(path()),
                         {s.name, storedValue(s)});
        tx.commit();
    }
    db::Transaction tx(db_);
    for (const char* group : {"FORM4", "FR12"})
        for (const Setting& s : settings)
            db_.exec(QStringLiteral("UPDATE \"%1\" SET VALOARE = ? WHERE FORMA = ? AND NUME = ?").arg(path()),
                     {storedValue(s), QString::fromLatin1(group), s.name});
    tx.commit();
}

} // namespace vartesa
