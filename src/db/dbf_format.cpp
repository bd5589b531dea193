#include "dbf_format.h"

#include "cp1250.h"
#include "error.h"

#include <QFileInfo>
#include <QSet>

#include <cmath>
#include <cstring>
#include <optional>

namespace vartesa::db {
namespace {

std::uint16_t u16(const char* p) {
    return std::uint16_t(std::uint8_t(p[0]) | (std::uint8_t(p[1]) << 8));
}
std::uint32_t u32(const char* p) {
    return std::uint32_t(u16(p)) | (std::uint32_t(u16(p + 2)) << 16);
}
std::uint64_t u64(const char* p) { return std::uint64_t(u32(p)) | (std::uint64_t(u32(p + 4)) << 32); }
void put16(char* p, std::uint16_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}
void put32(char* p, std::uint32_t v) {
    put16(p, std::uint16_t(v & 0xFFFF));
    put16(p + 2, std::uint16_t(v >> 16));
}
void put64(char* p, std::uint64_t v) {
    put32(p, std::uint32_t(v & 0xFFFFFFFFu));
    put32(p + 4, std::uint32_t(v >> 32));
}

bool validType(char t) {
    return t == 'C' || t == 'N' || t == 'F' || t == 'D' || t == 'L';
}

Error fieldError(const QString& table, const Field& f, const QString& what) {
    return Error(QStringLiteral("%1 (campul %2 al tabelei %3)").arg(what, f.name, table), table);
}

QString describe(const QVariant& v) {
    return v.metaType().id() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15)
                                                  : v.toString();
}

// The number as the field's text, rounded half away from zero to its decimals.
QByteArray formatNumber(const QVariant& value, const Field& f, const QString& table,
                        QVariant& stored) {
    const int type = value.metaType().id();
    if (type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::ULongLong ||
        type == QMetaType::UInt || type == QMetaType::Bool) {
        const qlonglong n = value.toLongLong();
        stored = n;
        QByteArray text = QByteArray::number(n);
        if (f.decimals > 0) text += '.' + QByteArray(f.decimals, '0');
        return text;
    }
    double d = 0;
    if (type == QMetaType::Double || type == QMetaType::Float) {
        d = value.toDouble();
    } else {
        const QString t = value.toString().trimmed();
        if (t.isEmpty()) return {};
        bool ok = false;
        d = QString(t).replace(',', '.').toDouble(&ok);
        if (!ok) throw fieldError(table, f, QStringLiteral("Valoarea \"%1\" nu este un numar").arg(t));
    }
    if (!std::isfinite(d))
        throw fieldError(table, f, QStringLiteral("Valoarea %1 nu este un numar").arg(describe(value)));
    const double scale = std::pow(10.0, f.decimals);
    const double scaled = d * scale;
    const double rounded = std::round(scaled + std::copysign(std::abs(scaled) * 4e-16, scaled));
    if (std::abs(rounded) > 9.0e17)
        throw fieldError(table, f, QStringLiteral("Valoarea %1 nu incape in %2 caractere")
                                       .arg(describe(value)).arg(f.length));
    const auto units = static_cast<long long>(rounded);
    if (f.decimals == 0) {
        stored = qlonglong(units);
        return QByteArray::number(units);
    }
    stored = double(units) / scale;
    const long long div = static_cast<long long>(scale);
    const long long a = units < 0 ? -units : units;
    QByteArray frac = QByteArray::number(a % div).rightJustified(f.decimals, '0');
    return (units < 0 ? "-" : "") + QByteArray::number(a / div) + '.' + frac;
}

} // namespace

