// The vehicle grid of page 5, its form and the read-only viewer, driven as the clerk would.

#include "role_test_util.h"

#include "roles/ui/vehicle_details_widgets.h"
#include "support/gui_application.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using test::whenShown;

class VehicleGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        role = f.add("ALUNI", "1", "POPA ANA");
        other = f.add("ALUNI", "2", "POPESCU DAN");
        grid = std::make_unique<VehicleDetailsGrid>(f.env.services());
    }
    std::vector<VehicleDetail> stored(qint64 id) { return VehicleDetails(f.db(), f.env.folders().data).of(id); }

    test::RoleFolder f;
    std::unique_ptr<VehicleDetailsGrid> grid;
    qint64 role = 0, other = 0;
};

TEST_F(VehicleGridTest, AddNeedsARoleAndACapacityOfTen) {
    grid->AddDetAutoClick();
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "Nu ati ales nici o persoana!");

    grid->setRole(role);
    TDetaliiAutoF& d = grid->dialog();
    bool openAtNine = false;
    whenShown(d, [&] {
        EXPECT_EQ(d.Marca->currentText(), "* nespecificata *");
        d.Marca->setCurrentText("DACIA");
        d.Serie->setText("uu1  abc");
        d.Capacit->setText("9");
        d.MemoreazaBut->click();
        openAtNine = d.isVisible();
        d.Capacit->setText("10");
        d.MemoreazaBut->click();
    });
    grid->AddDetAutoClick();
    EXPECT_TRUE(openAtNine);
    EXPECT_EQ(f.env.messages().hints().back().text, "Capacitate incorecta!");
    const std::vector<VehicleDetail> rows = stored(role);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].make + '/' + rows[0].bodySerial + '/' + QString::number(rows[0].capacity), "DACIA/UU1 ABC/10");
    EXPECT_EQ(grid->DetAutoGrid->model()->index(0, 2).data(Qt::ToolTipRole).toString(), "Marca: DACIA caros.:UU1 ABC, motor:");
    EXPECT_TRUE(grid->EditDetAuto->isEnabled());
}

TEST_F(VehicleGridTest, ChangingARowWithAMakeNoLongerListedKeepsTheMake) {
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, IDDETA, NrDos, TipAuto, Marca, Capacit) "
                               "VALUES (?, 5, '7', 'Autoturisme', 'FSO', 1500)").arg(f.path("AutoDet.dbf")), {role});
    grid->setRole(role);
    TDetaliiAutoF& d = grid->dialog();
    whenShown(d, [&] {
        EXPECT_EQ(d.Marca->currentIndex(), -1);
        d.Capacit->setText("1481");
        d.MemoreazaBut->click();
    });
    grid->EditDetAutoClick();
    const std::vector<VehicleDetail> rows = stored(role);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].make, "FSO");
    EXPECT_EQ(rows[0].capacity, 1481);
}

TEST_F(VehicleGridTest, DeleteAfterTheQuestionAndTheViewerShowsOneRole) {
    for (int i = 1; i <= 3; ++i)
        f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, IDDETA, Marca, Capacit) VALUES (?, ?, 'OPEL', 1300)")
                        .arg(f.path("AutoDet.dbf")), {i == 3 ? other : role, i});
    grid->setRole(role);
    f.env.messages().answerNext("NU");
    grid->DelDetAutoClick();
    f.env.messages().answerNext("DA");
    grid->DelDetAutoClick();
    EXPECT_EQ(f.env.messages().titles(), QStringList({"Stergere detaliu", "Stergere detaliu"}));
    EXPECT_EQ(stored(role).size(), 1u);
    EXPECT_EQ(grid->DetAutoGrid->currentIndex().row(), 0);

    TAutoDetF viewer(f.env.services());
    viewer.loadRole(other);
    EXPECT_EQ(viewer.Grid->model()->rowCount(), 1);
    EXPECT_EQ(viewer.Grid->model()->headerData(3, Qt::Horizontal).toString(), "Capacit. -cmc-");
}

} // namespace
