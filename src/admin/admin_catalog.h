#pragma once
// The administrator window's stored controls, as data: every constant of the yearly
// assessment, the town hall's identity and the default zone and rank, with key, kind, page,
// captions, default text and field width. The window generates its pages from these
// tables, the assessment reads the constants by these keys, and a new Ini.dbf gets one
// "FORM4" row per text, number and list control.
//
// Three stores: Ini.dbf (AdminControls), the counters file Vartesa.set (the check boxes
// and register-import options of AdminCounterControls, plus the eight quotas mirrored
// there, see AdminControl::countersKey) and the release registry (AdminRegistryControls).
//
// Captions of more than one line hold the lines separated by '\n'.

#include "shell/settings_table.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {

/// The pages of the administrator window, in their order (the window's page index).
enum class AdminPage {
    General = 0,          // identity, users, options, folders
    Zones,                // definirea zonelor: DefZone.dbf and the default zone and rank
    OutsideLand,          // teren extravilan
    Buildings,            // cladiri
    AnnexBuildings,       // cladiri anexe
    InsideLand,           // teren intravilan
    Vehicles,             // mijloace de transport
    UnregisteredVehicles, // auto neinmatriculate
    OtherTaxes,           // alte taxe
    HeavyVehicles,        // mijloace transp. peste 12 tone
    HeavyCombinations,    // combinatii auto peste 12 tone
    Boats,                // mijloace de transport pe apa
};
constexpr int kAdminPageCount = 12;

/// One page of the window.
struct AdminPageInfo {
    AdminPage page;         // its index
    QString listText;       // its item in the page list, leading spaces included
    QString title;          // heading at the top of the page; empty when none
    QString subtitle;       // second heading; empty when none
    bool hasExplanations;   // shows the "Explicatii" button (the pages of fixed values)
};

/// The pages in their order.
const std::vector<AdminPageInfo>& AdminPages();

/// The page list's items in order: the pages' texts with the heading "TAXE - Valori fixate"
/// (which opens nothing) between "definirea zonelor" and "teren extravilan".
QStringList AdminPageListItems();
/// The page that list item `item` opens: item 0 and 1 their own page, item 2 (the heading)
/// none (-1), item i from 3 on page i - 1. Out of range: -1.
int AdminPageOfListItem(int item);

/// The "Explicatii" message of the pages of fixed values: title and its three lines.
QString AdminExplanationsTitle();
QStringList AdminExplanationsLines();

/// One stored control of Ini.dbf ("FORM4" row, NUME = key).
struct AdminControl {
    QString key;           // control name = NUME of its row; what the assessment reads
    SettingKind kind;      // text, list, number or coefficient field
    AdminPage page;        // page it sits on
    QString group;         // heading over a block of rows (category, axles); empty when none
    QString label;         // the row's caption
    QString column;        // the column's caption (zone letter, suspension); empty when none
    QString defaultValue;  // text of a new field (and of its first Ini.dbf row)
    int integerDigits = 0; // number and coefficient fields: digits before the point
    int decimals = 0;      // number and coefficient fields: digits after the point
    QStringList items;     // lists: the choices, in order
    QString hint;          // the field's hint; empty when none
    QString countersKey;   // also kept under this counters key (section SERVER), which wins
                           // at load; empty when Ini.dbf is the only store
};

/// Every stored control of Ini.dbf, in page order and within a page in the order of its
/// rows and columns.
const std::vector<AdminControl>& AdminControls();
/// The control of that key (case-insensitive), or null.
const AdminControl* FindAdminControl(const QString& key);

/// The controls as settings at their defaults, in catalog order: what a new Ini.dbf is made
/// from (SettingsTable::save leaves the coefficients out of the new rows).
std::vector<Setting> DefaultAdminSettings();

/// The controls mirrored in the counters file, in the order the save writes their keys:
/// CotaPJCA1..3, CotaPJC1..3, CotaMajC, CotaMajA.
std::vector<const AdminControl*> AdminCounterMirrors();

/// The lists of the zones page: the zone ("A" to "D") and the rank ("0", "I" to "V") a new
/// locality starts with; their items are the zone dialog's choices.
const AdminControl& DefaultZoneControl();
const AdminControl& DefaultRankControl();

/// The three company quotas of a building page (Buildings or AnnexBuildings), in the order
/// "0-3 ani", "3-5 ani", "peste 5 ani"; empty for any other page.
QStringList CompanyQuotaKeys(AdminPage page);

/// How a counters-stored control shows its text.
enum class CounterControlKind {
    CheckBox,  // "DA" checked, "NU" not
    Folder,    // a folder path
    TimeOfDay, // hh:mm as text; an unreadable text reads as 00:00
};

/// A control stored in the counters file instead of Ini.dbf.
struct AdminCounterControl {
    QString control;          // objectName of the control
    QString label;            // its caption
    QString key;              // counters key
    CounterControlKind kind;  // how the text is shown
    bool userSection;         // kept in the logged-in user's section instead of SERVER
    bool importOption;        // one of the register-import options under the page list
                              // (otherwise on the "general" page)
};

/// The counters-stored controls, in the order the save writes them: PREVIEWL, BONIF50,
/// REDUCERE_JURIDICE, AUTORA, the user's FORMATPDF, CALEAUTORA, ORAAUTORA.
const std::vector<AdminCounterControl>& AdminCounterControls();

/// Counters keys read at load that have no control: "DA" switches on the "Fara majorari"
/// field of the role screens; written "NU" when missing.
QString NoPenaltiesCounterKey();

/// A folder setting of the "general" page, kept in the release registry. It takes effect
/// at once when changed, not by "Salveaza si inchide".
struct AdminRegistryControl {
    QString control;   // objectName of the field showing the folder
    QString label;     // its caption
    QString value;     // registry value name
    QString emptyText; // what the field shows when the value is empty
};

/// The two registry-stored folders: the server's data folder and the backup folder.
const std::vector<AdminRegistryControl>& AdminRegistryControls();

} // namespace vartesa
