// "Contul meu" and the users management of the administrator window, driven through their
// fields and buttons.

#include "shell/counters.h"
#include "shell/passwords.h"
#include "shell/ui/account_dialog.h"
#include "app/main_window.h"
#include "admin/ui/users_panel.h"
#include "shell/users_file.h"
#include "support/scripted_services.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace vartesa;

namespace {

template <class T>
T* field(const QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Runs `act` on the modal dialog the next action opens, once it is on screen.
void onNextDialog(std::function<void(QWidget*)> act, int attempts = 200) {
    QTimer::singleShot(10, [act, attempts] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            act(dialog);
        else if (attempts > 0)
            onNextDialog(act, attempts - 1);
    });
}

void type(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
}

UsersFile usersOf(test::TestServices& env) { return UsersFile::inFolder(env.folders().data); }

} // namespace

TEST(MyAccountDialog, StartsWithTheCurrentValuesAndRefusesMismatchedPasswords) {
    test::TestServices env;
    AccountDialog dialog("VECHE", "L1", env.messages());
    EXPECT_EQ(dialog.windowTitle(), "Utilizator");
    auto* parola = field<QLineEdit>(&dialog, "ParolaNouaEd");
    auto* verifica = field<QLineEdit>(&dialog, "VerificaParolaEd");
    EXPECT_EQ(parola->text(), "VECHE");
    EXPECT_EQ(verifica->text(), "VECHE");
    EXPECT_EQ(parola->echoMode(), QLineEdit::Password);
    EXPECT_EQ(field<QLineEdit>(&dialog, "LegitimatiaEd")->text(), "L1");
    dialog.show();

    type(parola, "noua1");
    type(verifica, "NOUA2");
    field<QPushButton>(&dialog, "MemoreazaBut")->click();
    ASSERT_EQ(env.messages().hints().size(), 1u);
    EXPECT_EQ(env.messages().hints().front().text, "Parola nesetata sau nu este identica in cele doua casute!");
    EXPECT_EQ(env.messages().hints().front().anchor, "ParolaNouaEd");
    EXPECT_TRUE(dialog.isVisible()); // stays open with what was typed
    EXPECT_EQ(parola->text(), "NOUA1");

    type(parola, "");
    type(verifica, "");
    field<QPushButton>(&dialog, "MemoreazaBut")->click();
    EXPECT_EQ(env.messages().hints().size(), 2u); // empty is refused too

    type(parola, "NOUA");
    type(verifica, "NOUA");
    QTest::keyClick(verifica, Qt::Key_Return); // Enter moves on to "Legitimatia"
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(field<QLineEdit>(&dialog, "LegitimatiaEd"), Qt::Key_Return); // ... and then saves
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.password(), "NOUA");
    EXPECT_EQ(env.messages().hints().size(), 2u);
}

TEST(MyAccountDialog, EscapeCancels) {
    test::TestServices env;
    AccountDialog dialog("A", "", env.messages());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(MyAccountFromTheMenu, SavesTheNewPasswordHashed) {
    test::TestServices env;
    usersOf(env).create({"ADMIN", hashPassword("123"), UserGrade::Admin, ""});
    TForm3 window(env.services());
    window.show();
    field<QLineEdit>(&window, "ParolaEd")->setText("123");
    field<QPushButton>(&window, "StartBut")->click();
    ASSERT_TRUE(window.isLoggedIn());

    onNextDialog([](QWidget* dialog) {
        type(field<QLineEdit>(dialog, "ParolaNouaEd"), "TAINA9");
        type(field<QLineEdit>(dialog, "VerificaParolaEd"), "TAINA9");
        field<QPushButton>(dialog, "MemoreazaBut")->click();
    });
    window.action("Contulmeu1")->trigger();
    EXPECT_EQ(env.messages().titles(), QStringList({"Schimbare cont"}));
    const UserRecord admin = usersOf(env).readAll().front();
    EXPECT_TRUE(passwordMatches(admin.password, "TAINA9"));
    QFile bytes(usersOf(env).path());
    ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
    EXPECT_FALSE(bytes.readAll().contains("TAINA9"));
}

class UsersPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        UsersFile f = usersOf(env_);
        f.create({"ADMIN", hashPassword("123"), UserGrade::Admin, ""});
        f.append({"ION", "", UserGrade::RolOperator, "L1"});
        env_.services().user = "ADMIN";
        env_.services().grade = UserGrade::Admin;
        panel_.show();
        panel_.load();
    }
    QStringList names() {
        QStringList out;
        for (const UserRecord& r : usersOf(env_).readAll()) out << r.name;
        return out;
    }

    test::TestServices env_;
    UsersPanel panel_{env_.services()};
};

TEST_F(UsersPanelTest, TheGridShowsTheOtherUsers) {
    QAbstractItemModel* model = panel_.grid()->model();
    ASSERT_EQ(model->rowCount(), 1);
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) headers << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Numele", "Rangul", "Legitim.", "Seria", "Nr. chitanta"}));
    EXPECT_EQ(model->index(0, 1).data().toString().trimmed(), "OPERATOR DE ROL");
    EXPECT_EQ(panel_.currentName(), "ION");
    const QString table = panel_.list().path();
    panel_.unload();
    EXPECT_FALSE(QFileInfo::exists(table));
}

