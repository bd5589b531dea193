// Vartesa: the program the tax office of a commune keeps its local taxes with.
// main() lets only one copy run per user, finds the folders, builds the services context
// and shows the start-up window; when start-up is done, the main window takes over with
// its login panel, and closing it ends the program.

#include "db/error.h"
#include "shell/folders.h"
#include "shell/registry.h"
#include "shell/services.h"
#include "shell/table_files.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/startup.h"
#include "datafolder/upgrades.h"
#include "admin/ui/admin_window.h"
#include "datafolder/backup.h"
#include "datafolder/ui/backup_window.h"
#include "shell/ui/desktop_launcher.h"
#include "app/main_window.h"
#include "shell/ui/message_window.h"
#include "shell/ui/progress_window.h"
#include "shell/ui/qt_texts.h"
#include "shell/ui/single_instance.h"
#include "shell/ui/window_looks.h"
#include "shell/ui/startup_window.h"
#include "datafolder/ui/verification_window.h"
#include "datafolder/register_daily.h"
#include "datafolder/ui/register_import_window.h"
#include "shell/version.h"
#include "roles/ui/declaration_page_widget.h"
#include "datafolder/synthetic_commune.h"
#include "roles/ui/role_register_window.h"
#include "cash/ui/account_window.h"
#include "cash/ui/document_printing.h"
#include "report/list_report.h"
#include "report/ui/report_output.h"
#include "cash/ui/payment_operation.h"
#include "cash/ui/cancelled_receipts_window.h"
#include "cash/ui/no_debit_window.h"
#include "cash/ui/receipt_history_window.h"
#include "cash/ui/cash_register_window.h"
#include "cash/ui/period_dialog.h"
#include "cash/ui/role_picker_window.h"
#include "roles/ui/vehicle_details_widgets.h"
#include "documents/ui/certificate_dialog.h"
#include "documents/ui/confirmation_windows.h"
#include "documents/ui/report_selection_dialog.h"
#include "documents/ui/other_lists_menu.h"
#include "documents/ui/role_selection_dialog.h"
#include "documents/ui/patrimven_dialog.h"
#include "documents/ui/garnishment_windows.h"
#include "documents/ui/summons_windows.h"
#include "documents/ui/collection_menu.h"
#include "cash/ui/collection_list_dialog.h"
#include "documents/ui/debit_statement_windows.h"
#include "cash/ui/statement_picker_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace vartesa;

namespace {

struct Options {
    int quitAfterMs = -1;  // end the run by itself after this long (tests); -1 never
    bool trace = false;    // report start and hand-over on standard output (tests)
    bool minimised = false; // start with the window minimised (tests of the hand-over)
    bool demo = false;      // work on the demonstration commune of the machine folder
};

// Roles of the demonstration commune: enough to try every screen, made in a few seconds.
constexpr int kDemoRoles = 500;

// Unknown options stop the program with a usage text, as any command line program does.
Options parseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Evidenta taxelor si impozitelor locale."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("program-folder"),
                      QStringLiteral("Directorul programului (datele sunt in DIR/Data)."),
                      QStringLiteral("DIR")});
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Lucreaza pe comuna demonstrativa (creata la prima pornire)."));
    parser.addOption(demo);
    QCommandLineOption quitAfter(QStringLiteral("quit-after"), QString(), QStringLiteral("MS"));
    QCommandLineOption trace(QStringLiteral("trace"));
    QCommandLineOption minimised(QStringLiteral("start-minimised"));
    for (QCommandLineOption* hidden : {&quitAfter, &trace, &minimised}) {
        hidden->setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(*hidden);
    }
    parser.process(app);

    Options o;
    o.trace = parser.isSet(trace);
    o.minimised = parser.isSet(minimised);
    o.demo = parser.isSet(demo);
    if (parser.isSet(quitAfter)) {
        bool ok = false;
        o.quitAfterMs = parser.value(quitAfter).toInt(&ok);
        if (!ok || o.quitAfterMs < 0) {
            std::fprintf(stderr, "--quit-after asteapta un numar de milisecunde\n");
            std::exit(2);
        }
    }
    return o;
}

// --help must work on a terminal without a display, where a QApplication cannot start.
bool asksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 ||
            std::strcmp(argv[i], "--help-all") == 0)
            return true;
    return false;
}

