// The receipt history screen and the collections without a debit as a clerk drives them.

#include "history_test_util.h"

#include "cash/cancellation.h"
#include "cash/ui/no_debit_window.h"
#include "cash/ui/receipt_history_window.h"
#include "support/gui_application.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::HistoryFolder;

namespace {

class HistoryWindows : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApplication(); }
    HistoryFolder f;
};

TEST_F(HistoryWindows, ACashierCannotModifyButCancelsOwnReceiptWhichThenShowsAnulat) {
    f.env.services().grade = UserGrade::Cashier;
    const auto paid = f.pay({120, 0, 0}, QDate(2015, 2, 10));
    TFIstoricChit window(f.env.services());
    window.prepare("POPESCU ION - Istoric chitante.", f.role, false);
    EXPECT_FALSE(window.ModificaB->isEnabled());
    ASSERT_TRUE(window.AnuleazaB->isEnabled());
    f.env.messages().answerNext("DA");
    window.AnuleazaB->click();
    EXPECT_EQ(f.env.messages().titles().join('|'), "Anulare chitanta|Anulare operatiune");
    EXPECT_EQ(window.selected()->idchit, paid.idchit);
    EXPECT_EQ(window.selected()->payer + ' ' + QString::number(window.selected()->sum), "ANULAT 0");
    EXPECT_TRUE(window.cancelledSomething());
    EXPECT_TRUE(window.StergeB->isHidden()); // only an administrator deletes
}

TEST_F(HistoryWindows, AnAdministratorSeesDeleteOnACancelledDocumentOnly) {
    const auto paid = f.pay({120, 0, 0}, QDate(2015, 2, 10));
    ASSERT_FALSE(CancelDocument(f.env.services(), paid.idchit).refusal);
    f.pay({30, 0, 0}, QDate(2015, 2, 11));
    TFIstoricChit window(f.env.services());
    window.prepare("POPESCU ION - Istoric chitante.", f.role, true);
    EXPECT_TRUE(window.StergeB->isHidden()); // the newest, valid document is selected
    window.ChitGrid->setCurrentIndex(window.ChitGrid->model()->index(0, 0));
    EXPECT_FALSE(window.StergeB->isHidden());
}

TEST_F(HistoryWindows, ClosingTheNoDebitScreenWithoutOpereazaDrawsNoNumber) {
    CountersFile counters = f.counters();
    counters.WriteCounter("ANA", "CHIT", "17");
    counters.WriteCounter("SERVER", "OP", "5");
    const QByteArray before = test::fileBytes(counters.path());
    TFFaraDebit screen(f.env.services());
    test::whenShown(screen, [&] {
        screen.ContCombo->setCurrentText("Taxa copiere");
        test::type(screen.Suma, "30");
        screen.AdaugaB->click();
        screen.RenuntB->click();
    });
    EXPECT_FALSE(screen.OpenNoDebit({"ION", "", "STR. MARE 1", "ION", true}));
    EXPECT_EQ(test::fileBytes(counters.path()), before);
}

TEST_F(HistoryWindows, APaymentOrderWithoutDebitIsConfirmedByAMessageAndNotPrinted) {
    TFFaraDebit screen(f.env.services());
    QList<qint64> printed;
    screen.setPrintReceipt([&](qint64 id) { printed << id; });
    test::whenShown(screen, [&] {
        screen.TipOp->setCurrentIndex(1);
        screen.ContCombo->setCurrentText("Taxa copiere");
        test::type(screen.Suma, "30");
        screen.AdaugaB->click();
        screen.TipOp->setCurrentIndex(0); // refused while a line is there
        screen.OpereazaB->click();
    });
    screen.RunNoDebit({"ION", "", "STR. MARE 1", "ION", true});
    EXPECT_EQ(f.env.messages().hints().at(0).text, "Stergeti mai intai liniile de pe chitanta!");
    EXPECT_EQ(f.env.messages().titles().join('|'), "Ordin de plata");
    EXPECT_TRUE(printed.isEmpty());
    EXPECT_EQ(f.count("Chitante.dbf", "TIP = 'O' AND NR = 1"), 1);
}

} // namespace
