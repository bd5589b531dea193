// Table names as the program writes them, packing, indexes, width changes and holding a
// table open.

#include "db_test_util.h"

#include <QDir>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

using Rows = std::vector<QStringList>;

// --- names ------------------------------------------------------------------------------------

TEST(TableNames, AnyCaseReachesTheSameFile) {
    DataFolder dir;
    db::Database db(dir.path());
    db.exec(QStringLiteral("CREATE TABLE \"Gospodar.dbf\" (NR DECIMAL(3,0), NUME CHAR(20))"));
    const QString spellings[] = {QStringLiteral("Gospodar.dbf"), QStringLiteral("GOSPODAR.DBF"), QStringLiteral("gospodar.dbf")};
    int nr = 1;
    for (const QString& name : spellings) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(db.resolve(name), dir.file(QStringLiteral("Gospodar.dbf")));
        EXPECT_TRUE(db.tableExists(name));
        db.exec(QStringLiteral("INSERT INTO \"%1\" (NR, NUME) VALUES (?, ?)").arg(name), {nr++, name});
    }
    for (const QString& name : spellings)
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(name)).toInt(), 3);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.dbf"), QStringLiteral("*.DBF")}, QDir::Files),
              QStringList{QStringLiteral("Gospodar.dbf")});
    db::Database fresh(dir.path());
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT NUME FROM \"GOSPODAR.dbf\" ORDER BY NR")),
              (QStringList{"Gospodar.dbf", "GOSPODAR.DBF", "gospodar.dbf"}));
}

TEST(TableNames, NewTableKeepsTheNameAsWritten) {
    DataFolder dir;
    db::Database db(dir.path());
    EXPECT_FALSE(db.tableExists(QStringLiteral("NouTabel.DBF")));
    db.exec(QStringLiteral("CREATE TABLE \"NouTabel.DBF\" (A CHAR(2))"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"NouTabel.DBF", "Vartesa.lck"}));
    EXPECT_TRUE(db.tableExists(QStringLiteral("noutabel.dbf")));
}

TEST(TableNames, RelativeNamesFromBaseFolderAndBackslashes) {
    DataFolder dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Arhiva")));
    {
        db::Database setup(dir.path() + QStringLiteral("/Arhiva"));
        setup.exec(QStringLiteral("CREATE TABLE \"Vechi.dbf\" (A CHAR(5))"));
        setup.exec(QStringLiteral("INSERT INTO \"Vechi.dbf\" (A) VALUES ('1990')"));
    }
    db::Database db(dir.path());
    EXPECT_EQ(db.resolve(QStringLiteral("Arhiva/Vechi.dbf")), dir.file(QStringLiteral("Arhiva/Vechi.dbf")));
    EXPECT_EQ(db.resolve(QStringLiteral("ARHIVA\\VECHI.DBF")), dir.file(QStringLiteral("Arhiva/Vechi.dbf")));
    EXPECT_EQ(db.resolve(QStringLiteral("Lipsa.dbf")), dir.file(QStringLiteral("Lipsa.dbf")));
    const QString names[] = {QStringLiteral("Arhiva/Vechi.dbf"), QStringLiteral("arhiva\\vechi.dbf"),
                             QString(dir.path() + QStringLiteral("/Arhiva/Vechi.dbf")).replace('/', '\\'),
                             QStringLiteral("./Arhiva/../Arhiva/Vechi.dbf")};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT A FROM \"%1\"").arg(name)).toString(), QStringLiteral("1990"));
    }
    // The base folder, not the program's current folder, is where a bare name lives.
    ASSERT_NE(QDir::currentPath(), dir.file(QStringLiteral("Arhiva")));
    EXPECT_THROW(db.query(QStringLiteral("SELECT A FROM \"Vechi.dbf\"")), Error);
}

// --- packing ------------------------------------------------------------------------------------

