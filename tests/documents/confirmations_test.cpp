// Debit receipt confirmations: the claims offered, the checks of "Am ales" in their order,
// what is stored, deleting only the last row of the list shown, the number sequence and the
// printed form.

#include "certificate_test_util.h"

#include "documents/confirmations.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::CertificateFolder;

namespace {

ConfirmationRequest request(qint64 role) {
    ConfirmationRequest r;
    r.village = QStringLiteral("CORBU");
    r.idgos = role;
    r.amount = 1250;
    r.date = r.listDate = r.addressDate = QDate(2015, 3, 2);
    r.listNumber = 12;
    r.addressNumber = 7;
    r.code = {QStringLiteral("Amenzi"), false, QStringLiteral("35.02.01.02")};
    r.senderName = QStringLiteral("DGFP  CLUJ");
    return r;
}

ConfirmationAdded add(CertificateFolder& f, const ConfirmationRequest& r) {
    CountersFile counters = f.counters();
    return AddConfirmation(f.db(), f.env.folders().data, counters, r);
}

TEST(Confirmations, OffersALegalPersonEntryOnlyForADifferentCode) {
    CertificateFolder f;
    f.code("Amenzi", "35.02.01.02", "35.02.01.02");
    f.code("Impozit pe cladiri", "07.01.01", "07.01.02");
    QStringList shown;
    for (const ConfirmationCode& c : ConfirmationCodes(f.db(), f.env.folders().data)) shown << c.text();
    EXPECT_EQ(shown, (QStringList{"Amenzi  >> PF >>  35.02.01.02", "Impozit pe cladiri  >> PF >>  07.01.01",
                                  "Impozit pe cladiri  >> PJ >>  07.01.02"}));
    const ConfirmationCode back = ConfirmationCodeOf(shown[2]);
    EXPECT_EQ(back.nature + '|' + back.code, "Impozit pe cladiri|07.01.02");
}

TEST(Confirmations, ChecksTheDialogInItsOrder) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    const qint64 elsewhere = f.add("ARINI", "1", "POPA ANA");
    const struct {
        const char* name;
        std::function<void(ConfirmationRequest&)> change;
        const char* field;
        const char* message;
    } cases[] = {
        {"no village, no role either", [](auto& r) { r.village.clear(), r.idgos = 0; }, "SatulX", "Nu ati ales Localitatea!"},
        {"no role, no amount either", [](auto& r) { r.idgos = 0, r.amount = 0; }, "TitularX", "Nu ati ales Titularul!"},
        {"no amount, no list either", [](auto& r) { r.amount = 0, r.listNumber = 0; }, "Suma", "Mai trebuie si-o suma pe aici..."},
        {"an amount SUMA cannot hold", [](auto& r) { r.amount = 1000000; }, "Suma", "Suma prea mare!"},
        {"no list, no address either", [](auto& r) { r.listNumber = 0, r.addressNumber = 0; }, "BordNr", "Numar borderou incorect!"},
        {"no address number", [](auto& r) { r.addressNumber = 0, r.senderName = " "; }, "AdrNr", "Numar adresa inaintata incorect!"},
        {"no sender", [&](auto& r) { r.senderName = "  ", r.idgos = elsewhere; }, "NumeDest", "Lipseste Nume destinatar!"},
        {"a locality wider than its field", [](auto& r) { r.senderLocality = QString(33, 'L'); }, "LocDest", "Text prea lung!"},
        {"an address wider than its field", [](auto& r) { r.senderAddress = QString(41, 'A'); }, "AdrDest", "Text prea lung!"},
        {"a role of another village", [&](auto& r) { r.idgos = elsewhere; }, "TitularX", "Nu exista Titularul in satul ales!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfirmationRequest r = request(role);
        c.change(r);
        const ConfirmationAdded added = add(f, r);
        ASSERT_TRUE(added.problem.has_value());
        EXPECT_EQ(added.problem->field + '|' + added.problem->message, QString(c.field) + '|' + c.message);
    }
    EXPECT_TRUE(ReadConfirmations(f.db(), f.env.folders().data).empty());
    EXPECT_EQ(f.counters().ReadCounter("SERVER", "CONFNR"), "");
}

TEST(Confirmations, StoresTheRoleAddressWholeAndTheSenderCollapsed) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    const QString address = QString("Str. Lunga nr. 1, bloc A, scara B, etaj 3, ap. 12, cartier ").leftJustified(60, 'X');
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET ADRESA = ? WHERE IDGOS = ?").arg(f.path("Gospodar.dbf")), {address, role});
    const ConfirmationAdded added = add(f, request(role));
    ASSERT_FALSE(added.problem.has_value());
    const ConfirmationRecord stored = ReadConfirmation(f.db(), f.env.folders().data, added.record.id);
    EXPECT_EQ(stored.address + '|' + stored.senderName, address + "|DGFP CLUJ");
}

