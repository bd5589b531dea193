// The main window TForm3 driven as the clerk does: the login panel, the tool buttons and
// what each grade sees, the menus with their entries and enabling, logout and closing.

#include "shell/counters.h"
#include "shell/passwords.h"
#include "db/error.h"
#include "app/main_window.h"
#include "shell/users_file.h"
#include "support/scripted_services.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

// Entries of a menu in order: "-" for a separator, "Sub > Entry" inside submenus.
QStringList entriesOf(const QMenu* menu, const QString& prefix = {}) {
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out << prefix + "-";
        else if (a->menu())
            out << entriesOf(a->menu(), prefix + a->text() + " > ");
        else
            out << prefix + a->text();
    }
    return out;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        UsersFile f = UsersFile::inFolder(env_.folders().data);
        f.create({"ADMIN", hashPassword("123"), UserGrade::Admin, ""});
        f.append({"ION", "", UserGrade::RolOperator, "L1"});
        f.append({"ANA", hashPassword("CASA"), UserGrade::Cashier, "L2"});
        window_.show();
        window_.showLoginPanel();
        QApplication::setActiveWindow(&window_);
    }

    template <class T = QWidget>
    T* child(const QString& name) const {
        T* found = window_.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QPushButton* button(const QString& name) const { return child<QPushButton>(name + "But"); }

    // Types as the clerk does and presses Enter in "Parola".
    void logIn(const QString& name, const QString& password) {
        child<QLineEdit>("NumeEd")->setText(name);
        auto* parola = child<QLineEdit>("ParolaEd");
        parola->clear();
        QTest::keyClicks(parola, password);
        QTest::keyClick(parola, Qt::Key_Return);
    }

    test::TestServices env_;
    TForm3 window_{env_.services()};
};

} // namespace

TEST_F(MainWindowTest, BeforeLoginShowsVersionDateStatusAndTheLoginPanel) {
    EXPECT_EQ(window_.windowTitle(), "Vartesa ver.1.26");
    EXPECT_EQ(child<QLabel>("DataLabel")->text(), "15.01.2015");
    EXPECT_EQ(child<QLabel>("StatusLine")->text(), "F1 - Incasari");
    EXPECT_TRUE(child("LoginPanel")->isVisible());
    EXPECT_FALSE(child("ToolButtons")->isVisible());
    EXPECT_EQ(child<QLineEdit>("NumeEd")->text(), "ADMIN");
    EXPECT_EQ(child<QLineEdit>("NumeEd")->maxLength(), 32);
    EXPECT_EQ(child<QLineEdit>("ParolaEd")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QLineEdit>("ParolaEd")->maxLength(), 32);
    EXPECT_FALSE(window_.isLoggedIn());
    EXPECT_TRUE(window_.dailyImport().isActive()); // the daily register import waits for its hour
}

TEST_F(MainWindowTest, EnterWalksFromNameToPasswordAndPressesStart) {
    QSignalSpy loggedIn(&window_, &TForm3::loggedIn);
    auto* nume = child<QLineEdit>("NumeEd");
    nume->clear();
    nume->setFocus();
    QTest::keyClicks(nume, "ion");
    EXPECT_EQ(nume->text(), "ION"); // capitals as typed
    QTest::keyClick(nume, Qt::Key_Return);
    EXPECT_TRUE(child<QLineEdit>("ParolaEd")->hasFocus());
    EXPECT_FALSE(window_.isLoggedIn());
    QTest::keyClick(child<QLineEdit>("ParolaEd"), Qt::Key_Return); // empty password: ION has none
    EXPECT_TRUE(window_.isLoggedIn());
    EXPECT_EQ(loggedIn.count(), 1);
    EXPECT_EQ(window_.windowTitle(), "Vartesa ver.1.26  >> ION");
    EXPECT_FALSE(child("LoginPanel")->isVisible());
}

// The clerk is told the login failed (not which of the two was wrong), so a typing slip is
// not taken for a program that hangs.
TEST_F(MainWindowTest, AWrongNameOrPasswordSaysSoAndLeavesThePanel) {
    for (const char* name : {"ANA", "NIMENI"}) {
        logIn(name, "GRESIT");
        EXPECT_FALSE(window_.isLoggedIn());
        EXPECT_TRUE(child("LoginPanel")->isVisible());
        EXPECT_TRUE(env_.messages().shown().empty()) << "a balloon, not a window to close";
        ASSERT_FALSE(env_.messages().hints().empty()) << name;
        EXPECT_EQ(env_.messages().hints().back().text, "Numele sau parola nu sunt corecte!");
        EXPECT_EQ(window_.windowTitle(), "Vartesa ver.1.26");
    }
}

