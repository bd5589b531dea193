// Page 12 of the register and the village-wide buttons, driven as the clerk would.

#include "role_test_util.h"

#include "roles/ui/claim_dialogs.h"
#include "roles/ui/debit_dialog.h"
#include "roles/ui/role_register_window.h"
#include "roles/ui/taxes_debits_page.h"
#include "roles/year_debit.h"
#include "admin/admin_constants.h"
#include "admin/budget_codes.h"
#include "support/gui_application.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using test::pressEnter;
using test::whenShown;

class TaxesDebitsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        CountersFile counters = f.counters();
        BudgetCodes(f.db(), f.env.folders().data, counters).EnsureCodesTable();
        ana = f.add("ALUNI", "1", "POPA ANA");
        f.add("ALUNI", "2", "POPESCU DAN");
        f.add("CORBU", "3", "BARBU ION");
        window = std::make_unique<TGospodarii>(f.env.services(), constants);
        window->setVillageList({"ALUNI", "CORBU"});
        window->prepareOpening();
        window->ListView1Click(13);
        page = static_cast<TaxesDebitsPage*>(window->page(13));
    }
    qint64 scalar(const QString& sql) { return f.db().scalar(sql.arg(f.env.folders().data)).toLongLong(); }

    test::RoleFolder f;
    AdminConstants constants;
    std::unique_ptr<TGospodarii> window;
    TaxesDebitsPage* page = nullptr;
    qint64 ana = 0;
};

TEST_F(TaxesDebitsPageTest, ManualLineAddedThenGuardedOnceCollected) {
    ASSERT_EQ(page->roleId(), ana);
    EXPECT_FALSE(page->EditTaxa->isEnabled());
    TFTaxe& d = page->claimDialog();
    whenShown(d, [&] {
        EXPECT_EQ(d.TitlulL->text(), "Adaugare Taxa / Amenda");
        d.CreantaBox->setCurrentText("Iluminat");
        d.Suma->setText("100");
        d.MemoreazaBut->click();
    });
    page->AddTaxaClick();
    ASSERT_EQ(page->TaxeGrid->model()->rowCount(), 1);
    EXPECT_TRUE(page->DelTaxa->isEnabled());
    EXPECT_EQ(page->TaxeGrid->model()->index(0, 0).data().toString(), "Iluminat");

    f.db().exec(QStringLiteral("UPDATE \"%1\" SET SUMA = 60").arg(f.path("Datorii.dbf"))); // 40 collected
    page->loadRole(ana);
    whenShown(d, [&] {
        EXPECT_EQ(d.CreantaBox->currentText(), "Iluminat");
        EXPECT_EQ(d.Suma->text(), "60");
        d.CreantaBox->setCurrentText("PSI");
        d.MemoreazaBut->click();
    });
    page->EditTaxaClick();
    page->DelTaxaClick();
    EXPECT_EQ(f.env.messages().titles(), QStringList({"Modificare taxa", "Stergere taxa / amenda"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"%1/Datorii.dbf\" WHERE GRUPA = 'Iluminat' AND SUMA2 = 100"), 1);
}

TEST_F(TaxesDebitsPageTest, SaleTypedWithEnterIsStoredNegativeAndReopenedPositive) {
    TAddImpozit& d = page->debitDialog();
    QStringList walk;
    whenShown(d, [&] {
        EXPECT_EQ(d.TitluL->text(), "Adaugare Debit");
        d.Categoria->setCurrentText("Vanzare");
        EXPECT_EQ(d.BDLabel->text(), "BS");
        d.Valoare->setText("120");
        d.Detalii->SupC->setText("70,5"); // the decimal comma of a Romanian keyboard
        pressEnter(d.Valoare);
        for (int i = 0; i < 6 && d.isVisible(); ++i) {
            walk << d.focusWidget()->objectName();
            pressEnter(d.focusWidget()); // the last field's Enter stores
        }
    });
    page->AddDebClick();
    EXPECT_EQ(walk, QStringList({"CladTip", "SupC", "CodMat", "ZonaC", "RangC", "AnC"}));
    ASSERT_EQ(page->DebiteGrid->model()->rowCount(), 1);
    EXPECT_EQ(scalar("SELECT SUMAINI FROM \"%1/Debit.dbf\""), -120);

    QString reopened;
    whenShown(d, [&] { reopened = d.Categoria->currentText() + ' ' + d.Valoare->text() + ' ' + d.Detalii->SupC->text(); });
    page->EditDebClick();
    EXPECT_EQ(reopened, "Vanzare 120 70.5");

    f.db().exec(QStringLiteral("UPDATE \"%1\" SET SUMAC = -100").arg(f.path("Debit.dbf")));
    page->loadRole(ana);
    f.env.messages().answerNext("NU");
    whenShown(d, [&] {
        d.Valoare->setText("150");
        d.MemoreazaBut->click();
    });
    page->EditDebClick();
    page->DelDebClick();
    EXPECT_EQ(f.env.messages().titles(), QStringList({"Modifica debit", "Stergere Debit"}));
    EXPECT_EQ(scalar("SELECT SUMAINI FROM \"%1/Debit.dbf\""), -120) << "No to the question changes nothing";
}

TEST_F(TaxesDebitsPageTest, VillageTaxNeedsAVillageThenChargesItAndShowsOnThePage) {
    window->SatCombo->setEditText("");
    window->AddTaxaToti();
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].anchor, "SatCombo");

    window->SatCombo->setEditText("ALUNI");
    TFAddTaxaFixa& d = window->fixedTaxDialog();
    whenShown(d, [&] {
        d.Taxa->setCurrentText("Salubritate");
        d.Cant->setText("35");
        d.AdaugaBut->click();
    });
    f.env.messages().answerNext("DA");
    window->AddTaxaToti();
    ASSERT_EQ(f.env.messages().shown().size(), 2u);
    EXPECT_EQ(f.env.messages().shown()[0].text, "Adaugam la toata localitatea ALUNI taxa Salubritate\r in valoare de 35 lei ?");
    EXPECT_EQ(f.env.messages().shown()[1].text,
              "Taxa Salubritate, in valoare de 35 lei\ra fost adaugata la toata localitatea ALUNI.");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"%1/Datorii.dbf\" WHERE GRUPA = 'Salubritate' AND SATUL = 'ALUNI'"), 2);
    EXPECT_EQ(page->TaxeGrid->model()->rowCount(), 1) << "the open page shows the new line";
}

