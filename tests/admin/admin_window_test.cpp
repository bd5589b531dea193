// The administrator window TForm4, offscreen: the pages generated from the catalog, saving
// and dropping edits, the zones page with its dialog, and the keyboard.

#include "db/database.h"
#include "db/query.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/registry.h"
#include "shell/startup.h"
#include "admin/ui/admin_window.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::TestServices;

namespace {

class AdminWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        constants.load(env.services());
        window.prepareToOpen();
        window.show();
    }

    QLineEdit* field(const char* key) {
        auto* edit = qobject_cast<QLineEdit*>(window.control(QString::fromLatin1(key)));
        EXPECT_NE(edit, nullptr) << key;
        return edit;
    }
    template <class T>
    T* child(const char* name) {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Types into a field as the clerk does, one key event per character.
    static void type(QWidget* target, const QString& text) {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &press);
        }
    }
    QStringList zoneLocalities() const {
        QStringList out;
        for (int r = 0; r < window.zoneGrid()->model()->rowCount(); ++r)
            out << window.zoneGrid()->model()->index(r, 0).data().toString();
        return out;
    }
    // Runs `fill` on the zone dialog once it is shown, from the event loop of its exec().
    void whenZoneDialogOpens(std::function<void(TZoneDialog&)> fill) {
        QTimer::singleShot(0, &window, [this, fill] { fill(window.zoneDialog()); });
    }

    TestServices env;
    AdminConstants constants;
    TForm4 window{env.services(), constants};
};

TEST_F(AdminWindowTest, EveryPageShowsItsControlsByKey) {
    auto* list = child<QListWidget>("PageList");
    auto* pages = child<QStackedWidget>("PageControl");
    ASSERT_EQ(list->count(), kAdminPageCount + 1);
    EXPECT_EQ(list->item(2)->text(), "TAXE - Valori fixate");
    EXPECT_EQ(window.windowTitle(), "Administrator program");

    for (int item = 0; item < list->count(); ++item) {
        list->setCurrentRow(item);
        const int page = AdminPageOfListItem(item);
        if (page < 0) continue;
        ASSERT_EQ(window.currentPage(), page) << item;
        QWidget* shown = pages->currentWidget();
        for (const AdminControl& c : AdminControls()) {
            if (int(c.page) != page) continue;
            QWidget* w = window.findChild<QWidget*>(c.key);
            ASSERT_NE(w, nullptr) << c.key.toStdString();
            EXPECT_TRUE(shown->isAncestorOf(w)) << c.key.toStdString();
            EXPECT_TRUE(w->isVisibleTo(&window)) << c.key.toStdString();
        }
    }
    // The heading opens nothing: the page stays the last one chosen.
    list->setCurrentRow(2);
    EXPECT_EQ(window.currentPage(), int(AdminPage::Boats));

    // The controls kept outside Ini.dbf: on the general page or under the page list.
    QWidget* general = pages->widget(int(AdminPage::General));
    for (const AdminCounterControl& c : AdminCounterControls()) {
        QWidget* w = window.findChild<QWidget*>(c.control);
        ASSERT_NE(w, nullptr) << c.control.toStdString();
        EXPECT_EQ(general->isAncestorOf(w), !c.importOption) << c.control.toStdString();
    }
    for (const AdminRegistryControl& c : AdminRegistryControls())
        EXPECT_TRUE(general->isAncestorOf(window.findChild<QWidget*>(c.control))) << c.control.toStdString();
    EXPECT_NE(window.findChild<QPushButton*>("CoduriBut"), nullptr);
}

TEST_F(AdminWindowTest, FieldsShowTheStoredValuesWithLabelsAndHints) {
    EXPECT_EQ(field("EC1ZA")->text(), "40");
    EXPECT_EQ(field("CotaPJC1")->toolTip(), "Introduceti o valoare intre 0.25 si 1.50.");
    EXPECT_EQ(child<QComboBox>("ComboBox3")->currentText(), "IV");
    EXPECT_EQ(field("CaleServer")->text(), "-");
    EXPECT_EQ(child<QCheckBox>("PreviewC")->text(), "Arata chitanta inainte de listare");
    // A number field takes only the digits of its kind.
    QLineEdit* quota = field("CotaPJC1");
    quota->clear();
    type(quota, "12.345");
    EXPECT_EQ(quota->text(), "1.34");
}

