// BIFF2 writing. The file is a bare record stream (no container):
//   BOF, CODEPAGE, FORMAT..., FONT..., XF..., HEADER, FOOTER, margins, COLWIDTH...,
//   DIMENSIONS, cells sorted by row and column, EOF.
// A cell carries its look in three attribute bytes, repeated in the XF it names
// (readers take the look from either):
//   byte 0: bits 0-5 XF index, bit 6 locked, bit 7 hidden
//   byte 1: bits 0-5 number format index, bits 6-7 font index
//   byte 2: bits 0-2 alignment, bits 3-6 left/right/top/bottom border, bit 7 shaded

#include "workbook/biff2_writer.h"

#include "workbook/biff_records.h"

#include "db/cp1250.h"
#include "db/error.h"

#include <QSaveFile>

#include <cmath>

namespace vartesa::workbook {

namespace {

constexpr int Biff2Rows = 16384;
constexpr int Biff2Columns = 256;
constexpr int MaxText = 255;
constexpr quint16 CodePage1250 = 1250;
constexpr quint16 Biff2Xf = 0x0043;
constexpr int MaxXfs = 63; // the cell's 6-bit XF index; 63 would mean "see IXFE record"

QByteArray byteString(const QByteArray& text) {
    QByteArray b;
    put8(b, quint8(text.size()));
    return b + text;
}

QByteArray cp1250(const QString& text) { return db::stringToCp1250(text.left(MaxText)); }

[[noreturn]] void refuse(const QString& what) { throw Error(what, QStringLiteral("xls")); }

} // namespace

void Biff2Writer::begin(const QString& fileName) {
    *this = Biff2Writer();
    fileName_ = fileName;
}

int Biff2Writer::addFont(const QString& name, double points, bool bold, bool italic, bool underline) {
    if (fonts_.size() >= 4)
        refuse(QStringLiteral("Lista poate folosi cel mult patru fonturi."));
    QByteArray b;
    put16(b, quint16(std::lround(points * 20))); // twips
    put16(b, quint16((bold ? 0x01 : 0) | (italic ? 0x02 : 0) | (underline ? 0x04 : 0)));
    b += byteString(cp1250(name));
    fonts_.push_back(b);
    return int(fonts_.size()) - 1;
}

void Biff2Writer::setMargins(double left, double right, double top, double bottom) {
    margins_[0] = left;
    margins_[1] = right;
    margins_[2] = top;
    margins_[3] = bottom;
}

void Biff2Writer::setHeader(const QString& text) { header_ = cp1250(text); }
void Biff2Writer::setFooter(const QString& text) { footer_ = cp1250(text); }

void Biff2Writer::setColumnWidth(int col, double characters) {
    if (col < 1 || col > Biff2Columns)
        refuse(QStringLiteral("Coloana %1 nu exista in lista.").arg(col));
    widths_[col - 1] = quint16(std::clamp(std::lround(characters * 256), 0L, 0xFFFFL));
}

void Biff2Writer::setActiveFont(int index) {
    if (index < 0 || index > 3 || (index > 0 && size_t(index) >= fonts_.size()))
        refuse(QStringLiteral("Fontul %1 nu a fost definit.").arg(index));
    font_ = index;
}

void Biff2Writer::setAlignment(Align align) { align_ = quint8(align); }
void Biff2Writer::setBorders(int sides) { borders_ = quint8(sides & Box); }

void Biff2Writer::setNumberFormat(const QString& code) {
    if (code.isEmpty() || code == QLatin1String("General")) {
        format_ = 0;
        return;
    }
    for (size_t i = 0; i < formats_.size(); ++i)
        if (formats_[i] == code) {
            format_ = int(i);
            return;
        }
    if (formats_.size() >= 64)
        refuse(QStringLiteral("Prea multe formate de numar in lista."));
    formats_.push_back(code);
    format_ = int(formats_.size()) - 1;
}

// XF, 4 bytes: font(1) reserved(1) format+protection(1) alignment+borders(1)
int Biff2Writer::currentXf() {
    QByteArray x;
    put8(x, quint8(font_));
    put8(x, 0);
    put8(x, quint8(format_ & 0x3F));
    put8(x, quint8(align_ | borders_));
    for (size_t i = 0; i < xfs_.size(); ++i)
        if (xfs_[i] == x)
            return int(i);
    if (xfs_.size() >= MaxXfs)
        refuse(QStringLiteral("Prea multe combinatii de format in lista."));
    xfs_.push_back(x);
    return int(xfs_.size()) - 1;
}

QByteArray Biff2Writer::cellHeader(int row, int col) {
    if (row < 1 || row > Biff2Rows || col < 1 || col > Biff2Columns)
        refuse(QStringLiteral("Celula %1,%2 este in afara listei.").arg(row).arg(col));
    QByteArray b;
    put16(b, quint16(row - 1));
    put16(b, quint16(col - 1));
    put8(b, quint8(currentXf()));
    put8(b, quint8((format_ & 0x3F) | (font_ << 6)));
    put8(b, quint8(align_ | borders_));
    return b;
}

void Biff2Writer::putCell(int row, int col, quint16 id, const QByteArray& data) {
    cells_[{row - 1, col - 1}] = {id, data};
}

void Biff2Writer::writeText(int row, int col, const QString& text) {
    QByteArray b = cellHeader(row, col);
    putCell(row, col, quint16(RecordId::Biff2Label), b + byteString(cp1250(text)));
}

void Biff2Writer::writeNumber(int row, int col, double value) {
    QByteArray b = cellHeader(row, col);
    putF64(b, value);
    putCell(row, col, quint16(RecordId::Biff2Number), b);
}

void Biff2Writer::writeBlank(int row, int col) {
    putCell(row, col, quint16(RecordId::Biff2Blank), cellHeader(row, col));
}

QByteArray Biff2Writer::end() const {
    RecordWriter w;
    QByteArray b;
    put16(b, 0x0002); // version
    put16(b, 0x0010); // worksheet
    w.add(RecordId::Biff2Bof, b);
    b.clear();
    put16(b, CodePage1250);
    w.add(RecordId::Codepage, b);
    for (const QString& f : formats_)
        w.add(RecordId::Biff2Format, byteString(cp1250(f)));
    if (fonts_.empty()) {
        QByteArray def;
        put16(def, 200);
        put16(def, 0);
        w.add(RecordId::Font, def + byteString("Arial"));
    }
    for (const QByteArray& f : fonts_)
        w.add(RecordId::Font, f);
    if (xfs_.empty())
        w.add(Biff2Xf, QByteArray(4, '\0'));
    for (const QByteArray& x : xfs_)
        w.add(Biff2Xf, x);
    w.add(RecordId::Header, header_.isEmpty() ? QByteArray() : byteString(header_));
    w.add(RecordId::Footer, footer_.isEmpty() ? QByteArray() : byteString(footer_));
    const RecordId margins[] = {RecordId::LeftMargin, RecordId::RightMargin, RecordId::TopMargin, RecordId::BottomMargin};
    for (int i = 0; i < 4; ++i) {
        b.clear();
        putF64(b, margins_[i]);
        w.add(margins[i], b);
    }
    for (auto [col, width] : widths_) {
        b.clear();
        put8(b, quint8(col));
        put8(b, quint8(col));
        put16(b, width);
        w.add(RecordId::Biff2ColWidth, b);
    }
    int firstRow = 0, lastRow = -1, firstCol = Biff2Columns, lastCol = -1;
    if (!cells_.empty()) {
        firstRow = cells_.begin()->first.first;
        lastRow = cells_.rbegin()->first.first;
    }
    for (const auto& [key, rec] : cells_) {
        firstCol = std::min(firstCol, key.second);
        lastCol = std::max(lastCol, key.second);
    }
    b.clear();
    put16(b, quint16(firstRow));
    put16(b, quint16(lastRow + 1));
    put16(b, quint16(lastCol < 0 ? 0 : firstCol));
    put16(b, quint16(lastCol + 1));
    w.add(RecordId::Biff2Dimensions, b);
    for (const auto& [key, rec] : cells_)
        w.add(rec.first, rec.second);
    w.add(RecordId::Eof, {});
    return w.bytes();
}

void Biff2Writer::save() const {
    if (fileName_.isEmpty())
        refuse(QStringLiteral("Lista nu are nume de fisier."));
    const QByteArray bytes = end();
    QSaveFile f(fileName_);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw Error(QStringLiteral("Nu se poate scrie fisierul %1.").arg(fileName_), fileName_);
}

} // namespace vartesa::workbook
