// Reading strings that go on in CONTINUE records.

#include "workbook/biff8_stream.h"

namespace vartesa::workbook {

// The string of a STRING record and its CONTINUE records. The format restates the
// character width at the start of each continuation; some writers leave it out,
// which shows in the byte count matching the characters exactly.
QString continuedString(const std::vector<Record>& parts) {
    ByteReader head = parts.front().reader();
    const quint16 count = head.u16();
    const quint8 flags = head.u8();
    qsizetype total = 0;
    for (const Record& p : parts)
        total += p.size;
    if (parts.size() > 1 && !(flags & 0x0C) && total - 3 == qsizetype(count) * ((flags & 0x01) ? 2 : 1)) {
        QByteArray joined;
        for (const Record& p : parts)
            joined.append(p.data, p.size);
        return ByteReader(joined.constData(), joined.size(), parts.front().id).unicodeString(2);
    }
    SegmentReader text;
    for (const Record& p : parts)
        text.add(p);
    text.skip(3);
    if (flags & 0x08)
        text.u16(); // rich text runs follow the characters; not kept
    if (flags & 0x04)
        text.u32(); // phonetic block, likewise
    return text.characters(count, flags & 0x01);
}

} // namespace vartesa::workbook
