// The payment notices: which roles get one, their numbers, and the document read back.

#include "notices_test_util.h"

#include "roles/role_test_util.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::NoticeFolder;

namespace {

QStringList numbersOf(const std::vector<NoticeWritten>& written) {
    QStringList out;
    for (const NoticeWritten& n : written) out << n.role.number;
    return out;
}

TEST(PaymentNotices, TakeTheRangeByNumberInTheOrderOfTheRoleNumbersAsText) {
    NoticeFolder f;
    for (const char* number : {"2", "100", "5", "A7", "11", "9", "1", "21", "10", "20"}) f.owing(number, 10);
    const struct {
        const char *from, *to;
        QStringList numbers;
    } cases[] = {
        {"0", "1", {"1", "10", "100", "11", "2", "20", "21", "5", "9", "A7"}}, // the whole village
        {"1", "0", {"1", "10", "100", "11", "2", "20", "21", "5", "9", "A7"}},
        {"5", "20", {"10", "11", "20", "5", "9", "A7"}}, // 10 to 20 as numbers; A7 sorts after "5"
        {"10", "11", {"10", "11", "A7"}},
        {"30", "90", {"A7"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + "-" + c.to);
        std::vector<NoticeWritten> written;
        f.run(NoticeFolder::village(c.from, c.to), &written);
        EXPECT_EQ(numbersOf(written), c.numbers);
    }
}

TEST(PaymentNotices, NumberOnlyTheRolesThatOwe) {
    NoticeFolder f;
    f.owing("1", 50, "A");
    const qint64 b = f.owing("2", 0, "B");
    f.balance(b, {"Impozit pe cladiri", 0, 0, 0, 0, 0, 30}); // a credit: nothing owed
    f.owing("3", 10, "C");
    NoticeChoice choice = NoticeFolder::village();
    choice.firstNumber = 120;
    std::vector<NoticeWritten> written;
    const NoticeRun run = f.run(choice, &written);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ((std::vector<qint64>{written[0].number, written[1].number}), (std::vector<qint64>{120, 121}));
    EXPECT_EQ(numbersOf(written), (QStringList{"1", "3"}));
    EXPECT_EQ(run.count, 2);
    // A: 14% on the 25 lei overdue since March, 2% on the 25 since September; C: 14% on 10.
    EXPECT_EQ(run.total, 50 + 4 + 1 + 10 + 1);
}

// One role with two taxes, a fee and a debit on 10 October, read back as text.
TEST(PaymentNotices, TheDocumentReadsBackWithTheAmountsComputedByHand) {
    NoticeFolder f;
    const qint64 role = f.add("CORBU", "7", "POPA ION", "1700101123456");
    f.balance(role, {"Impozit pe cladiri", 200, 200, 20, 0, 100, 0, 15});
    f.balance(role, {"Impozit pe teren intravilan", 60, 60, 6, 0, 0, 100, 0});
    const QString lines = f.path("Datorii.dbf");
    const QVariantList objects[] = {{900, "Casa de locuit", "120.5", "mp"}, {901, "Anexa", "0", "mp"}};
    for (const QVariantList& o : objects)
        f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDAT, IDGOS, SATUL, GRUPA, DENUM, CANT, UM, TIP) "
                                   "VALUES (?, ?, 'CORBU', 'Impozit pe cladiri', ?, ?, ?, 'A')").arg(lines),
                    {o[0], role, o[1], o[2], o[3]});
    f.ledgerLine(role, "Salubritate", 60, 20, 5);
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET DOCJUS = ? WHERE DENUM = 'Salubritate'").arg(lines),
                {"PV {12} \\tab x"});
    f.debit(role, "Taxa", {2015, 5, 12}, 100);
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET DOCJUS = 'Decizia 4'").arg(f.path("Debit.dbf")));
    NoticeChoice choice = NoticeFolder::village();
    choice.firstNumber = 7;
    const NoticeRun run = f.run(choice);
    ASSERT_EQ(run.file, f.outputBase() + "0.rtf");

    QFile raw(run.file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.contains("PV (12) \\\\tab x din 01.01.2015  : \\tab 75 lei.")) << "the clerk's \\tab stays text";
    EXPECT_FALSE(bytes.contains('[')) << "every placeholder is filled";
    const QString text = test::unrtfText(run.file);
    if (text.isEmpty()) GTEST_SKIP() << "unrtf is not installed";
    const QString flat = QString(text).replace(QRegularExpression("\\s+"), " ");
    // Buildings: arrears 100 with 18 of penalties, 200 of the year with 14 + 2 of penalties
    // on the two instalments, 15 carried. Land: a credit of 100 over 60 due shows as 40.
    for (const char* expected :
         {"JUDETUL BISTRITA-NASAUD", "PRIMARIA VARTESA", "fiscala: 4347550", "Nr. 7 din 12.10.2015",
          "Catre POPA ION, C.N.P. 1700101123456", "rolul nr. 7, localitatea CORBU",
          "Impozit pe cladiri Casa de locuit : 120.5mp; 0 100 200 49 349",
          "Impozit pe teren intravilan - - - 40 0 0 0 -40", "- - - - - - - - - - - - - -",
          "Salubritate PV (12) \\tab x din 01.01.2015 : 75 lei.",
          "Cladiri Decizia 4 / 12.05.2015 : restanta : 100 majorari : 10 total :110 lei.",
          "TOTAL DE PLATA : 494 lei"})
        EXPECT_TRUE(flat.contains(expected)) << expected << "\n" << flat.toStdString();
    EXPECT_FALSE(flat.contains("Anexa")) << "an object without quantity has no detail line";
}

