// Bringing data folders forward: a new folder gets every table, an old one its new layout
// with its data, and a second run changes nothing.

#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "datafolder/upgrades.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

using namespace vartesa;

namespace {

class Upgrades : public ::testing::Test {
protected:
    test::TestServices env;
    db::Database& db = env.services().database();
    CountersFile counters = env.services().counters();
    std::vector<Setting> settings{{"PrimariaLab", SettingKind::Text, "Primaria X"},
                                  {"EC1ZE", SettingKind::Coefficient, "0"},
                                  {"ICCA", SettingKind::Coefficient, "1.5"}};
    UpgradeContext context{db, env.folders().data, env.folders().program, counters, env.messages(), env.desktop(), settings};

    QString data(const QString& file) const { return env.folders().data + '/' + file; }

    // Creates a table with the current layout changed by `edit` (fields dropped or added).
    void createOld(const QString& file, const std::function<void(std::vector<db::Field>&)>& edit) {
        TableLayout layout = CatalogTable(file);
        edit(layout.fields);
        CreateTable(db, data(file), layout);
    }

    std::map<QString, QByteArray> folderBytes() const {
        std::map<QString, QByteArray> bytes;
        for (const QString& name : QDir(env.folders().data).entryList(QDir::Files)) {
            if (name == "Vartesa.lck") continue;
            QFile f(data(name));
            f.open(QIODevice::ReadOnly);
            bytes[name] = f.readAll();
        }
        return bytes;
    }

    void runBoth() {
        RunFirstUpgradeSet(context);
        RunSecondUpgradeSet(context);
    }

    QVariant value(const QString& file, const QString& column, const QString& where, const QVariantList& params = {}) {
        return db.scalar(QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3").arg(column, data(file), where), params);
    }
};

void dropFields(std::vector<db::Field>& fields, const QStringList& names) {
    std::erase_if(fields, [&](const db::Field& f) { return names.contains(f.name, Qt::CaseInsensitive); });
}

} // namespace

TEST_F(Upgrades, EmptyFolderGetsEveryTableInItsLayoutAndASecondRunChangesNothing) {
    const UpgradeReport first = RunFirstUpgradeSet(context);
    for (const TableLayout& t : TableCatalog()) {
        SCOPED_TRACE(t.file.toStdString());
        ASSERT_TRUE(QFile::exists(data(t.file)));
        const db::Layout onDisk = db.layout(data(t.file));
        ASSERT_EQ(onDisk.fields.size(), t.fields.size());
        for (size_t i = 0; i < t.fields.size(); ++i) {
            EXPECT_EQ(onDisk.fields[i].name, t.fields[i].name.toUpper());
            EXPECT_EQ(onDisk.fields[i].type, t.fields[i].type);
            EXPECT_EQ(onDisk.fields[i].length, t.fields[i].length);
            EXPECT_EQ(onDisk.fields[i].decimals, t.fields[i].decimals);
        }
    }
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(data("CODCL.dbf"))).toInt(), 12);
    // One row per stored control other than the coefficients.
    EXPECT_EQ(value("Ini.dbf", "VALOARE", "NUME = 'PrimariaLab'").toString(), "Primaria X");
    EXPECT_TRUE(value("Ini.dbf", "VALOARE", "NUME = 'EC1ZE'").isNull());
    EXPECT_TRUE(first.changes.contains("Datorii.dbf creata"));

    const UpgradeReport second = RunSecondUpgradeSet(context);
    EXPECT_TRUE(second.rolesTableEmpty);
    EXPECT_EQ(counters.ReadCounter("SERVER", "Up20154"), "DA");
    EXPECT_EQ(counters.ReadCounter("SERVER", "ExistVer"), "1.26");
    // The coefficient rows come from the upgrade: eleven zone coefficients, and every other
    // stored control that has no row yet, at its default.
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE NUME LIKE 'EC%ZE'").arg(data("Ini.dbf"))).toInt(), 11);
    EXPECT_EQ(value("Ini.dbf", "VALOARE", "NUME = 'ICCA'").toString(), "1.5");

    const auto before = folderBytes();
    runBoth();
    EXPECT_EQ(folderBytes(), before);
    EXPECT_TRUE(env.messages().shown().empty());
}

