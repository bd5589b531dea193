// vartesa-tool account: the three grids and the total, as CSV.

#include "cash_test_util.h"
#include "support/tool_run.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using test::runTool;

TEST(AccountTool, PrintsEachGridWithItsColumnsAndTheTotal) {
    test::CashFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {"Impozit pe cladiri", 200, 200, 20, 0, 100, 0, 15});
    f.debit(role, "Cumparare", {2015, 5, 12}, 100);
    f.ledgerLine(role, "Taxa, pentru \"apa\"", 60, 20, 5);
    f.counters().WriteCounter("SERVER", "FARAMAJORARI", "DA"); // the role is not marked: penalties stay
    QString out;
    ASSERT_EQ(runTool({"account", f.env.folders().data, QString::number(role), "--date", "15.10.2015"}, &out), 0)
        << out.toStdString();
    EXPECT_EQ(out, "[IMPOZITE]\n"
                   "IDRES,GRUPA,SUMA,REST,REDUC,SCUTIRE,DATOR,DEPOZ,MAJOR,TIP,CUR1,RAM1,MAJOR1,RED1,SCUT1,DEPLATA,ACHITAT\n"
                   "101,Impozit pe cladiri,200,200,20,0,100,0,15,A,200,100,49,0,0,349,0\n"
                   "[DEBITE]\n"
                   "IDDEB,GRUPA,DOCJUS,NR,CATEG,DENUM,DINDATA,PENDATA,SUMAINI,SUMAC,MAJOR,DEPLATA,ACHITAT\n"
                   "102,Impozit pe cladiri,,0,Cumparare,Cladiri,12.05.2015,01.05.2015,100,100,10,110,0\n"
                   "[TAXE]\n"
                   "IDDAT,GRUPA,DENUM,DOCJUS,NR,TIP,SUMA,DINDATA,SUMA2,RESTINI,REST,REDUC,CUR1,REST1,DEPLATA,ACHITAT\n"
                   "103,\"Taxa, pentru \"\"apa\"\"\",\"Taxa, pentru \"\"apa\"\"\",,0,M,60,01.01.2015,60,20,20,5,60,20,75,0\n"
                   "TOTAL,534\n");
    EXPECT_EQ(runTool({"account", f.env.folders().data, "999"}, &out), 1);
    EXPECT_EQ(out, "ROL-ul cu IDGOS 999 nu exista.\n");
    EXPECT_EQ(runTool({"account", f.env.folders().data, QString::number(role), "--date", "31.02.2015"}, &out), 2);
}

} // namespace
