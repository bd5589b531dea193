// The folder settings of the administrator window: the server's data folder, the backup
// folder and the agricultural register's DATA folder, with the clerk's messages.

#include "admin/admin_folders.h"
#include "shell/registry.h"
#include "shell/startup.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::TestServices;

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

QString makeFolder(TestServices& env, const QString& name, const QStringList& files) {
    const QString folder = env.root() + '/' + name;
    QDir().mkpath(folder);
    for (const QString& f : files) touch(folder + '/' + f);
    return folder;
}

TEST(AdminFolders, ServerFolderMustHoldTheTables) {
    TestServices env;
    QStringList tables = RequiredNetworkTables();
    tables.removeOne("Datorii.dbf");
    const QString incomplete = makeFolder(env, "incomplet", tables);
    FolderOutcome out = ChangeServerPath(env.services(), incomplete + '/');
    EXPECT_FALSE(out.changed);
    EXPECT_FALSE(out.endProgram);
    ASSERT_EQ(env.messages().shown().size(), 1u);
    EXPECT_EQ(env.messages().shown()[0].title, "Conectare server");
    EXPECT_EQ(env.messages().shown()[0].text, "Baza de date " + incomplete +
                                                  "\rNU este accesibila!\rVerificati conexiunea si reporniti programul!");
    EXPECT_EQ(env.messages().shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(env.services().registry().ReadRegistryValue("SERVER"), "");

    env.messages().clearShown();
    QStringList lowerCase;
    for (const QString& t : RequiredNetworkTables()) lowerCase << t.toLower(); // names match in any case
    const QString complete = makeFolder(env, "server", lowerCase);
    out = ChangeServerPath(env.services(), complete + '/');
    EXPECT_TRUE(out.changed);
    EXPECT_TRUE(out.endProgram);
    EXPECT_EQ(out.shown, complete); // the trailing separator is dropped
    EXPECT_EQ(env.services().registry().ReadRegistryValue("SERVER"), complete);
    EXPECT_EQ(env.messages().titles(), QStringList{"Conectat la server"});
    EXPECT_EQ(env.messages().shown()[0].text, "Conectarea la server a reusit!\rPorniti programul din nou !");
}

TEST(AdminFolders, ClearingTheServerAsksAndEndsTheProgram) {
    TestServices env;
    env.services().registry().WriteRegistryValue("SERVER", "/mnt/server/Data");
    QObject field;
    field.setObjectName("CaleServer");

    FolderOutcome out = ClearServerPath(env.services(), "  -", &field);
    EXPECT_FALSE(out.changed);
    ASSERT_EQ(env.messages().hints().size(), 1u);
    EXPECT_EQ(env.messages().hints()[0].text, "Nu aveti ce sterge.");
    EXPECT_EQ(env.messages().hints()[0].anchor, "CaleServer");

    env.messages().answerNext("NU");
    out = ClearServerPath(env.services(), "/mnt/server/Data", &field);
    EXPECT_FALSE(out.changed);
    EXPECT_EQ(env.services().registry().ReadRegistryValue("SERVER"), "/mnt/server/Data");

    env.messages().clearShown();
    env.messages().answerNext("DA");
    out = ClearServerPath(env.services(), "/mnt/server/Data", &field);
    EXPECT_TRUE(out.endProgram);
    EXPECT_EQ(out.shown, "  -");
    EXPECT_EQ(env.services().registry().ReadRegistryValue("SERVER"), "");
    EXPECT_EQ(env.messages().titles(), (QStringList{"Stergere cale server", "Deconectat de la server"}));
}

TEST(AdminFolders, BackupFolderMustBeWritable) {
    TestServices env;
    const QString writable = makeFolder(env, "salvari", {});
    FolderOutcome out = ChangeBackupPath(env.services(), writable);
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(env.services().registry().ReadRegistryValue("CALESALVARI"), writable);
    EXPECT_FALSE(QFile::exists(writable + "/test.txt")); // the test file does not stay
    EXPECT_EQ(env.messages().shown().at(0).text, "Calea pentru Salvari Automate este acum\r" + writable + ".");

    env.messages().clearShown();
    const QString missing = env.root() + "/nu-exista";
    out = ChangeBackupPath(env.services(), missing);
    EXPECT_FALSE(out.changed);
    EXPECT_EQ(env.services().registry().ReadRegistryValue("CALESALVARI"), writable);
    ASSERT_EQ(env.messages().titles(), QStringList{"Stabilire cale salvari"});
    EXPECT_EQ(env.messages().shown()[0].text, "Nu pot scrie in " + missing + " !\rAlegeti alta cale, unde sa pot scrie!");

    env.messages().clearShown();
    env.messages().answerNext("DA");
    out = ClearBackupPath(env.services(), writable, nullptr);
    EXPECT_EQ(out.shown, "-");
    EXPECT_EQ(env.services().registry().ReadRegistryValue("CALESALVARI"), "");
    EXPECT_EQ(env.messages().titles(), (QStringList{"Stergere cale salvari", "Salvare Automata"}));
}

TEST(AdminFolders, OnlyTheOwningMachineSetsTheBackupFolder) {
    TestServices env;
    EXPECT_TRUE(MayChangeBackupPath(env.services()));
    EXPECT_TRUE(env.messages().shown().empty());
    env.services().folders.data = env.root() + "/server";
    EXPECT_FALSE(MayChangeBackupPath(env.services()));
    ASSERT_EQ(env.messages().shown().size(), 1u);
    EXPECT_EQ(env.messages().shown()[0].text, "Numai Serverul poate salva automat!");
}

TEST(AdminFolders, RegisterFolderMustHoldTheEightFiles) {
    TestServices env;
    const QString good = makeFolder(env, "RA", {"VOLUME.DBF", "Identificare.dbf", "cap1.dbf", "Cap2A.dbf", "Cap2B.dbf",
                                                "Cap11.dbf", "Cap7.dbf", "RA2015.set"});
    FolderOutcome out = CheckRegisterFolder(env.services(), good + '/');
    EXPECT_EQ(out.shown, good);
    EXPECT_TRUE(env.messages().shown().empty());

    QFile::remove(good + "/RA2015.set");
    out = CheckRegisterFolder(env.services(), good);
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(out.shown, ""); // the shown folder is emptied
    ASSERT_EQ(env.messages().titles(), QStringList{"Setare director RA 2015"});
    EXPECT_EQ(env.messages().shown()[0].text, "Baza de date " + good + "\rNU este de la RA 2015-2019!");
}

} // namespace
