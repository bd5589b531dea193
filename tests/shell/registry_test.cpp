// The machine's store of the release's values (SERVER, VER, CALE, CALESALVARI): one store
// per yearly release, so next year's release can find this year's data.

#include "shell/registry.h"
#include "support/shell_test_util.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString folder() const { return dir_.path(); }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(RegistryTest, AMissingValueReadsEmpty) {
    ReleaseRegistry registry(folder());
    EXPECT_EQ(registry.ReadRegistryValue("SERVER"), ""); // no file yet
    registry.WriteRegistryValue("VER", "Vartesa ver.1.26");
    EXPECT_EQ(registry.ReadRegistryValue("SERVER"), ""); // file, but not this value
    EXPECT_EQ(registry.ReadRegistryValue("CALESALVARI"), "");
}

TEST_F(RegistryTest, WrittenValuesReadBackAfterARestart) {
    {
        ReleaseRegistry registry(folder());
        registry.WriteRegistryValue("SERVER", "/mnt/primarie/Data");
        registry.WriteRegistryValue("CALE", "C:\\Vartesa 2015\\Program");
        registry.WriteRegistryValue("CALESALVARI", QString::fromUtf8("/home/ion/Salvări"));
        registry.WriteRegistryValue("VER", "Vartesa ver.1.26");
        EXPECT_EQ(registry.ReadRegistryValue("SERVER"), "/mnt/primarie/Data");
    }
    const ReleaseRegistry again(folder()); // the next start of the program
    EXPECT_EQ(again.ReadRegistryValue("SERVER"), "/mnt/primarie/Data");
    EXPECT_EQ(again.ReadRegistryValue("CALE"), "C:\\Vartesa 2015\\Program");
    EXPECT_EQ(again.ReadRegistryValue("CALESALVARI"), QString::fromUtf8("/home/ion/Salvări"));
    EXPECT_EQ(again.ReadRegistryValue("VER"), "Vartesa ver.1.26");
}

TEST_F(RegistryTest, AValueWrittenAgainReplacesTheOldOne) {
    ReleaseRegistry registry(folder());
    registry.WriteRegistryValue("SERVER", "/mnt/a");
    registry.WriteRegistryValue("SERVER", "/mnt/b");
    EXPECT_EQ(ReleaseRegistry(folder()).ReadRegistryValue("SERVER"), "/mnt/b");
    registry.WriteRegistryValue("SERVER", "");
    EXPECT_EQ(ReleaseRegistry(folder()).ReadRegistryValue("SERVER"), "");
}

TEST_F(RegistryTest, NamesMatchWithoutRegardToCase) {
    // Start-up writes CALE; next year's release looks for last year's folder under Cale.
    ReleaseRegistry registry(folder());
    registry.WriteRegistryValue("CALE", "/opt/vartesa2014");
    EXPECT_EQ(ReleaseRegistry(folder()).ReadRegistryValue("Cale"), "/opt/vartesa2014");
    registry.WriteRegistryValue("CaleSalvari", "/mnt/a");
    registry.WriteRegistryValue("CALESALVARI", "/mnt/b");
    EXPECT_EQ(ReleaseRegistry(folder()).ReadRegistryValue("calesalvari"), "/mnt/b");
}

TEST_F(RegistryTest, ThePreviousReleaseIsASeparateStore) {
    ReleaseRegistry current(folder());
    ReleaseRegistry previous = current.release(kPreviousRelease);
    EXPECT_NE(current.path(), previous.path());

    previous.WriteRegistryValue("CALE", "/opt/vartesa2014");
    current.WriteRegistryValue("CALE", "/opt/vartesa2015");
    current.WriteRegistryValue("VER", "Vartesa ver.1.26");

    EXPECT_EQ(previous.ReadRegistryValue("CALE"), "/opt/vartesa2014");
    EXPECT_EQ(previous.ReadRegistryValue("VER"), "");
    EXPECT_EQ(current.ReadRegistryValue("CALE"), "/opt/vartesa2015");
    EXPECT_EQ(ReleaseRegistry(folder(), kPreviousRelease).ReadRegistryValue("CALE"), "/opt/vartesa2014");
    EXPECT_EQ(ReleaseRegistry(folder(), kRelease).ReadRegistryValue("CALE"), "/opt/vartesa2015");
}

TEST_F(RegistryTest, AMissingFolderIsCreatedOnTheFirstWrite) {
    const QString nested = folder() + "/config/Vartesa";
    ReleaseRegistry registry(nested);
    registry.WriteRegistryValue("VER", "Vartesa ver.1.26");
    EXPECT_TRUE(QFileInfo::exists(registry.path()));
    EXPECT_EQ(ReleaseRegistry(nested).ReadRegistryValue("VER"), "Vartesa ver.1.26");
}

TEST_F(RegistryTest, TheEnvironmentChoosesTheFolder) {
    const QByteArray saved = qgetenv("VARTESA_REGISTRY");
    const bool wasSet = qEnvironmentVariableIsSet("VARTESA_REGISTRY");
    qputenv("VARTESA_REGISTRY", folder().toUtf8());
    const QString chosen = ReleaseRegistry::defaultFolder();
    if (wasSet) qputenv("VARTESA_REGISTRY", saved);
    else qunsetenv("VARTESA_REGISTRY");
    EXPECT_EQ(chosen, folder());
}
