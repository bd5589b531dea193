// The catalog of the administrator window's stored controls: keys that fit Ini.dbf, defaults
// that fit their fields, the number of fields on each page, the captions and defaults the
// clerk sees, the page list, and a new settings table made from the defaults.

#include "shell/startup.h"
#include "db/database.h"
#include "db/query.h"
#include "admin/admin_catalog.h"
#include "shell/settings_table.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

#include <map>

using namespace vartesa;

namespace {

// The control of that key; fails the test (and returns a blank control) when missing.
const AdminControl& control(const char* key) {
    static const AdminControl missing{};
    const AdminControl* c = FindAdminControl(QString::fromLatin1(key));
    if (!c) {
        ADD_FAILURE() << "no control " << key;
        return missing;
    }
    return *c;
}

int countOnPage(AdminPage page) {
    int n = 0;
    for (const AdminControl& c : AdminControls()) n += c.page == page;
    return n;
}

QStringList keysOnPage(AdminPage page) {
    QStringList keys;
    for (const AdminControl& c : AdminControls())
        if (c.page == page) keys << c.key;
    return keys;
}

} // namespace

// ---- what Ini.dbf and the field widths demand of every control -------------------------

TEST(AdminCatalogTest, KeysAreUniqueIgnoringCaseAndFitTheNameField) {
    QSet<QString> seen;
    for (const AdminControl& c : AdminControls()) {
        const std::string key = c.key.toStdString();
        EXPECT_FALSE(c.key.isEmpty());
        EXPECT_LE(c.key.size(), 32) << key; // NUME CHAR(32)
        for (const QChar ch : c.key) EXPECT_TRUE(ch.isLetterOrNumber() && ch.unicode() < 128) << key;
        EXPECT_FALSE(seen.contains(c.key.toUpper())) << "twice: " << key;
        seen.insert(c.key.toUpper());
        EXPECT_EQ(FindAdminControl(c.key.toLower()), &c) << key; // NUME matches without regard to case
    }
    EXPECT_EQ(FindAdminControl("NoSuchKey"), nullptr);
}

TEST(AdminCatalogTest, DefaultsFitTheirFields) {
    for (const AdminControl& c : AdminControls()) {
        const std::string key = c.key.toStdString();
        EXPECT_LE(c.defaultValue.size(), 40) << key; // VALOARE CHAR(40)
        EXPECT_FALSE(c.label.isEmpty()) << key;
        switch (c.kind) {
        case SettingKind::Text:
            EXPECT_TRUE(c.items.isEmpty()) << key;
            break;
        case SettingKind::List:
            EXPECT_FALSE(c.items.isEmpty()) << key;
            EXPECT_TRUE(c.items.contains(c.defaultValue)) << key << " default " << c.defaultValue.toStdString();
            break;
        case SettingKind::Number:
        case SettingKind::Coefficient: {
            bool ok = false;
            const double value = c.defaultValue.toDouble(&ok);
            EXPECT_TRUE(ok) << key << " default " << c.defaultValue.toStdString();
            EXPECT_GE(value, 0.0) << key;
            EXPECT_GT(c.integerDigits, 0) << key;
            EXPECT_GE(c.decimals, 0) << key;
            const QStringList parts = c.defaultValue.split('.');
            ASSERT_LE(parts.size(), 2) << key;
            EXPECT_LE(parts[0].size(), c.integerDigits) << key << " default " << c.defaultValue.toStdString();
            if (parts.size() == 2) {
                EXPECT_LE(parts[1].size(), c.decimals) << key;
            }
            EXPECT_TRUE(c.items.isEmpty()) << key;
            break;
        }
        }
    }
}

