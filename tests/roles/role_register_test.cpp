// The role register's core: codes, the form's checks in order, the next number, and the
// add, edit and delete operations over every table they touch.

#include "role_test_util.h"

#include "db/error.h"
#include "db/file_io.h"
#include "roles/role_checks.h"
#include "roles/village_list.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::RoleFolder;

namespace {

using test::FailingProgress;

struct CodeCase {
    const char* code;
    bool accepted;
    const char* why;
};

TEST(RoleCodes, CnpAndCuiRules) {
    const CodeCase cases[] = {
        {"", true, "an empty code is not checked"},
        {"   ", true, "blanks count as empty"},
        {"1800101221144", true, "man born 1980"},
        {"1800101221145", false, "wrong control digit"},
        {"1800101200051", true, "a remainder of 10 gives control digit 1"},
        {"1800101200050", false, "a remainder of 10 is not 0"},
        {"5000229123453", true, "5: born 2000, a leap year"},
        {"6000229123455", true, "6: born 2000, a leap year"},
        {"1000229123456", false, "1: born 1900, not a leap year"},
        {"2000229123458", false, "2: born 1900"},
        {"7000229123457", false, "7: born 1900"},
        {"8000229123459", false, "8: born 1900"},
        {"9000229123450", false, "9: born 1900"},
        {"9851231010038", true, "9: resident, 1985"},
        {"3000101123453", false, "3 is not a first digit the register takes"},
        {"1800101A21144", false, "a letter in a CNP"},
        {"124", true, "CUI of 3 digits"},
        {"19", false, "two digits are too short for a CUI"},
        {"18598", true, "CUI of 5 digits"},
        {"185472903", true, "CUI of 9 digits"},
        {"185472904", false, "CUI with a wrong control digit"},
        {"1", false, "one digit is too short"},
        {"12345678901", false, "eleven digits are neither a CUI nor a CNP"},
    };
    for (const CodeCase& c : cases)
        EXPECT_EQ(IsAcceptableRoleCode(QString::fromLatin1(c.code)), c.accepted) << c.code << ": " << c.why;
}

TEST(RoleForm, ChecksComeInTheirOrderWithTheirMessages) {
    struct Case {
        Role role;
        RoleField field;
        const char* hint;
    };
    const auto make = [](const char* village, const char* number, const char* code, const char* name) {
        Role r;
        r.village = village;
        r.number = number;
        r.code = code;
        r.name = name;
        return r;
    };
    const Case cases[] = {
        {make("  ", "", "1", ""), RoleField::Village, "Lipseste Localitatea!"},
        {make("Aluni", "   ", "1", ""), RoleField::Number, "Numar de ROL incorect!"},
        {make("Aluni", "7", "1800101221145", ""), RoleField::Code, "CNP / CUI incorect!"},
        {make("Aluni", "7", "", "  "), RoleField::Name, "Lipseste Capul de gospodarie!"},
    };
    for (Case c : cases) {
        const RoleFormProblem p = TidyAndCheckRole(c.role);
        EXPECT_EQ(p.field, c.field) << c.hint;
        EXPECT_EQ(p.hint, QString::fromLatin1(c.hint));
    }
}

TEST(RoleForm, TypedValuesAreTidied) {
    Role r;
    r.village = "  valea   mare ";
    r.number = " 12a ";
    r.name = "ion   popescu";
    r.address = " Str.  Mare   1 ";
    ASSERT_TRUE(TidyAndCheckRole(r).ok());
    EXPECT_EQ(QStringList({r.village, r.number, r.name, r.address}),
              QStringList({"VALEA MARE", "12A", "ION POPESCU", "Str. Mare 1"}));
}

TEST(RoleForm, AVillageTypedWithACommaBelowIsTheListedOne) {
    Role r;
    r.village = QString::fromUtf8("vârteșa");
    r.number = "1";
    r.name = "ION";
    ASSERT_TRUE(TidyAndCheckRole(r).ok());
    EXPECT_EQ(r.village, QString::fromUtf8("VÂRTEŞA")) << "stored in the table's letters";
    test::TestServices env;
    Role typed = r;
    typed.village = QString::fromUtf8("VÂRTEȘA");
    EXPECT_TRUE(ConfirmNewVillage({QString::fromUtf8("VÂRTEŞA")}, typed, "Adaugare", env.messages()).ok());
    EXPECT_TRUE(env.messages().shown().empty()) << "no question about a new village";
}

TEST(RoleRegister, NextNumberIsTheGreatestNumericPlusOne) {
    RoleFolder f;
    EXPECT_EQ(f.roles.ProposeRoleNumber(), "1") << "empty register";
    f.add("ALUNI", "7", "A");
    f.add("ALUNI", "12", "B");
    f.add("CORBU", "A3", "C");
    EXPECT_EQ(f.roles.ProposeRoleNumber(), "13");
}

TEST(RoleRegister, DuplicateNumberIsStoredOnlyAfterYes) {
    RoleFolder f;
    f.add("ALUNI", "5", "ION");
    Role r;
    r.village = "CORBU";
    r.number = "5";
    r.name = "VASILE";
    auto& m = f.env.messages();
    m.answerNext("NU");
    EXPECT_EQ(CheckRoleForm(f.roles, r, false, m).field, RoleField::Number);
    m.answerNext("DA");
    EXPECT_TRUE(CheckRoleForm(f.roles, r, false, m).ok());
    EXPECT_EQ(m.titles(), QStringList({"Verificare numar de ROL", "Verificare numar de ROL"}));
    // Editing the role that holds the number does not warn about itself.
    m.clearShown();
    Role self = *f.roles.role(1);
    EXPECT_TRUE(CheckRoleForm(f.roles, self, true, m).ok());
    EXPECT_TRUE(m.shown().empty());
}

TEST(RoleRegister, DuplicateCodeNamesTheOtherRole) {
    RoleFolder f;
    f.add("ALUNI", "5", "ION POPESCU", "1800101221144");
    Role r;
    r.village = "ALUNI";
    r.number = "6";
    r.name = "VASILE";
    r.code = "1800101221144";
    f.env.messages().answerNext("NU");
    EXPECT_EQ(CheckRoleForm(f.roles, r, false, f.env.messages()).field, RoleField::Code);
    ASSERT_EQ(f.env.messages().shown().size(), 1u);
    EXPECT_EQ(f.env.messages().shown()[0].text, "Acest CNP mai exista la ROL 5\rION POPESCU !\rContinuati memorarea ?");
}

TEST(RoleRegister, AddWritesTheRoleAndItsBlankPages) {
    RoleFolder f;
    const qint64 id = f.add("ALUNI", "1", "ION");
    EXPECT_EQ(id, 1);
    EXPECT_EQ(f.add("ALUNI", "2", "ANA"), 2) << "IDGOS drawn from the counters file";
    for (const QString& page : PageTables()) EXPECT_EQ(f.rowsOf(page, id), 1) << page.toStdString();
    const db::Query p = f.db().query(QStringLiteral("SELECT C1C, NR3, C2Z, CAZ2, C4R, CAR, AM1, AMA2, DINV5, CAC, C1S "
                                                    "FROM \"%1\" WHERE IDGOS = 1").arg(f.path("Pag2.dbf")));
    QStringList got;
    for (int c = 0; c < p.columnCount(); ++c) got << p.cell(0, c).toString();
    EXPECT_EQ(got, QStringList({"1", "3", "B", "B", "III", "III", "NU", "NU", "2015-01-01", "0", "0"}));
}

// The houses of a new role are assessed in its village's zone and rank, not in the dearest
// combination; a village the zones table lacks keeps the administrator's defaults.
TEST(RoleRegister, ANewRolesBuildingsTakeTheirVillagesZoneAndRank) {
    RoleFolder f;
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (ID, LOCALIT, ZONA, RANG) VALUES (1, 'DEALU', 'D', 'V')")
                    .arg(f.path("DefZone.dbf")));
    const struct {
        const char* village;
        QStringList zoneAndRank; // C1Z, C1R, CAZ, CAR2
    } cases[] = {{"DEALU", {"D", "V", "D", "V"}}, {"ALUNI", {"B", "III", "B", "III"}}};
    int number = 0;
    for (const auto& c : cases) {
        const qint64 id = f.add(c.village, QString::number(++number), "ION");
        const db::Query p = f.db().query(
            QStringLiteral("SELECT C1Z, C1R, CAZ, CAR2 FROM \"%1\" WHERE IDGOS = ?").arg(f.path("Pag2.dbf")), {id});
        QStringList got;
        for (int col = 0; col < p.columnCount(); ++col) got << p.cell(0, col).toString();
        EXPECT_EQ(got, c.zoneAndRank) << c.village;
    }
}

