// Values as the fields hold them: text widths, number sizes and rounding, dates, amounts.

#include "db_test_util.h"

#include <QDate>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

// One table "Tip.dbf" with a single field V of the given SQL type.
class OneField : public ::testing::Test {
protected:
    void create(const QString& type) {
        db.exec(QStringLiteral("CREATE TABLE \"Tip.dbf\" (NR DECIMAL(3,0), V %1)").arg(type));
    }
    void insert(int nr, const QVariant& v) {
        db.exec(QStringLiteral("INSERT INTO \"Tip.dbf\" (NR, V) VALUES (?, ?)"), {nr, v});
    }
    QVariant value(db::Database& from, int nr) {
        return from.scalar(QStringLiteral("SELECT V FROM \"Tip.dbf\" WHERE NR = ?"), {nr});
    }
    // The bytes of field V in record `nr` (1-based), straight from the file.
    QByteArray fieldBytes(int nr) {
        const QByteArray b = readBytes(path());
        const int header = u16At(b, 8), length = u16At(b, 10);
        const int width = std::uint8_t(b[32 + 32 + 16]);
        return b.mid(header + (nr - 1) * length + 1 + 3, width);
    }
    QString path() const { return dir.file(QStringLiteral("Tip.dbf")); }

    DataFolder dir;
    db::Database db{dir.path()};
};

// --- text -----------------------------------------------------------------------------------

struct TextCase {
    int width;
    const char* stored;   // UTF-8 as bound
    const char* readBack; // UTF-8 as read; nullptr: refused, as a number too wide is
};

class CharFields : public OneField, public ::testing::WithParamInterface<TextCase> {};

TEST_P(CharFields, TrimmedRightAndRefusedWhenTooWide) {
    const TextCase& c = GetParam();
    create(QStringLiteral("CHAR(%1)").arg(c.width));
    if (!c.readBack) {
        EXPECT_THROW(insert(1, QString::fromUtf8(c.stored)), Error) << c.stored;
        EXPECT_FALSE(value(db, 1).isValid()) << "nothing stored";
        return;
    }
    insert(1, QString::fromUtf8(c.stored));
    EXPECT_EQ(value(db, 1).toString(), QString::fromUtf8(c.readBack));
    db::Database fresh(dir.path());
    EXPECT_EQ(value(fresh, 1).toString(), QString::fromUtf8(c.readBack));
    EXPECT_EQ(fieldBytes(1).size(), c.width);
}

INSTANTIATE_TEST_SUITE_P(Texts, CharFields,
                         ::testing::Values(TextCase{10, "Ana   ", "Ana"}, TextCase{10, "  Ana  ", "  Ana"},
                                           TextCase{5, "ABCDEFGH", nullptr}, TextCase{5, "ŞŢĂÂÎXYZ", nullptr},
                                           TextCase{5, "ŞŢĂÂÎ      ", "ŞŢĂÂÎ"}, TextCase{5, "AB   CD", nullptr},
                                           TextCase{3, "", ""}, TextCase{1, "xy", nullptr}));

TEST_F(OneField, NumberIntoTextFieldIsItsDigits) {
    create(QStringLiteral("CHAR(4)"));
    EXPECT_THROW(insert(1, 123456), Error) << "six digits in four places";
    insert(2, 2.5);
    insert(3, -7);
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT V FROM \"Tip.dbf\" ORDER BY NR")), (QStringList{"2.5", "-7"}));
    db::Database fresh(dir.path());
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT V FROM \"Tip.dbf\" ORDER BY NR")), (QStringList{"2.5", "-7"}));
}

// --- numbers that do not fit ----------------------------------------------------------------

struct OverflowCase {
    const char* type;
    QVariant value;
    const char* shown; // how the message shows the value
};

class NumberOverflow : public OneField, public ::testing::WithParamInterface<OverflowCase> {};

TEST_P(NumberOverflow, StatementFailsNamingTableFieldAndValueAndWritesNothing) {
    const OverflowCase& c = GetParam();
    create(QString::fromLatin1(c.type));
    insert(1, 1);
    const QByteArray before = readBytes(path());
    for (const QString& sql : {QStringLiteral("INSERT INTO \"Tip.dbf\" (NR, V) VALUES (2, ?)"),
                               QStringLiteral("UPDATE \"Tip.dbf\" SET V = ? WHERE NR = 1")}) {
        SCOPED_TRACE(sql.toStdString());
        try {
            db.exec(sql, {c.value});
            ADD_FAILURE() << "a value that does not fit was accepted";
        } catch (const Error& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("Tip.dbf"))) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QStringLiteral("V "))) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QString::fromLatin1(c.shown))) << e.text().toStdString();
        }
        EXPECT_EQ(readBytes(path()), before);
        // The engine's own copy is unchanged as well.
        EXPECT_EQ(rowsOf(db, QStringLiteral("SELECT NR, V FROM \"Tip.dbf\"")), (std::vector<QStringList>{{"1", "1"}}));
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, NumberOverflow,
                         ::testing::Values(OverflowCase{"DECIMAL(4,0)", 12345, "12345"},
                                           OverflowCase{"DECIMAL(4,0)", -1234, "-1234"},
                                           OverflowCase{"DECIMAL(6,2)", 1234.5, "1234.5"},
                                           OverflowCase{"DECIMAL(6,2)", QStringLiteral("98765"), "98765"},
                                           OverflowCase{"DECIMAL(3,0)", 1e30, "1e+30"},
                                           OverflowCase{"DECIMAL(6,2)", QStringLiteral("12abc"), "12abc"}));