TEST(AdminCatalogTest, PagesComeInOrderWithTheirFieldCounts) {
    // Catalog order is page order.
    int lastPage = 0;
    for (const AdminControl& c : AdminControls()) {
        EXPECT_GE(int(c.page), lastPage) << c.key.toStdString();
        lastPage = int(c.page);
    }

    // general: six identity texts. Zones: default zone and default rank.
    EXPECT_EQ(countOnPage(AdminPage::General), 6);
    EXPECT_EQ(countOnPage(AdminPage::Zones), 2);
    // 11 land categories x zones A..E, and the reduction ERED.
    EXPECT_EQ(countOnPage(AdminPage::OutsideLand), 11 * 5 + 1);
    // Two building kinds x zones A..D x ranks 0..V, the reduction, three company quotas and
    // the person quota; the annexes have the same structure.
    EXPECT_EQ(countOnPage(AdminPage::Buildings), 2 * 4 * 6 + 1 + 3 + 1);
    EXPECT_EQ(countOnPage(AdminPage::AnnexBuildings), 2 * 4 * 6 + 1 + 3 + 1);
    // Yards by zone A..E, 8 other uses x 5 zones, the reduction.
    EXPECT_EQ(countOnPage(AdminPage::InsideLand), 5 + 8 * 5 + 1);
    // AUTO23..AUTO18, AUTO1..AUTO9, AUTO10, AUTO11..AUTO13, AUTO14..AUTO17, NumericEdit3.
    EXPECT_EQ(countOnPage(AdminPage::Vehicles), 6 + 9 + 1 + 3 + 4 + 1);
    EXPECT_EQ(countOnPage(AdminPage::UnregisteredVehicles), 3);
    EXPECT_EQ(countOnPage(AdminPage::OtherTaxes), 6);
    // Two, three and four axles: 4 + 6 + 5 mass bands, with and without pneumatic suspension.
    EXPECT_EQ(countOnPage(AdminPage::HeavyVehicles), 2 * (4 + 6 + 5));
    // 2+1, 2+2, 2+3, 3+2, 3+3 axles: 8 + 8 + 2 + 3 + 3 bands, both suspensions.
    EXPECT_EQ(countOnPage(AdminPage::HeavyCombinations), 2 * (8 + 8 + 2 + 3 + 3));
    EXPECT_EQ(countOnPage(AdminPage::Boats), 13);
    EXPECT_EQ(AdminControls().size(), 340u);
}

TEST(AdminCatalogTest, OnlyTheDecimalConstantsAreCoefficients) {
    // The person quotas, the inside-land levels and the unregistered-vehicle tariffs.
    QSet<QString> expected = {"CotaMajC", "CotaMajA", "VN1", "VN2", "VN3"};
    for (const char* zone : {"A", "B", "C", "D", "E"}) expected.insert(QStringLiteral("ICC") + QLatin1String(zone));
    for (int r = 1; r <= 8; ++r)
        for (int n = 1; n <= 5; ++n) expected.insert(QStringLiteral("IA%1%2").arg(r).arg(n));

    QSet<QString> coefficients;
    for (const AdminControl& c : AdminControls()) {
        if (c.kind == SettingKind::Coefficient) coefficients.insert(c.key);
        if (c.page == AdminPage::General) {
            EXPECT_EQ(c.kind, SettingKind::Text) << c.key.toStdString();
        }
        if (c.page == AdminPage::Zones) {
            EXPECT_EQ(c.kind, SettingKind::List) << c.key.toStdString();
        }
    }
    EXPECT_EQ(coefficients, expected);
}

// ---- captions, defaults and widths as the clerk sees them -------------------------------

TEST(AdminCatalogTest, IdentityAndZoneControls) {
    EXPECT_EQ(keysOnPage(AdminPage::General),
              QStringList({"PrimariaLab", "LocalitateaLab", "CUILab", "JudetulLab", "PrimarLab", "ContabilLab"}));
    EXPECT_EQ(control("CUILab").label, "C.U.I.");
    EXPECT_EQ(control("PrimariaLab").defaultValue, "");

    EXPECT_EQ(control("ComboBox2").label, "Zona implicita");
    EXPECT_EQ(control("ComboBox2").items, QStringList({"A", "B", "C", "D"}));
    EXPECT_EQ(control("ComboBox2").defaultValue, "A");
    EXPECT_EQ(control("ComboBox3").label, "Rangul implicit");
    EXPECT_EQ(control("ComboBox3").items, QStringList({"0", "I", "II", "III", "IV", "V"}));
    EXPECT_EQ(control("ComboBox3").defaultValue, "IV");
}

