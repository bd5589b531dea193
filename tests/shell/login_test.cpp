// Logging in against the users file: the first start, the matching rules, passwords kept
// hashed (and old clear ones taken over), the rights of each grade, logout and the
// clerk's own account.

#include "db/database.h"
#include "db/query.h"
#include "shell/counters.h"
#include "shell/login.h"
#include "shell/passwords.h"
#include "shell/users_file.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vartesa;
using shelltest::readBytes;

namespace {

class LoginTest : public ::testing::Test {
protected:
    UsersFile file() const { return UsersFile::inFolder(env_.folders().data); }

    // Users file of `records` written as an older release did: passwords in clear.
    void writeUsers(const std::vector<UserRecord>& records) {
        UsersFile f = file();
        f.create(records.front());
        for (size_t i = 1; i < records.size(); ++i) f.append(records[i]);
    }

    LoginResult login(QString name, const QString& password) { return session_.Login(name, password); }

    QStringList loggedActions() {
        db::Query q = env_.services().database().query(
            QStringLiteral("SELECT UTILIZATOR, ACTIUNE FROM \"%1/Log.dbf\"").arg(env_.folders().data));
        QStringList rows;
        for (q.first(); !q.eof(); q.next()) rows << q.text("UTILIZATOR") + ": " + q.text("ACTIUNE");
        return rows;
    }

    test::TestServices env_;
    UserSession session_{env_.services()};
};

} // namespace

TEST_F(LoginTest, FirstStartCreatesTheUsersFileAndTellsItsPassword) {
    ASSERT_FALSE(file().exists());
    QString name = "ADMIN";
    EXPECT_EQ(session_.Login(name, "ORICE"), LoginResult::LoggedIn);

    ASSERT_EQ(env_.messages().shown().size(), 1u);
    const test::ShownMessage& m = env_.messages().shown().front();
    EXPECT_EQ(m.title, "PRIMA PORNIRE");
    EXPECT_EQ(m.text, "Numele este ADMIN si parola este 123.\rPuteti modifica parola de la Utilitare > Contul meu");
    EXPECT_EQ(m.kind, MessageKind::Information);

    const QByteArray bytes = readBytes(file().path());
    ASSERT_EQ(bytes.size(), 100);
    const UserRecord first = decodeUserRecord(bytes);
    EXPECT_EQ(first.name, "ADMIN");
    EXPECT_EQ(first.grade, UserGrade::Admin);
    EXPECT_EQ(first.card, "");
    EXPECT_TRUE(passwordMatches(first.password, DefaultPassword()));
    EXPECT_FALSE(bytes.contains(DefaultPassword().toLatin1()));

    EXPECT_TRUE(env_.services().IsAdministrator());
    EXPECT_EQ(env_.services().user, "ADMIN");
    EXPECT_EQ(loggedActions(), QStringList({"ADMIN: Pornire program."}));

    // From then on the password counts, and the message is not shown again.
    session_.Logout();
    env_.messages().clearShown();
    EXPECT_EQ(login("ADMIN", "ORICE"), LoginResult::Refused);
    EXPECT_EQ(login("ADMIN", "123"), LoginResult::LoggedIn);
    EXPECT_TRUE(env_.messages().shown().empty());
}

TEST_F(LoginTest, TheLastMatchingRecordGivesGradeAndCard) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""},
                {"ION", "P1", UserGrade::RolOperator, "L-VECHE"},
                {"MARIA", "P1", UserGrade::Admin, ""},
                {"ION", "P1", UserGrade::Cashier, "L-NOUA"},
                {"ION", "ALTA", UserGrade::Admin, "L-ALTA"}});
    EXPECT_EQ(login("ION", "P1"), LoginResult::LoggedIn);
    EXPECT_EQ(env_.services().grade, UserGrade::Cashier);
    EXPECT_TRUE(env_.services().IsCashier());
    EXPECT_FALSE(env_.services().IsAdministrator());
    EXPECT_EQ(env_.services().userCard, "L-NOUA");
    EXPECT_EQ(env_.services().userPassword, "P1");
}

