// The import from the agricultural register: households matched to roles, land and buildings
// into the pages, the register refused whole when it is damaged, hostile or holds a role
// number twice, and the data folder left as it was by every refusal and failure.

#include "datafolder/backup.h"
#include "datafolder/register_daily.h"
#include "datafolder/register_import.h"
#include "datafolder/register_tables.h"
#include "roles/role_test_util.h"
#include "shell/startup.h"
#include "support/shell_test_util.h"
#include "support/tool_run.h"

#include <QCryptographicHash>
#include <QDir>
#include <QMap>

#include <gtest/gtest.h>

#include <zlib.h>

namespace vartesa {
namespace {

using db::Field;
using db::FieldType;
using shelltest::readBytes;
using shelltest::writeBytes;

Field chr(const char* name, int width) { return {name, FieldType::Char, width, 0, 0}; }
Field num(const char* name, int width, int decimals = 0) { return {name, FieldType::Numeric, width, decimals, 0}; }

// A register household: IDID, volume, ROL, ANULAT and the fields of its kind.
struct Household {
    qint64 idid;
    qint64 volume;
    QString number;
    QString name = QStringLiteral("Ion  Pop");
    QString code = QStringLiteral("180010122114");
    QString street = QStringLiteral("Morii");
    QString houseNumber = QStringLiteral("7");
    QString cancelled = QStringLiteral("NU");
};

// A small register written as the register program writes it.
class Register {
public:
    explicit Register(const QString& folder) : folder_(folder) { QDir().mkpath(folder); }
    QString folder() const { return folder_; }
    std::vector<QVariantList> volumes = {{1, "Vartesa", 1}, {2, "vartesa ", 2}, {3, "VARTESA", 3}, {4, "Vartesa", 4}};
    std::vector<Household> households;
    std::vector<QVariantList> land;      // IDID, ANUL, EXTRA1..16, INTRA1..16
    std::vector<QVariantList> buildings; // IDID, RAND, SUPRAF1, TIP1, ANULT1 (2015: n = 1)

    void write() const {
        WriteRegisterTable(folder_ + "/Volume.dbf", {num("IDVOL", 10), chr("LOCALIT", 40), num("TIPRA", 1)}, volumes);
        std::vector<Field> f = {num("IDID", 10), num("IDVOL", 10), chr("ROL", 20), chr("ANULAT", 2), chr("NUME1", 60),
                                chr("NUME3", 60), chr("NUME4", 60), chr("CNP1", 13), chr("NUIR", 13)};
        for (const char* s : {"STRADA1", "STRADA2", "STRADA3", "STRADA4", "NR1", "NR2", "NR3", "NR4"}) f.push_back(chr(s, 20));
        std::vector<QVariantList> rows;
        for (const Household& h : households) {
            QVariantList r{h.idid, h.volume, h.number, h.cancelled};
            for (int k : {1, 3, 4}) r << h.name + QString::number(k);
            r << h.code + "1" << h.code + "3";
            for (int k = 1; k <= 4; ++k) r << h.street + QString::number(k);
            for (int k = 1; k <= 4; ++k) r << h.houseNumber + QString::number(k);
            rows.push_back(r);
        }
        WriteRegisterTable(folder_ + "/Identificare.dbf", f, rows);
        std::vector<Field> l = {num("IDID", 10), num("ANUL", 4)};
        for (int n = 1; n <= 16; ++n) l.push_back({QStringLiteral("EXTRA%1").arg(n), FieldType::Float, 12, 2, 0});
        for (int n = 1; n <= 16; ++n) l.push_back({QStringLiteral("INTRA%1").arg(n), FieldType::Numeric, 10, 0, 0});
        WriteRegisterTable(folder_ + "/Cap2A.dbf", l, land);
        WriteRegisterTable(folder_ + "/CAP11.dbf",
                           {num("IDID", 10), num("RAND", 3), num("SUPRAF1", 9, 2), chr("TIP1", 2), chr("ANULT1", 4)},
                           buildings);
    }
    // A land row of 2015: EXTRA<n> and INTRA<n> from the given maps (0 elsewhere).
    void addLand(qint64 idid, QMap<int, double> extra, QMap<int, double> intra, int year = 2015) {
        QVariantList r{idid, year};
        for (int n = 1; n <= 16; ++n) r << extra.value(n);
        for (int n = 1; n <= 16; ++n) r << intra.value(n);
        land.push_back(r);
    }

private:
    QString folder_;
};

// Every file of a folder with a digest of its bytes.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        files.insert(f.fileName(), QCryptographicHash::hash(readBytes(f.absoluteFilePath()), QCryptographicHash::Sha1));
    return files;
}

class RegisterImportTest : public ::testing::Test {
protected:
    RegisterImportResult import(const RegisterChoice& choice = {}, Progress* progress = nullptr) {
        reg.write();
        return ImportRegister(f.env.services(), ReadRegisterCopy(reg.folder(), 2015), choice,
                              progress ? *progress : f.env.progress());
    }
    QVariant page(const QString& file, qint64 id, const QString& field) {
        return f.db().scalar(QStringLiteral("SELECT %1 FROM \"%2\" WHERE IDGOS = ?").arg(field, f.path(file)), {id});
    }
    Role role(qint64 id) { return *ReadRole(f.db(), f.env.folders().data, id); }
    qint64 roleCount() { return f.db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(f.path("Gospodar.dbf"))).toLongLong(); }

