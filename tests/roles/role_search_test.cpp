// The register screen's search as a model: village and number filter, the name positions.

#include "role_test_util.h"

#include "roles/role_search.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::RoleFolder;

namespace {

class RoleSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.add("CORBU", "1", "ZAHARIA ION");
        f.add("ALUNI", "2", "POPA ANA");
        f.add(QString::fromUtf8("ALUNIŞ"), "3", QString::fromUtf8("ŞTEFAN ŢICU"));
        f.add("ALUNI", "4", "BARBU MIHAI");
        f.add("ALUNI", "5", "POPESCU DAN");
        f.add("ALUNI", "4", "ALBU RADU"); // number 4 twice, after the warning
        search.open();
    }
    QStringList names() const {
        QStringList out;
        for (int r = 0; r < search.count(); ++r) out << search.role(r).name;
        return out;
    }
    QString currentName() const { return search.currentRole() ? search.currentRole()->name : QString(); }

    RoleFolder f;
    RoleSearch search{f.roles};
};

TEST_F(RoleSearchTest, OpensOnEveryRoleInVillageNameOrder) {
    EXPECT_EQ(search.count(), 6);
    EXPECT_EQ(names().first(), "ALBU RADU");
    EXPECT_EQ(names().last(), "ZAHARIA ION");
}

TEST_F(RoleSearchTest, VillageFiltersAndClearsTheOtherFields) {
    search.nameChanged("POPA");
    search.villageChanged("ALUNI");
    EXPECT_EQ(names(), QStringList({"ALBU RADU", "BARBU MIHAI", "POPA ANA", "POPESCU DAN"}));
    EXPECT_EQ(search.name(), "");
    EXPECT_EQ(search.number(), "4") << "the number field shows the current role's number";
}

TEST_F(RoleSearchTest, NumberTypingFilters) {
    search.villageChanged("ALUNI");
    search.numberChanged("4");
    EXPECT_EQ(names(), QStringList({"ALBU RADU", "BARBU MIHAI"}));
    search.numberChanged("47");
    EXPECT_EQ(search.count(), 0);
    EXPECT_EQ(search.number(), "47") << "a number not in the register stays as typed";
}

TEST_F(RoleSearchTest, NameTypingPositionsWithoutFiltering) {
    search.villageChanged("ALUNI");
    search.nameChanged("pope");
    EXPECT_EQ(search.count(), 4);
    EXPECT_EQ(currentName(), "POPESCU DAN");
    EXPECT_EQ(search.number(), "5");
    search.nameChanged("XYZ");
    EXPECT_EQ(currentName(), "POPESCU DAN") << "no match: stays put";
}

TEST_F(RoleSearchTest, CommaAndCedillaLettersMeet) {
    search.nameChanged(QString::fromUtf8("ștefan ț"));
    EXPECT_EQ(currentName(), QString::fromUtf8("ŞTEFAN ŢICU"));
    search.villageChanged(QString::fromUtf8("Aluniș"));
    EXPECT_EQ(names(), QStringList({QString::fromUtf8("ŞTEFAN ŢICU")}));
}

TEST_F(RoleSearchTest, MovingInTheListSetsTheSearchFields) {
    search.villageChanged("ALUNI");
    search.moveTo(2);
    EXPECT_EQ(QStringList({search.village(), search.name(), search.number()}),
              QStringList({"ALUNI", "POPA ANA", "2"}));
    EXPECT_EQ(search.neighbourOfCurrent(), search.role(1).id);
}

TEST(RoleNames, QuotesAndPatternLettersAreStoredFoundAndEdited) {
    struct Case {
        const char* name;
        const char* typed;
        const char* decoy; // sorts first and would match a pattern search
    };
    const Case cases[] = {
        {"SC \"ALFA\" SRL", "SC \"AL", "SC ALFA SRL"},
        {"O'NEIL", "O'N", "O NEIL"},
        {"100% BIO", "100%", "100 BIO"},
        {"A_B", "A_", "AXB"},
    };
    for (const Case& c : cases) {
        RoleFolder f;
        f.add("ALUNI", "1", QString::fromLatin1(c.decoy));
        const qint64 id = f.add("ALUNI", "2", QString::fromLatin1(c.name));
        RoleSearch search(f.roles);
        search.open();
        search.nameChanged(QString::fromLatin1(c.typed));
        ASSERT_TRUE(search.currentRole()) << c.name;
        EXPECT_EQ(search.currentRole()->id, id) << c.name;
        Role r = *search.currentRole();
        r.name += QStringLiteral(" 2");
        r.address = QString::fromLatin1(c.name);
        f.roles.editRole(r);
        EXPECT_EQ(f.roles.role(id)->name, QString::fromLatin1(c.name) + " 2");
        EXPECT_EQ(f.roles.addresses(), QStringList{QString::fromLatin1(c.name)});
    }
}

TEST(ReentryGuardTest, ARequestDuringARunRunsOnceMoreAfterIt) {
    ReentryGuard guard;
    int runs = 0;
    std::function<void()> action = [&] {
        ++runs;
        if (runs == 1) {
            guard.run(action); // a change arriving meanwhile
            guard.run(action);
        }
    };
    guard.run(action);
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(guard.busy());
}

} // namespace