TEST(Confirmations, DeletesOnlyTheLastRowOfTheListShown) {
    CertificateFolder f;
    const qint64 pop = f.addRole("POPA ION"), ion = f.addRole("ION ANA");
    std::vector<qint64> ids;
    for (qint64 role : {pop, ion, pop, ion}) ids.push_back(add(f, request(role)).record.id);
    std::vector<QString> questions;
    auto ask = [&](const QString& q) { questions.push_back(q); return true; };
    EXPECT_FALSE(DeleteLastConfirmation(f.env.services(), ids[2], {}, {}, ask)) << "not the last of all";
    EXPECT_EQ(f.env.messages().shown().at(0).text, "Nu puteti sterge decat ultima Confirmare !");
    EXPECT_TRUE(DeleteLastConfirmation(f.env.services(), ids[2], {}, "popa", ask)) << "the last of POPA's";
    EXPECT_EQ(questions, std::vector<QString>{"Doriti sa stergeti Confirmarea nr.3 / 02.03.2015 ?"});
    EXPECT_EQ(ReadConfirmations(f.db(), f.env.folders().data, "1").size(), 1u);
}

TEST(Confirmations, ASetNumberIsTheNextOneAndTheSequenceGoesOn) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    CountersFile counters = f.counters();
    EXPECT_EQ(SetConfirmationNumber(counters, 0).value_or(""), "Numar de Confirmare Debit incorect!");
    ASSERT_FALSE(SetConfirmationNumber(counters, 500).has_value());
    EXPECT_EQ(add(f, request(role)).record.number, 500);
    EXPECT_EQ(add(f, request(role)).record.number, 501);
}

TEST(Confirmations, PrintsTheAmountInFiguresAndWords) {
    if (!test::haveUnrtf()) GTEST_SKIP() << "unrtf is not installed";
    CertificateFolder f;
    const qint64 id = add(f, request(f.addRole("POPA ION"))).record.id;
    const QString file = PrintConfirmation(f.env.services(), id, f.env.folders().program + "/Confirm", false);
    EXPECT_EQ(file, f.env.folders().program + "/Confirm0.rtf");
    EXPECT_TRUE(test::documentText(file).contains("in suma de 1250 lei (unamiidouasutecincizeci), reprezentand Amenzi"));
}

TEST(Confirmations, AMissingTemplateIsToldAndNothingPrinted) {
    CertificateFolder f;
    const qint64 id = add(f, request(f.addRole("POPA ION"))).record.id;
    QFile::remove(f.path("ConfirmareD.rtf"));
    EXPECT_EQ(PrintConfirmation(f.env.services(), id, f.env.folders().program + "/Confirm", false), "");
    const auto& shown = f.env.messages().shown().at(0);
    EXPECT_EQ(shown.title + '|' + shown.text,
              "Listare Confirmare de primire a debitelor|Fisierul \\DATA\\ConfirmareD.rtf nu exista!\rActualizati programul!");
}

} // namespace
