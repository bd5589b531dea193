// Cancelling payment documents: newest operation first, the balances back as they were,
// a later re-assessment kept, all or nothing, and the refusals.

#include "history_test_util.h"

#include "cash/cancellation.h"
#include "db/error.h"
#include "shell/users_file.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::HistoryFolder;
using vartesa::test::recordBytes;

namespace {

const QStringList kBalanceFiles = {"SoldCalc.dbf", "Datorii.dbf", "Debit.dbf"};
const QStringList kAllFiles = {"Chitante.dbf", "ChitAnul.dbf", "SoldCalc.dbf", "Datorii.dbf",
                               "Debit.dbf",    "UndelSold.dbf", "UndelDat.dbf", "UndelDebit.dbf"};

QList<QByteArray> snapshotOf(HistoryFolder& f, const QStringList& files) {
    QList<QByteArray> out;
    for (const QString& file : files) out << recordBytes(f.path(file));
    return out;
}

TEST(Cancellation, NewestOperationFirstThenEveryBalanceFileIsAsBeforeThePayments) {
    HistoryFolder f;
    const QList<QByteArray> before = snapshotOf(f, kBalanceFiles);
    const auto first = f.pay({120, 50, 30}, QDate(2015, 2, 10));
    // The later operation is dated back: the order of operations decides, not the date.
    const auto second = f.pay({40, 20, 0}, QDate(2015, 2, 5));

    const CancelResult early = CancelDocument(f.env.services(), first.idchit);
    EXPECT_EQ(early.refusal, (HistoryRefusal{"Anulare", "Nu puteti anula decat ultima chitanta!"}));
    EXPECT_FALSE(CancelDocument(f.env.services(), second.idchit).refusal);
    EXPECT_FALSE(CancelDocument(f.env.services(), first.idchit).refusal);

    EXPECT_EQ(snapshotOf(f, kBalanceFiles), before);
    EXPECT_EQ(f.count("UndelSold.dbf") + f.count("UndelDat.dbf") + f.count("UndelDebit.dbf"), 0);
}

TEST(Cancellation, KeepsAReassessmentAndGivesBackOnlyWhatWasCollected) {
    // The assessment sets the tax of the year and keeps what was collected on it.
    auto reassess = [](HistoryFolder& f) {
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET REST = REST + 300 - SUMA, SUMA = 300").arg(f.path("SoldCalc.dbf")));
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET SUMA = 120 + SUMA - SUMA2, SUMA2 = 120").arg(f.path("Datorii.dbf")));
    };
    for (const bool afterPayment : {true, false}) {
        SCOPED_TRACE(afterPayment ? "re-assessed after the payment" : "re-assessed before the payment");
        HistoryFolder f;
        if (!afterPayment) reassess(f);
        const auto paid = f.pay({150, 60, 0}, QDate(2015, 2, 10));
        if (afterPayment) reassess(f);
        ASSERT_FALSE(CancelDocument(f.env.services(), paid.idchit).refusal);
        EXPECT_EQ(f.value("SoldCalc.dbf", "SUMA", "IDRES", f.taxId), 300);
        EXPECT_EQ(f.value("SoldCalc.dbf", "REST", "IDRES", f.taxId), 300);
        EXPECT_EQ(f.value("Datorii.dbf", "SUMA2", "IDDAT", f.feeId), 120);
        EXPECT_EQ(f.value("Datorii.dbf", "SUMA", "IDDAT", f.feeId), 120);
        EXPECT_EQ(f.value("Datorii.dbf", "REST", "IDDAT", f.feeId), 30);
    }
}

TEST(Cancellation, AFailureBeforeCommitLeavesEveryFileUnchanged) {
    HistoryFolder f;
    const auto paid = f.pay({120, 50, 30}, QDate(2015, 2, 10));
    const QList<QByteArray> before = snapshotOf(f, kAllFiles);
    EXPECT_THROW(CancelDocument(f.env.services(), paid.idchit, [] { throw Error(QStringLiteral("Disc plin")); }),
                 Error);
    EXPECT_EQ(snapshotOf(f, kAllFiles), before);
}

// The log is written after the commit: when it cannot be, the cancellation still stands and
// the clerk is told the log line is missing, not that it failed.
TEST(Cancellation, ALogThatCannotBeWrittenLeavesTheCancellationStanding) {
    HistoryFolder f;
    const auto paid = f.pay({120, 0, 0}, QDate(2015, 2, 10));
    QFile::remove(f.path("Log.dbf"));
    ASSERT_TRUE(QDir().mkpath(f.path("Log.dbf"))); // a folder where the log should be
    const CancelResult result = CancelDocument(f.env.services(), paid.idchit);
    EXPECT_FALSE(result.refusal);
    EXPECT_FALSE(result.unlogged.isEmpty());
    EXPECT_EQ(f.count("Chitante.dbf", "TRIM(PLATNUME) = 'ANULAT'"), 1);
}

TEST(Cancellation, RefusalsChangeNothing) {
    struct Case {
        const char* name;
        UserGrade grade;
        bool locked;
        bool cancelledAlready;
        HistoryRefusal expected;
    };
    const Case cases[] = {
        {"another cashier's receipt", UserGrade::Cashier, false, false,
         {"Anulare Chitanta", "Nu puteti anula chitanta altuia!"}},
        {"the year is locked", UserGrade::Admin, true, false, {"An inchis", "Nu mai puteti opera in anul trecut!"}},
        {"cancelled already", UserGrade::Admin, false, true, {"Anulare", "Chitanta este deja anulata!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HistoryFolder f;
        const auto paid = f.pay({120, 0, 0}, QDate(2015, 2, 10), QStringLiteral("BOGDAN"));
        if (c.cancelledAlready) {
            ASSERT_FALSE(CancelDocument(f.env.services(), paid.idchit).refusal);
        }
        if (c.locked) f.counters().WriteCounter("SERVER", "ADMINBLOCAT2015", "DA");
        f.env.services().grade = c.grade;
        const QList<QByteArray> before = snapshotOf(f, kAllFiles);
        EXPECT_EQ(CancelDocument(f.env.services(), paid.idchit).refusal, c.expected);
        EXPECT_EQ(snapshotOf(f, kAllFiles), before);
    }
}

TEST(Cancellation, ACashierCancelsOwnReceipt) {
    HistoryFolder f;
    f.env.services().grade = UserGrade::Cashier;
    const auto paid = f.pay({120, 0, 0}, QDate(2015, 2, 10), QStringLiteral("ANA"));
    EXPECT_FALSE(CancelDocument(f.env.services(), paid.idchit).refusal);
}

TEST(Cancellation, CopiesTheLinesZeroesThemAndLogsTheAction) {
    HistoryFolder f;
    const auto paid = f.pay({120, 50, 0}, QDate(2015, 2, 10));
    const qint64 free = f.payWithoutDebit(25);
    const QList<QByteArray> balances = snapshotOf(f, kBalanceFiles);
    ASSERT_FALSE(CancelDocument(f.env.services(), free).refusal);
    EXPECT_EQ(snapshotOf(f, kBalanceFiles), balances); // no balance is touched without a debit
    ASSERT_FALSE(CancelDocument(f.env.services(), paid.idchit).refusal);

    EXPECT_EQ(f.count("Chitante.dbf", "TRIM(PLATNUME) = 'ANULAT' AND TOTAL = 0 AND CURENT = 0"), 3);
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT SUM(TOTAL) FROM \"%1\"").arg(f.path("ChitAnul.dbf"))).toLongLong(),
              120 + 50 + 25);
    db::Query log = f.db().query(QStringLiteral("SELECT ROL, ACTIUNE FROM \"%1\"").arg(f.path("Log.dbf")));
    ASSERT_EQ(log.count(), 2);
    EXPECT_EQ(log.cell(0, 0).toString().trimmed() + '|' + log.cell(0, 1).toString().trimmed(),
              "FARA|Anulat Chitanta AB nr.7 / 01.02.2015 - ION");
    EXPECT_EQ(log.cell(1, 0).toString().trimmed() + '|' + log.cell(1, 1).toString().trimmed(),
              "1|Anulat Chitanta AB nr.1 / 10.02.2015 - POPA ION");
}

} // namespace

namespace {

TEST(CancelTool, AppliesTheCashierRuleAndPrintsWhatItRestored) {
    HistoryFolder f;
    UsersFile users = UsersFile::inFolder(f.env.folders().data);
    users.create({"ANA", "", UserGrade::Cashier, "L1"});
    users.append({"BOGDAN", "", UserGrade::Cashier, "L2"});
    const auto paid = f.pay({120, 0, 0}, QDate(2015, 2, 10), QStringLiteral("ANA"));
    const QString folder = f.env.folders().data, id = QString::number(paid.idchit);
    QString out;
    EXPECT_EQ(vartesa::test::runTool({"cancel", folder, id, "--user", "bogdan"}, &out), 1);
    EXPECT_TRUE(out.contains("Nu puteti anula chitanta altuia!")) << qPrintable(out);
    EXPECT_EQ(vartesa::test::runTool({"cancel", folder, id, "--user", "ANA"}, &out), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("SoldCalc.dbf %1: REST 141 -> 200, DATOR 0 -> 50, MAJOR 0 -> 10\n").arg(f.taxId))) << qPrintable(out);
}

} // namespace
