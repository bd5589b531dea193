#pragma once
// The choice of roles behind most lists of the lists menu ("Alegeti ROL-urile"): a village or
// all of them, a range of role numbers, the person type and the caller's check box. One set of
// conditions applies it to every list's query, its values bound.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

namespace vartesa {

namespace db {
class Database;
}
class Services;

/// Entry 0 of the dialog's village list: every village.
inline const QString kAllVillages = QStringLiteral(" * toate *");

/// The person types the dialog offers, by their position in "Tip persoana".
enum class PersonChoice { Any = 0, Natural = 1, Legal = 2 };

/// What the clerk chose in "Listare".
struct RoleSelection {
    QString village;                           // SatulX; empty (or " * toate *"): every village
    qint64 fromRole = 0;                       // ROL0
    qint64 toRole = 0;                         // ROL1; with ROL0 both 0: every number
    PersonChoice person = PersonChoice::Any;   // TipPers
    bool siZero = false;                       // the caller's check box
    bool addressOrder = false;                 // AdresaSort: "Ordonare dupa adresa"
    QDate date;                                // DataC, when the caller shows it

    /// True when one village is chosen.
    bool oneVillage() const { return !village.trimmed().isEmpty() && village != kAllVillages; }
    /// True when a range of numbers is chosen (ROL0 + ROL1 not 0).
    bool hasRange() const { return fromRole + toRole != 0; }
};

/// "Interval incorect!" when ROL1 is less than ROL0; nothing when the range is accepted.
std::optional<QString> CheckRoleRange(qint64 fromRole, qint64 toRole);

/// The columns of a role a list's query names (qualified by its alias: "G.SATUL").
struct RoleSelectionColumns {
    QString village;    // SATUL
    QString number;     // ROL
    QString personType; // TIP
};

/// Conditions, each bracketed and joined by AND, that keep the chosen roles, and the values
/// they bind in order; "" when the selection keeps every role. A role is in the range when its
/// number reads as a number between ROL0 and ROL1, or when it does not read as a number.
struct SelectionConditions {
    QString sql;
    QVariantList values;
};
SelectionConditions RoleSelectionConditions(const RoleSelection& selection, const RoleSelectionColumns& columns);

/// The SQL value of a role number as a number: NULL when it does not read as one.
QString NumericRole(const QString& numberColumn);

/// The village list of the dialog: " * toate *", then the villages of Sate.lst in the data
/// folder (written from the distinct villages of the roles the first time).
QStringList RoleSelectionVillages(db::Database& db, const QString& dataFolder);

/// What a list that cannot fit a sheet asks the clerk to narrow.
QString SelectionNarrowing(const RoleSelection& selection);

} // namespace vartesa
