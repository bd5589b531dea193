// vartesa-tool ledger-line and debit: a role's hand-entered lines and year debits, with the
// dialogs' checks, from the command line.

#include "cash/payment_test_util.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace vartesa;
using test::runTool;

namespace {

const char* kLedgerHeader = "IDDAT,IDGOS,DINDATA,SATUL,ROL,GRUPA,DENUM,DOCJUS,NR,SUMA,REST,REDUC,UM,CANT,REDUCP,SCUTIT,TIP,"
                            "SUMA2,RESTINI\n";

struct LedgerToolFolder : test::PayFolder {
    qint64 role = addRole("POPA ION");
    QStringList line(const QStringList& more) const {
        return QStringList{"ledger-line", env.folders().data, QString::number(role)} + more;
    }
    QStringList debitArgs(const QStringList& more) const {
        return QStringList{"debit", env.folders().data, QString::number(role)} + more;
    }
};

TEST(LedgerLineTool, AddsChangesAndDeletesAHandEnteredLine) {
    LedgerToolFolder f;
    QString out;
    ASSERT_EQ(runTool(f.line({"add", "--set", "grupa=salubritate", "--set", "DINDATA=01.03.2015", "--set", "SUMA=50",
                              "--set", "NR=3", "--set", "DOCJUS=HCL  \"5\", 10% pe ș'"}),
                      &out),
              0)
        << out.toStdString();
    EXPECT_EQ(out, QString(kLedgerHeader) + QStringLiteral("1,1,01.03.2015,CORBU,1,Salubritate,Salubritate,"
                                                           "\"HCL \"\"5\"\", 10% pe ş'\",3,50,0,0,buc,1,0,0,M,50,0\n"));
    ASSERT_EQ(runTool(f.line({"edit", "1", "--set", "SUMA=80"}), &out), 0) << out.toStdString();
    EXPECT_TRUE(out.endsWith(",3,80,0,0,buc,1,0,0,M,80,0\n")) << out.toStdString();
    ASSERT_EQ(runTool(f.line({"delete", "1"}), &out), 0) << out.toStdString();
    EXPECT_EQ(out, kLedgerHeader);
}

TEST(LedgerLineTool, RefusalsPrintTheDialogsMessageAndChangeNothing) {
    LedgerToolFolder f;
    f.ledgerLine(f.role, "Salubritate", 100, 0); // IDDAT 101
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET SUMA = 60").arg(f.path("Datorii.dbf"))); // 40 lei collected
    f.ledgerLine(f.role, "PSI", 10, 0);                                                     // IDDAT 102
    const auto before = f.tables();
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"add", "--set", "GRUPA=Salubritate", "--set", "SUMA=5", "--set", "REST=5"},
         "Nu puteti adauga si Curent si Restanta simultan!\n"},
        {{"add", "--set", "GRUPA=Salubritate"}, "Nu ati trecut nici o suma!\n"},
        {{"add", "--set", "GRUPA=Impozit pe cladiri", "--set", "SUMA=5"}, "Alegeti denumirea creantei!\n"},
        {{"add", "--set", "SUMA=5"}, "Alegeti denumirea creantei!\n"},
        {{"add", "--set", "GRUPA=PSI", "--set", "SUMA=1000000"}, "Valoare incorecta pentru SUMA: 1000000\n"},
        {{"edit", "101", "--set", "GRUPA=PSI"},
         "Aveti taiata chitanta pe aceasta taxa/amenda!\nNu puteti sa-i modificati Grupa!\n"},
        {{"delete", "101"}, "Aveti taiata chitanta pe aceasta taxa/amenda!\nNu puteti s-o stergeti!\n"},
        {{"delete", "999"}, "Rolul nu are taxa/amenda cu IDDAT 999\n"},
        {{"sterge", "102"},
         "Utilizare: vartesa-tool ledger-line DATAFOLDER IDGOS add --set CAMP=VALOARE... | edit IDDAT --set "
         "CAMP=VALOARE... | delete IDDAT\n           CAMP: DINDATA GRUPA DOCJUS NR SUMA REST REDUC\n"},
    };
    for (const auto& c : cases) {
        QString out;
        EXPECT_EQ(runTool(f.line(c.args), &out), 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(out, c.message) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(f.tables(), before);
}

TEST(DebitTool, AddsASaleWithItsStatementNumberAndDeletesIt) {
    LedgerToolFolder f;
    QString out;
    ASSERT_EQ(runTool(f.debitArgs({"add", "--set", "CATEG=Vanzare", "--set", "SUMA=120", "--set", "NR=12", "--set",
                                   "DINDATA=17.03.2015", "--set", "SUPRAFATA=40,5", "--set", "AN=1990", "--set",
                                   "ZONA=B", "--set", "RANG=III"}),
                      &out),
              0)
        << out.toStdString();
    EXPECT_TRUE(out.endsWith("\n1,1,Impozit pe cladiri,,12,Vanzare,Cladiri,17.03.2015,01.03.2015,PAG2,C1S,40.5,C1A,1990,"
                             "C1C,1,C1Z,B,C1R,III,,,,,,,-120,-120\n"))
        << out.toStdString();
    ASSERT_EQ(runTool(f.debitArgs({"delete", "1"}), &out), 0) << out.toStdString();
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(f.path("Debit.dbf"))).toInt(), 0);
}

TEST(DebitTool, RefusalsPrintTheDialogsMessageAndChangeNothing) {
    LedgerToolFolder f;
    f.debit(f.role, "Cumparare", QDate(2015, 2, 1), 100); // IDDEB 101
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET SUMAC = 70").arg(f.path("Debit.dbf")));
    const auto before = f.tables();
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"add", "--set", "SUMA=10"}, "Lipseste Suprafata construita!\n"},
        {{"add", "--set", "SUMA=10", "--set", "SUPRAFATA=20", "--set", "AN=3000"}, "Anul construirii este incorect!\n"},
        {{"add", "--set", "SUMA=-10", "--set", "SUPRAFATA=20"}, "Valoarea Impozitului (Debitului) nu poate fi negativa!\n"},
        {{"add", "--set", "GRUPA=Impozit pe mijloace de transport", "--set", "SUMA=10"}, "Alegeti categoria!\n"},
        {{"add", "--set", "CATEG=Donatie", "--set", "SUMA=10"},
         "Valoare incorecta pentru CATEG: Donatie (Cumparare, Vanzare, Reducere, Majorare, Taxa)\n"},
        {{"delete", "101"}, "La debitul selectat s-a operat o incasare!\nAnulati mai intai chitanta sau N.C.!\n"},
    };
    for (const auto& c : cases) {
        QString out;
        EXPECT_EQ(runTool(f.debitArgs(c.args), &out), 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(out, c.message) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(f.tables(), before);
}

} // namespace