    test::RoleFolder f;
    Register reg{f.env.root() + "/ra"};
};

TEST_F(RegisterImportTest, AnExistingRoleIsUpdatedKeepingExemptionsMoneyAndNoPenalties) {
    const qint64 id = f.add("VARTESA", "12", "ALT NUME");
    Role kept = role(id);
    kept.exemptBuildings = true;
    kept.extravilanExemption = 40;
    kept.noPenalties = true;
    f.roles.editRole(kept);
    f.addMoneyRows(id, "VARTESA", "12");
    reg.households = {{1, 1, " 12 "}};
    const RegisterImportResult r = import();
    const Role after = role(id);
    EXPECT_EQ(roleCount(), 1); // "Vartesa" of the register is the role's "VARTESA"
    EXPECT_EQ(r.rows[0].role, RowChange::Modified);
    EXPECT_EQ(after.name, "ION POP1");
    EXPECT_EQ(after.address, "str. Morii1 nr.71");
    EXPECT_TRUE(after.exemptBuildings && after.noPenalties && after.extravilanExemption == 40);
    for (const char* table : {"Datorii.dbf", "SoldCalc.dbf", "Chitante.dbf"}) EXPECT_EQ(f.rowsOf(table, id), 1) << table;
}

TEST_F(RegisterImportTest, TheVolumeKindChoosesNameCodeStreetAndPersonType) {
    reg.households = {{1, 1, "1"}, {2, 2, "2"}, {3, 3, "3"}, {4, 4, "4"}, {5, 1, "5"}};
    reg.households[4].street.clear();
    reg.volumes.push_back({5, "Vartesa", 5});
    reg.households.push_back({6, 5, "6"});
    const RegisterImportResult r = import();
    const struct {
        const char* name;
        const char* code;
        const char* address;
        const QString& type;
    } expected[] = {{"ION POP1", "1800101221141", "str. Morii1 nr.71", kPersonNatural},
                    {"ION POP1", "1800101221141", "str. Morii2 nr.72", kPersonNatural},
                    {"ION POP3", "1800101221143", "str. Morii3 nr.73", kPersonLegal},
                    {"ION POP4", "1800101221143", "str. Morii4 nr.74", kPersonLegal},
                    {"ION POP1", "1800101221141", "str. 1 nr.71", kPersonNatural}};
    for (int k = 0; k < 5; ++k) {
        const Role got = role(r.rows[size_t(k)].idgos);
        EXPECT_EQ(QStringList({got.name, got.code, got.address, got.personType}),
                  QStringList({expected[k].name, expected[k].code, expected[k].address, expected[k].type}))
            << "TIPRA " << k + 1;
    }
    EXPECT_EQ(r.rows[5].role, RowChange::Refused); // TIPRA 5
}

