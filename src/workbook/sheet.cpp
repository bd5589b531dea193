// Cell access of a sheet: finding rows and cells, reading values, writing values.

#include "workbook/book_data.h"

#include "workbook/formula_text.h"

#include "db/error.h"

#include <algorithm>
#include <functional>

namespace vartesa::workbook {

namespace {

constexpr quint32 RowHasFormat = 0x80;  // ROW flag: the row format below applies

} // namespace

QString errorText(int code) {
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/A");
    default: return QStringLiteral("#ERR%1").arg(code);
    }
}

QString numberText(double v) {
    QString s = QString::number(v, 'g', 15);
    if (QString::number(s.toDouble(), 'g', 17) != QString::number(v, 'g', 17))
        s = QString::number(v, 'g', 17);
    return s;
}

void Sheet::checkCell(int row, int col) const {
    if (row < 0 || row >= MaxRows || col < 0 || col >= MaxColumns)
        throw Error(QStringLiteral("Celula %1,%2 este in afara foii %3.").arg(row + 1).arg(col + 1).arg(name_),
                    QStringLiteral("xls"));
}

Row* Sheet::findRow(int row) const {
    return row >= 0 && size_t(row) < rows_.size() ? rows_[size_t(row)].get() : nullptr;
}

Row& Sheet::rowAt(int row) {
    if (size_t(row) >= rows_.size())
        growTable(size_t(row) + 1);
    auto& slot = rows_[size_t(row)];
    if (!slot) {
        slot = std::make_unique<Row>();
        slot->index = row;
    }
    return *slot;
}

void Sheet::growTable(size_t size) {
    if (size <= rows_.size())
        return;
    rows_.resize(size);
    auto reached = std::find_if(far_.begin(), far_.end(), [&](const auto& r) { return size_t(r->index) >= size; });
    for (auto it = far_.begin(); it != reached; ++it)
        rows_[size_t((*it)->index)] = std::move(*it);
    far_.erase(far_.begin(), reached);
}

Row* Sheet::rowObject(int row) {
    if (size_t(row) < rows_.size())
        return &rowAt(row);
    // Past the table: a far row, so a reference to the sheet's last rows does not
    // grow the table (and every insertion's cost) towards 65,536 rows.
    auto it = std::lower_bound(far_.begin(), far_.end(), row, [](const auto& r, int k) { return r->index < k; });
    if (it == far_.end() || (*it)->index != row) {
        auto fresh = std::make_unique<Row>();
        fresh->index = row;
        it = far_.insert(it, std::move(fresh));
    }
    return it->get();
}

void Sheet::shiftFarRows(int from, int delta) {
    for (auto& r : far_)
        if (r->index >= from)
            r->index += delta;
}

Row* Sheet::anchorFor(int row) {
    // The sheet's last row stays where it is: ranges ending there mean "to the end of
    // the column" and keep that meaning through insertions.
    if (row < 0 || row >= MaxRows - 1)
        return nullptr;
    return rowObject(row);
}

void Sheet::renumberFrom(int row) {
    for (size_t i = size_t(std::max(row, 0)); i < rows_.size(); ++i)
        if (rows_[i])
            rows_[i]->index = int(i);
}

const Cell* Sheet::findCell(int row, int col) const {
    const Row* r = findRow(row);
    if (!r)
        return nullptr;
    auto it = std::lower_bound(r->cells.begin(), r->cells.end(), col,
                               [](const Cell& c, int k) { return c.col < k; });
    return it != r->cells.end() && it->col == col ? &*it : nullptr;
}

Cell& Sheet::cellAt(int row, int col) {
    checkCell(row, col);
    Row& r = rowAt(row);
    auto it = std::lower_bound(r.cells.begin(), r.cells.end(), col,
                               [](const Cell& c, int k) { return c.col < k; });
    if (it != r.cells.end() && it->col == col)
        return *it;
    int xf = cellFormat(row, col);
    Cell c;
    c.col = quint16(col);
    c.xf = quint16(xf);
    return *r.cells.insert(it, std::move(c));
}

int Sheet::lastRow() const {
    for (size_t i = rows_.size(); i-- > 0;)
        if (rows_[i] && !rows_[i]->cells.empty())
            return int(i);
    return -1;
}

int Sheet::lastColumn() const {
    int last = -1;
    for (const auto& r : rows_)
        if (r && !r->cells.empty())
            last = std::max(last, int(r->cells.back().col));
    return last;
}

std::vector<std::pair<int, int>> Sheet::textCells() const {
    std::vector<std::pair<int, int>> out;
    for (const auto& r : rows_)
        if (r)
            for (const Cell& c : r->cells)
                if (c.type == CellType::Text)
                    out.push_back({r->index, c.col});
    return out;
}

CellType Sheet::cellType(int row, int col) const {
    const Cell* c = findCell(row, col);
    return c ? c->type : CellType::Empty;
}

