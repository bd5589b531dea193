// TPerSelect driven as a clerk would: the villages offered, the three checks of
// "Raporteaza" with their balloons, Enter and Escape.

#include "notices_test_util.h"

#include "documents/ui/report_selection_dialog.h"
#include "roles/village_list.h"
#include "support/gui_application.h"
#include "support/layout_guard.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

TEST(ReportSelectionDialog, OffersTheVillagesOfTheListElseThoseOfTheBalances) {
    ensureGuiApplication();
    NoticeFolder f;
    f.owing("1", 10); // a balance row in CORBU
    TPerSelect d(f.env.services());
    d.prepare(kNoticesTitle);
    EXPECT_EQ(d.TitlulL->text(), "Instiintari de plata");
    EXPECT_EQ(d.windowTitle(), "Rapoarte");
    EXPECT_EQ(d.SATUL->count(), 1);
    EXPECT_EQ(d.SATUL->currentText(), "CORBU");
    WriteVillageList(f.env.folders().data + "/Sate.lst", {"ALUNI", "CORBU"});
    d.prepare(kNoticesTitle);
    EXPECT_EQ(d.SATUL->count(), 2);
    EXPECT_EQ(d.SATUL->currentText(), "ALUNI") << "the first village is chosen";
    d.show();
    EXPECT_EQ(LayoutFaults(&d), QStringList());
    d.hide();
}

TEST(ReportSelectionDialog, RaporteazaChecksTheVillageThenTheRange) {
    ensureGuiApplication();
    const struct {
        bool village;
        const char *from, *to;
        const char *hint, *anchor; // none: the dialog closes with true
    } cases[] = {
        {false, "5", "3", "Nu aveti nici o localitate selectata!", "SATUL"},
        {true, "5", "3", "Interval incorect!", "ROL0"},
        {true, "0", "0", "Nu ati ales intervalul!", "ROL1"},
        {true, "0", "1", nullptr, nullptr},
        {true, "5", "20.9", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + "-" + c.to);
        NoticeFolder f;
        if (c.village) f.owing("1", 10);
        TPerSelect d(f.env.services());
        d.prepare(kNoticesTitle);
        d.ROL0->setText(c.from);
        d.ROL1->setText(c.to);
        d.MemoButClick();
        if (c.hint) {
            ASSERT_EQ(f.env.messages().hints().size(), 1u);
            EXPECT_EQ(f.env.messages().hints()[0].text, c.hint);
            EXPECT_EQ(f.env.messages().hints()[0].anchor, c.anchor);
            EXPECT_NE(d.result(), QDialog::Accepted);
        } else {
            EXPECT_TRUE(f.env.messages().hints().empty());
            EXPECT_EQ(d.result(), QDialog::Accepted);
        }
    }
}

TEST(ReportSelectionDialog, EnterWalksToRaporteazaAndEscapeCancels) {
    ensureGuiApplication();
    NoticeFolder f;
    f.owing("1", 10);
    f.env.clock().setToday({2015, 10, 10});
    TPerSelect d(f.env.services());
    bool shown = false;
    whenShown(d, [&] {
        d.ROL1->setText("1");
        type(d.NrInreg, "120");
        pressEnter(d.DataInreg);
    });
    shown = d.ShowSelection(kNoticesTitle);
    EXPECT_TRUE(shown) << "Enter in the registration date presses Raporteaza";
    const NoticeChoice c = d.choice();
    EXPECT_EQ(c.village, "CORBU");
    EXPECT_EQ(c.firstNumber, 120);
    EXPECT_EQ(c.date, QDate(2015, 10, 10));
    EXPECT_EQ(c.registered, QDate(2015, 10, 10));

    whenShown(d, [&] { QTest::keyClick(d.SATUL, Qt::Key_Escape); });
    EXPECT_FALSE(d.ShowSelection(kNoticesTitle));
}

} // namespace
