#include "documents/ui/grid_export_dialog.h"

#include "shell/services.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTableView>

namespace vartesa {

GridCells VisibleGridCells(const QTableView& grid) {
    GridCells cells;
    const QAbstractItemModel* model = grid.model();
    if (!model) return cells;
    const QHeaderView* header = grid.horizontalHeader();
    std::vector<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (grid.isColumnHidden(logical)) continue;
        columns.push_back(logical);
        cells.titles << model->headerData(logical, Qt::Horizontal).toString();
    }
    for (int r = 0; r < model->rowCount(); ++r) {
        std::vector<QVariant> row;
        for (int c : columns) row.push_back(model->index(r, c).data(Qt::EditRole));
        cells.rows.push_back(std::move(row));
    }
    return cells;
}

QString ExportGridView(Services& s, QTableView& grid, QWidget* parent) {
    const QString spreadsheet = QStringLiteral("Foaie de calcul (*.xls)");
    const QString text = QStringLiteral("Text separat prin virgula (*.csv)");
    QString chosen = spreadsheet;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Export in Excel"), s.folders.program,
                                                spreadsheet + QStringLiteral(";;") + text, &chosen);
    if (path.isEmpty()) return {};
    const QString suffix = chosen == text ? QStringLiteral(".csv") : QStringLiteral(".xls");
    if (!path.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive) && !path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += suffix;
    bool done = s.messages().guard([&] { ExportGridCells(VisibleGridCells(grid), path); });
    if (!done) return {};
    s.desktop().openFile(path);
    return path;
}

} // namespace vartesa
