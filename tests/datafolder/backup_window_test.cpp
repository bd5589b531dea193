// The windows "Salvare - Restaurare" and "Verificari / Modificari manuale", driven by their
// components as the clerk would.

#include "db/database.h"
#include "datafolder/backup.h"
#include "shell/catalog.h"
#include "shell/services.h"
#include "datafolder/ui/backup_window.h"
#include "datafolder/ui/verification_window.h"
#include "support/scripted_services.h"

#include "shell/registry.h"
#include "support/shell_test_util.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace vartesa {
namespace {

using shelltest::readBytes;
using shelltest::writeBytes;

class BackupWindowTest : public ::testing::Test {
protected:
    BackupWindowTest() : window_(env_.services()) {
        env_.services().grade = UserGrade::Admin;
        window_.setFileChooser([this](const QString& title, bool save, const QString& proposed) {
            chooserTitles_ << title + (save ? " (salvare)" : " (deschidere)");
            proposed_ = proposed;
            return chosen_;
        });
        window_.setEndApplication([this] { ++ended_; });
        // A restore takes only an archive that holds the tables of a database.
        for (const char* name : {"Datorii.dbf", "SoldCalc.dbf", "Gospodar.dbf"})
            CreateTable(env_.services().database(), data() + '/' + name, CatalogTable(name));
        writeBytes(data() + "/Nota.txt", "datorii de azi");
    }

    QString data() const { return env_.folders().defaultData; }
    QPushButton* button(const char* name) { return window_.findChild<QPushButton*>(name); }

