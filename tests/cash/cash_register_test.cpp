// The cash register: daily summaries from the receipts, balances per day and cashier, and the
// rules on manual operations.

#include "shell/startup.h"
#include "cash_register_util.h"

#include "cash/cash_summaries.h"
#include "admin/admin_catalog.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QDate kDay(2015, 3, 3);

struct DayCase {
    const char* what;
    std::vector<std::pair<QString, qint64>> receipts; // kind and total, on the day, by ANA
    qint64 paidRow, collectedRow;                     // the one summary row
};

TEST(CashRegister, OneSummaryRowPerDayAndCashierFromReceiptsAndPaymentOrders) {
    const DayCase cases[] = {
        {"300 and a refund of -50 net to 250", {{"C", 300}, {"O", -50}}, 0, 250},
        {"a lone refund of -80 is money paid out", {{"O", -80}}, 80, 0},
        {"a bank transfer moves no cash", {{"C", 100}, {"V", 70}}, 0, 100},
        {"an accounting note moves no cash", {{"C", 100}, {"N", 40}}, 0, 100},
    };
    for (const DayCase& c : cases) {
        RegisterFolder f;
        qint64 id = 0;
        for (const auto& [kind, total] : c.receipts)
            f.line({++id, kind, "AB", id, kDay, "ANA", "Impozit pe cladiri", "070201", "F", 0, 0, total, 0, 0, total});
        const RegisterDay day = f.opened().Day(kDay, AnyCashier());
        ASSERT_EQ(day.rows.size(), 1u) << c.what;
        EXPECT_EQ(day.rows[0].document, "Centralizator zilnic") << c.what;
        EXPECT_EQ(std::make_pair(day.rows[0].paid, day.rows[0].collected), std::make_pair(c.paidRow, c.collectedRow))
            << c.what;
    }
}

TEST(CashRegister, BalanceToCarryIsPreviousPlusCollectedMinusPaid) {
    RegisterFolder f;
    f.receipt(1, kDay.addDays(-1), "ANA", 1000);
    f.receipt(2, kDay, "ANA", 500);
    f.manual(50, kDay, "ANA", 200, 0);
    const RegisterDay day = f.opened().Day(kDay, AnyCashier());
    EXPECT_EQ(day.previous, 1000);
    EXPECT_EQ(day.collected, 500);
    EXPECT_EQ(day.paid, 200);
    EXPECT_EQ(day.carry(), 1300);
}

TEST(CashRegister, ChoosingACashierTakesThatCashiersOwnHistory) {
    RegisterFolder f;
    f.receipt(1, kDay.addDays(-2), "ANA", 1000);
    f.receipt(2, kDay.addDays(-1), "BOB", 400);
    f.manual(50, kDay.addDays(-1), "BOB", 100, 0);
    f.receipt(3, kDay, "BOB", 60);
    const CashRegister r = f.opened();
    EXPECT_EQ(r.Day(kDay, AnyCashier()).previous, 1300);
    EXPECT_EQ(r.Day(kDay, "ANA").previous, 1000);
    EXPECT_EQ(r.Day(kDay, "BOB").previous, 300);
    EXPECT_TRUE(r.Day(kDay, "ANA").rows.empty());
    EXPECT_EQ(r.Cashiers(), (QStringList{AnyCashier(), "ANA", "BOB"}));
}

struct RightsCase {
    const char* what;
    UserGrade grade;
    bool summaryRow; // the selected row is a daily summary (else a manual row)
    bool deleting;
    QString refusal; // "" when allowed
    bool hint;
};

TEST(CashRegister, OnlyAdministratorsAndRoleOperatorsChangeManualRowsAndNobodyASummary) {
    const RightsCase cases[] = {
        {"cashier modifies", UserGrade::Cashier, false, false, "Nu aveti ce cauta aici!", true},
        {"cashier deletes", UserGrade::Cashier, false, true, "Nu aveti ce cauta aici!", true},
        {"administrator modifies a summary", UserGrade::Admin, true, false,
         "Nu puteti modifica decat operatiunile introduse manual!", false},
        {"role operator deletes a summary", UserGrade::RolOperator, true, true, "Nu puteti sterge linia selectata!", false},
        {"role operator modifies", UserGrade::RolOperator, false, false, "", false},
        {"administrator deletes", UserGrade::Admin, false, true, "", false},
    };
    for (const RightsCase& c : cases) {
        RegisterFolder f;
        f.receipt(1, kDay, "ANA", 300);
        f.manual(50, kDay, "ANA", 20, 0);
        f.env.services().grade = c.grade;
        CashRegister r = f.opened();
        const RegisterDay day = r.Day(kDay, AnyCashier());
        const RegisterRow& row = day.rows[c.summaryRow ? 0 : 1];
        ASSERT_EQ(row.isSummary(), c.summaryRow) << c.what;
        const auto refusal = c.deleting ? r.CheckDelete(&row) : r.CheckModify(&row);
        EXPECT_EQ(refusal ? refusal->text : QString(), c.refusal) << c.what;
        if (refusal) {
            EXPECT_EQ(refusal->hint, c.hint) << c.what;
        }
        // The core refuses the change itself too, leaving the stored row as it was.
        const auto change = [&] {
            if (c.deleting) r.DeleteOperation(row.idrc);
            else r.ModifyOperation(row.idrc, {kDay, "Alt document", true, 99});
        };
        if (!c.refusal.isEmpty()) {
            EXPECT_THROW(change(), Error) << c.what;
            EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT SUM(PLATIT) FROM \"%1\"").arg(f.path("RegCasa.dbf"))).toInt(), 20)
                << c.what;
        }
    }
}

