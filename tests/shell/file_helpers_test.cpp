// Files of the program folder: numbered working files (never one a clerk still has open in
// the office suite), whole folders, and templates written from the program's resources.

#include "db/error.h"
#include "shell/file_helpers.h"
#include "support/shell_test_util.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::shelltest::readBytes;
using vartesa::shelltest::writeBytes;

namespace {

class FileHelpersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString folder() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(FileHelpersTest, AnEmptyFolderGivesTheFirstNumber) {
    EXPECT_EQ(FreeTempFileName(folder(), "U", ".dbf"), file("U0.dbf"));
    EXPECT_FALSE(QFileInfo::exists(file("U0.dbf"))) << "a free name is handed out, not a file";
    EXPECT_EQ(FreeTempFileName(folder(), "Lista", ".xls"), file("Lista0.xls"));
}

TEST_F(FileHelpersTest, AnOldWorkingFileIsDeletedAndItsNameReused) {
    writeBytes(file("U0.dbf"), "last run's table");
    EXPECT_EQ(FreeTempFileName(folder(), "U", ".dbf"), file("U0.dbf"));
    EXPECT_FALSE(QFileInfo::exists(file("U0.dbf")));
}

TEST_F(FileHelpersTest, AFileTheOfficeSuiteHoldsOpenIsSkippedAndKept) {
    writeBytes(file("U0.dbf"), "the clerk's open list");
    writeBytes(file(".~lock.U0.dbf#"), "lock");
    EXPECT_EQ(FreeTempFileName(folder(), "U", ".dbf"), file("U1.dbf"));
    EXPECT_EQ(readBytes(file("U0.dbf")), QByteArray("the clerk's open list"));
}

TEST_F(FileHelpersTest, SeveralHeldFilesAreAllSkipped) {
    for (const char* name : {"U0.dbf", "U1.dbf", "U2.dbf"}) {
        writeBytes(file(name), "open");
        writeBytes(file(QStringLiteral(".~lock.%1#").arg(name)), "lock");
    }
    writeBytes(file("U3.dbf"), "old");
    EXPECT_EQ(FreeTempFileName(folder(), "U", ".dbf"), file("U3.dbf"));
    EXPECT_FALSE(QFileInfo::exists(file("U3.dbf")));
    for (const char* name : {"U0.dbf", "U1.dbf", "U2.dbf"})
        EXPECT_TRUE(QFileInfo::exists(file(name))) << name;
}

TEST_F(FileHelpersTest, ALockOfAnotherNameDoesNotHoldTheFile) {
    writeBytes(file("U0.dbf"), "old");
    writeBytes(file(".~lock.U0.xls#"), "lock of another document");
    EXPECT_EQ(FreeTempFileName(folder(), "U", ".dbf"), file("U0.dbf"));
    EXPECT_FALSE(QFileInfo::exists(file("U0.dbf")));
}

TEST_F(FileHelpersTest, DeleteFolderRemovesEverythingInside) {
    const QString root = file("Lucru");
    ASSERT_TRUE(QDir().mkpath(root + "/a/b/c"));
    writeBytes(root + "/top.dbf", "1");
    writeBytes(root + "/a/mid.txt", "2");
    writeBytes(root + "/a/b/c/deep.rtf", "3");
    writeBytes(root + "/a/b/.hidden", "4");
    writeBytes(file("Vecin.dbf"), "beside the folder");

    EXPECT_TRUE(DeleteFolder(root));
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_TRUE(QFileInfo::exists(file("Vecin.dbf"))) << "only the folder given goes";
}

TEST_F(FileHelpersTest, DeletingAFolderThatIsNotThereLeavesNothingBehind) {
    EXPECT_TRUE(DeleteFolder(file("Absent")));
    EXPECT_FALSE(QFileInfo::exists(file("Absent")));
}

TEST_F(FileHelpersTest, AMissingResourceThrowsAndWritesNothing) {
    EXPECT_THROW(WriteResourceToFile("NU_EXISTA", "MODEL", file("Nou.rtf")), Error);
    EXPECT_FALSE(QFileInfo::exists(file("Nou.rtf")));
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "no partial or temporary file is left";

    // A file already at the path keeps its contents.
    writeBytes(file("Instiintare.rtf"), "the office's own template");
    EXPECT_THROW(WriteResourceToFile("NU_EXISTA", "MODEL", file("Instiintare.rtf")), Error);
    EXPECT_EQ(readBytes(file("Instiintare.rtf")), QByteArray("the office's own template"));
}

namespace {

// An output never lands in the data folder, however its path reaches there, nor over a table.
TEST_F(FileHelpersTest, AnOutputStaysOutOfTheDataFolderAndOffTables) {
    const QString data = file("Data");
    ASSERT_TRUE(QDir().mkpath(data) && QDir().mkpath(file("Liste")));
    writeBytes(data + "/Chitante.dbf", "x");
    writeBytes(file("Liste/Lucru.dbf"), "x");
    ASSERT_TRUE(QFile::link(data, file("Legatura")));
    const struct {
        QString output;
        bool refused;
    } cases[] = {
        {data + "/Chitante.dbf", true},          {data + "/CHITANTE.DBF", true},
        {file("Liste/../Data/Raport.xls"), true}, {file("Legatura/Raport.xls"), true},
        {file("DATA/Raport.xls"), true},          {file("Liste/Lucru.dbf"), true},
        {file("Liste/Raport.xls"), false},
    };
    for (const auto& c : cases) {
        bool refused = false;
        try {
            CheckOutputFile(data, c.output);
        } catch (const Error&) {
            refused = true;
        }
        EXPECT_EQ(refused, c.refused) << c.output.toStdString();
    }
}

} // namespace
