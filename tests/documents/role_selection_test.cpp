// The choice of roles of "Listare": the range check, the conditions every list applies and
// the villages offered.

#include "registers_test_util.h"

#include "db/query.h"
#include "documents/role_selection.h"
#include "roles/village_list.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

TEST(RoleSelection, ARangeRunningBackwardsIsRefused) {
    const struct {
        qint64 from, to;
        bool refused;
    } cases[] = {{20, 5, true}, {0, 0, false}, {5, 20, false}, {7, 7, false}};
    for (const auto& c : cases)
        EXPECT_EQ(CheckRoleRange(c.from, c.to), c.refused ? std::optional<QString>("Interval incorect!") : std::nullopt)
            << c.from << "-" << c.to;
}

TEST(RoleSelection, KeepsTheNumbersOfTheRangeTheVillageAndThePersonType) {
    RoleListFolder f;
    for (const char* number : {"4", "5", "10", "20", "12A", "21"}) f.role("ALUNI", number, "A");
    f.role("CORBU", "6", "B");
    f.role("CORBU", "7", "SC B SRL", "JURIDICA");
    const auto sel = [](const char* village, qint64 from, qint64 to, PersonChoice person) {
        RoleSelection s;
        s.village = village;
        s.fromRole = from;
        s.toRole = to;
        s.person = person;
        return s;
    };
    const struct {
        RoleSelection selection;
        QStringList kept;
    } cases[] = {
        {sel("ALUNI", 5, 20, PersonChoice::Any), {"5", "10", "20", "12A"}}, // as numbers: 5-20 keeps 10 and 20
        {sel(" * toate *", 0, 0, PersonChoice::Any), {"4", "5", "10", "20", "12A", "21", "6", "7"}},
        {sel("", 6, 7, PersonChoice::Any), {"12A", "6", "7"}},
        {sel("CORBU", 0, 0, PersonChoice::Natural), {"6"}},
        {sel("", 0, 0, PersonChoice::Legal), {"7"}},
    };
    for (const auto& c : cases) {
        const SelectionConditions where = RoleSelectionConditions(c.selection, {"SATUL", "ROL", "TIP"});
        db::Query q = f.db().query(QStringLiteral("SELECT TRIM(ROL) AS ROL FROM \"%1\"%2 ORDER BY IDGOS")
                                       .arg(f.path(tables::Roles), where.sql.isEmpty() ? "" : " WHERE " + where.sql),
                                   where.values);
        QStringList kept;
        for (q.first(); !q.eof(); q.next()) kept << q.text("ROL");
        EXPECT_EQ(kept, c.kept) << where.sql.toStdString();
    }
}

TEST(RoleSelection, TheVillagesAreWrittenToSateLstOnFirstUseThenRead) {
    RoleListFolder f;
    f.role("CORBU", "1", "A");
    f.role("ALUNI", "2", "B");
    const QString list = f.path("Sate.lst");
    ASSERT_FALSE(QFileInfo::exists(list));
    EXPECT_EQ(RoleSelectionVillages(f.db(), f.env.folders().data), QStringList({" * toate *", "ALUNI", "CORBU"}));
    EXPECT_EQ(ReadVillageList(list), QStringList({"ALUNI", "CORBU"})) << "written on first use";
    WriteVillageList(list, {"BRADU"});
    EXPECT_EQ(RoleSelectionVillages(f.db(), f.env.folders().data), QStringList({" * toate *", "BRADU"}));
}

} // namespace
