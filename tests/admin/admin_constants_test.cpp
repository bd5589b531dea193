// The calculation constants: the company building taxes, saving and loading through the
// three stores (Ini.dbf, the counters file, the registry) and the keys read at load.

#include "shell/startup.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "admin/budget_codes.h"
#include "shell/counters.h"
#include "shell/registry.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::TestServices;

namespace {

QString iniPath(TestServices& env) { return env.folders().data + QStringLiteral("/Ini.dbf"); }

// The FORM4 value of a control as a fresh engine reads it from disk; "<none>" when there
// is no such row.
QString storedIniValue(TestServices& env, const QString& name) {
    db::Database reader;
    db::Query q = reader.query(
        QStringLiteral("SELECT VALOARE FROM \"%1\" WHERE FORMA = 'FORM4' AND NUME = ?").arg(iniPath(env)), {name});
    return q.isEmpty() ? QStringLiteral("<none>") : q.text("VALOARE").trimmed();
}

QString counter(TestServices& env, const QString& key, const QString& section = QStringLiteral("SERVER")) {
    return env.services().counters().ReadCounter(section, key, QStringLiteral("<none>"));
}

// ---------------------------------------------------------------- company building taxes

struct CompanyTaxCase {
    int revaluationYear;  // the working year is 2015
    bool depreciated;
    std::int64_t building; // with CotaPJC 1, 10, 30
    std::int64_t annex;    // with CotaPJCA 1, 15, 35
};

class CompanyTaxTest : public ::testing::TestWithParam<CompanyTaxCase> {};

TEST_P(CompanyTaxTest, RateFollowsTheYearsSinceRevaluation) {
    const CompanyTaxCase c = GetParam();
    AdminConstants constants; // CotaPJC1..3 at their defaults 1, 10, 30
    constants.setText("CotaPJCA1", "1");
    constants.setText("CotaPJCA2", "15");
    constants.setText("CotaPJCA3", "35");
    const QDate revalued(c.revaluationYear, 6, 30);
    EXPECT_EQ(constants.CompanyBuildingTax(c.depreciated, revalued, Currency::lei(100000)), c.building);
    EXPECT_EQ(constants.CompanyAnnexTax(c.depreciated, revalued, Currency::lei(100000)), c.annex);
}

INSTANTIATE_TEST_SUITE_P(
    Years, CompanyTaxTest,
    ::testing::Values(CompanyTaxCase{2015, false, 1000, 1000},   // d = 0: first quota
                      CompanyTaxCase{2012, false, 1000, 1000},   // d = 3: still the first
                      CompanyTaxCase{2011, false, 10000, 15000}, // d = 4: second
                      CompanyTaxCase{2010, false, 10000, 15000}, // d = 5: second
                      CompanyTaxCase{2009, false, 30000, 35000}, // d = 6: third
                      CompanyTaxCase{2016, false, 30000, 35000}, // after the working year: third
                      CompanyTaxCase{2009, true, 850, 850},      // depreciated: 0.85 x first quota
                      CompanyTaxCase{2015, true, 850, 850}));

TEST(CompanyTax, FractionalQuotaRoundsHalfAwayFromZero) {
    AdminConstants constants;
    constants.setText("CotaPJC1", "1.25");
    // 12345 x 1.25 / 100 = 154.3125; 12340 x 1.25 / 100 = 154.25; 12360 x 1.25 / 100 = 154.5.
    EXPECT_EQ(constants.CompanyBuildingTax(false, QDate(2015, 1, 1), Currency::lei(12345)), 154);
    EXPECT_EQ(constants.CompanyBuildingTax(false, QDate(2015, 1, 1), Currency::lei(12360)), 155);
    // Depreciated: 100000 x 0.85 x 1.25 / 100 = 1062.5.
    EXPECT_EQ(constants.CompanyBuildingTax(true, QDate(2000, 1, 1), Currency::lei(100000)), 1063);
}

// ---------------------------------------------------------------- typed access

TEST(AdminConstantsAccess, ReadsNumbersByKeyAndRefusesUnknownKeys) {
    AdminConstants constants;
    EXPECT_EQ(constants.value("EC1ZA"), Currency::lei(40));
    EXPECT_EQ(constants.value("ec1zb"), Currency::lei(37)); // any case
    EXPECT_EQ(constants.value("CotaMajC"), Currency::fromRaw(1000));
    constants.setText("IC2ZBR4", "12.5");
    EXPECT_EQ(constants.value("IC2ZBR4"), Currency::fromRaw(125000));
    constants.setText("IC2ZBR4", "abc");
    EXPECT_EQ(constants.value("IC2ZBR4"), Currency()); // unreadable text reads as 0
    EXPECT_THROW(constants.value("IC2ZBR9"), Error);
    EXPECT_THROW(constants.value("PrimariaLab"), Error); // a text is no number
    EXPECT_THROW(constants.setText("NuExista", "1"), Error);
    EXPECT_EQ(constants.text("ComboBox3"), "IV");
    EXPECT_EQ(constants.text("CaleServer"), "-");
}

TEST(DecimalText, NumbersAsTheCountersFileKeepsThem) {
    EXPECT_EQ(DecimalText("1.25"), "1.25");
    EXPECT_EQ(DecimalText(" 10 "), "10");
    EXPECT_EQ(DecimalText("0.1000"), "0.1");
    EXPECT_EQ(DecimalText("1,5"), "1.5");
    EXPECT_EQ(DecimalText("x"), "0");
}

// ---------------------------------------------------------------- save and load

TEST(AdminConstantsStorage, QuotaIsSavedInBothStoresAndLoadedBack) {
    TestServices env;
    AdminConstants constants;
    constants.load(env.services());
    constants.setText("CotaPJC1", "1.25");
    constants.save(env.services());
    EXPECT_EQ(counter(env, "COTAPJC1"), "1.25");
    EXPECT_EQ(storedIniValue(env, "CotaPJC1"), "1.25");

    AdminConstants fresh;
    fresh.load(env.services());
    EXPECT_EQ(fresh.text("CotaPJC1"), "1.25");
    EXPECT_EQ(fresh.value("CotaPJC1"), Currency::fromRaw(12500));
}

TEST(AdminConstantsStorage, CountersValueWinsOverIniAtLoad) {
    TestServices env;
    AdminConstants constants;
    constants.setText("CotaMajA", "0.3");
    constants.save(env.services());
    env.services().counters().WriteCounter("SERVER", "COTAMAJA", "0.25");
    AdminConstants fresh;
    fresh.load(env.services());
    EXPECT_EQ(fresh.text("CotaMajA"), "0.25");
    // A quota missing from the counters file reads as its default, whatever Ini.dbf says.
    env.services().counters().WriteCounter("SERVER", "COTAPJC2", "");
    fresh.load(env.services());
    EXPECT_EQ(fresh.text("CotaPJC2"), "10");
}

TEST(AdminConstantsStorage, TextWithDoubleQuoteIsSavedAndReadBack) {
    TestServices env;
    AdminConstants constants;
    constants.setText("PrimariaLab", "Primaria \"Sf. Ion\" O'Brien");
    constants.save(env.services());
    EXPECT_EQ(storedIniValue(env, "PrimariaLab"), "Primaria \"Sf. Ion\" O'Brien");
    AdminConstants fresh;
    fresh.load(env.services());
    EXPECT_EQ(fresh.text("PrimariaLab"), "Primaria \"Sf. Ion\" O'Brien");
}

// A value for every stored control, unlike its default and valid for its kind.
QString sampleValue(const AdminControl& c, int i) {
    switch (c.kind) {
    case SettingKind::Text: return QStringLiteral("Valoare %1 %2").arg(c.key).arg(i);
    case SettingKind::List: return c.items.at((c.items.indexOf(c.defaultValue) + 1) % c.items.size());
    case SettingKind::Number:
    case SettingKind::Coefficient: {
        int limit = 1;
        for (int d = 0; d < std::min(c.integerDigits, 3); ++d) limit *= 10;
        const QString whole = QString::number(1 + i % (limit - 1));
        return c.decimals > 0 ? whole + QStringLiteral(".5") : whole;
    }
    }
    return {};
}

void expectEveryKeyRoundTrips(TestServices& env) {
    env.services().user = "ION";
    AdminConstants constants;
    constants.load(env.services());
    int i = 0;
    for (const AdminControl& c : AdminControls()) constants.setText(c.key, sampleValue(c, i++));
    for (const AdminCounterControl& c : AdminCounterControls()) {
        if (c.kind == CounterControlKind::CheckBox) constants.setText(c.control, "DA");
        if (c.kind == CounterControlKind::Folder) constants.setText(c.control, "/srv/ra/DATA");
        if (c.kind == CounterControlKind::TimeOfDay) constants.setText(c.control, "07:30");
    }
    constants.save(env.services());

    AdminConstants fresh;
    fresh.load(env.services());
    for (const AdminControl& c : AdminControls()) {
        EXPECT_EQ(fresh.text(c.key), constants.text(c.key)) << c.key.toStdString();
        EXPECT_NE(fresh.text(c.key), c.defaultValue) << c.key.toStdString();
        EXPECT_EQ(storedIniValue(env, c.key), constants.text(c.key)) << c.key.toStdString();
    }
    for (const AdminCounterControl& c : AdminCounterControls())
        EXPECT_EQ(fresh.text(c.control), constants.text(c.control)) << c.control.toStdString();
    EXPECT_EQ(counter(env, "FORMATPDF", "ION"), "DA");
    EXPECT_EQ(counter(env, "PREVIEWL"), "DA");
    EXPECT_EQ(counter(env, "ORAAUTORA"), "07:30");
}

TEST(AdminConstantsStorage, EveryKeyRoundTripsOnANewDatabase) {
    TestServices env; // no Ini.dbf yet: the save creates it, coefficients included
    expectEveryKeyRoundTrips(env);
}

TEST(AdminConstantsStorage, SaveInsertsTheRowsAnOldTableLacks) {
    TestServices env;
    db::Database& db = env.services().database();
    db.exec(QStringLiteral("CREATE TABLE \"%1\" (FORMA CHAR(12), NUME CHAR(32), VALOARE CHAR(40) )").arg(iniPath(env)));
    db.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES ('FORM4', 'EC1ZA', '55')").arg(iniPath(env)));
    db.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES ('FR12', 'EC1ZA', '55')").arg(iniPath(env)));
    AdminConstants constants;
    constants.load(env.services());
    EXPECT_EQ(constants.text("EC1ZA"), "55");
    expectEveryKeyRoundTrips(env);
    // One row per control: the existing one was updated, not doubled.
    db::Database reader;
    EXPECT_EQ(reader.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE FORMA = 'FORM4'").arg(iniPath(env))).toInt(),
              int(AdminControls().size()));
    EXPECT_NE(reader.scalar(QStringLiteral("SELECT VALOARE FROM \"%1\" WHERE FORMA = 'FR12'").arg(iniPath(env))).toString().trimmed(),
              "55");
}

TEST(AdminConstantsStorage, LoadShowsWhatTheStoresHold) {
    TestServices env;
    db::Database& db = env.services().database();
    db.exec(QStringLiteral("CREATE TABLE \"%1\" (FORMA CHAR(12), NUME CHAR(32), VALOARE CHAR(40) )").arg(iniPath(env)));
    const auto row = [&](const char* group, const char* name, const char* value) {
        db.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES (?, ?, ?)").arg(iniPath(env)),
                {QString::fromLatin1(group), QString::fromLatin1(name), QString::fromLatin1(value)});
    };
    row("FORM4", "ComboBox2", "F");      // no such zone: the list shows no selection
    row("FORM4", "ERED", "  9 ");        // numbers are trimmed
    row("FORM4", "JudetulLab", " Arges"); // texts are not
    row("ALTA", "EC2ZA", "99");          // another group: skipped
    CountersFile counters = env.services().counters();
    counters.WriteCounter("SERVER", "ORAAUTORA", "25:99");
    counters.WriteCounter("SERVER", "BONIF50", "da");
    env.services().registry().WriteRegistryValue("CALESALVARI", "/mnt/salvari");

