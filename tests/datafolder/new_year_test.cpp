// The new-year initialisation: the openings of the arrears page computed from the old year's
// account on 31 December, the carried debt lines, the purchases and sales applied to the
// pages, and the all-or-nothing run.

#include "new_year_test_util.h"

#include "db/error.h"

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QString kBuildings = QStringLiteral("Impozit pe cladiri");
const QString kIntravilan = QStringLiteral("Impozit pe teren intravilan");
const QString kExtravilan = QStringLiteral("Impozit pe teren extravilan");
const QString kVehicles = QStringLiteral("Impozit pe mijloace de transport");

struct ClaimSpec {
    QString group;
    qint64 amount = 0, rest = 0, reduction = 0;
};

// One role of the old year and its opening computed by hand ("LIN2=150 PEN2=9": the columns
// of its Pag8.dbf row that are not 0).
struct RoleCase {
    const char* what;
    std::vector<Balance> balances;
    std::vector<ClaimSpec> claims;
    std::vector<DebitSpec> debits;
    const char* opening;
    bool noTax = false;
};

// The columns of role `id`'s new Pag8.dbf row that are not 0.
QString storedOpening(NewYearFolders& f, qint64 id) {
    db::Database fresh(f.newFolder);
    const db::Query row = fresh.query(QStringLiteral("SELECT * FROM \"%1/Pag8.dbf\" WHERE IDGOS = ?").arg(f.newFolder), {id});
    QStringList parts;
    for (const char* prefix : {"LIN", "PEN", "SOLD"})
        for (int k = 1; k <= (prefix[0] == 'L' ? 11 : 4); ++k) {
            const QString column = QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(k);
            const qint64 v = row.count() ? row.value(column).toLongLong() : 0;
            if (v != 0) parts << QStringLiteral("%1=%2").arg(column).arg(v);
        }
    return parts.join(' ');
}

const std::vector<RoleCase>& twentyRoles() {
    static const std::vector<RoleCase> cases = {
        {"building 300, 150 unpaid after 30 September", {{kBuildings, 300, 150}}, {}, {}, "LIN2=150 PEN2=9"},
        {"building 300 unpaid: both instalments late", {{kBuildings, 300, 300}}, {}, {}, "LIN2=300 PEN2=36"},
        {"land overpaid by REST -40", {{kExtravilan, 0, -40}}, {}, {}, "SOLD1=40"},
        {"land overpaid by DEPOZ 40", {{kExtravilan, 0, 0, 0, 0, 0, 40}}, {}, {}, "SOLD1=40"},
        {"NOTAX DA with the option on", {{kBuildings, 300, 300, 0, 0, 0, 0, 15}}, {}, {}, "LIN2=300", true},
        {"Salubritate arrears to LIN9", {}, {{"Salubritate", 0, 30}}, {}, "LIN9=30"},
        {"a fine without a column becomes a debt line", {}, {{"Amenzi", 0, 30}}, {}, ""},
        {"purchase of 17 March", {}, {}, {{"Cumparare", {2014, 3, 17}, 200}}, "LIN2=200 PEN2=36"},
        {"Majorare from January", {}, {}, {{"Majorare", {2014, 1, 10}, 100, kVehicles}}, "LIN4=100 PEN4=22"},
        {"sale netted against a purchase", {}, {}, {{"Cumparare", {2014, 3, 17}, 200}, {"Vanzare", {2014, 6, 5}, -120}},
         "LIN2=80 PEN2=36"},
        {"PENDATA 1 December: no penalty", {}, {}, {{"Cumparare", {2014, 12, 15}, 100}}, "LIN2=100"},
        {"arrears 100 against credit 30", {{kBuildings, 0, 0, 0, 0, 100}, {kBuildings, 0, -30}}, {}, {}, "LIN2=70 PEN2=22"},
        {"arrears 50 against credit 80", {{kBuildings, 0, 0, 0, 0, 50}, {kBuildings, 0, 0, 0, 0, 0, 80}}, {}, {},
         "PEN2=11 SOLD2=30"},
        {"two rows of a group both count", {{kIntravilan, 40, 40}, {kIntravilan, 0, 0, 0, 0, 60}}, {}, {}, "LIN3=100 PEN3=20"},
        {"an exempted year owes nothing", {{kBuildings, 200, 200, 0, 200}}, {}, {}, ""},
        {"carried penalties stay", {{kVehicles, 0, 0, 0, 0, 50, 0, 15}}, {}, {}, "LIN4=50 PEN4=26"},
        {"pasture tax: rest and year less reduction", {}, {{"Taxa pe pasune", 20, 10, 5}}, {}, "LIN6=25"},
        {"nothing owed: the old opening is cleared", {}, {}, {}, ""},
        {"all four taxes", {{kExtravilan, 10, 10}, {kBuildings, 0, 0, 0, 0, 5}, {kIntravilan, 0, -7}, {kVehicles, 100, 0}},
         {}, {}, "LIN1=10 LIN2=5 PEN1=2 PEN2=1 SOLD3=7"},
        {"paid in full", {{kBuildings, 300, 0}}, {}, {}, ""},
    };
    return cases;
}

