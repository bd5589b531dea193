#include "shell/ui/qt_texts.h"

#include <QTranslator>

namespace vartesa {

QTranslator* RomanianQtTexts() {
    static QTranslator* translator = [] {
        auto* t = new QTranslator; // lives for the whole run, as the application uses it
        if (t->load(QStringLiteral(":/i18n/qtbase_ro.qm"))) return t;
        delete t;
        return static_cast<QTranslator*>(nullptr);
    }();
    return translator;
}

} // namespace vartesa
