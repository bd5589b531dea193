#pragma once
// Compiling formula text (as typed in a cell, without the leading '=') into BIFF8
// tokens, for templates built from source. Covers what our templates use:
// numbers, texts in double quotes, TRUE/FALSE, A1 references and ranges with $,
// the operators + - * / ^ & = <> < <= > >= , unary minus, parentheses and a
// table of common functions. References to other sheets are not supported.

#include <QByteArray>
#include <QString>

namespace vartesa::workbook {

/// Tokens of `text`; throws vartesa::Error naming the formula when it cannot be read.
QByteArray compileFormula(const QString& text);

/// Parses an A1 reference ("B7", "$B$7"); false when `text` is not one.
bool parseCellName(const QString& text, int& row, int& col, bool* rowAbsolute = nullptr, bool* colAbsolute = nullptr);

} // namespace vartesa::workbook
