// Writing the model as a BIFF8 workbook stream. Strict: every record is built
// from the model with its exact size; positions (sheet offsets, string table
// index) are computed, never copied from the file that was read.

#include "workbook/book_data.h"
#include "workbook/compound_file.h"
#include "workbook/formula_eval.h"

#include <QHash>

#include <cmath>
#include <cstring>
#include <map>

namespace vartesa::workbook {

namespace {

constexpr int RowBlock = 32;        // rows per block of ROW records followed by their cells
constexpr int MergesPerRecord = 1026; // most areas one MERGEDCELLS record may hold
constexpr quint16 FormulaAlwaysCalc = 0x0001;
constexpr int MaxCellText = 32767;  // longest text a cell may hold

// RK: a number in 30 bits, either an integer or the top of a double, optionally /100.
bool encodeRk(double v, quint32& rk) {
    if (std::floor(v) == v && v >= -536870912.0 && v < 536870912.0) {
        rk = (quint32(qint32(v)) << 2) | 0x02;
        return true;
    }
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    if ((bits & 0x3FFFFFFFFull) == 0) {
        rk = quint32(bits >> 32);
        return true;
    }
    double h = v * 100.0;
    if (std::floor(h) == h && std::fabs(h) < 536870912.0 && h / 100.0 == v) {
        rk = (quint32(qint32(h)) << 2) | 0x03;
        return true;
    }
    return false;
}

QByteArray cellHeader(int row, int col, int xf) {
    QByteArray b;
    b.reserve(24);
    put16(b, quint16(row));
    put16(b, quint16(col));
    put16(b, quint16(xf));
    return b;
}

} // namespace

struct BiffWriter {
    const BookData& book;
    RecordWriter w;
    QHash<QString, quint32> sstIndex;  // text -> position in the string table
    std::vector<QString> sstStrings;   // unique texts in first-use order
    quint32 sstUses = 0;               // text cells in the workbook
    std::vector<qsizetype> sheetPosFields; // where each BOUNDSHEET's offset is to be patched
    std::unordered_map<const Cell*, FormulaValue> results; // formulas computed for this save

    void collectStrings() {
        for (const auto& s : book.sheets)
            for (const auto& r : s->rows_)
                if (r)
                    for (const Cell& c : r->cells)
                        if (c.type == CellType::Text) {
                            ++sstUses;
                            auto it = sstIndex.constFind(c.text);
                            if (it == sstIndex.constEnd()) {
                                sstIndex.insert(c.text, quint32(sstStrings.size()));
                                sstStrings.push_back(c.text);
                            }
                        }
    }

    void writeGroup(Slot::Kind kind) {
        switch (kind) {
        case Slot::Codepage: { QByteArray b; put16(b, 1200); w.add(RecordId::Codepage, b); break; } // UTF-16
        case Slot::Fonts:
            for (const Font& f : book.fonts) {
                QByteArray b;
                put16(b, f.height); put16(b, f.options); put16(b, f.color); put16(b, f.weight);
                put16(b, f.escapement); put8(b, f.underline); put8(b, f.family); put8(b, f.charset); put8(b, 0);
                b += encodeUnicodeString(f.name, 1);
                w.add(RecordId::Font, b);
            }
            break;
        case Slot::Formats:
            for (const auto& [index, code] : book.formats) {
                QByteArray b;
                put16(b, index);
                b += encodeUnicodeString(code, 2);
                w.add(RecordId::Format, b);
            }
            break;
        case Slot::Xfs:
            for (const QByteArray& x : book.xfs)
                w.add(RecordId::Xf, x);
            break;
        case Slot::Sheets:
            for (const auto& s : book.sheets) {
                QByteArray b;
                put32(b, 0); // patched once the sheet's position is known
                put16(b, s->sheetOptions);
                b += encodeUnicodeString(s->name_, 1);
                sheetPosFields.push_back(w.pos() + 4);
                w.add(RecordId::BoundSheet, b);
            }
            break;
        case Slot::Sst: writeSst(); break;
        default: break;
        }
    }

