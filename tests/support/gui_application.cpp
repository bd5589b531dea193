#include "support/gui_application.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

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

void type(QWidget* field, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->clear();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
    }
}

void pressEnter(QWidget* field) {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(field, &enter);
}

void whenShown(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        act();
        if (dialog.isVisible()) dialog.reject();
    });
}

} // namespace vartesa::test