QString Sheet::text(int row, int col) const {
    const Cell* c = findCell(row, col);
    if (!c)
        return {};
    CellType t = c->type;
    if (t == CellType::Formula) {
        switch (c->formula->cached) {
        case CachedType::Number: t = CellType::Number; break;
        case CachedType::Text: t = CellType::Text; break;
        case CachedType::Boolean: t = CellType::Boolean; break;
        case CachedType::Error: t = CellType::Error; break;
        case CachedType::Empty: return {};
        }
    }
    switch (t) {
    case CellType::Number: return numberText(c->number);
    case CellType::Text: return c->text;
    case CellType::Boolean: return c->number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case CellType::Error: return errorText(int(c->number));
    default: return {};
    }
}

bool Sheet::needsRecalculation(int row, int col) const {
    const Cell* c = findCell(row, col);
    return c && c->formula && (c->formula->options & 0x0001);
}

double Sheet::number(int row, int col) const {
    const Cell* c = findCell(row, col);
    if (!c)
        return 0;
    if (c->type == CellType::Number || c->type == CellType::Boolean)
        return c->number;
    if (c->type == CellType::Formula &&
        (c->formula->cached == CachedType::Number || c->formula->cached == CachedType::Boolean))
        return c->number;
    return 0;
}

int Sheet::cellFormat(int row, int col) const {
    if (const Cell* c = findCell(row, col))
        return c->xf;
    if (const Row* r = findRow(row); r && (r->options & RowHasFormat))
        return int((r->options >> 16) & 0x0FFF);
    for (const ColumnInfo& ci : columns)
        if (col >= ci.first && col <= ci.last)
            return ci.xf;
    return 15;
}

void Sheet::setText(int row, int col, const QString& text) {
    Cell& c = cellAt(row, col);
    c.formula.reset();
    c.type = CellType::Text;
    c.text = text;
    c.number = 0;
}

void Sheet::setNumber(int row, int col, double value) {
    Cell& c = cellAt(row, col);
    c.formula.reset();
    c.type = CellType::Number;
    c.number = value;
    c.text.clear();
}

void Sheet::setBlank(int row, int col) {
    Cell& c = cellAt(row, col);
    c.formula.reset();
    c.type = CellType::Blank;
    c.number = 0;
    c.text.clear();
}

void Sheet::setCellFormat(int row, int col, int xf) {
    if (xf < 0 || size_t(xf) >= book_->xfs.size())
        throw Error(QStringLiteral("Format de celula inexistent: %1.").arg(xf), QStringLiteral("xls"));
    cellAt(row, col).xf = quint16(xf);
}

void Sheet::setFormulaTokens(int row, int col, const QByteArray& tokens) {
    Cell& c = cellAt(row, col);
    auto f = std::make_unique<Formula>();
    f->tokens = tokens;
    f->options = 0x0001; // computed again when opened: the cached value is not known
    f->cached = CachedType::Number;
    c.type = CellType::Formula;
    c.number = 0;
    c.text.clear();
    c.formula = std::move(f);
    anchorFormula(*book_, this, *c.formula);
}

void Sheet::setFormula(int row, int col, const QString& text) {
    setFormulaTokens(row, col, compileFormula(text));
}

std::vector<CellRange> Sheet::mergedAreas() const {
    std::vector<CellRange> out;
    for (const auto& r : rows_)
        if (r)
            for (const Merge& m : r->merges)
                out.push_back({r->index, m.last->index, m.firstCol, m.lastCol});
    return out;
}

void Sheet::mergeCells(const CellRange& a) {
    checkCell(a.firstRow, a.firstCol);
    checkCell(a.lastRow, a.lastCol);
    Row* last = &rowAt(a.lastRow);
    rowAt(a.firstRow).merges.push_back({last, quint16(a.firstCol), quint16(a.lastCol)});
}

std::vector<CellRange> Sheet::formulaReferences(int row, int col) const {
    std::vector<CellRange> out;
    const Cell* c = findCell(row, col);
    if (!c || !c->formula)
        return out;
    Formula f = {c->formula->tokens, {}, 0, CachedType::Number, c->formula->refs, {}, {}};
    refreshFormulaRows(f);
    const char* p = f.tokens.constData();
    for (const FormulaRef& r : f.refs) {
        const quint8 base = ptgBase(quint8(p[r.token.ptgPos]));
        if (base == PtgRefErr || base == PtgAreaErr || base == PtgRefErr3d || base == PtgAreaErr3d)
            continue; // deleted: #REF!
        int rr = get16(p + r.token.rowPos);
        int cc = get16(p + r.token.colPos) & ColMask;
        if (r.token.part == RefPart::AreaLast && !out.empty()) {
            out.back().lastRow = rr;
            out.back().lastCol = cc;
        } else {
            out.push_back({rr, rr, cc, cc});
        }
    }
    return out;
}

int Sheet::columnWidth(int col) const {
    for (const ColumnInfo& ci : columns)
        if (col >= ci.first && col <= ci.last)
            return ci.width;
    return 8 * 256 + 180; // eight characters plus padding, the default of new sheets
}

