// Structural edits of a sheet: inserting copies of rows and columns, deleting rows,
// swapping row values. Formula references are bound to row objects, so an
// insertion only shifts the row table below the insertion point; the formulas
// that point there follow by themselves.

#include "workbook/book_data.h"

#include "db/error.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

namespace vartesa::workbook {

struct SheetEditor {
    // A copy of `src` for a cell `rowDelta` rows and `colDelta` columns away. Relative
    // parts move; `sourceIndex` turns a row's current number into the number it had
    // where `src` was written (they differ while copying a row pushed down by its copies).
    static std::unique_ptr<Formula> copyFormula(const Formula& src, Sheet& host, int rowDelta, int colDelta,
                                                const std::function<int(int)>& sourceIndex) {
        auto f = std::make_unique<Formula>(src);
        moveReferences(f->tokens, f->refs, host, rowDelta, colDelta, sourceIndex);
        if (RawRecord* array = arrayRecord(*f))
            moveReferences(array->data, f->arrayRefs, host, rowDelta, colDelta, sourceIndex);
        return f;
    }

    // Moves the relative references `refs` of `tokens` (a formula's, or an ARRAY
    // record's data) for a copy `rowDelta` rows and `colDelta` columns away.
    static void moveReferences(QByteArray& tokens, std::vector<FormulaRef>& refs, Sheet& host, int rowDelta,
                               int colDelta, const std::function<int(int)>& sourceIndex) {
        for (FormulaRef& r : refs) {
            quint16 col = get16(tokens.constData() + r.token.colPos);
            // The pointer of an array formula's cell to the array's first cell moves with
            // the copy, so each copied array has its own (the checks before copying make
            // sure the whole array is copied).
            if (ptgBase(quint8(tokens[r.token.ptgPos])) == PtgExp) {
                set16(tokens, r.token.colPos, quint16(std::clamp(col + colDelta, 0, MaxColumns - 1)));
                col = ColRowRelative;
            }
            if (col & ColColRelative) {
                int c = int(col & ColMask) + colDelta;
                if (c < 0 || c >= MaxColumns)
                    markReferenceDeleted(tokens, r.token.ptgPos);
                set16(tokens, r.token.colPos, quint16((col & ~ColMask) | (c & ColMask)));
            }
            if (!(col & ColRowRelative))
                continue;
            int from = r.row ? (r.target == &host ? sourceIndex(r.row->index) : r.row->index)
                             : get16(tokens.constData() + r.token.rowPos);
            int to = from + rowDelta;
            if (to < 0 || to >= MaxRows) {
                markReferenceDeleted(tokens, r.token.ptgPos);
                r.row = nullptr;
                continue;
            }
            set16(tokens, r.token.rowPos, quint16(to));
            if (r.row)
                r.row = r.target->anchorFor(to);
        }
    }

    // Throws unless copying the cells of `row` in columns firstCol..lastCol (all rows
    // of those columns when `wholeColumns`) copies every array formula they touch whole.
    static void checkArraysCopied(const Sheet& s, const Row& row, int firstCol, int lastCol, bool wholeColumns) {
        for (const Cell& c : row.cells) {
            if (!c.formula || c.col < firstCol || c.col > lastCol)
                continue;
            const Formula& f = *c.formula;
            bool whole = true;
            if (!f.tokens.isEmpty() && ptgBase(quint8(f.tokens[0])) == PtgExp && !f.refs.empty()) {
                const int firstRow = f.refs[0].row ? f.refs[0].row->index : get16(f.tokens.constData() + 1);
                const int first = get16(f.tokens.constData() + 3) & ColMask;
                whole = first >= firstCol && first <= lastCol && (wholeColumns || firstRow == row.index);
            }
            for (const RawRecord& t : f.trailing)
                if (t.data.size() >= 6) {
                    const int height = get16(t.data.constData() + 2) - get16(t.data.constData());
                    const int width = quint8(t.data[5]) - quint8(t.data[4]);
                    whole = whole && c.col + width <= lastCol && (wholeColumns || height == 0);
                }
            if (!whole)
                throw Error(QStringLiteral("Foaia %1, randul %2: o formula matrice se intinde dincolo de celulele "
                                           "copiate si nu poate fi copiata.").arg(s.name()).arg(row.index + 1),
                            QStringLiteral("xls"));
        }
    }

