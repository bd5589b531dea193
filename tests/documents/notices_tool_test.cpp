// vartesa-tool notices: the document of a village or a role and its CSV.

#include "notices_test_util.h"

#include "support/tool_run.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::NoticeFolder;
using vartesa::test::runTool;

namespace {

TEST(NoticesTool, ListsEachNoticeInFileOrderThenTheCountTotalAndFile) {
    NoticeFolder f;
    const qint64 a = f.owing("10", 0, "SC \"ALFA\" SRL");
    f.balance(a, {"Impozit pe cladiri", 40, 40});
    f.ledgerLine(a, "Salubritate", 60, 20, 5);
    f.debit(a, "Cumparare", {2015, 5, 12}, 100);
    const qint64 b = f.owing("9", 30);
    f.owing("8", 0);
    const QString out = f.env.root() + "/out";
    QDir().mkpath(out);
    const QString data = f.env.folders().data;
    QString printed;
    ASSERT_EQ(runTool({"notices", data, "--village", "CORBU", "--date", "10.10.2015", "--number", "120", "--out", out},
                      &printed),
              0)
        << printed.toStdString();
    // 40 lei overdue since March: 14% (6); the debit: 5 month boundaries (10).
    EXPECT_EQ(printed, QStringLiteral("NR,IDGOS,ROL,NUMEP,IMPOZITE,TAXE,DEBITE,TOTAL\n"
                                      "120,%1,10,\"SC \"\"ALFA\"\" SRL\",46,75,110,231\n"
                                      "121,%2,9,ROL 9,34,0,0,34\n"
                                      "COUNT,2\nTOTAL,265\nFILE,Instiintare0.rtf\n")
                           .arg(a)
                           .arg(b));
    EXPECT_TRUE(QFileInfo::exists(out + "/Instiintare0.rtf"));

    // The earlier document is not held open: its number is taken again.
    ASSERT_EQ(runTool({"notices", data, "--role", QString::number(b), "--date", "10.10.2015", "--out", out}, &printed), 0);
    EXPECT_EQ(printed, QStringLiteral("NR,IDGOS,ROL,NUMEP,IMPOZITE,TAXE,DEBITE,TOTAL\n1,%1,9,ROL 9,34,0,0,34\n"
                                      "COUNT,1\nTOTAL,34\nFILE,Instiintare0.rtf\n")
                           .arg(b));
}

TEST(NoticesTool, RefusesOrWritesNothingAsTheScreenDoes) {
    NoticeFolder f;
    f.owing("1", 0);
    const QString out = f.env.root() + "/out";
    QDir().mkpath(out);
    const QString data = f.env.folders().data;
    const struct {
        QStringList args;
        int exit;
        QString printed;
    } cases[] = {
        {{"--village", "CORBU"}, 0, // the role owes nothing
         "NR,IDGOS,ROL,NUMEP,IMPOZITE,TAXE,DEBITE,TOTAL\nCOUNT,0\nTOTAL,0\n"
         "Eroare - Listare Formular: Nu exista nici un ROL in conditiile alese!\n"},
        {{"--village", "CORBU", "--from-rol", "5", "--to-rol", "3"}, 1, "Interval incorect!\n"},
        {{"--village", "CORBU", "--from-rol", "0", "--to-rol", "0"}, 1, "Nu ati ales intervalul!\n"},
        {{"--village", ""}, 1, "Nu aveti nici o localitate selectata!\n"},
        {{"--village", "ALUNI"}, 1, "Eroare - Listare Formular: Nu exista nici un ROL in conditiile alese!\n"},
        {{"--role", "999"}, 1, "Eroare - Listare Formular: Nu exista nici un ROL in conditiile alese!\n"},
        {{"--role", "1", "--village", "CORBU"}, 2, {}},
        {{"--village", "CORBU", "--from-rol", "x"}, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QString printed;
        EXPECT_EQ(runTool(QStringList{"notices", data, "--out", out} + c.args, &printed), c.exit);
        if (c.exit != 2) EXPECT_EQ(printed, c.printed);
        EXPECT_TRUE(QDir(out).isEmpty()) << "no file";
    }
}

} // namespace
