// All or nothing: failing statements, transactions, and the rollback journal a crashed
// writer leaves behind.

#include "db_test_util.h"

#include "db/file_io.h"

#include <QDir>

#include <csignal>
#include <sys/resource.h>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

using Rows = std::vector<QStringList>;

class Atomicity : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("CREATE TABLE \"Roluri.dbf\" (NR DECIMAL(3,0), V DECIMAL(4,0), NUME CHAR(12))"));
        db.exec(QStringLiteral("CREATE TABLE \"Plati.dbf\" (NR DECIMAL(3,0), SUMA DECIMAL(8,2))"));
        const QString r = QStringLiteral("INSERT INTO \"Roluri.dbf\" (NR, V, NUME) VALUES (?, ?, ?)");
        db.exec(r, {1, 10, QStringLiteral("Popescu")});
        db.exec(r, {2, 20, QStringLiteral("Ionescu")});
        db.exec(r, {3, 9000, QStringLiteral("Avram")});
        db.exec(r, {4, 30, QStringLiteral("Lazar")});
        db.exec(QStringLiteral("INSERT INTO \"Plati.dbf\" (NR, SUMA) VALUES (1, 5.5)"));
    }
    QString roluri() const { return dir.file(QStringLiteral("Roluri.dbf")); }
    QString plati() const { return dir.file(QStringLiteral("Plati.dbf")); }
    Rows roluriRows(db::Database& e) { return rowsOf(e, QStringLiteral("SELECT NR, V, NUME FROM \"Roluri.dbf\" ORDER BY NR")); }
    // Files other than the tables and the lock file: journals and masters left behind.
    QStringList leftovers() const {
        QStringList out;
        for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
            if (!f.endsWith(QLatin1String(".dbf")) && f != QLatin1String("Vartesa.lck")) out << f;
        return out;
    }

    const Rows original = {{"1", "10", "Popescu"}, {"2", "20", "Ionescu"}, {"3", "9000", "Avram"}, {"4", "30", "Lazar"}};
    DataFolder dir;
    db::Database db{dir.path()};
};

// --- one statement --------------------------------------------------------------------------

TEST_F(Atomicity, UpdateFailingOnThirdRowChangesNothing) {
    const QByteArray before = readBytes(roluri());
    try {
        db.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET V = V * 2, NUME = 'schimbat'"));
        FAIL() << "18000 does not fit four characters";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("18000"))) << e.text().toStdString();
    }
    EXPECT_EQ(readBytes(roluri()), before);
    EXPECT_EQ(roluriRows(db), original);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    // The engine goes on normally.
    EXPECT_EQ(db.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET V = V * 2 WHERE V < 100")), 3);
    db::Database fresh(dir.path());
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT V FROM \"Roluri.dbf\" ORDER BY NR")), (QStringList{"20", "40", "9000", "60"}));
}

TEST_F(Atomicity, InsertSelectFailingOnOneRowInsertsNothing) {
    const QByteArray before = readBytes(roluri());
    EXPECT_THROW(db.exec(QStringLiteral("INSERT INTO \"Roluri.dbf\" (NR, V) SELECT NR + 10, V * 2 FROM \"Roluri.dbf\"")),
                 Error);
    EXPECT_EQ(readBytes(roluri()), before);
    EXPECT_EQ(roluriRows(db), original);
}

// --- transactions ---------------------------------------------------------------------------

TEST_F(Atomicity, TransactionLeftWithoutCommitChangesNeitherTable) {
    db::Database other(dir.path());
    EXPECT_EQ(roluriRows(other), original); // loaded before the transaction starts
    const QByteArray roluriBefore = readBytes(roluri()), platiBefore = readBytes(plati());
    {
        db::Transaction tx(db);
        EXPECT_TRUE(db.inTransaction());
        EXPECT_EQ(db.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET NUME = 'platit' WHERE NR = 2")), 1);
        EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO \"Plati.dbf\" (NR, SUMA) VALUES (2, 99.99)")), 1);
        // Inside, the engine sees its own changes; the files and the other workstation do not.
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT NUME FROM \"Roluri.dbf\" WHERE NR = 2")).toString(), QStringLiteral("platit"));
        EXPECT_EQ(readBytes(roluri()), roluriBefore);
        EXPECT_EQ(readBytes(plati()), platiBefore);
        EXPECT_EQ(roluriRows(other), original);
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(readBytes(roluri()), roluriBefore);
    EXPECT_EQ(readBytes(plati()), platiBefore);
    EXPECT_EQ(roluriRows(db), original);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"Plati.dbf\"")).toInt(), 1);
    EXPECT_TRUE(leftovers().isEmpty());
    // The folder is free again for another workstation's writes.
    other.setLockTimeout(2000);
    EXPECT_EQ(other.exec(QStringLiteral("UPDATE \"Plati.dbf\" SET SUMA = 6 WHERE NR = 1")), 1);
}

