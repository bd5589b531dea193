// Walking query results, editing through a table cursor, and the grid model.

#include "db_test_util.h"

#include <QDate>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

class Cursors : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE \"Rol.dbf\" (NR DECIMAL(5,0), NUME CHAR(20), SUMA DECIMAL(9,2), DATA DATE)"));
        const QString insert = QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, NUME, SUMA, DATA) VALUES (?, ?, ?, ?)");
        db.exec(insert, {1, QStringLiteral("Ana"), 12.5, QDate(2024, 1, 15)});
        db.exec(insert, {2, QStringLiteral("  BOGDAN"), 7, QDate(2023, 12, 31)});
        db.exec(insert, {3, QStringLiteral("ana maria"), QVariant(), QVariant()});
        db.exec(insert, {4, QString::fromUtf8("Ştefan"), -0.5, QDate(2022, 2, 1)});
    }
    db::Query all() { return db.query(QStringLiteral("SELECT NR, NUME, SUMA, DATA FROM \"Rol.dbf\" ORDER BY NR")); }
    QString rol() const { return dir.file(QStringLiteral("Rol.dbf")); }

    DataFolder dir;
    db::Database db{dir.path()};
};

// --- Query ------------------------------------------------------------------------------------

TEST_F(Cursors, WalkingForwardAndBack) {
    db::Query q = all();
    EXPECT_EQ(q.count(), 4);
    EXPECT_FALSE(q.isEmpty());
    EXPECT_FALSE(q.bof());
    EXPECT_FALSE(q.eof());
    QStringList forward;
    for (q.first(); !q.eof(); q.next()) forward << q.text(QStringLiteral("NR"));
    EXPECT_EQ(forward, (QStringList{"1", "2", "3", "4"}));
    EXPECT_TRUE(q.eof());
    q.next(); // stays past the end
    EXPECT_TRUE(q.eof());
    q.prior();
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 4);

    QStringList backward;
    for (q.last(); !q.bof(); q.prior()) backward << q.text(QStringLiteral("NR"));
    EXPECT_EQ(backward, (QStringList{"4", "3", "2", "1"}));
    EXPECT_TRUE(q.bof());
    EXPECT_THROW(q.value(QStringLiteral("NR")), Error); // no current row
    q.next();
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 1);
}

TEST_F(Cursors, EmptyResultIsBothEofAndBof) {
    db::Query q = db.query(QStringLiteral("SELECT * FROM \"Rol.dbf\" WHERE NR > 100"));
    EXPECT_TRUE(q.isEmpty());
    EXPECT_EQ(q.count(), 0);
    EXPECT_TRUE(q.eof());
    EXPECT_TRUE(q.bof());
    q.last();
    EXPECT_TRUE(q.eof());
    EXPECT_THROW(q.text(QStringLiteral("NUME")), Error);
    EXPECT_EQ(q.columnCount(), 4); // the columns are known even without rows
}

