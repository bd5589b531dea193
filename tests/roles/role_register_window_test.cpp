// The register screen and its form, driven as the clerk would: searching, adding through
// the form with Enter, editing, deleting after the four questions, switching pages.

#include "role_test_util.h"

#include "roles/ui/role_dialog.h"
#include "roles/ui/role_register_window.h"
#include "admin/admin_constants.h"
#include "support/gui_application.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using test::type;
using test::pressEnter;
using test::whenShown;

// A declaration page that reports unsaved changes and counts its saves.
class ChangedPage final : public RolePageWidget {
public:
    void loadRole(qint64 id) override { loaded = id; }
    bool isModified() const override { return true; }
    void save() override { ++saves; }
    qint64 loaded = 0;
    int saves = 0;
};

class RoleWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        f.add("ALUNI", "1", "POPA ANA");
        f.add("ALUNI", "2", "POPESCU DAN");
        f.add("CORBU", "3", "BARBU ION");
        window = std::make_unique<TGospodarii>(f.env.services(), constants);
        window->setVillageList({"ALUNI", "CORBU"});
        window->prepareOpening();
    }
    QString currentName() const {
        const Role* r = window->search().currentRole();
        return r ? r->name : QString();
    }

    test::RoleFolder f;
    AdminConstants constants;
    std::unique_ptr<TGospodarii> window;
};

TEST_F(RoleWindowTest, OpensOnEveryRoleAndCountsThem) {
    EXPECT_EQ(window->SMDBGrid3->model()->rowCount(), 3);
    EXPECT_EQ(window->TotalGosp->text(), "Total gospodarii afisate: 3");
    EXPECT_EQ(window->PageControl->currentIndex(), 0);
}

TEST_F(RoleWindowTest, StartUpSelectsTheFirstVillage) {
    window->selectFirstVillage();
    EXPECT_EQ(window->SatCombo->currentText(), "ALUNI");
    EXPECT_EQ(window->SMDBGrid3->model()->rowCount(), 2);
}

TEST_F(RoleWindowTest, NameTypingPositionsAndNumberTypingFilters) {
    window->SatCombo->setEditText("ALUNI");
    type(window->CapGosp, "POPE");
    EXPECT_EQ(window->SMDBGrid3->model()->rowCount(), 2);
    EXPECT_EQ(currentName(), "POPESCU DAN");
    EXPECT_EQ(window->ROLEd->text(), "2");
    window->ROLEd->clear();
    type(window->ROLEd, "1");
    EXPECT_EQ(window->TotalGosp->text(), "Total gospodarii afisate: 1");
    EXPECT_EQ(currentName(), "POPA ANA");
}

TEST_F(RoleWindowTest, AddEnterWalksTheFormAndTheNewRoleIsFoundAndEdited) {
    TAddGosF& d = window->roleDialog();
    QStringList walk;
    whenShown(d, [&] {
        EXPECT_EQ(d.windowTitle(), "Adaugare gospodarie");
        EXPECT_EQ(d.ROLEd->text(), "4") << "the proposed number";
        type(d.SatCombo->lineEdit(), "valea");
        pressEnter(d.SatCombo->lineEdit());
        walk << d.focusWidget()->objectName();
        type(d.CapGosp, "sc \"alfa\" srl");
        pressEnter(d.Memo1); // Enter on the last field presses "&Memoreaza"
    });
    window->AddGospodarie();
    EXPECT_EQ(walk, QStringList{"ROLEd"});
    EXPECT_TRUE(window->villageList().contains("VALEA"));
    EXPECT_EQ(test::fileBytes(f.path("Sate.lst")), QByteArray("ALUNI\r\nCORBU\r\nVALEA\r\n"));
    EXPECT_EQ(currentName(), "SC \"ALFA\" SRL");

    window->SatCombo->setEditText("");
    window->CapGosp->clear();
    type(window->CapGosp, "SC \"AL");
    EXPECT_EQ(currentName(), "SC \"ALFA\" SRL");
    whenShown(d, [&] {
        EXPECT_EQ(d.CapGosp->text(), "SC \"ALFA\" SRL");
        d.CapGosp->setText("SC \"ALFA\" SRL BIS");
        d.MemoreazaBut->click();
    });
    window->EditGospodarie();
    EXPECT_EQ(currentName(), "SC \"ALFA\" SRL BIS");
}

TEST_F(RoleWindowTest, AWrongCodeKeepsTheFormOpenWithABalloonAtTheCode) {
    TAddGosF& d = window->roleDialog();
    bool stillOpen = false;
    whenShown(d, [&] {
        d.SatCombo->setEditText("ALUNI");
        d.CapGosp->setText("ION");
        d.CNP1->setText("1800101221145");
        d.MemoreazaBut->click();
        stillOpen = d.isVisible();
    });
    window->AddGospodarie();
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "CNP / CUI incorect!");
    EXPECT_EQ(f.env.messages().hints()[0].anchor, "CNP1");
    EXPECT_EQ(window->search().total(), 3);
}

TEST_F(RoleWindowTest, DeleteAfterFourYesesMovesToTheNeighbour) {
    window->SMDBGrid3->setCurrentIndex(window->SMDBGrid3->model()->index(1, 0)); // POPESCU DAN
    const qint64 id = window->search().currentRole()->id;
    f.env.messages().answerNext("DA");
    f.env.messages().answerNext("NU"); // second question: nothing happens
    window->DelGospodarie();
    EXPECT_EQ(window->search().total(), 3);
    for (int i = 0; i < 4; ++i) f.env.messages().answerNext("DA");
    window->DelGospodarie();
    EXPECT_FALSE(f.roles.role(id));
    EXPECT_EQ(window->search().total(), 2);
    EXPECT_EQ(currentName(), "POPA ANA") << "the previous row";
}

TEST_F(RoleWindowTest, PagesSwitchOnlyWithARoleAndAskAboutUnsavedChanges) {
    auto* page = new ChangedPage;
    window->setPage(3, page);
    window->ListView1Click(1);
    EXPECT_EQ(window->currentEntry(), 0) << "the heading does nothing";
    window->ListView1Click(3);
    EXPECT_EQ(page->loaded, window->search().currentRole()->id);
    EXPECT_EQ(window->HeaderNume->text(), currentName() + ", nr.ROL: " + window->search().currentRole()->number);
    f.env.messages().answerNext("DA");
    window->ListView1Click(0);
    EXPECT_EQ(page->saves, 1);
    EXPECT_EQ(f.env.messages().titles(), QStringList{"Date nememorate"});
}

} // namespace
