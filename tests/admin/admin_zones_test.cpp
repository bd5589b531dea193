// The zones of the localities (DefZone.dbf): the checks of the zone dialog and the rows
// its buttons write.

#include "db/database.h"
#include "db/query.h"
#include "admin/admin_zones.h"
#include "shell/counters.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::TestServices;

namespace {

class ZoneTableTest : public ::testing::Test {
protected:
    TestServices env;
    CountersFile counters = env.services().counters();
    ZoneTable zones{env.services().database(), env.folders().data};
};

TEST_F(ZoneTableTest, LocalityIsStoredCollapsedAndADuplicateIsRefused) {
    const QString typed = QStringLiteral("  Valea   lui  Ion ");
    const QString cleaned = ZoneTable::cleanLocality(typed);
    EXPECT_EQ(cleaned, "VALEA LUI ION");
    ASSERT_FALSE(zones.check(cleaned).has_value());
    const qint64 id = zones.add(cleaned, "B", "III");

    std::vector<ZoneRow> rows = zones.all();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].locality, "VALEA LUI ION");
    EXPECT_EQ(rows[0].zone, "B");
    EXPECT_EQ(rows[0].rank, "III");
    EXPECT_EQ(rows[0].id, id);

    // Typed again, in other spacing and case: refused.
    EXPECT_EQ(zones.check(ZoneTable::cleanLocality("valea lui   ion")).value_or(""), "Localitatea specificat exista deja!");
    // Changing that same row without renaming it is accepted.
    EXPECT_FALSE(zones.check(cleaned, id).has_value());
    zones.modify(id, cleaned, "C", "V");
    rows = zones.all();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].zone, "C");
    EXPECT_EQ(rows[0].rank, "V");
}

TEST_F(ZoneTableTest, EmptyLocalityAndRenamingOntoAnotherAreRefused) {
    EXPECT_EQ(zones.check(ZoneTable::cleanLocality("    ")).value_or(""), "Nu ati specificat localitatea!");
    zones.add("BRADU", "A", "IV");
    const qint64 second = zones.add("ALUNU", "D", "0");
    EXPECT_EQ(zones.check("BRADU", second).value_or(""), "Localitatea specificat exista deja!");
}

TEST_F(ZoneTableTest, RowsComeInLocalityOrderWithIdentifiersFromTheCounters) {
    const qint64 first = zones.add("ZAVOI", "A", "IV");
    const qint64 second = zones.add("ALUNU", "B", "II");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(counters.ReadCounter("SERVER", "DEFZONE"), "3");
    std::vector<ZoneRow> rows = zones.all();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].locality, "ALUNU");
    EXPECT_EQ(rows[1].locality, "ZAVOI");

    zones.remove(second);
    rows = zones.all();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].locality, "ZAVOI");
}

TEST_F(ZoneTableTest, LocalityIsCutTo32Characters) {
    EXPECT_EQ(ZoneTable::cleanLocality(QString(40, 'x')), QString(32, 'X'));
    EXPECT_EQ(ZoneTable::cleanLocality(QStringLiteral("sătuc  nou")), QStringLiteral("SĂTUC NOU"));
}

} // namespace

TEST_F(ZoneTableTest, LocalityTypedWithTheOtherFormOfSAndTIsADuplicate) {
    zones.add(ZoneTable::cleanLocality(QStringLiteral("Şanţuri")), "A", "IV");
    EXPECT_EQ(zones.check(ZoneTable::cleanLocality(QStringLiteral("Șanțuri"))).value_or(""),
              "Localitatea specificat exista deja!");
}
