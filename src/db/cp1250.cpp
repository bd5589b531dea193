#include "cp1250.h"

#include <array>
#include <cstring>

namespace vartesa::db {
namespace {

// Upper half of the code page, 0x80..0xFF. The five unassigned bytes (0x81, 0x83,
// 0x88, 0x90, 0x98) map to the C1 control of the same value so they survive a round trip.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

// UTF-8 of each upper-half byte, built once: decoding is then a table copy.
struct Utf8Table {
    std::array<std::array<char, 4>, 128> bytes{};
    std::array<unsigned char, 128> length{};
    Utf8Table() {
        for (int i = 0; i < 128; ++i) {
            const char16_t cp = kHigh[i];
            if (cp < 0x800) {
                bytes[i] = {char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F)), 0, 0};
                length[i] = 2;
            } else {
                bytes[i] = {char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)),
                            char(0x80 | (cp & 0x3F)), 0};
                length[i] = 3;
            }
        }
    }
};

const Utf8Table& utf8Table() {
    static const Utf8Table table;
    return table;
}

unsigned char encodeChar(char16_t c) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    switch (c) { // comma-below letters, written with the cedilla the code page has
    case 0x0218: return 0xAA;
    case 0x0219: return 0xBA;
    case 0x021A: return 0xDE;
    case 0x021B: return 0xFE;
    default: break;
    }
    for (int i = 0; i < 128; ++i)
        if (kHigh[i] == c) return static_cast<unsigned char>(0x80 + i);
    return '?';
}

} // namespace

QString storedLetters(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        switch (c.unicode()) {
        case 0x0219: c = QChar(0x015F); break; // ș -> ş
        case 0x0218: c = QChar(0x015E); break; // Ș -> Ş
        case 0x021B: c = QChar(0x0163); break; // ț -> ţ
        case 0x021A: c = QChar(0x0162); break; // Ț -> Ţ
        default: break;
        }
    }
    return out;
}

bool sameLetters(const QString& a, const QString& b, Qt::CaseSensitivity cs) {
    return storedLetters(a).compare(storedLetters(b), cs) == 0;
}

char16_t cp1250CodePoint(unsigned char byte) {
    return byte < 0x80 ? char16_t(byte) : kHigh[byte - 0x80];
}

void cp1250ToUtf8(const char* bytes, int len, QByteArray& out) {
    const Utf8Table& t = utf8Table();
    const qsizetype start = out.size();
    out.resize(start + 3 * qsizetype(len)); // the longest form takes three bytes
    char* d = out.data() + start;
    for (int i = 0; i < len; ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *d++ = char(b);
        } else {
            const int n = t.length[b - 0x80];
            std::memcpy(d, t.bytes[b - 0x80].data(), size_t(n));
            d += n;
        }
    }
    out.resize(d - out.constData());
}

QString cp1250ToString(const char* bytes, int len) {
    QString s(len, Qt::Uninitialized);
    QChar* d = s.data();
    for (int i = 0; i < len; ++i)
        d[i] = QChar(cp1250CodePoint(static_cast<unsigned char>(bytes[i])));
    return s;
}

QByteArray stringToCp1250(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(char(encodeChar(c.unicode())));
    return out;
}

} // namespace vartesa::db
