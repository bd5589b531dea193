// Workbooks written by the outside converter (tests/data/workbook, see make_xls.sh):
// read by the engine, changed, written, and read back by the converter with their
// formats, merged areas, other sheets and unknown records intact.

#include "workbook/compound_file.h"
#include "workbook/workbook.h"

#include "workbook_test_util.h"

#include "db/error.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace vartesa;
using namespace vartesa::workbook;

namespace {

QString dataFile(const char* name) {
    return QStringLiteral(VARTESA_TEST_DATA "/workbook/") + QLatin1String(name);
}

// Records of a workbook stream as (id, data), read independently of the engine.
std::vector<RawRecord> records(const QString& xls) {
    QFile f(xls);
    f.open(QIODevice::ReadOnly);
    QByteArray s = readCompoundStream(f.readAll(), {QStringLiteral("Workbook")});
    std::vector<RawRecord> out;
    for (qsizetype pos = 0; pos + 4 <= s.size();) {
        quint16 id = get16(s.constData() + pos), size = get16(s.constData() + pos + 2);
        out.push_back({id, s.mid(pos + 4, size)});
        pos += 4 + size;
    }
    return out;
}

// Records the engine copies verbatim: everything but cells, rows, positions,
// defined names (their rows move) and the groups it rebuilds.
std::vector<RawRecord> keptRecords(const QString& xls) {
    const std::set<quint16> rebuilt = {0x0006, 0x0201, 0x0203, 0x0204, 0x0205, 0x0207, 0x027E, 0x00BD, 0x00BE,
                                       0x00FD, 0x00D6, 0x04BC, 0x0208, 0x020B, 0x00D7, 0x0200, 0x00FC, 0x003C,
                                       0x00FF, 0x0085, 0x0042, 0x0031, 0x041E, 0x00E0, 0x007D, 0x00E5, 0x0809,
                                       0x0018};
    std::vector<RawRecord> out;
    for (RawRecord& r : records(xls))
        if (!rebuilt.count(r.id))
            out.push_back(std::move(r));
    return out;
}

} // namespace

TEST(ConverterFiles, PlainListFromCsvIsReadAndFilled) {
    Workbook wb = Workbook::open(dataFile("simplu.xls"));
    Sheet& s = wb.sheet(0);
    EXPECT_EQ(s.lastRow(), 3);
    EXPECT_EQ(s.lastColumn(), 2);
    EXPECT_EQ(s.text(1, 1), QStringLiteral("Ştefan Ţăranu"));
    EXPECT_EQ(s.text(2, 1), QStringLiteral("Ioana Mureșan"));
    EXPECT_EQ(s.number(3, 2), 0.25);
    EXPECT_EQ(s.text(1, 2), QStringLiteral("12.5"));
    s.insertRowCopies(3, 2);
    s.setText(3, 1, QStringLiteral("Ană Ţepeş"));
    s.setNumber(3, 2, 7);
    s.setBlank(4, 1);
    Workbook back = Workbook::fromBytes(wb.toBytes());
    EXPECT_EQ(back.sheet(0).text(3, 1), QStringLiteral("Ană Ţepeş"));
    EXPECT_EQ(back.sheet(0).cellType(4, 1), CellType::Blank);
    EXPECT_EQ(back.sheet(0).text(5, 1), QStringLiteral("Gheorghe Căpățînă"));
    EXPECT_EQ(back.sheet(0).lastRow(), 5);
}

