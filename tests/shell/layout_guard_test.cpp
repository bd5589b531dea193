// The looks guard over every window and dialog of the program, offscreen on the clerks'
// 1366x768 screen, filled with Romanian texts as long as their fields take: no label,
// button, check box, field or column title may be cut, and every window fits the screen.

#include "cash/ui/account_window.h"
#include "cash/ui/debit_details_window.h"
#include "cash/ui/payment_dialog.h"
#include "cash/ui/split_editor.h"
#include "cash/ui/role_picker_window.h"
#include "db/database.h"
#include "roles/ui/claim_dialogs.h"
#include "shell/action_log.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "admin/budget_codes.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/passwords.h"
#include "shell/table_helpers.h"
#include "shell/ui/account_dialog.h"
#include "shell/ui/action_history_window.h"
#include "admin/ui/admin_window.h"
#include "datafolder/ui/backup_window.h"
#include "admin/ui/codes_window.h"
#include "app/main_window.h"
#include "shell/ui/message_window.h"
#include "shell/ui/progress_window.h"
#include "shell/ui/startup_window.h"
#include "admin/ui/users_panel.h"
#include "datafolder/ui/verification_window.h"
#include "shell/users_file.h"
#include "support/layout_guard.h"
#include "support/scripted_services.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

// Longest texts of their fields, with the letters that widen a line.
const QString kVillage = QStringLiteral("ȘĂRĂȚENII DE SUS DIN VALEA MÂȚEI"); // LOCALIT, 32
const QString kTownHall = QStringLiteral("Primăria Comunei Șărățenii de Sus");
const QString kClaim = QStringLiteral("Taxă pentru eliberarea certificatelor de urbanism și avize");
const QString kIban = QStringLiteral("RO49AAAA1B31007593840000");
const QString kUser = QStringLiteral("ȚĂRĂNUȘ-BĂLĂȘESCU ȘTEFĂNIȚĂ IOAN"); // NUME, 32

class LayoutGuard : public ::testing::Test {
protected:
    // Shows the window and fails with every fault found, under `what`.
    void expectTidy(QWidget* window, const QString& what) {
        if (!window->isVisible()) window->show();
        QCoreApplication::processEvents();
        const QStringList faults = test::LayoutFaults(window);
        EXPECT_TRUE(faults.isEmpty()) << what.toStdString() << ":\n  " << faults.join("\n  ").toStdString();
    }
    // Runs `look` on the modal window `open` shows, then closes it.
    void whileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& look) {
        QTimer::singleShot(0, [look] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                ADD_FAILURE() << "no modal window";
                return;
            }
            look(modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        open();
    }

    test::TestServices env;
    db::Database& db = env.services().database();
    QString data = env.folders().data;
};

} // namespace

TEST_F(LayoutGuard, MainWindowBeforeAndAfterLogin) {
    UsersFile::inFolder(data).create({"ADMIN", hashPassword("123"), UserGrade::Admin, ""});
    TForm3 window(env.services());
    window.show();
    window.showLoginPanel();
    expectTidy(&window, "fereastra principala, autentificare");
    window.findChild<QLineEdit*>("ParolaEd")->setText("123");
    window.StartButClick();
    ASSERT_TRUE(window.isLoggedIn());
    expectTidy(&window, "fereastra principala, butoane");
}

TEST_F(LayoutGuard, AdministratorWindowEveryPage) {
    AdminConstants constants;
    constants.load(env.services());
    for (const char* key : {"PrimariaLab", "LocalitateaLab", "JudetulLab", "PrimarLab", "ContabilLab"})
        constants.setText(QString::fromLatin1(key), kTownHall);
    constants.setText(AdminRegistryControls()[0].control, QStringLiteral("/mnt/primaria/Vartesa 2015/Data"));
    constants.setText(AdminRegistryControls()[1].control, QStringLiteral("/home/casier/Salvări Vartesa"));
    ZoneTable(db, data).add(kVillage, "D", "III");
    UsersFile users = UsersFile::inFolder(data);
    users.create({"ADMIN", "", UserGrade::Admin, ""});
    users.append({kUser, "", UserGrade::RolOperator, QStringLiteral("LEGITIMAȚIA NR. 1234567890123456")});
    env.services().counters().WriteCounter(kUser, "SERIA", "VZȘ1234567");
    env.services().counters().WriteCounter(kUser, "CHIT", "123456789");
    env.services().user = "ADMIN";
    env.services().grade = UserGrade::Admin;

    TForm4 window(env.services(), constants);
    window.prepareToOpen();
    window.show();
    auto* list = window.findChild<QListWidget*>("PageList");
    for (int item = 0; item < list->count(); ++item) {
        list->setCurrentRow(item);
        expectTidy(&window, QStringLiteral("administrator, ") + list->item(item)->text().trimmed());
    }
    TZoneDialog& zone = window.zoneDialog();
    zone.prepare(QStringLiteral("Modificare zona"), {1, kVillage, "D", "III"});
    expectTidy(&zone, "zona");
}