TEST_F(UsersPanelTest, AddingThroughTheDialogChecksTheName) {
    onNextDialog([this](QWidget* dialog) {
        EXPECT_EQ(field<QLabel>(dialog, "HeadingLabel")->text(), "Adaugare Utilizator");
        EXPECT_TRUE(field<QCheckBox>(dialog, "StergeParolaCheck")->isHidden());
        auto* name = field<QLineEdit>(dialog, "NumeEd");
        type(name, "ion");
        field<QPushButton>(dialog, "MemoreazaBut")->click();
        ASSERT_FALSE(env_.messages().hints().empty());
        EXPECT_EQ(env_.messages().hints().back().text, "Acest nume mai exista!");
        EXPECT_EQ(env_.messages().hints().back().anchor, "NumeEd");
        type(name, "  ");
        field<QPushButton>(dialog, "MemoreazaBut")->click();
        ASSERT_FALSE(env_.messages().hints().empty());
        EXPECT_EQ(env_.messages().hints().back().text, "Lipseste numele!");
        type(name, "vasile");
        field<QComboBox>(dialog, "RangCombo")->setCurrentIndex(1);
        type(field<QLineEdit>(dialog, "SeriaEd"), "VZ");
        auto* number = field<QLineEdit>(dialog, "DeLaNrEd");
        type(number, "12ab3");
        EXPECT_EQ(number->text(), "123"); // digits only
        QTest::keyClick(number, Qt::Key_Return); // Enter in "De la nr." saves
    });
    panel_.AdaugareClick();
    EXPECT_EQ(names(), QStringList({"ADMIN", "ION", "VASILE"}));
    EXPECT_EQ(usersOf(env_).readAll().back().grade, UserGrade::Cashier);
    EXPECT_EQ(env_.services().counters().ReadCounter("VASILE", "CHIT"), "123");
    EXPECT_EQ(panel_.grid()->model()->rowCount(), 2);
    EXPECT_EQ(panel_.currentName(), "VASILE");
}

TEST_F(UsersPanelTest, ModifyingKeepsTheNameAndMayClearThePassword) {
    usersOf(env_).overwrite(1, {"ION", hashPassword("P"), UserGrade::RolOperator, "L1"});
    onNextDialog([](QWidget* dialog) {
        EXPECT_EQ(field<QLabel>(dialog, "HeadingLabel")->text(), "Modificare utilizator");
        EXPECT_TRUE(field<QLineEdit>(dialog, "NumeEd")->isReadOnly());
        EXPECT_EQ(field<QLineEdit>(dialog, "NumeEd")->text(), "ION");
        EXPECT_EQ(field<QComboBox>(dialog, "RangCombo")->currentText(), "OPERATOR DE ROL");
        EXPECT_EQ(field<QLineEdit>(dialog, "LegitimatiaEd")->text(), "L1");
        EXPECT_FALSE(field<QCheckBox>(dialog, "StergeParolaCheck")->isChecked());
        field<QCheckBox>(dialog, "StergeParolaCheck")->setChecked(true);
        type(field<QLineEdit>(dialog, "LegitimatiaEd"), "l9");
        field<QPushButton>(dialog, "MemoreazaBut")->click();
    });
    panel_.ModificareClick();
    const UserRecord ion = usersOf(env_).readAll().at(1);
    EXPECT_EQ(ion.card, "L9");
    EXPECT_EQ(ion.password, "");
}

TEST_F(UsersPanelTest, ModifyingAnotherAdministratorKeepsItsGrade) {
    usersOf(env_).append({"MARIA", "", UserGrade::Admin, "L2"});
    panel_.unload();
    panel_.load();
    panel_.grid()->setCurrentIndex(panel_.grid()->model()->index(1, 0));
    ASSERT_EQ(panel_.currentName(), "MARIA");
    onNextDialog([](QWidget* dialog) {
        type(field<QLineEdit>(dialog, "LegitimatiaEd"), "l7");
        field<QPushButton>(dialog, "MemoreazaBut")->click();
    });
    panel_.ModificareClick();
    EXPECT_EQ(usersOf(env_).readAll().at(2).grade, UserGrade::Admin);
}

TEST_F(UsersPanelTest, DeletingAsksFirstAndAnEmptyListSaysSo) {
    env_.messages().answerNext("DA");
    panel_.StergereClick();
    EXPECT_EQ(env_.messages().shown().back().text, "Chiar il stergem pe ION?");
    EXPECT_EQ(names(), QStringList({"ADMIN"}));
    EXPECT_EQ(panel_.grid()->model()->rowCount(), 0);

    panel_.StergereClick();
    panel_.ModificareClick();
    ASSERT_EQ(env_.messages().hints().size(), 2u);
    EXPECT_EQ(env_.messages().hints()[0].text, "Nu prea mai aveti ce sterge...");
    EXPECT_EQ(env_.messages().hints()[0].anchor, "StergereBut");
    EXPECT_EQ(env_.messages().hints()[1].text, "Nu aveti ce modifica!");
    EXPECT_EQ(env_.messages().hints()[1].anchor, "ModificareBut");
}