TEST_F(Upgrades, OldPageFiveMovesItsVehiclesToTheNewColumns) {
    createOld("Pag5.dbf", [](std::vector<db::Field>& f) {
        dropFields(f, {"P30001", "P30002", "P30003", "P30004", "ALTE1", "ALTE2", "ALTE3", "ALTE4", "ATB3", "ATB4", "ATBNR3",
                       "ATBNR4"});
        f.push_back({"AUTO10", db::FieldType::Numeric, 6, 0, 0});
        f.push_back({"ALTE", db::FieldType::Numeric, 6, 0, 0});
    });
    db.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, AUTO1, AUTO10, ALTE) VALUES (4, 2, 3200, 15)").arg(data("Pag5.dbf")));
    runBoth();
    const db::Layout l = db.layout(data("Pag5.dbf"));
    EXPECT_LT(l.indexOf("AUTO10"), 0);
    EXPECT_LT(l.indexOf("ALTE"), 0);
    db::Query row = db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE IDGOS = 4").arg(data("Pag5.dbf")));
    ASSERT_EQ(row.count(), 1);
    EXPECT_EQ(row.integer("P30001"), 3200);
    EXPECT_EQ(row.integer("ALTE1"), 15);
    EXPECT_EQ(row.integer("AUTO1"), 2);
    for (const char* zero : {"P30002", "P30003", "P30004", "ALTE2", "ALTE3", "ALTE4", "ATB3", "ATB4", "ATBNR3", "ATBNR4"}) {
        SCOPED_TRACE(zero);
        EXPECT_FALSE(row.isNull(zero));
        EXPECT_EQ(row.integer(zero), 0);
    }
}

TEST_F(Upgrades, OldVehicleLinesAreRenamedOrMergedOnceAndTheRolesListed) {
    RunFirstUpgradeSet(context);
    const QString debts = data("Datorii.dbf");
    const auto line = [&](int id, int role, const char* rol, const char* name, int amount, int established) {
        db.exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, SATUL, ROL, GRUPA, DENUM, SUMA, SUMA2, RESTINI, TIP) "
                               "VALUES (?, ?, 'Vale', ?, 'Impozit pe mijloace de transport', ?, ?, ?, 0, 'A')")
                    .arg(debts),
                {id, role, rol, name, amount, established});
    };
    line(1, 7, "12", "Remorci, rulote peste 5 tone", 100, 120);
    line(2, 7, "12", "Remorci, rulote >5 t", 300, 300);
    line(3, 8, "15", "Alte autovehicule", 50, 50);
    RunSecondUpgradeSet(context);

    db::Query rows = db.query(QStringLiteral("SELECT IDGOS, DENUM, SUMA, UM FROM \"%1\" ORDER BY IDGOS, DENUM").arg(debts));
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.text("DENUM"), "Remorci, rulote >5 t");
    EXPECT_EQ(rows.integer("SUMA"), 280); // 300 less the 20 already paid on the old line
    rows.next();
    EXPECT_EQ(rows.text("DENUM"), "Alte autovehicule pana in 12t (1)");
    EXPECT_EQ(rows.text("UM"), "200cmc");
    EXPECT_EQ(rows.integer("SUMA"), 50);

    ASSERT_EQ(env.messages().shown().size(), 1u);
    EXPECT_EQ(env.messages().shown()[0].title, "ATENTIE!");
    EXPECT_EQ(env.messages().shown()[0].text,
              "Dupa schimbarile pe care le-am operat la Auto,\rtrebuie sa adaugati 2 ROL-uri la plata!\r"
              "O sa va arat lista cu aceste ROL-uri.");
    const QString list = env.folders().program + "/ROLURI0.txt";
    ASSERT_EQ(env.desktop().opened(), QStringList{list});
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("LISTA ROLURILOR DE ADAUGAT LA PLATA\r\n***********************************\r\n \r\n"
                                         "Vale  ROL: 12\r\nVale  ROL: 15\r\n"));
    EXPECT_FALSE(QFile::exists(env.folders().program + "/UpG0.dbf")); // the working table is gone

    // A second start renames nothing again.
    line(4, 9, "20", "Remorci, rulote peste 5 tone", 10, 10);
    RunSecondUpgradeSet(context);
    EXPECT_EQ(value("Datorii.dbf", "DENUM", "IDDAT = 4").toString(), "Remorci, rulote peste 5 tone");
    EXPECT_EQ(env.messages().shown().size(), 1u);
}

