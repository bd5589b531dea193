#pragma once
// Workbook-wide state shared by the reader, the writer and the sheet editor.
// Internal to src/workbook.

#include "workbook/compound_file.h"
#include "workbook/workbook.h"

namespace vartesa::workbook {

/// A NAME record's formula, written back into the record on save.
struct DefinedName {
    size_t slot = 0;   // index of the NAME record in `BookData::globals`
    int tokensAt = 0;  // offset of the tokens in the record data
    int sheet = -1;    // sheet a local name belongs to; its plain references point there
    Formula formula;   // the tokens and their references
};

struct BookData {
    RawRecord bof;                    // globals BOF as read (or made)
    std::vector<Slot> globals;        // globals records in file order
    std::vector<Font> fonts;          // FONT records in file order (cells skip index 4)
    std::vector<std::pair<quint16, QString>> formats; // FORMAT records: index, code
    std::vector<QByteArray> xfs;      // XF records, 20 bytes each
    std::vector<std::unique_ptr<Sheet>> sheets; // in BOUNDSHEET order
    std::vector<int> xtiSheet;        // EXTERNSHEET entry -> local sheet index, -1 otherwise
    std::vector<DefinedName> names;   // NAME records whose tokens could be read
    // The container's other streams and storages (document summary, macro project,
    // embedded objects), written back byte for byte; damaged ones are left out.
    std::vector<CompoundStream> otherStreams;

    /// Every formula of the workbook, with the sheet and row holding it.
    template <typename F> void forEachFormula(F&& f) {
        for (auto& s : sheets)
            for (auto& r : s->rows_)
                if (r)
                    for (Cell& c : r->cells)
                        if (c.formula)
                            f(*s, *r, c, *c.formula);
    }
    /// Every formula, defined names included (for edits that need no holding cell).
    template <typename F> void forEachExpression(F&& f) {
        forEachFormula([&](Sheet&, Row&, Cell&, Formula& formula) { f(formula); });
        for (auto& n : names)
            f(n.formula);
    }
};

/// Text of a BIFF error code (#DIV/0!, #N/A...).
QString errorText(int code);
/// A number in its shortest exact decimal form.
QString numberText(double v);
/// Binds each reference of `f` (held in `host`; nullptr for defined names, whose
/// references name their sheet) to the row object it points at.
void anchorFormula(BookData& book, Sheet* host, Formula& f);
/// Writes the current row numbers of anchored references into the tokens.
void refreshFormulaRows(Formula& f);
/// Writes the current row numbers of `refs` into `bytes` (tokens or a record's data).
void writeRefRows(QByteArray& bytes, const std::vector<FormulaRef>& refs);
/// The ARRAY record after an array formula's first cell, nullptr for other formulas.
RawRecord* arrayRecord(Formula& f);
/// Where the tokens start in an ARRAY record: rows(2+2) columns(1+1) options(2)
/// reserved(4) length(2).
constexpr int ArrayTokensAt = 14;

} // namespace vartesa::workbook
