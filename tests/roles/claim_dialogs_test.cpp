// The taxes and fines dialog and the fixed-tax dialog, driven as the clerk would.

#include "roles/ui/claim_dialogs.h"
#include "admin/budget_codes.h"
#include "shell/counters.h"
#include "support/gui_application.h"
#include "support/scripted_services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using test::type;
using test::pressEnter;
using test::whenShown;

class ClaimDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        env = std::make_unique<test::TestServices>();
        counters = std::make_unique<CountersFile>(env->services().counters());
        BudgetCodes codes(env->services().database(), env->folders().data, *counters);
        codes.EnsureCodesTable();
        env->clock().setToday(QDate(2015, 4, 20));
    }
    std::unique_ptr<test::TestServices> env;
    std::unique_ptr<CountersFile> counters;
};

QStringList items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

} // namespace

TEST_F(ClaimDialogs, ResetOffersTheClaimsOtherThanTheLocalTaxes) {
    TFTaxe dialog(env->services());
    dialog.ResetClaimDialog();
    EXPECT_EQ(items(dialog.CreantaBox), (QStringList{"Auto neinmatriculate", "Concesionari", "Iluminat", "PSI", "Paza",
                                                     "Salubritate", "Taxa pe pasune", "Vehicule lente"}));
    EXPECT_EQ(dialog.CreantaBox->currentIndex(), 0);
    EXPECT_EQ(dialog.DINDATA->date(), QDate(2015, 4, 20));
    EXPECT_EQ(dialog.Suma->text(), "0");
    EXPECT_EQ(dialog.Nr->text(), "0");
}

TEST_F(ClaimDialogs, AmountRulesOfMemoreaza) {
    struct Row {
        const char *current, *arrears, *reduction;
        bool accepted;
        const char* hint;    // balloon at the reduction field
        const char* message; // problem window
    };
    const Row rows[] = {
        {"100", "50", "0", false, "Nu puteti adauga si Curent si Restanta simultan!", nullptr},
        {"100", "0", "20", true, nullptr, nullptr},
        {"0", "0", "0", false, nullptr, "Nu ati trecut nici o suma!"},
        {"0", "0", "15", true, nullptr, nullptr},
        {"0", "70", "0", true, nullptr, nullptr},
    };
    TFTaxe dialog(env->services());
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.current) + "/" + r.arrears + "/" + r.reduction);
        env->messages().clearShown();
        dialog.ResetClaimDialog();
        bool stayedOpen = false;
        whenShown(dialog, [&] {
            type(dialog.Suma, r.current);
            type(dialog.Rest, r.arrears);
            type(dialog.Reduc, r.reduction);
            dialog.MemoreazaClick();
            stayedOpen = dialog.isVisible();
        });
        EXPECT_EQ(dialog.ShowClaimDialog("Adaugare Taxa / Amenda"), r.accepted);
        EXPECT_EQ(stayedOpen, !r.accepted);
        if (r.hint) {
            ASSERT_FALSE(env->messages().hints().empty());
            EXPECT_EQ(env->messages().hints().back().text, r.hint);
            EXPECT_EQ(env->messages().hints().back().anchor, "Reduc");
        }
        if (r.message) {
            ASSERT_FALSE(env->messages().shown().empty());
            EXPECT_EQ(env->messages().shown().back().title, "Adaugare creanta");
            EXPECT_EQ(env->messages().shown().back().text, r.message);
        }
    }
}

TEST_F(ClaimDialogs, EnterWalksTheFieldsAndAcceptsFromTheLast) {
    TFTaxe dialog(env->services());
    dialog.ResetClaimDialog();
    whenShown(dialog, [&] {
        type(dialog.Nr, "12");
        type(dialog.DOCJUS, "  Proces   verbal  nr 3 ");
        type(dialog.Suma, "250");
        pressEnter(dialog.Suma);
        EXPECT_EQ(dialog.focusWidget(), dialog.Rest);
        pressEnter(dialog.Rest);
        pressEnter(dialog.Reduc); // the last field presses "Memoreaza"
    });
    ASSERT_TRUE(dialog.ShowClaimDialog("Adaugare Taxa / Amenda"));
    EXPECT_EQ(dialog.TitlulL->text(), "Adaugare Taxa / Amenda");
    EXPECT_EQ(dialog.explanation(), "Proces verbal nr 3");
    EXPECT_EQ(dialog.amounts().current, 250);
    EXPECT_EQ(dialog.claim(), "Auto neinmatriculate");

    // The number is offered again at the next addition.
    dialog.ResetClaimDialog();
    EXPECT_EQ(dialog.Nr->text(), "12");
    EXPECT_EQ(dialog.DOCJUS->text(), "");
}