TEST_F(AdminWindowTest, SaveStoresTheEditsAndRebuildsTheVillageList) {
    QStringList villages;
    window.setVillagesReady([&](const QStringList& v) { villages = v; });
    whenZoneDialogOpens([](TZoneDialog& d) {
        d.localityField()->setText("  Sat   Nou ");
        d.MemoreazaClick();
    });
    window.AdaugaClick();

    field("CotaPJC1")->setText("1.25");
    child<QCheckBox>("Bonificatie50")->setChecked(true);
    child<QPushButton>("SalveazaBut")->click();

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(env.progress().descriptions(), QStringList{"Salvare Constante"});
    EXPECT_EQ(env.progress().value(), 10); // shown at 6, full after the save
    EXPECT_EQ(env.progress().timesHidden(), 1);
    EXPECT_EQ(env.services().counters().ReadCounter("SERVER", "COTAPJC1"), "1.25");
    EXPECT_EQ(env.services().counters().ReadCounter("SERVER", "BONIF50"), "DA");
    EXPECT_EQ(villages, QStringList{"SAT NOU"});

    AdminConstants restarted; // a new run reads what was saved
    restarted.load(env.services());
    EXPECT_EQ(restarted.text("CotaPJC1"), "1.25");
    EXPECT_TRUE(restarted.isChecked("Bonificatie50"));
}

TEST_F(AdminWindowTest, RenuntAndEscapeDropTheEdits) {
    field("EC1ZA")->setText("99");
    child<QPushButton>("RenuntBut")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(constants.text("EC1ZA"), "40");
    window.prepareToOpen();
    window.show();
    EXPECT_EQ(field("EC1ZA")->text(), "40");

    field("EC1ZB")->setText("77");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(constants.text("EC1ZB"), "37");
}

TEST_F(AdminWindowTest, ZonesAreAddedChangedAndRemoved) {
    child<QComboBox>("ComboBox2")->setCurrentText("C");
    whenZoneDialogOpens([](TZoneDialog& d) {
        EXPECT_EQ(d.zone(), "C"); // the default zone and rank of the page
        EXPECT_EQ(d.rank(), "IV");
        d.localityField()->setText("  Valea   Mare ");
        d.MemoreazaClick();
    });
    window.AdaugaClick();
    EXPECT_EQ(zoneLocalities(), QStringList{"VALEA MARE"});

    // Added again: refused with the balloon, the dialog stays open until "&Renunt".
    whenZoneDialogOpens([this](TZoneDialog& d) {
        d.localityField()->setText("valea mare");
        d.MemoreazaClick();
        EXPECT_TRUE(d.isVisible());
        ASSERT_FALSE(env.messages().hints().empty());
        EXPECT_EQ(env.messages().hints().back().text, "Localitatea specificat exista deja!");
        d.reject();
    });
    window.AdaugaClick();
    EXPECT_EQ(zoneLocalities(), QStringList{"VALEA MARE"});

    // Changed without renaming: accepted.
    whenZoneDialogOpens([](TZoneDialog& d) {
        EXPECT_EQ(d.localityField()->text(), "VALEA MARE");
        d.rankField()->setCurrentText("II");
        d.MemoreazaClick();
    });
    window.ModificaClick();
    EXPECT_EQ(window.zoneGrid()->model()->index(0, 2).data().toString(), "II");

    // A second locality sorts first and the grid stands on it once added.
    whenZoneDialogOpens([](TZoneDialog& d) {
        d.localityField()->setText("Bradu");
        d.MemoreazaClick();
    });
    window.AdaugaClick();
    EXPECT_EQ(zoneLocalities(), (QStringList{"BRADU", "VALEA MARE"}));
    EXPECT_EQ(window.zoneGrid()->currentIndex().row(), 0);

    // Deleting it leaves the grid on the row that followed.
    env.messages().answerNext("DA");
    window.StergeClick();
    EXPECT_EQ(zoneLocalities(), QStringList{"VALEA MARE"});
    EXPECT_EQ(window.zoneGrid()->currentIndex().row(), 0);
    EXPECT_EQ(env.messages().titles().back(), "Stergere localitate");
    env.messages().answerNext("NU");
    window.StergeClick();
    EXPECT_EQ(zoneLocalities(), QStringList{"VALEA MARE"});
    env.messages().answerNext("DA");
    window.StergeClick();
    EXPECT_TRUE(zoneLocalities().isEmpty());
    window.ModificaClick();
    ASSERT_FALSE(env.messages().hints().empty());
    EXPECT_EQ(env.messages().hints().back().text, "Nu aveti ce modifica!");
}

