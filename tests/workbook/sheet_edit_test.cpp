// Structural edits: columns inserted as copies, rows deleted and swapped, shared
// formulas of other writers expanded into cell formulas that follow the edits.

#include "workbook/compound_file.h"
#include "workbook/workbook.h"

#include "workbook_test_util.h"

#include "db/error.h"

#include <QTemporaryDir>

#include <map>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::workbook;

namespace {

// A1:A3 numbers, B1:B3 = A*2 stored the way other writers share one formula over
// a range: B1..B3 hold only a pointer (tExp) to B1, whose SHRFMLA record carries
// tokens relative to the cell (tRefN A<same row> * 2).
QByteArray sharedFormulaFile() {
    Workbook wb;
    Sheet& s = wb.sheet(0);
    for (int r = 0; r < 3; ++r) {
        s.setNumber(r, 0, r + 1);
        s.setFormula(r, 1, QStringLiteral("A%1*2").arg(r + 1));
    }
    s.setFormula(3, 1, QStringLiteral("SUM(B1:B3)"));
    const QByteArray stream = readCompoundStream(wb.toBytes(), {QStringLiteral("Workbook")});
    QByteArray out;
    auto add = [&](quint16 id, const QByteArray& data) {
        out += char(id & 0xFF);
        out += char(id >> 8);
        out += char(data.size() & 0xFF);
        out += char(data.size() >> 8);
        out += data;
    };
    for (qsizetype pos = 0; pos + 4 <= stream.size();) {
        quint16 id = get16(stream.constData() + pos), size = get16(stream.constData() + pos + 2);
        QByteArray data = stream.mid(pos + 4, size);
        pos += 4 + size;
        const int row = get16(data.constData()), col = get16(data.constData() + 2);
        if (id != 0x0006 || col != 1 || row > 2) {
            add(id, data);
            continue;
        }
        QByteArray f = data.left(14);
        f += QByteArray("\x08\x00\x00\x00\x00\x00\x05\x00\x01\x00\x00\x01\x00", 13); // shared; tExp B1
        add(id, f);
        if (row == 0) // SHRFMLA B1:B3: tRefN(row+0, col-1) tInt(2) tMul
            add(0x04BC, QByteArray("\x00\x00\x02\x00\x01\x01\x00\x03\x09\x00\x4C\x00\x00\xFF\xC0\x1E\x02\x00\x05", 19));
    }
    return writeCompoundFile({{QStringLiteral("Workbook"), out}});
}

} // namespace

TEST(SheetEdit, SharedFormulasBecomeCellFormulasThatFollowInsertions) {
    Workbook wb = Workbook::fromBytes(sharedFormulaFile());
    Sheet& s = wb.sheet(0);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(s.formulaReferences(r, 1), (std::vector<CellRange>{{r, r, 0, 0}})) << r;
    s.insertRowCopies(1, 2);
    s.setNumber(1, 0, 10);
    s.setNumber(2, 0, 20);
    EXPECT_EQ(s.formulaReferences(2, 1), (std::vector<CellRange>{{2, 2, 0, 0}}));
    EXPECT_EQ(s.formulaReferences(4, 1), (std::vector<CellRange>{{4, 4, 0, 0}}));
    EXPECT_EQ(s.formulaReferences(5, 1), (std::vector<CellRange>{{0, 4, 1, 1}}));
    if (test::converterPath().isEmpty())
        GTEST_SKIP() << "ssconvert (gnumeric) nu este instalat";
    QTemporaryDir dir;
    wb.save(dir.filePath(QStringLiteral("s.xls")));
    auto sheets = test::convertToCsv(dir.filePath(QStringLiteral("s.xls")));
    ASSERT_EQ(sheets.size(), 1u);
    QStringList columnB;
    for (const QStringList& row : sheets[0])
        columnB << row.value(1);
    EXPECT_EQ(columnB, (QStringList{"2", "20", "40", "4", "6", "72"}));
}

