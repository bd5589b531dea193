// TFAlegeROL driven as a clerk would: the range check, the controls each caller shows, what a
// new show keeps, Enter and Escape.

#include "registers_test_util.h"

#include "documents/ui/role_selection_dialog.h"
#include "support/gui_application.h"
#include "shell/startup.h"
#include "support/layout_guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

void prepareRegisters(TFAlegeROL& d) {
    d.prepare("Registrul Matricol", "Inclusiv gospodariile fara patrimoniu", false, true, true, false);
}

TEST(RoleSelectionDialog, ListeazaRefusesARangeRunningBackwards) {
    ensureGuiApplication();
    const struct {
        const char *from, *to;
        bool refused;
    } cases[] = {{"20", "5", true}, {"0", "0", false}, {"5", "20", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + "-" + c.to);
        RoleListFolder f;
        TFAlegeROL d(f.env.services());
        prepareRegisters(d);
        d.ROL0->setText(c.from);
        d.ROL1->setText(c.to);
        d.MemoButClick();
        ASSERT_EQ(f.env.messages().hints().size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(f.env.messages().hints()[0].text, "Interval incorect!");
            EXPECT_EQ(f.env.messages().hints()[0].anchor, "ROL0");
        }
        EXPECT_EQ(d.result() == QDialog::Accepted, !c.refused);
    }
}

TEST(RoleSelectionDialog, ShowsWhatTheCallerAsksAndChoosesEveryVillageAgain) {
    ensureGuiApplication();
    RoleListFolder f;
    f.role("CORBU", "1", "A");
    f.role("ALUNI", "2", "B");
    TFAlegeROL d(f.env.services());
    d.prepare("Lista cu Ramasite", "Excludem ROL-urile fara Ramasite", true, false, true, true);
    EXPECT_EQ(d.windowTitle(), "Listare");
    EXPECT_EQ(d.Label2->text(), "Lista cu Ramasite");
    EXPECT_EQ(d.SiZero->text(), "Excludem ROL-urile fara Ramasite");
    EXPECT_TRUE(d.TipPers->isHidden() && d.TipPersLabel->isHidden()) << "the person type hides with its label";
    EXPECT_FALSE(d.AdresaSort->isHidden());
    EXPECT_EQ(d.DataC->date(), QDate(WorkingYear().toInt(), 12, 31));
    EXPECT_TRUE(QFileInfo::exists(f.path("Sate.lst"))) << "written on first use";

    prepareRegisters(d);
    EXPECT_TRUE(d.DataC->isHidden() && d.DataCLabel->isHidden());
    EXPECT_TRUE(d.AdresaSort->isHidden());
    EXPECT_FALSE(d.TipPers->isHidden());
    d.SatulX->setCurrentIndex(2);
    d.TipPers->setCurrentIndex(2);
    d.ROL0->setText("3");
    d.ROL1->setText("9");
    d.SiZero->setChecked(true);
    prepareRegisters(d);
    EXPECT_EQ(d.SatulX->currentText(), " * toate *");
    EXPECT_EQ(d.SatulX->count(), 3);
    const RoleSelection s = d.selection();
    EXPECT_TRUE(s.village.isEmpty());
    EXPECT_EQ(s.person, PersonChoice::Legal);
    EXPECT_EQ(std::pair(s.fromRole, s.toRole), std::pair(qint64(3), qint64(9)));
    EXPECT_TRUE(s.siZero);
    d.show();
    EXPECT_EQ(LayoutFaults(&d), QStringList());
    d.hide();
}

TEST(RoleSelectionDialog, EnterWalksToListeazaAndEscapeCancels) {
    ensureGuiApplication();
    RoleListFolder f;
    f.role("CORBU", "1", "A");
    TFAlegeROL d(f.env.services());
    whenShown(d, [&] {
        d.SatulX->setCurrentIndex(1);
        type(d.ROL1, "5");
        pressEnter(d.SiZero);
    });
    const std::optional<RoleSelection> chosen =
        d.ChooseRoles("Registrul Matricol", "Inclusiv gospodariile fara patrimoniu", false, true, true, false);
    ASSERT_TRUE(chosen) << "Enter in the last field presses Listeaza";
    EXPECT_EQ(chosen->village, "CORBU");
    EXPECT_EQ(chosen->toRole, 5);

    whenShown(d, [&] { QTest::keyClick(d.SatulX, Qt::Key_Escape); });
    EXPECT_FALSE(d.ChooseRoles("Registrul Matricol", "", false, true, true, false));
}

} // namespace
