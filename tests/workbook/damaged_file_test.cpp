// Damaged workbooks: cut short or with bytes changed at many places, a file gives
// a clear error or a readable workbook, never a crash.

#include "workbook/compound_file.h"
#include "workbook/workbook.h"

#include "db/error.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::workbook;

namespace {

QByteArray sampleFiles(const char* name) {
    QFile f(QStringLiteral(VARTESA_TEST_DATA "/workbook/") + QLatin1String(name));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QByteArray engineFile() {
    Workbook wb({QStringLiteral("A"), QStringLiteral("B")});
    Sheet& s = wb.sheet(0);
    for (int r = 0; r < 120; ++r) {
        s.setText(r, 0, QStringLiteral("Rând %1 — ţară").arg(r));
        s.setNumber(r, 1, r * 1.25);
        s.setFormula(r, 2, QStringLiteral("B%1*2+SUM(B1:B%1)").arg(r + 1));
    }
    s.mergeCells({0, 1, 0, 3});
    wb.sheet(1).setText(0, 0, QStringLiteral("x"));
    return wb.toBytes();
}

// Outcome of opening damaged bytes: true when read, false on vartesa::Error.
bool opens(const QByteArray& bytes) {
    try {
        Workbook wb = Workbook::fromBytes(bytes);
        // whatever was read must also be writable and readable again
        Workbook::fromBytes(wb.toBytes());
        return true;
    } catch (const Error& e) {
        EXPECT_FALSE(e.text().isEmpty());
        return false;
    }
}

} // namespace

TEST(DamagedFiles, CutShortFilesGiveAnError) {
    for (const QByteArray& good : {engineFile(), sampleFiles("bogat.xls")}) {
        ASSERT_TRUE(opens(good));
        int refused = 0, tried = 0;
        for (qsizetype len = 0; len < good.size(); len += 37) {
            ++tried;
            refused += opens(good.left(len)) ? 0 : 1;
        }
        // The container's tables sit at the end of the file or are needed whole:
        // no cut-short copy is taken for a workbook.
        EXPECT_EQ(refused, tried);
    }
}

TEST(DamagedFiles, ChangedBytesNeverCrash) {
    for (const QByteArray& good : {engineFile(), sampleFiles("bogat.xls"), sampleFiles("simplu.xls")}) {
        int refused = 0;
        for (qsizetype at = 0; at < good.size(); at += 5) {
            for (char value : {char(0xFF), char(0x00)}) {
                QByteArray bad = good;
                if (bad[at] == value)
                    continue;
                bad[at] = value;
                refused += opens(bad) ? 0 : 1;
            }
        }
        EXPECT_GT(refused, 0);
    }
}

TEST(DamagedFiles, PasswordProtectedWorkbookIsRefusedWithItsReason) {
    const QByteArray stream = readCompoundStream(engineFile(), {QStringLiteral("Workbook")});
    const int bofSize = 4 + get16(stream.constData() + 2);
    const QByteArray filePass("\x2F\x00\x06\x00\x00\x00\x01\x00\x01\x00", 10);
    const QByteArray locked = stream.left(bofSize) + filePass + stream.mid(bofSize);
    try {
        Workbook::fromBytes(writeCompoundFile({{QStringLiteral("Workbook"), locked}}));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("protejat cu parola")));
    }
}
