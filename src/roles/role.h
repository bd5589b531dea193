#pragma once
// A role as the register's form edits it: the record is the book's (books/roles.h); the form
// points the clerk at the field at fault.

#include "books/roles.h"

namespace vartesa {

/// The fields of the add/edit form, for pointing the clerk at the one at fault.
enum class RoleField { None, Village, Number, Name, PersonType, Code, Address, NoPenalties, ExtravilanExemption, Notes };

} // namespace vartesa