// --- rounding -------------------------------------------------------------------------------

struct RoundCase {
    const char* type;
    QVariant value;
    const char* readBack; // as text
    const char* bytes;    // the field in the file
};

class NumberRounding : public OneField, public ::testing::WithParamInterface<RoundCase> {};

TEST_P(NumberRounding, HalfAwayFromZeroToFieldDecimals) {
    const RoundCase& c = GetParam();
    create(QString::fromLatin1(c.type));
    insert(1, c.value);
    EXPECT_EQ(cellText(value(db, 1)), QString::fromLatin1(c.readBack));
    db::Database fresh(dir.path());
    EXPECT_EQ(cellText(value(fresh, 1)), QString::fromLatin1(c.readBack));
    EXPECT_EQ(fieldBytes(1), QByteArray(c.bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberRounding,
    ::testing::Values(RoundCase{"DECIMAL(6,0)", 2.5, "3", "     3"}, RoundCase{"DECIMAL(6,0)", -2.5, "-3", "    -3"},
                      RoundCase{"DECIMAL(6,0)", 0.49999, "0", "     0"}, RoundCase{"DECIMAL(6,0)", 1.5, "2", "     2"},
                      RoundCase{"DECIMAL(9,4)", 1.23456, "1.2346", "   1.2346"},
                      RoundCase{"DECIMAL(9,4)", -1.23456, "-1.2346", "  -1.2346"},
                      RoundCase{"DECIMAL(8,2)", 0.125, "0.13", "    0.13"},
                      RoundCase{"DECIMAL(8,2)", -0.125, "-0.13", "   -0.13"},
                      RoundCase{"DECIMAL(8,2)", 2.675, "2.68", "    2.68"},
                      RoundCase{"DECIMAL(8,2)", 12, "12", "   12.00"},
                      RoundCase{"DECIMAL(8,2)", QStringLiteral("3,5"), "3.5", "    3.50"},
                      RoundCase{"DECIMAL(8,2)", QStringLiteral(" 7.25 "), "7.25", "    7.25"},
                      RoundCase{"DECIMAL(8,2)", QVariant(), "<null>", "        "},
                      RoundCase{"DECIMAL(8,2)", QStringLiteral(""), "<null>", "        "},
                      RoundCase{"FLOAT", 1.23456, "1.2346", "              1.2346"}));

// --- dates ----------------------------------------------------------------------------------

TEST_F(OneField, DatesBindAsDatesAndCompareAsDates) {
    create(QStringLiteral("DATE"));
    const QDate dates[] = {QDate(2023, 12, 31), QDate(2024, 1, 1), QDate(2022, 6, 15), QDate(2024, 2, 29),
                           QDate(1999, 12, 31)};
    int nr = 1;
    for (const QDate& d : dates) insert(nr++, d);
    EXPECT_EQ(fieldBytes(4), QByteArray("20240229"));

    db::Database fresh(dir.path());
    for (db::Database* e : {&db, &fresh}) {
        EXPECT_EQ(columnOf(*e, QStringLiteral("SELECT V FROM \"Tip.dbf\" ORDER BY V")),
                  (QStringList{"1999-12-31", "2022-06-15", "2023-12-31", "2024-01-01", "2024-02-29"}));
        EXPECT_EQ(columnOf(*e, QStringLiteral("SELECT NR FROM \"Tip.dbf\" WHERE V < ? ORDER BY NR"), {QDate(2024, 1, 1)}),
                  (QStringList{"1", "3", "5"}));
        EXPECT_EQ(columnOf(*e, QStringLiteral("SELECT NR FROM \"Tip.dbf\" WHERE V BETWEEN ? AND ? ORDER BY V"),
                           {QDate(2023, 12, 31), QDate(2024, 2, 1)}),
                  (QStringList{"1", "2"}));
        EXPECT_EQ(e->scalar(QStringLiteral("SELECT MAX(V) FROM \"Tip.dbf\" WHERE V < ?"), {QDate(2023, 1, 1)}).toString(),
                  QStringLiteral("2022-06-15"));
        db::Query q = e->query(QStringLiteral("SELECT V FROM \"Tip.dbf\" WHERE NR = 3"));
        EXPECT_EQ(q.cell(0, 0), QVariant(QDate(2022, 6, 15)));
        EXPECT_EQ(q.date(QStringLiteral("V")), QDate(2022, 6, 15));
        EXPECT_EQ(q.text(QStringLiteral("V")), QStringLiteral("15.06.2022"));
    }
}

TEST_F(OneField, DateTextsReadAsDayMonthYear) {
    create(QStringLiteral("DATE"));
    insert(1, QStringLiteral("05.03.2024"));
    insert(2, QStringLiteral("2024-03-06"));
    insert(3, QStringLiteral("7.03.2024"));
    insert(4, QStringLiteral(""));
    EXPECT_EQ(fieldBytes(1), QByteArray("20240305"));
    EXPECT_EQ(fieldBytes(4), QByteArray("        "));
    db::Database fresh(dir.path());
    const db::Query q = fresh.query(QStringLiteral("SELECT V FROM \"Tip.dbf\" ORDER BY NR"));
    ASSERT_EQ(q.count(), 4);
    EXPECT_EQ(q.cell(0, 0).toDate(), QDate(2024, 3, 5));
    EXPECT_EQ(q.cell(1, 0).toDate(), QDate(2024, 3, 6));
    EXPECT_EQ(q.cell(2, 0).toDate(), QDate(2024, 3, 7));
    EXPECT_TRUE(q.cell(3, 0).isNull());

    // A text that is no date fails the statement.
    const QByteArray before = readBytes(path());
    for (const char* bad : {"31.02.2024", "ieri", "2024-13-01"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(insert(9, QString::fromLatin1(bad)), Error);
    }
    EXPECT_EQ(readBytes(path()), before);
}

// A "yyyyMMdd" text reaches the encoder as the number 20240307 (the date column of the
// loaded copy is numeric); it is still the 7th of March, not a day number.
TEST_F(OneField, DateTextWithoutSeparatorsIsADate) {
    create(QStringLiteral("DATE"));
    insert(1, QStringLiteral("20240307"));
    EXPECT_EQ(fieldBytes(1), QByteArray("20240307"));
}

// Day and month of one digit, as clerks type them.
TEST_F(OneField, DateTextWithOneDigitDayAndMonth) {
    create(QStringLiteral("DATE"));
    insert(1, QStringLiteral("7.3.2024"));
    EXPECT_EQ(fieldBytes(1), QByteArray("20240307"));
}

// --- logical fields -------------------------------------------------------------------------

TEST_F(OneField, LogicalFieldsStoreTrueFalseOrUnknown) {
    create(QStringLiteral("BOOLEAN"));
    insert(1, true);
    insert(2, false);
    insert(3, QVariant());
    insert(4, QStringLiteral("DA"));
    EXPECT_EQ(fieldBytes(1), QByteArray("T"));
    EXPECT_EQ(fieldBytes(2), QByteArray("F"));
    EXPECT_EQ(fieldBytes(3), QByteArray(" "));
    EXPECT_EQ(fieldBytes(4), QByteArray("T"));
    db::Database fresh(dir.path());
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT V FROM \"Tip.dbf\" ORDER BY NR")), (QStringList{"1", "0", "<null>", "1"}));
}

