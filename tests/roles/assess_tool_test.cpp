// vartesa-tool assess: one role or every village, refusals on their own lines, then the count.

#include "role_test_util.h"
#include "support/tool_run.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using test::runTool;

TEST(AssessTool, AssessesEveryVillageAndReportsTheRefusedRoles) {
    test::RoleFolder f;
    const qint64 good = f.add(QStringLiteral("Vârteşa"), "1", "O'NEIL");
    const qint64 refused = f.add(QStringLiteral("Dealu Mare"), "", "SC \"ALFA\" SRL");
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET L1A = 2 WHERE IDGOS = ?").arg(f.path("Pag1.dbf")),
                {good});
    const QString data = f.env.folders().data;
    QString out;
    ASSERT_EQ(runTool({"assess", data, "--all"}, &out), 0) << out.toStdString();
    EXPECT_EQ(out,
              "SC \"ALFA\" SRL nu are trecut ROL-ul si a fost respins.\nassessed 1, refused 1\n");
    // Arable land of zone A at the default 40 lei/ha.
    EXPECT_EQ(f.db()
                  .scalar(QStringLiteral(
                              "SELECT SUMA2 FROM \"%1\" WHERE IDGOS = ? AND DENUM = 'Teren arabil'")
                              .arg(f.path("Datorii.dbf")),
                          {good})
                  .toInt(),
              80);
    EXPECT_EQ(runTool({"assess", data, "--role", QString::number(good)}, &out), 0);
    EXPECT_EQ(out, "assessed 1, refused 0\n");
    EXPECT_EQ(runTool({"assess", data, "--role", QString::number(refused)}, &out), 1);
    EXPECT_EQ(f.rowsOf("SoldCalc.dbf", refused), 0);
    EXPECT_EQ(runTool({"assess", data, "--role", "1", "--all"}, &out), 2)
        << "one of the two, not both";
}

} // namespace
