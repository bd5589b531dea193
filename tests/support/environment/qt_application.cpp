// One QApplication for every test of this program: the window tests need it, and the
// process tests use Qt's event-driven sockets and processes.

#include <QApplication>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        // Run by hand as well as by ctest: never reach for a real display. The offscreen
        // screen is the clerks' 1366x768, so windows are laid out as they will be seen.
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (platform.isEmpty() || platform == "offscreen") {
            config_.open();
            config_.write(R"({"screens": [{"name": "clerk", "x": 0, "y": 0, "width": 1366, "height": 768,
                              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            config_.flush();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config_.fileName().toLocal8Bit());
        }
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "test_shell";
    char* argv_[2] = {name_, nullptr};
    QTemporaryFile config_; // the offscreen screen's description
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
