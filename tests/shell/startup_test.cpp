// The start-up sequence: local or network data folder, the first start of the day with its
// packing and clean-up of vanished villages, the village list, the release record, the
// templates and the counter resynchronisation; and the same sequence run by vartesa-tool.

#include "db/database.h"
#include "db/query.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/registry.h"
#include "shell/startup.h"
#include "shell/table_files.h"
#include "shell/table_helpers.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

using namespace vartesa;
using vartesa::shelltest::headerRecordCount;
using vartesa::shelltest::readBytes;

namespace {

const QString kConnectTitle = QStringLiteral("Conectare server");

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(registryDir_.isValid());
        ASSERT_TRUE(serverDir_.isValid());
        ASSERT_TRUE(QDir().mkpath(data()));
    }

    QString data() const { return env_.folders().defaultData; }
    QString server() const { return serverDir_.path(); }
    Folders& folders() { return env_.services().folders; }

    // The steps on their own run on the fixture's engine.
    StartupContext context(StartupHooks hooks = {}) { return context(db_, std::move(hooks)); }
    StartupContext context(db::Database& engine, StartupHooks hooks = {}) {
        return StartupContext{folders(), engine, registry_, env_.messages(), env_.clock(), nullptr, std::move(hooks)};
    }
    // One start of the program: a new process, so a new engine and a new sequence.
    StartupSequence& start(StartupHooks hooks = {}) {
        sequence_.reset();
        engine_.emplace();
        sequence_.emplace(context(*engine_, std::move(hooks)));
        EXPECT_TRUE(sequence_->run());
        return *sequence_;
    }

    QString counter(const QString& key) {
        return CountersFile(folders().data + "/Vartesa.set").ReadCounter("SERVER", key);
    }

    void createTable(const QString& path, const QString& fields) {
        db_.exec(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(path, fields));
    }
    void insert(const QString& path, const QString& fields, const QVariantList& values) {
        QStringList marks;
        for (qsizetype i = 0; i < values.size(); ++i) marks << "?";
        db_.exec(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)").arg(path, fields, marks.join(", ")), values);
    }
    // The required tables of a network data folder, all but `except`.
    void createNetworkTables(const QString& folder, const QString& except = {}, bool upperCase = false) {
        for (const QString& table : RequiredNetworkTables()) {
            if (table.compare(except, Qt::CaseInsensitive) == 0) continue;
            createTable(folder + '/' + (upperCase ? table.toUpper() : table),
                        "IDGOS DECIMAL(10,0), SATUL CHAR(32), ROL CHAR(9)");
        }
    }
    void createRoles(const QStringList& villages) {
        createTable(data() + "/Gospodar.dbf", "IDGOS DECIMAL(10,0), ROL CHAR(9), SATUL CHAR(32)");
        int id = 0;
        for (const QString& v : villages) {
            ++id;
            insert(data() + "/Gospodar.dbf", "IDGOS, ROL, SATUL", {id, QString::number(id), v});
        }
    }
    void createZones(const QStringList& localities) {
        createTable(data() + "/DefZone.dbf", "LOCALIT CHAR(32), ZONA CHAR(1)");
        for (const QString& l : localities) insert(data() + "/DefZone.dbf", "LOCALIT, ZONA", {l, "A"});
    }
    // Receipt lines (id, village, role).
    void createReceipts(const QString& folder, const std::vector<std::tuple<int, QString, QString>>& lines) {
        CreateTable(db_, folder + "/Chitante.dbf", CatalogTable(tables::Receipts));
        for (const auto& [id, village, rol] : lines)
            insert(folder + "/Chitante.dbf", "IDCHIT, SATUL, ROL", {id, village, rol});
    }
    QList<int> receiptIds(const QString& folder) {
        db::Database reader;
        db::Query q = reader.query(QStringLiteral("SELECT IDCHIT FROM \"%1/Chitante.dbf\" ORDER BY IDCHIT").arg(folder));
        QList<int> ids;
        for (q.first(); !q.eof(); q.next()) ids << int(q.integer("IDCHIT"));
        return ids;
    }
    // Texts of the error windows shown (the templates notice is not one).
    QStringList errorsShown() {
        QStringList out;
        for (const test::ShownMessage& m : env_.messages().shown())
            if (m.kind == MessageKind::Error) out << m.title + ": " + m.text;
        return out;
    }
    int shownWithTitle(const QString& title) {
        return int(env_.messages().titles().count(title));
    }

    test::TestServices env_;
    QTemporaryDir registryDir_;
    QTemporaryDir serverDir_;
    ReleaseRegistry registry_{registryDir_.path()};
    db::Database db_;                       // builds the fixtures and runs single steps
    std::optional<db::Database> engine_;    // the engine of the latest whole start
    std::optional<StartupSequence> sequence_;
};

} // namespace

