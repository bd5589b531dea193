// Table names as the program writes them, packing, indexes, width changes of text and
// numeric fields and holding a table open.

#include "db_test_util.h"

#include <QDate>
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
                             QStringLiteral("./Arhiva/Vechi.dbf")}; // ".." is refused: no name climbs out of a folder
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
        EXPECT_THROW(db.changeNumericWidth(QStringLiteral("Rol.dbf"), {{QStringLiteral("SUMA"), 12, 2}}), Error);
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

// --- numeric width changes ----------------------------------------------------------------------

// Debt lines as an older release left them: CANT narrow, text and dates after it, one
// record deleted.
class NumericWidths : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE \"Datorii.dbf\" (IDDAT DECIMAL(4,0), CANT DECIMAL(9,4), DENUM CHAR(20), "
                               "SUMA DECIMAL(6,0), DINDATA DATE)"));
        const QString add =
            QStringLiteral("INSERT INTO \"Datorii.dbf\" (IDDAT, CANT, DENUM, SUMA, DINDATA) VALUES (?, ?, ?, ?, ?)");
        db.exec(add, {1, 1234.5678, QStringLiteral("Şură, ţarc în Bârgău"), 90, QDate(2024, 3, 1)});
        db.exec(add, {2, -0.5, QStringLiteral("Clădire"), -700, QVariant()});
        db.exec(add, {3, 42, QStringLiteral("ştearsă"), 12345, QDate(2023, 12, 31)});
        db.exec(add, {4, QVariant(), QVariant(), QVariant(), QVariant()});
        db.exec(QStringLiteral("DELETE FROM \"Datorii.dbf\" WHERE IDDAT = 3"));
    }
    QString debts() const { return dir.file(QStringLiteral("Datorii.dbf")); }
    // Files beside the tables and the lock file: a new file left half written, for one.
    QStringList leftovers() const {
        QStringList out;
        for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
            if (!f.endsWith(QLatin1String(".dbf")) && f != QLatin1String("Vartesa.lck")) out << f;
        return out;
    }
    static QByteArray fieldBytes(const QByteArray& file, const db::Layout& l, int record, size_t field) {
        return file.mid(l.headerLength + record * l.recordLength + l.fields[field].offset, l.fields[field].length);
    }

    DataFolder dir;
    db::Database db{dir.path()};
};

TEST_F(NumericWidths, ChangeKeepsEveryRecordItsValuesAndTheOtherFieldsBytes) {
    db::Database other(dir.path());
    const QString all = QStringLiteral("SELECT IDDAT, CANT, DENUM, SUMA, DINDATA FROM \"Datorii.dbf\" ORDER BY IDDAT");
    ASSERT_EQ(rowsOf(other, all).size(), 3u); // loaded before the change
    const QByteArray before = readBytes(debts());
    const db::Layout old = db.layout(QStringLiteral("Datorii.dbf"));

    db.changeNumericWidth(QStringLiteral("datorii.dbf"), {{QStringLiteral("CANT"), 15, 4}, {QStringLiteral("suma"), 10, 2}});

    const QByteArray after = readBytes(debts());
    const db::Layout now = db.layout(QStringLiteral("Datorii.dbf"));
    QStringList shape;
    for (const db::Field& f : now.fields) shape << QStringLiteral("%1 %2,%3").arg(f.name).arg(f.length).arg(f.decimals);
    EXPECT_EQ(shape, (QStringList{"IDDAT 4,0", "CANT 15,4", "DENUM 20,0", "SUMA 10,2", "DINDATA 8,0"}));
    ASSERT_EQ(now.recordCount, 4u);
    EXPECT_EQ(after.size(), now.headerLength + 4 * now.recordLength + 1);
    // Each record, the deleted one too: its flag, the numbers moved digit for digit, the
    // other fields byte for byte.
    const char* const expected[][3] = {{" ", "      1234.5678", "     90.00"},
                                       {" ", "        -0.5000", "   -700.00"},
                                       {"*", "        42.0000", "  12345.00"},
                                       {" ", "               ", "          "}};
    for (int r = 0; r < 4; ++r) {
        SCOPED_TRACE(r + 1);
        EXPECT_EQ(after.mid(now.headerLength + r * now.recordLength, 1) + '|' + fieldBytes(after, now, r, 1) + '|' +
                      fieldBytes(after, now, r, 3),
                  QByteArray(expected[r][0]) + '|' + expected[r][1] + '|' + expected[r][2]);
        for (size_t f : {0u, 2u, 4u}) EXPECT_EQ(fieldBytes(after, now, r, f), fieldBytes(before, old, r, f)) << f;
    }
    // Another workstation that had the table loaded reads the new layout at its next statement.
    EXPECT_EQ(rowsOf(other, all), (Rows{{"1", "1234.5678", "Şură, ţarc în Bârgău", "90", "2024-03-01"},
                                        {"2", "-0.5", "Clădire", "-700", "<null>"},
                                        {"4", "<null>", "", "<null>", "<null>"}}));
    other.exec(QStringLiteral("UPDATE \"Datorii.dbf\" SET CANT = 1234567890.1234 WHERE IDDAT = 1"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT CANT FROM \"Datorii.dbf\" WHERE IDDAT = 1")).toDouble(), 1234567890.1234);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
}

