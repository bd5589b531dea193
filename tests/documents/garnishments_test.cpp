// Garnishments: each line's budget account and the sums per claim and account; the papers
// filled from both templates as vartesa-tool writes them; its refusals; a data folder left
// byte for byte as it was.

#include "garnishment_test_util.h"
#include "notices_test_util.h"

#include "shell/counters.h"
#include "shell/startup.h"
#include "support/tool_run.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::GarnishmentFolder;
using vartesa::test::runTool;

namespace {

const QDate kOctober{2015, 10, 10};

TEST(GarnishmentDetail, EachLineTakesTheGreatestAccountOfItsClaimForThePersonType) {
    const struct {
        const char* type;
        QStringList accounts; // per title line: buildings 31.03, 30.09, the fine, the hotel tax
        std::vector<GarnishmentLine> lines;
    } cases[] = {
        {"FIZICA",
         {"F-CLADIRI-2", "F-CLADIRI-2", "F-CLADIRI-2", ""},
         {{"Amenda", "F-CLADIRI-2", 80}, {"Impozit pe cladiri", "F-CLADIRI-2", 129}, {"Taxa hoteliera", "", 30}}},
        {"JURIDICA",
         {"J-CLADIRI-2", "J-CLADIRI-2", "J-AMENZI", ""},
         {{"Amenda", "J-AMENZI", 80}, {"Impozit pe cladiri", "J-CLADIRI-2", 129}, {"Taxa hoteliera", "", 30}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        GarnishmentFolder f;
        const qint64 role = f.debtor("POPA ION", c.type);
        const GarnishmentDetail d = BuildGarnishmentDetail(f.db(), f.env.folders().data, f.account(role, kOctober),
                                                           kOctober, false, QLatin1String(c.type) == "FIZICA");
        EXPECT_EQ(QStringList(d.accounts.begin(), d.accounts.end()), c.accounts);
        EXPECT_EQ(d.lines, c.lines);
    }
}

class GarnishmentTool : public ::testing::Test {
protected:
    GarnishmentFolder f;
    QString data = f.env.folders().data;
    QString out = f.env.root() + "/out";
    void SetUp() override { QDir().mkpath(out); }
    QString run(qint64 role, const QStringList& more, int exit = 0) {
        QString printed;
        EXPECT_EQ(runTool(QStringList{"garnishment", data, QString::number(role), "--user", "ion", "--date",
                                      "10.10.2015", "--out", out} +
                              more,
                          &printed),
                  exit)
            << printed.toStdString();
        return printed;
    }
    QByteArray dataFiles() {
        QByteArray all;
        for (QDirIterator it(data, {"*.dbf"}, QDir::Files); it.hasNext();) {
            const QString file = it.next();
            all += file.toUtf8() + '\n' + test::fileBytes(file);
        }
        return all;
    }
};

TEST_F(GarnishmentTool, FillsBothTemplatesAndChangesNoTable) {
    const qint64 role = f.debtor("SC \"ALFA\" SRL");
    const QByteArray before = dataFiles();
    const QString printed = QStringLiteral("[TITLU]\nGRUPA,DOCJUS,TERMEN,DEBIT,ACCESORII,TOTAL\n"
                                           "Impozit pe cladiri,,31.03.2015,60,8,68\n"
                                           "Impozit pe cladiri,,30.09.2015,60,1,61\n"
                                           "Amenda,,01.01.2015,80,0,80\n"
                                           "Taxa hoteliera,,01.01.2015,30,0,30\n"
                                           "[POPRIRE]\nGRUPA,CONTT,SUMA\n"
                                           "Amenda,F-CLADIRI-2,80\nImpozit pe cladiri,F-CLADIRI-2,129\nTaxa hoteliera,,30\n"
                                           "TOTAL,239\nFILE,Pop0.rtf\n");
    for (const char* to : {"bank", "employer"}) {
        SCOPED_TRACE(to);
        EXPECT_EQ(run(role, {"--to", to, "--title", " 77 ", "--third-party", "BANCA \\tab X"}), printed);
        const QString text = test::unrtfText(out + "/Pop0.rtf");
        if (text.isEmpty()) GTEST_SKIP() << "unrtf is missing";
        EXPECT_TRUE(text.contains("TITLU EXECUTORIU nr. 77\n")) << text.toStdString();
        EXPECT_EQ(text.count("77/10.10.2015\t129\tF-CLADIRI-2"), 2) << "the notice and the address";
        EXPECT_EQ(text.count("TOTAL\t\t239"), 2) << "[TT] under both lists of accounts";
        EXPECT_TRUE(text.contains("BANCA \\tab X")) << "typed text is no rich-text mark";
    }
    EXPECT_EQ(dataFiles(), before);
}

TEST_F(GarnishmentTool, TheTitleShowsTwentyOfThirtyFiveLinesAndTotalsThemAll) {
    const qint64 role = f.addRole("POPA ION");
    for (int i = 1; i <= 35; ++i) f.ledgerLine(role, QStringLiteral("Taxa %1").arg(i, 2, 10, QChar('0')), i, 0);
    EXPECT_TRUE(run(role, {"--to", "bank", "--title", "77"}).endsWith("TOTAL,630\nFILE,Pop0.rtf\n"));
    const QString text = test::unrtfText(out + "/Pop0.rtf");
    if (text.isEmpty()) GTEST_SKIP() << "unrtf is missing";
    EXPECT_TRUE(text.contains("Taxa 20")) << text.toStdString();
    EXPECT_FALSE(text.contains("Taxa 21")) << "the title has room for 20 lines";
    EXPECT_TRUE(text.contains("TOTAL\t\t630\t0\t630")) << "[TD], [TA] and [TT] cover all 35";
}

TEST_F(GarnishmentTool, RefusesWithAMessageAndWritesNothing) {
    const qint64 owing = f.debtor("POPA ION"), clear = f.addRole("ZAHARIA ANA");
    const QStringList bank{"--to", "bank", "--title", "77"};
    const struct {
        qint64 role;
        QStringList args;
        QString message;
    } cases[] = {
        {clear, bank, "Nu exista restante la acest ROL!"},
        {owing, {"--to", "bank", "--title", "   "}, "Nu ati scris nimic!"},
        {999, bank, "ROL-ul cu IDGOS 999 nu exista."},
        {owing, {"--to", "employer", "--title", "77"}, "Va lipseste fisierul " + data + "/PopAngaj2.rtf !"},
    };
    QFile::remove(data + "/PopAngaj2.rtf");
    for (const auto& c : cases) EXPECT_TRUE(run(c.role, c.args, 1).contains(c.message)) << c.message.toStdString();
    CountersFile counters = f.counters();
    counters.WriteCounter("SERVER", YearLockCounterKey(2015), "DA");
    EXPECT_EQ(run(owing, bank, 1), "Anul 2015 este blocat de administrator!\n");
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList());
}

} // namespace
