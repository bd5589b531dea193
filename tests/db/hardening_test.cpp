// What a long session, a crashed writer and unusual input must not do to the tables: a
// statement cache that frees what it still runs, an old journal played onto a new table,
// record numbers set by hand, changes slipped through a read, day counts taken for dates,
// other programs' field bytes rewritten, and the two spellings of ş and ţ.

#include "db_test_util.h"

#include "db/cp1250.h"
#include "db/file_io.h"
#include "db/folder_use.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

using Rows = std::vector<QStringList>;

class Hardening : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE \"Rol.dbf\" (NR DECIMAL(3,0), NUME CHAR(12), DATA DATE)"));
        const QString insert = QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, NUME, DATA) VALUES (?, ?, ?)");
        db.exec(insert, {1, QStringLiteral("Popescu"), QDate(2024, 1, 15)});
        db.exec(insert, {2, QStringLiteral("Ionescu"), QDate(2024, 3, 1)});
        db.exec(insert, {3, QStringLiteral("Avram"), QDate(2023, 12, 31)});
    }
    QString rol() const { return dir.file(QStringLiteral("Rol.dbf")); }
    Rows rows(db::Database& e) { return rowsOf(e, QStringLiteral("SELECT NR, NUME FROM \"Rol.dbf\" ORDER BY NR")); }

    const Rows original = {{"1", "Popescu"}, {"2", "Ionescu"}, {"3", "Avram"}};
    DataFolder dir;
    db::Database db{dir.path()};
};

// --- the statement cache ----------------------------------------------------------------------

// Another workstation's change is merged through two cached statements; filling the cache to
// each size around its limit first makes the second one push the first out mid-use.
TEST_F(Hardening, ChangeMergedWhileTheCacheIsFullIsSeen) {
    for (int fill = 240; fill <= 275; fill += 1) {
        db::Database reader(dir.path());
        ASSERT_EQ(reader.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Rol.dbf\"")).toInt(), 3);
        for (int k = 0; k < fill; ++k) reader.scalar(QStringLiteral("SELECT %1 AS C").arg(k));
        db::Database other(dir.path());
        other.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME = ? WHERE NR = 2"), {QStringLiteral("Nou%1").arg(fill)});
        EXPECT_EQ(reader.scalar(QStringLiteral("SELECT NUME FROM \"Rol.dbf\" WHERE NR = 2")).toString(),
                  QStringLiteral("Nou%1").arg(fill));
    }
}

// --- journals of tables dropped or removed -----------------------------------------------------

struct StaleJournalCase {
    const char* what;
    bool dropBySql; // else the file is removed by hand
};

class StaleJournal : public Hardening, public ::testing::WithParamInterface<StaleJournalCase> {};

