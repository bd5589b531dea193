// Workbook: a new workbook's default records, sheets, fonts, formats and XFs,
// binding formula references to rows, saving.

#include "workbook/book_data.h"

#include "db/error.h"

#include <QSaveFile>

namespace vartesa::workbook {

namespace {

QByteArray bytes16(std::initializer_list<quint16> values) {
    QByteArray b;
    for (quint16 v : values)
        put16(b, v);
    return b;
}

// XF, 20 bytes:
//  0 font(2)  2 format(2)  4 protection+type+parent(2)  6 alignment(1)  7 rotation(1)
//  8 indent/shrink(1)  9 used-attribute flags(1)  10 borders left/right/top/bottom + colors(4)
// 14 top/bottom/diagonal colors, fill pattern(4)  18 pattern colors(2)
QByteArray makeXf(quint16 font, quint16 format, bool style) {
    QByteArray x;
    put16(x, font);
    put16(x, format);
    put16(x, style ? 0xFFF5 : 0x0001); // style XF: locked, style bit, no parent; cell XF: parent 0
    put8(x, 0x20);                      // bottom aligned
    put8(x, 0);
    put8(x, 0);
    put8(x, style ? 0x00 : 0xF8);
    put32(x, 0);
    put32(x, 0);
    put16(x, 0x40 | (0x41 << 7));       // automatic pattern colors
    return x;
}

QByteArray sheetBof() { return bytes16({0x0600, 0x0010, 0x0DBB, 0x07CC, 0, 0, 0x0006, 0}); }

void addDefaultSheetRecords(Sheet& s, bool first, std::vector<Slot>& head) {
    auto add = [&](RecordId id, const QByteArray& data) { head.push_back({Slot::Opaque, {quint16(id), data}}); };
    QByteArray delta;
    putF64(delta, 0.001);
    add(RecordId(0x000D), bytes16({1}));          // CALCMODE automatic
    add(RecordId(0x000C), bytes16({100}));        // CALCCOUNT
    add(RecordId(0x000F), bytes16({1}));          // REFMODE A1
    add(RecordId(0x0011), bytes16({0}));          // ITERATION off
    add(RecordId(0x0010), delta);                 // DELTA
    add(RecordId(0x005F), bytes16({1}));          // SAVERECALC
    add(RecordId(0x002A), bytes16({0}));          // PRINTHEADERS
    add(RecordId(0x002B), bytes16({0}));          // PRINTGRIDLINES
    add(RecordId(0x0082), bytes16({1}));          // GRIDSET
    add(RecordId(0x0080), bytes16({0, 0, 0, 0})); // GUTS
    add(RecordId(0x0225), bytes16({0, 0x00FF}));  // DEFAULTROWHEIGHT
    add(RecordId(0x0081), bytes16({0x04C1}));     // WSBOOL
    add(RecordId(0x0083), bytes16({0}));          // HCENTER
    add(RecordId(0x0084), bytes16({0}));          // VCENTER
    add(RecordId::DefColWidth, bytes16({8}));
    head.push_back({Slot::ColInfos, {}});
    head.push_back({Slot::Dimensions, {}});
    // WINDOW2: flags (gridlines, headers, zeros, outline; the first sheet selected and shown)
    add(RecordId::Window2, bytes16({quint16(first ? 0x06B6 : 0x00B6), 0, 0, 0x40, 0, 0, 0, 0, 0}));
    head.push_back({Slot::Merges, {}});
    (void)s;
}

} // namespace

Workbook::Workbook(const QStringList& sheetNames) : d_(std::make_unique<BookData>()) {
    BookData& d = *d_;
    d.bof = {quint16(RecordId::Bof), bytes16({0x0600, 0x0005, 0x0DBB, 0x07CC, 0, 0, 0x0006, 0})};
    auto add = [&](quint16 id, const QByteArray& data) { d.globals.push_back({Slot::Opaque, {id, data}}); };
    add(0x00E1, bytes16({1200}));  // INTERFACEHDR
    add(0x00C1, bytes16({0}));     // MMS
    add(0x00E2, {});               // INTERFACEEND
    d.globals.push_back({Slot::Codepage, {}});
    add(0x0019, bytes16({0}));     // WINDOWPROTECT
    add(0x0012, bytes16({0}));     // PROTECT
    add(0x0013, bytes16({0}));     // PASSWORD
    add(0x003D, bytes16({0, 0, 0x4000, 0x2000, 0x0038, 0, 0, 1, 0x0258})); // WINDOW1
    add(0x0040, bytes16({0}));     // BACKUP
    add(0x008D, bytes16({0}));     // HIDEOBJ
    add(0x0022, bytes16({0}));     // DATEMODE 1900
    add(0x000E, bytes16({1}));     // PRECISION as displayed: off
    add(0x00DA, bytes16({0}));     // BOOKBOOL
    d.globals.push_back({Slot::Fonts, {}});
    d.globals.push_back({Slot::Formats, {}});
    d.globals.push_back({Slot::Xfs, {}});
    add(quint16(RecordId::Style), bytes16({0x8000, 0xFF00})); // built-in "Normal" style on XF 0
    add(0x0160, bytes16({1}));     // USESELFS
    d.globals.push_back({Slot::Sheets, {}});
    add(0x008C, bytes16({1, 40})); // COUNTRY
    d.globals.push_back({Slot::Sst, {}});
    d.fonts.assign(4, Font{});
    for (int i = 0; i < 15; ++i)
        d.xfs.push_back(makeXf(0, 0, true));
    d.xfs.push_back(makeXf(0, 0, false));
    for (const QString& name : sheetNames) {
        auto s = std::make_unique<Sheet>();
        s->book_ = d_.get();
        s->name_ = name;
        s->bof = {quint16(RecordId::Bof), sheetBof()};
        addDefaultSheetRecords(*s, d.sheets.empty(), s->head);
        d.sheets.push_back(std::move(s));
    }
}

Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

int Workbook::sheetCount() const { return int(d_->sheets.size()); }

Sheet& Workbook::sheet(int index) {
    if (index < 0 || index >= sheetCount())
        throw Error(QStringLiteral("Foaia %1 nu exista in registrul de calcul.").arg(index + 1), QStringLiteral("xls"));
    return *d_->sheets[size_t(index)];
}

const Sheet& Workbook::sheet(int index) const { return const_cast<Workbook*>(this)->sheet(index); }

int Workbook::sheetIndex(const QString& name) const {
    for (size_t i = 0; i < d_->sheets.size(); ++i)
        if (d_->sheets[i]->name().compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

Sheet& Workbook::sheet(const QString& name) {
    int i = sheetIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("Foaia %1 nu exista in registrul de calcul.").arg(name), QStringLiteral("xls"));
    return *d_->sheets[size_t(i)];
}

int Workbook::fontCount() const {
    int n = int(d_->fonts.size());
    return n > 4 ? n + 1 : n;
}

Font Workbook::font(int index) const {
    int i = index < 4 ? index : index - 1;
    if (index == 4 || i < 0 || size_t(i) >= d_->fonts.size())
        throw Error(QStringLiteral("Font inexistent: %1.").arg(index), QStringLiteral("xls"));
    return d_->fonts[size_t(i)];
}

int Workbook::addFont(const Font& font) {
    d_->fonts.push_back(font);
    int n = int(d_->fonts.size());
    return n > 4 ? n : n - 1; // the format has no font 4
}

QString Workbook::formatCode(int formatIndex) const {
    for (const auto& [index, code] : d_->formats)
        if (index == formatIndex)
            return code;
    switch (formatIndex) {
    case 0: return QStringLiteral("General");
    case 1: return QStringLiteral("0");
    case 2: return QStringLiteral("0.00");
    case 3: return QStringLiteral("#,##0");
    case 4: return QStringLiteral("#,##0.00");
    case 9: return QStringLiteral("0%");
    case 10: return QStringLiteral("0.00%");
    case 11: return QStringLiteral("0.00E+00");
    case 14: return QStringLiteral("dd.mm.yyyy");
    case 20: return QStringLiteral("h:mm");
    case 49: return QStringLiteral("@");
    default: return QStringLiteral("General");
    }
}

int Workbook::addFormat(const QString& code) {
    int next = 164; // first index of workbook-defined formats
    for (const auto& [index, c] : d_->formats) {
        if (c == code)
            return index;
        next = std::max(next, index + 1);
    }
    d_->formats.push_back({quint16(next), code});
    return next;
}

int Workbook::xfCount() const { return int(d_->xfs.size()); }
int Workbook::xfFont(int xf) const { return xf >= 0 && xf < xfCount() ? get16(d_->xfs[size_t(xf)].constData()) : 0; }
int Workbook::xfFormat(int xf) const { return xf >= 0 && xf < xfCount() ? get16(d_->xfs[size_t(xf)].constData() + 2) : 0; }

int Workbook::addXf(const CellStyle& style) {
    QByteArray x = makeXf(quint16(style.font), quint16(style.format), false);
    x[6] = char((style.hAlign & 0x07) | (style.wrap ? 0x08 : 0) | ((style.vAlign & 0x07) << 4));
    // Thin black lines on the chosen sides: style 1, palette color 8.
    quint32 lines = 0, colors = 0;
    if (style.borders & 1) { lines |= 0x0001; colors |= 8u << 16; }
    if (style.borders & 2) { lines |= 0x0010; colors |= 8u << 23; }
    if (style.borders & 4) lines |= 0x0100;
    if (style.borders & 8) lines |= 0x1000;
    set32(x, 10, lines | colors);
    set32(x, 14, ((style.borders & 4) ? 8u : 0u) | ((style.borders & 8) ? 8u << 7 : 0u));
    d_->xfs.push_back(x);
    return int(d_->xfs.size()) - 1;
}

void Workbook::save(const QString& path) const {
    QByteArray bytes = toBytes();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw Error(QStringLiteral("Nu se poate scrie fisierul %1.").arg(path), path);
}

void anchorFormula(BookData& book, Sheet* host, Formula& f) {
    // The references of `tokens`, bound to their rows; `offset` is added to positions.
    auto anchorTokens = [&](const QByteArray& tokens, int offset) {
        std::vector<FormulaRef> out;
        for (TokenRef t : findReferences(tokens)) {
            FormulaRef r;
            const int row = get16(tokens.constData() + t.rowPos);
            t.ptgPos = quint16(t.ptgPos + offset);
            t.rowPos = quint16(t.rowPos + offset);
            t.colPos = quint16(t.colPos + offset);
            r.token = t;
            if (t.ixti < 0)
                r.target = host;
            else if (size_t(t.ixti) < book.xtiSheet.size() && book.xtiSheet[size_t(t.ixti)] >= 0 &&
                     size_t(book.xtiSheet[size_t(t.ixti)]) < book.sheets.size())
                r.target = book.sheets[size_t(book.xtiSheet[size_t(t.ixti)])].get();
            if (r.target && r.target->worksheet)
                r.row = r.target->anchorFor(row);
            out.push_back(r);
        }
        return out;
    };
    f.refs = anchorTokens(f.tokens, 0);
    f.arrayRefs.clear();
    if (const RawRecord* a = arrayRecord(f); a && a->data.size() >= ArrayTokensAt) {
        const int length = std::min<int>(get16(a->data.constData() + 12), int(a->data.size()) - ArrayTokensAt);
        f.arrayRefs = anchorTokens(a->data.mid(ArrayTokensAt, length), ArrayTokensAt);
    }
}

RawRecord* arrayRecord(Formula& f) {
    for (RawRecord& t : f.trailing)
        if (t.id == quint16(RecordId::Array))
            return &t;
    return nullptr;
}

void writeRefRows(QByteArray& bytes, const std::vector<FormulaRef>& refs) {
    for (const FormulaRef& r : refs)
        if (r.row)
            set16(bytes, r.token.rowPos, quint16(r.row->index));
}

void refreshFormulaRows(Formula& f) {
    writeRefRows(f.tokens, f.refs);
}

} // namespace vartesa::workbook