    // The string table, split into CONTINUE records where it grows past one record,
    // and its index (EXTSST) of every dsst-th string's position.
    void writeSst() {
        const quint16 dsst = quint16(std::max<size_t>(8, (sstStrings.size() + 127) / 128));
        QByteArray ext;
        put16(ext, dsst);
        QByteArray cur;
        put32(cur, sstUses);
        put32(cur, quint32(sstStrings.size()));
        quint16 id = quint16(RecordId::Sst);
        auto flush = [&] {
            w.add(id, cur);
            cur.clear();
            id = quint16(RecordId::Continue);
        };
        for (size_t i = 0; i < sstStrings.size(); ++i) {
            const QString s = sstStrings[i].left(MaxCellText);
            const bool wide = !fitsCompressed(s);
            const int charSize = wide ? 2 : 1;
            if (cur.size() + 3 + charSize > MaxRecordData)
                flush();
            if (i % dsst == 0) {
                put32(ext, quint32(w.pos() + 4 + cur.size()));
                put16(ext, quint16(4 + cur.size()));
                put16(ext, 0);
            }
            put16(cur, quint16(s.size()));
            put8(cur, wide ? 1 : 0);
            qsizetype done = 0;
            while (done < s.size()) {
                qsizetype n = std::min<qsizetype>(s.size() - done, (MaxRecordData - cur.size()) / charSize);
                if (n == 0) { // characters go on in a CONTINUE that restates their width
                    flush();
                    put8(cur, wide ? 1 : 0);
                    continue;
                }
                if (wide)
                    for (qsizetype k = 0; k < n; ++k)
                        put16(cur, s[done + k].unicode());
                else
                    cur += s.mid(done, n).toLatin1();
                done += n;
            }
        }
        flush();
        w.add(RecordId::ExtSst, ext);
    }

    void writeGlobals() {
        w.add(book.bof.id, book.bof.data);
        bool done[Slot::Sst + 1] = {};
        std::map<size_t, const DefinedName*> names;
        for (const DefinedName& n : book.names)
            names[n.slot] = &n;
        for (size_t i = 0; i < book.globals.size(); ++i) {
            const Slot& s = book.globals[i];
            if (auto it = names.find(i); it != names.end()) {
                // A defined name: its tokens with the rows its references follow now.
                Formula f = it->second->formula;
                refreshFormulaRows(f);
                QByteArray data = s.raw.data;
                data.replace(it->second->tokensAt, f.tokens.size(), f.tokens);
                w.add(s.raw.id, data);
            } else if (s.kind == Slot::Opaque) {
                w.add(s.raw.id, s.raw.data);
            } else if (s.kind <= Slot::Sst && !done[s.kind]) {
                done[s.kind] = true;
                writeGroup(s.kind);
            }
        }
        for (int k = Slot::Codepage; k <= Slot::Sst; ++k)
            if (!done[k])
                writeGroup(Slot::Kind(k));
        w.add(RecordId::Eof, {});
    }

    void writeColumns(const Sheet& s) {
        for (const ColumnInfo& ci : s.columns) {
            QByteArray b;
            put16(b, ci.first); put16(b, ci.last); put16(b, ci.width); put16(b, ci.xf); put16(b, ci.options); put16(b, 0);
            w.add(RecordId::ColInfo, b);
        }
    }

    void writeDimensions(const Sheet& s) {
        QByteArray b;
        int first = -1, last = -1, firstCol = MaxColumns, lastCol = -1;
        for (const auto& r : s.rows_)
            if (r && !r->cells.empty()) {
                if (first < 0)
                    first = r->index;
                last = r->index;
                firstCol = std::min<int>(firstCol, r->cells.front().col);
                lastCol = std::max<int>(lastCol, r->cells.back().col);
            }
        if (first < 0) {
            first = last = -1;
            firstCol = 0;
            lastCol = -1;
        }
        put32(b, quint32(std::max(first, 0)));
        put32(b, quint32(last + 1));
        put16(b, quint16(firstCol));
        put16(b, quint16(lastCol + 1));
        put16(b, 0);
        w.add(RecordId::Dimensions, b);
    }

    void writeCell(int row, const Cell& c) {
        QByteArray b = cellHeader(row, c.col, c.xf);
        switch (c.type) {
        case CellType::Blank: w.add(RecordId::Blank, b); break;
        case CellType::Number: {
            quint32 rk;
            if (encodeRk(c.number, rk)) {
                put32(b, rk);
                w.add(RecordId::Rk, b);
            } else {
                putF64(b, c.number);
                w.add(RecordId::Number, b);
            }
            break;
        }
        case CellType::Text: put32(b, sstIndex.value(c.text)); w.add(RecordId::LabelSst, b); break;
        case CellType::Boolean: case CellType::Error:
            put8(b, quint8(c.number));
            put8(b, c.type == CellType::Error ? 1 : 0);
            w.add(RecordId::BoolErr, b);
            break;
        case CellType::Formula: writeFormula(b, c); break;
        case CellType::Empty: break;
        }
    }

