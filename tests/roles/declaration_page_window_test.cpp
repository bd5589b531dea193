// The declaration pages in the register window, driven by their controls: the taxable value
// following the zone, a lost row repaired, refusals at the field, the locked year, Enter
// walking the fields, the legal-person panels and house orders outside the list.

#include "role_test_util.h"

#include "roles/ui/declaration_page_widget.h"
#include "roles/ui/vehicle_details_widgets.h"
#include "roles/ui/role_register_window.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/startup.h"
#include "support/gui_application.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

class PageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        id = f.add("ALUNI", "1", "POPA ANA");
        constants.setText("ICZBR3", "10");
        constants.setText("ICZCR3", "7");
        window = std::make_unique<TGospodarii>(f.env.services(), constants);
        InstallDeclarationPages(*window, f.env.services(), constants);
        window->setVillageList({"ALUNI"});
        window->prepareOpening();
    }
    // Shows declaration page n of the current role.
    DeclarationPageWidget* open(int n) {
        window->ListView1Click(n + 1);
        return static_cast<DeclarationPageWidget*>(window->PageControl->currentWidget());
    }
    template <typename W>
    W* control(DeclarationPageWidget* page, const char* name) {
        return page->findChild<W*>(QLatin1String(name));
    }
    bool panelShown(DeclarationPageWidget* page) {
        return !page->findChild<QWidget*>(QStringLiteral("Modi%1").arg(page->page()))->isHidden();
    }
    void clickSave(DeclarationPageWidget* page) {
        page->findChild<QPushButton*>(QStringLiteral("Memoreaza%1").arg(page->page()))->click();
    }
    QVariant stored(const QString& file, const QString& field) {
        return f.db().scalar(QStringLiteral("SELECT %1 FROM \"%2\" WHERE IDGOS = ?").arg(field, f.path(file)), {id});
    }

    test::RoleFolder f;
    AdminConstants constants;
    std::unique_ptr<TGospodarii> window;
    qint64 id = 0;
};

TEST_F(PageWindowTest, ChangingTheZoneOfAHouseChangesItsTaxableValueAtOnce) {
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET C3S = 100, C3C = 0, C3Z = 'B', C3R = 'III' WHERE IDGOS = ?")
                    .arg(f.path("Pag2.dbf")), {id});
    DeclarationPageWidget* page = open(2);
    EXPECT_EQ(control<QLineEdit>(page, "ValImp3")->text(), "1000");
    EXPECT_FALSE(panelShown(page));
    control<QComboBox>(page, "ZonaC3")->setCurrentText("C");
    EXPECT_EQ(control<QLineEdit>(page, "ValImp3")->text(), "700");
    EXPECT_TRUE(panelShown(page));
    clickSave(page);
    EXPECT_EQ(stored("Pag2.dbf", "C3Z").toString(), "C");
    EXPECT_FALSE(panelShown(page));
}

TEST_F(PageWindowTest, ALostRowIsRepairedAndHousesShowTheirOrders) {
    f.db().exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDGOS = ?").arg(f.path("Pag2.dbf")), {id});
    DeclarationPageWidget* page = open(2);
    QStringList orders;
    for (const char* name : {"NrC1", "NrC2", "NrC3", "NrC4", "NrC5"}) orders << control<QComboBox>(page, name)->currentText();
    EXPECT_EQ(orders, QStringList({"1", "2", "3", "4", "5"})) << "house 5 keeps an order the list lacks";
    EXPECT_EQ(f.rowsOf("Pag2.dbf", id), 1);
    control<QLineEdit>(page, "SupC1")->setText("80");
    clickSave(page);
    EXPECT_EQ(stored("Pag2.dbf", "NR5").toInt(), 5) << "an order the clerk did not touch is written back";
    EXPECT_EQ(stored("Pag2.dbf", "C1S").toDouble(), 80.0);
}

TEST_F(PageWindowTest, ARefusalPointsAtTheFieldAndKeepsWhatWasTyped) {
    DeclarationPageWidget* page = open(5);
    control<QLineEdit>(page, "P30001")->setText("2500");
    control<QLineEdit>(page, "AUTO1")->setText("3");
    clickSave(page);
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "Capacitatea trebuie sa fie peste 3000 cmc!");
    EXPECT_EQ(f.env.messages().hints()[0].anchor, "P30001");
    EXPECT_EQ(control<QLineEdit>(page, "P30001")->text(), "2500");
    EXPECT_TRUE(panelShown(page));
    EXPECT_EQ(stored("Pag5.dbf", "AUTO1").toInt(), 0);
    // Leaving the page with DA to the question keeps the clerk on it.
    f.env.messages().answerNext("DA");
    window->ListView1Click(0);
    EXPECT_EQ(window->currentEntry(), 6);
    EXPECT_EQ(control<QLineEdit>(page, "AUTO1")->text(), "3");
}