    test::TestServices env_;
    TForm21 window_;
    QString chosen_;           // what the file dialog answers
    QStringList chooserTitles_; // dialogs shown
    QString proposed_;          // where the last dialog opened
    int ended_ = 0;            // times the program was ended
};

TEST_F(BackupWindowTest, RestoreIsOfferedToAdministratorsOnly) {
    env_.services().grade = UserGrade::Cashier;
    window_.show();
    EXPECT_EQ(window_.windowTitle(), "Salvare - Restaurare");
    EXPECT_TRUE(button("SaveB")->isEnabled());
    EXPECT_FALSE(button("LoadB")->isEnabled());
    window_.hide();
    env_.services().grade = UserGrade::Admin;
    window_.show();
    EXPECT_TRUE(button("LoadB")->isEnabled());
    window_.hide();
}

TEST_F(BackupWindowTest, SaveAsksBeforeReplacingAndKeepsTheOldArchiveOnNu) {
    chosen_ = env_.root() + "/copie.vsa";
    writeBytes(chosen_, "salvarea veche");
    env_.messages().answerNext("NU");
    button("SaveB")->click();
    EXPECT_EQ(chooserTitles_, QStringList({"Unde salvam arhiva ? (salvare)"}));
    ASSERT_EQ(env_.messages().shown().size(), 1u);
    EXPECT_EQ(env_.messages().shown()[0].title, "Atentionare");
    EXPECT_EQ(env_.messages().shown()[0].text, "Vreti sa inlocuiti salvarea " + chosen_ + "?");
    EXPECT_EQ(readBytes(chosen_), "salvarea veche");

    env_.messages().answerNext("DA");
    button("SaveB")->click();
    EXPECT_EQ(env_.messages().titles().back(), "Informatie");
    EXPECT_EQ(env_.messages().shown().back().text, "Salvare incheiata cu succes !");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(CheckArchive(chosen_).at(0).name, "Data\\Datorii.dbf");
    EXPECT_EQ(ended_, 0);
}

// The save dialog opens in the backup folder with the name today's automatic backup would
// take; without a backup folder, in the documents folder.
TEST_F(BackupWindowTest, TheSaveDialogProposesTheBackupFolderAndTodaysName) {
    const QString backups = env_.root() + "/salvari";
    ASSERT_TRUE(QDir().mkpath(backups));
    writeBytes(backups + "/15.01.2015_0.vsa", "salvarea de dimineata");
    const struct {
        QString registry;
        QString proposed;
    } cases[] = {
        {backups, backups + "/15.01.2015_1.vsa"},
        {"-", QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/15.01.2015_0.vsa"},
    };
    for (const auto& c : cases) {
        env_.services().registry().WriteRegistryValue("CALESALVARI", c.registry);
        chosen_.clear(); // the clerk cancels the dialog
        button("SaveB")->click();
        EXPECT_EQ(proposed_, c.proposed);
    }
}

TEST_F(BackupWindowTest, RestoreReplacesTheDatabaseAndEndsTheProgram) {
    const QString archive = env_.root() + "/ieri.vsa";
    ASSERT_TRUE(CompressFiles(ListFileDir(env_.folders().program), archive));
    writeBytes(data() + "/Nota.txt", "modificat dupa salvare");

    // Cancelling the question or the dialog changes nothing.
    env_.messages().answerNext("NU");
    button("LoadB")->click();
    env_.messages().answerNext("DA");
    chosen_.clear();
    button("LoadB")->click();
    EXPECT_EQ(readBytes(data() + "/Nota.txt"), "modificat dupa salvare");

    env_.messages().clearShown();
    chosen_ = archive;
    env_.messages().answerNext("DA");
    button("LoadB")->click();
    ASSERT_EQ(env_.messages().shown().size(), 2u);
    EXPECT_EQ(env_.messages().shown()[0].title, "Restaurare date");
    EXPECT_EQ(env_.messages().shown()[0].text, "ATENTIE!\rPrin restaurare se pierd datele existente! Continuam?");
    EXPECT_EQ(env_.messages().shown()[0].enterButton, MessageButton::Nu) << "Enter must not restore";
    EXPECT_EQ(env_.messages().shown()[1].text,
              "Restaurare incheiata cu succes !\r\nVa rog sa porniti programul din nou !\r\n"
              "Fisierele de dinainte de restaurare sunt pastrate in " + data() + ".inainte-de-restaurare");
    EXPECT_EQ(chooserTitles_.back(), "Indicati salvarea precedenta Vartesa 2015 (deschidere)");
    EXPECT_EQ(readBytes(data() + "/Nota.txt"), "datorii de azi");
    EXPECT_EQ(ended_, 1);
}

TEST_F(BackupWindowTest, RefusedRestoresLeaveTheDatabaseAndTheProgramRunning) {
    // A missing archive.
    chosen_ = env_.root() + "/lipsa.vsa";
    env_.messages().answerNext("DA");
    button("LoadB")->click();
    EXPECT_EQ(env_.messages().shown().back().title, "Eroare");
    EXPECT_EQ(env_.messages().shown().back().text, "Salvarea " + chosen_ + " nu exista !");

    // A truncated one.
    const QString archive = env_.root() + "/ciunt.vsa";
    ASSERT_TRUE(CompressFiles(ListFileDir(env_.folders().program), archive));
    writeBytes(archive, readBytes(archive).chopped(3));
    writeBytes(data() + "/Nota.txt", "datele bune");
    chosen_ = archive;
    env_.messages().answerNext("DA");
    env_.messages().answerNext("DA"); // restore one without its closing control sum?
    button("LoadB")->click();
    EXPECT_TRUE(env_.messages().shown().at(env_.messages().shown().size() - 2).text.startsWith(UnsealedArchiveWarning()));
    EXPECT_EQ(env_.messages().shown().back().title, "Restaurare date");
    EXPECT_TRUE(env_.messages().shown().back().text.startsWith("Restaurarea nu s-a facut!\rArhiva este incompleta"))
        << env_.messages().shown().back().text.toStdString();
    EXPECT_EQ(readBytes(data() + "/Nota.txt"), "datele bune");

    // A workstation in network mode may not restore.
    env_.services().folders.data = env_.root() + "/server/Data";
    env_.messages().clearShown();
    button("LoadB")->click();
    ASSERT_EQ(env_.messages().shown().size(), 1u);
    EXPECT_EQ(env_.messages().shown()[0].title, "Restaurare baza de date");
    EXPECT_EQ(env_.messages().shown()[0].text, "Utilizati o baza de date din retea!\rNu puteti face restaurarea!");
    EXPECT_EQ(ended_, 0);
}

// The administrator finds the damaged tables in the window and mends one after a question.
TEST(VerificationWindowTest, ListsDamagedTablesAndRepairsTheChosenOne) {
    test::TestServices env;
    db::Database& db = env.services().database();
    const QString data = env.folders().data;
    CreateTable(db, data + "/Datorii.dbf", CatalogTable("Datorii.dbf"));
    CreateTable(db, data + "/SoldCalc.dbf", CatalogTable("SoldCalc.dbf"));
    for (int id = 1; id <= 3; ++id)
        db.exec(QStringLiteral("INSERT INTO \"%1/Datorii.dbf\" (IDDAT, ROL) VALUES (?, '7')").arg(data), {id});
    QByteArray bytes = readBytes(data + "/Datorii.dbf");
    bytes[4] = 2; // the header counts one record fewer than the file holds
    writeBytes(data + "/Datorii.dbf", bytes);

    TFVerificari window(env.services());
    window.show();
    window.findChild<QPushButton*>("DeteriorateB")->click();
    auto* list = window.findChild<QListWidget*>("TabeleDeteriorate");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Tabela Datorii.dbf este deteriorata: antetul arata 2 inregistrari, fisierul are 3.");
    env.messages().answerNext("DA");
    window.findChild<QPushButton*>("ReparaB")->click();
    EXPECT_EQ(env.messages().shown().back().text,
              "Tabela Datorii.dbf este deteriorata: antetul arata 2 inregistrari, fisierul are 3.\r"
              "Copia tabelei asa cum era: Datorii.bak.\rAntetul arata acum 3 inregistrari.");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(readBytes(data + "/Datorii.bak"), bytes);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1/Datorii.dbf\"").arg(data)).toInt(), 3);
    window.hide();
}