TEST_F(LayoutGuard, UserDialogs) {
    UsersFile::inFolder(data).create({"ADMIN", "", UserGrade::Admin, ""});
    UsersList list(env.services());
    UserDialog adding(list, env.services().messages(), nullptr);
    expectTidy(&adding, "utilizator nou");
    const UserListRow row{kUser, "", "OPERATOR DE ROL", QStringLiteral("LEGITIMAȚIA NR. 1234567890123456"), "VZȘ1234567",
                          "123456789"};
    UserDialog modifying(list, env.services().messages(), &row);
    expectTidy(&modifying, "modificare utilizator");
    AccountDialog account("PAROLA", QStringLiteral("LEGITIMAȚIA NR. 1234567890123456"), env.services().messages());
    expectTidy(&account, "contul meu");
}

TEST_F(LayoutGuard, CodesWindowAndClaimDialog) {
    CountersFile counters = env.services().counters();
    BudgetCodes codes(db, data, counters);
    codes.EnsureCodesTable();
    codes.add(kClaim, kIban, kIban);
    TFCoduri window(env.services());
    window.reload(13);
    expectTidy(&window, "coduri clasificare");
    whileModal([&] { window.ModificaClick(); }, [&](QWidget* dialog) { expectTidy(dialog, "cod clasificare"); });
}

TEST_F(LayoutGuard, ClaimAndFixedTaxDialogs) {
    CountersFile counters = env.services().counters();
    BudgetCodes codes(db, data, counters);
    codes.EnsureCodesTable();
    codes.add(kClaim, kIban, kIban);
    TFTaxe claim(env.services());
    claim.ResetClaimDialog();
    claim.CreantaBox->setCurrentText(kClaim);
    claim.TitlulL->setText(QStringLiteral("Modifcare Taxa / Amenda"));
    claim.DOCJUS->setText(QStringLiteral("Proces-verbal de constatare și sancționare nr. 1"));
    expectTidy(&claim, "taxe / amenzi");
    TFAddTaxaFixa fixed(env.services());
    for (const bool villageTax : {true, false}) {
        whileModal([&] { fixed.ShowFixedTaxDialog(villageTax); },
                   [&](QWidget* dialog) {
                       fixed.Taxa->setCurrentText(kClaim);
                       expectTidy(dialog, villageTax ? "adauga taxa la toti" : "alte taxe");
                   });
    }
}

TEST_F(LayoutGuard, BackupVerificationAndHistory) {
    TForm21 backup(env.services());
    expectTidy(&backup, "salvare - restaurare");

    CreateTable(db, data + "/Datorii.dbf", CatalogTable("Datorii.dbf"));
    db.exec(QStringLiteral("INSERT INTO \"%1/Datorii.dbf\" (IDDAT, SATUL, ROL, GRUPA, DENUM) VALUES (1, ?, ?, ?, ?)").arg(data),
            {kVillage, "123456789", kClaim, kClaim.left(50)});
    TFVerificari verification(env.services());
    verification.show();
    verification.Verif1BClick();
    expectTidy(&verification, "verificari");

    ActionLog log = env.services().actionLog();
    log.setUser(kUser);
    log.LogAction("123456789", QStringLiteral("Încasare chitanța VZȘ nr. 123456 din 15.01.2015, 1.234.567 lei"));
    TIstoric history(db);
    whileModal([&] { history.ShowActionHistory(log.logPath(true)); },
               [&](QWidget* window) { expectTidy(window, "istoric modificari"); });
}