    // The formula with its result: computed now when inside the computed set, else
    // the stored one with the mark that asks readers to compute it again.
    void writeFormula(QByteArray& b, const Cell& c) {
        Formula f = {c.formula->tokens, {}, 0, CachedType::Number, c.formula->refs, {}, {}};
        refreshFormulaRows(f);
        const Formula& src = *c.formula;
        const auto computed = results.find(&c);
        const bool known = computed != results.end();
        const FormulaValue value = known ? computed->second : FormulaValue{src.cached, c.number, c.text};
        const quint8 kind[] = {0, 0, 1, 2, 3}; // CachedType -> stored result kind
        if (value.type == CachedType::Number) {
            putF64(b, value.number);
        } else {
            put8(b, kind[int(value.type)]);
            put8(b, 0);
            put8(b, value.type == CachedType::Boolean || value.type == CachedType::Error ? quint8(value.number) : 0);
            put8(b, 0); put8(b, 0); put8(b, 0);
            put16(b, 0xFFFF);
        }
        put16(b, quint16(known ? src.options & ~FormulaAlwaysCalc : src.options | FormulaAlwaysCalc));
        put32(b, 0);
        put16(b, quint16(f.tokens.size()));
        b += f.tokens;
        b += src.extra;
        w.add(RecordId::Formula, b);
        for (const RawRecord& t : src.trailing) {
            // ARRAY and TABLE start with their area: rows(2+2) columns(1+1), first cell
            // being this one; keep it on the cell wherever the cell has moved.
            QByteArray data = t.data;
            if (t.id == quint16(RecordId::Array))
                writeRefRows(data, src.arrayRefs);
            const int row = get16(b.constData()), col = get16(b.constData() + 2);
            if (data.size() >= 6) {
                const int height = get16(data.constData() + 2) - get16(data.constData());
                const int width = quint8(data[5]) - quint8(data[4]);
                set16(data, 0, quint16(row));
                set16(data, 2, quint16(std::clamp(row + height, row, MaxRows - 1)));
                data[4] = char(col);
                data[5] = char(std::clamp(col + width, col, MaxColumns - 1));
            }
            w.add(t.id, data);
        }
        if (value.type == CachedType::Text)
            w.addString(RecordId::String, value.text);
    }

    void writeRowRecord(const Row& r) {
        QByteArray b;
        put16(b, quint16(r.index));
        put16(b, r.cells.empty() ? 0 : r.cells.front().col);
        put16(b, r.cells.empty() ? 0 : quint16(r.cells.back().col + 1));
        put16(b, r.height);
        put16(b, 0);
        put16(b, 0);
        put32(b, r.options);
        w.add(RecordId::Row, b);
    }

    static bool written(const Row* r) { return r && (r->hasRecord || !r->cells.empty()); }

    // Blocks of up to 32 rows: their ROW records, their cells, then a DBCELL giving
    // the distance back to the first ROW and from each row's cells to the next's.
    // The DBCELL positions go into the sheet's INDEX, patched at `indexAt`.
    void writeCellTable(const Sheet& s, qsizetype indexAt) {
        const size_t n = s.rows_.size();
        int block = 0;
        constexpr int RowRecordSize = 4 + 16;
        for (size_t start = 0; start < n; start += RowBlock) {
            const size_t end = std::min(n, start + RowBlock);
            const qsizetype firstRow = w.pos();
            for (size_t i = start; i < end; ++i)
                if (written(s.rows_[i].get()))
                    writeRowRecord(*s.rows_[i]);
            if (w.pos() == firstRow)
                continue;
            QByteArray db;
            put32(db, 0); // distance back to the first ROW, set below
            qsizetype previous = firstRow + RowRecordSize;
            for (size_t i = start; i < end; ++i) {
                const Row* r = s.rows_[i].get();
                if (!written(r))
                    continue;
                put16(db, quint16(w.pos() - previous));
                previous = w.pos();
                for (const Cell& c : r->cells)
                    writeCell(int(i), c);
            }
            set32(db, 0, quint32(w.pos() - firstRow));
            if (indexAt >= 0)
                set32(w.bytes(), indexAt + 4 + 16 + 4 * block++, quint32(w.pos()));
            w.add(RecordId::DbCell, db);
        }
    }