TEST_F(AdminWindowTest, OnAWorkstationZonesGoToTheServersFolder) {
    // The window was built before start-up chose the owning machine's data folder.
    const QString server = env.root() + "/server/Data";
    QDir().mkpath(server);
    CountersFile(server + "/Vartesa.set").WriteCounter("SERVER", "DEFZONE", "40");
    env.services().folders.data = server;
    window.prepareToOpen();
    whenZoneDialogOpens([](TZoneDialog& d) {
        d.localityField()->setText("Bradu");
        d.MemoreazaClick();
    });
    window.AdaugaClick();
    const QVariant id = env.services().database().scalar(QStringLiteral("SELECT ID FROM \"%1/DefZone.dbf\" WHERE LOCALIT = 'BRADU'").arg(server));
    EXPECT_EQ(id.toLongLong(), 40);
    EXPECT_FALSE(QFileInfo::exists(env.folders().defaultData + "/DefZone.dbf"));
}

TEST_F(AdminWindowTest, EnterMovesToTheNextFieldAndExplanationsShowTheirLines) {
    QApplication::setActiveWindow(&window);
    child<QListWidget>("PageList")->setCurrentRow(3); // teren extravilan
    QLineEdit* first = field("EC1ZA");
    first->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(first, &enter);
    EXPECT_EQ(QApplication::focusWidget(), window.control("EC1ZB"));

    window.ExplicatiiClick();
    ASSERT_EQ(env.messages().shown().size(), 1u);
    EXPECT_EQ(env.messages().shown()[0].title, "Explicatii");
    EXPECT_EQ(env.messages().shown()[0].text,
              "Nivelul impozitelor se calculeaza inmultind valoarea din lege\rcu coeficientul stabilit de consiliul "
              "local si cu\rcoeficientii de zona si rang.");
}

TEST_F(AdminWindowTest, RegisterFolderIsKeptOnlyBySave) {
    const QString folder = env.root() + "/RA";
    QDir().mkpath(folder);
    for (const QString& f : RegisterFolderFiles()) shelltest::writeBytes(folder + '/' + f, "x");
    window.setFolderPicker([&](const QString&) { return folder + '/'; });
    window.CaleAutoClick();
    EXPECT_EQ(field("CaleAuto")->text(), folder);
    EXPECT_EQ(env.services().counters().ReadCounter("SERVER", "CALEAUTORA"), "");
    child<QPushButton>("SalveazaBut")->click();
    EXPECT_EQ(env.services().counters().ReadCounter("SERVER", "CALEAUTORA"), folder);
}

TEST_F(AdminWindowTest, ServerFolderChangeEndsTheProgram) {
    const QString folder = env.root() + "/server";
    QDir().mkpath(folder);
    for (const QString& t : RequiredNetworkTables()) shelltest::writeBytes(folder + '/' + t, "x");
    int ended = 0;
    window.setEndProgram([&] { ++ended; });
    window.setFolderPicker([&](const QString&) { return folder; });
    window.ModificareServerClick();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(field("CaleServer")->text(), folder);
    EXPECT_EQ(env.services().registry().ReadRegistryValue("SERVER"), folder);
}

} // namespace
