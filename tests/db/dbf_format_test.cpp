// The table file as bytes: what the engine writes, what it accepts when reading, and the
// Windows-1250 text inside.

#include "db_test_util.h"

#include "db/cp1250.h"

#include <QDate>
#include <QStringDecoder>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

// --- what a new table looks like on disk --------------------------------------------------

TEST(DbfWriting, NewTableHasDbaseHeaderDescriptorsAndRecords) {
    DataFolder dir;
    db::Database db(dir.path());
    const QDate before = QDate::currentDate();
    db.exec(QStringLiteral("CREATE TABLE \"Rol.dbf\" (NUME CHAR(20), SUMA DECIMAL(10,2), DATA DATE, NR DECIMAL(5,0))"));
    db.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NUME, SUMA, DATA, NR) VALUES (?, ?, ?, ?)"),
            {QStringLiteral("Ion Popescu"), 12.5, QDate(2024, 3, 5), 7});
    db.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NUME, NR) VALUES (?, ?)"), {QStringLiteral("Ana"), -42});
    const QDate after = QDate::currentDate();

    const QByteArray b = readBytes(dir.file(QStringLiteral("Rol.dbf")));
    const int headerLength = 32 + 4 * 32 + 1;
    const int recordLength = 1 + 20 + 10 + 8 + 5;
    ASSERT_EQ(b.size(), headerLength + 2 * recordLength + 1);
    EXPECT_EQ(std::uint8_t(b[0]), 0x03);
    EXPECT_EQ(std::uint8_t(b[29]), 0xC8);
    EXPECT_EQ(u32At(b, 4), 2u);
    EXPECT_EQ(u16At(b, 8), headerLength);
    EXPECT_EQ(u16At(b, 10), recordLength);
    EXPECT_EQ(std::uint8_t(b[28]), 0);
    const QDate stamped(1900 + std::uint8_t(b[1]), std::uint8_t(b[2]), std::uint8_t(b[3]));
    EXPECT_TRUE(stamped == before || stamped == after) << stamped.toString().toStdString();

    struct Descriptor {
        const char* name;
        char type;
        int length, decimals;
    };
    const Descriptor expected[] = {{"NUME", 'C', 20, 0}, {"SUMA", 'N', 10, 2}, {"DATA", 'D', 8, 0}, {"NR", 'N', 5, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(expected[i].name);
        const int at = 32 + 32 * i;
        QByteArray name(expected[i].name);
        name.append(QByteArray(11 - name.size(), '\0'));
        EXPECT_EQ(b.mid(at, 11), name);
        EXPECT_EQ(b[at + 11], expected[i].type);
        EXPECT_EQ(std::uint8_t(b[at + 16]), expected[i].length);
        EXPECT_EQ(std::uint8_t(b[at + 17]), expected[i].decimals);
    }
    EXPECT_EQ(b[32 + 4 * 32], '\x0D');

    // Text left-justified, numbers right-justified with their decimals, dates yyyyMMdd,
    // empty fields blank.
    EXPECT_EQ(b.mid(headerLength, recordLength),
              QByteArray(" ") + QByteArray("Ion Popescu").leftJustified(20) + QByteArray("12.50").rightJustified(10) +
                  "20240305" + QByteArray("7").rightJustified(5));
    EXPECT_EQ(b.mid(headerLength + recordLength, recordLength),
              QByteArray(" ") + QByteArray("Ana").leftJustified(20) + QByteArray(10 + 8, ' ') +
                  QByteArray("-42").rightJustified(5));
    EXPECT_EQ(b.back(), '\x1A');

    const db::Layout l = db.layout(QStringLiteral("Rol.dbf"));
    EXPECT_EQ(l.recordCount, 2u);
    ASSERT_EQ(l.fields.size(), 4u);
    EXPECT_EQ(l.fields[1].offset, 21);
    EXPECT_EQ(l.fields[3].offset, 39);
}

TEST(DbfWriting, EmptyNewTableIsHeaderAndEndMarker) {
    DataFolder dir;
    db::Database db(dir.path());
    db.exec(QStringLiteral("CREATE TABLE \"Gol.dbf\" (A CHAR(3))"));
    const QByteArray b = readBytes(dir.file(QStringLiteral("Gol.dbf")));
    ASSERT_EQ(b.size(), 32 + 32 + 1 + 1);
    EXPECT_EQ(u32At(b, 4), 0u);
    EXPECT_EQ(u16At(b, 10), 4);
    EXPECT_EQ(b.back(), '\x1A');
    EXPECT_TRUE(db.query(QStringLiteral("SELECT * FROM \"Gol.dbf\"")).isEmpty());
}