TEST_F(PageWindowTest, AnAreaTypedWithTheDecimalCommaIsStoredAsTyped) {
    DeclarationPageWidget* page = open(2);
    auto* area = control<QLineEdit>(page, "SupC1");
    area->clear();
    QTest::keyClicks(area, "1,5,");
    EXPECT_EQ(area->text(), "1,5") << "the second comma is refused";
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].anchor, "SupC1");
    auto* year = control<QLineEdit>(page, "AnC1");
    year->clear();
    QTest::keyClicks(year, "19,");
    EXPECT_EQ(year->text(), "19") << "a whole field refuses the comma";
    EXPECT_EQ(f.env.messages().hints().size(), 2u);
    clickSave(page);
    EXPECT_DOUBLE_EQ(stored("Pag2.dbf", "C1S").toDouble(), 1.5);
}

TEST_F(PageWindowTest, EscapeOnTheUnsavedQuestionKeepsThePageAndNuDropsIt) {
    DeclarationPageWidget* page = open(5);
    control<QLineEdit>(page, "AUTO1")->setText("3");
    f.env.messages().answerNext("RENUNT");
    window->ListView1Click(0);
    EXPECT_EQ(window->currentEntry(), 6) << "Escape goes back to the page";
    EXPECT_EQ(control<QLineEdit>(page, "AUTO1")->text(), "3");
    f.env.messages().answerNext("NU");
    window->ListView1Click(0);
    EXPECT_EQ(window->currentEntry(), 0);
    EXPECT_EQ(stored("Pag5.dbf", "AUTO1").toInt(), 0);
}

TEST_F(PageWindowTest, ALockedYearReloadsThePageAndSavesNothing) {
    DeclarationPageWidget* page = open(7);
    control<QLineEdit>(page, "Alte1")->setText("4");
    f.counters().WriteCounter("SERVER", YearLockCounterKey(WorkingYear().toInt()), "DA");
    clickSave(page);
    EXPECT_EQ(f.env.messages().titles(), QStringList{"Modificare matricola"});
    EXPECT_EQ(control<QLineEdit>(page, "Alte1")->text(), "0");
    EXPECT_FALSE(panelShown(page));
    EXPECT_EQ(stored("Pag7.dbf", "LIN1").toInt(), 0);
}

TEST_F(PageWindowTest, EnterWalksTheShownFieldsAndLegalPersonsSeeTheirPanels) {
    QApplication::setActiveWindow(window.get());
    window->show();
    DeclarationPageWidget* page = open(2);
    const auto enterFrom = [](QWidget* w) {
        w->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    };
    EXPECT_EQ(enterFrom(control<QWidget>(page, "NrC1")), "SupC2") << "the taxable value is passed over";
    EXPECT_EQ(enterFrom(control<QWidget>(page, "NrC8")), "NrC8") << "the legal-person fields are hidden";
    EXPECT_TRUE(control<QWidget>(page, "CladJur1")->isHidden());

    f.db().exec(QStringLiteral("UPDATE \"%1\" SET TIP = 'JURIDICA' WHERE IDGOS = ?").arg(f.path("Gospodar.dbf")), {id});
    page->loadRole(id);
    EXPECT_TRUE(control<QWidget>(page, "SupC1")->isHidden());
    EXPECT_EQ(enterFrom(control<QWidget>(page, "CladJur1")), "DataEval1");
    window->hide();
}

TEST_F(PageWindowTest, PageFiveLeavesRoomForTheVehicleDetails) {
    DeclarationPageWidget* page = open(5);
    auto* vehicles = static_cast<VehicleDetailsGrid*>(page->findChild<QWidget*>("VehicleDetailsGrid"));
    ASSERT_NE(vehicles, nullptr);
    EXPECT_EQ(vehicles->parentWidget()->objectName(), "VehicleDetailsHost");
    EXPECT_EQ(vehicles->roleId(), id) << "the grid shows the vehicles of the role the page loaded";
    EXPECT_EQ(control<QWidget>(page, "AUTO14")->toolTip(), "pana la 1 t inclusiv, Numar (REM1)")
        << "screen AUTO14 is the first trailer line";
}

} // namespace