TEST_P(StaleJournal, NeverReachesTheNewTableOfThatName) {
    // A writer killed mid-update left the pre-images of the old table.
    const QByteArray before = readBytes(rol());
    db::writeJournal(rol(), before.size(), {{0, before}}, QString());
    if (GetParam().dropBySql) db.exec(QStringLiteral("DROP TABLE \"Rol.dbf\""));
    else ASSERT_TRUE(QFile::remove(rol()));

    db::Database fresh(dir.path());
    fresh.exec(QStringLiteral("CREATE TABLE \"Rol.dbf\" (COD CHAR(4))"));
    fresh.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (COD) VALUES (?)"), {QStringLiteral("AB")});
    EXPECT_EQ(rowsOf(fresh, QStringLiteral("SELECT COD FROM \"Rol.dbf\"")), (Rows{{"AB"}}));
    EXPECT_FALSE(fileExists(db::journalPath(rol())));
    if (haveDbfread()) {
        EXPECT_EQ(readWithDbfread(rol())["records"].toArray().size(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, StaleJournal,
                         ::testing::Values(StaleJournalCase{"dropped", true}, StaleJournalCase{"removed", false}),
                         [](const auto& info) { return std::string(info.param.what); });

// --- record numbers ------------------------------------------------------------------------------

TEST_F(Hardening, StatementsSettingTheRecordNumberAreRefused) {
    const QByteArray before = readBytes(rol());
    const char* statements[] = {
        "INSERT INTO \"Rol.dbf\" (rowid, NR, NUME) VALUES (0, 9, 'Zero')",
        "INSERT INTO \"Rol.dbf\" (rowid, NR, NUME) VALUES (-4, 9, 'Minus')",
        "INSERT INTO \"Rol.dbf\" (NR, \"ROWID\") VALUES (9, 1000)",
        "INSERT INTO \"Rol.dbf\" AS R (oid, NR) SELECT 50, 9",
        "UPDATE \"Rol.dbf\" SET rowid = 0 WHERE NR = 1",
        "UPDATE \"Rol.dbf\" SET _rowid_ = 7 WHERE NR = 1",
        "UPDATE \"Rol.dbf\" SET NUME = 'x', oid = oid + 10",
    };
    for (const char* sql : statements) {
        try {
            db.exec(QString::fromLatin1(sql));
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const Error& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("Numarul inregistrarii"))) << e.text().toStdString();
        }
    }
    EXPECT_EQ(readBytes(rol()), before);
    EXPECT_EQ(rows(db), original);
}

// --- reads that would change ---------------------------------------------------------------------

TEST_F(Hardening, QueryRefusesAChangingStatementAndTheToolRunsIt) {
    const QString insert =
        QStringLiteral("WITH n(v) AS (SELECT ?) INSERT INTO \"Rol.dbf\" (NR, NUME) SELECT 4, v FROM n");
    EXPECT_THROW(db.query(insert, {QStringLiteral("Fantoma")}), Error);
    EXPECT_THROW(db.query(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME = 'x' RETURNING NR")), Error);
    // Nothing reached the loaded copy for a later write to carry to disk.
    db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME = ? WHERE NR = 3"), {QStringLiteral("Avramescu")});
    db::Database fresh(dir.path());
    EXPECT_EQ(rows(fresh), (Rows{{"1", "Popescu"}, {"2", "Ionescu"}, {"3", "Avramescu"}}));

    const ToolRun run = runToolSql(dir.path(), insert, {QStringLiteral("Nou")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QStringLiteral("1"));
    EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT NUME FROM \"Rol.dbf\" WHERE NR = 4")).toString(), QStringLiteral("Nou"));
}

TEST_F(Hardening, ResultColumnsDoNotShowTheFolder) {
    const db::Query q = db.query(QStringLiteral("SELECT \"Rol.dbf\".NR + 1, MAX(\"Rol.dbf\".NUME) FROM \"Rol.dbf\""));
    for (int c = 0; c < q.columnCount(); ++c)
        EXPECT_FALSE(q.columnName(c).contains(dir.path())) << q.columnName(c).toStdString();
}

// --- dates ---------------------------------------------------------------------------------------

TEST_F(Hardening, DateFieldTakesOnlyDateForms) {
    struct Case {
        QVariant value;
        QDate stored; // invalid: refused
    };
    const Case cases[] = {
        {QDate(2024, 5, 6), QDate(2024, 5, 6)},
        {QStringLiteral("2024-05-07"), QDate(2024, 5, 7)},
        {QStringLiteral("08.05.2024"), QDate(2024, 5, 8)},
        {QStringLiteral("20240509"), QDate(2024, 5, 9)},
        {QStringLiteral("01012024"), {}},
        {QStringLiteral("0"), {}},
        {QStringLiteral("45000"), {}},
        {45000, {}},
        {QStringLiteral("31.02.2024"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        const auto set = [&] { db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET DATA = ? WHERE NR = 1"), {c.value}); };
        if (c.stored.isValid()) {
            set();
            EXPECT_EQ(db.query(QStringLiteral("SELECT DATA FROM \"Rol.dbf\" WHERE NR = 1")).cell(0, 0).toDate(), c.stored);
        } else {
            try {
                set();
                ADD_FAILURE() << "accepted";
            } catch (const Error& e) {
                EXPECT_TRUE(e.text().contains(QStringLiteral("DATA"))) << e.text().toStdString();
            }
        }
    }
}

TEST_F(Hardening, DateColumnComparedWithTheProgramsDateText) {
    const QString count = QStringLiteral("SELECT COUNT(*) FROM \"Rol.dbf\" WHERE DATA %1 ?");
    struct Case {
        const char* op;
        const char* value;
        int rows;
    };
    const Case cases[] = {{"=", "15.01.2024", 1}, {"=", "5.1.2024", 0},  {"=", "2024-01-15", 1},
                          {"<", "01.02.2024", 2}, {">=", "1.3.2024", 1}, {"<>", "31.12.2023", 2}};
    for (const Case& c : cases)
        EXPECT_EQ(db.scalar(count.arg(QLatin1String(c.op)), {QString::fromLatin1(c.value)}).toInt(), c.rows)
            << c.op << ' ' << c.value;
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT NR FROM \"Rol.dbf\" ORDER BY DATA")), (QStringList{"3", "1", "2"}));
}

// --- bytes of fields a statement did not change ---------------------------------------------------

TEST_F(Hardening, ChangingOneFieldKeepsTheOthersBytes) {
    // Written by another program: an exponent, overflow stars, an impossible date, more
    // decimals than the field declares.
    const std::vector<RawField> fields = {{"NR", 'N', 3}, {"VAL", 'F', 12, 2}, {"SUMA", 'N', 6},
                                          {"ZI", 'D', 8},  {"COTA", 'F', 12, 2}, {"NUME", 'C', 6}};
    const QByteArray record = QByteArray(" ") + "  1" + "    1.50E+03" + "******" + "20240231" + "     12.3456" + "Vechi ";
    const QString path = dir.file(QStringLiteral("Altul.dbf"));
    writeBytes(path, makeDbf(fields, {record}));
    const auto stored = [&] {
        const QByteArray b = readBytes(path);
        return b.mid(u16At(b, 8), record.size());
    };
    db.exec(QStringLiteral("UPDATE \"Altul.dbf\" SET NUME = ? WHERE NR = 1"), {QStringLiteral("Nou")});
    EXPECT_EQ(stored(), QByteArray(record).replace(record.size() - 6, 6, "Nou   "));
    db.exec(QStringLiteral("UPDATE \"Altul.dbf\" SET COTA = 5"));
    EXPECT_EQ(stored().mid(1 + 3 + 12 + 6 + 8, 12), QByteArray("        5.00"));
    EXPECT_EQ(stored().mid(1 + 3, 12 + 6 + 8), record.mid(1 + 3, 12 + 6 + 8));
}

// --- ş and ţ typed either way ----------------------------------------------------------------------

TEST_F(Hardening, CommaAndCedillaLettersMeet) {
    const QString comma = QStringLiteral("Ștefan Țară"), cedilla = QStringLiteral("Ştefan Ţară");
    db.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, NUME) VALUES (4, ?)"), {comma});
    for (const QString& typed : {comma, cedilla}) {
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT NR FROM \"Rol.dbf\" WHERE NUME = ?"), {typed}).toInt(), 4);
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT NR FROM \"Rol.dbf\" WHERE NUME = '%1'").arg(typed)).toInt(), 4);
    }
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT NUME FROM \"Rol.dbf\" WHERE NR = 4")).toString(), cedilla);
    // Letters made inside a statement come out of UPPER in the stored form too.
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT UPPER(char(537, 97, 110, 539))")).toString(), QStringLiteral("ŞANŢ"));
    EXPECT_TRUE(db::sameLetters(QStringLiteral("ȘANȚ"), QStringLiteral("şanţ"), Qt::CaseInsensitive));
    EXPECT_FALSE(db::sameLetters(QStringLiteral("ȘANȚ"), QStringLiteral("SANT"), Qt::CaseInsensitive));
}