// --- Windows-1250 ---------------------------------------------------------------------------

struct Cp1250Case {
    const char* text;      // UTF-8 as the program holds it
    const char* bytes;     // hex on disk
    const char* readsBack; // UTF-8 as read from the file again
};

class Cp1250RoundTrip : public ::testing::TestWithParam<Cp1250Case> {};

TEST_P(Cp1250RoundTrip, StoredBytesAndTextReadBack) {
    const Cp1250Case& c = GetParam();
    DataFolder dir;
    {
        db::Database db(dir.path());
        db.exec(QStringLiteral("CREATE TABLE \"Nume.dbf\" (NUME CHAR(30))"));
        db.exec(QStringLiteral("INSERT INTO \"Nume.dbf\" (NUME) VALUES (?)"), {QString::fromUtf8(c.text)});
        // The loaded copy already holds what the file holds.
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT NUME FROM \"Nume.dbf\"")).toString(), QString::fromUtf8(c.readsBack));
    }
    const QByteArray file = readBytes(dir.file(QStringLiteral("Nume.dbf")));
    const QByteArray want = QByteArray::fromHex(c.bytes);
    EXPECT_EQ(file.mid(32 + 32 + 1 + 1, want.size()), want);

    db::Database fresh(dir.path());
    EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT NUME FROM \"Nume.dbf\"")).toString(), QString::fromUtf8(c.readsBack));
}

INSTANTIATE_TEST_SUITE_P(
    RomanianLetters, Cp1250RoundTrip,
    ::testing::Values(
        Cp1250Case{"ş ţ Ş Ţ ă â î", "ba20fe20aa20de20e320e220ee", "ş ţ Ş Ţ ă â î"},
        Cp1250Case{"Ă Â Î", "c320c220ce", "Ă Â Î"},
        // The comma-below letters have no byte of their own: they go in as the cedilla ones.
        Cp1250Case{"ș ț Ș Ț", "ba20fe20aa20de", "ş ţ Ş Ţ"},
        Cp1250Case{"Ştefăniţă Lăzărescu", "aa746566e36e69fee3204ce37ae37265736375", "Ştefăniţă Lăzărescu"},
        Cp1250Case{"€ ń", "8020f1", "€ ń"},
        // A letter the code page lacks becomes '?'.
        Cp1250Case{"Muñoz", "4d753f6f7a", "Mu?oz"}));

TEST(Cp1250, CommaBelowLettersEncodeAsCedillaBytes) {
    EXPECT_EQ(db::stringToCp1250(QString::fromUtf8("șțȘȚ")), QByteArray::fromHex("bafeaade"));
    EXPECT_EQ(db::stringToCp1250(QString::fromUtf8("şţŞŢ")), QByteArray::fromHex("bafeaade"));
    EXPECT_EQ(db::cp1250ToString("\xba\xfe\xaa\xde", 4), QString::fromUtf8("şţŞŢ"));
    QByteArray utf8;
    db::cp1250ToUtf8("a\xe3\xe2\xee", 4, utf8);
    EXPECT_EQ(utf8, QByteArray("a\xc4\x83\xc3\xa2\xc3\xae"));
}

TEST(Cp1250, WholeCodePageAgreesWithSystemDecoder) {
    QStringDecoder decoder("windows-1250");
    if (!decoder.isValid()) GTEST_SKIP() << "no windows-1250 decoder on this machine";
    const QList<int> unassigned = {0x81, 0x83, 0x88, 0x90, 0x98};
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const char byte = char(b);
        if (unassigned.contains(b)) {
            // No letter of the code page: the byte must at least come back as itself.
            EXPECT_EQ(db::stringToCp1250(db::cp1250ToString(&byte, 1)), QByteArray(1, byte));
            continue;
        }
        const QString system = decoder.decode(QByteArrayView(&byte, 1));
        ASSERT_EQ(system.size(), 1);
        ++compared;
        EXPECT_EQ(db::cp1250CodePoint(std::uint8_t(b)), system[0].unicode());
        EXPECT_EQ(db::cp1250ToString(&byte, 1), system);
        EXPECT_EQ(db::stringToCp1250(system), QByteArray(1, byte));
    }
    EXPECT_EQ(compared, 251);
}