TEST(MainWindowFirstStart, CreatesTheUsersFileAndShowsItsPassword) {
    test::TestServices env;
    TForm3 window(env.services());
    window.show();
    window.showLoginPanel();
    auto* parola = window.findChild<QLineEdit*>("ParolaEd");
    QTest::keyClicks(parola, "oricare");
    window.findChild<QPushButton*>("StartBut")->click();

    ASSERT_EQ(env.messages().titles(), QStringList({"PRIMA PORNIRE"}));
    EXPECT_TRUE(env.messages().shown().front().text.startsWith("Numele este ADMIN si parola este 123."));
    EXPECT_TRUE(UsersFile::inFolder(env.folders().data).exists());
    EXPECT_TRUE(window.isLoggedIn());
    EXPECT_TRUE(env.services().IsAdministrator());
    EXPECT_EQ(window.windowTitle(), "Vartesa ver.1.26  >> ADMIN");
}

TEST_F(MainWindowTest, EachGradeSeesItsButtonsAndUtilities) {
    struct Case {
        QString name, password;
        bool admin, roles, backup, verify, import;
    };
    for (const Case& c : {Case{"ADMIN", "123", true, true, true, true, true},
                          Case{"ION", "", true, true, true, false, false},
                          Case{"ANA", "CASA", false, false, false, false, false}}) {
        SCOPED_TRACE(c.name.toStdString());
        logIn(c.name, c.password);
        ASSERT_TRUE(window_.isLoggedIn());
        EXPECT_EQ(button("Administrare")->isVisible(), c.admin);
        EXPECT_EQ(button("Gospodarii")->isVisible(), c.roles);
        for (const char* always : {"Incasari", "RegistruCasa", "Liste", "Utilitare", "Iesire"})
            EXPECT_TRUE(button(always)->isVisible()) << always;
        EXPECT_EQ(window_.action("SalvareRestaurare1")->isVisible(), c.backup);
        EXPECT_EQ(window_.action("Verificarebaze1")->isVisible(), c.verify);
        EXPECT_EQ(window_.action("PreluareRA1")->isVisible(), c.import);
        EXPECT_TRUE(window_.action("Contulmeu1")->isVisible());
        button("Iesire")->click();
        EXPECT_FALSE(window_.isLoggedIn());
    }
}

TEST_F(MainWindowTest, ToolButtonsCarryTheirHints) {
    EXPECT_EQ(button("RegistruCasa")->toolTip(), "Registrul de casa pe conturi.");
    EXPECT_EQ(button("Gospodarii")->toolTip(), "Adaugare numere de ROL.");
    EXPECT_EQ(button("Liste")->toolTip(), "Diverse rapoarte.");
    EXPECT_EQ(button("Administrare")->toolTip(), "Administrare program.");
    EXPECT_EQ(button("Utilitare")->toolTip(), "Utilitare program.");
    EXPECT_EQ(button("Iesire")->toolTip(), "Inchide programul.");
    EXPECT_FALSE(button("Incasari")->toolTip().isEmpty());
    QStringList captions;
    for (const char* name : {"Incasari", "RegistruCasa", "Gospodarii", "Liste", "Administrare", "Utilitare", "Iesire"})
        captions << button(name)->text();
    EXPECT_EQ(captions, QStringList({"Incasari", "Registru de Casa", "Gospodarii -Roluri-", "Liste si Formulare",
                                     "Administrare", "Utilitare", "Iesire"}));
}

TEST_F(MainWindowTest, ARoleOperatorIsToldAdministrationIsNotForHim) {
    int opened = 0;
    window_.attach("Administrare", [&] { ++opened; });
    logIn("ION", "");
    button("Administrare")->click();
    ASSERT_EQ(env_.messages().hints().size(), 1u);
    EXPECT_EQ(env_.messages().hints().front().text, "Nu aveti treaba aici.");
    EXPECT_EQ(env_.messages().hints().front().anchor, "AdministrareBut");
    EXPECT_EQ(opened, 0);

    button("Iesire")->click();
    logIn("ADMIN", "123");
    button("Administrare")->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(env_.messages().hints().size(), 1u);
}

TEST_F(MainWindowTest, TheRoleRegisterIsRefusedWhileTheYearIsLocked) {
    int opened = 0;
    window_.attach("Gospodarii", [&] { ++opened; });
    logIn("ION", "");
    button("Gospodarii")->click();
    EXPECT_EQ(opened, 1);
    env_.services().counters().WriteCounter("SERVER", "ADMINBLOCAT2015", "DA");
    button("Gospodarii")->click();
    EXPECT_EQ(opened, 1);
    ASSERT_EQ(env_.messages().shown().size(), 1u);
    EXPECT_EQ(env_.messages().shown().front().title, "An inchis");
    EXPECT_EQ(env_.messages().shown().front().text, "Nu mai puteti accesa datele de anul trecut!");
    EXPECT_EQ(env_.messages().shown().front().kind, MessageKind::Error);
}

