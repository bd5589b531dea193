// The debts ledger's manual lines and the two village-wide operations.

#include "role_test_util.h"

#include "db/error.h"
#include "roles/ledger.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::RoleFolder;

namespace {

using test::FailingProgress;

class LedgerTest : public ::testing::Test {
protected:
    LedgerTest() : ledger(f.db(), f.env.folders().data) {}

    ManualClaim claim(const char* name, qint64 current, qint64 arrears = 0) {
        ManualClaim c;
        c.from = QDate(2015, 3, 17);
        c.claim = QString::fromLatin1(name);
        c.explanation = QStringLiteral("PV 12");
        c.docNumber = 12;
        c.amounts = {current, arrears, 0};
        return c;
    }
    qint64 addLine(qint64 role, const ManualClaim& c) {
        CountersFile counters = f.counters();
        return ledger.addManualLine(*f.roles.role(role), c, counters);
    }
    // A payment of `paid` on the current amount, with the undo copy it leaves behind.
    void pay(qint64 line, qint64 paid) {
        const LedgerLine l = ledger.line(line);
        f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDANUL, IDGOS, IDDAT, SUMA, REST, REDUC, SUMA2, RESTINI) "
                                   "VALUES (7, ?, ?, ?, ?, ?, ?, ?)")
                        .arg(f.path("UndelDat.dbf")),
                    {l.roleId, l.id, l.current, l.arrears, l.reduction, l.established, l.arrearsEstablished});
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET SUMA = SUMA - ? WHERE IDDAT = ?").arg(f.path("Datorii.dbf")),
                    {paid, line});
    }
    qint64 lineCount() { return f.db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(f.path("Datorii.dbf"))).toLongLong(); }

    RoleFolder f;
    DebtsLedger ledger;
};

TEST_F(LedgerTest, AddedLineIsManualWithItsAmountsEstablished) {
    const qint64 role = f.add("ALUNI", "5", "ION");
    const qint64 id = addLine(role, claim("Amenzi", 0, 250));
    const LedgerLine l = ledger.line(id);
    EXPECT_EQ(l.type, "M");
    EXPECT_EQ(l.group, "Amenzi");
    EXPECT_EQ(l.name, "Amenzi");
    EXPECT_EQ(l.village + '/' + l.number, "ALUNI/5");
    EXPECT_EQ(l.from, QDate(2015, 3, 17));
    EXPECT_EQ(l.arrearsEstablished, 250);
    EXPECT_EQ(l.unit + l.quantity.toString(4), "buc1.0000");
    EXPECT_FALSE(l.hasReceipt());
}

TEST_F(LedgerTest, ReceiptRulesOfChangeAndDelete) {
    struct Case {
        qint64 paid;
        const char* newClaim;
        qint64 newCurrent;
        LedgerChange change;
        qint64 suma, suma2; // after the change
        LedgerChange deletion;
    };
    const Case cases[] = {
        {0, "Impozit spectacole", 150, LedgerChange::Done, 150, 150, LedgerChange::Done},
        {40, "Amenzi", 150, LedgerChange::Done, 150, 190, LedgerChange::HasReceipt},
        {40, "Impozit spectacole", 150, LedgerChange::ClaimLocked, 60, 100, LedgerChange::HasReceipt},
        {40, "", 80, LedgerChange::Done, 80, 120, LedgerChange::HasReceipt}, // no claim chosen keeps the line's
    };
    for (const Case& c : cases) {
        const qint64 role = f.add("ALUNI", "5", "ION");
        const qint64 id = addLine(role, claim("Amenzi", 100));
        if (c.paid) pay(id, c.paid);
        EXPECT_EQ(ledger.changeManualLine(id, claim(c.newClaim, c.newCurrent)), c.change) << c.newClaim;
        const LedgerLine l = ledger.line(id);
        EXPECT_EQ(l.current, c.suma) << c.paid << c.newClaim;
        EXPECT_EQ(l.established, c.suma2) << c.paid << c.newClaim;
        EXPECT_EQ(l.group, c.change == LedgerChange::Done && *c.newClaim ? c.newClaim : "Amenzi");
        EXPECT_EQ(ledger.deleteManualLine(role, id), c.deletion);
        EXPECT_EQ(ledger.line(id).id == 0, c.deletion == LedgerChange::Done);
    }
}

TEST_F(LedgerTest, ChangedLineKeepsItsChangeWhenAnEarlierReceiptIsCancelled) {
    const qint64 role = f.add("ALUNI", "5", "ION");
    const qint64 id = addLine(role, claim("Amenzi", 100));
    pay(id, 40);
    ASSERT_EQ(ledger.changeManualLine(id, claim("Amenzi", 150)), LedgerChange::Done);
    // What cancelling puts back: the snapshot, which must now hold the changed amount unpaid.
    const db::Query undo = f.db().query(QStringLiteral("SELECT SUMA, SUMA2 FROM \"%1\" WHERE IDDAT = ?").arg(f.path("UndelDat.dbf")), {id});
    EXPECT_EQ(undo.cell(0, 0).toLongLong(), 190);
    EXPECT_EQ(undo.cell(0, 1).toLongLong(), 190);
}

