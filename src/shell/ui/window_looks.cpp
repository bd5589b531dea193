#include "shell/ui/window_looks.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <QWidget>

namespace vartesa {

namespace {
constexpr int kFieldPadding = 14; // frame and inner margins of a line edit
} // namespace

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

} // namespace vartesa
