// The settings table Ini.dbf of the administrator window: created on the first save, one
// row per stored control, values cut to their field, and loading back by group.

#include "db/database.h"
#include "db/query.h"
#include "shell/settings_table.h"
#include "support/shell_test_util.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

using namespace vartesa;

namespace {

class SettingsTableTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString folder() const { return dir_.path(); }
    QString path() const { return folder() + "/Ini.dbf"; }

    // Every row as a fresh engine reads it from disk: (FORMA, NUME) -> VALOARE.
    std::map<std::pair<QString, QString>, QString> rows() const {
        db::Database reader;
        db::Query q = reader.query(QStringLiteral("SELECT FORMA, NUME, VALOARE FROM \"%1\"").arg(path()));
        std::map<std::pair<QString, QString>, QString> out;
        for (q.first(); !q.eof(); q.next())
            out[{q.text("FORMA"), q.text("NUME")}] = q.text("VALOARE");
        return out;
    }
    int rowCount() const {
        db::Database reader;
        return reader.query(QStringLiteral("SELECT * FROM \"%1\"").arg(path())).count();
    }

    void createTable() {
        db_.exec(QStringLiteral("CREATE TABLE \"%1\" (FORMA CHAR(12), NUME CHAR(32), VALOARE CHAR(40))").arg(path()));
    }
    void addRow(const QString& group, const QString& name, const QString& value) {
        db_.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES (?, ?, ?)").arg(path()),
                 {group, name, value});
    }

    QTemporaryDir dir_;
    db::Database db_;
    SettingsTable table_{db_, dir_.path()};
};

const std::vector<Setting> kDeclared = {
    {"edPrimar", SettingKind::Text, "Ion Popescu"},
    {"cbJudet", SettingKind::List, "Arges"},
    {"edCotaCladiri", SettingKind::Number, "0.1"},
    {"edCoefZona", SettingKind::Coefficient, "1.10"},
};

} // namespace

TEST_F(SettingsTableTest, TheFirstSaveCreatesTheTableWithItsLayout) {
    ASSERT_FALSE(QFileInfo::exists(path()));
    table_.save(kDeclared);
    ASSERT_TRUE(QFileInfo::exists(path()));
    EXPECT_EQ(table_.path(), path());

    db::Database reader;
    const db::Layout layout = reader.layout(path());
    ASSERT_EQ(layout.fields.size(), 3u);
    EXPECT_EQ(layout.fields[0].name, "FORMA");
    EXPECT_EQ(layout.fields[1].name, "NUME");
    EXPECT_EQ(layout.fields[2].name, "VALOARE");
    for (const db::Field& f : layout.fields) EXPECT_EQ(f.type, db::FieldType::Char) << f.name.toStdString();
    EXPECT_EQ(layout.fields[0].length, 12);
    EXPECT_EQ(layout.fields[1].length, 32);
    EXPECT_EQ(layout.fields[2].length, 40);
}

TEST_F(SettingsTableTest, TheFirstSaveWritesOneRowPerTextNumberAndListButNoneForACoefficient) {
    table_.save(kDeclared);
    const auto stored = rows();
    const std::map<std::pair<QString, QString>, QString> expected = {
        {{"FORM4", "edPrimar"}, "Ion Popescu"},
        {{"FORM4", "cbJudet"}, "Arges"},
        {{"FORM4", "edCotaCladiri"}, "0.1"},
    };
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(rowCount(), 3);
}

TEST_F(SettingsTableTest, ALongTextIsCutToFortyCharacters) {
    const QString longText = QStringLiteral("Primaria comunei Pestisani, judetul Gorj1"); // 41
    QString text45 = QStringLiteral("Str. Principala nr. 1, sat Pestisani, jud Gj.");
    ASSERT_EQ(text45.size(), 45);
    ASSERT_EQ(longText.size(), 41);
    table_.save({{"edAdresa", SettingKind::Text, text45}, {"edPrimarie", SettingKind::Text, longText}});

    EXPECT_EQ(table_.load().value("EDADRESA"), text45.left(40));
    std::vector<Setting> back = {{"edAdresa", SettingKind::Text, ""}, {"edPrimarie", SettingKind::Text, ""}};
    table_.loadInto(back);
    EXPECT_EQ(back[0].value, text45.left(40));
    EXPECT_EQ(back[1].value, longText.left(40));

    // Saving again into the existing row cuts the same way.
    table_.save({{"edAdresa", SettingKind::Text, text45 + "xyz"}});
    back = {{"edAdresa", SettingKind::Text, ""}};
    table_.loadInto(back);
    EXPECT_EQ(back[0].value, text45.left(40));
}

TEST_F(SettingsTableTest, AValueWithQuotesSavesAndLoadsBack) {
    const QString quoted = QStringLiteral("SC \"ALFA\" SRL, d'Arges");
    table_.save({{"edBanca", SettingKind::Text, quoted}});
    std::vector<Setting> back = {{"edBanca", SettingKind::Text, ""}};
    table_.loadInto(back);
    EXPECT_EQ(back[0].value, quoted);

    table_.save({{"edBanca", SettingKind::Text, "Trezoreria \"Tg-Jiu\""}});
    table_.loadInto(back);
    EXPECT_EQ(back[0].value, "Trezoreria \"Tg-Jiu\"");
}