TEST_F(LedgerTest, LinesOfOtherRolesAndAssessedLinesAreOutOfReach) {
    const qint64 a = f.add("ALUNI", "5", "ION");
    const qint64 b = f.add("ALUNI", "6", "ANA");
    const qint64 id = addLine(a, claim("Amenzi", 100));
    EXPECT_EQ(ledger.deleteManualLine(b, id), LedgerChange::Missing);
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET TIP = 'A'").arg(f.path("Datorii.dbf")));
    EXPECT_EQ(ledger.changeManualLine(id, claim("Amenzi", 5)), LedgerChange::Missing);
    EXPECT_EQ(ledger.deleteManualLine(a, id), LedgerChange::Missing);
    EXPECT_EQ(lineCount(), 1);
}

class VillageTaxTest : public LedgerTest {
protected:
    void SetUp() override {
        withHouse = f.add("ALUNI", "1", "A");
        withCompanyBuilding = f.add("ALUNI", "2", "B");
        withSecondHouseOnly = f.add("ALUNI", "3", "C");
        otherVillage = f.add("CORBU", "4", "D");
        const QString pag2 = f.path("Pag2.dbf");
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET C1S = 60 WHERE IDGOS IN (?, ?)").arg(pag2), {withHouse, otherVillage});
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET VA1 = 5000 WHERE IDGOS = ?").arg(pag2), {withCompanyBuilding});
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET C2S = 80, C5S = 20 WHERE IDGOS = ?").arg(pag2), {withSecondHouseOnly});
    }
    std::vector<qint64> charged() {
        const db::Query q = f.db().query(QStringLiteral("SELECT IDGOS FROM \"%1\" ORDER BY IDGOS").arg(f.path("Datorii.dbf")));
        std::vector<qint64> out;
        for (int r = 0; r < q.count(); ++r) out.push_back(q.cell(r, 0).toLongLong());
        return out;
    }
    int charge(bool onlyWithHouses, Progress& progress) {
        CountersFile counters = f.counters();
        return ledger.chargeVillage("ALUNI", "Salubritate", 35, onlyWithHouses, 2015, counters, progress);
    }
    qint64 withHouse = 0, withCompanyBuilding = 0, withSecondHouseOnly = 0, otherVillage = 0;
};

TEST_F(VillageTaxTest, ChargesTheVillageOrOnlyItsRolesWithAFirstBuilding) {
    EXPECT_EQ(charge(true, f.env.progress()), 2);
    EXPECT_EQ(charged(), (std::vector<qint64>{withHouse, withCompanyBuilding}));
    EXPECT_EQ(f.env.progress().descriptions().value(0), "Adaug taxa...");
    EXPECT_EQ(charge(false, f.env.progress()), 3) << "a second run charges again";
    EXPECT_EQ(charged().size(), 5u);
    const std::vector<LedgerLine> lines = ledger.manualLines(withSecondHouseOnly);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].from, QDate(2015, 1, 1));
    EXPECT_EQ(lines[0].current + lines[0].established, 70);
    EXPECT_EQ(lines[0].number, "3");
    const db::Query ids = f.db().query(QStringLiteral("SELECT COUNT(DISTINCT IDDAT) FROM \"%1\"").arg(f.path("Datorii.dbf")));
    EXPECT_EQ(ids.cell(0, 0).toInt(), 5) << "every line its own identifier";
}

TEST_F(VillageTaxTest, AFailureOnOneRoleLeavesEveryRoleUncharged) {
    for (const int failAt : {1, 2, 3}) {
        const QByteArray before = test::fileBytes(f.path("Datorii.dbf"));
        FailingProgress progress(failAt);
        EXPECT_THROW(charge(false, progress), Error);
        EXPECT_EQ(test::fileBytes(f.path("Datorii.dbf")), before) << "failure at role " << failAt;
    }
}

TEST_F(VillageTaxTest, QuantitySetForTheVillageOnly) {
    EXPECT_EQ(ledger.setVillageQuantity("ALUNI", 3, 2), 3);
    const db::Query q = f.db().query(QStringLiteral("SELECT IDGOS, LIN3, LIN2 FROM \"%1\" ORDER BY IDGOS").arg(f.path("Pag7.dbf")));
    ASSERT_EQ(q.count(), 4);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(q.cell(r, 1).toInt(), q.cell(r, 0).toLongLong() == otherVillage ? 0 : 2) << r;
        EXPECT_EQ(q.cell(r, 2).toInt(), 0) << r;
    }
    EXPECT_THROW(ledger.setVillageQuantity("ALUNI", 7, 2), Error);
}

} // namespace
