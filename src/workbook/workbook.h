#pragma once
// A legacy .xls workbook (BIFF8 inside a compound file): open, read and change
// cells, insert and delete rows and columns keeping formats and formulas, save.
// Rows and columns are 0-based. Records the engine does not model are kept as
// they were read and written back unchanged.
//
// Every reference follows inserted and deleted rows by one rule, however far below
// the used rows it points; only the sheet's last row stays put, so ranges to the end
// of a column keep that meaning. Defined names (print areas, print titles), the tokens
// of array formulas and the areas of hyperlinks, conditional formats and data
// validations follow rows like cell formulas do. A copied row or column gives each
// array formula in it its own first cell; a copy that would cut an array formula in
// two is refused. Saving computes the results of the formulas in the set that
// formula_eval.h names; every other formula keeps its stored value and is marked for
// the reader to compute again. The container's other streams and storages (document
// summary, macro project, embedded objects) are written back byte for byte; one whose
// sectors are damaged is left out rather than making the workbook unreadable.
// Limits: notes, drawings and the formulas inside conditional formats and validations
// keep their rows; rich text runs of strings are dropped on save; deleting a row looks
// at every formula of the workbook (inserting does not); computed comparisons of
// numbers are exact (0.1+0.2=0.3 is FALSE), with no 15-digit tolerance.

#include "workbook/workbook_model.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace vartesa::workbook {

struct BookData;

/// Largest row and column count of a BIFF8 sheet.
constexpr int MaxRows = 65536;
constexpr int MaxColumns = 256;

class Sheet {
public:
    const QString& name() const { return name_; }

    /// Last row / column holding a cell (blank formatted cells count), -1 when empty.
    int lastRow() const;
    int lastColumn() const;

    /// Row and column of every text cell, row by row and left to right; a scan for
    /// markers visits only these instead of every position of the used area.
    std::vector<std::pair<int, int>> textCells() const;

    CellType cellType(int row, int col) const;
    /// The value as text: numbers in their shortest form, formulas by their cached value.
    QString text(int row, int col) const;
    /// True for a formula cell that asks readers to compute its value again: so marked
    /// in the file read, or set here (a save computes and unmarks the formulas of the
    /// set in formula_eval.h and marks the others).
    bool needsRecalculation(int row, int col) const;
    /// The numeric value (formulas: cached); 0 for text and empty cells.
    double number(int row, int col) const;
    /// Format (XF index) of a cell; for an empty cell, the one a new value would get.
    int cellFormat(int row, int col) const;

    /// Writing keeps the cell's format; a new cell takes its row's or column's format.
    /// Throws vartesa::Error when the cell is outside the sheet.
    void setText(int row, int col, const QString& text);
    void setNumber(int row, int col, double value);
    void setBlank(int row, int col);
    void setCellFormat(int row, int col, int xf);
    /// Stores a formula from its tokens (see formula_text.h to build them from text).
    void setFormulaTokens(int row, int col, const QByteArray& tokens);
    /// Stores a formula from its text without the leading '=' (see formula_text.h).
    void setFormula(int row, int col, const QString& text);

    /// Inserts `count` copies of row `row` at `row`; the original and everything below
    /// move down. Copies keep formats, values, merged areas and formulas with relative
    /// references moved to the copy. References to rows at or below `row` move down,
    /// so a range ending on the template row grows with each insertion. Throws
    /// vartesa::Error, changing nothing, when the row holds part of an array formula
    /// that spans several rows.
    void insertRowCopies(int row, int count = 1);
    /// Deletes `count` rows at `row`; references to deleted rows become #REF!, ranges shrink.
    void deleteRows(int row, int count = 1);
    /// Inserts a copy of columns firstCol..lastCol at `atCol`; columns from `atCol` move right.
    /// Throws, changing nothing, when an array formula reaches outside the copied columns.
    void insertColumnCopies(int firstCol, int lastCol, int atCol);
    /// Exchanges the values (and formulas) of two rows; formats stay in place.
    void swapRowValues(int a, int b);

    std::vector<CellRange> mergedAreas() const;
    void mergeCells(const CellRange& area);
    /// The areas a formula cell refers to, in token order (empty for other cells).
    std::vector<CellRange> formulaReferences(int row, int col) const;