// --- lenient reading ----------------------------------------------------------------------

const std::vector<RawField> kLenientFields = {{"NR", 'N', 5}, {"NUME", 'C', 8}, {"DATA", 'D', 8}, {"SUMA", 'N', 8, 2}};

TEST(DbfReading, BlankStarredAndMissingValuesAndShortFile) {
    DataFolder dir;
    // Five whole records without an end marker.
    QByteArray file = makeDbf(kLenientFields,
                              {QByteArray(" ") + "    1" + "Ana     " + "20240105" + "   12.50",
                               QByteArray(" ") + "     " + "Gol     " + "        " + "        ",
                               QByteArray(" ") + "*****" + "Stea    " + "20241231" + "********",
                               QByteArray("*") + "    4" + "Sters   " + "20240101" + "    1.00",
                               QByteArray(" ") + "    5" + "Cinci   " + "20230228" + "   -3.75"},
                              5, false);
    writeBytes(dir.file(QStringLiteral("Vechi.dbf")), file);

    db::Database db(dir.path());
    const std::vector<QStringList> rows = rowsOf(db, QStringLiteral("SELECT NR, NUME, DATA, SUMA FROM \"Vechi.dbf\""));
    const std::vector<QStringList> expected = {{"1", "Ana", "2024-01-05", "12.5"},
                                               {"<null>", "Gol", "<null>", "<null>"},
                                               {"<null>", "Stea", "2024-12-31", "<null>"},
                                               {"5", "Cinci", "2023-02-28", "-3.75"}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT NUME FROM \"Vechi.dbf\" WHERE SUMA IS NULL ORDER BY NUME")),
              (QStringList{"Gol", "Stea"}));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Vechi.dbf\"")).toInt(), 4);

    // Cut short, half of a sixth record after the five and the header claiming eight, the
    // file is refused rather than read short or written over.
    const QByteArray cut = makeDbf(kLenientFields, {}, 8, false) + file.mid(u16At(file, 8)) + " " + "    6" + "Jum";
    writeBytes(dir.file(QStringLiteral("Vechi.dbf")), cut);
    EXPECT_THROW(db.exec(QStringLiteral("UPDATE \"Vechi.dbf\" SET NUME = ? WHERE NR = 5"), {QStringLiteral("Noua")}),
                 Error);
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("Vechi.dbf"))), cut);
}

TEST(DbfReading, ImpossibleDateAndGarbageNumberReadAsNull) {
    DataFolder dir;
    writeBytes(dir.file(QStringLiteral("Rau.dbf")),
               makeDbf(kLenientFields, {QByteArray(" ") + "  1x2" + "A       " + "20240231" + " 12.5.0 ",
                                        QByteArray(" ") + "  -  " + "B       " + "2024  01" + "   -    "}));
    db::Database db(dir.path());
    EXPECT_EQ(rowsOf(db, QStringLiteral("SELECT NR, NUME, DATA, SUMA FROM \"Rau.dbf\"")),
              (std::vector<QStringList>{{"<null>", "A", "<null>", "<null>"}, {"<null>", "B", "<null>", "<null>"}}));
}

// A date column's texts as they come back: the plain form read directly must agree with
// what the general parser makes of every other form and of impossible days.
TEST(DbfReading, DateTextsReadLikeTheParser) {
    const std::pair<const char*, QDate> cases[] = {
        {"2015-06-15", QDate(2015, 6, 15)}, {"2024-02-29", QDate(2024, 2, 29)}, {"2015-02-30", QDate()},
        {"2015-13-01", QDate()},            {"0000-01-01", QDate()},            {"2015-6-15", QDate()},
        {"2015/06/15", QDate()},            {"15.06.2015", QDate(2015, 6, 15)}, {" 20150615 ", QDate(2015, 6, 15)},
    };
    for (const auto& [text, day] : cases)
        EXPECT_EQ(db::dateFromValue(QString::fromLatin1(text)), day) << text;
}

struct BadFile {
    const char* what;
    QByteArray bytes;
};

class NotDbase : public ::testing::TestWithParam<BadFile> {};