    // INDEX: reserved(4) firstRow(4) lastRow+1(4) DEFCOLWIDTH position(4) DBCELL positions(4 each).
    qsizetype writeIndex(const Sheet& s) {
        int first = -1, last = -1, blocks = 0, lastBlock = -1;
        for (size_t i = 0; i < s.rows_.size(); ++i) {
            const Row* r = s.rows_[i].get();
            if (!written(r))
                continue;
            if (int(i) / RowBlock != lastBlock) {
                lastBlock = int(i) / RowBlock;
                ++blocks;
            }
            if (!r->cells.empty()) {
                if (first < 0)
                    first = int(i);
                last = int(i);
            }
        }
        QByteArray b;
        put32(b, 0);
        put32(b, quint32(std::max(first, 0)));
        put32(b, quint32(last + 1));
        put32(b, 0);
        b.append(QByteArray(4 * blocks, '\0'));
        if (b.size() > MaxRecordData)
            return -1; // more blocks than one record can list: the optional index is left out
        const qsizetype at = w.pos();
        w.add(RecordId::Index, b);
        return at;
    }

    void writeMerges(const Sheet& s) {
        std::vector<CellRange> areas = s.mergedAreas();
        for (size_t start = 0; start < areas.size(); start += MergesPerRecord) {
            size_t end = std::min(areas.size(), start + MergesPerRecord);
            QByteArray b;
            put16(b, quint16(end - start));
            for (size_t i = start; i < end; ++i) {
                put16(b, quint16(areas[i].firstRow)); put16(b, quint16(areas[i].lastRow));
                put16(b, quint16(areas[i].firstCol)); put16(b, quint16(areas[i].lastCol));
            }
            w.add(RecordId::MergedCells, b);
        }
    }

    void writeSheet(const Sheet& s) {
        if (!s.worksheet) {
            w.bytes().append(s.verbatim);
            return;
        }
        w.add(s.bof.id, s.bof.data);
        const qsizetype indexAt = writeIndex(s);
        bool columnsDone = false, cellsDone = false, mergesDone = false;
        for (const Slot& slot : s.head) {
            switch (slot.kind) {
            case Slot::Opaque: {
                if (slot.raw.id == quint16(RecordId::DefColWidth) && indexAt >= 0)
                    set32(w.bytes(), indexAt + 4 + 12, quint32(w.pos()));
                QByteArray data = slot.raw.data;
                for (const RecordArea& a : slot.areas) {
                    set16(data, a.offset, quint16(a.first->index));
                    set16(data, a.offset + 2, quint16(a.last->index));
                }
                w.add(slot.raw.id, data);
                break;
            }
            case Slot::ColInfos: if (!columnsDone) writeColumns(s); columnsDone = true; break;
            case Slot::Dimensions:
                if (!columnsDone)
                    writeColumns(s);
                columnsDone = true;
                writeDimensions(s);
                writeCellTable(s, indexAt);
                cellsDone = true;
                break;
            case Slot::Merges: if (!mergesDone) writeMerges(s); mergesDone = true; break;
            default: break;
            }
        }
        if (!columnsDone)
            writeColumns(s);
        if (!cellsDone) {
            writeDimensions(s);
            writeCellTable(s, indexAt);
        }
        if (!mergesDone)
            writeMerges(s);
        w.add(RecordId::Eof, {});
    }

    QByteArray stream() {
        results = computeFormulas(book);
        collectStrings();
        writeGlobals();
        for (size_t i = 0; i < book.sheets.size(); ++i) {
            set32(w.bytes(), sheetPosFields[i], quint32(w.pos()));
            writeSheet(*book.sheets[i]);
        }
        return w.bytes();
    }
};

QByteArray Workbook::toBytes() const {
    BiffWriter writer{*d_, {}, {}, {}, 0, {}, {}};
    std::vector<CompoundStream> streams{{QStringLiteral("Workbook"), writer.stream()}};
    streams.insert(streams.end(), d_->otherStreams.begin(), d_->otherStreams.end());
    return writeCompoundFile(streams);
}

} // namespace vartesa::workbook
