#include "support/gui_application.h"

#include <QApplication>

namespace vartesa::test {

void ensureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vartesa-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: a QApplication torn down among the static destructors, after Qt's own
    // globals are gone, crashes the test program on its way out.
    new QApplication(argc, argv);
}

} // namespace vartesa::test