class Maintenance : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE \"Rol.dbf\" (NR DECIMAL(3,0), NUME CHAR(10), SUMA DECIMAL(7,2))"));
        for (int i = 1; i <= 5; ++i)
            db.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, NUME, SUMA) VALUES (?, ?, ?)"),
                    {i, QStringLiteral("Nume%1").arg(i), i * 1.5});
    }
    QString rol() const { return dir.file(QStringLiteral("Rol.dbf")); }
    Rows rolRows(db::Database& e) { return rowsOf(e, QStringLiteral("SELECT NR, NUME, SUMA FROM \"Rol.dbf\" ORDER BY NR")); }

    DataFolder dir;
    db::Database db{dir.path()};
};

TEST_F(Maintenance, PackDropsDeletedRowsClearsIndexFlagAndRemovesIndexFile) {
    db.exec(QStringLiteral("DELETE FROM \"Rol.dbf\" WHERE NR IN (2, 4)"));
    QByteArray b = readBytes(rol());
    b[28] = 1; // as left by a program that keeps a production index
    writeBytes(rol(), b);
    writeBytes(dir.file(QStringLiteral("ROL.MDX")), QByteArray("index"));
    writeBytes(dir.file(QStringLiteral("Altul.mdx")), QByteArray("index"));

    db.pack(QStringLiteral("rol.dbf"));

    const QByteArray packed = readBytes(rol());
    const int header = u16At(packed, 8), length = u16At(packed, 10);
    EXPECT_EQ(u32At(packed, 4), 3u);
    EXPECT_EQ(std::uint8_t(packed[28]), 0);
    ASSERT_EQ(packed.size(), header + 3 * length + 1);
    EXPECT_EQ(packed.back(), '\x1A');
    QByteArray flags;
    for (int r = 0; r < 3; ++r) flags += packed[header + r * length];
    EXPECT_EQ(flags, QByteArray("   "));
    // Same header and field list as before, apart from the counts.
    EXPECT_EQ(packed.mid(32, header - 32), b.mid(32, header - 32));
    EXPECT_FALSE(fileExists(dir.file(QStringLiteral("ROL.MDX"))));
    EXPECT_TRUE(fileExists(dir.file(QStringLiteral("Altul.mdx"))));

    db::Database fresh(dir.path());
    EXPECT_EQ(rolRows(fresh), (Rows{{"1", "Nume1", "1.5"}, {"3", "Nume3", "4.5"}, {"5", "Nume5", "7.5"}}));
    // New rows go after the kept ones.
    fresh.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, NUME) VALUES (6, 'Nume6')"));
    EXPECT_EQ(u32At(readBytes(rol()), 4), 4u);
}

TEST_F(Maintenance, PackRefusedWhileAnotherWorkstationHoldsTheTable) {
    db.exec(QStringLiteral("DELETE FROM \"Rol.dbf\" WHERE NR = 1"));
    const QByteArray before = readBytes(rol());
    db::Database other(dir.path());
    {
        db::TableCursor open(other, QStringLiteral("Rol.dbf"));
        EXPECT_THROW(db.pack(QStringLiteral("Rol.dbf")), Error);
        EXPECT_THROW(db.changeCharWidth(QStringLiteral("Rol.dbf"), QStringLiteral("NUME"), 20), Error);
        EXPECT_EQ(readBytes(rol()), before);
    }
    db.pack(QStringLiteral("Rol.dbf"));
    EXPECT_EQ(u32At(readBytes(rol()), 4), 4u);
}

TEST_F(Maintenance, IndexAddedOnceAndQueriesStayRight) {
    db.addIndex(QStringLiteral("Rol.dbf"), QStringLiteral("NUME"));
    try {
        db.addIndex(QStringLiteral("ROL.DBF"), QStringLiteral("nume"));
        FAIL() << "the same index was added twice";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("NUME"))) << e.text().toStdString();
    }
    EXPECT_THROW(db.addIndex(QStringLiteral("Rol.dbf"), QStringLiteral("LIPSA")), Error);
    db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME = 'Zeta' WHERE NR = 2"));
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT NR FROM \"Rol.dbf\" WHERE NUME = ?"), {QStringLiteral("Zeta")}),
              QStringList{"2"});
    EXPECT_TRUE(columnOf(db, QStringLiteral("SELECT NR FROM \"Rol.dbf\" WHERE NUME = ?"), {QStringLiteral("Nume2")}).isEmpty());
    // Another engine has its own indexes.
    db::Database other(dir.path());
    EXPECT_NO_THROW(other.addIndex(QStringLiteral("Rol.dbf"), QStringLiteral("NUME")));
}