TEST_P(NotDbase, ClearErrorAndEngineStaysUsable) {
    DataFolder dir;
    writeBytes(dir.file(QStringLiteral("Strica.dbf")), GetParam().bytes);
    writeBytes(dir.file(QStringLiteral("Buna.dbf")), makeDbf({{"A", 'C', 3}}, {QByteArray(" abc")}));
    db::Database db(dir.path());
    try {
        db.query(QStringLiteral("SELECT * FROM \"Strica.dbf\""));
        FAIL() << "a file that is not a table was read";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("Strica.dbf"))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("dBase")) || e.text().contains(QStringLiteral("este deteriorata")))
            << e.text().toStdString();
    }
    EXPECT_THROW(db.exec(QStringLiteral("UPDATE \"Strica.dbf\" SET A = 'x'")), Error);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT A FROM \"Buna.dbf\"")).toString(), QStringLiteral("abc"));
    // Nothing was written into the broken file.
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("Strica.dbf"))), GetParam().bytes);
}

QByteArray withByte(QByteArray b, int at, char value) {
    b[at] = value;
    return b;
}

const QByteArray kGood = makeDbf({{"A", 'C', 3}}, {QByteArray(" abc")});

INSTANTIATE_TEST_SUITE_P(
    Files, NotDbase,
    ::testing::Values(BadFile{"empty", QByteArray()},
                      BadFile{"text", QByteArray("Acesta nu este un tabel, ci o scrisoare oarecare.\n")},
                      BadFile{"short header", kGood.left(20)},
                      BadFile{"unknown version", withByte(kGood, 0, char(0x30))},
                      BadFile{"header longer than file", withByte(withByte(kGood, 8, char(0x00)), 9, char(0x40))},
                      BadFile{"unknown field type", withByte(kGood, 32 + 11, 'X')},
                      BadFile{"record shorter than fields", withByte(kGood, 10, char(2))}),
    [](const ::testing::TestParamInfo<BadFile>& info) {
        return QString::fromLatin1(info.param.what).replace(' ', '_').toStdString();
    });

// --- the file as another program reads it -------------------------------------------------

TEST(DbfIndependentReader, ReadsOurTableIdentically) {
    if (!haveDbfread()) GTEST_SKIP() << "/usr/bin/python3 cannot import dbfread";
    DataFolder dir;
    db::Database db(dir.path());
    db.exec(QStringLiteral("CREATE TABLE \"Contrib.dbf\" (NUME CHAR(25), SUMA DECIMAL(10,2), NR DECIMAL(6,0), DATA DATE)"));
    const QString insert = QStringLiteral("INSERT INTO \"Contrib.dbf\" (NUME, SUMA, NR, DATA) VALUES (?, ?, ?, ?)");
    db.exec(insert, {QString::fromUtf8("Şerban Ţăranu"), 1234.5, 1, QDate(2023, 12, 31)});
    db.exec(insert, {QString::fromUtf8("Îşi ajută vecinii"), -0.75, 2, QDate(2024, 1, 1)});
    db.exec(insert, {QStringLiteral("Sters"), 1, 3, QDate(2024, 2, 29)});
    db.exec(insert, {QStringLiteral("Fara suma"), QVariant(), 4, QVariant()});
    db.exec(QStringLiteral("DELETE FROM \"Contrib.dbf\" WHERE NR = 3"));

    QString error;
    const QJsonObject t = readWithDbfread(dir.file(QStringLiteral("Contrib.dbf")), &error);
    ASSERT_FALSE(t.isEmpty()) << error.toStdString();
    const QJsonArray fields = t.value(QStringLiteral("fields")).toArray();
    const QJsonArray expectedFields = QJsonDocument::fromJson(
        R"([["NUME","C",25,0],["SUMA","N",10,2],["NR","N",6,0],["DATA","D",8,0]])").array();
    EXPECT_EQ(fields, expectedFields);

    // The reader gives numbers with a point as floats, others as integers, blanks as None.
    const QJsonArray records = t.value(QStringLiteral("records")).toArray();
    const QJsonArray expectedRecords = QJsonDocument::fromJson(QString::fromUtf8(
        R"([["Şerban Ţăranu","1234.5","1","2023-12-31"],
            ["Îşi ajută vecinii","-0.75","2","2024-01-01"],
            ["Fara suma",null,"4",null]])").toUtf8()).array();
    EXPECT_EQ(records, expectedRecords) << QJsonDocument(records).toJson().toStdString();
}

} // namespace
