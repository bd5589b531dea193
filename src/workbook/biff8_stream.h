#pragma once
// Walking the records of a BIFF8 stream, and reading data that goes on in CONTINUE
// records. Internal to src/workbook.

#include "workbook/biff_records.h"

#include <QString>

#include <vector>

namespace vartesa::workbook {

// One record of the stream, pointing into it.
struct Record {
    quint16 id = 0;
    const char* data = nullptr;
    quint16 size = 0;
    qsizetype pos = 0; // offset of the record header in the stream
    RawRecord raw() const { return {id, QByteArray(data, size)}; }
    ByteReader reader() const { return ByteReader(data, size, id); }
};

class RecordStream {
public:
    RecordStream(const QByteArray& s, qsizetype pos) : s_(s), pos_(pos) {}
    bool next(Record& r) {
        if (pos_ + 4 > s_.size())
            return false;
        const char* h = s_.constData() + pos_;
        quint16 size = get16(h + 2);
        if (pos_ + 4 + size > s_.size())
            throwDamaged(QStringLiteral("inregistrare trunchiata la pozitia %1").arg(pos_));
        r = {get16(h), h + 4, size, pos_};
        pos_ += 4 + size;
        return true;
    }
    // Next record's id without consuming it (0xFFFF at the end).
    quint16 peek() const { return pos_ + 4 <= s_.size() ? get16(s_.constData() + pos_) : 0xFFFF; }

private:
    const QByteArray& s_;
    qsizetype pos_;
};

// Reads across a record and its CONTINUE records (string table, long STRING). Character data split by a
// record boundary resumes after a fresh flags byte giving its width.
class SegmentReader {
public:
    void add(const Record& r) { segs_.push_back(r); }
    bool atEnd() {
        skipEmpty();
        return seg_ >= segs_.size();
    }
    quint8 u8() {
        skipEmpty();
        if (seg_ >= segs_.size())
            throwDamaged(QStringLiteral("tabela de texte trunchiata"));
        return quint8(segs_[seg_].data[pos_++]);
    }
    quint16 u16() { quint16 lo = u8(); return quint16(lo | (u8() << 8)); }
    quint32 u32() { quint32 lo = u16(); return lo | (quint32(u16()) << 16); }
    void skip(quint32 n) { while (n--) u8(); }
    QString characters(int count, bool wide) {
        QString s;
        s.reserve(count);
        while (count > 0) {
            if (pos_ >= segs_[seg_].size) { // continues in the next record
                ++seg_;
                pos_ = 0;
                if (seg_ >= segs_.size() || segs_[seg_].size == 0)
                    throwDamaged(QStringLiteral("tabela de texte trunchiata"));
                wide = segs_[seg_].data[pos_++] & 0x01;
            }
            const Record& r = segs_[seg_];
            int avail = int(r.size - pos_) / (wide ? 2 : 1);
            int take = std::min(avail, count);
            if (take == 0)
                throwDamaged(QStringLiteral("text rupt in tabela de texte"));
            if (wide)
                for (int i = 0; i < take; ++i)
                    s.append(QChar(get16(r.data + pos_ + 2 * i)));
            else
                s.append(QString::fromLatin1(r.data + pos_, take));
            pos_ += take * (wide ? 2 : 1);
            count -= take;
        }
        return s;
    }

private:
    void skipEmpty() {
        while (seg_ < segs_.size() && pos_ >= segs_[seg_].size) {
            ++seg_;
            pos_ = 0;
        }
    }
    std::vector<Record> segs_;
    size_t seg_ = 0;
    int pos_ = 0;
};

/// The string of a STRING record and its CONTINUE records (`parts`, in order).
QString continuedString(const std::vector<Record>& parts);

} // namespace vartesa::workbook
