#include "shell/ui/window_looks.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QWidget>

namespace vartesa {

namespace {

// Remembers a window's place when it closes and puts it back, on the screen, when it opens.
class WindowPlaces final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show && event->type() != QEvent::Hide) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || !w->isWindow() || (w->windowType() != Qt::Window && w->windowType() != Qt::Dialog)) return false;
        if (event->type() == QEvent::Hide) {
            w->setProperty(kPlace, w->frameGeometry().topLeft());
            return false;
        }
        QRect frame = w->frameGeometry();
        if (const QVariant place = w->property(kPlace); place.isValid()) frame.moveTopLeft(place.toPoint());
        if (const QScreen* screen = w->screen()) {
            const QRect fitted = FitOnScreen(frame, screen->availableGeometry());
            if (fitted.topLeft() != w->frameGeometry().topLeft()) w->move(fitted.topLeft());
        }
        return false;
    }

private:
    static constexpr const char* kPlace = "vartesaWindowPlace";
};
constexpr int kFieldPadding = 14; // frame and inner margins of a line edit
} // namespace

QDateEdit* dateField(QWidget* parent, const char* name, const QDate& day) {
    auto* e = dateField(parent, name);
    if (day.isValid()) e->setDate(day);
    return e;
}

QDateEdit* dateField(QWidget* parent, const char* name) {
    auto* e = named(new QDateEdit(parent), name);
    e->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    e->setCalendarPopup(true);
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 40);
    return e;
}

QHBoxLayout* row(const QList<QWidget*>& widgets) {
    auto* r = new QHBoxLayout;
    for (QWidget* w : widgets) r->addWidget(w);
    r->addStretch();
    return r;
}

Qt::WindowFlags DialogFlags() {
    // Without CustomizeWindowHint the window manager adds minimise and maximise buttons.
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

void fitCharacters(QWidget* field, int characters, bool capitals) {
    // 'N' is about as wide as the average capital with diacritics, 'n' as mixed text.
    const QString sample(characters, capitals ? QChar('N') : QChar('n'));
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(sample) + kFieldPadding);
}

void fitColumns(QTableView* grid, const QList<int>& fieldWidths) {
    grid->resizeColumnsToContents();
    // Capitals and digits, as most fields hold, run about a tenth wider than the average.
    const double perCharacter = grid->fontMetrics().averageCharWidth() * 1.1;
    for (int c = 0; c < fieldWidths.size(); ++c)
        grid->setColumnWidth(c, std::max(grid->columnWidth(c), int(fieldWidths[c] * perCharacter) + kFieldPadding));
    grid->horizontalHeader()->setStretchLastSection(true);
}

QTableView* readOnlyGrid(QWidget* parent, const char* objectName, QAbstractItemModel* model) {
    auto* g = new QTableView(parent);
    g->setObjectName(QLatin1String(objectName));
    g->setModel(model);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->horizontalHeader()->setStretchLastSection(true);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(20);
    return g;
}

QRect FitOnScreen(const QRect& frame, const QRect& available) {
    QRect r = frame;
    if (r.right() > available.right()) r.moveRight(available.right());
    if (r.bottom() > available.bottom()) r.moveBottom(available.bottom());
    if (r.left() < available.left()) r.moveLeft(available.left());
    if (r.top() < available.top()) r.moveTop(available.top());
    return r;
}

void KeepWindowsOnScreen(QCoreApplication* app) { app->installEventFilter(new WindowPlaces(app)); }

namespace {

class DatePartSelector : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* date = edit ? qobject_cast<QDateTimeEdit*>(edit->parentWidget()) : nullptr;
        if (!date || edit->hasSelectedText()) return false;
        // After the line edit has placed the cursor, so the part is the one clicked on.
        QMetaObject::invokeMethod(
            date, [date] { date->setSelectedSection(date->currentSection()); }, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

void TypeDatesFromTheFirstKey(QCoreApplication* app) { app->installEventFilter(new DatePartSelector(app)); }

} // namespace vartesa