TEST_F(Upgrades, NarrowAddressesWidenKeepingTheText) {
    createOld("Gospodar.dbf", [](std::vector<db::Field>& f) {
        for (db::Field& field : f) {
            if (field.name == "ADRESA") field.length = 60;
            if (field.name == "OBS") field.length = 100;
        }
    });
    const QString address = QString::fromUtf8("Str. Mihai Viteazu nr. 14, bl. A2, sc. 3, ap. 45, Şieu-Măgheruş");
    db.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, ROL, ADRESA) VALUES (1, '7', ?)").arg(data("Gospodar.dbf")),
            {address.left(60)}); // the text an older program left, cut to its field
    const UpgradeReport report = [&] {
        RunFirstUpgradeSet(context);
        return RunSecondUpgradeSet(context);
    }();
    EXPECT_FALSE(report.rolesTableEmpty);
    const db::Layout l = db.layout(data("Gospodar.dbf"));
    EXPECT_EQ(l.fields[size_t(l.indexOf("ADRESA"))].length, 80);
    EXPECT_EQ(l.fields[size_t(l.indexOf("OBS"))].length, 240);
    EXPECT_EQ(l.indexOf("ADRESA"), 5); // the fields keep their order
    EXPECT_EQ(value("Gospodar.dbf", "ADRESA", "IDGOS = 1").toString(), address.left(60));
}

TEST_F(Upgrades, PageSixWithoutPastureColumnsIsMadeAnew) {
    CreateTable(db, data("Pag6.dbf"), {"Pag6.dbf", {{"IDGOS", db::FieldType::Numeric, 10, 0, 0}, {"PAS1", db::FieldType::Numeric, 6, 0, 0}}});
    db.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, PAS1) VALUES (1, 5)").arg(data("Pag6.dbf")));
    RunFirstUpgradeSet(context);
    const QString ini = data("Ini.dbf");
    for (const char* name : {"PAS1", "PAS3"})
        db.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES ('FORM4', ?, '7')").arg(ini), {name});
    db.exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, GRUPA, TIP, SUMA2) VALUES (1, 'Taxa pe pasune', 'A', 10), "
                           "(2, 'Taxa pe pasune', 'M', 10), (3, 'Salubritate', 'A', 10)")
                .arg(data("Datorii.dbf")));
    RunSecondUpgradeSet(context);
    EXPECT_EQ(db.layout(data("Pag6.dbf")).fields.size(), 12u);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(data("Pag6.dbf"))).toInt(), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE NUME LIKE 'PAS%'").arg(ini)).toInt(), 0);
    for (int n = 1; n <= 11; ++n)
        EXPECT_EQ(value("Ini.dbf", "VALOARE", "NUME = ?", {QStringLiteral("VN%1").arg(n)}).toString(), "0") << n;
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(data("Datorii.dbf"))).toInt(), 2);
}

TEST_F(Upgrades, AssessedLinesWithNothingEstablishedAreRemovedAndTheTablePacked) {
    RunFirstUpgradeSet(context);
    const QString debts = data("Datorii.dbf");
    db.exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, TIP, SUMA2, RESTINI) VALUES (1, 'A', 0, 0), (2, 'A', 0, 5), "
                           "(3, 'M', 0, 0), (4, 'A', 9, 0)")
                .arg(debts));
    RunSecondUpgradeSet(context);
    db::Query ids = db.query(QStringLiteral("SELECT IDDAT FROM \"%1\" ORDER BY IDDAT").arg(debts));
    QStringList left;
    for (; !ids.eof(); ids.next()) left << ids.text("IDDAT");
    EXPECT_EQ(left, (QStringList{"2", "3", "4"}));
    EXPECT_EQ(db.layout(debts).recordCount, 3u); // packed: no deleted record stays in the file
}

