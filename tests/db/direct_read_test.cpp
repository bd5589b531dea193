// A table no statement of this engine has changed is read straight from its file; once a
// statement changes it, it is loaded. Both must give the same rows for every statement.

#include "db_test_util.h"

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

class DirectRead : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<RawField> fields = {{"ID", 'N', 5}, {"NUME", 'C', 6}, {"V", 'N', 7, 2}};
        // The fourth record is deleted; the third writes its whole number with a point, as
        // another program may; the second's name is Windows-1250 ("Şt").
        writeBytes(dir.file(QStringLiteral("T.dbf")),
                   makeDbf(fields, {QByteArray(" ") + "    1" + "X     " + "  10.50",
                                    QByteArray(" ") + "    3" + "\xAAt    " + "   7.00",
                                    QByteArray(" ") + "  5.0" + "X     " + "  10.50",
                                    QByteArray("*") + "    1" + "X     " + "   1.00",
                                    QByteArray(" ") + "    1" + "Y     " + "       "}));
        // The loaded engine: a statement that changes nothing still loads what it names.
        loaded.exec(QStringLiteral("UPDATE \"T.dbf\" SET ID = ID WHERE 0"));
    }

    DataFolder dir;
    db::Database straight{dir.path()};
    db::Database loaded{dir.path()};
};

struct Case {
    const char* sql;
    QVariantList params;
};

TEST_F(DirectRead, LookupsAndJoinsGiveTheRowsOfTheLoadedTable) {
    const Case cases[] = {
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID = ?", {1}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID = ?", {5}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID = ?", {5.0}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID = ?", {QStringLiteral("3")}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID = ?", {QVariant()}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE NUME = ?", {QString::fromUtf8("Şt")}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE NUME = ?", {QStringLiteral("X")}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE NUME = ? COLLATE NOCASE", {QStringLiteral("x")}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE V = ?", {10.5}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE rowid = ?", {3}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE rowid = ?", {4}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID IN (5, 1)", {}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE NUME IN ('X', 'Y')", {}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID > ?", {1}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID >= ? AND ID < ?", {1, 5}},
        {"SELECT rowid, * FROM \"T.dbf\" WHERE ID <= ?", {3.5}},
        {"SELECT a.rowid, b.rowid FROM \"T.dbf\" a JOIN \"T.dbf\" b ON b.NUME = a.NUME ORDER BY 1, 2", {}},
        {"SELECT a.rowid, b.rowid FROM \"T.dbf\" a JOIN \"T.dbf\" b ON b.ID = a.ID ORDER BY 1, 2", {}},
        {"SELECT rowid, * FROM \"T.dbf\"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const QString sql = QString::fromUtf8(c.sql);
        EXPECT_EQ(rowsOf(straight, sql, c.params), rowsOf(loaded, sql, c.params));
    }
    // Not two empty answers: the lookups above do find rows.
    EXPECT_EQ(columnOf(straight, QStringLiteral("SELECT rowid FROM \"T.dbf\" WHERE ID = ?"), {5}),
              QStringList{QStringLiteral("3")});
    EXPECT_EQ(columnOf(straight, QStringLiteral("SELECT rowid FROM \"T.dbf\" WHERE NUME = ?"), {QString::fromUtf8("Şt")}),
              QStringList{QStringLiteral("2")});
}

// A value looked up once is looked up again in the file as another workstation left it.
TEST_F(DirectRead, LookupSeesAnotherWorkstationsChangeAtTheNextStatement) {
    const QString sql = QStringLiteral("SELECT rowid FROM \"T.dbf\" WHERE ID = ?");
    EXPECT_EQ(columnOf(straight, sql, {1}), (QStringList{"1", "5"}));
    loaded.exec(QStringLiteral("UPDATE \"T.dbf\" SET ID = 1 WHERE rowid = 2"));
    loaded.exec(QStringLiteral("INSERT INTO \"T.dbf\" (ID, NUME) VALUES (1, 'Z')"));
    EXPECT_EQ(columnOf(straight, sql, {1}), (QStringList{"1", "2", "5", "6"}));
}

// The first change loads the table; the rows read before and after agree with the file.
TEST_F(DirectRead, ChangeAfterReadingStraightWritesTheFile) {
    EXPECT_EQ(columnOf(straight, QStringLiteral("SELECT NUME FROM \"T.dbf\" WHERE ID = ?"), {1}),
              (QStringList{"X", "Y"}));
    EXPECT_EQ(straight.exec(QStringLiteral("UPDATE \"T.dbf\" SET NUME = ? WHERE ID = ?"), {QStringLiteral("W"), 1}), 2);
    db::Database fresh(dir.path());
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT NUME FROM \"T.dbf\" ORDER BY rowid")),
              (QStringList{"W", QString::fromUtf8("Şt"), "X", "W"}));
}

} // namespace
