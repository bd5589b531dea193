// Storing a payment: receipt lines, new balances and undo snapshots in one transaction, the
// numbering per cashier, the dialog's checks and the refusal when the balances changed.

#include "payment_test_util.h"

#include <gtest/gtest.h>

using namespace vartesa;
using test::Balance;
using test::PayFolder;
using test::Typed;

namespace {

const QString kBuildings = QStringLiteral("Impozit pe cladiri");
const QDate kOctober{2015, 10, 1};

// One role with a tax of 200 lei unpaid, a fee and a debit of the year.
struct Payment : PayFolder {
    qint64 role = addRole("POPA ION");
    Payment() {
        balance(role, {kBuildings, 200, 200, 0, 0, 0, 0, 0});
        ledgerLine(role, "Salubritate", 100, 30, 50);
        debit(role, "Cumparare", {2015, 5, 12}, 100);
        db().exec(QStringLiteral("UPDATE \"%1\" SET DOCJUS = 'Decl. 4'").arg(path("Debit.dbf")));
    }
    test::Prepared usual() {
        return prepare(role, kOctober,
                       {{AccountGrid::Taxes, 0, 120}, {AccountGrid::Claims, 0, 80}, {AccountGrid::Debits, 0, 55}});
    }
    QStringList rows(const QString& sql) {
        db::Query q = db().query(QString(sql).replace("%1", path("Chitante.dbf")).replace("%2", path("SoldCalc.dbf")));
        QStringList out;
        for (int r = 0; r < q.count(); ++r) {
            QStringList cells;
            for (int c = 0; c < q.columnCount(); ++c) cells << q.cell(r, c).toString().trimmed();
            out << cells.join(',');
        }
        return out;
    }
};

TEST(PaymentStore, WritesLinesBalancesAndSnapshots) {
    Payment f;
    const StoredPayment s = f.store(f.usual(), kOctober);
    ASSERT_TRUE(s.refusal.isEmpty()) << s.refusal.toStdString();
    EXPECT_EQ(s.number, 41);
    EXPECT_EQ(f.rows("SELECT IDCHIT, IDANUL, SERIA, NR, DATAI, GRUPA, DENUM, CODCLAS, NUMEP, TIPF, PLATNUME, INCANUME, "
                     "LEGITIMA, RESTANTA, MAJOREST, DEPOZIT, CURENT, MAJOR, REDUCERE, TOTAL, TIP FROM \"%1\""),
              QStringList({"1,1,AB,41,2015-10-01,Impozit pe cladiri,,21021,POPA ION,F,POPA ION,ION,L-ION,0,0,0,106,14,0,120,C",
                           "1,1,AB,41,2015-10-01,Salubritate,,21025,POPA ION,F,POPA ION,ION,L-ION,30,0,0,50,0,0,80,C",
                           "1,1,AB,41,2015-10-01,Impozit pe cladiri,Decl. 4,21021,POPA ION,F,POPA ION,ION,L-ION,0,0,0,50,5,0,55,C"}));
    EXPECT_EQ(f.rows("SELECT SUMA, REST, DATOR, DEPOZ, MAJOR FROM \"%2\""), QStringList({"200,94,0,0,0"}));
    EXPECT_EQ(f.rows("SELECT SUMA, REST FROM \"" + f.path("Datorii.dbf") + "\""), QStringList({"50,0"}));
    EXPECT_EQ(f.rows("SELECT SUMAC FROM \"" + f.path("Debit.dbf") + "\""), QStringList({"50"}));
    EXPECT_EQ(f.rows("SELECT IDANUL, IDGOS, REST FROM \"" + f.path("UndelSold.dbf") + "\""),
              QStringList({QStringLiteral("1,%1,200").arg(f.role)}));
    EXPECT_EQ(f.rows("SELECT IDANUL, SUMA, REST, REDUC FROM \"" + f.path("UndelDat.dbf") + "\""),
              QStringList({"1,100,30,50"}));
    EXPECT_EQ(f.rows("SELECT IDANUL, SUMAINI, SUMAC FROM \"" + f.path("UndelDebit.dbf") + "\""),
              QStringList({"1,100,100"}));
}

// Each cashier draws from an own series; the number is drawn when the receipt is stored.
TEST(PaymentStore, ConsecutiveNumbersPerCashier) {
    Payment f;
    const qint64 numbers[] = {
        f.store(f.prepare(f.role, kOctober, {{AccountGrid::Taxes, 0, 10}}), kOctober).number,
        f.store(f.prepare(f.role, kOctober, {{AccountGrid::Taxes, 0, 10}}), kOctober).number,
        f.store(f.prepare(f.role, kOctober, {{AccountGrid::Taxes, 0, 10}}), kOctober, "MARIA").number,
    };
    EXPECT_EQ(numbers[0], 41);
    EXPECT_EQ(numbers[1], 42);
    EXPECT_EQ(numbers[2], 1);
    EXPECT_EQ(f.rows("SELECT DISTINCT SERIA, NR FROM \"%1\" ORDER BY NR"), QStringList({"MV,1", "AB,41", "AB,42"}));
}

// The cash desk answers for every receipt number: a payment that fails before its commit
// leaves its number to the next one, and one whose process died after the commit, before the
// counter moved, is not given its number again.
TEST(PaymentStore, ReceiptNumbersHaveNoGapAndNoRepeat) {
    Payment f;
    const auto ten = [&] { return f.prepare(f.role, kOctober, {{AccountGrid::Taxes, 0, 10}}); };
    EXPECT_THROW(f.store(ten(), kOctober, "ION", DocumentKind::Receipt, 41, [] { throw Error(QStringLiteral("Disc plin")); }),
                 Error);
    EXPECT_EQ(f.store(ten(), kOctober).number, 41);
    f.counters().WriteCounter("ION", "CHIT", "41"); // as a process killed right after its commit leaves it
    EXPECT_EQ(f.store(ten(), kOctober).number, 42);
    EXPECT_EQ(f.counters().ReadCounter("ION", "CHIT"), "43");
}

struct KindCase {
    DocumentKind chosen;
    std::vector<Typed> typed;
    const char* stored; // SERIA, NR, TIP of every line
};

TEST(PaymentStore, HandNumberedDocuments) {
    const KindCase cases[] = {
        {DocumentKind::Transfer, {{AccountGrid::Taxes, 0, 120}, {AccountGrid::Claims, 0, 80}}, "-,7,V"},
        {DocumentKind::AccountingNote, {{AccountGrid::Taxes, 0, 20}, {AccountGrid::Claims, 0, -20}}, "-,7,N"},
    };
    for (const KindCase& c : cases) {
        Payment f;
        const StoredPayment s = f.store(f.prepare(f.role, kOctober, c.typed), kOctober, "ION", c.chosen, 7);
        ASSERT_TRUE(s.refusal.isEmpty());
        EXPECT_EQ(f.rows("SELECT DISTINCT SERIA, NR, TIP FROM \"%1\""), QStringList({c.stored}));
        EXPECT_EQ(f.counters().ReadCounter("ION", "CHIT"), "41"); // no receipt number drawn
    }
}

// A role spared penalties: the receipt writes no penalties and the carried ones stay owed.
TEST(PaymentStore, NoPenaltyRoleWritesZeroPenalties) {
    PayFolder f;
    const qint64 role = f.addRole("SCUTIT", "FIZICA", true);
    f.balance(role, {kBuildings, 200, 200, 0, 0, 100, 0, 20});
    const test::Prepared p = f.prepare(role, kOctober, {{AccountGrid::Taxes, 0, 150}}, nullptr, {true, true, true, {}});
    ASSERT_TRUE(f.store(p, kOctober).refusal.isEmpty());
    const auto sum = [&](const char* field) {
        return f.db().scalar(QStringLiteral("SELECT SUM(%1) FROM \"%2\"").arg(field, f.path("Chitante.dbf"))).toLongLong();
    };
    EXPECT_EQ(sum("MAJOREST") + sum("MAJOR"), 0);
    EXPECT_EQ(sum("TOTAL"), 150);
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT MAJOR FROM \"%1\"").arg(f.path("SoldCalc.dbf"))).toLongLong(), 20);
}