    /// Width of a column in 1/256 of a character (the sheet default when not set).
    int columnWidth(int col) const;
    void setColumnWidth(int firstCol, int lastCol, int width);
    /// The printed page: margins in inches and the page header and footer (empty: none),
    /// in place of what the sheet had.
    void setPage(double left, double right, double top, double bottom, const QString& header = {},
                 const QString& footer = {});

    /// Row height in twips; 0x8000 bit set means the default height.
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);

private:
    friend class Workbook;
    friend struct BiffReader;
    friend struct BiffWriter;
    friend struct SheetEditor;
    friend class FormulaEvaluator;
    friend struct BookData;
    friend void anchorFormula(BookData& book, Sheet* host, Formula& f);

    Row* findRow(int row) const;
    Row& rowAt(int row);               // creates the row when absent
    Row* anchorFor(int row);           // row object a reference to `row` should follow
    Row* rowObject(int row);           // table row, or a far row past the table's end
    void growTable(size_t size);       // resizes the table, taking in the far rows it reaches
    void shiftFarRows(int from, int delta); // far rows at or below `from` move by `delta`
    const Cell* findCell(int row, int col) const;
    Cell& cellAt(int row, int col);    // creates a blank cell with the default format
    void renumberFrom(int row);
    void removeRows(int row, int count); // deleteRows without the position check
    void checkCell(int row, int col) const;
    // Applies `edit` to the column ranges covering firstCol..lastCol (split at the edges).
    void editColumns(int firstCol, int lastCol, const std::function<void(ColumnInfo&)>& edit);

    BookData* book_ = nullptr;         // owning workbook's data
    QString name_;                     // sheet name
    quint16 sheetOptions = 0;          // BOUNDSHEET flags (hidden, type)
    bool worksheet = true;             // false: chart/macro substream kept verbatim
    QByteArray verbatim;               // the whole substream of a non-worksheet
    RawRecord bof;                     // BOF as read
    std::vector<Slot> head, tail;      // records before and after the cell table
    std::vector<std::unique_ptr<Row>> rows_; // row-indexed table; null where no row exists
    // Rows past the end of the table that references point at, sorted by index. They
    // hold no cells; they move with insertions and deletions like the table's rows,
    // and join the table when it grows to reach them.
    std::vector<std::unique_ptr<Row>> far_;
    std::vector<ColumnInfo> columns;   // COLINFO, sorted, not overlapping
};

class Workbook {
public:
    /// A new workbook with the given sheets, the default fonts and formats.
    explicit Workbook(const QStringList& sheetNames = {QStringLiteral("Foaie1")});
    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;
    ~Workbook();

    /// Reads a workbook; throws vartesa::Error for unreadable or damaged files.
    static Workbook open(const QString& path);
    static Workbook fromBytes(const QByteArray& fileBytes);
    /// The complete .xls file.
    QByteArray toBytes() const;
    /// Writes the file (through a temporary file, so a failure leaves no half file).
    void save(const QString& path) const;

    int sheetCount() const;
    Sheet& sheet(int index);
    const Sheet& sheet(int index) const;
    /// The sheet named `name` (without regard to case); throws when there is none.
    Sheet& sheet(const QString& name);
    int sheetIndex(const QString& name) const;

    int fontCount() const;
    /// Font by its index as cells use it (index 4 does not exist in the format).
    Font font(int index) const;
    int addFont(const Font& font);
    /// Number format code of a format index, built-in codes included.
    QString formatCode(int formatIndex) const;
    int addFormat(const QString& code);
    int xfCount() const;
    /// Font and number format used by an XF.
    int xfFont(int xf) const;
    int xfFormat(int xf) const;
    /// A new cell XF: copy of `baseXf` with the given font, format, alignment and borders.
    struct CellStyle {
        int font = 0;          // font index
        int format = 0;        // number format index
        int hAlign = 0;        // 0 general, 1 left, 2 center, 3 right
        int vAlign = 2;        // 0 top, 1 center, 2 bottom
        bool wrap = false;     // wrap text
        int borders = 0;       // bit0 left, bit1 right, bit2 top, bit3 bottom (thin lines)
    };
    int addXf(const CellStyle& style);

private:
    friend struct BiffReader;
    friend struct BiffWriter;
    std::unique_ptr<BookData> d_;
};

} // namespace vartesa::workbook
