#pragma once
// A QApplication for test programs whose tests open windows; made on first use, offscreen.

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace vartesa::test {

/// Creates the program's QApplication when there is none yet.
void ensureGuiApplication();

/// Types `text` into `field` one key event per character (a line edit is cleared first);
/// Romanian letters included, which QTest's own typing refuses.
void type(QWidget* field, const QString& text);
/// Presses Enter in `field`.
void pressEnter(QWidget* field);
/// Runs `act` once `dialog` is up, inside its modal loop; closes it if `act` did not.
void whenShown(QDialog& dialog, std::function<void()> act);

} // namespace vartesa::test