TEST(PaymentStore, ChecksOfTheDialogInOrder) {
    Payment f;
    const test::Prepared p = f.usual();
    ASSERT_TRUE(f.store(p, kOctober).refusal.isEmpty()); // AB 41 is now stored
    const QString taken =
        QStringLiteral("Mai exista chitanta aceasta la  ROL %1 !\rContactati Operatorul de ROL sau Administratorul "
                       "sa va modifice numarul chitantei!")
            .arg(f.rows("SELECT DISTINCT ROL FROM \"%1\"").join(""));
    std::vector<PaymentLine> noCode = p.allocation.lines;
    noCode[1].code.clear();
    struct CheckCase {
        const char* closedYear;
        PaymentDocument doc;
        std::vector<PaymentLine> lines;
        QString message;
    } cases[] = {
        {"2015", {DocumentKind::Receipt, kOctober, "X", 42, "AB", 0, {}}, p.allocation.lines,
         "Anul 2015 este inchis!\rNu mai puteti lucra in el! Adios..."},
        {"2014", {DocumentKind::Transfer, kOctober, "X", 0, "AB", 0, {}}, p.allocation.lines, "Numar incorect!"},
        {"", {DocumentKind::Receipt, kOctober, "   ", 42, "AB", 0, {}}, p.allocation.lines, "Nu ati scris Platitorul!"},
        {"", {DocumentKind::Receipt, kOctober, "X", 42, "AB", 0, {}}, noCode,
         "Nu aveti Contul la Salubritate!\rApasati pe butonul Coduri clasificare si adaugati-l!"},
        {"", {DocumentKind::Receipt, kOctober, "X", 41, "AB", f.role, "ION"}, p.allocation.lines, taken},
        {"", {DocumentKind::Receipt, kOctober, "X", 41, "AB", f.role + 1, "MARIA"}, p.allocation.lines, taken},
        // The same cashier's other workstation took the number for another role: this one
        // gets the next free number when stored.
        {"", {DocumentKind::Receipt, kOctober, "X", 41, "AB", f.role + 1, "ION"}, p.allocation.lines, ""},
        {"", {DocumentKind::Receipt, {1899, 1, 1}, "X", 42, "AB", 0, {}}, p.allocation.lines,
         "Data 01.01.1899 nu este in anul 2015!"},
        {"", {DocumentKind::Receipt, {2099, 1, 1}, "X", 42, "AB", 0, {}}, p.allocation.lines,
         "Data 01.01.2099 nu este in anul 2015!"},
        {"", {DocumentKind::Receipt, kOctober, QStringLiteral("POPA \u263A"), 42, "AB", 0, {}}, p.allocation.lines,
         QStringLiteral("Platitorul contine caracterul \"\u263A\", care nu se poate memora!")},
        {"", {DocumentKind::Transfer, kOctober, "X", 41, "AB", 0, {}}, p.allocation.lines, ""}, // hand numbered: no test
        {"", {DocumentKind::Receipt, kOctober, "X", 41, "MV", 0, {}}, p.allocation.lines, ""},
    };
    for (const CheckCase& c : cases) {
        CountersFile counters = f.counters();
        counters.WriteCounter("VARIABILE", "ANINCHIS", c.closedYear);
        const std::optional<PaymentProblem> problem =
            CheckPaymentDocument(f.db(), f.env.folders().data, counters, c.lines, c.doc);
        EXPECT_EQ(problem ? problem->message : QString(), c.message);
    }
}

