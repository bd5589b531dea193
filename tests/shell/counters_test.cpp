// The counters file Vartesa.set: reading with defaults, rewriting one value without
// disturbing the rest of a file other workstations also use, drawing identifiers, and two
// processes drawing from one counter at once.

#include "db/database.h"
#include "db/error.h"
#include "shell/counters.h"
#include "support/shell_test_util.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::shelltest::readBytes;
using vartesa::shelltest::writeBytes;

namespace {

class CountersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path() const { return dir_.filePath("Vartesa.set"); }
    QString folder() const { return dir_.path(); }

    QTemporaryDir dir_;
};

// A file as a workstation leaves it: a comment, a line with a bare LF, a second section with
// Windows-1250 letters (0xBA is s with cedilla, 0xFE is t with cedilla, 0xE3 is a breve).
const QByteArray kSharedFile = QByteArray("; contoare comuna Pestisani\r\n"
                                          "[SERVER]\r\n"
                                          "IDGOS=57\r\n"
                                          "LASTPACK=42004\n"
                                          "IDCHIT=310\r\n"
                                          "\r\n"
                                          "[PRIMARIE]\r\n"
                                          "LOCALITATE=Pe\xBAti\xBA" "ani\r\n"
                                          "SAT=Br\xE3" "de\xBAti \xFE" "ara\r\n"
                                          "IDGOS=999\r\n");

// The lines of a text, each with its own line end.
QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        lines << bytes.mid(start, end - start);
        start = end;
    }
    return lines;
}

} // namespace

// --- reading ----------------------------------------------------------------------------

TEST_F(CountersTest, MissingFileSectionKeyOrEmptyValueReadsTheDefault) {
    CountersFile counters(path());
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS", "1"), "1"); // no file yet
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS"), "");

    writeBytes(path(), "[SERVER]\r\nIDGOS=57\r\nIDDAT=\r\nIDRES=   \r\n");
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS", "1"), "57");
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDDEB", "1"), "1");   // missing key
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDDAT", "1"), "1");   // empty value
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDRES", "1"), "1");   // only spaces
    EXPECT_EQ(counters.ReadCounter("OPTIUNI", "IDGOS", "x"), "x");  // missing section
}

TEST_F(CountersTest, SectionAndKeyNamesMatchWithoutRegardToCase) {
    writeBytes(path(), "[Server]\r\nIdGos=57\r\n");
    CountersFile counters(path());
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS"), "57");
    EXPECT_EQ(counters.ReadCounter("server", "idgos"), "57");
    EXPECT_EQ(counters.ReadCounter("Server", "IdGos"), "57");
}

TEST_F(CountersTest, AKeyIsReadFromItsOwnSectionOnly) {
    writeBytes(path(), kSharedFile);
    CountersFile counters(path());
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS"), "57");
    EXPECT_EQ(counters.ReadCounter("PRIMARIE", "IDGOS"), "999");
    EXPECT_EQ(counters.ReadCounter("SERVER", "LASTPACK"), "42004"); // line ending in a bare LF
    EXPECT_EQ(counters.ReadCounter("PRIMARIE", "LOCALITATE"), QString::fromUtf8("Peştişani"));
    EXPECT_EQ(counters.ReadCounter("PRIMARIE", "SAT"), QString::fromUtf8("Brădeşti ţara"));
}

// --- writing ----------------------------------------------------------------------------

TEST_F(CountersTest, RewritingOneValueKeepsEveryOtherByte) {
    writeBytes(path(), kSharedFile);
    CountersFile counters(path());
    counters.WriteCounter("SERVER", "IDGOS", "58");

    QByteArray expected = kSharedFile;
    expected.replace("IDGOS=57\r\n", "IDGOS=58\r\n");
    EXPECT_EQ(readBytes(path()), expected);
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS"), "58");
    EXPECT_EQ(counters.ReadCounter("PRIMARIE", "IDGOS"), "999");
}

TEST_F(CountersTest, ANewKeyJoinsItsSectionAndTheOtherLinesStayAsTheyWere) {
    writeBytes(path(), kSharedFile);
    CountersFile counters(path());
    counters.WriteCounter("SERVER", "IDDETA", "7");

    const QByteArray after = readBytes(path());
    QList<QByteArray> lines = linesOf(after);
    ASSERT_EQ(lines.count("IDDETA=7\r\n"), 1) << after.toStdString();
    lines.removeOne("IDDETA=7\r\n");
    EXPECT_EQ(lines, linesOf(kSharedFile)); // nothing else added, lost or changed

    EXPECT_EQ(counters.ReadCounter("SERVER", "IDDETA"), "7");
    EXPECT_EQ(counters.ReadCounter("PRIMARIE", "IDDETA"), ""); // not in the next section
}