TEST(NewYearOpenings, TwentyRolesAsComputedByHand) {
    NewYearFolders f;
    f.setPenaltyOption(true);
    std::vector<qint64> ids;
    for (const RoleCase& c : twentyRoles()) {
        const qint64 id = f.addRole(QString::fromLatin1(c.what).left(40).toUpper(), "FIZICA", c.noTax);
        ids.push_back(id);
        for (const Balance& b : c.balances) f.balance(id, b);
        for (const ClaimSpec& l : c.claims) f.ledgerLine(id, l.group, l.amount, l.rest, l.reduction);
        for (const DebitSpec& d : c.debits) f.debit(id, d);
    }
    // An opening of the old year that the new one must not keep.
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET LIN1 = 99 WHERE IDGOS = ?").arg(f.path("Pag8.dbf")), {ids[17]});

    const NewYearReport report = f.run();
    for (size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(storedOpening(f, ids[i]).toStdString(), twentyRoles()[i].opening) << twentyRoles()[i].what;
    EXPECT_EQ(report.rolesWalked, 20);
    ASSERT_EQ(report.carried.size(), 1u);
    db::Database fresh(f.newFolder);
    const db::Query line = fresh.query(
        QStringLiteral("SELECT GRUPA, TIP, SUMA, REST, RESTINI, IDGOS FROM \"%1/Datorii.dbf\"").arg(f.newFolder));
    ASSERT_EQ(line.count(), 1);
    QStringList got;
    for (int c = 0; c < 6; ++c) got << line.cell(0, c).toString();
    EXPECT_EQ(got,
              QStringList({"Amenzi", "M", "0", "30", "30", QString::number(ids[6])}));
}

TEST(NewYearOpenings, PenaltiesKeptWhenTheOptionIsOff) {
    NewYearFolders f;
    f.setPenaltyOption(false);
    const qint64 id = f.addRole("SCUTIT", "FIZICA", true);
    f.balance(id, {kBuildings, 300, 300});
    f.run();
    EXPECT_EQ(storedOpening(f, id), QStringLiteral("LIN2=300 PEN2=36"));
}

TEST(NewYearOpenings, BoxesGovernWhatIsCarried) {
    struct Case {
        const char* what;
        NewYearChoices choices;
        const char* opening;
    } cases[] = {
        {"both unticked: Pag8 as copied", {true, false, false}, "LIN1=99"},
        {"local taxes only", {true, true, false}, "LIN2=150 PEN2=9"},
        {"other taxes only", {true, false, true}, "LIN9=30"},
    };
    for (const Case& c : cases) {
        NewYearFolders f;
        const qint64 id = f.addRole("ROL");
        f.balance(id, {kBuildings, 300, 150});
        f.ledgerLine(id, "Salubritate", 0, 30);
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET LIN1 = 99 WHERE IDGOS = ?").arg(f.path("Pag8.dbf")), {id});
        f.run(c.choices);
        EXPECT_EQ(storedOpening(f, id).toStdString(), c.opening) << c.what;
    }
}

TEST(NewYearOpenings, RoleWithoutArrearsPageGetsItsRow) {
    NewYearFolders f;
    const qint64 id = f.addRole("FARA PAGINA");
    f.balance(id, {kBuildings, 300, 150});
    f.db().exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDGOS = ?").arg(f.path("Pag8.dbf")), {id});
    f.run();
    EXPECT_EQ(storedOpening(f, id), QStringLiteral("LIN2=150 PEN2=9"));
}

TEST(NewYearPages, PurchasesAndSalesChangeTheCopiedPages) {
    NewYearFolders f;
    const qint64 buyer = f.addRole("CUMPARATOR"), seller = f.addRole("VANZATOR"), other = f.addRole("ALTUL");
    const QString pag2 = f.path("Pag2.dbf");
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET C1S = 10, C1A = 1980 WHERE IDGOS = ?").arg(pag2), {buyer});
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET C1S = 30 WHERE IDGOS = ?").arg(pag2), {seller});
    f.debit(buyer, {"Cumparare", {2014, 3, 17}, 0, kBuildings, "PAG2", "C1S", "25,5"});
    f.debit(buyer, {"Cumparare", {2014, 3, 17}, 0, kBuildings, "PAG2", "C1A", "1990"});
    f.debit(buyer, {"Cumparare", {2014, 3, 17}, 0, kBuildings, "PAG2", "XYZ", "1"});
    f.debit(buyer, {"Cumparare", {2014, 3, 17}, 0, kBuildings, "GOSPODAR", "NUMEP", "X"});
    f.debit(seller, {"Vanzare", {2014, 3, 17}, 0, kBuildings, "PAG2", "C1S", "abc"});
    f.debit(seller, {"Vanzare", {2014, 3, 17}, 0, kBuildings, "PAG2", "C1S", "25,5"});
    f.debit(other, {"Cumparare", {2014, 3, 17}, 0, kBuildings, "PAG2", "C1Z", "'"});
    f.debit(other, {"Cumparare", {2014, 3, 17}, 0, kBuildings, "PAG2", "C2S", "99999999"}); // too wide: the engine refuses it

    const NewYearReport report = f.run();
    EXPECT_DOUBLE_EQ(f.newValue("Pag2.dbf", "C1S", buyer).toDouble(), 35.5);
    EXPECT_EQ(f.newValue("Pag2.dbf", "C1A", buyer).toInt(), 1980); // the occupied slot keeps its year
    EXPECT_DOUBLE_EQ(f.newValue("Pag2.dbf", "C1S", seller).toDouble(), 4.5);
    EXPECT_EQ(f.newValue("Pag2.dbf", "C1Z", other).toString(), QStringLiteral("'")); // bound, as typed
    const QStringList log = QString::fromLatin1(fileBytes(f.logPath())).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(log.size(), 4);
    EXPECT_EQ(report.refusals.size(), 4u);
}

TEST(NewYearPages, MatricolaUntickedCopiesThePagesAsTheyWere) {
    NewYearFolders f;
    const qint64 buyer = f.addRole("CUMPARATOR");
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET C1S = 10 WHERE IDGOS = ?").arg(f.path("Pag2.dbf")), {buyer});
    f.debit(buyer, {"Cumparare", {2014, 3, 17}, 0, kBuildings, "PAG2", "C1S", "25,5"});
    f.run({false, true, true});
    EXPECT_DOUBLE_EQ(f.newValue("Pag2.dbf", "C1S", buyer).toDouble(), 10);
}

TEST(NewYearRun, FailuresLeaveBothFoldersAsTheyWere) {
    struct Case {
        const char* what;
        NewYearHooks hooks;
    } cases[] = {
        {"mid-balances", {[](int walked) { if (walked == 2) throw Error("Tabela blocata"); }, {}}},
        // the counters file is the new folder's first file that did not exist there before
        {"in the swap", {{}, [](const QString& file) { if (file == "Vartesa.set") throw Error("Disc plin"); }}},
    };
    for (const Case& c : cases) {
        NewYearFolders f;
        for (int i = 0; i < 3; ++i) f.balance(f.addRole(QStringLiteral("ROL %1").arg(i)), {kBuildings, 300, 150});
        const auto oldBefore = NewYearFolders::snapshot(f.oldFolder());
        const auto newBefore = NewYearFolders::snapshot(f.newFolder);
        EXPECT_THROW(f.run({}, c.hooks), Error) << c.what;
        EXPECT_TRUE(NewYearFolders::snapshot(f.oldFolder()) == oldBefore) << c.what;
        EXPECT_TRUE(NewYearFolders::snapshot(f.newFolder) == newBefore) << c.what;
        EXPECT_FALSE(QFileInfo::exists(NewYearStagingFolder(f.newFolder))) << c.what;
        f.run();
        EXPECT_EQ(f.counters().ReadCounter("SERVER", "ADMINBLOCAT2014"), QStringLiteral("DA")) << c.what;
    }
}

TEST(NewYearRun, LockOnlyInTheOldYearAndNoSecondRun) {
    NewYearFolders f;
    f.addRole("ROL");
    QDir().mkpath(NewYearStagingFolder(f.newFolder)); // a crashed run's leftover
    f.run();
    EXPECT_EQ(CountersFile(f.newFolder + "/Vartesa.set").ReadCounter("SERVER", "ADMINBLOCAT2014"), QString());
    try {
        f.run();
        FAIL() << "a second run was accepted";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains("are deja roluri; preluarea se face o singura data!")) << e.text().toStdString();
    }
}

} // namespace
