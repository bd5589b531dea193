// The register screen and its form, driven as the clerk would: searching, adding through
// the form with Enter, editing, deleting after the four questions, switching pages.

#include "role_test_util.h"

#include "roles/ui/role_dialog.h"
#include "roles/ui/role_register_window.h"
#include "roles/village_list.h"
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
#include <QApplication>
#include <QCompleter>
#include <QTimer>
#include <QToolButton>

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
        f.env.messages().answerNext("DA"); // VALEA is not in the list yet
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

// --- the clerk's day: what the register's windows must not do -------------------------------

// Sends one key to the suggestion list when it is open, as the keyboard does, else to `field`.
void key(QWidget* field, Qt::Key k) {
    QWidget* to = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : field;
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &press);
}

TEST_F(RoleWindowTest, TabKeepsTheAddressAsTypedInsteadOfAnotherHouseholds) {
    Role neighbour = *f.roles.role(1);
    neighbour.address = QString::fromUtf8("Str. \u015Ecolii nr. 53");
    f.roles.editRole(neighbour);
    WriteVillageList(f.path("Sate.lst"), {"ALUNI", "CORBU"});
    TAddGosF& d = window->roleDialog();
    const QString typed = QString::fromUtf8("Str. \u015Ecolii nr. 5");
    whenShown(d, [&] {
        d.SatCombo->setEditText("ALUNI");
        d.CapGosp->setText("ION");
        d.Adresa->lineEdit()->setFocus();
        type(d.Adresa->lineEdit(), typed);
        key(d.Adresa->lineEdit(), Qt::Key_Tab);
        if (QApplication::activePopupWidget()) QApplication::activePopupWidget()->hide();
        d.MemoreazaBut->click();
    });
    window->AddGospodarie();
    ASSERT_TRUE(window->search().currentRole());
    EXPECT_EQ(window->search().currentRole()->address, typed);
}

TEST_F(RoleWindowTest, AVillageNotInTheListIsAddedOnlyAfterAskingWithNuOnEnter) {
    TAddGosF& d = window->roleDialog();
    const struct {
        const char* answer;
        int roles;
        bool listed;
    } cases[] = {{"NU", 3, false}, {"DA", 4, true}};
    for (const auto& c : cases) {
        f.env.messages().clearShown();
        f.env.messages().answerNext(c.answer);
        whenShown(d, [&] {
            d.SatCombo->setEditText("SAT INEXISTENT");
            d.CapGosp->setText("ION");
            d.MemoreazaBut->click();
        });
        window->AddGospodarie();
        ASSERT_EQ(f.env.messages().shown().size(), 1u);
        EXPECT_EQ(f.env.messages().shown()[0].text, "Localitatea SAT INEXISTENT nu este in lista. O adaugam?");
        EXPECT_EQ(f.env.messages().shown()[0].enterButton, MessageButton::Nu);
        EXPECT_EQ(window->search().total(), c.roles) << c.answer;
        EXPECT_EQ(window->villageList().contains("SAT INEXISTENT"), c.listed) << c.answer;
    }
}

TEST_F(RoleWindowTest, ATextLongerThanItsFieldIsRefusedWithABalloonNotCut) {
    TAddGosF& d = window->roleDialog();
    const QString sixty(60, QChar('N'));
    d.CapGosp->setText("ION");
    d.CapGosp->selectAll();
    d.CapGosp->insert(sixty); // what a paste does
    EXPECT_EQ(d.CapGosp->text(), "ION") << "neither cut to 40 nor emptied";
    ASSERT_FALSE(f.env.messages().hints().empty());
    EXPECT_EQ(f.env.messages().hints().back().anchor, "CapGosp");
    EXPECT_EQ(f.env.messages().hints().back().text, "Textul are 60 caractere, aici incap cel mult 40!");
}

TEST_F(RoleWindowTest, NamesFollowTheRomanianAlphabet) {
    const QStringList names = {QString::fromUtf8("\u0162URCANU"), QString::fromUtf8("\u0162\u0102RANU"),
                               "MUNTEANU", QString::fromUtf8("M\u0102RGINEANU"), "CIOBANU VASILE",
                               QString::fromUtf8("CIOBANU \u015ETEFAN"), "SOARE", "TOMA"};
    int number = 100;
    for (const QString& n : names) f.add("DEALU", QString::number(++number), n);
    window->prepareOpening();
    window->SatCombo->setEditText("DEALU");
    QStringList shown;
    for (int row = 0; row < window->SMDBGrid3->model()->rowCount(); ++row)
        shown << window->SMDBGrid3->model()->index(row, 0).data().toString();
    EXPECT_EQ(shown, (QStringList{"CIOBANU " + QString::fromUtf8("\u015ETEFAN"), "CIOBANU VASILE",
                                  QString::fromUtf8("M\u0102RGINEANU"), "MUNTEANU", "SOARE", "TOMA",
                                  QString::fromUtf8("\u0162\u0102RANU"), QString::fromUtf8("\u0162URCANU")}));
}

TEST_F(RoleWindowTest, TheSearchFieldsShowTheSelectedRoleAfterReopeningAndAfterADeletion) {
    const auto fieldsShowCurrent = [this](const char* when) {
        const Role* r = window->search().currentRole();
        EXPECT_EQ(window->ROLEd->text(), r ? r->number : QString()) << when;
        EXPECT_EQ(window->CapGosp->text(), r ? r->name : QString()) << when;
    };
    window->SMDBGrid3->setCurrentIndex(window->SMDBGrid3->model()->index(2, 0)); // BARBU ION, 3
    window->prepareOpening();
    fieldsShowCurrent("after reopening");

    window->SMDBGrid3->setCurrentIndex(window->SMDBGrid3->model()->index(1, 0));
    const QString deleted = window->search().currentRole()->number;
    for (int i = 0; i < 4; ++i) f.env.messages().answerNext("DA");
    window->DelGospodarie();
    EXPECT_NE(window->ROLEd->text(), deleted);
    fieldsShowCurrent("after the deletion");
}

TEST_F(RoleWindowTest, ClearingTheVillageShowsAsManyRolesAsItCounts) {
    window->SatCombo->setCurrentIndex(window->SatCombo->findText("ALUNI"));
    ASSERT_EQ(window->SMDBGrid3->model()->rowCount(), 2);
    QLineEdit* village = window->SatCombo->lineEdit();
    village->setFocus();
    village->selectAll();
    key(village, Qt::Key_Backspace);
    const int rows = window->SMDBGrid3->model()->rowCount();
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(window->TotalGosp->text(), QStringLiteral("Total gospodarii afisate: %1").arg(rows));
    window->findChild<QToolButton*>("NavLast")->click();
    EXPECT_EQ(currentName(), "BARBU ION") << "the last row of every village";
}

TEST_F(RoleWindowTest, EnterAnswersNuToEveryQuestionOfADeletion) {
    for (int i = 0; i < 4; ++i) f.env.messages().answerNext("DA");
    window->DelGospodarie();
    ASSERT_EQ(f.env.messages().shown().size(), 4u);
    for (const test::ShownMessage& m : f.env.messages().shown())
        EXPECT_EQ(m.enterButton, MessageButton::Nu) << m.text.toStdString();
}

} // namespace