TEST_F(LoginTest, NamesAndPasswordsCompareExactlyAfterSpacesAreCollapsed) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""}, {"ION POP", "P1", UserGrade::RolOperator, ""}});
    QString name = "  ION   POP ";
    EXPECT_EQ(session_.Login(name, "P1"), LoginResult::LoggedIn);
    EXPECT_EQ(name, "ION POP"); // given back to the field
    session_.Logout();

    for (const auto& [n, p] : std::vector<std::pair<QString, QString>>{
             {"ion pop", "P1"}, {"ION POP", "p1"}, {"ION POP", "P1 "}, {"ION", "P1"}, {"ION POP", ""}}) {
        EXPECT_EQ(login(n, p), LoginResult::Refused) << n.toStdString() << "/" << p.toStdString();
        EXPECT_EQ(env_.services().grade, UserGrade::Unknown);
    }
    // A wrong login says nothing and logs nothing.
    EXPECT_TRUE(env_.messages().shown().empty());
    EXPECT_EQ(loggedActions(), QStringList({"ION POP: Pornire program."}));
}

TEST_F(LoginTest, AnOldClearPasswordLogsInAndIsRewrittenHashed) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""}, {"ION", "VECHEA", UserGrade::Cashier, "C9"}});
    ASSERT_TRUE(readBytes(file().path()).contains("VECHEA"));

    EXPECT_EQ(login("ION", "VECHEA"), LoginResult::LoggedIn);
    EXPECT_EQ(env_.services().grade, UserGrade::Cashier);
    const QByteArray bytes = readBytes(file().path());
    EXPECT_EQ(bytes.size(), 200);
    EXPECT_FALSE(bytes.contains("VECHEA"));
    const UserRecord ion = file().readAll().at(1);
    EXPECT_TRUE(isHashedPassword(ion.password));
    EXPECT_EQ(ion.card, "C9");
    EXPECT_EQ(ion.grade, UserGrade::Cashier);
    // The other account was not touched.
    EXPECT_EQ(file().readAll().at(0).password, "123");

    session_.Logout();
    EXPECT_EQ(login("ION", "VECHEA"), LoginResult::LoggedIn);
    EXPECT_EQ(login("ION", "VECHEB"), LoginResult::Refused);
}

TEST_F(LoginTest, AnAccountWithoutPasswordLogsInWithAnEmptyPassword) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""}, {"NOU", "", UserGrade::RolOperator, ""}});
    EXPECT_EQ(login("NOU", "X"), LoginResult::Refused);
    EXPECT_EQ(login("NOU", ""), LoginResult::LoggedIn);
    EXPECT_EQ(env_.services().grade, UserGrade::RolOperator);
    EXPECT_EQ(file().readAll().at(1).password, ""); // nothing to hash
}

TEST_F(LoginTest, LogoutForgetsTheGradeButTheProgramKnowsWhoWasThere) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, "A1"}});
    ASSERT_EQ(login("ADMIN", "123"), LoginResult::LoggedIn);
    session_.Logout();
    EXPECT_EQ(env_.services().grade, UserGrade::Unknown);
    EXPECT_FALSE(env_.services().IsAdministrator());
    EXPECT_EQ(env_.services().userPassword, "");
    EXPECT_EQ(env_.services().userCard, "");
}

TEST_F(LoginTest, ANewYearOfferIsAskedOnlyOfAnAdministratorOnAnEmptyDatabase) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""}, {"ION", "", UserGrade::RolOperator, ""}});
    int offers = 0;
    session_.setNewYearOffer([&] {
        ++offers;
        return true;
    });
    EXPECT_EQ(login("ADMIN", "123"), LoginResult::LoggedIn); // roles present
    session_.setRolesTableEmpty(true);
    EXPECT_EQ(login("ION", ""), LoginResult::LoggedIn);
    EXPECT_EQ(offers, 0);
    session_.Logout();
    EXPECT_EQ(login("ADMIN", "123"), LoginResult::EndProgram);
    EXPECT_EQ(offers, 1);
    EXPECT_EQ(env_.services().grade, UserGrade::Unknown); // nobody logged in
}

TEST(Rights, EachGradeSeesItsEntries) {
    struct Row {
        UserGrade grade;
        bool administrare, roleRegister, backup, verification, registerImport;
    };
    for (const Row& r : {Row{UserGrade::Admin, true, true, true, true, true},
                         Row{UserGrade::RolOperator, true, true, true, false, false},
                         Row{UserGrade::Cashier, false, false, false, false, false},
                         Row{UserGrade::Unknown, false, false, false, false, false}}) {
        const Rights got = RightsOf(r.grade);
        SCOPED_TRACE(GradeText(r.grade).toStdString());
        EXPECT_EQ(got.administrare, r.administrare);
        EXPECT_EQ(got.roleRegister, r.roleRegister);
        EXPECT_EQ(got.backupRestore, r.backup);
        EXPECT_EQ(got.verification, r.verification);
        EXPECT_EQ(got.registerImport, r.registerImport);
    }
}