TEST(SheetEdit, ColumnCopiesMoveEverythingToTheRight) {
    // A: amount, B: rate, C = A*B, D = SUM(C1:C2) on row 3; insert a copy of B:C at D.
    Workbook wb;
    Sheet& s = wb.sheet(0);
    s.setColumnWidth(1, 1, 4000);
    for (int r = 0; r < 2; ++r) {
        s.setNumber(r, 0, 100 * (r + 1));
        s.setNumber(r, 1, 0.5);
        s.setFormula(r, 2, QStringLiteral("A%1*B%1").arg(r + 1));
    }
    s.setFormula(2, 2, QStringLiteral("SUM(C1:C2)"));
    s.setFormula(2, 3, QStringLiteral("$C$3+1"));
    s.mergeCells({3, 3, 1, 2});
    s.insertColumnCopies(1, 2, 3);
    EXPECT_EQ(s.number(0, 3), 0.5);                  // copy of B at D
    EXPECT_EQ(s.columnWidth(3), 4000);
    EXPECT_EQ(s.columnWidth(1), 4000);
    EXPECT_EQ(s.formulaReferences(0, 4), (std::vector<CellRange>{{0, 0, 2, 2}, {0, 0, 3, 3}})); // E1 = C1*D1
    EXPECT_EQ(s.formulaReferences(2, 5), (std::vector<CellRange>{{2, 2, 2, 2}})); // old D3 now F3, $C$3 stays
    EXPECT_EQ(s.mergedAreas(), (std::vector<CellRange>{{3, 3, 1, 2}, {3, 3, 3, 4}}));
    EXPECT_THROW(s.insertColumnCopies(0, 250, 1), Error);
}

TEST(SheetEdit, DeletedRowsBreakSingleReferencesAndShrinkRanges) {
    Workbook wb;
    Sheet& s = wb.sheet(0);
    for (int r = 0; r < 5; ++r)
        s.setNumber(r, 0, r);
    s.setFormula(6, 0, QStringLiteral("SUM(A2:A4)+A3"));
    s.setFormula(7, 0, QStringLiteral("SUM(A3:A3)"));
    s.mergeCells({1, 2, 1, 3});
    s.deleteRows(2);
    EXPECT_EQ(s.formulaReferences(5, 0), (std::vector<CellRange>{{1, 2, 0, 0}})); // A3 is #REF! now
    EXPECT_TRUE(s.formulaReferences(6, 0).empty());
    EXPECT_EQ(s.mergedAreas(), (std::vector<CellRange>{{1, 1, 1, 3}}));
    EXPECT_EQ(s.number(2, 0), 3);
    Workbook back = Workbook::fromBytes(wb.toBytes());
    EXPECT_EQ(back.sheet(0).formulaReferences(5, 0), (std::vector<CellRange>{{1, 2, 0, 0}}));
}

TEST(SheetEdit, SwappedRowsExchangeValuesButKeepFormats) {
    Workbook wb;
    int bold = wb.addXf({wb.addFont({240, 0, 0x7FFF, 700, 0, 0, 0, 0, QStringLiteral("Arial")}), 0, 0, 2, false, 0});
    Sheet& s = wb.sheet(0);
    s.setText(0, 0, QStringLiteral("Ana"));
    s.setNumber(0, 1, 5);
    s.setFormula(0, 2, QStringLiteral("B1*2"));
    s.setCellFormat(0, 0, bold);
    s.setText(3, 0, QStringLiteral("Ion"));
    s.setNumber(3, 1, 7);
    s.swapRowValues(0, 3);
    EXPECT_EQ(s.text(0, 0), QStringLiteral("Ion"));
    EXPECT_EQ(s.text(3, 0), QStringLiteral("Ana"));
    EXPECT_EQ(s.cellFormat(0, 0), bold);
    EXPECT_EQ(s.cellType(0, 2), CellType::Blank);
    EXPECT_EQ(s.formulaReferences(3, 2), (std::vector<CellRange>{{3, 3, 1, 1}}));
    EXPECT_EQ(wb.font(wb.xfFont(bold)).weight, 700);
}

