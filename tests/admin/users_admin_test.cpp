// The users management of the administrator window: the users list working table, the
// checks of the "Utilizatori" dialog, and adding, modifying and deleting accounts in the
// users file with each user's receipt series and number.

#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/counters.h"
#include "shell/login.h"
#include "shell/passwords.h"
#include "admin/users_admin.h"
#include "shell/users_file.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vartesa;
using shelltest::readBytes;

namespace {

class UsersAdminTest : public ::testing::Test {
protected:
    void SetUp() override {
        UsersFile f = file();
        f.create({"ADMIN", hashPassword("123"), UserGrade::Admin, ""});
        f.append({"ION", hashPassword("P1"), UserGrade::RolOperator, "L1"});
        f.append({"ANA", "", UserGrade::Cashier, "L2"});
        CountersFile counters = env_.services().counters();
        counters.WriteCounter("ANA", "SERIA", "VS");
        counters.WriteCounter("ANA", "CHIT", "120");
        env_.services().user = "ADMIN";
        env_.services().grade = UserGrade::Admin;
    }

    UsersFile file() const { return UsersFile::inFolder(env_.folders().data); }
    QStringList fileNames() const {
        QStringList names;
        for (const UserRecord& r : file().readAll()) names << r.name;
        return names;
    }
    QStringList listNames() const {
        QStringList names;
        for (const UserListRow& r : list_.rows()) names << r.name;
        return names;
    }
    QString counter(const QString& section, const QString& key) {
        return env_.services().counters().ReadCounter(section, key);
    }

    test::TestServices env_;
    UsersList list_{env_.services()};
};

} // namespace

TEST_F(UsersAdminTest, TheListHoldsEveryoneButTheLoggedInUserWithTheirReceiptCounters) {
    list_.build();
    EXPECT_EQ(list_.path(), env_.folders().program + "/U0.dbf");
    ASSERT_TRUE(QFileInfo::exists(list_.path()));
    const std::vector<UserListRow> rows = list_.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "ANA"); // ordered by name
    EXPECT_EQ(rows[0].grade, "CASIER");
    EXPECT_EQ(rows[0].card, "L2");
    EXPECT_EQ(rows[0].series, "VS");
    EXPECT_EQ(rows[0].number, "120");
    EXPECT_EQ(rows[1].name, "ION");
    EXPECT_EQ(rows[1].grade, "OPERATOR DE ROL");
    EXPECT_EQ(rows[1].series, "");
    EXPECT_EQ(rows[1].number, "1"); // no counters yet
    EXPECT_TRUE(isHashedPassword(rows[1].password));

    db::Query grid = list_.gridQuery();
    QStringList headers;
    for (int c = 0; c < grid.columnCount(); ++c) headers << grid.columnName(c);
    EXPECT_EQ(headers, QStringList({"Numele", "Rangul", "Legitim.", "Seria", "Nr. chitanta"}));
    EXPECT_EQ(grid.count(), 2);

    // The working table goes when the window closes.
    const QString path = list_.path();
    list_.drop();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(list_.rows().empty());
}

TEST_F(UsersAdminTest, TheDialogChecksNameAndCollapsesSpaces) {
    list_.build();
    UserEntry empty{"   ", UserGrade::Cashier, "", "", "", false};
    EXPECT_EQ(list_.CheckEntry(empty, true), "Lipseste numele!");
    UserEntry taken{" ION ", UserGrade::Cashier, "", "", "", false};
    EXPECT_EQ(list_.CheckEntry(taken, true), "Acest nume mai exista!");
    UserEntry admin{"ADMIN", UserGrade::Cashier, "", "", "", false}; // not in the list, but in the file
    EXPECT_EQ(list_.CheckEntry(admin, true), "Acest nume mai exista!");
    EXPECT_EQ(list_.CheckEntry(taken, false), ""); // modifying keeps its own name
    UserEntry fresh{"  VASILE   POP ", UserGrade::Cashier, " C  7 ", "  A B ", "5", false};
    EXPECT_EQ(list_.CheckEntry(fresh, true), "");
    EXPECT_EQ(fresh.name, "VASILE POP");
    EXPECT_EQ(fresh.card, "C 7");
    EXPECT_EQ(fresh.series, "A B");
}

