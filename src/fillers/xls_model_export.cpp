#include "fillers/xls_model_export.h"

#include "db/error.h"
#include "db/query.h"
#include "shell/file_helpers.h"
#include "shell/services.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>

#include <algorithm>

namespace vartesa {

namespace {

const QString kTitle = QStringLiteral("Liste");

/// The marker a cell holds: its text trimmed and upper-cased; "" for any other cell.
QString markerOf(const workbook::Sheet& sheet, int row, int col) {
    if (sheet.cellType(row, col) != workbook::CellType::Text) return {};
    return sheet.text(row, col).trimmed().toUpper();
}

/// Day number of a date as the spreadsheet counts it: days since 30.12.1899.
double dayNumber(const QDate& date) { return double(QDate(1899, 12, 30).daysTo(date)); }

/// Writes one field of the current record into a cell: text for character fields, the
/// number for every other kind, an empty cell for a number that is exactly 0.
void writeField(workbook::Sheet& sheet, int row, int col, const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        sheet.setText(row, col, value.toString());
        return;
    case QMetaType::QDate:
        if (value.toDate().isValid()) sheet.setNumber(row, col, dayNumber(value.toDate()));
        else sheet.setBlank(row, col);
        return;
    default:
        if (value.isNull() || value.toDouble() == 0) sheet.setBlank(row, col);
        else sheet.setNumber(row, col, value.toDouble());
    }
}

} // namespace

TExportXLSModel::TExportXLSModel(Services& services) : s_(services) {}

bool TExportXLSModel::OpenTemplate(const QString& path) {
    book_.reset();
    if (!QFileInfo(path).isFile()) {
        s_.messages().showError(kTitle, QStringLiteral("Lipseste modelul ") + path + QStringLiteral(" !\r") +
                                            QStringLiteral("Lista nu poate fi realizata."));
        return false;
    }
    try {
        book_.emplace(workbook::Workbook::open(path));
    } catch (const Error& e) {
        s_.messages().showError(kTitle, QStringLiteral("Modelul ") + path + QStringLiteral(" nu poate fi citit!\r") +
                                            e.text());
        return false;
    }
    return true;
}

workbook::Sheet& TExportXLSModel::activeSheet() {
    if (!book_) throw Error(QStringLiteral("Nu este deschis nici un model de lista!"), kTitle);
    return book_->sheet(0);
}

workbook::Workbook& TExportXLSModel::book() {
    activeSheet();
    return *book_;
}

workbook::Workbook TExportXLSModel::TakeWorkbook() {
    workbook::Workbook taken = std::move(book());
    book_.reset();
    return taken;
}

template <typename Write>
void TExportXLSModel::setMarkedCells(const QString& key, Write write) {
    workbook::Sheet& sheet = activeSheet();
    const QString wanted = key.trimmed().toUpper();
    for (const auto& [row, col] : sheet.textCells())
        if (markerOf(sheet, row, col) == wanted) write(sheet, row, col);
}

void TExportXLSModel::SetTextCell(const QString& key, const QString& text) {
    setMarkedCells(key, [&](workbook::Sheet& sheet, int row, int col) { sheet.setText(row, col, text); });
}

void TExportXLSModel::SetAmountCell(const QString& key, double amount) {
    setMarkedCells(key, [&](workbook::Sheet& sheet, int row, int col) { sheet.setNumber(row, col, amount); });
}

Error SheetTooLong(int rows, const QString& narrowing) {
    return Error(QStringLiteral("Lista are %1 randuri, mai multe decat incap intr-o foaie de calcul. "
                                "Restrangeti selectia (%2)!").arg(rows).arg(narrowing),
                 QStringLiteral("xls"));
}

void TExportXLSModel::FillRows(db::Query& rows, const QString& narrowing) {
    workbook::Sheet& sheet = activeSheet();
    int templateRow = -1;
    for (const auto& [row, col] : sheet.textCells())
        if (markerOf(sheet, row, col) == QLatin1String("#DBF")) {
            sheet.setBlank(row, col);
            templateRow = row;
            break;
        }
    if (templateRow < 0) return;

    // What each marked cell of the template row takes: a field's column, or the number.
    constexpr int kRunningNumber = -2;
    std::vector<std::pair<int, int>> fills; // (sheet column, query column or kRunningNumber)
    const int lastCol = sheet.lastColumn();
    for (int col = 0; col <= lastCol; ++col) {
        const QString marker = markerOf(sheet, templateRow, col);
        if (marker == QLatin1String("%NRCRT") || marker == QLatin1String("#NRCRT")) {
            fills.emplace_back(col, kRunningNumber);
        } else if (marker.startsWith('#')) {
            const int field = rows.columnIndex(marker.mid(1));
            if (field >= 0) fills.emplace_back(col, field);
        }
    }

    // A list longer than a sheet is refused before any row is copied (the copies would fill
    // the sheet only to fail at its end).
    const int wanted = rows.count() - std::max(0, rows.position());
    if (sheet.lastRow() + wanted >= workbook::MaxRows) // the template row stays until the end
        throw SheetTooLong(wanted, narrowing);
    const int bookmark = rows.bookmark();
    int n = 0;
    for (; !rows.eof(); rows.next()) {
        ++n;
        const int row = templateRow + n - 1; // the copy lands where the template row was
        sheet.insertRowCopies(row);
        for (const auto& [col, field] : fills) {
            if (field == kRunningNumber) sheet.setNumber(row, col, n);
            else writeField(sheet, row, col, rows.cell(rows.position(), field));
        }
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
    }
    sheet.deleteRows(templateRow + n);
    rows.gotoBookmark(bookmark);
}

void TExportXLSModel::SaveAndOpen() {
    if (!book_) return;
    const QString path = FreeTempFileName(s_.folders.program, QStringLiteral("Rap"), QStringLiteral(".xls"));
    if (path.isEmpty()) {
        book_.reset();
        s_.messages().showError(kTitle, QStringLiteral("Lista nu poate fi salvata: fisierele Rap0.xls ... Rap100.xls "
                                                       "sunt toate deschise!\rInchideti listele deschise si reluati."));
        return;
    }
    try {
        book_->save(path);
    } catch (const Error&) {
        book_.reset();
        throw;
    }
    book_.reset();
    lastResult_ = path;
    s_.desktop().openFile(path);
}

} // namespace vartesa
