// The synthetic commune's data folder: the generated tables written whole, the other
// tables and files of a new folder, the constants, the users and counters, then the
// assessment of every village.

#include "datafolder/synthetic_commune.h"

#include "db/database.h"
#include "db/dbf_format.h"
#include "db/error.h"
#include "db/file_io.h"
#include "roles/role_register.h"
#include "roles/village_list.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "admin/budget_codes.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/login.h"
#include "shell/passwords.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/table_files.h"
#include "datafolder/upgrades.h"
#include "shell/users_file.h"

#include <QDir>
#include <QFileInfo>

namespace vartesa {

namespace {

// Plausible rates of a rural commune. Buildings: the national level per m2 (600 lei for
// concrete or brick, 150 for other materials) times the coefficient of zone and rank.
void setRates(AdminConstants& c) {
    const double rankFactor[6][4] = {{2.6, 2.5, 2.4, 2.3},   {2.5, 2.4, 2.3, 2.2},
                                     {2.4, 2.3, 2.2, 2.1},   {2.3, 2.2, 2.1, 2.0},
                                     {1.1, 1.05, 1.0, 0.95}, {1.05, 1.0, 0.95, 0.9}};
    const char zones[] = "ABCD";
    for (int z = 0; z < 4; ++z)
        for (int r = 0; r < 6; ++r) {
            const QString at = QStringLiteral("%1R%2").arg(QLatin1Char(zones[z])).arg(r);
            const double f = rankFactor[r][z];
            c.setText("ICZ" + at, QString::number(600 * f, 'f', 2));
            c.setText("IC2Z" + at, QString::number(150 * f, 'f', 2));
            c.setText("IA1Z" + at, QString::number(200 * f, 'f', 2));
            c.setText("IA2Z" + at, QString::number(75 * f, 'f', 2));
        }
    c.setText("CotaMajA", "0.1");
    const char* const yards[5] = {"0.0711", "0.0569", "0.0427", "0.0284", "0.0200"};
    const char landZones[] = "ABCDE";
    for (int z = 0; z < 5; ++z)
        c.setText(QStringLiteral("ICC") + QLatin1Char(landZones[z]), yards[z]);
    const int inside[8] = {28, 21, 21, 46, 53, 0, 28, 15}; // lei/ha in zone A, lower further out
    for (int k = 0; k < 8; ++k)
        for (int z = 0; z < 5; ++z)
            c.setText(QStringLiteral("IA%1%2").arg(k + 1).arg(z + 1),
                      QString::number(inside[k] * (10 - z) / 10.0, 'f', 2));
    // Cars by class, lei per vehicle: 8 lei per 200 cm3 up to 1600, 18 up to 2000, 72 up to
    // 2600, 144 up to 3000; a few rates with decimals as councils decide them.
    const std::pair<const char*, const char*> vehicles[] = {
        {"AUTO23", "8"},     {"AUTO22", "16"},  {"AUTO21", "24"},  {"AUTO20", "32"},
        {"AUTO19", "40"},    {"AUTO18", "48"},  {"AUTO1", "56"},   {"AUTO2", "64"},
        {"AUTO3", "162"},    {"AUTO4", "180"},  {"AUTO5", "792"},  {"AUTO6", "864"},
        {"AUTO7", "936"},    {"AUTO8", "2016"}, {"AUTO9", "2160"}, {"AUTO10", "290"},
        {"AUTO11", "30.50"}, {"AUTO12", "24"},  {"AUTO13", "18"},  {"AUTO14", "9"},
        {"AUTO15", "33.50"}, {"AUTO16", "52"},  {"AUTO17", "64"},  {"NumericEdit3", "10"},
        {"VN1", "3"},        {"VN2", "5"},      {"VN3", "100"},    {"Alte1", "0.50"},
        {"Alte2", "12.50"},  {"Alte3", "36"},   {"Alte4", "10"},   {"Alte5", "25"},
        {"Alte6", "34"},     {"ERED", "10"},    {"ICRED", "10"},   {"IARED", "10"},
        {"IIRED", "10"}};
    for (const auto& [key, value] : vehicles)
        c.setText(key, value);
    const int heavy[15] = {0,   133, 367, 811, 133, 231,  474, 615,
                           947, 947, 615, 623, 973, 1545, 1545};
    for (int k = 0; k < 15; ++k) {
        c.setText(QStringLiteral("G%1A").arg(k + 1), QString::number(heavy[k]));
        c.setText(QStringLiteral("G%1B").arg(k + 1), QString::number(heavy[k] * 3 / 2 + 100));
    }
    for (int k = 0; k < 24; ++k) {
        c.setText(QStringLiteral("GC%1A").arg(k + 1), QString::number(100 + 60 * k));
        c.setText(QStringLiteral("GC%1B").arg(k + 1), QString::number(150 + 90 * k));
    }
    const int water[13] = {21, 56, 210, 1119, 210, 559, 909, 1398, 1398, 182, 182, 280, 490};
    for (int k = 0; k < 13; ++k)
        c.setText(QStringLiteral("APA%1").arg(k + 1), QString::number(water[k]));
    c.setText("PrimariaLab", QString::fromUtf8("Vârteşa")); // printed after "Primaria "
    c.setText("LocalitateaLab", QString::fromUtf8("Vârteşa"));
    c.setText("JudetulLab", QString::fromUtf8("Bistriţa-Năsăud"));
    c.setText("CUILab", "4347550");
    c.setText("PrimarLab", "POPESCU VASILE");
    c.setText("ContabilLab", "MARIN ANA");
}

// The administrator (password of a first start) and three clerks without passwords, the
// cashiers with their receipt series and next numbers.
void writeUsers(Services& services) {
    UsersFile users = UsersFile::inFolder(services.folders.data);
    users.create(
        {QStringLiteral("ADMIN"), hashPassword(DefaultPassword()), UserGrade::Admin, QString()});
    CountersFile counters = services.counters();
    const struct {
        const char* name;
        UserGrade grade;
        const char* card;
        const char* series;
        const char* next;
    } clerks[] = {{"CASIER1", UserGrade::Cashier, "L-101", "VRT", "1"},
                  {"CASIER2", UserGrade::Cashier, "L-102", "DLM", "5001"},
                  {"OPERATOR", UserGrade::RolOperator, "L-103", "", ""}};
    for (const auto& u : clerks) {
        users.append({QLatin1String(u.name), QString(), u.grade, QLatin1String(u.card)});
        if (*u.series) {
            counters.WriteCounter(QLatin1String(u.name), QStringLiteral("SERIA"),
                                  QLatin1String(u.series));
            counters.WriteCounter(QLatin1String(u.name), QStringLiteral("CHIT"),
                                  QLatin1String(u.next));
        }
    }
}

// Every claim with the budget accounts of a natural and of a legal person, so that the
// first payment finds them.
void writeBudgetCodes(BudgetCodes& codes) {
    const QString amenzi = QStringLiteral("Amenzi");
    const std::pair<const char*, const char*> accounts[] = {
        {"07.01.01", "07.01.02"},       {"07.02.01.01", "07.02.01.02"}, {"16.02.02.01", "16.02.02.02"},
        {"07.02.02.01", "07.02.02.02"}, {"36.02.06", "36.02.06"},       {"30.02.05.30", "30.02.05.30"},
        {"36.02.50", "36.02.50"},       {"36.02.50", "36.02.50"},       {"36.02.50", "36.02.50"},
        {"36.02.50", "36.02.50"},       {"16.02.50", "16.02.50"},       {"16.02.50", "16.02.50"}};
    for (const BudgetCode& code : codes.all())
        if (code.id >= 1 && code.id <= 12)
            codes.modify(code.id, QLatin1String(accounts[code.id - 1].first),
                         QLatin1String(accounts[code.id - 1].second));
    codes.add(amenzi, QStringLiteral("35.02.01.02"), QStringLiteral("35.02.01.02"));
}

} // namespace

void WriteTableFile(const QString& path, const TableLayout& table,
                    const std::vector<QVariantList>& rows) {
    db::Layout l = db::makeLayout(table.fields, QFileInfo(path).fileName());
    l.recordCount = std::uint32_t(rows.size());
    l.lastUpdate = QDate::currentDate();
    QByteArray out = db::buildHeader(l);
    out.reserve(l.headerLength + qsizetype(rows.size()) * l.recordLength + 1);
    QByteArray rec(l.recordLength, ' ');
    for (const QVariantList& values : rows) {
        rec.fill(' ');
        for (size_t i = 0; i < l.fields.size(); ++i)
            db::encodeField(l.fields[i], values.value(qsizetype(i)),
                            rec.data() + l.fields[i].offset, path);
        out += rec;
    }
    out += db::kEndMarker;
    db::replaceFile(path, out);
}

SyntheticCommuneReport CreateSyntheticCommune(Services& services,
                                              const SyntheticCommuneOptions& options) {
    const QString folder = services.folders.data;
    if (QFileInfo::exists(folder + '/' + tables::Roles))
        throw Error(QStringLiteral("Directorul %1 are deja o baza de date").arg(folder), folder);
    if (!QDir().mkpath(folder))
        throw Error(QStringLiteral("Directorul %1 nu poate fi creat").arg(folder), folder);

    // Everything below (the pages' dates, the assessment) works in the commune's year.
    UseWorkingYear(options.workingYear);
    const SyntheticRows rows = GenerateSyntheticRows(options);
    const auto write = [&folder](const QString& file, const std::vector<QVariantList>& r) {
        WriteTableFile(folder + '/' + file, CatalogTable(file), r);
    };
    write(tables::Roles, rows.roles);
    write(tables::Zones, rows.zones);
    write(tables::Debits, rows.debits);
    write(tables::Ledger, rows.manualLines);
    write(tables::VehicleDetails, rows.vehicleDetails);
    for (int i = 0; i < 7; ++i)
        write(PageTables()[i], rows.pages[i]);

    // Every other table and file of a new data folder.
    CountersFile counters = services.counters();
    UpgradeContext upgrade{services.database(),      folder,
                           services.folders.program, counters,
                           services.messages(),      services.desktop(),
                           DefaultAdminSettings()};
    RunFirstUpgradeSet(upgrade);
    RunSecondUpgradeSet(upgrade);
    BudgetCodes codes(services.database(), folder, counters);
    writeBudgetCodes(codes);

    const QString server = QStringLiteral("SERVER");
    counters.WriteCounter(server, QStringLiteral("IDGOS"), QString::number(rows.roles.size() + 1));
    counters.WriteCounter(server, QStringLiteral("IDDEB"), QString::number(rows.lastDebit + 1));
    counters.WriteCounter(server, QStringLiteral("IDDAT"), QString::number(rows.lastLine + 1));
    counters.WriteCounter(server, QStringLiteral("DEFZONE"),
                          QString::number(rows.zones.size() + 1));
    counters.WriteCounter(server, NoPenaltiesCounterKey(), QStringLiteral("DA"));
    counters.WriteCounter(server, kWorkingYearKey, QString::number(options.workingYear));
    WriteVillageList(folder + QStringLiteral("/Sate.lst"), SyntheticVillages());
    writeUsers(services);

    AdminConstants constants;
    constants.load(services);
    setRates(constants);
    constants.save(services);
    constants.load(services); // as the program will read them

    SyntheticCommuneReport report;
    report.roles = int(rows.roles.size());
    if (options.assess) {
        AssessRunHooks quiet;
        quiet.progress = [](int, int) {};
        quiet.refused = [](const Role&) {};
        report.assessment = AssessAllVillages(
            services, constants, AssessmentVillageList(services.database(), folder), quiet);
    }
    return report;
}

} // namespace vartesa