void Sheet::setColumnWidth(int firstCol, int lastCol, int width) {
    checkCell(0, firstCol);
    checkCell(0, lastCol);
    const quint16 w = quint16(std::clamp(width, 0, 0xFFFF));
    editColumns(firstCol, lastCol, [w](ColumnInfo& ci) { ci.width = w; });
}

void Sheet::setPage(double left, double right, double top, double bottom, const QString& header,
                    const QString& footer) {
    const RecordId ids[] = {RecordId::Header, RecordId::Footer, RecordId::LeftMargin, RecordId::RightMargin,
                            RecordId::TopMargin, RecordId::BottomMargin};
    const auto isPageRecord = [&ids](const Slot& s) {
        return s.kind == Slot::Opaque && std::find(std::begin(ids), std::end(ids), RecordId(s.raw.id)) != std::end(ids);
    };
    head.erase(std::remove_if(head.begin(), head.end(), isPageRecord), head.end());
    const auto text = [](const QString& t) { return t.isEmpty() ? QByteArray() : encodeUnicodeString(t, 2); };
    const auto inches = [](double v) {
        QByteArray b;
        putF64(b, v);
        return b;
    };
    const auto find = [this](quint16 id) {
        return std::find_if(head.begin(), head.end(), [id](const Slot& s) { return s.kind == Slot::Opaque && s.raw.id == id; });
    };
    // The page settings block: HEADER, FOOTER, HCENTER, VCENTER, then the four margins; a
    // sheet without the centring records gets them all before its column records.
    auto at = find(0x0083);
    if (at == head.end())
        at = std::find_if(head.begin(), head.end(), [](const Slot& s) {
            return s.kind == Slot::ColInfos || s.kind == Slot::Dimensions ||
                   (s.kind == Slot::Opaque && s.raw.id == quint16(RecordId::DefColWidth));
        });
    const std::vector<Slot> headings = {{Slot::Opaque, {quint16(RecordId::Header), text(header)}},
                                        {Slot::Opaque, {quint16(RecordId::Footer), text(footer)}}};
    at = head.insert(at, headings.begin(), headings.end()) + 2;
    if (const auto v = find(0x0084); v != head.end()) at = v + 1;
    else if (const auto h = find(0x0083); h != head.end()) at = h + 1;
    const std::vector<Slot> margins = {{Slot::Opaque, {quint16(RecordId::LeftMargin), inches(left)}},
                                       {Slot::Opaque, {quint16(RecordId::RightMargin), inches(right)}},
                                       {Slot::Opaque, {quint16(RecordId::TopMargin), inches(top)}},
                                       {Slot::Opaque, {quint16(RecordId::BottomMargin), inches(bottom)}}};
    head.insert(at, margins.begin(), margins.end());
}

void Sheet::editColumns(int firstCol, int lastCol, const std::function<void(ColumnInfo&)>& edit) {
    if (lastCol < firstCol)
        return;
    // Ranges are cut at the edges of firstCol..lastCol; the pieces inside keep their
    // format and flags and take the edit, columns no range covered get a default one.
    std::vector<ColumnInfo> out;
    int next = firstCol; // first column of the edited span not yet covered
    auto fillGap = [&](int upTo) {
        if (next < upTo) {
            ColumnInfo gap;
            gap.first = quint16(next);
            gap.last = quint16(upTo - 1);
            gap.width = quint16(columnWidth(next));
            edit(gap);
            out.push_back(gap);
        }
    };
    for (const ColumnInfo& ci : columns) {
        if (ci.last < firstCol || ci.first > lastCol) {
            out.push_back(ci);
            continue;
        }
        if (ci.first < firstCol) {
            ColumnInfo left = ci;
            left.last = quint16(firstCol - 1);
            out.push_back(left);
        }
        ColumnInfo mid = ci;
        mid.first = quint16(std::max<int>(ci.first, firstCol));
        mid.last = quint16(std::min<int>(ci.last, lastCol));
        fillGap(mid.first);
        edit(mid);
        out.push_back(mid);
        next = mid.last + 1;
        if (ci.last > lastCol) {
            ColumnInfo right = ci;
            right.first = quint16(lastCol + 1);
            out.push_back(right);
        }
    }
    fillGap(lastCol + 1);
    std::sort(out.begin(), out.end(), [](const ColumnInfo& a, const ColumnInfo& b) { return a.first < b.first; });
    columns = std::move(out);
}

int Sheet::rowHeight(int row) const {
    const Row* r = findRow(row);
    return r ? r->height : 0x80FF;
}

void Sheet::setRowHeight(int row, int twips) {
    checkCell(row, 0);
    Row& r = rowAt(row);
    r.hasRecord = true;
    r.height = quint16(twips & 0x7FFF);
    r.options |= 0x40; // height set by hand
}

} // namespace vartesa::workbook