TEST(RoleRegister, EditMovesOnlyThatRolesDebtsAndBalances) {
    RoleFolder f;
    const qint64 a = f.add("ALUNI", "5", "ION");
    const qint64 b = f.add("ALUNI", "5", "ANA"); // same village and number after the warning
    f.addMoneyRows(a, "ALUNI", "5");
    f.addMoneyRows(b, "ALUNI", "5");
    Role r = *f.roles.role(a);
    r.village = "CORBU";
    r.number = "9";
    f.roles.editRole(r);
    const auto placeOf = [&](const char* file, qint64 id) {
        const db::Query q = f.db().query(
            QStringLiteral("SELECT SATUL, ROL FROM \"%1\" WHERE IDGOS = ?").arg(f.path(QLatin1String(file))), {id});
        return q.text("SATUL") + '/' + q.text("ROL");
    };
    EXPECT_EQ(placeOf("Gospodar.dbf", a), "CORBU/9");
    EXPECT_EQ(placeOf("Datorii.dbf", a), "CORBU/9");
    EXPECT_EQ(placeOf("SoldCalc.dbf", a), "CORBU/9");
    EXPECT_EQ(placeOf("Chitante.dbf", a), "ALUNI/5") << "receipts keep what they were issued with";
    EXPECT_EQ(placeOf("Datorii.dbf", b), "ALUNI/5") << "the other role with number 5 keeps its debts";
    EXPECT_EQ(placeOf("SoldCalc.dbf", b), "ALUNI/5");
}

