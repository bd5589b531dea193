// Several workstations on one data folder: other processes (the command-line tool) and a
// second engine in this process, which has its own lock file descriptors.

#include "db_test_util.h"

#include <QDate>
#include <QFileInfo>

#include <set>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

using Rows = std::vector<QStringList>;

class Workstations : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE \"Rol.dbf\" (NR DECIMAL(5,0), CINE CHAR(2), SUMA DECIMAL(9,2), DATA DATE)"));
        for (int i = 1; i <= 3; ++i)
            db.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, CINE, SUMA) VALUES (?, 'X', ?)"), {i, i * 10});
    }
    QString rol() const { return dir.file(QStringLiteral("Rol.dbf")); }

    DataFolder dir;
    db::Database db{dir.path()};
};

TEST_F(Workstations, ChangeByAnotherProcessSeenAtNextStatement) {
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT SUMA FROM \"Rol.dbf\" WHERE NR = 2")).toInt(), 20);
    const qint64 size = QFileInfo(rol()).size();
    // In quick succession, so that the file's modification time may well not move between
    // two of them: the change must still be noticed.
    for (int round = 1; round <= 6; ++round) {
        SCOPED_TRACE(round);
        const QString amount = QString::number(100 + round) + QStringLiteral(".25");
        const ToolRun run = runToolSql(dir.path(), QStringLiteral("UPDATE \"Rol.dbf\" SET SUMA = ? WHERE NR = 2"), {amount});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.trimmed(), QStringLiteral("1"));
        EXPECT_EQ(QFileInfo(rol()).size(), size); // changed in place
        EXPECT_EQ(cellText(db.scalar(QStringLiteral("SELECT SUMA FROM \"Rol.dbf\" WHERE NR = 2"))), amount);
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT SUMA FROM \"Rol.dbf\" WHERE NR = 1")).toInt(), 10);
    }
    // A date the other program gave as day.month.year text.
    const ToolRun run = runToolSql(dir.path(), QStringLiteral("UPDATE \"Rol.dbf\" SET DATA = ? WHERE NR = 3"),
                                   {QStringLiteral("05.03.2024")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    db::Query q = db.query(QStringLiteral("SELECT DATA FROM \"Rol.dbf\" WHERE NR = 3"));
    EXPECT_EQ(q.date(QStringLiteral("DATA")), QDate(2024, 3, 5));
}

TEST_F(Workstations, OtherProcessSeesOurChangesAndRows) {
    db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET CINE = ?, DATA = ? WHERE NR = 1"),
            {QString::fromUtf8("Şt"), QDate(2023, 12, 31)});
    const ToolRun run = runToolSql(dir.path(), QStringLiteral("SELECT NR, CINE, SUMA, DATA FROM \"rol.dbf\" ORDER BY NR"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QString::fromUtf8("NR,CINE,SUMA,DATA\n1,Şt,10,31.12.2023\n2,X,20,\n3,X,30,\n"));
}

TEST_F(Workstations, OtherProcessReportsFailureAndWritesNothing) {
    const QByteArray before = readBytes(rol());
    const ToolRun run = runToolSql(dir.path(), QStringLiteral("UPDATE \"Rol.dbf\" SET NR = ? WHERE NR = 1"), {QStringLiteral("1234567")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("NR"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Rol.dbf"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("1234567"))) << run.err.toStdString();
    EXPECT_EQ(readBytes(rol()), before);
}

TEST_F(Workstations, ConcurrentInsertsFromSeveralProcessesAllArrive) {
    const int perWriter = 100;
    // Each writer is a shell loop starting the tool once per row, as separate workstations
    // saving one form after another.
    const QString loop = QStringLiteral(
        "i=1; while [ $i -le %1 ]; do \"$0\" sql \"$1\" "
        "'INSERT INTO \"Rol.dbf\" (NR, CINE) VALUES (?, ?)' $i \"$2\" >/dev/null || exit 1; i=$((i+1)); done")
                             .arg(perWriter);
    QProcess a, b;
    for (auto [p, who] : {std::pair{&a, "A"}, std::pair{&b, "B"}})
        p->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), loop, QStringLiteral(VARTESA_TOOL_PATH), dir.path(),
                                             QString::fromLatin1(who)});
    ASSERT_TRUE(a.waitForStarted(30000));
    ASSERT_TRUE(b.waitForStarted(30000));
    // This process writes at the same time.
    for (int i = 1; i <= 30; ++i)
        db.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, CINE) VALUES (?, 'C')"), {i});
    for (QProcess* p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(600000)) << "a writer did not finish";
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }

    db::Database fresh(dir.path());
    for (db::Database* e : {&db, &fresh}) {
        for (const char* who : {"A", "B"}) {
            SCOPED_TRACE(who);
            const QStringList numbers =
                columnOf(*e, QStringLiteral("SELECT NR FROM \"Rol.dbf\" WHERE CINE = ? ORDER BY NR"), {QString::fromLatin1(who)});
            QStringList expected;
            for (int i = 1; i <= perWriter; ++i) expected << QString::number(i);
            EXPECT_EQ(numbers, expected);
        }
        EXPECT_EQ(e->scalar(QStringLiteral("SELECT COUNT(*) FROM \"Rol.dbf\" WHERE CINE = 'C'")).toInt(), 30);
        EXPECT_EQ(e->scalar(QStringLiteral("SELECT COUNT(*) FROM \"Rol.dbf\"")).toInt(), 3 + 2 * perWriter + 30);
    }
    const QByteArray file = readBytes(rol());
    const int total = 3 + 2 * perWriter + 30;
    EXPECT_EQ(u32At(file, 4), std::uint32_t(total));
    EXPECT_EQ(file.size(), u16At(file, 8) + total * u16At(file, 10) + 1);
    EXPECT_EQ(file.back(), '\x1A');

    if (haveDbfread()) {
        QString error;
        const QJsonObject t = readWithDbfread(rol(), &error);
        ASSERT_FALSE(t.isEmpty()) << error.toStdString();
        const QJsonArray records = t.value(QStringLiteral("records")).toArray();
        EXPECT_EQ(records.size(), total);
        std::set<std::pair<QString, QString>> seen;
        for (const QJsonValue& r : records) seen.insert({r.toArray().at(1).toString(), r.toArray().at(0).toString()});
        EXPECT_EQ(seen.size(), size_t(total)); // every (writer, number) pair once
    }
}