TEST_F(Upgrades, DebitsOfTheOldLargeCarColumnFollowItBeforeRelease118) {
    RunFirstUpgradeSet(context);
    db.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, P30001) VALUES (3, 3150)").arg(data("Pag5.dbf")));
    db.exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, FISIER, CAMP1, VAL1, DENUM) VALUES "
                           "(1, 3, 'PAG5', 'AUTO10', '2900', 'vechi'), (2, 3, 'PAG5', 'AUTO1', '1', 'altul')")
                .arg(data("Debit.dbf")));
    counters.WriteCounter("SERVER", "ExistVer", "1.17");
    RunSecondUpgradeSet(context);
    EXPECT_EQ(value("Debit.dbf", "DENUM", "IDDEB = 1").toString(), "Autoturisme cap.cil.peste 3000 cmc (1)");
    EXPECT_EQ(value("Debit.dbf", "CAMP1", "IDDEB = 1").toString(), "P30001");
    EXPECT_EQ(value("Debit.dbf", "VAL1", "IDDEB = 1").toString(), "3150");
    EXPECT_EQ(value("Debit.dbf", "DENUM", "IDDEB = 2").toString(), "altul");
    // From 1.18 on the step does not run again, 1.18 itself included.
    db.exec(QStringLiteral("UPDATE \"%1\" SET CAMP1 = 'AUTO10' WHERE IDDEB = 2").arg(data("Debit.dbf")));
    for (const char* version : {"1.18", "1.26"}) {
        counters.WriteCounter("SERVER", "ExistVer", version);
        RunSecondUpgradeSet(context);
        EXPECT_EQ(value("Debit.dbf", "CAMP1", "IDDEB = 2").toString(), "AUTO10") << version;
    }
}

TEST_F(Upgrades, NarrowBuiltUpYardsAreWidenedKeepingRowsAndFieldOrder) {
    createOld("Pag4.dbf", [](std::vector<db::Field>& f) {
        for (db::Field& field : f)
            if (field.name.startsWith("CC")) field.length = 8;
    });
    const QString pag4 = data("Pag4.dbf");
    CreateTable(db, data("Pag4_L.dbf"), CatalogTable("Pag4.dbf")); // left by an older release's rebuild
    db.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, CCA, CCE, AL8E) VALUES (1, 999.1234, 5, 2.5), (2, 0, 0, 0)").arg(pag4));
    db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDGOS = 2").arg(pag4));
    EXPECT_THROW(db.exec(QStringLiteral("UPDATE \"%1\" SET CCB = 1964.19").arg(pag4)), Error);
    runBoth();
    const db::Layout l = db.layout(pag4);
    const TableLayout& current = CatalogTable("Pag4.dbf");
    ASSERT_EQ(l.fields.size(), current.fields.size());
    for (size_t i = 0; i < l.fields.size(); ++i)
        EXPECT_EQ(QString("%1 %2,%3").arg(l.fields[i].name).arg(l.fields[i].length).arg(l.fields[i].decimals),
                  QString("%1 %2,%3").arg(current.fields[i].name).arg(current.fields[i].length).arg(current.fields[i].decimals));
    db.exec(QStringLiteral("UPDATE \"%1\" SET CCB = 1964.19 WHERE IDGOS = 1").arg(pag4));
    db::Query row = db.query(QStringLiteral("SELECT * FROM \"%1\"").arg(pag4));
    ASSERT_EQ(row.count(), 1) << "the deleted row stays deleted";
    EXPECT_EQ(QStringList({row.text("CCA"), row.text("CCB"), row.text("CCE"), row.text("AL8E")}),
              QStringList({"999.1234", "1964.19", "5", "2.5"}));
    EXPECT_FALSE(QFile::exists(data("Pag4_L.dbf")));
    const auto before = folderBytes();
    RunSecondUpgradeSet(context);
    EXPECT_EQ(folderBytes(), before);
}

