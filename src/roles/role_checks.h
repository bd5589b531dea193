#pragma once
// The checks of the add/edit form ("&Memoreaza"), in the order the clerk meets them:
// the village, the role number, the personal or fiscal code, the name, then the two
// warnings about a role number or a code already in use.

#include "roles/role.h"

#include <QString>
#include <QStringList>

namespace vartesa {

class Messages;
class RoleRegister;

/// A personal numeric code: 13 digits, first digit 1, 2, 5, 6, 7, 8 or 9, a real birth date
/// (19xx for 1, 2, 7, 8, 9; 20xx for 5, 6) and the control digit of the weights
/// 279146358279 (sum mod 11, 10 counting as 1).
bool IsValidCnp(const QString& code);
/// Empty, a valid CNP or a valid CUI.
bool IsAcceptableRoleCode(const QString& code);

/// What stopped the form: the field to put the cursor in and the balloon text (empty when
/// the clerk said No to a warning).
struct RoleFormProblem {
    RoleField field = RoleField::None;
    QString hint;
    bool ok() const { return field == RoleField::None; }
};

/// Steps 1 to 5: tidies the typed values (collapsed spaces, capitals, the exemption as a
/// number) and checks them. Touches no table.
RoleFormProblem TidyAndCheckRole(Role& role);

/// Steps 6 and 7: a role number or a code already used by another role (other than
/// `role.id` when editing) is asked about through `messages`; a No stops the form.
RoleFormProblem ConfirmDuplicates(RoleRegister& roles, const Role& role, bool editing, Messages& messages);

/// A (tidied) village that `villages` lacks may be a typing slip: asks "Localitatea ... nu
/// este in lista. O adaugam?" under `title`, NU on Enter. NU is a problem at the village.
RoleFormProblem ConfirmNewVillage(const QStringList& villages, const Role& role, const QString& title,
                                  Messages& messages);

/// Every check of "&Memoreaza" in order; ok() means the form may close and be written.
RoleFormProblem CheckRoleForm(RoleRegister& roles, Role& role, bool editing, Messages& messages);

} // namespace vartesa
