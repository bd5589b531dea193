// Every kind of statement the program sends, run on real table files.

#include "db_test_util.h"

#include <QDate>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

using Rows = std::vector<QStringList>;

// A small commune: four households and their debts (one with no amount, one of a household
// that is not in the register).
class Statements : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE \"Gospodar.dbf\" (ID DECIMAL(6,0), NUME CHAR(30), SAT CHAR(15))"));
        db.exec(QStringLiteral("CREATE TABLE \"Datorii.dbf\" (ID_GOSP DECIMAL(6,0), AN DECIMAL(4,0), SUMA DECIMAL(10,2))"));
        const QString g = QStringLiteral("INSERT INTO \"Gospodar.dbf\" (ID, NUME, SAT) VALUES (?, ?, ?)");
        db.exec(g, {1, QStringLiteral("Popescu Ion"), QStringLiteral("Vartop")});
        db.exec(g, {2, QStringLiteral("Ionescu Maria"), QStringLiteral("Bistra")});
        db.exec(g, {3, QString::fromUtf8("Şerban Ana"), QStringLiteral("Vartop")});
        db.exec(g, {4, QStringLiteral("Avram Iancu"), QString()});
        const QString d = QStringLiteral("INSERT INTO \"Datorii.dbf\" (ID_GOSP, AN, SUMA) VALUES (?, ?, ?)");
        db.exec(d, {1, 2023, 100.5});
        db.exec(d, {1, 2024, 200});
        db.exec(d, {2, 2024, 50.25});
        db.exec(d, {3, 2022, 10});
        db.exec(d, {9, 2024, 5});
        db.exec(d, {4, 2024, QVariant()});
    }

    DataFolder dir;
    db::Database db{dir.path()};
};

TEST_F(Statements, CreateTableFieldTypes) {
    db.exec(QStringLiteral("CREATE TABLE \"Nou.dbf\" (DENUMIRE CHAR(40), VALOARE DECIMAL(12,2), CANT DECIMAL(5,0), EMIS DATE)"));
    const db::Layout l = db.layout(QStringLiteral("Nou.dbf"));
    ASSERT_EQ(l.fields.size(), 4u);
    const struct {
        const char* name;
        db::FieldType type;
        int length, decimals;
    } expected[] = {{"DENUMIRE", db::FieldType::Char, 40, 0},
                    {"VALOARE", db::FieldType::Numeric, 12, 2},
                    {"CANT", db::FieldType::Numeric, 5, 0},
                    {"EMIS", db::FieldType::Date, 8, 0}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(l.fields[i].name, QLatin1String(expected[i].name));
        EXPECT_EQ(l.fields[i].type, expected[i].type);
        EXPECT_EQ(l.fields[i].length, expected[i].length);
        EXPECT_EQ(l.fields[i].decimals, expected[i].decimals);
    }
    // A second CREATE of the same file is refused and leaves the file alone.
    const QByteArray before = readBytes(dir.file(QStringLiteral("Nou.dbf")));
    EXPECT_THROW(db.exec(QStringLiteral("CREATE TABLE \"Nou.dbf\" (X CHAR(1))")), Error);
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("Nou.dbf"))), before);
}

TEST_F(Statements, CreateTableRefusesFieldsDbaseCannotHold) {
    const char* bad[] = {"(NUMEFOARTELUNG CHAR(5))", "(A CHAR(5), a DECIMAL(3,0))", "(A CHAR(300))",
                         "(A DECIMAL(30,2))", "(A DECIMAL(4,3))", "(A BLOB)", "()"};
    for (const char* fields : bad) {
        SCOPED_TRACE(fields);
        EXPECT_THROW(db.exec(QStringLiteral("CREATE TABLE \"Rau.dbf\" ") + QLatin1String(fields)), Error);
        EXPECT_FALSE(fileExists(dir.file(QStringLiteral("Rau.dbf"))));
    }
}