TEST_F(CountersTest, ANewSectionGoesAfterTheExistingText) {
    writeBytes(path(), kSharedFile);
    CountersFile counters(path());
    counters.WriteCounter("CHITANTE", "SERIA", "PST");

    const QByteArray after = readBytes(path());
    ASSERT_TRUE(after.startsWith(kSharedFile)) << after.toStdString();
    const QByteArray added = after.mid(kSharedFile.size());
    EXPECT_TRUE(added.contains("[CHITANTE]\r\n")) << added.toStdString();
    EXPECT_TRUE(added.contains("SERIA=PST\r\n")) << added.toStdString();
    EXPECT_EQ(added.count('\n'), added.count("\r\n")) << "every added line ends in CR LF";
    EXPECT_EQ(counters.ReadCounter("chitante", "seria"), "PST");
}

TEST_F(CountersTest, WritingToAnExistingSectionInOtherCaseAddsNoSecondSection) {
    writeBytes(path(), "[Server]\r\nidgos=57\r\n");
    CountersFile counters(path());
    counters.WriteCounter("SERVER", "IDGOS", "60");
    counters.WriteCounter("SERVER", "LASTPACK", "42005");

    const QByteArray after = readBytes(path());
    EXPECT_EQ(after.count('['), 1) << after.toStdString();
    EXPECT_EQ(after.toUpper().count("IDGOS="), 1) << after.toStdString();
    EXPECT_EQ(counters.ReadCounter("Server", "IdGos"), "60");
    EXPECT_EQ(counters.ReadCounter("server", "lastpack"), "42005");
}

TEST_F(CountersTest, AMissingFileIsCreatedInWindows1250WithCrLf) {
    CountersFile counters(path());
    counters.WriteCounter("SERVER", "IDGOS", "1");
    counters.WriteCounter("OPTIUNI", "PRIMAR", QString::fromUtf8("Ştefan Ţurcanu"));

    const QByteArray bytes = readBytes(path());
    EXPECT_TRUE(bytes.contains("[SERVER]\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("IDGOS=1\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("PRIMAR=\xAAtefan \xDEurcanu\r\n")) << bytes.toStdString();
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(counters.ReadCounter("OPTIUNI", "PRIMAR"), QString::fromUtf8("Ştefan Ţurcanu"));
}

// --- drawing identifiers ---------------------------------------------------------------

TEST_F(CountersTest, NextIdReturnsTheStoredNumberAndStoresTheNextOne) {
    writeBytes(path(), kSharedFile);
    CountersFile counters(path());
    EXPECT_EQ(counters.NextId("SERVER", "IDGOS"), "57");
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS"), "58");
    EXPECT_EQ(counters.NextId("SERVER", "IDGOS"), "58");
    EXPECT_EQ(counters.NextId("SERVER", "IDGOS"), "59");
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS"), "60");
    // The same key in another section and every other line are left alone.
    QByteArray expected = kSharedFile;
    expected.replace("IDGOS=57\r\n", "IDGOS=60\r\n");
    EXPECT_EQ(readBytes(path()), expected);
}

TEST_F(CountersTest, NextIdOfAMissingOrEmptyKeyStartsAtOne) {
    CountersFile counters(path());
    EXPECT_EQ(counters.NextId("SERVER", "IDDETA"), "1"); // no file at all
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDDETA"), "2");

    writeBytes(path(), "[SERVER]\r\nIDGOS=\r\n");
    EXPECT_EQ(counters.NextId("SERVER", "IDGOS"), "1");
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS"), "2");
    EXPECT_EQ(counters.NextId("SERVER", "IDCONF"), "1"); // key missing from an existing section
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDCONF"), "2");
}

TEST_F(CountersTest, NextIdFindsTheKeyWhateverItsCase) {
    writeBytes(path(), "[server]\r\nidgos=57\r\n");
    CountersFile counters(path());
    EXPECT_EQ(counters.NextId("SERVER", "IDGOS"), "57");
    EXPECT_EQ(readBytes(path()).toUpper(), QByteArray("[SERVER]\r\nIDGOS=58\r\n"));
}

TEST_F(CountersTest, NextIdOfAValueThatIsNotAWholeNumberFailsAndChangesNothing) {
    for (const char* bad : {"12a", "1.5", "abc", "5 5"}) {
        const QByteArray before = QByteArray("[SERVER]\r\nIDGOS=") + bad + "\r\nIDDAT=3\r\n";
        writeBytes(path(), before);
        CountersFile counters(path());
        EXPECT_THROW(counters.NextId("SERVER", "IDGOS"), Error) << bad;
        EXPECT_EQ(readBytes(path()), before) << bad;
    }
}

// A payment draws its operation, document and receipt numbers together; one bad value
// leaves all of them undrawn.
TEST_F(CountersTest, NextIdEachDrawsFromSeveralSectionsOrNone) {
    writeBytes(path(), kSharedFile);
    CountersFile counters(path());
    EXPECT_EQ(counters.NextIdEach({{"SERVER", "IDGOS"}, {"SERVER", "IDCHIT"}, {"ION", "CHIT"}}),
              (std::vector<qint64>{57, 310, 1}));
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDGOS") + counters.ReadCounter("SERVER", "IDCHIT") +
                  counters.ReadCounter("ION", "CHIT"),
              "583112");
    counters.WriteCounter("ION", "CHIT", "2b");
    const QByteArray bad = readBytes(path());
    EXPECT_THROW(counters.NextIdEach({{"SERVER", "IDGOS"}, {"ION", "CHIT"}}), Error);
    EXPECT_EQ(readBytes(path()), bad);
}