TEST_F(Cursors, FieldsOfCurrentRow) {
    db::Query q = all();
    EXPECT_TRUE(q.hasField(QStringLiteral("nume")));
    EXPECT_TRUE(q.hasField(QStringLiteral("Data")));
    EXPECT_FALSE(q.hasField(QStringLiteral("LIPSA")));
    EXPECT_EQ(q.columnIndex(QStringLiteral("suma")), 2);
    // Exact names found in any order, then another spelling, then the exact name again.
    for (const auto& [name, at] : std::vector<std::pair<QString, int>>{
             {"SUMA", 2}, {"NUME", 1}, {"DATA", 3}, {"SUMA", 2}, {"Nume", 1}, {"NUME", 1}, {"LIPSA", -1}, {"DATA", 3}})
        EXPECT_EQ(q.columnIndex(name), at) << name.toStdString();
    EXPECT_THROW(q.text(QStringLiteral("LIPSA")), Error);

    EXPECT_EQ(q.text(QStringLiteral("NUME")), QStringLiteral("Ana"));
    EXPECT_EQ(q.text(QStringLiteral("SUMA")), QStringLiteral("12.5"));
    EXPECT_EQ(q.text(QStringLiteral("DATA")), QStringLiteral("15.01.2024"));
    EXPECT_EQ(q.integer(QStringLiteral("SUMA")), 13); // rounded, half away from zero
    EXPECT_DOUBLE_EQ(q.real(QStringLiteral("SUMA")), 12.5);
    EXPECT_EQ(q.currency(QStringLiteral("SUMA")), Currency::fromRaw(125000));
    EXPECT_EQ(q.date(QStringLiteral("DATA")), QDate(2024, 1, 15));
    EXPECT_FALSE(q.isNull(QStringLiteral("SUMA")));

    q.next();
    EXPECT_EQ(q.text(QStringLiteral("NUME")), QStringLiteral("  BOGDAN")); // kept as stored, trimmed right only
    EXPECT_EQ(q.text(QStringLiteral("SUMA")), QStringLiteral("7"));
    q.next();
    EXPECT_TRUE(q.isNull(QStringLiteral("SUMA")));
    EXPECT_TRUE(q.isNull(QStringLiteral("DATA")));
    EXPECT_EQ(q.text(QStringLiteral("SUMA")), QString());
    EXPECT_EQ(q.currency(QStringLiteral("SUMA")), Currency());
    EXPECT_FALSE(q.date(QStringLiteral("DATA")).isValid());
    q.next();
    EXPECT_EQ(q.integer(QStringLiteral("SUMA")), -1); // -0.5 rounds away from zero
    EXPECT_EQ(q.currency(QStringLiteral("SUMA")), Currency::fromRaw(-5000));
    EXPECT_EQ(q.text(QStringLiteral("NUME")), QString::fromUtf8("Ştefan"));

    // Texts that hold numbers read as numbers.
    db::Query t = db.query(QStringLiteral("SELECT ' 42 ' AS A, '2.5' AS B"));
    EXPECT_EQ(t.integer(QStringLiteral("A")), 42);
    EXPECT_DOUBLE_EQ(t.real(QStringLiteral("B")), 2.5);
    EXPECT_EQ(t.currency(QStringLiteral("B")), Currency::fromRaw(25000));
}

TEST_F(Cursors, LocateFindsFirstMatchingRow) {
    db::Query q = all();
    q.last();
    EXPECT_FALSE(q.locate(QStringLiteral("NUME"), QStringLiteral("ANA")));
    EXPECT_EQ(q.position(), 3); // stays put
    EXPECT_TRUE(q.locate(QStringLiteral("NUME"), QStringLiteral("ANA"), true));
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 1);
    EXPECT_TRUE(q.locate(QStringLiteral("nume"), QStringLiteral("ana maria ")));
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 3);
    // Texts are compared trimmed on both sides.
    EXPECT_TRUE(q.locate(QStringLiteral("NUME"), QStringLiteral("BOGDAN")));
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 2);
    EXPECT_TRUE(q.locate(QStringLiteral("NUME"), QString::fromUtf8(" ştefan"), true));
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 4);
    EXPECT_FALSE(q.locate(QStringLiteral("NUME"), QString::fromUtf8("ştefan")));
    // Numbers and dates by value.
    EXPECT_TRUE(q.locate(QStringLiteral("NR"), 3));
    EXPECT_EQ(q.text(QStringLiteral("NUME")), QStringLiteral("ana maria"));
    EXPECT_TRUE(q.locate(QStringLiteral("SUMA"), 7.0));
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 2);
    EXPECT_TRUE(q.locate(QStringLiteral("DATA"), QDate(2022, 2, 1)));
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 4);
    EXPECT_FALSE(q.locate(QStringLiteral("NR"), 99));
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 4);
    EXPECT_THROW(q.locate(QStringLiteral("LIPSA"), 1), Error);
}