TEST_F(Statements, AlterTableAddAndDropKeepOtherColumns) {
    db.exec(QStringLiteral("ALTER TABLE \"Gospodar.dbf\" ADD COLUMN OBS CHAR(10)"));
    {
        // Each step on an engine that has not loaded the table before (the engine that
        // altered it is covered by SameEngineUsesTableAfterAlter).
        db::Database next(dir.path());
        EXPECT_EQ(rowsOf(next, QStringLiteral("SELECT ID, NUME, SAT, OBS FROM \"Gospodar.dbf\" WHERE ID <= 2 ORDER BY ID")),
                  (Rows{{"1", "Popescu Ion", "Vartop", ""}, {"2", "Ionescu Maria", "Bistra", ""}}));
        next.exec(QStringLiteral("UPDATE \"Gospodar.dbf\" SET OBS = 'scutit' WHERE ID = 2"));
    }
    db::Database dropper(dir.path());
    dropper.exec(QStringLiteral("ALTER TABLE \"Gospodar.dbf\" DROP COLUMN SAT"));

    db::Database fresh(dir.path());
    const db::Layout l = fresh.layout(QStringLiteral("Gospodar.dbf"));
    ASSERT_EQ(l.fields.size(), 3u);
    EXPECT_EQ(l.fields[0].name, QStringLiteral("ID"));
    EXPECT_EQ(l.fields[1].name, QStringLiteral("NUME"));
    EXPECT_EQ(l.fields[2].name, QStringLiteral("OBS"));
    EXPECT_EQ(rowsOf(fresh, QStringLiteral("SELECT * FROM \"Gospodar.dbf\" ORDER BY ID")),
              (Rows{{"1", "Popescu Ion", ""},
                    {"2", "Ionescu Maria", "scutit"},
                    {"3", "Şerban Ana", ""},
                    {"4", "Avram Iancu", ""}}));
    EXPECT_THROW(fresh.exec(QStringLiteral("SELECT SAT FROM \"Gospodar.dbf\"")), Error);
    const QByteArray before = readBytes(dir.file(QStringLiteral("Gospodar.dbf")));
    EXPECT_THROW(fresh.exec(QStringLiteral("ALTER TABLE \"Gospodar.dbf\" DROP COLUMN NUMELIPSA")), Error);
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("Gospodar.dbf"))), before);
}

// The engine that rewrote a table (ALTER TABLE here; packing and width changes the same)
// goes on using it with its new layout.
TEST_F(Statements, SameEngineUsesTableAfterAlter) {
    db.exec(QStringLiteral("ALTER TABLE \"Gospodar.dbf\" ADD COLUMN OBS CHAR(10)"));
    EXPECT_EQ(db.exec(QStringLiteral("UPDATE \"Gospodar.dbf\" SET OBS = 'scutit' WHERE ID = 2")), 1);
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT OBS FROM \"Gospodar.dbf\" ORDER BY ID")),
              (QStringList{"", "scutit", "", ""}));
    db.exec(QStringLiteral("ALTER TABLE \"Gospodar.dbf\" DROP COLUMN SAT"));
    EXPECT_EQ(db.query(QStringLiteral("SELECT * FROM \"Gospodar.dbf\"")).columnCount(), 3);
}

// A table dropped and created again under the same name is used in its new form.
TEST_F(Statements, SameEngineUsesTableDroppedAndCreatedAgain) {
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Datorii.dbf\"")).toInt(), 6);
    db.exec(QStringLiteral("DROP TABLE \"Datorii.dbf\""));
    EXPECT_FALSE(fileExists(dir.file(QStringLiteral("Datorii.dbf"))));
    db.exec(QStringLiteral("CREATE TABLE \"Datorii.dbf\" (ID_GOSP DECIMAL(6,0), SUMA DECIMAL(10,2))"));
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO \"Datorii.dbf\" (ID_GOSP, SUMA) VALUES (1, 2)")), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Datorii.dbf\"")).toInt(), 1);
}

TEST_F(Statements, DropTableRemovesFile) {
    db.exec(QStringLiteral("DROP TABLE \"Datorii.dbf\""));
    EXPECT_FALSE(fileExists(dir.file(QStringLiteral("Datorii.dbf"))));
    EXPECT_THROW(db.query(QStringLiteral("SELECT * FROM \"Datorii.dbf\"")), Error);
    EXPECT_THROW(db.exec(QStringLiteral("DROP TABLE \"Datorii.dbf\"")), Error);
    // The other table is untouched.
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Gospodar.dbf\"")).toInt(), 4);
}