// --- power cuts ------------------------------------------------------------------------------------

TEST_F(Hardening, NewAndRemovedFilesReachTheDiskWithTheirFolder) {
    int before = db::folderSyncs();
    db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME = 'x' WHERE NR = 1"));
    EXPECT_GE(db::folderSyncs() - before, 2); // the journal created, then removed
    before = db::folderSyncs();
    db.exec(QStringLiteral("CREATE TABLE \"Nou.dbf\" (A CHAR(1))"));
    EXPECT_GE(db::folderSyncs() - before, 1); // the renamed file
}

// --- statements typed by hand ------------------------------------------------------------------

// A text of two statements would run the first and drop the rest without a word.
TEST_F(Hardening, MoreThanOneStatementIsRefusedAndNothingRuns) {
    EXPECT_THROW(db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME='X'; DELETE FROM \"Rol.dbf\"")), Error);
    EXPECT_THROW(db.query(QStringLiteral("SELECT NR FROM \"Rol.dbf\"; SELECT 1")), Error);
    db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET NUME='Avram' WHERE NR=3;")); // one closing ';' stands
    EXPECT_EQ(rows(db), original);
}

// The console's engine reaches no table outside its folder: not by "..", not by a full path.
TEST_F(Hardening, AConfinedEngineRefusesTablesOutsideItsFolder) {
    DataFolder other;
    db::Database theirs(other.path());
    theirs.exec(QStringLiteral("CREATE TABLE \"Rol.dbf\" (NR DECIMAL(3,0))"));
    theirs.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR) VALUES (7)"));
    db::Database console(dir.path());
    db::confineToBaseFolder(console);
    const QString up = QDir(dir.path()).relativeFilePath(other.path());
    for (const QString& sql : {"DELETE FROM \"" + up + "/Rol.dbf\"", "DELETE FROM \"" + other.file("Rol.dbf") + "\"",
                               QStringLiteral("CREATE TABLE \"../rau.dbf\" (A CHAR(1))")})
        EXPECT_THROW(console.exec(sql), Error) << sql.toStdString();
    EXPECT_EQ(theirs.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Rol.dbf\"")).toInt(), 1);
    EXPECT_FALSE(fileExists(QFileInfo(dir.path()).absolutePath() + "/rau.dbf"));
    EXPECT_EQ(console.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(rol())).toInt(), 3); // its own, by full path
}

// A lock file this user cannot open marks nothing: the refusal says so, and does not send the
// clerk looking for another workstation.
TEST_F(Hardening, ATableThatCannotBeLockedForWritingSaysWhy) {
    DataFolder locked;
    db::Database maker(locked.path());
    maker.exec(QStringLiteral("CREATE TABLE \"T.dbf\" (A CHAR(1))"));
    QFile::remove(locked.file(QStringLiteral("Vartesa.lck")));
    ASSERT_TRUE(QDir(locked.path()).mkdir(QStringLiteral("Vartesa.lck"))); // cannot be opened for writing
    db::Database engine(locked.path());
    try {
        engine.holdTable(locked.file(QStringLiteral("T.dbf")), db::LockKind::Exclusive);
        ADD_FAILURE() << "held";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().startsWith("Nu aveti drept de scriere la ")) << e.text().toStdString();
    }
}

} // namespace
