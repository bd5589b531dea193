#pragma once
// The settings table Ini.dbf: one row per stored control of the administrator window, keyed
// by the control's name. The administrator window declares its stored controls (name and
// kind); this file loads and saves their texts.

#include <QHash>
#include <QString>
#include <vector>

namespace vartesa {
namespace db {
class Database;
}

/// The four kinds of stored controls.
enum class SettingKind { Text, List, Number, Coefficient };

/// One stored control: its name, kind and current text.
struct Setting {
    QString name;
    SettingKind kind = SettingKind::Text;
    QString value;
};

class SettingsTable {
public:
    SettingsTable(db::Database& db, const QString& dataFolder);
    QString path() const;

    /// The values of the rows of groups "FORM4", "FR12" and "FRCOMB", read in the order
    /// FORMA, NUME (so for a name kept in several groups the last one read wins). Number and
    /// coefficient values are trimmed by the caller, who knows the kinds. No table: nothing.
    QHash<QString, QString> load() const;

    /// Loads into the declared settings: a setting whose name has a row gets its text
    /// (trimmed for numbers and coefficients); others keep theirs.
    void loadInto(std::vector<Setting>& settings) const;

    /// Creates the table when missing, with a "FORM4" row for every text, number and list
    /// setting; then writes every setting's text into its "FORM4" row and its "FR12" row.
    /// A setting without a row gets none. Texts are cut to 40 characters.
    void save(const std::vector<Setting>& settings);

private:
    db::Database& db_;   // engine
    QString dataFolder_; // where Ini.dbf lives
};

} // namespace vartesa