TEST_F(Atomicity, CommittedTransactionChangesBothTables) {
    {
        db::Transaction tx(db);
        db.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET NUME = 'platit' WHERE NR = 2"));
        db.exec(QStringLiteral("INSERT INTO \"Plati.dbf\" (NR, SUMA) VALUES (2, 99.99)"));
        tx.commit();
    }
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    db::Database fresh(dir.path());
    EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT NUME FROM \"Roluri.dbf\" WHERE NR = 2")).toString(), QStringLiteral("platit"));
    EXPECT_EQ(rowsOf(fresh, QStringLiteral("SELECT NR, SUMA FROM \"Plati.dbf\" ORDER BY NR")), (Rows{{"1", "5.5"}, {"2", "99.99"}}));
    EXPECT_EQ(u32At(readBytes(plati()), 4), 2u);
}

TEST_F(Atomicity, OtherWorkstationWaitsForCommit) {
    db::Database other(dir.path());
    other.setLockTimeout(300);
    EXPECT_EQ(roluriRows(other), original);
    db::Transaction tx(db);
    db.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET V = 11 WHERE NR = 1"));
    const QByteArray platiBefore = readBytes(plati());
    // The folder is held until commit: another writer gives up with a message.
    try {
        other.exec(QStringLiteral("UPDATE \"Plati.dbf\" SET SUMA = 1 WHERE NR = 1"));
        ADD_FAILURE() << "another workstation wrote during a transaction";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("ocupata"))) << e.text().toStdString();
    }
    EXPECT_EQ(readBytes(plati()), platiBefore);
    tx.commit();
    EXPECT_EQ(other.exec(QStringLiteral("UPDATE \"Plati.dbf\" SET SUMA = 1 WHERE NR = 1")), 1);
    EXPECT_EQ(other.scalar(QStringLiteral("SELECT V FROM \"Roluri.dbf\" WHERE NR = 1")).toInt(), 11);
}

TEST_F(Atomicity, FailedStatementInsideTransactionLeavesTheOthers) {
    {
        db::Transaction tx(db);
        db.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET NUME = 'primul' WHERE NR = 1"));
        EXPECT_THROW(db.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET V = V * 2, NUME = 'al doilea'")), Error);
        tx.commit();
    }
    db::Database fresh(dir.path());
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT NUME FROM \"Roluri.dbf\" ORDER BY NR")),
              (QStringList{"primul", "Ionescu", "Avram", "Lazar"}));
    EXPECT_EQ(columnOf(fresh, QStringLiteral("SELECT V FROM \"Roluri.dbf\" ORDER BY NR")), (QStringList{"10", "20", "9000", "30"}));
}

TEST_F(Atomicity, RowsAddedAndDroppedInOneTransaction) {
    {
        db::Transaction tx(db);
        db.exec(QStringLiteral("INSERT INTO \"Plati.dbf\" (NR, SUMA) VALUES (2, 1)"));
        db.exec(QStringLiteral("INSERT INTO \"Plati.dbf\" (NR, SUMA) VALUES (3, 2)"));
        db.exec(QStringLiteral("INSERT INTO \"Plati.dbf\" (NR, SUMA) VALUES (4, 3)"));
        db.exec(QStringLiteral("DELETE FROM \"Plati.dbf\" WHERE NR IN (2, 4)"));
        tx.commit();
    }
    db::Database fresh(dir.path());
    EXPECT_EQ(rowsOf(fresh, QStringLiteral("SELECT NR, SUMA FROM \"Plati.dbf\" ORDER BY NR")), (Rows{{"1", "5.5"}, {"3", "2"}}));
    // The row dropped before it was ever written stays as a deleted record; the file is whole.
    const QByteArray b = readBytes(plati());
    const int header = u16At(b, 8), length = u16At(b, 10);
    const int count = int(u32At(b, 4));
    ASSERT_GE(count, 3);
    EXPECT_EQ(b.size(), header + count * length + 1);
    EXPECT_EQ(b.back(), '\x1A');
    EXPECT_EQ(b[header + length], '*');
    EXPECT_EQ(b[header + 2 * length], ' ');
    if (haveDbfread()) {
        const QJsonObject t = readWithDbfread(plati());
        EXPECT_EQ(t.value(QStringLiteral("records")).toArray().size(), 2);
    }
}

