#pragma once
// Computing the results of the formulas a workbook holds, so a saved file carries
// true values for every reader that shows stored results instead of computing.
// Internal to src/workbook.
//
// The computed set: numbers, texts, TRUE/FALSE, error constants, references to cells
// and areas (also on other sheets of the workbook), the operators + - * / ^ & and the
// comparisons, unary minus and plus, parentheses, and the functions SUM, ROUND, IF,
// COUNT, AVERAGE, MIN and MAX. A formula using anything else, referring to a cell
// whose formula is outside the set, caught in a circular reference, or reached through
// a chain of more than 400 formulas each waiting on the next, is not computed: its
// stored value stays and the file asks readers to compute it again. Results follow
// the common spreadsheet rules: ROUND goes half away from zero on the value shown
// with 15 digits (2.675 gives 2.68), a text that is no number makes IF's condition and
// a directly given SUM argument #VALUE!.

#include "workbook/workbook_model.h"

#include <QString>

#include <unordered_map>

namespace vartesa::workbook {

struct BookData;

/// A computed result.
struct FormulaValue {
    CachedType type = CachedType::Number; // never Empty: an empty result is the number 0
    double number = 0;                    // number, boolean 0/1 or error code
    QString text;                         // text results
};

/// Results of every formula of `book` inside the computed set, by cell.
std::unordered_map<const Cell*, FormulaValue> computeFormulas(const BookData& book);

} // namespace vartesa::workbook