TEST(SheetEdit, WritingKeepsTheCellFormatAndRefusesCellsOffTheSheet) {
    Workbook wb;
    int money = wb.addXf({0, wb.addFormat(QStringLiteral("#,##0.00")), 3, 2, false, 0x0F});
    Sheet& s = wb.sheet(0);
    s.setBlank(4, 4);
    s.setCellFormat(4, 4, money);
    s.setNumber(4, 4, 12.5);
    s.setText(4, 4, QStringLiteral("nimic"));
    s.setNumber(4, 4, 3);
    Workbook back = Workbook::fromBytes(wb.toBytes());
    EXPECT_EQ(back.formatCode(back.xfFormat(back.sheet(0).cellFormat(4, 4))), QStringLiteral("#,##0.00"));
    EXPECT_EQ(back.sheet(0).number(4, 4), 3);
    EXPECT_THROW(s.setText(MaxRows, 0, QStringLiteral("x")), Error);
    EXPECT_THROW(s.setNumber(0, MaxColumns, 1), Error);
    EXPECT_THROW(s.setCellFormat(0, 0, 999), Error);
    EXPECT_THROW(wb.sheet(5), Error);
}

TEST(SheetEdit, RowsStopAtTheSheetsLastRow) {
    Workbook wb;
    Sheet& s = wb.sheet(0);
    s.setText(0, 0, QStringLiteral("antet"));
    s.setNumber(MaxRows - 3, 0, 1);
    s.setFormula(1, 1, QStringLiteral("SUM(A1:A2)"));
    s.insertRowCopies(1, 2); // the last filled row moves to the sheet's end
    EXPECT_EQ(s.lastRow(), MaxRows - 1);
    EXPECT_EQ(s.number(MaxRows - 1, 0), 1);
    EXPECT_THROW(s.insertRowCopies(1), Error);
    EXPECT_EQ(s.lastRow(), MaxRows - 1);
    Workbook back = Workbook::fromBytes(wb.toBytes());
    EXPECT_EQ(back.sheet(0).number(MaxRows - 1, 0), 1);
    EXPECT_EQ(back.sheet(0).formulaReferences(3, 1), (std::vector<CellRange>{{0, 3, 0, 0}}));
}

TEST(SheetEdit, EmbeddedSubstreamsAreKeptWhole) {
    // A sheet carrying a nested BOF..EOF group (as embedded charts are stored): the
    // group's records are kept verbatim, its EOF does not end the sheet.
    Workbook wb;
    wb.sheet(0).setText(0, 0, QStringLiteral("înainte"));
    const QByteArray stream = readCompoundStream(wb.toBytes(), {QStringLiteral("Workbook")});
    const QByteArray nested = QByteArray("\x09\x08\x10\x00\x00\x06\x20\x00", 8) + QByteArray(12, '\x01') // BOF chart
                              + QByteArray("\x33\x10\x02\x00\xAB\xCD", 6)   // a chart record
                              + QByteArray("\x0A\x00\x00\x00", 4);           // its EOF
    // insert just before the sheet's own EOF (the stream's last record)
    QByteArray patched = stream.left(stream.size() - 4) + nested + stream.right(4);
    Workbook back = Workbook::fromBytes(writeCompoundFile({{QStringLiteral("Workbook"), patched}}));
    back.sheet(0).insertRowCopies(0);
    back.sheet(0).setText(0, 0, QStringLiteral("copie"));
    EXPECT_EQ(back.sheet(0).text(1, 0), QStringLiteral("înainte"));
    const QByteArray again = readCompoundStream(back.toBytes(), {QStringLiteral("Workbook")});
    EXPECT_TRUE(again.contains(nested));
    EXPECT_TRUE(again.endsWith(nested + QByteArray("\x0A\x00\x00\x00", 4)));
    EXPECT_EQ(Workbook::fromBytes(back.toBytes()).sheet(0).text(0, 0), QStringLiteral("copie"));
}

