// The garnishment from the account screen, as the clerk runs it: the title dialog's checks and
// the third party it offers again, and a document that does not depend on the screen's date.

#include "garnishment_test_util.h"

#include "admin/admin_constants.h"
#include "cash/ui/account_window.h"
#include "documents/ui/garnishment_windows.h"
#include "support/gui_application.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

TEST(GarnishmentWindows, TheTitleDialogRefusesAnEmptyNumberAndOffersTheThirdPartyAgain) {
    ensureGuiApplication();
    GarnishmentFolder f;
    TAddNrTitlu dialog(f.env.services());
    std::optional<ThirdParty> first, second;
    whenShown(dialog, [&] {
        type(dialog.NrTitlu, "   ");
        dialog.MemoBut->click();
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
        type(dialog.NrTitlu, " 77   B ");
        type(dialog.NumeTert, "BANCA X");
        type(dialog.SediuTert, "BISTRITA");
        dialog.MemoBut->click();
    });
    first = dialog.AskTitle();
    whenShown(dialog, [&] {
        EXPECT_EQ(dialog.NrTitlu->text(), "") << "the number is typed anew";
        EXPECT_TRUE(dialog.NrTitlu->hasFocus());
        type(dialog.NrTitlu, "78");
        dialog.MemoBut->click();
    });
    second = dialog.AskTitle();
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "Nu ati scris nimic!");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->title, "77 B");
    EXPECT_EQ(std::tuple(second->title, second->name, second->seat), std::tuple("78", "BANCA X", "BISTRITA"));
}

TEST(GarnishmentWindows, TheScreensDateDoesNotChangeTheDocument) {
    ensureGuiApplication();
    GarnishmentFolder f;
    f.env.clock().setToday({2015, 10, 10});
    const qint64 role = f.debtor("POPA ION");
    AdminConstants constants;
    constants.load(f.env.services());
    TGospodarieF account(f.env.services(), constants);
    account.prepareOpening(role, "CORBU");
    TAddNrTitlu dialog(f.env.services());
    const QString document = f.env.folders().program + "/Pop0.rtf";
    auto garnish = [&] {
        whenShown(dialog, [&] {
            type(dialog.NrTitlu, "77");
            dialog.MemoBut->click();
        });
        PoprireP(f.env.services(), account, dialog, GarnishmentTo::Bank);
        return fileBytes(document);
    };
    const QByteArray today = garnish();
    ASSERT_FALSE(today.isEmpty());
    account.DataCalc->setDate({2015, 4, 1});
    EXPECT_EQ(garnish(), today);
}

} // namespace
