// The compound file container: streams written and read back, small and large,
// and damaged containers refused with an error.

#include "workbook/compound_file.h"
#include "workbook/workbook.h"

#include "workbook_test_util.h"

#include <QTemporaryDir>

#include "db/error.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::workbook;

namespace {

QByteArray pattern(qsizetype size, int seed) {
    QByteArray b(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        b[i] = char((i * 131 + seed * 7 + i / 251) & 0xFF);
    return b;
}

} // namespace

TEST(CompoundFile, StreamsOfEverySizeComeBackExactly) {
    struct Case {
        qsizetype workbook; // size of the main stream
        const char* what;
    };
    // below the mini-stream limit, exactly at it, a few sectors, and large enough
    // that the allocation table needs more than the header's 109 index slots
    const Case cases[] = {{0, "empty"}, {100, "mini"}, {4095, "largest mini"}, {4096, "first regular"},
                          {70000, "several sectors"}, {8 * 1024 * 1024 + 3, "indexed table"}};
    for (const Case& c : cases) {
        std::vector<CompoundStream> in = {{QStringLiteral("Workbook"), pattern(c.workbook, 1)},
                                          {QStringLiteral("\x05SummaryInformation"), pattern(200, 2)},
                                          {QStringLiteral("Extra"), pattern(5000, 3)}};
        QByteArray file = writeCompoundFile(in);
        EXPECT_TRUE(isCompoundFile(file)) << c.what;
        EXPECT_EQ(file.size() % 512, 0) << c.what;
        std::vector<CompoundStream> out = readCompoundFile(file);
        ASSERT_EQ(out.size(), 3u) << c.what;
        for (const CompoundStream& s : in) {
            auto it = std::find_if(out.begin(), out.end(), [&](const CompoundStream& o) { return o.name == s.name; });
            ASSERT_NE(it, out.end()) << c.what << " " << s.name.toStdString();
            EXPECT_EQ(it->data, s.data) << c.what << " " << s.name.toStdString();
        }
        EXPECT_EQ(readCompoundStream(file, {QStringLiteral("workbook")}), in[0].data) << c.what;
    }
}

TEST(CompoundFile, DamagedContainersAreRefusedWithAnError) {
    const QByteArray good = writeCompoundFile({{QStringLiteral("Workbook"), pattern(20000, 4)}});
    auto expectError = [](const QByteArray& bytes, const char* what) {
        try {
            readCompoundStream(bytes, {QStringLiteral("Workbook")});
            ADD_FAILURE() << what << ": no error";
        } catch (const Error& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("registru de calcul"))) << what << ": " << e.what();
        }
    };
    expectError(QByteArray("not a workbook at all"), "no signature");
    expectError(good.left(600), "cut after the header");
    expectError(good.left(good.size() - 512), "allocation table cut off");
    // First sector of the stream chained to itself: a loop, not a hang.
    QByteArray loop = good;
    const quint32 fatSector = qFromLittleEndian<quint32>(good.constData() + 76);
    qToLittleEndian<quint32>(0, loop.data() + 512 + fatSector * 512);
    expectError(loop, "chain loops");
    // Stream size larger than its chain.
    QByteArray tooLong = good;
    const quint32 dirSector = qFromLittleEndian<quint32>(good.constData() + 48);
    qToLittleEndian<quint32>(900000, tooLong.data() + 512 + dirSector * 512 + 128 + 120);
    expectError(tooLong, "size past the chain");
    // Workbook stream missing.
    expectError(writeCompoundFile({{QStringLiteral("Altceva"), pattern(10, 5)}}), "no workbook stream");
}

TEST(CompoundFile, AWorkbookKeepsTheContainersOtherStreams) {
    // Summary information, a macro project in storages, and a stream whose sectors
    // are damaged (it is left out; the workbook still opens).
    const QByteArray clsid = pattern(16, 9);
    CompoundStream project(QStringLiteral("_VBA_PROJECT_CUR"), {});
    project.storage = true;
    project.clsid = clsid;
    const std::vector<CompoundStream> others = {
        {QStringLiteral("\x05SummaryInformation"), pattern(300, 6)},
        project,
        {QStringLiteral("_VBA_PROJECT_CUR/VBA/dir"), pattern(5000, 7)},
        {QStringLiteral("_VBA_PROJECT_CUR/PROJECT"), pattern(90, 8)},
    };
    std::vector<CompoundStream> in = {{QStringLiteral("Workbook"), readCompoundStream(Workbook().toBytes(),
                                                                                      {QStringLiteral("Workbook")})},
                                      {QStringLiteral("Stricat"), pattern(6000, 10)}};
    in.insert(in.end(), others.begin(), others.end());
    QByteArray file = writeCompoundFile(in);
    // Point the damaged stream's first sector past the end of the file.
    const QByteArray name = QByteArray("S\0t\0r\0i\0c\0a\0t\0", 14);
    qToLittleEndian<quint32>(0x00FFFFF0, file.data() + file.indexOf(name) + 116);

    Workbook wb = Workbook::fromBytes(file);
    wb.sheet(0).setText(0, 0, QStringLiteral("modificat"));
    const std::vector<CompoundStream> out = readCompoundFile(wb.toBytes());
    for (const CompoundStream& s : others) {
        auto it = std::find_if(out.begin(), out.end(), [&](const CompoundStream& o) { return o.name == s.name; });
        ASSERT_NE(it, out.end()) << s.name.toStdString();
        EXPECT_EQ(it->data, s.data) << s.name.toStdString();
        EXPECT_EQ(it->clsid, s.clsid) << s.name.toStdString();
    }
    EXPECT_EQ(out.size(), others.size() + 2); // and the workbook, and the storage VBA
    SKIP_WITHOUT_CONVERTER();
    QTemporaryDir dir;
    wb.save(dir.filePath(QStringLiteral("m.xls")));
    EXPECT_EQ(test::convertToCsv(dir.filePath(QStringLiteral("m.xls"))).at(0).at(0).value(0), QStringLiteral("modificat"));
}