void traceLine(const Options& o, const QString& line) {
    if (!o.trace)
        return;
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (asksForHelp(argc, argv)) {
        QCoreApplication help(argc, argv);
        parseOptions(help); // prints the usage and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setApplicationVersion(kVersionNumber);
    const Options options = parseOptions(app);
    if (QTranslator* texts = RomanianQtTexts()) app.installTranslator(texts);
    KeepWindowsOnScreen(&app);
    TypeDatesFromTheFirstKey(&app);
    UseRomanianCalendars(&app);

    SingleInstance instance(SingleInstance::serverName(QProcessEnvironment::systemEnvironment()));
    if (instance.start() == SingleInstance::Role::HandedOver) {
        traceLine(options, QStringLiteral("Vartesa: ruleaza deja, am cerut aducerea in fata"));
        return 0;
    }

    MessageWindow startupMessages;
    Folders folders;
    try {
        folders = resolveFolders(FolderInputs::fromSystem());
        if (options.demo) folders = DemoFolders(folders, QCoreApplication::arguments());
        prepareFolders(folders);
        // The windows made below name the working year: take the local data folder's now
        // (start-up takes a server folder's again once it has chosen it).
        UseWorkingYear(DataFolderYear(CountersFile(folders.data + QStringLiteral("/Vartesa.set"))));
    } catch (const Error& e) {
        startupMessages.ShowErrors(QStringLiteral("Pornire program"), e.text(),
                                   MessageKind::Error, MessageButton::Ok);
        return 1;
    }

    auto launcher = std::make_unique<DesktopLauncher>();
    DesktopLauncher& desktop = *launcher;
    Services services(folders, std::make_unique<MessageWindow>(), std::make_unique<ProgressWindow>(), std::move(launcher),
                      std::make_unique<SystemClock>());
    desktop.setMessages(&services.messages()); // a file no program opens: where it was written

    // The demonstration commune is made once, on its first start.
    if (options.demo && !QFileInfo::exists(folders.data + '/' + tables::Roles)) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool made = services.messages().guard([&] { CreateSyntheticCommune(services, {kDemoRoles, 1, true, services.clock().today().year()}); });
        QApplication::restoreOverrideCursor();
        if (!made) return 1;
    }

    StartupWindow window;
    TForm3 mainWindow(services);
    // The calculation constants and the administrator window that edits them live for the
    // whole run; start-up fills them before anyone logs in.
    AdminConstants constants;
    TForm4 adminWindow(services, constants, &mainWindow);
    mainWindow.attach(QStringLiteral("Administrare"), [&] { adminWindow.OpenAdministratorWindow(); });
    // The role register, opened by "Gospodarii -Roluri-"; its village list comes from
    // start-up and again whenever the administrator saves the localities.
    TGospodarii roleWindow(services, constants, &mainWindow);
    InstallDeclarationPages(roleWindow, services, constants);
    mainWindow.attach(QStringLiteral("Gospodarii"), [&] { roleWindow.OpenRoleRegister(); });
    // The import from the agricultural register: by hand from a backup, and once a day from
    // the register's folder, followed then by the adding of every role to payment.
    TRA2015Sel registerChoice(services, &mainWindow);
    mainWindow.attach(QStringLiteral("PreluareRA1"), [&] {
        const bool rolesOpen = roleWindow.isVisible();
        RegisterImportScreens screens;
        screens.chooseFile = [&] { return ChooseRegisterBackup(&mainWindow); };
        screens.closeRoles = [&] { if (rolesOpen) roleWindow.reject(); };
        screens.reopenRoles = [&] { if (rolesOpen) roleWindow.OpenRoleRegister(); };
        screens.pump = [] { ServeRepaints(); };
        PreluareRA1Click(services, registerChoice, screens);
    });
    mainWindow.dailyImport().setImport([&](const QString& work, const AutoImportSettings& settings) {
        DailyImportHooks hooks;
        hooks.beforeImport = [&] { if (mainWindow.isLoggedIn()) mainWindow.showLoginPanel(); };
        hooks.afterImport = [&] { roleWindow.StartAutoAdd(); };
        return RunDailyRegisterImport(services, work, settings, hooks);
    });
    // Collections: "Incasari" (and F1) loops between the role picker and the role's account.
    TAvansatSearch rolePicker(services, &mainWindow);
    TGospodarieF accountWindow(services, constants, &mainWindow);
    mainWindow.attach(QStringLiteral("Incasari"), [&] { RunCollections(rolePicker, accountWindow); });
    // "&OPEREAZA": the payment operation; a stored receipt is printed at once.
    PaymentOperation payment(services, accountWindow);
    payment.printReceipt = [&](qint64 idchit) { PrintStoredReceipt(services, constants, idchit); };
    accountWindow.attach(QStringLiteral("OperBut"), [&] { payment.OperButClick(); });
    // The cash register ("Registru de Casa") and the period dialog its lists share with the
    // compensation summary of the lists menu.
    TFAlegePerioada periodDialog(services, &mainWindow);
    TFRegCasa cashRegister(services, periodDialog, &mainWindow);
    mainWindow.attach(QStringLiteral("RegistruCasa"), [&] { cashRegister.OpenCashRegister(); });
    mainWindow.attach(QStringLiteral("Centralizatorcompensari1"), [&] { RunCompensationSummary(services, periodDialog); });
    // "Borderouri Debite": the statement chosen, or the period, then its list.
    TBordSelect statementSelector(services, &mainWindow);
    mainWindow.attach(QStringLiteral("BordDet"), [&] { BordDetClick(services, statementSelector); });
    mainWindow.attach(QStringLiteral("CentrBord"), [&] { CentrBordClick(services, periodDialog); });
    mainWindow.attach(QStringLiteral("Listacompleta1"), [&] { Listacompleta1Click(services, periodDialog); });
    TAutoDetF vehicleViewer(services, &accountWindow);
    accountWindow.attach(QStringLiteral("DetaliiAutoB"),
                         [&] { vehicleViewer.ShowVehicles(accountWindow.accountRole().role.id); });
    // "Pagina de &ROL": the role's yearly ledger in the print preview.
    report::ScreenOutput reportOutput(&accountWindow);
    accountWindow.attach(QStringLiteral("PagRolB"), [&] {
        const Role& role = accountWindow.accountRole().role;
        PrintRolePage(services, {role.id, role.number, role.village}, true, reportOutput);
    });
    // Receipt history, collections without a debit and the cancelled receipts; their
    // receipts and the cancelled-receipts report print through the report engine.
    TFIstoricChit historyWindow(services, &mainWindow);
    TFFaraDebit noDebitWindow(services, &mainWindow);
    TFChitAnulate cancelledWindow(services, constants, &mainWindow);
    const auto printReceipt = [&](qint64 idchit) { PrintStoredReceipt(services, constants, idchit); };
    historyWindow.setPrintReceipt(printReceipt);
    noDebitWindow.setPrintReceipt(printReceipt);
    report::ScreenOutput listOutput(&cancelledWindow);
    cancelledWindow.setPreviewReport([&](const ReportRows& rows) {
        listOutput.preview(report::LayOut(report::ListReport(rows.title, rows.heading, rows.columns, rows.rows)));
    });
    auto noDebitHistory = [&] {
        historyWindow.OpenHistory(QStringLiteral("FARA DEBIT - Istoric chitante."), kNoDebit, !services.IsCashier());
    };
    accountWindow.attach(QStringLiteral("IstClickB"), [&] {
        const Role& role = accountWindow.accountRole().role;
        if (historyWindow.OpenHistory(role.name + QStringLiteral(" - Istoric chitante."), role.id, !services.IsCashier()))
            accountWindow.CalcOm();
    });
    accountWindow.attach(QStringLiteral("FaraDebB"), [&] {
        const Role& role = accountWindow.accountRole().role;
        noDebitWindow.RunNoDebit({role.name, role.code, role.address, role.name,
                                  role.personType.trimmed().compare(kPersonNatural, Qt::CaseInsensitive) == 0});
    });
    accountWindow.attach(QStringLiteral("Button1"), noDebitHistory);
    rolePicker.attach(QStringLiteral("FaraDebB"), [&] { noDebitWindow.RunNoDebit(); });
    rolePicker.attach(QStringLiteral("Button1"), noDebitHistory);
    mainWindow.attach(QStringLiteral("Chitanteanulate1"), [&] { cancelledWindow.OpenCancelledReceipts(); });
    // "Instiintari de plata": the choice of roles and numbers, then the notices in one document.
    TPerSelect reportSelection(services, &mainWindow);
    mainWindow.attach(QStringLiteral("Instiintarideplata1"),
                      [&] { InstiintarideplataClick(services, constants, reportSelection); });
    // "Registrul Matricol": the choice of roles, then the register of land, buildings,
    // vehicles or all of it.
    TFAlegeROL roleChoice(services, &mainWindow);
    for (const auto& [entry, kind] : {std::pair{"Terenuri1", RegisterKind::Land},
                                      {"LocuinteAnexe1", RegisterKind::Buildings},
                                      {"Mijloacedetransport1", RegisterKind::Vehicles},
                                      {"Cumulat1", RegisterKind::Cumulated}})
        mainWindow.attach(QLatin1String(entry), [&services, &roleChoice, kind = kind] {
            MatriculationRegisterClick(services, roleChoice, kind);
        });
    // The other lists of the documents menu: the role register printed or exported, the
    // fire-service and guard fees, the fines of a claim, the land movements of a period and the
    // lists that need no choice.
    report::ScreenOutput registerOutput(&mainWindow);
    mainWindow.attach(QStringLiteral("Ramasite1"),
                      [&] { RoleRegisterClick(services, roleChoice, true, registerOutput); });
    mainWindow.attach(QStringLiteral("ExportinExcel1"),
                      [&] { RoleRegisterClick(services, roleChoice, false, registerOutput); });
    mainWindow.attach(QStringLiteral("PSIPaza1"), [&] { FireGuardClick(services, roleChoice); });
    TSelGrupa claimChoice(services, &mainWindow);
    mainWindow.attach(QStringLiteral("Listaamenzilor1"), [&] { FinesClick(services, claimChoice); });
    mainWindow.attach(QStringLiteral("TEMisc"), [&] { LandMovementsClick(services, periodDialog); });
    for (const auto& [entry, kind] : {std::pair{"ListaAuto1", OtherList::Vehicles},
                                      {"Listascutiri1", OtherList::Exemptions},
                                      {"abelCladiriimpozabile1", OtherList::TaxableBuildings},
                                      {"Autopeste12tCJ1", OtherList::Over12t},
                                      {"SituatieanaliticaconturipeROL1", OtherList::Analytic}})
        mainWindow.attach(QLatin1String(entry), [&services, kind = kind] { OtherListClick(services, kind); });
    // "Lista cu Ramasite / Plusuri" and "Lista de incasat".
    mainWindow.attach(QStringLiteral("LRamasite"), [&] { ListaRamasiteClick(services, roleChoice, ArrearsKind::Arrears); });
    mainWindow.attach(QStringLiteral("LPlusuri"),
                      [&] { ListaRamasiteClick(services, roleChoice, ArrearsKind::Overpayments); });
    mainWindow.attach(QStringLiteral("ListaRamasiteAdresa1"), [&] { ListaRamasiteAdresa1Click(services, roleChoice); });
    TAddListDeInc collectionChoice(services, &mainWindow);
    mainWindow.attach(QStringLiteral("Detaliata1"), [&] { ListadeincasatDet(services, collectionChoice); });
    mainWindow.attach(QStringLiteral("Rezumat1"), [&] { Rezumat1Click(services, collectionChoice); });
    mainWindow.attach(QStringLiteral("Gradulderecuperareimpozite1"), [&] { GradRec(services); });
    // Summonses: issued from the account, listed, confirmed and cancelled centrally, and the
    // report of a period.
    TSomConfirm summonsConfirm(services, &accountWindow);
    accountWindow.attach(QStringLiteral("SomatieTitlu"), [&] { SomTitP(services, accountWindow, summonsConfirm); });
    // Garnishments: the title number and the third party asked, the papers printed, nothing stored.
    TAddNrTitlu garnishmentTitle(services, &accountWindow);
    accountWindow.attach(QStringLiteral("PoprireBanca"),
                         [&] { PoprireP(services, accountWindow, garnishmentTitle, GarnishmentTo::Bank); });
    accountWindow.attach(QStringLiteral("PoprireAngajator"),
                         [&] { PoprireP(services, accountWindow, garnishmentTitle, GarnishmentTo::Employer); });
    TSomTitList summonsList(services, &mainWindow);
    mainWindow.attach(QStringLiteral("Somatiideplata1"), [&] { summonsList.ShowList(); });
    TSelPerPF summonsPeriod(services, &mainWindow);
    mainWindow.attach(QStringLiteral("Situatiaexecutarilorsilite1"), [&] { summonsPeriod.ShowChoice(); });
    // The vehicle report to the tax agency.
    TANAFF vehicleReport(services, &mainWindow);
    mainWindow.attach(QStringLiteral("XMLPatrimVenANAF1"), [&] { vehicleReport.XMLPatrimVenANAF1Click(); });
    // The fiscal certificate of the open role, and the register of debit receipt confirmations.
    TCFiscDet certificateDialog(services, constants, &accountWindow);
    accountWindow.attach(QStringLiteral("CertifBut"),
                         [&] { CertificatFiscalP(services, constants, accountWindow, certificateDialog); });
    TConfDeb confirmationsWindow(services, &mainWindow);
    mainWindow.attach(QStringLiteral("ConfirmareDebite"), [&] { confirmationsWindow.OpenRegister(); });
    adminWindow.setVillagesReady([&](const QStringList& villages) { roleWindow.setVillageList(villages); });
    QObject::connect(&mainWindow, &TForm3::loggedIn, &mainWindow, [&] { constants.loadUserOptions(services); });
    bool started = false; // the main window has taken over from the start-up window
    // Closing the main window offers the automatic backup of the data folder, then ends
    // the program.
    TForm21 backupWindow(services, &mainWindow);
    TFVerificari verificationWindow(services, &mainWindow);
    mainWindow.attach(QStringLiteral("SalvareRestaurare1"), [&] { backupWindow.showWindow(); });
    mainWindow.attach(QStringLiteral("Verificarebaze1"), [&] { verificationWindow.OpenVerificationWindow(); });
    mainWindow.setBeforeClose([&] { AutomaticBackup(services, ServeRepaints); });
    QObject::connect(&mainWindow, &TForm3::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::comeForwardRequested, &window, [&] {
        QWidget* front = started ? static_cast<QWidget*>(&mainWindow) : &window;
        bringWindowForward(front);
        traceLine(options, QStringLiteral("Vartesa: adusa in fata, fereastra ") +
                               (front->isMinimized() ? QStringLiteral("minimizata") : QStringLiteral("normala")) +
                               (started ? QStringLiteral(" (principala: ") + front->windowTitle() + ')' : QString()));
    });
    // One second after the window shows, the start-up sequence brings the data folder into
    // shape. A failure before the packing ends the run; later ones were reported already.
    window.runWhenShown([&] {
        try {
            StartupHooks hooks = UpgradeHooks(services.database(), services.folders, services.messages(),
                                              services.desktop(), DefaultAdminSettings());
            hooks.loadAdminSettings = [&] { constants.load(services); };
            hooks.showServerPath = [&](const QString& folder) { adminWindow.showServerPath(folder); };
            hooks.villagesReady = [&](const QStringList& villages) {
                roleWindow.setVillageList(villages);
                roleWindow.selectFirstVillage();
            };
            StartupSequence sequence({services.folders, services.database(), services.registry(),
                                      services.messages(), services.clock(), &window, std::move(hooks)});
            sequence.run();
            if (sequence.upkeepFailed())
                services.messages().ShowErrors(QStringLiteral("Pornire program"), StartupSequence::upkeepFailedText(),
                                               MessageKind::Warning, MessageButton::Ok);
            window.setStatus(QStringLiteral("Baza de date: ") + services.folders.data);
            window.advance(100);
            window.unsetCursor();
            mainWindow.session().setRolesTableEmpty(sequence.rolesTableEmpty());
            const bool minimised = window.isMinimized();
            window.hide();
            started = true;
            if (minimised)
                mainWindow.showMinimized();
            else
                mainWindow.show();
            mainWindow.showLoginPanel();
            traceLine(options, QStringLiteral("Vartesa: pornire terminata, date in ") + services.folders.data);
        } catch (const Error& e) {
            services.messages().ShowErrors(QStringLiteral("Pornire program"), e.text(), MessageKind::Error,
                                           MessageButton::Ok);
            QApplication::exit(1);
        }
    });
    if (options.minimised)
        window.showMinimized();
    else
        window.show();

    if (options.quitAfterMs >= 0)
        QTimer::singleShot(options.quitAfterMs, &app, &QApplication::quit);
    traceLine(options, QStringLiteral("Vartesa: pornita, date in ") + services.folders.data);
    return app.exec();
}
