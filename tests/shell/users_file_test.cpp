// The users file s.mpg: its 100-byte records read and written byte for byte, lenient
// reading of damaged files, deletion by moving the last record, and how passwords are kept.

#include "db/error.h"
#include "shell/passwords.h"
#include "shell/users_file.h"
#include "support/shell_test_util.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;
using shelltest::readBytes;
using shelltest::writeBytes;

namespace {

UserRecord user(const QString& name, UserGrade grade = UserGrade::RolOperator, const QString& password = {},
                const QString& card = {}) {
    return {name, password, grade, card};
}

QStringList namesOf(const std::vector<UserRecord>& records) {
    QStringList names;
    for (const UserRecord& r : records) names << r.name;
    return names;
}

} // namespace

TEST(UsersFileRecord, FieldsSitAtTheirOffsetsInWindows1250) {
    const QByteArray bytes = encodeUserRecord(user(QString::fromUtf8("IONEŞ"), UserGrade::Cashier, "PAROLA", "AB 12"));
    ASSERT_EQ(bytes.size(), 100);
    EXPECT_EQ(int(bytes[0]), 5);
    EXPECT_EQ(bytes.mid(1, 5), QByteArray("IONE\xAA"));
    EXPECT_EQ(bytes.mid(6, 27), QByteArray(27, '\0'));
    EXPECT_EQ(int(bytes[33]), 6);
    EXPECT_EQ(bytes.mid(34, 6), QByteArray("PAROLA"));
    EXPECT_EQ(int(bytes[66]), 2);
    EXPECT_EQ(int(bytes[67]), 5);
    EXPECT_EQ(bytes.mid(68, 5), QByteArray("AB 12"));
    EXPECT_EQ(decodeUserRecord(bytes), user(QString::fromUtf8("IONEŞ"), UserGrade::Cashier, "PAROLA", "AB 12"));

    // Texts longer than a field are cut to its 32 bytes; nothing spills into the next field.
    const QByteArray longName = encodeUserRecord(user(QString(40, 'N'), UserGrade::Admin));
    EXPECT_EQ(int(longName[0]), 32);
    EXPECT_EQ(int(longName[33]), 0);
    EXPECT_EQ(decodeUserRecord(longName).name, QString(32, 'N'));
}

TEST(UsersFileRecord, GradesHaveTheirTexts) {
    EXPECT_EQ(GradeText(UserGrade::Admin), "ADMIN");
    EXPECT_EQ(GradeText(UserGrade::RolOperator), "OPERATOR DE ROL");
    EXPECT_EQ(GradeText(UserGrade::Cashier), "CASIER");
    EXPECT_EQ(GradeText(UserGrade::Unknown), "NECUNOSCUT");
    EXPECT_EQ(GradeNamed("CASIER"), UserGrade::Cashier);
    EXPECT_EQ(GradeNamed("OPERATOR DE ROL"), UserGrade::RolOperator);
    EXPECT_EQ(GradeNamed("SEF"), UserGrade::Unknown);
}

TEST(UsersFileRecord, DamagedBytesAreReadLeniently) {
    QByteArray bytes = encodeUserRecord(user("ION", UserGrade::Cashier));
    bytes[0] = char(200); // a length no field can hold
    bytes[66] = char(9);  // a grade nobody has
    const UserRecord r = decodeUserRecord(bytes);
    EXPECT_EQ(r.name.size(), 32);
    EXPECT_TRUE(r.name.startsWith("ION"));
    EXPECT_EQ(r.grade, UserGrade::Unknown);
    EXPECT_EQ(decodeUserRecord(QByteArray("\x02MA")).name, "MA"); // short record: zeros after
}

