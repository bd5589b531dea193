// One QApplication for every test of this program: the window tests need it, and the
// process tests use Qt's event-driven sockets and processes.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        // Run by hand as well as by ctest: never reach for a real display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "test_shell";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
