// The certificate dialog and the confirmation windows driven as a clerk would: cancelling the
// certificate keeps only the register choice, the confirmation added through the role choice
// is selected in the register, and with a search the last row shown is the one deleted.

#include "certificate_test_util.h"

#include "documents/ui/certificate_dialog.h"
#include "documents/ui/confirmation_windows.h"
#include "support/gui_application.h"
#include "support/layout_guard.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

TEST(CertificateWindows, CancellingStoresOnlyTheRegisterChoice) {
    ensureGuiApplication();
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    AdminConstants constants;
    TCFiscDet dialog(f.env.services(), constants);
    QTimer::singleShot(0, &dialog, [&] {
        dialog.CFNr->setText("99");
        dialog.Serveste->setEditText("banca");
        dialog.TimbruVal->setText("5");
        dialog.CloseBut->click();
    });
    EXPECT_FALSE(dialog.ShowDialog("POPA ION", role, "CORBU").has_value());
    const QString set = QString::fromLatin1(fileBytes(f.env.folders().data + "/Vartesa.set"));
    EXPECT_TRUE(set.contains("CFDINRA=NU") && !set.contains("CFNR") && !set.contains("CFTAXAT")) << set.toStdString();
    EXPECT_FALSE(QFile::exists(f.path("CFServeste.txt")));
}

TEST(CertificateWindows, TheRegisterBoxNeedsTheRegisterParcels) {
    ensureGuiApplication();
    CertificateFolder f;
    AdminConstants constants;
    TCFiscDet dialog(f.env.services(), constants);
    dialog.prepare("POPA ION", f.addRole("POPA ION"), "CORBU");
    dialog.CheckBox1->setChecked(true);
    dialog.CheckBox1Click();
    EXPECT_FALSE(dialog.CheckBox1->isChecked());
    EXPECT_EQ(f.env.messages().hints().at(0).text, "Baza de date Registru Agricol nedisponibila!");
}

TEST(ConfirmationWindows, AddsThroughTheRoleChoiceAndDeletesTheLastRowShown) {
    ensureGuiApplication();
    CertificateFolder f;
    f.code("Amenzi", "35.02.01.02", "35.02.01.02");
    f.addRole("POPA ION");
    f.addRole("ION ANA");
    TConfDeb window(f.env.services());
    for (int pick : {0, 1}) { // POPA ION, then ION ANA (roles in ROL order)
        window.roleDialog->prepare("Adaugare Confirmare de primire debit", true);
        TAlegeROLF& d = *window.roleDialog;
        d.SatulX->setCurrentIndex(0);
        d.TitularX->setCurrentIndex(pick);
        d.Suma->setText("100");
        d.BordNr->setText("5");
        d.AdrNr->setText("6");
        d.NumeDest->setText("DGFP");
        d.MemoButClick();
        ASSERT_NE(d.added().id, 0) << (f.env.messages().hints().empty() ? "" : f.env.messages().hints().back().text.toStdString());
        window.reload(d.added().id);
    }
    EXPECT_EQ(window.Grid->currentIndex().row(), 1);
    window.NumePF->setText("POPA");
    ASSERT_EQ(window.rows().size(), 1u);
    f.env.messages().answerNext("DA");
    window.StergeClick();
    window.NumePF->clear();
    ASSERT_EQ(window.rows().size(), 1u);
    EXPECT_EQ(window.rows()[0].name, "ION ANA");
}

TEST(CertificateWindows, EveryWindowShowsItsTextsWhole) {
    ensureGuiApplication();
    CertificateFolder f;
    f.code("Impozit pe mijloace de transport", "16.02.02.01", "16.02.02.02");
    const qint64 role = f.addRole("POPESCU ALEXANDRU CONSTANTIN");
    f.setPage("Pag4.dbf", role, "AL1A = 0.5");
    AdminConstants constants;
    TCFiscDet certificate(f.env.services(), constants);
    certificate.prepare("POPESCU ALEXANDRU CONSTANTIN", role, "CORBU");
    TConfDeb confirmations(f.env.services());
    confirmations.reload();
    TAlegeROLF& choice = *confirmations.roleDialog;
    choice.prepare("Adaugare Confirmare de primire debit", true);
    choice.numberDialog->prepare();
    for (QWidget* w : std::initializer_list<QWidget*>{&certificate, &confirmations, &choice, choice.numberDialog}) {
        w->show();
        QCoreApplication::processEvents();
        const QStringList faults = LayoutFaults(w);
        EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
        w->hide();
    }
}

} // namespace
