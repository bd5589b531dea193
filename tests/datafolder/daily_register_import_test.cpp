// The main window's daily import from the agricultural register: when the timer runs the
// import, and what it records afterwards.

#include "db/error.h"
#include "shell/counters.h"
#include "datafolder/daily_register_import.h"
#include "shell/startup.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

class DailyImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.clock().setNow(QDateTime(today_, QTime(13, 59)));
        CountersFile counters = env_.services().counters();
        counters.WriteCounter("SERVER", "AUTORA", "DA");
        counters.WriteCounter("SERVER", "ORAAUTORA", "14:00");
        counters.WriteCounter("SERVER", "CALEAUTORA", "/srv/ra/DATA");
        counters.WriteCounter("SERVER", "AutoRADate", QString::number(DayNumber(today_.addDays(-1))));
        timer_.setImport([this](const QString& work, const AutoImportSettings& s) {
            ++runs_;
            work_ = work;
            folder_ = s.folder;
            QDir().mkpath(work); // the import copies the register there
            return true;
        });
    }

    void at(int hour, int minute) { env_.clock().setNow(QDateTime(env_.clock().today(), QTime(hour, minute))); }
    QString doneDay() { return env_.services().counters().ReadCounter("SERVER", "AutoRADate"); }

    const QDate today_{2015, 3, 10};
    test::TestServices env_;
    DailyRegisterImport timer_{env_.services()};
    int runs_ = 0;
    QString work_;
    QString folder_;
};

} // namespace

TEST_F(DailyImportTest, RunsOnceAtTheFirstTickAfterTheSetHour) {
    timer_.start();
    EXPECT_TRUE(timer_.isActive());
    EXPECT_EQ(timer_.workFolder(), env_.folders().machine + "/TEMP/ActualizareRA");

    timer_.tick(); // 13:59: not yet
    EXPECT_EQ(runs_, 0);
    EXPECT_TRUE(timer_.isActive());
    EXPECT_EQ(doneDay(), QString::number(DayNumber(today_.addDays(-1))));

    at(14, 0);
    timer_.tick();
    EXPECT_EQ(runs_, 1);
    EXPECT_EQ(work_, timer_.workFolder());
    EXPECT_EQ(folder_, "/srv/ra/DATA");
    EXPECT_EQ(doneDay(), QString::number(DayNumber(today_)));
    EXPECT_FALSE(QFileInfo::exists(timer_.workFolder())); // cleaned up
    EXPECT_TRUE(timer_.isActive());

    for (int minute = 1; minute < 4; ++minute) {
        at(14, minute);
        timer_.tick();
    }
    EXPECT_EQ(runs_, 1);
    EXPECT_FALSE(timer_.isActive()); // done today: stopped for the run
    EXPECT_TRUE(env_.messages().shown().empty());
}

TEST_F(DailyImportTest, NothingRunsWhenSwitchedOffOnAWorkstationOrAlreadyDone) {
    at(15, 0);
    env_.services().counters().WriteCounter("SERVER", "AUTORA", "NU");
    timer_.start();
    timer_.tick();
    EXPECT_FALSE(timer_.isActive());

    env_.services().counters().WriteCounter("SERVER", "AUTORA", "DA");
    // A workstation works on another machine's data folder (same counters file here).
    const QString own = env_.services().folders.defaultData;
    env_.services().folders.defaultData = env_.root() + "/program/AltData";
    ASSERT_FALSE(env_.services().folders.isLocalMode());
    timer_.start();
    timer_.tick();
    EXPECT_FALSE(timer_.isActive());
    env_.services().folders.defaultData = own;

    env_.services().counters().WriteCounter("SERVER", "AutoRADate", QString::number(DayNumber(today_)));
    timer_.start();
    timer_.tick();
    EXPECT_FALSE(timer_.isActive());
    EXPECT_EQ(runs_, 0);
}

TEST_F(DailyImportTest, AFailedImportIsReportedAndNotTriedAgainThatDay) {
    at(16, 30);
    timer_.setImport([this](const QString& work, const AutoImportSettings&) -> bool {
        ++runs_;
        QDir().mkpath(work);
        throw Error("Baza de date specificata este goala");
    });
    timer_.start();
    timer_.tick();
    EXPECT_EQ(runs_, 1);
    ASSERT_EQ(env_.messages().shown().size(), 1u);
    EXPECT_EQ(env_.messages().shown().front().text, "Baza de date specificata este goala");
    EXPECT_EQ(doneDay(), QString::number(DayNumber(today_)));
    EXPECT_FALSE(QFileInfo::exists(timer_.workFolder()));
    EXPECT_FALSE(timer_.isActive());
}

TEST_F(DailyImportTest, WithoutTheRegisterImportTheDayIsNotMarkedDone) {
    at(15, 0);
    DailyRegisterImport bare(env_.services());
    bare.start();
    bare.tick();
    EXPECT_FALSE(bare.isActive());
    EXPECT_EQ(doneDay(), QString::number(DayNumber(today_.addDays(-1))));
}

TEST(DailyImportSettings, AreReadFromTheCountersFile) {
    test::TestServices env;
    EXPECT_FALSE(ReadAutoImportSettings(env.services().counters()).enabled);
    CountersFile counters = env.services().counters();
    counters.WriteCounter("SERVER", "AUTORA", "da");
    counters.WriteCounter("SERVER", "CALEAUTORA", "/ra");
    counters.WriteCounter("SERVER", "ORAAUTORA", "9:30");
    const AutoImportSettings s = ReadAutoImportSettings(counters);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.folder, "/ra");
    EXPECT_EQ(s.at, QTime(9, 30));

    for (const auto& [text, time] : std::vector<std::pair<QString, QTime>>{{"14:00", QTime(14, 0)},
                                                                            {" 07:05:30 ", QTime(7, 5, 30)},
                                                                            {"23.15", QTime(23, 15)},
                                                                            {"", QTime(0, 0)},
                                                                            {"dupa masa", QTime(0, 0)},
                                                                            {"25:00", QTime(0, 0)}})
        EXPECT_EQ(ParseImportTime(text), time) << text.toStdString();
}
