// The account screen, the role picker and the debit details, driven as the cashier would.

#include "cash_test_util.h"

#include "cash/ui/account_grid_model.h"
#include "cash/ui/account_window.h"
#include "cash/ui/debit_details_window.h"
#include "cash/ui/role_picker_window.h"
#include "roles/ui/claim_dialogs.h"
#include "admin/admin_constants.h"
#include "admin/budget_codes.h"
#include "support/gui_application.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QDateEdit>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::Balance;

namespace {

using test::pressEnter;
using test::type;
using test::whenShown;

class AccountWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        f.env.clock().setToday(QDate(2015, 10, 15));
        role = f.addRole("POPA ION");
        f.balance(role, {"Impozit pe cladiri", 200, 200, 20, 0, 100, 0, 15}); // 349 on 15 October
        f.balance(role, {"Impozit pe mijloace de transport", 120, 120, 0, 0, 0, 150, 0}); // -30
        f.ledgerLine(role, "Salubritate", 60, 20, 5); // 75
        constants.load(f.env.services());
    }
    // Types an amount in the ACHITA cell of a grid's row, as the cashier does.
    void enter(QTableView* grid, int row, const QString& amount) {
        auto* model = static_cast<AccountGridModel*>(grid->model());
        const QModelIndex cell = model->index(row, model->enteredColumn());
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto* editor = grid->findChild<QLineEdit*>("AchitatEd");
        ASSERT_NE(editor, nullptr);
        type(editor, amount);
        pressEnter(editor);
        QCoreApplication::processEvents(); // the grid commits the editor through its event queue
    }
    QString shown(QTableView* grid, int row) {
        auto* model = static_cast<AccountGridModel*>(grid->model());
        return model->index(row, model->enteredColumn()).data().toString();
    }

    test::CashFolder f;
    AdminConstants constants;
    qint64 role = 0;
};

TEST_F(AccountWindowTest, TypedAmountsAreCappedSummedAndClearedByANewDate) {
    TGospodarieF w(f.env.services(), constants);
    w.prepareOpening(role, "CORBU");
    EXPECT_EQ(w.TotPlata1->text(), "394");
    EXPECT_EQ(shown(w.ImpoziteGrid, 0), "") << "ACHITA is blank at 0";
    EXPECT_FALSE(w.DebiteGrid->isEnabled()) << "a grid without rows";
    EXPECT_FALSE(w.NOTAX->isVisibleTo(&w)) << "\"Fara majorari\" only with the option on";

    enter(w.ImpoziteGrid, 1, "-500"); // the vehicles line can give away its credit of 30 at most
    EXPECT_EQ(shown(w.ImpoziteGrid, 1), "-30");
    enter(w.TaxeGrid, 0, "500");
    EXPECT_EQ(shown(w.TaxeGrid, 0), "75");
    EXPECT_EQ(w.TotalAchitatL->text(), "45");

    auto* model = w.model(AccountGrid::Taxes);
    emit w.ImpoziteGrid->doubleClicked(model->index(0, 0)); // double click: the whole total
    EXPECT_EQ(shown(w.ImpoziteGrid, 0), "349");
    EXPECT_EQ(w.TotalAchitatL->text(), "394");

    w.DataCalc->setDate(QDate(2015, 3, 31)); // reduction offered, no penalties on the year
    EXPECT_EQ(w.TotalAchitatL->text(), "0");
    EXPECT_EQ(w.TotPlata1->text(), QString::number((100 + 4 + 180 + 15) + (-150 + 120) + 75));
}

// A negative amount on a line without credit is refused on the field with the words the
// command line uses, and the line keeps what it held.
TEST_F(AccountWindowTest, ANegativeAmountWithoutCreditIsRefusedOnTheField) {
    TGospodarieF w(f.env.services(), constants);
    w.prepareOpening(role, "CORBU");
    enter(w.ImpoziteGrid, 0, "-50");
    EXPECT_EQ(shown(w.ImpoziteGrid, 0), "");
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "Nu puteti scadea 50 lei din Impozit pe cladiri: linia nu are plus!");
    EXPECT_EQ(f.env.messages().hints()[0].anchor, "ImpoziteGrid");
}

TEST_F(AccountWindowTest, YearLockHidesThePaymentAndTheNewClaims) {
    TGospodarieF w(f.env.services(), constants);
    w.show();
    w.prepareOpening(role, "CORBU");
    EXPECT_TRUE(w.OperBut->isVisible());
    EXPECT_FALSE(w.OperBut->isEnabled()) << "no payment operation attached yet";
    f.counters().WriteCounter("SERVER", "ADMINBLOCAT2015", "DA");
    w.attach("FaraDebB", [] {});
    w.prepareOpening(role, "CORBU");
    EXPECT_FALSE(w.OperBut->isVisible());
    EXPECT_FALSE(w.AddTaxaB->isVisible());
    EXPECT_FALSE(w.FaraDebB->isEnabled());
}

TEST_F(AccountWindowTest, AddedFineAppearsInItsGrid) {
    CountersFile counters = f.counters();
    BudgetCodes(f.db(), f.env.folders().data, counters).EnsureCodesTable();
    TGospodarieF w(f.env.services(), constants);
    w.prepareOpening(role, "CORBU");
    TFTaxe& dialog = w.claimDialog();
    whenShown(dialog, [&dialog] {
        dialog.CreantaBox->setCurrentText("Iluminat");
        dialog.Suma->setText("40");
        dialog.MemoreazaBut->click();
    });
    w.AddTaxaBClick();
    ASSERT_EQ(w.model(AccountGrid::Claims)->rowCount(), 2);
    EXPECT_EQ(w.TotPlata1->text(), "434");
}

TEST_F(AccountWindowTest, DebitDetailsListTheCarriedArrears) {
    TFDetaliiDebite details(f.env.services());
    details.prepare("POPA ION - detalii debite", role);
    EXPECT_EQ(details.windowTitle(), "POPA ION - detalii debite");
    QAbstractItemModel* m = details.Grid->model();
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->index(0, 2).data().toString(), kCarriedArrearsName);
    EXPECT_EQ(m->index(0, 7).data().toLongLong(), 100);
}

TEST_F(AccountWindowTest, PickerFiltersAndChoosesWithEnter) {
    f.addRole("POPESCU ANA");
    f.addRole("ZAHARIA ION");
    TAvansatSearch picker(f.env.services());
    picker.takeSnapshot();
    picker.prepareOpening();
    EXPECT_EQ(picker.Grid->model()->rowCount(), 3);
    EXPECT_EQ(picker.Grid->currentIndex().row(), 2) << "on the last row";
    type(picker.NumeEd, "ion");
    EXPECT_EQ(picker.Grid->model()->rowCount(), 2) << "the name is found anywhere";
    pressEnter(picker.Grid);
    ASSERT_TRUE(picker.chosen());
    EXPECT_EQ(picker.chosen()->name, "ZAHARIA ION");

    picker.prepareOpening();
    type(picker.ROLEd, "77");
    picker.AlesButClick();
    EXPECT_FALSE(picker.chosen());
    ASSERT_FALSE(f.env.messages().hints().empty());
    EXPECT_EQ(f.env.messages().hints().back().text, "Nu ati ales nimic!");
}

} // namespace