TEST(AdminCatalogTest, OutsideLandLevelsByCategoryAndZone) {
    const QStringList keys = keysOnPage(AdminPage::OutsideLand);
    EXPECT_EQ(keys.first(), "EC1ZA");
    EXPECT_EQ(keys.at(5), "EC2ZA"); // a category's five zones, then the next category
    EXPECT_EQ(keys.at(54), "EC11ZE"); // the key the upgrade probes for the zone E levels
    EXPECT_EQ(keys.last(), "ERED");

    // Arable land 40, 37, 35, 30, 30; pastures 22, 20, 18, 14, 14; orchards 44..34.
    EXPECT_EQ(control("EC1ZA").defaultValue, "40");
    EXPECT_EQ(control("EC1ZB").defaultValue, "37");
    EXPECT_EQ(control("EC1ZE").defaultValue, "30");
    EXPECT_EQ(control("EC2ZE").defaultValue, "14");
    EXPECT_EQ(control("EC5ZC").defaultValue, "40");
    EXPECT_EQ(control("EC8ZD").defaultValue, "16");
    EXPECT_EQ(control("EC4ZA").defaultValue, "0");
    EXPECT_EQ(control("EC10ZB").defaultValue, "0");
    EXPECT_EQ(control("EC7ZC").defaultValue, "9");
    EXPECT_EQ(control("EC7ZC").label, "Fond forestier sau alt teren\ncu vegetatie forestiera");
    EXPECT_EQ(control("EC7ZC").column, "C");
    EXPECT_EQ(control("EC11ZA").label, "Teren cu cu amenajari piscicole");
    EXPECT_EQ(control("EC3ZA").integerDigits, 4);
    EXPECT_EQ(control("EC3ZA").decimals, 2);

    EXPECT_EQ(control("ERED").label, "Reducere la plata integrala in avans");
    EXPECT_EQ(control("ERED").defaultValue, "7");
    EXPECT_EQ(control("ERED").integerDigits, 2);
}

TEST(AdminCatalogTest, BuildingLevelsAndQuotas) {
    // Zones A..D and ranks 0..5 for both kinds; no zone E on the building pages.
    EXPECT_EQ(keysOnPage(AdminPage::Buildings).first(), "ICZAR0");
    EXPECT_EQ(control("ICZDR5").page, AdminPage::Buildings);
    EXPECT_EQ(control("IC2ZBR3").kind, SettingKind::Number);
    EXPECT_EQ(control("IC2ZBR3").column, "B");
    EXPECT_EQ(control("IC2ZBR3").label, "III");
    EXPECT_TRUE(control("IC2ZBR3").group.startsWith("2. Cladiri cu pereti exteriori din lemn"));
    EXPECT_EQ(FindAdminControl("ICZER0"), nullptr);
    EXPECT_EQ(FindAdminControl("ICZAR6"), nullptr);
    EXPECT_EQ(control("IA1ZAR0").page, AdminPage::AnnexBuildings);
    EXPECT_EQ(control("IA2ZDR5").page, AdminPage::AnnexBuildings);
    EXPECT_TRUE(control("IA1ZCR2").group.endsWith("tratament termic si/sau chimic."));
    EXPECT_EQ(control("ICRED").defaultValue, "7");
    EXPECT_EQ(control("IARED").defaultValue, "7");

    // Company quotas 1, 10, 30 with their hints, mirrored in the counters file.
    EXPECT_EQ(control("CotaPJC1").defaultValue, "1");
    EXPECT_EQ(control("CotaPJC1").hint, "Introduceti o valoare intre 0.25 si 1.50.");
    EXPECT_EQ(control("CotaPJC2").defaultValue, "10");
    EXPECT_EQ(control("CotaPJC2").label, "3-5 ani");
    EXPECT_EQ(control("CotaPJC3").hint, "Introduceti o valoare intre 30 si 40.");
    EXPECT_EQ(control("CotaPJC3").countersKey, "COTAPJC3");
    EXPECT_EQ(control("CotaPJCA2").countersKey, "COTAPJCA2");
    EXPECT_EQ(control("CotaPJCA3").defaultValue, "30");
    EXPECT_EQ(control("CotaPJC1").decimals, 2);

    // Person quota: a coefficient of one integer digit and four decimals, default 0.1.
    for (const char* key : {"CotaMajC", "CotaMajA"}) {
        EXPECT_EQ(control(key).kind, SettingKind::Coefficient) << key;
        EXPECT_EQ(control(key).defaultValue, "0.1") << key;
        EXPECT_EQ(control(key).integerDigits, 1) << key;
        EXPECT_EQ(control(key).decimals, 4) << key;
        EXPECT_EQ(control(key).label, "Cota aplicata valorii impozabile Persoane Fizice") << key;
    }
    EXPECT_EQ(control("CotaMajC").countersKey, "COTAMAJC");
    EXPECT_EQ(control("CotaMajA").countersKey, "COTAMAJA");

    // The save writes the mirrored keys in this order.
    QStringList mirrored;
    for (const AdminControl* c : AdminCounterMirrors()) {
        ASSERT_NE(c, nullptr);
        mirrored << c->countersKey;
    }
    EXPECT_EQ(mirrored, QStringList({"COTAPJCA1", "COTAPJCA2", "COTAPJCA3", "COTAPJC1", "COTAPJC2", "COTAPJC3",
                                     "COTAMAJC", "COTAMAJA"}));
    int withCountersKey = 0;
    for (const AdminControl& c : AdminControls()) withCountersKey += !c.countersKey.isEmpty();
    EXPECT_EQ(withCountersKey, 8);
}

