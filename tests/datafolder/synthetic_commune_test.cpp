// The synthetic commune: the same seed gives the same folder, it holds every kind of tax
// object it promises, and assessing it again changes no ledger or balance row.

#include "support/scripted_services.h"
#include "support/tool_run.h"

#include "db/database.h"
#include "db/error.h"
#include "datafolder/synthetic_commune.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/users_file.h"
#include "shell/catalog.h"
#include "shell/table_files.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SyntheticCommune : public ::testing::Test {
protected:
    static constexpr int kRoles = 400;
    test::TestServices env;
    QString data(const QString& file) const { return env.folders().data + '/' + file; }
    int count(const QString& file, const QString& where) {
        return env.services()
            .database()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE %2").arg(data(file), where))
            .toInt();
    }
};

TEST_F(SyntheticCommune, HoldsEveryKindOfObjectAndAssessesEveryRole) {
    const SyntheticCommuneReport r = CreateSyntheticCommune(env.services(), {kRoles, 7, true});
    EXPECT_EQ(r.assessment.assessed, kRoles);
    const struct {
        const char* file;
        const char* where;
    } present[] = {
        {"Gospodar.dbf", "NUMEP = 'SC \"ALFA\" SRL' AND TIP = 'JURIDICA'"},
        {"Gospodar.dbf", "NUMEP LIKE 'O''NEIL%'"},
        {"Gospodar.dbf", "SATUL = 'ŞIEU-MĂGHERUŞ'"},
        {"Gospodar.dbf", "NOTAX = 'DA'"},
        {"Gospodar.dbf", "SCCLAD = 'DA'"},
        {"Gospodar.dbf", "SCCC = 'DA'"},
        {"Gospodar.dbf", "SCTI = 'DA'"},
        {"Gospodar.dbf", "SCAUTO = 'DA'"},
        {"Gospodar.dbf", "SCTE > 0"},
        {"DefZone.dbf", "LOCALIT = 'ŢIBUCANI' AND ZONA = 'C'"},
        {"Pag2.dbf", "C1S > 200 AND C1A BETWEEN 1 AND 1964"},
        {"Pag2.dbf", "C1S = 150.01"},
        {"Pag2.dbf", "AM1 = 'DA' AND V1 > 0"},
        {"Pag2.dbf", "CAS > 0"},
        {"Pag1.dbf", "L11A + L11B + L11C + L11D + L11E > 0"},
        {"Pag4.dbf", "CCE > 0"},
        {"Datorii.dbf", "DENUM LIKE 'Vehicule _ axe%'"},
        {"Datorii.dbf", "DENUM LIKE 'Vehicule _+_ axe%'"},
        {"Datorii.dbf", "DENUM = 'Vapoare' OR DENUM LIKE 'Barca%' OR DENUM LIKE 'Remorcher%'"},
        {"Datorii.dbf", "DENUM LIKE 'Auto neinmat%'"},
        {"Datorii.dbf", "DENUM LIKE 'Autoturisme cap.cil.peste 3000%'"},
        {"Datorii.dbf", "TIP = 'M' AND GRUPA = 'Amenzi'"},
        {"Datorii.dbf", "RESTINI > 0"},
        {"SoldCalc.dbf", "DATORI > 0 AND MAJORI > 0"},
        {"SoldCalc.dbf", "DEPOZI > 0"},
        {"Debit.dbf", "SUMAINI < 0"},
    };
    for (const auto& p : present)
        EXPECT_GT(count(QLatin1String(p.file), QString::fromUtf8(p.where)), 0)
            << p.file << ": " << p.where;
    EXPECT_EQ(env.services().counters().ReadCounter("SERVER", "FARAMAJORARI"), "DA");
    EXPECT_EQ(env.services().counters().ReadCounter("CASIER2", "SERIA"), "DLM");
    EXPECT_EQ(UsersFile::inFolder(env.folders().data).indexOfName("CASIER1"), 1);
    EXPECT_THROW(CreateSyntheticCommune(env.services(), {kRoles, 7, true}), Error)
        << "an existing folder is kept";

    // Assessed again with nothing changed: not one byte of the ledger or the balances moves.
    const QByteArray ledger = bytes(data("Datorii.dbf"));
    const QByteArray balances = bytes(data("SoldCalc.dbf"));
    AdminConstants constants;
    constants.load(env.services());
    AssessRunHooks quiet;
    quiet.progress = [](int, int) {};
    const AssessRunResult again =
        AssessAllVillages(env.services(), constants, SyntheticVillages(), quiet);
    EXPECT_EQ(again.assessed, kRoles);
    EXPECT_EQ(bytes(data("Datorii.dbf")), ledger);
    EXPECT_EQ(bytes(data("SoldCalc.dbf")), balances);
}