TEST_F(Workstations, SecondEngineInThisProcessSeesEachChange) {
    db::Database other(dir.path());
    EXPECT_EQ(rowsOf(other, QStringLiteral("SELECT NR, SUMA FROM \"Rol.dbf\" ORDER BY NR")),
              (Rows{{"1", "10"}, {"2", "20"}, {"3", "30"}}));
    db.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET SUMA = 21 WHERE NR = 2"));
    EXPECT_EQ(other.scalar(QStringLiteral("SELECT SUMA FROM \"Rol.dbf\" WHERE NR = 2")).toInt(), 21);
    db.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, SUMA) VALUES (4, 40)"));
    EXPECT_EQ(other.scalar(QStringLiteral("SELECT SUM(SUMA) FROM \"Rol.dbf\"")).toInt(), 10 + 21 + 30 + 40);
    db.exec(QStringLiteral("DELETE FROM \"Rol.dbf\" WHERE NR = 1"));
    EXPECT_EQ(columnOf(other, QStringLiteral("SELECT NR FROM \"Rol.dbf\" ORDER BY NR")), (QStringList{"2", "3", "4"}));
    // And the other way round, with rows the first engine has never seen.
    other.exec(QStringLiteral("INSERT INTO \"Rol.dbf\" (NR, SUMA) VALUES (5, 50)"));
    other.exec(QStringLiteral("UPDATE \"Rol.dbf\" SET SUMA = SUMA + 1 WHERE NR >= 4"));
    EXPECT_EQ(rowsOf(db, QStringLiteral("SELECT NR, SUMA FROM \"Rol.dbf\" ORDER BY NR")),
              (Rows{{"2", "21"}, {"3", "30"}, {"4", "41"}, {"5", "51"}}));
    // A table another engine creates is there for this one.
    other.exec(QStringLiteral("CREATE TABLE \"Nou.dbf\" (A CHAR(3))"));
    other.exec(QStringLiteral("INSERT INTO \"Nou.dbf\" (A) VALUES ('abc')"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT A FROM \"Nou.dbf\"")).toString(), QStringLiteral("abc"));
}

// When another workstation changes a table's layout (here: adds a field), an engine that
// had the table loaded reads it again with its new fields at the next statement.
TEST_F(Workstations, LayoutChangedByAnotherWorkstation) {
    db::Database other(dir.path());
    other.exec(QStringLiteral("ALTER TABLE \"Rol.dbf\" ADD OBS CHAR(5)"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(OBS) FROM \"Rol.dbf\"")).toInt(), 3);
}

} // namespace
