#pragma once
// The in-memory model of a BIFF8 workbook. Rows are objects kept in a row-indexed
// table; cells live inside their row and store only their column, so inserting a
// row shifts the table, never the cells. Formula references point at row objects,
// so they follow inserted and deleted rows without being rewritten one by one.

#include "workbook/biff_records.h"
#include "workbook/formula_tokens.h"

#include <QString>

#include <memory>
#include <vector>

namespace vartesa::workbook {

class Sheet;
struct Row;

enum class CellType : quint8 { Empty, Blank, Number, Text, Boolean, Error, Formula };

/// Type of the value a formula cell last computed (stored in the file with it).
enum class CachedType : quint8 { Number, Text, Boolean, Error, Empty };

/// A row/column pair of a formula token and the row object it points at.
struct FormulaRef {
    TokenRef token;         // where the fields sit in the tokens
    Sheet* target = nullptr; // sheet pointed into; nullptr: another workbook or several sheets
    Row* row = nullptr;     // row pointed at; nullptr: the stored row number is kept as is
};

struct Formula {
    QByteArray tokens;             // parsed expression; anchored rows are written back on save
    QByteArray extra;              // constants after the tokens (arrays, tMemArea areas)
    quint16 options = 0;           // FORMULA flags (bit0 always calculate)
    CachedType cached = CachedType::Number; // what `Cell::number`/`Cell::text` hold
    std::vector<FormulaRef> refs;  // every row/column reference of `tokens`
    std::vector<RawRecord> trailing; // ARRAY/TABLE records written after this cell
    // References in the tokens of the ARRAY record among `trailing` (positions count
    // from the start of that record's data); they follow rows like `refs` do.
    std::vector<FormulaRef> arrayRefs;
};

struct Cell {
    quint16 col = 0;                 // column, 0-based
    quint16 xf = 15;                 // format (XF index)
    CellType type = CellType::Blank; // never Empty inside a row
    double number = 0;               // number, boolean 0/1, error code, or a formula's cached one
    QString text;                    // text, or a formula's cached text
    std::unique_ptr<Formula> formula; // formula cells only
};

/// A merged area starting in the row that holds it.
struct Merge {
    Row* last = nullptr; // last row of the area (the holding row for one-row areas)
    quint16 firstCol = 0, lastCol = 0;
};

struct Row {
    int index = 0;             // current row number, kept current by inserts and deletes
    std::vector<Cell> cells;   // sorted by column
    bool hasRecord = false;    // written as a ROW record even without cells
    quint16 height = 0x00FF;   // height in twips; bit 15 set means default height
    quint32 options = 0x0100;  // ROW flags(2) and row format(2), as stored at offset 12
    std::vector<Merge> merges; // merged areas whose first row is this one
};

/// One column range's width and format (COLINFO).
struct ColumnInfo {
    quint16 first = 0, last = 0; // columns covered
    quint16 width = 2340;        // 1/256 of a character
    quint16 xf = 15;             // default format of the columns' empty cells
    quint16 options = 0;         // hidden, outline level, collapsed
};

/// FONT record.
struct Font {
    quint16 height = 200;     // twips (1/20 pt)
    quint16 options = 0;      // bit1 italic, bit3 strikeout
    quint16 color = 0x7FFF;   // palette index, 0x7FFF automatic
    quint16 weight = 400;     // 400 normal, 700 bold
    quint16 escapement = 0;   // superscript/subscript
    quint8 underline = 0;     // 0 none, 1 single
    quint8 family = 0;        // font family
    quint8 charset = 0;       // character set
    QString name = QStringLiteral("Arial");
};

/// A rectangular area, 0-based, inclusive.
struct CellRange {
    int firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0;
    bool operator==(const CellRange&) const = default;
};

/// An area stored inside an otherwise verbatim record (hyperlink, conditional format,
/// data validation): rows first(2) last(2), columns first(2) last(2) at `offset`.
struct RecordArea {
    quint16 offset = 0;  // where the area sits in the record data
    Row* first = nullptr; // rows the area spans, followed like formula references
    Row* last = nullptr;
};

/// A record of a substream that is either kept verbatim or stands for a modeled
/// group written in its place.
struct Slot {
    enum Kind : quint8 {
        Opaque, Codepage, Fonts, Formats, Xfs, Sheets, Sst, // workbook globals
        Dimensions, ColInfos, Merges,                         // sheet records
    };
    Slot() = default;
    Slot(Kind k, RawRecord r = {}, std::vector<RecordArea> a = {})
        : kind(k), raw(std::move(r)), areas(std::move(a)) {}

    Kind kind = Opaque;
    RawRecord raw; // Opaque only
    std::vector<RecordArea> areas; // areas inside `raw` that follow rows (sheet records)
};

} // namespace vartesa::workbook