// A value that would lose a digit refuses the whole change, wherever its record lies: the
// file stays byte for byte as it was and nothing is left beside it.
TEST_F(NumericWidths, ValueThatDoesNotFitRefusesTheWholeChange) {
    const struct {
        std::vector<db::NumericWidth> sizes;
        const char* value; // named in the refusal
    } cases[] = {
        {{{"SUMA", 3, 0}}, "-700"},                  // the second record
        {{{"SUMA", 4, 0}}, "12345"},                 // the deleted record
        {{{"CANT", 12, 2}}, "1234.5678"},            // decimals that are not zeros
        {{{"CANT", 15, 4}, {"SUMA", 3, 0}}, "-700"}, // one field fits, the other does not
    };
    const QByteArray before = readBytes(debts());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        try {
            db.changeNumericWidth(QStringLiteral("Datorii.dbf"), c.sizes);
            ADD_FAILURE() << "changed although a value does not fit";
        } catch (const Error& e) {
            EXPECT_TRUE(e.text().contains(QLatin1String(c.value))) << e.text().toStdString();
        }
        EXPECT_EQ(readBytes(debts()), before);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    }
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT SUMA FROM \"Datorii.dbf\" ORDER BY IDDAT")),
              (QStringList{"90", "-700", "<null>"}));
}

TEST_F(NumericWidths, RefusedForOtherFieldsAndImpossibleSizes) {
    const std::vector<db::NumericWidth> cases[] = {
        {{"LIPSA", 12, 0}}, {{"DENUM", 30, 0}}, {{"DINDATA", 10, 0}}, {{"CANT", 0, 0}},
        {{"CANT", 21, 4}},  {{"CANT", 5, 4}},   {{"CANT", 15, 4}, {"cant", 16, 4}}};
    const QByteArray before = readBytes(debts());
    for (const auto& sizes : cases) {
        SCOPED_TRACE(sizes.back().field.toStdString() + " " + std::to_string(sizes.back().width));
        EXPECT_THROW(db.changeNumericWidth(QStringLiteral("Datorii.dbf"), sizes), Error);
        EXPECT_EQ(readBytes(debts()), before);
    }
    // Sizes the fields already have: nothing to rewrite.
    db.changeNumericWidth(QStringLiteral("Datorii.dbf"), {{"CANT", 9, 4}, {"SUMA", 6, 0}});
    EXPECT_EQ(readBytes(debts()), before);
}

// The numbers as other programs write them too, moved to a new size one by one; null
// expected: the change is refused and the file stays as it was.
struct Refit {
    const char* what;
    int length, decimals;
    const char* text;
    int newLength, newDecimals;
    const char* expected;
};

class NumericRefit : public ::testing::TestWithParam<Refit> {};

TEST_P(NumericRefit, MovesTheDigitsOrRefuses) {
    const Refit& c = GetParam();
    DataFolder dir;
    const QString path = dir.file(QStringLiteral("Pag4.dbf"));
    writeBytes(path, makeDbf({{"IDGOS", 'N', 2}, {"CCA", 'N', c.length, c.decimals}},
                             {QByteArray("  1") + c.text}));
    const QByteArray before = readBytes(path);
    db::Database db(dir.path());
    if (!c.expected) {
        EXPECT_THROW(db.changeNumericWidth(QStringLiteral("Pag4.dbf"), {{"CCA", c.newLength, c.newDecimals}}), Error);
        EXPECT_EQ(readBytes(path), before);
        return;
    }
    db.changeNumericWidth(QStringLiteral("Pag4.dbf"), {{"CCA", c.newLength, c.newDecimals}});
    const QByteArray after = readBytes(path);
    EXPECT_EQ(after.mid(u16At(after, 8) + 3, c.newLength), QByteArray(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericRefit,
    ::testing::Values(Refit{"wider", 8, 4, " 12.5000", 12, 4, "     12.5000"},
                      Refit{"fewer_decimals_written", 8, 4, "    12.5", 12, 4, "     12.5000"},
                      Refit{"decimals_added", 6, 0, "    -7", 10, 2, "     -7.00"},
                      Refit{"zero_decimals_dropped", 8, 4, "  1.2300", 6, 2, "  1.23"},
                      Refit{"comma_without_whole", 4, 2, "  ,5", 6, 2, "  0.50"},
                      Refit{"plus_and_leading_zeros", 6, 0, " +0012", 5, 0, "   12"},
                      Refit{"negative_zero", 7, 4, "-0.0000", 6, 2, "  0.00"},
                      Refit{"blank", 8, 4, "        ", 12, 4, "            "},
                      Refit{"overflow_stars_kept", 8, 4, "********", 12, 4, "    ********"},
                      Refit{"decimal_digit_lost", 8, 4, "  1.2345", 8, 2, nullptr},
                      Refit{"too_many_digits", 8, 4, "999.1234", 7, 4, nullptr},
                      Refit{"whole_too_wide", 8, 0, "12345678", 6, 0, nullptr},
                      Refit{"stars_too_wide", 8, 4, "********", 6, 2, nullptr}),
    [](const ::testing::TestParamInfo<Refit>& info) { return std::string(info.param.what); });

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
