#pragma once
// A QApplication for test programs whose tests open windows; made on first use, offscreen.

namespace vartesa::test {

/// Creates the program's QApplication when there is none yet.
void ensureGuiApplication();

} // namespace vartesa::test