    AdminConstants constants;
    constants.load(env.services());
    EXPECT_EQ(constants.text("ComboBox2"), "");
    EXPECT_EQ(constants.text("ERED"), "9");
    EXPECT_EQ(constants.text("JudetulLab"), " Arges");
    EXPECT_EQ(constants.text("EC2ZA"), "22"); // its default
    EXPECT_EQ(constants.text("OraAuto"), "00:00");
    EXPECT_TRUE(constants.isChecked("Bonificatie50"));
    EXPECT_FALSE(constants.isChecked("PreviewC"));
    EXPECT_EQ(constants.text("CaleSalvari"), "/mnt/salvari");
    EXPECT_EQ(constants.text("CaleServer"), "-");
}

TEST(AdminConstantsStorage, NoPenaltiesAndYearLockAreWrittenNuWhenMissing) {
    TestServices env;
    AdminConstants constants;
    constants.load(env.services());
    EXPECT_EQ(counter(env, "FARAMAJORARI"), "NU");
    EXPECT_EQ(counter(env, "ADMINBLOCAT2015"), "NU");
    EXPECT_FALSE(constants.noPenalties());
    EXPECT_FALSE(constants.yearLocked());

    env.services().counters().WriteCounter("SERVER", "FARAMAJORARI", "DA");
    env.services().counters().WriteCounter("SERVER", "ADMINBLOCAT2015", "da");
    constants.load(env.services());
    EXPECT_TRUE(constants.noPenalties());
    EXPECT_TRUE(constants.yearLocked());
    EXPECT_TRUE(IsYearLocked(env.services().counters())); // what every later screen asks
    EXPECT_EQ(counter(env, "ADMINBLOCAT2015"), "da");     // an existing value is kept
}

} // namespace