// --- versions and day numbers -------------------------------------------------------------

TEST(StartupValues, DayNumbersCountFromTheEndOf1899) {
    EXPECT_EQ(DayNumber(QDate(2015, 1, 1)), 42005);
    EXPECT_EQ(DayNumber(QDate(2015, 1, 2)), 42006);
    EXPECT_EQ(DayNumber(QDate(2014, 12, 31)), 42004);
    EXPECT_EQ(DayNumber(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(DayNumber(QDate(1900, 3, 1)), 61);
}

TEST(StartupValues, TheVersionTextNamesThisRelease) {
    EXPECT_EQ(VersionNumber(), "1.26");
    EXPECT_EQ(VersionString(), "Vartesa ver." + VersionNumber());
    EXPECT_EQ(WorkingYear(), "2015");
}

TEST_F(StartupTest, AStartWorksInTheYearTheDataFolderNames) {
    const struct {
        const char* stored;
        const char* year;
    } cases[] = {{"2026", "2026"}, {"", "2015"}, {"doua mii", "2015"}, {"26", "2015"}};
    for (const auto& c : cases) {
        CountersFile(data() + "/Vartesa.set").WriteCounter("SERVER", kWorkingYearKey, QLatin1String(c.stored));
        start();
        EXPECT_EQ(WorkingYear(), QLatin1String(c.year)) << c.stored;
    }
}

// --- local or network mode ----------------------------------------------------------------

TEST_F(StartupTest, WithoutAServerTheDefaultDataFolderIsUsed) {
    StartupSequence sequence(context());
    sequence.chooseDataFolder();
    EXPECT_EQ(folders().data, data());
    EXPECT_TRUE(folders().isLocalMode());
    EXPECT_TRUE(env_.messages().shown().empty());
}

TEST_F(StartupTest, AServerFolderLackingSoldCalcIsRefusedWithOneMessage) {
    createNetworkTables(server(), "SoldCalc.dbf");
    registry_.WriteRegistryValue("SERVER", server());

    StartupSequence sequence(context());
    sequence.chooseDataFolder();
    ASSERT_EQ(env_.messages().shown().size(), 1u);
    const test::ShownMessage& m = env_.messages().shown().front();
    EXPECT_EQ(m.title, kConnectTitle);
    EXPECT_EQ(m.text, "Baza de date " + server() +
                          "\rNU este accesibila sau este incompleta!\rVerificati conexiunea si baza si reporniti programul!");
    EXPECT_TRUE(m.buttons.testFlag(MessageButton::Ok));
    EXPECT_EQ(folders().data, data());
    EXPECT_TRUE(folders().isLocalMode());
}

TEST_F(StartupTest, AWholeStartAgainstAnIncompleteServerRunsLocally) {
    createNetworkTables(server(), "SoldCalc.dbf");
    registry_.WriteRegistryValue("SERVER", server());
    env_.clock().setToday(QDate(2015, 1, 1));

    start();
    EXPECT_EQ(shownWithTitle(kConnectTitle), 1);
    EXPECT_EQ(folders().data, data());
    EXPECT_EQ(counter("LASTPACK"), "42005") << "the local database gets its daily maintenance";
    EXPECT_FALSE(QFileInfo::exists(server() + "/Vartesa.set")) << "nothing is written to the server";
}

TEST_F(StartupTest, AServerFolderMissingAnyRequiredTableIsRefused) {
    ASSERT_EQ(RequiredNetworkTables().size(), 10);
    for (const QString& missing : RequiredNetworkTables()) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        createNetworkTables(folder.path(), missing);
        registry_.WriteRegistryValue("SERVER", folder.path());
        env_.messages().clearShown();

        StartupSequence sequence(context());
        sequence.chooseDataFolder();
        EXPECT_EQ(env_.messages().titles(), QStringList{kConnectTitle}) << "without " << missing.toStdString();
        EXPECT_EQ(folders().data, data()) << "without " << missing.toStdString();
    }
}

TEST_F(StartupTest, AServerFolderThatIsNotThereIsRefused) {
    const QString absent = server() + "/nu-exista";
    registry_.WriteRegistryValue("SERVER", absent);
    StartupSequence sequence(context());
    sequence.chooseDataFolder();
    ASSERT_EQ(env_.messages().titles(), QStringList{kConnectTitle});
    EXPECT_TRUE(env_.messages().shown().front().text.startsWith("Baza de date " + absent + "\r"));
    EXPECT_TRUE(folders().isLocalMode());
}

TEST_F(StartupTest, AServerFolderWithEveryRequiredTableIsUsed) {
    createNetworkTables(server());
    registry_.WriteRegistryValue("SERVER", server());

    StartupSequence sequence(context());
    sequence.chooseDataFolder();
    EXPECT_TRUE(env_.messages().shown().empty());
    EXPECT_EQ(folders().data, server());
    EXPECT_FALSE(folders().isLocalMode());
    EXPECT_EQ(folders().defaultData, data());
}

TEST_F(StartupTest, ServerTablesNamedInCapitalsCount) {
    // A data folder copied from another machine keeps its file names in capitals.
    createNetworkTables(server(), {}, /*upperCase=*/true);
    registry_.WriteRegistryValue("SERVER", server() + "/");
    StartupSequence sequence(context());
    sequence.chooseDataFolder();
    EXPECT_TRUE(env_.messages().shown().empty());
    EXPECT_EQ(folders().data, server()) << "absolute, without a trailing slash";
}

TEST_F(StartupTest, NetworkModeLeavesTheOwningMachinesTablesAlone) {
    createNetworkTables(server(), "Datorii.dbf");
    createTable(server() + "/Datorii.dbf", "IDDAT DECIMAL(10,0), IDGOS DECIMAL(10,0), SATUL CHAR(32), ROL CHAR(9)");
    for (int i = 1; i <= 3; ++i) insert(server() + "/Datorii.dbf", "IDDAT, IDGOS", {i, i});
    db_.exec(QStringLiteral("DELETE FROM \"%1/Datorii.dbf\" WHERE IDDAT = 2").arg(server()));
    createReceipts(server(), {{1, "Corbu", "17"}});
    registry_.WriteRegistryValue("SERVER", server());
    env_.clock().setToday(QDate(2015, 1, 1));

    QStringList shownServer;
    int upgrades = 0;
    StartupHooks hooks;
    hooks.showServerPath = [&](const QString& path) { shownServer << path; };
    hooks.firstUpgradeSet = [&] { ++upgrades; };
    start(std::move(hooks));

    EXPECT_EQ(folders().data, server());
    EXPECT_EQ(shownServer, QStringList{server()}) << "the administrator window shows the server";
    EXPECT_EQ(upgrades, 0) << "only the owning machine upgrades its tables";
    EXPECT_EQ(headerRecordCount(readBytes(server() + "/Datorii.dbf")), 3u) << "not packed from a workstation";
    EXPECT_EQ(receiptIds(server()), QList<int>{1}) << "no village clean-up from a workstation";
    EXPECT_FALSE(QFileInfo::exists(server() + "/Sate.lst"));
    EXPECT_TRUE(errorsShown().isEmpty()) << errorsShown().join('\n').toStdString();
}

// --- first start of the day and packing --------------------------------------------------

TEST_F(StartupTest, TheFirstStartOfTheDayPacksAndRecordsTheDay) {
    const QString debts = data() + "/Datorii.dbf";
    createTable(debts, "IDDAT DECIMAL(10,0), IDGOS DECIMAL(10,0), SATUL CHAR(32), ROL CHAR(9)");
    for (int i = 1; i <= 3; ++i) insert(debts, "IDDAT, IDGOS", {i, 10 + i});
    env_.clock().setToday(QDate(2015, 1, 1));

    EXPECT_TRUE(start().isFirstStartOfDay());
    EXPECT_EQ(counter("LASTPACK"), "42005");

    // A debt line deleted during the day stays in the file as a deleted record...
    db_.exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDDAT = 2").arg(debts));
    ASSERT_EQ(headerRecordCount(readBytes(debts)), 3u);

    // ...through every other start of that day,
    EXPECT_FALSE(start().isFirstStartOfDay());
    EXPECT_EQ(headerRecordCount(readBytes(debts)), 3u);
    EXPECT_EQ(counter("LASTPACK"), "42005");

    // ...and goes at the first start of the next day.
    env_.clock().setToday(QDate(2015, 1, 2));
    EXPECT_TRUE(start().isFirstStartOfDay());
    EXPECT_EQ(headerRecordCount(readBytes(debts)), 2u);
    EXPECT_EQ(counter("LASTPACK"), "42006");
    db::Database reader;
    EXPECT_EQ(reader.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE IDDAT IN (1, 3)").arg(debts)).toInt(), 2);
}

// A table the upkeep cannot pack (here a damaged one) leaves the day unrecorded, so the
// next start packs again instead of skipping the upkeep for the rest of the day.
TEST_F(StartupTest, AFailedUpkeepIsNotRecordedAndIsTriedAgainAtTheNextStart) {
    const QString confirmations = data() + '/' + tables::Confirmations;
    createTable(confirmations, "IDGOS DECIMAL(10,0)");
    insert(confirmations, "IDGOS", {1});
    shelltest::writeBytes(confirmations, readBytes(confirmations) + "xx");
    env_.clock().setToday(QDate(2015, 1, 1));
    EXPECT_TRUE(start().upkeepFailed());
    EXPECT_EQ(counter("LASTPACK"), "");
}

TEST_F(StartupTest, TheSameSequenceRunTwiceOnOneDayIsNotTheFirstStartTheSecondTime) {
    env_.clock().setToday(QDate(2015, 1, 1));
    StartupSequence sequence(context());
    sequence.run();
    EXPECT_TRUE(sequence.isFirstStartOfDay());
    sequence.run();
    EXPECT_FALSE(sequence.isFirstStartOfDay());
}

TEST_F(StartupTest, ADayRecordedEarlierMakesTheNextStartTheFirstOfItsDay) {
    CountersFile(data() + "/Vartesa.set").WriteCounter("SERVER", "LASTPACK", "42004");
    env_.clock().setToday(QDate(2015, 1, 1));
    StartupSequence sequence(context());
    sequence.decideFirstStartOfDay();
    EXPECT_TRUE(sequence.isFirstStartOfDay());

    CountersFile(data() + "/Vartesa.set").WriteCounter("SERVER", "LASTPACK", "42005");
    sequence.decideFirstStartOfDay();
    EXPECT_FALSE(sequence.isFirstStartOfDay());
}

TEST_F(StartupTest, LocalStartsRunTheUpgradeHooks) {
    int upgrades = 0;
    QStringList shownServer;
    StartupHooks hooks;
    hooks.firstUpgradeSet = [&] { ++upgrades; };
    hooks.secondUpgradeSet = [] { return true; }; // GOSPODAR.dbf is empty
    hooks.showServerPath = [&](const QString& path) { shownServer << path; };
    EXPECT_TRUE(start(std::move(hooks)).rolesTableEmpty());
    EXPECT_EQ(upgrades, 1);
    EXPECT_TRUE(shownServer.isEmpty());
}

// --- villages ----------------------------------------------------------------------------

TEST_F(StartupTest, TheVillageListIsTheRolesVillagesThenTheZonesLocalities) {
    createRoles({"Corbu", QString::fromUtf8("Aluniş"), "", "Corbu", QString::fromUtf8("Bălteni"), "   "});
    createZones({"Dealu", "Corbu", "Zorile", ""});

    StartupSequence sequence(context());
    const QStringList expected = {QString::fromUtf8("Aluniş"), QString::fromUtf8("Bălteni"), "Corbu", "Dealu",
                                  "Zorile"};
    EXPECT_EQ(sequence.BuildVillageList(), expected);
    EXPECT_EQ(sequence.villages(), expected);
}

TEST_F(StartupTest, WithoutRolesTheVillagesComeFromTheZones) {
    createZones({"Dealu", "Zorile"});
    StartupSequence sequence(context());
    EXPECT_EQ(sequence.BuildVillageList(), (QStringList{"Dealu", "Zorile"}));
}

TEST_F(StartupTest, WithoutRolesOrZonesThereAreNoVillages) {
    StartupSequence sequence(context());
    EXPECT_TRUE(sequence.BuildVillageList().isEmpty());
}

TEST_F(StartupTest, TheRoleRegisterReceivesTheVillageList) {
    createRoles({"Corbu", "Aluni"});
    QStringList received;
    StartupHooks hooks;
    hooks.villagesReady = [&](const QStringList& villages) { received = villages; };
    start(std::move(hooks));
    EXPECT_EQ(received, (QStringList{"Aluni", "Corbu"}));
}

TEST_F(StartupTest, TheFirstLocalStartDropsReceiptLinesOfVanishedVillages) {
    const QString alunis = QString::fromUtf8("Aluniş");
    const QString balteni = QString::fromUtf8("Bălteni");
    createRoles({alunis, balteni});
    createReceipts(data(), {{1, "Corbu", "17"}, {2, "Corbu", ""}, {3, alunis, "5"}, {4, balteni, "9"}, {5, alunis, ""}});
    env_.clock().setToday(QDate(2015, 1, 1));

    start();
    EXPECT_EQ(receiptIds(data()), (QList<int>{2, 3, 4, 5}))
        << "the line of the vanished village with a role goes; one without a role stays";
    EXPECT_EQ(readBytes(data() + "/Sate.lst"), QByteArray("Aluni\xBA\r\nB\xE3lteni\r\n"));
}

// A real commune always has debt lines. The first start of the day packs Datorii.dbf and then
// cleans it of vanished villages with the same engine, which must load the packed table again.
TEST_F(StartupTest, TheFirstStartOfTheDayCompletesWithDebtLinesAndVillages) {
    createRoles({"Aluni", "Balteni"});
    createReceipts(data(), {{1, "Corbu", "17"}, {2, "Aluni", "5"}});
    const QString debts = data() + "/Datorii.dbf";
    createTable(debts, "IDDAT DECIMAL(10,0), IDGOS DECIMAL(10,0), SATUL CHAR(32), ROL CHAR(9)");
    insert(debts, "IDDAT, IDGOS, SATUL, ROL", {1, 1, "Corbu", "17"});
    insert(debts, "IDDAT, IDGOS, SATUL, ROL", {2, 2, "Aluni", "5"});
    env_.clock().setToday(QDate(2015, 1, 1));

    db::Database engine;
    StartupSequence sequence(context(engine));
    bool started = false;
    EXPECT_NO_THROW(started = sequence.run());
    EXPECT_TRUE(started);
    EXPECT_EQ(receiptIds(data()), QList<int>{2});
    db::Database reader;
    EXPECT_EQ(reader.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(debts)).toInt(), 1);
    EXPECT_TRUE(errorsShown().isEmpty()) << errorsShown().join('\n').toStdString();
}

TEST_F(StartupTest, LaterStartsOfTheDayDropNoReceiptLines) {
    createRoles({"Aluni", "Balteni"});
    createReceipts(data(), {{1, "Aluni", "5"}});
    env_.clock().setToday(QDate(2015, 1, 1));
    start();

    insert(data() + "/Chitante.dbf", "IDCHIT, SATUL, ROL", {2, "Corbu", "17"});
    start();
    EXPECT_EQ(receiptIds(data()), (QList<int>{1, 2}));

    env_.clock().setToday(QDate(2015, 1, 2));
    start();
    EXPECT_EQ(receiptIds(data()), (QList<int>{1}));
}

TEST_F(StartupTest, AZoneLocalityIsAVillageThatStillExists) {
    createRoles({"Aluni"});
    createZones({"Corbu"});
    createReceipts(data(), {{1, "Corbu", "17"}, {2, "Dealu", "18"}, {3, "Aluni", "5"}});
    env_.clock().setToday(QDate(2015, 1, 1));
    start();
    EXPECT_EQ(receiptIds(data()), (QList<int>{1, 3}));
    EXPECT_EQ(readBytes(data() + "/Sate.lst"), QByteArray("Aluni\r\nCorbu\r\n"));
}

// --- counters, release record, templates ---------------------------------------------------

TEST_F(StartupTest, CountersAreResynchronisedWithTheTables) {
    createTable(data() + "/Gospodar.dbf", "IDGOS DECIMAL(10,0), ROL CHAR(9), SATUL CHAR(32)");
    for (int id : {3, 17, 9}) insert(data() + "/Gospodar.dbf", "IDGOS, ROL, SATUL", {id, QString::number(id), "Aluni"});
    createTable(data() + "/AutoDet.dbf", "IDDETA DECIMAL(10,0), IDGOS DECIMAL(10,0)");
    CountersFile counters(data() + "/Vartesa.set");
    counters.WriteCounter("SERVER", "IDGOS", "5");
    counters.WriteCounter("SERVER", "IDDETA", "40");

    StartupSequence sequence(context());
    sequence.chooseDataFolder();
    sequence.resynchroniseCounters();
    EXPECT_EQ(counter("IDGOS"), "18");
    EXPECT_EQ(counter("IDDETA"), "40") << "an empty table does not move a counter back";
}

// Deleting the newest role leaves its vehicles, debits and receipts behind by design; the
// next role must not take over its identifier, nor the next receipt line that of a
// cancelled one. Each counter takes the larger of its value and the largest identifier of
// every table holding it, plus one.
TEST_F(StartupTest, ACounterNeverMovesBackBelowAnyTableHoldingItsIdentifier) {
    struct Case {
        const char* key;
        QString table;       // a table holding the identifier, beside the one drawing it
        int tableMax;        // largest identifier in that table
        QString counterNow;  // the counter before start-up
        QString expected;
    };
    const Case cases[] = {
        {"IDGOS", tables::Roles, 59, "61", "61"},          // the newest role, 60, was deleted
        {"IDGOS", tables::VehicleDetails, 60, "", "61"},   // its car is still in AutoDet
        {"IDGOS", tables::Debits, 64, "61", "65"},
        {"IDGOS", tables::Ledger, 70, "61", "71"},
        {"IDGOS", tables::Balances, 72, "61", "73"},
        {"IDGOS", tables::Buildings, 66, "61", "67"},
        {"IDGOS", tables::YearReceipts, 68, "61", "69"},
        {"IDCHIT", tables::Receipts, 1, "3", "3"},         // the newest receipts went with their role
        {"IDCHIT", tables::YearReceipts, 7, "3", "8"},
        {"IDANUL", tables::Receipts, 9, "4", "10"},
        {"IDDAT", tables::LedgerUndo, 12, "4", "13"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        folders().data = folders().defaultData = dir.path();
        CreateTable(db_, dir.path() + '/' + tables::Roles, CatalogTable(tables::Roles));
        CreateTable(db_, dir.path() + '/' + tables::Receipts, CatalogTable(tables::Receipts));
        for (int id = 1; id <= 59; ++id) insert(dir.path() + '/' + tables::Roles, "IDGOS", {id});
        insert(dir.path() + '/' + tables::Receipts, "IDCHIT, IDGOS", {1, 1});
        const QString path = dir.path() + '/' + c.table;
        if (!db_.tableExists(path)) CreateTable(db_, path, CatalogTable(c.table));
        insert(path, c.key, {c.tableMax});
        if (!c.counterNow.isEmpty()) CountersFile(dir.path() + "/Vartesa.set").WriteCounter("SERVER", c.key, c.counterNow);

        StartupSequence(context()).resynchroniseCounters();
        EXPECT_EQ(counter(c.key), c.expected) << c.key << " in " << c.table.toStdString();
    }
}

TEST_F(StartupTest, ALaterStartOfTheDayResynchronisesTheCounters) {
    createTable(data() + "/Gospodar.dbf", "IDGOS DECIMAL(10,0), ROL CHAR(9), SATUL CHAR(32)");
    for (int id : {3, 17, 9}) insert(data() + "/Gospodar.dbf", "IDGOS, ROL, SATUL", {id, QString::number(id), "Aluni"});
    createTable(data() + "/AutoDet.dbf", "IDDETA DECIMAL(10,0), IDGOS DECIMAL(10,0)");
    CountersFile(data() + "/Vartesa.set")
        .WriteCounter("SERVER", "LASTPACK", QString::number(DayNumber(env_.clock().today())));
    EXPECT_FALSE(start().isFirstStartOfDay());
    EXPECT_EQ(counter("IDGOS"), "18");
    EXPECT_EQ(counter("IDDETA"), "1");
    // Drawing goes on from there.
    EXPECT_EQ(CountersFile(data() + "/Vartesa.set").NextId("SERVER", "IDGOS"), "18");
    EXPECT_TRUE(errorsShown().isEmpty()) << errorsShown().join('\n').toStdString();
}

// The first start of the day packs Gospodar.dbf and the other tables, then reads their
// largest identifiers with the same engine: no error window, and the counters follow the tables.
TEST_F(StartupTest, TheFirstStartOfTheDayResynchronisesTheCountersOfPackedTables) {
    createTable(data() + "/Gospodar.dbf", "IDGOS DECIMAL(10,0), ROL CHAR(9), SATUL CHAR(32)");
    for (int id : {3, 17, 9}) insert(data() + "/Gospodar.dbf", "IDGOS, ROL, SATUL", {id, QString::number(id), "Aluni"});
    CountersFile(data() + "/Vartesa.set").WriteCounter("SERVER", "IDGOS", "5");
    env_.clock().setToday(QDate(2015, 1, 1));
    EXPECT_TRUE(start().isFirstStartOfDay());
    EXPECT_EQ(counter("IDGOS"), "18");
    EXPECT_TRUE(errorsShown().isEmpty()) << errorsShown().join('\n').toStdString();
}

TEST_F(StartupTest, ANewReleaseRecordsItsVersionAndProgramFolder) {
    registry_.WriteRegistryValue("VER", "Vartesa ver.1.20");
    registry_.WriteRegistryValue("CALE", "/opt/vechi");
    ReleaseRegistry previous = registry_.release(kPreviousRelease);
    previous.WriteRegistryValue("CALE", "/opt/vartesa2014");

    start();
    EXPECT_EQ(registry_.ReadRegistryValue("VER"), VersionString());
    EXPECT_EQ(registry_.ReadRegistryValue("CALE"), folders().program);
    EXPECT_EQ(previous.ReadRegistryValue("CALE"), "/opt/vartesa2014") << "last year's record stays";
}

TEST_F(StartupTest, AFirstInstallRecordsTheRelease) {
    start();
    EXPECT_EQ(registry_.ReadRegistryValue("VER"), VersionString());
    EXPECT_EQ(registry_.ReadRegistryValue("CALE"), folders().program);
}

TEST_F(StartupTest, TheSameReleaseLeavesTheRecordAlone) {
    registry_.WriteRegistryValue("VER", VersionString());
    registry_.WriteRegistryValue("CALE", "/opt/alta");
    start();
    EXPECT_EQ(registry_.ReadRegistryValue("CALE"), "/opt/alta");
}

TEST_F(StartupTest, MissingTemplatesAreWrittenAndOlderOnesGo) {
    for (const char* older : {"PopAngaj.rtf", "CFiscal2.rtf"}) shelltest::writeBytes(data() + '/' + older, "{\\rtf1 }");
    shelltest::writeBytes(data() + "/POPBANCA2.RTF", "{\\rtf1 editat}");
    StartupSequence sequence(context());
    sequence.chooseDataFolder();
    sequence.WriteStartupTemplates();

    EXPECT_TRUE(env_.messages().shown().empty()) << "the program carries every template";
    for (const char* file : {"PopAngaj2.rtf", "CFiscal3.rtf", "Instiintare.rtf", "ConfirmareD.rtf"})
        EXPECT_TRUE(readBytes(data() + '/' + file).startsWith("{\\rtf1")) << file;
    EXPECT_FALSE(QFileInfo::exists(data() + "/PopAngaj.rtf"));
    EXPECT_FALSE(QFileInfo::exists(data() + "/CFiscal2.rtf"));
    EXPECT_EQ(readBytes(data() + "/POPBANCA2.RTF"), "{\\rtf1 editat}") << "a template there, in any case, stays";
    EXPECT_EQ(QDir(data()).entryList(QDir::Files).filter("popbanca2", Qt::CaseInsensitive), QStringList({"POPBANCA2.RTF"}))
        << "no second copy beside it";
}

TEST_F(StartupTest, MissingTemplatesDoNotStopTheStart) {
    createTable(data() + "/AutoDet.dbf", "IDDETA DECIMAL(10,0)");
    StartupSequence sequence(context());
    EXPECT_TRUE(sequence.run());
    EXPECT_EQ(counter("IDDETA"), "1") << "the steps after the templates still ran";
    EXPECT_TRUE(errorsShown().isEmpty()) << errorsShown().join('\n').toStdString();
}

// --- the command-line start ----------------------------------------------------------------

TEST(StartupTool, StartsAFolderWithoutTouchingTheUsersConfiguration) {
    QTemporaryDir dataDir, registryDir, home;
    ASSERT_TRUE(dataDir.isValid() && registryDir.isValid() && home.isValid());
    {
        db::Database db;
        const QString zones = dataDir.path() + "/DefZone.dbf";
        const QString details = dataDir.path() + "/AutoDet.dbf";
        db.exec(QStringLiteral("CREATE TABLE \"%1\" (LOCALIT CHAR(32), ZONA CHAR(1))").arg(zones));
        for (const char* locality : {"Aluni", "Corbu"})
            db.exec(QStringLiteral("INSERT INTO \"%1\" (LOCALIT, ZONA) VALUES (?, 'A')").arg(zones), {locality});
        db.exec(QStringLiteral("CREATE TABLE \"%1\" (IDDETA DECIMAL(10,0), IDGOS DECIMAL(10,0))").arg(details));
        for (int id : {4, 11}) db.exec(QStringLiteral("INSERT INTO \"%1\" (IDDETA, IDGOS) VALUES (?, 1)").arg(details), {id});
    }

    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VARTESA_REGISTRY", registryDir.path());
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    tool.setProcessEnvironment(env);
    const qint64 dayBefore = DayNumber(QDate::currentDate());
    tool.start(shelltest::toolPath(), {"start", dataDir.path()});
    ASSERT_TRUE(tool.waitForFinished(120 * 1000));
    const qint64 dayAfter = DayNumber(QDate::currentDate());
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

    const ReleaseRegistry registry(registryDir.path());
    EXPECT_EQ(registry.ReadRegistryValue("VER"), VersionString());
    EXPECT_TRUE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "nothing written to the user's configuration";

    const CountersFile counters(dataDir.path() + "/Vartesa.set");
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDDETA"), "12");
    const QString lastPack = counters.ReadCounter("SERVER", "LASTPACK");
    EXPECT_TRUE(lastPack == QString::number(dayBefore) || lastPack == QString::number(dayAfter)) << lastPack.toStdString();
    EXPECT_EQ(readBytes(dataDir.path() + "/Sate.lst"), QByteArray("Aluni\r\nCorbu\r\n"));
}

// A table no start-up step reads, left half written by a killed writer, is whole again
// once the program has started, its journal gone.
TEST_F(StartupTest, AHalfWrittenTableIsPutBackWhenTheDataFolderIsOpened) {
    const QString extra = data() + "/Extra.dbf";
    createTable(extra, "NUME CHAR(8)");
    for (const char* name : {"unu", "doi"}) insert(extra, "NUME", {name});
    const QByteArray before = shelltest::leaveHalfWritten(extra);
    start();
    EXPECT_EQ(readBytes(extra), before);
}