TEST_F(RegisterImportTest, RefusedHouseholdsAreListedAndNotImported) {
    reg.volumes.push_back({5, "", 1});
    reg.volumes.push_back({6, QString(40, 'X'), 1});
    reg.households = {{1, 1, "1"}, {2, 1, ""}, {3, 1, "01"}, {4, 9, "4"}, {5, 5, "5"},
                      {6, 1, "1234567890"}, {7, 6, "7"}, {8, 1, "8"}};
    reg.households[0].cancelled = "da";
    reg.addLand(8, {{1, 1e8}}, {}); // 10,000 ha: more than L1<Z> holds
    const RegisterImportResult r = import();
    EXPECT_EQ(r.refused, 8);
    EXPECT_EQ(roleCount(), 0);
    EXPECT_TRUE(r.rows[7].note.contains("L1")) << r.rows[7].note.toStdString();
}

TEST_F(RegisterImportTest, DuplicatesStopBeforeAnythingIsWritten) {
    f.add("VARTESA", "3", "A");
    reg.households = {{1, 1, "3"}, {2, 2, "9"}, {3, 4, "9"}, {4, 3, "3"}};
    reg.write();
    const QMap<QString, QByteArray> before = snapshot(f.env.folders().data);
    try {
        import();
        ADD_FAILURE() << "imported";
    } catch (const RegisterRefused& e) {
        EXPECT_EQ(e.title, "Problema in baza RA");
        EXPECT_EQ(e.text(), "Exista in baza RA 2 de ROL-uri dublate!!\rDe exemplu, localitatea VARTESA ROL 3!\r"
                            "Corectati in RA si mai reveniti!");
    }
    EXPECT_EQ(snapshot(f.env.folders().data), before);
}

