// Reading a BIFF8 workbook stream into the model. Lenient: records the engine
// does not know are kept verbatim, a short record is an error naming it, and no
// offset or size from the file is used before it is checked.

#include "workbook/biff8_stream.h"
#include "workbook/book_data.h"
#include "workbook/compound_file.h"

#include "db/error.h"

#include <QFile>

#include <cstring>
#include <map>

namespace vartesa::workbook {

namespace {

constexpr quint16 Biff8Version = 0x0600;
constexpr quint16 BofGlobals = 0x0005;
constexpr quint16 BofWorksheet = 0x0010;

double decodeRk(quint32 rk) {
    double v;
    if (rk & 0x02) {
        v = double(qint32(rk) >> 2);
    } else {
        quint64 bits = quint64(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 0x01) ? v / 100.0 : v;
}

struct SheetEntry {
    quint32 pos;      // stream offset of the sheet's BOF
    quint16 options;  // visibility and sheet type
    QString name;
};

// A formula cell whose tokens only point (tExp) at a shared or array formula.
struct PendingExp {
    int row, col;
    Formula* formula;
};

struct SharedFormula {
    CellRange range;
    QByteArray tokens, extra;
};

} // namespace

// Offsets of the areas inside records that name cells on their sheet.
std::vector<quint16> areaOffsets(const Record& r) {
    std::vector<quint16> out;
    ByteReader in = r.reader();
    switch (RecordId(r.id)) {
    case RecordId::HLink: // area(8) then the link
        out.push_back(0);
        break;
    case RecordId::CondFmt: { // count(2) flags(2) bounds(8) areaCount(2) areas(8 each)
        out.push_back(4);
        in.skip(12);
        const quint16 n = in.u16();
        for (quint16 i = 0; i < n && in.left() >= 8; ++i, in.skip(8))
            out.push_back(quint16(in.pos()));
        break;
    }
    case RecordId::Dv: { // flags(4) four texts, two formulas (length(2) reserved(2) tokens), areas
        in.skip(4);
        for (int i = 0; i < 4; ++i)
            in.unicodeString(2);
        for (int i = 0; i < 2; ++i) {
            const quint16 cce = in.u16();
            in.skip(2 + qsizetype(cce));
        }
        const quint16 n = in.u16();
        for (quint16 i = 0; i < n && in.left() >= 8; ++i, in.skip(8))
            out.push_back(quint16(in.pos()));
        break;
    }
    default: break;
    }
    return out;
}

struct BiffReader {
    BookData& book;
    const QByteArray& stream;
    std::vector<QString> sst;
    std::vector<SheetEntry> entries;

    void readGlobals();
    void readSst(const Record& first, RecordStream& rs);
    void readSheet(Sheet& sheet, qsizetype pos);
    void readCell(Sheet& sheet, const Record& r, Cell*& lastFormula, std::vector<PendingExp>& pendingExp);

    // The areas of a verbatim record, bound to their rows; a record the engine cannot
    // read through is kept without them (its areas then stay where they are).
    static std::vector<RecordArea> recordAreas(Sheet& sheet, const Record& r) {
        std::vector<RecordArea> out;
        try {
            for (quint16 off : areaOffsets(r)) {
                if (off + 8 > r.size)
                    continue;
                Row* first = sheet.anchorFor(get16(r.data + off));
                Row* last = sheet.anchorFor(get16(r.data + off + 2));
                if (first && last)
                    out.push_back({off, first, last});
            }
        } catch (const Error&) {
            out.clear();
        }
        return out;
    }