// Two workstations drawing from one counter: every identifier is handed out exactly once.
TEST_F(CountersTest, TwoProcessesDrawingAtOnceNeverGetTheSameId) {
    constexpr int kEach = 500;
    const QString script = QStringLiteral("for i in $(seq %1); do \"$0\" next-id \"$1\" IDX || exit 1; done").arg(kEach);
    QProcess first, second;
    for (QProcess* p : {&first, &second}) {
        p->setProgram("/bin/sh");
        p->setArguments({"-c", script, shelltest::toolPath(), folder()});
    }
    first.start();
    second.start();
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(second.waitForStarted());

    QSet<int> drawn;
    int total = 0;
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(10 * 60 * 1000)) << "the drawing loop never ended";
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        const QList<QByteArray> lines = p->readAllStandardOutput().split('\n');
        for (const QByteArray& line : lines) {
            if (line.trimmed().isEmpty()) continue;
            bool ok = false;
            const int id = line.trimmed().toInt(&ok);
            EXPECT_TRUE(ok) << line.toStdString();
            drawn.insert(id);
            ++total;
        }
    }
    EXPECT_EQ(total, 2 * kEach);
    EXPECT_EQ(drawn.size(), 2 * kEach) << "some identifiers were handed out twice";
    for (int id = 1; id <= 2 * kEach; ++id)
        if (!drawn.contains(id)) ADD_FAILURE() << "identifier " << id << " was never drawn";
    EXPECT_EQ(CountersFile(path()).ReadCounter("SERVER", "IDX"), QString::number(2 * kEach + 1));
}

namespace {

// The counters keep their own lock byte: a workstation in the middle of writing tables does
// not hold up a cashier drawing a receipt number.
TEST_F(CountersTest, NextIdIsNotHeldUpByAnOpenTableWrite) {
    db::Database writer(folder());
    writer.exec(QStringLiteral("CREATE TABLE \"T.dbf\" (A DECIMAL(3,0))"));
    writer.begin();
    writer.exec(QStringLiteral("INSERT INTO \"T.dbf\" (A) VALUES (1)"));
    CountersFile counters(path());
    counters.setLockTimeout(300);
    EXPECT_EQ(counters.NextId("SERVER", "IDCHIT"), "1");
    writer.rollback();
}

// A user's receipt series is found whichever way the user's name spells ş and ţ.
TEST_F(CountersTest, SectionsMatchWhicheverFormOfSAndTIsTyped) {
    CountersFile counters(path());
    counters.WriteCounter(QStringLiteral("ŞTEFĂNIŢĂ"), "SERIA", "AB");
    EXPECT_EQ(counters.ReadCounter(QStringLiteral("ȘTEFĂNIȚĂ"), "SERIA"), "AB");
    counters.WriteCounter(QStringLiteral("ȘTEFĂNIȚĂ"), "SERIA", "CD");
    EXPECT_EQ(counters.ReadCounter(QStringLiteral("ŞTEFĂNIŢĂ"), "SERIA"), "CD");
    EXPECT_EQ(counters.ReadCounter(QStringLiteral("ȘTEFĂNIȚĂ"), "SERIA"), "CD");
}

// A save that failed or was killed leaves its copy beside the file; the next start removes
// it, and the counters go on from the file, whose values were the last ones handed out.
TEST_F(CountersTest, TheCopyOfAnUnfinishedSaveIsRemovedAndNoValueIsLost) {
    writeBytes(path(), "[SERVER]\r\nIDCHIT=310\r\n");
    writeBytes(path() + "-new", "[SERVER]\r\nIDCHIT=31"); // cut short by the full disk
    CountersFile counters(path());
    EXPECT_FALSE(QFile::exists(path() + "-new"));
    EXPECT_EQ(counters.NextId("SERVER", "IDCHIT"), "310");
}

TEST_F(CountersTest, RaisingACounterNeverLowersIt) {
    CountersFile counters(path());
    counters.RaiseCounter("ANA", "CHIT", 42);
    counters.RaiseCounter("ANA", "CHIT", 7);
    EXPECT_EQ(counters.ReadCounter("ANA", "CHIT"), "42");
}

} // namespace