TEST_F(Statements, InsertSelectCopiesRows) {
    db.exec(QStringLiteral("CREATE TABLE \"Arhiva.dbf\" (ID DECIMAL(6,0), NUME CHAR(30))"));
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO \"Arhiva.dbf\" (ID, NUME) SELECT ID, NUME FROM \"Gospodar.dbf\" "
                                     "WHERE SAT = 'Vartop'")),
              2);
    db::Database fresh(dir.path());
    EXPECT_EQ(rowsOf(fresh, QStringLiteral("SELECT ID, NUME FROM \"Arhiva.dbf\" ORDER BY ID")),
              (Rows{{"1", "Popescu Ion"}, {"3", QString::fromUtf8("Şerban Ana")}}));
}

TEST_F(Statements, UpdateWithCorrelatedSubSelectPerRow) {
    db.exec(QStringLiteral("CREATE TABLE \"Total.dbf\" (ID DECIMAL(6,0), TOTAL DECIMAL(10,2), ULTIMUL DECIMAL(4,0))"));
    db.exec(QStringLiteral("INSERT INTO \"Total.dbf\" (ID) SELECT ID FROM \"Gospodar.dbf\""));
    EXPECT_EQ(db.exec(QStringLiteral("UPDATE \"Total.dbf\" SET TOTAL = (SELECT SUM(d.SUMA) FROM \"Datorii.dbf\" d "
                                     "WHERE d.ID_GOSP = \"Total.dbf\".ID), ULTIMUL = (SELECT MAX(AN) FROM "
                                     "\"Datorii.dbf\" d WHERE d.ID_GOSP = \"Total.dbf\".ID AND d.SUMA IS NOT NULL)")),
              4);
    const Rows expected = {{"1", "300.5", "2024"}, {"2", "50.25", "2024"}, {"3", "10", "2022"}, {"4", "<null>", "<null>"}};
    EXPECT_EQ(rowsOf(db, QStringLiteral("SELECT ID, TOTAL, ULTIMUL FROM \"Total.dbf\" ORDER BY ID")), expected);
    db::Database fresh(dir.path());
    EXPECT_EQ(rowsOf(fresh, QStringLiteral("SELECT ID, TOTAL, ULTIMUL FROM \"Total.dbf\" ORDER BY ID")), expected);
}

TEST_F(Statements, DeleteWhereMarksRecordsDeleted) {
    EXPECT_EQ(db.exec(QStringLiteral("DELETE FROM \"Datorii.dbf\" WHERE AN < ?"), {2024}), 2);
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT ID_GOSP FROM \"Datorii.dbf\" ORDER BY ID_GOSP")),
              (QStringList{"1", "2", "4", "9"}));
    // The records stay in the file, flagged, until the table is packed.
    const QByteArray b = readBytes(dir.file(QStringLiteral("Datorii.dbf")));
    const int header = u16At(b, 8), length = u16At(b, 10);
    EXPECT_EQ(u32At(b, 4), 6u);
    QByteArray flags;
    for (int r = 0; r < 6; ++r) flags += b[header + r * length];
    EXPECT_EQ(flags, QByteArray("*  *  "));
    db::Database fresh(dir.path());
    EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Datorii.dbf\"")).toInt(), 4);
    // Deleting every row goes row by row as well.
    EXPECT_EQ(db.exec(QStringLiteral("DELETE FROM \"Datorii.dbf\"")), 4);
    db::Database again(dir.path());
    EXPECT_TRUE(again.query(QStringLiteral("SELECT * FROM \"Datorii.dbf\"")).isEmpty());
}

const char* const G = "\"Gospodar.dbf\"";
const char* const D = "\"Datorii.dbf\"";

struct SelectCase {
    const char* what;
    std::string sql; // $G and $D stand for the two tables
    Rows rows;
};

class Selects : public Statements, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(Selects, GiveExpectedRows) {
    const QString text = QString::fromStdString(GetParam().sql)
                             .replace(QStringLiteral("$G"), QLatin1String(G))
                             .replace(QStringLiteral("$D"), QLatin1String(D));
    EXPECT_EQ(rowsOf(db, text), GetParam().rows);
}

std::string sql(const char* text) { return text; }