TEST(PaymentNotices, TenNoticesMakeOneDocumentWithNinePageBreaksAndOneClosingBrace) {
    NoticeFolder f;
    for (int i = 1; i <= 10; ++i) f.owing(QString::number(i), 10 * i);
    const NoticeRun run = f.run(NoticeFolder::village());
    ASSERT_EQ(run.count, 10);
    QFile file(run.file);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QList<QByteArray> lines = bytes.split('\n');
    EXPECT_EQ(lines.count("\\par \\page\r"), 9);
    EXPECT_TRUE(bytes.endsWith("\\par\r\n}\r\n"));
    EXPECT_EQ(bytes.count('{'), bytes.count('}')) << "braces balance: one brace closes the document";
    const QString text = test::unrtfText(run.file);
    if (text.isEmpty()) GTEST_SKIP() << "unrtf is not installed";
    EXPECT_EQ(text.count("INSTIINTARE DE PLATA"), 10);
}

TEST(PaymentNotices, NothingToPrintWritesNothing) {
    const struct {
        const char* name;
        bool templateThere;
        NoticeChoice choice;
        QString title, text;
    } cases[] = {
        {"no template", false, NoticeFolder::village(), "Instiintari de plata", "Va lipseste fisierul %1 !\r"
                                                                              "Reporniti programul pentru a reface modelul original."},
        {"no role in the range", true, NoticeFolder::village("50", "60"), "Listare Formular",
         "Nu exista nici un ROL in conditiile alese!"},
        {"no role owes", true, NoticeFolder::village("2", "3"), "Listare Formular", "Nu exista nici un ROL in conditiile alese!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NoticeFolder f;
        f.owing("1", 10);
        f.owing("2", 0);
        f.owing("3", 0);
        if (!c.templateThere) QFile::remove(f.templatePath());
        QFile older(f.outputBase() + "0.rtf");
        ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("an older document") > 0);
        older.close();
        const NoticeRun run = f.run(c.choice);
        EXPECT_TRUE(run.file.isEmpty());
        EXPECT_EQ(f.documents(), QStringList{"Instiintare0.rtf"});
        EXPECT_EQ(test::fileBytes(f.outputBase() + "0.rtf"), "an older document") << "an older document stays";
        ASSERT_EQ(f.env.messages().shown().size(), 1u);
        EXPECT_EQ(f.env.messages().shown()[0].title, c.title);
        EXPECT_EQ(f.env.messages().shown()[0].text, QString(c.text).replace("%1", f.templatePath()));
    }
}

TEST(PaymentNotices, AFailureMidwayRemovesTheHalfWrittenDocument) {
    NoticeFolder f;
    for (int i = 1; i <= 4; ++i) f.owing(QString::number(i), 10);
    Services failing(f.env.folders(), std::make_unique<test::ScriptedMessages>(),
                     std::make_unique<test::FailingProgress>(3), std::make_unique<test::ScriptedDesktop>(),
                     std::make_unique<test::ScriptedClock>());
    int written = 0;
    EXPECT_THROW(GeneratePaymentNotices(failing, f.settings(), NoticeFolder::village(), f.outputBase(),
                                        [&](const NoticeWritten&) { ++written; }),
                 Error);
    EXPECT_EQ(written, 2) << "two notices were written before the failure";
    EXPECT_TRUE(f.documents().isEmpty());
}

} // namespace
