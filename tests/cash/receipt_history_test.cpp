// The receipt history: the documents list, the buttons a clerk may use, modify and delete.

#include "history_test_util.h"

#include "cash/cancellation.h"
#include "cash/cancelled_receipts.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::HistoryFolder;

namespace {

TEST(ReceiptHistory, ListsOneRowPerDocumentByDateAndACancelledOneAsAnulatWithZero) {
    HistoryFolder f;
    const auto first = f.pay({120, 50, 0}, QDate(2015, 2, 10));
    const auto second = f.pay({30, 0, 0}, QDate(2015, 2, 5));
    f.payWithoutDebit(25);
    ASSERT_FALSE(CancelDocument(f.env.services(), second.idchit).refusal);

    ReceiptHistory history(f.db(), f.env.folders().data, f.role);
    history.load();
    const auto docs = history.documents();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[0].idchit, second.idchit); // the earlier date first
    EXPECT_EQ(docs[0].payer + ' ' + QString::number(docs[0].sum), "ANULAT 0");
    EXPECT_EQ(docs[1].sum, 170);
    EXPECT_EQ(history.lines(first.idchit).size(), 2u);
    EXPECT_EQ(history.documents("POPA ION").size(), 1u); // the payer filter

    ReceiptHistory free(f.db(), f.env.folders().data, kNoDebit);
    free.load();
    EXPECT_EQ(free.documents().size(), 1u);
}

TEST(ReceiptHistory, ButtonStates) {
    HistoryDocument valid, cancelled;
    cancelled.payer = kCancelledPayer;
    struct Case {
        const char* name;
        const HistoryDocument* doc;
        bool changesAllowed, administrator;
        HistoryButtons expected; // modify, cancel, print, delete visible
    };
    const Case cases[] = {
        {"empty list", nullptr, true, true, {false, false, false, false}},
        {"cashier on a valid receipt", &valid, false, false, {false, true, true, false}},
        {"administrator on a valid receipt", &valid, true, true, {true, true, true, false}},
        {"administrator on a cancelled one", &cancelled, true, true, {false, false, true, true}},
        {"operator on a cancelled one", &cancelled, true, false, {false, false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HistoryButtons b = HistoryButtonStates(c.doc, c.changesAllowed, c.administrator);
        EXPECT_EQ(std::tie(b.modify, b.cancel, b.print, b.deleteVisible),
                  std::tie(c.expected.modify, c.expected.cancel, c.expected.print, c.expected.deleteVisible));
    }
}

TEST(ReceiptHistory, ModifyRefusesNumberZeroAndChangesEveryLineOtherwise) {
    HistoryFolder f;
    const auto paid = f.pay({120, 50, 0}, QDate(2015, 2, 10));
    const QString folder = f.env.folders().data;
    EXPECT_EQ(ModifyDocument(f.db(), folder, paid.idchit, QDate(2015, 3, 1), "XY", 0), kWrongNumber);
    EXPECT_EQ(f.count("Chitante.dbf", "NR = 0"), 0);
    EXPECT_FALSE(ModifyDocument(f.db(), folder, paid.idchit, QDate(2015, 3, 1), "XY", 44));
    EXPECT_EQ(f.count("Chitante.dbf", "NR = 44 AND TRIM(SERIA) = 'XY' AND TOTAL > 0"), 2);
}

TEST(ReceiptHistory, DeletesOnlyACancelledDocument) {
    HistoryFolder f;
    const auto first = f.pay({120, 0, 0}, QDate(2015, 2, 10));
    const auto second = f.pay({30, 0, 0}, QDate(2015, 2, 11));
    ASSERT_FALSE(CancelDocument(f.env.services(), second.idchit).refusal);
    EXPECT_EQ(DeleteCancelledDocument(f.db(), f.env.folders().data, first.idchit), 0);
    EXPECT_EQ(DeleteCancelledDocument(f.db(), f.env.folders().data, second.idchit), 1);
}

TEST(CancelledReceipts, OneRowPerDocumentWithItsTextAndSumForTheReport) {
    HistoryFolder f;
    const auto paid = f.pay({120, 50, 0}, QDate(2015, 2, 10));
    ASSERT_FALSE(CancelDocument(f.env.services(), paid.idchit).refusal);
    const auto docs = ReadCancelledDocuments(f.db(), f.env.folders().data);
    ASSERT_EQ(docs.size(), 1u);
    const ReportRows report = CancelledReceiptsReport(docs, "VARTESA");
    EXPECT_EQ(report.heading, "Primaria VARTESA");
    EXPECT_EQ(report.rows.at(0).join('|'), "1|Chit.AB nr.1 / 10.02.2015|ANA|POPESCU ION|170|1|CORBU");
}

} // namespace