TEST_F(Cursors, BookmarksReturnToRow) {
    db::Query q = all();
    q.next();
    q.next();
    const int mark = q.bookmark();
    q.first();
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 1);
    q.gotoBookmark(mark);
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 3);
    q.gotoBookmark(100);
    EXPECT_TRUE(q.eof());
}

TEST_F(Cursors, FilterKeepsMatchingRowsAndClears) {
    db::Query q = db.query(QStringLiteral("SELECT NR, NUME, DATA FROM \"Rol.dbf\" WHERE NR <= ? ORDER BY NR"), {3});
    EXPECT_EQ(q.count(), 3);
    q.setFilter(QStringLiteral("NR<>1"));
    EXPECT_EQ(q.filter(), QStringLiteral("NR<>1"));
    EXPECT_EQ(q.count(), 2);
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 2);
    EXPECT_EQ(q.date(QStringLiteral("DATA")), QDate(2023, 12, 31));
    EXPECT_EQ(q.cell(0, 2), QVariant(QDate(2023, 12, 31))); // still a date column
    q.setFilter(QStringLiteral("NUME LIKE 'ana%'"));
    EXPECT_EQ(q.count(), 2);
    q.setFilter(QString());
    EXPECT_EQ(q.count(), 3); // the query's own condition still holds
    EXPECT_TRUE(q.filter().isEmpty());
    EXPECT_EQ(q.integer(QStringLiteral("NR")), 1);
    EXPECT_THROW(q.setFilter(QStringLiteral("LIPSA = 1")), Error);
}

TEST_F(Cursors, FilterSeesRowsChangedSinceTheQuery) {
    db::Query q = all();
    db::Database other(dir.path());
    other.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NR = 1 WHERE NR = 4"));
    q.setFilter(QStringLiteral("NR=1"));
    EXPECT_EQ(q.count(), 2);
}

// --- TableCursor --------------------------------------------------------------------------------

TEST_F(Cursors, TableCursorAppendsEditsAndRemoves) {
    db::TableCursor cur(db, QStringLiteral("rol.DBF"));
    EXPECT_EQ(cur.rows().count(), 4);
    EXPECT_EQ(cur.fieldSize(QStringLiteral("NUME")), 20);
    EXPECT_EQ(cur.fieldSize(QStringLiteral("nr")), 5);
    EXPECT_EQ(cur.fieldSize(QStringLiteral("DATA")), 8);
    EXPECT_THROW(cur.fieldSize(QStringLiteral("LIPSA")), Error);
    EXPECT_EQ(cur.layout().fields.size(), 4u);
    EXPECT_THROW(cur.setValue(QStringLiteral("NUME"), QStringLiteral("x")), Error); // not editing

    // A form that fills in a new row, cut to the field as the form's edit box would.
    const QString longName = QStringLiteral("Constantinescu-Dobridor Ion");
    cur.append();
    cur.setValue(QStringLiteral("NR"), 5);
    cur.setValue(QStringLiteral("nume"), longName.left(cur.fieldSize(QStringLiteral("NUME"))));
    cur.setValue(QStringLiteral("DATA"), QDate(2024, 6, 1));
    EXPECT_THROW(cur.setValue(QStringLiteral("LIPSA"), 1), Error);
    cur.post();
    EXPECT_EQ(cur.rows().count(), 5);
    EXPECT_EQ(cur.rows().integer(QStringLiteral("NR")), 5); // the new row is current
    EXPECT_EQ(cur.rows().text(QStringLiteral("NUME")), QStringLiteral("Constantinescu-Dobri"));
    EXPECT_TRUE(cur.rows().isNull(QStringLiteral("SUMA")));

    ASSERT_TRUE(cur.rows().locate(QStringLiteral("NR"), 2));
    cur.edit();
    cur.setValue(QStringLiteral("SUMA"), 99.5);
    cur.post();
    EXPECT_EQ(cur.rows().integer(QStringLiteral("NR")), 2);
    EXPECT_EQ(cur.rows().text(QStringLiteral("SUMA")), QStringLiteral("99.5"));
    EXPECT_EQ(cur.rows().text(QStringLiteral("NUME")), QStringLiteral("  BOGDAN")); // fields not set are kept

    // Cancelled changes are not written.
    cur.edit();
    cur.setValue(QStringLiteral("SUMA"), 1);
    cur.cancel();
    cur.post();
    cur.append();
    cur.setValue(QStringLiteral("NR"), 6);
    cur.cancel();
    cur.post();

    ASSERT_TRUE(cur.rows().locate(QStringLiteral("NR"), 3));
    cur.remove();
    EXPECT_EQ(cur.rows().count(), 4);

    db::Database fresh(dir.path());
    EXPECT_EQ(rowsOf(fresh, QStringLiteral("SELECT NR, NUME, SUMA, DATA FROM \"Rol.dbf\" ORDER BY NR")),
              (std::vector<QStringList>{{"1", "Ana", "12.5", "2024-01-15"},
                                        {"2", "  BOGDAN", "99.5", "2023-12-31"},
                                        {"4", "Ştefan", "-0.5", "2022-02-01"},
                                        {"5", "Constantinescu-Dobri", "<null>", "2024-06-01"}}));
}