TEST_F(MainWindowTest, F1PressesIncasariAndF2OpensTheLists) {
    int collected = 0;
    QTest::keyClick(&window_, Qt::Key_F1); // nobody logged in: nothing
    EXPECT_FALSE(button("Incasari")->isEnabled()); // no collection screen yet
    window_.attach("Incasari", [&] { ++collected; });
    EXPECT_TRUE(button("Incasari")->isEnabled());
    QTest::keyClick(&window_, Qt::Key_F1);
    EXPECT_EQ(collected, 0);

    logIn("ANA", "CASA");
    QTest::keyClick(&window_, Qt::Key_F1);
    EXPECT_EQ(collected, 1);
    QTest::keyClick(&window_, Qt::Key_F2);
    EXPECT_TRUE(window_.listsMenu()->isVisible());
    window_.listsMenu()->hide();
}

TEST_F(MainWindowTest, TheStripSpansTheScreenWithItsTitleBarOnIt) {
    QCoreApplication::processEvents(); // the frame is placed once the window is up
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = window_.frameGeometry();
    EXPECT_EQ(frame.top(), area.top()) << "title bar off the screen";
    EXPECT_EQ(frame.left(), area.left());
    EXPECT_EQ(frame.width(), area.width());
}

TEST_F(MainWindowTest, FocusComesBackToTheStripWhenAScreenCloses) {
    int collected = 0;
    window_.attach("Incasari", [&] { ++collected; });
    window_.attach("Administrare", [&] {
        QDialog screen(&window_);
        QTimer::singleShot(0, &screen, &QDialog::accept);
        screen.exec();
        QApplication::setActiveWindow(nullptr); // the window manager activated nothing
    });
    logIn("ADMIN", "123");
    button("Administrare")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window_);
    QTest::keyClick(&window_, Qt::Key_F1);
    EXPECT_EQ(collected, 1) << "F1 lost after the window closed";
}

TEST_F(MainWindowTest, AScreenOpensBelowTheStripAndFitsTheScreen) {
    QRect seen;
    window_.attach("Administrare", [&] {
        QDialog screen(&window_);
        screen.resize(1000, 760); // taller than the room under the strip
        QTimer::singleShot(0, &screen, [&] {
            seen = screen.frameGeometry();
            screen.accept();
        });
        screen.exec();
    });
    logIn("ADMIN", "123");
    button("Administrare")->click();
    EXPECT_GE(seen.top(), window_.frameGeometry().bottom()) << "the screen covers the strip";
    EXPECT_LE(seen.bottom(), QGuiApplication::primaryScreen()->availableGeometry().bottom());
}

TEST_F(MainWindowTest, LogoutBringsBackThePanelWithAnEmptyPassword) {
    logIn("ADMIN", "123");
    ASSERT_TRUE(env_.services().IsAdministrator());
    button("Iesire")->click();
    EXPECT_EQ(window_.windowTitle(), "Vartesa ver.1.26");
    EXPECT_TRUE(child("LoginPanel")->isVisible());
    EXPECT_FALSE(child("ToolButtons")->isVisible());
    EXPECT_EQ(child<QLineEdit>("ParolaEd")->text(), "");
    EXPECT_EQ(child<QLineEdit>("NumeEd")->text(), "ADMIN");
    EXPECT_EQ(env_.services().grade, UserGrade::Unknown);
    EXPECT_TRUE(window_.isVisible()); // the program keeps running
}

