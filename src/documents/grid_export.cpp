#include "documents/grid_export.h"

#include "db/error.h"
#include "workbook/workbook.h"

#include <QDate>
#include <QSaveFile>
#include <QStringEncoder>

namespace vartesa {

namespace {

bool isNumber(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double: return true;
    default: return false;
    }
}

QString csvText(const QVariant& v) {
    QString text = v.metaType().id() == QMetaType::QDate ? v.toDate().toString(QStringLiteral("dd.MM.yyyy"))
                   : v.metaType().id() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15)
                                                             : v.toString();
    if (text.contains(',') || text.contains('"') || text.contains('\n') || text.contains('\r'))
        text = '"' + text.replace('"', QStringLiteral("\"\"")) + '"';
    return text;
}

void writeCsv(const GridCells& cells, const QString& path) {
    QString text;
    auto line = [&](const std::vector<QVariant>& values) {
        QStringList fields;
        for (const QVariant& v : values) fields << csvText(v);
        text += fields.join(',') + QStringLiteral("\r\n");
    };
    line(std::vector<QVariant>(cells.titles.begin(), cells.titles.end()));
    for (const auto& row : cells.rows) line(row);
    QStringEncoder encode("windows-1250");
    const QByteArray bytes = encode(text);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(QStringLiteral("Fisierul %1 nu poate fi scris!").arg(path), path);
}

void writeSpreadsheet(const GridCells& cells, const QString& path) {
    workbook::Workbook book({QStringLiteral("Lista")});
    workbook::Sheet& sheet = book.sheet(0);
    workbook::Font bold = book.font(0);
    bold.weight = 700;
    const int titleXf = book.addXf({book.addFont(bold), 0, 2, 1, true, 15});
    const int dateXf = book.addXf({0, book.addFormat(QStringLiteral("dd.mm.yyyy")), 2, 2, false, 0});
    for (int c = 0; c < cells.titles.size(); ++c) {
        sheet.setText(0, c, cells.titles[c]);
        sheet.setCellFormat(0, c, titleXf);
        sheet.setColumnWidth(c, c, std::max(10, int(cells.titles[c].size()) + 2) * 256);
    }
    for (size_t r = 0; r < cells.rows.size(); ++r) {
        const int row = int(r) + 1;
        for (size_t c = 0; c < cells.rows[r].size(); ++c) {
            const QVariant& v = cells.rows[r][c];
            const int col = int(c);
            if (v.isNull() || (v.metaType().id() == QMetaType::QDate && !v.toDate().isValid())) continue;
            if (v.metaType().id() == QMetaType::QDate) {
                sheet.setNumber(row, col, double(QDate(1899, 12, 30).daysTo(v.toDate())));
                sheet.setCellFormat(row, col, dateXf);
            } else if (isNumber(v)) {
                sheet.setNumber(row, col, v.toDouble());
            } else {
                sheet.setText(row, col, v.toString());
            }
        }
    }
    book.save(path);
}

} // namespace

void ExportGridCells(const GridCells& cells, const QString& path) {
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) writeCsv(cells, path);
    else writeSpreadsheet(cells, path);
}

} // namespace vartesa