TEST(CashRegister, EmptyGridAndYearLockRefuseChanges) {
    RegisterFolder f;
    f.manual(50, kDay, "ANA", 20, 0);
    CashRegister r = f.opened();
    EXPECT_EQ(r.CheckModify(nullptr)->text, "Nu aveti ce modifica!");
    EXPECT_EQ(r.CheckDelete(nullptr)->text, "Nu aveti ce sterge!");
    f.counters().WriteCounter("SERVER", YearLockCounterKey(2015), "DA");
    EXPECT_EQ(r.CheckAdd()->title, "An inchis");
    EXPECT_EQ(r.CheckModify(&r.rows().front())->text, "Nu mai puteti modifica datele de anul trecut!");
}

TEST(CashRegister, ManualOperationsGoToBothTheTableAndTheWorkingRegister) {
    RegisterFolder f;
    CashRegister r = f.opened();
    EXPECT_EQ(*CheckOperation({kDay, "   ", false, 10}), "Lipseste Documentul justificativ!");
    EXPECT_EQ(*CheckOperation({kDay, "Chitanta", false, 0}), "Lipseste Suma!");
    EXPECT_THROW(r.AddOperation({kDay, "", false, 10}), Error);

    const qint64 id = r.AddOperation({kDay, "Chitanta  manuala", false, 100});
    const QString table = f.path("RegCasa.dbf");
    db::Query stored = f.db().query(QStringLiteral("SELECT DOCJUS, INCANUME, PLATIT, INCASAT FROM \"%1\" WHERE IDRC = ?").arg(table), {id});
    ASSERT_EQ(stored.count(), 1);
    EXPECT_EQ(stored.text("DOCJUS").trimmed(), "Chitanta manuala");
    EXPECT_EQ(stored.text("INCANUME").trimmed(), "ANA");
    EXPECT_EQ(stored.integer("INCASAT"), 100);
    EXPECT_EQ(r.Day(kDay, AnyCashier()).collected, 100);

    r.ModifyOperation(id, {kDay, "Dispozitie plata", true, 40});
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT PLATIT * 1000 + INCASAT FROM \"%1\"").arg(table)).toInt(), 40000);
    EXPECT_EQ(r.Day(kDay, AnyCashier()).carry(), -40);

    r.DeleteOperation(id);
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)).toInt(), 0);
    EXPECT_TRUE(r.Day(kDay, AnyCashier()).rows.empty());
}

TEST(CashRegister, TheToolPrintsTheDayAndRefusesAReversedPeriod) {
    RegisterFolder f;
    f.receipt(1, kDay.addDays(-1), "ANA", 1000);
    f.receipt(2, kDay, "ANA", 500);
    f.receipt(3, kDay, "BOB", -30);
    f.manual(50, kDay, "ANA", 200, 0);
    QString out;
    ASSERT_EQ(runTool({"cash-register", f.env.folders().data, "--date", "03.03.2015", "--cashier", "ANA"}, &out), 0) << out.toStdString();
    EXPECT_EQ(out, "DOCJUS,PLATIT,INCASAT,INCANUME\nCentralizator zilnic,0,500,ANA\nDispozitie plata,200,0,ANA\n"
                   "SOLD PRECEDENT,1000\nTOTAL INCASAT,500\nTOTAL PLATIT,200\nDE REPORTAT,1300\n");

    EXPECT_EQ(*CheckPeriod(kDay, kDay.addDays(-1)), "Perioada incorecta!");
    const QString file = f.env.folders().program + "/x.xls";
    EXPECT_EQ(runTool({"summary", f.env.folders().data, "payments", "--from", "03.03.2015", "--to", "02.03.2015", "--out", file}, &out), 1);
    EXPECT_TRUE(out.contains("Perioada incorecta!"));
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