TEST(RoleRegister, DeleteRemovesReceiptsAndPagesButNotVehiclesOrYearDebits) {
    RoleFolder f;
    const qint64 a = f.add("ALUNI", "5", "ION");
    const qint64 b = f.add("ALUNI", "6", "ANA");
    f.addMoneyRows(a, "ALUNI", "5");
    f.addMoneyRows(b, "ALUNI", "6");
    f.roles.deleteRole(a, f.env.progress());
    for (const QString& file : RoleDeletionTables()) {
        EXPECT_EQ(f.rowsOf(file, a), 0) << file.toStdString();
        EXPECT_EQ(f.rowsOf(file, b), 1) << file.toStdString();
    }
    EXPECT_EQ(f.rowsOf("AutoDet.dbf", a), 1);
    EXPECT_EQ(f.rowsOf("Debit.dbf", a), 1);
    EXPECT_EQ(f.env.progress().descriptions(), QStringList{"Sterg gospodaria..."});
    EXPECT_FALSE(f.env.progress().isShown());
}

QHash<QString, QByteArray> tableBytes(RoleFolder& f) {
    QHash<QString, QByteArray> out;
    for (const TableLayout& t : TableCatalog()) out.insert(t.file, test::fileBytes(f.path(t.file)));
    return out;
}

TEST(RoleRegister, DeleteFailingHalfwayLeavesEveryTableAsItWas) {
    for (const int failAt : {1, 5, 10, 12}) {
        RoleFolder f;
        const qint64 a = f.add("ALUNI", "5", "ION");
        f.addMoneyRows(a, "ALUNI", "5");
        const QHash<QString, QByteArray> before = tableBytes(f);
        FailingProgress progress(failAt);
        EXPECT_THROW(f.roles.deleteRole(a, progress), Error) << failAt;
        EXPECT_EQ(tableBytes(f), before) << "failure after table " << failAt;
        EXPECT_EQ(f.rowsOf("Gospodar.dbf", a), 1) << failAt;
    }
}

TEST(RoleRegister, DeleteMeetingADamagedTableLeavesEveryTableAsItWas) {
    RoleFolder f;
    const qint64 a = f.add("ALUNI", "5", "ION");
    f.addMoneyRows(a, "ALUNI", "5");
    db::replaceFile(f.path("UndelSold.dbf"), QByteArray("not a table"));
    QHash<QString, QByteArray> before = tableBytes(f);
    EXPECT_THROW(f.roles.deleteRole(a, f.env.progress()), Error);
    EXPECT_EQ(tableBytes(f), before);
}

TEST(VillageList, WrittenInWindows1250WithCrlfAndReadBack) {
    test::TestServices env;
    const QString path = env.folders().data + "/Sate.lst";
    WriteVillageList(path, {QString::fromUtf8("ALUNIȘ"), "CORBU"});
    EXPECT_EQ(test::fileBytes(path), QByteArray("ALUNI\xAA\r\nCORBU\r\n"));
    EXPECT_EQ(ReadVillageList(path), QStringList({QString::fromUtf8("ALUNIŞ"), "CORBU"}));
    db::replaceFile(path, QByteArray("DEALU\nZORILE\n\n"));
    EXPECT_EQ(ReadVillageList(path), QStringList({"DEALU", "ZORILE"})) << "LF line ends and blank lines";
}

} // namespace