    static void copyValue(Cell& to, const Cell& from, Sheet& host, int rowDelta, int colDelta,
                          const std::function<int(int)>& sourceIndex) {
        to.type = from.type;
        to.number = from.number;
        to.text = from.text;
        to.formula = from.formula ? copyFormula(*from.formula, host, rowDelta, colDelta, sourceIndex) : nullptr;
    }

    static int identity(int i) { return i; }
};

void Sheet::insertRowCopies(int row, int count) {
    checkCell(row, 0);
    if (count <= 0)
        return;
    // The row table may end in empty rows that references point at; only the rows
    // holding cells must stay on the sheet.
    if (rows_.size() + size_t(count) > MaxRows && lastRow() + count >= MaxRows)
        throw Error(QStringLiteral("Foaia %1 nu mai are loc pentru %2 randuri.").arg(name_).arg(count), QStringLiteral("xls"));
    if (const Row* tpl = findRow(row))
        SheetEditor::checkArraysCopied(*this, *tpl, 0, MaxColumns - 1, false);
    shiftFarRows(row, count);
    if (size_t(row) < rows_.size()) {
        std::vector<std::unique_ptr<Row>> fresh(static_cast<size_t>(count));
        rows_.insert(rows_.begin() + row, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
        renumberFrom(row);
    }
    if (rows_.size() > MaxRows || (!far_.empty() && far_.back()->index >= MaxRows))
        removeRows(MaxRows, count); // empty rows pushed off the sheet
    if (size_t(row + count) >= rows_.size())
        return; // nothing was at or below: the new rows are empty already
    const Row* tpl = rows_[size_t(row + count)].get();
    if (!tpl)
        return;
    const int pushed = row + count;
    auto sourceIndex = [&](int i) { return i >= pushed ? i - count : i; };
    for (int k = 0; k < count; ++k) {
        Row& r = rowAt(row + k);
        r.hasRecord = tpl->hasRecord;
        r.height = tpl->height;
        r.options = tpl->options;
        r.cells.resize(tpl->cells.size());
        for (size_t i = 0; i < tpl->cells.size(); ++i) {
            const Cell& from = tpl->cells[i];
            Cell& to = r.cells[i];
            to.col = from.col;
            to.xf = from.xf;
            // A copy k rows above the template's old place: relative references move by k.
            SheetEditor::copyValue(to, from, *this, k, 0, sourceIndex);
        }
        for (const Merge& m : tpl->merges)
            if (m.last == tpl)
                r.merges.push_back({&r, m.firstCol, m.lastCol});
    }
}

void Sheet::deleteRows(int row, int count) {
    checkCell(row, 0);
    removeRows(row, count);
}

void Sheet::removeRows(int row, int count) {
    if (count <= 0)
        return;
    // The deletion covers table rows up to `tableEnd` and the far rows in its span;
    // far rows below it move up even when nothing else is there.
    const int tableEnd = std::clamp(row + count, 0, int(rows_.size()));
    auto inSpan = [&](const std::unique_ptr<Row>& r) { return r->index >= row && r->index < row + count; };
    std::unordered_set<const Row*> gone;
    for (int i = row; i < tableEnd; ++i)
        if (rows_[size_t(i)])
            gone.insert(rows_[size_t(i)].get());
    for (const auto& r : far_)
        if (inSpan(r))
            gone.insert(r.get());
    if (gone.empty()) {
        if (row < tableEnd)
            rows_.erase(rows_.begin() + row, rows_.begin() + tableEnd);
        shiftFarRows(row + count, -count);
        renumberFrom(row);
        return;
    }
    // Rows that take over the ends of areas cut by the deletion (created up front so
    // the loops below never change the row tables they walk).
    Row* after = row + count < MaxRows ? rowObject(row + count) : nullptr;
    Row* before = row > 0 ? rowObject(row - 1) : nullptr;
    auto isGone = [&](const FormulaRef& r) { return r.target == this && r.row && gone.count(r.row); };
    auto fixTokens = [&](QByteArray& tokens, std::vector<FormulaRef>& refs) {
        for (size_t i = 0; i < refs.size(); ++i) {
            FormulaRef& r = refs[i];
            if (r.token.part == RefPart::AreaFirst && i + 1 < refs.size()) {
                FormulaRef& last = refs[++i];
                bool firstGone = isGone(r), lastGone = isGone(last);
                if (firstGone && lastGone) {
                    markReferenceDeleted(tokens, r.token.ptgPos);
                    r.row = last.row = nullptr;
                } else if (firstGone) {
                    r.row = after;
                } else if (lastGone) {
                    last.row = before;
                }
            } else if (isGone(r)) {
                markReferenceDeleted(tokens, r.token.ptgPos);
                r.row = nullptr;
            }
        }
    };
    auto fix = [&](Formula& f) {
        fixTokens(f.tokens, f.refs);
        if (RawRecord* array = arrayRecord(f))
            fixTokens(array->data, f.arrayRefs);
    };
    book_->forEachFormula([&](Sheet& s, Row& holder, Cell&, Formula& f) {
        if (&s != this || !gone.count(&holder))
            fix(f);
    });
    for (DefinedName& n : book_->names)
        fix(n.formula);
    // Merged areas: cut to the rows that stay, moved to the row after when they began inside.
    for (auto& rp : rows_) {
        if (!rp || gone.count(rp.get()))
            continue;
        for (Merge& m : rp->merges)
            if (gone.count(m.last))
                m.last = before;
    }
    for (int i = row; i < tableEnd; ++i)
        if (Row* r = rows_[size_t(i)].get())
            for (const Merge& m : r->merges)
                if (!gone.count(m.last) && after)
                    after->merges.push_back(m);
    // Areas inside verbatim records: cut like merged areas; one wholly deleted keeps
    // a single row next to the deletion (the record's count of areas stays valid).
    for (Slot& slot : head)
        for (RecordArea& a : slot.areas) {
            const bool firstGone = gone.count(a.first), lastGone = gone.count(a.last);
            if (firstGone && lastGone)
                a.first = a.last = after ? after : before;
            else if (firstGone)
                a.first = after;
            else if (lastGone)
                a.last = before;
        }
    if (row < tableEnd)
        rows_.erase(rows_.begin() + row, rows_.begin() + tableEnd);
    std::erase_if(far_, inSpan);
    shiftFarRows(row + count, -count);
    renumberFrom(row);
}

void Sheet::insertColumnCopies(int firstCol, int lastCol, int atCol) {
    checkCell(0, firstCol);
    checkCell(0, lastCol);
    checkCell(0, atCol);
    if (lastCol < firstCol)
        return;
    const int width = lastCol - firstCol + 1;
    if (lastColumn() + width >= MaxColumns)
        throw Error(QStringLiteral("Foaia %1 nu mai are loc pentru %2 coloane.").arg(name_).arg(width), QStringLiteral("xls"));
    for (const auto& rp : rows_)
        if (rp)
            SheetEditor::checkArraysCopied(*this, *rp, firstCol, lastCol, true);
    auto shifted = [&](int c) { return c >= atCol ? c + width : c; };
    // Every reference into this sheet at or right of the insertion moves right.
    auto shiftColumns = [&](QByteArray& tokens, const std::vector<FormulaRef>& refs) {
        for (const FormulaRef& r : refs) {
            if (r.target != this)
                continue;
            quint16 col = get16(tokens.constData() + r.token.colPos);
            int c = std::min(shifted(col & ColMask), MaxColumns - 1);
            set16(tokens, r.token.colPos, quint16((col & ~ColMask) | c));
        }
    };
    book_->forEachExpression([&](Formula& f) {
        shiftColumns(f.tokens, f.refs);
        if (RawRecord* array = arrayRecord(f))
            shiftColumns(array->data, f.arrayRefs);
    });
    for (auto& rp : rows_) {
        if (!rp)
            continue;
        Row& r = *rp;
        for (Cell& c : r.cells)
            c.col = quint16(shifted(c.col));
        std::vector<Cell> copies;
        for (const Cell& c : r.cells) {
            int original = c.col >= atCol + width ? c.col - width : c.col;
            if (c.col >= atCol && c.col < atCol + width)
                continue;
            if (original < firstCol || original > lastCol)
                continue;
            Cell copy;
            copy.col = quint16(atCol + original - firstCol);
            copy.xf = c.xf;
            SheetEditor::copyValue(copy, c, *this, 0, copy.col - c.col, SheetEditor::identity);
            copies.push_back(std::move(copy));
        }
        for (Cell& c : copies)
            r.cells.push_back(std::move(c));
        std::erase_if(r.cells, [](const Cell& c) { return c.col >= MaxColumns; });
        std::sort(r.cells.begin(), r.cells.end(), [](const Cell& a, const Cell& b) { return a.col < b.col; });
        std::vector<Merge> extra;
        for (Merge& m : r.merges) {
            bool inside = m.firstCol >= firstCol && m.lastCol <= lastCol;
            Merge original = m;
            m.firstCol = quint16(shifted(m.firstCol));
            m.lastCol = quint16(std::min(shifted(m.lastCol), MaxColumns - 1));
            if (inside)
                extra.push_back({original.last, quint16(atCol + original.firstCol - firstCol),
                                 quint16(atCol + original.lastCol - firstCol)});
        }
        r.merges.insert(r.merges.end(), extra.begin(), extra.end());
    }
    for (Slot& slot : head)
        for (const RecordArea& a : slot.areas)
            for (int k : {4, 6}) {
                const int c = get16(slot.raw.data.constData() + a.offset + k);
                set16(slot.raw.data, a.offset + k, quint16(std::min(shifted(c), MaxColumns - 1)));
            }
    // The copies take the width, format and flags of their source columns.
    std::vector<std::pair<int, ColumnInfo>> sources;
    for (int c = firstCol; c <= lastCol; ++c) {
        ColumnInfo src;
        src.width = quint16(columnWidth(c));
        for (const ColumnInfo& ci : columns)
            if (c >= ci.first && c <= ci.last)
                src = ci;
        sources.push_back({atCol + c - firstCol, src});
    }
    for (ColumnInfo& ci : columns) {
        ci.first = quint16(std::min(shifted(ci.first), MaxColumns - 1));
        ci.last = quint16(std::min(shifted(ci.last), MaxColumns - 1));
    }
    for (const auto& [c, src] : sources)
        editColumns(c, c, [&src](ColumnInfo& ci) {
            ci.width = src.width;
            ci.xf = src.xf;
            ci.options = src.options;
        });
}

void Sheet::swapRowValues(int a, int b) {
    checkCell(a, 0);
    checkCell(b, 0);
    if (a == b)
        return;
    for (int r : {a, b})
        if (const Row* row = findRow(r))
            SheetEditor::checkArraysCopied(*this, *row, 0, MaxColumns - 1, false);
    Row& ra = rowAt(a);
    Row& rb = rowAt(b);
    std::vector<int> cols;
    for (const Cell& c : ra.cells)
        cols.push_back(c.col);
    for (const Cell& c : rb.cells)
        cols.push_back(c.col);
    std::sort(cols.begin(), cols.end());
    cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
    for (int col : cols) {
        Cell fromA, fromB;
        if (const Cell* c = findCell(a, col))
            SheetEditor::copyValue(fromA, *c, *this, b - a, 0, SheetEditor::identity);
        if (const Cell* c = findCell(b, col))
            SheetEditor::copyValue(fromB, *c, *this, a - b, 0, SheetEditor::identity);
        Cell& ca = cellAt(a, col);
        Cell& cb = cellAt(b, col);
        auto take = [](Cell& to, Cell& from) {
            to.type = from.type;
            to.number = from.number;
            to.text = std::move(from.text);
            to.formula = std::move(from.formula);
        };
        take(ca, fromB);
        take(cb, fromA);
    }
}

} // namespace vartesa::workbook
