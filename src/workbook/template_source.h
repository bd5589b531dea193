#pragma once
// Spreadsheet templates written as readable text and compiled into .xls files at
// build time (tools/template_gen). One statement per line; '#' starts a comment.
//
//   sheet NAME                         starts a sheet
//   font KEY "Family" POINTS [bold] [italic] [underline]
//   format KEY "number format code"
//   style KEY [font=KEY] [format=KEY] [align=left|center|right] [valign=top|center|bottom]
//             [wrap] [border=box|left,right,top,bottom]
//   width COLUMNS CHARACTERS           COLUMNS: B or B:D
//   height ROW POINTS
//   merge RANGE                        A1:E1
//   cell REF STYLE VALUE               STYLE: a style key or -; VALUE: "text" (quotes
//                                      doubled inside), a number, =formula, or nothing
//   marker NAME REF [STYLE]            a cell holding {NAME}, where a filler writes
//
// Cell references are A1-style, as in the spreadsheet itself.

#include "workbook/workbook.h"

#include <optional>
#include <utility>

namespace vartesa::workbook {

/// The workbook a template source describes; throws vartesa::Error naming the line
/// of the first statement it cannot read.
Workbook compileTemplate(const QString& sourceText, const QString& sourceName = {});

/// Position (row, column; 0-based) of the cell holding marker {name}, if any.
std::optional<std::pair<int, int>> findMarker(const Sheet& sheet, const QString& name);

} // namespace vartesa::workbook
