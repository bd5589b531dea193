#pragma once
// The calculation constants: the live copy of every stored control of the administrator
// window, keyed by the control's name (AdminControls, AdminCounterControls,
// AdminRegistryControls). LoadAdminSettings fills it at start and whenever the window
// closes; the window shows it and writes the clerk's edits back; SaveAdminSettings stores
// it. The assessment reads the rates from here by key, so the values are there even when
// the window was never opened.
//
// Load reads Ini.dbf ("ORDER BY FORMA, NUME"), then the counters keys, which win for the
// eight quotas kept in both; then FARAMAJORARI and the year lock, then the registry.
// Save writes Ini.dbf (created when missing), the counters keys, then the update passes;
// a stored control without its Ini.dbf row gets the row inserted, so no value is dropped.

#include "db/currency.h"
#include "admin/admin_catalog.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <cstdint>

namespace vartesa {

class Services;
namespace db {
class Database;
}

class AdminConstants {
public:
    /// Every control at its default; the folders show their empty text.
    AdminConstants();

    /// Back to the defaults of every control (what a control without storage shows).
    void resetToDefaults();

    /// True when `key` names a stored control (any case).
    static bool isKnown(const QString& key);
    /// The control's text: the typed text of a field, the chosen item of a list ("" when
    /// none), "DA"/"NU" of a check box, a folder, "hh:mm". Throws vartesa::Error for an
    /// unknown key, so a misspelt key fails at once rather than reading 0.
    QString text(const QString& key) const;
    void setText(const QString& key, const QString& text);
    /// A number or coefficient field as a fixed-point value; an unreadable text reads as 0.
    /// Throws vartesa::Error for an unknown key or one that is not a number.
    Currency value(const QString& key) const;
    /// A check box is ticked ("DA").
    bool isChecked(const QString& control) const;

    /// "FARAMAJORARI" is "DA": the role screens show "Fara majorari".
    bool noPenalties() const { return noPenalties_; }
    /// The year lock of the working year, as read at the last load.
    bool yearLocked() const { return yearLocked_; }

    /// The settings the administrator stored in Ini.dbf of `dataFolder`, over the defaults;
    /// nothing is written. The command line reads the town hall and the rates this way.
    static AdminConstants stored(db::Database& db, const QString& dataFolder);

    /// LoadAdminSettings: defaults, then Ini.dbf, then the counters file, then the
    /// registry. Writes "NU" for FARAMAJORARI and the year lock when they are missing.
    void load(Services& services);
    /// The logged-in user's own option (FORMATPDF), read at login.
    void loadUserOptions(Services& services);
    /// SaveAdminSettings. The registry folders are not written here: they take effect when
    /// changed. Throws vartesa::Error when a store cannot be written.
    void save(Services& services) const;

    /// The tax of a legal person's building: value x rate / 100, the rate chosen by the
    /// years since the revaluation (CotaPJC1 under 4, CotaPJC2 for 4 and 5, CotaPJC3 else;
    /// a date after the working year counts as very old); a fully depreciated building
    /// pays value x 0.85 x CotaPJC1 / 100. Whole lei, half away from zero.
    std::int64_t CompanyBuildingTax(bool depreciated, const QDate& revaluationDate, Currency amount) const;
    /// The same for annexes, with CotaPJCA1 to CotaPJCA3.
    std::int64_t CompanyAnnexTax(bool depreciated, const QDate& revaluationDate, Currency amount) const;

private:
    std::int64_t companyTax(AdminPage page, bool depreciated, const QDate& revaluationDate, Currency amount) const;
    void loadSettingsTable(Services& services);
    void loadCounters(Services& services);
    void loadRegistry(Services& services);

    QHash<QString, QString> values_; // by key in capitals: every stored control's text
    bool noPenalties_ = false;       // FARAMAJORARI
    bool yearLocked_ = false;        // ADMINBLOCAT + working year
};

/// A number as the counters file keeps it: "1.25", "10", "0.1"; unreadable text gives "0".
QString DecimalText(const QString& typed);

} // namespace vartesa