TEST_F(Cursors, TableCursorPostThatDoesNotFitWritesNothing) {
    db::TableCursor cur(db, QStringLiteral("Rol.dbf"));
    const QByteArray before = readBytes(rol());
    cur.edit();
    cur.setValue(QStringLiteral("SUMA"), 123456789.0);
    EXPECT_THROW(cur.post(), Error);
    cur.cancel();
    cur.append();
    cur.setValue(QStringLiteral("NR"), 1000000);
    EXPECT_THROW(cur.post(), Error);
    EXPECT_EQ(readBytes(rol()), before);
    cur.refresh();
    EXPECT_EQ(cur.rows().count(), 4);
}

TEST_F(Cursors, TableCursorSeesOtherWorkstationAfterRefresh) {
    db::TableCursor cur(db, QStringLiteral("Rol.dbf"));
    db::Database other(dir.path());
    other.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, NUME) VALUES (7, 'Altul')"));
    EXPECT_EQ(cur.rows().count(), 4); // the rows as read
    cur.refresh();
    EXPECT_EQ(cur.rows().count(), 5);
    EXPECT_TRUE(cur.rows().locate(QStringLiteral("NUME"), QStringLiteral("Altul")));
}

// --- QueryModel ---------------------------------------------------------------------------------

TEST_F(Cursors, ModelShowsRowsForGrid) {
    db::QueryModel model;
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    EXPECT_EQ(model.rowCount(), 0);
    model.setQuery(all());
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0); // a table, not a tree
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("Ana"));
    EXPECT_EQ(model.data(model.index(0, 2)).toDouble(), 12.5);
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), QStringLiteral("15.01.2024"));
    EXPECT_EQ(model.data(model.index(0, 3), Qt::EditRole), QVariant(QDate(2024, 1, 15)));
    EXPECT_TRUE(model.data(model.index(2, 2)).isNull());
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model.data(QModelIndex()).isValid());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("NUME"));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("DATA"));
    EXPECT_EQ(model.headerData(0, Qt::Vertical).toInt(), 1);
    EXPECT_EQ(model.headerData(3, Qt::Vertical).toInt(), 4);
    EXPECT_FALSE(model.headerData(1, Qt::Horizontal, Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.query().count(), 4);

    model.setQuery(db.query(QStringLiteral("SELECT NUME AS Nume FROM \"Rol.dbf\" WHERE NR = 4")));
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nume"));
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QString::fromUtf8("Ştefan"));
}

} // namespace
