// The lists of persons: the roles of one person type, by name, in the "ListaPers" workbook.

#include "db/database.h"
#include "shell/catalog.h"
#include "documents/person_lists.h"
#include "shell/table_helpers.h"
#include "support/scripted_services.h"
#include "workbook/workbook.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vartesa;

TEST(PersonLists, EachTypeListsItsRolesByNameUnderItsTitle) {
    test::TestServices env;
    db::Database& db = env.services().database();
    const QString roles = env.folders().data + "/Gospodar.dbf";
    CreateTable(db, roles, CatalogTable("Gospodar.dbf"));
    const QVariantList rows[] = {{1, "VASILE ION", "1700101123456", "FIZICA", "SAT NOU", "12"},
                                 {2, "SC \"ALFA\" SRL", "RO123", "JURIDICA", "SAT NOU", "7"},
                                 {3, "ALBU ANA", "2800101123456", "FIZICA", "BRADU", "3"}};
    for (const QVariantList& r : rows)
        db.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, NUMEP, CNP, TIP, SATUL, ROL) VALUES (?, ?, ?, ?, ?, ?)").arg(roles), r);

    const struct {
        PersonType type;
        const char* title;
        QStringList names;
    } cases[] = {{PersonType::Physical, "Lista persoane fizice", {"ALBU ANA", "VASILE ION"}},
                 {PersonType::Legal, "Lista persoane juridice", {"SC \"ALFA\" SRL"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const QString file = ListPersons(env.services(), c.type);
        ASSERT_FALSE(file.isEmpty());
        EXPECT_EQ(env.desktop().opened().last(), file);
        const workbook::Workbook book = workbook::Workbook::open(file);
        const workbook::Sheet& sheet = book.sheet(0);
        EXPECT_EQ(sheet.text(0, 0), c.title);
        QStringList names;
        for (int row = 4; !sheet.text(row, 1).isEmpty(); ++row) names << sheet.text(row, 1);
        EXPECT_EQ(names, c.names);
    }
    EXPECT_TRUE(QDir(env.folders().program).entryList({"LisPers*"}).isEmpty()) << "working copy of the template left";
}