    static Cell& place(Sheet& s, int row, int col, int xf, CellType type) {
        Cell& c = s.cellAt(row, col);
        c.xf = quint16(xf);
        c.type = type;
        c.formula.reset();
        return c;
    }
};

void BiffReader::readGlobals() {
    RecordStream rs(stream, 0);
    Record r;
    if (!rs.next(r) || r.id != quint16(RecordId::Bof) || r.size < 4)
        throwDamaged(QStringLiteral("lipseste inceputul registrului"));
    ByteReader bof = r.reader();
    quint16 vers = bof.u16(), type = bof.u16();
    if (vers != Biff8Version)
        throw Error(QStringLiteral("Registrul de calcul este intr-un format mai vechi (Excel 5/95), care nu este acceptat."),
                    QStringLiteral("xls"));
    if (type != BofGlobals)
        throwDamaged(QStringLiteral("inceput de registru necunoscut"));
    book.bof = r.raw();
    std::vector<bool> selfBook;
    bool lastModeled = false;
    auto slotOnce = [&](Slot::Kind k) {
        for (const Slot& s : book.globals)
            if (s.kind == k)
                return;
        book.globals.push_back({k, {}});
    };
    for (;;) {
        if (!rs.next(r))
            throwDamaged(QStringLiteral("lipseste sfarsitul datelor generale"));
        if (r.id == quint16(RecordId::Eof))
            break;
        ByteReader in = r.reader();
        bool modeled = true;
        switch (RecordId(r.id)) {
        case RecordId::FilePass: // everything after it is encrypted
            throw Error(QStringLiteral("Registrul de calcul este protejat cu parola; deschideti-l fara parola."),
                        QStringLiteral("xls"));
        case RecordId::Codepage: slotOnce(Slot::Codepage); break;
        case RecordId::Font: {
            Font f;
            f.height = in.u16(); f.options = in.u16(); f.color = in.u16(); f.weight = in.u16();
            f.escapement = in.u16(); f.underline = in.u8(); f.family = in.u8(); f.charset = in.u8();
            in.skip(1);
            f.name = in.unicodeString(1);
            book.fonts.push_back(f);
            slotOnce(Slot::Fonts);
            break;
        }
        case RecordId::Format: {
            quint16 index = in.u16();
            book.formats.push_back({index, in.unicodeString(2)});
            slotOnce(Slot::Formats);
            break;
        }
        case RecordId::Xf:
            in.need(20);
            book.xfs.push_back(QByteArray(r.data, 20));
            slotOnce(Slot::Xfs);
            break;
        case RecordId::BoundSheet: {
            SheetEntry e;
            e.pos = in.u32();
            e.options = in.u16();
            e.name = in.unicodeString(1);
            entries.push_back(e);
            slotOnce(Slot::Sheets);
            break;
        }
        case RecordId::Sst: readSst(r, rs); slotOnce(Slot::Sst); break;
        case RecordId::ExtSst: break; // rebuilt with the string table
        case RecordId::Continue: modeled = lastModeled; if (!modeled) book.globals.push_back({Slot::Opaque, r.raw()}); break;
        case RecordId::Name: {
            // grbit(2) key(1) nameLength(1) tokensLength(2) reserved(2) sheet(2) menu/description/
            // help/status lengths(4), then the name (flags + characters) and its tokens.
            modeled = false;
            book.globals.push_back({Slot::Opaque, r.raw()});
            if (r.size < 15)
                break;
            const int chars = quint8(r.data[3]);
            const int tokensAt = 15 + chars * ((r.data[14] & 0x01) ? 2 : 1);
            const int tokens = get16(r.data + 4);
            if (tokensAt + tokens > r.size)
                break; // lenient: a name we cannot read stays as it was
            DefinedName n;
            n.slot = book.globals.size() - 1;
            n.tokensAt = tokensAt;
            n.sheet = get16(r.data + 8) - 1; // 1-based, 0 for a workbook-wide name
            n.formula.tokens = QByteArray(r.data + tokensAt, tokens);
            book.names.push_back(std::move(n));
            break;
        }
        case RecordId::SupBook:
            selfBook.push_back(r.size == 4 && get16(r.data + 2) == 0x0401);
            modeled = false;
            book.globals.push_back({Slot::Opaque, r.raw()});
            break;
        case RecordId::ExternSheet: {
            quint16 n = in.u16();
            for (quint16 i = 0; i < n && in.left() >= 6; ++i) {
                quint16 sup = in.u16(), first = in.u16(), last = in.u16();
                bool local = sup < selfBook.size() && selfBook[sup] && first == last;
                book.xtiSheet.push_back(local ? first : -1);
            }
            modeled = false;
            book.globals.push_back({Slot::Opaque, r.raw()});
            break;
        }
        default:
            modeled = false;
            book.globals.push_back({Slot::Opaque, r.raw()});
        }
        if (r.id != quint16(RecordId::Continue))
            lastModeled = modeled;
    }
    if (book.xfs.size() < 16)
        throwDamaged(QStringLiteral("lipsesc formatele de celula"));
}

void BiffReader::readSst(const Record& first, RecordStream& rs) {
    SegmentReader in;
    in.add(first);
    Record r;
    while (rs.peek() == quint16(RecordId::Continue) && rs.next(r))
        in.add(r);
    in.u32(); // total uses
    quint32 unique = in.u32();
    for (quint32 i = 0; i < unique && !in.atEnd(); ++i) {
        quint16 count = in.u16();
        quint8 flags = in.u8();
        quint16 runs = (flags & 0x08) ? in.u16() : 0;
        quint32 phonetic = (flags & 0x04) ? in.u32() : 0;
        sst.push_back(in.characters(count, flags & 0x01));
        in.skip(quint32(runs) * 4);
        in.skip(phonetic);
    }
}

void BiffReader::readCell(Sheet& sheet, const Record& r, Cell*& lastFormula, std::vector<PendingExp>& pendingExp) {
    ByteReader in = r.reader();
    int row = in.u16(), col = in.u16();
    if (col >= MaxColumns)
        throwDamaged(QStringLiteral("coloana %1 in afara foii").arg(col));
    switch (RecordId(r.id)) {
    case RecordId::Number: { int xf = in.u16(); place(sheet, row, col, xf, CellType::Number).number = in.f64(); break; }
    case RecordId::Rk: { int xf = in.u16(); place(sheet, row, col, xf, CellType::Number).number = decodeRk(in.u32()); break; }
    case RecordId::Blank: place(sheet, row, col, in.u16(), CellType::Blank); break;
    case RecordId::LabelSst: {
        int xf = in.u16();
        quint32 i = in.u32();
        if (i >= sst.size())
            throwDamaged(QStringLiteral("text inexistent in tabela de texte"));
        place(sheet, row, col, xf, CellType::Text).text = sst[i];
        break;
    }
    case RecordId::Label: case RecordId::RString: {
        int xf = in.u16();
        place(sheet, row, col, xf, CellType::Text).text = in.unicodeString(2);
        break;
    }
    case RecordId::BoolErr: {
        int xf = in.u16();
        quint8 v = in.u8(), isError = in.u8();
        place(sheet, row, col, xf, isError ? CellType::Error : CellType::Boolean).number = v;
        break;
    }
    case RecordId::MulRk: case RecordId::MulBlank: {
        const bool rk = r.id == quint16(RecordId::MulRk);
        const int each = rk ? 6 : 2;
        qsizetype n = (in.left() - 2) / each;
        if (n < 0 || col + n > MaxColumns)
            throwDamaged(QStringLiteral("sir de celule in afara foii"));
        for (qsizetype k = 0; k < n; ++k) {
            int xf = in.u16();
            if (rk)
                place(sheet, row, int(col + k), xf, CellType::Number).number = decodeRk(in.u32());
            else
                place(sheet, row, int(col + k), xf, CellType::Blank);
        }
        break;
    }
    case RecordId::Formula: {
        int xf = in.u16();
        in.need(8);
        const char* value = in.here();
        in.skip(8);
        auto f = std::make_unique<Formula>();
        f->options = in.u16();
        in.skip(4);
        quint16 cce = in.u16();
        in.need(cce);
        f->tokens = QByteArray(in.here(), cce);
        in.skip(cce);
        f->extra = QByteArray(in.here(), in.left());
        Cell& c = place(sheet, row, col, xf, CellType::Formula);
        if (get16(value + 6) == 0xFFFF) {
            // Not a number: the first byte says what the formula last gave.
            switch (quint8(value[0])) {
            case 0: f->cached = CachedType::Text; break; // the text follows in a STRING record
            case 1: f->cached = CachedType::Boolean; c.number = quint8(value[2]); break;
            case 2: f->cached = CachedType::Error; c.number = quint8(value[2]); break;
            default: f->cached = CachedType::Empty; break;
            }
        } else {
            ByteReader num(value, 8, r.id);
            c.number = num.f64();
        }
        if (cce == 5 && ptgBase(quint8(f->tokens[0])) == PtgExp)
            pendingExp.push_back({row, col, f.get()});
        c.formula = std::move(f);
        lastFormula = &c;
        return;
    }
    default: break;
    }
    lastFormula = nullptr;
}

void BiffReader::readSheet(Sheet& sheet, qsizetype pos) {
    if (pos < 0 || pos >= stream.size())
        throwDamaged(QStringLiteral("foaia %1 incepe in afara fisierului").arg(sheet.name_));
    RecordStream rs(stream, pos);
    Record r;
    if (!rs.next(r) || r.id != quint16(RecordId::Bof) || r.size < 4)
        throwDamaged(QStringLiteral("foaia %1 nu are inceput").arg(sheet.name_));
    sheet.bof = r.raw();
    if (get16(r.data + 2) != BofWorksheet) {
        // Chart and macro sheets are kept whole, nested substreams included.
        sheet.worksheet = false;
        int depth = 1;
        qsizetype end = pos;
        while (depth > 0) {
            if (!rs.next(r))
                throwDamaged(QStringLiteral("foaia %1 nu are sfarsit").arg(sheet.name_));
            depth += r.id == quint16(RecordId::Bof) ? 1 : r.id == quint16(RecordId::Eof) ? -1 : 0;
            end = r.pos + 4 + r.size;
        }
        sheet.verbatim = stream.mid(pos, end - pos);
        return;
    }
    std::map<std::pair<int, int>, SharedFormula> shared;
    std::vector<PendingExp> pendingExp;
    Cell* lastFormula = nullptr;
    int nested = 0;          // depth inside embedded chart substreams
    bool cellsPlaced = false;
    auto slotOnce = [&](Slot::Kind k) {
        for (const Slot& s : sheet.head)
            if (s.kind == k)
                return;
        sheet.head.push_back({k, {}});
    };
    for (;;) {
        if (!rs.next(r))
            throwDamaged(QStringLiteral("foaia %1 nu are sfarsit").arg(sheet.name_));
        if (nested > 0 || r.id == quint16(RecordId::Bof)) {
            nested += r.id == quint16(RecordId::Bof) ? 1 : r.id == quint16(RecordId::Eof) ? -1 : 0;
            sheet.head.push_back({Slot::Opaque, r.raw()});
            continue;
        }
        ByteReader in = r.reader();
        switch (RecordId(r.id)) {
        case RecordId::Eof: goto done;
        case RecordId::Index: case RecordId::DbCell: break; // positions, rebuilt on save
        case RecordId::Dimensions: slotOnce(Slot::Dimensions); cellsPlaced = true; break;
        case RecordId::ColInfo: {
            ColumnInfo ci;
            ci.first = in.u16(); ci.last = in.u16(); ci.width = in.u16(); ci.xf = in.u16(); ci.options = in.u16();
            if (ci.first <= ci.last && ci.first < MaxColumns) {
                ci.last = std::min<quint16>(ci.last, MaxColumns - 1);
                sheet.columns.push_back(ci);
            }
            slotOnce(Slot::ColInfos);
            break;
        }
        case RecordId::Row: {
            int row = in.u16();
            in.skip(4);
            quint16 height = in.u16();
            in.skip(4);
            Row& rw = sheet.rowAt(row);
            rw.hasRecord = true;
            rw.height = height;
            rw.options = in.u32();
            break;
        }
        case RecordId::Number: case RecordId::Rk: case RecordId::Blank: case RecordId::LabelSst:
        case RecordId::Label: case RecordId::RString: case RecordId::BoolErr: case RecordId::MulRk:
        case RecordId::MulBlank: case RecordId::Formula:
            if (!cellsPlaced) {
                slotOnce(Slot::Dimensions);
                cellsPlaced = true;
            }
            readCell(sheet, r, lastFormula, pendingExp);
            continue;
        case RecordId::String: {
            std::vector<Record> parts{r};
            Record more;
            while (rs.peek() == quint16(RecordId::Continue) && rs.next(more))
                parts.push_back(more);
            const QString value = continuedString(parts);
            if (lastFormula && lastFormula->formula->cached == CachedType::Text)
                lastFormula->text = value;
            continue;
        }
        case RecordId::ShrFmla: {
            SharedFormula sf;
            sf.range.firstRow = in.u16(); sf.range.lastRow = in.u16();
            sf.range.firstCol = in.u8(); sf.range.lastCol = in.u8();
            in.skip(2);
            quint16 cce = in.u16();
            in.need(cce);
            sf.tokens = QByteArray(in.here(), cce);
            in.skip(cce);
            sf.extra = QByteArray(in.here(), in.left());
            shared[{sf.range.firstRow, sf.range.firstCol}] = sf;
            continue;
        }
        case RecordId::Array: case RecordId::Table:
            if (lastFormula)
                lastFormula->formula->trailing.push_back(r.raw());
            continue;
        case RecordId::MergedCells: {
            quint16 n = in.u16();
            for (quint16 i = 0; i < n; ++i) {
                CellRange a;
                a.firstRow = in.u16(); a.lastRow = in.u16(); a.firstCol = in.u16(); a.lastCol = in.u16();
                if (a.firstRow <= a.lastRow && a.firstCol <= a.lastCol && a.lastCol < MaxColumns)
                    sheet.mergeCells(a);
            }
            slotOnce(Slot::Merges);
            break;
        }
        default:
            sheet.head.push_back({Slot::Opaque, r.raw(), recordAreas(sheet, r)});
        }
        lastFormula = nullptr;
    }
done:
    // Cells of a shared formula point (tExp) at its first cell; give each its own tokens.
    for (const PendingExp& p : pendingExp) {
        Formula& f = *p.formula;
        auto it = shared.find({get16(f.tokens.constData() + 1), get16(f.tokens.constData() + 3)});
        if (it == shared.end())
            continue; // an array formula: tExp stays
        f.tokens = it->second.tokens;
        f.extra = it->second.extra;
        f.options &= ~0x0008; // no longer shared
        expandSharedTokens(f.tokens, p.row, p.col);
    }
}

Workbook Workbook::fromBytes(const QByteArray& fileBytes) {
    if (!isCompoundFile(fileBytes))
        throwDamaged(QStringLiteral("nu este un fisier Excel 97-2003"));
    std::vector<CompoundStream> entries = readCompoundFile(fileBytes);
    const QByteArray stream = findCompoundStream(entries, {QStringLiteral("Workbook"), QStringLiteral("Book")});
    Workbook wb;
    wb.d_ = std::make_unique<BookData>();
    for (CompoundStream& e : entries) {
        const bool workbookStream = !e.storage && (e.name.compare(QLatin1String("Workbook"), Qt::CaseInsensitive) == 0 ||
                                                   e.name.compare(QLatin1String("Book"), Qt::CaseInsensitive) == 0);
        if (!workbookStream && e.damage.isEmpty())
            wb.d_->otherStreams.push_back(std::move(e));
    }
    BiffReader reader{*wb.d_, stream, {}, {}};
    reader.readGlobals();
    for (const SheetEntry& e : reader.entries) {
        auto s = std::make_unique<Sheet>();
        s->book_ = wb.d_.get();
        s->name_ = e.name;
        s->sheetOptions = e.options;
        wb.d_->sheets.push_back(std::move(s));
    }
    for (size_t i = 0; i < reader.entries.size(); ++i)
        reader.readSheet(*wb.d_->sheets[i], reader.entries[i].pos);
    std::vector<std::pair<Sheet*, Formula*>> formulas;
    wb.d_->forEachFormula([&](Sheet& s, Row&, Cell&, Formula& f) { formulas.push_back({&s, &f}); });
    for (auto [s, f] : formulas)
        anchorFormula(*wb.d_, s, *f);
    for (DefinedName& n : wb.d_->names)
        anchorFormula(*wb.d_, n.sheet >= 0 && size_t(n.sheet) < wb.d_->sheets.size()
                                  ? wb.d_->sheets[size_t(n.sheet)].get() : nullptr, n.formula);
    return wb;
}

Workbook Workbook::open(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Nu se poate deschide fisierul %1.").arg(path), path);
    try {
        return fromBytes(file.readAll());
    } catch (const Error& e) {
        throw Error(e.text(), path);
    }
}

} // namespace vartesa::workbook
