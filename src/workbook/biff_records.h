#pragma once
// BIFF record plumbing shared by the readers and writers: record ids, a
// bounds-checked byte reader, a record writer, and the string encodings.
// A BIFF stream is a run of records: id(2) size(2) data(size), little endian.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vartesa::workbook {

/// Record ids. BIFF8 ids unless marked Biff2.
enum class RecordId : quint16 {
    Biff2Dimensions = 0x0000, Biff2Blank = 0x0001, Biff2Integer = 0x0002, Biff2Number = 0x0003,
    Biff2Label = 0x0004, Biff2BoolErr = 0x0005, Formula = 0x0006, Biff2Bof = 0x0009, Eof = 0x000A,
    Header = 0x0014, Footer = 0x0015, ExternSheet = 0x0017, Name = 0x0018, Biff2Format = 0x001E,
    Biff2ColWidth = 0x0024, LeftMargin = 0x0026, RightMargin = 0x0027, TopMargin = 0x0028,
    BottomMargin = 0x0029, Font = 0x0031, Continue = 0x003C, Codepage = 0x0042, Biff2Ixfe = 0x0044,
    DefColWidth = 0x0055, BoundSheet = 0x0085, ColInfo = 0x007D, MulRk = 0x00BD, MulBlank = 0x00BE,
    RString = 0x00D6, DbCell = 0x00D7, Xf = 0x00E0, MergedCells = 0x00E5, Sst = 0x00FC,
    LabelSst = 0x00FD, ExtSst = 0x00FF, SupBook = 0x01AE, Dimensions = 0x0200, Blank = 0x0201,
    Number = 0x0203, Label = 0x0204, BoolErr = 0x0205, String = 0x0207, Row = 0x0208,
    Index = 0x020B, Array = 0x0221, Table = 0x0236, Rk = 0x027E, Style = 0x0293, Window2 = 0x023E,
    FilePass = 0x002F, HLink = 0x01B8, CondFmt = 0x01B0, Dv = 0x01BE, Selection = 0x001D, Pane = 0x0041, Scl = 0x00A0, Format = 0x041E, ShrFmla = 0x04BC, Bof = 0x0809,
};

/// Largest data part of one BIFF8 record; longer contents continue in CONTINUE records.
constexpr int MaxRecordData = 8224;

/// One record as stored: id and data, without the 4-byte header.
struct RawRecord {
    quint16 id = 0;  // record id
    QByteArray data; // record data
};

/// Reads little-endian fields from one record's data; every read checks the size
/// first and throws vartesa::Error naming the record when it would run past the end.
class ByteReader {
public:
    ByteReader(const char* data, qsizetype size, quint16 recordId)
        : p_(data), size_(size), id_(recordId) {}
    explicit ByteReader(const RawRecord& r) : ByteReader(r.data.constData(), r.data.size(), r.id) {}

    qsizetype pos() const { return pos_; }
    qsizetype left() const { return size_ - pos_; }
    const char* here() const { return p_ + pos_; }
    void need(qsizetype n) const;
    void skip(qsizetype n) { need(n); pos_ += n; }
    quint8 u8() { need(1); return quint8(p_[pos_++]); }
    quint16 u16();
    quint32 u32();
    double f64();
    /// BIFF8 string: `countBytes` (1 or 2) character count, flags, characters; rich
    /// text runs and phonetic data are skipped.
    QString unicodeString(int countBytes);
    /// Characters of a string whose count and flags were already read.
    QString characters(int count, bool wide);

private:
    const char* p_;      // record data
    qsizetype size_;     // bytes in the record data
    quint16 id_;         // record id, for the error message
    qsizetype pos_ = 0;  // next byte to read
};

/// Appends records to a stream; long data is split into CONTINUE records.
class RecordWriter {
public:
    QByteArray& bytes() { return out_; }
    qsizetype pos() const { return out_.size(); }
    void add(quint16 id, const QByteArray& data);
    void add(RecordId id, const QByteArray& data) { add(quint16(id), data); }
    /// A record holding one string with a 2-byte count (STRING): characters past the
    /// first record go on in CONTINUE records, each starting with the width flags.
    void addString(RecordId id, const QString& text);

private:
    QByteArray out_; // the stream written so far
};

// Little-endian appenders used to build record data.
void put8(QByteArray& b, quint8 v);
void put16(QByteArray& b, quint16 v);
void put32(QByteArray& b, quint32 v);
void putF64(QByteArray& b, double v);
quint16 get16(const char* p);
quint32 get32(const char* p);
void set16(QByteArray& b, qsizetype off, quint16 v);
void set32(QByteArray& b, qsizetype off, quint32 v);

/// True when every character fits in one byte (the compressed string form).
bool fitsCompressed(const QString& s);
/// BIFF8 string with a `countBytes` (1 or 2) count, compressed when possible.
QByteArray encodeUnicodeString(const QString& s, int countBytes);

[[noreturn]] void throwDamaged(const QString& why);

} // namespace vartesa::workbook