TEST_F(LayoutGuard, CollectionsPickerAccountAndDebitDetails) {
    for (const TableLayout& t : TableCatalog()) CreateTable(db, data + '/' + t.file, t);
    const QString name = QStringLiteral("ȚĂRĂNUȘ-BĂLĂȘESCU ȘTEFĂNIȚĂ IOAN MIHĂIȚĂ"); // NUMEP, 40
    const QString address = QStringLiteral("STR. ȘTEFAN CEL MARE ȘI SFÂNT NR. 123, BL. Ț4, SC. B, ET. 10, AP. 256, SECTOR 6");
    db.exec(QStringLiteral("INSERT INTO \"%1/Gospodar.dbf\" (IDGOS, SATUL, ROL, NUMEP, CNP, ADRESA, TIP, SCTE, OBS, NOTAX) "
                           "VALUES (1, ?, '123456789', ?, '1800101221144', ?, 'JURIDICA', 999999, ?, 'DA')")
                .arg(data),
            {kVillage, name, address.left(80), QString(240, QChar(u'Ș'))});
    db.exec(QStringLiteral("INSERT INTO \"%1/SoldCalc.dbf\" (IDRES, IDGOS, GRUPA, SUMA, REST, REDUC, SCUTIRE, DATOR, DEPOZ, "
                           "MAJOR) VALUES (1, 1, 'Impozit pe mijloace de transport', 999999, 999999, 99999, 0, 999999, "
                           "0, 999999)")
                .arg(data));
    db.exec(QStringLiteral("INSERT INTO \"%1/Debit.dbf\" (IDDEB, IDGOS, GRUPA, DOCJUS, NR, CATEG, DENUM, DINDATA, PENDATA, "
                           "SUMAINI, SUMAC, VAL1) VALUES (1, 1, 'Impozit pe mijloace de transport', ?, 1234567890, "
                           "'Cumparare', 'Autoturisme', '2015-02-17', '2015-02-01', 999999, 999999, '123456.123')")
                .arg(data),
            {QStringLiteral("Contract de vânzare-cumpărare nr. 12345 din 2015")});
    db.exec(QStringLiteral("INSERT INTO \"%1/Datorii.dbf\" (IDDAT, IDGOS, DINDATA, GRUPA, DENUM, DOCJUS, NR, SUMA, REST, REDUC, "
                           "UM, CANT, SUMA2, RESTINI) VALUES (1, 1, '2015-03-02', ?, ?, ?, 1234567890, 999999, 0, 99999, "
                           "'200cmc', 1234.1234, 999999, 0)")
                .arg(data),
            {kClaim, kClaim.left(50), QStringLiteral("Proces-verbal de constatare și sancționare nr. 1")});
    env.services().counters().WriteCounter("SERVER", "FARAMAJORARI", "DA");
    env.clock().setToday(QDate(2015, 12, 31));
    AdminConstants constants;
    constants.load(env.services());

    TAvansatSearch picker(env.services());
    picker.takeSnapshot();
    picker.prepareOpening();
    picker.LocalitateCombo->setCurrentText(kVillage);
    expectTidy(&picker, "alegere rol");
    TGospodarieF account(env.services(), constants);
    account.show();
    account.prepareOpening(1, kVillage);
    account.TaxeGrid->model()->setData(account.TaxeGrid->model()->index(0, 8), "-999999");
    expectTidy(&account, "incasari");
    TFDetaliiDebite details(env.services());
    details.show();
    details.prepare(name + QStringLiteral(" - detalii debite"), 1);
    expectTidy(&details, "detalii debite");
}

TEST_F(LayoutGuard, PaymentDialogAndSplitEditor) {
    for (const TableLayout& t : TableCatalog()) CreateTable(db, data + '/' + t.file, t);
    PaymentDialogSetup setup;
    setup.kind = DocumentKind::Receipt;
    setup.role.found = true;
    setup.role.role.name = QStringLiteral("ȚĂRĂNUȘ-BĂLĂȘESCU ȘTEFĂNIȚĂ IOAN MIHĂIȚĂ"); // NUMEP, 40
    setup.role.role.village = kVillage;
    setup.role.role.address = QStringLiteral("STR. ȘTEFAN CEL MARE ȘI SFÂNT NR. 123, BL. Ț4, SC. B, ET. 10, AP. 256, SECTOR 6");
    setup.role.role.number = "123456789";
    setup.role.role.code = "1800101221144";
    setup.date = QDate(2015, 12, 31);
    setup.numbering = {QStringLiteral("VZȘ1234567"), 1234567890};
    setup.total = -999999;
    std::vector<PaymentLine> lines;
    for (const QString& name : {QString(), QStringLiteral("Proces-verbal de constatare și sancționare nr. 123456")}) {
        PaymentLine l{kClaim, "CHITANTA", "VZȘ1234567", 1234567890, name, kIban, -99999, -99999, -99999, -99999, -99999,
                      999999, QChar('C')};
        lines.push_back(l);
    }
    TChitantaF dialog(env.services());
    dialog.show();
    dialog.prepare(setup, lines);
    expectTidy(&dialog, "operare");
    TDetaliiModificari& editor = dialog.splitEditor();
    editor.setParts(lines[0]);
    editor.Curent->setText("-9999999");
    editor.prepare(kClaim, 999999);
    expectTidy(&editor, "detalii / modificari");
}

TEST_F(LayoutGuard, StartupProgressProblemWindowAndBalloon) {
    StartupWindow startup;
    startup.setStatus(QStringLiteral("Împachetare tabele: Datorii.dbf"));
    expectTidy(&startup, "pornire");

    ProgressWindow progress;
    progress.Arata(QStringLiteral("Salvare Constante"));
    expectTidy(&progress.dialog(), "contor");
    progress.Distruge();

    MessageWindow messages;
    whileModal([&] {
        messages.ShowErrors(QStringLiteral("Stergere localitate"),
                            QStringLiteral("Sunteti sigur ca vreti sa stergeti localitatea?\r") + kVillage,
                            MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu | MessageButton::Renunt);
    }, [&](QWidget* window) { expectTidy(window, "fereastra de problema"); });

    QWidget form;
    auto* field = new QLineEdit(&form);
    form.show();
    messages.ShowProblemHint(QStringLiteral("Nu puteti adauga si Curent si Restanta simultan!"), field);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* hint = dynamic_cast<ProblemHint*>(w); hint && hint->isVisible()) {
            expectTidy(hint, "balon");
            hint->close();
        }
}