TEST(ConverterFiles, RichWorkbookKeepsFormatsMergesAndRecords) {
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    Workbook wb = Workbook::open(dataFile("bogat.xls"));
    ASSERT_EQ(wb.sheetCount(), 2);
    Sheet& s = wb.sheet(QStringLiteral("Lista"));
    EXPECT_EQ(s.mergedAreas(), (std::vector<CellRange>{{0, 0, 0, 4}}));
    EXPECT_EQ(wb.font(wb.xfFont(s.cellFormat(0, 0))).name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(wb.font(wb.xfFont(s.cellFormat(0, 0))).weight, 700);
    EXPECT_EQ(wb.formatCode(wb.xfFormat(s.cellFormat(2, 3))), QStringLiteral("#,##0.00"));
    EXPECT_EQ(s.text(6, 4), QStringLiteral("mare"));
    EXPECT_EQ(s.text(5, 4), QStringLiteral("121"));

    // Row 5 (index 4) is the template: two copies, filled.
    s.insertRowCopies(4, 2);
    s.setText(4, 1, QStringLiteral("Mărioara Popescu"));
    s.setNumber(4, 2, 4);
    s.setNumber(4, 3, 2.5);
    s.setText(5, 1, QStringLiteral("Vasile Iță"));
    s.setNumber(5, 2, 1);
    s.setNumber(5, 3, 1000);
    const QString out = dir.filePath(QStringLiteral("bogat_completat.xls"));
    wb.save(out);

    auto sheets = test::convertToCsv(out);
    ASSERT_EQ(sheets.size(), 2u);
    const auto& rows = sheets[0];
    ASSERT_GE(rows.size(), 10u);
    EXPECT_EQ(rows[4], (QStringList{"3", "Mărioara Popescu", "4", "2.5", "10"}));
    EXPECT_EQ(rows[5], (QStringList{"3", "Vasile Iță", "1", "1000", "1000"}));
    EXPECT_EQ(rows[6], (QStringList{"3", "Model", "0", "0", "0"}));
    EXPECT_EQ(rows[7][4], QStringLiteral("1131"));  // the total grew over the copies
    EXPECT_EQ(rows[8][4], QStringLiteral("mare"));
    EXPECT_EQ(rows[9][4], QStringLiteral("1"));     // =Note!B2*2 still points at B2
    EXPECT_EQ(sheets[1][1][2], QStringLiteral("1131")); // other sheet's range into Lista grew too

    const QString xml = test::converterXml(out, dir.filePath(QStringLiteral("back.gnumeric")));
    ASSERT_FALSE(xml.isEmpty());
    EXPECT_TRUE(xml.contains(QStringLiteral("<gnm:Merge>A1:E1</gnm:Merge>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("Bold=\"1\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral(">Times New Roman<")));
    EXPECT_TRUE(xml.contains(QStringLiteral(">Courier New<")));
    EXPECT_TRUE(xml.contains(QStringLiteral("Format=\"#,##0.00\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<gnm:ColInfo No=\"1\" Unit=\"150")));
    // defined names ending on or below the template row grew with the copies
    EXPECT_TRUE(xml.contains(QStringLiteral("<gnm:name>Print_Area</gnm:name>\n          <gnm:value>$A$1:$E$10</gnm:value>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<gnm:name>Valori</gnm:name>\n          <gnm:value>$E$3:$E$7</gnm:value>")));

    // Every record the engine does not rebuild is written back byte for byte, in order.
    auto before = keptRecords(dataFile("bogat.xls"));
    auto after = keptRecords(out);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].id, after[i].id) << i;
        EXPECT_EQ(before[i].data, after[i].data) << "record 0x" << std::hex << before[i].id;
    }
}

TEST(ConverterFiles, OlderExcelFormatIsRefusedByName) {
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("vechi.xls"));
    ASSERT_TRUE(test::convert(dataFile("simplu.csv"), old, QStringLiteral("Gnumeric_Excel:excel_biff7")));
    try {
        Workbook::open(old);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Registrul de calcul este intr-un format mai vechi (Excel 5/95), care nu este acceptat."));
        EXPECT_EQ(e.where(), old);
    }
}

// The printed page of a sheet, set on a new workbook and on one that came with its own:
// one record of each kind, where the page settings stand, the margins as given and no
// header or footer text.
TEST(ConverterFiles, PageSetupReplacesMarginsHeaderAndFooter) {
    QTemporaryDir dir;
    Workbook fresh({QStringLiteral("Foaie1"), QStringLiteral("Foaie2")});
    Workbook converted = Workbook::open(dataFile("simplu.xls"));
    for (Workbook* wb : {&fresh, &converted}) {
        wb->sheet(0).setPage(0.75, 0.75, 1, 1, QStringLiteral("&P"));
        wb->sheet(0).setPage(0.6, 0.4, 0.3, 0.4);
        const QString path = dir.filePath(QStringLiteral("pagina.xls"));
        wb->save(path);
        const std::vector<RawRecord> all = records(path);
        const auto firstSheet = std::find_if(all.begin() + 1, all.end(), [](const RawRecord& r) { return r.id == 0x0809; });
        std::map<quint16, std::vector<QByteArray>> page;
        qsizetype headerAt = -1, marginAt = -1, dimensionsAt = -1;
        for (auto it = firstSheet; it != all.end() && it->id != 0x000A; ++it) {
            if ((it->id >= 0x0026 && it->id <= 0x0029) || it->id == 0x0014 || it->id == 0x0015) page[it->id].push_back(it->data);
            if (it->id == 0x0014) headerAt = it - all.begin();
            if (it->id == 0x0026) marginAt = it - all.begin();
            if (it->id == 0x0200) dimensionsAt = it - all.begin();
        }
        const std::pair<quint16, double> margins[] = {{0x0026, 0.6}, {0x0027, 0.4}, {0x0028, 0.3}, {0x0029, 0.4}};
        for (const auto& [id, inches] : margins) {
            ASSERT_EQ(page[id].size(), 1u) << id;
            double stored = 0;
            memcpy(&stored, page[id][0].constData(), sizeof stored);
            EXPECT_EQ(stored, inches) << id;
        }
        EXPECT_EQ(page[0x0014], std::vector<QByteArray>{QByteArray()});
        EXPECT_EQ(page[0x0015], std::vector<QByteArray>{QByteArray()});
        EXPECT_TRUE(headerAt < marginAt && marginAt < dimensionsAt) << headerAt << ' ' << marginAt << ' ' << dimensionsAt;
    }
}