TEST_F(Maintenance, PackByAnotherWorkstationSeenAtNextStatement) {
    EXPECT_EQ(rolRows(db).size(), 5u);
    {
        db::Database other(dir.path());
        other.exec(QStringLiteral("DELETE FROM \"Rol.dbf\" WHERE NR <= 2"));
        other.pack(QStringLiteral("Rol.dbf"));
    }
    // Same layout, fewer records, every row at a new record number.
    EXPECT_EQ(rolRows(db), (Rows{{"3", "Nume3", "4.5"}, {"4", "Nume4", "6"}, {"5", "Nume5", "7.5"}}));
    EXPECT_EQ(db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME = 'Schimbat' WHERE NR = 4")), 1);
    db::Database fresh(dir.path());
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT NUME FROM \"Rol.dbf\" ORDER BY NR")),
              (QStringList{"Nume3", "Schimbat", "Nume5"}));
}

// The engine that packed reads the table again: its rows, and the index that packing
// forgot can be added anew.
TEST_F(Maintenance, SameEngineUsesTableAfterPack) {
    db.addIndex(QStringLiteral("Rol.dbf"), QStringLiteral("NUME"));
    db.exec(QStringLiteral("DELETE FROM \"Rol.dbf\" WHERE NR = 3"));
    db.pack(QStringLiteral("Rol.dbf"));
    EXPECT_NO_THROW(db.addIndex(QStringLiteral("Rol.dbf"), QStringLiteral("NUME")));
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT NR FROM \"Rol.dbf\" ORDER BY NR")), (QStringList{"1", "2", "4", "5"}));
}

// --- width changes ------------------------------------------------------------------------------

TEST_F(Maintenance, CharWidthChangeKeepsDataAndFieldOrder) {
    db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME = 'Şerbănescu' WHERE NR = 1"));
    db.changeCharWidth(QStringLiteral("Rol.dbf"), QStringLiteral("nume"), 25);
    {
        db::Database fresh(dir.path());
        const db::Layout l = fresh.layout(QStringLiteral("Rol.dbf"));
        ASSERT_EQ(l.fields.size(), 3u);
        EXPECT_EQ(l.fields[0].name, QStringLiteral("NR"));
        EXPECT_EQ(l.fields[1].name, QStringLiteral("NUME"));
        EXPECT_EQ(l.fields[1].length, 25);
        EXPECT_EQ(l.fields[2].name, QStringLiteral("SUMA"));
        EXPECT_EQ(l.recordLength, 1 + 3 + 25 + 7);
        EXPECT_EQ(rolRows(fresh), (Rows{{"1", "Şerbănescu", "1.5"}, {"2", "Nume2", "3"}, {"3", "Nume3", "4.5"},
                                        {"4", "Nume4", "6"}, {"5", "Nume5", "7.5"}}));
        // The new width is usable at once.
        fresh.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME = ? WHERE NR = 2"), {QStringLiteral("Un nume mult mai lung")});
        fresh.changeCharWidth(QStringLiteral("Rol.dbf"), QStringLiteral("NUME"), 4);
    }
    db::Database fresh(dir.path());
    EXPECT_EQ(fresh.layout(QStringLiteral("Rol.dbf")).fields[1].length, 4);
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT NUME FROM \"Rol.dbf\" ORDER BY NR")),
              (QStringList{"Şerb", "Un n", "Nume", "Nume", "Nume"}));
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT SUMA FROM \"Rol.dbf\" ORDER BY NR")),
              (QStringList{"1.5", "3", "4.5", "6", "7.5"}));
}