TEST_F(TaxesDebitsPageTest, PaymentButtonsAssessTheCurrentRoleOrEveryVillage) {
    auto& messages = f.env.messages();
    window->SatCombo->setEditText("");
    window->findChild<QPushButton*>("AddLaPlata")->click();
    ASSERT_FALSE(messages.hints().empty());
    EXPECT_EQ(messages.hints().back().text, "Nu ati ales Localitatea!");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"%1/SoldCalc.dbf\""), 0);

    window->SatCombo->setEditText("ALUNI");
    window->findChild<QPushButton*>("AddLaPlata")->click();
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_EQ(messages.shown().back().text, window->search().currentRole()->number + " a fost adaugat la plata.");
    const int oneRole = scalar("SELECT COUNT(DISTINCT IDGOS) FROM \"%1/SoldCalc.dbf\"");
    EXPECT_EQ(oneRole, 1);

    messages.answerNext("NU");
    window->findChild<QPushButton*>("AddAllPlata")->click();
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT IDGOS) FROM \"%1/SoldCalc.dbf\""), oneRole);
    messages.answerNext("DA");
    window->findChild<QPushButton*>("AddAllPlata")->click();
    EXPECT_EQ(messages.shown().back().text, "Au fost adaugate la plata 3 ROL-uri si respinse 0 ROL-uri.");
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT IDGOS) FROM \"%1/SoldCalc.dbf\""), 3);
}

TEST_F(TaxesDebitsPageTest, UnattendedRunAddsEveryVillageWithoutQuestionsAndCloses) {
    const size_t before = f.env.messages().shown().size();
    window->StartAutoAdd();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(f.env.messages().shown().size(), before) << "no question, no report";
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT IDGOS) FROM \"%1/SoldCalc.dbf\""), 3);
}

} // namespace