TEST(SheetEdit, ConditionalFormatsValidationsAndLinksFollowRows) {
    Workbook wb;
    for (int r = 0; r < 10; ++r)
        wb.sheet(0).setNumber(r, 0, r);
    const QByteArray stream = readCompoundStream(wb.toBytes(), {QStringLiteral("Workbook")});
    auto record = [](quint16 id, const QByteArray& data) {
        QByteArray b;
        b += char(id & 0xFF);
        b += char(id >> 8);
        b += char(data.size() & 0xFF);
        b += char(data.size() >> 8);
        return b + data;
    };
    auto area = [](int r1, int r2, int c1, int c2) {
        QByteArray b(8, '\0');
        set16(b, 0, quint16(r1)); set16(b, 2, quint16(r2)); set16(b, 4, quint16(c1)); set16(b, 6, quint16(c2));
        return b;
    };
    // CONDFMT: count, flags, bounds, 2 areas; DV: flags, 4 texts, 2 formulas, 1 area; HLINK: area + link data
    const QByteArray condFmt = QByteArray("\x01\x00\x00\x00", 4) + area(2, 5, 0, 1) + QByteArray("\x02\x00", 2) +
                               area(2, 3, 0, 0) + area(4, 5, 1, 1);
    QByteArray dv(4, '\0');
    for (int i = 0; i < 4; ++i)
        dv += QByteArray("\x01\x00\x00x", 4);
    dv += QByteArray("\x03\x00\x00\x00\x1E\x05\x00", 7) + QByteArray("\x00\x00\x00\x00", 4) +
          QByteArray("\x01\x00", 2) + area(3, 6, 2, 2);
    const QByteArray link = area(7, 7, 0, 0) + QByteArray(12, '\x07');
    const QByteArray extra = record(0x01B0, condFmt) + record(0x01BE, dv) + record(0x01B8, link);
    QByteArray patched = stream.left(stream.size() - 4) + extra + stream.right(4);
    Workbook back = Workbook::fromBytes(writeCompoundFile({{QStringLiteral("Workbook"), patched}}));
    back.sheet(0).insertRowCopies(3, 2);
    back.sheet(0).insertColumnCopies(0, 0, 1);

    std::map<quint16, QByteArray> written;
    const QByteArray out = readCompoundStream(back.toBytes(), {QStringLiteral("Workbook")});
    for (qsizetype pos = 0; pos + 4 <= out.size();) {
        const quint16 id = get16(out.constData() + pos), size = get16(out.constData() + pos + 2);
        written[id] = out.mid(pos + 4, size);
        pos += 4 + size;
    }
    EXPECT_EQ(written[0x01B0], QByteArray("\x01\x00\x00\x00", 4) + area(2, 7, 0, 2) + QByteArray("\x02\x00", 2) +
                                   area(2, 5, 0, 0) + area(6, 7, 2, 2));
    EXPECT_EQ(written[0x01BE].right(8), area(5, 8, 3, 3));
    EXPECT_EQ(written[0x01BE].size(), dv.size());
    EXPECT_EQ(written[0x01B8], area(9, 9, 0, 0) + QByteArray(12, '\x07'));

    back.sheet(0).deleteRows(6, 2);
    const QByteArray afterDelete = readCompoundStream(back.toBytes(), {QStringLiteral("Workbook")});
    EXPECT_TRUE(afterDelete.contains(area(5, 6, 3, 3)));                        // validation lost two inner rows
    EXPECT_TRUE(afterDelete.contains(area(7, 7, 0, 0) + QByteArray(12, '\x07'))); // the link moved up
}

TEST(SheetEdit, ReferencesFarBelowTheUsedRowsMoveLikeAllOthers) {
    // A total over D7:D5000 (far past the ten used rows) and a single reference to D6000.
    const struct {
        bool insert;
        int row, count;
        std::vector<CellRange> expected; // references of the total after the edit
    } cases[] = {
        {true, 7, 3, {{6, 5002, 3, 3}, {6002, 6002, 3, 3}}},
        {true, 4000, 2, {{6, 5001, 3, 3}, {6001, 6001, 3, 3}}}, // inserting past the table's end
        {false, 7, 2, {{6, 4997, 3, 3}, {5997, 5997, 3, 3}}},
        {false, 4990, 20, {{6, 4989, 3, 3}, {5979, 5979, 3, 3}}}, // the area's last row deleted
    };
    for (const auto& c : cases) {
        Workbook wb;
        Sheet& s = wb.sheet(0);
        for (int r = 0; r < 10; ++r)
            s.setNumber(r, 3, r);
        s.setFormula(2, 5, QStringLiteral("SUM(D7:D5000)+D6000"));
        if (c.insert)
            s.insertRowCopies(c.row, c.count);
        else
            s.deleteRows(c.row, c.count);
        EXPECT_EQ(s.formulaReferences(2, 5), c.expected) << (c.insert ? "insert at " : "delete at ") << c.row;
    }
}