TEST_F(MainWindowTest, ClickingTheDateEndsTheProgramAfterTheBackupHook) {
    int backups = 0;
    window_.setBeforeClose([&] { ++backups; });
    QSignalSpy closed(&window_, &TForm3::closed);
    QTest::mouseClick(child<QLabel>("DataLabel"), Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(backups, 1);
    EXPECT_FALSE(window_.isVisible());
}

TEST_F(MainWindowTest, AFailedBackupOnClosingKeepsTheProgramOpen) {
    int tries = 0;
    window_.setBeforeClose([&] {
        if (++tries == 1) throw Error(QStringLiteral("Discul de salvare este plin"));
    });
    QSignalSpy closed(&window_, &TForm3::closed);
    window_.close();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(window_.isVisible());
    ASSERT_FALSE(env_.messages().shown().empty());
    EXPECT_EQ(env_.messages().shown().back().text, "Discul de salvare este plin");
    window_.close(); // the second try succeeds and the program ends
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(tries, 2);
}

TEST_F(MainWindowTest, TheUtilitiesMenuHasEveryEntryAndEnablesItsOwn) {
    EXPECT_EQ(entriesOf(window_.utilitiesMenu()),
              QStringList({"Salvare - Restaurare Baza de date",
                           "Preluare date din Registru Agricol 2015-2019",
                           "-",
                           "Modele listare - Retusare > Model Instiintare de plata",
                           "Modele listare - Retusare > Modele Executare silita > Somatie - Titlu executoriu",
                           "Modele listare - Retusare > Modele Executare silita > Poprire Angajator",
                           "Modele listare - Retusare > Modele Executare silita > Poprire Banca",
                           "Modele listare - Retusare > Model Certificat Fiscal",
                           "Modele listare - Retusare > Model Adresa de infiintare poprire",
                           "Modele listare - Retusare > Model Aferent Adresa de infiintare poprire",
                           "Modele listare - Retusare > Model Confirmarea de primire a debitelor",
                           "Modele listare - Retusare > Model Lista plati - Registrul de casa",
                           "Modele listare - Retusare > Model Registru de casa",
                           "-",
                           "Contul meu",
                           "Verificare baze",
                           "Istoric modificari > General",
                           "Istoric modificari > De pe acest calculator"}));
    // Screens of this window are there; the others wait for theirs.
    for (const char* own : {"Contulmeu1", "General1", "Depeacestcalculator1", "Mdl1", "RegcasaB"})
        EXPECT_TRUE(window_.action(own)->isEnabled()) << own;
    for (const char* later : {"SalvareRestaurare1", "PreluareRA1", "Verificarebaze1"})
        EXPECT_FALSE(window_.action(later)->isEnabled()) << later;

    // The two administrator entries open only for administrators, even once attached.
    int verified = 0;
    window_.attach("Verificarebaze1", [&] { ++verified; });
    logIn("ION", "");
    window_.UtilitareMenuPopup();
    EXPECT_FALSE(window_.action("Verificarebaze1")->isEnabled());
    EXPECT_EQ(window_.action("Verificarebaze1")->statusTip(), "Optiune rezervata administratorului")
        << "a disabled entry says why";
    button("Iesire")->click();
    logIn("ADMIN", "123");
    window_.UtilitareMenuPopup();
    EXPECT_TRUE(window_.action("Verificarebaze1")->isEnabled());
    window_.action("Verificarebaze1")->trigger();
    EXPECT_EQ(verified, 1);
}

TEST_F(MainWindowTest, TheListsMenuHasEveryEntryDisabledUntilItsScreenIsAttached) {
    const QStringList entries = entriesOf(window_.listsMenu());
    EXPECT_EQ(entries.size(), 34);
    EXPECT_EQ(entries.mid(0, 7), QStringList({"Instiintari de plata", "Centralizator Somatii- Titluri",
                                              "Confirmare de primire debite", "Situatia executarilor silite",
                                              "Amenzi / Taxe > Lista amenzi / taxe", "-",
                                              "Registrul de ROL > Listare directa"}));
    EXPECT_TRUE(entries.contains("Registrul Matricol > PSI / Paza"));
    EXPECT_TRUE(entries.contains("Lista cu Ramasite / Plusuri > Lista Ramasite - Adresa"));
    EXPECT_TRUE(entries.contains("Lista de incasat > Gradul de colectare impozite"));
    EXPECT_TRUE(entries.contains("Borderouri Debite > Borderouri cumulate"));
    EXPECT_TRUE(entries.contains("Alte Centralizatoare > Lista persoane fizice/juridice > Juridice"));
    EXPECT_EQ(entries.mid(entries.size() - 3),
              QStringList({"XML PatrimVen - ANAF", "-", "Chitante anulate"}));
    EXPECT_EQ(entries.count("-"), 2);

    QAction* notices = window_.action("Instiintarideplata1");
    ASSERT_NE(notices, nullptr);
    EXPECT_FALSE(notices->isEnabled());
    EXPECT_EQ(notices->statusTip(), "Optiune indisponibila in aceasta versiune a programului");
    int opened = 0;
    window_.attach("Instiintarideplata1", [&] { ++opened; });
    EXPECT_TRUE(notices->isEnabled());
    EXPECT_EQ(notices->statusTip(), "");
    notices->trigger();
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, ATemplateEntryHandsItsFileToTheDesktop) {
    QFile file(env_.folders().data + "/CFiscal3.rtf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 }");
    file.close();
    window_.action("Mdl4")->trigger();
    EXPECT_EQ(env_.desktop().opened(), QStringList({file.fileName()}));
    window_.action("MdlSomTit")->trigger(); // Titlu.rtf is not there
    EXPECT_EQ(env_.messages().titles(), QStringList({"Modele listare - Retusare"}));
}
