#pragma once
// The spreadsheet filler: opens a workbook template, replaces marker cells ("#PRIMARIA",
// "[UAT]") by texts and amounts, expands the "#DBF" template row once per record of a
// query, saves the result as a free "Rap<n>.xls" of the program folder and hands it to
// the desktop.
//
// Markers are the whole text of a cell, compared trimmed and without regard to case. In
// the template row "#FIELD" takes the record's field and "%NRCRT"/"#NRCRT" the running
// number; formulas of the template row follow every copy, and a totals range that ends on
// the template row widens to cover exactly the filled rows.

#include "db/error.h"
#include "workbook/workbook.h"

#include <QString>

#include <optional>

namespace vartesa {

class Services;
namespace db {
class Query;
}

/// The refusal of a list of `rows` rows longer than a sheet; `narrowing` tells the clerk how to
/// narrow the choice ("de exemplu perioada").
Error SheetTooLong(int rows, const QString& narrowing);

class TExportXLSModel {
public:
    explicit TExportXLSModel(Services& services);

    /// Opens the workbook at `path` with its first sheet active. A missing or unreadable
    /// file is reported to the clerk; false then, and no workbook is open.
    bool OpenTemplate(const QString& path);
    /// Every cell of the active sheet whose trimmed text equals `key` (any case) gets the
    /// text / the amount. Throws vartesa::Error when no workbook is open.
    void SetTextCell(const QString& key, const QString& text);
    void SetAmountCell(const QString& key, double amount);
    /// Expands the "#DBF" row with the rows of `rows` from its current row to the end;
    /// the query is left on the row it was on. Throws when no workbook is open, and, before
    /// any row is copied, when the rows cannot fit the sheet: the message asks the clerk to
    /// narrow the choice as `narrowing` says ("de exemplu perioada").
    void FillRows(db::Query& rows, const QString& narrowing = QStringLiteral("de exemplu perioada"));
    /// Saves the workbook as the first free Rap0.xls ... Rap100.xls of the program folder,
    /// closes it and hands the file to the desktop. With every name held open the clerk is
    /// told and the workbook is closed unsaved. Does nothing when no workbook is open.
    void SaveAndOpen();

    /// The open workbook, for lists that reshape the template (copy column blocks) before
    /// filling it. Throws vartesa::Error when none is open.
    workbook::Workbook& book();
    /// Hands the open workbook to the caller (who saves it where it belongs) and closes it
    /// here. Throws when none is open.
    workbook::Workbook TakeWorkbook();

    bool isOpen() const { return book_.has_value(); }
    /// The file SaveAndOpen wrote last; empty before the first.
    const QString& lastResult() const { return lastResult_; }

private:
    workbook::Sheet& activeSheet();
    template <typename Write>
    void setMarkedCells(const QString& key, Write write);

    Services& s_;
    std::optional<workbook::Workbook> book_; // the open workbook; empty when none
    QString lastResult_;                     // path of the last saved list
};

} // namespace vartesa
