#pragma once
// The dBase III/IV table file, as bytes. Knows nothing of SQL.
//
// File layout (little-endian):
//   header, 32 bytes
//     0      version (0x03: dBase III/IV without memo)
//     1..3   last update, YY MM DD (YY = year - 1900)
//     4..7   record count
//     8..9   header length (this header, the field descriptors and the 0x0D terminator)
//     10..11 record length (deletion flag + every field)
//     12..19 reserved; written as zero
//     20..27 reserved for multi-user use; we keep a change counter here so that other
//            workstations notice an in-place update even when the modification time
//            does not move (other readers ignore these bytes)
//     28     production index (.mdx) flag
//     29     language driver (0xC8: Windows-1250)
//     30..31 reserved
//   field descriptors, 32 bytes each
//     0..10  name, NUL padded      11 type (C N F D L)
//     12..15 reserved              16 length     17 decimal count
//     18..31 reserved
//   0x0D
//   records, each: deletion flag (' ' live, '*' deleted) then the fields as text
//   0x1A end marker
//
// Reading is lenient about values (blank or starred numbers read as empty) and strict about
// the file's shape: a header that disagrees with its field descriptors or with the file's
// size (a copy cut short, a count a crashed writer never updated) is refused, never read
// short or written over. Writing is strict (a value that does not fit its field is refused).

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <vector>

namespace vartesa::db {

enum class FieldType : char { Char = 'C', Numeric = 'N', Float = 'F', Date = 'D', Logical = 'L' };

struct Field {
    QString name;        // upper case as stored, at most 10 characters
    FieldType type = FieldType::Char;
    int length = 1;      // bytes in the record
    int decimals = 0;    // digits after the point (N and F)
    int offset = 0;      // from the record start, the deletion flag being offset 0
};

struct Layout {
    std::uint8_t version = 0x03;
    QDate lastUpdate;            // invalid when the header holds no date
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 1;
    std::uint64_t changeCounter = 0;   // bytes 20..27
    std::uint8_t productionIndex = 0;  // byte 28
    std::uint8_t languageDriver = 0xC8;
    std::vector<Field> fields;

    /// Index of the field with this name (any case), or -1.
    int indexOf(const QString& name) const;
    /// Same field names, types, sizes and record geometry.
    bool sameShape(const Layout& other) const;
};

constexpr int kHeaderSize = 32;
constexpr int kDescriptorSize = 32;
constexpr char kEndMarker = 0x1A;
/// Bytes some writers leave between the field descriptors' terminator and the first record.
constexpr int kHeaderExtra = 263;
/// The widest number field a table of another writer may hold.
constexpr int kMaxNumberWidth = 32;

/// Reads the header and field descriptors as they stand, also when their numbers disagree
/// (see layoutFault); throws vartesa::Error naming `file` only when the bytes are no dBase
/// table at all or end inside the header.
Layout readLayout(const QByteArray& bytes, const QString& file);

/// Reads the header and field descriptors; throws vartesa::Error naming `file` when the
/// bytes are not a dBase table or the header disagrees with its own field descriptors.
Layout parseLayout(const QByteArray& bytes, const QString& file);

/// What is wrong with a header read by readLayout, in the words that follow "este
/// deteriorata: ": a field of an unknown type or of a width out of range, a record length
/// other than 1 + the fields' widths, a header length other than 32 + 32 per field + 1 (or
/// that plus the 263 bytes some writers add). Empty when the header agrees with itself.
QString layoutFault(const Layout& layout);

/// How the bytes after a header lie, for a file of `fileSize` bytes ending in `lastByte`.
struct RecordsInFile {
    std::int64_t whole = 0; // whole records after the header
    std::int64_t tail = 0;  // bytes of a record cut short after them
    bool endMarker = false; // the 0x1A after the whole records is there
};
RecordsInFile recordsInFile(const Layout& layout, std::int64_t fileSize, char lastByte);

/// layoutFault, or else the disagreement of the header's record count with the records the
/// file holds ("antetul arata 812 inregistrari, fisierul are 813"); empty when the file is
/// whole: count x record length + header length = size, with or without the end marker.
QString tableFault(const Layout& layout, std::int64_t fileSize, char lastByte);

/// The refusal of a damaged table: "Tabela <file name> este deteriorata: <fault>."
QString damagedTableText(const QString& path, const QString& fault);

/// Throws vartesa::Error with damagedTableText when tableFault finds a fault.
void checkTableFile(const Layout& layout, std::int64_t fileSize, char lastByte, const QString& path);

/// A layout for new fields: offsets, record and header length computed; names upper-cased.
/// Throws when a name is empty, longer than 10 characters, repeated, or a size is invalid.
Layout makeLayout(std::vector<Field> fields, const QString& file);

/// Header, field descriptors and terminator, as written to disk.
QByteArray buildHeader(const Layout& layout);

/// Overwrites the first 32 header bytes' counts, date and change counter in `header32`.
void stampHeader(char* header32, std::uint32_t recordCount, const QDate& date,
                 std::uint64_t changeCounter);

// --- one decoder per field type; each reads the field's bytes ---------------------------

/// Character field, right-trimmed, Windows-1250 converted to UTF-8 appended to `out`.
void decodeChar(const char* p, int len, QByteArray& out);

/// Numeric or float field. Returns false for a blank, starred or unreadable value.
/// Sets `isInteger` when the text has no decimal point (and fits 64 bits).
bool decodeNumber(const char* p, int len, std::int64_t& integer, double& real, bool& isInteger);

/// Date field YYYYMMDD; false for blanks or an impossible date.
bool decodeDate(const char* p, int len, QDate& date);

/// Logical field: 1 true, 0 false, -1 unknown.
int decodeLogical(char c);

/// Writes `value` into the field's bytes at `dest`. Null writes blanks. Throws
/// vartesa::Error naming `table`, the field and the value when it does not fit or has the
/// wrong kind. Returns the value as the table now holds it (texts cut and trimmed, numbers
/// rounded to the field's decimals, dates as yyyy-MM-dd).
QVariant encodeField(const Field& field, const QVariant& value, char* dest, const QString& table);

/// Reads a date given as yyyy-MM-dd, dd.MM.yyyy or yyyyMMdd text (the last also as the
/// number SQLite makes of it). Invalid QDate when it is none of these.
QDate dateFromValue(const QVariant& value);

} // namespace vartesa::db