TEST(AdminCatalogTest, InsideLandLevels) {
    EXPECT_EQ(control("ICCA").label, "Curti - constructii");
    EXPECT_EQ(control("ICCE").integerDigits, 3);
    EXPECT_EQ(control("ICCE").decimals, 6);
    EXPECT_EQ(control("IA11").label, "Teren arabil");
    EXPECT_EQ(control("IA11").column, "A");
    EXPECT_EQ(control("IA35").label, "Faneata");
    EXPECT_EQ(control("IA35").column, "E");
    EXPECT_EQ(control("IA85").label, "Teren cu ape");
    EXPECT_EQ(control("IA85").decimals, 4);
    EXPECT_EQ(control("IA72").group, "Alte categorii de folosinta");
    EXPECT_EQ(FindAdminControl("IA86"), nullptr);
    EXPECT_EQ(FindAdminControl("IA91"), nullptr);
    EXPECT_EQ(control("IIRED").defaultValue, "7");
}

TEST(AdminCatalogTest, VehicleTaxes) {
    const QStringList keys = keysOnPage(AdminPage::Vehicles);
    EXPECT_EQ(keys.mid(0, 8), QStringList({"AUTO23", "AUTO22", "AUTO21", "AUTO20", "AUTO19", "AUTO18", "AUTO1", "AUTO2"}));
    EXPECT_EQ(keys.last(), "NumericEdit3");
    EXPECT_EQ(control("AUTO23").label, "cap. cil. pana in 200");
    EXPECT_EQ(control("AUTO1").label, "1201 - 1400");
    EXPECT_EQ(control("AUTO9").label, "2801 - 3000");
    EXPECT_EQ(control("AUTO10").label, "peste 3000 cmc (lei/200 cmc)");
    EXPECT_TRUE(control("AUTO11").label.startsWith("Alte autovehicule cu masa totala maxima\n"));
    EXPECT_EQ(control("AUTO13").label, "Tractoare inmatriculate");
    EXPECT_EQ(control("AUTO14").label, "pana la 1 tona inclusiv");
    EXPECT_EQ(control("AUTO17").label, "peste 5 tone");
    EXPECT_EQ(control("AUTO12").integerDigits, 3);
    EXPECT_EQ(control("AUTO12").decimals, 2);
    EXPECT_EQ(FindAdminControl("AUTO24"), nullptr);
    EXPECT_EQ(control("NumericEdit3").defaultValue, "7");

    EXPECT_EQ(keysOnPage(AdminPage::UnregisteredVehicles), QStringList({"VN1", "VN2", "VN3"}));
    EXPECT_EQ(control("VN2").hint, "Intre 4 si 6 lei / 200 cmc sau fractiune.");
    EXPECT_EQ(control("VN3").column, "Tarif lei/buc.");
    EXPECT_EQ(control("VN3").integerDigits, 7);

    EXPECT_EQ(control("Alte1").label, "Taxa pentru concesionari  ( lei / mp )");
    EXPECT_EQ(control("Alte6").label, "Taxa pe vehicule lente");
}

