#pragma once
// Small rules every window follows so a clerk sees whole texts on the office's screens:
// dialogs carry only a title and a close box, fields are as wide as the longest text they
// take, grids fit their columns to what they hold.

#include <QLatin1String>
#include <QList>
#include <QRect>
#include <Qt>

class QAbstractItemModel;
class QCoreApplication;
class QDate;
class QDateEdit;
class QHBoxLayout;
class QTableView;
class QWidget;

namespace vartesa {

/// Gives `widget` its object name (how tests, the layout guard and the attached actions find
/// it) and returns it, so a control is made and named in one expression.
template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

/// Window flags of every dialog: caption and close box, no minimise or maximise button.
Qt::WindowFlags DialogFlags();

/// Makes a text field wide enough for `characters` characters: capitals when `capitals`
/// (names, localities, card numbers), mixed text otherwise.
void fitCharacters(QWidget* field, int characters, bool capitals);

/// A date field named `name`: dd.MM.yyyy with its calendar, wide enough for the whole date,
/// at `day` when that is a date.
QDateEdit* dateField(QWidget* parent, const char* name, const QDate& day);
QDateEdit* dateField(QWidget* parent, const char* name);

/// `widgets` side by side from the left, the rest of the row empty.
QHBoxLayout* row(const QList<QWidget*>& widgets);

/// A grid a clerk reads and moves through but does not type into: whole rows selected one
/// at a time, no row numbers, the last column stretched.
QTableView* readOnlyGrid(QWidget* parent, const char* objectName, QAbstractItemModel* model);

/// Fits every column of `grid` to its title and its rows, and at least to the width of its
/// field when `fieldWidths` gives one (characters, in column order), so an empty grid shows
/// the room its data will take. The last column still stretches.
void fitColumns(QTableView* grid, const QList<int>& fieldWidths = {});

/// Where a window whose frame is `frame` stands wholly on a screen whose free area is
/// `available`: moved in as little as it takes; a window larger than the screen keeps its
/// top left corner on it.
QRect FitOnScreen(const QRect& frame, const QRect& available);

/// Every window of `app` opens where it stood when it was last closed and wholly on the
/// screen it is on: a window reopened many times does not creep down by its title bar.
void KeepWindowsOnScreen(QCoreApplication* app);

/// Every date field of `app` takes typing from the first key: a click that leaves the cursor
/// inside the date selects the part under it (day, month or year), so the digits typed
/// replace that part, as after Tab, instead of being refused one by one.
void TypeDatesFromTheFirstKey(QCoreApplication* app);

} // namespace vartesa