// --- amounts --------------------------------------------------------------------------------

TEST_F(OneField, AmountsReadIntoCurrency) {
    db.exec(QStringLiteral("CREATE TABLE \"Plati.dbf\" (NR DECIMAL(3,0), SUMA DECIMAL(12,2), LEI DECIMAL(8,0), TXT CHAR(10))"));
    const QString insert = QStringLiteral("INSERT INTO \"Plati.dbf\" (NR, SUMA, LEI, TXT) VALUES (?, ?, ?, ?)");
    db.exec(insert, {1, 1234.56, 7, QStringLiteral("12.345")});
    db.exec(insert, {2, -0.05, -3, QStringLiteral("abc")});
    db.exec(insert, {3, QVariant(), QVariant(), QString()});
    db.exec(insert, {4, 0.1, 99999999, QStringLiteral("0,5")});

    db::Database fresh(dir.path());
    db::Query q = fresh.query(QStringLiteral("SELECT SUMA, LEI, TXT, SUMA * 3 AS TRIPLU FROM \"Plati.dbf\" ORDER BY NR"));
    const struct {
        std::int64_t suma, lei, txt, triplu; // ten-thousandths of a leu
    } expected[] = {{12345600, 70000, 123450, 37036800},
                    {-500, -30000, 0, -1500},
                    {0, 0, 0, 0},
                    {1000, 999999990000, 5000, 3000}};
    for (const auto& e : expected) {
        SCOPED_TRACE(q.position());
        ASSERT_FALSE(q.eof());
        EXPECT_EQ(q.currency(QStringLiteral("SUMA")).raw(), e.suma);
        EXPECT_EQ(q.currency(QStringLiteral("LEI")).raw(), e.lei);
        EXPECT_EQ(q.currency(QStringLiteral("TXT")).raw(), e.txt);
        EXPECT_EQ(q.currency(QStringLiteral("TRIPLU")).raw(), e.triplu);
        q.next();
    }
    EXPECT_TRUE(q.eof());

    // An amount bound as Currency is stored as the number it is.
    db.exec(insert, {5, QVariant::fromValue(Currency::fromRaw(123455)), QVariant::fromValue(Currency::lei(42)), QString()});
    EXPECT_EQ(rowsOf(db, QStringLiteral("SELECT SUMA, LEI FROM \"Plati.dbf\" WHERE NR = 5")),
              (std::vector<QStringList>{{"12.35", "42"}}));
}

} // namespace