TEST(UsersFileIo, WritesReadsAndOverwritesWholeRecords) {
    QTemporaryDir dir;
    UsersFile file = UsersFile::inFolder(dir.path());
    EXPECT_EQ(file.path(), dir.path() + "/s.mpg");
    EXPECT_FALSE(file.exists());
    EXPECT_THROW(file.readAll(), Error);

    file.create(user("ADMIN", UserGrade::Admin, "X"));
    file.append(user("ION"));
    file.append(user("MARIA", UserGrade::Cashier, {}, "L7"));
    EXPECT_EQ(readBytes(file.path()).size(), 300);
    EXPECT_EQ(file.count(), 3);
    EXPECT_EQ(namesOf(file.readAll()), QStringList({"ADMIN", "ION", "MARIA"}));
    EXPECT_EQ(file.indexOfName("MARIA"), 2);
    EXPECT_EQ(file.indexOfName("maria"), -1); // names compare exactly

    file.overwrite(1, user("ION", UserGrade::Cashier, {}, "C1"));
    EXPECT_EQ(file.readAll().at(1), user("ION", UserGrade::Cashier, {}, "C1"));
    EXPECT_THROW(file.overwrite(3, user("NIMENI")), Error);
    EXPECT_EQ(file.count(), 3);
}

TEST(UsersFileIo, ARecordCutOffByAnInterruptedWriteIsIgnoredAndReplaced) {
    QTemporaryDir dir;
    UsersFile file = UsersFile::inFolder(dir.path());
    writeBytes(file.path(), encodeUserRecord(user("ADMIN", UserGrade::Admin)) + QByteArray("\x03IO"));
    EXPECT_EQ(namesOf(file.readAll()), QStringList({"ADMIN"}));
    file.append(user("ION"));
    EXPECT_EQ(readBytes(file.path()).size(), 200);
    EXPECT_EQ(namesOf(file.readAll()), QStringList({"ADMIN", "ION"}));
}

TEST(UsersFileIo, DeletingMovesTheLastRecordIntoThePlace) {
    QTemporaryDir dir;
    UsersFile file = UsersFile::inFolder(dir.path());
    file.create(user("ADMIN", UserGrade::Admin));
    for (const char* name : {"U2", "U3", "U4", "U5"}) file.append(user(name));

    file.removeAt(2);
    EXPECT_EQ(readBytes(file.path()).size(), 400);
    EXPECT_EQ(namesOf(file.readAll()), QStringList({"ADMIN", "U2", "U5", "U4"}));
    file.removeAt(3); // the last one: only shortened
    EXPECT_EQ(namesOf(file.readAll()), QStringList({"ADMIN", "U2", "U5"}));
    EXPECT_THROW(file.removeAt(3), Error);
    EXPECT_EQ(file.count(), 3);
}

TEST(Passwords, AreKeptAsSaltedHashesThatFitTheField) {
    const QString stored = hashPassword("TAINA");
    EXPECT_EQ(stored.size(), 32);
    EXPECT_TRUE(stored.startsWith("$5$"));
    EXPECT_TRUE(isHashedPassword(stored));
    EXPECT_FALSE(stored.contains("TAINA"));
    EXPECT_NE(hashPassword("TAINA"), stored); // a fresh salt every time
    EXPECT_EQ(hashPassword("TAINA", "abc-_9"), hashPassword("TAINA", "abc-_9"));
    EXPECT_NE(hashPassword("TAINA", "abc-_9"), hashPassword("TAINB", "abc-_9"));

    EXPECT_TRUE(passwordMatches(stored, "TAINA"));
    EXPECT_FALSE(passwordMatches(stored, "taina"));
    EXPECT_FALSE(passwordMatches(stored, "TAINA "));
    EXPECT_FALSE(passwordMatches(stored, ""));
    EXPECT_FALSE(passwordMatches(stored, stored)); // the stored text itself opens nothing
}

TEST(Passwords, EmptyStaysEmptyAndClearOnesCompareExactly) {
    EXPECT_EQ(hashPassword(""), "");
    EXPECT_TRUE(passwordMatches("", ""));
    EXPECT_FALSE(passwordMatches("", "X"));
    EXPECT_FALSE(isHashedPassword("VECHE"));
    EXPECT_TRUE(passwordMatches("VECHE", "VECHE"));
    EXPECT_FALSE(passwordMatches("VECHE", "veche"));
    // Only the exact shape counts as a hash.
    QString damaged = hashPassword("X");
    damaged[10] = '*';
    EXPECT_FALSE(isHashedPassword(damaged));
    EXPECT_FALSE(isHashedPassword(hashPassword("X").left(31)));
}