TEST(AdminCatalogTest, HeavyVehiclesAndBoats) {
    // Numbered across the axle classes; A with pneumatic suspension, B without.
    EXPECT_EQ(keysOnPage(AdminPage::HeavyVehicles).mid(0, 2), QStringList({"G1A", "G1B"}));
    EXPECT_EQ(control("G4B").group, "Vehicule cu doua axe");
    EXPECT_EQ(control("G5A").group, "Vehicule cu trei axe");
    EXPECT_EQ(control("G10A").group, "Vehicule cu trei axe");
    EXPECT_EQ(control("G11B").group, "Vehicule cu patru axe");
    EXPECT_EQ(FindAdminControl("G16A"), nullptr);
    EXPECT_EQ(control("G1A").integerDigits, 4);
    EXPECT_EQ(control("G1A").decimals, 0);

    EXPECT_EQ(control("GC8A").group, "Vehicule cu 2+1 axe");
    EXPECT_EQ(control("GC9A").group, "Vehicule cu 2+2 axe");
    EXPECT_EQ(control("GC17B").group, "Vehicule cu 2+3 axe");
    EXPECT_EQ(control("GC21A").group, "Vehicule cu 3+2 axe");
    EXPECT_EQ(control("GC22A").group, "Vehicule cu 3+3 axe");
    EXPECT_EQ(control("GC24B").column, "Axa motoare\nfara suspensie\npneumatica");
    EXPECT_EQ(control("GC24A").column, "Axa motoare\ncu suspensie\npneumatica");
    EXPECT_EQ(FindAdminControl("GC25A"), nullptr);
    // Every band of a class is distinct, and the last one is open.
    EXPECT_NE(control("GC19A").label, control("GC20A").label);
    EXPECT_EQ(control("GC19A").label, control("GC22A").label); // 3+2 and 3+3 share their bands

    EXPECT_EQ(control("APA10").label, "7. Vapoare - pt.fiecare tdw sau fractiune din acesta");
    EXPECT_EQ(control("APA6").group, "6. Remorchere si impingatoare");
    EXPECT_EQ(control("APA9").label, "d) Peste 4.000 CP");
    EXPECT_EQ(control("APA13").label, "c) Cu capacitate de incarcare de peste 3.000 tone");
    EXPECT_EQ(FindAdminControl("APA14"), nullptr);
}

// ---- the page list and the other two stores ---------------------------------------------

TEST(AdminCatalogTest, PageListOpensPagesSkippingTheHeading) {
    const QStringList items = AdminPageListItems();
    ASSERT_EQ(items.size(), 13);
    EXPECT_EQ(items.at(0), "   - general");
    EXPECT_EQ(items.at(1), "   - definirea zonelor");
    EXPECT_EQ(items.at(2), "TAXE - Valori fixate");
    EXPECT_EQ(items.at(3), "   - teren extravilan");
    EXPECT_EQ(items.at(9), "   - alte taxe");
    EXPECT_EQ(items.at(10), "   - mijloace transp. peste 12 tone");
    EXPECT_EQ(items.at(12), "   - mijloace de transport pe apa");

    EXPECT_EQ(AdminPageOfListItem(0), 0);
    EXPECT_EQ(AdminPageOfListItem(1), 1);
    EXPECT_EQ(AdminPageOfListItem(2), -1);
    EXPECT_EQ(AdminPageOfListItem(3), int(AdminPage::OutsideLand));
    EXPECT_EQ(AdminPageOfListItem(12), int(AdminPage::Boats));
    EXPECT_EQ(AdminPageOfListItem(13), -1);
    // Each item opens the page that bears its text.
    for (int i = 0; i < items.size(); ++i) {
        const int page = AdminPageOfListItem(i);
        if (page >= 0) {
            EXPECT_EQ(AdminPages().at(page).listText, items.at(i)) << i;
        }
    }

    ASSERT_EQ(int(AdminPages().size()), kAdminPageCount);
    for (const AdminPageInfo& p : AdminPages())
        EXPECT_EQ(p.hasExplanations, int(p.page) >= int(AdminPage::OutsideLand)) << p.listText.toStdString();
    EXPECT_EQ(AdminPages().at(int(AdminPage::Buildings)).subtitle,
              "Nivelul valorii impozabile la cladiri fara utilitati  -  lei / mp");
    EXPECT_EQ(AdminExplanationsLines().size(), 3);
    EXPECT_EQ(AdminExplanationsLines().last(), "coeficientii de zona si rang.");
}

