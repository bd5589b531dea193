// Bounds-checked field reading and record/string encoding for BIFF streams.

#include "workbook/biff_records.h"

#include "db/error.h"

#include <QtEndian>

#include <cstring>

namespace vartesa::workbook {

void throwDamaged(const QString& why) {
    throw Error(QStringLiteral("Registrul de calcul este deteriorat: %1.").arg(why), QStringLiteral("xls"));
}

void ByteReader::need(qsizetype n) const {
    if (n < 0 || pos_ + n > size_)
        throwDamaged(QStringLiteral("inregistrarea 0x%1 este prea scurta").arg(id_, 4, 16, QChar('0')));
}

quint16 ByteReader::u16() {
    need(2);
    quint16 v = qFromLittleEndian<quint16>(p_ + pos_);
    pos_ += 2;
    return v;
}

quint32 ByteReader::u32() {
    need(4);
    quint32 v = qFromLittleEndian<quint32>(p_ + pos_);
    pos_ += 4;
    return v;
}

double ByteReader::f64() {
    need(8);
    quint64 bits = qFromLittleEndian<quint64>(p_ + pos_);
    pos_ += 8;
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

QString ByteReader::characters(int count, bool wide) {
    if (wide) {
        need(qsizetype(count) * 2);
        QString s(count, Qt::Uninitialized);
        for (int i = 0; i < count; ++i)
            s[i] = QChar(qFromLittleEndian<quint16>(p_ + pos_ + 2 * i));
        pos_ += qsizetype(count) * 2;
        return s;
    }
    need(count);
    QString s = QString::fromLatin1(p_ + pos_, count);
    pos_ += count;
    return s;
}

QString ByteReader::unicodeString(int countBytes) {
    int count = countBytes == 1 ? u8() : u16();
    quint8 flags = u8();
    // flags: bit0 two bytes per character, bit2 phonetic block, bit3 rich text runs
    quint16 runs = (flags & 0x08) ? u16() : 0;
    quint32 phonetic = (flags & 0x04) ? u32() : 0;
    QString s = characters(count, flags & 0x01);
    skip(qsizetype(runs) * 4);
    skip(qsizetype(phonetic));
    return s;
}

void RecordWriter::add(quint16 id, const QByteArray& data) {
    qsizetype off = 0;
    quint16 currentId = id;
    do {
        qsizetype n = std::min<qsizetype>(MaxRecordData, data.size() - off);
        put16(out_, currentId);
        put16(out_, quint16(n));
        out_.append(data.constData() + off, n);
        off += n;
        currentId = quint16(RecordId::Continue);
    } while (off < data.size());
}

void RecordWriter::addString(RecordId id, const QString& text) {
    const QString s = text.left(0x7FFF); // longest text a cell may hold
    const bool wide = !fitsCompressed(s);
    const int charSize = wide ? 2 : 1;
    QByteArray cur;
    put16(cur, quint16(s.size()));
    put8(cur, wide ? 1 : 0);
    quint16 currentId = quint16(id);
    qsizetype done = 0;
    for (;;) {
        const qsizetype n = std::min<qsizetype>(s.size() - done, (MaxRecordData - cur.size()) / charSize);
        if (wide)
            for (qsizetype k = 0; k < n; ++k)
                put16(cur, s[done + k].unicode());
        else
            cur += s.mid(done, n).toLatin1();
        done += n;
        add(currentId, cur);
        if (done >= s.size())
            return;
        currentId = quint16(RecordId::Continue);
        cur.clear();
        put8(cur, wide ? 1 : 0);
    }
}

void put8(QByteArray& b, quint8 v) { b.append(char(v)); }
void put16(QByteArray& b, quint16 v) {
    char c[2];
    qToLittleEndian<quint16>(v, c);
    b.append(c, 2);
}
void put32(QByteArray& b, quint32 v) {
    char c[4];
    qToLittleEndian<quint32>(v, c);
    b.append(c, 4);
}
void putF64(QByteArray& b, double v) {
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    char c[8];
    qToLittleEndian<quint64>(bits, c);
    b.append(c, 8);
}
quint16 get16(const char* p) { return qFromLittleEndian<quint16>(p); }
quint32 get32(const char* p) { return qFromLittleEndian<quint32>(p); }
void set16(QByteArray& b, qsizetype off, quint16 v) { qToLittleEndian<quint16>(v, b.data() + off); }
void set32(QByteArray& b, qsizetype off, quint32 v) { qToLittleEndian<quint32>(v, b.data() + off); }

bool fitsCompressed(const QString& s) {
    for (QChar c : s)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

QByteArray encodeUnicodeString(const QString& s, int countBytes) {
    QByteArray b;
    const qsizetype limit = countBytes == 1 ? 0xFF : 0xFFFF;
    const QString text = s.left(limit);
    if (countBytes == 1)
        put8(b, quint8(text.size()));
    else
        put16(b, quint16(text.size()));
    if (fitsCompressed(text)) {
        put8(b, 0);
        b.append(text.toLatin1());
    } else {
        put8(b, 1);
        for (QChar c : text)
            put16(b, c.unicode());
    }
    return b;
}

} // namespace vartesa::workbook