TEST(YearLock, IsTheAdminLockKeyOfTheWorkingYear) {
    test::TestServices env;
    CountersFile counters = env.services().counters();
    EXPECT_FALSE(YearLocked(counters));
    counters.WriteCounter("SERVER", "ADMINBLOCAT2014", "DA");
    EXPECT_FALSE(YearLocked(counters));
    counters.WriteCounter("Server", "ADMINBLOCAT2015", "da");
    EXPECT_TRUE(YearLocked(counters));
    counters.WriteCounter("SERVER", "ADMINBLOCAT2015", "NU");
    EXPECT_FALSE(YearLocked(counters));
}

TEST_F(LoginTest, FormatPdfComesFromTheUsersCountersSection) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""}, {"ION", "", UserGrade::Cashier, ""}});
    env_.services().counters().WriteCounter("ION", "FORMATPDF", "DA");
    ASSERT_EQ(login("ADMIN", "123"), LoginResult::LoggedIn);
    EXPECT_FALSE(session_.formatPdf());
    ASSERT_EQ(login("ION", ""), LoginResult::LoggedIn);
    EXPECT_TRUE(session_.formatPdf());
}

TEST_F(LoginTest, MyAccountRewritesTheRecordHashedAndTheNewPasswordWorks) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""},
                {"ION", "", UserGrade::RolOperator, ""},
                {"MARIA", "", UserGrade::Cashier, ""}});
    ASSERT_EQ(login("ION", ""), LoginResult::LoggedIn);

    EXPECT_TRUE(session_.ChangeAccount("TAINA77", "L-42"));
    EXPECT_EQ(env_.messages().titles(), QStringList({"Schimbare cont"}));
    EXPECT_EQ(env_.messages().shown().back().text, "Modificarile au fost memorate cu succes!");
    EXPECT_EQ(env_.messages().shown().back().kind, MessageKind::Information);

    const QByteArray bytes = readBytes(file().path());
    EXPECT_EQ(bytes.size(), 300);
    EXPECT_FALSE(bytes.contains("TAINA77"));
    const UserRecord ion = file().readAll().at(1);
    EXPECT_EQ(ion.name, "ION");
    EXPECT_EQ(ion.grade, UserGrade::RolOperator);
    EXPECT_EQ(ion.card, "L-42");
    EXPECT_EQ(env_.services().userCard, "L-42");

    // A second change in the same run finds the record by the new password.
    EXPECT_TRUE(session_.ChangeAccount("TAINA88", "L-42"));
    session_.Logout();
    EXPECT_EQ(login("ION", ""), LoginResult::Refused);
    EXPECT_EQ(login("ION", "TAINA77"), LoginResult::Refused);
    EXPECT_EQ(login("ION", "TAINA88"), LoginResult::LoggedIn);
    EXPECT_EQ(file().readAll().at(2).name, "MARIA");
}

TEST_F(LoginTest, MyAccountSaysSoWhenTheRecordIsGone) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""}, {"ION", "", UserGrade::RolOperator, ""}});
    ASSERT_EQ(login("ION", ""), LoginResult::LoggedIn);
    UsersFile(file()).removeAt(1); // deleted meanwhile on another workstation
    const QByteArray before = readBytes(file().path());

    EXPECT_FALSE(session_.ChangeAccount("X", ""));
    ASSERT_EQ(env_.messages().shown().size(), 1u);
    EXPECT_EQ(env_.messages().shown().front().title, "Schimbare cont");
    EXPECT_EQ(env_.messages().shown().front().text, "Modificarile nu pot fi memorate!");
    EXPECT_EQ(env_.messages().shown().front().kind, MessageKind::Error);
    EXPECT_EQ(readBytes(file().path()), before);
}

// The users file holds ş and ţ with a cedilla; a Romanian keyboard types them with a comma.
TEST_F(LoginTest, NameTypedWithCommaLettersLogsIn) {
    writeUsers({{"ADMIN", "123", UserGrade::Admin, ""}, {QStringLiteral("ŞTEFĂNIŢĂ"), "P1", UserGrade::Cashier, ""}});
    EXPECT_EQ(login(QStringLiteral("ȘTEFĂNIȚĂ"), "P1"), LoginResult::LoggedIn);
    EXPECT_EQ(file().indexOfName(QStringLiteral("ȘTEFĂNIȚĂ")), 1);
}
