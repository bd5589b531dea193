// Opening a data folder puts back every table a killed writer left half written, the tables
// of a transaction over several tables together, before anything reads or copies them.

#include "db_test_util.h"

#include <QDir>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

QByteArray table(const char* name) {
    return makeDbf({{"NUME", 'C', 4}}, {" " + QByteArray(name).leftJustified(4, ' '), QByteArray(" doi ")});
}

// A writer that journalled the first record and the header of `path`, then died after
// overwriting them.
void halfWrite(const QString& path, const QString& master) {
    const QByteArray before = readBytes(path);
    const int first = u16At(before, 8);
    db::writeJournal(path, before.size(), {{0, before.left(32)}, {first, before.mid(first, 5)}}, master);
    QByteArray after = before;
    after.replace(first, 5, QByteArray(" XXXX"));
    after[20] = char(after[20] + 1);
    after += QByteArray(" nou") + char(0x1A);
    writeBytes(path, after);
}

TEST(FolderRecovery, EveryHalfWrittenTableIsPutBackAndNothingOfTheWriterStays) {
    DataFolder dir;
    const QString a = dir.file(QStringLiteral("A.dbf")), b = dir.file(QStringLiteral("B.dbf")),
                  c = dir.file(QStringLiteral("C.dbf"));
    for (const QString& path : {a, b, c}) writeBytes(path, table(qPrintable(QFileInfo(path).baseName())));
    const QByteArray beforeA = readBytes(a), beforeB = readBytes(b), beforeC = readBytes(c);
    // A and B in one transaction over both (its master alive: not committed), C alone.
    const QString master = dir.file(QStringLiteral("Vartesa-0123456789ab.mj"));
    db::writeMaster(master, {a, b});
    halfWrite(a, master);
    halfWrite(b, master);
    halfWrite(c, QString());

    db::Database db(dir.path());
    EXPECT_EQ(db.recoverFolder(dir.path()), (QStringList{"A.dbf", "B.dbf", "C.dbf"}));
    EXPECT_EQ(readBytes(a), beforeA);
    EXPECT_EQ(readBytes(b), beforeB);
    EXPECT_EQ(readBytes(c), beforeC);
    EXPECT_EQ(QDir(dir.path()).entryList({"*-journal", "*.mj"}, QDir::Files), QStringList());
}

} // namespace
