// vartesa-tool pay: the document lines as CSV, the stored document and the refusals.

#include "payment_test_util.h"
#include "shell/users_file.h"
#include "support/tool_run.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace vartesa;
using test::runTool;

namespace {

const QString kBuildings = QStringLiteral("Impozit pe cladiri");
const char* kHeader = "GRUPA,DOCJUS,SERIA,NR,DENUM,CODCLAS,RESTANTA,MAJOREST,DEPOZIT,CURENT,MAJOR,REDUCERE,TIP,TOTAL\n";

struct ToolFolder : test::PayFolder {
    qint64 role = addRole("POPA ION");
    ToolFolder() {
        balance(role, {kBuildings, 200, 200, 0, 0, 0, 0, 0});
        ledgerLine(role, "Salubritate", 100, 30, 50);
        UsersFile::inFolder(env.folders().data).create({"ION", "", UserGrade::Cashier, "L-7"});
    }
    QStringList args(const QStringList& more) const {
        return QStringList{"pay", env.folders().data, QString::number(role), "--user", "ion", "--date", "01.10.2015"} +
               more;
    }
    qint64 sum(const char* sql) { return db().scalar(QString::fromLatin1(sql).arg(path("Chitante.dbf"))).toLongLong(); }
};

TEST(PayTool, PrintsTheDocumentLinesAndStoresThem) {
    ToolFolder f;
    const QString lines = QString(kHeader) +
                          "Impozit pe cladiri,CHITANTA,AB,41,,21021,0,0,0,106,14,0,C,120\n"
                          "Salubritate,CHITANTA,AB,41,,21025,30,0,0,50,0,0,C,80\n";
    QString out;
    ASSERT_EQ(runTool(f.args({"--tax", "impozit pe cladiri=120", "--fee", "102=80", "--dry-run"}), &out), 0)
        << out.toStdString();
    EXPECT_EQ(out, lines);
    EXPECT_EQ(f.sum("SELECT COUNT(*) FROM \"%1\""), 0);
    ASSERT_EQ(runTool(f.args({"--tax", "Impozit pe cladiri=120", "--fee", "102=80"}), &out), 0) << out.toStdString();
    EXPECT_EQ(out, lines + "IDCHIT,1\n");
    EXPECT_EQ(f.sum("SELECT SUM(TOTAL) FROM \"%1\" WHERE LEGITIMA = 'L-7' AND PLATNUME = 'POPA ION'"), 200);
    // A transfer keeps the typed number, without series.
    ASSERT_EQ(runTool(f.args({"--tax", "Impozit pe cladiri=10", "--transfer", "905", "--payer", "BANCA"}), &out), 0);
    EXPECT_EQ(out, QString(kHeader) + "Impozit pe cladiri,CHITANTA, - ,905,,21021,0,0,0,10,0,0,V,10\nIDCHIT,2\n");
}

TEST(PayTool, RefusalsStoreNothing) {
    ToolFolder f;
    const struct {
        QStringList more;
        QString message;
    } cases[] = {
        {{}, "Nu aveti nimic operat!\n"},
        {{"--tax", "Impozit pe cladiri=100", "--fee", "102=-50"}, "Nota contabila nu se inchide cu 0!\n"},
        {{"--tax", "Impozit pe cladiri=20", "--fee", "102=-20"}, "Numar incorect!\n"},
        {{"--tax", "Impozit pe cladiri=20", "--payer", "  "}, "Nu ati scris Platitorul!\n"},
        {{"--tax", "Impozit pe teren extravilan=20"},
         "Nu exista impozitul Impozit pe teren extravilan de plata la acest ROL!\n"},
        {{"--tax", "Impozit pe cladiri=-5"}, "Nu puteti scadea 5 lei din Impozit pe cladiri: linia nu are plus!\n"},
        {{"--tax", "Impozit pe cladiri=20", "--tax", "IMPOZIT PE CLADIRI=30"},
         "Impozit pe cladiri este trecut de doua ori in aceeasi plata!\n"},
        {{"--tax", "Impozit pe cladiri=20", "--date", "01.01.2099"}, "Data 01.01.2099 nu este in anul 2015!\n"},
        {{"--tax", "Impozit pe cladiri=20", "--payer", QStringLiteral("POPA \u263A")},
         QStringLiteral("Platitorul contine caracterul \"\u263A\", care nu se poate memora!\n")},
    };
    for (const auto& c : cases) {
        QString out;
        EXPECT_EQ(runTool(f.args(c.more), &out), 1) << c.more.join(' ').toStdString();
        EXPECT_EQ(out, c.message);
    }
    QString out;
    EXPECT_EQ(runTool({"pay", f.env.folders().data, QString::number(f.role), "--user", "NIMENI"}, &out), 1);
    EXPECT_EQ(out, "Utilizatorul NIMENI nu exista!\n");
    EXPECT_EQ(f.sum("SELECT COUNT(*) FROM \"%1\""), 0);
}

// A claim is found as the engine's UPPER finds it: in any case, with s and t under a comma
// or a cedilla.
TEST(PayTool, ClaimNamesFoldAsTheEngineDoes) {
    ToolFolder f;
    const QString tax = QStringLiteral("Tax\u0103 pe \u015Fcoal\u0103"); // stored with s cedilla
    f.balance(f.role, {tax, 50, 50, 0, 0, 0, 0, 0});
    CountersFile c = f.counters();
    BudgetCodes(f.db(), f.env.folders().data, c).add(tax, "2109", "2110");
    QString out;
    EXPECT_EQ(runTool(f.args({"--tax", QStringLiteral("TAX\u0102 PE \u0218COAL\u0102=10"), "--dry-run"}), &out), 0)
        << out.toStdString();
}

// An output never goes over a table of the data folder, whatever the spelling of its name.
TEST(SummaryTool, AnOutputOverATableIsRefused) {
    ToolFolder f;
    QString out;
    ASSERT_EQ(runTool(f.args({"--tax", "Impozit pe cladiri=20"}), &out), 0) << out.toStdString();
    const QByteArray before = test::fileBytes(f.path("Chitante.dbf"));
    EXPECT_EQ(runTool({"summary", f.env.folders().data, "by-claim", "--from", "01.10.2015", "--to", "01.10.2015",
                       "--out", f.env.folders().data + "/CHITANTE.DBF"},
                      &out),
              1);
    EXPECT_EQ(test::fileBytes(f.path("Chitante.dbf")), before);
}

// Two workstations of one cashier paying the same role at once: whichever stores second
// either saw the first document when it built the account, or is refused — by the balance
// check, or by the duplicate check when the first document already took the number it was
// shown; the balance always matches the documents stored.
TEST(PayTool, TwoProcessesOnOneRole) {
    ToolFolder f;
    QProcess a, b;
    for (QProcess* p : {&a, &b}) p->start(QStringLiteral(VARTESA_TOOL_PATH), f.args({"--tax", "Impozit pe cladiri=120"}));
    int stored = 0;
    for (QProcess* p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(60000));
        if (p->exitCode() == 0) ++stored;
        else {
            const QString refusal = QString::fromUtf8(p->readAllStandardError());
            EXPECT_TRUE(refusal == kPaymentSituationChanged + '\n' ||
                        refusal.startsWith(QStringLiteral("Mai exista chitanta aceasta la  ROL")))
                << refusal.toStdString();
        }
    }
    EXPECT_GE(stored, 1);
    EXPECT_EQ(f.sum("SELECT COUNT(DISTINCT IDCHIT) FROM \"%1\""), stored);
    const qint64 paidCurrent = f.sum("SELECT SUM(CURENT) FROM \"%1\"");
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT REST FROM \"%1\"").arg(f.path("SoldCalc.dbf"))).toLongLong(),
              200 - paidCurrent);
}

} // namespace