TEST_F(SettingsTableTest, SavingUpdatesTheRowsOfBothGroupsAndAddsNoRowForASettingWithoutOne) {
    createTable();
    addRow("FORM4", "edPrimar", "Vechi");
    addRow("FR12", "edPrimar", "Vechi");
    addRow("FORM4", "edCoefZona", "1.00");
    addRow("FORM7", "edPrimar", "Alt formular");

    table_.save(kDeclared);
    const std::map<std::pair<QString, QString>, QString> expected = {
        {{"FORM4", "edPrimar"}, "Ion Popescu"},
        {{"FR12", "edPrimar"}, "Ion Popescu"},
        {{"FORM4", "edCoefZona"}, "1.10"},       // a coefficient with a row is saved too
        {{"FORM7", "edPrimar"}, "Alt formular"}, // another form's row is left alone
    };
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(rowCount(), 4) << "cbJudet and edCotaCladiri have no row and get none";
}

TEST_F(SettingsTableTest, LoadReadsTheThreeAdministratorGroupsOnly) {
    createTable();
    addRow("FORM4", "edPrimar", "Ion Popescu");
    addRow("FR12", "edSecretar", "Maria Ionescu");
    addRow("FRCOMB", "cbCasier", "Ana");
    addRow("FORM7", "edContabil", "Nu se citeste");
    addRow("", "edGol", "Nici acesta");

    const QHash<QString, QString> values = table_.load();
    EXPECT_EQ(values.size(), 3);
    EXPECT_EQ(values.value("EDPRIMAR"), "Ion Popescu");
    EXPECT_EQ(values.value("EDSECRETAR"), "Maria Ionescu");
    EXPECT_EQ(values.value("CBCASIER"), "Ana");
    EXPECT_FALSE(values.contains("EDCONTABIL"));
    EXPECT_FALSE(values.contains("EDGOL"));

    std::vector<Setting> settings = {{"edPrimar", SettingKind::Text, ""},
                                     {"edSecretar", SettingKind::Text, ""},
                                     {"cbCasier", SettingKind::List, ""},
                                     {"edContabil", SettingKind::Text, "din fereastra"}};
    table_.loadInto(settings);
    EXPECT_EQ(settings[0].value, "Ion Popescu");
    EXPECT_EQ(settings[1].value, "Maria Ionescu");
    EXPECT_EQ(settings[2].value, "Ana");
    EXPECT_EQ(settings[3].value, "din fereastra") << "a setting without a row keeps its text";
}

TEST_F(SettingsTableTest, NumbersAndCoefficientsAreTrimmedWhenLoaded) {
    createTable();
    addRow("FORM4", "edCota", "   0.25");
    addRow("FORM4", "edCoef", "  1.10");
    addRow("FORM4", "edAntet", "  PRIMARIA");

    std::vector<Setting> settings = {{"edCota", SettingKind::Number, ""},
                                     {"edCoef", SettingKind::Coefficient, ""},
                                     {"edAntet", SettingKind::Text, ""}};
    table_.loadInto(settings);
    EXPECT_EQ(settings[0].value, "0.25");
    EXPECT_EQ(settings[1].value, "1.10");
    EXPECT_EQ(settings[2].value, "  PRIMARIA") << "a text keeps its leading spaces";
}

TEST_F(SettingsTableTest, ForANameInSeveralGroupsTheLastGroupReadWins) {
    createTable();
    addRow("FRCOMB", "edPrimar", "din FRCOMB");
    addRow("FORM4", "edPrimar", "din FORM4");
    addRow("FR12", "edPrimar", "din FR12");
    // Read in the order FORMA, NUME: FORM4, FR12, FRCOMB.
    EXPECT_EQ(table_.load().value("EDPRIMAR"), "din FRCOMB");
}

TEST_F(SettingsTableTest, WithoutATableNothingLoadsAndTheSettingsKeepTheirTexts) {
    EXPECT_TRUE(table_.load().isEmpty());
    std::vector<Setting> settings = kDeclared;
    table_.loadInto(settings);
    for (size_t i = 0; i < settings.size(); ++i) EXPECT_EQ(settings[i].value, kDeclared[i].value);
    EXPECT_FALSE(QFileInfo::exists(path())) << "loading creates nothing";
}

TEST_F(SettingsTableTest, SavedSettingsLoadBackIntoTheWindow) {
    table_.save(kDeclared);
    std::vector<Setting> fresh = kDeclared;
    for (Setting& s : fresh) s.value.clear();
    table_.loadInto(fresh);
    EXPECT_EQ(fresh[0].value, "Ion Popescu");
    EXPECT_EQ(fresh[1].value, "Arges");
    EXPECT_EQ(fresh[2].value, "0.1");
    EXPECT_EQ(fresh[3].value, "") << "a coefficient has no row after the first save";
}