TEST_F(SyntheticCommune, SameSeedSameCommune) {
    const auto make = [](const QString& folder, quint64 seed) {
        test::TestServices other;
        other.services().folders.data = other.services().folders.defaultData = folder;
        CreateSyntheticCommune(other.services(), {60, seed, true});
    };
    const QString a = env.root() + "/a", b = env.root() + "/b", c = env.root() + "/c";
    make(a, 3);
    make(b, 3);
    make(c, 4);
    for (const char* file : {"Gospodar.dbf", "Pag2.dbf", "Pag5.dbf", "Datorii.dbf", "SoldCalc.dbf"})
        EXPECT_EQ(bytes(a + '/' + file), bytes(b + '/' + file)) << file;
    EXPECT_NE(bytes(a + "/Gospodar.dbf"), bytes(c + "/Gospodar.dbf"));
}

TEST(SyntheticRows, AnotherWorkingYearMovesEveryDateAndYear) {
    const SyntheticRows a = GenerateSyntheticRows({80, 5, false, 2015});
    const SyntheticRows b = GenerateSyntheticRows({80, 5, false, 2026});
    int dates = 0;
    const auto compare = [&](const std::vector<QVariantList>& x, const std::vector<QVariantList>& y, const char* what) {
        ASSERT_EQ(x.size(), y.size()) << what;
        for (size_t r = 0; r < x.size(); ++r)
            for (qsizetype c = 0; c < x[r].size(); ++c) {
                if (x[r][c].metaType().id() != QMetaType::QDate) continue;
                ++dates;
                EXPECT_EQ(x[r][c].toDate().addYears(11), y[r][c].toDate()) << what << " row " << r << " column " << c;
            }
    };
    compare(a.debits, b.debits, "Debit.dbf");
    compare(a.manualLines, b.manualLines, "Datorii.dbf");
    for (int i = 0; i < 7; ++i) compare(a.pages[i], b.pages[i], "pages");
    EXPECT_GT(dates, 100);
}

TEST(SyntheticCommuneTool, ADemoMadeTodayIsPaidTodayWithItsBudgetAccounts) {
    test::TestServices env;
    const QString folder = env.root() + "/demo";
    QString out;
    ASSERT_EQ(test::runTool({"demo", folder, "--roles", "40"}, &out), 0) << out.toStdString();
    EXPECT_EQ(CountersFile(folder + "/Vartesa.set").ReadCounter("SERVER", "ANLUCRU"),
              QString::number(QDate::currentDate().year()));
    // Role 1's first claim, paid today without naming a date.
    ASSERT_EQ(test::runTool({"account", folder, "1"}, &out), 0) << out.toStdString();
    const QString claim = out.split('\n').value(2).section(',', 1, 1); // under [IMPOZITE] and its header
    ASSERT_FALSE(claim.isEmpty()) << out.toStdString();
    ASSERT_EQ(test::runTool({"pay", folder, "1", "--user", "CASIER1", "--tax", claim + "=1"}, &out), 0)
        << out.toStdString();
    EXPECT_TRUE(out.contains("IDCHIT")) << out.toStdString();
}

} // namespace

TEST(SyntheticRows, OneVehicleDetailPerRegisteredVehicleAndSomeLandBoughtOrSold) {
    const SyntheticRows rows = GenerateSyntheticRows({500, 9, false, 2015});
    const TableLayout& pag5 = CatalogTable(tables::Vehicles);
    static const QRegularExpression counted("^(AUTO\\d+|ATBNR1|TBUC1|G\\d+[AB])$");
    qint64 registered = 0;
    for (const QVariantList& row : rows.pages[3])
        for (size_t i = 0; i < pag5.fields.size(); ++i)
            if (counted.match(pag5.fields[i].name).hasMatch()) registered += row[qsizetype(i)].toLongLong();
    EXPECT_EQ(qint64(rows.vehicleDetails.size()), registered);
    const auto land = std::count_if(rows.debits.begin(), rows.debits.end(), [](const QVariantList& d) {
        return d[2].toString().startsWith("Impozit pe teren");
    });
    EXPECT_GT(land, 0);
}