TEST(VerificationWindowTest, RoleBoxFiltersBothTablesAndDuplicatesShowInTheLowerGrid) {
    test::TestServices env;
    db::Database& db = env.services().database();
    const QString data = env.folders().data;
    CreateTable(db, data + "/Datorii.dbf", CatalogTable("Datorii.dbf"));
    CreateTable(db, data + "/SoldCalc.dbf", CatalogTable("SoldCalc.dbf"));
    int id = 0;
    for (const char* rol : {"12", "12", "4", "120", "4"})
        db.exec(QStringLiteral("INSERT INTO \"%1/Datorii.dbf\" (IDDAT, ROL, DENUM) VALUES (?,?,?)").arg(data),
                {++id, QString::fromLatin1(rol), QStringLiteral("Vapoare")});
    for (const char* rol : {"12", "5"})
        db.exec(QStringLiteral("INSERT INTO \"%1/SoldCalc.dbf\" (IDRES, ROL, GRUPA) VALUES (?,?,?)").arg(data),
                {++id, QString::fromLatin1(rol), QStringLiteral("Impozit pe cladiri")});

    TFVerificari window(env.services());
    window.show();
    auto* rol = window.findChild<QLineEdit*>("RolX");
    QTest::keyClick(rol, Qt::Key_1);
    QTest::keyClick(rol, Qt::Key_2);
    window.findChild<QPushButton*>("Verif1B")->click();
    EXPECT_EQ(window.findChild<QLabel*>("ExplicP")->text(), "Baza de date cu datoriile ...");
    auto* upper = window.findChild<QTableView*>("DBGrid1");
    EXPECT_EQ(upper->model()->rowCount(), 2);

    window.findChild<QPushButton*>("ConvexBtn1")->click();
    EXPECT_EQ(window.findChild<QLabel*>("ExplicP")->text(), "Baza de date cu soldurile ...");
    EXPECT_EQ(upper->model()->rowCount(), 1) << "the filter stays when the other table opens";
    rol->clear();
    EXPECT_EQ(upper->model()->rowCount(), 2);

    window.findChild<QPushButton*>("DubluriDatB")->click();
    auto* lower = window.findChild<QTableView*>("DBGrid2");
    ASSERT_EQ(lower->model()->rowCount(), 2);
    EXPECT_EQ(lower->model()->index(0, 0).data().toString().trimmed(), "12");
    EXPECT_EQ(lower->model()->index(1, 0).data().toString().trimmed(), "4");
    EXPECT_EQ(lower->model()->index(1, 1).data().toInt(), 2);
    EXPECT_EQ(lower->editTriggers(), QAbstractItemView::NoEditTriggers);

    // Ctrl+Delete in the upper grid asks before deleting.
    window.findChild<QPushButton*>("Verif1B")->click();
    upper->setCurrentIndex(upper->model()->index(0, 0));
    env.messages().answerNext("NU");
    QTest::keyClick(upper, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(upper->model()->rowCount(), 5);
    env.messages().answerNext("DA");
    QTest::keyClick(upper, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(upper->model()->rowCount(), 4);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1/Datorii.dbf\"").arg(data)).toInt(), 4);
    window.hide();
}

TEST(VerificationWindowTest, NoDuplicatesIsSaidOnTheStatusLine) {
    test::TestServices env;
    db::Database& db = env.services().database();
    const QString data = env.folders().data;
    for (const char* table : {"Datorii.dbf", "SoldCalc.dbf"}) CreateTable(db, data + '/' + table, CatalogTable(table));
    db.exec(QStringLiteral("INSERT INTO \"%1/Datorii.dbf\" (IDDAT, ROL, DENUM) VALUES (1, '7', 'Vapoare')").arg(data));
    TFVerificari window(env.services());
    window.show();
    for (const char* button : {"DubluriDatB", "DubluriSoldB"}) {
        window.findChild<QLabel*>("ExplicP")->clear();
        window.findChild<QPushButton*>(button)->click();
        EXPECT_EQ(window.findChild<QTableView*>("DBGrid2")->model()->rowCount(), 0) << button;
        EXPECT_EQ(window.findChild<QLabel*>("ExplicP")->text(), "Nu exista dubluri.") << button;
    }
    window.hide();
}

} // namespace
} // namespace vartesa
