// The looks guard over the role register and its dialogs at the clerks' 1366x768 screen,
// with a role whose name, village and address are as long as their fields take.

#include "role_test_util.h"

#include "roles/ui/debit_dialog.h"
#include "roles/ui/declaration_page_widget.h"
#include "roles/ui/role_dialog.h"
#include "roles/ui/role_register_window.h"
#include "roles/ui/vehicle_details_widgets.h"
#include "admin/admin_constants.h"
#include "support/gui_application.h"
#include "support/layout_guard.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

const QString kVillage = QStringLiteral("ȘĂRĂȚENII DE SUS DIN VALEA MÂȚEI");

class RoleLayoutGuard : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        f.add(kVillage, "12345", QStringLiteral("ȚĂRĂNUȘ-BĂLĂȘESCU ȘTEFĂNIȚĂ IOAN MIHĂIȚĂ"));
    }
    void expectTidy(QWidget* window, const QString& what) {
        if (!window->isVisible()) window->show();
        QCoreApplication::processEvents();
        const QStringList faults = test::LayoutFaults(window);
        EXPECT_TRUE(faults.isEmpty()) << what.toStdString() << ":\n  " << faults.join("\n  ").toStdString();
    }

    test::RoleFolder f;
    AdminConstants constants;
};

TEST_F(RoleLayoutGuard, RegisterAndEveryPage) {
    TGospodarii window(f.env.services(), constants);
    InstallDeclarationPages(window, f.env.services(), constants);
    window.setVillageList({kVillage});
    window.prepareOpening();
    expectTidy(&window, "registrul de roluri");
    for (int entry = 2; entry <= 13; ++entry) {
        window.ListView1Click(entry);
        expectTidy(&window, QStringLiteral("registrul de roluri, intrarea %1").arg(entry));
    }
}

TEST_F(RoleLayoutGuard, RoleTaxAndVehicleDialogs) {
    RoleRegister roles(f.db(), f.env.folders().data);
    TAddGosF role(f.env.services(), roles);
    role.ResetRoleDialog({kVillage}, {});
    expectTidy(&role, "adaugare rol");
    TAddImpozit tax(f.env.services(), constants);
    tax.ResetDebitDialog(false);
    expectTidy(&tax, "taxa / debit");
    TDetaliiAutoF vehicle(f.env.services());
    vehicle.ResetVehicleDialog();
    expectTidy(&vehicle, "detalii auto");
}

} // namespace
