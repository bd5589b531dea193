#include "shell/ui/qt_texts.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
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

namespace {

// Gives every calendar the Romanian names of months and days before it is first shown. The
// program's own locale stays the plain one, so numbers keep their point.
class RomanianCalendars final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Polish)
            if (auto* calendar = qobject_cast<QCalendarWidget*>(watched))
                calendar->setLocale(QLocale(QLocale::Romanian, QLocale::Romania));
        return false;
    }
};

} // namespace

void UseRomanianCalendars(QCoreApplication* app) { app->installEventFilter(new RomanianCalendars(app)); }

} // namespace vartesa
