// The action log Log.dbf, kept in the data folder (the database's history) and in the
// program folder (this machine's): its layout, and the row every action leaves in both.

#include "db/database.h"
#include "db/query.h"
#include "shell/action_log.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <vector>

using namespace vartesa;

namespace {

struct LogRow {
    QDate date;
    QString user;
    QString rol;
    QString action;
};

class ActionLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.clock().setNow(QDateTime(QDate(2015, 3, 2), QTime(14, 5, 9)));
        log_.setUser("ion");
    }

    QString dataLog() const { return env_.folders().data + "/Log.dbf"; }
    QString machineLog() const { return env_.folders().program + "/Log.dbf"; }

    // The rows of a log as a fresh engine reads them from disk.
    static std::vector<LogRow> rowsOf(const QString& path) {
        db::Database reader;
        db::Query q = reader.query(QStringLiteral("SELECT DATAA, UTILIZATOR, ROL, ACTIUNE FROM \"%1\"").arg(path));
        std::vector<LogRow> rows;
        for (q.first(); !q.eof(); q.next())
            rows.push_back({q.date("DATAA"), q.text("UTILIZATOR"), q.text("ROL"), q.text("ACTIUNE")});
        return rows;
    }

    test::TestServices env_;
    db::Database db_{env_.folders().data};
    ActionLog log_{db_, env_.folders().data, env_.folders().program, env_.clock()};
};

} // namespace

TEST_F(ActionLogTest, TheFirstActionCreatesBothLogsWithTheirLayout) {
    ASSERT_FALSE(QFileInfo::exists(dataLog()));
    ASSERT_FALSE(QFileInfo::exists(machineLog()));
    log_.LogAction("123", "Adaugare gospodarie");

    for (const QString& path : {dataLog(), machineLog()}) {
        ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        const db::Layout layout = db_.layout(path);
        ASSERT_EQ(layout.fields.size(), 5u) << path.toStdString();
        struct Expected {
            const char* name;
            db::FieldType type;
            int length;
        };
        const Expected expected[] = {{"DATAA", db::FieldType::Date, 8},
                                     {"ORA", db::FieldType::Char, 12},
                                     {"UTILIZATOR", db::FieldType::Char, 20},
                                     {"ROL", db::FieldType::Char, 9},
                                     {"ACTIUNE", db::FieldType::Char, 120}};
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(layout.fields[i].name, expected[i].name);
            EXPECT_EQ(layout.fields[i].type, expected[i].type) << expected[i].name;
            EXPECT_EQ(layout.fields[i].length, expected[i].length) << expected[i].name;
        }
    }
}

TEST_F(ActionLogTest, EachActionAppendsTheSameRowToBothLogs) {
    log_.LogAction("123", "Adaugare gospodarie");
    env_.clock().setToday(QDate(2015, 3, 3));
    log_.LogAction("45", "Incasare chitanta 7");

    const std::vector<LogRow> whole = rowsOf(dataLog());
    const std::vector<LogRow> machine = rowsOf(machineLog());
    ASSERT_EQ(whole.size(), 2u);
    ASSERT_EQ(machine.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(whole[i].date, machine[i].date);
        EXPECT_EQ(whole[i].user, machine[i].user);
        EXPECT_EQ(whole[i].rol, machine[i].rol);
        EXPECT_EQ(whole[i].action, machine[i].action);
    }
    EXPECT_EQ(whole[0].rol, "123");
    EXPECT_EQ(whole[0].action, "Adaugare gospodarie");
    EXPECT_EQ(whole[0].date, QDate(2015, 3, 2));
    EXPECT_EQ(whole[1].rol, "45");
    EXPECT_EQ(whole[1].action, "Incasare chitanta 7");
    EXPECT_EQ(whole[1].date, QDate(2015, 3, 3));
}

TEST_F(ActionLogTest, TheUserIsWrittenInUpperCase) {
    log_.setUser("Maria Ionescu");
    log_.LogAction("9", "Stergere rol");
    ASSERT_EQ(rowsOf(dataLog()).size(), 1u);
    EXPECT_EQ(rowsOf(dataLog())[0].user, "MARIA IONESCU");
    EXPECT_EQ(rowsOf(machineLog())[0].user, "MARIA IONESCU");
}

TEST_F(ActionLogTest, TheDateIsTheClocksToday) {
    env_.clock().setToday(QDate(2014, 12, 31));
    log_.LogAction("1", "Inchidere an");
    ASSERT_EQ(rowsOf(dataLog()).size(), 1u);
    EXPECT_EQ(rowsOf(dataLog())[0].date, QDate(2014, 12, 31));
    EXPECT_EQ(rowsOf(machineLog())[0].date, QDate(2014, 12, 31));
}

TEST_F(ActionLogTest, ALongActionIsCutToItsField) {
    QString action;
    for (int i = 0; action.size() < 150; ++i) action += QString::number(i % 10);
    ASSERT_EQ(action.size(), 150);
    EXPECT_NO_THROW(log_.LogAction("123", action));
    for (const QString& path : {dataLog(), machineLog()}) {
        const std::vector<LogRow> rows = rowsOf(path);
        ASSERT_EQ(rows.size(), 1u) << path.toStdString();
        EXPECT_EQ(rows[0].action, action.left(120)) << path.toStdString();
    }
}

TEST_F(ActionLogTest, QuotesInAnActionAreStoredAsTyped) {
    const QString action = QStringLiteral("Incasare SC \"ALFA\" SRL, rol 'B7'");
    log_.LogAction("B7", action);
    for (const QString& path : {dataLog(), machineLog()}) {
        const std::vector<LogRow> rows = rowsOf(path);
        ASSERT_EQ(rows.size(), 1u) << path.toStdString();
        EXPECT_EQ(rows[0].action, action);
    }
}

TEST_F(ActionLogTest, RomanianLettersAreKept) {
    const QString action = QString::fromUtf8("Ştergere gospodărie Ţugui");
    log_.LogAction("12", action);
    EXPECT_EQ(rowsOf(dataLog()).at(0).action, action);
}

TEST_F(ActionLogTest, ALogCopiedWithAnUpperCaseNameIsAppendedTo) {
    // A data folder brought from another machine: the log's file name is in capitals.
    db_.exec(QStringLiteral("CREATE TABLE \"%1/LOG.DBF\" (DATAA DATE, ORA CHAR(12), UTILIZATOR CHAR(20), "
                            "ROL CHAR(9), ACTIUNE CHAR(120))")
                 .arg(env_.folders().data));
    db_.exec(QStringLiteral("INSERT INTO \"%1/LOG.DBF\" (DATAA, ORA, UTILIZATOR, ROL, ACTIUNE) VALUES (?, ?, ?, ?, ?)")
                 .arg(env_.folders().data),
             {QDate(2014, 5, 5), "09:00:00", "VECHI", "1", "Actiune veche"});

    log_.LogAction("2", "Actiune noua");
    const QStringList logs = QDir(env_.folders().data).entryList({"*.dbf", "*.DBF"}, QDir::Files);
    EXPECT_EQ(logs, QStringList{"LOG.DBF"}) << "no second log beside the existing one";
    const std::vector<LogRow> rows = rowsOf(env_.folders().data + "/LOG.DBF");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].action, "Actiune veche");
    EXPECT_EQ(rows[1].action, "Actiune noua");
}
