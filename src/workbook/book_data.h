#pragma once
// Workbook-wide state shared by the reader, the writer and the sheet editor.
// Internal to src/workbook.

#include "workbook/workbook.h"

namespace vartesa::workbook {

struct BookData {
    RawRecord bof;                    // globals BOF as read (or made)
    std::vector<Slot> globals;        // globals records in file order
    std::vector<Font> fonts;          // FONT records in file order (cells skip index 4)
    std::vector<std::pair<quint16, QString>> formats; // FORMAT records: index, code
    std::vector<QByteArray> xfs;      // XF records, 20 bytes each
    std::vector<std::unique_ptr<Sheet>> sheets; // in BOUNDSHEET order
    std::vector<int> xtiSheet;        // EXTERNSHEET entry -> local sheet index, -1 otherwise

    /// Every formula of the workbook, with the sheet and row holding it.
    template <typename F> void forEachFormula(F&& f) {
        for (auto& s : sheets)
            for (auto& r : s->rows_)
                if (r)
                    for (Cell& c : r->cells)
                        if (c.formula)
                            f(*s, *r, c, *c.formula);
    }
};

/// Text of a BIFF error code (#DIV/0!, #N/A...).
QString errorText(int code);
/// A number in its shortest exact decimal form.
QString numberText(double v);
/// Binds each reference of `f` (held in `host`) to the row object it points at.
void anchorFormula(BookData& book, Sheet& host, Formula& f);
/// Writes the current row numbers of anchored references into the tokens.
void refreshFormulaRows(Formula& f);

} // namespace vartesa::workbook
