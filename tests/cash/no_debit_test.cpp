// Collections without a debit: the lines, the checks of "&Opereaza" and the stored document.

#include "history_test_util.h"

#include "cash/no_debit.h"
#include "db/error.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::HistoryFolder;

namespace {

const NoDebitPayer kPayer{"ION POP", "", "STR. MARE 1", "ION POP", true};

TEST(NoDebit, LinesNeedASumAndAnAccountAndTheTypeStaysWhileLinesExist) {
    NoDebitDocument doc;
    EXPECT_EQ(doc.addLine("Taxa copiere", "", 0), (NoDebitProblem{NoDebitField::Amount, "Nu ati trecut suma!"}));
    EXPECT_EQ(doc.addLine(" ", "", 10), (NoDebitProblem{NoDebitField::Account, "Nu ales grupa!"}));
    ASSERT_FALSE(doc.addLine("Taxa copiere", "", 30));
    ASSERT_FALSE(doc.addLine("Taxa copiere", " doua ", 20));
    EXPECT_EQ(doc.total(), 50);
    EXPECT_EQ(doc.setType(NoDebitType::Payment),
              (NoDebitProblem{NoDebitField::Type, "Stergeti mai intai liniile de pe chitanta!"}));
    doc.removeLine(1);
    doc.removeLine(2);
    EXPECT_FALSE(doc.setType(NoDebitType::Payment));
}

TEST(NoDebit, ChecksOfOpereazaInOrder) {
    NoDebitDocument doc;
    EXPECT_EQ(CheckNoDebitDocument(doc, kPayer)->message, "Nu aveti nimic pe chitanta!");
    ASSERT_FALSE(doc.addLine("Taxa copiere", "", 30));
    struct Case {
        const char* name;
        NoDebitPayer payer;
        QString expected; // empty: accepted
    };
    const Case cases[] = {
        {"no holder", {"  ", "", "STR. MARE 1", "ION", true}, "Nu ati specificat Titularul!"},
        {"wrong control digit", {"ION", "1800101221145", "STR. MARE 1", "ION", true}, "C.N.P. incorect!"},
        {"valid code", {"ION", "1800101221144", "STR. MARE 1", "ION", true}, ""},
        {"empty code", kPayer, ""},
        {"company with a fiscal code", {"SC ALFA SRL", "18547290", "STR. MARE 1", "ION", false}, ""},
        {"no address", {"ION", "", " ", "ION", true}, "Lipseste adresa!"},
        {"no payer", {"ION", "", "STR. MARE 1", "", true}, "Lipseste numele platitorului!"},
        {"a payer the tables cannot hold", {"ION", "", "STR. MARE 1", QStringLiteral("ION \u4E2D"), true},
         QStringLiteral("Textul contine caracterul \"\u4E2D\", care nu se poate memora!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto problem = CheckNoDebitDocument(doc, c.payer);
        EXPECT_EQ(problem ? problem->message : QString(), c.expected);
    }
}

TEST(NoDebit, AReceiptOfTwoLinesIsOneDocumentWithTheCashiersNextNumber) {
    HistoryFolder f;
    CountersFile counters = f.counters();
    counters.WriteCounter("ANA", "SERIA", "VS");
    counters.WriteCounter("ANA", "CHIT", "17");
    NoDebitDocument doc;
    ASSERT_FALSE(doc.addLine("Taxa copiere", "", 30));
    ASSERT_FALSE(doc.addLine("Taxa copiere", "", 20));
    const StoredNoDebit stored = StoreNoDebitDocument(f.db(), f.env.folders().data, counters, doc,
                                                      QDate(2015, 2, 1), kPayer, "ANA", "L12");
    EXPECT_EQ(stored.number, 17);
    EXPECT_EQ(f.count("Chitante.dbf", QStringLiteral("IDCHIT = %1 AND IDGOS = -1 AND IDANUL = -1 AND NR = 17 AND "
                                                     "TRIM(SERIA) = 'VS' AND TIP = 'C' AND TRIM(CODCLAS) = 'RO11FIZ'")
                                          .arg(stored.idchit)),
              2);
    EXPECT_EQ(counters.ReadCounter("ANA", "CHIT"), "18");
}

TEST(NoDebit, APaymentOrderTakesTheSharedCounterNotTheCashiers) {
    HistoryFolder f;
    CountersFile counters = f.counters();
    counters.WriteCounter("SERVER", "OP", "5");
    NoDebitDocument doc;
    ASSERT_FALSE(doc.setType(NoDebitType::Payment));
    ASSERT_FALSE(doc.addLine("Taxa copiere", "", 30));
    const StoredNoDebit stored = StoreNoDebitDocument(f.db(), f.env.folders().data, counters, doc,
                                                      QDate(2015, 2, 1), kPayer, "ANA", "L12");
    EXPECT_EQ(f.count("Chitante.dbf", QStringLiteral("NR = 5 AND TIP = 'O' AND IDCHIT = %1").arg(stored.idchit)), 1);
    EXPECT_EQ(counters.ReadCounter("ANA", "CHIT"), "");
}

TEST(NoDebit, AFailureWhileStoringWritesNoLine) {
    HistoryFolder f;
    CountersFile counters = f.counters();
    NoDebitDocument doc;
    ASSERT_FALSE(doc.addLine("Taxa copiere", "", 30));
    ASSERT_FALSE(doc.addLine("Taxa copiere", "", 20));
    EXPECT_THROW(StoreNoDebitDocument(f.db(), f.env.folders().data, counters, doc, QDate(2015, 2, 1), kPayer, "ANA",
                                      "L12", [] { throw Error(QStringLiteral("Disc plin")); }),
                 Error);
    EXPECT_EQ(f.count("Chitante.dbf"), 0);
    // The number of the failed receipt is the next one's: the series keeps no gap.
    EXPECT_EQ(StoreNoDebitDocument(f.db(), f.env.folders().data, counters, doc, QDate(2015, 2, 1), kPayer, "ANA", "L12")
                  .number,
              1);
}

} // namespace
