#pragma once
// Writer of the three lists that are produced cell by cell in the Excel 2.x
// format (BIFF2): one sheet, up to four fonts, margins, header and footer, column
// widths, and text, number and blank cells carrying their font, alignment and
// borders in the cell itself. Text is stored in Windows-1250.
//
// Rows and columns are 1-based here, as the list code counts them.

#include <QByteArray>
#include <QString>

#include <map>
#include <utility>
#include <vector>

namespace vartesa::workbook {

class Biff2Writer {
public:
    enum class Align : quint8 { General = 0, Left = 1, Center = 2, Right = 3 };
    /// Border sides, combined with |.
    enum Border : quint8 { NoBorder = 0, Left = 0x08, Right = 0x10, Top = 0x20, Bottom = 0x40, Box = 0x78 };

    /// Starts a new list, dropping anything written before.
    void begin(const QString& fileName = {});
    void setFileName(const QString& fileName) { fileName_ = fileName; }
    const QString& fileName() const { return fileName_; }

    /// Adds a font and returns its index (0-3). Throws vartesa::Error past four fonts.
    int addFont(const QString& name, double points, bool bold = false, bool italic = false, bool underline = false);
    /// Page margins in inches.
    void setMargins(double left, double right, double top, double bottom);
    /// Page header and footer text (cut to 255 characters).
    void setHeader(const QString& text);
    void setFooter(const QString& text);
    /// Width of a column in characters.
    void setColumnWidth(int col, double characters);

    /// Attributes given to the cells written after them.
    void setActiveFont(int index);
    void setAlignment(Align align);
    void setBorders(int sides);
    /// Number format code for the numbers written after it ("" for General).
    void setNumberFormat(const QString& code);

    /// Cells; a cell written twice keeps the last value. Throws vartesa::Error outside
    /// rows 1-16384 and columns 1-256. Text is cut to 255 characters.
    void writeText(int row, int col, const QString& text);
    void writeNumber(int row, int col, double value);
    void writeBlank(int row, int col);

    /// The finished file.
    QByteArray end() const;
    /// Writes the file to fileName(); throws vartesa::Error when it cannot.
    void save() const;

private:
    QByteArray cellHeader(int row, int col);
    int currentXf();
    void putCell(int row, int col, quint16 id, const QByteArray& data);

    QString fileName_;                        // where save() writes
    std::vector<QByteArray> fonts_;           // FONT record data, at most four
    double margins_[4] = {0.75, 0.75, 1.0, 1.0}; // left, right, top, bottom (inches)
    QByteArray header_, footer_;              // Windows-1250 text
    std::map<int, quint16> widths_;           // 0-based column -> width in 1/256 character
    std::vector<QString> formats_ = {QStringLiteral("General")}; // FORMAT records, by index
    int font_ = 0, format_ = 0;               // active font and number format
    quint8 align_ = 0, borders_ = 0;          // active alignment and border sides
    std::vector<QByteArray> xfs_;             // XF record data: one per look the cells use
    std::map<std::pair<int, int>, std::pair<quint16, QByteArray>> cells_; // (row, col) -> record
};

} // namespace vartesa::workbook
