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
        auto f = std::make_unique<Formula>(Formula{src.tokens, src.extra, src.options, src.cached, src.refs, src.trailing});
        for (FormulaRef& r : f->refs) {
            quint16 col = get16(f->tokens.constData() + r.token.colPos);
            if (col & ColColRelative) {
                int c = int(col & ColMask) + colDelta;
                if (c < 0 || c >= MaxColumns)
                    markReferenceDeleted(f->tokens, r.token.ptgPos);
                set16(f->tokens, r.token.colPos, quint16((col & ~ColMask) | (c & ColMask)));
            }
            if (!(col & ColRowRelative))
                continue;
            int from = r.row ? (r.target == &host ? sourceIndex(r.row->index) : r.row->index)
                             : get16(f->tokens.constData() + r.token.rowPos);
            int to = from + rowDelta;
            if (to < 0 || to >= MaxRows) {
                markReferenceDeleted(f->tokens, r.token.ptgPos);
                r.row = nullptr;
                continue;
            }
            set16(f->tokens, r.token.rowPos, quint16(to));
            if (r.row)
                r.row = r.target->anchorFor(to);
        }
        return f;
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
    if (size_t(row) >= rows_.size())
        return; // nothing at or below: the new rows are empty already
    std::vector<std::unique_ptr<Row>> fresh(static_cast<size_t>(count));
    rows_.insert(rows_.begin() + row, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    renumberFrom(row);
    if (rows_.size() > MaxRows)
        removeRows(MaxRows, int(rows_.size()) - MaxRows); // empty rows pushed off the sheet
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
    if (count <= 0 || size_t(row) >= rows_.size())
        return;
    count = std::min(count, int(rows_.size()) - row);
    std::unordered_set<const Row*> gone;
    for (int i = row; i < row + count; ++i)
        if (rows_[size_t(i)])
            gone.insert(rows_[size_t(i)].get());
    // Rows that take over the ends of areas cut by the deletion (created up front so
    // the loops below never grow the row table they walk).
    Row* after = row + count < MaxRows ? &rowAt(row + count) : nullptr;
    Row* before = row > 0 ? &rowAt(row - 1) : nullptr;
    auto isGone = [&](const FormulaRef& r) { return r.target == this && r.row && gone.count(r.row); };
    auto fix = [&](Formula& f) {
        for (size_t i = 0; i < f.refs.size(); ++i) {
            FormulaRef& r = f.refs[i];
            if (r.token.part == RefPart::AreaFirst && i + 1 < f.refs.size()) {
                FormulaRef& last = f.refs[++i];
                bool firstGone = isGone(r), lastGone = isGone(last);
                if (firstGone && lastGone) {
                    markReferenceDeleted(f.tokens, r.token.ptgPos);
                    r.row = last.row = nullptr;
                } else if (firstGone) {
                    r.row = after;
                } else if (lastGone) {
                    last.row = before;
                }
            } else if (isGone(r)) {
                markReferenceDeleted(f.tokens, r.token.ptgPos);
                r.row = nullptr;
            }
        }
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
    for (int i = row; i < row + count; ++i)
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
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
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
    auto shifted = [&](int c) { return c >= atCol ? c + width : c; };
    // Every reference into this sheet at or right of the insertion moves right.
    book_->forEachExpression([&](Formula& f) {
        for (const FormulaRef& r : f.refs) {
            if (r.target != this)
                continue;
            quint16 col = get16(f.tokens.constData() + r.token.colPos);
            int c = std::min(shifted(col & ColMask), MaxColumns - 1);
            set16(f.tokens, r.token.colPos, quint16((col & ~ColMask) | c));
        }
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
    std::vector<std::pair<int, int>> widths;
    for (int c = firstCol; c <= lastCol; ++c)
        widths.push_back({atCol + c - firstCol, columnWidth(c)});
    for (ColumnInfo& ci : columns) {
        ci.first = quint16(std::min(shifted(ci.first), MaxColumns - 1));
        ci.last = quint16(std::min(shifted(ci.last), MaxColumns - 1));
    }
    for (auto [c, w] : widths)
        setColumnWidth(c, c, w);
}

void Sheet::swapRowValues(int a, int b) {
    checkCell(a, 0);
    checkCell(b, 0);
    if (a == b)
        return;
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