// A failure anywhere inside the transaction leaves every table as it was.
TEST(PaymentStore, FailureInsideTheTransactionChangesNoTable) {
    {
        Payment f;
        const auto before = f.tables();
        EXPECT_THROW(f.store(f.usual(), kOctober, "ION", DocumentKind::Receipt, 41,
                             [] { throw Error(QStringLiteral("Retea cazuta")); }),
                     Error);
        EXPECT_EQ(f.tables(), before);
    }
    {
        // The credit no longer fits its field: the balance update fails after the snapshots.
        Payment f;
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET DEPOZ = 999990, REST = 0").arg(f.path("SoldCalc.dbf")));
        const auto before = f.tables();
        EXPECT_THROW(f.store(f.prepare(f.role, kOctober, {{AccountGrid::Taxes, 0, 50}, {AccountGrid::Claims, 0, 80}}),
                             kOctober),
                     Error);
        EXPECT_EQ(f.tables(), before);
    }
}

// Two workstations on one role: the second, computed before the first stored, is refused.
TEST(PaymentStore, SecondWorkstationRefusedWhenBalancesChanged) {
    Payment f;
    db::Database other(f.env.folders().data);
    const test::Prepared first = f.usual();
    const test::Prepared second = f.prepare(f.role, kOctober, {{AccountGrid::Taxes, 0, 120}}, &other);
    ASSERT_TRUE(f.store(first, kOctober).refusal.isEmpty());
    const auto after = f.tables();
    const StoredPayment refused = f.store(second, kOctober, "ION", DocumentKind::Receipt, 42, {}, &other);
    EXPECT_EQ(refused.refusal, kPaymentSituationChanged);
    EXPECT_EQ(f.tables(), after);
    EXPECT_EQ(f.counters().ReadCounter("ION", "CHIT"), "42"); // the refused receipt took no number
}

} // namespace