TEST(SheetEdit, CopiedRowsGiveEachArrayFormulaItsOwnFirstCell) {
    // B1 holds the array formula {=A1*2}: its cell points (tExp) at itself and an
    // ARRAY record after it carries the tokens. B3:B4 holds an array over two rows.
    Workbook wb;
    Sheet& s = wb.sheet(0);
    s.setNumber(0, 0, 1);
    s.setFormula(0, 1, QStringLiteral("A1*2"));
    s.setFormula(2, 1, QStringLiteral("A1*3"));
    s.setFormula(3, 1, QStringLiteral("A1*3"));
    std::vector<RawRecord> records;
    for (RawRecord& r : test::workbookRecords(wb.toBytes())) {
        if (r.id != 0x0006) {
            records.push_back(r);
            continue;
        }
        const int row = get16(r.data.constData()), first = row < 2 ? row : 2, last = row < 2 ? row : 3;
        const QByteArray tokens = r.data.mid(22);
        r.data = r.data.left(20) + QByteArray("\x05\x00\x01", 3) + QByteArray(4, '\0'); // tExp to B<first>
        set16(r.data, 23, quint16(first));
        set16(r.data, 25, 1);
        records.push_back(r);
        if (row == first) {
            QByteArray array(14, '\0');
            set16(array, 0, quint16(first));
            set16(array, 2, quint16(last));
            array[4] = array[5] = 1;
            set16(array, 12, quint16(tokens.size()));
            records.push_back({0x0221, array + tokens});
        }
    }
    Workbook back = Workbook::fromBytes(test::fileWithRecords(records));
    Sheet& b = back.sheet(0);
    b.insertRowCopies(0, 2);
    b.setNumber(0, 0, 5);
    b.setNumber(1, 0, 7);
    EXPECT_THROW(b.insertRowCopies(4), vartesa::Error); // the two-row array cannot be copied by one row
    EXPECT_EQ(b.lastRow(), 5);
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    back.save(dir.filePath(QStringLiteral("a.xls")));
    auto sheets = test::convertToCsv(dir.filePath(QStringLiteral("a.xls")), true);
    ASSERT_EQ(sheets.size(), 1u);
    QStringList columnB;
    for (const QStringList& row : sheets[0])
        columnB << row.value(1);
    // The copies compute from their own rows; the two-row array follows A1 down to A3.
    EXPECT_EQ(columnB, (QStringList{"10", "14", "2", "", "3", "3"}));
}

TEST(SheetEdit, ColumnWidthsKeepTheColumnsFormatAndFlags) {
    // Column B formatted and hidden, as another program stores it (COLINFO xf 16, hidden).
    Workbook wb;
    const int money = wb.addXf({0, wb.addFormat(QStringLiteral("#,##0.00")), 3, 2, false, 0});
    wb.sheet(0).setColumnWidth(1, 1, 3000);
    wb.sheet(0).setNumber(0, 0, 1);
    std::vector<RawRecord> records = test::workbookRecords(wb.toBytes());
    for (RawRecord& r : records)
        if (r.id == 0x007D) {
            set16(r.data, 6, quint16(money));
            set16(r.data, 8, 0x0001);
        }
    Workbook back = Workbook::fromBytes(test::fileWithRecords(records));
    Sheet& s = back.sheet(0);
    s.setColumnWidth(0, 2, 4000);
    s.insertColumnCopies(1, 1, 3); // the copy of B lands in D
    std::map<int, std::pair<int, int>> written; // first column -> format, flags
    for (const RawRecord& r : test::workbookRecords(back.toBytes()))
        if (r.id == 0x007D)
            for (int c = get16(r.data.constData()); c <= get16(r.data.constData() + 2); ++c)
                written[c] = {get16(r.data.constData() + 6), get16(r.data.constData() + 8)};
    EXPECT_EQ(written[1], std::make_pair(money, 1));
    EXPECT_EQ(written[3], std::make_pair(money, 1));
    EXPECT_EQ(s.columnWidth(3), 4000);
    EXPECT_EQ(s.cellFormat(20, 3), money);
}
