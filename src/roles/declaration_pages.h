#pragma once
// Loading, checking and saving the declaration pages of a role, driven by the field table
// (page_fields.h). The register window and `vartesa-tool page` both go through here, so a
// page refused on the screen is refused on the command line with the same words.
//
// Values travel as the table keeps them, by table field name: numbers as decimal text
// with "." ("1964.1900"), list positions as whole numbers ("1"), zones and ranks as their
// text ("B", "IV"), depreciated as "DA"/"NU", dates as "dd.MM.yyyy".

#include "db/currency.h"
#include "db/error.h"
#include "roles/page_fields.h"
#include "roles/role_register.h"

#include <QMap>
#include <QString>

#include <functional>
#include <optional>

namespace vartesa {

class AdminConstants;
namespace db {
class Database;
}

/// A page's values by table field name (upper case).
using PageValues = QMap<QString, QString>;

/// Why a page was not saved. Nothing of the page was written.
class PageRefusal : public Error {
public:
    enum class Reason {
        Capacity,          // a car over 3000 cm3 declared with less
        CreditWithArrears, // a credit balance beside arrears or penalties of the same tax
        YearLocked,        // the administrator locked the working year
        BadValue,          // a value that does not fit its field
    };
    PageRefusal(Reason reason, const QString& message, const QString& field, const QString& title = {})
        : Error(message, field), reason(reason), field(field), title(title) {}
    Reason reason;
    QString field; // table field the clerk is pointed at; empty for the locked year
    QString title; // heading of the message window; empty for a balloon
};

class DeclarationPages {
public:
    DeclarationPages(db::Database& db, const QString& dataFolder);
    void setDataFolder(const QString& folder) { folder_ = folder; }

    /// Page `page`'s stored fields of role `id`. A role whose page row was lost gets the
    /// blank row inserted first, so the page opens on zeros and the defaults.
    PageValues load(qint64 id, int page, const BlankPageDefaults& defaults);
    /// Page `page`'s stored fields of role `id` as load() gives them, but read only: a role
    /// without the page row gets no values and nothing is written (documents that print).
    PageValues stored(qint64 id, int page) { return readRow(id, page); }

    /// Checks `values` (every stored field of the page) and writes them with one UPDATE of
    /// the page's own fields. Refusals, in order: a capacity over 3000 cm3 under 3000
    /// (page 5), the locked year, a credit beside arrears (page 11), a value that does not
    /// fit its field. `checkWritten` runs inside the transaction once the page is written and
    /// may refuse what the page leads to (CheckPageTaxesFit). Throws PageRefusal, writing
    /// nothing.
    void save(qint64 id, int page, const PageValues& values, const BlankPageDefaults& defaults,
              const std::function<void()>& checkWritten = {});

    /// The checks of save() without writing; throws PageRefusal.
    void check(int page, const PageValues& values);

    QString table(const QString& file) const { return folder_ + '/' + file; }

private:
    PageValues readRow(qint64 id, int page);
    void checkValue(const PageField& f, const QString& text, const db::Layout& stored) const;

    db::Database& db_;
    QString folder_; // data folder
};

/// The blank-page defaults the data folder's settings hold: the default zone and rank of
/// the administrator window (its defaults when Ini.dbf lacks them) and 1 January of the
/// working year.
BlankPageDefaults StoredPageDefaults(db::Database& db, const QString& dataFolder);

/// The values as the window shows them: a zone or rank missing from its list is shown as
/// the default of the administrator window.
PageValues ShownValues(PageValues values, const BlankPageDefaults& defaults);

/// The taxable value a shown-only field displays (HouseValue or AnnexValue): the level for
/// the building's material, zone and rank times its built area; 0 when any of them is not
/// readable. Houses use "ICZ"/"IC2Z" + zone + "R" + rank position, annexes "IA" +
/// (material + 1) + "Z" + zone + "R" + rank position.
Currency TaxableValue(const PageField& shown, const PageValues& values, const AdminConstants& constants);
/// The constant key of that value; empty when material, zone or rank is not in its list.
QString TaxableValueKey(const PageField& shown, const PageValues& values);
/// A value as the window shows it: plain decimals without trailing zeros ("1234.5").
QString PlainNumber(Currency value);

} // namespace vartesa