TEST(AdminCatalogTest, CountersAndRegistryControls) {
    std::map<QString, AdminCounterControl> byControl;
    QStringList keys;
    for (const AdminCounterControl& c : AdminCounterControls()) {
        byControl.emplace(c.control, c);
        keys << c.key;
        EXPECT_EQ(FindAdminControl(c.control), nullptr) << "also in Ini.dbf: " << c.control.toStdString();
    }
    EXPECT_EQ(keys, QStringList({"PREVIEWL", "BONIF50", "REDUCERE_JURIDICE", "AUTORA", "FORMATPDF", "CALEAUTORA",
                                 "ORAAUTORA"}));
    EXPECT_EQ(byControl.at("PreviewC").label, "Arata chitanta inainte de listare");
    EXPECT_EQ(byControl.at("BonifPJ").key, "REDUCERE_JURIDICE");
    EXPECT_TRUE(byControl.at("FormatPDF").userSection);
    EXPECT_FALSE(byControl.at("Bonificatie50").userSection);
    EXPECT_EQ(byControl.at("OraAuto").kind, CounterControlKind::TimeOfDay);
    EXPECT_EQ(byControl.at("CaleAuto").kind, CounterControlKind::Folder);
    QStringList importOptions;
    for (const AdminCounterControl& c : AdminCounterControls())
        if (c.importOption) importOptions << c.control;
    EXPECT_EQ(importOptions, QStringList({"ActualizareRA", "CaleAuto", "OraAuto"}));

    EXPECT_EQ(NoPenaltiesCounterKey(), "FARAMAJORARI");
    EXPECT_EQ(YearLockCounterKey(2015), "ADMINBLOCAT2015");

    ASSERT_EQ(AdminRegistryControls().size(), 2u);
    EXPECT_EQ(AdminRegistryControls()[0].control, "CaleServer");
    EXPECT_EQ(AdminRegistryControls()[0].value, "SERVER");
    EXPECT_EQ(AdminRegistryControls()[1].label, "Cale Salvari :");
    EXPECT_EQ(AdminRegistryControls()[1].value, "CALESALVARI");
    EXPECT_EQ(AdminRegistryControls()[1].emptyText, "-");
}

// ---- a new settings table --------------------------------------------------------------

TEST(AdminCatalogTest, DefaultSettingsMakeOneRowPerTextNumberAndList) {
    const std::vector<Setting> defaults = DefaultAdminSettings();
    ASSERT_EQ(defaults.size(), AdminControls().size());
    EXPECT_EQ(defaults.front().name, "PrimariaLab");
    EXPECT_EQ(defaults.back().name, "APA13");

    test::TestServices env;
    SettingsTable table(env.services().database(), env.folders().data);
    ASSERT_FALSE(QFileInfo::exists(table.path()));
    table.save(defaults);

    // Read back by an engine of its own, from the file.
    db::Database reader;
    db::Query q = reader.query(QStringLiteral("SELECT FORMA, NUME, VALOARE FROM \"%1\"").arg(table.path()));
    std::map<QString, QString> rows;
    for (q.first(); !q.eof(); q.next()) {
        EXPECT_EQ(q.text("FORMA").trimmed(), "FORM4");
        const QString name = q.text("NUME").trimmed();
        EXPECT_TRUE(rows.emplace(name, q.text("VALOARE").trimmed()).second) << "twice: " << name.toStdString();
    }

    // 340 controls less the 50 coefficients (person quotas 2, yards 5, other uses 40,
    // unregistered vehicles 3), which get their rows elsewhere.
    EXPECT_EQ(rows.size(), 290u);
    for (const AdminControl& c : AdminControls()) {
        const auto it = rows.find(c.key);
        if (c.kind == SettingKind::Coefficient) {
            EXPECT_TRUE(it == rows.end()) << c.key.toStdString();
        } else {
            ASSERT_TRUE(it != rows.end()) << c.key.toStdString();
            EXPECT_EQ(it->second, c.defaultValue) << c.key.toStdString();
        }
    }
    EXPECT_EQ(rows.at("EC1ZB"), "37");
    EXPECT_EQ(rows.at("ComboBox3"), "IV");
    EXPECT_EQ(rows.at("CotaPJC3"), "30");
    EXPECT_EQ(rows.at("PrimariaLab"), "");
    EXPECT_EQ(rows.count("ICCA"), 0u);

    // Loading the new table gives every setting its default back.
    std::vector<Setting> loaded = DefaultAdminSettings();
    for (Setting& s : loaded)
        if (s.kind != SettingKind::Coefficient) s.value = "x";
    table.loadInto(loaded);
    for (std::size_t i = 0; i < loaded.size(); ++i) EXPECT_EQ(loaded[i].value, defaults[i].value) << defaults[i].name.toStdString();
}