int Layout::indexOf(const QString& name) const {
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

bool Layout::sameShape(const Layout& o) const {
    if (headerLength != o.headerLength || recordLength != o.recordLength ||
        fields.size() != o.fields.size())
        return false;
    for (size_t i = 0; i < fields.size(); ++i) {
        const Field &a = fields[i], &b = o.fields[i];
        if (a.name != b.name || a.type != b.type || a.length != b.length ||
            a.decimals != b.decimals || a.offset != b.offset)
            return false;
    }
    return true;
}

Layout readLayout(const QByteArray& bytes, const QString& file) {
    const auto bad = [&](const QString& why) {
        return Error(QStringLiteral("Tabela %1 nu este o tabela dBase valida: %2").arg(file, why),
                     file);
    };
    if (bytes.size() < kHeaderSize + 1) throw bad(QStringLiteral("antet prea scurt"));
    const char* h = bytes.constData();
    Layout l;
    l.version = std::uint8_t(h[0]);
    if ((l.version & 0x07) != 0x03 && l.version != 0x02)
        throw bad(QStringLiteral("versiune necunoscuta 0x%1").arg(l.version, 2, 16, QChar('0')));
    const int yy = std::uint8_t(h[1]), mm = std::uint8_t(h[2]), dd = std::uint8_t(h[3]);
    l.lastUpdate = QDate(1900 + yy, mm, dd);
    l.recordCount = u32(h + 4);
    l.headerLength = u16(h + 8);
    l.recordLength = u16(h + 10);
    l.changeCounter = u64(h + 20);
    l.productionIndex = std::uint8_t(h[28]);
    l.languageDriver = std::uint8_t(h[29]);
    if (l.headerLength < kHeaderSize + 1) throw bad(QStringLiteral("lungimea antetului %1").arg(l.headerLength));
    if (l.headerLength > bytes.size())
        throw Error(damagedTableText(file, QStringLiteral("fisierul are doar %1 octeti, antetul cere %2")
                                               .arg(bytes.size()).arg(l.headerLength)),
                    file);

    int offset = 1;
    for (int pos = kHeaderSize; pos + kDescriptorSize <= l.headerLength && h[pos] != 0x0D;
         pos += kDescriptorSize) {
        const char* d = h + pos;
        Field f;
        f.name = QString::fromLatin1(d, int(strnlen(d, 11))).trimmed().toUpper();
        f.type = FieldType(d[11]); // layoutFault judges an unknown one
        f.length = std::uint8_t(d[16]);
        f.decimals = std::uint8_t(d[17]);
        // Character fields longer than 255 keep the high byte in the decimal count.
        if (f.type == FieldType::Char && f.decimals) {
            f.length += f.decimals * 256;
            f.decimals = 0;
        }
        f.offset = offset;
        offset += f.length;
        l.fields.push_back(f);
    }
    return l;
}

Layout parseLayout(const QByteArray& bytes, const QString& file) {
    Layout l = readLayout(bytes, file);
    const QString fault = layoutFault(l);
    if (!fault.isEmpty()) throw Error(damagedTableText(file, fault), file);
    return l;
}

QString layoutFault(const Layout& l) {
    if (l.fields.empty()) return QStringLiteral("antetul nu descrie niciun camp");
    int width = 1;
    for (const Field& f : l.fields) {
        const char type = char(f.type);
        if (!validType(type)) {
            const QString shown = type > ' ' && type < 0x7F ? QString(QChar::fromLatin1(type))
                                                           : QStringLiteral("0x%1").arg(std::uint8_t(type), 2, 16, QChar('0'));
            return QStringLiteral("campul %1 are tipul necunoscut %2").arg(f.name, shown);
        }
        // Dates and logicals have one width in every writer; numbers at most 20 digits in
        // dBase, a little more in some others.
        bool fits = f.length >= 1;
        if (f.type == FieldType::Date) fits = f.length == 8;
        if (f.type == FieldType::Logical) fits = f.length == 1;
        if (f.type == FieldType::Numeric || f.type == FieldType::Float) fits = fits && f.length <= kMaxNumberWidth;
        if (!fits) return QStringLiteral("campul %1 de tip %2 are lungimea %3").arg(f.name, QChar::fromLatin1(type)).arg(f.length);
        if ((f.type == FieldType::Numeric || f.type == FieldType::Float) && f.decimals > f.length)
            return QStringLiteral("campul %1 are %2 zecimale la lungimea %3").arg(f.name).arg(f.decimals).arg(f.length);
        width += f.length;
    }
    if (width != l.recordLength)
        return QStringLiteral("inregistrarea are %1 octeti, campurile cer %2").arg(l.recordLength).arg(width);
    const int header = kHeaderSize + kDescriptorSize * int(l.fields.size()) + 1;
    if (l.headerLength != header && l.headerLength != header + kHeaderExtra)
        return QStringLiteral("antetul are %1 octeti, cele %2 campuri cer %3")
            .arg(l.headerLength).arg(l.fields.size()).arg(header);
    return {};
}

RecordsInFile recordsInFile(const Layout& l, std::int64_t fileSize, char lastByte) {
    RecordsInFile held;
    const std::int64_t body = fileSize - l.headerLength;
    if (body <= 0 || l.recordLength == 0) return held;
    held.whole = body / l.recordLength;
    held.tail = body % l.recordLength;
    if (held.tail == 1 && lastByte == kEndMarker) {
        held.tail = 0;
        held.endMarker = true;
    }
    return held;
}

QString tableFault(const Layout& l, std::int64_t fileSize, char lastByte) {
    const QString fault = layoutFault(l);
    if (!fault.isEmpty()) return fault;
    const RecordsInFile held = recordsInFile(l, fileSize, lastByte);
    if (held.whole == std::int64_t(l.recordCount) && held.tail == 0) return {};
    QString text = QStringLiteral("antetul arata %1 inregistrari, fisierul are %2").arg(l.recordCount).arg(held.whole);
    if (held.tail > 0) text += QStringLiteral(" si inca %1 octeti ai unei inregistrari taiate").arg(held.tail);
    return text;
}

QString damagedTableText(const QString& path, const QString& fault) {
    return QStringLiteral("Tabela %1 este deteriorata: %2.").arg(QFileInfo(path).fileName(), fault);
}

void checkTableFile(const Layout& l, std::int64_t fileSize, char lastByte, const QString& path) {
    const QString fault = tableFault(l, fileSize, lastByte);
    if (!fault.isEmpty()) throw Error(damagedTableText(path, fault), path);
}

Layout makeLayout(std::vector<Field> fields, const QString& file) {
    Layout l;
    l.lastUpdate = QDate::currentDate();
    QSet<QString> seen;
    int offset = 1;
    for (Field& f : fields) {
        f.name = f.name.trimmed().toUpper();
        const auto bad = [&](const QString& why) {
            return Error(QStringLiteral("Campul \"%1\" al tabelei %2: %3").arg(f.name, file, why), file);
        };
        if (f.name.isEmpty() || f.name.size() > 10) throw bad(QStringLiteral("numele are 1-10 caractere"));
        if (seen.contains(f.name)) throw bad(QStringLiteral("apare de doua ori"));
        seen.insert(f.name);
        switch (f.type) {
        case FieldType::Char:
            if (f.length < 1 || f.length > 254) throw bad(QStringLiteral("lungime 1-254"));
            f.decimals = 0;
            break;
        case FieldType::Numeric:
        case FieldType::Float:
            if (f.length < 1 || f.length > 20 || f.decimals < 0 ||
                (f.decimals > 0 && f.decimals > f.length - 2))
                throw bad(QStringLiteral("dimensiune numerica invalida (%1,%2)").arg(f.length).arg(f.decimals));
            break;
        case FieldType::Date:
            f.length = 8;
            f.decimals = 0;
            break;
        case FieldType::Logical:
            f.length = 1;
            f.decimals = 0;
            break;
        }
        f.offset = offset;
        offset += f.length;
    }
    if (fields.empty()) throw Error(QStringLiteral("Tabela %1 trebuie sa aiba campuri").arg(file), file);
    if (offset > 65535) throw Error(QStringLiteral("Inregistrarea tabelei %1 este prea lunga").arg(file), file);
    l.recordLength = std::uint16_t(offset);
    l.headerLength = std::uint16_t(kHeaderSize + kDescriptorSize * fields.size() + 1);
    l.fields = std::move(fields);
    return l;
}

QByteArray buildHeader(const Layout& l) {
    QByteArray out(l.headerLength, '\0');
    char* h = out.data();
    h[0] = char(l.version);
    stampHeader(h, l.recordCount, l.lastUpdate.isValid() ? l.lastUpdate : QDate::currentDate(),
                l.changeCounter);
    put16(h + 8, l.headerLength);
    put16(h + 10, l.recordLength);
    h[28] = char(l.productionIndex);
    h[29] = char(l.languageDriver);
    int pos = kHeaderSize;
    for (const Field& f : l.fields) {
        char* d = h + pos;
        const QByteArray name = f.name.toLatin1().left(10);
        std::memcpy(d, name.constData(), size_t(name.size()));
        d[11] = char(f.type);
        d[16] = char(f.length & 0xFF);
        d[17] = char(f.type == FieldType::Char ? (f.length >> 8) : f.decimals);
        pos += kDescriptorSize;
    }
    h[pos] = 0x0D;
    return out;
}

void stampHeader(char* h, std::uint32_t recordCount, const QDate& date, std::uint64_t counter) {
    h[1] = char(std::clamp(date.year() - 1900, 0, 255));
    h[2] = char(date.month());
    h[3] = char(date.day());
    put32(h + 4, recordCount);
    put64(h + 20, counter);
}

void decodeChar(const char* p, int len, QByteArray& out) {
    while (len > 0 && (p[len - 1] == ' ' || p[len - 1] == '\0')) --len;
    cp1250ToUtf8(p, len, out);
}

bool decodeNumber(const char* p, int len, std::int64_t& integer, double& real, bool& isInteger) {
    int i = 0;
    while (i < len && (p[i] == ' ' || p[i] == '\0')) ++i;
    while (len > i && (p[len - 1] == ' ' || p[len - 1] == '\0')) --len;
    if (i == len) return false;
    bool negative = false;
    if (p[i] == '-' || p[i] == '+') {
        negative = p[i] == '-';
        ++i;
    }
    std::int64_t whole = 0;
    int digits = 0;
    for (; i < len && p[i] >= '0' && p[i] <= '9'; ++i, ++digits) {
        if (digits >= 18) return false;
        whole = whole * 10 + (p[i] - '0');
    }
    if (i == len) {
        if (digits == 0) return false;
        integer = negative ? -whole : whole;
        real = double(integer);
        isInteger = true;
        return true;
    }
    if (p[i] != '.' && p[i] != ',') return false; // stars of an overflow, or garbage
    ++i;
    double frac = 0, scale = 1;
    int fracDigits = 0;
    for (; i < len && p[i] >= '0' && p[i] <= '9'; ++i, ++fracDigits) {
        frac = frac * 10 + (p[i] - '0');
        scale *= 10;
    }
    if (i != len || digits + fracDigits == 0) return false;
    real = double(whole) + frac / scale;
    if (negative) real = -real;
    integer = static_cast<std::int64_t>(real);
    isInteger = false;
    return true;
}

bool decodeDate(const char* p, int len, QDate& date) {
    if (len < 8) return false;
    int v[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    int pos = 0;
    for (int k = 0; k < 3; ++k) {
        for (int j = 0; j < widths[k]; ++j, ++pos) {
            if (p[pos] < '0' || p[pos] > '9') return false;
            v[k] = v[k] * 10 + (p[pos] - '0');
        }
    }
    date = QDate(v[0], v[1], v[2]);
    return date.isValid();
}

int decodeLogical(char c) {
    switch (c) {
    case 'T': case 't': case 'Y': case 'y': return 1;
    case 'F': case 'f': case 'N': case 'n': return 0;
    default: return -1;
    }
}

namespace {

// A "yyyy-MM-dd" text of digits, the form every loaded date column holds, read without
// the general parser (a year's list reads tens of thousands of them); nullopt for any
// other text, which the parser takes.
std::optional<QDate> plainIsoDate(const QString& t) {
    if (t.size() != 10 || t[4] != u'-' || t[7] != u'-') return std::nullopt;
    int v[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8}, widths[3] = {4, 2, 2};
    for (int k = 0; k < 3; ++k)
        for (int i = starts[k]; i < starts[k] + widths[k]; ++i) {
            const char16_t c = t[i].unicode();
            if (c < u'0' || c > u'9') return std::nullopt;
            v[k] = v[k] * 10 + (c - u'0');
        }
    const QDate date(v[0], v[1], v[2]);
    return date.isValid() ? date : QDate();
}

} // namespace

QDate dateFromValue(const QVariant& value) {
    const int type = value.metaType().id();
    if (type == QMetaType::QDate) return value.toDate();
    if (type == QMetaType::QDateTime) return value.toDateTime().date();
    if (type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Double) {
        // A yyyyMMdd text reaches a DATE column as a number; any other number is no date.
        const double d = value.toDouble();
        if (d != std::floor(d) || d < 10000101 || d > 99991231) return {};
        return QDate::fromString(QString::number(qlonglong(d)), QStringLiteral("yyyyMMdd"));
    }
    const QString t = value.toString().trimmed();
    if (const std::optional<QDate> iso = plainIsoDate(t)) return *iso;
    if (t.count('.') == 2) return QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    if (t.size() == 10 && t[4] == '-') return QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (t.size() == 8) return QDate::fromString(t, QStringLiteral("yyyyMMdd"));
    return {};
}

QVariant encodeField(const Field& f, const QVariant& value, char* dest, const QString& table) {
    std::memset(dest, ' ', size_t(f.length));
    if (value.isNull() || !value.isValid()) {
        return f.type == FieldType::Char ? QVariant(QString()) : QVariant();
    }
    switch (f.type) {
    case FieldType::Char: {
        QString text;
        if (value.metaType().id() == QMetaType::Double) {
            const double d = value.toDouble();
            text = d == std::floor(d) && std::abs(d) < 1e15 ? QString::number(qlonglong(d))
                                                           : QString::number(d, 'g', 15);
        } else {
            text = value.toString();
        }
        QByteArray bytes = stringToCp1250(text);
        while (!bytes.isEmpty() && bytes.back() == ' ') bytes.chop(1);
        // A text is refused as a number is, never cut without a word: an operation that
        // keeps only the start of a long text cuts it on purpose before storing it.
        if (bytes.size() > f.length)
            throw fieldError(table, f, QStringLiteral("Textul \"%1\" are %2 caractere si nu incape in campul de %3 caractere")
                                           .arg(text.trimmed()).arg(bytes.size()).arg(f.length));
        std::memcpy(dest, bytes.constData(), size_t(bytes.size()));
        return cp1250ToString(bytes.constData(), int(bytes.size()));
    }
    case FieldType::Numeric:
    case FieldType::Float: {
        QVariant stored;
        const QByteArray text = formatNumber(value, f, table, stored);
        if (text.isEmpty()) return {};
        if (text.size() > f.length)
            throw fieldError(table, f, QStringLiteral("Valoarea %1 nu incape in campul numeric de %2 caractere")
                                           .arg(QString::fromLatin1(text)).arg(f.length));
        std::memcpy(dest + f.length - text.size(), text.constData(), size_t(text.size()));
        return stored;
    }
    case FieldType::Date: {
        if (value.metaType().id() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return {};
        const QDate d = dateFromValue(value);
        if (!d.isValid() || d.year() < 1 || d.year() > 9999)
            throw fieldError(table, f, QStringLiteral("Valoarea \"%1\" nu este o data").arg(describe(value)));
        const QByteArray text = d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
        std::memcpy(dest, text.constData(), 8);
        return d.toString(Qt::ISODate);
    }
    case FieldType::Logical: {
        int b = -1;
        const int type = value.metaType().id();
        if (type == QMetaType::QString) {
            const QString t = value.toString().trimmed().toUpper();
            b = t.isEmpty() ? -1 : (t == "DA" ? 1 : t == "NU" ? 0 : decodeLogical(t[0].toLatin1()));
        } else {
            b = value.toLongLong() != 0;
        }
        if (b < 0) return {};
        dest[0] = b ? 'T' : 'F';
        return qlonglong(b);
    }
    }
    return {};
}

} // namespace vartesa::db
