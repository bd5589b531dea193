#pragma once
// Qt's own texts (file and folder dialogs, the print dialog, standard buttons, the edit menu
// of text fields, the calendar) in Romanian. The distribution carries no Romanian translation of them, so the program
// compiles its own at build time and carries it as a resource.

class QCoreApplication;
class QTranslator;

namespace vartesa {

/// The translator of Qt's texts, loaded once; null when the build had no translation tools.
/// The program installs it before it makes its first window.
QTranslator* RomanianQtTexts();

/// Every calendar of `app` (the drop-down of a date field) names months and days in Romanian.
void UseRomanianCalendars(QCoreApplication* app);

} // namespace vartesa