std::vector<SelectCase> selectCases() {
    const std::vector<SelectCase> texts = {
        {"alias", sql("SELECT g.NUME AS N, g.SAT AS LOC FROM $G g WHERE g.ID = 2"), {{"Ionescu Maria", "Bistra"}}},
        {"join", sql("SELECT g.NUME, d.SUMA FROM $G g JOIN $D d ON d.ID_GOSP = g.ID WHERE d.AN = 2024 AND d.SUMA IS NOT NULL ORDER BY g.ID"),
         {{"Popescu Ion", "200"}, {"Ionescu Maria", "50.25"}}},
        {"left_join", sql("SELECT g.ID, COUNT(d.SUMA) FROM $G g LEFT JOIN $D d ON d.ID_GOSP = g.ID GROUP BY g.ID ORDER BY g.ID"),
         {{"1", "2"}, {"2", "1"}, {"3", "1"}, {"4", "0"}}},
        {"full_join", sql("SELECT g.NUME, d.ID_GOSP FROM $G g FULL JOIN $D d ON d.ID_GOSP = g.ID WHERE g.ID IS NULL OR d.ID_GOSP IS NULL"),
         {{"<null>", "9"}}},
        {"and_or_not", sql("SELECT ID FROM $G WHERE SAT = 'Vartop' AND NOT (ID = 1) OR ID = 4 ORDER BY ID"), {{"3"}, {"4"}}},
        {"like", sql("SELECT ID FROM $G WHERE NUME LIKE '%escu%' ORDER BY ID"), {{"1"}, {"2"}}},
        {"like_any_case", sql("SELECT ID FROM $G WHERE NUME LIKE 'pop%'"), {{"1"}}},
        {"in_list", sql("SELECT NUME FROM $G WHERE ID IN (1, 3) ORDER BY ID"), {{"Popescu Ion"}, {"Şerban Ana"}}},
        {"in_sub_select", sql("SELECT NUME FROM $G WHERE ID IN (SELECT ID_GOSP FROM $D WHERE SUMA > 100)"), {{"Popescu Ion"}}},
        {"not_in_sub_select", sql("SELECT ID FROM $G WHERE ID NOT IN (SELECT ID_GOSP FROM $D WHERE SUMA IS NOT NULL)"), {{"4"}}},
        {"is_null", sql("SELECT ID_GOSP, AN FROM $D WHERE SUMA IS NULL"), {{"4", "2024"}}},
        {"scalar_sub_select", sql("SELECT NUME, (SELECT MAX(AN) FROM $D d WHERE d.ID_GOSP = g.ID) FROM $G g WHERE ID IN (1, 3) ORDER BY ID"),
         {{"Popescu Ion", "2024"}, {"Şerban Ana", "2022"}}},
        {"from_sub_select", sql("SELECT t.S FROM (SELECT ID_GOSP, SUM(SUMA) AS S FROM $D GROUP BY ID_GOSP) t WHERE t.ID_GOSP = 1"), {{"300.5"}}},
        {"group_having", sql("SELECT ID_GOSP, SUM(SUMA) FROM $D GROUP BY ID_GOSP HAVING SUM(SUMA) > 20 ORDER BY ID_GOSP"),
         {{"1", "300.5"}, {"2", "50.25"}}},
        {"order_desc", sql("SELECT SUMA FROM $D WHERE SUMA IS NOT NULL ORDER BY SUMA DESC"), {{"200"}, {"100.5"}, {"50.25"}, {"10"}, {"5"}}},
        {"order_two_keys", sql("SELECT ID_GOSP, AN FROM $D WHERE ID_GOSP < 3 ORDER BY ID_GOSP DESC, AN"), {{"2", "2024"}, {"1", "2023"}, {"1", "2024"}}},
        {"distinct", sql("SELECT DISTINCT SAT FROM $G WHERE SAT <> '' ORDER BY SAT"), {{"Bistra"}, {"Vartop"}}},
        {"aggregates", sql("SELECT COUNT(*), COUNT(SUMA), SUM(SUMA), MAX(SUMA), MIN(AN) FROM $D"), {{"6", "5", "365.75", "200", "2022"}}},
        {"upper", sql("SELECT UPPER(NUME) FROM $G WHERE ID = 3"), {{"ŞERBAN ANA"}}},
        {"empty_text_not_null", sql("SELECT ID FROM $G WHERE SAT = '' AND SAT IS NOT NULL"), {{"4"}}},
    };
    return texts;
}

