#pragma once
// The declaration pages of a role as data: one row per screen field, naming the table field
// behind it, how its value is kept and where the window puts it. The core loads, checks and
// saves a page from this table and the register window generates the page's controls from
// it; nothing about a page is written out field by field anywhere else.
//
// Pages 1..11 of the register window (the navigation list adds 1 to skip its heading):
//   1 extravilan land (Pag1), 2 buildings and 3 annex buildings (both Pag2), 4 intravilan
//   land (Pag4), 5 means of transport, 8 goods vehicles over 12 t, 9 combinations over 12 t
//   and 10 water vehicles (all Pag5, each page writing only its own fields), 6 unregistered
//   vehicles (Pag6), 7 other taxes (Pag7), 11 arrears carried from earlier records (Pag8).

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {

/// How a field's value is kept in its table and edited on the screen.
enum class PageFieldKind {
    Number,              // a count, area, capacity or amount: N(width, decimals)
    Year,                // year a building was put in use: up to four digits
    Material,            // list position: 0 "1 SAU 2", 1 "3,4 SAU 5"
    HouseOrder,          // list position: 0 "MOSTENITA", 1..4; other orders kept as stored
    Zone,                // "A".."D"
    Rank,                // "0", "I", "II", "III", "IV", "V"
    Depreciated,         // "DA"/"NU": a tick box
    Date,                // date of the last revaluation, dd.MM.yyyy
    HouseValue,          // shown only: taxable value of a house (no table field)
    AnnexValue,          // shown only: taxable value of an annex building (no table field)
};

/// Which person type sees a field: pages 2 and 3 have one panel for each.
enum class PagePanel { Both, Natural, Legal };

struct PageField {
    int page = 0;          // 1..11
    QString table;         // "Pag2.dbf"; empty for the shown-only values
    QString field;         // table field, upper case ("C3Z"); empty for the shown-only values
    QString screen;        // objectName of its control ("ZonaC3")
    PageFieldKind kind = PageFieldKind::Number;
    int width = 0;         // of the table field as the catalog creates it
    int decimals = 0;
    int screenDigits = 0;  // digits the control takes before the point (0: from width)
    PagePanel panel = PagePanel::Both;
    QString group;         // heading of the block it sits in ("Cladirea 1", a category)
    QString row;           // caption of its row
    QString column;        // caption of its column
    QString label;         // how messages name it: "Casa 3, Zona (C3Z)"
    QStringList inputs;    // shown-only values: the area, material, zone and rank fields
    bool isStored() const { return !field.isEmpty(); }
};

/// One page: its number, table and titles.
struct DeclarationPage {
    int number;       // 1..11
    QString table;    // "Pag5.dbf"
    QString title;    // heading of the page
    QString subtitle; // second heading; empty when none
};

/// The eleven pages in order.
const std::vector<DeclarationPage>& DeclarationPageList();
/// Page `n` (1..11); throws vartesa::Error otherwise.
const DeclarationPage& DeclarationPageInfo(int n);
/// Every field of every page, pages in order, each page's fields in the order Enter walks them.
const std::vector<PageField>& PageFieldTable();
/// The fields of page `n` in that order (shown-only values included).
std::vector<const PageField*> FieldsOfPage(int n);
/// A stored field of page `n` by table field name (any case); null when the page has none.
const PageField* FindPageField(int n, const QString& field);

/// The lists of the choice controls, in list order.
const QStringList& ZoneList();
const QStringList& RankList();
const QStringList& MaterialList();
const QStringList& HouseOrderList();

} // namespace vartesa
