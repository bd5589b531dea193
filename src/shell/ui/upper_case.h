#pragma once
// Fields whose text the system keeps in capitals (user names, passwords, card numbers):
// every letter typed or pasted turns into its capital at once.

class QLineEdit;

namespace vartesa {

/// Makes `edit` turn letters to capitals as they are typed; caps it at `maxLength`.
void makeUpperCase(QLineEdit* edit, int maxLength);

} // namespace vartesa
