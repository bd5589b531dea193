// Where the program keeps its files: the order of the sources of the program folder, the
// fallbacks, and the folders start-up creates.

#include "db/error.h"
#include "shell/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

// Inputs of a machine where the executable sits in /opt/vartesa and every folder but the
// ones in `readOnly` can be written.
FolderInputs machine(QStringList extraArguments = {}, QStringList readOnly = {}) {
    FolderInputs in;
    in.arguments = QStringList{"/opt/vartesa/vartesa"} + extraArguments;
    in.environment.insert("HOME", "/home/ion");
    in.executableFolder = "/opt/vartesa";
    in.isWritable = [readOnly](const QString& folder) { return !readOnly.contains(folder); };
    in.userDataFolder = "/home/ion/.local/share/Vartesa";
    return in;
}

} // namespace

TEST(ProgramFolder, ArgumentBeatsEnvironmentBeatsExecutableFolder) {
    FolderInputs in = machine({"--program-folder", "/srv/primarie"});
    in.environment.insert("VARTESA_HOME", "/var/lib/vartesa");
    EXPECT_EQ(resolveFolders(in).program, "/srv/primarie");

    in.arguments = QStringList{"/opt/vartesa/vartesa"};
    EXPECT_EQ(resolveFolders(in).program, "/var/lib/vartesa");

    in.environment.remove("VARTESA_HOME");
    EXPECT_EQ(resolveFolders(in).program, "/opt/vartesa");
}

TEST(ProgramFolder, ArgumentMayBeJoinedWithEqualsSign) {
    EXPECT_EQ(resolveFolders(machine({"--program-folder=/srv/p2"})).program, "/srv/p2");
}

TEST(ProgramFolder, ArgumentWithoutFolderIsRefused) {
    EXPECT_THROW(resolveFolders(machine({"--program-folder"})), Error);
    EXPECT_THROW(resolveFolders(machine({"--program-folder="})), Error);
    // The program's own name is never read as an option, even if it looks like one.
    EXPECT_EQ(programFolderArgument({"--program-folder"}), "");
}

TEST(ProgramFolder, IsMadeAbsoluteAndCleaned) {
    EXPECT_EQ(resolveFolders(machine({"--program-folder", "/srv//p/../primarie/"})).program,
              "/srv/primarie");
    const QString relative = resolveFolders(machine({"--program-folder", "rel/p"})).program;
    EXPECT_TRUE(QDir::isAbsolutePath(relative)) << relative.toStdString();
    EXPECT_EQ(relative, QDir::cleanPath(QDir::current().absoluteFilePath("rel/p")));
}

TEST(ProgramFolder, EmptyEnvironmentValueIsIgnored) {
    FolderInputs in = machine();
    in.environment.insert("VARTESA_HOME", "");
    EXPECT_EQ(resolveFolders(in).program, "/opt/vartesa");
}

TEST(ProgramFolder, UnwritableExecutableFolderFallsBackToTheUserDataFolder) {
    const Folders f = resolveFolders(machine({}, {"/opt/vartesa"}));
    EXPECT_EQ(f.program, "/home/ion/.local/share/Vartesa");
    EXPECT_EQ(f.defaultData, "/home/ion/.local/share/Vartesa/Data");
}

TEST(ProgramFolder, NoFolderAtAllIsAnError) {
    FolderInputs in = machine({}, {"/opt/vartesa"});
    in.userDataFolder.clear();
    EXPECT_THROW(resolveFolders(in), Error);
}

TEST(DataFolders, DefaultDataIsInsideTheProgramFolderAndStartsAsTheDataFolder) {
    const Folders f = resolveFolders(machine({"--program-folder", "/srv/primarie"}));
    EXPECT_EQ(f.defaultData, "/srv/primarie/Data");
    EXPECT_EQ(f.data, f.defaultData);
    EXPECT_TRUE(f.isLocalMode());
}

TEST(DataFolders, TheDemonstrationLivesInTheProgramFolderTheClerkNamed) {
    const FolderInputs plain = machine();
    EXPECT_EQ(DemoFolders(resolveFolders(plain), plain.arguments).data, "/home/ion/.local/state/Vartesa/Demo/Data");
    const FolderInputs named = machine({"--program-folder", "/srv/proba"});
    const Folders f = DemoFolders(resolveFolders(named), named.arguments);
    EXPECT_EQ(QStringList({f.program, f.data}), QStringList({"/srv/proba", "/srv/proba/Data"}));
}

TEST(MachineFolder, FollowsTheUserStateLocation) {
    FolderInputs in = machine();
    EXPECT_EQ(resolveFolders(in).machine, "/home/ion/.local/state/Vartesa");
    in.environment.insert("XDG_STATE_HOME", "/tmp/stare");
    EXPECT_EQ(resolveFolders(in).machine, "/tmp/stare/Vartesa");
    // A relative XDG value is invalid by its own rules and must be ignored.
    in.environment.insert("XDG_STATE_HOME", "stare");
    EXPECT_EQ(resolveFolders(in).machine, "/home/ion/.local/state/Vartesa");
    // Without a home the scratch folder stays with the program.
    in.environment.remove("XDG_STATE_HOME");
    in.environment.remove("HOME");
    EXPECT_EQ(resolveFolders(in).machine, "/opt/vartesa/Stare");
}

TEST(PrepareFolders, CreatesDefaultDataAndMachineFoldersWithParents) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    FolderInputs in = machine({"--program-folder", tmp.path() + "/a/b/program"});
    in.environment.insert("XDG_STATE_HOME", tmp.path() + "/state");
    const Folders f = resolveFolders(in);
    EXPECT_FALSE(QFileInfo::exists(f.defaultData)); // resolving alone touches nothing

    prepareFolders(f);
    EXPECT_TRUE(QFileInfo(tmp.path() + "/a/b/program/Data").isDir());
    EXPECT_TRUE(QFileInfo(tmp.path() + "/state/Vartesa").isDir());

    // A second start finds them in place, with what was put in them.
    QFile kept(f.defaultData + "/Vartesa.set");
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.close();
    prepareFolders(f);
    EXPECT_TRUE(QFileInfo::exists(f.defaultData + "/Vartesa.set"));
}

TEST(PrepareFolders, ReportsTheFolderThatCannotBeCreated) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // A file where the program folder should be: nothing can be created under it.
    QFile blocker(tmp.path() + "/program");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Folders f;
    f.program = tmp.path() + "/program";
    f.defaultData = f.program + "/Data";
    f.data = f.defaultData;
    f.machine = tmp.path() + "/state";
    try {
        prepareFolders(f);
        FAIL() << "a file in the way must stop start-up";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains(f.program)) << e.text().toStdString();
    }
}

TEST(WriteProbe, TellsWritableFoldersFromMissingOnes) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    EXPECT_TRUE(canCreateFilesIn(tmp.path()));
    EXPECT_FALSE(canCreateFilesIn(tmp.path() + "/nu-exista"));
    QFile file(tmp.path() + "/fisier");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(canCreateFilesIn(file.fileName()));
    // The probe leaves nothing behind in the folder it tested.
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"fisier"}));
}
