// Reading a few fields of every record without loading the table: the values a query would
// give, whether the table was loaded before or is read straight from its file.

#include "db_test_util.h"

#include "db/file_io.h"

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

using Rows = std::vector<QStringList>;

// Each value as text with its type, so a whole number read as a double or a date read as
// text differs from what the query gives.
QString typed(const QVariant& v) { return cellText(v) + ':' + QString::number(v.metaType().id()); }

Rows scanned(db::Database& db, const QString& table, const QStringList& fields) {
    Rows out;
    db.scan(table, fields, [&](const std::vector<QVariant>& values) {
        QStringList row;
        for (const QVariant& v : values) row << typed(v);
        out.push_back(row);
    });
    return out;
}

Rows selected(db::Database& db, const QString& sql) {
    const db::Query q = db.query(sql);
    Rows out;
    for (int r = 0; r < q.count(); ++r) {
        QStringList row;
        for (int c = 0; c < q.columnCount(); ++c) row << typed(q.cell(r, c));
        out.push_back(row);
    }
    return out;
}

class Scan : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        // Blank, starred and deleted values, a Romanian letter, logicals, no end marker.
        const std::vector<RawField> fields = {
            {"NR", 'N', 5}, {"NUME", 'C', 8}, {"DATA", 'D', 8}, {"SUMA", 'N', 8, 2}, {"ACTIV", 'L', 1}};
        QByteArray file = makeDbf(fields,
                                  {QByteArray(" ") + "    1" + "Ana     " + "20240105" + "   12.50" + "T",
                                   QByteArray(" ") + "     " + "Gol     " + "        " + "        " + "?",
                                   QByteArray(" ") + "*****" + "Stea    " + "20241231" + "********" + "F",
                                   QByteArray("*") + "    4" + "Sters   " + "20240101" + "    1.00" + "T",
                                   QByteArray(" ") + "    5" + "Ma\xBAin   " + "20230228" + "   -3.75" + "N"},
                                  5, false);
        writeBytes(path(), file);
        if (loaded()) db.query(QStringLiteral("SELECT COUNT(*) FROM \"Vechi.dbf\""));
    }
    bool loaded() const { return GetParam(); }
    QString path() const { return dir.file(QStringLiteral("Vechi.dbf")); }
    Rows rows(db::Database& e) { return scanned(e, path(), {"SUMA", "NR", "NUME", "DATA", "ACTIV"}); }

    DataFolder dir;
    db::Database db{dir.path()};
};

TEST_P(Scan, GivesWhatAQueryGives) {
    const Rows expected = selected(db, QStringLiteral("SELECT SUMA, NR, NUME, DATA, ACTIV FROM \"Vechi.dbf\""));
    ASSERT_EQ(expected.size(), 4u);
    db::Database fresh(dir.path());
    EXPECT_EQ(rows(loaded() ? db : fresh), expected);
    EXPECT_EQ(scanned(fresh, QStringLiteral("vechi.DBF"), {"nume"}).at(3), QStringList{typed(QStringLiteral("Maşin"))});
}

TEST_P(Scan, SeesChangesOfThisEngineAndOfOthers) {
    db::Database other(dir.path());
    other.exec(QStringLiteral("INSERT INTO \"Vechi.dbf\" (NR, NUME) VALUES (7, 'Nou')"));
    EXPECT_EQ(rows(db).back().at(1), typed(qlonglong(7)));

    // This engine's uncommitted change is seen until it is undone.
    db.begin();
    db.exec(QStringLiteral("UPDATE \"Vechi.dbf\" SET NUME = 'Alt' WHERE NR = 1"));
    EXPECT_EQ(rows(db).front().at(2), typed(QStringLiteral("Alt")));
    db.rollback();
    EXPECT_EQ(rows(db).front().at(2), typed(QStringLiteral("Ana")));
    EXPECT_EQ(rows(other).front().at(2), typed(QStringLiteral("Ana")));
}

TEST_P(Scan, HalfWrittenFileIsPutBackFirst) {
    db::Database reader(dir.path());
    if (loaded()) rows(reader);
    const QByteArray before = readBytes(path());
    const int header = u16At(before, 8), length = u16At(before, 10);
    db::writeJournal(path(), before.size(), {{header, before.mid(header, length)}}, QString());
    QByteArray spoiled = before;
    spoiled.replace(header + 1, 5, "99999");
    writeBytes(path(), spoiled);

    EXPECT_EQ(rows(reader).front().at(1), typed(qlonglong(1)));
    EXPECT_EQ(readBytes(path()), before);
    EXPECT_FALSE(fileExists(db::journalPath(path())));
}

TEST_P(Scan, MissingTableOrFieldIsRefused) {
    EXPECT_THROW(scanned(db, dir.file(QStringLiteral("Lipsa.dbf")), {"NR"}), Error);
    EXPECT_THROW(scanned(db, path(), {"NR", "NIMIC"}), Error);
}

INSTANTIATE_TEST_SUITE_P(TableLoadedBefore, Scan, ::testing::Bool());

} // namespace