TEST_F(RegisterImportTest, LandInHectaresOfFourDecimalsReplacingEveryZone) {
    const qint64 id = f.add("VARTESA", "1", "A");
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET L1B = 5, L7A = 2").arg(f.path("Pag1.dbf")));
    reg.households = {{1, 1, "1"}};
    // Zone C for the village; column 5 above column 4 and column 8 above column 7.
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (ID, LOCALIT, ZONA, RANG) VALUES (1, 'VARTESA', 'C', 'II')")
                    .arg(f.path("DefZone.dbf")));
    reg.addLand(1, {{1, 12345.67}, {9, 1}, {4, 100}, {5, 300}, {6, 1}, {7, 10}, {8, 20}, {12, 7}, {14, 50}},
                {{1, 1}, {9, 2}, {14, 400}});
    reg.addLand(1, {{1, 99999}}, {}, 2014); // another year: left out
    const RegisterImportResult r = import();
    const struct {
        const char* field;
        double value;
    } cases[] = {{"L1C", 1.2347}, {"L3C", 0.03}, {"L4C", 0}, {"L6C", 0}, {"L7C", 0.0007}, {"L1B", 0}, {"L7A", 0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(page("Pag1.dbf", id, c.field).toDouble(), c.value) << c.field;
    EXPECT_DOUBLE_EQ(page("Pag4.dbf", id, "AL1C").toDouble(), 0.0003);
    EXPECT_EQ(r.rows[0].note, "L4C negativ (-201 m2), pus 0; L6C negativ (-10 m2), pus 0");
}

TEST_F(RegisterImportTest, TheYardLosesTheStoredBuildingsOnlyWhenBuildingsAreNotTaken) {
    const qint64 id = f.add("VARTESA", "1", "A");
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET C1S = 100, CAS = 20.5").arg(f.path("Pag2.dbf")));
    reg.households = {{1, 1, "1"}};
    reg.addLand(1, {{14, 30}}, {{14, 400}});
    import({true, true});
    EXPECT_DOUBLE_EQ(page("Pag4.dbf", id, "CCA + CCB + CCC + CCD + CCE").toDouble(), 430);
    import({true, false});
    EXPECT_DOUBLE_EQ(page("Pag4.dbf", id, "CCA + CCB + CCC + CCD + CCE").toDouble(), 309.5);
}

TEST_F(RegisterImportTest, DwellingsFillTheHouseSlotsAndTheRestTheAnnex) {
    const qint64 id = f.add("VARTESA", "1", "A");
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET C3S = 55, CAS = 999").arg(f.path("Pag2.dbf")));
    reg.households = {{1, 1, "1"}};
    reg.buildings = {{1, 2, 80.5, " b", "1990"}, {1, 1, 120, "a", "1970"}, {1, 3, 30, "C", "2001"},
                     {1, 4, 12.25, "D", "1999"}, {1, 5, 0, "A", "2000"}};
    import();
    const struct {
        const char* field;
        QVariant value;
    } cases[] = {{"C1S", 120.0}, {"C1C", 0}, {"C1A", 1970}, {"C2S", 80.5}, {"C2C", 1}, {"NR2", 2},
                 {"C3S", 55.0},  {"CAS", 42.25}, {"CAA", 2001}, {"CAC", 1}};
    for (const auto& c : cases) EXPECT_EQ(page("Pag2.dbf", id, c.field).toDouble(), c.value.toDouble()) << c.field;
    import(); // the annex sum replaces the stored one, never adds to it
    EXPECT_DOUBLE_EQ(page("Pag2.dbf", id, "CAS").toDouble(), 42.25);
}

TEST_F(RegisterImportTest, ANinthDwellingAddsItsAreaToHouseEight) {
    reg.households = {{1, 1, "1"}};
    for (int k = 1; k <= 9; ++k) reg.buildings.push_back({1, k, 10.0 * k, "A", "2000"});
    const RegisterImportResult r = import();
    EXPECT_DOUBLE_EQ(page("Pag2.dbf", r.rows[0].idgos, "C8S").toDouble(), 170);
    EXPECT_TRUE(r.rows[0].note.contains("casa 8"));
}

TEST_F(RegisterImportTest, ASecondImportChangesNothing) {
    f.add("VARTESA", "1", "A");
    reg.households = {{1, 1, "1"}, {2, 3, "2"}};
    reg.addLand(1, {{1, 500}, {5, 9}}, {{14, 40}});
    reg.addLand(2, {{4, 500}}, {{2, 40}});
    reg.buildings = {{1, 1, 50, "A", "1980"}, {2, 1, 20, "C", "1990"}};
    const RegisterImportResult first = import();
    EXPECT_EQ(first.added + first.modified, 2);
    EXPECT_EQ(first.completed, 4); // the new role's pages 5 to 8
    const QMap<QString, QByteArray> before = snapshot(f.env.folders().data);
    const RegisterImportResult second = import();
    EXPECT_EQ(second.unchanged, 2);
    EXPECT_EQ(second.completed, 0);
    for (const RegisterReportRow& row : second.rows)
        EXPECT_EQ(QList<RowChange>({row.page1, row.page4, row.page2}),
                  QList<RowChange>(3, RowChange::Unchanged));
    QMap<QString, QByteArray> after = snapshot(f.env.folders().data);
    after.remove("Sate.lst"); // rewritten, the same villages
    after.remove("Vartesa.set");
    for (const QString& file : after.keys()) EXPECT_EQ(after[file], before.value(file)) << file.toStdString();
}

TEST_F(RegisterImportTest, AFailureMidImportWritesNothing) {
    f.add("VARTESA", "1", "A");
    reg.households = {{1, 1, "1"}, {2, 1, "2"}};
    reg.addLand(1, {{1, 500}}, {});
    reg.write();
    const QMap<QString, QByteArray> before = snapshot(f.env.folders().data);
    test::FailingProgress failing(4); // the households written, the extravilan half-way
    EXPECT_THROW(import({}, &failing), Error);
    QMap<QString, QByteArray> after = snapshot(f.env.folders().data);
    after.remove("Vartesa.set"); // the new role's IDGOS was drawn
    for (const QString& file : after.keys()) EXPECT_EQ(after[file], before.value(file)) << file.toStdString();
}

TEST_F(RegisterImportTest, MemoFieldsAndMissingTablesAreNotFatal) {
    reg.households = {{1, 1, "1"}};
    reg.write();
    // The households table with a memo field between its fields.
    const QString path = reg.folder() + "/Identificare.dbf";
    QByteArray bytes = readBytes(path);
    bytes[32 + 32 * 6 + 11] = 'M'; // NUME4, a field this household does not use
    writeBytes(path, bytes);
    QFile::remove(reg.folder() + "/Cap2A.dbf");
    const RegisterCopy copy = ReadRegisterCopy(reg.folder(), 2015);
    EXPECT_EQ(copy.positions(), 1);
    EXPECT_TRUE(copy.land.empty());
    QFile::remove(reg.folder() + "/Volume.dbf");
    EXPECT_EQ(ReadRegisterCopy(reg.folder(), 2015).positions(), 0);
}

// An archive written by hand: count, then name length, name, size and zlib stream.
QByteArray int32le(qint32 v) {
    QByteArray b;
    for (int i = 0; i < 4; ++i) b.append(char((quint32(v) >> (8 * i)) & 0xFF));
    return b;
}
QByteArray handArchive(const QList<QPair<QByteArray, QByteArray>>& entries, qint32 count = -1) {
    QByteArray a = int32le(count < 0 ? qint32(entries.size()) : count);
    for (const auto& [name, data] : entries) a += int32le(qint32(name.size())) + name + int32le(qint32(data.size())) + qCompress(data, 9).mid(4);
    return a;
}

TEST_F(RegisterImportTest, HostileOrDamagedBackupsAreRefusedWritingNothing) {
    reg.households = {{1, 1, "1"}};
    reg.write();
    const QByteArray volume = readBytes(reg.folder() + "/Volume.dbf");
    const QList<QPair<QByteArray, QByteArray>> good = {{"DATA\\Volume.dbf", volume}};
    QByteArray badAdler = handArchive(good);
    badAdler[badAdler.size() - 1] = char(badAdler.back() ^ 1);
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {{"parent", handArchive({{"..\\x", "1"}})},
                 {"drive", handArchive({{"C:\\x", "1"}})},
                 {"deep", handArchive({{"a\\b\\c", "1"}})},
                 {"twice", handArchive({{"DATA\\Volume.dbf", volume}, {"volume.DBF", volume}})},
                 {"truncated", handArchive(good).chopped(20)},
                 {"adler", badAdler},
                 {"count", handArchive(good, 2)}};
    const QString unpack = f.env.root() + "/unpack/RA";
    const QMap<QString, QByteArray> around = snapshot(f.env.root());
    for (const auto& c : cases) {
        const QString archive = f.env.root() + "/bad.rg2";
        writeBytes(archive, c.bytes);
        EXPECT_THROW(UnpackRegisterBackup(archive, unpack, {}), RegisterRefused) << c.what;
        EXPECT_FALSE(QFileInfo::exists(unpack)) << c.what;
        QFile::remove(archive);
        EXPECT_EQ(snapshot(f.env.root()), around) << c.what;
    }
    writeBytes(f.env.root() + "/good.rg2", handArchive(good + QList<QPair<QByteArray, QByteArray>>{{"Cap2A.dbf", "x"}}));
    UnpackRegisterBackup(f.env.root() + "/good.rg2", unpack, {});
    EXPECT_EQ(QDir(unpack).entryList(QDir::Files), QStringList({"Cap2A.dbf", "Volume.dbf"}));
    try {
        UnpackRegisterBackup(f.env.root() + "/good.vsa", unpack, {});
        ADD_FAILURE();
    } catch (const RegisterRefused& e) {
        EXPECT_EQ(e.text(), "Fisierul " + f.env.root() + "/good.vsa nu este salvare a Registrului Agricol 2015!");
    }
}

TEST_F(RegisterImportTest, TheDailyTickAfterTheHourKeepsTheDataImportsAndStartsTheAdding) {
    Services& s = f.env.services();
    const QDate today(2015, 3, 10);
    f.env.clock().setNow(QDateTime(today, QTime(14, 1)));
    CountersFile counters = s.counters();
    for (const auto& [key, value] : {std::pair{"AUTORA", "DA"}, {"ORAAUTORA", "14:00"}, {"CALEAUTORA", "ra"}})
        counters.WriteCounter("SERVER", key, key == QLatin1String("CALEAUTORA") ? reg.folder() : value);
    counters.WriteCounter("SERVER", "AutoRADate", QString::number(DayNumber(today.addDays(-1))));
    f.add("VARTESA", "1", "A");
    const QByteArray roles = readBytes(f.path("Gospodar.dbf"));
    reg.households = {{1, 1, "1"}, {2, 1, "2"}};
    reg.write();
    QStringList calls;
    DailyRegisterImport timer(s);
    timer.setImport([&](const QString& work, const AutoImportSettings& settings) {
        return RunDailyRegisterImport(s, work, settings, {[&] { calls << "login"; }, [&] { calls << "add"; }});
    });
    timer.start();
    timer.tick();
    EXPECT_EQ(calls, QStringList({"login", "add"}));
    EXPECT_EQ(readBytes(DailyImportKeptFolder(s) + "/Gospodar.dbf"), roles);
    EXPECT_EQ(roleCount(), 2);
    EXPECT_EQ(s.counters().ReadCounter("SERVER", "AutoRADate"), QString::number(DayNumber(today)));
    EXPECT_FALSE(QFileInfo::exists(timer.workFolder()));
    EXPECT_TRUE(timer.isActive());

    // The next day a register with a role number twice is shown and imports nothing.
    f.env.clock().setNow(QDateTime(today.addDays(1), QTime(14, 1)));
    reg.households.push_back({3, 2, "2"});
    reg.write();
    timer.tick();
    EXPECT_EQ(f.env.messages().titles(), QStringList({"Problema in baza RA 2015"}));
    EXPECT_EQ(roleCount(), 2);
    EXPECT_FALSE(timer.isActive());
}

TEST_F(RegisterImportTest, TheToolReportsEachHouseholdAndRefusesAWholeRegisterWritingNothing) {
    f.add("VARTESA", "1", "A");
    reg.households = {{1, 1, "1"}, {2, 1, "2"}, {3, 1, ""}};
    reg.write();
    const QString data = f.env.folders().data;
    const QMap<QString, QByteArray> before = snapshot(data);
    QString out;
    EXPECT_EQ(test::runTool({"import-register", data, reg.folder(), "--dry-run", "--no-buildings"}, &out), 0);
    EXPECT_EQ(out, "IDID,SATUL,ROL,IDGOS,STARE,PAG1,PAG4,PAG2,NOTA\n"
                   "1,VARTESA,1,1,MODIFICAT,,,,\n"
                   "2,VARTESA,2,,ADAUGAT,,,,\n"
                   "3,VARTESA,,,REFUZAT,,,,fara numar de ROL\n"
                   "ADAUGATE,1\nMODIFICATE,1\nNESCHIMBATE,0\nREFUZATE,1\nCOMPLETATE,7\n");
    reg.households.push_back({4, 2, "1"});
    reg.write();
    EXPECT_EQ(test::runTool({"import-register", data, reg.folder()}, &out), 1);
    EXPECT_TRUE(out.startsWith("Exista in baza RA 1 de ROL-uri dublate!!\n")) << out.toStdString();
    EXPECT_EQ(snapshot(data), before);
}

} // namespace
} // namespace vartesa
