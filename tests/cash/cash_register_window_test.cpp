// The register's windows driven as a clerk would: the balances shown for a day and cashier,
// a manual operation typed in, the period check and the choice of a debit statement.

#include "cash_register_util.h"

#include "cash/ui/cash_register_window.h"
#include "cash/ui/manual_operation_dialog.h"
#include "cash/ui/period_dialog.h"
#include "cash/ui/statement_picker_window.h"
#include "support/gui_application.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QDate kDay(2015, 3, 3);

TEST(CashRegisterWindow, ShowsTheDaysTotalsAndBalancesForTheChosenCashier) {
    ensureGuiApplication();
    RegisterFolder f;
    f.env.clock().setToday(kDay);
    f.receipt(1, kDay.addDays(-1), "ANA", 1000);
    f.receipt(2, kDay.addDays(-1), "BOB", 400);
    f.receipt(3, kDay, "ANA", 500);
    f.manual(50, kDay, "ANA", 200, 0);
    TFAlegePerioada period(f.env.services());
    TFRegCasa w(f.env.services(), period);
    EXPECT_EQ(w.SoldPrecLab->text(), "SOLD PRECEDENT : 0");
    ASSERT_TRUE(w.prepare());
    EXPECT_EQ(w.Grid->model()->rowCount(), 2);
    EXPECT_EQ(w.TotalIncasatLab->text(), "500");
    EXPECT_EQ(w.TotalPlatitLab->text(), "200");
    EXPECT_EQ(w.SoldPrecLab->text(), "Sold precedent : 1400");
    EXPECT_EQ(w.SoldRapLab->text(), "De reportat : 1700");
    w.Casier->setCurrentText("ANA");
    EXPECT_EQ(w.SoldPrecLab->text(), "Sold precedent : 1000");
    EXPECT_EQ(w.SoldRapLab->text(), "De reportat : 1300");

    // A summary row cannot be modified: the clerk is told, the dialog does not open.
    w.Grid->selectRow(0);
    w.ModificaBClick();
    ASSERT_EQ(f.env.messages().shown().size(), 1u);
    EXPECT_EQ(f.env.messages().shown()[0].text, "Nu puteti modifica decat operatiunile introduse manual!");
}

TEST(CashRegisterWindow, TheManualOperationDialogWantsADocumentAndAnAmount) {
    ensureGuiApplication();
    RegisterFolder f;
    TFAddOper d(f.env.services());
    d.prepare({kDay, {}, false, 0}, true);
    EXPECT_EQ(d.windowTitle(), "Adaugare operatiune");
    type(d.SumaEd, "1234567");
    EXPECT_EQ(d.SumaEd->text(), "123456") << "at most six digits";
    d.MemoreazaBClick();
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "Lipseste Documentul justificativ!");
    EXPECT_EQ(f.env.messages().hints()[0].anchor, "DocJusCombo");
    EXPECT_NE(d.result(), QDialog::Accepted);
}

TEST(CashRegisterWindow, AReversedPeriodIsRefusedOnTheFirstDate) {
    ensureGuiApplication();
    RegisterFolder f;
    TFAlegePerioada d(f.env.services());
    d.prepare(false, kDay);
    EXPECT_TRUE(d.ViramentCB->isHidden());
    d.DataI->setDate(kDay.addDays(1));
    d.ListeazaBClick();
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "Perioada incorecta!");
    EXPECT_EQ(f.env.messages().hints()[0].anchor, "DataI");
    EXPECT_NE(d.result(), QDialog::Accepted);
}

TEST(CashRegisterWindow, TheStatementPickerListsStatementsByTypeAndNumber) {
    ensureGuiApplication();
    RegisterFolder f;
    f.env.clock().setToday(kDay);
    TBordSelect picker(f.env.services());
    EXPECT_FALSE(picker.prepare());
    ASSERT_EQ(f.env.messages().shown().size(), 1u);
    EXPECT_EQ(f.env.messages().shown()[0].text, "Nu aveti nici un Borderou introdus!");

    const qint64 role = f.add("CORBU", "1", "ION");
    const QString ledger = f.path("Datorii.dbf"), debits = f.path("Debit.dbf");
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, NR, TIP, RESTINI, SUMA2, REDUC) VALUES "
                               "(1, ?, 7, 'M', 10, 90, 0), (2, ?, 3, 'M', 0, 0, 15), (3, ?, 9, 'A', 50, 50, 0)").arg(ledger),
                {role, role, role});
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, NR, SUMAINI) VALUES (1, ?, 7, 25), (2, ?, 4, -40), "
                               "(3, ?, 5, 0)").arg(debits),
                {role, role, role});
    EXPECT_EQ(DebitStatements(f.db(), f.env.folders().data).size(), 3u);
    ASSERT_TRUE(picker.prepare());
    const QAbstractItemModel* m = picker.Grid->model();
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->index(0, 0).data().toString() + m->index(0, 1).data().toString() + "=" + m->index(0, 2).data().toString(),
              "BD7=125");
    EXPECT_EQ(m->index(2, 0).data().toString() + m->index(2, 1).data().toString() + "=" + m->index(2, 2).data().toString(),
              "BS4=40");
    EXPECT_EQ(picker.DeLaEd->date(), QDate(2015, 1, 1));
    EXPECT_EQ(picker.Grid->currentIndex().row(), 2) << "positioned on the last statement";
}

} // namespace