// CANT held 9 digits with 4 decimals; a company's buildings need more. Every field keeps
// its value and place, also in a folder an older release left half-way through its widening
// by copies: copies made while CANT was still narrow (it holds the values), or copies filled
// and the fields after them made anew (the copies hold the values).
TEST_F(Upgrades, DebtQuantityWidensKeepingTheLinesAlsoAfterAnInterruptedStart) {
    const QString copies = QStringLiteral("ALTER TABLE \"%1\" ADD W_CANT DECIMAL(15,4), ADD W_REDUCP DECIMAL(6,0), "
                                          "ADD W_SCUTIT DECIMAL(6,0), ADD W_TIP CHAR(1), ADD W_SUMA2 DECIMAL(6,0), "
                                          "ADD W_RESTINI DECIMAL(6,0)");
    const QString fill = QStringLiteral("UPDATE \"%1\" SET W_CANT = CANT, W_REDUCP = REDUCP, W_SCUTIT = SCUTIT, W_TIP = TIP, "
                                        "W_SUMA2 = SUMA2, W_RESTINI = RESTINI");
    const QString remake = QStringLiteral("ALTER TABLE \"%1\" DROP CANT, DROP REDUCP, DROP SCUTIT, DROP TIP, DROP SUMA2, "
                                          "DROP RESTINI, ADD CANT DECIMAL(15,4), ADD REDUCP DECIMAL(6,0), "
                                          "ADD SCUTIT DECIMAL(6,0), ADD TIP CHAR(1), ADD SUMA2 DECIMAL(6,0), "
                                          "ADD RESTINI DECIMAL(6,0)");
    const struct {
        const char* what;
        QStringList steps; // done by the older release before it stopped
    } starts[] = {{"whole", {}}, {"copies made", {copies}}, {"fields made anew", {copies, fill, remake}}};
    for (const auto& start : starts) {
        SCOPED_TRACE(start.what);
        QFile::remove(data("Datorii.dbf"));
        createOld("Datorii.dbf", [](std::vector<db::Field>& f) {
            for (db::Field& field : f)
                if (field.name == "CANT") field.length = 9;
        });
        const QString debts = data("Datorii.dbf");
        db.exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, GRUPA, DENUM, SUMA, UM, CANT, REDUCP, TIP, SUMA2, RESTINI) "
                               "VALUES (1, 7, 'Impozit pe cladiri', 'Cladiri', 90, 'mp', 1234.5678, 7, 'A', 100, 3)")
                    .arg(debts));
        for (const QString& step : start.steps) db.exec(step.arg(debts));
        RunFirstUpgradeSet(context);
        const UpgradeReport report = RunSecondUpgradeSet(context);
        const db::Layout onDisk = db.layout(debts);
        const TableLayout& current = CatalogTable("Datorii.dbf");
        ASSERT_EQ(onDisk.fields.size(), current.fields.size());
        for (size_t i = 0; i < onDisk.fields.size(); ++i) {
            EXPECT_EQ(onDisk.fields[i].name, current.fields[i].name);
            EXPECT_EQ(onDisk.fields[i].length, current.fields[i].length) << current.fields[i].name.toStdString();
        }
        EXPECT_TRUE(report.changes.contains("Datorii.dbf: campul CANT largit la 15 cifre"))
            << report.changes.join(" | ").toStdString();
        EXPECT_EQ(value("Datorii.dbf", "CANT", "IDDAT = 1").toDouble(), 1234.5678);
        EXPECT_EQ(value("Datorii.dbf", "TIP || SUMA2 || '/' || RESTINI || '/' || REDUCP", "IDDAT = 1").toString(), "A100/3/7");
        db.exec(QStringLiteral("UPDATE \"%1\" SET CANT = 301000 WHERE IDDAT = 1").arg(debts));
        const auto before = folderBytes();
        RunSecondUpgradeSet(context);
        EXPECT_EQ(folderBytes().at("Datorii.dbf"), before.at("Datorii.dbf")) << "a second start changes nothing";
    }
}