TEST_F(ClaimDialogs, AmountsHoldNoMoreThanTheLedgerCanStore) {
    TFTaxe dialog(env->services());
    type(dialog.Suma, "12345678");
    EXPECT_EQ(dialog.Suma->text(), "123456");
    type(dialog.Rest, "-5");
    EXPECT_EQ(dialog.Rest->text(), "5");
}

TEST_F(ClaimDialogs, CodesButtonRefillsTheListAndSelectsTheFirstClaim) {
    TFTaxe dialog(env->services());
    dialog.ResetClaimDialog();
    dialog.CreantaBox->setCurrentText("Paza");
    bool opened = false;
    dialog.openCodesWindow = [&] {
        opened = true;
        BudgetCodes codes(env->services().database(), env->folders().data, *counters);
        codes.add("Amenzi circulatie", "21.01", "21.01");
    };
    dialog.CoduriClick();
    EXPECT_TRUE(opened);
    EXPECT_EQ(dialog.CreantaBox->currentText(), "Amenzi circulatie");
    EXPECT_EQ(dialog.CreantaBox->count(), 9);
}

TEST_F(ClaimDialogs, FixedTaxDialogModesAndItsRefusalOfZero) {
    TFAddTaxaFixa dialog(env->services());
    whenShown(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Adauga taxa la toti");
        EXPECT_EQ(dialog.CantL->text(), "Valoare");
        EXPECT_EQ(dialog.TitluL->text(), "Definire taxa");
        EXPECT_EQ(items(dialog.Taxa).size(), 8);
        EXPECT_EQ(dialog.Taxa->currentText(), "Auto neinmatriculate");
        dialog.AdaugaClick(); // value 0: refused
        EXPECT_TRUE(dialog.isVisible());
        dialog.Taxa->setCurrentText("Salubritate");
        type(dialog.Cant, "35");
        dialog.CuCase->setChecked(true);
        pressEnter(dialog.Cant);
    });
    ASSERT_TRUE(dialog.ShowFixedTaxDialog(true));
    ASSERT_FALSE(env->messages().hints().empty());
    EXPECT_EQ(env->messages().hints().back().anchor, "Cant");
    EXPECT_EQ(dialog.tax(), "Salubritate");
    EXPECT_EQ(dialog.value(), 35);
    EXPECT_TRUE(dialog.onlyWithHouses());

    whenShown(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Alte taxe");
        EXPECT_EQ(dialog.CantL->text(), "cantitatea");
        EXPECT_EQ(items(dialog.Taxa), (QStringList{"Concesionari", "Iluminat", "Salubritate", "PSI", "Paza", "Vehicule lente"}));
        EXPECT_EQ(dialog.Cant->text(), "35"); // kept from the last opening
        EXPECT_TRUE(dialog.CuCase->isChecked());
        dialog.Taxa->setCurrentIndex(4);
        dialog.AdaugaClick();
    });
    ASSERT_TRUE(dialog.ShowFixedTaxDialog(false));
    EXPECT_EQ(dialog.tax(), "Paza");
    EXPECT_EQ(dialog.taxPosition(), 5);

    // A quantity of 0 clears the tax for the village: taken in the other-taxes mode.
    whenShown(dialog, [&] {
        type(dialog.Cant, "0");
        pressEnter(dialog.Cant);
    });
    EXPECT_TRUE(dialog.ShowFixedTaxDialog(false));
    EXPECT_EQ(dialog.value(), 0);
}