TEST_F(UsersAdminTest, AddingAppendsAnAccountWithoutPasswordThatCanLogIn) {
    list_.build();
    UserEntry entry{"VASILE", UserGrade::Cashier, "L9", "VZ", "501", false};
    list_.Add(entry);
    EXPECT_EQ(fileNames(), QStringList({"ADMIN", "ION", "ANA", "VASILE"}));
    EXPECT_EQ(file().readAll().back(), (UserRecord{"VASILE", "", UserGrade::Cashier, "L9"}));
    EXPECT_EQ(counter("VASILE", "SERIA"), "VZ");
    EXPECT_EQ(counter("VASILE", "CHIT"), "501");
    EXPECT_EQ(listNames(), QStringList({"ANA", "ION", "VASILE"}));

    // The new user logs in with an empty password.
    UserSession session(env_.services());
    session.Logout();
    QString name = "VASILE";
    EXPECT_EQ(session.Login(name, ""), LoginResult::LoggedIn);
    EXPECT_TRUE(env_.services().IsCashier());
    EXPECT_EQ(env_.services().userCard, "L9");
}

TEST_F(UsersAdminTest, ModifyingChangesGradeCardAndCountersAndMayClearThePassword) {
    list_.build();
    const QString oldPassword = file().readAll().at(1).password;
    list_.Modify({"ION", UserGrade::Cashier, "L1-NOU", "SR", "77", false});
    UserRecord ion = file().readAll().at(1);
    EXPECT_EQ(ion.grade, UserGrade::Cashier);
    EXPECT_EQ(ion.card, "L1-NOU");
    EXPECT_EQ(ion.password, oldPassword);
    EXPECT_EQ(counter("ION", "SERIA"), "SR");
    EXPECT_EQ(counter("ION", "CHIT"), "77");
    const UserListRow row = list_.rows().at(1);
    EXPECT_EQ(row.grade, "CASIER");
    EXPECT_EQ(row.card, "L1-NOU");
    EXPECT_EQ(row.series, "SR");
    EXPECT_EQ(row.number, "77");

    list_.Modify({"ION", UserGrade::RolOperator, "L1-NOU", "SR", "78", true});
    ion = file().readAll().at(1);
    EXPECT_EQ(ion.password, "");
    EXPECT_EQ(ion.grade, UserGrade::RolOperator);
    EXPECT_EQ(fileNames(), QStringList({"ADMIN", "ION", "ANA"}));

    EXPECT_THROW(list_.Modify({"NIMENI", UserGrade::Cashier, "", "", "", false}), Error);
}

TEST_F(UsersAdminTest, ModifyAndDeleteRefuseAnEmptyListAndTheFirstAccount) {
    list_.build();
    EXPECT_EQ(list_.CannotModify("ADMIN"), "Acest utilizator nu poate fi modificat!");
    EXPECT_EQ(list_.CannotDelete("ADMIN"), "Acest utilizator nu poate fi sters!");
    EXPECT_EQ(list_.CannotModify("ION"), "");
    EXPECT_EQ(list_.CannotDelete("ION"), "");

    env_.messages().answerNext("DA");
    env_.messages().answerNext("DA");
    ASSERT_TRUE(list_.Delete("ION"));
    ASSERT_TRUE(list_.Delete("ANA"));
    EXPECT_EQ(list_.CannotModify(""), "Nu aveti ce modifica!");
    EXPECT_EQ(list_.CannotDelete(""), "Nu prea mai aveti ce sterge...");
}

TEST_F(UsersAdminTest, DeletingTheThirdOfFiveLeavesTheFormerFifthThird) {
    file().append({"U4", "", UserGrade::Cashier, ""});
    file().append({"U5", "", UserGrade::RolOperator, "L5"});
    list_.build();

    env_.messages().answerNext("NU");
    EXPECT_FALSE(list_.Delete("ANA"));
    EXPECT_EQ(file().count(), 5);
    EXPECT_EQ(listNames(), QStringList({"ANA", "ION", "U4", "U5"}));

    env_.messages().answerNext("DA");
    EXPECT_TRUE(list_.Delete("ANA"));
    const test::ShownMessage& asked = env_.messages().shown().back();
    EXPECT_EQ(asked.title, "Stergere utilizator");
    EXPECT_EQ(asked.text, "Chiar il stergem pe ANA?");
    EXPECT_EQ(asked.kind, MessageKind::Warning);
    EXPECT_EQ(asked.buttons, MessageButton::Da | MessageButton::Nu);

    EXPECT_EQ(readBytes(file().path()).size(), 400);
    EXPECT_EQ(fileNames(), QStringList({"ADMIN", "ION", "U5", "U4"}));
    EXPECT_EQ(file().readAll().at(2), (UserRecord{"U5", "", UserGrade::RolOperator, "L5"}));
    EXPECT_EQ(listNames(), QStringList({"ION", "U4", "U5"}));
}