TEST_F(Atomicity, TableDefinitionsRefusedInsideTransaction) {
    db::Transaction tx(db);
    EXPECT_THROW(db.exec(QStringLiteral("CREATE TABLE \"Nou.dbf\" (A CHAR(1))")), Error);
    EXPECT_THROW(db.exec(QStringLiteral("ALTER TABLE \"Plati.dbf\" ADD B CHAR(1)")), Error);
    EXPECT_THROW(db.pack(QStringLiteral("Plati.dbf")), Error);
    EXPECT_THROW(db.changeCharWidth(QStringLiteral("Roluri.dbf"), QStringLiteral("NUME"), 20), Error);
    EXPECT_THROW(db.changeNumericWidth(QStringLiteral("Roluri.dbf"), {{QStringLiteral("V"), 8, 2}}), Error);
    EXPECT_THROW(db.begin(), Error);
    EXPECT_FALSE(fileExists(dir.file(QStringLiteral("Nou.dbf"))));
    EXPECT_EQ(db.layout(QStringLiteral("Plati.dbf")).fields.size(), 2u);
}

// The disk fills up while the widened table is being written beside the old one: the
// change fails, the table stays byte for byte as it was and the half-written copy goes.
TEST_F(Atomicity, WidthChangeFailingWhileWritingLeavesTheTableAsItWas) {
    const QByteArray before = readBytes(roluri());
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit full = saved;
    full.rlim_cur = rlim_t(before.size() / 2); // the wider copy stops half-way
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    bool failed = false;
    try {
        db.changeNumericWidth(QStringLiteral("Roluri.dbf"), {{QStringLiteral("V"), 8, 2}});
    } catch (const Error&) {
        failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_TRUE(failed);
    EXPECT_EQ(readBytes(roluri()), before);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    // With room again the same change goes through.
    db.changeNumericWidth(QStringLiteral("Roluri.dbf"), {{QStringLiteral("V"), 8, 2}});
    db::Database fresh(dir.path());
    EXPECT_EQ(roluriRows(fresh), original);
}

// A transaction that loaded another workstation's change and was then rolled back reads the
// table again in full: the loaded copy went back with the transaction.
TEST_F(Atomicity, TableUsableAfterRollbackThatReloadedIt) {
    db::Database other(dir.path());
    EXPECT_EQ(roluriRows(db), original);
    other.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET NUME = 'altul' WHERE NR = 4"));
    {
        db::Transaction tx(db);
        db.exec(QStringLiteral("UPDATE \"Roluri.dbf\" SET NUME = 'anulat' WHERE NR = 1"));
    }
    EXPECT_EQ(columnOf(db, QStringLiteral("SELECT NUME FROM \"Roluri.dbf\" ORDER BY NR")),
              (QStringList{"Popescu", "Ionescu", "Avram", "altul"}));
}

// --- the journal of a writer that died --------------------------------------------------------

class CrashedWriter : public Atomicity, public ::testing::WithParamInterface<bool> {
protected:
    // Overwrites `len` bytes at `at` of a file, as a writer that died half-way would have.
    static void scribble(const QString& path, int at, const QByteArray& bytes) {
        QByteArray b = readBytes(path);
        if (b.size() < at + bytes.size()) b.resize(at + bytes.size());
        b.replace(at, bytes.size(), bytes);
        writeBytes(path, b);
    }
};

TEST_P(CrashedWriter, JournalIsPlayedBackAtNextStatement) {
    const bool loadedBefore = GetParam();
    db::Database reader(dir.path());
    if (loadedBefore) {
        EXPECT_EQ(roluriRows(reader), original);
    }

    const QByteArray before = readBytes(roluri());
    const int header = u16At(before, 8), length = u16At(before, 10);
    const int second = header + length, fifth = header + 4 * length;
    db::writeJournal(roluri(), before.size(),
                     {{0, before.left(32)}, {second, before.mid(second, length)}, {fifth, before.mid(fifth)}}, QString());
    // Half written: a new header, record 2 partly overwritten, a fifth record begun.
    QByteArray head = before.left(32);
    head[4] = 5;
    head[20] = char(head[20] + 1);
    scribble(roluri(), 0, head);
    scribble(roluri(), second + 1, QByteArray("999XXXX"));
    scribble(roluri(), fifth, QByteArray("  5  77Nou"));
    ASSERT_NE(readBytes(roluri()), before);

    EXPECT_EQ(roluriRows(reader), original);
    EXPECT_EQ(readBytes(roluri()), before);
    EXPECT_FALSE(fileExists(db::journalPath(roluri())));
    db::Database fresh(dir.path());
    EXPECT_EQ(roluriRows(fresh), original);
}

// A width change reads the table only after putting back what a dead writer half wrote,
// so the wider table never keeps those bytes.
TEST_P(CrashedWriter, WidthChangePlaysTheJournalBackFirst) {
    if (GetParam()) {
        EXPECT_EQ(roluriRows(db), original);
    }
    const QByteArray before = readBytes(roluri());
    const int second = u16At(before, 8) + u16At(before, 10);
    db::writeJournal(roluri(), before.size(), {{second, before.mid(second, u16At(before, 10))}}, QString());
    scribble(roluri(), second + 1, QByteArray("999XXXX"));

    db.changeNumericWidth(QStringLiteral("Roluri.dbf"), {{QStringLiteral("V"), 8, 2}});

    db::Database fresh(dir.path());
    EXPECT_EQ(roluriRows(fresh), original);
    EXPECT_FALSE(fileExists(db::journalPath(roluri())));
}

INSTANTIATE_TEST_SUITE_P(TableLoadedBefore, CrashedWriter, ::testing::Bool());

struct BrokenJournal {
    const char* what;
    QByteArray (*spoil)(QByteArray journal);
};

class UnfinishedJournal : public Atomicity, public ::testing::WithParamInterface<BrokenJournal> {};

TEST_P(UnfinishedJournal, IsIgnoredAndRemoved) {
    const QByteArray before = readBytes(roluri());
    const int header = u16At(before, 8), length = u16At(before, 10);
    // "Original" bytes that differ from the file: playing them back would show.
    QByteArray fake = before.mid(header + length, length);
    fake.replace(1 + 3 + 4, 7, "Fantoma");
    db::writeJournal(roluri(), before.size(), {{header + length, fake}}, QString());
    const QString journal = db::journalPath(roluri());
    writeBytes(journal, GetParam().spoil(readBytes(journal)));

    EXPECT_EQ(roluriRows(db), original);
    db::Database fresh(dir.path());
    EXPECT_EQ(roluriRows(fresh), original);
    EXPECT_EQ(readBytes(roluri()), before);
    EXPECT_FALSE(fileExists(journal));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnfinishedJournal,
    ::testing::Values(BrokenJournal{"bad_checksum",
                                    [](QByteArray j) {
                                        j[j.size() - 1] = char(j[j.size() - 1] ^ 0x5A);
                                        return j;
                                    }},
                      BrokenJournal{"cut_short", [](QByteArray j) { return j.left(j.size() / 2); }},
                      BrokenJournal{"bytes_changed",
                                    [](QByteArray j) {
                                        j[30] = char(j[30] ^ 0x01);
                                        return j;
                                    }},
                      BrokenJournal{"empty", [](QByteArray) { return QByteArray(); }}),
    [](const ::testing::TestParamInfo<BrokenJournal>& info) { return std::string(info.param.what); });

TEST_F(Atomicity, JournalOfCommittedTransactionIsDropped) {
    // The master is gone: the transaction had committed before the writer died.
    const QByteArray before = readBytes(roluri());
    const int header = u16At(before, 8);
    QByteArray fake = before.mid(header, 4);
    fake[1] = 'X';
    db::writeJournal(roluri(), before.size(), {{header, fake}}, dir.file(QStringLiteral("Vartesa-gata.mj")));
    EXPECT_EQ(roluriRows(db), original);
    EXPECT_EQ(readBytes(roluri()), before);
    EXPECT_FALSE(fileExists(db::journalPath(roluri())));
}

TEST_F(Atomicity, UnfinishedTransactionIsRolledBackInEveryTable) {
    // The master still exists: the writer died before the commit point, so both tables
    // named in it go back, even the one the reader did not ask for.
    const QByteArray roluriBefore = readBytes(roluri()), platiBefore = readBytes(plati());
    const QString master = dir.file(QStringLiteral("Vartesa-mort.mj"));
    db::writeJournal(roluri(), roluriBefore.size(), {{0, roluriBefore}}, master);
    db::writeJournal(plati(), platiBefore.size(), {{0, platiBefore}}, master);
    db::writeMaster(master, {roluri(), plati()});
    const int rh = u16At(roluriBefore, 8), ph = u16At(platiBefore, 8);
    QByteArray r = roluriBefore, p = platiBefore;
    r.replace(rh + 1 + 3 + 4, 7, "Stricat");
    p.replace(ph + 1 + 3, 8, "   12.34");
    p.append(QByteArray(" ") + "  2" + "    1.00" + char(0x1A));
    writeBytes(roluri(), r);
    writeBytes(plati(), p);

    db::Database fresh(dir.path());
    EXPECT_EQ(roluriRows(fresh), original);
    EXPECT_EQ(readBytes(roluri()), roluriBefore);
    EXPECT_EQ(readBytes(plati()), platiBefore);
    EXPECT_EQ(rowsOf(fresh, QStringLiteral("SELECT NR, SUMA FROM \"Plati.dbf\"")), (Rows{{"1", "5.5"}}));
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
}

} // namespace