INSTANTIATE_TEST_SUITE_P(Kinds, Selects, ::testing::ValuesIn(selectCases()),
                         [](const ::testing::TestParamInfo<SelectCase>& info) { return std::string(info.param.what); });

TEST_F(Statements, ResultColumnsCarryTheirAliases) {
    const db::Query q = db.query(QStringLiteral("SELECT g.NUME AS N, COUNT(*) AS CATE FROM \"Gospodar.dbf\" g"));
    ASSERT_EQ(q.columnCount(), 2);
    EXPECT_EQ(q.columnName(0), QStringLiteral("N"));
    EXPECT_EQ(q.columnName(1), QStringLiteral("CATE"));
}

// --- casts and Romanian letters -----------------------------------------------------------

struct CastCase {
    const char* text;
    QVariant number; // null when the text is not a number
};

class CastToFloat : public Statements, public ::testing::WithParamInterface<CastCase> {};

TEST_P(CastToFloat, NumberOrNull) {
    const CastCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    // As a bound value and as a value read from a text field.
    const QVariant bound = db.scalar(QStringLiteral("SELECT CAST(? AS FLOAT)"), {text});
    db.exec(QStringLiteral("CREATE TABLE \"Texte.dbf\" (T CHAR(10))"));
    db.exec(QStringLiteral("INSERT INTO \"Texte.dbf\" (T) VALUES (?)"), {text});
    const QVariant stored = db.scalar(QStringLiteral("SELECT CAST(T AS FLOAT) FROM \"Texte.dbf\""));
    for (const QVariant& v : {bound, stored}) {
        if (c.number.isNull()) {
            EXPECT_TRUE(v.isNull()) << v.toString().toStdString();
        } else {
            ASSERT_FALSE(v.isNull());
            EXPECT_DOUBLE_EQ(v.toDouble(), c.number.toDouble());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, CastToFloat,
                         ::testing::Values(CastCase{"12A", QVariant()}, CastCase{"", QVariant()},
                                           CastCase{"abc", QVariant()}, CastCase{"1.2.3", QVariant()},
                                           CastCase{"-", QVariant()}, CastCase{"12", 12.0},
                                           CastCase{" 7.5 ", 7.5}, CastCase{"-3", -3.0}, CastCase{"0.25", 0.25}));

TEST_F(Statements, CastToCharCutsToWidth) {
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT CAST('ABCDEF' AS CHAR(3))")).toString(), QStringLiteral("ABC"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT CAST(12345 AS CHAR(3))")).toString(), QStringLiteral("123"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT CAST('AB' AS CHAR(3))")).toString(), QStringLiteral("AB"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT CAST(NUME AS CHAR(3)) FROM \"Gospodar.dbf\" WHERE ID = 3")).toString(),
              QString::fromUtf8("Şer"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT CAST(ID_GOSP AS CHAR(3)) || '/' || CAST(AN AS CHAR(2)) FROM \"Datorii.dbf\" "
                                       "WHERE ID_GOSP = 2")).toString(),
              QStringLiteral("2/20"));
}