TEST_F(Maintenance, CharWidthChangeRefusedForOtherFields) {
    const QByteArray before = readBytes(rol());
    EXPECT_THROW(db.changeCharWidth(QStringLiteral("Rol.dbf"), QStringLiteral("SUMA"), 12), Error);
    EXPECT_THROW(db.changeCharWidth(QStringLiteral("Rol.dbf"), QStringLiteral("LIPSA"), 12), Error);
    EXPECT_THROW(db.changeCharWidth(QStringLiteral("Rol.dbf"), QStringLiteral("NUME"), 0), Error);
    EXPECT_EQ(readBytes(rol()), before);
}

// --- holding a table open -------------------------------------------------------------------------

TEST_F(Maintenance, ExclusiveCursorWaitsForOtherWorkstationsSharedOne) {
    db::Database other(dir.path());
    {
        auto shared = std::make_unique<db::TableCursor>(other, QStringLiteral("Rol.dbf"), db::TableCursor::Mode::Shared);
        try {
            db::TableCursor alone(db, QStringLiteral("ROL.DBF"), db::TableCursor::Mode::Exclusive);
            ADD_FAILURE() << "exclusive while another workstation has the table open";
        } catch (const Error& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("Rol.dbf"))) << e.text().toStdString();
        }
        // Shared by both is fine.
        EXPECT_NO_THROW(db::TableCursor(db, QStringLiteral("Rol.dbf"), db::TableCursor::Mode::Shared));
        shared.reset();
    }
    db::TableCursor alone(db, QStringLiteral("Rol.dbf"), db::TableCursor::Mode::Exclusive);
    EXPECT_EQ(alone.rows().count(), 5);
    EXPECT_THROW(db::TableCursor(other, QStringLiteral("Rol.dbf"), db::TableCursor::Mode::Shared), Error);
    EXPECT_THROW(db::TableCursor(other, QStringLiteral("Rol.dbf"), db::TableCursor::Mode::Exclusive), Error);
    EXPECT_THROW(db::TableCursor(db, QStringLiteral("Lipsa.dbf")), Error);
}

// Packing a table this engine holds open with a shared cursor takes the table alone for the
// pack, then gives the cursor its shared hold back: other workstations can open it again.
TEST_F(Maintenance, OwnPackKeepsOwnSharedHoldShared) {
    db::TableCursor mine(db, QStringLiteral("Rol.dbf"));
    db.pack(QStringLiteral("Rol.dbf"));
    db::Database other(dir.path());
    EXPECT_NO_THROW(db::TableCursor(other, QStringLiteral("Rol.dbf")));
}

// An engine holding a table alone that packs it (or changes a width) still holds it alone.
TEST_F(Maintenance, OwnPackKeepsOwnExclusiveHoldExclusive) {
    db::TableCursor mine(db, QStringLiteral("Rol.dbf"), db::TableCursor::Mode::Exclusive);
    db.pack(QStringLiteral("Rol.dbf"));
    db.changeCharWidth(QStringLiteral("Rol.dbf"), QStringLiteral("NUME"), 12);
    db::Database other(dir.path());
    EXPECT_THROW(db::TableCursor(other, QStringLiteral("Rol.dbf")), Error);
}

// When the exclusive cursor of an engine that also holds the table shared closes, the
// table is only shared again.
TEST_F(Maintenance, ClosingOwnExclusiveCursorLeavesOwnSharedOne) {
    db::TableCursor shared(db, QStringLiteral("Rol.dbf"));
    db::Database other(dir.path());
    {
        db::TableCursor alone(db, QStringLiteral("Rol.dbf"), db::TableCursor::Mode::Exclusive);
        EXPECT_THROW(db::TableCursor(other, QStringLiteral("Rol.dbf")), Error);
    }
    // Only a shared hold is left: other workstations may open the table too.
    EXPECT_NO_THROW(db::TableCursor(other, QStringLiteral("Rol.dbf")));
}

} // namespace
