// The Excel 2.x list writer, checked by the outside converter: values, Romanian
// letters through Windows-1250, fonts, alignment, borders, widths, page setup.

#include "workbook/biff2_writer.h"

#include "workbook_test_util.h"

#include "db/error.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::workbook;

namespace {

// A small list as the direct lists write it.
QString writeList(const QTemporaryDir& dir) {
    Biff2Writer w;
    w.begin(dir.filePath(QStringLiteral("lista.xls")));
    int normal = w.addFont(QStringLiteral("Arial"), 10);
    int title = w.addFont(QStringLiteral("Times New Roman"), 14, true);
    w.setMargins(0.5, 0.4, 0.8, 0.9);
    w.setHeader(QStringLiteral("&CLista contribuabililor — comuna Vârfu"));
    w.setFooter(QStringLiteral("Pagina &P"));
    w.setColumnWidth(2, 30);
    w.setActiveFont(title);
    w.setAlignment(Biff2Writer::Align::Center);
    w.writeText(1, 1, QStringLiteral("Situaţie încasări"));
    w.setActiveFont(normal);
    w.setAlignment(Biff2Writer::Align::General);
    w.setBorders(Biff2Writer::Box);
    w.writeText(3, 1, QStringLiteral("Nr"));
    w.writeText(3, 2, QStringLiteral("Nume"));
    w.writeText(3, 3, QStringLiteral("Suma"));
    w.writeNumber(4, 1, 1);
    w.writeText(4, 2, QStringLiteral("Ștefan Țăranu"));  // comma-below letters, stored as cedilla
    w.setAlignment(Biff2Writer::Align::Right);
    w.setNumberFormat(QStringLiteral("0.00"));
    w.writeNumber(4, 3, 1234.5);
    w.setNumberFormat({});
    w.writeNumber(5, 1, 2);
    w.writeText(5, 2, QStringLiteral("Ana Bâlă"));
    w.writeBlank(5, 3);
    w.writeNumber(6, 3, -0.25);
    w.save();
    return w.fileName();
}

// The converter ignores the code page record of Excel 2.x files and reads their text
// as Windows-1252. Its text is turned back into the bytes of the file and read as
// Windows-1250, the code page we wrote.
QString asWritten(const QString& converterText) {
    QStringEncoder to1252("windows-1252");
    QStringDecoder from1250("windows-1250");
    return from1250.decode(to1252.encode(converterText));
}

QStringList asWritten(const QStringList& row) {
    QStringList out;
    for (const QString& s : row)
        out << asWritten(s);
    return out;
}

} // namespace

TEST(Biff2Writer, ConverterReadsTheValues) {
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    auto sheets = test::convertToCsv(writeList(dir));
    ASSERT_EQ(sheets.size(), 1u);
    const auto& rows = sheets[0];
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(asWritten(rows[0][0]), QStringLiteral("Situaţie încasări"));
    EXPECT_EQ(rows[2], (QStringList{"Nr", "Nume", "Suma"}));
    EXPECT_EQ(asWritten(rows[3]), (QStringList{"1", "Ştefan Ţăranu", "1234.5"}));
    EXPECT_EQ(asWritten(rows[4]), (QStringList{"2", "Ana Bâlă", ""}));
    EXPECT_EQ(rows[5], (QStringList{"", "", "-0.25"}));
}

TEST(Biff2Writer, ConverterSeesFontsAlignmentBordersAndPageSetup) {
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    const QString xml = test::converterXml(writeList(dir), dir.filePath(QStringLiteral("lista.gnumeric")));
    ASSERT_FALSE(xml.isEmpty());
    EXPECT_TRUE(xml.contains(QStringLiteral(">Times New Roman<")));
    EXPECT_TRUE(xml.contains(QStringLiteral("Unit=\"14\" Bold=\"1\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral("HAlign=\"GNM_HALIGN_CENTER\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral("HAlign=\"GNM_HALIGN_RIGHT\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<gnm:Bottom Style=\"1\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral("Lista contribuabililor ")));
    EXPECT_TRUE(xml.contains(QStringLiteral("Footer Left=\"Pagina &amp;[PAGE]\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<gnm:left Points=\"36\"")));      // 0.5 inch
    EXPECT_TRUE(xml.contains(QStringLiteral("<gnm:bottom Points=\"64.8\"")));  // 0.9 inch
    EXPECT_TRUE(xml.contains(QStringLiteral("Format=\"0.00\"")));
}

TEST(Biff2Writer, ColumnWidthsAreStoredPerColumn) {
    // The converter does not read Excel 2.x column widths, so the record is checked
    // in the file: COLWIDTH first column, last column (0-based), width in 1/256 characters.
    Biff2Writer w;
    w.begin();
    w.setColumnWidth(2, 30);
    w.setColumnWidth(5, 8.5);
    w.writeText(1, 1, QStringLiteral("x"));
    const QByteArray bytes = w.end();
    EXPECT_TRUE(bytes.contains(QByteArray("\x24\x00\x04\x00\x01\x01\x00\x1E", 8)));
    EXPECT_TRUE(bytes.contains(QByteArray("\x24\x00\x04\x00\x04\x04\x80\x08", 8)));
    EXPECT_THROW(w.setColumnWidth(0, 10), Error);
}

TEST(Biff2Writer, RefusesWhatTheFormatCannotHold) {
    Biff2Writer w;
    w.begin();
    for (int i = 0; i < 4; ++i)
        w.addFont(QStringLiteral("Arial"), 10);
    EXPECT_THROW(w.addFont(QStringLiteral("Arial"), 12), Error);
    EXPECT_THROW(w.writeText(0, 1, QStringLiteral("x")), Error);       // rows count from 1
    EXPECT_THROW(w.writeNumber(16385, 1, 1), Error);
    EXPECT_THROW(w.writeBlank(1, 257), Error);
    EXPECT_THROW(w.save(), Error);                                    // no file name
    // a header longer than 255 characters is cut, the file stays valid
    w.setHeader(QString(400, QChar('x')));
    QByteArray bytes = w.end();
    const QByteArray header = QByteArray("\x14\x00\x00\x01\xFF", 5) + QByteArray(255, 'x');
    EXPECT_TRUE(bytes.contains(header));
}
