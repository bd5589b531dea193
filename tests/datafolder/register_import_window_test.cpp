// The manual import from the agricultural register on the screen: the choice window and the
// steps from the chosen file to the success message.

#include "datafolder/register_demo.h"
#include "datafolder/ui/register_import_window.h"
#include "roles/role_test_util.h"
#include "support/gui_application.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vartesa {
namespace {

TEST(RegisterImportWindow, TakingNothingIsRefusedWithABalloon) {
    test::ensureGuiApplication();
    test::TestServices env;
    TRA2015Sel window(env.services());
    window.reset(2015, 42);
    EXPECT_EQ(window.findChild<QLabel*>("NrPozL")->text(), "42");
    EXPECT_TRUE(window.choice().land && window.choice().buildings);
    window.findChild<QCheckBox*>("TerenCB")->setChecked(false);
    window.findChild<QCheckBox*>("CladCB")->setChecked(false);
    window.PreiaClick();
    ASSERT_EQ(env.messages().hints().size(), 1u);
    EXPECT_EQ(env.messages().hints()[0].text, "Nu ati selectat nimic!");
    EXPECT_NE(window.result(), QDialog::Accepted);
}

TEST(RegisterImportWindow, AChosenBackupIsImportedAfterTheChoice) {
    test::ensureGuiApplication();
    test::RoleFolder f;
    f.add("VARTESA", "1", "A");
    const QString archive = f.env.root() + "/ra.rg2";
    WriteDemoRegister(f.db(), f.env.folders().data, 2015, archive, {2, 1});
    TRA2015Sel choice(f.env.services());
    RegisterImportScreens screens;
    int shownPositions = 0;
    screens.chooseFile = [&] { return archive; };
    screens.confirm = [&](TRA2015Sel& d) {
        shownPositions = d.findChild<QLabel*>("NrPozL")->text().toInt();
        return true;
    };
    EXPECT_TRUE(PreluareRA1Click(f.env.services(), choice, screens));
    EXPECT_EQ(shownPositions, 3); // the role and two new households; cancelled and unnumbered left out
    EXPECT_EQ(f.env.messages().shown().back().text, "Preluarea s-a incheiat cu succes !");
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(f.path("Gospodar.dbf"))).toInt(), 3);

    screens.chooseFile = [&] { return f.env.root() + "/ra.vsa"; };
    EXPECT_FALSE(PreluareRA1Click(f.env.services(), choice, screens));
    EXPECT_EQ(f.env.messages().shown().back().title, "Preluare date");
}

} // namespace
} // namespace vartesa
