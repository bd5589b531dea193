// The fiscal certificate: how it addresses the taxpayer, the properties of his pages, the
// register's parcels of his own village only, the amounts row for row and the rows the form
// has room for, the number drawn, and what the dialog remembers.

#include "certificate_test_util.h"

#include "shell/counters.h"
#include "shell/startup.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::Balance;
using vartesa::test::CertificateFolder;

namespace {

QString counter(CertificateFolder& f, const char* key) {
    return f.counters().ReadCounter(QStringLiteral("SERVER"), QLatin1String(key));
}

TEST(Certificate, AddressesTheTaxpayerByTheFirstDigitOfHisCode) {
    const struct {
        const char* code;
        const char* type;
        const char* address;
        const char* printed;
    } cases[] = {
        {"2850101123456", "FIZICA", "doamna", "C.N.P. 2850101123456"},
        {"5010101123456", "FIZICA", "domnul", "C.N.P. 5010101123456"},
        {"3850101123456", "FIZICA", "domnul", "C.N.P. 3850101123456"}, // a man born before 1900
        {"7850101123456", "FIZICA", "domnul", "C.N.P. 7850101123456"}, // a resident foreigner
        {"", "FIZICA", "domnul", "C.N.P. "},
        {" 4347550", "JURIDICA", "persoana juridica", "C.F. 4347550"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Role r;
        r.code = QString::fromLatin1(c.code);
        r.personType = QString::fromLatin1(c.type);
        EXPECT_EQ(CertificateAddress(r) + '|' + CertificateCode(r), QString::fromLatin1(c.address) + '|' + c.printed);
    }
}

TEST(Certificate, ListsEachLandZoneAndBuildingOfThePages) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.setPage("Pag4.dbf", role, "AL1A = 0.5, AL1C = 1.25");
    f.setPage("Pag2.dbf", role, "CAS = 20, CAC = 1, CAZ = 'B', CAR = 'III', CAA = 1990");
    AdminConstants constants;
    constants.setText("IA1ZBR3", "10"); // material "1 SAU 2"
    constants.setText("IA2ZBR3", "30"); // material "3,4 SAU 5": the annex's own level
    const CertificateProperties p = ReadCertificateProperties(f.db(), f.env.folders().data, role, constants);
    EXPECT_EQ(p.entries, (QStringList{"teren arabil intravilan, cu suprafata de 0.50 ha",
                                      "teren arabil intravilan, cu suprafata de 1.25 ha",
                                      "cladire-anexa cu suprafata de 20.00 mp si valoare impozabila de 600 lei"}));
    EXPECT_EQ(p.lines, QStringList{"Cladiri-anexe cu suprafata de 20 mp, an constructie 1990 cod material 3, 4 sau 5"});
}

TEST(Certificate, PrintsTheParcelsOfTheHouseholdOfItsOwnVillageOnly) {
    const struct {
        const char* name;
        const char* village; // of the register household with the role's number
        const char* cancelled;
        bool printed;
    } cases[] = {
        {"same village, any case", " corbu", "NU", true},
        {"another village's household of the same number", "ARINI", "NU", false},
        {"a cancelled household", "CORBU", "DA", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CertificateFolder f;
        const qint64 role = f.addRole("POPA ION"); // CORBU, ROL 1
        f.household(7, 70, c.village, "1", c.cancelled);
        f.parcel(7, 1, "A5", 0.25, 1.5);
        const QStringList parcels = ReadRegisterParcels(f.db(), f.registerFolder(), "1", "CORBU");
        EXPECT_EQ(parcels, c.printed ? QStringList{"Tarla A5 nr.12, Parcela 3, Suprafata: 1.75 HA, intravilan;"}
                                     : QStringList{});
        (void)role;
    }
}

TEST(Certificate, FillsTheAmountRowsAndDashesTheRestUpTo15) {
    if (!test::haveUnrtf()) GTEST_SKIP() << "unrtf is not installed";
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    for (const char* g : {"Impozit pe cladiri", "Impozit pe teren intravilan", "Impozit pe mijloace de transport"})
        f.balance(role, {g, 100, 100});
    f.debit(role, "DEBIT", QDate(2015, 2, 1), 40);
    f.ledgerLine(role, "Salubritate", 30, 0);
    f.ledgerLine(role, "PSI", 20, 0);
    f.code("Impozit pe cladiri", "07.01.01", "07.01.02");
    f.setPage("Pag4.dbf", role, "CCA = 100");
    f.setPage("Pag1.dbf", role, "L1A = 2");
    f.setPage("Pag2.dbf", role, "C1S = 50");
    const CertificateIssue done = f.issue({.idgos = role});
    ASSERT_EQ(done.amounts.size(), 6u);
    const QString text = test::documentText(done.file);
    EXPECT_TRUE(text.contains("\tImpozit pe cladiri\t100\t0\t") && text.contains("07.01.01\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\tPSI\t20\t0\t0\t-\n")) << "a group without a code";
    EXPECT_EQ(text.count("\t-\t-\t-\t-\t-\n"), 4) << "rows 7 to 10 of the form";
    EXPECT_TRUE(text.contains("si cu teren curti-constructii cu suprafata de 100.00 mp, teren arabil extravilan, cu "
                              "suprafata de 2.00 ha, cladire cu suprafata de 50.00 mp si valoare impozabila de 0 lei, "
                              "situata in"))
        << "all three properties joined";
}

TEST(Certificate, TellsTheClerkWhenTheFormHasFewerRowsThanTheAccount) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    for (int k = 1; k <= 11; ++k) f.ledgerLine(role, QStringLiteral("Taxa %1").arg(k), 10, 0);
    const CertificateIssue done = f.issue({.idgos = role});
    ASSERT_EQ(f.env.messages().shown().size(), 1u);
    EXPECT_EQ(f.env.messages().shown()[0].text,
              "Certificatul cuprinde doar primele 10 randuri din 11! Completati modelul CFiscal3.rtf.");
    EXPECT_TRUE(QFile::exists(done.file));
}

TEST(Certificate, PrintsTheDrawnNumberOrTheTypedOneAndMovesTheCounterOnce) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    EXPECT_EQ(f.issue({.idgos = role}).number, "1");
    EXPECT_EQ(f.issue({.idgos = role, .number = "15/A"}).number, "15/A");
    EXPECT_EQ(counter(f, "CFNR"), "3");
}

TEST(Certificate, AMissingTemplateDrawsAndStoresNothing) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    QFile::remove(f.path("CFiscal3.rtf"));
    const CertificateIssue done = f.issue({.idgos = role, .fromRegister = true, .purpose = "banca", .stamp = "2"});
    EXPECT_TRUE(done.refused);
    EXPECT_EQ(f.env.messages().shown().at(0).text, "Va lipseste fisierul " + f.path("CFiscal3.rtf") + " !");
    EXPECT_EQ(counter(f, "CFNR") + counter(f, "CFTAXAT") + counter(f, "CFDINRA"), "");
    EXPECT_FALSE(QFile::exists(f.path("CFServeste.txt")));
}

TEST(Certificate, AppendsANewPurposeOnceInWindowsText) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    for (const char* purpose : {"banca  Transilvania ", "banca Transilvania", "", "notar"})
        f.issue({.idgos = role, .purpose = purpose});
    EXPECT_EQ(test::fileBytes(f.path("CFServeste.txt")), QByteArray("banca Transilvania\r\nnotar\r\n"));
}

} // namespace