TEST_F(Statements, UpperAndLikeKnowRomanianLetters) {
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT UPPER(?)"), {QString::fromUtf8("şţăâî")}).toString(),
              QString::fromUtf8("ŞŢĂÂÎ"));
    const QString like = QStringLiteral("SELECT ? LIKE ?");
    const struct {
        const char* text;
        const char* pattern;
        bool matches;
    } cases[] = {{"ŞIEU", "ş%", true},   {"șieu", "ş%", true},    {"ŞIEU", "ș%", true}, {"sieu", "ş%", false},
                 {"ţară", "ȚARĂ", true}, {"ÎNCĂ", "%ncă", true},  {"Ana", "A_a", true}, {"Ana", "A_", false},
                 {"Bistra", "b%a", true}, {"Bâtca", "Batca", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " LIKE " + c.pattern);
        EXPECT_EQ(db.scalar(like, {QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)}).toInt(), c.matches ? 1 : 0);
    }
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT '10%' LIKE '10!%' ESCAPE '!'")).toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT '105' LIKE '10!%' ESCAPE '!'")).toInt(), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT 'ŞIEU' NOT LIKE 'ș%'")).toInt(), 0);
    EXPECT_TRUE(db.scalar(QStringLiteral("SELECT UPPER(NULL)")).isNull());
    // On stored names, whichever form of the letter the clerk types.
    db.exec(QStringLiteral("INSERT INTO \"Gospodar.dbf\" (ID, NUME) VALUES (5, ?)"), {QString::fromUtf8("ŞIEU VASILE")});
    db.exec(QStringLiteral("INSERT INTO \"Gospodar.dbf\" (ID, NUME) VALUES (6, ?)"), {QString::fromUtf8("șieu maria")});
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT ID FROM \"Gospodar.dbf\" WHERE NUME LIKE ? ORDER BY ID"),
                       {QString::fromUtf8("ş%")}),
              (QStringList{"3", "5", "6"}));
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT ID FROM \"Gospodar.dbf\" WHERE UPPER(NUME) LIKE ? ORDER BY ID"),
                       {QString::fromUtf8("ȘIEU%")}),
              (QStringList{"5", "6"}));
}

// --- values travel as parameters ----------------------------------------------------------

TEST_F(Statements, QuotesInsideBoundValuesAreStoredAndFound) {
    const QStringList names = {QStringLiteral("SC \"ALFA\" SRL"), QStringLiteral("O'NEIL"), QStringLiteral("'; DROP --")};
    int id = 10;
    for (const QString& n : names)
        db.exec(QStringLiteral("INSERT INTO \"Gospodar.dbf\" (ID, NUME) VALUES (?, ?)"), {id++, n});
    db::Database fresh(dir.path());
    id = 10;
    for (const QString& n : names) {
        SCOPED_TRACE(n.toStdString());
        EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT ID FROM \"Gospodar.dbf\" WHERE NUME = ?"), {n}).toInt(), id++);
    }
    EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Gospodar.dbf\"")).toInt(), 7);
}

TEST_F(Statements, DoubleQuotedWordsAreNamesNotValues) {
    EXPECT_THROW(db.query(QStringLiteral("SELECT ID FROM \"Gospodar.dbf\" WHERE NUME = \"Popescu Ion\"")), Error);
    const QByteArray before = readBytes(dir.file(QStringLiteral("Gospodar.dbf")));
    EXPECT_THROW(db.exec(QStringLiteral("INSERT INTO \"Gospodar.dbf\" (ID, NUME) VALUES (7, \"abc\")")), Error);
    EXPECT_THROW(db.exec(QStringLiteral("UPDATE \"Gospodar.dbf\" SET NUME = \"abc\" WHERE ID = 1")), Error);
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("Gospodar.dbf"))), before);
    // A double-quoted column name is fine.
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT \"NUME\" FROM \"Gospodar.dbf\" WHERE ID = 1")).toString(),
              QStringLiteral("Popescu Ion"));
}

TEST_F(Statements, WrongStatementsFailWithMessage) {
    const QByteArray before = readBytes(dir.file(QStringLiteral("Gospodar.dbf")));
    const std::pair<QString, QVariantList> bad[] = {
        {QStringLiteral("SELEC ID FROM \"Gospodar.dbf\""), {}},
        {QStringLiteral("SELECT NIMIC FROM \"Gospodar.dbf\""), {}},
        {QStringLiteral("UPDATE \"Gospodar.dbf\" SET NIMIC = 1"), {}},
        {QStringLiteral("SELECT * FROM \"Lipsa.dbf\""), {}},
        {QStringLiteral("INSERT INTO \"Gospodar.dbf\" (ID, NUME) VALUES (?, ?)"), {5}},
        {QStringLiteral("INSERT INTO \"Gospodar.dbf\" (ID) VALUES (?)"), {5, 6}}};
    for (const auto& [statement, values] : bad) {
        SCOPED_TRACE(statement.toStdString());
        try {
            db.exec(statement, values);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_FALSE(e.text().isEmpty());
        }
    }
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("Gospodar.dbf"))), before);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Gospodar.dbf\"")).toInt(), 4);
}

} // namespace
