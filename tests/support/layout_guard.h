#pragma once
// The looks guard: what a clerk would find cut or out of reach in a window at the office's
// screen size. Any window test can run it over the windows it opens.

#include <QSize>
#include <QStringList>

class QWidget;

namespace vartesa::test {

/// The screen the clerks work on.
inline constexpr QSize kClerkScreen{1366, 768};

/// Faults of `window` as it stands (shown and laid out), one line each naming the window,
/// the widget and its text: a label, button, check box, group title, field, list or column
/// title (or a grid cell) whose text is wider than its widget; a page whose scroll area
/// needs a horizontal scroll bar; a window whose frame does not fit the clerk's screen; a
/// dialog with minimise or maximise buttons.
/// Only the widgets the clerk can see are looked at: show each page to check it.
QStringList LayoutFaults(QWidget* window);

} // namespace vartesa::test
