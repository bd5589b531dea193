// The administrator's direct view of the debt lines and balances: the role filter, editing
// in place and the lists of roles holding a line twice.

#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/catalog.h"
#include "datafolder/verification.h"
#include "support/scripted_services.h"

#include "support/shell_test_util.h"

#include <QSet>

#include <gtest/gtest.h>

namespace vartesa {
namespace {

class VerificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Datorii.dbf", "SoldCalc.dbf"})
            CreateTable(db(), table(name), CatalogTable(name));
        // Role 5 has two "Vapoare" lines, role 8 three, role 6 one, role 7 none.
        int id = 0;
        const auto debt = [&](const QString& rol, const QString& denum) {
            db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, ROL, DENUM, SUMA) VALUES (?,?,?,?)").arg(table("Datorii.dbf")),
                      {++id, rol, denum, 100 + id});
        };
        for (const auto& [rol, denum] : std::vector<std::pair<QString, QString>>{
                 {"5", "Vapoare"}, {"5", "Vapoare"}, {"6", "Vapoare"}, {"7", "Autoturisme"}, {"12", "Vapoare"},
                 {"12", "Teren"}, {"8", "Vapoare"}, {"8", "Vapoare"}, {"8", "Vapoare"}, {"120", "Teren"}})
            debt(rol, denum);
        const auto balance = [&](const QString& rol, const QString& grupa) {
            db().exec(QStringLiteral("INSERT INTO \"%1\" (IDRES, ROL, GRUPA) VALUES (?,?,?)").arg(table("SoldCalc.dbf")),
                      {++id, rol, grupa});
        };
        balance("12", "Impozit pe cladiri");
        balance("12", "Impozit pe cladiri");
        balance("3", "Impozit pe cladiri");
        balance("3", "Impozit pe teren intravilan");
    }

    db::Database& db() { return env_.services().database(); }
    QString table(const QString& name) const { return env_.folders().data + '/' + name; }

    // Column `field` of every row the model shows.
    static QStringList column(const TableEditModel& model, const QString& field) {
        int c = 0;
        while (c < model.columnCount() && model.headerData(c, Qt::Horizontal).toString() != field) ++c;
        QStringList values;
        for (int r = 0; r < model.rowCount(); ++r) values << model.data(model.index(r, c)).toString().trimmed();
        return values;
    }
    static int columnOf(const TableEditModel& model, const QString& field) {
        for (int c = 0; c < model.columnCount(); ++c)
            if (model.headerData(c, Qt::Horizontal).toString() == field) return c;
        return -1;
    }

    test::TestServices env_;
};

TEST_F(VerificationTest, RoleFilterShowsOnlyThatRoleInBothTables) {
    TableEditModel model(db());
    model.open(table("Datorii.dbf"));
    EXPECT_EQ(model.rowCount(), 10);
    model.setFilter(RoleFilter("12"));
    EXPECT_EQ(column(model, "ROL"), QStringList({"12", "12"})) << "role 120 must not match 12";

    // The filter stays when the other table opens.
    model.open(table("SoldCalc.dbf"));
    EXPECT_EQ(column(model, "ROL"), QStringList({"12", "12"}));
    model.setFilter(RoleFilter(""));
    EXPECT_EQ(model.rowCount(), 4);

    // A quote typed into the box is a character of the role, not of the statement.
    EXPECT_EQ(RoleFilter("O'1"), "(ROL='O''1')");
    model.setFilter(RoleFilter("O'1"));
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(VerificationTest, GridEditsAreWrittenWhenTheRowIsLeftAndDeletesAtOnce) {
    TableEditModel model(db());
    model.setFilter(RoleFilter("8"));
    model.open(table("Datorii.dbf"));
    ASSERT_EQ(model.rowCount(), 3);
    const int suma = columnOf(model, "SUMA");
    const int denum = columnOf(model, "DENUM");
    ASSERT_TRUE(model.setData(model.index(1, suma), 4321));
    ASSERT_TRUE(model.setData(model.index(1, denum), QStringLiteral("Barca")));
    EXPECT_EQ(model.data(model.index(1, suma)).toString(), "4321") << "the grid shows what was typed";
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE SUMA=4321").arg(table("Datorii.dbf"))).toInt(), 0)
        << "nothing is written while the row is being edited";

    // Moving to another row writes the first one.
    ASSERT_TRUE(model.setData(model.index(0, suma), 7));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT DENUM FROM \"%1\" WHERE SUMA=4321").arg(table("Datorii.dbf"))).toString().trimmed(),
              "Barca");
    EXPECT_EQ(model.rowCount(), 3) << "the filter is still in force after the write";
    model.release(); // closing posts the pending change
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE SUMA=7").arg(table("Datorii.dbf"))).toInt(), 1);

    model.open(table("Datorii.dbf"));
    model.deleteRow(0);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE ROL='8'").arg(table("Datorii.dbf"))).toInt(), 2);

    // A value the field cannot hold is refused on release and dropped without a word.
    ASSERT_TRUE(model.setData(model.index(0, suma), 123456789)); // SUMA holds 6 digits
    EXPECT_THROW(model.commitRow(), Error);
    EXPECT_NO_THROW(model.release());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE SUMA>999999").arg(table("Datorii.dbf"))).toInt(), 0);
}

TEST_F(VerificationTest, DuplicatesListOnlyRolesHoldingTheLineMoreThanOnce) {
    db::Query debts = DuplicatesQuery(db(), env_.folders().data, Duplicates::Datorii);
    QStringList listed;
    for (debts.first(); !debts.eof(); debts.next()) listed << debts.text("ROL").trimmed() + '=' + debts.text("NR");
    EXPECT_EQ(listed, QStringList({"5=2", "8=3"})) << "role 6 has one Vapoare line, role 7 none";
    EXPECT_EQ(debts.filter(), "NR<>1");

    db::Query balances = DuplicatesQuery(db(), env_.folders().data, Duplicates::SoldCalc);
    ASSERT_EQ(balances.count(), 1);
    EXPECT_EQ(balances.text("ROL").trimmed(), "12");
    EXPECT_EQ(balances.integer("NR"), 2);
}

} // namespace
} // namespace vartesa
